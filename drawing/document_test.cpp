// The object model on real files: paths, spaces, entities and attributes, saving.
#include "drawing/document.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "drawing/test_drawings.h"

namespace drawing {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::sampleDrawing;
using testing::SampleOptions;
using testing::writeFile;

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("drawing_doc_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const SampleOptions& o = {}) {
        const std::string path = (dir_ / name).string();
        writeFile(path, sampleDrawing(o));
        return path;
    }
    std::unique_ptr<AcadDocument> open(const std::string& path) {
        std::unique_ptr<AcadDocument> doc;
        const Status s = AcadDocument::open(path, doc);
        EXPECT_TRUE(s.ok()) << s.reason;
        return doc;
    }

    fs::path dir_;
};

std::vector<std::string> objectNames(const std::vector<AcadEntity>& entities) {
    std::vector<std::string> names;
    for (const AcadEntity& e : entities) names.push_back(e.objectName());
    return names;
}

TEST_F(DocumentTest, PathNameAndSpacesFollowTheFile) {
    const std::string path = write("plan.dwg");
    auto doc = open(path);
    EXPECT_EQ(doc->path(), dir_.string());
    EXPECT_EQ(doc->name(), "plan.dwg");
    EXPECT_EQ(doc->activeSpace(), 1);
    EXPECT_EQ(doc->activeLayout().name(), "Model");
    const std::vector<std::string> expected = {"AcDbLine", "AcDbText", "AcDbBlockReference",
                                               "AcDbBlockReference"};
    EXPECT_EQ(objectNames(doc->modelSpace()), expected);
    EXPECT_TRUE(doc->paperSpace().empty());

    SampleOptions paper;
    paper.paperSpace = true;
    auto paperDoc = open(write("paper.dxf", paper));
    EXPECT_EQ(paperDoc->activeSpace(), 0);
    EXPECT_EQ(objectNames(paperDoc->activeSpaceEntities()), expected);
    EXPECT_TRUE(paperDoc->modelSpace().empty());
}

TEST_F(DocumentTest, BlockReferenceGivesNameAndAttributesInBlockOrder) {
    for (const char* version : {"AC1009", "AC1015", "AC1032"}) {
        SampleOptions o;
        o.version = version;
        auto doc = open(write(std::string(version) + ".dxf", o));
        const auto entities = doc->modelSpace();
        const AcadBlockReference used(entities[2]), title(entities[3]);
        EXPECT_EQ(used.name(), "USEDBLK");
        EXPECT_FALSE(used.hasAttributes());
        EXPECT_TRUE(used.getAttributes().empty());
        EXPECT_EQ(title.name(), "TITLE");
        ASSERT_TRUE(title.hasAttributes());
        std::vector<std::pair<std::string, std::string>> attributes;
        for (const auto& a : title.getAttributes())
            attributes.emplace_back(a.tagString(), a.textString());
        const std::vector<std::pair<std::string, std::string>> expected = {
            {"DRAWNO", "A100"}, {"REV", "B"}, {"NAME", "标题栏"}};
        EXPECT_EQ(attributes, expected) << version;
    }
}

// A Chinese title block goes through a GBK file (up to 2004) and a UTF-8 file (2007
// on); a code page without Chinese keeps the characters as \U+XXXX escapes.
TEST_F(DocumentTest, ChineseAttributeValuesRoundTripThroughEachEncoding) {
    struct Case {
        const char* version;
        const char* codePage;
        std::string stored;
    };
    const Case cases[] = {
        {"AC1018", "ANSI_936", "\xD0\xC2\xC3\xFB\xB3\xC6"},  // 新名称 in GBK
        {"AC1021", "ANSI_1252", "新名称"},
        {"AC1015", "ANSI_1252", "\\U+65B0\\U+540D\\U+79F0"},
    };
    for (const Case& c : cases) {
        SampleOptions o;
        o.version = c.version;
        o.codePage = c.codePage;
        const std::string path = write(std::string(c.version) + c.codePage + ".dxf", o);
        {
            auto doc = open(path);
            auto attributes = AcadBlockReference(doc->modelSpace()[3]).getAttributes();
            EXPECT_EQ(attributes[2].textString(), "标题栏") << c.version;
            attributes[2].setTextString("新名称");
            ASSERT_TRUE(doc->close(true).ok());
        }
        EXPECT_NE(readFile(path).find("\n" + c.stored + "\n"), std::string::npos) << c.version;
        auto again = open(path);
        EXPECT_EQ(AcadBlockReference(again->modelSpace()[3]).getAttributes()[2].textString(),
                  "新名称");
        EXPECT_EQ(testing::ezdxfAudit(path), "") << c.version;
    }
}

TEST_F(DocumentTest, ValuesCannotBreakTheFileApart) {
    const std::string path = write("inject.dxf");
    auto doc = open(path);
    AcadBlockReference(doc->modelSpace()[3]).getAttributes()[0].setTextString("A1\n  0\nEOF\n");
    ASSERT_TRUE(doc->close(true).ok());
    auto again = open(path);
    EXPECT_EQ(AcadBlockReference(again->modelSpace()[3]).getAttributes()[0].textString(),
              "A1   0 EOF ");
}

TEST_F(DocumentTest, SaveAsMovesTheDocumentAndNewOnlyNeverReplaces) {
    const std::string path = write("a.dxf");
    const std::string other = write("b.dxf");
    const std::string otherBytes = readFile(other);
    auto doc = open(path);
    AcadBlockReference(doc->modelSpace()[3]).getAttributes()[0].setTextString("A101");
    const Status refused = doc->saveAs(other, WriteMode::NewOnly);
    EXPECT_EQ(refused.reason, reason::kTargetExists);
    EXPECT_EQ(refused.path, other);
    EXPECT_EQ(readFile(other), otherBytes);
    EXPECT_EQ(doc->fullName(), path);

    const std::string copy = (dir_ / "A101.dxf").string();
    ASSERT_TRUE(doc->saveAs(copy, WriteMode::NewOnly).ok());
    EXPECT_EQ(doc->fullName(), copy);
    EXPECT_EQ(readFile(path), sampleDrawing({}));
    EXPECT_EQ(testing::ezdxfAudit(copy), "");
    EXPECT_EQ(fs::directory_iterator(dir_) == fs::directory_iterator(), false);
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir_)) files += e.is_regular_file();
    EXPECT_EQ(files, 3u);  // no temporary file left
}

TEST_F(DocumentTest, UnwritableTargetIsAnErrorAndChangesNothing) {
    const std::string path = write("a.dxf");
    auto doc = open(path);
    const std::string target = path + "/inside.dxf";  // a folder that is a file
    const Status s = doc->saveAs(target);
    EXPECT_EQ(s.reason.rfind(reason::kUnwritable, 0), 0u) << s.reason;
    EXPECT_EQ(s.path, target);
    EXPECT_EQ(doc->fullName(), path);
    EXPECT_EQ(readFile(path), sampleDrawing({}));
}

// A save cut short (the process dies on the file-size limit while writing) leaves the
// target exactly as it was.
TEST_F(DocumentTest, InterruptedSaveLeavesTheTargetAsItWas) {
    SampleOptions big;
    big.nestedBlocks = 2000;
    const std::string path = write("big.dxf", big);
    const std::string before = readFile(path);
    for (bool killed : {true, false}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::unique_ptr<AcadDocument> doc;
            if (!AcadDocument::open(path, doc).ok()) ::_exit(3);
            doc->purgeAll();
            if (!killed) ::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const Status s = doc->close(true);
            ::_exit(s.ok() ? 0 : 2);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (killed) {
            EXPECT_TRUE(WIFSIGNALED(status));
        } else {
            EXPECT_EQ(WEXITSTATUS(status), 2);  // the save reported its failure
        }
        EXPECT_EQ(readFile(path), before);
    }
}

TEST_F(DocumentTest, DocumentsOpenAddAndClose) {
    AcadApplication app;
    AcadDocument* doc = nullptr;
    const Status missing = app.documents().open((dir_ / "none.dxf").string(), doc);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(app.documents().count(), 0u);
    ASSERT_TRUE(app.documents().open(write("a.dxf"), doc).ok());
    EXPECT_EQ(app.activeDocument(), doc);
    AcadDocument* added = app.documents().add();
    EXPECT_EQ(app.activeDocument(), added);
    EXPECT_EQ(added->activeSpace(), 1);
    EXPECT_TRUE(added->modelSpace().empty());
    const std::string newPath = (dir_ / "new.dxf").string();
    ASSERT_TRUE(added->saveAs(newPath).ok());
    EXPECT_EQ(testing::ezdxfAudit(newPath), "");
    ASSERT_TRUE(added->close(false).ok());
    EXPECT_EQ(app.activeDocument(), doc);
    app.quit();
    EXPECT_EQ(app.documents().count(), 0u);
}

}  // namespace
}  // namespace drawing
