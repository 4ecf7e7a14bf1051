// Smart fill: one free-text item description with English keywords ("L63x40x5-6000",
// "pipe 89x4.5---3000", "HW250x250x9x14 6000", "bolt M20---80") turned into the entries
// of the main window: the steel type, the type's list and its selection, the three
// dimension rows and the quantity. It does not calculate.
//
// How the main window applies a FillResult, in this order:
//   1. set Text1, Text2, Text3 to `texts` and Text4 (quantity) to `quantity`; this
//      happens whatever else follows, so a failed fill leaves them as the result says;
//   2. if `filled`: select `steelType` in the steel type list and run the usual
//      type-change handling (rowsForType), then show only `list` among the seven
//      type-specific lists, select `listIndex` in it when there is one, apply `rows`
//      (visibility of label and field; a non-empty caption is set on the label whether
//      the row is shown or hidden, an empty one leaves the label alone), hide both
//      bolt-hole rows and select `materialIndex` in the section material list;
//   3. show `message` (title "出错信息！") if there is one.
// The bolt-hole fields and the result fields are never touched.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "materiallist/steel_type_rows.h"
#include "ui/message.h"

namespace materiallist {

struct FillResult {
    std::array<std::string, 3> texts;  // Text1-Text3: the numbers as written, or empty
    std::string quantity;              // Text4: always emptied
    bool filled = false;               // a steel type was chosen; the fields below apply
    int steelType = -1;                // 0-13 (never 8 方钢 or 9 法兰)
    int list = -1;                     // the one type-specific list to show (0-6), -1: none
    // The designation found in the list (the last row when none contains the search
    // text); none for the plate and pipe lists, whose selection is left as it is.
    std::optional<int> listIndex;
    std::array<RowLayout, 3> rows;  // visibility and captions after the type change
    int materialIndex = 1;          // "Q235-A"
    ui::OptionalMessage message;    // M1-M7, title "出错信息！"
};

// Fills from `description` (the clipboard text, taken as it is: nothing is trimmed and
// a leading blank counts). Any byte sequence is accepted; more than ten numbers, or a
// number with no digit or with two points, gives message M7.
FillResult smartFill(std::string_view description);

}  // namespace materiallist
