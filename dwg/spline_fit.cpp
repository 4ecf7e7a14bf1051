#include "dwg/spline_fit.h"

#include <array>
#include <cmath>

namespace dwg {
namespace {

Point3 plus(const Point3& a, const Point3& b, double s = 1.0) {
    return Point3{a.x + s * b.x, a.y + s * b.y, a.z + s * b.z};
}

// The cubic basis functions N[span-3 .. span] at u (Cox–de Boor).
std::array<double, 4> basis(size_t span, double u, const std::vector<double>& knots) {
    std::array<double, 4> n{1, 0, 0, 0};
    std::array<double, 4> left{}, right{};
    for (size_t j = 1; j <= 3; ++j) {
        left[j] = u - knots[span + 1 - j];
        right[j] = knots[span + j] - u;
        double saved = 0.0;
        for (size_t r = 0; r < j; ++r) {
            const double denominator = right[r + 1] + left[j - r];
            const double t = denominator == 0.0 ? 0.0 : n[r] / denominator;
            n[r] = saved + right[r + 1] * t;
            saved = left[j - r] * t;
        }
        n[j] = saved;
    }
    return n;
}

}  // namespace

bool interpolateCubic(const std::vector<Point3>& fit, const Point3& startDerivative,
                      const Point3& endDerivative, int parameterization, SplineControl& out) {
    if (fit.size() < 2) return false;
    const size_t n = fit.size() - 1;
    std::vector<double> t(n + 1, 0.0);
    for (size_t k = 1; k <= n; ++k) {
        const double dx = fit[k].x - fit[k - 1].x, dy = fit[k].y - fit[k - 1].y,
                     dz = fit[k].z - fit[k - 1].z;
        double step = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (parameterization == 1) step = std::sqrt(step);
        if (parameterization == 2) step = 1.0;
        if (!(step > 0.0)) return false;
        t[k] = t[k - 1] + step;
    }
    std::vector<double>& u = out.knots;
    u.assign(4, 0.0);
    for (size_t k = 1; k < n; ++k) u.push_back(t[k]);
    u.insert(u.end(), 4, t[n]);

    // The unknowns are P_1 … P_n+1 (P_0 and P_n+2 are the end points): a tridiagonal
    // system of the two end conditions and the interior fit points. With Q_i =
    // (P_i+1 − P_i) / (u_i+4 − u_i+1), a derivative D at the start is 3·Q_0 = D and no
    // bending there is Q_0 = Q_1; likewise at the end with Q_n+1 and Q_n.
    std::vector<Point3>& p = out.points;
    p.assign(n + 3, Point3{});
    p[0] = fit[0];
    p[n + 2] = fit[n];
    const size_t m = n + 1;
    std::vector<double> a(m, 0.0), b(m, 0.0), c(m, 0.0);
    std::vector<Point3> rhs(m);
    const auto given = [](const Point3& d) { return d.x != 0.0 || d.y != 0.0 || d.z != 0.0; };
    const double h0 = u[4] - u[1], h1 = u[5] - u[2];
    if (given(startDerivative)) {
        b[0] = 1.0;
        rhs[0] = plus(fit[0], startDerivative, h0 / 3.0);
    } else {
        b[0] = 1.0 / h0 + 1.0 / h1;
        c[0] = -1.0 / h1;
        rhs[0] = Point3{fit[0].x / h0, fit[0].y / h0, fit[0].z / h0};
    }
    // Fit point k (1 ≤ k < n) lies at t[k], a knot: there only N_k, N_k+1 and N_k+2
    // are not zero.
    for (size_t k = 1; k < n; ++k) {
        const auto nk = basis(k + 3, t[k], u);
        a[k] = nk[0];
        b[k] = nk[1];
        c[k] = nk[2];
        rhs[k] = fit[k];
    }
    const double g0 = u[n + 4] - u[n + 1], g1 = u[n + 5] - u[n + 2];
    if (given(endDerivative)) {
        a[n] = 0.0;
        b[n] = 1.0;
        rhs[n] = plus(fit[n], endDerivative, -g1 / 3.0);
    } else {
        a[n] = -1.0 / g0;
        b[n] = 1.0 / g0 + 1.0 / g1;
        rhs[n] = Point3{fit[n].x / g1, fit[n].y / g1, fit[n].z / g1};
    }
    for (size_t i = 1; i < m; ++i) {
        if (b[i - 1] == 0.0) return false;
        const double w = a[i] / b[i - 1];
        b[i] -= w * c[i - 1];
        rhs[i] = plus(rhs[i], rhs[i - 1], -w);
    }
    if (b[m - 1] == 0.0) return false;
    for (size_t i = m; i-- > 0;) {
        Point3 v = rhs[i];
        if (i + 1 < m) v = plus(v, p[i + 2], -c[i]);
        p[i + 1] = Point3{v.x / b[i], v.y / b[i], v.z / b[i]};
    }
    return true;
}

}  // namespace dwg
