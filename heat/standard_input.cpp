#include "heat/standard_input.h"

#include "heat/heat_texts.h"
#include "heat/lining_limits.h"
#include "heat/surface_coefficients.h"

namespace heat {
namespace {

ui::Message warning(std::string text) { return {"出错信息提示：", std::move(text)}; }

std::optional<double> within(const std::string& text, double lo, double hi) {
    const std::optional<double> value = wholeNumber(text);
    if (!value || *value < lo || *value > hi) return std::nullopt;
    return value;
}

// λ(t) = a + b·t in W/(m·K) from a conductivity text; nothing when the text is not one
// of the four forms.
std::optional<ConductingLayer> conductivity(const std::string& text) {
    const std::optional<StoredConductivity> stored = parseConductivityText(text);
    if (!stored) return std::nullopt;
    const std::optional<double> at0 = stored->at(0), at1000 = stored->at(1000);
    if (!at0 || !at1000) return std::nullopt;
    return ConductingLayer{0, *at0 * kWattsPerKcalHour,
                           (*at1000 - *at0) / 1000 * kWattsPerKcalHour};
}

void checkLayers(const StandardInput& input, CheckedInput& out, bool temperaturesKnown,
                 std::vector<ui::Message>& problems) {
    for (int k = 0; k < kLayerCount; ++k) {
        const LiningLayer& layer = input.lining.layers[k];
        const std::string name = layerName(k);
        const std::optional<double> mm = wholeNumber(layer.thickness);
        if (!mm || *mm < 0) {
            problems.push_back(thicknessRefusal(k, layer.thickness));
            continue;
        }
        if (*mm == 0) continue;
        std::optional<ConductingLayer> lambda = conductivity(layer.conductivity);
        if (!lambda) {
            problems.push_back(warning(name + "导热系数“" + layer.conductivity + "”无法识别"));
            continue;
        }
        const auto positiveAt = [&](double t) { return lambda->a + lambda->b * t > 0; };
        if (temperaturesKnown && !(positiveAt(out.ta) && positiveAt(out.t))) {
            problems.push_back(warning(name + "导热系数“" + layer.conductivity +
                                       "”在环境温度与炉内温度之间不全为正"));
            continue;
        }
        lambda->thickness = *mm / 1000;
        out.layers[k] = *lambda;
    }
}

}  // namespace

std::optional<CheckedInput> checkStandardInput(const StandardInput& input,
                                               std::vector<ui::Message>& problems) {
    const size_t before = problems.size();
    CheckedInput out;
    out.location = input.lining.location;
    out.fixedCoefficient = input.fixedCoefficient;
    if (out.location == SurfaceLocation::None) problems.push_back(noLocationMessage());

    const std::optional<double> t = wholeNumber(input.lining.innerTemperature);
    const std::optional<double> ta = within(input.lining.ambient, -50, 200);
    if (!t) problems.push_back(noInnerTemperatureMessage());
    if (!ta) problems.push_back(warning("环境温度应为 -50 到 200 ℃ 之间的数值"));
    const bool temperaturesKnown = t && ta && *t > *ta && *t <= kMaxInnerTemperature;
    if (t && ta && !temperaturesKnown)
        problems.push_back(warning("炉内表面温度应高于环境温度，且不超过 3000 ℃"));
    out.t = t.value_or(0);
    out.ta = ta.value_or(0);

    const std::optional<double> emissivity = within(input.emissivity, 0, 1);
    if (!emissivity) problems.push_back(warning("发射率应为 0 到 1 之间的数值"));
    out.emissivity = emissivity.value_or(0);
    const bool wall = out.location == SurfaceLocation::Wall;
    const std::optional<double> length =
        within(wall ? input.height : input.length, 0, kMaxSurfaceLength);
    if (out.location != SurfaceLocation::None && !(length && *length > 0))
        problems.push_back(warning(wall ? "墙高应为大于 0、不超过 100 米的数值"
                                        : "特征长度应为大于 0、不超过 100 米的数值"));
    out.length = length.value_or(0);

    checkLayers(input, out, temperaturesKnown, problems);
    if (problems.size() != before) return std::nullopt;
    return out;
}

}  // namespace heat
