#include "ui/data_paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace ui {
namespace {

namespace fs = std::filesystem;

class DataPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("tolvane-paths-" + std::to_string(::getpid()));
        fs::create_directories(root_ / "config/tolvane");
        ::setenv("HOME", root_.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("TOLVANE_DATA_DIR");
        ::unsetenv("TOLVANE_REPORT_FILE");
        setDataDirOverride("");
    }
    void TearDown() override {
        setDataDirOverride("");
        fs::remove_all(root_);
    }
    fs::path root_;
};

TEST_F(DataPathsTest, DataFolderByPrecedence) {
    EXPECT_EQ(dataDir(), (root_ / ".local/share/tolvane").string());
    ::setenv("TOLVANE_DATA_DIR", "/env/data", 1);
    EXPECT_EQ(dataDir(), "/env/data");
    setDataDirOverride("/cli/data");
    EXPECT_EQ(dataDir(), "/cli/data");
}

TEST_F(DataPathsTest, ReportFileByPrecedence) {
    EXPECT_EQ(reportFilePath(), (root_ / "Documents/水冷梁计算.doc").string());
    setDataDirOverride("/cli/data");
    EXPECT_EQ(reportFilePath(), "/cli/data/水冷梁计算.doc");
    ::setenv("TOLVANE_REPORT_FILE", "/env/report.doc", 1);
    EXPECT_EQ(reportFilePath(), "/env/report.doc");
}

TEST_F(DataPathsTest, StandardDbFolderFromTheIniFirstLine) {
    setDataDirOverride("/cli/data");
    EXPECT_EQ(standardDbDir(), "/cli/data");  // no ini file
    std::ofstream(root_ / "config/tolvane/zuvevid.ini") << "\r\n";
    EXPECT_EQ(standardDbDir(), "/cli/data");  // empty first line
    std::ofstream(root_ / "config/tolvane/zuvevid.ini") << "/srv/standard \r\nignored\n";
    EXPECT_EQ(standardDbDir(), "/srv/standard");
}

}  // namespace
}  // namespace ui
