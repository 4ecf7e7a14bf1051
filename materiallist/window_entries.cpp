#include "materiallist/window_entries.h"

#include "catalogue/catalogue.h"

namespace materiallist {

WindowEntries::WindowEntries()
    : rows{{{false, "长度：", {}}, {false, "宽度：", {}}, {false, "厚度：", {}}}} {}

void selectSteelType(WindowEntries& e, int index) {
    e.steelType = index;
    const TypeRows layout = rowsForType(index);
    if (!layout.changesRows) return;
    e.visibleList = layout.list;
    for (std::size_t r = 0; r < e.rows.size(); ++r) {
        e.rows[r].visible = layout.rows[r].visible;
        if (layout.rows[r].visible) e.rows[r].caption = std::string(layout.rows[r].caption);
    }
    e.boltHoleRows = layout.boltHoles;
}

void applyFill(WindowEntries& e, const FillResult& fill) {
    for (std::size_t r = 0; r < e.rows.size(); ++r) e.rows[r].text = fill.texts[r];
    e.quantity = fill.quantity;
    if (!fill.filled) return;
    selectSteelType(e, fill.steelType);
    e.visibleList = fill.list;
    if (fill.listIndex && fill.list >= 0)
        e.listSelection[static_cast<std::size_t>(fill.list)] = *fill.listIndex;
    for (std::size_t r = 0; r < e.rows.size(); ++r) {
        e.rows[r].visible = fill.rows[r].visible;
        if (!fill.rows[r].caption.empty()) e.rows[r].caption = std::string(fill.rows[r].caption);
    }
    e.boltHoleRows = false;
    e.materialIndex = fill.materialIndex;
}

WeightInputs weightInputs(const WindowEntries& e) {
    WeightInputs in;
    in.steelType = e.steelType;
    const int list = sectionListOfType(e.steelType);
    in.listIndex = list >= 0 ? e.listSelection[static_cast<std::size_t>(list)] : -1;
    in.materialIndex = e.materialIndex;
    in.text1 = e.rows[0].text;
    in.text2 = e.rows[1].text;
    in.text3 = e.rows[2].text;
    in.quantity = e.quantity;
    in.holeDiameter = e.holeDiameter;
    in.holeCount = e.holeCount;
    return in;
}

ui::OptionalMessage calculate(WindowEntries& e) {
    WeightResult r = calculateWeight(weightInputs(e), e.state);
    if (r.written) {
        e.unitText = std::move(r.unitText);
        e.totalText = std::move(r.totalText);
        e.state = r.state;
    }
    return std::move(r.message);
}

std::string_view selectedItemText(const WindowEntries& e) {
    if (e.visibleList < 0 || e.visibleList >= kTypeListCount) return {};
    const int index = e.listSelection[static_cast<std::size_t>(e.visibleList)];
    const auto texts = listTexts(e.visibleList);
    return index >= 0 && index < static_cast<int>(texts.size())
               ? texts[static_cast<std::size_t>(index)]
               : std::string_view();
}

std::string_view materialText(const WindowEntries& e) {
    const auto grades = catalogue::materialGradeTexts();
    return e.materialIndex >= 0 && e.materialIndex < static_cast<int>(grades.size())
               ? grades[static_cast<std::size_t>(e.materialIndex)]
               : std::string_view();
}

}  // namespace materiallist
