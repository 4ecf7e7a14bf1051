#include "heat/heat_texts.h"

#include <cmath>
#include <optional>

#include "ui/number_text.h"

namespace heat {
namespace {

ui::Message warning(std::string text) { return {"出错信息提示：", std::move(text)}; }

// The inner temperatures the design charts are drawn for, °C.
int chartLow(SurfaceLocation location) { return location == SurfaceLocation::Wall ? 200 : 300; }
int chartHigh(SurfaceLocation location) { return location == SurfaceLocation::Wall ? 1400 : 1500; }

// "200-1400"; nothing for None.
std::optional<std::string> chartRange(SurfaceLocation location) {
    if (location == SurfaceLocation::None) return std::nullopt;
    return std::to_string(chartLow(location)) + "-" + std::to_string(chartHigh(location));
}

}  // namespace

ui::Message noLocationMessage() { return warning("请选择传热计算的部位"); }
ui::Message noInnerTemperatureMessage() { return warning("请输入炉内温度"); }
ui::Message notConvergedMessage() { return warning("迭代未收敛"); }

ui::Message missingAirRowMessage(int nominal) {
    return warning("空气物性表中没有温度为 " + std::to_string(nominal) +
                   " ℃ 的数据，精确理论修正计算未进行");
}

std::string layerName(int layer) {
    static const char* const kNames[kLayerCount] = {"内层保温", "二层保温", "三层保温",
                                                    "四层保温", "五层保温", "六层保温"};
    return kNames[layer];
}

ui::Message noCalculationYetMessage() {
    return {"提示信息", "请先进行传热计算，温降图显示最近一次计算的结果"};
}

const std::string& methodHelpText() {
    static const std::string text =
        "传热计算帮助\n"
        "\n"
        "本窗口计算最多六层保温的炉衬（炉墙、炉顶、炉底）的散热量、外表温度和各层间温度，\n"
        "有三种方法：粗略查图表计算、精确理论修正计算和标准计算。\n"
        "\n"
        "输入\n"
        "  选择计算部位：炉墙、炉顶或炉底。\n"
        "  炉内表面温度：℃。图表适用范围：炉墙 200-1400 ℃，炉顶和炉底 300-1500 ℃；\n"
        "    超出范围不拒绝，但结果只是外推。\n"
        "  选择环境温度：0-200 ℃，用于精确理论修正计算和标准计算。\n"
        "  发射率 ε、墙高 H、特征长度 L：只用于标准计算。\n"
        "  各层保温：由内向外。先按“加载数据库”，再在各层的列表中选择材料；厚度以毫米输入，\n"
        "    不用的层厚度填 0。\n"
        "  导热系数单位为 千卡/(米·时·℃)，写法有四种：\n"
        "    A+B*t   线性，λ = A + B×0.001×t，例如 0.72+0.50*t\n"
        "    <X      上限值，取 X，例如 <0.05\n"
        "    X-Y     范围，取上限 Y，例如 0.02-0.03\n"
        "    X       定值，例如 0.06\n"
        "\n"
        "粗略查图表计算\n"
        "  各层热阻 R = 厚度(米) / 导热系数，线性导热系数按炉内表面温度取值，R 截取到\n"
        "  0.001；按总热阻 ΣR 在该部位的设计图表中查出散热量 q 和外表温度，层间温度由\n"
        "  q 和各层热阻依次求出。ΣR 为 0 时无图表可查，散热量为 0，外表温度不显示。\n"
        "\n"
        "精确理论修正计算\n"
        "  先做图表计算；对炉墙再按自然对流反复修正外表温度：由膜温查空气物性表\n"
        "  （热导率、运动粘度、普朗特准数），GrPr < 10^9 时 Nu = 0.59·(GrPr)^(1/4)，\n"
        "  否则 Nu = 0.12·(GrPr)^(1/3)，表面换热系数 α = Nu·λ空气；\n"
        "  q = (炉内温度 - 环境温度) / (Σ 厚度/导热系数 + 1/α)。\n"
        "  外表温度两次相差小于 5 ℃ 时结束，最多 100 次，未收敛时提示“迭代未收敛”。\n"
        "  温度取整到 1 ℃。炉顶和炉底只显示图表计算的结果。\n"
        "\n"
        "标准计算\n"
        "  各层导热系数按该层的平均温度取值（线性导热系数即精确积分），各层联立求出\n"
        "  同一散热量。外表面散热为自然对流加辐射：炉墙按 Churchill–Chu 公式，特征长度\n"
        "  为墙高 H（默认 3 米）；炉顶（热面朝上）Ra < 10^7 时 Nu = 0.54·Ra^(1/4)，否则\n"
        "  Nu = 0.15·Ra^(1/3)；炉底（热面朝下）Nu = 0.27·Ra^(1/4)，特征长度 L（默认 2 米）；\n"
        "  空气物性按膜温在空气物性表中插值。辐射 h_r = ε·σ·(Ts^4 - Ta^4)/(Ts - Ta)，\n"
        "  发射率 ε 默认 0.8。外表温度迭代到相差小于 0.01 ℃。\n"
        "  显示层间温度、外表温度、散热量（千卡/米2*时 和 W/m²）、对流和辐射换热系数及\n"
        "  辐射份额，下方表格并列三种方法对同一炉衬的结果。某层热面温度高于该材料的\n"
        "  最高使用温度时，该层标红，提示中给出两个温度。\n"
        "\n"
        "选用\n"
        "  方案估算用粗略查图表计算；精确理论修正计算保留原有算法，供与旧结果对照；\n"
        "  核算外壳温度、材料使用温度或需要签字的计算用标准计算。\n"
        "\n"
        "单位\n"
        "  温度 ℃，厚度 毫米，导热系数 千卡/(米·时·℃)，散热量 千卡/米2*时\n"
        "  （1 千卡/米2*时 = 1.163 瓦/米2）。\n"
        "\n"
        "温降图：最近一次计算中温度随深度（毫米）的变化，每层一段。\n"
        "添加数据库：向材料表添加一种保温材料（名称不可重复）。\n";
    return text;
}

const std::array<std::string, 3>& locationNames() {
    static const std::array<std::string, 3> names{"炉墙", "炉顶", "炉底"};
    return names;
}

std::string chartRangeWarning(SurfaceLocation location, double t) {
    const std::optional<std::string> range = chartRange(location);
    if (!range || (t >= chartLow(location) && t <= chartHigh(location))) return {};
    std::string shown = ui::shortestText(t);
    if (!shown.empty() && shown.front() == ' ') shown.erase(0, 1);
    return "炉内温度 " + shown + " ℃ 超出图表范围 " + *range + " ℃，结果为外推值";
}

std::string rangeNote(SurfaceLocation location) {
    const std::optional<std::string> range = chartRange(location);
    return range ? "炉内温度取值范围" + *range : std::string();
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
