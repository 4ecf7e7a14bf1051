// For the core tests: the air table of the seed data, read from its CSV file, as the
// rows the standard method interpolates in and as the table the convection method
// looks up by nominal temperature.
#pragma once

#include <array>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "heat/air_properties.h"
#include "heat/film_air.h"
#include "ui/number_text.h"

namespace heat::testdata {

// Each row's four texts: temperature, 热导率, 运动粘度, 普朗特准数.
inline std::vector<std::array<std::string, 4>> seedAirTexts() {
    std::vector<std::array<std::string, 4>> rows;
    std::ifstream in(TOLVANE_AIR_CSV);
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::array<std::string, 4>& row = rows.emplace_back();
        for (std::string& field : row) std::getline(fields, field, ',');
    }
    return rows;
}

inline std::vector<AirRow> seedAirRows() {
    std::vector<AirRow> rows;
    for (const auto& [t, lambda, nu, pr] : seedAirTexts())
        rows.push_back({std::stod(t), std::stod(lambda), std::stod(nu), std::stod(pr)});
    return rows;
}

class SeedAirTable : public AirPropertyTable {
public:
    SeedAirTable() {
        for (const auto& [t, lambda, nu, pr] : seedAirTexts())
            rows_[std::stoi(t)] = {
                ui::readNumber(lambda), ui::readNumber(nu), ui::readNumber(pr), lambda, nu, pr};
    }
    std::optional<AirProperties> find(int nominal) override {
        ++lookups;
        const auto it = rows_.find(nominal);
        if (it == rows_.end()) return std::nullopt;
        return it->second;
    }
    void erase(int nominal) { rows_.erase(nominal); }
    int lookups = 0;

private:
    std::map<int, AirProperties> rows_;
};

}  // namespace heat::testdata
