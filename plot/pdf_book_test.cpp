// Binding plots into one PDF: the pages of two plots at their own paper sizes, in order,
// each with its bookmark, read by poppler; what is not a plot of ours is refused and
// nothing is written; an existing file is never replaced.
#include "plot/pdf_book.h"

#include <gtest/gtest.h>

#include <QPageSize>
#include <cstdio>
#include <filesystem>

#include "plot/entity.h"
#include "plot/pdf.h"
#include "plot/scene_testing.h"

namespace plot {
namespace {

namespace fs = std::filesystem;
using PdfBookTest = testkit::SceneTest;

// A plot of a line on `paper`, written to `path`.
void writePlot(const std::string& path, QPageSize::PageSizeId paper) {
    Scene scene;
    Pen pen;
    Out(scene, pen).line({0, 0}, {100, 50});
    scene.extents = QRectF(0, 0, 100, 50);
    drawing::PlotSettings settings;
    settings.centerPlot = true;
    bool readable = false;
    const PlotStyleTable table = PlotStyleTable::load("monochrome.ctb", "", readable);
    const QSizeF size = QPageSize(paper).size(QPageSize::Point);
    PlotBudget budget;
    const auto bytes =
        plotPdf(scene, settings, table, {size, QRectF(QPointF(), size)}, "t", budget);
    ASSERT_TRUE(bytes);
    drawing::testing::writeFile(path, *bytes);
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
        ::pclose(p);
    }
    return out;
}

TEST_F(PdfBookTest, PagesInOrderAtTheirSizesWithBookmarks) {
    const fs::path dir = folder_->path();
    writePlot((dir / "a.pdf").string(), QPageSize::A4);
    writePlot((dir / "b.pdf").string(), QPageSize::A3);
    const std::string target = (dir / "book.pdf").string();
    std::string written;
    ASSERT_TRUE(
        bindPdf({{(dir / "a.pdf").string(), "底板.dxf"}, {(dir / "b.pdf").string(), "b.dxf"}},
                target, written)
            .ok());
    EXPECT_EQ(written, target);
    const std::string info = run("pdfinfo -f 1 -l 2 '" + target + "' 2>&1");
    EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page    1 size:  595 x 842 pts (A4)"), std::string::npos) << info;
    EXPECT_NE(info.find("Page    2 size:  842 x 1191 pts (A3)"), std::string::npos) << info;
    EXPECT_EQ(run("pdftoppm -r 10 -f 2 -l 2 -png '" + target + "' '" + (dir / "page").string() +
                  "' 2>&1"),
              "");  // poppler reads the second page without a complaint
    EXPECT_TRUE(fs::exists(dir / "page-2.png"));
    const std::string bytes = drawing::testing::readFile(target);
    EXPECT_NE(bytes.find("/Title <FEFF5E95677F002E006400780066>"), std::string::npos);  // 底板.dxf
    EXPECT_NE(bytes.find("/PageMode /UseOutlines"), std::string::npos);

    // Bound again: the book is not replaced, the new one takes the next free name.
    ASSERT_TRUE(bindPdf({{(dir / "a.pdf").string(), "a"}}, target, written).ok());
    EXPECT_EQ(written, (dir / "book (2).pdf").string());
    EXPECT_EQ(drawing::testing::readFile(target), bytes);
}

TEST_F(PdfBookTest, WhatIsNoPlotOfOursIsRefused) {
    const fs::path dir = folder_->path();
    writePlot((dir / "good.pdf").string(), QPageSize::A4);
    drawing::testing::writeFile((dir / "other.pdf").string(), "%PDF-1.4\n1 0 obj\n<< >>\nendobj\n");
    std::string written;
    const drawing::Status refused =
        bindPdf({{(dir / "good.pdf").string(), "g"}, {(dir / "other.pdf").string(), "o"}},
                (dir / "refused.pdf").string(), written);
    EXPECT_EQ(refused.reason, "不是本程序打印的PDF文件");
    EXPECT_EQ(refused.path, (dir / "other.pdf").string());
    EXPECT_FALSE(fs::exists(dir / "refused.pdf"));
    const drawing::Status missing =
        bindPdf({{(dir / "none.pdf").string(), "n"}}, (dir / "missing.pdf").string(), written);
    EXPECT_EQ(missing.reason, drawing::reason::kUnreadable);
}

}  // namespace
}  // namespace plot
