// Reading and writing numbers the way every field of the program does.
//
// Reading is lenient: blanks, tabs and line feeds anywhere are ignored; an optional
// sign, digits, at most one "." and an optional exponent introduced by E are taken
// from the start; reading stops at the first character that does not fit. Text with
// no leading number reads as 0. "&H" and "&O" prefixes read hexadecimal and octal
// integers (up to 4 digits' worth as a signed 16-bit value, up to 8 as signed 32-bit).
//
// Display uses "." as decimal point whatever the locale.
#pragma once

#include <string>
#include <string_view>

namespace ui {

// The value of `text` by the lenient rule. A number too large for a double reads as
// +/-infinity so that callers can refuse it; one too small reads as 0.
double readNumber(std::string_view text);

// The shortest decimal text of `value` with at most 15 significant digits: a leading
// blank when not negative, no zero before the point below 1 (" .231", "-.5", " 0",
// " 138"), and exponent form ("1E+15", "1E-05") outside 1e-4 <= |value| < 1e15.
std::string shortestText(double value);

// `value` rounded half away from zero to one decimal (on its 15-digit decimal form)
// and written with all integer digits, no grouping and a leading "-" when negative.
// `zeroBeforePoint` false gives the "###.0" pattern (.3, .0), true "####0.0" (0.3, 0.0).
// A value that rounds to zero shows no minus sign.
std::string oneDecimalText(double value, bool zeroBeforePoint);

// The patterns by their names "###.0", "##.0" and "####0.0"; any other pattern name
// is treated as "###.0".
std::string patternText(double value, std::string_view pattern);

}  // namespace ui
