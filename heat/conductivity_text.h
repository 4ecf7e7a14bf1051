// The conductivity texts of the insulation materials (the 导热系数 field), in
// kcal/(m·h·°C), and the value a text leaves for the calculation.
//
// Four forms, recognised in this order:
//   1. linear, the text ends in "t": "A+B*t" stands for A + B·0.001·t (t in °C). A is
//      the text before the last "+" met before the first "*", B the text between that
//      "+" and the "*"; A may be absent ("0.64*t"), B may carry a sign ("4.0+-1.5*t").
//   2. upper bound: scanning from the end, a "<" comes before any "-": the number
//      after the first character ("<0.05" is 0.05).
//   3. range: scanning from the end, a "-" comes first: the number after it, the upper
//      end ("0.02-0.03" is 0.03, whatever the lengths of the two numbers).
//   4. anything else is the number itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace heat {

enum class ConductivityForm { Linear, UpperBound, Range, Constant };

ConductivityForm conductivityForm(std::string_view text);

// What the parse of a layer's text leaves: the constant of forms 2-4, or for the linear
// form the text unchanged (its parts are read when the conductivity is needed).
struct StoredConductivity {
    bool linear = false;
    double constant = 0;     // forms 2-4
    std::string linearText;  // form 1

    // The conductivity at temperature `t`: the constant, or A + B·0.001·t. Nothing when
    // A or B is not a number, or the result is not finite.
    std::optional<double> at(double t) const;
};

// The stored value of `text`; nothing when a constant form does not hold a number (an
// empty text, "abc", "<", "0.02-"). A linear text is always kept.
std::optional<StoredConductivity> parseConductivityText(std::string_view text);

// `text` read as one whole finite number by the fields' reading rule (blanks ignored),
// or nothing when it is empty, has anything after its number, or overflows.
std::optional<double> wholeNumber(std::string_view text);

}  // namespace heat
