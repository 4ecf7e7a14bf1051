// Plot scenes of real drawings of other programs (drawing/testdata/real, sources in its
// README): those that show a kind of entity draw what it holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "plot/scene_testing.h"

namespace plot {
namespace {

namespace fs = std::filesystem;
using RealPlotTest = testkit::SceneTest;

Scene sceneOfReal(const std::string& name) {
    std::unique_ptr<drawing::AcadDocument> doc;
    const std::string path = (fs::path(PLOT_REAL_DRAWINGS) / name).string();
    EXPECT_TRUE(drawing::AcadDocument::open(path, doc).ok()) << path;
    return doc ? buildScene(*doc) : Scene();
}

bool hasText(const Scene& scene, const std::string& text) {
    return std::any_of(scene.texts.begin(), scene.texts.end(),
                       [&](const SceneText& t) { return testkit::textOf(scene, t) == text; });
}

TEST_F(RealPlotTest, DrawingsShowWhatTheyHold) {
    const struct {
        const char* file;
        const char* what;
        std::function<bool(const Scene&)> shows;
    } cases[] = {
        {"ezdxf_acad_table_simple.dxf", "the table's title and cells",
         [](const Scene& s) {
             return hasText(s, "Title") && hasText(s, "1") && hasText(s, "6") &&
                    testkit::countOf(s, SceneItem::Kind::Stroke) >= 8;
         }},
        {"ezdxf_acad_table_with_blk_ref.dxf", "the table's grid",
         [](const Scene& s) { return testkit::countOf(s, SceneItem::Kind::Stroke) >= 8; }},
        {"ACadSharp_sample_AC1032_ascii.dxf", "its multileaders and its table",
         [](const Scene& s) {
             return hasText(s, "MULTILEADER TEST") && hasText(s, "123") &&
                    hasText(s, "Table sample");
         }},
        {"ezdxf_transform_hatch_pattern.dxf", "the lines of its hatch patterns, also in blocks",
         [](const Scene& s) {
             return std::count_if(s.items.begin(), s.items.end(), [](const SceneItem& i) {
                        return i.kind == SceneItem::Kind::Stroke && i.end - i.begin > 30;
                    }) == 12;  // three hatches, drawn four times
         }},
        {"ACadSharp_BLOCKVISIBILITYPARAMETER.dxf",
         "each dynamic block reference in its visibility state only",
         [](const Scene& s) { return s.items.size() == 12; }},
        {"ezdxf_multi_insert_with_attribs.dxf", "the attributes on all 25 cells of the array",
         [](const Scene& s) {
             return std::count_if(s.texts.begin(), s.texts.end(), [&](const SceneText& t) {
                        return testkit::textOf(s, t) == "Flag";
                    }) == 25;
         }},
        {"ezdxf_uncommon.dxf", "the multileaders' texts",
         [](const Scene& s) {
             return std::count_if(s.texts.begin(), s.texts.end(), [&](const SceneText& t) {
                        return testkit::textOf(s, t) == "LEADER";
                    }) >= 2;
         }},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(c.shows(sceneOfReal(c.file))) << c.file << ": " << c.what;
}

}  // namespace
}  // namespace plot
