#include "dwg/dxf_out.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "dwg/record.h"

namespace dwg {

void DxfOut::code(int code) {
    char buffer[16] = {' ', ' ', ' '};
    char digits[12];
    char* end = std::to_chars(digits, digits + sizeof digits, code).ptr;
    const auto length = static_cast<size_t>(end - digits);
    const size_t pad = length < 3 ? 3 - length : 0;
    std::copy(digits, end, buffer + pad);
    buffer[pad + length] = '\n';
    text_.append(buffer, pad + length + 1);
}

namespace {

// Whether one of the eight bytes of `word` is a control character or a caret.
bool anyEscaped(uint64_t word) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
    const uint64_t control = (word - 0x20 * kOnes) & ~word & kHigh;
    const uint64_t caret = word ^ ('^' * kOnes);
    return control | ((caret - kOnes) & ~caret & kHigh);
}

}  // namespace

void DxfOut::group(int code, std::string_view value) {
    this->code(code);
    // Nearly every value is plain: it goes in by runs between the characters escaped,
    // found eight bytes at a time.
    size_t run = 0;
    size_t i = 0;
    for (; i + 8 <= value.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, value.data() + i, 8);
        if (anyEscaped(word)) break;
    }
    for (; i < value.size(); ++i) {
        const auto u = static_cast<unsigned char>(value[i]);
        if (u >= 0x20 && u != '^') continue;
        text_.append(value.data() + run, i - run);
        const char escaped[2] = {'^', u == '^' ? ' ' : static_cast<char>(u + 0x40)};
        text_.append(escaped, 2);
        run = i + 1;
    }
    text_.append(value.data() + run, value.size() - run);
    text_ += '\n';
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
