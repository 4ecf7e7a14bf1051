#include "heat/standard_texts.h"

#include <charconv>
#include <cmath>

#include "heat/conductivity_text.h"
#include "heat/surface_coefficients.h"

namespace heat {
namespace {

// Rounded half away from zero as the scaled value reads (55.55 gives 55.6, as the
// program's other one-decimal displays do), then written by std::to_chars, which does
// not follow the locale that Qt sets from the environment.
std::string fixed(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    value = std::round(value * scale) / scale;
    if (value == 0) value = 0;  // no "-0.0"
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, end.ptr);
}

std::string tenth(double value) { return fixed(value, 1); }
std::string hundredth(double value) { return fixed(value, 2); }
std::string percent(double share) { return fixed(100 * share, 1) + "%"; }

const char* const kInterfaceRows[kLayerCount - 1] = {
    "1-2层间温度 ℃", "2-3层间温度 ℃", "3-4层间温度 ℃", "4-5层间温度 ℃", "5-6层间温度 ℃"};

int interfaceRows(const StandardResult& standard) {
    int last = 0;
    for (int k = 0; k < kLayerCount; ++k)
        if (standard.present[k]) last = k;
    return last;
}

std::vector<std::string> column(const HeatLossResult& r, int interfaces) {
    std::vector<std::string> cells = {r.tOut ? tenth(*r.tOut) : "", tenth(r.q),
                                      tenth(r.q * kWattsPerKcalHour)};
    for (int k = 0; k < interfaces; ++k) cells.push_back(tenth(r.interfaces[k]));
    cells.resize(cells.size() + 3);  // h_c, h_r, share: the chart and convection have none
    return cells;
}

}  // namespace

ShownStandard shownStandardResults(const StandardResult& result) {
    ShownStandard shown;
    for (int k = 0; k < kLayerCount - 1; ++k) shown.interfaces[k] = tenth(result.coldFaces[k]);
    shown.tOut = tenth(result.tOut());
    shown.q = tenth(result.qKcal());
    shown.qW = tenth(result.q);
    shown.hc = hundredth(result.hc);
    shown.hr = hundredth(result.hr);
    shown.radiationShare = percent(result.radiationShare());
    shown.iterations = std::to_string(result.iterations);
    return shown;
}

LayerFaces layerFaces(const StandardResult& result) {
    LayerFaces faces;
    for (int k = 0; k < kLayerCount; ++k) faces.hot[k] = result.hotFace(k);
    faces.present = result.present;
    return faces;
}

LayerFaces layerFaces(const LiningState& state, const HeatLossResult& result) {
    LayerFaces faces;
    for (int k = 0; k < kLayerCount; ++k) {
        faces.hot[k] = k == 0 ? state.t : result.interfaces[k - 1];
        faces.present[k] = state.d[k] > 0;
    }
    return faces;
}

std::array<std::string, kLayerCount> serviceLimitWarnings(
    const LayerFaces& faces, const std::array<std::string, kLayerCount>& maxTemperatures) {
    std::array<std::string, kLayerCount> warnings;
    for (int k = 0; k < kLayerCount; ++k) {
        const std::optional<double> limit = wholeNumber(maxTemperatures[k]);
        if (!faces.present[k] || !limit || !(faces.hot[k] > *limit)) continue;
        warnings[k] =
            "热面温度 " + tenth(faces.hot[k]) + " ℃ 高于最高使用温度 " + maxTemperatures[k] + " ℃";
    }
    return warnings;
}

const std::array<std::string, 3>& methodNames() {
    static const std::array<std::string, 3> names{"粗略查图表计算", "精确理论修正计算", "标准计算"};
    return names;
}

MethodComparison compareMethods(const HeatLossResult& chart, const HeatLossResult& convection,
                                const StandardResult& standard) {
    const int interfaces = interfaceRows(standard);
    MethodComparison table;
    table.rows = {"外表温度 ℃", "散热量 千卡/米2*时", "散热量 W/m²"};
    for (int k = 0; k < interfaces; ++k) table.rows.push_back(kInterfaceRows[k]);
    for (const char* row : {"对流换热系数 h_c W/(m²·K)", "辐射换热系数 h_r W/(m²·K)", "辐射份额"})
        table.rows.push_back(row);

    table.columns[0] = column(chart, interfaces);
    table.columns[1] = convection.qc ? column(convection, interfaces)
                                     : std::vector<std::string>(table.rows.size());
    const ShownStandard shown = shownStandardResults(standard);
    std::vector<std::string>& own = table.columns[2];
    own = {shown.tOut, shown.q, shown.qW};
    for (int k = 0; k < interfaces; ++k) own.push_back(shown.interfaces[k]);
    for (const std::string& cell : {shown.hc, shown.hr, shown.radiationShare}) own.push_back(cell);
    return table;
}

}  // namespace heat
