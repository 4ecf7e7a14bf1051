#include "heat/film_air.h"

#include <algorithm>

namespace heat {

std::optional<AirRow> airAt(std::span<const AirRow> rows, double t) {
    if (rows.empty()) return std::nullopt;
    if (t <= rows.front().temperature) return rows.front();
    if (t >= rows.back().temperature) return rows.back();
    const auto above = std::upper_bound(
        rows.begin(), rows.end(), t, [](double v, const AirRow& r) { return v < r.temperature; });
    const AirRow& hi = *above;
    const AirRow& lo = *(above - 1);
    const double f = (t - lo.temperature) / (hi.temperature - lo.temperature);
    auto mix = [f](double a, double b) { return a + f * (b - a); };
    return AirRow{t, mix(lo.lambda, hi.lambda), mix(lo.nu, hi.nu), mix(lo.pr, hi.pr)};
}

}  // namespace heat
