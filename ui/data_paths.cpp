#include "ui/data_paths.h"

#include <cstdlib>
#include <fstream>

namespace ui {
namespace {

std::string overrideDir;

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string home() {
    std::string h = env("HOME");
    return h.empty() ? std::string("/tmp") : h;
}

std::string configHome() {
    std::string c = env("XDG_CONFIG_HOME");
    return c.empty() ? home() + "/.config" : c;
}

}  // namespace

void setDataDirOverride(const std::string& dir) { overrideDir = dir; }

std::string dataDir() {
    if (!overrideDir.empty()) return overrideDir;
    if (std::string d = env("TOLVANE_DATA_DIR"); !d.empty()) return d;
    std::string xdg = env("XDG_DATA_HOME");
    return (xdg.empty() ? home() + "/.local/share" : xdg) + "/tolvane";
}

std::string reportFilePath() {
    if (std::string r = env("TOLVANE_REPORT_FILE"); !r.empty()) return r;
    if (!overrideDir.empty()) return overrideDir + "/水冷梁计算.doc";
    return home() + "/Documents/水冷梁计算.doc";
}

std::string standardDbDir() {
    std::ifstream ini(configHome() + "/tolvane/zuvevid.ini");
    std::string line;
    if (ini && std::getline(ini, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty()) return line;
    }
    return dataDir();
}

}  // namespace ui
