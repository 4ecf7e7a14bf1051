// The two ends of a page's decompression, for the compressions of 2004 and of 2007:
// input read a byte at a time and output written, every step checked. A read past the
// input, a write past the output or a reference before its start fails the stream;
// a failed stream reads zeros and writes nothing.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace dwg {

class LzStream {
public:
    LzStream(std::span<const uint8_t> in, std::span<uint8_t> out) : in_(in), out_(out) {}

    bool failed() const { return failed_; }
    bool more() const { return !failed_ && get_ < in_.size(); }
    size_t produced() const { return put_; }

    uint8_t next() {
        if (!failed_ && get_ < in_.size()) return in_[get_++];
        failed_ = true;
        return 0;
    }

    // Moves `n` literal bytes from the input to the output through
    // `place(const uint8_t* from, size_t n, uint8_t* to)`, which lays them out.
    template <class Place>
    void literals(size_t n, Place place) {
        if (failed_ || n > in_.size() - get_ || n > out_.size() - put_) {
            failed_ = true;
            return;
        }
        place(in_.data() + get_, n, out_.data() + put_);
        get_ += n;
        put_ += n;
    }

    // Repeats `n` bytes from `distance` back in the output. A reference may overlap the
    // bytes it produces: it then repeats its last `distance` bytes, so the bytes are
    // copied in whole periods, each copy from the start and as long as all the periods
    // already there.
    void copyBack(size_t n, size_t distance) {
        if (failed_ || distance == 0 || distance > put_ || n > out_.size() - put_) {
            failed_ = true;
            return;
        }
        uint8_t* to = out_.data() + put_;
        const uint8_t* from = to - distance;
        put_ += n;
        for (size_t done = 0; done < n;) {
            const size_t chunk = std::min(done + distance, n - done);
            std::memcpy(to + done, from, chunk);
            done += chunk;
        }
    }

private:
    std::span<const uint8_t> in_;
    std::span<uint8_t> out_;
    size_t get_ = 0;
    size_t put_ = 0;
    bool failed_ = false;
};

}  // namespace dwg
