#include "heat/conductivity_text.h"

#include <cmath>

#include "ui/number_text.h"

namespace heat {
namespace {

bool ignorable(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

size_t skipDigits(const std::string& s, size_t i) {
    while (i < s.size() && isDigit(s[i])) ++i;
    return i;
}

// True when the whole of `s` (blanks removed) is what the reading rule reads as a number.
bool readsCompletely(const std::string& s) {
    if (s.size() >= 3 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H'))
        return s.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string::npos;
    if (s.size() >= 3 && s[0] == '&' && (s[1] == 'o' || s[1] == 'O'))
        return s.find_first_not_of("01234567", 2) == std::string::npos;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t end = skipDigits(s, i);
    size_t digits = end - i;
    if (end < s.size() && s[end] == '.') {
        const size_t fractionEnd = skipDigits(s, end + 1);
        digits += fractionEnd - end - 1;
        end = fractionEnd;
    }
    if (digits == 0) return false;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        size_t j = end + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        const size_t expEnd = skipDigits(s, j);
        if (expEnd == j) return false;
        end = expEnd;
    }
    return end == s.size();
}

}  // namespace

std::optional<double> wholeNumber(std::string_view text) {
    std::string s;
    for (char c : text)
        if (!ignorable(c)) s.push_back(c);
    if (!readsCompletely(s)) return std::nullopt;
    const double value = ui::readNumber(s);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

ConductivityForm conductivityForm(std::string_view text) {
    if (!text.empty() && text.back() == 't') return ConductivityForm::Linear;
    const size_t mark = text.find_last_of("-<");
    if (mark == std::string_view::npos) return ConductivityForm::Constant;
    return text[mark] == '<' ? ConductivityForm::UpperBound : ConductivityForm::Range;
}

std::optional<StoredConductivity> parseConductivityText(std::string_view text) {
    StoredConductivity stored;
    std::optional<double> value;
    switch (conductivityForm(text)) {
        case ConductivityForm::Linear:
            stored.linear = true;
            stored.linearText = std::string(text);
            return stored;
        case ConductivityForm::UpperBound:
            value = wholeNumber(text.substr(1));
            break;
        case ConductivityForm::Range:
            value = wholeNumber(text.substr(text.find_last_of('-') + 1));
            break;
        case ConductivityForm::Constant:
            value = wholeNumber(text);
            break;
    }
    if (!value) return std::nullopt;
    stored.constant = *value;
    return stored;
}

std::optional<double> StoredConductivity::at(double t) const {
    if (!linear) return constant;
    const std::string_view text = linearText;
    const size_t star = text.find('*');
    if (star == std::string_view::npos) return std::nullopt;
    const size_t plus = text.substr(0, star).find_last_of('+');
    std::optional<double> a = 0.0;
    std::string_view bText = text.substr(0, star);
    if (plus != std::string_view::npos) {
        const std::string_view aText = text.substr(0, plus);
        if (aText.find_first_not_of(" \t\n") != std::string_view::npos) a = wholeNumber(aText);
        bText = text.substr(plus + 1, star - plus - 1);
    }
    const std::optional<double> b = wholeNumber(bText);
    if (!a || !b) return std::nullopt;
    const double value = *a + *b * 0.001 * t;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace heat
