#include "drawing/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace drawing {
namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 character at `i`; returns its length, 0 when invalid.
size_t decodeUtf8(std::string_view s, size_t i, uint32_t& cp) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    size_t n;
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    if ((c & 0xE0) == 0xC0) {
        cp = c & 0x1F;
        n = 2;
    } else if ((c & 0xF0) == 0xE0) {
        cp = c & 0x0F;
        n = 3;
    } else if ((c & 0xF8) == 0xF0) {
        cp = c & 0x07;
        n = 4;
    } else
        return 0;
    if (i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    return n;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Replaces every \U+XXXX in UTF-8 text by the character it names.
std::string decodeEscapes(std::string text) {
    if (text.find("\\U+") == std::string::npos && text.find("\\u+") == std::string::npos)
        return text;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 6 < text.size() && (text[i + 1] == 'U' || text[i + 1] == 'u') &&
            text[i + 2] == '+') {
            uint32_t cp = 0;
            bool good = true;
            for (size_t k = 3; k < 7; ++k) {
                const int d = hexDigit(text[i + k]);
                if (d < 0) {
                    good = false;
                    break;
                }
                cp = cp * 16 + static_cast<uint32_t>(d);
            }
            if (good) {
                i += 6;
                if (cp >= 0xD800 && cp < 0xDC00 && i + 7 < text.size() && text[i + 1] == '\\' &&
                    text[i + 3] == '+') {
                    uint32_t low = 0;
                    for (size_t k = 4; k < 8; ++k)
                        low = low * 16 + static_cast<uint32_t>(std::max(0, hexDigit(text[i + k])));
                    if (low >= 0xDC00 && low < 0xE000) {
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                        i += 7;
                    }
                }
                appendUtf8(out, cp);
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // Converts all of `in`; false when some input cannot be converted (output then
    // holds what was converted before it, `in` is advanced to it).
    bool convert(std::string_view& in, std::string& out) {
        char buf[256];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            size_t srcLeft = in.size();
            char* dst = buf;
            size_t dstLeft = sizeof buf;
            const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, sizeof buf - dstLeft);
            in.remove_prefix(in.size() - srcLeft);
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

// The converter of this thread from one charset to another, opened on first use:
// opening one costs more than converting a text.
Converter& converter(const std::string& to, const std::string& from) {
    thread_local std::unordered_map<std::string, std::unique_ptr<Converter>> open;
    std::unique_ptr<Converter>& c = open[to + '>' + from];
    if (!c) c = std::make_unique<Converter>(to.c_str(), from.c_str());
    return *c;
}

}  // namespace

std::string charsetOfCodePage(std::string_view codePage) {
    static const struct {
        const char* name;
        const char* charset;
    } kPages[] = {
        {"ANSI_936", "GBK"},         {"ANSI_932", "CP932"},   {"ANSI_949", "CP949"},
        {"ANSI_950", "BIG5"},        {"ANSI_874", "CP874"},   {"ANSI_1250", "CP1250"},
        {"ANSI_1251", "CP1251"},     {"ANSI_1252", "CP1252"}, {"ANSI_1253", "CP1253"},
        {"ANSI_1254", "CP1254"},     {"ANSI_1255", "CP1255"}, {"ANSI_1256", "CP1256"},
        {"ANSI_1257", "CP1257"},     {"ANSI_1258", "CP1258"}, {"DOS437", "CP437"},
        {"DOS850", "CP850"},         {"DOS852", "CP852"},     {"DOS866", "CP866"},
        {"ISO8859-1", "ISO-8859-1"},
    };
    while (!codePage.empty() && (codePage.back() == ' ' || codePage.back() == '\r'))
        codePage.remove_suffix(1);
    while (!codePage.empty() && codePage.front() == ' ') codePage.remove_prefix(1);
    for (const auto& p : kPages)
        if (equalsNoCase(codePage, p.name)) return p.charset;
    return {};
}

TextCodec::TextCodec(std::string charset) : charset_(std::move(charset)) {
    if (charset_ == "GBK" || charset_ == "BIG5" || charset_ == "CP949") lead_ = Lead::Wide;
    if (charset_ == "CP932") lead_ = Lead::ShiftJis;
}

TextCodec TextCodec::forDrawing(std::string_view acadVersion, std::string_view codePage) {
    // AC1021 and later versions compare greater as text, as all versions have the
    // form "AC" + four digits.
    if (acadVersion.size() >= 6 && acadVersion.substr(0, 6) >= "AC1021") return TextCodec("");
    std::string charset = charsetOfCodePage(codePage);
    return TextCodec(charset.empty() ? "CP1252" : charset);
}

std::string TextCodec::toUtf8(std::string_view fileText) const {
    // Plain ASCII (most names and values) reads the same in every code page.
    const bool ascii =
        std::all_of(fileText.begin(), fileText.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii && fileText.find('\\') == std::string_view::npos) return std::string(fileText);
    std::string out;
    if (isUtf8()) {
        out.reserve(fileText.size());
        for (size_t i = 0; i < fileText.size();) {
            uint32_t cp;
            const size_t n = decodeUtf8(fileText, i, cp);
            if (n == 0) {
                out += "\xEF\xBF\xBD";
                ++i;
            } else {
                out.append(fileText.substr(i, n));
                i += n;
            }
        }
        return decodeEscapes(std::move(out));
    }
    Converter& conv = converter("UTF-8", charset_);
    if (!conv.valid()) return decodeEscapes(std::string(fileText));
    while (!conv.convert(fileText, out)) {
        out += "\xEF\xBF\xBD";
        fileText.remove_prefix(1);
    }
    return decodeEscapes(std::move(out));
}

std::string TextCodec::fromUtf8(std::string_view utf8) const {
    std::string out;
    Converter* conv = nullptr;
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp;
        const size_t n = decodeUtf8(utf8, i, cp);
        if (n == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        std::string_view ch = utf8.substr(i, n);
        i += n;
        if (cp < 0x80 || isUtf8()) {
            out.append(ch);
            continue;
        }
        if (!conv) conv = &converter(charset_, "UTF-8");
        std::string encoded;
        if (conv->valid() && conv->convert(ch, encoded)) {
            out += encoded;
            continue;
        }
        char buf[16];
        if (cp > 0xFFFF) {  // beyond the escape's four digits: a surrogate pair
            const uint32_t v = cp - 0x10000;
            std::snprintf(buf, sizeof buf, "\\U+%04X\\U+%04X", 0xD800 + (v >> 10),
                          0xDC00 + (v & 0x3FF));
        } else {
            std::snprintf(buf, sizeof buf, "\\U+%04X", cp);
        }
        out += buf;
    }
    return out;
}

}  // namespace drawing
