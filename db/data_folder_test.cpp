#include "db/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "ui/data_paths.h"

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

// A data folder that cannot be made or checked is named with the reason, never thrown
// at the caller: the program says it and ends instead of aborting.
TEST_F(DataSeedTest, AFolderThatCannotBeCheckedIsNamedWithTheReason) {
    QTemporaryDir dir;
    const fs::path top = dir.path().toStdString();
    fs::create_symlink("loop", top / "loop");
    std::ofstream(top / "file") << "not a folder";
    fs::create_directory(top / "locked");
    fs::permissions(top / "locked", fs::perms::none);
    struct Case {
        fs::path folder;
        std::string reason;
        bool asRootToo;  // root passes every permission
    } cases[] = {
        {top / "loop", std::generic_category().message(ELOOP), true},
        {top / "loop" / "data", std::generic_category().message(ELOOP), true},
        {top / std::string(300, 'x'), std::generic_category().message(ENAMETOOLONG), true},
        {top / "file", "", true},
        {top / "locked" / "data", std::generic_category().message(EACCES), false},
    };
    for (const Case& c : cases) {
        if (!c.asRootToo && ::geteuid() == 0) continue;
        ui::setDataDirOverride(c.folder.string());
        const ui::OptionalMessage m = seedDataFolder();
        ASSERT_TRUE(m) << c.folder;
        EXPECT_EQ(m->text.rfind("无法使用数据文件夹 “" + c.folder.string() + "”：" + c.reason, 0), 0u)
            << m->text;
    }
    ui::setDataDirOverride(std::string());
    fs::permissions(top / "locked", fs::perms::owner_all);
}

}  // namespace
}  // namespace db
