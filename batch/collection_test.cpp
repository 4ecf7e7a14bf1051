// The drawing list on real temporary folders: one folder, the folder tree, link
// loops, unreadable folders and the name list file.
#include "batch/collection.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "drawing/test_drawings.h"

namespace batch {
namespace {

namespace fs = std::filesystem;

class Collection : public ::testing::Test {
protected:
    void SetUp() override {
        fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
    }

    // Creates the files (and their folders) named relative to the root.
    void files(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            fs::create_directories((root_ / name).parent_path());
            std::ofstream(root_ / name) << "0\nEOF\n";
        }
    }
    std::string at(const std::string& name) const { return (root_ / name).string(); }

    drawing::testing::ScratchFolder scratch_{"collect-"};
    const fs::path& root_ = scratch_.path();
};

TEST_F(Collection, OneFolderTakesLowerCaseSuffixesOnlyAndSortsTheWholeListStably) {
    files({"b.dwg", "A.DWG", "c.dxf", "D.Dxf", "notes.txt", "sub/e.dwg"});
    fs::create_directory(root_ / "folder.dwg");
    std::vector<std::string> list{"/zz/last.dwg", "/aa/first.dwg"};
    ASSERT_TRUE(addFolderDrawings(root_.string(), list).ok());
    ASSERT_TRUE(addFolderDrawings(root_.string() + "/sub/..", list).ok());
    EXPECT_EQ(list, (std::vector<std::string>{"/aa/first.dwg", at("b.dwg"), at("b.dwg"),
                                              at("c.dxf"), at("c.dxf"), "/zz/last.dwg"}));

    std::vector<std::string> kept{"/x.dwg"};
    const drawing::Status missing = addFolderDrawings(at("nowhere"), kept);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.path, at("nowhere") + "/");
    EXPECT_EQ(kept, std::vector<std::string>{"/x.dwg"});
}

TEST_F(Collection, TreeListsOwnDrawingsFirstThenSubfoldersDepthFirstInNameOrder) {
    files({"x.dwg", "A.DWG", "w.txt", "sub2/w.dwg", "sub1/deep/z.dxf", "sub1/y.Dwg",
           "sub1/deep/Q.DXF", "named.dwg/inner.dwg"});
    const TreeSearch found = FindFilesAPI(root_.string());
    EXPECT_EQ(found.drawings,
              (std::vector<std::string>{at("A.DWG"), at("x.dwg"), at("named.dwg/inner.dwg"),
                                        at("sub1/y.Dwg"), at("sub1/deep/Q.DXF"),
                                        at("sub1/deep/z.dxf"), at("sub2/w.dwg")}));
    EXPECT_EQ(found.folders, 5u);
    EXPECT_TRUE(found.unreadable.empty());
    EXPECT_EQ(FindFilesAPI(root_.string(), {"*.dwg"}).drawings.size(), 5u);
}

TEST_F(Collection, LinkLoopsEndAndEveryRealFolderIsSearchedOnce) {
    files({"top.dwg", "a/b/deep.dwg"});
    fs::create_directory_symlink(root_, root_ / "a/b/up");       // a loop to the root
    fs::create_directory_symlink(root_ / "a", root_ / "alias");  // a second way into a
    fs::create_symlink(root_ / "gone", root_ / "broken.dwg");
    const TreeSearch found = FindFilesAPI(root_.string());
    EXPECT_EQ(found.drawings, (std::vector<std::string>{at("top.dwg"), at("a/b/deep.dwg")}));
    EXPECT_EQ(found.folders, 3u);
}

TEST_F(Collection, AnUnreadableFolderIsSkippedAndReportedOnce) {
    files({"top.dwg", "locked/hidden.dwg", "open/seen.dwg"});
    fs::create_directory_symlink(root_ / "locked", root_ / "open/again");
    fs::permissions(root_ / "locked", fs::perms::none);
    // Run where the permission counts: as an ordinary user even when the tests run as root.
    const auto searchAsUser = [this]() -> int {
        if (::geteuid() == 0 &&
            (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
            return 3;
        const TreeSearch found = FindFilesAPI(root_.string());
        const bool good =
            found.drawings == std::vector<std::string>{at("top.dwg"), at("open/seen.dwg")} &&
            found.unreadable == std::vector<std::string>{at("locked") + "/"};
        return good ? 0 : 1;
    };
    EXPECT_EXIT(std::exit(searchAsUser()), ::testing::ExitedWithCode(0), "");
    fs::permissions(root_ / "locked", fs::perms::owner_all);
}

TEST(PatternMatch, FollowsTheFileSystemsWildcards) {
    EXPECT_TRUE(matchesPattern("plan.DWG", "*.dwg"));
    EXPECT_TRUE(matchesPattern(".dwg", "*.dwg"));
    EXPECT_TRUE(matchesPattern("a.b.dwg", "*.dwg"));
    EXPECT_TRUE(matchesPattern("x1.dxf", "x?.*"));
    EXPECT_FALSE(matchesPattern("plan.dwgx", "*.dwg"));
    EXPECT_FALSE(matchesPattern("plan.dxf", "*.dwg"));
    EXPECT_FALSE(matchesPattern("dwg", "*.dwg"));
}

TEST_F(Collection, NameListHoldsQuotedBareNamesWithCrLf) {
    EXPECT_EQ(drawingNameLine("/d/plans/pump-01.dwg"), "\"pump-01\"\r\n");
    EXPECT_EQ(drawingNameLine("/d/say \"hi\".dxf"), "\"say \"\"hi\"\"\"\r\n");
    EXPECT_EQ(drawingNameLine("/d/dwg"), "\"\"\r\n");
    const std::string list = at("tempqrz.txt");
    std::ofstream(list) << "old contents that must go\n";
    ASSERT_TRUE(writeDrawingNameList(list, {"/d/plans/pump-01.dwg", "/e/泵体.DWG"}).ok());
    std::stringstream text;
    text << std::ifstream(list, std::ios::binary).rdbuf();
    EXPECT_EQ(text.str(), "\"pump-01\"\r\n\"泵体\"\r\n");
    EXPECT_FALSE(writeDrawingNameList(at("no/such/folder/tempqrz.txt"), {"/a.dwg"}).ok());
}

}  // namespace
}  // namespace batch
