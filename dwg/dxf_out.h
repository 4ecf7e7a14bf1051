// The text of an ASCII DXF file being written: one group at a time, the code right
// aligned in three columns as the drawing program writes it, and control characters of
// values in caret notation (a line feed as ^J), so that no value breaks a line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dwg {

class DxfOut {
public:
    // Room for `bytes` of text, so that a text of known size grows only once.
    void reserve(size_t bytes);
    void group(int code, std::string_view value);
    void group(int code, int64_t value);
    void handle(int code, uint64_t value);  // in hexadecimal, as drawing::handleText writes it
    // The text written so far.
    std::string& text();

private:
    // Where `bytes` more characters can be written; the text is written in place and
    // `used_` moved past it.
    char* room(size_t bytes) {
        if (bytes > text_.size() - used_) grow(bytes);
        return text_.data() + used_;
    }
    void grow(size_t bytes);
    std::string text_;  // its first `used_` characters are the text
    size_t used_ = 0;
};

}  // namespace dwg
