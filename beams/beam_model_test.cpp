#include "beams/beam_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace beams {
namespace {

BeamLayout layout(std::vector<double> L, double Ltot, double q) {
    return {static_cast<int>(L.size()) - 1, std::move(L), Ltot, q};
}

double sumOf(const std::vector<double>& v) {
    double s = 0;
    for (double x : v) s += x;
    return s;
}

TEST(SolveBeam, HandCheckedLayouts) {
    const BeamResult two = SolveBeam(layout({100, 400, 100}, 600, 1));
    EXPECT_DOUBLE_EQ(two.M[0], -5000);
    EXPECT_DOUBLE_EQ(two.M[1], -5000);
    EXPECT_DOUBLE_EQ(two.R[0], 300);
    EXPECT_DOUBLE_EQ(two.R[1], 300);

    // Three supports, equal spans l, no overhangs.
    const double l = 250, q = 3;
    const BeamResult three = SolveBeam(layout({0, l, l, 0}, 2 * l, q));
    EXPECT_EQ(three.M[0], 0);
    EXPECT_DOUBLE_EQ(three.M[1], -q * l * l / 8);
    EXPECT_EQ(three.M[2], 0);
    EXPECT_DOUBLE_EQ(three.R[0], 3 * q * l / 8);
    EXPECT_DOUBLE_EQ(three.R[1], 10 * q * l / 8);
    EXPECT_DOUBLE_EQ(three.R[2], 3 * q * l / 8);
}

TEST(SolveBeam, ZeroOverhangGivesZeroEndMoment) {
    for (int n = 2; n <= 9; ++n) {
        std::vector<double> L(n + 1, 120.0);
        L[0] = 0;
        L[n] = 35;
        const BeamResult r = SolveBeam(layout(L, sumOf(L), 2.5));
        EXPECT_EQ(r.M[0], 0) << n;
        EXPECT_DOUBLE_EQ(r.M[n - 1], -2.5 * 35 * 35 / 2) << n;
    }
}

TEST(SolveBeam, ForcesAddUpToTheWholeLoadEvenWhenLengthsDoNot) {
    for (double Ltot : {600.0, 650.0, 580.0}) {
        const BeamResult r = SolveBeam(layout({100, 200, 200, 100}, Ltot, 1.7));
        EXPECT_NEAR(sumOf(r.R), 1.7 * Ltot, 1e-9 * 1.7 * Ltot) << Ltot;
    }
}

TEST(LengthsAddUp, ToleratesBinaryRoundingOnly) {
    struct Case {
        std::vector<double> L;
        double Ltot;
        bool addsUp;
    } cases[] = {
        {{33.3, 33.3, 33.4}, 100, true},
        {{0.1, 0.2, 0.3}, 0.6, true},
        {{100, 400, 100}, 600, true},
        {{100, 400, 100}, 600.001, false},
        {{100, 400, 100}, 599.999, false},
        {{0, 0, 0}, 0, true},
        {{0, 0, 0}, 1, false},
        {{1e6, 2e6, 1e6}, 4e6 + 1e-4, true},
        {{1e6, 2e6, 1e6}, 4e6 + 1, false},
    };
    for (const Case& c : cases) EXPECT_EQ(LengthsAddUp(layout(c.L, c.Ltot, 1)), c.addsUp) << c.Ltot;
}

TEST(Divisors, ZeroSpansAndCoincidingEndSupports) {
    EXPECT_EQ(firstZeroSpan(layout({0, 100, 100, 0}, 200, 1)), 0);
    EXPECT_EQ(firstZeroSpan(layout({0, 100, 0, 100, 0}, 200, 1)), 2);
    EXPECT_EQ(firstZeroSpan(layout({5, 0, 5}, 10, 1)), 1);
    EXPECT_FALSE(endSupportsCoincide(layout({100, 400, 100}, 600, 1)));
    EXPECT_TRUE(endSupportsCoincide(layout({100, 400, 100}, 200, 1)));
    EXPECT_TRUE(endSupportsCoincide(layout({0.1, 5, 0.2}, 0.3, 1)));
    EXPECT_TRUE(endSupportsCoincide(layout({0, 0, 0}, 0, 1)));
}

TEST(LoadRules, MultiplicationOrderAndEmptyRowLoad) {
    EXPECT_EQ(slabLoad(10, 100), 10 * 0.00785 * 100);
    EXPECT_EQ(slabLoad(3.3, 97.1), (3.3 * 0.00785) * 97.1);
    EXPECT_DOUBLE_EQ(slabLoad(10, 100), 7.85);
    EXPECT_EQ(columnLoad(600, std::nullopt, 600), 1);
    EXPECT_EQ(columnLoad(600, 1200, 600), 3);
}

// An independent solve by the stiffness method: Euler-Bernoulli elements between the
// beam ends and the supports (EI = 1, exact for a uniform load), deflection fixed at
// the supports. Returns the moments over the supports and the support reactions.
BeamResult stiffnessSolve(const BeamLayout& b) {
    std::vector<double> x{0};
    std::vector<int> supportNode;
    for (int k = 0; k <= b.n; ++k) {
        if (b.L[k] > 0) x.push_back(x.back() + b.L[k]);
        if (k < b.n) supportNode.push_back(static_cast<int>(x.size()) - 1);
    }
    const int nodes = static_cast<int>(x.size()), dofs = 2 * nodes;
    std::vector<std::vector<double>> K(dofs, std::vector<double>(dofs, 0.0));
    std::vector<double> F(dofs, 0.0);
    auto elementStiffness = [](double l) {
        return std::vector<std::vector<double>>{{12, 6 * l, -12, 6 * l},
                                                {6 * l, 4 * l * l, -6 * l, 2 * l * l},
                                                {-12, -6 * l, 12, -6 * l},
                                                {6 * l, 2 * l * l, -6 * l, 4 * l * l}};
    };
    auto elementLoad = [&](double l) {
        return std::vector<double>{-b.q * l / 2, -b.q * l * l / 12, -b.q * l / 2, b.q * l * l / 12};
    };
    for (int e = 0; e + 1 < nodes; ++e) {
        const double l = x[e + 1] - x[e];
        const auto k = elementStiffness(l);
        const auto f = elementLoad(l);
        for (int i = 0; i < 4; ++i) {
            F[2 * e + i] += f[i];
            for (int j = 0; j < 4; ++j) K[2 * e + i][2 * e + j] += k[i][j] / (l * l * l);
        }
    }
    std::vector<bool> fixed(dofs, false);
    for (int s : supportNode) fixed[2 * s] = true;
    std::vector<int> freeDofs;
    for (int d = 0; d < dofs; ++d)
        if (!fixed[d]) freeDofs.push_back(d);

    // Gaussian elimination with partial pivoting on the free degrees of freedom.
    const int m = static_cast<int>(freeDofs.size());
    std::vector<std::vector<double>> A(m, std::vector<double>(m + 1));
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j) A[i][j] = K[freeDofs[i]][freeDofs[j]];
        A[i][m] = F[freeDofs[i]];
    }
    for (int c = 0; c < m; ++c) {
        int p = c;
        for (int r = c + 1; r < m; ++r)
            if (std::fabs(A[r][c]) > std::fabs(A[p][c])) p = r;
        std::swap(A[c], A[p]);
        for (int r = c + 1; r < m; ++r) {
            const double f = A[r][c] / A[c][c];
            for (int j = c; j <= m; ++j) A[r][j] -= f * A[c][j];
        }
    }
    std::vector<double> u(dofs, 0.0), sol(m);
    for (int i = m - 1; i >= 0; --i) {
        double s = A[i][m];
        for (int j = i + 1; j < m; ++j) s -= A[i][j] * sol[j];
        sol[i] = s / A[i][i];
    }
    for (int i = 0; i < m; ++i) u[freeDofs[i]] = sol[i];

    BeamResult r;
    for (int s : supportNode) {
        double reaction = -F[2 * s];
        for (int j = 0; j < dofs; ++j) reaction += K[2 * s][j] * u[j];
        r.R.push_back(reaction);
        // Bending moment at the node from the end forces of the element to its right
        // (sagging positive), or of the element to its left at the right beam end.
        const bool right = s + 1 < nodes;
        const int e = right ? s : s - 1;
        const double l = x[e + 1] - x[e];
        const auto k = elementStiffness(l);
        const auto f = elementLoad(l);
        const int row = right ? 1 : 3;
        double endMoment = -f[row];
        for (int j = 0; j < 4; ++j) endMoment += k[row][j] / (l * l * l) * u[2 * e + j];
        r.M.push_back(right ? -endMoment : endMoment);
    }
    return r;
}

double largest(const std::vector<double>& v) {
    double m = 0;
    for (double x : v) m = std::max(m, std::fabs(x));
    return m;
}

TEST(SolveBeam, AgreesWithStiffnessMethodOnRandomLayouts) {
    std::mt19937_64 rng(20261208);
    std::uniform_real_distribution<double> span(50, 800), overhang(0, 300), load(0.1, 20);
    std::uniform_int_distribution<int> supports(2, 9), coin(0, 3);
    for (int trial = 0; trial < 400; ++trial) {
        const int n = supports(rng);
        std::vector<double> L(n + 1);
        for (int k = 1; k < n; ++k) L[k] = std::round(span(rng) * 10) / 10;
        L[0] = coin(rng) == 0 ? 0 : std::round(overhang(rng) * 10) / 10;
        L[n] = coin(rng) == 0 ? 0 : std::round(overhang(rng) * 10) / 10;
        const BeamLayout b = layout(L, sumOf(L), load(rng));
        const BeamResult model = SolveBeam(b), reference = stiffnessSolve(b);
        // Relative to the size of the load: q·l² for moments, q·Ltot for forces.
        const double maxL = largest(L);
        const double mScale = b.q * maxL * maxL, rScale = b.q * b.Ltot;
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(model.M[k], reference.M[k], 1e-9 * mScale)
                << "trial " << trial << " M" << k + 1;
            EXPECT_NEAR(model.R[k], reference.R[k], 1e-9 * rScale)
                << "trial " << trial << " R" << k + 1;
        }
        EXPECT_NEAR(sumOf(model.R), b.q * b.Ltot, 1e-9 * b.q * b.Ltot);
    }
}

}  // namespace
}  // namespace beams
