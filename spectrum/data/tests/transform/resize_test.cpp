// Resizing a spectrum by cubic-spline interpolation, and the spline itself.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "spectrum/data/cubicspline.h"
#include "spectrum/data/tests/transform/transform_test_util.h"

namespace {

using namespace xformtest;

double Cubic(double u) { return 2.0 + 0.3 * (u - 5) - 0.05 * (u - 5) * (u - 5) + 0.01 * std::pow(u - 5, 3); }
double OtherCubic(double u) { return -1.0 + 0.02 * u * u * u - 0.1 * u; }

TEST(CubicSpline, ReproducesACubicInsideAndBeyondTheEnds) {
  const std::vector<double> x = {0.0, 0.3, 1.1, 1.5, 2.8, 3.0, 4.4, 6.0};
  std::vector<double> y;
  for (double u : x) y.push_back(Cubic(u));
  spc::CubicSpline s;
  ASSERT_TRUE(s.Fit(x, y));
  for (double u = -1.0; u <= 7.0; u += 0.037) EXPECT_NEAR(s(u), Cubic(u), 1e-11) << u;
  // Evaluating backwards finds the intervals as well.
  for (double u = 7.0; u >= -1.0; u -= 0.41) EXPECT_NEAR(s(u), Cubic(u), 1e-11) << u;
}

TEST(CubicSpline, FewPointsAndBadAxes) {
  spc::CubicSpline s;
  ASSERT_TRUE(s.Fit({1.0, 3.0}, {2.0, 6.0}));
  EXPECT_DOUBLE_EQ(s(2.0), 4.0);
  EXPECT_DOUBLE_EQ(s(5.0), 10.0);
  // Three points: zero third derivative, so a parabola through them.
  ASSERT_TRUE(s.Fit({0.0, 1.0, 3.0}, {1.0, 2.0, 10.0}));  // 1 + u*u
  EXPECT_NEAR(s(2.0), 5.0, 1e-12);
  EXPECT_FALSE(s.Fit({0.0, 1.0, 1.0, 2.0}, {0, 0, 0, 0}));
  EXPECT_FALSE(s.Fit({0.0, 2.0, 1.0}, {0, 0, 0}));
  EXPECT_FALSE(s.Fit({0.0, std::numeric_limits<double>::quiet_NaN()}, {0, 0}));
  EXPECT_FALSE(s.Fit({0.0}, {0.0}));
  EXPECT_FALSE(s.Fit({0.0, 1.0}, {0.0}));
  EXPECT_EQ(s(1.0), 0.0);
}

// An NMR spectrum at 500 MHz over 5000 Hz, left edge at 10 ppm; point i sits at
// (O + (OP - i) * W / SI) / F ppm.
double Ppm(int i, int si, int op) { return (5000.0 + (op - i) * 5000.0 / si) / 500.0; }

void MakeNmrSpectrum(Engine& e, int si, int op, int pivot) {
  std::vector<CSpcPoint> points(si);
  for (int i = 0; i < si; ++i) {
    const double u = Ppm(i, si, op);
    points[i] = CSpcPoint{static_cast<float>(Cubic(u)), static_cast<float>(OtherCubic(u))};
  }
  e.proc.m_dFreq = 500.0;
  e.proc.m_dSW = 5000.0;
  e.proc.m_dOffset = 5000.0;
  e.proc.m_nOP = op;
  e.proc.m_nPivot = pivot;
  e.SetSpectrum(points);
}

TEST(Resize, NmrSpectrumKeepsItsAxisRangeAndShape) {
  for (int newSize : {2048, 300}) {
    Engine e;
    MakeNmrSpectrum(e, 1024, 10, 300);
    ASSERT_EQ(e.proc.Resize(newSize, 0), 1) << newSize;
    EXPECT_EQ(e.proc.m_nSI, newSize);
    EXPECT_EQ(e.proc.m_nCur, newSize);
    ASSERT_EQ(e.data.spectrum().size(), static_cast<size_t>(newSize));
    EXPECT_EQ(e.proc.m_pCur.data(), e.data.spectrum().data());
    // Reference point and pivot scale with the size, rounded to the nearest point.
    const int op = newSize == 2048 ? 20 : 3;      // 10 * 300 / 1024 = 2.93
    const int pivot = newSize == 2048 ? 600 : 88;  // 300 * 300 / 1024 = 87.9
    EXPECT_EQ(e.proc.m_nOP, op);
    EXPECT_EQ(e.proc.m_nPivot, pivot);
    for (int i = 0; i < newSize; ++i) {
      const double u = Ppm(i, newSize, op);
      EXPECT_NEAR(e.data.spectrum()[i].re, Cubic(u), 2e-5) << i;
      EXPECT_NEAR(e.data.spectrum()[i].im, OtherCubic(u), 2e-5) << i;
    }
  }
}

TEST(Resize, LinearAxisOfAnInfraredSpectrum) {
  // x = 400 + 3600 / (SI - 1) * i, in 1/cm; a cubic in x scaled to stay near 1.
  auto f = [](double x) { return Cubic(x / 400.0); };
  std::vector<CSpcPoint> points(100);
  for (int i = 0; i < 100; ++i) points[i].re = static_cast<float>(f(400.0 + 3600.0 / 99 * i));
  Engine e;
  e.proc.m_dFreq = 400.0;
  e.proc.m_dSW = 3600.0;
  e.SetSpectrum(points, 2);
  ASSERT_EQ(e.proc.Resize(37), 1);
  for (int i = 0; i < 37; ++i) {
    EXPECT_NEAR(e.data.spectrum()[i].re, f(400.0 + 3600.0 / 36 * i), 2e-5) << i;
    EXPECT_EQ(e.data.spectrum()[i].im, 0.0f);
  }
}

TEST(Resize, RefusalsChangeNothing) {
  Engine e;
  MakeNmrSpectrum(e, 64, 0, 10);
  for (int size : {0, -5, std::numeric_limits<int>::min(), (1 << 27) + 1}) {
    EXPECT_EQ(e.proc.Resize(size), 0) << size;
    EXPECT_EQ(e.proc.m_nSI, 64);
    EXPECT_EQ(e.proc.m_nPivot, 10);
    EXPECT_EQ(e.data.spectrum().size(), 64u);
  }
  // An axis without width cannot be interpolated over.
  e.proc.m_dSW = 0.0;
  const float before = e.data.spectrum()[5].re;
  EXPECT_EQ(e.proc.Resize(128), 0);
  EXPECT_EQ(e.proc.m_nSI, 64);
  EXPECT_EQ(e.proc.m_nPivot, 10);
  EXPECT_EQ(e.data.spectrum()[5].re, before);

  Engine single;
  MakeNmrSpectrum(single, 1, 0, 0);
  EXPECT_EQ(single.proc.Resize(8), 0);

  Engine fid;
  fid.SetFid(RandomPoints(64, 1), 64, 128);
  EXPECT_EQ(fid.proc.Resize(128), 0);
  EXPECT_EQ(fid.data.fid().size(), 64u);

  Engine empty;
  empty.SetSpectrum({}, 0, 64);
  EXPECT_EQ(empty.proc.Resize(128), 0);
}

}  // namespace
