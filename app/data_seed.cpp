#include "app/data_seed.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "ui/data_paths.h"

namespace fs = std::filesystem;

namespace app {

std::string seedDir() {
    if (const char* d = std::getenv("TOLVANE_SEED_DIR"); d && *d) return d;
    return TOLVANE_SEED_DIR;
}

bool seedDataFolder() {
    std::error_code ec;
    const fs::path data = ui::dataDir();
    fs::create_directories(data, ec);
    if (!fs::is_directory(data)) return false;
    const fs::path help = data / "help.txt";
    if (!fs::exists(help, ec)) {
        // Copy under a temporary name first so a half-copied help file is never seen.
        const fs::path tmp = data / "help.txt.tmp";
        if (fs::copy_file(fs::path(seedDir()) / "help.txt", tmp,
                          fs::copy_options::overwrite_existing, ec))
            fs::rename(tmp, help, ec);
    }
    return true;
}

}  // namespace app
