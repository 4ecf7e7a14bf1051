// What the main window shows for each steel type: the one type-specific list, the
// three dimension rows with their captions, and the bolt-hole rows.
//
// Types 0-10 follow the window's fixed table. Nuts, washers and cotter pins show the
// layout that smart fill gives their standard sizes: nut and washer one row "规格",
// cotter pin "规格" and "长度". (Smart fill itself switches a washer to the three rows
// "外径", "内径", "厚度" when a non-standard washer is described.)
#pragma once

#include <array>
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

}  // namespace materiallist
