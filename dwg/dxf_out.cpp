#include "dwg/dxf_out.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "dwg/record.h"

namespace dwg {
namespace {

// Writes `code` right aligned in three columns and its line end; returns the end.
char* putCode(char* at, int code) {
    if (code >= 0 && code < 1000) {
        at[0] = code >= 100 ? static_cast<char>('0' + code / 100) : ' ';
        at[1] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
        at[2] = static_cast<char>('0' + code % 10);
        at[3] = '\n';
        return at + 4;
    }
    char digits[12];
    const char* end = std::to_chars(digits, digits + sizeof digits, code).ptr;
    for (auto length = end - digits; length < 3; ++length) *at++ = ' ';
    for (const char* c = digits; c != end; ++c) *at++ = *c;
    *at++ = '\n';
    return at;
}

// Whether one of the eight bytes of `word` is a control character or a caret.
bool anyEscaped(uint64_t word) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
    const uint64_t control = (word - 0x20 * kOnes) & ~word & kHigh;
    const uint64_t caret = word ^ ('^' * kOnes);
    return control | ((caret - kOnes) & ~caret & kHigh);
}

}  // namespace

void DxfOut::reserve(size_t bytes) {
    if (bytes > text_.size()) text_.resize(bytes);
}

std::string& DxfOut::text() {
    text_.resize(used_);
    return text_;
}

void DxfOut::grow(size_t bytes) { text_.resize(std::max(text_.size() * 2, used_ + bytes)); }

void DxfOut::group(int code, std::string_view value) {
    // A code takes at most 12 characters with its line end, an escaped character two.
    char* const start = room(13 + 2 * value.size());
    char* at = putCode(start, code);
    // Nearly every value is plain: it is copied a word at a time while no word holds a
    // character to escape, the rest a character at a time.
    const char* from = value.data();
    size_t i = 0;
    for (; i + 8 <= value.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, from + i, 8);
        if (anyEscaped(word)) break;
        std::memcpy(at, &word, 8);
        at += 8;
    }
    for (; i < value.size(); ++i) {
        const auto u = static_cast<unsigned char>(from[i]);
        if (u >= 0x20 && u != '^') {
            *at++ = from[i];
        } else {
            *at++ = '^';
            *at++ = u == '^' ? ' ' : static_cast<char>(u + 0x40);
        }
    }
    *at++ = '\n';
    used_ += static_cast<size_t>(at - start);
}

void DxfOut::group(int code, int64_t value) {
    char buffer[24];
    group(code, std::string_view(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr));
}

void DxfOut::handle(int code, uint64_t value) {
    char buffer[17];
    group(code, std::string_view(buffer, putHex(buffer, value)));
}

}  // namespace dwg
