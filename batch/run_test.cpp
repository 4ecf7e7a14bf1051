// Stopping a batch run, the error log's drawing paths and drawings the run cannot take,
// on real files.
#include "batch/run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "drawing/test_drawings.h"

namespace batch {
namespace {

namespace fs = std::filesystem;

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.purge = true;
        settings_.errorLog = (dir_ / "errlogoqrz.txt").string();
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

}  // namespace
}  // namespace batch
