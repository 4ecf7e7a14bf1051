// The convection method (精确理论修正计算): the chart method in full, then for a wall an
// iteration on the outer-surface temperature with a natural-convection surface
// coefficient from the air-property table.
//
// Each iteration takes the mean film temperature tm = trunc((Ta + t_out) / 2), the air
// row of its nominal temperature, GrPr = Pr·9.81·(1/(tm + 273))·|t_out − Ta| / ν², and
// Nu = 0.59·GrPr^(1/4) below 10⁹, else 0.12·GrPr^(1/3); α = Nu·λ_air and
// q_c = α·(t_out − Ta). The heat flux through the layers and the surface film is
// q = (T − Ta) / (Σ d_k/λ_k + 1/α), and the new outer temperature T − q·Σ d_k/λ_k.
// Conductivities are taken at T, as the chart method takes them, untruncated; a layer of
// thickness 0, with an empty conductivity text, or whose conductivity is not a number
// or is 0, is left out. When α is 0 (t_out equal to Ta) no heat flows: q = 0.
//
// The iteration starts at t_out = Ta + 1 and stops when t_out moves by less than 5 °C,
// or after 100 iterations with the message "迭代未收敛" and the last values. A nominal
// temperature missing from the air table gives a message naming it and ends the
// refinement; the chart method's results stay, as they do for a roof or a bottom.
//
// Input outside the limits of lining_limits.h, the ambient included, is refused as the
// chart method refuses it.
#pragma once

#include <vector>

#include "heat/air_properties.h"
#include "heat/chart_method.h"

namespace heat {

constexpr int kMaxIterations = 100;
constexpr double kStoppingStep = 5;  // °C

// α of a wall whose surface is at tOut in air at ta, from the air row `air` (its tm is
// trunc((ta + tOut) / 2)), in kcal/(m²·h·°C).
double surfaceCoefficient(const AirProperties& air, double tOut, double ta);

ChartOutcome runConvectionMethod(const HeatInput& input, const LiningState& previous,
                                 AirPropertyTable& airTable);

}  // namespace heat
