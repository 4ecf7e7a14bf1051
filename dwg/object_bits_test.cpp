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
    // BS and BL in their short form, for values below 256.
    void BS(uint8_t v) {
        bits(1, 2);
        RC(v);
    }
    void BL(uint8_t v) {
        bits(1, 2);
        RC(v);
    }
    void H(int code, uint8_t value) {
        bits(static_cast<uint64_t>(code), 4);
        bits(1, 4);
        RC(value);
    }
    void TV(const std::string& s) {
        BS(static_cast<uint8_t>(s.size()));
        for (char c : s) RC(static_cast<uint8_t>(c));
    }
    void append(const TestBits& other) {
        for (size_t i = 0; i < other.size_; ++i) bits((other.bytes_[i / 8] >> (7 - i % 8)) & 1, 1);
    }
    size_t size() const { return size_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t size_ = 0;
};

// An object as stored: its size (MS, below 128 bytes), its type and `body`; from 2000
// on the size of its data in bits (RL) follows the type. R13 and R14 keep that size
// after the handle and the extended data, which `body` then begins with. `handles`
// follow the data.
std::vector<uint8_t> objectBytes(Version version, uint8_t type, const TestBits& body,
                                 const TestBits& handles) {
    TestBits data;
    data.BS(type);
    if (version >= Version::R2000) data.RL(static_cast<uint32_t>(10 + 32 + body.size()));
    data.append(body);
    data.append(handles);
    std::vector<uint8_t> out = data.bytes();
    out.insert(out.begin(), {static_cast<uint8_t>(out.size()), 0});
    return out;
}

// An object of R13 or R14 with no extended data: its handle, then the size of its data
// in bits, then `body`.
std::vector<uint8_t> r14Object(uint8_t type, uint8_t handle, const TestBits& body,
                               const TestBits& handles) {
    TestBits head;
    head.H(0, handle);
    head.BS(0);  // no extended data
    head.RL(static_cast<uint32_t>(10 + head.size() + 32 + body.size()));
    head.append(body);
    return objectBytes(Version::R14, type, head, handles);
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
        EXPECT_EQ(values, (std::vector<std::string>{"100=AcDbDictionary", "281=1", "3=ACAD_GROUP",
                                                    "350=D", "3=ACAD_MLINESTYLE", "350=E"}))
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
        for (int i : c.indices) {
            data.bits(0, 2);  // BS in full: a signed short, low byte first
            data.RC(static_cast<uint8_t>(i & 0xFF));
            data.RC(static_cast<uint8_t>((i >> 8) & 0xFF));
        }
        const uint8_t kVertexPfaceFace = 14;
        const std::vector<uint8_t> bytes = objectBytes(c.version, kVertexPfaceFace, data, {});
        ObjectFrame frame;
        ASSERT_TRUE(frame.open(bytes, 0, c.version));
        Record r;
        decodeVertexPfaceFace(frame, r);
        EXPECT_EQ(groupsFrom(r, 70), c.groups)
            << static_cast<int>(c.version) << " " << c.indices[1];
    }
}

// A text of 2000 on may leave its alignment point out (data flag 2): it is then (0, 0),
// as the drawing program writes it, not the insertion point.
TEST(ObjectBits, TextsWithoutAnAlignmentPointAlignAtTheOrigin) {
    for (const bool stored : {false, true}) {
        TestBits data;
        data.RC((stored ? 0xFD : 0xFF) & ~0x40);  // all left out but the alignments
        data.RD(5.0);                             // the insertion point
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
        data.TV("A");
        data.BS(1);  // centred
        TestBits handles;
        handles.H(5, 0x11);  // the style
        const std::vector<uint8_t> bytes = objectBytes(Version::R2000, 1, data, handles);  // TEXT
        ObjectFrame frame;
        ASSERT_TRUE(frame.open(bytes, 0, Version::R2000));
        Record r;
        decodeText(frame, r);
        EXPECT_FALSE(frame.failed());
        const std::vector<std::string> expected = {"72=1", stored ? "11=2.0" : "11=0.0",
                                                   stored ? "21=3.0" : "21=0.0", "31=0.0",
                                                   "100=AcDbText"};
        EXPECT_EQ(groupsFrom(r, 72), expected) << stored;
    }
}

// A spline of 2000 kept by fit points whose start has no tangent (a zero vector): DXF
// names only the end's tangent, and the start does not bend.
TEST(ObjectBits, SplineEndsWithoutATangentHaveNone) {
    TestBits data;
    data.BL(2);                                   // fit points only
    data.BL(3);                                   // degree
    data.bits(2, 2);                              // fit tolerance 0
    for (int i = 0; i < 3; ++i) data.bits(2, 2);  // the start's tangent (0, 0, 0)
    data.bits(1, 2);                              // the end's (1, 0, 0)
    data.bits(2, 2);
    data.bits(2, 2);
    data.BL(4);
    for (int x = 0; x < 4; ++x) {
        data.bits(0, 2);
        data.RD(x);
        data.bits(2, 2);
        data.bits(2, 2);
    }
    const std::vector<uint8_t> bytes = objectBytes(Version::R2000, 36, data, {});  // SPLINE
    ObjectFrame frame;
    ASSERT_TRUE(frame.open(bytes, 0, Version::R2000));
    Record r;
    decodeSpline(frame, r);
    EXPECT_FALSE(frame.failed());
    std::vector<std::string> tangents;
    std::vector<double> xs;
    for (const Group& g : r.groups) {
        if (g.code % 10 >= 2 && g.code % 10 <= 3 && g.code >= 12 && g.code <= 33)
            tangents.push_back(std::to_string(g.code) + "=" + g.value);
        if (g.code == 10) xs.push_back(std::stod(g.value));
    }
    EXPECT_EQ(tangents, (std::vector<std::string>{"13=1.0", "23=0.0", "33=0.0"}));
    // The line through the points, its control points at the Greville abscissae.
    const std::vector<double> greville = {0, 1.0 / 3, 1, 2, 8.0 / 3, 3};
    ASSERT_EQ(xs.size(), greville.size());
    for (size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(xs[i], greville[i], 1e-12) << i;
}

}  // namespace
}  // namespace dwg
