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
#pragma once

#include <vector>

#include "heat/lining.h"
#include "ui/message.h"

namespace heat {

struct ChartOutcome {
    LiningState state;  // to keep for the next calculation
    HeatLossResult result;
    std::vector<ui::Message> messages;  // in the order they are shown
};

ChartOutcome runChartMethod(const HeatInput& input, const LiningState& previous);

}  // namespace heat
