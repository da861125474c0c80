#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "spectrum/data/spcprocess.h"
#include "spectrum/data/tests/process/process_test_util.h"

using proctest::addDouble;
using proctest::angleDiff;

namespace {

constexpr double kRad = 0.01745329238474369;  // the engine's single-precision degree factor
constexpr double kPi = 3.14159265358979323846;

// A spectrum record whose current points are the given ones.
struct Spectrum {
  CSpcData d;
  CSpcProcess p{&d};
  explicit Spectrum(std::vector<CSpcPoint> points) {
    d.nDomain = 1;
    d.data[1] = std::move(points);
    p.m_nSI = static_cast<std::int32_t>(d.data[1].size());
    p.m_nScans = 1;
    p.SelectData();
  }
};

std::vector<CSpcPoint> ramp(int n) {
  std::vector<CSpcPoint> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[i] = {std::sin(0.37f * i) + 0.5f, std::cos(0.11f * i) - 0.25f};
  return v;
}

// ---- Display values ----

TEST(ProcessDisplay, NinetyDegreesTurnsRealIntoNegativeImaginary) {
  Spectrum s({{1.0f, 0.0f}, {1.0f, 0.0f}});
  s.p.m_fPH0 = 90.0f;
  EXPECT_NEAR(s.p.GetReal(0), 0.0, 1e-7);
  EXPECT_NEAR(s.p.GetImag(0), -1.0, 1e-7);
}

TEST(ProcessDisplay, ModesFollowTheirFormulas) {
  const int n = 300;
  Spectrum s(ramp(n));
  s.p.m_fPH0 = 37.0f;
  s.p.m_fPH1 = -250.0f;
  s.p.m_nPivot = 120;
  for (int i = 0; i < n; i += 7) {
    const double re = s.d.data[1][i].re, im = s.d.data[1][i].im;
    const double a = ((i - 120.0) * -250.0 / n + 37.0) * kRad;
    EXPECT_NEAR(s.p.GetReal(i), re * std::cos(a) + im * std::sin(a), 1e-12);
    EXPECT_NEAR(s.p.GetImag(i), im * std::cos(a) - re * std::sin(a), 1e-12);
    EXPECT_NEAR(s.p.GetMagnitude(i), std::hypot(re, im), 1e-12);
    EXPECT_NEAR(s.p.GetPower(i), re * re + im * im, 1e-12);
    for (int mode = 0; mode < 5; ++mode) {
      s.p.m_nDisplay = mode;
      const double expected = mode == 0   ? s.p.GetReal(i)
                              : mode == 1 ? s.p.GetImag(i)
                              : mode == 2 ? s.p.GetMagnitude(i)
                                          : s.p.GetPower(i);
      EXPECT_EQ(s.p.GetDisplayValue(i), expected);
    }
    s.p.m_nDisplay = 0;
  }
  // Points outside the current ones read 0, never past the data.
  EXPECT_EQ(s.p.GetReal(-1), 0.0);
  EXPECT_EQ(s.p.GetPower(n), 0.0);
}

TEST(ProcessDisplay, BaselineSubtractedOnlyInTheSpectrumDomain) {
  Spectrum s({{2.0f, 0.0f}, {3.0f, 0.0f}, {4.0f, 0.0f}});
  s.p.m_baseline = {0.5f, 1.0f};  // shorter than the points: the rest is not corrected
  s.p.m_bBaseline = 1;
  EXPECT_DOUBLE_EQ(s.p.GetReal(0), 1.5);
  EXPECT_DOUBLE_EQ(s.p.GetMagnitude(1), 2.0);
  EXPECT_DOUBLE_EQ(s.p.GetPower(2), 16.0);
  s.d.nDomain = 0;
  EXPECT_DOUBLE_EQ(s.p.GetReal(0), 2.0);
  // The spectrum accessors subtract it whatever the domain.
  EXPECT_DOUBLE_EQ(s.p.GetSpectrumReal(0), 1.5);
  s.p.m_bBaseline = 0;
  s.d.nDomain = 1;
  EXPECT_DOUBLE_EQ(s.p.GetReal(0), 2.0);
}

TEST(ProcessDisplay, SpectrumValuesReadTheWholeSpectrumWhileTheFidIsShown) {
  Spectrum s(ramp(8));
  s.d.data[0] = ramp(3);
  s.d.nDomain = 0;
  s.p.SelectData();  // three current points: the fid
  s.p.m_fPH0 = 90.0f;
  for (int i : {2, 7}) {
    const CSpcPoint& q = s.d.data[1][static_cast<std::size_t>(i)];
    const double a = 90.0 * kRad;  // first order 0: the angle is PH0 alone
    EXPECT_NEAR(s.p.GetSpectrumReal(i), q.re * std::cos(a) + q.im * std::sin(a), 1e-12) << i;
    EXPECT_NEAR(s.p.GetSpectrumImag(i), q.im * std::cos(a) - q.re * std::sin(a), 1e-12) << i;
  }
  EXPECT_EQ(s.p.GetSpectrumReal(8), 0.0);
  // With no current points at all, values stay finite (no first-order scale).
  s.d.data[0].clear();
  s.p.SelectData();
  s.p.m_fPH1 = 45.0f;
  EXPECT_TRUE(std::isfinite(s.p.GetSpectrumReal(5)));
}

TEST(ProcessDisplay, ARunOfDisplayValuesMatchesThePointByPointValues) {
  // Long enough for the rotation to be resynchronised several times, with a large first-order
  // phase, a baseline shorter than the points and a run that starts and ends outside the data.
  Spectrum s(ramp(3000));
  s.p.m_fPH0 = 33.0f;
  s.p.m_fPH1 = -725.0f;
  s.p.m_nPivot = 1200;
  s.p.m_baseline.assign(2000, 0.25f);
  s.p.m_bBaseline = 1;
  s.p.UpdatePhase();
  std::vector<float> values(3010), powers(3010);
  for (std::int32_t mode = 0; mode <= 3; ++mode) {
    s.p.m_nDisplay = mode;
    s.p.GetDisplayValues(-5, 3010, values.data(), powers.data());
    for (std::int32_t k = 0; k < 3010; ++k) {
      const std::int32_t i = k - 5;
      EXPECT_NEAR(values[k], s.p.GetDisplayValue(i), 1e-5) << mode << " " << i;
      EXPECT_NEAR(powers[k], s.p.GetPower(i), 1e-5) << i;
    }
  }
  s.p.GetDisplayValues(10, 5, values.data());  // the powers are optional
  EXPECT_NEAR(values[0], s.p.GetPower(10), 1e-5);
}

// The runs turn the phase without a sine and cosine per point; over a million points and many
// turns of first-order phase they must stay within float rounding of the direct formula,
// evaluated here in double for every point, for display values and for the stored spectrum.
TEST(ProcessDisplay, PhaseRunsStayWithinFloatRoundingOverAMillionPoints) {
  const int n = (1 << 20) + 1234;  // blocks do not divide it
  std::vector<CSpcPoint> points(static_cast<std::size_t>(n));
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
  for (CSpcPoint& q : points) q = {value(rng), value(rng)};
  Spectrum s(points);
  s.p.m_fPH0 = -71.5f;
  s.p.m_fPH1 = 7777.0f;  // more than twenty turns over the spectrum
  s.p.m_nPivot = 300001;
  // One float rounding of the result, relative to the size of the point.
  auto bound = [](const CSpcPoint& q) { return 1.5 * 0x1p-24 * (std::fabs(q.re) + std::fabs(q.im)) + 1e-30; };
  auto angle = [&](int i, double ph0, double ph1, int pivot) { return ((i - pivot) * ph1 / n + ph0) * kRad; };

  std::vector<float> values(static_cast<std::size_t>(n));
  double worst = 0.0;
  for (std::int32_t mode : {0, 1}) {
    s.p.m_nDisplay = mode;
    s.p.GetDisplayValues(0, n, values.data());
    for (int i = 0; i < n; ++i) {
      const double re = points[i].re, im = points[i].im, a = angle(i, -71.5, 7777.0, 300001);
      const double want = mode == 0 ? re * std::cos(a) + im * std::sin(a) : im * std::cos(a) - re * std::sin(a);
      worst = std::max(worst, std::fabs(values[i] - want) / bound(points[i]));
    }
  }
  EXPECT_LE(worst, 1.0);

  worst = 0.0;
  s.p.ApplyPhase(33.25f, -5432.0f, 777);
  for (int i = 0; i < n; ++i) {
    const double re = points[i].re, im = points[i].im, a = angle(i, 33.25, -5432.0, 777);
    worst = std::max({worst, std::fabs(s.d.data[1][i].re - (re * std::cos(a) + im * std::sin(a))) / bound(points[i]),
                      std::fabs(s.d.data[1][i].im - (re * std::sin(a) - im * std::cos(a))) / bound(points[i])});
  }
  EXPECT_LE(worst, 1.0);
}

TEST(ProcessDisplay, MaxMagnitudeIndexTakesTheFirstOfEqualMaxima) {
  Spectrum s({{1, 0}, {0, 3}, {-3, 0}, {2, 2}});
  EXPECT_EQ(s.p.GetMaxMagnitudeIndex(), 1u);
  Spectrum empty({});
  EXPECT_EQ(empty.p.GetMaxMagnitudeIndex(), 0u);
  // Over many points (the scan runs in lanes): equal maxima in different lanes, a NaN before.
  std::vector<CSpcPoint> many = ramp(1000);
  many[100] = {NAN, 0.0f};
  many[517] = {0.0f, 9.0f};
  many[301] = {-9.0f, 0.0f};
  Spectrum s2(many);
  EXPECT_EQ(s2.p.GetMaxMagnitudeIndex(), 301u);
}

// ---- Phase bookkeeping ----

TEST(ProcessPhase, UpdatePhaseCachesTermsAndMarksDirty) {
  Spectrum s(ramp(200));
  s.p.m_bBaseLevelDirty = 0;
  s.p.m_bIntegralDirty = 0;
  s.p.m_fPH0 = 30.0f;
  s.p.m_fPH1 = 100.0f;
  s.p.UpdatePhase();
  EXPECT_NEAR(s.p.m_fSin0, 0.5, 1e-6);
  EXPECT_NEAR(s.p.m_fCos0, std::sqrt(3.0) / 2, 1e-6);
  EXPECT_NEAR(s.p.m_fPhaseStep, 100.0 * kRad / 200, 1e-9);
  EXPECT_EQ(s.p.m_fPhaseStep2, s.p.m_fPhaseStep);
  EXPECT_EQ(s.p.m_bBaseLevelDirty, 1);
  EXPECT_EQ(s.p.m_bIntegralDirty, 1);

  Spectrum empty({});
  empty.p.m_fPH1 = 100.0f;
  empty.p.UpdatePhase();
  EXPECT_EQ(empty.p.m_fPhaseStep, 0.0f);
}

TEST(ProcessPhase, ChangePivotKeepsThePhaseOfEveryPoint) {
  const int n = 1000;
  Spectrum s(ramp(n));
  s.p.m_nPivot = 200;
  EXPECT_EQ(s.p.ChangePivot(10.0f, 20.0f, 200), 0);
  EXPECT_FLOAT_EQ(s.p.m_fPH0, 10.0f);
  EXPECT_FLOAT_EQ(s.p.m_fPH1, 20.0f);

  EXPECT_EQ(s.p.ChangePivot(40.0f, 90.0f, 700), 500);
  EXPECT_EQ(s.p.m_nPivot, 200);  // the caller stores the pivot
  s.p.m_nPivot = 700;
  for (int i = 0; i < n; i += 111) {
    const double before = (i - 200.0) * 90.0 / n + 40.0;
    const double after = (i - 700.0) * s.p.m_fPH1 / n + s.p.m_fPH0;
    EXPECT_NEAR(after, before, 1e-3) << i;
  }
}

TEST(ProcessPhase, ApplyPhaseTurnsTheStoredSpectrum) {
  const int n = 256;
  Spectrum s(ramp(n));
  const std::vector<CSpcPoint> original = s.d.data[1];
  s.p.m_fPH0 = 25.0f;
  s.p.m_fPH1 = 80.0f;
  s.p.m_nPivot = 30;
  std::vector<double> shownRe, shownIm;
  for (int i = 0; i < n; ++i) {
    shownRe.push_back(s.p.GetReal(i));
    shownIm.push_back(s.p.GetImag(i));
  }
  s.p.ApplyPhase(25.0f, 80.0f, 30);
  s.p.m_fPH0 = s.p.m_fPH1 = 0.0f;
  for (int i = 0; i < n; ++i) {
    const double a = ((i - 30.0) * 80.0 / n + 25.0) * kRad;
    const double re = original[i].re, im = original[i].im;
    EXPECT_NEAR(s.d.data[1][i].re, re * std::cos(a) + im * std::sin(a), 1e-5);
    EXPECT_NEAR(s.d.data[1][i].im, re * std::sin(a) - im * std::cos(a), 1e-5);
    // The stored imaginary part is the negative of what the display showed.
    EXPECT_NEAR(s.p.GetReal(i), shownRe[i], 1e-5);
    EXPECT_NEAR(s.p.GetImag(i), -shownIm[i], 1e-5);
  }
}

TEST(ProcessPhase, ApplyPhaseStaysInsideAShortSpectrum) {
  Spectrum s(ramp(10));
  s.p.m_nSI = 4096;  // larger than the data
  s.p.ApplyPhase(90.0f, 0.0f, 0);
  EXPECT_EQ(s.d.data[1].size(), 10u);
}

// ---- Window functions ----

struct Fid {
  CSpcData d;
  CSpcProcess p{&d};
  Fid(int points, int td, double sw, bool complex) {
    d.nDomain = 0;
    d.nAcqCode = complex ? 1 : 0;
    d.data[0].resize(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i) d.data[0][i] = {1.0f + 0.001f * i, -2.0f + 0.002f * i};
    p.m_nTD = td;
    p.m_dSW = sw;
    p.m_nScans = 1;
    p.SelectData();
  }
};

TEST(ProcessWindow, ExponentialOnComplexData) {
  Fid f(2048, 4096, 1000.0, true);
  addDouble(f.d, "LB", 1.0);
  const std::vector<CSpcPoint> before = f.d.data[0];
  f.p.m_bBaseLevelDirty = 0;
  ASSERT_TRUE(f.p.ExpMultiply());
  for (int k = 0; k < 2048; k += 17) {
    const double w = std::exp(-static_cast<double>(k) / 1000.0);
    EXPECT_NEAR(f.d.data[0][k].re, before[k].re * w, 1e-6 * std::fabs(before[k].re) + 1e-7);
    EXPECT_NEAR(f.d.data[0][k].im, before[k].im * w, 1e-6 * std::fabs(before[k].im) + 1e-7);
  }
  EXPECT_EQ(f.p.m_bBaseLevelDirty, 1);
}

TEST(ProcessWindow, ExponentialOnSingleValuesWeighsEachFloat) {
  Fid f(100, 150, 500.0, false);  // 150 single values: 75 points, only the first 150 floats
  addDouble(f.d, "LB", 3.0);
  const std::vector<CSpcPoint> before = f.d.data[0];
  ASSERT_TRUE(f.p.ExpMultiply());
  for (int k = 0; k < 200; ++k) {
    const double w = k < 150 ? std::exp(-3.0 * k / (500.0 * 2.0)) : 1.0;
    const float in = k % 2 ? before[k / 2].im : before[k / 2].re;
    const float out = k % 2 ? f.d.data[0][k / 2].im : f.d.data[0][k / 2].re;
    EXPECT_NEAR(out, in * w, 1e-6 * std::fabs(in) + 1e-7) << k;
  }
}

TEST(ProcessWindow, GaussianFollowsItsFormula) {
  const double lb = -2.0, gb = 0.3, sw = 2000.0;
  const int td = 1024;
  Fid f(512, td, sw, true);
  addDouble(f.d, "LB", lb);
  addDouble(f.d, "GB", gb);
  const std::vector<CSpcPoint> before = f.d.data[0];
  ASSERT_TRUE(f.p.GaussMultiply());
  const double aq = td / sw;  // full TD also for complex data
  for (int k = 0; k < 512; k += 9) {
    const double t = k / sw;
    const double w = std::exp(-kPi * lb * t + kPi * lb * t * t / (2 * gb * aq));
    EXPECT_NEAR(f.d.data[0][k].re, before[k].re * w, 1e-5 * std::fabs(before[k].re * w) + 1e-6) << k;
    EXPECT_NEAR(f.d.data[0][k].im, before[k].im * w, 1e-5 * std::fabs(before[k].im * w) + 1e-6) << k;
  }
}

// The weights come block by block from a few exponentials; over a million points, for a
// linear and a quadratic exponent and past the point where the weights underflow, every
// weighted value must stay within float rounding of the direct formula.
TEST(ProcessWindow, LongWindowsFollowTheDirectFormulaAtEveryPoint) {
  const int points = (1 << 20) + 77;
  const double sw = 1000.0;
  auto worstError = [](const std::vector<CSpcPoint>& before, const std::vector<CSpcPoint>& after, auto weight) {
    double worst = 0.0;
    for (std::size_t k = 0; k < before.size(); ++k) {
      const double w = weight(static_cast<double>(k));
      for (const auto& [in, out] : {std::pair{before[k].re, after[k].re}, std::pair{before[k].im, after[k].im}}) {
        const double want = in * w;
        worst = std::max(worst, std::fabs(out - want) / (0x1p-24 * std::fabs(want) + 0x1p-149));
      }
    }
    return worst;
  };
  {
    Fid f(points, 2 * points, sw, true);
    addDouble(f.d, "LB", 0.7);  // exponent down to -734: the last blocks underflow
    const std::vector<CSpcPoint> before = f.d.data[0];
    ASSERT_TRUE(f.p.ExpMultiply());
    const double lb = 0.7f;  // the parameter is read as a float
    EXPECT_LE(worstError(before, f.d.data[0], [&](double k) { return std::exp(-lb * k / sw); }), 1.01);
  }
  {
    const double lb = -0.01f, gb = 0.4f;  // rises to e^13, then falls
    Fid f(points, 2 * points, sw, true);
    addDouble(f.d, "LB", lb);
    addDouble(f.d, "GB", gb);
    const std::vector<CSpcPoint> before = f.d.data[0];
    ASSERT_TRUE(f.p.GaussMultiply());
    const double aq = 2.0 * points / sw;
    auto weight = [&](double k) {
      const double t = k / sw;
      const double a = static_cast<double>(3.1415927f) * lb;
      return std::exp(-a * t + a * t * t / (2 * gb * aq));
    };
    EXPECT_LE(worstError(before, f.d.data[0], weight), 1.01);
  }
}

TEST(ProcessWindow, RefusedCallsLeaveTheFidUnchanged) {
  auto unchanged = [](Fid& f, const std::vector<CSpcPoint>& before) {
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (f.d.data[0][i].re != before[i].re || f.d.data[0][i].im != before[i].im) return false;
    }
    return true;
  };
  {
    Fid f(64, 128, 1000.0, true);  // LB 0 (absent)
    const auto before = f.d.data[0];
    EXPECT_FALSE(f.p.ExpMultiply());
    EXPECT_TRUE(unchanged(f, before));
  }
  {
    Fid f(64, 128, 0.0, true);  // no sweep width
    addDouble(f.d, "LB", 1.0);
    addDouble(f.d, "GB", 0.5);
    const auto before = f.d.data[0];
    EXPECT_FALSE(f.p.ExpMultiply());
    EXPECT_FALSE(f.p.GaussMultiply());
    EXPECT_TRUE(unchanged(f, before));
  }
  {
    Fid f(64, 128, 1000.0, true);  // GB 0
    addDouble(f.d, "LB", 1.0);
    const auto before = f.d.data[0];
    EXPECT_FALSE(f.p.GaussMultiply());
    EXPECT_TRUE(unchanged(f, before));
  }
  {
    Fid f(64, 0, 1000.0, true);  // acquisition time 0
    addDouble(f.d, "LB", 1.0);
    addDouble(f.d, "GB", 0.5);
    const auto before = f.d.data[0];
    EXPECT_FALSE(f.p.GaussMultiply());
    EXPECT_TRUE(unchanged(f, before));
  }
  {
    Fid f(4096, 8192, 10.0, true);  // growth that would overflow a float
    addDouble(f.d, "LB", -1.0);
    const auto before = f.d.data[0];
    EXPECT_FALSE(f.p.ExpMultiply());
    EXPECT_TRUE(unchanged(f, before));
  }
  {
    Fid f(4096, 8192, 1000.0, true);  // a decaying window over a fid holding a value near the
    addDouble(f.d, "LB", -0.01);      // float limit: a weight just above 1 makes it overflow
    f.d.data[0][4000].re = 3.4e38f;
    const auto before = f.d.data[0];
    EXPECT_FALSE(f.p.ExpMultiply());
    EXPECT_TRUE(unchanged(f, before));
  }
  {
    Fid f(4096, 8192, 1000.0, true);  // a decaying window over a value that is not a number
    addDouble(f.d, "LB", 1.0);
    f.d.data[0][17].im = std::numeric_limits<float>::quiet_NaN();
    const auto before = f.d.data[0];
    EXPECT_FALSE(f.p.ExpMultiply());
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (i == 17) continue;  // NaN equals nothing, itself included
      ASSERT_EQ(f.d.data[0][i].re, before[i].re) << i;
      ASSERT_EQ(f.d.data[0][i].im, before[i].im) << i;
    }
  }
  {
    Fid f(0, 128, 1000.0, true);  // no fid
    addDouble(f.d, "LB", 1.0);
    EXPECT_FALSE(f.p.ExpMultiply());
    EXPECT_FALSE(f.p.GaussMultiply());
  }
  {
    Fid f(16, 4096, 1000.0, true);  // TD larger than the fid: stays inside it
    addDouble(f.d, "LB", 1.0);
    EXPECT_TRUE(f.p.ExpMultiply());
    EXPECT_EQ(f.d.data[0].size(), 16u);
  }
}

// ---- Phase correction ----

struct Line {
  double position, width, height;
};

// Sum of complex Lorentzian lines (absorption in the real part), then turned by the phase
// (ph0, ph1) about the pivot, so that displaying it with those phases shows pure absorption.
std::vector<CSpcPoint> phasedLines(int n, const std::vector<Line>& lines, double ph0, double ph1,
                                   int pivot, double noise, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> gauss(0.0, noise > 0 ? noise : 1.0);
  std::vector<CSpcPoint> v(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    double re = 0.0, im = 0.0;
    for (const Line& l : lines) {
      const double x = k - l.position, g = l.width;
      re += l.height * g * g / (g * g + x * x);
      im += -l.height * g * x / (g * g + x * x);
    }
    if (noise > 0) {
      re += gauss(rng);
      im += gauss(rng);
    }
    const double a = ((k - pivot) * ph1 / n + ph0) * kPi / 180.0;
    v[k] = {static_cast<float>(re * std::cos(a) - im * std::sin(a)),
            static_cast<float>(re * std::sin(a) + im * std::cos(a))};
  }
  return v;
}

double shownPhase(const CSpcProcess& p, double k) {
  return (k - p.m_nPivot) * p.m_fPH1 / p.m_nCur + p.m_fPH0;
}

TEST(ProcessAutoPhase, QuickPhaseOfANegativeLineIsHalfATurn) {
  const int n = 4096;
  Spectrum s(phasedLines(n, {{1500, 4, 1.0}}, 180.0, 0.0, 0, 0.0, 1));
  s.p.m_fPH1 = 50.0f;
  EXPECT_EQ(s.p.QuickPhase(), 1);
  EXPECT_NEAR(std::fabs(angleDiff(s.p.m_fPH0, 180.0)), 0.0, 0.5);
  EXPECT_EQ(s.p.m_fPH1, 0.0f);
  EXPECT_EQ(s.p.m_nPivot, 1500);
}

TEST(ProcessAutoPhase, QuickPhaseRecoversAZeroOrderPhase) {
  const int n = 8192;
  for (double ph0 : {-150.0, -40.0, 0.0, 65.0, 120.0}) {
    Spectrum s(phasedLines(n, {{2000, 5, 1.0}, {5000, 3, 0.6}}, ph0, 0.0, 0, 0.002, 2));
    s.p.QuickPhase();
    EXPECT_NEAR(angleDiff(s.p.m_fPH0, ph0), 0.0, 1.0) << ph0;
  }
}

// Lines spread over the spectrum, turned by a known zero- and first-order phase; AutoPhase
// must find a phase that agrees with the known one at every line, modulo 360 degrees. Its cost
// only sees points below the base level within N/400 points of each peak, so the lines are
// narrow against that window (as NMR lines are); then the phase is pinned to about a degree.
TEST(ProcessAutoPhase, RecoversKnownZeroAndFirstOrderPhase) {
  const int n = 16384;
  const int pivot = 5000;
  const std::vector<Line> lines = {{1200, 2, 0.5},   {2900, 1.5, 1.0}, {4400, 2.5, 0.7}, {6100, 2, 0.4},
                                   {7800, 2, 0.9},   {9300, 1.5, 0.35}, {10900, 2, 0.8}, {12400, 2.5, 0.6},
                                   {13800, 2, 0.45}, {15200, 1.5, 0.75}};
  for (double ph0 = -170.0; ph0 <= 180.0; ph0 += 40.0) {
    for (double ph1 = -200.0; ph1 <= 200.0; ph1 += 50.0) {
      Spectrum s(phasedLines(n, lines, ph0, ph1, pivot, 0.001, 3));
      EXPECT_EQ(s.p.AutoPhase(), 1);
      double worst = 0.0;
      for (const Line& l : lines) {
        const double known = (l.position - pivot) * ph1 / n + ph0;
        worst = std::max(worst, std::fabs(angleDiff(shownPhase(s.p, l.position), known)));
      }
      EXPECT_LT(worst, 1.5) << "PH0 " << ph0 << " PH1 " << ph1;
      // The display now shows absorption: the tallest line is upright.
      EXPECT_NEAR(s.p.GetReal(2900), 1.0, 0.03) << "PH0 " << ph0 << " PH1 " << ph1;
    }
  }
}

TEST(ProcessAutoPhase, TerminatesOnNoiseFlatAndTinyData) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  std::mt19937 rng(7);
  std::normal_distribution<float> gauss(0.0f, 1.0f);
  std::vector<CSpcPoint> noise(65536);
  for (auto& pt : noise) pt = {gauss(rng), gauss(rng)};

  std::vector<std::vector<CSpcPoint>> inputs = {
      noise,
      std::vector<CSpcPoint>(65536),                   // all zero
      std::vector<CSpcPoint>(65536, {1.0f, 0.5f}),     // constant
      phasedLines(65536, {{30000, 20, 1.0}}, 70, 0, 0, 0.0, 1),  // one smooth line, no noise
      std::vector<CSpcPoint>(1, {2.0f, 1.0f}),
      std::vector<CSpcPoint>(64, {0.0f, 1.0f}),
      {},
  };
  for (auto& input : inputs) {
    Spectrum s(input);
    EXPECT_EQ(s.p.AutoPhase(), 1);
    EXPECT_TRUE(std::isfinite(s.p.m_fPH0));
    EXPECT_TRUE(std::isfinite(s.p.m_fPH1));
    EXPECT_EQ(s.p.QuickPhase(), 1);
    EXPECT_TRUE(std::isfinite(s.p.m_fPH0));
  }
  // Bounded work: the whole set takes well under a few seconds even unoptimised.
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 30.0);
}

}  // namespace
