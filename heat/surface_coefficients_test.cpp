#include "heat/surface_coefficients.h"

#include <gtest/gtest.h>

#include <vector>

namespace heat {
namespace {

// The 60 °C row of the air table: the film temperature of a surface at 100 °C in air at
// 20 °C, so no interpolation enters the hand calculation.
const AirRow kFilm60{60, 0.02494, 18.97e-6, 0.696};

// Worked by hand from the correlations with g = 9.80665, β = 1/333.15 K⁻¹,
// λ_air = 0.02494·1.163 W/(m·K): Ra = 1.230e11 for H = 3 m, 3.644e10 for L = 2 m,
// 5.693e5 for L = 0.05 m (the roof's laminar range).
TEST(SurfaceCoefficients, FreeConvectionAt100And20AsWorkedByHand) {
    struct Case {
        SurfaceLocation location;
        double length, hc;
    };
    const Case cases[] = {
        {SurfaceLocation::Wall, 3, 5.416},      {SurfaceLocation::Roof, 2, 7.212},
        {SurfaceLocation::Roof, 0.05, 8.605},   {SurfaceLocation::Bottom, 2, 1.711},
        {SurfaceLocation::Bottom, 0.05, 4.302},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.location) << " L " << c.length);
        EXPECT_NEAR(convectionCoefficient(c.location, 100, 20, c.length, kFilm60), c.hc, 0.001);
    }
    EXPECT_EQ(convectionCoefficient(SurfaceLocation::None, 100, 20, 3, kFilm60), 0);
}

TEST(SurfaceCoefficients, RadiationIsStefanBoltzmannOverTheTemperatureDifference) {
    EXPECT_NEAR(radiationCoefficient(0.8, 100, 20), 6.806, 0.001);
    EXPECT_EQ(radiationCoefficient(0, 100, 20), 0);
    const double t = 20 + 273.15;
    EXPECT_NEAR(radiationCoefficient(1, 20, 20), 4 * kStefanBoltzmann * t * t * t, 1e-12);
}

TEST(FilmAir, InterpolatesBetweenRowsAndTakesTheEndRowsOutside) {
    const std::vector<AirRow> rows = {{0, 0.02098, 13.28e-6, 0.707},
                                      {20, 0.02227, 15.06e-6, 0.703},
                                      {40, 0.02373, 16.96e-6, 0.699}};
    const AirRow mid = *airAt(rows, 30);
    EXPECT_DOUBLE_EQ(mid.lambda, 0.023);
    EXPECT_DOUBLE_EQ(mid.nu, 16.01e-6);
    EXPECT_DOUBLE_EQ(mid.pr, 0.701);
    EXPECT_DOUBLE_EQ(airAt(rows, 20)->lambda, 0.02227);
    EXPECT_DOUBLE_EQ(airAt(rows, -30)->nu, 13.28e-6);
    EXPECT_DOUBLE_EQ(airAt(rows, 900)->pr, 0.699);
    EXPECT_FALSE(airAt({}, 20));
}

}  // namespace
}  // namespace heat
