// Multileaders and their styles from damaged objects: an object cut anywhere in its own
// data fails (the reader counts it as unreadable) and a count overwritten with a huge
// or negative number anywhere makes the decoder stop, writing no more groups than the
// object has bits.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "dwg/classes.h"
#include "dwg/container.h"
#include "dwg/object_frame.h"
#include "dwg/object_types.h"

namespace dwg {
namespace {

// The bytes of the first object of `kind` in a test drawing, from its size on.
struct Sample {
    std::vector<uint8_t> bytes;
    Version version = Version::R2000;
    ObjectType type;
};

Sample firstOf(const char* file, const std::string& kind) {
    std::ifstream in(std::string(DWG_TESTDATA) + "/" + file, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    Container c;
    EXPECT_EQ(readContainer(bytes, c), "") << file;
    std::vector<DwgClass> classes;
    EXPECT_EQ(readClasses(c.classes, c.version, c.maintenance, classes), "") << file;
    for (const ObjectLocation& location : c.objectMap) {
        ObjectFrame frame;
        if (!frame.open(c.objects, location.offset, c.version)) continue;
        const ObjectType type = objectType(frame.type(), classes);
        if (type.dxfName != kind) continue;
        const size_t end = std::min<size_t>(c.objects.size(), location.offset + 8192);
        return Sample{{c.objects.begin() + location.offset, c.objects.begin() + end}, c.version, type};
    }
    ADD_FAILURE() << file << ": no " << kind;
    return {};
}

// Opens the sample and reads its common data; the bit its own data starts at.
size_t openSample(const Sample& s, ObjectFrame& frame, Record& record) {
    frame.open(s.bytes, 0, s.version);
    if (s.type.entity) {
        frame.readEntityCommon(record);
    } else {
        frame.readObjectCommon(record);
    }
    return frame.data().position();
}

// Writes `bits` (most significant first) into `bytes` at bit `at`.
void overwrite(std::vector<uint8_t>& bytes, size_t at, uint64_t bits, int count) {
    for (int i = 0; i < count && (at + i) / 8 < bytes.size(); ++i) {
        const uint8_t mask = static_cast<uint8_t>(0x80 >> ((at + i) % 8));
        const bool one = (bits >> (count - 1 - i)) & 1;
        bytes[(at + i) / 8] = one ? (bytes[(at + i) / 8] | mask) : (bytes[(at + i) / 8] & ~mask);
    }
}

const char* const kFiles[] = {"ACadSharp_sample_AC1014.dwg", "ACadSharp_sample_AC1015.dwg",
                              "ACadSharp_sample_AC1018.dwg", "ACadSharp_sample_AC1021.dwg",
                              "ACadSharp_sample_AC1024.dwg", "ACadSharp_sample_AC1027.dwg",
                              "ACadSharp_sample_AC1032.dwg"};
const char* const kKinds[] = {"MULTILEADER", "MLEADERSTYLE"};

TEST(Multileader, CutAnywhereInItsDataFails) {
    for (const char* file : kFiles) {
        for (const char* kind : kKinds) {
            const Sample s = firstOf(file, kind);
            ObjectFrame whole;
            Record record;
            const size_t start = openSample(s, whole, record);
            s.type.decode(whole, record);
            ASSERT_FALSE(whole.failed()) << file << " " << kind;
            const size_t end = whole.data().position();
            for (size_t cut = start; cut < end; ++cut) {
                ObjectFrame frame;
                Record cutRecord;
                openSample(s, frame, cutRecord);
                frame.data().limit(cut);
                s.type.decode(frame, cutRecord);
                EXPECT_TRUE(frame.failed()) << file << " " << kind << " cut at " << cut;
            }
        }
    }
}

// A bit long in full (00 and four raw bytes): 0x7fffffff and -1.
const uint64_t kHostileCounts[] = {0x00ffffff7fULL, 0x00ffffffffULL};

TEST(Multileader, ClaimingMoreLeadersThanItHoldsFails) {
    for (const char* file : kFiles) {
        const Sample s = firstOf(file, "MULTILEADER");
        ObjectFrame frame;
        Record record;
        size_t at = openSample(s, frame, record);
        if (s.version >= Version::R2010) {
            frame.data().BS();  // the class version
            at = frame.data().position();
        }
        for (uint64_t count : kHostileCounts) {
            Sample bad = s;
            overwrite(bad.bytes, at, count, 34);
            ObjectFrame badFrame;
            Record badRecord;
            openSample(bad, badFrame, badRecord);
            s.type.decode(badFrame, badRecord);
            EXPECT_TRUE(badFrame.failed()) << file;
            EXPECT_LT(badRecord.groups.size(), 10u) << file;
        }
    }
}

TEST(Multileader, HugeOrNegativeCountsAnywhereStayWithinTheObject) {
    for (const char* file : kFiles) {
        for (const char* kind : kKinds) {
            const Sample s = firstOf(file, kind);
            ObjectFrame whole;
            Record record;
            const size_t start = openSample(s, whole, record);
            s.type.decode(whole, record);
            ASSERT_FALSE(whole.failed()) << file << " " << kind;
            const size_t end = whole.data().position();
            for (uint64_t count : kHostileCounts) {
                for (size_t at = start; at + 34 <= end; ++at) {
                    Sample bad = s;
                    overwrite(bad.bytes, at, count, 34);
                    ObjectFrame frame;
                    Record badRecord;
                    openSample(bad, frame, badRecord);
                    s.type.decode(frame, badRecord);
                    EXPECT_LE(badRecord.groups.size(), end) << file << " " << kind << " at " << at;
                }
            }
        }
    }
}

}  // namespace
}  // namespace dwg
