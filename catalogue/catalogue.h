// The compiled-in reference data of the material list: steel types, section materials
// with their densities, plate and pipe material names, the five rolled-section families
// with the mass per metre of every designation, and the four fastener size tables.
// Lists keep their exact order and texts: callers key them by list position.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace catalogue {

// Positions in the steel type list; calculations branch on these, never on the text.
enum class SteelType {
    Plate = 0,
    Pipe,
    Channel,
    IBeam,
    HBeam,
    EqualAngle,
    UnequalAngle,
    RoundBar,
    SquareBar,
    Flange,
    Bolt,
    Nut,
    Washer,
    CotterPin
};
constexpr int kSteelTypeCount = 14;

std::span<const std::string_view> steelTypeTexts();

// Section materials ("Q235", "Q235-A", "Q235-A.F", "OCr18Ni11Ti").
std::span<const std::string_view> materialGradeTexts();
constexpr int kDefaultMaterialGrade = 1;  // "Q235-A", selected at start-up

// Density in g/cm3 of grade `index` (0-3); none for any other index (-1: nothing selected).
std::optional<double> density(int index);

// "碳素钢Q235", "不锈钢": the lists shown for plates and pipes. No density attached.
std::span<const std::string_view> plateAndPipeMaterialTexts();

enum class SectionFamily { Channel = 0, IBeam, HBeam, EqualAngle, UnequalAngle };
constexpr int kSectionFamilyCount = 5;

struct SteelSection {
    std::string_view designation;
    float massPerMetre;  // kg/m, single precision as the tables hold it
};

// Rows in list order (41, 45, 84, 82 and 65 rows).
std::span<const SteelSection> sections(SectionFamily family);

// The designations alone, in the same order, for filling a selection list.
std::span<const std::string_view> designationTexts(SectionFamily family);

// The family of a rolled-section steel type (2-6), none for the others.
std::optional<SectionFamily> familyOfType(int steelTypeIndex);

enum class FastenerKind { Bolt, Nut, Washer, CotterPin };

// Bolt and cotter pin: kg per 100 mm of length; nut and washer: grams per piece.
// A size matches only when it equals a key exactly as a number; none when not listed.
std::optional<double> fastenerValue(FastenerKind kind, double size);

}  // namespace catalogue
