#include "dwg/bit_reader.h"

#include <bit>
#include <cstring>

namespace dwg {

uint64_t resolve(const HandleRef& ref, uint64_t base) {
    switch (ref.code) {
    case 0x6: return base + 1;
    case 0x8: return base - 1;
    case 0xA: return base + ref.value;
    case 0xC: return base - ref.value;
    default: return ref.value;
    }
}

BitReader::BitReader(std::span<const uint8_t> bytes, Version version)
    : data_(bytes.data()), size_(bytes.size()), end_(bytes.size() * 8), version_(version) {}

void BitReader::seek(size_t bit) {
    if (bit > end_) {
        stop();
        return;
    }
    pos_ = bit;
}

void BitReader::stop() {
    failed_ = true;
    pos_ = end_;
}

void BitReader::limit(size_t bit) {
    end_ = bit < size_ * 8 ? bit : size_ * 8;
    if (pos_ > end_) {
        pos_ = end_;
        failed_ = true;
    }
}

void BitReader::alignToByte() {
    const size_t aligned = (pos_ + 7) / 8 * 8;
    seek(aligned);
}

// Whether `bits` more bits can be read; fails (and moves to the end) when not.
bool BitReader::take(size_t bits) {
    if (bits > end_ - pos_) {
        stop();
        return false;
    }
    return true;
}

uint8_t BitReader::byteAt(size_t bit) const {
    const size_t i = bit / 8;
    const unsigned shift = bit % 8;
    if (shift == 0) return data_[i];
    const unsigned next = i + 1 < size_ ? data_[i + 1] : 0;
    return static_cast<uint8_t>((data_[i] << shift) | (next >> (8 - shift)));
}

uint64_t BitReader::rawBytes(int n) {
    if (!take(static_cast<size_t>(n) * 8)) return 0;
    if (pos_ / 8 + 9 <= size_) {
        const uint64_t v = __builtin_bswap64(window(pos_));
        pos_ += static_cast<size_t>(n) * 8;
        return n == 8 ? v : v & ((uint64_t{1} << (8 * n)) - 1);
    }
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) {
        v |= static_cast<uint64_t>(byteAt(pos_)) << (8 * i);
        pos_ += 8;
    }
    return v;
}

bool BitReader::B() {
    if (!take(1)) return false;
    const bool bit = (data_[pos_ / 8] >> (7 - pos_ % 8)) & 1;
    ++pos_;
    return bit;
}

uint8_t BitReader::BB() {
    const uint8_t high = B();
    return static_cast<uint8_t>((high << 1) | B());
}

uint8_t BitReader::B3() {
    uint8_t v = 0;
    for (int i = 0; i < 3; ++i) {
        const bool bit = B();
        v = static_cast<uint8_t>((v << 1) | bit);
        if (!bit) break;
    }
    return v;
}

int16_t BitReader::BS() {
    switch (BB()) {
    case 0: return static_cast<int16_t>(rawBytes(2));
    case 1: return static_cast<int16_t>(rawBytes(1));
    case 2: return 0;
    default: return 256;
    }
}

int32_t BitReader::BL() {
    switch (BB()) {
    case 0: return static_cast<int32_t>(rawBytes(4));
    case 1: return static_cast<int32_t>(rawBytes(1));
    case 2: return 0;
    default: stop(); return 0;  // a code the format does not use
    }
}

uint64_t BitReader::BLL() {
    // The byte count is three plain bits (not a 3B).
    int length = B() << 2;
    length |= B() << 1;
    length |= B();
    return rawBytes(length);
}

double BitReader::BD() {
    switch (BB()) {
    case 0: return RD();
    case 1: return 1.0;
    case 2: return 0.0;
    default: stop(); return 0.0;
    }
}

uint8_t BitReader::RC() { return static_cast<uint8_t>(rawBytes(1)); }
int16_t BitReader::RS() { return static_cast<int16_t>(rawBytes(2)); }
int32_t BitReader::RL() { return static_cast<int32_t>(rawBytes(4)); }

double BitReader::RD() {
    return std::bit_cast<double>(rawBytes(8));
}

double BitReader::DD(double previous) {
    uint64_t bits = std::bit_cast<uint64_t>(previous);
    switch (BB()) {
    case 0: return previous;
    case 1: bits = (bits & ~0xffffffffull) | rawBytes(4); break;
    case 2: {
        const uint64_t middle = rawBytes(2);
        const uint64_t low = rawBytes(4);
        bits = (bits & 0xffff000000000000ull) | (middle << 32) | low;
        break;
    }
    default: return RD();
    }
    return std::bit_cast<double>(bits);
}

int64_t BitReader::MC() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const uint8_t b = RC();
        if (failed_) return 0;
        if (!(b & 0x80)) {
            v |= static_cast<uint64_t>(b & 0x3f) << shift;
            const int64_t magnitude = static_cast<int64_t>(v & 0x7fffffffffffffffull);
            return (b & 0x40) ? -magnitude : magnitude;
        }
        v |= static_cast<uint64_t>(b & 0x7f) << shift;
    }
    stop();
    return 0;
}

uint64_t BitReader::UMC() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const uint8_t b = RC();
        if (failed_) return 0;
        v |= static_cast<uint64_t>(b & 0x7f) << shift;
        if (!(b & 0x80)) return v;
    }
    stop();
    return 0;
}

uint32_t BitReader::MS() {
    uint32_t v = 0;
    for (int shift = 0; shift < 30; shift += 15) {
        const uint16_t w = static_cast<uint16_t>(rawBytes(2));
        if (failed_) return 0;
        v |= static_cast<uint32_t>(w & 0x7fff) << shift;
        if (!(w & 0x8000)) return v;
    }
    stop();
    return 0;
}

HandleRef BitReader::H() {
    HandleRef ref;
    const uint8_t head = RC();
    ref.code = head >> 4;
    const int counter = head & 0x0f;
    if (counter > 8) {
        stop();
        return ref;
    }
    for (int i = 0; i < counter; ++i) ref.value = (ref.value << 8) | RC();
    return ref;
}

uint16_t BitReader::OT() {
    if (version_ < Version::R2010) return static_cast<uint16_t>(BS());
    switch (BB()) {
    case 0: return RC();
    case 1: return static_cast<uint16_t>(0x1f0 + RC());
    default: return static_cast<uint16_t>(RS());
    }
}

std::string BitReader::T() {
    const int length = static_cast<uint16_t>(BS());
    std::string text = bytes(static_cast<size_t>(length));
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

std::string BitReader::TU() {
    const size_t units = static_cast<uint16_t>(BS());
    std::string raw = bytes(units * 2);
    return utf16ToUtf8(std::span(reinterpret_cast<const uint8_t*>(raw.data()), raw.size()));
}

std::string BitReader::TV() {
    // An object without texts has no text stream: its texts are empty.
    if (strings_) return strings_->bitsLeft() == 0 ? std::string() : strings_->TU();
    if (version_ >= Version::R2007) return TU();
    return T();
}

std::string BitReader::bytes(size_t n) {
    if (n > (end_ - pos_) / 8) {
        stop();
        return {};
    }
    if (n == 0) return {};
    std::string out(n, '\0');
    if (pos_ % 8 == 0) {
        std::memcpy(out.data(), data_ + pos_ / 8, n);
        pos_ += n * 8;
        return out;
    }
    char* to = out.data();
    size_t i = 0;
    for (; i + 8 <= n && (pos_ + i * 8) / 8 + 9 <= size_; i += 8) {
        uint64_t word = window(pos_ + i * 8);
        if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
        std::memcpy(to + i, &word, 8);
    }
    for (; i < n; ++i) to[i] = static_cast<char>(byteAt(pos_ + i * 8));
    pos_ += n * 8;
    return out;
}

Point2 BitReader::RD2() {
    Point2 p;
    p.x = RD();
    p.y = RD();
    return p;
}

Point3 BitReader::RD3() {
    Point3 p;
    p.x = RD();
    p.y = RD();
    p.z = RD();
    return p;
}

Point2 BitReader::BD2() {
    Point2 p;
    p.x = BD();
    p.y = BD();
    return p;
}

Point3 BitReader::BD3() {
    Point3 p;
    p.x = BD();
    p.y = BD();
    p.z = BD();
    return p;
}

Point2 BitReader::DD2(const Point2& previous) {
    Point2 p;
    p.x = DD(previous.x);
    p.y = DD(previous.y);
    return p;
}

Point3 BitReader::BE() {
    if (version_ >= Version::R2000 && B()) return Point3{0, 0, 1};
    return BD3();
}

double BitReader::BT() {
    if (version_ >= Version::R2000 && B()) return 0.0;
    return BD();
}

Color BitReader::CMC() {
    if (version_ >= Version::R2004) return CMC2004();
    Color c;
    c.index = BS();
    return c;
}

Color BitReader::CMC2004() {
    Color c;
    c.index = BS();
    const uint32_t rgb = static_cast<uint32_t>(BL());
    const uint8_t flags = RC();
    if (flags & 1) c.name = TV();
    if (flags & 2) c.book = TV();
    switch (rgb >> 24) {
    case 0xc0: c.index = 256; break;
    case 0xc1: c.index = 0; break;
    case 0xc2:
        c.hasRgb = true;
        c.rgb = rgb & 0xffffff;
        break;
    case 0xc3: c.index = static_cast<int16_t>(rgb & 0xff); break;
    case 0xc8: c.index = 257; break;  // none
    default: break;  // no method: the index stands as read
    }
    return c;
}

Color BitReader::ENC() {
    Color c;
    const uint16_t word = static_cast<uint16_t>(BS());
    if (version_ < Version::R2004) {
        c.index = static_cast<int16_t>(word);
        return c;
    }
    const unsigned flags = word >> 8;
    c.index = static_cast<int16_t>(word & 0x1ff);
    if (flags & 0x20) {
        c.hasTransparency = true;
        c.transparency = static_cast<uint32_t>(BL());
    }
    if (flags & 0x40) {
        c.bookHandle = true;  // the colour is a DBCOLOR object named in the handles
    } else if (flags & 0x80) {
        c.hasRgb = true;
        c.rgb = static_cast<uint32_t>(BL()) & 0xffffff;
    }
    if ((flags & 0x41) == 0x41) c.name = TV();
    if ((flags & 0x42) == 0x42) c.book = TV();
    return c;
}

std::string utf16ToUtf8(std::span<const uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const auto put = [&out](uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xc0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3f));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xe0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (cp & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3f));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (cp & 0x3f));
        }
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const uint32_t unit = bytes[i] | (bytes[i + 1] << 8);
        if (unit == 0) break;
        if (unit >= 0xd800 && unit < 0xdc00 && i + 3 < bytes.size()) {
            const uint32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
            if (low >= 0xdc00 && low < 0xe000) {
                put(0x10000 + ((unit - 0xd800) << 10) + (low - 0xdc00));
                i += 2;
                continue;
            }
        }
        put(unit >= 0xd800 && unit < 0xe000 ? 0xfffd : unit);
    }
    return out;
}

}  // namespace dwg
