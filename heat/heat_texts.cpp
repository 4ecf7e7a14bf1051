#include "heat/heat_texts.h"

#include <cmath>

#include "ui/number_text.h"

namespace heat {
namespace {

ui::Message warning(std::string text) { return {"出错信息提示：", std::move(text)}; }

}  // namespace

ui::Message noLocationMessage() { return warning("请选择传热计算的部位"); }
ui::Message noInnerTemperatureMessage() { return warning("请输入炉内温度"); }
ui::Message notConvergedMessage() { return warning("迭代未收敛"); }

ui::Message missingAirRowMessage(int nominal) {
    return warning("空气物性表中没有温度为 " + std::to_string(nominal) +
                   " ℃ 的数据，精确理论修正计算未进行");
}

const std::array<std::string, 3>& locationNames() {
    static const std::array<std::string, 3> names{"炉墙", "炉顶", "炉底"};
    return names;
}

std::string rangeNote(SurfaceLocation location) {
    switch (location) {
        case SurfaceLocation::Wall:
            return "炉内温度取值范围200-1400";
        case SurfaceLocation::Roof:
        case SurfaceLocation::Bottom:
            return "炉内温度取值范围300-1500";
        case SurfaceLocation::None:
            break;
    }
    return {};
}

ShownResults shownResults(const HeatLossResult& result) {
    const bool refined = result.qc.has_value();
    auto temperature = [refined](double t) {
        return ui::shortestText(refined ? std::trunc(t) : t);
    };
    ShownResults shown;
    for (int k = 0; k < kLayerCount - 1; ++k)
        shown.interfaces[k] = temperature(result.interfaces[k]);
    if (result.tOut) shown.tOut = temperature(*result.tOut);
    shown.q = ui::shortestText(result.q);
    if (refined) {
        shown.qc = ui::shortestText(*result.qc);
        shown.iterations = std::to_string(result.iterations);
    }
    return shown;
}

}  // namespace heat
