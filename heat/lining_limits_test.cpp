// Input that cannot be a lining is refused alike by the chart, convection and standard
// methods: messages and no result. Input at the limits is calculated, to finite numbers.
#include "heat/lining_limits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "heat/convection_method.h"
#include "heat/seed_air_table.h"
#include "heat/standard_method.h"

namespace heat {
namespace {

// A wall of two layers at 1000 °C in air at 20 °C, with one field changed.
HeatInput wallWith(const std::function<void(HeatInput&)>& change) {
    HeatInput input;
    input.location = SurfaceLocation::Wall;
    input.innerTemperature = "1000";
    input.ambient = "20";
    input.layers = {LiningLayer{"0.72+0.50*t", "230"},
                    {"0.06", "100"},
                    {"", "0"},
                    {"", "0"},
                    {"", "0"},
                    {"", "0"}};
    change(input);
    return input;
}

struct Outcome {
    bool calculated = false;
    std::vector<ui::Message> messages;
    std::vector<double> numbers;  // every temperature and flux of the result
};

const LiningState kKept{500, {0.1}, {}, {0.1}};

Outcome chart(const HeatInput& input) {
    const ChartOutcome out = runChartMethod(input, kKept);
    Outcome o{out.result.has_value(), out.messages, {}};
    if (!out.result) {
        EXPECT_EQ(out.state.t, kKept.t);  // the kept values stay
        EXPECT_EQ(out.state.d, kKept.d);
        return o;
    }
    o.numbers.assign(out.result->interfaces.begin(), out.result->interfaces.end());
    o.numbers.push_back(out.result->q);
    if (out.result->tOut) o.numbers.push_back(*out.result->tOut);
    return o;
}

Outcome convection(const HeatInput& input) {
    testdata::SeedAirTable air;
    const ChartOutcome out = runConvectionMethod(input, kKept, air);
    Outcome o{out.result.has_value(), out.messages, {}};
    if (!out.result) return o;
    o.numbers.assign(out.result->interfaces.begin(), out.result->interfaces.end());
    o.numbers.push_back(out.result->q);
    o.numbers.push_back(out.result->qc.value_or(0));
    if (out.result->tOut) o.numbers.push_back(*out.result->tOut);
    return o;
}

Outcome standard(const HeatInput& input) {
    StandardInput in;
    in.lining = input;
    const StandardOutcome out = runStandardMethod(in, testdata::seedAirRows());
    Outcome o{out.result.has_value(), out.messages, {}};
    if (!out.result) return o;
    o.numbers.assign(out.result->coldFaces.begin(), out.result->coldFaces.end());
    o.numbers.insert(o.numbers.end(), {out.result->q, out.result->hc, out.result->hr});
    return o;
}

struct Case {
    const char* what;
    std::function<void(HeatInput&)> change;
    // For chart, convection, standard: refused (true) or calculated.
    bool refused[3];
    const char* refusal;  // the message of the chart and convection methods
};

const char* const kInnerRefusal = "炉内表面温度应在 -273.15 到 5000 ℃ 之间：“";
const char* const kAmbientRefusal = "环境温度应在 -273.15 到 5000 ℃ 之间：“";
const char* const kThicknessRefusal = "内层保温厚度应为不小于 0 的数值（毫米）：“";

const Case kCases[] = {
    {"T 1e308",
     [](HeatInput& i) { i.innerTemperature = "1e308"; },
     {true, true, true},
     kInnerRefusal},
    {"T too large for a double",
     [](HeatInput& i) { i.innerTemperature = "1e400"; },
     {true, true, true},
     kInnerRefusal},
    {"T below absolute zero",
     [](HeatInput& i) { i.innerTemperature = "-273.16"; },
     {true, true, true},
     kInnerRefusal},
    {"T 5000.1",
     [](HeatInput& i) { i.innerTemperature = "5000.1"; },
     {true, true, true},
     kInnerRefusal},
    {"negative thickness",
     [](HeatInput& i) { i.layers[0].thickness = "-230"; },
     {true, true, true},
     kThicknessRefusal},
    {"thickness too large for a double",
     [](HeatInput& i) { i.layers[0].thickness = "1e999"; },
     {true, true, true},
     kThicknessRefusal},
    // The chart method does not read the ambient.
    {"ambient too large for a double",
     [](HeatInput& i) { i.ambient = "1e400"; },
     {false, true, true},
     kAmbientRefusal},
    {"ambient below absolute zero",
     [](HeatInput& i) { i.ambient = "-300"; },
     {false, true, true},
     kAmbientRefusal},
    // At the limits: calculated (the standard method wants T above the air, at most 3000).
    {"T 5000", [](HeatInput& i) { i.innerTemperature = "5000"; }, {false, false, true}, ""},
    {"T at absolute zero",
     [](HeatInput& i) { i.innerTemperature = "-273.15"; },
     {false, false, true},
     ""},
    {"T and ambient at absolute zero",
     [](HeatInput& i) { i.innerTemperature = i.ambient = "-273.15"; },
     {false, false, true},
     ""},
    {"ambient 5000", [](HeatInput& i) { i.ambient = "5000"; }, {false, false, true}, ""},
    {"thickness 0 and 1e300",
     [](HeatInput& i) {
         i.layers[0].thickness = "0";
         i.layers[1].thickness = "1e300";
     },
     {false, false, false},
     ""},
};

TEST(LiningLimits, EveryMethodRefusesWhatCannotBeALining) {
    const std::function<Outcome(const HeatInput&)> methods[] = {chart, convection, standard};
    const char* const names[] = {"chart", "convection", "standard"};
    for (const Case& c : kCases) {
        const HeatInput input = wallWith(c.change);
        for (int m = 0; m < 3; ++m) {
            SCOPED_TRACE(std::string(c.what) + ", " + names[m]);
            const Outcome out = methods[m](input);
            EXPECT_EQ(out.calculated, !c.refused[m]);
            if (c.refused[m]) {
                ASSERT_FALSE(out.messages.empty());
                EXPECT_EQ(out.messages.front().title, "出错信息提示：");
                if (m < 2) {
                    EXPECT_EQ(out.messages.front().text.rfind(c.refusal, 0), 0u)
                        << out.messages.front().text;
                }
            }
            for (double v : out.numbers) EXPECT_TRUE(std::isfinite(v)) << v;
        }
    }
}

TEST(LiningLimits, TheStandardMethodNamesAThicknessAsTheOthersDo) {
    const HeatInput input = wallWith([](HeatInput& i) { i.layers[0].thickness = "-230"; });
    ASSERT_FALSE(standard(input).messages.empty());
    EXPECT_EQ(standard(input).messages.front().text, chart(input).messages.front().text);
    EXPECT_EQ(chart(input).messages.front().text, std::string(kThicknessRefusal) + "-230" + "”");
}

TEST(LiningLimits, EachRefusedFieldHasItsMessageAfterTheMissingLocation) {
    HeatInput input = wallWith([](HeatInput& i) {
        i.location = SurfaceLocation::None;
        i.innerTemperature = "1e400";
        i.ambient = "-300";
        i.layers[1].thickness = "-1";
    });
    std::vector<std::string> texts;
    for (const ui::Message& m : convection(input).messages) texts.push_back(m.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"请选择传热计算的部位",
                                               std::string(kInnerRefusal) + "1e400”",
                                               std::string(kAmbientRefusal) + "-300”",
                                               "二层保温厚度应为不小于 0 的数值（毫米）：“-1”"}));
}

}  // namespace
}  // namespace heat
