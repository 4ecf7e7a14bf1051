// The chart method (粗略查图表计算): the total thermal resistance of the lining picks a
// band of the location's design chart, which gives q and t_out from T; the interface
// temperatures follow from q and the layers' resistances.
//
// Every layer's conductivity is taken at the inner surface temperature T. Each R_k =
// d_k / λ_k is truncated towards zero to 0.001. A missing location and a zero or
// non-numeric T give a message each (title "出错信息提示：") and the calculation goes
// on. A text that is not a number leaves the value it would have set as the previous
// calculation left it (zero before the first): T, a thickness, a stored conductivity,
// or a resistance whose conductivity is not a number or is 0.
//
// Input outside the limits of lining_limits.h (T outside -273.15 … 5000 °C, a negative
// thickness, a number too large) is refused: the messages, no result, and the kept
// values stay as they were.
#pragma once

#include <vector>

#include "heat/lining.h"
#include "ui/message.h"

namespace heat {

struct ChartOutcome {
    LiningState state;                     // to keep for the next calculation
    std::optional<HeatLossResult> result;  // nothing when the input was refused
    std::vector<ui::Message> messages;     // in the order they are shown
};

ChartOutcome runChartMethod(const HeatInput& input, const LiningState& previous);

// The outcome for input outside the limits, `ambientUsed` by the method: the location
// message where none is chosen, then the refusals; nothing when the input is within.
std::optional<ChartOutcome> refusedLining(const HeatInput& input, const LiningState& previous,
                                          bool ambientUsed);

}  // namespace heat
