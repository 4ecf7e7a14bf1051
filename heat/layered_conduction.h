// Steady one-dimensional conduction through plane layers in series whose conductivity
// is linear in temperature, λ(t) = a + b·t. Each layer is integrated exactly (Kirchhoff):
// between faces t1 and t2 it carries q = (a·(t1 − t2) + b/2·(t1² − t2²)) / d, which is
// λ at the layer's mean temperature times (t1 − t2) / d, so no layer's λ is taken at a
// temperature it does not have.
//
// Units: m, °C, W/(m·K), W/m².
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace heat {

struct ConductingLayer {
    double thickness = 0;  // m
    double a = 0;          // W/(m·K)
    double b = 0;          // W/(m·K²)
};

// The cold face of each layer in turn when flux `q` enters the first at `tHot`; nothing
// when a layer would have to cool to where its conductivity is zero to carry it.
std::optional<std::vector<double>> coldFaces(std::span<const ConductingLayer> layers, double tHot,
                                             double q);

struct LiningSolution {
    double q = 0;                   // W/m²
    std::vector<double> coldFaces;  // one per layer; the last is the outer surface
    double surface = 0;             // outer surface temperature, tHot when there are no layers
};

// The lining between the hot face at `tHot` and air at `ta` through a surface coefficient
// `h` (W/(m²·K)): the q at which q = h·(surface − ta), found by bisection to the last
// digit. REQUIRES: tHot > ta, h >= 0, every layer's λ > 0 between ta and tHot.
LiningSolution solveLining(std::span<const ConductingLayer> layers, double tHot, double ta,
                           double h);

}  // namespace heat
