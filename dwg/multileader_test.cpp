// Multileaders and their styles from damaged objects: an object cut anywhere in its own
// data fails (the reader counts it as unreadable) and a count overwritten with a huge
// or negative number anywhere makes the decoder stop, writing no more groups than the
// object has bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "dwg/test_files.h"


namespace dwg {
namespace {

// The first object of `kind` in a test drawing: its bytes from its size on (and what
// follows, up to 8 KiB in all).
struct Sample {
    std::vector<uint8_t> bytes;
    Version version = Version::R2000;
    ObjectType type;
};

Sample firstOf(const char* file, const std::string& kind) {
    OpenedDwg d;
    EXPECT_TRUE(openDwg(file, d));
    const Container& c = d.container;
    const std::vector<DwgClass>& classes = d.classes;
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

// A sample decoded: its frame and record, and the bits its own data spans.
struct Decoded {
    ObjectFrame frame;
    Record record;
    size_t start = 0, end = 0;
};

// Decodes `s` with its data cut at bit `cut` (none when past its end).
void decode(const Sample& s, Decoded& out, size_t cut = SIZE_MAX) {
    if (!s.type.decode || !out.frame.open(s.bytes, 0, s.version)) return;
    if (s.type.entity) {
        out.frame.readEntityCommon(out.record);
    } else {
        out.frame.readObjectCommon(out.record);
    }
    out.start = out.frame.data().position();
    if (cut < out.frame.data().end()) out.frame.data().limit(cut);
    s.type.decode(out.frame, out.record);
    out.end = out.frame.data().position();
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

// Calls `check(sample, whole, what)` for the first object of each kind in each drawing.
template <class Check>
void forEachSample(Check check) {
    for (const char* file : kFiles) {
        for (const char* kind : kKinds) {
            const Sample s = firstOf(file, kind);
            Decoded whole;
            decode(s, whole);
            const std::string what = std::string(file) + " " + kind;
            ASSERT_FALSE(whole.frame.failed()) << what;
            check(s, whole, what);
        }
    }
}

TEST(Multileader, CutAnywhereInItsDataFails) {
    forEachSample([](const Sample& s, const Decoded& whole, const std::string& what) {
        for (size_t cut = whole.start; cut < whole.end; ++cut) {
            Decoded part;
            decode(s, part, cut);
            EXPECT_TRUE(part.frame.failed()) << what << " cut at " << cut;
        }
    });
}

// A bit long in full (00 and four raw bytes): 0x7fffffff and -1.
const uint64_t kHostileCounts[] = {0x00ffffff7fULL, 0x00ffffffffULL};

TEST(Multileader, ClaimingMoreLeadersThanItHoldsFails) {
    for (const char* file : kFiles) {
        const Sample s = firstOf(file, "MULTILEADER");
        Decoded whole;
        decode(s, whole);
        // The count of leaders comes first, from 2010 on after the class version (2, a
        // short of 10 bits).
        const size_t at = whole.start + (s.version >= Version::R2010 ? 10 : 0);
        for (uint64_t count : kHostileCounts) {
            Sample bad = s;
            overwrite(bad.bytes, at, count, 34);
            Decoded read;
            decode(bad, read);
            EXPECT_TRUE(read.frame.failed()) << file;
            EXPECT_LT(read.record.groups.size(), 10u) << file;
        }
    }
}

TEST(Multileader, HugeOrNegativeCountsAnywhereStayWithinTheObject) {
    forEachSample([](const Sample& s, const Decoded& whole, const std::string& what) {
        for (uint64_t count : kHostileCounts) {
            for (size_t at = whole.start; at + 34 <= whole.end; ++at) {
                Sample bad = s;
                overwrite(bad.bytes, at, count, 34);
                Decoded read;
                decode(bad, read);
                EXPECT_LE(read.record.groups.size(), whole.end) << what << " at " << at;
            }
        }
    });
}

}  // namespace
}  // namespace dwg
