// Proxy graphics in the plot scene: the commands of ACAD_PROXY_ENTITY and of an add-on
// program's entities drawn in their colours and layers; counts and sizes that the data
// cannot hold end the drawing there.
#include <gtest/gtest.h>

#include <cstring>

#include "plot/colors.h"
#include "plot/scene_testing.h"

namespace plot {
namespace {

using ProxyGraphicsTest = testkit::SceneTest;
using testkit::Groups;
using testkit::operator+;

// Proxy graphics as a program writes them.
class Stream {
public:
    Stream& command(uint32_t type, const Stream& body) {
        u32(static_cast<uint32_t>(body.bytes_.size() + 8)).u32(type);
        bytes_.insert(bytes_.end(), body.bytes_.begin(), body.bytes_.end());
        ++commands_;
        return *this;
    }
    Stream& u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    Stream& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<uint8_t>(bits >> (8 * i)));
        return *this;
    }
    Stream& point(double x, double y) { return f64(x).f64(y).f64(0); }
    Stream& text(const std::string& s) {
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        do bytes_.push_back(0);
        while (bytes_.size() % 4);
        return *this;
    }
    // The stream as 310 groups after its size in group `sizeCode`.
    Groups groups(int sizeCode) const {
        Stream all;
        all.u32(static_cast<uint32_t>(bytes_.size() + 8)).u32(commands_);
        all.bytes_.insert(all.bytes_.end(), bytes_.begin(), bytes_.end());
        Groups g = {{sizeCode, std::to_string(all.bytes_.size())}};
        static const char* kHex = "0123456789ABCDEF";
        for (size_t i = 0; i < all.bytes_.size(); i += 127) {
            std::string hex;
            for (size_t k = i; k < std::min(all.bytes_.size(), i + 127); ++k)
                hex += {kHex[all.bytes_[k] >> 4], kHex[all.bytes_[k] & 15]};
            g.push_back({310, hex});
        }
        return g;
    }

private:
    std::vector<uint8_t> bytes_;
    uint32_t commands_ = 0;
};

const Groups kLayers = {{0, "TABLE"}, {2, "LAYER"},      {0, "LAYER"}, {2, "0"},     {70, "0"},
                        {62, "7"},    {6, "CONTINUOUS"}, {0, "LAYER"}, {2, "WALLS"}, {70, "0"},
                        {62, "3"},    {6, "CONTINUOUS"}, {0, "ENDTAB"}};

Stream drawingCommands() {
    Stream s;
    s.command(14, Stream().u32(1));  // red
    s.command(6, Stream().u32(3).point(0, 0).point(10, 0).point(10, 10));
    s.command(16, Stream().u32(1));    // layer WALLS
    s.command(14, Stream().u32(256));  // its colour
    s.command(2, Stream().point(5, 5).f64(2).point(0, 0));
    s.command(20, Stream().u32(1));  // filled
    s.command(7, Stream().u32(3).point(20, 0).point(30, 0).point(25, 8));
    s.command(10, Stream().point(0, 20).point(0, 0).point(1, 0).f64(2.5).f64(1).f64(0).text("A-1"));
    return s;
}

TEST_F(ProxyGraphicsTest, CommandsDrawInTheirTraits) {
    const Groups proxy = Groups{{0, "ACAD_PROXY_ENTITY"}, {8, "0"},    {100, "AcDbEntity"},
                                {100, "AcDbProxyEntity"}, {90, "498"}, {91, "500"}} +
                         drawingCommands().groups(92) + Groups{{93, "0"}, {94, "0"}};
    const Scene scene = sceneOf("proxy.dxf", testkit::drawingWith("AC1015", kLayers, {}, proxy));
    ASSERT_EQ(scene.items.size(), 4u);
    EXPECT_EQ(scene.items[0].kind, SceneItem::Kind::Stroke);
    EXPECT_EQ(scene.items[0].pen.color, aciColor(1));
    EXPECT_EQ(outlineBox(scene, scene.items[0]), QRectF(0, 0, 10, 10));
    EXPECT_EQ(scene.items[1].pen.color, aciColor(3));
    EXPECT_EQ(outlineBox(scene, scene.items[1]), QRectF(3, 3, 4, 4));
    EXPECT_EQ(scene.items[2].kind, SceneItem::Kind::Fill);
    EXPECT_EQ(outlineBox(scene, scene.items[2]), QRectF(20, 0, 10, 8));
    ASSERT_EQ(scene.texts.size(), 1u);
    EXPECT_EQ(testkit::textOf(scene, scene.texts[0]), "A-1");
    EXPECT_NEAR(scene.texts[0].place.dy(), 20, 1e-9);
}

TEST_F(ProxyGraphicsTest, AddOnEntitiesShowTheirProxyGraphics) {
    const Groups wall = Groups{{0, "TCH_WALL"}, {8, "WALLS"}, {100, "AcDbEntity"}} +
                        drawingCommands().groups(160) + Groups{{100, "TDbWall"}, {10, "0"}};
    const Scene scene = sceneOf("addon.dxf", testkit::drawingWith("AC1027", kLayers, {}, wall));
    EXPECT_EQ(scene.items.size(), 4u);
}

// A command longer than the data, and counts larger than the bytes after them.
TEST_F(ProxyGraphicsTest, DataThatDoesNotFitEndsTheDrawing) {
    Stream s;
    s.command(6, Stream().u32(0xffffffff).point(0, 0));                // points it lacks
    s.command(9, Stream().u32(1).point(0, 0).u32(0x7fffffff).u32(3));  // a shell's face list
    s.command(8, Stream().u32(0x10000).u32(0x10000).point(0, 0));      // a mesh's rows
    s.command(6, Stream().u32(2).point(0, 0).point(5, 5));             // drawn
    const Groups good = Groups{{0, "TCH_PIPE"}, {8, "0"}} + s.groups(92);
    Groups cut = good;
    cut.back().second.resize(cut.back().second.size() - 8);  // the last command cut short
    const Scene scene =
        sceneOf("hostile.dxf", testkit::drawingWith("AC1018", kLayers, {}, good + cut));
    ASSERT_EQ(scene.items.size(), 1u);
    EXPECT_EQ(outlineBox(scene, scene.items[0]), QRectF(0, 0, 5, 5));
}

}  // namespace
}  // namespace plot
