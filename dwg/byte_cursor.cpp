#include "dwg/byte_cursor.h"

namespace dwg {

uint64_t ByteCursor::little(size_t n) {
    if (remaining() < n) {
        ok_ = false;
        return 0;
    }
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= uint64_t{bytes_[pos_ + i]} << (8 * i);
    pos_ += n;
    return v;
}

uint16_t ByteCursor::u16be() {
    const uint16_t v = u16();
    return static_cast<uint16_t>((v >> 8) | (v << 8));
}

std::span<const uint8_t> ByteCursor::take(size_t n) {
    if (remaining() < n) {
        ok_ = false;
        return {};
    }
    const auto part = bytes_.subspan(pos_, n);
    pos_ += n;
    return part;
}

namespace {
constexpr int kModularCharBytes = 9;
}

uint64_t ByteCursor::modularChar() {
    uint64_t v = 0;
    for (int i = 0; i < kModularCharBytes; ++i) {
        const uint8_t b = u8();
        if (!ok_) return 0;
        v |= uint64_t{b & 0x7Fu} << (7 * i);
        if ((b & 0x80) == 0) return v;
    }
    ok_ = false;
    return 0;
}

int64_t ByteCursor::signedModularChar() {
    uint64_t v = 0;
    for (int i = 0; i < kModularCharBytes; ++i) {
        const uint8_t b = u8();
        if (!ok_) return 0;
        if ((b & 0x80) == 0) {
            v |= uint64_t{b & 0x3Fu} << (7 * i);
            const auto magnitude = static_cast<int64_t>(v);
            return (b & 0x40) ? -magnitude : magnitude;
        }
        v |= uint64_t{b & 0x7Fu} << (7 * i);
    }
    ok_ = false;
    return 0;
}

}  // namespace dwg
