// The entries of the main window `Tolvane` as plain values: what its lists and fields
// show and what it keeps between presses of 计算, without a display. The command line
// runs smart fill and the calculation on these exactly as the window does on its
// controls, and tests use them to follow a sequence of user actions.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "materiallist/smart_fill.h"
#include "materiallist/steel_type_rows.h"
#include "materiallist/weight.h"
#include "ui/message.h"

namespace materiallist {

struct DimensionRow {
    bool visible = false;
    std::string caption;  // the label's text
    std::string text;     // the field's text
};

struct WindowEntries {
    WindowEntries();  // as the freshly loaded window shows them

    int steelType = -1;    // Combo1, -1: nothing selected
    int visibleList = -1;  // the type-specific list shown (0-6), -1: none
    std::array<int, kTypeListCount> listSelection = {-1, -1, -1, -1, -1, -1, -1};
    std::array<DimensionRow, 3> rows;
    std::string quantity = "1";  // Text4
    int materialIndex = 1;       // Combo8, "Q235-A" at load; -1: nothing selected
    bool boltHoleRows = false;   // Label5/Text5 and Label7/Text8
    std::string holeDiameter;    // Text5
    std::string holeCount;       // Text8
    std::string unitText;        // Text7
    std::string totalText;       // Text9
    WeightState state;           // u, g and m of the last calculation
};

// Selects `index` in the steel type list and applies rowsForType(); field texts and
// list selections are kept.
void selectSteelType(WindowEntries& entries, int index);

// Applies a smart-fill result as the window does (see smart_fill.h).
void applyFill(WindowEntries& entries, const FillResult& fill);

// The inputs of the weight calculation as the window would read them now.
WeightInputs weightInputs(const WindowEntries& entries);

// Presses 计算: runs the calculation and writes the result fields and state back.
ui::OptionalMessage calculate(WindowEntries& entries);

// The selected text of the visible type-specific list; empty when none is shown or
// nothing is selected in it.
std::string_view selectedItemText(const WindowEntries& entries);

// The text the section material list shows; empty when nothing is selected.
std::string_view materialText(const WindowEntries& entries);

}  // namespace materiallist
