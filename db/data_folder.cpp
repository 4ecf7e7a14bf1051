#include "db/data_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "files/placement.h"
#include "db/seed.h"
#include "ui/data_paths.h"

namespace fs = std::filesystem;

namespace db {
namespace {

// The program's own folder. Without /proc (a bare chroot) the system's bin folder is
// the best guess, and the message on a miss names where that led.
fs::path programDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path("/usr/bin") : exe.parent_path();
}

}  // namespace

std::vector<std::string> seedDirCandidates() {
    if (const char* d = std::getenv("TOLVANE_SEED_DIR"); d && *d) return {d};
    const fs::path bin = programDir();
    std::vector<std::string> dirs;
    // Installed: the relative way from the bin folder to the data folder chosen at
    // configure time; build tree: the top's share/tolvane, one folder up.
    for (const fs::path& rel : {fs::path(TOLVANE_SEED_FROM_BIN), fs::path("../share/tolvane")}) {
        std::string dir = (bin / rel).lexically_normal().string();
        if (std::find(dirs.begin(), dirs.end(), dir) == dirs.end()) dirs.push_back(dir);
    }
    return dirs;
}

std::string seedDir() {
    const std::vector<std::string> dirs = seedDirCandidates();
    std::error_code ec;
    for (const std::string& dir : dirs)
        if (fs::is_directory(dir, ec)) return dir;
    return dirs.front();
}

ui::OptionalMessage missingSeedDirMessage() {
    std::error_code ec;
    if (fs::is_directory(seedDir(), ec)) return std::nullopt;
    std::string places;
    for (const std::string& dir : seedDirCandidates()) places += (places.empty() ? "" : "；") + dir;
    return ui::Message{"Tolvane",
                       "找不到随程序安装的数据文件夹，数据库和帮助文件无法建立。查找过：" + places};
}

ui::OptionalMessage seedDataFolder() {
    const fs::path data = ui::dataDir();
    std::error_code made, checked;
    fs::create_directories(data, made);
    if (!fs::is_directory(data, checked)) {
        const std::error_code& why = made ? made : checked;
        return ui::Message{"Tolvane", "无法使用数据文件夹 “" + data.string() + "”：" +
                                          (why ? why.message() : std::string("不是文件夹"))};
    }
    // Without the seed folder there is nothing to copy: one line says where it was
    // looked for, rather than one per seed file.
    if (const ui::OptionalMessage missing = missingSeedDirMessage()) {
        std::cerr << "tolvane: " << missing->text << "\n";
        return std::nullopt;
    }
    std::error_code ec;
    const fs::path help = data / "help.txt";
    if (!fs::exists(fs::symlink_status(help, ec))) {
        // Copy under a temporary name first so a half-copied help file is never seen.
        const fs::path tmp = data / "help.txt.tmp";
        if (fs::copy_file(fs::path(seedDir()) / "help.txt", tmp,
                          fs::copy_options::overwrite_existing, ec) &&
            files::renameNoReplace(tmp.string(), help.string()) != 0)
            fs::remove(tmp, ec);
    }
    for (const ui::Message& m : db::seedDatabases(data.string(), ui::standardDbDir(), seedDir()))
        std::cerr << "tolvane: " << m.text << "\n";
    return std::nullopt;
}

}  // namespace db
