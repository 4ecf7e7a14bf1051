// Small hostile drawings, a few hundred bytes each, against the plotter: the numbers a
// drawing holds (counts, angles, array sizes, references) are never trusted, so none of
// them crashes a plot, hangs it or makes it draw without end.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "drawing/document.h"
#include "drawing/test_drawings.h"
#include "plot/plotter.h"
#include "plot/scene_builder.h"

namespace plot {
namespace {

namespace fs = std::filesystem;
using drawing::AcadDocument;
using drawing::AcadLayout;
using drawing::PlotResult;
using drawing::StopRequested;
using drawing::testing::Groups;
namespace dt = drawing::testing;
namespace reason = drawing::reason;

// Groups written as "code value code value ...", each value without blanks.
Groups groups(const std::string& pairs) {
    std::istringstream in(pairs);
    Groups g;
    int code = 0;
    std::string value;
    while (in >> code >> value) g.emplace_back(code, value);
    return g;
}

// An R12 drawing with layers 0 and OFF (switched off), the groups of its blocks and of
// its model space.
std::string drawingOf(const std::string& entities, const std::string& blocks = "") {
    return dt::render(
        groups("0 SECTION 2 HEADER 9 $ACADVER 1 AC1009 0 ENDSEC 0 SECTION 2 TABLES 0 TABLE "
               "2 LAYER 70 2 0 LAYER 2 0 70 0 62 7 6 CONTINUOUS "
               "0 LAYER 2 OFF 70 0 62 -7 6 CONTINUOUS 0 ENDTAB 0 ENDSEC 0 SECTION 2 BLOCKS " +
               blocks + " 0 ENDSEC 0 SECTION 2 ENTITIES " + entities + " 0 ENDSEC 0 EOF"),
        drawing::DxfFormat::Ascii);
}

// Block B holding `entities`, inserted in an array of `columns` x `rows`.
std::string arrayOf(const std::string& entities, const std::string& columns,
                    const std::string& rows) {
    return drawingOf("0 INSERT 8 0 2 B 10 0 20 0 70 " + columns + " 71 " + rows + " 44 10 45 10",
                     "0 BLOCK 8 0 2 B 70 0 10 0 20 0 " + entities + " 0 ENDBLK 8 0");
}

class HostilePlot : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        folder_ = new dt::ScratchFolder("plot_hostile");
        fs::create_directories(folder_->path() / "plotstyles");
        installPlotService(folder_->path().string());
    }
    static void TearDownTestSuite() { delete folder_; }

    // `dxf` saved as NAME.dxf and opened.
    static std::unique_ptr<AcadDocument> open(const std::string& name, const std::string& dxf) {
        const std::string path = (folder_->path() / (name + ".dxf")).string();
        dt::writeFile(path, dxf);
        std::unique_ptr<AcadDocument> doc;
        EXPECT_TRUE(AcadDocument::open(path, doc).ok()) << name;
        return doc;
    }

    // NAME.dxf plotted to a PDF on A4.
    static PlotResult plot(const std::string& name, const std::string& dxf,
                           const StopRequested& stop = {}) {
        const auto doc = open(name, dxf);
        if (!doc) return {};
        AcadLayout layout = doc->activeLayout();
        EXPECT_TRUE(layout.setConfigName("PDF").ok());
        EXPECT_TRUE(layout.setStyleSheet("monochrome.ctb").ok());
        EXPECT_TRUE(layout.setCanonicalMediaName("A4").ok());
        return doc->plot().plotToDevice(stop);
    }

    static fs::path pdfOf(const std::string& name) { return folder_->path() / (name + ".pdf"); }

    static dt::ScratchFolder* folder_;
};

dt::ScratchFolder* HostilePlot::folder_ = nullptr;

struct Case {
    const char* name;
    std::string entities;  // groups as drawingOf takes them
    size_t mostElements;   // what the scene may hold at most
};

// The scene of the case's drawing, which holds no more than the case allows, and which
// plots to a PDF.
Scene sceneAndPlot(const Case& c) {
    const std::string dxf = drawingOf(c.entities);
    const auto doc = HostilePlot::open(c.name, dxf);
    if (!doc) return {};
    Scene scene = buildScene(*doc);
    EXPECT_LE(scene.elements.size(), c.mostElements) << c.name;
    const PlotResult result = HostilePlot::plot(c.name, dxf);
    EXPECT_TRUE(result.status.ok()) << c.name << ": " << result.status.reason;
    return scene;
}

TEST_F(HostilePlot, CountsAreNeverTrusted) {
    const std::string corner = " 0 VERTEX 8 0 10 0 20 0 70 ";
    const Case cases[] = {
        {"mesh_claiming_65536_by_65536_with_4_vertices",
         "0 POLYLINE 8 0 66 1 70 16 71 65536 72 65536" + corner + "64" + corner + "64" + corner +
             "64" + corner + "64 0 SEQEND 8 0",
         0},
        {"polyface_corner_minus_2147483648",
         "0 POLYLINE 8 0 66 1 70 64 71 3 72 1" + corner + "192" + corner + "192" + corner + "192" +
             corner + "128 71 1 72 -2147483648 73 3 0 SEQEND 8 0",
         4},
        {"hatch_loop_claiming_2e9_vertices_with_3",
         "0 HATCH 8 0 70 1 91 1 92 2 72 0 73 1 93 2000000000 "
         "10 0 20 0 10 5 20 0 10 0 20 5 97 0 75 0",
         8},
        {"hatch_spline_edge_claiming_2e9_knots_and_3e9_control_points",
         "0 HATCH 8 0 70 0 91 1 92 0 93 1 72 4 94 1e300 73 0 74 0 95 2000000000 96 3e9 "
         "40 0 40 1 10 0 20 0 10 5 20 5 97 0",
         40},
    };
    for (const Case& c : cases) sceneAndPlot(c);
}

TEST_F(HostilePlot, AnglesAreReducedAndSweepsStayWithinOneTurn) {
    const Case cases[] = {
        {"arc_starting_at_1e20_degrees", "0 ARC 8 0 10 0 20 0 40 10 50 1e20 51 90", 20},
        {"ellipse_starting_at_parameter_1e20",
         "0 ELLIPSE 8 0 10 0 20 0 11 10 21 0 40 0.5 41 1e20 42 1", 150},
        {"ellipse_sweeping_1e6_radians", "0 ELLIPSE 8 0 10 0 20 0 11 10 21 0 40 0.5 41 0 42 1e6",
         150},
        {"hatch_arc_edge_sweeping_1e9_degrees",
         "0 HATCH 8 0 70 0 91 1 92 0 93 1 72 2 10 0 20 0 40 10 50 -1e9 51 1e9 73 1 97 0", 150},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(QRectF(-10.001, -10.001, 20.002, 20.002).contains(sceneAndPlot(c).extents))
            << c.name;
    // Reduced angles draw what the entity means: an end a hair past 2π (rounded up when
    // written) closes the ellipse, and an arc across 0° reaches it.
    const auto whole =
        open("whole", drawingOf("0 ELLIPSE 8 0 10 0 20 0 11 10 21 0 40 0.5 41 0 42 6.28318530718"));
    const QRectF ellipse = buildScene(*whole).extents;
    EXPECT_NEAR(ellipse.left(), -10, 0.01);
    EXPECT_NEAR(ellipse.right(), 10, 0.01);
    const auto across = open("across", drawingOf("0 ARC 8 0 10 0 20 0 40 10 50 710 51 -350"));
    const QRectF arc = buildScene(*across).extents;
    EXPECT_NEAR(arc.right(), 10, 0.01);
    EXPECT_NEAR(arc.left(), 10 * std::cos(10 * M_PI / 180), 0.01);
}

// Work a drawing multiplies without bound ends the plot with the reason and the
// drawing's path, and no PDF; a stop ends a plot the same way.
TEST_F(HostilePlot, ExpansionHasABudget) {
    // A line on the layer that is off: expanding it costs work but draws nothing.
    const std::string array = arrayOf("0 LINE 8 OFF 10 0 20 0 11 1 21 1", "100000", "100000");
    const std::pair<const char*, std::string> runaway[] = {
        {"array", array}, {"twice", dt::selfInsertingDrawing()}};
    for (const auto& [name, dxf] : runaway) {
        const PlotResult result = plot(name, dxf);
        EXPECT_EQ(result.status.reason, reason::kPlotTooLarge) << name;
        EXPECT_EQ(result.status.path, (folder_->path() / (std::string(name) + ".dxf")).string());
        EXPECT_FALSE(fs::exists(pdfOf(name))) << name;
    }
    const PlotResult stopped = plot("stopped", array, [] { return true; });
    EXPECT_EQ(stopped.status.reason, reason::kPlotStopped);
    EXPECT_FALSE(fs::exists(pdfOf("stopped")));

    // An array of a size drawings have is drawn whole.
    const auto ordinary = open("ordinary", arrayOf("0 LINE 8 0 10 0 20 0 11 5 21 5", "300", "300"));
    EXPECT_EQ(buildScene(*ordinary).items.size(), 300u * 300u);
}

}  // namespace
}  // namespace plot
