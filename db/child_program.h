// For tests: a program run as a child process, with extra environment, its output kept
// in files of a folder, so that a test can let it run, act meanwhile, and read what it
// printed and how it ended.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace db::testtools {

class ChildProgram {
public:
    // Starts `args` (the program first) with `env` ("NAME=value") added to this process's
    // environment; its stdout and stderr go to `folder`/<name>.out and .err.
    ChildProgram(const std::vector<std::string>& args, const std::string& folder,
                 const std::string& name, const std::vector<std::string>& env = {})
        : out_(folder + "/" + name + ".out"), err_(folder + "/" + name + ".err") {
        std::vector<std::string> environment(env);
        for (char** e = environ; *e; ++e) environment.emplace_back(*e);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&files, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        const std::vector<char*> argv = pointers(args), envp = pointers(environment);
        if (posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&files);
    }
    ~ChildProgram() { wait(); }
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    // The exit status; -N when signal N ended it, -1 when it could not start.
    int wait() {
        if (pid_ > 0) {
            int status = 0;
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            pid_ = 0;
        }
        return status_;
    }
    std::string out() const { return slurp(out_); }
    std::string err() const { return slurp(err_); }

private:
    static std::vector<char*> pointers(const std::vector<std::string>& texts) {
        std::vector<char*> p;
        for (const std::string& t : texts) p.push_back(const_cast<char*>(t.c_str()));
        p.push_back(nullptr);
        return p;
    }
    static std::string slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string out_, err_;
    pid_t pid_ = -1;
    int status_ = -1;
};

// Waits until a file appears at `path`, as a program held at a point signals that it is
// there; false if it has not after a minute.
inline bool appears(const std::string& path) {
    for (int i = 0; i < 6000; ++i) {
        if (::access(path.c_str(), F_OK) == 0) return true;
        ::usleep(10000);
    }
    return false;
}

}  // namespace db::testtools
