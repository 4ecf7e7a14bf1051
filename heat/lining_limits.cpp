#include "heat/lining_limits.h"

#include <cmath>

#include "heat/heat_texts.h"
#include "ui/number_text.h"

namespace heat {
namespace {

bool temperatureWithin(const std::string& text) {
    const double t = ui::readNumber(text);
    return t >= kAbsoluteZero && t <= kMaxLiningTemperature;
}

ui::Message temperatureRefusal(const std::string& field, const std::string& text) {
    return {"出错信息提示：", field + "应在 -273.15 到 5000 ℃ 之间：“" + text + "”"};
}

}  // namespace

ui::Message thicknessRefusal(int layer, const std::string& text) {
    return {"出错信息提示：", layerName(layer) + "厚度应为不小于 0 的数值（毫米）：“" + text + "”"};
}

std::vector<ui::Message> liningOutOfLimits(const HeatInput& input, bool ambientUsed) {
    std::vector<ui::Message> refusals;
    if (!temperatureWithin(input.innerTemperature))
        refusals.push_back(temperatureRefusal("炉内表面温度", input.innerTemperature));
    if (ambientUsed && !temperatureWithin(input.ambient))
        refusals.push_back(temperatureRefusal("环境温度", input.ambient));
    for (int k = 0; k < kLayerCount; ++k) {
        const double mm = ui::readNumber(input.layers[k].thickness);
        if (!(mm >= 0 && std::isfinite(mm)))
            refusals.push_back(thicknessRefusal(k, input.layers[k].thickness));
    }
    return refusals;
}

}  // namespace heat
