// The digitised design charts of the chart method: for each surface location, bands of
// the lining's total thermal resistance ΣR (m²·h·°C/kcal), each giving the heat flux q
// (kcal/(m²·h)) and the outer-surface temperature t_out (°C) as functions of the inner
// surface temperature T (°C). The charts are drawn for T of 200-1400 °C (wall) and
// 300-1500 °C (roof, bottom); other T are evaluated all the same.
#pragma once

#include <optional>
#include <span>

namespace heat {

enum class SurfaceLocation { None = -1, Wall = 0, Roof = 1, Bottom = 2 };

// c2·T² + c1·T + c0; c1·T + c0 when c2 is 0.
struct Quadratic {
    double c2 = 0, c1 = 0, c0 = 0;
    double at(double t) const { return c2 == 0 ? c1 * t + c0 : c2 * (t * t) + c1 * t + c0; }
};

struct ChartBand {
    double from;     // lowest ΣR of the band (the first band starts above 0)
    double below;    // ΣR at which the next band starts; infinity for the last
    double qScale;   // the chart gives q / qScale: 100 for a wall, 1000 for roof and bottom
    Quadratic q;     // q / qScale
    Quadratic tOut;  // t_out, unless interpolated
    bool tOutBetweenNeighbours = false;  // t_out linear in ΣR between the neighbouring
                                         // bands' formulas at this band's two limits
};

// The bands of `location` in rising ΣR; empty for SurfaceLocation::None.
std::span<const ChartBand> chartBands(SurfaceLocation location);

struct ChartReading {
    double q;
    double tOut;
};

// q and t_out of the band holding `sumR` (a limit belongs to the band that starts
// there); nothing when sumR <= 0 or the location is None.
std::optional<ChartReading> readChart(SurfaceLocation location, double sumR, double t);

}  // namespace heat
