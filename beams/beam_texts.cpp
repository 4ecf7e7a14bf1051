#include "beams/beam_texts.h"

#include <algorithm>

#include "ui/number_text.h"

namespace beams {
namespace {

std::string num(int v) { return std::to_string(v); }

}  // namespace

std::string formName(BeamFamily family, int n) {
    return "Form" + num(family == BeamFamily::Row ? n : 20 + n);
}

std::string caption(BeamFamily family, int n) {
    return family == BeamFamily::Row ? "水冷梁为" + num(n) + "排时的计算"
                                     : "水冷梁立柱为" + num(n) + "根时的计算";
}

std::string title(BeamFamily family, int n) {
    return family == BeamFamily::Row ? caption(family, n)
                                     : "每排水冷梁立柱为" + num(n) + "根时的强度及受力计算";
}

std::string distanceLabel(int n, int k) {
    // Two windows carry their own wording for one label; the families share it.
    if (n == 4 && k == 4) return "4端水冷梁外悬的距离L4(cm)";
    if (n == 8 && k == 7) return "7.8水冷梁之间距的离L7(cm)";
    if (k == 0) return "1端水冷梁外悬距离L0(cm)";
    if (k == n) return num(n) + "端水冷梁外悬距离L" + num(n) + "(cm)";
    return num(k) + "." + num(k + 1) + "水冷梁之间的距离L" + num(k) + "(cm)";
}

std::string momentLabel(int k) { return "第" + num(k) + "个支点处的弯矩(kg.cm)"; }

std::string forceLabel(int k) { return "第" + num(k) + "个支点处支反力(kg)"; }

std::vector<std::string> inputLabels(BeamFamily family) {
    if (family == BeamFamily::Row) return {"板坯厚度(cm)", "板坯长度(cm)", "梁的跨距(cm)"};
    return {"第n排梁", "梁的长度(cm)", "梁的跨距(cm)", "附加自重(kg)"};
}

std::string resultHeading() { return "计算结果"; }

std::string rowLoadLabel() { return "计算负荷(kg)"; }

std::string lengthMessage(BeamFamily family, int n) {
    if (family == BeamFamily::Column && n == 2) return "请从新输入梁的长度";
    if (family == BeamFamily::Column && n == 8) return "请重新输入梁的长度！";
    return "请从新输入梁的长度!";
}

std::string resultPattern(BeamFamily family, int n) {
    return family == BeamFamily::Column && n == 6 ? "####0.0" : "###.0";
}

std::string rowCompareButton(int n) { return n == 5 || n == 9 ? "Command5" : "Command4"; }

std::string rowBackButton(int n) { return n == 9 ? "Command4" : "Command2"; }

const ChooserTexts& chooserTexts(BeamFamily family) {
    static const ChooserTexts rows{"Form1",
                                   "固定梁与活动梁的计算",
                                   "水冷梁的设计计算与强度校核计算",
                                   "水冷梁排数",
                                   {"2", "3", "4", "5", "6", "7", "8", "9", "10"},
                                   "结束"};
    static const ChooserTexts columns{"Form21",
                                      "固定梁与活动梁的计算",
                                      "水冷梁及立柱强度与受力计算",
                                      "水冷梁立柱根数",
                                      {" 2", " 3", "4", "5", "6", "7", "8", "9", "10", "11", "12"},
                                      "返回"};
    return family == BeamFamily::Row ? rows : columns;
}

std::vector<std::string> sortedAsText(std::vector<std::string> items) {
    std::stable_sort(items.begin(), items.end());
    return items;
}

std::optional<int> chosenCount(const std::string& item) {
    const double v = ui::readNumber(item);
    if (v >= 2 && v <= 9 && v == static_cast<int>(v)) return static_cast<int>(v);
    return std::nullopt;
}

}  // namespace beams
