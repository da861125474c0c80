// Hilbert and wavelet transforms of the engine.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "spectrum/data/tests/transform/transform_test_util.h"

namespace {

using namespace xformtest;

// The transform of a signal that is zero in its second half (a causal one): its real part
// alone determines it, so the Hilbert transform of that real part gives the whole transform
// back, divided by n (the inverse transform's scale) and with the imaginary part's sign as
// the forward transform gives it.
TEST(HilbertTransform, LorentzianAbsorptionGivesItsDispersion) {
  const int n = 512;
  const Complex z = std::exp(Complex(-0.02, 2.0 * kPi * 37.0 / n));
  std::vector<Complex> transform(n);
  for (int j = 0; j < n; ++j) {
    const Complex q = z * std::exp(Complex(0.0, -2.0 * kPi * j / n));
    transform[j] = (1.0 - std::pow(q, n / 2)) / (1.0 - q);
  }
  std::vector<CSpcPoint> spectrum(n);
  for (int j = 0; j < n; ++j) spectrum[j] = CSpcPoint{static_cast<float>(transform[j].real()), 123.0f};
  Engine e;
  e.SetSpectrum(spectrum);
  ASSERT_EQ(e.proc.HilbertTransform(), 1);
  for (Complex& c : transform) c /= n;
  EXPECT_LT(RelativeError(e.data.spectrum(), transform), 1e-5);
}

TEST(HilbertTransform, CosineBecomesTheConjugateAnalyticSignal) {
  const int n = 64;
  std::vector<CSpcPoint> spectrum(n);
  for (int j = 0; j < n; ++j) {
    // A constant, a cosine and the alternating (highest) frequency, which the transform drops.
    const double x = 0.5 + std::cos(2.0 * kPi * 5.0 * j / n) + 0.25 * (j % 2 == 0 ? 1.0 : -1.0);
    spectrum[j] = CSpcPoint{static_cast<float>(x), -7.0f};
  }
  Engine e;
  e.SetSpectrum(spectrum);
  ASSERT_EQ(e.proc.HilbertTransform(), 1);
  for (int j = 0; j < n; ++j) {
    const double a = 2.0 * kPi * 5.0 * j / n;
    EXPECT_NEAR(e.data.spectrum()[j].re, (0.5 + std::cos(a)) / n, 1e-6) << j;
    EXPECT_NEAR(e.data.spectrum()[j].im, -std::sin(a) / n, 1e-6) << j;
  }
}

TEST(HilbertTransform, RefusalsChangeNothing) {
  const std::vector<CSpcPoint> points = RandomPoints(1000, 3);
  Engine e;
  e.SetSpectrum(points);  // SI 1000
  EXPECT_EQ(e.proc.HilbertTransform(), 0);
  EXPECT_EQ(e.data.spectrum()[10].re, points[10].re);
  EXPECT_EQ(e.data.spectrum()[10].im, points[10].im);

  e.SetSpectrum(RandomPoints(64, 4), 0, 128);  // SI beyond the points held
  const float before = e.data.spectrum()[63].re;
  EXPECT_EQ(e.proc.HilbertTransform(), 0);
  EXPECT_EQ(e.data.spectrum()[63].re, before);

  e.SetSpectrum({}, 0, 0);
  EXPECT_EQ(e.proc.HilbertTransform(), 0);
}

// The 4-coefficient Daubechies filter from its closed form.
const double kSqrt3 = std::sqrt(3.0);
const double kH[4] = {(1 + kSqrt3) / (4 * std::sqrt(2.0)), (3 + kSqrt3) / (4 * std::sqrt(2.0)),
                      (3 - kSqrt3) / (4 * std::sqrt(2.0)), (1 - kSqrt3) / (4 * std::sqrt(2.0))};

// One level as an m x m matrix: smoothing rows on top, detail rows below, periodic.
std::vector<std::vector<double>> WaveletMatrix(int m) {
  std::vector<std::vector<double>> w(m, std::vector<double>(m, 0.0));
  const double g[4] = {kH[3], -kH[2], kH[1], -kH[0]};
  for (int i = 0; i < m / 2; ++i) {
    for (int k = 0; k < 4; ++k) {
      w[i][(2 * i + k) % m] += kH[k];
      w[m / 2 + i][(2 * i + k) % m] += g[k];
    }
  }
  return w;
}

std::vector<double> Pyramid(std::vector<double> x) {
  for (int m = static_cast<int>(x.size()); m >= 4; m /= 2) {
    const auto w = WaveletMatrix(m);
    std::vector<double> y(m, 0.0);
    for (int r = 0; r < m; ++r)
      for (int c = 0; c < m; ++c) y[r] += w[r][c] * x[c];
    std::copy(y.begin(), y.end(), x.begin());
  }
  return x;
}

TEST(WaveletTransform, LevelMatrixIsOrthogonal) {
  // Checks the reference itself: each level keeps the signal's energy.
  const auto w = WaveletMatrix(16);
  for (int a = 0; a < 16; ++a)
    for (int b = 0; b < 16; ++b) {
      double dot = 0;
      for (int c = 0; c < 16; ++c) dot += w[a][c] * w[b][c];
      EXPECT_NEAR(dot, a == b ? 1.0 : 0.0, 1e-12);
    }
}

void ExpectPyramidOf(const Engine& e, const std::vector<CSpcPoint>& fid, int from, int si) {
  std::vector<double> x(si);
  for (int i = 0; i < si; ++i) x[i] = fid[from + i].re;
  const std::vector<double> want = Pyramid(x);
  ASSERT_EQ(e.data.spectrum().size(), static_cast<size_t>(si));
  double energyIn = 0, energyOut = 0;
  for (int i = 0; i < si; ++i) {
    EXPECT_NEAR(e.data.spectrum()[i].re, want[i], 2e-6) << i;
    EXPECT_EQ(e.data.spectrum()[i].im, 0.0f);
    energyIn += x[i] * x[i];
    energyOut += double(e.data.spectrum()[i].re) * e.data.spectrum()[i].re;
  }
  EXPECT_NEAR(energyOut, energyIn, 1e-5 * energyIn);
}

TEST(WaveletTransform, PyramidOfTheRealParts) {
  const std::vector<CSpcPoint> fid = RandomPoints(64, 21);
  Engine e;
  e.SetFid(fid, 64, 128);
  ASSERT_EQ(e.proc.WaveletTransform(4), 1);
  EXPECT_EQ(e.data.nDomain, 1);
  ExpectPyramidOf(e, fid, 0, 64);
  EXPECT_EQ(e.proc.m_nCur, 64);
}

TEST(WaveletTransform, StartsAfterTheFilterDelay) {
  const std::vector<CSpcPoint> fid = RandomPoints(64 + 48, 22);
  Engine e;
  e.SetFid(fid, 64, 2 * (64 + 48));
  e.AddLong("DSPFVS", 11);
  e.AddLong("DECIM", 4);  // 48 points, no fraction
  ASSERT_EQ(e.proc.WaveletTransform(0), 1);
  ExpectPyramidOf(e, fid, 48, 64);
}

TEST(WaveletTransform, RefusalsChangeNothing) {
  Engine e;
  e.SetFid({}, 64, 128);
  EXPECT_EQ(e.proc.WaveletTransform(0), 0);
  e.SetFid(RandomPoints(64, 1), 64, 128);
  EXPECT_EQ(e.proc.WaveletTransform(10), 0);
  EXPECT_EQ(e.proc.WaveletTransform(-1), 0);
  e.SetFid(RandomPoints(64, 1), 48, 128);
  EXPECT_EQ(e.proc.WaveletTransform(0), 0);
  EXPECT_EQ(e.data.nDomain, 0);
  EXPECT_TRUE(e.data.spectrum().empty());
}

}  // namespace
