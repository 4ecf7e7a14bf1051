#include "plot/budget.h"

namespace plot {

bool PlotBudget::spend(uint64_t units) {
    if (spent_.fetch_add(units, std::memory_order_relaxed) + units > units_) exceeded_ = true;
    return going();
}

bool PlotBudget::going() {
    if (ended()) return false;
    if (stop_) {
        const std::lock_guard<std::mutex> lock(stopAsked_);
        if (stop_()) stopped_ = true;
    }
    return !stopped_;
}

drawing::Status PlotBudget::failure(const std::string& path) const {
    return drawing::Status::failure(
        stopped_ ? drawing::reason::kPlotStopped : drawing::reason::kPlotTooLarge, path);
}

}  // namespace plot
