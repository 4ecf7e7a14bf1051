#include "heat/chart_method.h"

#include <gtest/gtest.h>

#include "heat/heat_texts.h"

namespace heat {
namespace {

// A lining of constant-conductivity layers given as (conductivity, thickness mm).
HeatInput lining(SurfaceLocation location, const char* t,
                 std::vector<std::pair<std::string, std::string>> layers) {
    HeatInput input;
    input.location = location;
    input.innerTemperature = t;
    for (size_t k = 0; k < layers.size(); ++k)
        input.layers[k] = {layers[k].first, layers[k].second};
    for (size_t k = layers.size(); k < kLayerCount; ++k) input.layers[k] = {"", "0"};
    return input;
}

ChartOutcome run(const HeatInput& input) { return runChartMethod(input, {}); }

TEST(ChartMethod, WallExampleWithInterfaceTemperatures) {
    const ChartOutcome out =
        run(lining(SurfaceLocation::Wall, "1000", {{"1", "150"}, {"0.5", "25"}}));
    EXPECT_TRUE(out.messages.empty());
    EXPECT_DOUBLE_EQ(out.result->q, 4130);
    EXPECT_DOUBLE_EQ(*out.result->tOut, 223.6);
    EXPECT_DOUBLE_EQ(out.result->interfaces[0], 1000 - 4130 * 0.15);
    EXPECT_DOUBLE_EQ(out.result->interfaces[1], 1000 - 4130 * 0.15 - 4130 * 0.05);
    EXPECT_EQ(out.result->interfaces[4], out.result->interfaces[1]);
    const ShownResults shown = shownResults(*out.result);
    EXPECT_EQ(shown.q, " 4130");
    EXPECT_EQ(shown.tOut, " 223.6");
    EXPECT_EQ(shown.interfaces[0], " 380.5");
    EXPECT_EQ(shown.qc, "");
}

TEST(ChartMethod, ALimitBelongsToTheBandThatStartsThere) {
    auto q = [](SurfaceLocation where, const char* mm) {
        return run(lining(where, "1000", {{"1", mm}})).result->q;
    };
    EXPECT_DOUBLE_EQ(q(SurfaceLocation::Wall, "149.9"), 100 * (0.0764 * 1000 - 4.78));
    EXPECT_DOUBLE_EQ(q(SurfaceLocation::Wall, "150"), 100 * (0.0435 * 1000 - 2.2));
    EXPECT_DOUBLE_EQ(q(SurfaceLocation::Wall, "2749"), 100 * (0.004 * 1000 - 0.1));
    EXPECT_DOUBLE_EQ(q(SurfaceLocation::Wall, "2750"), 100 * (0.0035 * 1000 - 0.4));
    EXPECT_DOUBLE_EQ(q(SurfaceLocation::Roof, "899"), 1000 * (-0.000001 * 1e6 + 4 - 1.973));
    EXPECT_DOUBLE_EQ(q(SurfaceLocation::Roof, "900"), 1000 * (0.00022 * 1000 + 0.468));
    EXPECT_DOUBLE_EQ(q(SurfaceLocation::Bottom, "900"), 1000 * (0.00063 * 1000 + 0.362));
    EXPECT_DOUBLE_EQ(q(SurfaceLocation::Bottom, "100"),
                     1000 * (-0.000002 * 1e6 + 0.00991 * 1000 - 1.288));
}

TEST(ChartMethod, DecidedOuterTemperatures) {
    auto tOut = [](SurfaceLocation where, const char* mm) {
        return *run(lining(where, "1000", {{"1", mm}})).result->tOut;
    };
    EXPECT_DOUBLE_EQ(tOut(SurfaceLocation::Wall, "3000"), 0.0317 * 1000 + 25.6);
    const double below = -0.000018 * 1e6 + 0.122 * 1000 + 43.437;  // 147.437
    const double above = 0.043 * 1000 + 57.249;                    // 100.249
    EXPECT_DOUBLE_EQ(tOut(SurfaceLocation::Roof, "650"), below);
    EXPECT_NEAR(tOut(SurfaceLocation::Roof, "775"), (below + above) / 2, 1e-9);
    EXPECT_NEAR(tOut(SurfaceLocation::Roof, "899"), below + (above - below) * 0.249 / 0.25, 1e-9);
}

TEST(ChartMethod, ResistancesAreTruncatedAndLinearFormsTakenAtT) {
    // R = 0.2345 / 1 truncates to 0.234; the linear layer gives 0.134 / 1.34 = 0.1.
    const ChartOutcome out =
        run(lining(SurfaceLocation::Wall, "1000", {{"1", "234.5"}, {"0.7+0.64*t", "134"}}));
    EXPECT_DOUBLE_EQ(out.state.r[0], 0.234);
    EXPECT_DOUBLE_EQ(out.state.r[1], 0.1);
    EXPECT_DOUBLE_EQ(out.result->q, 100 * (0.0304 * 1000 - 1.48));  // ΣR = 0.334
    EXPECT_DOUBLE_EQ(out.result->interfaces[0], 1000 - out.result->q * 0.234);
}

TEST(ChartMethod, AllThicknessesZeroGiveNoBand) {
    const ChartOutcome out = run(lining(SurfaceLocation::Roof, "1200", {{"1", "0"}, {"0.5", "0"}}));
    EXPECT_EQ(out.result->q, 0);
    EXPECT_FALSE(out.result->tOut);
    for (double t : out.result->interfaces) EXPECT_EQ(t, 1200);
    EXPECT_EQ(shownResults(*out.result).tOut, "");
    EXPECT_EQ(shownResults(*out.result).q, " 0");
}

TEST(ChartMethod, BothWarningsInOneRunAndTheCalculationGoesOn) {
    const ChartOutcome out = run(lining(SurfaceLocation::None, "0", {{"1", "200"}}));
    ASSERT_EQ(out.messages.size(), 2u);
    EXPECT_EQ(out.messages[0].title, "出错信息提示：");
    EXPECT_EQ(out.messages[0].text, "请选择传热计算的部位");
    EXPECT_EQ(out.messages[1].title, "出错信息提示：");
    EXPECT_EQ(out.messages[1].text, "请输入炉内温度");
    EXPECT_DOUBLE_EQ(out.state.r[0], 0.2);
    EXPECT_FALSE(out.result->tOut);  // no location, no chart

    const ChartOutcome notNumber = run(lining(SurfaceLocation::Wall, "abc", {{"1", "200"}}));
    ASSERT_EQ(notNumber.messages.size(), 1u);
    EXPECT_EQ(notNumber.messages[0].text, "请输入炉内温度");
}

TEST(ChartMethod, TextsThatAreNotNumbersKeepThePreviousValues) {
    const ChartOutcome first =
        run(lining(SurfaceLocation::Wall, "1000", {{"1", "150"}, {"0.5", "25"}}));
    // Empty T, an empty thickness, an empty and a malformed conductivity.
    HeatInput second = lining(SurfaceLocation::Wall, "", {{"", ""}, {"0.5", "x"}});
    second.layers[2] = {"abc", "100"};
    const ChartOutcome again = runChartMethod(second, first.state);
    ASSERT_EQ(again.messages.size(), 1u);
    EXPECT_EQ(again.state.t, 1000);
    EXPECT_DOUBLE_EQ(again.state.d[0], 0.15);
    EXPECT_DOUBLE_EQ(again.state.d[1], 0.025);
    EXPECT_DOUBLE_EQ(again.state.d[2], 0.1);
    EXPECT_EQ(again.state.stored[0].constant, 1);
    EXPECT_EQ(again.state.r[2], 0);  // conductivity 0 before the first: R stays 0
    EXPECT_DOUBLE_EQ(again.result->q, first.result->q);
    EXPECT_EQ(again.result->interfaces, first.result->interfaces);

    // A linear conductivity whose parts are not numbers keeps the previous R.
    HeatInput third = lining(SurfaceLocation::Wall, "1000", {{"1+x*t", "150"}, {"0.5", "25"}});
    const ChartOutcome kept = runChartMethod(third, first.state);
    EXPECT_DOUBLE_EQ(kept.state.r[0], 0.15);
    EXPECT_TRUE(kept.state.stored[0].linear);
}

}  // namespace
}  // namespace heat
