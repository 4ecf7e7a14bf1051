// Dry air at atmospheric pressure, looked up by a nominal temperature for the surface
// coefficient of the convection method.
#pragma once

#include <optional>
#include <string>

namespace heat {

struct AirProperties {
    double lambda = 0;  // 热导率, kcal/(m·h·°C)
    double nu = 0;      // 运动粘度, kinematic viscosity, m²/s
    double pr = 0;      // 普朗特准数, Prandtl number
    // The three values as the air table's displays show them.
    std::string lambdaText, nuText, prText;
};

// The air-property table: the row whose nominal temperature (°C) equals `nominal`, or
// nothing when the table has no such row.
class AirPropertyTable {
public:
    virtual ~AirPropertyTable() = default;
    virtual std::optional<AirProperties> find(int nominal) = 0;
};

// The table's nominal temperature for a mean film temperature tm (°C): 0, 20, 40, 60,
// 80, 100, 150 … 500 by 50, 600 … 1200 by 100, each taking tm from halfway below it
// to halfway above (below 10 gives 0, from 1150 on 1200).
int nominalAirTemperature(double tm);

}  // namespace heat
