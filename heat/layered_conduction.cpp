#include "heat/layered_conduction.h"

#include <cmath>

namespace heat {

std::optional<std::vector<double>> coldFaces(std::span<const ConductingLayer> layers, double tHot,
                                             double q) {
    std::vector<double> faces;
    double t = tHot;
    for (const ConductingLayer& layer : layers) {
        // The drop Δ solves b/2·Δ² − λ(t)·Δ + q·d = 0; this root form stays exact for
        // b = 0 and for tiny b, where the textbook form would cancel.
        const double lambdaHot = layer.a + layer.b * t;
        const double disc = lambdaHot * lambdaHot - 2 * layer.b * q * layer.thickness;
        if (!(lambdaHot > 0) || disc < 0) return std::nullopt;
        t -= 2 * q * layer.thickness / (lambdaHot + std::sqrt(disc));
        faces.push_back(t);
    }
    return faces;
}

LiningSolution solveLining(std::span<const ConductingLayer> layers, double tHot, double ta,
                           double h) {
    LiningSolution solution{0, std::vector<double>(layers.size(), tHot), tHot};
    if (!(h > 0)) return solution;
    // Between q = 0 (surface above ta) and the flux of a bare surface at tHot (surface
    // at or below what that flux needs) lies exactly one root.
    double lo = 0, hi = h * (tHot - ta);
    for (int step = 0; step < 200 && lo < hi; ++step) {
        const double q = lo + (hi - lo) / 2;
        if (q == lo || q == hi) break;
        const auto faces = coldFaces(layers, tHot, q);
        const double surface = !faces ? -INFINITY : faces->empty() ? tHot : faces->back();
        (surface - ta > q / h ? lo : hi) = q;
    }
    solution.q = lo;
    if (const auto faces = coldFaces(layers, tHot, lo)) solution.coldFaces = *faces;
    solution.surface = solution.coldFaces.empty() ? tHot : solution.coldFaces.back();
    return solution;
}

}  // namespace heat
