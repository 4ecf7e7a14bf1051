#include "heat/temperature_profile.h"

namespace heat {

std::vector<ProfileSegment> temperatureProfile(const LiningState& state,
                                               const HeatLossResult& result,
                                               const std::array<std::string, kLayerCount>& names) {
    std::array<double, kLayerCount + 1> boundary{};
    boundary[0] = state.t;
    for (int k = 0; k < kLayerCount - 1; ++k) boundary[k + 1] = result.interfaces[k];
    boundary[kLayerCount] = result.tOut.value_or(boundary[kLayerCount - 1]);

    std::vector<ProfileSegment> segments;
    double depth = 0;
    for (int k = 0; k < kLayerCount; ++k) {
        if (!(state.d[k] > 0)) continue;
        const double next = depth + state.d[k] * 1000;
        segments.push_back({names[k], depth, next, boundary[k], boundary[k + 1]});
        depth = next;
    }
    if (!segments.empty() && result.tOut) segments.back().toTemperature = *result.tOut;
    return segments;
}

}  // namespace heat
