// Every object of every test drawing that the reader translates is read with exactly
// its stored layout: its data stream up to its texts and its handle stream to their end,
// leaving no more than the padding to a whole byte. A field read too many or too few
// anywhere shows here, even where the values happen to look right.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "dwg/classes.h"
#include "dwg/container.h"
#include "dwg/object_frame.h"
#include "dwg/object_types.h"

namespace dwg {
namespace {

TEST(ObjectLayout, EveryTranslatedObjectReadsItsWholeLayout) {
    for (const char* name : {"ACadSharp_sample_AC1014.dwg", "ACadSharp_sample_AC1015.dwg",
                             "ACadSharp_sample_AC1018.dwg", "ACadSharp_sample_AC1021.dwg",
                             "ACadSharp_sample_AC1024.dwg", "ACadSharp_sample_AC1027.dwg",
                             "ACadSharp_sample_AC1032.dwg"}) {
        std::ifstream in(std::string(DWG_TESTDATA) + "/" + name, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        Container c;
        ASSERT_EQ(readContainer(bytes, c), "") << name;
        std::vector<DwgClass> classes;
        ASSERT_EQ(readClasses(c.classes, c.version, c.maintenance, classes), "") << name;
        std::map<std::string, int> read;
        for (const ObjectLocation& location : c.objectMap) {
            ObjectFrame frame;
            ASSERT_TRUE(frame.open(c.objects, location.offset, c.version)) << name;
            const ObjectType type = objectType(frame.type(), classes);
            if (!type.decode) continue;
            Record record;
            record.type = type.dxfName;
            if (type.entity) {
                frame.readEntityCommon(record);
            } else {
                frame.readObjectCommon(record);
            }
            type.decode(frame, record);
            if (record.type.empty() && !frame.failed()) continue;  // declined
            EXPECT_FALSE(frame.failed()) << name << " " << type.dxfName << " " << location.handle;
            EXPECT_GE(frame.dataLeft(), 0) << name << " " << type.dxfName << " " << location.handle;
            EXPECT_LT(frame.dataLeft(), 8) << name << " " << type.dxfName << " " << location.handle;
            EXPECT_LT(frame.handlesLeft(), 8)
                << name << " " << type.dxfName << " " << location.handle;
            ++read[type.dxfName];
        }
        EXPECT_GT(read["LINE"], 90) << name;
        EXPECT_GT(read["DIMENSION"], 10) << name;
    }
}

}  // namespace
}  // namespace dwg
