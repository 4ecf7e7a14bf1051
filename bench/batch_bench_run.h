// What the batch benchmarks share: generated drawings, each with its own title, and the
// settings of a run as the batch window starts it (ten purge and ten audit passes, an
// attribute edit, a copy named from the title block).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "batch/run.h"
#include "drawing/test_drawings.h"

namespace bench {

// `count` drawings named `prefix` and a number, with `filler` extra entities each
// (800 make about 0.1 MB), in a fresh `folder`.
inline std::vector<std::string> writeTitledDrawings(const std::filesystem::path& folder, int count,
                                                    int filler, const std::string& prefix) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    drawing::testing::SampleOptions o;
    o.fillerEntities = filler;
    for (int i = 0; i < count; ++i) {
        o.title = "图" + std::to_string(1000 + i);
        paths.push_back((folder / (prefix + std::to_string(i) + ".dwg")).string());
        drawing::testing::writeFile(paths.back(), drawing::testing::sampleDrawing(o));
    }
    return paths;
}

inline batch::BatchSettings windowRunSettings(const std::string& errorLog) {
    batch::BatchSettings s;
    s.purge = s.audit = s.editAttributes = s.renameCopy = true;
    s.block = "TITLE";
    s.tags = {"REV"};
    s.values = {"C"};
    s.name.addTag("NAME");
    s.name.addConstant("-");
    s.name.addTag("REV");
    s.errorLog = errorLog;
    return s;
}

}  // namespace bench
