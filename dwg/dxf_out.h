// The text of an ASCII DXF file being written: one group at a time, the code right
// aligned in three columns as the drawing program writes it, and control characters of
// values in caret notation (a line feed as ^J), so that no value breaks a line.
#pragma once

#include <string>
#include <string_view>

namespace dwg {

class DxfOut {
public:
    void group(int code, std::string_view value);
    std::string& text() { return text_; }

private:
    std::string text_;
};

}  // namespace dwg
