#include "heat/chart_method.h"

#include <cmath>

#include "heat/heat_texts.h"
#include "heat/lining_limits.h"

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

std::optional<ChartOutcome> refusedLining(const HeatInput& input, const LiningState& previous,
                                          bool ambientUsed) {
    std::vector<ui::Message> refusals = liningOutOfLimits(input, ambientUsed);
    if (refusals.empty()) return std::nullopt;
    ChartOutcome out{previous, std::nullopt, {}};
    if (input.location == SurfaceLocation::None) out.messages.push_back(noLocationMessage());
    out.messages.insert(out.messages.end(), refusals.begin(), refusals.end());
    return out;
}

ChartOutcome runChartMethod(const HeatInput& input, const LiningState& previous) {
    if (std::optional<ChartOutcome> refused = refusedLining(input, previous, false))
        return *refused;
    ChartOutcome out{previous, HeatLossResult{}, {}};
    if (input.location == SurfaceLocation::None) out.messages.push_back(noLocationMessage());
    const std::optional<double> t = wholeNumber(input.innerTemperature);
    if (!t || *t == 0) out.messages.push_back(noInnerTemperatureMessage());

    LiningState& state = out.state;
    readInputs(input, state);
    computeResistances(state);
    double sumR = 0;
    for (double r : state.r) sumR += r;

    HeatLossResult& result = *out.result;
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
