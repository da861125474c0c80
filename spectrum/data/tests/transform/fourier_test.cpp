// Forward and inverse Fourier transforms of the engine, with the digital-filter correction.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <optional>
#include <vector>

#include "spectrum/data/tests/transform/transform_test_util.h"

namespace {

using namespace xformtest;

struct DelayRow {
  int dspfvs;
  int decim;
  float delay;
};

// The filter delays as published for the three firmware versions.
const DelayRow kExpectedDelays[] = {
    {10, 2, 44.75f}, {10, 3, 33.5f}, {10, 4, 66.625f}, {10, 6, 59.0833f}, {10, 8, 68.5625f},
    {10, 12, 60.375f}, {10, 16, 69.5313f}, {10, 24, 61.0208f}, {10, 32, 70.0156f},
    {10, 48, 61.3438f}, {10, 64, 70.2578f}, {10, 96, 61.5052f}, {10, 128, 70.3789f},
    {10, 192, 61.5859f}, {10, 256, 70.4395f}, {10, 384, 61.6263f}, {10, 512, 70.4697f},
    {10, 768, 61.6465f}, {10, 1024, 70.4849f}, {10, 1536, 61.6566f}, {10, 2048, 70.4924f},
    {11, 2, 46.0f}, {11, 3, 36.5f}, {11, 4, 48.0f}, {11, 6, 50.1667f}, {11, 8, 53.25f},
    {11, 12, 69.5f}, {11, 16, 72.25f}, {11, 24, 70.1667f}, {11, 32, 72.75f}, {11, 48, 70.5f},
    {11, 64, 73.0f}, {11, 96, 70.6667f}, {11, 128, 72.5f}, {11, 192, 71.3333f},
    {11, 256, 72.25f}, {11, 384, 71.6667f}, {11, 512, 72.125f}, {11, 768, 71.8333f},
    {11, 1024, 72.0625f}, {11, 1536, 71.9167f}, {11, 2048, 72.0313f},
    {12, 2, 46.311f}, {12, 3, 36.53f}, {12, 4, 47.87f}, {12, 6, 50.229f}, {12, 8, 53.289f},
    {12, 12, 69.551f}, {12, 16, 71.6f}, {12, 24, 70.184f}, {12, 32, 72.138f},
    {12, 48, 70.528f}, {12, 64, 72.348f}, {12, 96, 70.7f}, {12, 128, 72.524f},
};

TEST(DigitalFilter, EveryDelayOfTheTable) {
  ASSERT_EQ(std::size(kExpectedDelays), 55u);
  for (const DelayRow& row : kExpectedDelays) {
    EXPECT_EQ(CSpcProcess::DigitalFilterDelay(row.dspfvs, row.decim), row.delay)
        << "DSPFVS " << row.dspfvs << " DECIM " << row.decim;
  }
  // Combinations the table does not hold give no correction.
  EXPECT_EQ(CSpcProcess::DigitalFilterDelay(12, 192), 0.0f);
  EXPECT_EQ(CSpcProcess::DigitalFilterDelay(10, 5), 0.0f);
  EXPECT_EQ(CSpcProcess::DigitalFilterDelay(13, 32), 0.0f);
  EXPECT_EQ(CSpcProcess::DigitalFilterDelay(0, 32), 0.0f);
  EXPECT_EQ(CSpcProcess::DigitalFilterDelay(0, 0), 0.0f);
}

// M points of a decaying complex exponential at frequency k0 / SI cycles per point: a line k0
// points above the carrier turns counter-clockwise, as spectrometers record it.
std::vector<CSpcPoint> DecayingExponential(int m, int si, double k0, double decay) {
  std::vector<CSpcPoint> fid(m);
  for (int k = 0; k < m; ++k) {
    const Complex z = std::exp(Complex(-decay * k, 2.0 * kPi * k0 * k / si));
    fid[k] = CSpcPoint{static_cast<float>(z.real()), static_cast<float>(z.imag())};
  }
  return fid;
}

// Its spectrum over SI points in closed form (a finite geometric sum), laid out as the axis
// runs: frequency 0 in the middle, falling with the point index, so point j holds frequency
// SI/2 - j. That is the plain transform of the conjugated fid, which also gives the imaginary
// part the sense of the instruments' processed spectra.
std::vector<Complex> SpectrumOfExponential(int m, int si, double k0, double decay) {
  const Complex z = std::conj(std::exp(Complex(-decay, 2.0 * kPi * k0 / si)));
  std::vector<Complex> out(si);
  for (int j = 0; j < si; ++j) {
    const int f = (j + si / 2) % si;
    const Complex q = z * std::exp(Complex(0.0, -2.0 * kPi * f / si));
    out[j] = (1.0 - std::pow(q, m)) / (1.0 - q);
  }
  return out;
}

TEST(FourierTransform, ComplexGivesTheLorentzianAtItsFrequency) {
  const int si = 1024, m = 512;
  Engine e;
  e.SetFid(DecayingExponential(m, si, 100.0, 0.01), si, 2 * m);
  ASSERT_EQ(e.proc.FourierTransform(2), 1);
  EXPECT_EQ(e.data.nDomain, 1);
  ASSERT_EQ(e.data.spectrum().size(), static_cast<size_t>(si));
  EXPECT_LT(RelativeError(e.data.spectrum(), SpectrumOfExponential(m, si, 100.0, 0.01)), 2e-6);
  // A line 100 points above the carrier sits 100 points before the middle, where the axis shows
  // the higher frequency; the pivot goes to the peak.
  EXPECT_EQ(e.proc.m_nPivot, 412);
  EXPECT_GT(e.proc.PointToHertz(412), e.proc.PointToHertz(512));
  EXPECT_EQ(e.proc.m_nCur, si);
  EXPECT_EQ(e.proc.m_pCur.data(), e.data.spectrum().data());
  // The fid is kept.
  EXPECT_EQ(e.data.fid().size(), static_cast<size_t>(m));
}

TEST(FourierTransform, ConstantFidPeaksInTheMiddle) {
  Engine e;
  e.SetFid(std::vector<CSpcPoint>(64, CSpcPoint{1.0f, 0.0f}), 64, 128);
  ASSERT_EQ(e.proc.FourierTransform(2), 1);
  EXPECT_FLOAT_EQ(e.data.spectrum()[32].re, 64.0f);
  EXPECT_EQ(e.proc.m_nPivot, 32);
}

TEST(FourierTransform, RealAndSequentialVariantsAgainstADirectTransform) {
  const int si = 64;
  const std::vector<CSpcPoint> fid = RandomPoints(si, 7);
  for (int variant : {1, 3}) {
    Engine e;
    e.SetFid(fid, si, 2 * si);
    ASSERT_EQ(e.proc.FourierTransform(variant), 1);
    // The 2*SI values re, im, re, im ... of the fid as one real signal.
    std::vector<Complex> signal(2 * si);
    for (int k = 0; k < si; ++k) {
      double re = fid[k].re, im = fid[k].im;
      if (variant == 3 && k % 2 == 0) re = -re, im = -im;
      signal[2 * k] = re;
      signal[2 * k + 1] = im;
    }
    if (variant == 3) signal[0] *= 0.1;
    std::vector<Complex> ref = Dft(signal, -1);
    ref.resize(si);
    EXPECT_LT(RelativeError(e.data.spectrum(), ref), 1e-6) << "variant " << variant;
  }
}

TEST(FourierTransform, VariantZeroFollowsTheAcquisitionMode) {
  const std::vector<CSpcPoint> fid = RandomPoints(128, 3);
  for (int aqMode : {1, 2, 3}) {
    Engine automatic, explicitVariant;
    automatic.SetFid(fid, 128, 256, aqMode);
    explicitVariant.SetFid(fid, 128, 256, aqMode);
    ASSERT_EQ(automatic.proc.FourierTransform(0), 1);
    ASSERT_EQ(explicitVariant.proc.FourierTransform(aqMode == 2 ? 3 : 2), 1);
    for (size_t i = 0; i < 128; ++i) {
      EXPECT_EQ(automatic.data.spectrum()[i].re, explicitVariant.data.spectrum()[i].re);
      EXPECT_EQ(automatic.data.spectrum()[i].im, explicitVariant.data.spectrum()[i].im);
    }
  }
}

TEST(FourierTransform, GroupDelayDropsPointsAndTurnsTheFirstOrderPhase) {
  const int si = 256;
  // Filter version 10, decimation 32: 70.0156 points. What lies before point 70 is the
  // filter's start-up and is dropped; an impulse at point 70 becomes a flat spectrum turned by
  // the remaining 0.0156 point as a first-order phase about point 0 (rising with the point
  // index, as the frequency falls).
  std::vector<CSpcPoint> fid(si, CSpcPoint{5.0f, -3.0f});
  for (int k = 70; k < si; ++k) fid[k] = CSpcPoint{};
  fid[70] = CSpcPoint{1.0f, 0.0f};
  Engine e;
  e.SetFid(fid, si, 2 * si);
  e.AddLong("DSPFVS", 10);
  e.AddLong("DECIM", 32);
  ASSERT_EQ(e.proc.FourierTransform(2), 1);
  const double phase = 0.0156 * 360.0;  // degrees over the whole spectrum
  for (int i = 0; i < si; ++i) {
    const double a = i * phase / si * kPi / 180.0;
    EXPECT_NEAR(e.data.spectrum()[i].re, std::cos(a), 5e-5) << i;
    EXPECT_NEAR(e.data.spectrum()[i].im, std::sin(a), 5e-5) << i;
  }
}

// Acquisition parameters that give a filter delay: the table's DSPFVS and DECIM, or GRPDLY.
struct DelayParams {
  const char* what;
  int dspfvs;
  int decim;
  std::optional<double> grpdly;
};

void AddDelayParams(Engine& e, const DelayParams& p) {
  e.AddLong("DSPFVS", p.dspfvs);
  e.AddLong("DECIM", p.decim);
  if (p.grpdly) e.AddDouble("GRPDLY", *p.grpdly);
}

TEST(FourierTransform, DelayFractionIsTakenOffEveryLine) {
  // Two lines sampled 36.5 points late, from the table (version 11, decimation 3) or as the
  // recorded GRPDLY of current spectrometers (versions 20 to 23, whose decimations the table
  // does not know): 36 points are dropped and, corrected, each peak holds SI times its
  // conjugated amplitude, turned by the same constant phase of half a point at the spectrum's
  // edge (pi/2); a first-order correction of the wrong sign would leave them about 1.6
  // radians apart.
  const int si = 256;
  const double delay = 36.5;
  const struct {
    int bin;
    Complex amplitude;
  } lines[] = {{20, Complex(1.0, 0.0)}, {-45, Complex(0.0, 0.5)}};
  std::vector<CSpcPoint> fid(si + 36);
  for (int j = 0; j < si + 36; ++j) {
    Complex x = 0;
    for (const auto& line : lines) x += line.amplitude * std::exp(Complex(0.0, 2.0 * kPi * line.bin * (j - delay) / si));
    fid[j] = CSpcPoint{static_cast<float>(x.real()), static_cast<float>(x.imag())};
  }
  const DelayParams sources[] = {
      {"table", 11, 3, std::nullopt}, {"DSPFVS 20", 20, 2080, 36.5}, {"DSPFVS 23", 23, 3, 36.5},
      {"GRPDLY over the table", 10, 32, 36.5}};
  for (const DelayParams& source : sources) {
    Engine e;
    e.SetFid(fid, si, 2 * (si + 36));
    AddDelayParams(e, source);
    ASSERT_EQ(e.proc.FourierTransform(2), 1);
    for (const auto& line : lines) {
      const CSpcPoint got = e.data.spectrum()[si / 2 - line.bin];
      const Complex want = static_cast<double>(si) * std::conj(line.amplitude) * Complex(0.0, 1.0);
      EXPECT_NEAR(got.re, want.real(), 2e-3 * si) << source.what << ", line " << line.bin;
      EXPECT_NEAR(got.im, want.imag(), 2e-3 * si) << source.what << ", line " << line.bin;
    }
  }
}

TEST(FourierTransform, NoDelayWhereTheParametersGiveNone) {
  // GRPDLY -1 (older spectrometers), 0 (no filter), or a value no record holds points for, with
  // no table entry behind it: the fid is transformed as it is.
  const std::vector<CSpcPoint> fid = RandomPoints(128, 21);
  Engine plain;
  plain.SetFid(fid, 128, 256);
  ASSERT_EQ(plain.proc.FourierTransform(2), 1);
  const DelayParams none[] = {{"GRPDLY -1", 20, 2080, -1.0}, {"GRPDLY 0", 20, 1, 0.0},
                              {"GRPDLY huge", 21, 2432, 1e30},
                              {"GRPDLY NaN", 21, 2432, std::numeric_limits<double>::quiet_NaN()},
                              {"GRPDLY infinite", 21, 2432, std::numeric_limits<double>::infinity()}};
  for (const DelayParams& params : none) {
    Engine e;
    e.SetFid(fid, 128, 256);
    AddDelayParams(e, params);
    ASSERT_EQ(e.proc.FourierTransform(2), 1) << params.what;
    for (size_t i = 0; i < 128; ++i) {
      ASSERT_EQ(e.data.spectrum()[i].re, plain.data.spectrum()[i].re) << params.what;
      ASSERT_EQ(e.data.spectrum()[i].im, plain.data.spectrum()[i].im) << params.what;
    }
  }
}

TEST(FourierTransform, WholeDelayShiftsWithoutPhase) {
  // Version 11, decimation 4: exactly 48 points. Dropping 48 points of z^k multiplies the
  // transform by z^48. Once zero filled, once with the fid holding exactly SI points after
  // the delay (read where it lies).
  for (int si : {256, 128}) {
    const int m = 128;
    Engine e;
    e.SetFid(DecayingExponential(m + 48, si, 20.0, 0.02), si, 2 * (m + 48));
    e.AddLong("DSPFVS", 11);
    e.AddLong("DECIM", 4);
    ASSERT_EQ(e.proc.FourierTransform(2), 1);
    std::vector<Complex> ref = SpectrumOfExponential(m, si, 20.0, 0.02);
    const Complex z48 = std::conj(std::exp(48.0 * Complex(-0.02, 2.0 * kPi * 20.0 / si)));
    for (Complex& c : ref) c *= z48;
    EXPECT_LT(RelativeError(e.data.spectrum(), ref), 2e-6) << si;
  }
}

TEST(FourierTransform, DelayLongerThanTheDataTransformsZeros) {
  Engine e;
  e.SetFid(RandomPoints(64, 1), 64, 100);  // TD 100 < 2 * 70
  e.AddLong("DSPFVS", 10);
  e.AddLong("DECIM", 32);
  ASSERT_EQ(e.proc.FourierTransform(2), 1);
  for (const CSpcPoint& p : e.data.spectrum()) {
    EXPECT_EQ(p.re, 0.0f);
    EXPECT_EQ(p.im, 0.0f);
  }
}

TEST(FourierTransform, TdBeyondTheFidReadsOnlyTheFid) {
  const std::vector<CSpcPoint> fid = RandomPoints(16, 5);
  Engine hostile, honest;
  hostile.SetFid(fid, 64, 1 << 30);
  honest.SetFid(fid, 64, 32);
  ASSERT_EQ(hostile.proc.FourierTransform(2), 1);
  ASSERT_EQ(honest.proc.FourierTransform(2), 1);
  for (size_t i = 0; i < 64; ++i) EXPECT_EQ(hostile.data.spectrum()[i].re, honest.data.spectrum()[i].re);
}

TEST(FourierTransform, OddTdKeepsTheLastRealPartOnly) {
  Engine e;
  e.SetFid({{1.0f, 2.0f}, {3.0f, 4.0f}}, 4, 3);
  ASSERT_EQ(e.proc.FourierTransform(2), 1);
  // The spectrum of {1+2i, 3, 0, 0} at frequency 0 (point 2 after the swap): the sum of the
  // conjugated points.
  EXPECT_FLOAT_EQ(e.data.spectrum()[2].re, 4.0f);
  EXPECT_FLOAT_EQ(e.data.spectrum()[2].im, -2.0f);
}

TEST(FourierTransform, RefusalsChangeNothing) {
  const std::vector<CSpcPoint> fid = RandomPoints(512, 9);
  const std::vector<CSpcPoint> oldSpectrum = RandomPoints(8, 2);
  for (int si : {1000, 0, -4, 1, 1 << 28}) {
    for (int variant : {0, 1, 2, 3}) {
      Engine e;
      e.SetFid(fid, si, 1024);
      e.data.spectrum() = oldSpectrum;
      EXPECT_EQ(e.proc.FourierTransform(variant), 0) << si;
      EXPECT_EQ(e.data.nDomain, 0);
      EXPECT_EQ(e.data.spectrum().size(), oldSpectrum.size());
      EXPECT_EQ(e.data.spectrum()[3].re, oldSpectrum[3].re);
      EXPECT_EQ(e.data.fid().size(), fid.size());
    }
  }
  Engine e;
  e.SetFid({}, 64, 128);
  EXPECT_EQ(e.proc.FourierTransform(2), 0);
  EXPECT_TRUE(e.data.spectrum().empty());
  e.SetFid(fid, 512, 1024);
  EXPECT_EQ(e.proc.FourierTransform(4), 0);
  EXPECT_EQ(e.proc.FourierTransform(-1), 0);
  EXPECT_EQ(e.data.nDomain, 0);
}

TEST(InverseTransform, UndoesTheComplexTransform) {
  const int si = 256;
  const std::vector<CSpcPoint> fid = RandomPoints(si / 2, 11);
  for (int variant : {1, 2}) {
    Engine e;
    e.SetFid(fid, si, si);
    ASSERT_EQ(e.proc.FourierTransform(2), 1);
    ASSERT_EQ(e.proc.InverseTransform(variant), 1);
    EXPECT_EQ(e.data.nDomain, 0);
    const std::vector<CSpcPoint>& back = e.data.fid();
    ASSERT_EQ(back.size(), static_cast<size_t>(si));
    for (int k = 0; k < si; ++k) {
      const CSpcPoint want = k < si / 2 ? fid[k] : CSpcPoint{};  // zero filled
      EXPECT_NEAR(back[k].re, want.re, 1e-6) << k;
      EXPECT_NEAR(back[k].im, want.im, 1e-6) << k;
    }
    EXPECT_EQ(e.proc.m_pCur.data(), back.data());
  }
}

TEST(InverseTransform, SequentialVariantAgainstADirectTransform) {
  const std::vector<CSpcPoint> spectrum = RandomPoints(32, 4);
  Engine e;
  e.SetSpectrum(spectrum);
  ASSERT_EQ(e.proc.InverseTransform(3), 1);
  std::vector<Complex> x(32);
  for (int i = 0; i < 32; ++i) x[i] = Complex(spectrum[i].re, spectrum[i].im);
  std::vector<Complex> ref = Dft(x, +1);  // no swap of halves
  ref[0] = Complex(ref[0].real() * 10.0, ref[0].imag());
  for (size_t k = 0; k < ref.size(); k += 2) ref[k] = -ref[k];
  EXPECT_LT(RelativeError(e.data.fid(), ref), 1e-6);
}

TEST(InverseTransform, RefusalsChangeNothing) {
  Engine e;
  e.SetSpectrum(RandomPoints(1000, 1));
  e.data.fid() = RandomPoints(4, 2);
  const float before = e.data.spectrum()[17].im;
  EXPECT_EQ(e.proc.InverseTransform(2), 0);
  EXPECT_EQ(e.data.nDomain, 1);
  EXPECT_EQ(e.data.fid().size(), 4u);
  EXPECT_EQ(e.data.spectrum()[17].im, before);
  e.SetSpectrum(RandomPoints(64, 1));
  EXPECT_EQ(e.proc.InverseTransform(7), 0);
  e.SetSpectrum({});
  EXPECT_EQ(e.proc.InverseTransform(2), 0);
  EXPECT_EQ(e.data.fid().size(), 4u);
}

TEST(SwapHalves, MovesEveryPointByHalfABlock) {
  std::vector<CSpcPoint> p(8);
  for (int i = 0; i < 8; ++i) p[i].re = static_cast<float>(i);
  CSpcProcess::SwapHalves(p.data(), 2, 4);
  const float even[] = {2, 3, 0, 1, 6, 7, 4, 5};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(p[i].re, even[i]);

  // Odd blocks: i goes to (i + 2) mod 5.
  std::vector<CSpcPoint> q(5);
  for (int i = 0; i < 5; ++i) q[i].re = static_cast<float>(i);
  CSpcProcess::SwapHalves(q.data(), 1, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(q[(i + 2) % 5].re, static_cast<float>(i));

  CSpcProcess::SwapHalves(nullptr, 3, 4);  // nothing to do, no crash
  CSpcProcess::SwapHalves(q.data(), -1, 5);
  CSpcProcess::SwapHalves(q.data(), 1, -5);
}

}  // namespace
