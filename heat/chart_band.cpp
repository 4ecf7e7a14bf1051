#include "heat/chart_band.h"

#include <array>
#include <limits>

namespace heat {
namespace {

constexpr double kOpen = std::numeric_limits<double>::infinity();

// Wall: q = 100·(a·T + b), t_out = c·T + d. Above ΣR 2.75 the chart carries no usable
// t_out, so the band below it continues.
constexpr std::array<ChartBand, 17> kWall{{
    {0, 0.15, 100, {0, 0.0764, -4.78}, {0, 0.292, 41.67}},
    {0.15, 0.25, 100, {0, 0.0435, -2.2}, {0, 0.182, 41.6}},
    {0.25, 0.35, 100, {0, 0.0304, -1.48}, {0, 0.146, 34.8}},
    {0.35, 0.45, 100, {0, 0.0234, -1.08}, {0, 0.125, 30}},
    {0.45, 0.55, 100, {0, 0.0184, -0.72}, {0, 0.108, 28.4}},
    {0.55, 0.65, 100, {0, 0.0154, -0.54}, {0, 0.086, 34.2}},
    {0.65, 0.75, 100, {0, 0.014375, -1.125}, {0, 0.0818, 30.46}},
    {0.75, 0.85, 100, {0, 0.01125, -0.45}, {0, 0.076, 27}},
    {0.85, 0.95, 100, {0, 0.01, 0}, {0, 0.067, 31.2}},
    {0.95, 1.1, 100, {0, 0.009375, -0.125}, {0, 0.06, 31}},
    {1.1, 1.3, 100, {0, 0.007857, 0}, {0, 0.053, 30.3}},
    {1.3, 1.5, 100, {0, 0.0067, 0.1}, {0, 0.05, 27}},
    {1.5, 1.7, 100, {0, 0.00643, -0.5}, {0, 0.045, 27}},
    {1.7, 1.9, 100, {0, 0.0055, -0.2}, {0, 0.04125, 26.25}},
    {1.9, 2.25, 100, {0, 0.0048, -0.12}, {0, 0.037, 26}},
    {2.25, 2.75, 100, {0, 0.004, -0.1}, {0, 0.0317, 25.6}},
    {2.75, kOpen, 100, {0, 0.0035, -0.4}, {0, 0.0317, 25.6}},
}};

// Roof: q = 1000·(a2·T² + a1·T + a0), t_out = c2·T² + c1·T + c0. The chart's t_out of
// 0.65-0.9 is negative across its range; it is bridged from the bands on either side.
constexpr std::array<ChartBand, 7> kRoof{{
    {0, 0.15, 1000, {0.000004, 0.001, 1.428}, {-0.0000625, 0.325, 53.125}},
    {0.15, 0.25, 1000, {0, 0.005, -0.5}, {-0.00005125, 0.25, 30.56}},
    {0.25, 0.35, 1000, {-0.000001, 0.006, -1.627}, {-0.000046, 0.215, 24}},
    {0.35, 0.45, 1000, {0, 0.002, -0.05}, {-0.00002, 0.141, 44.325}},
    {0.45, 0.65, 1000, {0, 0.002, -0.312}, {-0.000018, 0.122, 43.437}},
    {0.65, 0.9, 1000, {-0.000001, 0.004, -1.973}, {}, true},
    {0.9, kOpen, 1000, {0, 0.00022, 0.468}, {0, 0.043, 57.249}},
}};

constexpr std::array<ChartBand, 7> kBottom{{
    {0, 0.15, 1000, {-0.000002, 0.00991, -1.288}, {-0.00025, 0.575, -5}},
    {0.15, 0.25, 1000, {0, 0.00349, -0.022}, {-0.000062, 0.275, 38}},
    {0.25, 0.35, 1000, {0, 0.00305, -1.73}, {-0.000054, 0.23833, 24.375}},
    {0.35, 0.45, 1000, {0, 0.00093, 0.451}, {-0.000031, 0.18125, 28.432}},
    {0.45, 0.65, 1000, {0, 0.00148, 0.18}, {-0.000025, 0.14866, 37.125}},
    {0.65, 0.9, 1000, {0, 0.00118, 0.147}, {-0.000015, 0.10812, 37.968}},
    {0.9, kOpen, 1000, {0, 0.00063, 0.362}, {0, 0.05, 65}},
}};

}  // namespace

std::span<const ChartBand> chartBands(SurfaceLocation location) {
    switch (location) {
        case SurfaceLocation::Wall:
            return kWall;
        case SurfaceLocation::Roof:
            return kRoof;
        case SurfaceLocation::Bottom:
            return kBottom;
        case SurfaceLocation::None:
            break;
    }
    return {};
}

std::optional<ChartReading> readChart(SurfaceLocation location, double sumR, double t) {
    const std::span<const ChartBand> bands = chartBands(location);
    if (bands.empty() || !(sumR > 0)) return std::nullopt;
    size_t i = 0;
    while (i + 1 < bands.size() && sumR >= bands[i + 1].from) ++i;
    const ChartBand& band = bands[i];
    double tOut = band.tOut.at(t);
    if (band.tOutBetweenNeighbours) {
        const double low = bands[i - 1].tOut.at(t);
        const double high = bands[i + 1].tOut.at(t);
        tOut = low + (high - low) * (sumR - band.from) / (band.below - band.from);
    }
    return ChartReading{band.qScale * band.q.at(t), tOut};
}

}  // namespace heat
