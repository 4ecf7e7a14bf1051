// A whole parts list turned into weights: every line is one item description, read by
// smart fill and weighed by the calculation of the main window, as if on a freshly
// opened window each time (so no line depends on the one before).
//
// The quantity comes from a trailing "*N" or "×N" (N decimal digits, blanks allowed
// around it), which is taken off the description; otherwise it is 1.
//
// Report: one tab-separated line per input line:
//   line number, description, steel type text, designation or dimensions,
//   unit weight, quantity, total weight[, message text]
// Weights are written as the result fields show them (" 9.53"); the designation is the
// selected list entry for rolled sections, otherwise the texts of the shown dimension
// rows in row order joined by "x". A line that smart fill rejects has empty type,
// designation and weights and carries the fill message. Tabs inside a description are
// written as blanks so that the columns stay intact.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace materiallist {

struct BomSummary {
    std::size_t lines = 0;   // input lines reported
    double totalWeight = 0;  // sum of the total weights of the lines, kg
};

// Splits the parts list `text` into lines ("\n" or "\r\n"; a last line without a
// line break counts, a final line break does not start another line) and appends one
// report line per input line to `out`. `firstLineNumber` numbers the first line.
BomSummary appendBomReport(std::string_view text, std::string& out,
                           std::size_t firstLineNumber = 1);

// The quantity text of one parts-list line and the description without it.
struct BomQuantity {
    std::string_view description;
    std::string_view quantity;  // "1" when the line has no trailing *N or ×N
};
BomQuantity splitQuantity(std::string_view line);

}  // namespace materiallist
