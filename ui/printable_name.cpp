#include "ui/printable_name.h"

namespace ui {
namespace {

// The length of the valid UTF-8 sequence at the start of `s` (shortest form, no
// surrogates, at most U+10FFFF), or 0 when its first byte starts none.
size_t utf8Length(std::string_view s) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(0);
    size_t n;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < n || byte(1) < low || byte(1) > high) return 0;
    for (size_t k = 2; k < n; ++k)
        if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
    return n;
}

void appendHex(std::string& out, unsigned char b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
}

}  // namespace

std::string printableName(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const size_t n = utf8Length(text.substr(i));
        if (n == 0) {
            appendHex(out, b);
            ++i;
            continue;
        }
        if (b == '\\') {
            out += "\\\\";
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            appendHex(out, b);
        } else if (b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            // U+0080 ... U+009F: control characters of their own to a terminal.
            appendHex(out, b);
            appendHex(out, static_cast<unsigned char>(text[i + 1]));
        } else {
            out.append(text.substr(i, n));
        }
        i += n;
    }
    return out;
}

}  // namespace ui
