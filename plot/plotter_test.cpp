// Plotting real drawings to PDF through the layout, rasterised with pdftoppm: where
// the ink lands, the plot style tables, the layout settings, the device lists.
#include "plot/plotter.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>

#include "drawing/document.h"
#include "drawing/test_drawings.h"

namespace drawing {
namespace {

namespace fs = std::filesystem;
using testing::Groups;

constexpr int kDpi = 40;  // raster resolution: A4 is 331 x 468 pixels

// An R12 drawing (GBK texts) with layers 0, FROZEN (frozen), OFF (off), RED (colour 1) and the
// given entities in model space.
std::string drawing(const Groups& entities, const std::string& ltscale = "1.0") {
    Groups g = {
        {0, "SECTION"},    {2, "HEADER"},   {9, "$ACADVER"}, {1, "AC1009"}, {9, "$DWGCODEPAGE"},
        {3, "ANSI_936"},   {9, "$LTSCALE"}, {40, ltscale},   {0, "ENDSEC"}, {0, "SECTION"},
        {2, "TABLES"},     {0, "TABLE"},    {2, "LTYPE"},    {70, "2"},     {0, "LTYPE"},
        {2, "CONTINUOUS"}, {70, "0"},       {3, "Solid"},    {72, "65"},    {73, "0"},
        {40, "0.0"},       {0, "LTYPE"},    {2, "DASHED"},   {70, "0"},     {3, "__ __"},
        {72, "65"},        {73, "2"},       {40, "20.0"},    {49, "10.0"},  {49, "-10.0"},
        {0, "ENDTAB"},     {0, "TABLE"},    {2, "LAYER"},    {70, "4"}};
    const std::pair<const char*, std::pair<const char*, const char*>> layers[] = {
        {"0", {"7", "0"}}, {"FROZEN", {"7", "1"}}, {"OFF", {"-7", "0"}}, {"RED", {"1", "0"}}};
    for (const auto& [name, cf] : layers)
        g.insert(g.end(),
                 {{0, "LAYER"}, {2, name}, {70, cf.second}, {62, cf.first}, {6, "CONTINUOUS"}});
    g.insert(g.end(), {{0, "ENDTAB"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
    g.insert(g.end(), entities.begin(), entities.end());
    g.insert(g.end(), {{0, "ENDSEC"}, {0, "EOF"}});
    return testing::render(g, DxfFormat::Ascii);
}

Groups line(double x0, double y0, double x1, double y1, const char* layer = "0") {
    return {{0, "LINE"},
            {8, layer},
            {10, std::to_string(x0)},
            {20, std::to_string(y0)},
            {11, std::to_string(x1)},
            {21, std::to_string(y1)}};
}

Groups operator+(Groups a, const Groups& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A frame 200 x 100 with its lower left corner at the origin.
Groups frame() {
    return line(0, 0, 200, 0) + line(200, 0, 200, 100) + line(200, 100, 0, 100) +
           line(0, 100, 0, 0);
}

class PlotTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        data_ = fs::temp_directory_path() / ("plot_" + std::to_string(::getpid()));
        fs::create_directories(data_ / "plotstyles");
        plot::installPlotService(data_.string());
    }
    static void TearDownTestSuite() {
        if (!std::getenv("TOLVANE_KEEP_PLOTS")) fs::remove_all(data_);
    }

    // Writes `dxf` to `path` and plots it to PDF.
    static PlotResult plotFile(const std::string& path, const std::string& dxf, int rotation = 1,
                               const std::string& style = "monochrome.ctb",
                               const std::string& paper = "A4") {
        testing::writeFile(path, dxf);
        std::unique_ptr<AcadDocument> doc;
        EXPECT_TRUE(AcadDocument::open(path, doc).ok());
        if (!doc) return {};
        AcadLayout layout = doc->activeLayout();
        EXPECT_TRUE(layout.setConfigName("PDF").ok());
        EXPECT_TRUE(layout.setStyleSheet(style).ok());
        EXPECT_TRUE(layout.setCanonicalMediaName(paper).ok());
        layout.setCenterPlot(true);
        layout.setPlotRotation(rotation);
        const PlotResult result = doc->plot().plotToDevice();
        EXPECT_TRUE(result.status.ok()) << result.status.reason;
        return result;
    }

    // Plots `dxf` (as NAME.dxf) to PDF and returns the page as an image.
    QImage plot(const std::string& name, const std::string& dxf, int rotation = 1,
                const std::string& style = "monochrome.ctb", const std::string& paper = "A4") {
        const PlotResult result =
            plotFile((data_ / (name + ".dxf")).string(), dxf, rotation, style, paper);
        EXPECT_EQ(result.output, (data_ / (name + ".pdf")).string());
        const std::string png = (data_ / name).string();
        const std::string command = "pdftoppm -r " + std::to_string(kDpi) + " -png -singlefile '" +
                                    result.output + "' '" + png + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return QImage(QString::fromStdString(png + ".png")).convertToFormat(QImage::Format_RGB32);
    }

    static bool ink(const QImage& image, int x, int y, int radius = 2) {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const QPoint p(x + dx, y + dy);
                if (image.rect().contains(p) && qGray(image.pixel(p)) < 230) return true;
            }
        return false;
    }
    // The box of all ink, in millimetres from the page's top left corner.
    static QRectF inkBox(const QImage& image) {
        int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 230) {
                    x0 = std::min(x0, x), x1 = std::max(x1, x);
                    y0 = std::min(y0, y), y1 = std::max(y1, y);
                }
        const double mm = 25.4 / kDpi;
        return QRectF(QPointF(x0 * mm, y0 * mm), QPointF((x1 + 1) * mm, (y1 + 1) * mm));
    }

    static fs::path data_;
};
fs::path PlotTest::data_;

TEST_F(PlotTest, ListsDevicesStylesAndPapersAndRefusesUnknownNames) {
    testing::writeFile((data_ / "plotstyles" / "pens.ctb").string(), "not a table");
    testing::writeFile((data_ / "plotstyles" / "named.stb").string(), "");
    testing::writeFile((data_ / "plotstyles" / "notes.txt").string(), "");
    auto doc = AcadDocument::createNew((data_ / "new.dxf").string());
    AcadLayout layout = doc->activeLayout();
    layout.refreshPlotDeviceInfo();
    EXPECT_EQ(layout.getPlotDeviceNames().front(), "PDF");
    const std::vector<std::string> styles = {"monochrome.ctb", "grayscale.ctb", "screening 50%.ctb",
                                             "named.stb", "pens.ctb"};
    EXPECT_EQ(layout.getPlotStyleTableNames(), styles);
    EXPECT_TRUE(layout.getCanonicalMediaNames().empty());  // no device chosen yet
    EXPECT_FALSE(layout.setConfigName("NoSuchPrinter").ok());
    ASSERT_TRUE(layout.setConfigName("PDF").ok());
    const auto papers = layout.getCanonicalMediaNames();
    for (const char* paper : {"A0", "A1", "A2", "A3", "A4", "Letter / ANSI A", "ANSI E"})
        EXPECT_NE(std::find(papers.begin(), papers.end(), paper), papers.end()) << paper;
    const Status bad = layout.setCanonicalMediaName("B9");
    EXPECT_EQ(bad.reason, std::string(reason::kUnknownMedia) + "：B9");
    EXPECT_EQ(layout.plotSettings().canonicalMediaName, "");
    // The settings belong to the document: the next look at the layout sees them.
    EXPECT_EQ(doc->activeLayout().plotSettings().configName, "PDF");
}

TEST_F(PlotTest, InkLandsWhereTheGeometrySaysTurnedAndFitToThePaper) {
    const Groups circle = {{0, "CIRCLE"}, {8, "0"}, {10, "150"}, {20, "50"}, {40, "30"}};
    const Groups text = {
        {0, "TEXT"}, {8, "0"},
        {10, "20"},  {20, "70"},
        {40, "10"},  {1, TextCodec::forDrawing("AC1009", "ANSI_936").fromUtf8("零件 A")}};
    const Groups hidden = line(0, 50, 100, 50, "FROZEN") + line(100, 0, 100, 100, "OFF");
    const QImage page =
        plot("shapes", drawing(frame() + line(0, 0, 200, 100) + circle + text + hidden));
    ASSERT_FALSE(page.isNull());
    // Turned by 90° counter-clockwise on A4 (210 x 297): the 200 x 100 frame becomes
    // 148.5 x 297 mm, centred across: margins of 30.75 mm left and right.
    const QRectF box = inkBox(page);
    EXPECT_NEAR(box.left(), 30.75, 1.5);
    EXPECT_NEAR(box.right(), 210 - 30.75, 1.5);
    EXPECT_NEAR(box.top(), 0, 1.5);
    EXPECT_NEAR(box.bottom(), 297, 1.5);
    // Drawing (x, y) lands at page (x0 + (100 - y) * s, (200 - x) * s) in millimetres.
    const double s = 297.0 / 200, px = kDpi / 25.4;
    auto at = [&](double x, double y) {
        return QPoint(qRound((30.75 + (100 - y) * s) * px), qRound((200 - x) * s * px));
    };
    for (double t : {0.1, 0.3, 0.5, 0.7, 0.9})  // the diagonal corner to corner
        EXPECT_TRUE(ink(page, at(200 * t, 100 * t).x(), at(200 * t, 100 * t).y())) << t;
    EXPECT_TRUE(ink(page, at(180, 50).x(), at(180, 50).y()));      // on the circle
    EXPECT_FALSE(ink(page, at(150, 50).x(), at(150, 50).y(), 6));  // its centre is empty
    // The text runs up the page from its insertion point.
    EXPECT_TRUE(ink(page, at(30, 74).x(), at(30, 74).y(), 4));
    // Frozen and off layers are not plotted.
    EXPECT_FALSE(ink(page, at(60, 50).x(), at(60, 50).y(), 1));
    EXPECT_FALSE(ink(page, at(100, 20).x(), at(100, 20).y(), 1));

    // Unturned the frame is 210 x 105 mm, centred down the page.
    const QRectF flat = inkBox(plot("flat", drawing(frame()), 0));
    EXPECT_NEAR(flat.top(), (297 - 105) / 2.0, 1.5);
    EXPECT_NEAR(flat.left(), 0, 1.5);
    EXPECT_NEAR(flat.width(), 210, 1.5);
}

TEST_F(PlotTest, StyleTablesDecideThePenColours) {
    const Groups red = {{0, "CIRCLE"}, {8, "RED"}, {10, "100"}, {20, "50"}, {40, "40"}};
    const Groups wide = {{0, "POLYLINE"}, {8, "RED"},  {66, "1"},  {40, "8"},    {41, "8"},
                         {0, "VERTEX"},   {8, "RED"},  {10, "20"}, {20, "50"},   {0, "VERTEX"},
                         {8, "RED"},      {10, "180"}, {20, "50"}, {0, "SEQEND"}};
    const std::string dxf = drawing(frame() + red + wide);
    auto colours = [](const QImage& image) {
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::max({c.red(), c.green(), c.blue()}) -
                        std::min({c.red(), c.green(), c.blue()}) >
                    40)
                    ++coloured;
            }
        return coloured;
    };
    EXPECT_EQ(colours(plot("mono", dxf, 1, "monochrome.ctb")), 0);
    EXPECT_EQ(colours(plot("gray", dxf, 1, "grayscale.ctb")), 0);
    // A table that cannot be read plots as displayed, and says so once.
    testing::writeFile((data_ / "plotstyles" / "broken.ctb").string(), "PIAFILEVERSION_2.0 junk");
    const QImage shown = plot("shown", dxf, 1, "broken.ctb");
    EXPECT_GT(colours(shown), 50);
    const QColor pen = shown.pixelColor(shown.width() / 2, shown.height() / 2);  // the wide line
    EXPECT_GT(pen.red(), 200);
    EXPECT_LT(pen.green(), 80);

    // A packed colour table: a 48-byte title, checksum, unpacked and packed sizes, then
    // zlib data. Its pen for ACI 1 is blue.
    const QByteArray text =
        "description=\"\"\nplot_style{\n 0{\n  name=\"Color_1\n  color=-1040187137\n"
        "  color_policy=1\n  screen=100\n }\n}\n";
    const QByteArray packed = qCompress(text).mid(4);
    QByteArray ctb("PIAFILEVERSION_2.0,CTBVER1,compress\r\npmzlibcodec");
    ctb.resize(48, '\0');
    for (quint32 word :
         {0u, static_cast<quint32>(text.size()), static_cast<quint32>(packed.size())})
        for (int b = 0; b < 4; ++b) ctb.append(static_cast<char>((word >> (8 * b)) & 0xff));
    ctb.append(packed);
    testing::writeFile((data_ / "plotstyles" / "blue.ctb").string(), ctb.toStdString());
    const QImage blue = plot("blue", dxf, 1, "blue.ctb");
    const QColor bluePen = blue.pixelColor(blue.width() / 2, blue.height() / 2);
    EXPECT_LT(bluePen.red(), 80);
    EXPECT_GT(bluePen.blue(), 200);
}

// Circles keep their linetype's dashes at the drawing's scale, whatever their radius.
TEST_F(PlotTest, CirclesKeepTheirDashes) {
    auto circle = [](const char* x, const char* r, const char* linetype) {
        return Groups{{0, "CIRCLE"}, {8, "0"}, {6, linetype}, {10, x}, {20, "50"}, {40, r}};
    };
    const QImage page = plot(
        "dashed",
        drawing(frame() + circle("50", "40", "DASHED") + circle("150", "40", "CONTINUOUS")), 0);
    // Unturned, fit to A4's width: drawing (x, y) at page (x * s, 96 + (100 - y) * s) mm.
    const double s = 210.0 / 200, px = kDpi / 25.4;
    auto inkedShare = [&](double cx) {
        int inked = 0;
        for (int k = 0; k < 360; k += 2) {
            const double a = k * M_PI / 180;
            const QPointF p(cx + 40 * std::cos(a), 50 + 40 * std::sin(a));
            inked += ink(page, qRound(p.x() * s * px), qRound((96 + (100 - p.y()) * s) * px), 1);
        }
        return inked / 180.0;
    };
    EXPECT_GT(inkedShare(150), 0.95);
    const double dashed = inkedShare(50);  // dashes of 10 and gaps of 10 on a circle of 251
    EXPECT_GT(dashed, 0.3);
    EXPECT_LT(dashed, 0.75);
}

// Coordinates near the end of what numbers hold make a plot of little sense but still
// a PDF that opens.
TEST_F(PlotTest, AbsurdCoordinatesStillGiveAPdfThatOpens) {
    const Groups huge = line(0, 0, 1e308, 1e308) + line(-1e308, 5, 1e308, 5) +
                        Groups{{0, "CIRCLE"}, {8, "0"}, {10, "1e300"}, {20, "0"}, {40, "1e300"}};
    EXPECT_FALSE(plot("huge", drawing(frame() + huge)).isNull());
}

// A plot never replaces a file: the user's own PDF of the drawing's name stays, and
// drawings of one name in one folder, or one drawing plotted again, each get a PDF of
// their own, named as the result says.
TEST_F(PlotTest, APlotNeverReplacesAFile) {
    const fs::path folder = data_ / "same name";
    fs::create_directories(folder);
    testing::writeFile((folder / "x.pdf").string(), "my own notes");
    std::vector<std::string> outputs;
    for (const char* name : {"x.dxf", "x.dwg", "x.dxf"})
        outputs.push_back(plotFile((folder / name).string(), drawing(frame())).output);
    const std::vector<std::string> expected = {(folder / "x (2).pdf").string(),
                                               (folder / "x (3).pdf").string(),
                                               (folder / "x (4).pdf").string()};
    EXPECT_EQ(outputs, expected);
    EXPECT_EQ(testing::readFile((folder / "x.pdf").string()), "my own notes");
    for (const std::string& pdf : expected) EXPECT_EQ(testing::readFile(pdf).substr(0, 5), "%PDF-");
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) files += entry.is_regular_file();
    EXPECT_EQ(files, 6u);  // two drawings, four PDFs, no temporary left behind
}

// Texts are plotted in fonts of 256 glyphs each; the PDF keeps their characters, so
// they can be searched and copied, however many fonts the glyphs take.
TEST_F(PlotTest, TextsKeepTheirCharactersAcrossManyGlyphFonts) {
    const TextCodec gbk = TextCodec::forDrawing("AC1009", "ANSI_936");
    Groups texts;
    std::vector<std::string> lines;
    for (int row = 0; row < 10; ++row) {
        std::u32string line;
        for (int k = 0; k < 30; ++k) line += static_cast<char32_t>(0x4E00 + 37 * (row * 30 + k));
        lines.push_back(QString::fromUcs4(line.data(), line.size()).toStdString());
        texts = texts + Groups{{0, "TEXT"}, {8, "0"},
                               {10, "5"},   {20, std::to_string(90 - 9 * row)},
                               {40, "5"},   {1, gbk.fromUtf8(lines.back())}};
    }
    plot("many", drawing(frame() + texts), 0);
    const std::string txt = (data_ / "many.txt").string();
    const std::string command =
        "pdftotext -raw '" + (data_ / "many.pdf").string() + "' '" + txt + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string extracted = testing::readFile(txt);
    for (const std::string& line : lines)
        EXPECT_NE(extracted.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace drawing
