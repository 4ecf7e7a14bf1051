// Steel types, materials and fastener size tables.
#include "catalogue/catalogue.h"

#include <algorithm>
#include <array>

namespace catalogue {
namespace {

using namespace std::string_view_literals;

constexpr std::array kSteelTypes = {
    "钢板"sv, "钢管"sv, "槽钢"sv, "工字钢"sv, "H型钢"sv, "等边角铁"sv, "不等边角铁"sv,
    "圆钢"sv, "方钢"sv, "法兰"sv, "螺丝"sv,   "螺母"sv,  "垫片"sv,     "开口销"sv,
};
static_assert(kSteelTypes.size() == kSteelTypeCount);

constexpr std::array kGrades = {"Q235"sv, "Q235-A"sv, "Q235-A.F"sv, "OCr18Ni11Ti"sv};
constexpr std::array kDensities = {7.85, 7.85, 7.85, 7.9};

constexpr std::array kPlateAndPipeMaterials = {"碳素钢Q235"sv, "不锈钢"sv};

struct FastenerRow {
    double size;
    double value;
};

// kg per 100 mm of length.
constexpr FastenerRow kBolts[] = {
    {3, 0.005},  {4, 0.008},  {5, 0.013},  {6, 0.02},   {8, 0.037},  {10, 0.066}, {12, 0.094},
    {14, 0.132}, {16, 0.178}, {18, 0.229}, {20, 0.289}, {22, 0.366}, {24, 0.431}, {27, 0.569},
    {30, 0.722}, {36, 1.099}, {42, 1.611}, {48, 2.254}, {56, 3.224}, {64, 4.427},
};

// Grams per piece. The size 64 row holds less than the size 56 row; that is the table.
constexpr FastenerRow kNuts[] = {
    {1.6, 0.05}, {2, 0.09},   {2.5, 0.2},  {3, 0.27},   {4, 0.58},   {5, 1.05},
    {6, 1.95},   {8, 4.22},   {10, 7.94},  {12, 11.93}, {14, 18.89}, {16, 29},
    {18, 36.87}, {20, 51.55}, {22, 73.85}, {24, 88.8},  {27, 132.4}, {30, 184.4},
    {36, 317},   {42, 502.9}, {48, 744.4}, {56, 1091},  {64, 1053},
};

// Grams per piece.
constexpr FastenerRow kWashers[] = {
    {1.6, 0.02}, {2, 0.03},   {2.5, 0.08}, {3, 0.1},   {4, 0.28},  {5, 0.4},
    {6, 0.91},   {8, 1.68},   {10, 3.3},   {12, 5.86}, {14, 8.12}, {16, 10.66},
    {18, 14},    {20, 16.22}, {22, 22},    {24, 30.8}, {27, 38},   {30, 51.28},
    {36, 86.69}, {42, 183},   {48, 294},   {56, 425},  {64, 492},
};

// kg per 100 mm of length.
constexpr FastenerRow kCotterPins[] = {
    {0.6, 0.0002}, {0.8, 0.0004}, {1, 0.0007},   {1.2, 0.001}, {1.6, 0.0016},
    {2, 0.0033},   {2.5, 0.005},  {3.2, 0.0054}, {4, 0.01},    {5, 0.017},
    {6.3, 0.023},  {8, 0.041},    {10, 0.069},   {12, 0.105},
};

std::span<const FastenerRow> fastenerRows(FastenerKind kind) {
    switch (kind) {
        case FastenerKind::Bolt:
            return kBolts;
        case FastenerKind::Nut:
            return kNuts;
        case FastenerKind::Washer:
            return kWashers;
        case FastenerKind::CotterPin:
            return kCotterPins;
    }
    return {};
}

}  // namespace

std::span<const std::string_view> steelTypeTexts() { return kSteelTypes; }

std::span<const std::string_view> materialGradeTexts() { return kGrades; }

std::optional<double> density(int index) {
    if (index < 0 || index >= static_cast<int>(kDensities.size())) return std::nullopt;
    return kDensities[static_cast<std::size_t>(index)];
}

std::span<const std::string_view> plateAndPipeMaterialTexts() { return kPlateAndPipeMaterials; }

std::optional<SectionFamily> familyOfType(int steelTypeIndex) {
    if (steelTypeIndex < static_cast<int>(SteelType::Channel) ||
        steelTypeIndex > static_cast<int>(SteelType::UnequalAngle))
        return std::nullopt;
    return static_cast<SectionFamily>(steelTypeIndex - static_cast<int>(SteelType::Channel));
}

std::optional<double> fastenerValue(FastenerKind kind, double size) {
    // Exact equality on purpose: 20 and 20.0 read as the same double, 20.5 matches nothing.
    const auto rows = fastenerRows(kind);
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [size](const FastenerRow& row) { return row.size == size; });
    if (it == rows.end()) return std::nullopt;
    return it->value;
}

}  // namespace catalogue
