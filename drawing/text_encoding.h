// The encoding of a drawing's strings. Up to AutoCAD 2004 (AC1018) a DXF file holds its
// text in the code page that $DWGCODEPAGE names (ANSI_936 is GBK); from 2007 (AC1021)
// on, in UTF-8. Characters that the code page cannot hold are written as \U+XXXX, and
// such escapes read back as the characters they name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace drawing {

class TextCodec {
public:
    // The codec of a file with the given $ACADVER and $DWGCODEPAGE values. An unknown
    // or missing code page reads as ANSI_1252.
    static TextCodec forDrawing(std::string_view acadVersion, std::string_view codePage);
    static TextCodec utf8() { return TextCodec(""); }

    bool isUtf8() const { return charset_.empty(); }
    const std::string& charset() const { return charset_; }
    // Whether `c` opens a two-byte character of the code page (GBK, Big5, the Korean and
    // Japanese pages); the byte after it may look like an ASCII letter but is none.
    bool isLeadByte(unsigned char c) const {
        return c >= 0x81 && c <= 0xFE &&
               (lead_ == Lead::Wide || (lead_ == Lead::ShiftJis && (c <= 0x9F || c >= 0xE0)));
    }

    // File bytes to UTF-8. Bytes that are not valid in the code page become U+FFFD.
    std::string toUtf8(std::string_view fileText) const;
    // UTF-8 to file bytes; characters the code page lacks become \U+XXXX. Invalid
    // UTF-8 bytes become "?".
    std::string fromUtf8(std::string_view utf8) const;

private:
    enum class Lead : uint8_t { None, Wide, ShiftJis };
    explicit TextCodec(std::string charset);
    std::string charset_;  // iconv name; empty for UTF-8
    Lead lead_ = Lead::None;
};

// The iconv name of a $DWGCODEPAGE value, empty when unknown.
std::string charsetOfCodePage(std::string_view codePage);

}  // namespace drawing
