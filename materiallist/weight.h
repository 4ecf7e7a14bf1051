// The weight calculation behind the 计算 button: from the steel type, the designation
// or dimensions, the material and the quantity, the mass of one piece (unit weight, kg)
// and of all pieces (total weight, kg), written back as the result fields show them.
//
// Dimensions are in mm. L, W and T (the three dimension rows) are held in single
// precision; products are formed left to right in double precision, with the volume
// terms of plates and bars rounded once to single precision. Results are truncated
// (Fix) to 0.01 kg, flanges to 0.0025 kg; bolts, nuts, washers and cotter pins are
// rounded to 0.001 kg, halves to even. The quantity is rounded to an integer, halves
// to even. Text is read by the lenient number rule (ui::readNumber).
#pragma once

#include <string>

#include "ui/message.h"

namespace materiallist {

// What the window remembers between presses of 计算. A fastener message and an
// unselected designation list fall back on it.
struct WeightState {
    double unit = 0;         // u, kg
    double total = 0;        // g, kg
    float massPerMetre = 0;  // m of the last section looked up, kg/m
};

struct WeightInputs {
    int steelType = -1;     // selected index of the steel type list (0-13), -1: none
    int listIndex = -1;     // selected row of the type's designation list (types 2-6), -1: none
    int materialIndex = 1;  // selected index of the section material list (0-3), -1: none
    std::string text1;      // Text1: first dimension row
    std::string text2;      // Text2: second dimension row
    std::string text3;      // Text3: third dimension row
    std::string quantity = "1";  // Text4
    std::string holeDiameter;    // Text5: bolt-hole diameter (flanges)
    std::string holeCount;       // Text8: bolt-hole count (flanges)
};

struct WeightResult {
    // False when the result fields must stay as they are: no steel type selected, or
    // input refused with a message. The state is then unchanged too.
    bool written = false;
    std::string unitText;         // Text7, e.g. " 5.43", " .231", " 0"
    std::string totalText;        // Text9
    WeightState state;            // the state after this calculation
    ui::OptionalMessage message;  // title "提示信息"
};

// Runs one calculation. Never throws; every outcome is in the result.
//
// Messages: a nut, washer or cotter-pin size that is not listed gives its message and
// the previous unit weight, rounded, times the new quantity. A quantity outside
// -32768…32767, a field the type uses whose number lies beyond single precision, and
// a result too large for a double give a message naming the field and write nothing;
// so does a non-standard washer whose inner diameter is negative or not smaller than
// its outer one, or whose thickness is not positive, which would weigh nothing or less.
WeightResult calculateWeight(const WeightInputs& inputs, const WeightState& state);

}  // namespace materiallist
