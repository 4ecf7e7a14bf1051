#include "heat/chart_method.h"

#include <cmath>

#include "heat/heat_texts.h"

namespace heat {
namespace {

void readInputs(const HeatInput& input, LiningState& state) {
    if (const auto t = wholeNumber(input.innerTemperature)) state.t = *t;
    for (int k = 0; k < kLayerCount; ++k) {
        const LiningLayer& layer = input.layers[k];
        if (const auto stored = parseConductivityText(layer.conductivity))
            state.stored[k] = *stored;
        if (const auto mm = wholeNumber(layer.thickness)) state.d[k] = *mm / 1000;
    }
}

void computeResistances(LiningState& state) {
    for (int k = 0; k < kLayerCount; ++k) {
        const std::optional<double> lambda = state.stored[k].at(state.t);
        if (!lambda || *lambda == 0) continue;
        const double r = std::trunc(1000 * (state.d[k] / *lambda)) / 1000;
        if (std::isfinite(r)) state.r[k] = r;
    }
}

}  // namespace

ChartOutcome runChartMethod(const HeatInput& input, const LiningState& previous) {
    ChartOutcome out{previous, {}, {}};
    if (input.location == SurfaceLocation::None) out.messages.push_back(noLocationMessage());
    const std::optional<double> t = wholeNumber(input.innerTemperature);
    if (!t || *t == 0) out.messages.push_back(noInnerTemperatureMessage());

    LiningState& state = out.state;
    readInputs(input, state);
    computeResistances(state);
    double sumR = 0;
    for (double r : state.r) sumR += r;

    HeatLossResult& result = out.result;
    if (const auto reading = readChart(input.location, sumR, state.t)) {
        result.q = reading->q;
        result.tOut = reading->tOut;
    }
    double ti = state.t;
    for (int k = 0; k < kLayerCount - 1; ++k) {
        ti -= result.q * state.r[k];
        result.interfaces[k] = ti;
    }
    return out;
}

}  // namespace heat
