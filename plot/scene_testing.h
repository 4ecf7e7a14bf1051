// What the plotter's scene tests share: drawings written to a scratch folder and read
// back into a scene, and the scene's items and texts as text to compare.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drawing/document.h"
#include "drawing/test_drawings.h"
#include "plot/glyphs.h"
#include "plot/plotter.h"
#include "plot/scene_builder.h"

namespace plot::testkit {

using drawing::testing::Groups;

inline Groups operator+(Groups a, const Groups& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// An ASCII drawing of AutoCAD version `version` (UTF-8 from AC1021) holding the groups
// `tables` in its TABLES section, `blocks` in BLOCKS, `entities` in ENTITIES and
// `objects` in OBJECTS.
inline std::string drawingWith(const std::string& version, const Groups& tables,
                               const Groups& blocks, const Groups& entities,
                               const Groups& objects = {}) {
    auto section = [](const char* name, const Groups& body) {
        return Groups{{0, "SECTION"}, {2, name}} + body + Groups{{0, "ENDSEC"}};
    };
    return drawing::testing::render(section("HEADER", {{9, "$ACADVER"}, {1, version}}) +
                                        section("TABLES", tables) + section("BLOCKS", blocks) +
                                        section("ENTITIES", entities) +
                                        section("OBJECTS", objects) + Groups{{0, "EOF"}},
                                    drawing::DxfFormat::Ascii);
}

class SceneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new drawing::testing::ScratchFolder("plot_scene");
        installPlotService(folder_->path().string());  // texts need Qt Gui
    }
    static void TearDownTestSuite() { delete folder_; }

    static Scene sceneOf(const std::string& name, const std::string& bytes) {
        const std::string path = (folder_->path() / name).string();
        drawing::testing::writeFile(path, bytes);
        std::unique_ptr<drawing::AcadDocument> doc;
        EXPECT_TRUE(drawing::AcadDocument::open(path, doc).ok()) << path;
        return doc ? buildScene(*doc) : Scene();
    }

    inline static drawing::testing::ScratchFolder* folder_ = nullptr;
};

// The characters of one text of `scene`, in UTF-8.
inline std::string textOf(const Scene& scene, const SceneText& t) {
    std::u32string chars;
    for (uint32_t k = t.glyphBegin; k < t.glyphEnd; ++k)
        chars += Glyphs::instance().glyph(scene.glyphs[k]).character;
    return QString::fromUcs4(chars.data(), static_cast<qsizetype>(chars.size())).toStdString();
}

// The texts of an unturned scene as lines, top to bottom: the texts on one baseline
// joined left to right.
inline std::vector<std::string> linesOf(const Scene& scene) {
    std::map<long, std::vector<std::pair<double, std::string>>, std::greater<>> rows;
    for (const SceneText& t : scene.texts)
        rows[std::lround(t.place.dy() * 100)].emplace_back(t.place.dx(), textOf(scene, t));
    std::vector<std::string> out;
    for (auto& [y, row] : rows) {
        std::sort(row.begin(), row.end());
        std::string line;
        for (const auto& [x, text] : row) line += text;
        out.push_back(line);
    }
    return out;
}

// What an item of `scene` draws, as text to compare.
inline std::string describe(const Scene& scene, const SceneItem& item) {
    std::string s = std::to_string(static_cast<int>(item.kind)) + " " +
                    std::to_string(item.pen.color.rgba()) + " " +
                    std::to_string(item.pen.lineweight);
    for (double d : item.pen.dashes) s += " " + std::to_string(d);
    if (item.kind == SceneItem::Kind::Text) {
        const SceneText& text = scene.texts[item.begin];
        for (uint32_t g = text.glyphBegin; g < text.glyphEnd; ++g)
            s += " #" + std::to_string(scene.glyphs[g]);
        const QTransform& p = text.place;
        for (double v : {p.m11(), p.m12(), p.m21(), p.m22(), p.dx(), p.dy()})
            s += " " + std::to_string(v);
        return s;
    }
    for (uint32_t k = item.begin; k < item.end; ++k)
        s += " " + std::to_string(scene.elements[k].x) + "," + std::to_string(scene.elements[k].y);
    return s;
}

// How many items of `kind` the scene holds.
inline size_t countOf(const Scene& scene, SceneItem::Kind kind) {
    return static_cast<size_t>(
        std::count_if(scene.items.begin(), scene.items.end(),
                      [kind](const SceneItem& i) { return i.kind == kind; }));
}

}  // namespace plot::testkit
