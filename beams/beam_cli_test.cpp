// tolvane-cli beam, beam-row and beam-column, run as the built binary.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int rc = -1;
    std::string out, err;
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class BeamCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        std::string name = "beam-cli-";
        name += std::to_string(rd());
        dir_ = fs::temp_directory_path() / name;
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    CliRun run(const std::vector<std::string>& args) {
        std::string cmd = "TOLVANE_REPORT_FILE=" + quoted((dir_ / "default.doc").string()) + " " +
                          quoted(TOLVANE_CLI);
        for (const std::string& a : args) {
            cmd += ' ';
            cmd += quoted(a);
        }
        cmd += " >" + quoted((dir_ / "out").string()) + " 2>" + quoted((dir_ / "err").string());
        CliRun r;
        const int status = std::system(cmd.c_str());
        r.rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = slurp(dir_ / "out");
        r.err = slurp(dir_ / "err");
        return r;
    }

    fs::path dir_;
};

TEST_F(BeamCli, BeamPrintsLoadCheckAndResults) {
    struct Case {
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        {{"--lengths", "100,400,100", "--total", "600", "--q", "1"},
         "q= 1\nlengths=ok\nM1=-5000.0\nM2=-5000.0\nR1=300.0\nR2=300.0\n"},
        {{"--lengths", "100,400,100", "--total", "600", "--slab", "10,100"},
         "q= 7.85\nlengths=ok\nM1=-39250.0\nM2=-39250.0\nR1=2355.0\nR2=2355.0\n"},
        {{"--lengths", "100,400,100", "--total", "600", "--column", "600,,600"},
         "q= 1\nlengths=ok\nM1=-5000.0\nM2=-5000.0\nR1=300.0\nR2=300.0\n"},
        {{"--lengths", "0,1,0", "--total", "1", "--q", ".08", "--pattern", "####0.0"},
         "q= .08\nlengths=ok\nM1=0.0\nM2=0.0\nR1=0.0\nR2=0.0\n"},
        {{"--lengths", "0,1,0", "--total", "1", "--q", ".08"},
         "q= .08\nlengths=ok\nM1=.0\nM2=.0\nR1=.0\nR2=.0\n"},
        {{"--lengths", "0,250,250,0", "--total", "500", "--column", "400,600,500"},
         "q= 2\nlengths=ok\nM1=.0\nM2=-15625.0\nM3=.0\nR1=187.5\nR2=625.0\nR3=187.5\n"},
        {{"--lengths", "33.3,33.3,33.4", "--total", "100", "--q", "1"},
         "q= 1\nlengths=ok\nM1=-554.4\nM2=-557.8\nR1=49.8\nR2=50.2\n"},
        {{"--lengths", "100,400,100", "--total", "650", "--q", "1"},
         "q= 1\nlengths=mismatch\nM1=-5000.0\nM2=-5000.0\nR1=325.0\nR2=325.0\n"},
        {{"--lengths", "100,0,100", "--total", "200", "--q", "1"},
         "q= 1\nlengths=ok\nmessage=提示|1.2水冷梁之间的距离L1(cm)为0,无法计算!\n"},
        {{"--lengths", "100,400,100", "--total", "200", "--slab", "1,1"},
         "q= .00785\nlengths=mismatch\nmessage=提示|板坯长度(cm)减去两端外悬距离为0,无法计算!\n"},
        {{"--lengths", "100,400,100", "--total", "600", "--column", "600,1,0"},
         "message=提示|梁的跨距(cm)为0,无法计算!\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"beam"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = run(args);
        EXPECT_EQ(r.rc, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1];
    }
}

TEST_F(BeamCli, UsageErrorsExitTwoWithOneLineOnStderr) {
    const std::vector<std::vector<std::string>> cases{
        {"beam", "--lengths", "100,400,100", "--q", "1"},
        {"beam", "--lengths", "100,400,100", "--total", "600"},
        {"beam", "--lengths", "100,400,100", "--total", "600", "--q", "1", "--slab", "1,1"},
        {"beam", "--lengths", "1,2", "--total", "3", "--q", "1"},
        {"beam", "--lengths", "1,1,1,1,1,1,1,1,1,1,1", "--total", "11", "--q", "1"},
        {"beam", "--lengths", "1,1,1", "--total", "3", "--q", "1", "--pattern", "#.00"},
        {"beam", "--lengths", "1,1,1", "--total", "3", "--slab", "1"},
        {"beam-row", "--text1", "1,1,1"},
        {"beam-row", "10", "--text1", "1,1,1"},
        {"beam-row", "2", "--text1", "1,1"},
        {"beam-row", "2", "--text2", "1,1,1,1"},
        {"beam-row", "2", "--answer", "yes"},
        {"beam-column", "2", "--text2", "1,1,1"},
        {"beam-column", "2", "--bogus", "1"},
    };
    for (const auto& args : cases) {
        const CliRun r = run(args);
        EXPECT_EQ(r.rc, 2) << args[1];
        EXPECT_EQ(r.out, "") << args[1];
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST_F(BeamCli, BeamRowAnswersTheLengthQuestion) {
    const std::vector<std::string> base{"beam-row",    "2",       "--text1",
                                        "100,400,100", "--text2", "10,700,100"};
    std::vector<std::string> ok = base;
    ok.insert(ok.end(), {"--answer", "ok"});
    EXPECT_EQ(run(ok).out, "message=提示|请从新输入梁的长度!\nM1=\nM2=\nR1=\nR2=\n");
    EXPECT_EQ(run(base).out,
              "message=提示|请从新输入梁的长度!\nM1=-39250.0\nM2=-39250.0\nR1=2747.5\nR2=2747.5\n");
    const CliRun fresh = run({"beam-row", "3"});
    EXPECT_EQ(
        fresh.out,
        "message=提示|1.2水冷梁之间的距离L1(cm)为0,无法计算!\nM1=\nM2=\nM3=\nR1=\nR2=\nR3=\n");
    EXPECT_EQ(run({"beam-row", "2", "--text1-sep", ";", "--text1", " 100; 4e2;100", "--text2",
                   "10,600,100"})
                  .out,
              "M1=-39250.0\nM2=-39250.0\nR1=2355.0\nR2=2355.0\n");
}

TEST_F(BeamCli, BeamColumnWritesItsReportBlock) {
    const std::string report = (dir_ / "sub" / "report.doc").string();
    const std::vector<std::string> args{
        "beam-column",   "2",          "--text1", "100,400,100", "--text2",
        "1,600,600,600", "--row-load", "600",     "--report",    report};
    const CliRun first = run(args);
    EXPECT_EQ(first.rc, 0) << first.err;
    EXPECT_EQ(first.out, "M1=-10000.0\nM2=-10000.0\nR1=600.0\nR2=600.0\n");
    run(args);
    const std::string bytes = slurp(report);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 30);
    EXPECT_NE(bytes.find("(kg)\",\"=\",600\r\n"), std::string::npos);  // P and G
    EXPECT_EQ(bytes.find("\xE8\xAE\xA1"), std::string::npos);          // no UTF-8 "计"

    // A key that is no row key ignores --row-load; the default report path is used.
    const CliRun other = run({"beam-column", "2", "--text1", "100,400,100", "--text2",
                              "7x,600,600,600", "--row-load", "600"});
    EXPECT_EQ(other.out, "M1=-5000.0\nM2=-5000.0\nR1=300.0\nR2=300.0\n");
    EXPECT_NE(slurp(dir_ / "default.doc").find("\"=\",\r\n"), std::string::npos);
}

TEST_F(BeamCli, BeamColumnReportFailureExitsOneNamingTheFile) {
    const CliRun r = run({"beam-column", "2", "--text1", "100,400,100", "--text2", "x,600,600,600",
                          "--report", dir_.string()});
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find(dir_.string()), std::string::npos);
    EXPECT_NE(r.out.find("R1=300.0\n"), std::string::npos);
}

}  // namespace
