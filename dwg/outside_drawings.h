// Test drawings from outside the tree, for a sweep run by hand (scripts/dwg-sweep):
// when TOLVANE_DWG_SWEEP names a folder, the DWGs under it that the reader takes
// (R13 on), in the order of their paths; otherwise none, and the tests read testdata only.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace dwg {

inline std::vector<std::filesystem::path> outsideDrawings() {
    namespace fs = std::filesystem;
    std::vector<fs::path> found;
    const char* folder = std::getenv("TOLVANE_DWG_SWEEP");
    if (!folder || !*folder || !fs::is_directory(folder)) return found;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder)) {
        if (e.path().extension() != ".dwg") continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::string version(6, '\0');
        in.read(version.data(), 6);
        if (version.starts_with("AC10") && version >= "AC1012") found.push_back(e.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace dwg
