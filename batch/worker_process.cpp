#include "batch/worker_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

extern char** environ;

namespace batch {
namespace {

namespace fs = std::filesystem;

// The environment of this process with TMPDIR set to `tempDir`.
std::vector<std::string> environmentWith(const std::string& tempDir) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "TMPDIR=", 7) != 0) env.emplace_back(*e);
    env.push_back("TMPDIR=" + tempDir);
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

// `stem`, a dot and the six letters or digits mkstemp puts in place of XXXXXX.
bool endsInSixRandom(const std::string& name, const std::string& stem) {
    if (name.size() != stem.size() + 7 || name.compare(0, stem.size(), stem) != 0 ||
        name[stem.size()] != '.')
        return false;
    for (size_t i = stem.size() + 1; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

}  // namespace

WorkerProcess::~WorkerProcess() {
    if (pid_ > 0) {
        signal(SIGKILL);
        reap();
    }
}

bool WorkerProcess::start(const std::vector<std::string>& argv, std::string& error) {
    const char* base = std::getenv("TMPDIR");
    std::string dir = std::string(base && *base ? base : "/tmp") + "/tolvane-worker-XXXXXX";
    if (!::mkdtemp(dir.data())) {
        error = dir + ": " + std::strerror(errno);
        return false;
    }
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0) {
        error = std::strerror(errno);
        fs::remove(dir);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, sv[1], 0);
    posix_spawn_file_actions_adddup2(&actions, sv[1], 1);
    // The worker starts with the signals as a fresh program has them, whatever this
    // thread blocks or ignores.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, reset;
    sigemptyset(&none);
    sigemptyset(&reset);
    for (int s : {SIGINT, SIGTERM, SIGPIPE, SIGHUP, SIGQUIT, SIGALRM, SIGCHLD}) sigaddset(&reset, s);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &reset);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<std::string> args = argv;
    args.insert(args.end(), {"--temp", dir});
    std::vector<std::string> env = environmentWith(dir);
    const std::vector<char*> argp = pointers(args);
    const std::vector<char*> envp = pointers(env);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, argp[0], &actions, &attr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    ::close(sv[1]);
    if (rc != 0) {
        error = argv[0] + ": " + std::strerror(rc);
        ::close(sv[0]);
        fs::remove(dir);
        return false;
    }
    pid_ = pid;
    fd_ = sv[0];
    tempDir_ = dir;
    return true;
}

void WorkerProcess::signal(int number) {
    if (pid_ > 0) ::kill(pid_, number);
}

void WorkerProcess::closeInput() {
    if (fd_ >= 0) ::shutdown(fd_, SHUT_WR);
}

WorkerProcess::Exit WorkerProcess::reap() {
    Exit exit;
    if (pid_ <= 0) return exit;
    rusage usage{};
    pid_t got = 0;
    for (int tries = 0; tries < 200; ++tries) {
        got = ::wait4(pid_, &exit.status, WNOHANG, &usage);
        if (got != 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (got == 0) {
        ::kill(pid_, SIGKILL);
        while ((got = ::wait4(pid_, &exit.status, 0, &usage)) < 0 && errno == EINTR) {
        }
    }
    exit.peakKilobytes = usage.ru_maxrss;
    ::close(fd_);
    std::error_code ec;
    fs::remove_all(tempDir_, ec);
    pid_ = -1;
    fd_ = -1;
    return exit;
}

void removeSaveTemporaries(const std::string& path, std::chrono::system_clock::time_point since) {
    const fs::path target(path);
    const std::string name = target.filename().string();
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(target.parent_path(), ec)) {
        const std::string candidate = entry.path().filename().string();
        if (!endsInSixRandom(candidate, "." + name) && !endsInSixRandom(candidate, name)) continue;
        struct stat st;
        if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (std::chrono::system_clock::from_time_t(st.st_mtime) <
            std::chrono::time_point_cast<std::chrono::seconds>(since))
            continue;
        fs::remove(entry.path(), ec);
    }
}

}  // namespace batch
