// Stopping a batch run, the error log's drawing paths, drawings the run cannot take and
// the plots of a run, on real files.
#include "batch/run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "drawing/test_drawings.h"
#include "plot/plotter.h"

namespace batch {
namespace {

namespace fs = std::filesystem;

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.purge = true;
        settings_.errorLog = (dir_ / "errlogoqrz.txt").string();
    }

    // A run that only plots, to PDF files on A4.
    void plotOnly() {
        plot::installPlotService(dir_.string());
        settings_.purge = false;
        settings_.plot = true;
        settings_.device = "PDF";
        settings_.styleSheet = "monochrome.ctb";
        settings_.paper = "A4";
    }
    std::string write(const char* name, const std::string& bytes) {
        drawing::testing::writeFile((dir_ / name).string(), bytes);
        return (dir_ / name).string();
    }

    drawing::testing::ScratchFolder scratch_{"batch-run-"};
    const fs::path& dir_ = scratch_.path();
    BatchSettings settings_;
};

TEST_F(BatchRun, StoppingLeavesEveryFileUntouchedOrCompletelyWritten) {
    const std::string original = drawing::testing::sampleDrawing({});
    std::vector<std::string> drawings;
    for (const char* name : {"1.dxf", "2.dxf", "3.dxf"}) {
        drawings.push_back((dir_ / name).string());
        drawing::testing::writeFile(drawings.back(), original);
    }
    size_t current = 0;
    bool stop = false;
    BatchObserver observer;
    observer.started = [&](size_t number, size_t, const std::string&) { current = number; };
    observer.status = [&](const std::string& text) {
        if (current == 2 && text == "正在清除文件垃圾，第3遍 共 10 遍") stop = true;
    };
    observer.stopRequested = [&] { return stop; };
    drawing::AcadApplication app;
    EXPECT_EQ(runBatch(app, drawings, settings_, observer), 2u);
    EXPECT_NE(drawing::testing::readFile(drawings[0]), original);  // purged and saved
    EXPECT_EQ(drawing::testing::readFile(drawings[1]), original);  // abandoned in the middle
    EXPECT_EQ(drawing::testing::readFile(drawings[2]), original);  // never started
    EXPECT_EQ(app.documents().count(), 0u);
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().extension(), ".dxf") << "left behind: " << entry.path();
}

TEST_F(BatchRun, TheErrorLogNamesTheDrawingByItsFullPath) {
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    drawing::AcadApplication app;
    runBatch(app, {"sub/../missing.dwg"}, settings_, {});
    fs::current_path(before);
    EXPECT_NE(drawing::testing::readFile(settings_.errorLog)
                  .find("\r\n打开文件出错:" + (dir_ / "missing.dwg").string() + "\r\n"),
              std::string::npos);
}

// A named pipe is refused at once (it would block the open), a name holding line breaks
// and bytes that are not UTF-8 is written escaped: every drawing the run cannot take is
// one entry of five lines in the log, and the run goes on to the next drawing.
TEST_F(BatchRun, EveryDrawingItCannotTakeIsOneEntryAndTheRunGoesOn) {
    const std::string pipe = (dir_ / "pipe.dxf").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string forged = (dir_ / "a\r\n*****\r\n\xFF.dxf").string();
    const std::string good = (dir_ / "good.dxf").string();
    drawing::testing::writeFile(good, drawing::testing::sampleDrawing({}));
    std::vector<std::string> errors, saved;
    BatchObserver observer;
    observer.error = [&](const std::string& path, const std::string&) { errors.push_back(path); };
    observer.saved = [&](const std::string& path) { saved.push_back(path); };
    drawing::AcadApplication app;
    EXPECT_EQ(runBatch(app, {pipe, forged, good}, settings_, observer), 3u);
    EXPECT_EQ(errors, (std::vector<std::string>{pipe, forged}));
    EXPECT_EQ(saved, std::vector<std::string>{good});

    const std::string log = drawing::testing::readFile(settings_.errorLog);
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = log.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(log.substr(at, end - at));
    ASSERT_EQ(lines.size(), 10u) << log;
    EXPECT_EQ(lines[1], "打开文件出错:" + pipe);
    EXPECT_EQ(lines[2], drawing::reason::kNotRegularFile);
    EXPECT_EQ(lines[6], "打开文件出错:" + dir_.string() + "/a\\r\\n*****\\r\\n\\xFF.dxf");
    for (size_t k : {0, 4, 5, 9}) EXPECT_EQ(lines[k], std::string(81, '*'));
}

// A drawing whose plot runs past the plot's budget gets an error-log entry naming it
// and no PDF; the run goes on with the next drawing.
TEST_F(BatchRun, APlotPastItsBudgetIsLoggedAndTheRunGoesOn) {
    plotOnly();
    const std::string runaway = write("runaway.dxf", drawing::testing::selfInsertingDrawing());
    const std::string next = write("next.dxf", drawing::testing::sampleDrawing({}));
    std::vector<std::string> plotted;
    BatchObserver observer;
    observer.plotted = [&](const std::string&, const std::string& pdf) { plotted.push_back(pdf); };
    drawing::AcadApplication app;
    EXPECT_EQ(runBatch(app, {runaway, next}, settings_, observer), 2u);
    EXPECT_EQ(plotted, std::vector<std::string>{(dir_ / "next.pdf").string()});
    EXPECT_FALSE(fs::exists(dir_ / "runaway.pdf"));
    EXPECT_NE(drawing::testing::readFile(settings_.errorLog)
                  .find("\r\n打开文件出错:" + runaway + "\r\n" + drawing::reason::kPlotTooLarge +
                        "：" + runaway + "\r\n"),
              std::string::npos);
}

// Stopped while a plot runs, the run ends at once: the plot writes nothing and is no
// fault of the drawing.
TEST_F(BatchRun, StoppingEndsAPlotAtOnce) {
    plotOnly();
    const std::string runaway = write("runaway.dxf", drawing::testing::selfInsertingDrawing());
    const std::string next = write("next.dxf", drawing::testing::sampleDrawing({}));
    bool stop = false;
    BatchObserver observer;
    observer.status = [&](const std::string& text) {
        stop = stop || text == "正在打印。。。。。。";
    };
    observer.stopRequested = [&] { return stop; };
    drawing::AcadApplication app;
    EXPECT_EQ(runBatch(app, {runaway, next}, settings_, observer), 1u);
    EXPECT_FALSE(fs::exists(settings_.errorLog));
    for (const char* pdf : {"runaway.pdf", "next.pdf"}) EXPECT_FALSE(fs::exists(dir_ / pdf));
}

// Drawings of one name in one folder each get a PDF of their own, named in the plotted
// report; the user's own PDF of that name stays as it was.
TEST_F(BatchRun, PlotsOfOneNameNeverReplaceAFile) {
    plotOnly();
    write("x.pdf", "my own notes");
    const std::string dwg = write("x.dwg", drawing::testing::sampleDrawing({}));
    const std::string dxf = write("x.dxf", drawing::testing::sampleDrawing({}));
    std::vector<std::string> plotted;
    BatchObserver observer;
    observer.plotted = [&](const std::string& path, const std::string& pdf) {
        plotted.push_back(path + "|" + pdf);
    };
    drawing::AcadApplication app;
    runBatch(app, {dwg, dxf}, settings_, observer);
    EXPECT_EQ(plotted, (std::vector<std::string>{dwg + "|" + (dir_ / "x (2).pdf").string(),
                                                 dxf + "|" + (dir_ / "x (3).pdf").string()}));
    EXPECT_EQ(drawing::testing::readFile((dir_ / "x.pdf").string()), "my own notes");
}

}  // namespace
}  // namespace batch
