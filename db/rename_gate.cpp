// A test aid preloaded into a program (LD_PRELOAD): every rename or hard link onto a
// file named $TOLVANE_GATE_NAME waits, after creating "$TOLVANE_GATE_DIR/waiting", until
// "$TOLVANE_GATE_DIR/open" exists. A test thus holds a program in the moment between its
// check that a file is absent and the rename that places its own, and lets a second
// process create the file there.
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void waitAtTheGate(const char* target) {
    const char* name = std::getenv("TOLVANE_GATE_NAME");
    const char* dir = std::getenv("TOLVANE_GATE_DIR");
    if (!name || !dir || !target) return;
    const char* slash = std::strrchr(target, '/');
    if (std::strcmp(slash ? slash + 1 : target, name) != 0) return;
    const int fd = ::open((std::string(dir) + "/waiting").c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd >= 0) ::close(fd);
    const std::string open = std::string(dir) + "/open";
    while (::access(open.c_str(), F_OK) != 0) ::usleep(10000);
}

template <typename Function>
Function next(const char* symbol) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, symbol));
}

}  // namespace

extern "C" int rename(const char* from, const char* to) {
    waitAtTheGate(to);
    return next<int (*)(const char*, const char*)>("rename")(from, to);
}

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    waitAtTheGate(to);
    return next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(
        fromDir, from, toDir, to, flags);
}

extern "C" int link(const char* from, const char* to) {
    waitAtTheGate(to);
    return next<int (*)(const char*, const char*)>("link")(from, to);
}
