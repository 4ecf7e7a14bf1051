// The continuous-beam model shared by the beam-row and beam-column windows.
//
// A straight beam lies on n point supports (n = 2 … 9), overhangs the first and the
// last one, and carries a uniform load q over its whole length. SolveBeam gives the
// moment over every support and the force on every support. Lengths are in cm, q in
// kg/cm, forces in kg (kg used as a unit of force) and moments in kg·cm; hogging
// moments come out negative.
#pragma once

#include <optional>
#include <vector>

namespace beams {

struct BeamLayout {
    int n = 2;              // number of supports, 2 … 9, numbered 1 … n from the left
    std::vector<double> L;  // n + 1 distances: L[0] overhang beyond support 1, L[k]
                            // (k = 1 … n−1) from support k to support k+1, L[n]
                            // overhang beyond support n; an overhang of 0 puts the
                            // support at the beam end
    double Ltot = 0;        // total length as entered, used as is by SolveBeam
    double q = 0;           // load per cm of beam length
};

struct BeamResult {
    std::vector<double> M;  // M[k−1]: moment over support k, k = 1 … n
    std::vector<double> R;  // R[k−1]: force on support k, k = 1 … n
};

// REQUIRES: layout.L.size() == n + 1, 2 <= n <= 9, no zero span (firstZeroSpan == 0)
// and !endSupportsCoincide. Moments by the three-moment equations solved by a forward
// sweep without division and back substitution; R[1] from the balance of moments
// about support n with Ltot as entered, R[n] from the balance of forces, so the forces
// always add up to q·Ltot. Outside the REQUIRES the results are inf or NaN.
BeamResult SolveBeam(const BeamLayout& layout);

// True when L[0] + … + L[n] equals Ltot within 1e-9·max(1, |Ltot|): typed distances
// such as 33.3 + 33.3 + 33.4 must match 100 despite binary rounding.
bool LengthsAddUp(const BeamLayout& layout);

// The first k in 1 … n−1 whose span L[k] is 0, or 0 when no span is 0.
int firstZeroSpan(const BeamLayout& layout);

// True when Ltot − L[0] − L[n], the distance from support 1 to support n that divides
// in the moment balance, is 0 within the LengthsAddUp tolerance.
bool endSupportsCoincide(const BeamLayout& layout);

// Slab on skid-beam rows: thickness t (cm) times the steel density 0.00785 kg/cm³
// times the skid-beam span s (cm), multiplied in that order.
double slabLoad(double t, double s);

// Skid beam on columns: (dead weight G + row load P) / span s; an absent P counts 0.
// REQUIRES: s != 0.
double columnLoad(double G, std::optional<double> P, double s);

}  // namespace beams
