// How the standard method's result is written into the window's fields and printed by
// the command line, the warnings for layers run above their service limit, and the table
// that shows the three methods side by side for one lining. Texts are UTF-8.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "heat/lining.h"
#include "heat/standard_method.h"

namespace heat {

// Fixed decimals with "." whatever the locale: temperatures and q to 0.1, h_c and h_r to
// 0.01, the radiation share in per cent to 0.1 ("57.3%").
struct ShownStandard {
    std::array<std::string, kLayerCount - 1> interfaces;  // t12 … t56
    std::string tOut, q, qW, hc, hr, radiationShare, iterations;
};

ShownStandard shownStandardResults(const StandardResult& result);

// The temperature at the hot face of each layer (T for the inner layer, the interface
// temperature in front of it for the others) and whether the layer has a thickness.
struct LayerFaces {
    std::array<double, kLayerCount> hot{};
    std::array<bool, kLayerCount> present{};
};

// As the standard method found them.
LayerFaces layerFaces(const StandardResult& result);
// As the chart or the convection method found them, with the T and thicknesses the
// calculation read.
LayerFaces layerFaces(const LiningState& state, const HeatLossResult& result);

// For each layer with a thickness whose hot face is hotter than its 最高使用温度 (the
// material's number, as the window shows it), the warning "热面温度 X ℃ 高于最高使用温度
// Y ℃"; empty for every other layer, and for a limit that is not a number.
std::array<std::string, kLayerCount> serviceLimitWarnings(
    const LayerFaces& faces, const std::array<std::string, kLayerCount>& maxTemperatures);

// The table: one row per quantity (caption with its unit), one column per method in
// button order. The chart column has no h_c, h_r or share; the convection column is
// empty unless its refinement ran (a wall); interface rows stop at the last layer that
// has a thickness. Every number to the decimals of ShownStandard.
struct MethodComparison {
    std::vector<std::string> rows;
    std::array<std::vector<std::string>, 3> columns;
};

// "粗略查图表计算", "精确理论修正计算", "标准计算".
const std::array<std::string, 3>& methodNames();

MethodComparison compareMethods(const HeatLossResult& chart, const HeatLossResult& convection,
                                const StandardResult& standard);

}  // namespace heat
