// Every object of every test drawing that the reader translates is read with exactly
// its stored layout: its data stream up to its texts and its handle stream to their end,
// leaving no more than the padding to a whole byte. A field read too many or too few
// anywhere shows here, even where the values happen to look right. The outside
// drawings of a sweep (dwg/outside_drawings.h) are read the same way.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "drawing/dxf_groups.h"
#include "dwg/outside_drawings.h"
#include "dwg/test_files.h"

namespace dwg {
namespace {

// Reads every translated object of a drawing; counts them by DXF type.
std::map<std::string, int> readEveryObject(const std::string& path) {
    OpenedDwg d;
    std::map<std::string, int> read;
    EXPECT_TRUE(openDwg(path, d));
    for (const ObjectLocation& location : d.container.objectMap) {
        ObjectFrame frame;
        Record record;
        const ObjectType type = openObject(d, d.container.objects, location.offset, frame, record);
        if (!type.decode) continue;
        type.decode(frame, record);
        if (record.type.empty() && !frame.failed()) continue;  // declined
        const std::string where = path + " " + type.dxfName + " " + drawing::handleText(location.handle);
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
