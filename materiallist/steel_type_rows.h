// What the main window shows for each steel type: the one type-specific list, the
// three dimension rows with their captions, and the bolt-hole rows.
//
// Types 0-10 follow the window's fixed table. Nuts, washers and cotter pins show every
// row their calculation reads, captioned as smart fill captions them: nut one row
// "规格", cotter pin "规格" and "长度", washer "规格", "内径" and "厚度" (the size
// alone is a standard washer; with an inner diameter the first row is the outer
// diameter of a non-standard one). Smart fill itself shows a washer it fills as
// standard with one row and a non-standard one as "外径", "内径", "厚度".
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace materiallist {

struct RowLayout {
    bool visible = false;
    std::string_view caption;  // set on the row's label when the row is shown
};

struct TypeRows {
    bool changesRows = false;  // false: the rows stay as the previous type left them
    int list = -1;             // 0 钢板, 1 Combo2 … 6 Combo7; -1 none
    std::array<RowLayout, 3> rows;
    bool boltHoles = false;
};

// The layout for steel type `typeIndex` (0-13); any other index changes nothing.
TypeRows rowsForType(int typeIndex);

// The seven type-specific lists that share one place beside the steel type list,
// numbered as TypeRows::list: 0 钢板 (plate materials), 1 Combo2 (pipe materials),
// 2-6 Combo3-Combo7 (channel, I-beam, H-beam, equal-angle, unequal-angle designations).
constexpr int kTypeListCount = 7;

// The object name of list 0-6 ("钢板", "Combo2" … "Combo7"); "none" for any other.
std::string_view listObjectName(int list);

// The entries of list 0-6 as the main window loads them; empty for any other.
// The span points into the catalogue and lives as long as the program.
std::span<const std::string_view> listTexts(int list);

// The list that holds the designations of steel type 2-6; -1 for any other type.
int sectionListOfType(int steelTypeIndex);

}  // namespace materiallist
