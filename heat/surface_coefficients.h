// The outer surface's heat transfer coefficients for the standard method, in
// W/(m²·K), for a surface at ts and still air and surroundings at ta (°C).
//
// Free convection, air properties at the film temperature (ts + ta) / 2, β = 1/T_film
// (ideal gas), Ra = g·β·(ts − ta)·L³·Pr / ν², h_c = Nu·λ_air / L:
//   wall, L = its height H, the whole-range correlation of Churchill and Chu (Int. J.
//     Heat Mass Transfer 18 (1975) 1323):
//     Nu = {0.825 + 0.387·Ra^(1/6) / [1 + (0.492/Pr)^(9/16)]^(8/27)}²;
//   roof, the hot face up, and bottom, the hot face down, L = the plate's characteristic
//     length (area / perimeter), the horizontal-plate correlations of McAdams as
//     Incropera and DeWitt, Fundamentals of Heat and Mass Transfer (5th ed., §9.6.3)
//     give them:
//     roof Nu = 0.54·Ra^(1/4) below Ra = 10⁷, 0.15·Ra^(1/3) from there; bottom
//     Nu = 0.27·Ra^(1/4).
// Radiation of a grey surface to surroundings at the air temperature (Stefan–Boltzmann,
// as ISO 12241 writes it): h_r = ε·σ·(Ts⁴ − Ta⁴) / (Ts − Ta), temperatures in K.
#pragma once

#include "heat/chart_band.h"
#include "heat/film_air.h"

namespace heat {

constexpr double kStefanBoltzmann = 5.670374419e-8;  // W/(m²·K⁴)
constexpr double kWattsPerKcalHour = 1.163;          // 1 kcal/h = 1.163 W

// h_c of `location` (wall, roof or bottom) with `film` the air at (ts + ta) / 2 and
// `length` in m: H for a wall, L for a roof or bottom. 0 for SurfaceLocation::None.
double convectionCoefficient(SurfaceLocation location, double ts, double ta, double length,
                             const AirRow& film);

// h_r of a surface of emissivity ε (0 … 1); at ts = ta its limit 4·ε·σ·T³.
double radiationCoefficient(double emissivity, double ts, double ta);

}  // namespace heat
