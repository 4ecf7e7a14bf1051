// The calculation behind 开始计算 of the skid-beam windows, over the texts of their
// boxes, so that the windows and the command line run the very same steps:
//
//   read the boxes (lenient number reading) → load q → length check (a question;
//   OK ends the calculation) → solve → result texts in the window's number pattern
//   → (columns) append the report block.
//
// A layout that would divide by zero, or numbers too large to give finite results,
// end in a refusal titled "提示" naming the input: no result text changes and no
// report is written.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "beams/beam_model.h"
#include "beams/moment_diagram.h"
#include "ui/message.h"

namespace beams {

// Texts for Text3(0 … n−1) (moments) and Text4(0 … n−1) (forces).
struct ShownResults {
    std::vector<std::string> moments;
    std::vector<std::string> forces;
};

struct RowInput {
    int n = 2;                           // rows, 2 … 9
    std::vector<std::string> distances;  // Text1(0 … n)
    std::vector<std::string> slab;       // Text2(0 … 2): thickness, slab length, span
};

struct ColumnInput {
    int n = 2;                           // columns, 2 … 9
    std::vector<std::string> distances;  // Text1(0 … n)
    std::vector<std::string> beam;       // Text2(0 … 3): row key, beam length, span,
                                         // dead weight
    std::optional<double> rowLoad;       // P of the row the key names; absent = empty
};

struct CalculationOutcome {
    std::optional<ui::Message> refusal;        // the layout cannot be solved
    std::optional<ShownResults> results;       // absent: every box stays as it was
    std::optional<ui::Message> reportFailure;  // columns: the report was not written
    std::optional<MomentDiagram> diagram;      // with the results: the solved beam drawn
};

// Asked when the distances do not add up to the total length; returns true to go on
// (Cancel) and false to end the calculation (OK).
using GoOnAfterMismatch = std::function<bool(const ui::Message&)>;

// REQUIRES: distances.size() == n + 1 and slab.size() == 3.
CalculationOutcome calculateRow(const RowInput& input, const GoOnAfterMismatch& goOn);

// REQUIRES: distances.size() == n + 1 and beam.size() == 4. On success appends the
// report block to `reportPath`.
CalculationOutcome calculateColumn(const ColumnInput& input, const std::string& reportPath,
                                   const GoOnAfterMismatch& goOn);

// The row whose calculated load the column window's row key names: the key must be
// exactly "1" … the number of rows (no blanks), else nothing.
std::optional<int> rowKeyNumber(const std::string& key, int rows);

// Solves `layout`, or refuses it when a span is 0, when Ltot equals the two overhangs
// together (`lengthLabel` names the total-length box), or when the numbers are too
// large for finite results.
struct SolveOutcome {
    std::optional<ui::Message> refusal;
    BeamResult result;
};
SolveOutcome solveOrRefuse(const BeamLayout& layout, const std::string& lengthLabel);

// The refusal of a column load rule whose span s is 0.
ui::Message zeroLoadSpanRefusal();

}  // namespace beams
