#include "heat/convection_method.h"

#include <array>
#include <cmath>

#include "heat/heat_texts.h"
#include "ui/number_text.h"

namespace heat {
namespace {

using Terms = std::array<double, kLayerCount>;

// d_k / λ_k of every layer that takes part, 0 for the others.
Terms layerResistances(const HeatInput& input, const LiningState& state) {
    Terms terms{};
    for (int k = 0; k < kLayerCount; ++k) {
        if (state.d[k] == 0 || input.layers[k].conductivity.empty()) continue;
        const std::optional<double> lambda = state.stored[k].at(state.t);
        if (lambda && *lambda != 0) terms[k] = state.d[k] / *lambda;
    }
    return terms;
}

}  // namespace

double surfaceCoefficient(const AirProperties& air, double tOut, double ta) {
    const double tm = std::trunc((ta + tOut) / 2);
    const double grPr = air.pr * 9.81 * (1 / (tm + 273)) * std::abs(tOut - ta) / (air.nu * air.nu);
    const double nusselt =
        grPr < 1e9 ? 0.59 * std::pow(grPr, 0.25) : 0.12 * std::pow(grPr, 1.0 / 3);
    return nusselt * air.lambda;
}

ChartOutcome runConvectionMethod(const HeatInput& input, const LiningState& previous,
                                 AirPropertyTable& airTable) {
    if (std::optional<ChartOutcome> refused = refusedLining(input, previous, true)) return *refused;
    ChartOutcome out = runChartMethod(input, previous);
    if (input.location != SurfaceLocation::Wall) return out;

    const double t = out.state.t;
    const double ta = ui::readNumber(input.ambient);
    const Terms terms = layerResistances(input, out.state);
    double sumTerms = 0;
    for (double term : terms) sumTerms += term;

    HeatLossResult refined;
    double tOut = ta + 1;
    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        const int nominal = nominalAirTemperature(std::trunc((ta + tOut) / 2));
        const std::optional<AirProperties> air = airTable.find(nominal);
        if (!air) {
            out.messages.push_back(missingAirRowMessage(nominal));
            return out;
        }
        const double alpha = surfaceCoefficient(*air, tOut, ta);
        refined.qc = alpha * (tOut - ta);
        refined.q = alpha == 0 ? 0 : (t - ta) / (sumTerms + 1 / alpha);
        double ti = t;
        for (int k = 0; k < kLayerCount; ++k) {
            ti -= refined.q * terms[k];
            if (k < kLayerCount - 1) refined.interfaces[k] = ti;
        }
        const double before = tOut;
        tOut = ti;
        refined.tOut = tOut;
        refined.air = air;
        refined.iterations = iteration;
        if (std::abs(tOut - before) < kStoppingStep) {
            out.result = refined;
            return out;
        }
    }
    out.result = refined;
    out.messages.push_back(notConvergedMessage());
    return out;
}

}  // namespace heat
