#include "dwg/bit_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

namespace dwg {
namespace {

// Bytes from a text of bits ("01 0000 1111", blanks ignored), the last byte padded with 0.
std::vector<uint8_t> bitsOf(std::string_view text) {
    std::vector<uint8_t> out;
    int n = 0;
    for (char c : text) {
        if (c != '0' && c != '1') continue;
        if (n % 8 == 0) out.push_back(0);
        if (c == '1') out.back() |= static_cast<uint8_t>(0x80 >> (n % 8));
        ++n;
    }
    return out;
}

std::string bitsOfDouble(double d) {
    const uint64_t v = std::bit_cast<uint64_t>(d);
    std::string s;
    for (int byte = 0; byte < 8; ++byte)
        for (int bit = 7; bit >= 0; --bit) s += ((v >> (byte * 8 + bit)) & 1) ? '1' : '0';
    return s;
}

TEST(BitReader, BitShortsOfTheFormatExample) {
    const auto bytes = bitsOf("0000000001000000011011010000111110");
    BitReader r(bytes, Version::R2000);
    EXPECT_EQ(r.BS(), 257);
    EXPECT_EQ(r.BS(), 0);
    EXPECT_EQ(r.BS(), 256);
    EXPECT_EQ(r.BS(), 15);
    EXPECT_EQ(r.BS(), 0);
    EXPECT_FALSE(r.failed());
}

TEST(BitReader, BitLongsOfTheFormatExample) {
    const auto bytes = bitsOf("000000000100000001000000000000000010010000111110");
    BitReader r(bytes, Version::R2000);
    EXPECT_EQ(r.BL(), 257);
    EXPECT_EQ(r.BL(), 0);
    EXPECT_EQ(r.BL(), 15);
    EXPECT_EQ(r.BL(), 0);
    EXPECT_FALSE(r.failed());
}

TEST(BitReader, NegativeNumbersUseTheFullForm) {
    const auto bytes = bitsOf("00 11111111 11111111  00 11111110 11111111 11111111 11111111");
    BitReader r(bytes, Version::R2000);
    EXPECT_EQ(r.BS(), -1);
    EXPECT_EQ(r.BL(), -2);
}

TEST(BitReader, ModularNumbers) {
    struct Case {
        std::vector<uint8_t> bytes;
        int64_t value;
    };
    const Case cases[] = {
        {{0x82, 0x24}, 4610},
        {{0xe9, 0x97, 0xe6, 0x35}, 112823273},
        {{0x85, 0x4b}, -1413},
        {{0x05}, 5},
        {{0x45}, -5},
    };
    for (const Case& c : cases) {
        BitReader r(c.bytes, Version::R2000);
        EXPECT_EQ(r.MC(), c.value);
        EXPECT_EQ(r.position(), c.bytes.size() * 8);
        EXPECT_FALSE(r.failed());
    }
    // Unsigned: the 0x40 bit of the last byte is a value bit.
    const std::vector<uint8_t> handleSize = {0x45};
    BitReader u(handleSize, Version::R2010);
    EXPECT_EQ(u.UMC(), 0x45u);
    const std::vector<uint8_t> ms = {0x31, 0xf4, 0x8d, 0x00};
    BitReader s(ms, Version::R2000);
    EXPECT_EQ(s.MS(), 4650033u);
}

TEST(BitReader, DoublesAndDefaults) {
    const std::string bits = "01 10 00" + bitsOfDouble(2.5) + "11";
    const auto bytes = bitsOf(bits);
    BitReader r(bytes, Version::R2000);
    EXPECT_EQ(r.BD(), 1.0);
    EXPECT_EQ(r.BD(), 0.0);
    EXPECT_EQ(r.BD(), 2.5);
    r.BD();
    EXPECT_TRUE(r.failed()) << "code 11 of a bit double is not used";

    // DD: 00 keeps the default; 01 patches the low four bytes; 10 bytes 5-6 and the low
    // four; 11 a whole double.
    const double def = 1234.5678;
    const uint64_t d = std::bit_cast<uint64_t>(def);
    const uint64_t target = std::bit_cast<uint64_t>(1234.0);
    std::string dd = "00";
    dd += "01";
    for (int i = 0; i < 4; ++i)
        for (int bit = 7; bit >= 0; --bit) dd += ((target >> (i * 8 + bit)) & 1) ? '1' : '0';
    dd += "10";
    for (int i = 4; i < 6; ++i)
        for (int bit = 7; bit >= 0; --bit) dd += ((target >> (i * 8 + bit)) & 1) ? '1' : '0';
    for (int i = 0; i < 4; ++i)
        for (int bit = 7; bit >= 0; --bit) dd += ((target >> (i * 8 + bit)) & 1) ? '1' : '0';
    dd += "11" + bitsOfDouble(-7.25);
    const auto ddBytes = bitsOf(dd);
    BitReader q(ddBytes, Version::R2000);
    EXPECT_EQ(q.DD(def), def);
    EXPECT_EQ(std::bit_cast<uint64_t>(q.DD(def)), (d & ~0xffffffffull) | (target & 0xffffffffull));
    EXPECT_EQ(q.DD(def), 1234.0);
    EXPECT_EQ(q.DD(def), -7.25);
    EXPECT_FALSE(q.failed());
}

TEST(BitReader, HandleReferences) {
    // 5.2.05E7: a hard pointer to layer 5E7; 6.0: the next handle; C.1.03: minus 3.
    const std::vector<uint8_t> bytes = {0x52, 0x05, 0xe7, 0x60, 0xc1, 0x03, 0x40};
    BitReader r(bytes, Version::R2000);
    const HandleRef layer = r.H();
    EXPECT_EQ(layer.code, 5);
    EXPECT_EQ(layer.value, 0x5e7u);
    EXPECT_EQ(resolve(layer, 0x100), 0x5e7u);
    EXPECT_EQ(resolve(r.H(), 0x100), 0x101u);
    EXPECT_EQ(resolve(r.H(), 0x100), 0xfdu);
    EXPECT_EQ(resolve(r.H(), 0x100), 0u);
    EXPECT_FALSE(r.failed());
}

TEST(BitReader, BitTripletsAndLongLongs) {
    // 3B: 0, 10 (2), 110 (6), 111 (7); BLL with the length 2 in three bits (010), then
    // 0x34 0x12.
    const auto bytes = bitsOf("0 10 110 111  010 00110100 00010010");
    BitReader r(bytes, Version::R2013);
    EXPECT_EQ(r.B3(), 0);
    EXPECT_EQ(r.B3(), 2);
    EXPECT_EQ(r.B3(), 6);
    EXPECT_EQ(r.B3(), 7);
    EXPECT_EQ(r.BLL(), 0x1234u);
    EXPECT_FALSE(r.failed());
}

TEST(BitReader, ObjectTypeByVersion) {
    const auto bytes = bitsOf("01 00000011  00 01001101  01 00000010  10 11110011 00000001");
    BitReader old(bytes, Version::R2007);
    EXPECT_EQ(old.OT(), 3);
    BitReader r(bytes, Version::R2010);
    r.seek(10);
    EXPECT_EQ(r.OT(), 0x4d);
    EXPECT_EQ(r.OT(), 0x1f2);
    EXPECT_EQ(r.OT(), 0x1f3);
    EXPECT_FALSE(r.failed());
}

TEST(BitReader, Texts) {
    // T: BS length 4 (01 00000100), "AB" and two NULs, trimmed; then the same bytes as
    // TU: two UTF-16 units "中" (4E2D) and a surrogate pair for U+1F600.
    std::string bits = "01 00000100 01000001 01000010 00000000 00000000";
    bits += "01 00000011 00101101 01001110 00111101 11011000 00000000 11011110";
    const auto bytes = bitsOf(bits);
    BitReader r(bytes, Version::R2000);
    EXPECT_EQ(r.T(), "AB");
    EXPECT_EQ(r.TU(), "中\xF0\x9F\x98\x80");
    EXPECT_FALSE(r.failed());
}

TEST(BitReader, TextsComeFromTheirOwnStreamFrom2007) {
    const auto data = bitsOf("01 00000001");
    const auto strings = bitsOf("01 00000001 01011000 00000000");
    BitReader text(strings, Version::R2007);
    BitReader r(data, Version::R2007);
    r.setTextStream(&text);
    EXPECT_EQ(r.TV(), "X");
    EXPECT_EQ(r.BS(), 1);
    EXPECT_FALSE(r.failed());
}

TEST(BitReader, ExtrusionAndThicknessByVersion) {
    const auto bytes = bitsOf("1 1 0 01 01 10 0 01");
    BitReader r(bytes, Version::R2000);
    const Point3 up = r.BE();
    EXPECT_EQ(up.z, 1.0);
    EXPECT_EQ(r.BT(), 0.0);
    const Point3 e = r.BE();
    EXPECT_EQ(e.x, 1.0);
    EXPECT_EQ(e.y, 1.0);
    EXPECT_EQ(e.z, 0.0);
    EXPECT_EQ(r.BT(), 1.0);
    const auto oldBytes = bitsOf("10 10 01 01");
    BitReader old(oldBytes, Version::R14);
    const Point3 o = old.BE();
    EXPECT_EQ(o.z, 1.0);
    EXPECT_EQ(old.BT(), 1.0);
}

TEST(BitReader, ColoursByVersion) {
    // ENC of 2004: flags 0xA000 (true colour and transparency) with index 5, then the
    // transparency 0x02000033 and the colour 0xC2FF8000 as BL.
    std::string enc = "00 00000101 10100000";
    enc += "00 00110011 00000000 00000000 00000010";
    enc += "00 00000000 10000000 11111111 11000010";
    const auto bytes = bitsOf(enc);
    BitReader r(bytes, Version::R2004);
    const Color c = r.ENC();
    EXPECT_EQ(c.index, 5);
    EXPECT_TRUE(c.hasRgb);
    EXPECT_EQ(c.rgb, 0xff8000u);
    EXPECT_TRUE(c.hasTransparency);
    EXPECT_EQ(c.transparency, 0x02000033u);
    EXPECT_FALSE(r.failed());

    // CMC of 2004: index 0, method C3 with ACI 1, no name; C0 is BYLAYER.
    std::string cmc = "10 00 00000001 00000000 00000000 11000011 00000000";
    cmc += "10 00 00000000 00000000 00000000 11000000 00000000";
    const auto cmcBytes = bitsOf(cmc);
    BitReader t(cmcBytes, Version::R2004);
    EXPECT_EQ(t.CMC().index, 1);
    EXPECT_EQ(t.CMC().index, 256);
    EXPECT_FALSE(t.failed());
    const auto oldBytes = bitsOf("01 00000011");
    BitReader old(oldBytes, Version::R2000);
    EXPECT_EQ(old.CMC().index, 3);
}

// No read goes past the end: every kind of value at the end of a short stream fails
// cleanly and leaves the position at the end.
TEST(BitReader, NeverReadsPastItsEnd) {
    using Read = void (*)(BitReader&);
    const Read reads[] = {
        [](BitReader& r) { r.BS(); },  [](BitReader& r) { r.BL(); },
        [](BitReader& r) { r.BD(); },  [](BitReader& r) { r.RD(); },
        [](BitReader& r) { r.MC(); },  [](BitReader& r) { r.MS(); },
        [](BitReader& r) { r.H(); },   [](BitReader& r) { r.T(); },
        [](BitReader& r) { r.TU(); },  [](BitReader& r) { r.BLL(); },
        [](BitReader& r) { r.CMC(); }, [](BitReader& r) { r.ENC(); },
        [](BitReader& r) { r.BD3(); }, [](BitReader& r) { r.UMC(); },
    };
    // A BS announcing two bytes, a T announcing 255, a handle announcing 15 bytes,
    // modular numbers that never end.
    const std::vector<std::vector<uint8_t>> streams = {
        {0x00}, {0x40, 0xff}, {0x3f, 0xff, 0xff}, {0xff, 0xff, 0xff}, {},
    };
    for (const auto& bytes : streams) {
        for (Read read : reads) {
            BitReader r(bytes, Version::R2004);
            for (int i = 0; i < 64; ++i) read(r);
            EXPECT_TRUE(r.failed());
            EXPECT_EQ(r.position(), r.end());
        }
    }
    std::vector<uint8_t> four = {1, 2, 3, 4};
    BitReader r(four, Version::R2000);
    r.limit(20);
    EXPECT_EQ(r.RS(), 0x0201);
    EXPECT_EQ(r.RC(), 0);
    EXPECT_TRUE(r.failed());
    BitReader s(four, Version::R2000);
    s.seek(33);
    EXPECT_TRUE(s.failed());
}

// Whole bytes read at any bit, near the end of the bytes too, are the bits one at a
// time would give.
TEST(BitReader, BytesAtEveryBitOffsetMatchTheBits) {
    std::vector<uint8_t> data(29);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 73 + 41);
    const auto byBits = [&data](size_t bit, size_t n) {
        BitReader r(data, Version::R2000);
        r.seek(bit);
        std::string out;
        for (size_t i = 0; i < n; ++i) {
            int byte = 0;
            for (int k = 0; k < 8; ++k) byte = (byte << 1) | r.B();
            out += static_cast<char>(byte);
        }
        return out;
    };
    const size_t bits = data.size() * 8;
    for (size_t bit = 0; bit < bits; ++bit) {
        for (size_t n = 0; n * 8 <= bits - bit; ++n) {
            BitReader r(data, Version::R2000);
            r.seek(bit);
            EXPECT_EQ(r.bytes(n), byBits(bit, n)) << bit << " " << n;
            EXPECT_FALSE(r.failed());
            EXPECT_EQ(r.position(), bit + n * 8);
        }
        const std::pair<int, uint64_t (*)(BitReader&)> raws[] = {
            {1, [](BitReader& r) -> uint64_t { return r.RC(); }},
            {2, [](BitReader& r) -> uint64_t { return static_cast<uint16_t>(r.RS()); }},
            {4, [](BitReader& r) -> uint64_t { return static_cast<uint32_t>(r.RL()); }},
            {8, [](BitReader& r) { return std::bit_cast<uint64_t>(r.RD()); }},
        };
        for (const auto& [n, read] : raws) {
            if (static_cast<size_t>(n) * 8 > bits - bit) continue;
            BitReader r(data, Version::R2000);
            r.seek(bit);
            uint64_t expected = 0;
            const std::string raw = byBits(bit, n);
            std::memcpy(&expected, raw.data(), raw.size());
            EXPECT_EQ(read(r), expected) << bit << " " << n;
        }
    }
}

}  // namespace
}  // namespace dwg
