// The skid-beam report: one block of records appended per successful column
// calculation to a plain-text file in GBK with CR LF line ends.
//
// Records: string fields in double quotes, fields separated by commas, numbers in
// plain decimal notation ("." as decimal point, no blanks, no exponent, at most 15
// significant digits), an empty value as nothing after its comma. Block: an empty
// line; the title; each distance; the row key, length and span; the calculated load
// P; the dead weight; "计算结果"; each moment; each force — numbers as read from the
// boxes, results as read back from their shown (rounded) texts.
#pragma once

#include <optional>
#include <string>

#include "beams/beam_calculation.h"
#include "ui/message.h"

namespace beams {

// `value` in plain decimal notation: 100, -39250, 0.5, 0 (also for −0).
std::string plainNumber(double value);

// The block of one column calculation, UTF-8, every record ending in CR LF.
std::string reportBlock(const ColumnInput& input, const ShownResults& shown);

// Converts `utf8Block` to GBK and appends it to the file at `path`, creating the file
// and its folder when missing. Returns a message naming the path when the text cannot
// be converted or the file cannot be written; a block that could not be written whole
// is cut off again, so the file ends where it ended before.
std::optional<ui::Message> appendReport(const std::string& path, const std::string& utf8Block);

}  // namespace beams
