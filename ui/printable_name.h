// Names (file paths, block names, texts taken from files) written into line-based
// output: the command line's key=value lines and the batch run's error log. The
// escaped form keeps one name on one line and the output valid UTF-8, and it can be
// turned back into the original bytes.
#pragma once

#include <string>
#include <string_view>

namespace ui {

// `text` with "\" written as "\\", line feed, carriage return and tab as "\n", "\r"
// and "\t", and every other control character (U+0000 ... U+001F, U+007F, U+0080 ...
// U+009F) and every byte that is not part of valid UTF-8 as "\x" and two upper-case
// hexadecimal digits, one per byte. Everything else is copied unchanged.
std::string printableName(std::string_view text);

}  // namespace ui
