#include "dwg/lz77_2004.h"

namespace dwg {

namespace {

constexpr uint8_t kEnd = 0x11;

class Lz77Page {
public:
    Lz77Page(std::span<const uint8_t> in, std::span<uint8_t> out) : in_(in), out_(out) {}

    bool run();
    size_t produced() const { return put_; }

private:
    // The next input byte; past the end, a failed page and 0x11 so that the loop stops.
    uint8_t next() {
        if (get_ < in_.size()) return in_[get_++];
        failed_ = true;
        return kEnd;
    }
    // A length that does not fit its opcode's bits: each zero byte adds 255, the first
    // non-zero byte adds itself and ends it.
    size_t extendedLength(size_t base) {
        size_t n = base;
        uint8_t b;
        while ((b = next()) == 0 && !failed_) n += 0xFF;
        return n + b;
    }
    // A literal run's length from an opcode 0x00–0x0F.
    size_t literalLength(uint8_t opcode) {
        return (opcode == 0 ? extendedLength(0x0F) : opcode) + 3;
    }
    void literals(size_t n);
    void copyBack(size_t n, size_t distance);

    std::span<const uint8_t> in_;
    std::span<uint8_t> out_;
    size_t get_ = 0;
    size_t put_ = 0;
    bool failed_ = false;
};

void Lz77Page::literals(size_t n) {
    if (n > in_.size() - get_ || n > out_.size() - put_) {
        failed_ = true;
        return;
    }
    for (size_t i = 0; i < n; ++i) out_[put_ + i] = in_[get_ + i];
    get_ += n;
    put_ += n;
}

void Lz77Page::copyBack(size_t n, size_t distance) {
    if (distance > put_ || n > out_.size() - put_) {
        failed_ = true;
        return;
    }
    // Byte by byte: a reference may overlap the bytes it produces.
    for (size_t i = 0; i < n; ++i, ++put_) out_[put_] = out_[put_ - distance];
}

bool Lz77Page::run() {
    uint8_t op = next();
    if (op > kEnd) {
        literals(op - size_t{kEnd});
        op = next();
    } else if (op < 0x10) {
        literals(literalLength(op));
        op = next();
    }
    while (op != kEnd && !failed_) {
        size_t length;
        size_t distance;
        uint8_t literalBits;
        if (op >= 0x40) {
            length = (op >> 4) - 1u;
            distance = (((op >> 2) & 3u) | (size_t{next()} << 2)) + 1;
            literalBits = op;
        } else if (op >= 0x20) {
            length = ((op & 0x1Fu) == 0 ? extendedLength(0x1F) : op & 0x1Fu) + 2;
            literalBits = next();
            distance = ((literalBits >> 2) | (size_t{next()} << 6)) + 1;
        } else if (op >= 0x10) {
            length = ((op & 0x07u) == 0 ? extendedLength(0x07) : op & 0x07u) + 2;
            literalBits = next();
            distance = (((op & 0x08u) << 11) | (literalBits >> 2) | (size_t{next()} << 6)) + 0x4000;
        } else {
            return false;  // 0x00–0x0F only ever follow a reference, as a literal length
        }
        if (failed_) break;
        copyBack(length, distance);
        size_t run = literalBits & 3u;
        op = 0;
        if (run == 0) {
            op = next();
            if (op < 0x10) run = literalLength(op);
        }
        if (run > 0) {
            literals(run);
            op = next();
        }
    }
    return !failed_;
}

}  // namespace

bool decompress2004(std::span<const uint8_t> in, std::span<uint8_t> out, size_t& produced) {
    Lz77Page page(in, out);
    const bool ok = page.run();
    produced = page.produced();
    return ok;
}

}  // namespace dwg
