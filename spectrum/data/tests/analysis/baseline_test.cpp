#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "spectrum/data/spcprocess.h"
#include "spectrum/data/tests/analysis/analysis_test_util.h"

using antest::Spectrum;

namespace {

using Matrix = std::vector<std::vector<long double>>;

// Solves a x = b by Gaussian elimination with partial pivoting, in long double.
std::vector<long double> solve(Matrix a, std::vector<long double> b) {
  const std::size_t n = b.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < n; ++r) {
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    }
    std::swap(a[c], a[pivot]);
    std::swap(b[c], b[pivot]);
    for (std::size_t r = c + 1; r < n; ++r) {
      const long double m = a[r][c] / a[c][c];
      for (std::size_t k = c; k < n; ++k) a[r][k] -= m * a[c][k];
      b[r] -= m * b[c];
    }
  }
  std::vector<long double> x(n);
  for (std::size_t c = n; c-- > 0;) {
    long double s = b[c];
    for (std::size_t k = c + 1; k < n; ++k) s -= a[c][k] * x[k];
    x[c] = s / a[c][c];
  }
  return x;
}

// Least-squares polynomial through (x, y) by the normal equations in long double, on
// u = x / scale; returns the fitted value at every point 0 .. n - 1.
std::vector<long double> referencePolynomial(const std::vector<int>& xs, const std::vector<double>& ys, int order,
                                             int n) {
  const long double scale = n - 1;
  const std::size_t k = static_cast<std::size_t>(order) + 1;
  Matrix ata(k, std::vector<long double>(k, 0.0L));
  std::vector<long double> aty(k, 0.0L);
  for (std::size_t j = 0; j < xs.size(); ++j) {
    std::vector<long double> pw(k);
    pw[0] = 1.0L;
    for (std::size_t q = 1; q < k; ++q) pw[q] = pw[q - 1] * (xs[j] / scale);
    for (std::size_t r = 0; r < k; ++r) {
      for (std::size_t c = 0; c < k; ++c) ata[r][c] += pw[r] * pw[c];
      aty[r] += pw[r] * ys[j];
    }
  }
  const std::vector<long double> c = solve(ata, aty);
  std::vector<long double> out(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    long double v = 0.0L;
    for (std::size_t q = k; q-- > 0;) v = v * (i / scale) + c[q];
    out[static_cast<std::size_t>(i)] = v;
  }
  return out;
}

// A slowly varying baseline (with a few bumps the polynomial cannot follow exactly).
double wavyBaseline(int i, int n) {
  const double u = static_cast<double>(i) / n;
  return 40.0 + 25.0 * u - 60.0 * u * u + 30.0 * std::sin(7.0 * u) + 3.0 * std::cos(41.0 * u);
}

TEST(Baseline, PolynomialsOfEveryOrderMatchAnIndependentLeastSquaresFit) {
  const int n = 65536;
  Spectrum s(antest::realPoints(n, [&](int i) { return wavyBaseline(i, n); }));
  std::vector<int> xs;
  for (int x = 37; x < n; x += 1601) xs.push_back(x);
  xs.push_back(n - 3);
  s.p.m_basePoints.assign(xs.begin(), xs.end());
  std::vector<double> ys;
  for (int x : xs) ys.push_back(static_cast<float>(wavyBaseline(x, n)));

  for (int order = 1; order <= 6; ++order) {
    SCOPED_TRACE(order);
    ASSERT_TRUE(s.p.SetBaselineMethod(order));
    s.p.CalcBaseline();
    ASSERT_EQ(s.p.m_baseline.size(), static_cast<std::size_t>(n));
    const std::vector<long double> ref = referencePolynomial(xs, ys, order, n);
    double worst = 0.0;
    for (int i = 0; i < n; ++i) worst = std::max(worst, std::fabs(static_cast<double>(s.p.m_baseline[i] - ref[i])));
    // Values near 50 held in floats: a few units of the last place.
    EXPECT_LT(worst, 2e-5);
  }
}

TEST(Baseline, TooFewPointsGiveNoCurve) {
  Spectrum s(antest::realPoints(200, [](int i) { return 0.5 * i + 3.0; }));
  s.p.m_basePoints = {20, 180};
  ASSERT_TRUE(s.p.SetBaselineMethod(0));
  s.p.CalcBaseline();
  EXPECT_TRUE(s.p.m_baseline.empty());

  ASSERT_TRUE(s.p.SetBaselineMethod(1));
  s.p.CalcBaseline();
  ASSERT_EQ(s.p.m_baseline.size(), 200u);
  for (int i = 0; i < 200; i += 13) EXPECT_NEAR(s.p.m_baseline[i], 0.5 * i + 3.0, 1e-4);

  s.p.m_basePoints = {20, 100, 180};
  ASSERT_TRUE(s.p.SetBaselineMethod(3));
  s.p.CalcBaseline();
  EXPECT_TRUE(s.p.m_baseline.empty());

  // The same index twice, or an index outside the points, is not a second point.
  s.p.m_basePoints = {20, 20, 100, 100, 500, -4};
  ASSERT_TRUE(s.p.SetBaselineMethod(2));
  s.p.CalcBaseline();
  EXPECT_TRUE(s.p.m_baseline.empty());
}

TEST(Baseline, BadMethodIsRefused) {
  Spectrum s(antest::realPoints(100, [](int) { return 1.0; }));
  s.p.m_nBaselineMethod = 2;
  EXPECT_FALSE(s.p.SetBaselineMethod(7));
  EXPECT_FALSE(s.p.SetBaselineMethod(-1));
  EXPECT_EQ(s.p.m_nBaselineMethod, 2);
}

TEST(Baseline, NoCurveFromABadFactorOrNonFiniteData) {
  Spectrum s(antest::realPoints(100, [](int i) { return 0.1 * i; }));
  s.p.m_basePoints = {10, 40, 70, 90};
  ASSERT_TRUE(s.p.SetBaselineMethod(0));
  for (float f : {-1.0f, NAN, INFINITY}) {
    s.p.m_fSplineFactor = f;
    s.p.CalcBaseline();
    EXPECT_TRUE(s.p.m_baseline.empty()) << f;
  }
  s.p.m_fSplineFactor = 100.0f;
  s.d.data[1][40].re = NAN;
  s.p.CalcBaseline();
  EXPECT_TRUE(s.p.m_baseline.empty());
  ASSERT_TRUE(s.p.SetBaselineMethod(2));
  s.p.CalcBaseline();
  EXPECT_TRUE(s.p.m_baseline.empty());
}

TEST(Baseline, SwitchingOffKeepsTheCurveAndOnAgainRecomputesIt) {
  Spectrum s(antest::realPoints(300, [](int i) { return 2.0 + 0.01 * i; }));
  s.p.m_basePoints = {10, 150, 290};
  ASSERT_TRUE(s.p.SetBaselineMethod(1));
  s.p.CalcBaseline();
  s.p.SetBaselineCorrection(true);
  EXPECT_NEAR(s.p.GetDisplayValue(77), 0.0, 1e-5);

  s.p.SetBaselineCorrection(false);
  EXPECT_EQ(s.p.m_baseline.size(), 300u);
  EXPECT_NEAR(s.p.GetDisplayValue(77), 2.77, 1e-5);

  // The data change while the correction is off; switching on fits the new data.
  for (auto& pt : s.d.data[1]) pt.re += 1.0f;
  s.p.m_bBaseLevelDirty = 0;
  s.p.SetBaselineCorrection(true);
  EXPECT_EQ(s.p.m_bBaseLevelDirty, 1);
  EXPECT_NEAR(s.p.m_baseline[77], 3.77, 1e-5);
  EXPECT_NEAR(s.p.GetDisplayValue(77), 0.0, 1e-5);
}

// ---- Smoothing spline ----

// The natural smoothing spline solved independently: values g at the knots minimise
// sum (y - g)^2 / f + g' K g with K = Q R^-1 Q' (dense, long double); second derivatives
// gamma = R^-1 Q' g.
struct ReferenceSpline {
  std::vector<long double> x, g, s;

  ReferenceSpline(const std::vector<int>& xs, const std::vector<double>& ys, long double f) {
    const std::size_t n = xs.size(), m = n - 2;
    x.assign(xs.begin(), xs.end());
    std::vector<long double> h(n - 1);
    for (std::size_t j = 0; j + 1 < n; ++j) h[j] = x[j + 1] - x[j];
    Matrix q(n, std::vector<long double>(m, 0.0L)), r(m, std::vector<long double>(m, 0.0L));
    for (std::size_t k = 0; k < m; ++k) {
      q[k][k] = 1.0L / h[k];
      q[k + 1][k] = -1.0L / h[k] - 1.0L / h[k + 1];
      q[k + 2][k] = 1.0L / h[k + 1];
      r[k][k] = (h[k] + h[k + 1]) / 3.0L;
      if (k + 1 < m) r[k][k + 1] = r[k + 1][k] = h[k + 1] / 6.0L;
    }
    // R^-1 Q', column by column.
    Matrix rinvqt(m, std::vector<long double>(n));
    for (std::size_t c = 0; c < n; ++c) {
      std::vector<long double> col(m);
      for (std::size_t k = 0; k < m; ++k) col[k] = q[c][k];
      const std::vector<long double> z = solve(r, col);
      for (std::size_t k = 0; k < m; ++k) rinvqt[k][c] = z[k];
    }
    k.assign(n, std::vector<long double>(n, 0.0L));
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j)
        for (std::size_t t = 0; t < m; ++t) k[i][j] += q[i][t] * rinvqt[t][j];
    Matrix a = k;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) a[i][j] *= f;
      a[i][i] += 1.0L;
    }
    g = solve(a, std::vector<long double>(ys.begin(), ys.end()));
    s.assign(n, 0.0L);
    for (std::size_t t = 0; t < m; ++t)
      for (std::size_t j = 0; j < n; ++j) s[t + 1] += rinvqt[t][j] * g[j];
  }

  long double objective(const std::vector<long double>& values, const std::vector<double>& ys, long double f) const {
    long double fit = 0.0L, rough = 0.0L;
    for (std::size_t i = 0; i < values.size(); ++i) {
      fit += (ys[i] - values[i]) * (ys[i] - values[i]);
      for (std::size_t j = 0; j < values.size(); ++j) rough += values[i] * k[i][j] * values[j];
    }
    return fit / f + rough;
  }

  long double at(long double u) const {
    std::size_t j = 0;
    while (j + 2 < x.size() && u > x[j + 1]) ++j;
    const long double h = x[j + 1] - x[j], p = u - x[j], q = x[j + 1] - u;
    return (p * g[j + 1] + q * g[j]) / h - p * q / 6.0L * ((1.0L + p / h) * s[j + 1] + (1.0L + q / h) * s[j]);
  }

  Matrix k;
};

TEST(Baseline, SmoothingSplineMinimisesItsObjective) {
  const int n = 3000;
  antest::Noise noise(4.0);
  std::vector<double> raw(n);
  for (int i = 0; i < n; ++i) raw[i] = wavyBaseline(i, n) + noise();
  Spectrum s(antest::realPoints(n, [&](int i) { return raw[i]; }));
  const std::vector<int> xs = {12, 150, 333, 520, 610, 900, 1210, 1500, 1720, 2100, 2333, 2600, 2800, 2990};
  std::vector<double> ys;
  for (int x : xs) ys.push_back(static_cast<float>(raw[x]));
  s.p.m_basePoints.assign(xs.begin(), xs.end());

  for (const float f : {4.0e9f, 1.0e7f, 2.0e5f}) {
    SCOPED_TRACE(f);
    s.p.m_fSplineFactor = f;
    ASSERT_TRUE(s.p.SetBaselineMethod(0));
    s.p.CalcBaseline();
    ASSERT_EQ(s.p.m_baseline.size(), static_cast<std::size_t>(n));
    const ReferenceSpline ref(xs, ys, f);

    // The curve agrees with the independent solution between the first and last knot, to
    // 1e-5 absolute on values of about 50 (float storage and a solve in double).
    for (int i = xs.front(); i <= xs.back(); i += 7) EXPECT_NEAR(s.p.m_baseline[i], static_cast<double>(ref.at(i)), 1e-5);

    // The engine's values at the knots reach the minimum of the objective (relative 1e-6), and
    // moving any one of them away raises it.
    std::vector<long double> engine;
    for (int x : xs) engine.push_back(s.p.m_baseline[x]);
    const long double best = ref.objective(ref.g, ys, f);
    EXPECT_LE(ref.objective(engine, ys, f), best * (1.0L + 1e-6L) + 1e-12L);
    for (std::size_t j = 0; j < xs.size(); ++j) {
      std::vector<long double> moved = ref.g;
      moved[j] += 0.01L;
      EXPECT_GT(ref.objective(moved, ys, f), best);
    }
  }
}

TEST(Baseline, SplineIsStraightPastItsEnds) {
  Spectrum s(antest::realPoints(1000, [](int i) { return std::sin(i / 90.0) * 10.0; }));
  s.p.m_basePoints = {200, 350, 500, 650, 800};
  s.p.m_fSplineFactor = 1.0e3f;
  ASSERT_TRUE(s.p.SetBaselineMethod(0));
  s.p.CalcBaseline();
  ASSERT_EQ(s.p.m_baseline.size(), 1000u);
  const auto& c = s.p.m_baseline;
  EXPECT_NEAR(c[0] - c[50], c[100] - c[150], 1e-4);
  EXPECT_NEAR(c[999] - c[949], c[900] - c[850], 1e-4);
}

// ---- Automatic baseline points ----

TEST(Baseline, AutomaticPointsOnAFlatNoisySpectrumAre64Apart) {
  const int n = 8192;
  antest::Noise noise(0.001);
  Spectrum s(antest::realPoints(n, [&](int i) {
    return 1.0 + noise() + antest::lorentz(i, 1000.0, 3000, 1.5) + antest::lorentz(i, 800.0, 6000, 1.5);
  }));
  s.p.m_nDisplay = 0;  // the selection reads magnitudes whatever is shown
  ASSERT_TRUE(s.p.AutoSelectBaselinePoints());
  const std::vector<std::int32_t>& pts = s.p.m_basePoints;
  ASSERT_GE(pts.size(), 30u);
  EXPECT_EQ(pts.front(), 10);
  EXPECT_EQ(pts.back(), n - 10);
  // The first flat stretch gives windows centred at 32, 96, 160, ...
  for (int k = 0; k < 20; ++k) EXPECT_EQ(pts[1 + k], 32 + 64 * k);
  for (std::size_t j = 2; j + 1 < pts.size(); ++j) {
    EXPECT_EQ((pts[j] - pts[j - 1]) % 64 == 0 || pts[j] - pts[j - 1] > 64, true) << j;
    // No point lands on a line.
    EXPECT_GT(std::min(std::abs(pts[j] - 3000), std::abs(pts[j] - 6000)), 30) << pts[j];
  }
}

// The selection walk written out step by step, point by point, as the reference.
std::vector<std::int32_t> referenceSelection(const std::vector<double>& m) {
  const int n = static_cast<int>(m.size());
  double d = 0.0;
  for (int i = 1; i < n; ++i) d += std::fabs(m[i - 1] - m[i]);
  d /= n - 1;
  std::vector<std::int32_t> pts;
  for (int len = 64, k = 32; len > 0; len -= 4, k -= 2) {
    pts = {10};
    int r = 0;
    double sum = 0.0;
    for (int i = 1; i < n; ++i) {
      const double diff = m[i - 1] - m[i];
      if (std::fabs(diff) < d) {
        ++r;
        sum += diff;
        if (r == len) {
          r = 0;
          if (std::fabs(sum) < d / (k >= 16 ? k / 8 : 1)) pts.push_back(i - len / 2);
          sum = 0.0;
        }
      } else {
        r = 0;
        sum = 0.0;
      }
    }
    pts.push_back(n - 10);
    if (pts.size() >= 30) break;
  }
  return pts;
}

TEST(Baseline, AutomaticPointsFollowTheWalkOnMagnitudes) {
  for (int n : {300, 4096, 20000}) {
    SCOPED_TRACE(n);
    antest::Noise noise(0.02, static_cast<unsigned>(n));
    std::vector<CSpcPoint> pts(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      const double u = static_cast<double>(i) / n;
      pts[i] = {static_cast<float>(std::sin(9.0 * u) + noise() + antest::lorentz(i, 30.0, n / 3.0, 2.0)),
                static_cast<float>(0.5 + noise() + antest::lorentz(i, 20.0, 0.7 * n, 3.0))};
    }
    Spectrum s(pts);
    std::vector<double> mag(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) mag[i] = std::hypot(static_cast<double>(pts[i].re), static_cast<double>(pts[i].im));
    ASSERT_TRUE(s.p.AutoSelectBaselinePoints());
    EXPECT_EQ(s.p.m_basePoints, referenceSelection(mag));
  }
}

TEST(Baseline, AutomaticPointsEndOnFeaturelessData) {
  for (double level : {0.0, 3.0}) {
    Spectrum s(antest::realPoints(1000, [&](int) { return level; }));
    ASSERT_TRUE(s.p.AutoSelectBaselinePoints());
    EXPECT_EQ(s.p.m_basePoints, (std::vector<std::int32_t>{10, 990}));
  }
  Spectrum tiny(antest::realPoints(20, [](int i) { return i; }));
  tiny.p.m_basePoints = {5};
  EXPECT_FALSE(tiny.p.AutoSelectBaselinePoints());
  EXPECT_EQ(tiny.p.m_basePoints, (std::vector<std::int32_t>{5}));
}

}  // namespace
