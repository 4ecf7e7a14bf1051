// Stopping a batch run and the error log's drawing paths, on real files.
#include "batch/run.h"

#include <gtest/gtest.h>
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

}  // namespace
}  // namespace batch
