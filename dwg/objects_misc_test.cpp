// Materials, visual and view styles, clipping boundaries, suns and dimension
// associations of the test drawings: cut anywhere they fail without reading past their end, and a
// count claiming more than the bytes left could hold fails before reading the items.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "dwg/test_files.h"

namespace dwg {
namespace {

namespace fs = std::filesystem;

const std::set<std::string> kMiscKinds = {
    "MATERIAL", "VISUALSTYLE",          "SPATIAL_FILTER",     "SUN",
    "DIMASSOC", "ACDBSECTIONVIEWSTYLE", "ACDBDETAILVIEWSTYLE"};

const char* const kMiscVersions[] = {"AC1015", "AC1018", "AC1021", "AC1024", "AC1027", "AC1032"};

std::string sampleName(const char* version) {
    return std::string("ACadSharp_sample_") + version + ".dwg";
}

TEST(MiscObjects, CutAnywhereTheyFailWithinTheirBytes) {
    for (const char* version : kMiscVersions) {
        OpenedDwg s;
        ASSERT_TRUE(openDwg(sampleName(version), s));
        std::map<std::string, int> cut;
        for (const ObjectLocation& location : s.container.objectMap) {
            for (int eighth = 1; eighth < 8; ++eighth) {
                ObjectFrame frame;
                Record record;
                const ObjectType type =
                    openObject(s, s.container.objects, location.offset, frame, record);
                if (!kMiscKinds.count(type.dxfName)) break;
                BitReader& d = frame.data();
                d.limit(d.position() + static_cast<size_t>(frame.dataLeft()) * eighth / 8);
                type.decode(frame, record);
                if (record.type.empty() && !frame.failed()) break;  // declined whole
                EXPECT_TRUE(frame.failed()) << version << " " << type.dxfName << " " << eighth;
                EXPECT_EQ(d.position(), d.end()) << version << " " << type.dxfName;
                ++cut[type.dxfName];
            }
        }
        EXPECT_EQ(cut["MATERIAL"], 3 * 7) << version;
        EXPECT_EQ(cut["VISUALSTYLE"], 24 * 7) << version;
        EXPECT_EQ(cut["SPATIAL_FILTER"], 7) << version;
        EXPECT_EQ(cut["DIMASSOC"], 3 * 7) << version;
        EXPECT_EQ(cut["ACDBSECTIONVIEWSTYLE"], 2 * 7) << version;
        EXPECT_EQ(cut["ACDBDETAILVIEWSTYLE"], 2 * 7) << version;
    }
}

// Sets the 8 bits of the value of a BS or BL coded as one byte (code 01) at bit `at`.
void setByteValue(std::vector<uint8_t>& bytes, size_t at, uint8_t value) {
    for (int i = 0; i < 8; ++i) {
        const size_t bit = at + 2 + i;
        const auto mask = static_cast<uint8_t>(0x80 >> (bit % 8));
        const bool on = (value >> (7 - i)) & 1;
        bytes[bit / 8] = static_cast<uint8_t>(on ? bytes[bit / 8] | mask : bytes[bit / 8] & ~mask);
    }
}

// The bits a BD takes for `value`.
size_t bdBits(double value) { return value == 0.0 || value == 1.0 ? 2 : 66; }

// Where the count read first stands: a clipping boundary's vertices at the start of
// its data, the path of a dimension association's first point after the association
// flags, the class name and the snap, a section view style's hatch angles (its data's
// last values, each a BD, here from a whole reading) before its end.
size_t countAt(const std::string& kind, ObjectFrame& frame, const ObjectType& type,
               const Record& read) {
    BitReader& d = frame.data();
    if (kind == "ACDBSECTIONVIEWSTYLE") {
        Record whole = read;
        type.decode(frame, whole);
        size_t at = d.position() - 10;  // a BL of one byte: its code and the byte
        for (auto g = whole.groups.rbegin(); g != whole.groups.rend() && g->code == 40; ++g)
            at -= bdBits(std::stod(g->value));
        return at;
    }
    if (kind == "DIMASSOC") {
        d.BL();
        d.B();
        d.RC();
        d.TV();
        d.RC();
    }
    return d.position();
}

TEST(MiscObjects, CountsBeyondTheirBytesFail) {
    for (const char* version : kMiscVersions) {
        OpenedDwg s;
        ASSERT_TRUE(openDwg(sampleName(version), s));
        std::map<std::string, int> claimed;
        for (const ObjectLocation& location : s.container.objectMap) {
            ObjectFrame frame;
            Record record;
            const ObjectType opened =
                openObject(s, s.container.objects, location.offset, frame, record);
            const std::string kind = opened.dxfName;
            if (kind != "SPATIAL_FILTER" && kind != "DIMASSOC" && kind != "ACDBSECTIONVIEWSTYLE")
                continue;
            const size_t at = countAt(kind, frame, opened, record);
            std::vector<uint8_t> hostile = s.container.objects;
            ASSERT_FALSE(hostile[at / 8] & (0x80 >> (at % 8))) << version << " " << kind;
            ASSERT_TRUE(hostile[(at + 1) / 8] & (0x80 >> ((at + 1) % 8))) << version << " " << kind;
            setByteValue(hostile, at, 0xff);
            ObjectFrame again;
            Record other;
            const ObjectType type = openObject(s, hostile, location.offset, again, other);
            // From 2007 on the strings follow the data: the claim is measured against
            // the data alone.
            BitReader& d = again.data();
            d.limit(d.position() + static_cast<size_t>(again.dataLeft()));
            type.decode(again, other);
            EXPECT_TRUE(again.failed()) << version << " " << kind;
            // Nothing is read for the claim: no vertex, no object of the path, no angle.
            if (kind == "ACDBSECTIONVIEWSTYLE") {
                ASSERT_FALSE(other.groups.empty());
                EXPECT_EQ(other.groups.back().code, 90) << version;
            }
            const int16_t claimedCode = kind == "DIMASSOC" ? 331 : 10;
            for (const Group& g : other.groups) EXPECT_NE(g.code, claimedCode) << version << " " << kind;
            ++claimed[kind];
        }
        EXPECT_EQ(claimed["SPATIAL_FILTER"], 1) << version;
        EXPECT_EQ(claimed["DIMASSOC"], 3) << version;
        EXPECT_EQ(claimed["ACDBSECTIONVIEWSTYLE"], 2) << version;
    }
}

}  // namespace
}  // namespace dwg
