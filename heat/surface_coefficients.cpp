#include "heat/surface_coefficients.h"

#include <cmath>

namespace heat {
namespace {

constexpr double kGravity = 9.80665;  // m/s²
constexpr double kKelvin = 273.15;

double nusselt(SurfaceLocation location, double ra, double pr) {
    switch (location) {
        case SurfaceLocation::Wall: {
            const double prandtlFactor = std::pow(1 + std::pow(0.492 / pr, 9.0 / 16), 8.0 / 27);
            const double root = 0.825 + 0.387 * std::pow(ra, 1.0 / 6) / prandtlFactor;
            return root * root;
        }
        case SurfaceLocation::Roof:
            return ra < 1e7 ? 0.54 * std::pow(ra, 0.25) : 0.15 * std::cbrt(ra);
        case SurfaceLocation::Bottom:
            return 0.27 * std::pow(ra, 0.25);
        case SurfaceLocation::None:
            break;
    }
    return 0;
}

}  // namespace

double convectionCoefficient(SurfaceLocation location, double ts, double ta, double length,
                             const AirRow& film) {
    const double beta = 1 / (film.temperature + kKelvin);
    // A surface colder than the air drives the same flow the other way round; the
    // correlations take the magnitude.
    const double ra = kGravity * beta * std::abs(ts - ta) * length * length * length * film.pr /
                      (film.nu * film.nu);
    const double lambdaAir = film.lambda * kWattsPerKcalHour;
    return nusselt(location, ra, film.pr) * lambdaAir / length;
}

double radiationCoefficient(double emissivity, double ts, double ta) {
    const double s = ts + kKelvin, a = ta + kKelvin;
    // (s⁴ − a⁴)/(s − a) factored, so that it holds at s = a as well.
    return emissivity * kStefanBoltzmann * (s + a) * (s * s + a * a);
}

}  // namespace heat
