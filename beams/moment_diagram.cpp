#include "beams/moment_diagram.h"

#include <algorithm>

namespace beams {
namespace {

// x of support k (1 … n) from the left end.
std::vector<double> supportPositions(const BeamLayout& layout) {
    std::vector<double> x;
    double at = layout.L[0];
    for (int k = 1; k <= layout.n; ++k) {
        x.push_back(at);
        if (k < layout.n) at += layout.L[static_cast<std::size_t>(k)];
    }
    return x;
}

// In span k (support k to k+1, length l) at distance xi from support k: the straight
// line between the support moments plus the simple-beam parabola of the load.
double spanMoment(double Mleft, double Mright, double l, double q, double xi) {
    return Mleft + (Mright - Mleft) * xi / l + q * xi * (l - xi) / 2;
}

}  // namespace

double momentAt(const BeamLayout& layout, const BeamResult& result, double x) {
    const std::vector<double> s = supportPositions(layout);
    const double q = layout.q;
    if (x <= s.front()) {
        const double a = x;  // the load left of x hangs on the overhang
        return -q * a * a / 2;
    }
    if (x >= s.back()) {
        double end = s.back() + layout.L.back();
        const double b = end - x;
        return -q * b * b / 2;
    }
    const std::size_t k =
        static_cast<std::size_t>(std::upper_bound(s.begin(), s.end(), x) - s.begin() - 1);
    const double l = layout.L[k + 1];
    return spanMoment(result.M[k], result.M[k + 1], l, q, x - s[k]);
}

MomentDiagram momentDiagram(const BeamLayout& layout, const BeamResult& result,
                            int samplesPerPart) {
    MomentDiagram d;
    d.supports = supportPositions(layout);
    d.length = d.supports.back() + layout.L.back();
    d.parts = layout.L;
    d.q = layout.q;
    d.M = result.M;
    d.R = result.R;
    const double q = layout.q;

    for (std::size_t k = 0; k + 1 < d.supports.size(); ++k) {
        const double l = layout.L[k + 1];
        if (q == 0) continue;
        const double xi = l / 2 + (d.M[k + 1] - d.M[k]) / (q * l);
        if (xi > 0 && xi < l)
            d.spanExtremes.push_back(
                {d.supports[k] + xi, spanMoment(d.M[k], d.M[k + 1], l, q, xi)});
    }

    // Part boundaries: the ends and the supports; inside each part evenly spaced samples,
    // plus the span extremes exactly. Supports take the solved moments themselves.
    std::vector<double> bounds{0};
    bounds.insert(bounds.end(), d.supports.begin(), d.supports.end());
    bounds.push_back(d.length);
    for (std::size_t p = 0; p + 1 < bounds.size(); ++p) {
        const double from = bounds[p], to = bounds[p + 1];
        for (int i = 0; i < samplesPerPart && to > from; ++i) {
            const double x = from + (to - from) * i / samplesPerPart;
            d.curve.push_back({x, momentAt(layout, result, x)});
        }
        for (const DiagramPoint& e : d.spanExtremes)
            if (e.x > from && e.x < to) d.curve.push_back(e);
    }
    d.curve.push_back({d.length, momentAt(layout, result, d.length)});
    for (std::size_t k = 0; k < d.supports.size(); ++k) d.curve.push_back({d.supports[k], d.M[k]});
    std::stable_sort(d.curve.begin(), d.curve.end(),
                     [](const DiagramPoint& a, const DiagramPoint& b) { return a.x < b.x; });
    // A support sampled as a part's start and added with its solved moment keeps the latter.
    std::vector<DiagramPoint> unique;
    for (const DiagramPoint& p : d.curve) {
        if (!unique.empty() && unique.back().x == p.x)
            unique.back() = p;
        else
            unique.push_back(p);
    }
    d.curve = std::move(unique);
    return d;
}

}  // namespace beams
