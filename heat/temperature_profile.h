// The temperature drop through the lining after a calculation, for the 温降图 chart:
// one straight segment per layer that has a thickness, from the inner surface (depth 0,
// temperature T) to the outer surface, depths in mm.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "heat/lining.h"

namespace heat {

struct ProfileSegment {
    std::string name;                               // the layer's material name
    double fromDepth = 0, toDepth = 0;              // mm from the inner surface
    double fromTemperature = 0, toTemperature = 0;  // °C
};

// Layer k runs from the temperature before it (T, t12, …) to the one after it; the
// last layer with a thickness ends at the outer-surface temperature when there is one.
std::vector<ProfileSegment> temperatureProfile(const LiningState& state,
                                               const HeatLossResult& result,
                                               const std::array<std::string, kLayerCount>& names);

}  // namespace heat
