// The batch run in worker processes, through the real tolvane-cli on real files: the
// same output, error log and files whatever the number of workers; a drawing that
// crashes, hangs or outgrows its memory costs only itself; a stop and a killed run
// leave every file as it was or complete, and nothing stray. The faulty drawings use
// the workers' test hook (TOLVANE_WORKER_TEST_FAULTS, cli/cmd_batch_worker.cpp).
#include "batch/worker_pool.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "batch/worker_process.h"
#include "drawing/test_drawings.h"

extern char** environ;

namespace batch {
namespace {

namespace fs = std::filesystem;
using drawing::testing::readFile;
using drawing::testing::writeFile;

// tolvane-cli started with `args` and `extraEnv`, its standard output read line by line.
class Cli {
public:
    Cli(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
        int p[2];
        if (::pipe2(p, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, p[1], 1);
        std::vector<std::string> argv = {TOLVANE_CLI};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) env.emplace_back(*e);
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        std::vector<char*> argp, envp;
        for (std::string& a : argv) argp.push_back(a.data());
        for (std::string& e : env) envp.push_back(e.data());
        argp.push_back(nullptr);
        envp.push_back(nullptr);
        const int rc = ::posix_spawn(&pid_, TOLVANE_CLI, &actions, nullptr, argp.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(p[1]);
        in_ = ::fdopen(p[0], "r");
        if (rc != 0) throw std::runtime_error("cannot start " TOLVANE_CLI);
    }
    ~Cli() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        std::fclose(in_);
    }

    // The next line without its line feed; none at the end of the output.
    std::optional<std::string> line() {
        char* text = nullptr;
        size_t size = 0;
        const ssize_t n = ::getline(&text, &size, in_);
        std::optional<std::string> got;
        if (n > 0) got = std::string(text, static_cast<size_t>(n));
        std::free(text);
        if (!got) return got;
        output_ += *got;
        if (got->back() == '\n') got->pop_back();
        return got;
    }
    // Reads the rest and waits for the end; the wait status.
    int finish() {
        while (line()) {
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    void signal(int number) { ::kill(pid_, number); }
    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }

private:
    pid_t pid_ = -1;
    std::FILE* in_ = nullptr;
    std::string output_;
};

std::string sample(const std::string& title, int filler = 0) {
    drawing::testing::SampleOptions o;
    o.title = title;
    o.fillerEntities = filler;
    return drawing::testing::sampleDrawing(o);
}

// Every file of `dir` by name, with its bytes.
std::map<std::string, std::string> filesOf(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& e : fs::directory_iterator(dir))
        files[e.path().filename().string()] = readFile(e.path().string());
    return files;
}

// `text` with `folder` written as "<F>" and the error log's dates as "<date>".
std::string neutral(std::string text, const fs::path& folder) {
    const std::string from = folder.string();
    for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), "<F>");
    return std::regex_replace(text, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"), "<date>");
}

class WorkerRun : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(temp()); }

    fs::path temp() const { return scratch_.path() / "tmp"; }
    fs::path log() const { return scratch_.path() / "log.txt"; }

    // A folder holding the drawings `names` with their bytes; the drawings' paths.
    std::vector<std::string> folder(const std::string& name,
                                    const std::vector<std::pair<std::string, std::string>>& files) {
        const fs::path dir = scratch_.path() / name;
        fs::create_directories(dir);
        std::vector<std::string> paths;
        for (const auto& [file, bytes] : files) {
            paths.push_back((dir / file).string());
            if (!bytes.empty()) writeFile(paths.back(), bytes);
        }
        return paths;
    }

    Cli start(const std::vector<std::string>& options, const std::vector<std::string>& drawings) {
        std::vector<std::string> args = {"--data-dir", (scratch_.path() / "data").string(), "batch",
                                         "--log", log().string()};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), drawings.begin(), drawings.end());
        return Cli(args, {"TMPDIR=" + temp().string(), "TOLVANE_WORKER_TEST_FAULTS=1"});
    }

    // Nothing but some of `names` in `dir` (no temporary file), and no worker's folder
    // left.
    void expectNoStrayFiles(const fs::path& dir, const std::set<std::string>& names) {
        for (const auto& [name, bytes] : filesOf(dir)) EXPECT_TRUE(names.count(name)) << name;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(temp()))
            ADD_FAILURE() << "left behind: " << e.path();
    }

    drawing::testing::ScratchFolder scratch_{"batch-workers-"};
};

// A run over drawings that do everything a run can do to files: copies named alike,
// a copy that is a drawing listed later, a drawing listed twice, drawings that cannot
// be read or lack the block, and drawings large enough to finish out of order.
std::vector<std::pair<std::string, std::string>> mixedDrawings() {
    return {{"01.dxf", sample("甲", 3000)},
            {"02.dxf", sample("乙")},
            {"03.dxf", sample("甲")},
            {"甲.dxf", ""},  // made by 01's copy, then worked on itself
            {"04.dxf", readFile(BATCH_REAL_DRAWINGS "/ezdxf_MODEL.dxf")},
            {"05.dxf", "not a drawing"},
            {"missing.dxf", ""},
            {"06.dxf", sample("丙", 2000)},
            {"02.dxf", ""},  // listed twice
            {"07.dxf", sample("丁")}};
}

TEST_F(WorkerRun, OutputLogAndFilesAreTheSameWhateverTheNumberOfWorkers) {
    const std::vector<std::string> options = {"--purge", "--audit", "--status",   "--block",
                                              "TITLE",   "--set",   "REV=C",      "--name",
                                              "tag:NAME"};
    std::string reference;
    std::map<std::string, std::string> referenceFiles;
    for (const char* jobs : {"1", "2", "3"}) {
        SCOPED_TRACE(std::string("--jobs ") + jobs);
        fs::remove(log());
        const std::vector<std::string> drawings = folder(jobs, mixedDrawings());
        std::vector<std::string> args = options;
        args.insert(args.end(), {"--jobs", jobs});
        Cli cli = start(args, drawings);
        ASSERT_EQ(cli.finish(), 0);
        const fs::path dir = fs::path(drawings[0]).parent_path();
        const std::string outcome =
            neutral(cli.output(), dir) + "--- log\n" + neutral(readFile(log().string()), dir);
        if (reference.empty()) {
            reference = outcome;
            referenceFiles = filesOf(dir);
            // What the run is meant to hold: copies, a taken name, errors of every kind.
            EXPECT_NE(reference.find("saved=<F>/甲.dxf"), std::string::npos);
            EXPECT_NE(reference.find("error=<F>/03.dxf|目标文件已存在"), std::string::npos);
            EXPECT_NE(reference.find("error=<F>/missing.dxf|"), std::string::npos);
            EXPECT_NE(reference.find("done=10\n"), std::string::npos);
            continue;
        }
        EXPECT_EQ(outcome, reference);
        EXPECT_TRUE(filesOf(dir) == referenceFiles);
    }
}

TEST_F(WorkerRun, PlotsOfTheSameNameGoOutInDrawingOrder) {
    std::string pdf;
    for (const char* jobs : {"1", "2"}) {
        const std::vector<std::string> drawings =
            folder(std::string("plot") + jobs, {{"a.dxf", sample("一", 2000)}, {"a.dwg", sample("二")}});
        Cli cli = start({"--plot", "PDF", "--style", "monochrome.ctb", "--paper", "A4", "--jobs", jobs},
                        drawings);
        ASSERT_EQ(cli.finish(), 0);
        const std::string plotted =
            readFile((fs::path(drawings[0]).parent_path() / "a.pdf").string());
        if (pdf.empty()) pdf = plotted;
        EXPECT_TRUE(plotted == pdf) << "--jobs " << jobs << " left another a.pdf";
    }
}

TEST_F(WorkerRun, ADrawingThatCrashesHangsOrOutgrowsItsMemoryCostsOnlyItself) {
    const std::string good = sample("好");
    const std::vector<std::string> drawings =
        folder("faults", {{"1.dxf", good},
                          {"fault-crash.dxf", good},
                          {"2.dxf", good},
                          {"fault-hang.dxf", good},
                          {"3.dxf", good},
                          {"fault-memory.dxf", good},
                          {"big.dxf", sample("大", 200000)},
                          {"4.dxf", good}});
    Cli cli = start({"--purge", "--jobs", "2", "--drawing-timeout", "5", "--drawing-memory", "48"},
                    drawings);
    ASSERT_EQ(cli.finish(), 0);
    const fs::path dir = fs::path(drawings[0]).parent_path();
    const std::string output = neutral(cli.output(), dir);
    const struct {
        const char* name;
        const char* reason;
    } faults[] = {{"fault-crash", "处理进程崩溃（信号 11 SIGSEGV）"},
                  {"fault-hang", "处理时间超过限制（5 秒）"},
                  {"fault-memory", "内存用量超过限制（48 MB）"},
                  {"big", "内存用量超过限制（48 MB）"}};
    for (const auto& f : faults) {
        const std::string line = std::string("error=<F>/") + f.name + ".dxf|处理中断：" + f.reason;
        EXPECT_NE(output.find(line + "\n"), std::string::npos) << line << " in\n" << output;
        EXPECT_NE(readFile(log().string())
                      .find("打开文件出错:" + (dir / f.name).string() + ".dxf\r\n处理中断：" + f.reason),
                  std::string::npos);
    }
    for (const char* name : {"1", "2", "3", "4"})
        EXPECT_NE(output.find(std::string("saved=<F>/") + name + ".dxf\n"), std::string::npos);
    EXPECT_EQ(readFile((dir / "fault-crash.dxf").string()), good);
    EXPECT_NE(readFile((dir / "4.dxf").string()), good);
    EXPECT_NE(output.find("done=8\n"), std::string::npos);
    expectNoStrayFiles(dir, {"1.dxf", "2.dxf", "3.dxf", "4.dxf", "big.dxf", "fault-crash.dxf",
                             "fault-hang.dxf", "fault-memory.dxf"});
}

TEST_F(WorkerRun, SigtermStartsNothingNewAndLeavesTheDrawingsInHandUnchanged) {
    const std::string original = sample("原");
    const std::vector<std::string> drawings = folder("stop", {{"a.dxf", original},
                                                              {"fault-hang-1.dxf", original},
                                                              {"fault-hang-2.dxf", original},
                                                              {"b.dxf", original},
                                                              {"c.dxf", original}});
    Cli cli = start({"--purge", "--jobs", "2"}, drawings);
    // a is finished and reported; both workers then hang, so b and c cannot start.
    while (auto line = cli.line())
        if (*line == "saved=" + drawings[0]) break;
    cli.signal(SIGTERM);
    const int status = cli.finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGTERM) << status;
    const fs::path dir = fs::path(drawings[0]).parent_path();
    const std::string output = neutral(cli.output(), dir);
    EXPECT_EQ(output.find("error="), std::string::npos) << output;
    EXPECT_EQ(output.find("b.dxf"), std::string::npos) << output;
    EXPECT_NE(readFile(drawings[0]), original);
    for (size_t i = 1; i < drawings.size(); ++i) EXPECT_EQ(readFile(drawings[i]), original);
    expectNoStrayFiles(dir, {"a.dxf", "b.dxf", "c.dxf", "fault-hang-1.dxf", "fault-hang-2.dxf"});
}

TEST_F(WorkerRun, AKilledRunLeavesEveryDrawingAsItWasOrComplete) {
    // The workers of a killed run become this process's children, to be waited for.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 12; ++i)
        files.emplace_back("d" + std::to_string(i) + ".dxf", sample("图" + std::to_string(i), 1500));
    const std::vector<std::string> options = {"--purge", "--audit", "--block", "TITLE", "--set",
                                              "REV=C",   "--name",  "tag:NAME", "--jobs", "2"};
    const std::vector<std::string> whole = folder("whole", files);
    Cli complete = start(options, whole);
    ASSERT_EQ(complete.finish(), 0);
    const std::map<std::string, std::string> done = filesOf(fs::path(whole[0]).parent_path());
    std::mt19937 random(std::random_device{}());
    for (int round = 0; round < 5; ++round) {
        const std::vector<std::string> drawings = folder("killed" + std::to_string(round), files);
        const fs::path dir = fs::path(drawings[0]).parent_path();
        Cli cli = start(options, drawings);
        const int lines = std::uniform_int_distribution<int>(1, 24)(random);
        for (int i = 0; i < lines && cli.line(); ++i) {
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 20000)(random)));
        cli.signal(SIGKILL);
        cli.finish();
        while (::waitpid(-1, nullptr, 0) > 0) {
        }
        SCOPED_TRACE("killed after " + std::to_string(lines) + " lines");
        std::set<std::string> names;
        for (const auto& [name, bytes] : filesOf(dir)) {
            names.insert(name);
            const auto it = std::find_if(files.begin(), files.end(),
                                         [&](const auto& f) { return f.first == name; });
            const bool original = it != files.end() && bytes == it->second;
            EXPECT_TRUE(original || (done.count(name) && bytes == done.at(name)))
                << name << " is neither as it was nor complete";
        }
        for (const auto& [name, bytes] : files) names.insert(name);
        for (const auto& [name, bytes] : done) names.insert(name);
        expectNoStrayFiles(dir, names);
    }
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
}

TEST(WorkerPool, AProgramThatCannotStartEndsTheRunWithTheReason) {
    drawing::AcadApplication application;
    WorkerOptions options;
    options.program = "/nonexistent/tolvane-cli";
    BatchSettings settings;
    settings.purge = true;
    size_t started = 0;
    BatchObserver observer;
    observer.started = [&](size_t, size_t, const std::string&) { ++started; };
    const PoolResult result = runBatchInWorkers(application, {"a.dxf"}, settings, observer, options);
    EXPECT_EQ(result.taken, 0u);
    EXPECT_EQ(started, 0u);
    EXPECT_NE(result.failure.find("/nonexistent/tolvane-cli"), std::string::npos) << result.failure;
}

// The processes whose parent is `parent` and that have run for a tenth of a second.
std::vector<pid_t> childrenOf(pid_t parent) {
    double uptime = 0;
    std::sscanf(readFile("/proc/uptime").c_str(), "%lf", &uptime);
    std::vector<pid_t> children;
    for (const fs::directory_entry& e : fs::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = readFile((e.path() / "stat").string());
        // pid (comm) state ppid ...: the command may hold blanks and parentheses.
        const size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(stat.substr(close + 2));
        std::string field;
        std::vector<std::string> f;
        while (fields >> field) f.push_back(field);
        // From the state on: the parent is the 2nd field, the start time the 20th.
        if (f.size() < 20 || std::stoi(f[1]) != parent) continue;
        if (uptime - std::stod(f[19]) / static_cast<double>(::sysconf(_SC_CLK_TCK)) >= 0.1)
            children.push_back(std::stoi(name));
    }
    return children;
}

TEST_F(WorkerRun, WorkersKilledAtRandomLeaveNoHalfWrittenDrawingAndNoTemporaryFile) {
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 16; ++i)
        files.emplace_back("d" + std::to_string(i) + ".dxf", sample("图" + std::to_string(i), 20000));
    const std::vector<std::string> whole = folder("whole", files);
    const std::vector<std::string> options = {"--purge", "--set", "REV=C", "--block", "TITLE",
                                              "--jobs", "2"};
    Cli complete = start(options, whole);
    ASSERT_EQ(complete.finish(), 0);
    const std::map<std::string, std::string> done = filesOf(fs::path(whole[0]).parent_path());
    const std::vector<std::string> drawings = folder("killed", files);
    Cli cli = start(options, drawings);
    std::mt19937 random(std::random_device{}());
    std::atomic<bool> running = true;
    std::thread killer([&] {
        while (running) {
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::uniform_int_distribution<int>(20, 120)(random)));
            const std::vector<pid_t> workers = childrenOf(cli.pid());
            if (!workers.empty())
                ::kill(workers[std::uniform_int_distribution<size_t>(0, workers.size() - 1)(random)],
                       SIGKILL);
        }
    });
    const int status = cli.finish();
    running = false;
    killer.join();
    ASSERT_EQ(status, 0);
    const fs::path dir = fs::path(drawings[0]).parent_path();
    const std::string output = neutral(cli.output(), dir);
    EXPECT_NE(output.find("done=16\n"), std::string::npos);
    for (const auto& [name, original] : files) {
        const std::string now = readFile((dir / name).string());
        const bool interrupted =
            output.find("error=<F>/" + name + "|处理中断：处理进程崩溃（信号 9 SIGKILL）") !=
            std::string::npos;
        const bool saved = output.find("saved=<F>/" + name + "\n") != std::string::npos;
        EXPECT_NE(interrupted, saved) << name << " in\n" << output;
        EXPECT_TRUE(now == original || now == done.at(name)) << name << " is half written";
        if (saved) {
            EXPECT_TRUE(now == done.at(name)) << name;
        }
    }
    std::set<std::string> names;
    for (const auto& [name, bytes] : files) names.insert(name);
    expectNoStrayFiles(dir, names);
}

TEST(WorkerProcessTest, OnlyTheTemporariesOfTheInterruptedSaveGo) {
    drawing::testing::ScratchFolder scratch("save-temporaries-");
    const fs::path dir = scratch.path();
    const auto since = std::chrono::system_clock::now() - std::chrono::seconds(5);
    for (const char* name : {"a.dxf", ".a.dxf.Xy12Zq", "a.dxf.Q9w8E7", ".a.dxf.toolong7", ".b.dxf.Xy12Zq",
                             ".a.dxf.old123", ".a.dxf.x-y_zq"})
        writeFile((dir / name).string(), "x");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(dir / ".a.dxf.old123", old);
    removeSaveTemporaries((dir / "a.dxf").string(), since);
    std::set<std::string> left;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) left.insert(e.path().filename());
    EXPECT_EQ(left, (std::set<std::string>{"a.dxf", ".a.dxf.toolong7", ".b.dxf.Xy12Zq",
                                           ".a.dxf.old123", ".a.dxf.x-y_zq"}));
}

}  // namespace
}  // namespace batch
