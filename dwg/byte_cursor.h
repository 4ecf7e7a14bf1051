// A read position in a span of bytes for the little-endian fields of the DWG container.
// A read past the end returns zero and leaves the cursor failed, so a parse runs on and
// checks `ok()` once where it matters instead of after every field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace dwg {

class ByteCursor {
public:
    explicit ByteCursor(std::span<const uint8_t> bytes, size_t pos = 0)
        : bytes_(bytes), pos_(pos), ok_(pos <= bytes.size()) {}

    bool ok() const { return ok_; }
    size_t pos() const { return pos_; }
    size_t remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }

    uint8_t u8() { return static_cast<uint8_t>(little(1)); }
    uint16_t u16() { return static_cast<uint16_t>(little(2)); }
    uint32_t u32() { return static_cast<uint32_t>(little(4)); }
    uint64_t u64() { return little(8); }
    uint16_t u16be();
    // The modular chars of the object map: seven bits a byte, low group first, the high
    // bit set on every byte but the last; the signed form carries its sign in bit 6 of
    // the last byte. More than nine bytes fail the cursor.
    uint64_t modularChar();
    int64_t signedModularChar();
    // The next `n` bytes, or an empty span (and a failed cursor) if fewer remain.
    std::span<const uint8_t> take(size_t n);

private:
    uint64_t little(size_t n);

    std::span<const uint8_t> bytes_;
    size_t pos_;
    bool ok_;
};

}  // namespace dwg
