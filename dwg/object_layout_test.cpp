// Every object of every test drawing that the reader translates is read with exactly
// its stored layout: its data stream up to its texts and its handle stream to their end,
// leaving no more than the padding to a whole byte. A field read too many or too few
// anywhere shows here, even where the values happen to look right. The outside
// drawings of a sweep (dwg/outside_drawings.h) are read the same way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "dwg/classes.h"
#include "dwg/container.h"
#include "dwg/object_frame.h"
#include "dwg/object_types.h"
#include "dwg/outside_drawings.h"

namespace dwg {
namespace {

// Reads every translated object of a drawing; counts them by DXF type.
std::map<std::string, int> readEveryObject(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    Container c;
    std::map<std::string, int> read;
    EXPECT_EQ(readContainer(bytes, c), "") << path;
    std::vector<DwgClass> classes;
    EXPECT_EQ(readClasses(c.classes, c.version, c.maintenance, classes), "") << path;
    for (const ObjectLocation& location : c.objectMap) {
        ObjectFrame frame;
        EXPECT_TRUE(frame.open(c.objects, location.offset, c.version)) << path;
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
        const std::string where = path + " " + type.dxfName + " " + hexText(location.handle);
        EXPECT_FALSE(frame.failed()) << where;
        EXPECT_GE(frame.dataLeft(), 0) << where;
        EXPECT_LT(frame.dataLeft(), 8) << where;
        EXPECT_LT(frame.handlesLeft(), 8) << where;
        ++read[type.dxfName];
    }
    return read;
}

TEST(ObjectLayout, EveryTranslatedObjectReadsItsWholeLayout) {
    size_t samples = 0;
    for (const auto& e : std::filesystem::directory_iterator(DWG_TESTDATA)) {
        if (e.path().extension() != ".dwg") continue;
        std::map<std::string, int> read = readEveryObject(e.path().string());
        const std::string name = e.path().filename().string();
        if (!name.starts_with("ACadSharp_sample_")) continue;  // the same drawing in each version
        EXPECT_GT(read["LINE"], 90) << name;
        EXPECT_GT(read["DIMENSION"], 10) << name;
        ++samples;
    }
    EXPECT_EQ(samples, 7u);
}

TEST(ObjectLayout, EveryTranslatedObjectOfTheOutsideDrawings) {
    for (const auto& path : outsideDrawings()) readEveryObject(path.string());
}

}  // namespace
}  // namespace dwg
