// Objects whose layout differs between versions, built bit by bit and read back
// through the frame and the type's decoder: what each version stores and nothing more.
#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "dwg/decoders.h"
#include "dwg/object_frame.h"

namespace dwg {
namespace {

// Bits written most significant first, in the bit codes the reader reads.
class TestBits {
public:
    void bits(uint64_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            if (size_ % 8 == 0) bytes_.push_back(0);
            if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> (size_ % 8));
            ++size_;
        }
    }
    void RC(uint8_t v) { bits(v, 8); }
    void RL(uint32_t v) {
        for (int i = 0; i < 4; ++i) RC(static_cast<uint8_t>(v >> (8 * i)));
    }
    void RD(double v) {
        const uint64_t raw = std::bit_cast<uint64_t>(v);
        for (int i = 0; i < 8; ++i) RC(static_cast<uint8_t>(raw >> (8 * i)));
    }
    void BS(uint8_t v) { bits(1, 2); RC(v); }  // the short form, for values below 256
    void BL(uint8_t v) { bits(1, 2); RC(v); }
    void H(int code, uint8_t value) {
        bits(static_cast<uint64_t>(code), 4);
        bits(1, 4);
        RC(value);
    }
    void TV(const std::string& s) {
        BS(static_cast<uint8_t>(s.size()));
        for (char c : s) RC(static_cast<uint8_t>(c));
    }
    size_t size() const { return size_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t size_ = 0;
};

// An object of R13 or R14: its size (MS), then `body` after the type, handle, no
// extended data and the size of its data in bits; `handles` follow the data.
std::vector<uint8_t> r14Object(int type, uint8_t handle, const TestBits& body, const TestBits& handles) {
    TestBits data;
    data.BS(static_cast<uint8_t>(type));
    data.H(0, handle);
    data.BS(0);  // no extended data
    const size_t sizeAt = data.size();
    data.RL(0);
    const std::vector<uint8_t>& b = body.bytes();
    for (size_t i = 0; i < body.size(); ++i) data.bits((b[i / 8] >> (7 - i % 8)) & 1, 1);
    const uint32_t dataBits = static_cast<uint32_t>(data.size());
    const std::vector<uint8_t>& h = handles.bytes();
    for (size_t i = 0; i < handles.size(); ++i) data.bits((h[i / 8] >> (7 - i % 8)) & 1, 1);
    std::vector<uint8_t> out = data.bytes();
    for (int i = 0; i < 4; ++i) {  // the data's size, in its place (RL at bit sizeAt)
        for (int bit = 0; bit < 8; ++bit) {
            const size_t at = sizeAt + static_cast<size_t>(i) * 8 + static_cast<size_t>(bit);
            const uint8_t mask = static_cast<uint8_t>(0x80 >> (at % 8));
            if ((dataBits >> (8 * i + 7 - bit)) & 1) out[at / 8] |= mask;
        }
    }
    out.insert(out.begin(), {static_cast<uint8_t>(out.size()), 0});  // MS below 128
    return out;
}

TEST(ObjectBits, DictionariesOfR13HaveNoByteAfterTheirCount) {
    for (const Version version : {Version::R13, Version::R14}) {
        TestBits body;
        body.BL(0);  // reactors
        body.BL(2);  // entries
        if (version == Version::R14) body.RC(0);
        body.TV("ACAD_GROUP");
        body.TV("ACAD_MLINESTYLE");
        TestBits handles;
        handles.H(4, 0);     // owner
        handles.H(3, 0);     // no extension dictionary
        handles.H(2, 0x0D);  // the entries
        handles.H(2, 0x0E);
        const std::vector<uint8_t> bytes = r14Object(42, 0x0C, body, handles);
        ObjectFrame frame;
        ASSERT_TRUE(frame.open(bytes, 0, version));
        Record r;
        frame.readObjectCommon(r);
        decodeDictionary(frame, r);
        EXPECT_FALSE(frame.failed());
        EXPECT_LT(frame.dataLeft(), 8);
        EXPECT_LT(frame.handlesLeft(), 8);
        std::vector<std::string> values;
        for (const Group& g : r.groups) values.push_back(std::to_string(g.code) + "=" + g.value);
        EXPECT_EQ(values, (std::vector<std::string>{"100=AcDbDictionary", "281=1", "3=ACAD_GROUP", "350=D",
                                                    "3=ACAD_MLINESTYLE", "350=E"}))
            << static_cast<int>(version);
    }
}

// The values of a record's groups from `code` on, as "code=value".
std::vector<std::string> groupsFrom(const Record& r, int code) {
    std::vector<std::string> values;
    bool on = false;
    for (const Group& g : r.groups) {
        on = on || g.code == code;
        if (on) values.push_back(std::to_string(g.code) + "=" + g.value);
    }
    return values;
}

TEST(ObjectBits, FaceRecordsNameTheVerticesTheyHave) {
    const struct {
        Version version;
        std::vector<int> indices;
        std::vector<std::string> groups;
    } cases[] = {
        {Version::R2000, {2, 0, 0, 0}, {"70=128", "71=2"}},
        {Version::R2000, {3, 4, 0, 0}, {"70=128", "71=3", "72=4"}},
        {Version::R2000, {1, -2, 3, 0}, {"70=128", "71=1", "72=-2", "73=3"}},
        {Version::R2000, {1, 2, 3, 4}, {"70=128", "71=1", "72=2", "73=3", "74=4"}},
        {Version::R13, {2, 0, 0, 0}, {"70=128", "71=2", "72=0", "73=0"}},
        {Version::R14, {1, -2, 3, 4}, {"70=128", "71=1", "72=-2", "73=3", "74=4"}},
    };
    for (const auto& c : cases) {
        TestBits data;
        data.BS(14);  // VERTEX (PFACE FACE)
        if (c.version == Version::R2000) data.RL(2 + 8 + 32 + 4 * 18);  // its data's size in bits
        for (int i : c.indices) {
            data.bits(0, 2);  // BS in full: a signed short, low byte first
            data.RC(static_cast<uint8_t>(i & 0xFF));
            data.RC(static_cast<uint8_t>((i >> 8) & 0xFF));
        }
        std::vector<uint8_t> bytes = data.bytes();
        bytes.insert(bytes.begin(), {static_cast<uint8_t>(bytes.size()), 0});
        ObjectFrame frame;
        ASSERT_TRUE(frame.open(bytes, 0, c.version));
        Record r;
        decodeVertexPfaceFace(frame, r);
        EXPECT_EQ(groupsFrom(r, 70), c.groups) << static_cast<int>(c.version) << " " << c.indices[1];
    }
}

// A text of 2000 on may leave its alignment point out (data flag 2): it is then (0, 0),
// as the drawing program writes it, not the insertion point.
TEST(ObjectBits, TextsWithoutAnAlignmentPointAlignAtTheOrigin) {
    for (const bool stored : {false, true}) {
        TestBits data;
        data.BS(1);  // TEXT
        const size_t sizeAt = data.size();
        data.RL(0);
        data.RC((stored ? 0xFD : 0xFF) & ~0x40);  // all left out but the alignments
        data.RD(5.0);                           // the insertion point
        data.RD(7.0);
        if (stored) {
            data.bits(3, 2);  // DD: a whole double
            data.RD(2.0);
            data.bits(3, 2);
            data.RD(3.0);
        }
        data.bits(1, 1);  // extrusion (0, 0, 1)
        data.bits(1, 1);  // no thickness
        data.RD(2.5);     // height
        data.BS(1);
        data.RC('A');
        data.BS(1);  // centred
        const size_t dataBits = data.size() - sizeAt + 10;
        data.H(5, 0x11);  // the style
        std::vector<uint8_t> bytes = data.bytes();
        for (int bit = 0; bit < 32; ++bit)  // the data's size (RL) in its place
            if ((dataBits >> (bit / 8 * 8 + 7 - bit % 8)) & 1)
                bytes[(sizeAt + bit) / 8] |= static_cast<uint8_t>(0x80 >> ((sizeAt + bit) % 8));
        bytes.insert(bytes.begin(), {static_cast<uint8_t>(bytes.size()), 0});
        ObjectFrame frame;
        ASSERT_TRUE(frame.open(bytes, 0, Version::R2000));
        Record r;
        decodeText(frame, r);
        EXPECT_FALSE(frame.failed());
        const std::vector<std::string> expected = {
            "72=1", stored ? "11=2.0" : "11=0.0", stored ? "21=3.0" : "21=0.0", "31=0.0", "100=AcDbText"};
        EXPECT_EQ(groupsFrom(r, 72), expected) << stored;
    }
}

}  // namespace
}  // namespace dwg
