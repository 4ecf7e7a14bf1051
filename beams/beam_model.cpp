#include "beams/beam_model.h"

#include <algorithm>
#include <cmath>

namespace beams {
namespace {

bool sameLength(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

// Support moments by the three-moment equations; indices 1 … n as in the
// equations, entry 0 unused.
std::vector<double> supportMoments(const BeamLayout& b) {
    const int n = b.n;
    const std::vector<double>& L = b.L;
    const double q = b.q;
    std::vector<double> M(n + 1, 0.0), A(n + 1, 0.0), B(n + 2, 0.0), D(n + 1, 0.0);
    M[1] = -q * (L[0] * L[0]) / 2;
    M[n] = -q * (L[n] * L[n]) / 2;
    if (n == 2) return M;

    // Equation of interior support i, divided through by L[i−1]:
    // M[i−1] + A[i]·M[i] + B[i+1]·M[i+1] = D[i]. Support 1 is the pseudo-equation
    // M[1] = M[1].
    for (int i = 2; i <= n - 1; ++i) {
        A[i] = 2 * (L[i - 1] + L[i]) / L[i - 1];
        B[i + 1] = L[i] / L[i - 1];
        D[i] = -q * (L[i] * L[i] * L[i] + L[i - 1] * L[i - 1] * L[i - 1]) / (4 * L[i - 1]);
    }
    A[1] = 1;
    B[2] = 0;
    D[1] = M[1];
    D[n] = M[n];

    // Multiply each equation by the previous diagonal and subtract the previous
    // equation; the sweep itself never divides.
    for (int j = 2; j <= n - 1; ++j) {
        A[j] = A[j] * A[j - 1] - B[j];
        B[j + 1] = B[j + 1] * A[j - 1];
        D[j] = D[j] * A[j - 1] - D[j - 1];
    }
    for (int k = n - 1; k >= 2; --k) M[k] = (D[k] - B[k + 1] * M[k + 1]) / A[k];
    return M;
}

}  // namespace

BeamResult SolveBeam(const BeamLayout& b) {
    const int n = b.n;
    const std::vector<double>& L = b.L;
    const double q = b.q;
    const std::vector<double> M = supportMoments(b);

    std::vector<double> R(n + 1, 0.0);
    for (int i = 2; i <= n - 1; ++i)
        R[i] = (M[i + 1] - M[i]) / L[i] + (M[i - 1] - M[i]) / L[i - 1] + q * (L[i] + L[i - 1]) / 2;

    // Moments about support n: the whole load acts at Ltot/2 from the left end,
    // interior support k at L[k] + … + L[n−1] to the left of support n.
    double interior = 0;
    for (int k = 2; k <= n - 1; ++k) {
        double arm = 0;
        for (int j = k; j <= n - 1; ++j) arm += L[j];
        interior += R[k] * arm;
    }
    R[1] = (q * b.Ltot * (b.Ltot - 2 * L[n]) / 2 - interior) / (b.Ltot - L[0] - L[n]);

    double others = 0;
    for (int k = 1; k <= n - 1; ++k) others += R[k];
    R[n] = q * b.Ltot - others;

    return {std::vector<double>(M.begin() + 1, M.end()),
            std::vector<double>(R.begin() + 1, R.end())};
}

bool LengthsAddUp(const BeamLayout& b) {
    double sum = 0;
    for (double d : b.L) sum += d;
    return sameLength(sum, b.Ltot);
}

int firstZeroSpan(const BeamLayout& b) {
    for (int k = 1; k <= b.n - 1; ++k)
        if (b.L[k] == 0) return k;
    return 0;
}

bool endSupportsCoincide(const BeamLayout& b) {
    return b.Ltot - b.L[0] - b.L[b.n] == 0 || sameLength(b.L[0] + b.L[b.n], b.Ltot);
}

double slabLoad(double t, double s) { return t * 0.00785 * s; }

double columnLoad(double G, std::optional<double> P, double s) { return (G + P.value_or(0)) / s; }

}  // namespace beams
