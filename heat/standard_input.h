// The standard method's input as the window and the command line hold it, and the check
// that turns it into numbers. Unlike the chart method, which keeps a previous value for a
// text that is not a number, the standard method refuses such input with a message naming
// the field, so that a signed result never rests on a value the user cannot see.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "heat/layered_conduction.h"
#include "heat/lining.h"
#include "ui/message.h"

namespace heat {

constexpr double kMaxInnerTemperature = 3000;  // °C
constexpr double kMaxSurfaceLength = 100;      // m

struct StandardInput {
    HeatInput lining;                // location, T, Ta and the six layers' texts
    std::string emissivity = "0.8";  // ε of the outer surface, 0 … 1
    std::string height = "3";        // a wall's height H, m, above 0 and up to 100
    std::string length = "2";        // a roof's or bottom's characteristic length L, m
    // W/(m²·K), above 0: replaces h_c + h_r, and is reported as h_c with h_r = 0.
    std::optional<double> fixedCoefficient;
};

struct CheckedInput {
    SurfaceLocation location = SurfaceLocation::None;
    double t = 0, ta = 0;  // °C
    double emissivity = 0;
    double length = 0;  // H for a wall, L for a roof or bottom, m
    std::optional<double> fixedCoefficient;
    std::array<ConductingLayer, kLayerCount> layers{};  // thickness 0: left out
};

// The numbers of `input`, or every problem found, in the order of the fields: no
// location, T not a number, Ta not a number in -50 … 200 °C, T not above Ta or above
// 3000 °C, ε outside 0 … 1, H or L (the one the location uses) outside (0, 100] m, a
// thickness that is not a number of at least 0 mm, and for a layer with a thickness a
// conductivity text that is not one of the four forms or is not positive at both Ta and T.
std::optional<CheckedInput> checkStandardInput(const StandardInput& input,
                                               std::vector<ui::Message>& problems);

}  // namespace heat
