#include "heat/convection_method.h"

#include <gtest/gtest.h>

#include <cmath>

#include "heat/heat_texts.h"
#include "heat/seed_air_table.h"
#include "ui/number_text.h"

namespace heat {
namespace {

using testdata::SeedAirTable;

HeatInput wall(const char* t, std::vector<std::pair<std::string, std::string>> layers,
               SurfaceLocation location = SurfaceLocation::Wall) {
    HeatInput input;
    input.location = location;
    input.innerTemperature = t;
    input.ambient = "20";
    for (size_t k = 0; k < layers.size(); ++k)
        input.layers[k] = {layers[k].first, layers[k].second};
    for (size_t k = layers.size(); k < kLayerCount; ++k) input.layers[k] = {"", "0"};
    return input;
}

TEST(NominalAirTemperature, BandsStartAtTheirLowerLimit) {
    const std::pair<double, int> cases[] = {
        {-40, 0},   {9, 0},     {10, 20},     {29, 20},     {30, 40},
        {89, 80},   {90, 100},  {124, 100},   {125, 150},   {475, 500},
        {549, 500}, {550, 600}, {1149, 1100}, {1150, 1200}, {5000, 1200},
    };
    for (const auto& [tm, nominal] : cases) EXPECT_EQ(nominalAirTemperature(tm), nominal) << tm;
}

// Realistic walls from the seed materials at 600-1300 °C: the iteration settles, the
// surface lies between the air and the last interface, and the flux through the lining
// is the flux the surface gives off at its final temperature.
TEST(ConvectionMethod, ConvergesOnRealisticWallsWithTheEnergyBalanceHolding) {
    const std::vector<std::vector<std::pair<std::string, std::string>>> walls = {
        {{"0.72+0.50*t", "230"}, {"0.25+0.22*t", "113"}},
        {{"0.72+0.50*t", "230"}, {"0.25+0.22*t", "116"}, {"0.06", "100"}},
        {{"0.02+0.21*t", "100"}, {"<0.05", "50"}},
        {{"1.2+0.25*t", "114"}, {"0.35+0.30*t", "114"}, {"0.09+0.2*t", "65"}, {"0.60-0.70", "115"}},
        {{"0.18+0.10*t", "230"}, {"0.02+0.18*t", "50"}, {"0.02-0.03", "40"}, {"<0.06", "30"}},
    };
    for (double t : {600.0, 900.0, 1300.0}) {
        for (size_t w = 0; w < walls.size(); ++w) {
            SCOPED_TRACE(testing::Message() << "T " << t << " wall " << w);
            SeedAirTable air;
            const HeatInput input = wall(std::to_string(t).c_str(), walls[w]);
            const ChartOutcome out = runConvectionMethod(input, {}, air);
            const HeatLossResult& r = *out.result;
            EXPECT_TRUE(out.messages.empty());
            ASSERT_TRUE(r.qc && r.tOut && r.air);
            EXPECT_LT(r.iterations, 20);
            const size_t last = walls[w].size() - 2;  // interface before the outer layer
            EXPECT_GT(*r.tOut, 20);
            EXPECT_LT(*r.tOut, r.interfaces[last]);
            const double alpha = surfaceCoefficient(*r.air, *r.tOut, 20);
            EXPECT_NEAR(r.q / alpha, *r.tOut - 20, kStoppingStep);
            EXPECT_NEAR(*r.qc / r.q, 1, 0.1);
        }
    }
}

TEST(ConvectionMethod, RoofAndBottomShowTheChartResults) {
    for (SurfaceLocation where : {SurfaceLocation::Roof, SurfaceLocation::Bottom}) {
        SeedAirTable air;
        const HeatInput input = wall("1200", {{"0.72+0.50*t", "230"}, {"0.06", "100"}}, where);
        const ChartOutcome chart = runChartMethod(input, {});
        const ChartOutcome out = runConvectionMethod(input, {}, air);
        EXPECT_EQ(air.lookups, 0);
        EXPECT_EQ(out.result->q, chart.result->q);
        EXPECT_EQ(out.result->tOut, chart.result->tOut);
        EXPECT_EQ(out.result->interfaces, chart.result->interfaces);
        EXPECT_FALSE(out.result->qc);
        EXPECT_EQ(shownResults(*out.result).tOut, shownResults(*chart.result).tOut);
    }
}

TEST(ConvectionMethod, ShowsWholeDegreesAndKeepsTheChartMessages) {
    SeedAirTable air;
    HeatInput input = wall("1000", {{"0.72+0.50*t", "230"}, {"0.06", "100"}});
    input.location = SurfaceLocation::None;
    EXPECT_EQ(runConvectionMethod(input, {}, air).messages.size(),
              1u);  // no location: no refinement

    input.location = SurfaceLocation::Wall;
    const ChartOutcome out = runConvectionMethod(input, {}, air);
    const ShownResults shown = shownResults(*out.result);
    EXPECT_EQ(shown.tOut, ui::shortestText(std::trunc(*out.result->tOut)));
    EXPECT_EQ(shown.interfaces[0], ui::shortestText(std::trunc(out.result->interfaces[0])));
    EXPECT_EQ(shown.q, ui::shortestText(out.result->q));
    EXPECT_EQ(shown.iterations, std::to_string(out.result->iterations));
}

TEST(ConvectionMethod, MissingAirRowNamesItAndLeavesTheChartResults) {
    SeedAirTable air;
    air.erase(20);  // the first iteration's film temperature
    const HeatInput input = wall("1000", {{"0.72+0.50*t", "230"}, {"0.06", "100"}});
    const ChartOutcome out = runConvectionMethod(input, {}, air);
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0].title, "出错信息提示：");
    EXPECT_NE(out.messages[0].text.find("20"), std::string::npos);
    EXPECT_EQ(out.result->tOut, runChartMethod(input, {}).result->tOut);
    EXPECT_FALSE(out.result->qc);
}

// An air table that alternates between two very different rows keeps t_out jumping.
class FlipFlopAirTable : public AirPropertyTable {
public:
    std::optional<AirProperties> find(int) override {
        flip_ = !flip_;
        return AirProperties{flip_ ? 0.02 : 2, 15e-6, 0.7, "", "", ""};
    }

private:
    bool flip_ = false;
};

TEST(ConvectionMethod, StopsAfterTheIterationBoundWithTheLastValues) {
    FlipFlopAirTable air;
    const ChartOutcome out =
        runConvectionMethod(wall("1000", {{"0.72+0.50*t", "230"}, {"0.06", "100"}}), {}, air);
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0].text, "迭代未收敛");
    EXPECT_EQ(out.result->iterations, kMaxIterations);
    EXPECT_TRUE(out.result->qc);
}

TEST(ConvectionMethod, LayersWithoutAUsableConductivityAreLeftOut) {
    SeedAirTable air;
    const ChartOutcome two =
        runConvectionMethod(wall("1000", {{"0.72+0.50*t", "230"}, {"0.06", "100"}}), {}, air);
    HeatInput padded =
        wall("1000", {{"0.72+0.50*t", "230"}, {"", "50"}, {"0.06", "100"}, {"0", "20"}});
    const ChartOutcome out = runConvectionMethod(padded, {}, air);
    EXPECT_DOUBLE_EQ(out.result->q, two.result->q);
    EXPECT_DOUBLE_EQ(*out.result->tOut, *two.result->tOut);

    // Inner temperature equal to the air: no flow, no failure.
    const ChartOutcome still = runConvectionMethod(wall("20", {{"0.06", "100"}}), {}, air);
    EXPECT_EQ(still.result->q, 0);
    EXPECT_EQ(*still.result->tOut, 20);
}

}  // namespace
}  // namespace heat
