// How many runs side by side a plot's work is split into: one per processor, none
// smaller than a run's worth of items, since starting a thread costs more than a few.
#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>

namespace plot {

inline constexpr size_t kItemsPerRun = 10000;
inline constexpr size_t kMostRuns = 8;

inline size_t parallelRuns(size_t items) {
    const size_t processors = std::max(1u, std::thread::hardware_concurrency());
    return std::clamp<size_t>(std::min(processors, items / kItemsPerRun), 1, kMostRuns);
}

}  // namespace plot
