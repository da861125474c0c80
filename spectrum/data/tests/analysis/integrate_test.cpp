#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "spectrum/data/spcprocess.h"
#include "spectrum/data/tests/analysis/analysis_test_util.h"

using antest::lorentz;
using antest::Spectrum;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Area of a Lorentzian between a and b, from its antiderivative h g atan((x - c) / g).
double lorentzArea(double h, double c, double g, double a, double b) {
  return h * g * (std::atan((b - c) / g) - std::atan((a - c) / g));
}

// ---- Base level ----

TEST(BaseLevel, SixtyFourPointsTakeTheMeanAndSixtyFiveRunTheWindows) {
  // One outlier: the plain mean is pulled up, the window rounds leave it out.
  std::vector<double> v(64, 0.0);
  v.back() = 6.4;
  Spectrum s64(antest::realPoints(64, [&](int i) { return v[i]; }));
  EXPECT_NEAR(s64.p.GetBaseLevel(), 0.1, 1e-6);

  v.assign(65, 0.0);
  v.back() = 6.5;
  Spectrum s65(antest::realPoints(65, [&](int i) { return v[i]; }));
  EXPECT_NEAR(s65.p.GetBaseLevel(), 0.0, 1e-9);
}

TEST(BaseLevel, FindsTheNoiseFloorUnderLines) {
  antest::Noise noise(0.01);
  Spectrum s(antest::realPoints(16384, [&](int i) {
    return 0.3 + noise() + lorentz(i, 100.0, 4000, 3) + lorentz(i, 60.0, 9000, 5) + lorentz(i, 80.0, 9100, 5);
  }));
  EXPECT_NEAR(s.p.GetBaseLevel(), 0.3, 0.01);
  EXPECT_EQ(s.p.m_bBaseLevelDirty, 0);
  // A later change marks it for recomputation.
  for (auto& pt : s.d.data[1]) pt.re += 1.0f;
  s.p.UpdatePhase();
  EXPECT_NEAR(s.p.GetBaseLevel(), 1.3, 0.01);
}

TEST(BaseLevel, MassAndEmptyRecordsHaveNone) {
  Spectrum mass(antest::realPoints(100, [](int) { return 5.0; }), 1);
  EXPECT_EQ(mass.p.GetBaseLevel(), 0.0f);
  Spectrum empty({});
  EXPECT_EQ(empty.p.GetBaseLevel(), 0.0f);
  EXPECT_EQ(empty.p.GetTotalIntegral(), 0.0f);
  EXPECT_EQ(empty.p.GetIntegral(0, 10), 0.0f);
}

// ---- Integrals ----

TEST(Integral, LorentzianAreasMatchTheirAnalyticValues) {
  const int n = 8192;
  struct Line {
    double h, c, g;
  };
  const Line lines[] = {{50.0, 2000, 20}, {20.0, 5000, 8}, {35.0, 5100, 12}};
  const double offset = 2.0;
  Spectrum s(antest::realPoints(n, [&](int i) {
    double v = offset;
    for (const Line& l : lines) v += lorentz(i, l.h, l.c, l.g);
    return v;
  }));
  const double base = s.p.GetBaseLevel();
  auto analytic = [&](int a, int b) {
    // Unit-spaced points: the sum over a..b is the integral over [a - 1/2, b + 1/2] less the
    // midpoint rule's f''/24 per point.
    double area = (offset - base) * (b - a + 1);
    for (const Line& l : lines) {
      area += lorentzArea(l.h, l.c, l.g, a - 0.5, b + 0.5);
      for (int i = a; i <= b; ++i) {
        const double u2 = (i - l.c) * (i - l.c), g2 = l.g * l.g;
        area -= l.h * g2 * (6.0 * u2 - 2.0 * g2) / std::pow(u2 + g2, 3.0) / 24.0;
      }
    }
    return area;
  };
  for (auto [a, b] : {std::pair{1500, 2500}, std::pair{4700, 5400}, std::pair{0, n - 1}, std::pair{1990, 2010}}) {
    SCOPED_TRACE(a);
    const double expected = analytic(a, b);
    EXPECT_NEAR(s.p.GetIntegral(a, b), expected, 2e-6 * std::fabs(expected) + 0.005);
  }
  // Total of the whole spectrum, and the full Lorentzian area h pi g for a line far from the ends.
  EXPECT_NEAR(s.p.GetTotalIntegral(), analytic(0, n - 1), 1e-4 * analytic(0, n - 1));
  EXPECT_NEAR(s.p.GetIntegral(0, 3999) - (offset - base) * 4000, 50.0 * kPi * 20.0, 50.0 * kPi * 20.0 * 0.01);
  // A range past the data ends at the last point; a reversed range is empty.
  EXPECT_FLOAT_EQ(s.p.GetIntegral(8000, 100000), s.p.GetIntegral(8000, n - 1));
  EXPECT_EQ(s.p.GetIntegral(300, 200), 0.0f);
}

TEST(Integral, CurveSamplesTheRunningSum) {
  const int n = 1000;
  Spectrum s(antest::realPoints(n, [](int i) { return 1.0 + 0.001 * i + lorentz(i, 9.0, 500, 10); }));
  const double base = s.p.GetBaseLevel();
  std::vector<double> running(n);
  double sum = 0.0;
  for (int i = 0; i < n; ++i) running[i] = sum += static_cast<double>(s.d.data[1][i].re) - base;

  // Fewer samples than points: sample k holds the running sum at the last point mapped to it.
  std::vector<float> curve(100, -1.0f);
  const float total = s.p.GetIntegral(0, n - 1, curve.data(), 100);
  EXPECT_NEAR(total, running.back(), 1e-3);
  EXPECT_FLOAT_EQ(curve.back(), total);
  for (int k = 1; k < 99; ++k) {
    // Point i lands on round(i * 99 / 999); the last such point is the one before k + 1 starts.
    int last = 0;
    for (int i = 0; i < n; ++i) {
      if (static_cast<int>(std::floor(i * 99.0 / 999.0 + 0.5)) == k) last = i;
    }
    EXPECT_NEAR(curve[k], running[last], 1e-3) << k;
  }

  // More samples than points: each point is added once, where it first appears.
  std::vector<float> fine(31);
  const float part = s.p.GetIntegral(10, 19, fine.data(), 31);
  EXPECT_NEAR(part, running[19] - running[9], 1e-4);
  EXPECT_NEAR(fine.front(), running[10] - running[9], 1e-4);
  EXPECT_FLOAT_EQ(fine.back(), part);
  for (int j = 0; j < 31; ++j) {
    const int point = 10 + static_cast<int>(std::floor(j * 9.0 / 30.0 + 0.5));
    EXPECT_NEAR(fine[j], running[point] - running[9], 1e-4) << j;
  }

  // The addend and the slope term enter every point.
  const float plain = s.p.GetIntegral(100, 199);
  EXPECT_NEAR(s.p.GetIntegral(100, 199, nullptr, 0, 0.5f), plain + 50.0, 1e-3);
  s.p.m_fSlope = 2.0f;
  double tilt = 0.0;
  for (int i = 100; i <= 199; ++i) tilt += i * base / n * 2.0;
  EXPECT_NEAR(s.p.GetIntegral(100, 199), plain + tilt, 1e-3);
}

// ---- Automatic integration ----

TEST(AutoIntegrate, OneLineGivesOneRangeAroundIt) {
  const int n = 4096;
  const double h = 1000.0, c = 2000.0, g = 2.0;
  antest::Noise noise(0.001);
  Spectrum s(antest::realPoints(n, [&](int i) { return noise() + lorentz(i, h, c, g); }));
  ASSERT_TRUE(s.p.AutoIntegrate(0.0f, static_cast<float>(n)));
  ASSERT_EQ(s.d.integrals.size(), 1u);
  const CSpcIntegral& r = s.d.integrals[0];
  EXPECT_EQ(r.factor, 1.0f);
  // Above the base level B the line exceeds the threshold t = (h - B) 1e-4 while
  // lorentz > B + t, that is within |x - c| < g sqrt(h / (B + t) - 1). The range starts one
  // point before the first point above (two before the second) and ends at the first below.
  const double base = s.p.GetBaseLevel();
  const double reach = g * std::sqrt(h / (base + (h - base) * 1.0e-4) - 1.0);
  EXPECT_NEAR(static_cast<double>(r.from), std::floor(c - reach) + 1.0 - 1.0, 1.0);
  EXPECT_NEAR(static_cast<double>(r.to), std::ceil(c + reach), 1.0);
  const double area = s.p.GetIntegral(r.from, r.to);
  EXPECT_NEAR(area, lorentzArea(h, c, g, r.from - 0.5, r.to + 0.5), 0.01 * area);
}

TEST(AutoIntegrate, SmallRangesAreDropped) {
  const int n = 8192;
  // The second line holds about 0.3 % of the total area.
  Spectrum s(antest::realPoints(n, [&](int i) { return lorentz(i, 1000.0, 2000, 2) + lorentz(i, 3.0, 6000, 2); }));
  ASSERT_TRUE(s.p.AutoIntegrate(0.0f, static_cast<float>(n)));
  ASSERT_EQ(s.d.integrals.size(), 1u);
  EXPECT_LT(s.d.integrals[0].to, 4000u);
  // Only the range asked for is walked; a range still open at its end is not stored.
  EXPECT_FALSE(s.p.AutoIntegrate(3000.0f, 7000.0f));
  EXPECT_FALSE(s.p.AutoIntegrate(1500.0f, 2000.0f));
  EXPECT_TRUE(s.d.integrals.empty());
}

TEST(AutoIntegrate, MassAndBadRangesChangeNothingUseful) {
  Spectrum mass({}, 1);
  mass.d.integrals.push_back({1, 2, 1.0f});
  EXPECT_FALSE(mass.p.AutoIntegrate(0.0f, 100.0f));
  EXPECT_TRUE(mass.d.integrals.empty());

  Spectrum s(antest::realPoints(100, [](int i) { return lorentz(i, 10.0, 50, 2); }));
  s.d.integrals.push_back({1, 2, 1.0f});
  EXPECT_FALSE(s.p.AutoIntegrate(NAN, 100.0f));
  EXPECT_EQ(s.d.integrals.size(), 1u);
  // Positions far outside the points are clamped, not followed.
  EXPECT_TRUE(s.p.AutoIntegrate(-1.0e30f, 1.0e30f));
}

// ---- Peak picking ----

TEST(AutoPeakPick, FindsTheLinesOfANoisyMultipletAndNothingElse) {
  const int n = 4096;
  // A 1:3:3:1 quartet, lines 30 points apart, with noise far below 5 % of the tallest line.
  const int centres[] = {1000, 1030, 1060, 1090};
  const double heights[] = {1.0, 3.0, 3.0, 1.0};
  antest::Noise noise(0.0015);
  Spectrum s(antest::realPoints(n, [&](int i) {
    double v = noise();
    for (int k = 0; k < 4; ++k) v += lorentz(i, heights[k], centres[k], 2.0);
    return v + lorentz(i, 0.1, 3000, 2.0);  // below the threshold: never picked
  }));
  ASSERT_TRUE(s.p.AutoPeakPick(0.0f, static_cast<float>(n)));
  EXPECT_EQ(s.d.peaks, (std::vector<std::int32_t>{1000, 1030, 1060, 1090}));

  ASSERT_TRUE(s.p.AutoPeakPick(1015.0f, 1075.0f));
  EXPECT_EQ(s.d.peaks, (std::vector<std::int32_t>{1030, 1060}));

  // Flat noise: nothing reaches 5 % of the largest value.
  EXPECT_FALSE(s.p.AutoPeakPick(2000.0f, 4000.0f));
  EXPECT_TRUE(s.d.peaks.empty());
}

TEST(AutoPeakPick, MassPeaksGroupByNominalMass) {
  Spectrum s({}, 1);
  CMassScan scan;
  scan.peaks = {{50.0f, 100.2f}, {80.0f, 100.9f}, {80.0f, 101.4f}, {0.5f, 102.0f}, {30.0f, 105.0f}, {90.0f, 300.0f}};
  s.d.scans = {CMassScan{}, scan};
  s.p.m_nScans = 2;
  s.p.m_nScan = 1;
  // 102.0 is below 1 % of the largest intensity; 300 is out of range.
  ASSERT_TRUE(s.p.AutoPeakPick(100.0f, 200.0f));
  EXPECT_EQ(s.d.peaks, (std::vector<std::int32_t>{1, 4}));
  // Over the whole spectrum (its lowest mass to its highest) the first and the last peak count:
  // the last is often the molecular ion.
  const CSpcProcess::FullRange whole = s.p.GetFullRange();
  ASSERT_TRUE(s.p.AutoPeakPick(whole.first, whole.second));
  EXPECT_EQ(s.d.peaks, (std::vector<std::int32_t>{1, 4, 5}));
  scan.peaks.front().re = 95.0f;  // now the group's most intense peak, at the lowest mass
  s.d.scans[1] = scan;
  ASSERT_TRUE(s.p.AutoPeakPick(whole.first, whole.second));
  EXPECT_EQ(s.d.peaks, (std::vector<std::int32_t>{0, 4, 5}));

  s.p.m_nScan = 0;  // a scan without peaks
  EXPECT_FALSE(s.p.AutoPeakPick(100.0f, 200.0f));
  EXPECT_TRUE(s.d.peaks.empty());
}

}  // namespace
