// The fixed texts of the lining heat-loss calculation and the way its results are
// written into the window's fields (and printed by the command line). Texts are UTF-8.
#pragma once

#include <array>
#include <string>

#include "heat/lining.h"
#include "ui/message.h"

namespace heat {

// Titled "出错信息提示：", like every warning of the calculation.
ui::Message noLocationMessage();          // "请选择传热计算的部位"
ui::Message noInnerTemperatureMessage();  // "请输入炉内温度"
ui::Message notConvergedMessage();        // "迭代未收敛"
ui::Message missingAirRowMessage(int nominal);

// "内层保温", "二层保温" … "六层保温" for layers 0 … 5.
std::string layerName(int layer);

// Titled "提示信息": 温降图 before any calculation.
ui::Message noCalculationYetMessage();

// The text 帮助 shows: the three methods, their ranges and units, and when to use which.
const std::string& methodHelpText();

// "炉墙", "炉顶", "炉底" in list order.
const std::array<std::string, 3>& locationNames();
// The range note for a chosen location: "炉内温度取值范围200-1400" for a wall,
// "炉内温度取值范围300-1500" for roof and bottom; empty for None.
std::string rangeNote(SurfaceLocation location);

// Beside the results of the chart and convection methods when T lies outside the range
// the charts are drawn for: "炉内温度 1600 ℃ 超出图表范围 200-1400 ℃，结果为外推值";
// empty inside the range and for None.
std::string chartRangeWarning(SurfaceLocation location, double t);

// The result fields' texts.
struct ShownResults {
    std::array<std::string, kLayerCount - 1> interfaces;  // t12 … t56
    std::string tOut, q;
    std::string qc, iterations;  // empty unless refined
};

// Chart method: every value in its shortest text; t_out empty when no band applied.
// A refined result (qc present): temperatures truncated to whole degrees, q and q_c
// in their shortest text, and the number of iterations.
ShownResults shownResults(const HeatLossResult& result);

}  // namespace heat
