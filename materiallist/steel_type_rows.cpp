#include "materiallist/steel_type_rows.h"

#include "catalogue/catalogue.h"

namespace materiallist {

TypeRows rowsForType(int typeIndex) {
    constexpr std::string_view kLength = "长度", kWidth = "宽度", kThickness = "厚度",
                               kOuter = "外径", kInner = "内径", kSide = "边长", kDiameter = "直径",
                               kSize = "规格";
    auto rows = [](int list, std::array<RowLayout, 3> r, bool boltHoles = false) {
        return TypeRows{true, list, r, boltHoles};
    };
    const RowLayout hidden{};
    switch (typeIndex) {
        case 0:
            return rows(0, {{{true, kLength}, {true, kWidth}, {true, kThickness}}});
        case 1:
            return rows(1, {{{true, kLength}, {true, kOuter}, {true, kThickness}}});
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
            return rows(typeIndex, {{{true, kLength}, hidden, hidden}});
        case 7:
            return rows(-1, {{{true, kLength}, {true, kOuter}, hidden}});
        case 8:
            return rows(-1, {{{true, kLength}, {true, kSide}, hidden}});
        case 9:
            return rows(-1, {{{true, kThickness}, {true, kOuter}, {true, kInner}}}, true);
        case 10:
            return rows(-1, {{{true, kDiameter}, {true, kLength}, hidden}});
        case 11:
            return rows(-1, {{{true, kSize}, hidden, hidden}});
        case 12:
            return rows(-1, {{{true, kSize}, {true, kInner}, {true, kThickness}}});
        case 13:
            return rows(-1, {{{true, kSize}, {true, kLength}, hidden}});
        default:
            return TypeRows{};
    }
}

std::string_view listObjectName(int list) {
    constexpr std::array<std::string_view, kTypeListCount> kNames = {
        "钢板", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6", "Combo7"};
    return list >= 0 && list < kTypeListCount ? kNames[static_cast<std::size_t>(list)] : "none";
}

std::span<const std::string_view> listTexts(int list) {
    if (list == 0 || list == 1) return catalogue::plateAndPipeMaterialTexts();
    if (list >= 2 && list < kTypeListCount)
        return catalogue::designationTexts(static_cast<catalogue::SectionFamily>(list - 2));
    return {};
}

int sectionListOfType(int steelTypeIndex) {
    const auto family = catalogue::familyOfType(steelTypeIndex);
    return family ? static_cast<int>(*family) + 2 : -1;
}

}  // namespace materiallist
