#include "batch/file_claims.h"

namespace batch {

FileClaims::FileClaims(std::vector<std::string> paths, bool saves, bool copies) : saves_(saves) {
    drawings_.reserve(paths.size());
    for (std::string& path : paths) drawings_.push_back({std::move(path), !copies, {}});
}

void FileClaims::claim(size_t index, FileUse use, const std::string& path) {
    Drawing& d = drawings_[index];
    d.plotting = use == FileUse::Plot;
    if (use == FileUse::Copy) {
        d.copyKnown = true;
        d.copy = path;
    }
}

bool FileClaims::mayOpen(size_t index, bool exists) const {
    return nobodyEarlierWrites(index, drawings_[index].path, exists);
}

bool FileClaims::mayUse(size_t index, FileUse use, const std::string& path, bool exists) const {
    if (use != FileUse::Plot) return nobodyEarlierWrites(index, path, exists);
    for (size_t i = firstUnfinished_; i < index; ++i)
        if (!drawings_[i].finished && !drawings_[i].plotted) return false;
    return true;
}

bool FileClaims::nobodyEarlierWrites(size_t index, const std::string& path, bool exists) const {
    for (size_t i = firstUnfinished_; i < index; ++i) {
        const Drawing& earlier = drawings_[i];
        if (earlier.finished) continue;
        if (saves_ && path == earlier.path) return false;
        if (path == earlier.copy) return false;
        // Only a copy makes a file that is not there: it may be this one.
        if (!exists && !earlier.copyKnown) return false;
    }
    return true;
}

void FileClaims::released(size_t index) {
    Drawing& d = drawings_[index];
    if (d.plotting) d.plotted = true;
    d.plotting = false;
}

void FileClaims::finished(size_t index) {
    drawings_[index].finished = true;
    while (firstUnfinished_ < drawings_.size() && drawings_[firstUnfinished_].finished)
        ++firstUnfinished_;
}

}  // namespace batch
