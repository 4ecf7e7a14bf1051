// The inputs of the lining heat-loss calculation as the heat-transfer window holds them,
// what the window keeps between calculations, and the results it shows.
//
// Units: temperatures °C, thicknesses typed in mm and kept in m, conductivities
// kcal/(m·h·°C), thermal resistances m²·h·°C/kcal, heat flux kcal/(m²·h).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "heat/air_properties.h"
#include "heat/chart_band.h"
#include "heat/conductivity_text.h"

namespace heat {

constexpr int kLayerCount = 6;

// One layer of the lining, innermost first, as its row of the window shows it.
struct LiningLayer {
    std::string conductivity;  // the material's 导热系数 text
    std::string thickness;     // mm, as typed; "0" leaves the layer out
};

struct HeatInput {
    SurfaceLocation location = SurfaceLocation::None;
    std::string innerTemperature;  // T, as typed
    std::string ambient = "20";    // Ta, the chosen list entry "0" … "200"
    std::array<LiningLayer, kLayerCount> layers;
};

// The values the chart method has read, kept between calculations: a step that cannot
// be carried out (a text that is not a number) leaves the value it would have set.
struct LiningState {
    double t = 0;                                          // T
    std::array<double, kLayerCount> d{};                   // thickness, m
    std::array<StoredConductivity, kLayerCount> stored{};  // parsed conductivity texts
    std::array<double, kLayerCount> r{};                   // R_k truncated to 0.001
};

struct HeatLossResult {
    std::array<double, kLayerCount - 1> interfaces{};  // t12, t23, t34, t45, t56
    std::optional<double> tOut;                        // nothing: no chart band applies
    double q = 0;
    // The convection method's refinement only:
    std::optional<double> qc;          // α·(t_out − Ta) of the last iteration
    std::optional<AirProperties> air;  // the air row used last
    int iterations = 0;
};

}  // namespace heat
