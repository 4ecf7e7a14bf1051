#include "beams/beam_report.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace beams {
namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        std::string name = "beam-report-";
        name += std::to_string(rd());
        path_ = fs::temp_directory_path() / name;
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string utf8FromGbk(const std::string& gbk) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string in = gbk, out(gbk.size() * 2 + 16, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    EXPECT_NE(iconv(cd, &src, &srcLeft, &dst, &dstLeft), static_cast<size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

// The two-column example: q = 600/600 = 1 kg/cm, a row key that names no row.
const ColumnInput kExample{2, {"100", "400", "100"}, {"第三排", "600", "600", "600"}, std::nullopt};

const char* kExampleBlock =
    "\r\n"
    "\"每排水冷梁立柱为2根时的强度及受力计算\"\r\n"
    "\"1端水冷梁外悬距离L0(cm)\",\"=\",100\r\n"
    "\"1.2水冷梁之间的距离L1(cm)\",\"=\",400\r\n"
    "\"2端水冷梁外悬距离L2(cm)\",\"=\",100\r\n"
    "\"第n排梁\",\"=\",0\r\n"
    "\"梁的长度(cm)\",\"=\",600\r\n"
    "\"梁的跨距(cm)\",\"=\",600\r\n"
    "\"计算负荷(kg)\",\"=\",\r\n"
    "\"附加自重(kg)\",\"=\",600\r\n"
    "\"计算结果\"\r\n"
    "\"第1个支点处的弯矩(kg.cm)\",\"=\",-5000\r\n"
    "\"第2个支点处的弯矩(kg.cm)\",\"=\",-5000\r\n"
    "\"第1个支点处支反力(kg)\",\"=\",300\r\n"
    "\"第2个支点处支反力(kg)\",\"=\",300\r\n";

TEST(PlainNumber, DecimalWithoutBlanksOrExponent) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {{100, "100"},
                 {-39250, "-39250"},
                 {0, "0"},
                 {-0.0, "0"},
                 {0.5, "0.5"},
                 {-0.3, "-0.3"},
                 {33.3, "33.3"},
                 {1e20, "100000000000000000000"},
                 {1e-7, "0.0000001"},
                 {123456.789, "123456.789"},
                 {0.1 + 0.2, "0.3"}};
    for (const Case& c : cases) EXPECT_EQ(plainNumber(c.value), c.text) << c.value;
}

TEST(ReportBlock, TheTwoColumnExampleByteForByte) {
    TempDir dir;
    const fs::path file = dir.path() / "水冷梁计算.doc";
    const CalculationOutcome out =
        calculateColumn(kExample, file.string(), [](const ui::Message&) { return true; });
    ASSERT_TRUE(out.results);
    EXPECT_FALSE(out.reportFailure);
    const std::string bytes = readFile(file);
    EXPECT_EQ(utf8FromGbk(bytes), kExampleBlock);
    // GBK itself, not UTF-8: "计算结果" is BC C6 CB E3 BD E1 B9 FB.
    EXPECT_NE(bytes.find("\"\xBC\xC6\xCB\xE3\xBD\xE1\xB9\xFB\"\r\n"), std::string::npos);
    size_t lines = 0;
    for (size_t i = 0; (i = bytes.find("\r\n", i)) != std::string::npos; i += 2) ++lines;
    EXPECT_EQ(lines, 15u);
}

TEST(ReportBlock, RowLoadAndRoundedResultsAsShown) {
    const ColumnInput input{2, {"100", "400", "100"}, {"3", "600", "600", "600"}, 1234.5};
    const std::string block = reportBlock(input, {{"-39250.0", ".3"}, {"2355.0", "-.1"}});
    EXPECT_NE(block.find("\"第n排梁\",\"=\",3\r\n"), std::string::npos);
    EXPECT_NE(block.find("\"计算负荷(kg)\",\"=\",1234.5\r\n"), std::string::npos);
    EXPECT_NE(block.find("\"第1个支点处的弯矩(kg.cm)\",\"=\",-39250\r\n"), std::string::npos);
    EXPECT_NE(block.find("\"第2个支点处的弯矩(kg.cm)\",\"=\",0.3\r\n"), std::string::npos);
    EXPECT_NE(block.find("\"第2个支点处支反力(kg)\",\"=\",-0.1\r\n"), std::string::npos);
}

TEST(AppendReport, TwoCalculationsGiveTwoBlocksInANewFolder) {
    TempDir dir;
    const fs::path file = dir.path() / "Documents" / "sub" / "report.doc";
    const auto goOn = [](const ui::Message&) { return true; };
    EXPECT_FALSE(calculateColumn(kExample, file.string(), goOn).reportFailure);
    EXPECT_FALSE(calculateColumn(kExample, file.string(), goOn).reportFailure);
    std::string twice = kExampleBlock;
    twice += kExampleBlock;
    EXPECT_EQ(utf8FromGbk(readFile(file)), twice);
}

TEST(AppendReport, NothingWrittenWhenOkEndsTheCalculation) {
    TempDir dir;
    const fs::path file = dir.path() / "report.doc";
    ColumnInput input = kExample;
    input.beam[1] = "601";
    const auto out =
        calculateColumn(input, file.string(), [](const ui::Message&) { return false; });
    EXPECT_FALSE(out.results);
    EXPECT_FALSE(fs::exists(file));
}

TEST(AppendReport, UnwritablePathIsNamedAndResultsStay) {
    TempDir dir;
    const std::string path = dir.path().string();  // a folder, not a file
    const auto out = calculateColumn(kExample, path, [](const ui::Message&) { return true; });
    ASSERT_TRUE(out.results);
    EXPECT_EQ(out.results->forces.front(), "300.0");
    ASSERT_TRUE(out.reportFailure);
    EXPECT_EQ(out.reportFailure->title, "提示");
    EXPECT_NE(out.reportFailure->text.find(path), std::string::npos);
}

// A disk that fills up while a block is written: a forked child may write only `room`
// more bytes (RLIMIT_FSIZE, with SIGXFSZ ignored so the write fails with EFBIG). The
// report must end where it ended before, with the failure said.
TEST(AppendReport, ABlockThatDoesNotFitIsTakenBackWhole) {
    TempDir dir;
    const fs::path file = dir.path() / "report.doc";
    const std::string block = reportBlock(kExample, {{"-5000.0", "-5000.0"}, {"300.0", "300.0"}});
    ASSERT_FALSE(appendReport(file.string(), block));
    const std::string before = readFile(file);
    for (const rlim_t room : {rlim_t{1}, rlim_t{101}, rlim_t{before.size() - 1}}) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{before.size() + room, before.size() + room};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const std::optional<ui::Message> failure = appendReport(file.string(), block);
            ::_exit(failure && failure->text == "无法写入计算报告文件: " + file.string() ? 0 : 1);
        }
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "room " << room;
        EXPECT_EQ(readFile(file), before) << "room " << room;
    }
    ASSERT_FALSE(appendReport(file.string(), block));  // with room again, the next block lands
    EXPECT_EQ(readFile(file), before + before);
}

}  // namespace
}  // namespace beams
