// Dry air at a film temperature for the standard method: the rows of the program's air
// table ("air_date"), interpolated linearly in temperature between the two rows around
// the wanted temperature. Outside the table the nearest row is taken as it is, since the
// properties change slowly there and an extrapolated viscosity could turn negative.
#pragma once

#include <optional>
#include <span>

namespace heat {

struct AirRow {
    double temperature = 0;  // °C, the row's nominal temperature
    double lambda = 0;       // 热导率, kcal/(m·h·°C)
    double nu = 0;           // 运动粘度, kinematic viscosity, m²/s
    double pr = 0;           // 普朗特准数, Prandtl number
};

// The air at `t` °C. REQUIRES: rows in rising temperature. Nothing when there are none.
std::optional<AirRow> airAt(std::span<const AirRow> rows, double t);

}  // namespace heat
