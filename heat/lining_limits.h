// The limits within which a window's texts can describe a furnace lining at all, held by
// all three methods of the heat-loss calculation: temperatures from absolute zero to
// 5000 °C, thicknesses of at least 0 mm, every number finite. Input outside them is
// refused with a message and no result, as a chart extrapolated to 1e308 °C or a layer
// of negative thickness would only give numbers that are no heat loss.
//
// A text is judged by the number the fields' reading rule takes from its start
// (ui::readNumber), so that a number too large for a double counts as out of range.
// Text without a number reads as 0 and is left to each method's own rule for letters.
#pragma once

#include <string>
#include <vector>

#include "heat/lining.h"
#include "ui/message.h"

namespace heat {

constexpr double kAbsoluteZero = -273.15;       // °C
constexpr double kMaxLiningTemperature = 5000;  // °C

// The refusals for `input`, titled "出错信息提示：", in the order of the fields: the inner
// temperature, the ambient when `ambientUsed`, then each layer's thickness. Empty when
// the lining can be calculated.
std::vector<ui::Message> liningOutOfLimits(const HeatInput& input, bool ambientUsed);

// "<layer name>厚度应为不小于 0 的数值（毫米）：“TEXT”", layer 0 being the innermost.
ui::Message thicknessRefusal(int layer, const std::string& text);

}  // namespace heat
