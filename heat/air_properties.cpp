#include "heat/air_properties.h"

#include <array>
#include <utility>

namespace heat {

int nominalAirTemperature(double tm) {
    // (lowest tm, nominal temperature) in rising order.
    static constexpr std::array<std::pair<double, int>, 20> kBands{{
        {10, 20},   {30, 40},   {50, 60},   {70, 80},    {90, 100},    {125, 150},   {175, 200},
        {225, 250}, {275, 300}, {325, 350}, {375, 400},  {425, 450},   {475, 500},   {550, 600},
        {650, 700}, {750, 800}, {850, 900}, {950, 1000}, {1050, 1100}, {1150, 1200},
    }};
    int nominal = 0;
    for (const auto& [from, t] : kBands)
        if (tm >= from) nominal = t;
    return nominal;
}

}  // namespace heat
