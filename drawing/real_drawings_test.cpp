// The engine on real drawings of other programs (testdata/real, sources in its README):
// read and written back unchanged, purged without losing what entities need, and the
// layouts' blocks found by handle whatever their names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "drawing/audit.h"
#include "drawing/drawing.h"
#include "drawing/purge.h"
#include "drawing/test_drawings.h"

namespace drawing {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> realDrawings() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(DRAWING_REAL_DRAWINGS)) {
        std::string ext = e.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (ext == ".dxf") out.push_back(e.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

Drawing read(const std::string& bytes) {
    Drawing d;
    EXPECT_TRUE(Drawing::parse(bytes, d).ok());
    return d;
}

TEST(RealDrawings, AreWrittenBackByteForByte) {
    const auto paths = realDrawings();
    ASSERT_GE(paths.size(), 20u);
    for (const fs::path& path : paths) {
        const std::string bytes = testing::readFile(path.string());
        EXPECT_EQ(read(bytes).bytes(), bytes) << path;
    }
}

// Ten passes of purge, as the batch run does, leave nothing pointing at what they
// removed: not the blocks of arc and large radial dimensions, not the lists of the
// table headers, not the ACIS data of a solid in a removed block.
TEST(RealDrawings, PurgeLeavesNoReferenceToWhatItRemoved) {
    for (const fs::path& path : realDrawings()) {
        Drawing d = read(testing::readFile(path.string()));
        const std::set<std::string> before = testing::pointingNowhere(d);
        for (int pass = 0; pass < 10; ++pass) purgeAll(d);
        for (const std::string& left : testing::pointingNowhere(d))
            EXPECT_TRUE(before.count(left)) << path.filename() << ": " << left;
    }
}

// A drawing whose model-space block record and block carry another name (*U, the
// true name kept elsewhere), and whose Model layout leaves its pointer back to the
// record empty, keeps them through purge and audit: the record's own pointer to its
// layout marks it. Every model-space entity keeps its owner.
TEST(RealDrawings, ModelSpaceIsFoundByHandleNotByName) {
    std::string bytes = testing::readFile(std::string(DRAWING_REAL_DRAWINGS) + "/ezdxf_sphere.dxf");
    for (size_t at; (at = bytes.find("*Model_Space")) != std::string::npos;)
        bytes.replace(at, 12, "*U");
    const size_t layout = bytes.find("AcDbLayout\n  1\nModel\n");
    ASSERT_NE(layout, std::string::npos);
    const size_t pointer = bytes.find("\n330\n", layout) + 5;
    bytes.replace(pointer, bytes.find('\n', pointer) - pointer, "0");
    Drawing d = read(bytes);
    uint64_t model = 0;
    for (size_t i = 0; i < d.size(); ++i) {
        std::string name;
        if (d.record(i).kind == Kind::BlockRecord && d.value(i, 2, name) && name == "*U")
            model = d.record(i).handle;
    }
    ASSERT_NE(model, 0u);
    auto ownedByModel = [&] {
        size_t n = 0;
        for (size_t i = 0; i < d.size(); ++i)
            n += !d.record(i).deleted && d.record(i).section == Section::Entities &&
                 d.record(i).owner == model;
        return n;
    };
    const size_t entities = ownedByModel();
    ASSERT_GT(entities, 0u);
    for (int pass = 0; pass < 10; ++pass) purgeAll(d);
    for (int pass = 0; pass < 10; ++pass) auditDrawing(d, true);
    EXPECT_GE(d.find(model), 0);
    EXPECT_EQ(ownedByModel(), entities);
}

// The ACIS data of a solid lives in a section of its own (ACDSDATA); when purge removes
// the block that holds the solid, the record of its data goes too.
TEST(Purge, DataOfARemovedSolidGoesWithIt) {
    testing::Groups g = testing::sampleGroups({});
    auto blocks = std::find(g.begin(), g.end(), std::pair<int, std::string>{2, "BLOCKS"});
    auto u1 = std::find(blocks, g.end(), std::pair<int, std::string>{2, "U1"});
    auto end = std::find(u1, g.end(), std::pair<int, std::string>{0, "ENDBLK"});
    g.insert(end, {{0, "3DSOLID"}, {5, "F200"}, {330, "38"}, {100, "AcDbEntity"}, {8, "0"}});
    auto eof = std::find(g.begin(), g.end(), std::pair<int, std::string>{0, "EOF"});
    g.insert(eof, {{0, "SECTION"},
                   {2, "ACDSDATA"},
                   {70, "2"},
                   {71, "6"},
                   {0, "ACDSRECORD"},
                   {90, "1"},
                   {2, "AcDbDs::ID"},
                   {280, "10"},
                   {320, "F200"},
                   {2, "ASM_Data"},
                   {280, "15"},
                   {94, "0"},
                   {0, "ENDSEC"}});
    Drawing d = read(testing::render(g, DxfFormat::Ascii));
    purgeAll(d);
    for (size_t i = 0; i < d.size(); ++i)
        EXPECT_FALSE(!d.record(i).deleted &&
                     (d.record(i).type == "ACDSRECORD" || d.record(i).type == "3DSOLID"))
            << d.record(i).type;
}

}  // namespace
}  // namespace drawing
