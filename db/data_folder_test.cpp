#include "db/data_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace db {
namespace {

namespace fs = std::filesystem;

class DataSeedTest : public ::testing::Test {
protected:
    void SetUp() override { ::unsetenv("TOLVANE_SEED_DIR"); }
    void TearDown() override { ::unsetenv("TOLVANE_SEED_DIR"); }
};

// A program of the build tree lies one folder below the top, where share/tolvane
// stands for the project's data folder, as it does beside an installed bin folder.
TEST_F(DataSeedTest, BuildTreeProgramFindsTheSeedFolderBesideItsParent) {
    const fs::path top = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    EXPECT_EQ(seedDirCandidates().back(), (top / "share/tolvane").string());
    EXPECT_EQ(seedDir(), (top / "share/tolvane").string());
    EXPECT_TRUE(fs::is_regular_file(fs::path(seedDir()) / "help.txt"));
    EXPECT_FALSE(missingSeedDirMessage());
}

TEST_F(DataSeedTest, MissingSeedFolderNamesWhereItLooked) {
    ::setenv("TOLVANE_SEED_DIR", "/nonexistent/tolvane-seed", 1);
    EXPECT_EQ(seedDirCandidates(), std::vector<std::string>{"/nonexistent/tolvane-seed"});
    EXPECT_EQ(seedDir(), "/nonexistent/tolvane-seed");
    const ui::OptionalMessage m = missingSeedDirMessage();
    ASSERT_TRUE(m);
    EXPECT_NE(m->text.find("/nonexistent/tolvane-seed"), std::string::npos) << m->text;
}

}  // namespace
}  // namespace db
