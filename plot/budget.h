// What one plot may spend, and its stop. Numbers taken from a drawing (array sizes,
// blocks that insert themselves, viewports) multiply the work of a plot without bound,
// so every plot has a budget of work: each entity visited or array cell expanded, and
// each point or glyph drawn, spends from it. Once it is spent, or the plot's stop
// answers true, the plot ends and writes nothing. The runs that build a scene side by
// side share one budget.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>

#include "drawing/plot_service.h"

namespace plot {

class PlotBudget {
public:
    // About 400 MB of scene at most, or a second of expanding references that draw
    // nothing; the plot of a drawing of 50 MB spends about a third of it.
    static constexpr uint64_t kUnits = uint64_t{1} << 24;
    // What a visited entity or an expanded array cell costs; a point or a glyph costs 1.
    static constexpr uint64_t kVisitUnits = 8;

    explicit PlotBudget(drawing::StopRequested stop = {}, uint64_t units = kUnits)
        : stop_(std::move(stop)), units_(units) {}
    PlotBudget(const PlotBudget&) = delete;
    PlotBudget& operator=(const PlotBudget&) = delete;

    // Spends `units` (any thread); false once the plot is to end.
    bool spend(uint64_t units);
    // Asks the stop (any thread); false once the plot is to end.
    bool going();
    bool exceeded() const { return exceeded_; }
    bool stopped() const { return stopped_; }
    bool ended() const { return exceeded_ || stopped_; }
    // The failure that ends the plot of the drawing at `path`. REQUIRES: ended()
    drawing::Status failure(const std::string& path) const;

private:
    drawing::StopRequested stop_;
    std::mutex stopAsked_;  // the stop is asked by one thread at a time
    const uint64_t units_;
    std::atomic<uint64_t> spent_ = 0;
    std::atomic<bool> exceeded_ = false;
    std::atomic<bool> stopped_ = false;
};

}  // namespace plot
