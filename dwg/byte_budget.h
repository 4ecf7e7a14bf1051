// The bytes a container read may allocate and decompress in all. A file's maps may
// repeat pages or claim huge sizes; with every page and section paid for out of one
// budget, a fixed multiple of the file's size, no file makes the reader allocate or work
// beyond that multiple. Real drawings decompress to about three times their size.
#pragma once

#include <cstdint>

namespace dwg {

inline constexpr uint64_t kMaxExpansion = 64;

class ByteBudget {
public:
    explicit ByteBudget(uint64_t fileSize) : left_(kMaxExpansion * fileSize) {}

    // Takes `n` bytes from the budget; false, taking nothing, when fewer are left.
    bool spend(uint64_t n) {
        if (n > left_) return false;
        left_ -= n;
        return true;
    }

private:
    uint64_t left_;
};

}  // namespace dwg
