#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

#include "spectrum/data/spcprocess.h"
#include "spectrum/data/tests/analysis/analysis_test_util.h"

using antest::Spectrum;

namespace {

std::vector<float> reals(const std::vector<CSpcPoint>& v) {
  std::vector<float> out;
  for (const CSpcPoint& p : v) out.push_back(p.re);
  return out;
}

// ---- Shifts and order ----

TEST(PointShift, ShiftsFillWithZeroAndReverseTurnsTheWholeVector) {
  auto five = [] { return antest::realPoints(5, [](int i) { return i + 1.0; }); };
  Spectrum s(five());
  s.p.ShiftRight(2);
  EXPECT_EQ(reals(s.d.data[1]), (std::vector<float>{0, 0, 1, 2, 3}));
  s.d.data[1] = five();
  s.p.ShiftLeft(2);
  EXPECT_EQ(reals(s.d.data[1]), (std::vector<float>{3, 4, 5, 0, 0}));
  s.d.data[1] = five();
  s.p.ShiftRight(10);
  EXPECT_EQ(reals(s.d.data[1]), (std::vector<float>(5, 0.0f)));
  s.d.data[1] = five();
  s.p.ShiftLeft(0xFFFFFFFFu);
  EXPECT_EQ(reals(s.d.data[1]), (std::vector<float>(5, 0.0f)));

  // The whole vector of the domain, every row of it, whatever the current points are.
  s.d.data[1] = antest::realPoints(8, [](int i) { return i; });
  s.p.m_nScans = 2;
  s.p.m_nSI = 4;
  s.p.SelectData();
  s.p.Reverse();
  EXPECT_EQ(reals(s.d.data[1]), (std::vector<float>{7, 6, 5, 4, 3, 2, 1, 0}));

  s.d.nDomain = 0;
  s.d.data[0] = five();
  s.p.ShiftLeft(1);
  EXPECT_EQ(reals(s.d.data[0]), (std::vector<float>{2, 3, 4, 5, 0}));
  EXPECT_EQ(reals(s.d.data[1]), (std::vector<float>{7, 6, 5, 4, 3, 2, 1, 0}));
}

// ---- Normalisation ----

TEST(Normalize, DividesTheSpectrumAndRefitsTheBaseline) {
  Spectrum s(antest::realPoints(100, [](int i) { return 4.0 + 0.5 * i; }));
  s.d.data[1][99].im = 8.0f;
  s.d.data[1].push_back({1000.0f, 0.0f});  // beyond SI: left alone
  s.p.SelectData();
  s.p.m_basePoints = {5, 50, 95};
  ASSERT_TRUE(s.p.SetBaselineMethod(1));
  s.p.CalcBaseline();
  s.p.SetBaselineCorrection(true);

  EXPECT_FALSE(s.p.Normalize(0.0f));
  EXPECT_FALSE(s.p.Normalize(NAN));
  EXPECT_FALSE(s.p.Normalize(1.0e-40f));  // would overflow the data
  EXPECT_EQ(s.d.data[1][10].re, 9.0f);

  ASSERT_TRUE(s.p.Normalize(2.0f));
  EXPECT_EQ(s.d.data[1][10].re, 4.5f);
  EXPECT_EQ(s.d.data[1][99].im, 4.0f);
  EXPECT_EQ(s.d.data[1][100].re, 1000.0f);
  EXPECT_NEAR(s.p.m_baseline[10], 4.5f, 1e-5);
  EXPECT_NEAR(s.p.GetDisplayValue(60), 0.0, 1e-5);
}

// ---- Spectrum arithmetic ----

// A smooth test shape on an axis value.
double shape(double x) { return 10.0 * std::exp(-(x - 1800.0) * (x - 1800.0) / 2.0e4) + 4.0 * std::exp(-(x - 3000.0) * (x - 3000.0) / 8.0e4); }

// An IR record of n points from x = first down or up to x = last.
struct IrSpectrum : Spectrum {
  IrSpectrum(int n, double first, double last)
      : Spectrum(antest::realPoints(n, [&](int i) { return shape(first + (last - first) * i / (n - 1)); }), 2) {
    p.m_dFreq = first;
    p.m_dSW = last - first;
    for (int i = 0; i < n; ++i) d.data[1][i].im = static_cast<float>(0.5 * shape(first + (last - first) * i / (n - 1)));
  }
};

TEST(CombineSpectra, SubtractsOnThisSpectrumsAxis) {
  // This one runs downward over 4000..400, the other upward over 500..3900 with another step.
  IrSpectrum a(1000, 4000.0, 400.0);
  IrSpectrum b(1500, 500.0, 3900.0);
  const std::vector<CSpcPoint> before = a.d.data[1];
  ASSERT_EQ(a.p.CombineSpectra(b.p, 0.75f), 1);
  for (int i = 0; i < 1000; ++i) {
    const double x = a.p.PointToX(i);
    const bool covered = x >= 500.0 && x <= 3900.0;
    const double expected = covered ? 0.25 * shape(x) : before[i].re;
    EXPECT_NEAR(a.d.data[1][i].re, expected, 2e-4) << i;
    EXPECT_NEAR(a.d.data[1][i].im, covered ? 0.5 * 0.25 * shape(x) : before[i].im, 2e-4) << i;
  }
}

TEST(CombineSpectra, UsesPhasedValuesOfBothAndClearsThePhases) {
  // NMR spectra over the same ppm range with different sizes; the other one is stored turned
  // by 90 degrees, so its phased real part is its stored imaginary part.
  auto nmr = [](Spectrum& s) {
    s.p.m_dFreq = 400.0;
    s.p.m_dSW = 4000.0;
    s.p.m_dOffset = 4000.0;
  };
  const int na = 1024, nb = 2048;
  auto ppm = [](int i, int n) { return 10.0 - 10.0 * i / n; };
  auto g = [](double x) { return 1.0 / (1.0 + (x - 4.0) * (x - 4.0)); };
  Spectrum a(antest::realPoints(na, [&](int i) { return g(ppm(i, na)); }));
  Spectrum b{std::vector<CSpcPoint>(static_cast<std::size_t>(nb))};
  for (int i = 0; i < nb; ++i) b.d.data[1][i] = {static_cast<float>(-0.5 * g(ppm(i, nb))), static_cast<float>(g(ppm(i, nb)))};
  nmr(a);
  nmr(b);
  b.p.m_fPH0 = 90.0f;
  b.p.UpdatePhase();
  for (int i = 0; i < na; ++i) a.d.data[1][i].im = static_cast<float>(0.5 * g(ppm(i, na)));
  ASSERT_NEAR(a.p.PointToPpm(512), b.p.PointToPpm(1024), 1e-12);

  ASSERT_EQ(a.p.CombineSpectra(b.p, 1.0f), 1);
  double worst = 0.0;
  for (int i = 0; i < na; ++i) worst = std::max({worst, std::fabs(static_cast<double>(a.d.data[1][i].re)), std::fabs(static_cast<double>(a.d.data[1][i].im))});
  EXPECT_LT(worst, 1e-5);
  EXPECT_EQ(a.p.m_fPH0, 0.0f);
  EXPECT_EQ(a.p.m_fPH1, 0.0f);
}

TEST(CombineSpectra, WithItselfGivesZeroEvenWhenPhasedAndCorrected) {
  antest::Noise noise(1.0);
  Spectrum s(antest::realPoints(512, [&](int i) { return noise() + antest::lorentz(i, 50.0, 200, 4); }));
  for (auto& pt : s.d.data[1]) pt.im = static_cast<float>(noise());
  s.p.m_dFreq = 400.0;
  s.p.m_dSW = 4000.0;
  s.p.m_fPH0 = 33.0f;
  s.p.m_fPH1 = -70.0f;
  s.p.m_basePoints = {20, 100, 300, 480};
  s.p.CalcBaseline();
  s.p.SetBaselineCorrection(true);
  ASSERT_EQ(s.p.CombineSpectra(s.p, 1.0f), 1);
  for (int i = 0; i < 512; ++i) {
    EXPECT_NEAR(s.p.GetReal(i), 0.0, 1e-5);
    EXPECT_NEAR(s.p.GetImag(i), 0.0, 1e-5);
  }
  EXPECT_EQ(s.p.m_fPH0, 0.0f);
  EXPECT_EQ(s.p.m_fPH1, 0.0f);
}

TEST(CombineSpectra, SpectraThatDoNotFitAreLeftAlone) {
  IrSpectrum ir(100, 4000.0, 400.0);
  Spectrum nmr(antest::realPoints(100, [](int i) { return i; }));
  nmr.p.m_dFreq = 400.0;
  nmr.p.m_dSW = 4000.0;
  const std::vector<CSpcPoint> before = nmr.d.data[1];
  EXPECT_EQ(nmr.p.CombineSpectra(ir.p, 1.0f), 0);
  EXPECT_EQ(reals(nmr.d.data[1]), reals(before));

  IrSpectrum other(100, 4000.0, 400.0);
  other.d.nDomain = 0;
  EXPECT_EQ(ir.p.CombineSpectra(other.p, 1.0f), 0);
  other.d.nDomain = 1;
  EXPECT_EQ(ir.p.CombineSpectra(other.p, INFINITY), 0);
  other.p.m_dSW = 0.0;  // every point at one x: nothing to interpolate
  EXPECT_EQ(ir.p.CombineSpectra(other.p, 1.0f), 0);
  other.p.m_dSW = -3600.0;
  other.d.data[1].clear();
  other.p.SelectData();
  EXPECT_EQ(ir.p.CombineSpectra(other.p, 1.0f), 0);
}

// ---- Mass scans ----

CMassScan massScan(std::vector<CSpcPoint> peaks, float time = 0.0f) {
  CMassScan s;
  s.peaks = std::move(peaks);
  s.fTime = time;
  return s;
}

TEST(MassScans, RangeQueries) {
  Spectrum s({}, 1);
  s.d.scans = {massScan({}), massScan({{5, 45.0f}, {9, 60.0f}, {2, 70.0f}}), massScan({{7, 30.0f}, {1, 80.0f}})};
  s.p.m_nScans = 3;
  EXPECT_EQ(s.p.GetMaxMass(), 80.0f);
  EXPECT_EQ(s.p.GetMinMass(), 30.0f);
  s.p.m_nScan = 1;
  EXPECT_EQ(s.p.GetScanMaxIntensity(), 9.0f);
  EXPECT_EQ(s.p.GetMaxIntensityIn(60.0f, 70.0f), 9.0f);
  EXPECT_EQ(s.p.GetMaxIntensityIn(61.0f, 70.0f), 2.0f);
  EXPECT_EQ(s.p.GetMaxIntensityIn(71.0f, 79.0f), 0.0f);
  EXPECT_EQ(s.p.GetMaxIntensityIn(70.0f, 45.0f), 0.0f);
  EXPECT_EQ(s.p.GetFullRange().first, 30.0f);
  EXPECT_EQ(s.p.GetFullRange().second, 80.0f);
  s.p.m_nScan = 0;
  EXPECT_EQ(s.p.GetScanMaxIntensity(), 0.0f);
  s.p.m_nScan = 9;  // outside the scans
  EXPECT_EQ(s.p.GetScanMaxIntensity(), 0.0f);
  EXPECT_EQ(s.p.GetMaxIntensityIn(0.0f, 100.0f), 0.0f);

  Spectrum none({}, 1);
  EXPECT_EQ(none.p.GetMaxMass(), 0.0f);
  EXPECT_EQ(none.p.GetMinMass(), 0.0f);
  Spectrum ir(antest::realPoints(42, [](int) { return 0.0; }), 2);
  EXPECT_EQ(ir.p.GetFullRange().first, 0.0f);
  EXPECT_EQ(ir.p.GetFullRange().second, 42.0f);
}

TEST(MassScans, IonPlotSumsEachScanInTheWindow) {
  Spectrum s({}, 1);
  s.d.scans = {massScan({{5, 45.0f}, {9, 60.0f}}, 0.5f), massScan({{7, 50.0f}}, 1.0f)};
  s.p.m_nScans = 2;
  CSpcData target;
  EXPECT_EQ(s.p.GenerateIonPlot(target, 0.0f, 100.0f), 0);
  EXPECT_TRUE(target.data[1].empty());

  s.d.scans.push_back(massScan({{1, 44.9f}, {2, 45.0f}, {4, 55.0f}, {8, 55.1f}}, 1.5f));
  s.p.m_nScans = 3;
  ASSERT_EQ(s.p.GenerateIonPlot(target, 45.0f, 55.0f), 1);
  ASSERT_EQ(target.data[1].size(), 3u);
  EXPECT_EQ(target.data[1][0].re, 5.0f);
  EXPECT_EQ(target.data[1][1].re, 7.0f);
  EXPECT_EQ(target.data[1][2].re, 6.0f);
  EXPECT_EQ(target.nKind, 5);
  EXPECT_EQ(target.nDomain, 1);
  ASSERT_EQ(target.params.size(), 2u);
  EXPECT_EQ(target.params[0].name, "FIRSTX");
  EXPECT_EQ(target.params[0].value.GetType(), plat::ole::VT_R4);
  EXPECT_EQ(target.params[0].value.GetFloat(), 0.5f);
  EXPECT_EQ(target.params[1].name, "LASTX");
  EXPECT_EQ(target.params[1].value.GetFloat(), 1.5f);

  CSpcData empty;
  ASSERT_EQ(s.p.GenerateIonPlot(empty, 1000.0f, 2000.0f), 1);
  ASSERT_EQ(empty.data[1].size(), 3u);
  for (const CSpcPoint& p : empty.data[1]) EXPECT_EQ(p.re, 0.0f);

  // Not onto its own record, and not from another kind.
  EXPECT_EQ(s.p.GenerateIonPlot(s.d, 0.0f, 100.0f), 0);
  EXPECT_EQ(s.d.nKind, 1);
  Spectrum ir(antest::realPoints(10, [](int) { return 1.0; }), 2);
  CSpcData other;
  EXPECT_EQ(ir.p.GenerateIonPlot(other, 0.0f, 100.0f), 0);
}

}  // namespace
