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
    for (double& v : t) v /= t[n];
    t[n] = 1.0;

    out.knots.assign(4, 0.0);
    for (size_t k = 1; k < n; ++k) out.knots.push_back(t[k]);
    out.knots.insert(out.knots.end(), 4, 1.0);

    std::vector<Point3>& p = out.points;
    p.assign(n + 3, Point3{});
    p[0] = fit[0];
    p[1] = plus(fit[0], startDerivative, t[1] / 3.0);
    p[n + 1] = plus(fit[n], endDerivative, -(1.0 - t[n - 1]) / 3.0);
    p[n + 2] = fit[n];
    if (n < 2) return true;
    // Fit point k (1 ≤ k < n) lies at t[k], a knot: there only N_k, N_k+1 and N_k+2 are
    // not zero, which makes a tridiagonal system for P_2 … P_n.
    const size_t m = n - 1;
    std::vector<double> a(m), b(m), c(m);
    std::vector<Point3> rhs(m);
    for (size_t k = 1; k <= m; ++k) {
        const auto nk = basis(k + 3, t[k], out.knots);
        a[k - 1] = nk[0];
        b[k - 1] = nk[1];
        c[k - 1] = nk[2];
        rhs[k - 1] = fit[k];
    }
    rhs[0] = plus(rhs[0], p[1], -a[0]);
    rhs[m - 1] = plus(rhs[m - 1], p[n + 1], -c[m - 1]);
    for (size_t i = 1; i < m; ++i) {
        if (b[i - 1] == 0.0) return false;
        const double w = a[i] / b[i - 1];
        b[i] -= w * c[i - 1];
        rhs[i] = plus(rhs[i], rhs[i - 1], -w);
    }
    if (b[m - 1] == 0.0) return false;
    for (size_t i = m; i-- > 0;) {
        Point3 v = rhs[i];
        if (i + 1 < m) v = plus(v, p[i + 3], -c[i]);
        p[i + 2] = Point3{v.x / b[i], v.y / b[i], v.z / b[i]};
    }
    return true;
}

}  // namespace dwg
