// The standard method (标准计算): the heat loss of a lining as a furnace engineer would
// sign it. Every layer conducts with λ(t) = a + b·t integrated exactly over the layer
// (layered_conduction.h), all layers solved together for one q; the outer surface gives
// off heat by free convection and by radiation to surroundings at the air temperature,
// h = h_c + h_r (surface_coefficients.h), with air properties interpolated in the air
// table at the film temperature (film_air.h).
//
// The surface temperature is found by successive substitution: from a start at
// Ta + (T − Ta)/10, h is taken at the current surface temperature, the lining is solved
// exactly for that h, and the surface temperature it gives is the next one, until it
// moves by less than 0.01 °C (at most 100 iterations, else "迭代未收敛" with the last
// values). h_c and h_r are those of the last iteration, so q = (h_c + h_r)·(t_out − Ta)
// holds to rounding.
//
// Input: the window's texts (standard_input.h); conductivities are typed in
// kcal/(m·h·°C) and converted with 1 kcal/h = 1.163 W. Units of the result: °C, W/m²
// (and kcal/(m²·h)), W/(m²·K). Refused input gives messages titled "出错信息提示：" and
// no result; the two other methods are not touched.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "heat/film_air.h"
#include "heat/standard_input.h"
#include "ui/message.h"

namespace heat {

constexpr int kMaxStandardIterations = 100;
constexpr double kStandardTolerance = 0.01;  // °C

struct StandardResult {
    // The cold face of each layer, innermost first: t12 … t56 and the outer surface. A
    // layer without a thickness passes its hot face on.
    std::array<double, kLayerCount> coldFaces{};
    std::array<bool, kLayerCount> present{};  // the layer has a thickness
    double t = 0, ta = 0;                     // inner surface and air, °C
    double q = 0;                             // W/m²
    double hc = 0, hr = 0;                    // W/(m²·K)
    int iterations = 0;

    double tOut() const { return coldFaces.back(); }
    double qKcal() const;             // kcal/(m²·h)
    double radiationShare() const;    // h_r / (h_c + h_r); 0 when both are 0
    double hotFace(int layer) const;  // T for the first layer, else the cold face before it
};

struct StandardOutcome {
    std::optional<StandardResult> result;  // nothing when the input was refused
    std::vector<ui::Message> messages;     // in the order they are shown
};

// `air`: the air table's rows in rising temperature; not read with a fixed coefficient.
StandardOutcome runStandardMethod(const StandardInput& input, std::span<const AirRow> air);

}  // namespace heat
