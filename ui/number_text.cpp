#include "ui/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace ui {
namespace {

bool ignorable(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Reads "&H..." / "&O..." (already stripped of blanks); the value wraps like the
// 16-bit and 32-bit integers these prefixes denote.
double readRadixInteger(std::string_view s, int radix) {
    uint64_t v = 0;
    size_t i = 0;
    for (; i < s.size() && digitValue(s[i]) < radix; ++i) {
        v = v * radix + digitValue(s[i]);
        if (v > 0xFFFFFFFFull) return HUGE_VAL;
    }
    if (v <= 0xFFFF) return static_cast<int16_t>(static_cast<uint16_t>(v));
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

}  // namespace

double readNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!ignorable(c)) s.push_back(c);

    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'h' || s[1] == 'H') return readRadixInteger(std::string_view(s).substr(2), 16);
        if (s[1] == 'o' || s[1] == 'O') return readRadixInteger(std::string_view(s).substr(2), 8);
        return 0;
    }

    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const size_t mantissaStart = i;
    size_t digits = 0, leadingIntDigits = 0;
    bool seenNonZero = false;
    for (; i < s.size() && isDigit(s[i]); ++i, ++digits) {
        if (s[i] != '0') seenNonZero = true;
        if (seenNonZero) ++leadingIntDigits;
    }
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && isDigit(s[i]); ++i) ++digits;
    if (digits == 0) return 0;
    size_t end = i;
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && isDigit(s[j])) {
            auto [p, ec] = std::from_chars(s.data() + (s[i + 1] == '+' ? i + 2 : i + 1),
                                           s.data() + s.size(), exponent);
            if (ec == std::errc::result_out_of_range)
                exponent = s[i + 1] == '-' ? -100000 : 100000;
            end = p - s.data();
            if (ec == std::errc::result_out_of_range)
                while (end < s.size() && isDigit(s[end])) ++end;
        }
    }

    double value = 0;
    auto [p, ec] = std::from_chars(s.data() + mantissaStart, s.data() + end, value,
                                   std::chars_format::general);
    (void)p;
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small: decide by the decimal magnitude of the text.
        const long magnitude = static_cast<long>(leadingIntDigits) + exponent;
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

namespace {

// `value` as 15 significant decimal digits d0.d1...d14 x 10^exponent.
struct Decimal15 {
    bool negative = false;
    std::string digits;  // exactly 15 digits, first non-zero unless the value is 0
    int exponent = 0;
};

Decimal15 toDecimal15(double value) {
    Decimal15 d;
    char buf[40];
    // The same digits as printf's "%.14e", several times faster (the parts-list report
    // formats two weights per line).
    *std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::scientific, 14).ptr = '\0';
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p && *p != 'e'; ++p)
        if (isDigit(*p)) d.digits.push_back(*p);
    if (*p == 'e') d.exponent = std::atoi(p + 1);
    return d;
}

std::string trimZeros(std::string s) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    return s;
}

}  // namespace

std::string shortestText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : " Inf";
    if (value == 0) return " 0";
    const Decimal15 d = toDecimal15(value);
    std::string out = d.negative ? "-" : " ";
    if (d.exponent >= 15 || d.exponent < -4) {
        const std::string frac = trimZeros(d.digits.substr(1));
        out += d.digits[0];
        if (!frac.empty()) out += "." + frac;
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", d.exponent < 0 ? '-' : '+',
                      std::abs(d.exponent));
        return out + exp;
    }
    if (d.exponent < 0) return out + "." + std::string(-d.exponent - 1, '0') + trimZeros(d.digits);
    const std::string intPart = d.digits.substr(0, d.exponent + 1);
    const std::string frac = trimZeros(d.digits.substr(d.exponent + 1));
    return out + intPart + (frac.empty() ? "" : "." + frac);
}

std::string oneDecimalText(double value, bool zeroBeforePoint) {
    if (!std::isfinite(value)) return shortestText(value);
    const Decimal15 d = toDecimal15(value);
    // Tenths as a decimal digit string: all digits up to the first decimal place.
    std::string tenths;
    const int keep = d.exponent + 2;  // digits of d.digits that stand left of 0.01
    bool roundUp = false;
    if (keep <= 0) {
        roundUp = keep == 0 && d.digits[0] >= '5';
        tenths = "0";
    } else if (keep >= 15) {
        tenths = d.digits + std::string(keep - 15, '0');
    } else {
        tenths = d.digits.substr(0, keep);
        roundUp = d.digits[keep] >= '5';
    }
    if (roundUp) {
        int i = static_cast<int>(tenths.size()) - 1;
        for (; i >= 0 && tenths[i] == '9'; --i) tenths[i] = '0';
        if (i < 0) tenths.insert(tenths.begin(), '1');
        else ++tenths[i];
    }
    size_t firstNonZero = tenths.find_first_not_of('0');
    if (firstNonZero == std::string::npos) firstNonZero = tenths.size() - 1;
    const std::string_view digits = std::string_view(tenths).substr(firstNonZero);
    std::string out;
    if (d.negative && digits != "0") out.push_back('-');
    if (digits.size() > 1) out.append(digits.substr(0, digits.size() - 1));
    else if (zeroBeforePoint) out.push_back('0');
    out.push_back('.');
    out.push_back(digits.back());
    return out;
}

std::string patternText(double value, std::string_view pattern) {
    return oneDecimalText(value, pattern == "####0.0");
}

}  // namespace ui
