#include "spectrum/data/fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

namespace {

using spc::FFT;
using spc::FftPoint;
using LComplex = std::complex<long double>;

std::vector<float> randomFloats(size_t count, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> dist(-1.f, 1.f);
  std::vector<float> v(count);
  for (float& x : v) x = dist(gen);
  return v;
}

// Direct DFT in long double: the independent reference.
std::vector<LComplex> naiveDft(const std::vector<float>& in, size_t n, bool complexInput,
                               bool inverse) {
  std::vector<LComplex> roots(n);
  const long double sign = inverse ? 1.0L : -1.0L;
  for (size_t j = 0; j < n; ++j) {
    const long double a = 2.0L * std::numbers::pi_v<long double> * j / n;
    roots[j] = LComplex(std::cos(a), sign * std::sin(a));
  }
  std::vector<LComplex> out(n);
  for (size_t k = 0; k < n; ++k) {
    LComplex sum = 0;
    for (size_t t = 0; t < n; ++t) {
      const LComplex x = complexInput ? LComplex(in[2 * t], in[2 * t + 1]) : LComplex(in[t], 0);
      sum += x * roots[(t * k) % n];
    }
    out[k] = inverse ? sum / static_cast<long double>(n) : sum;
  }
  return out;
}

// sqrt(sum |got - ref|^2 / sum |ref|^2)
double relativeRmsError(const std::vector<FftPoint>& got, const std::vector<LComplex>& ref) {
  long double err = 0, norm = 0;
  for (size_t i = 0; i < ref.size(); ++i) {
    err += std::norm(LComplex(got[i].re, got[i].im) - ref[i]);
    norm += std::norm(ref[i]);
  }
  return static_cast<double>(std::sqrt(err / norm));
}

// Single precision with correctly rounded twiddles: the error grows like sqrt(log2 n) * 2^-24;
// 3e-8 per stage is about three times what a sound kernel gives, while a wrong
// twiddle, sign or permutation gives errors of order 1.
double errorBound(size_t n) { return 3e-8 * (std::log2(static_cast<double>(n)) + 1); }

TEST(Fft, MatchesLongDoubleDftForAllSmallSizes) {
  for (int log2n = 1; log2n <= 12; ++log2n) {
    const size_t n = size_t{1} << log2n;
    for (bool complexInput : {true, false}) {
      for (bool inverse : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "n=" << n << " complex=" << complexInput
                                          << " inverse=" << inverse);
        const auto in = randomFloats(complexInput ? 2 * n : n, 1000u + log2n);
        std::vector<FftPoint> out(n);
        ASSERT_EQ(FFT(in.data(), n, complexInput, out.data(), inverse), 1);
        const auto ref = naiveDft(in, n, complexInput, inverse);
        EXPECT_LT(relativeRmsError(out, ref), errorBound(n));
        // No single point may be far off either (relative to the spectrum's rms).
        long double norm = 0, worst = 0;
        for (size_t i = 0; i < n; ++i) norm += std::norm(ref[i]);
        for (size_t i = 0; i < n; ++i)
          worst = std::max(worst, std::abs(LComplex(out[i].re, out[i].im) - ref[i]));
        EXPECT_LT(static_cast<double>(worst / std::sqrt(norm / n)), 4 * errorBound(n));

        // The same spectrum by the other routes: the half spectrum of real input, and the
        // complex transforms with the spectrum's halves swapped.
        std::vector<FftPoint> other;
        std::vector<LComplex> want;
        if (!complexInput) {
          other.resize(n / 2 + 1);
          ASSERT_EQ(spc::RealFFT(in.data(), n, other.data(), inverse), 1);
          want.assign(ref.begin(), ref.begin() + static_cast<std::ptrdiff_t>(n / 2 + 1));
        } else if (!inverse) {
          other.resize(n);
          ASSERT_EQ(spc::CenteredFFT(reinterpret_cast<const FftPoint*>(in.data()), n, other.data()), 1);
          for (size_t k = 0; k < n; ++k) want.push_back(ref[(k + n / 2) % n]);
        } else {
          // The inverse of a spectrum whose halves are swapped: the inverse taken times (-1)^j.
          other.resize(n);
          ASSERT_EQ(spc::CenteredInverseFFT(reinterpret_cast<const FftPoint*>(in.data()), n, other.data()), 1);
          for (size_t j = 0; j < n; ++j) want.push_back(j % 2 == 0 ? ref[j] : -ref[j]);
        }
        if (!want.empty()) {
          EXPECT_LT(relativeRmsError(other, want), errorBound(n));
        }
        if (!complexInput) continue;

        // The conjugate forms: the centred transform of the conjugated input, and the
        // conjugate of the centred inverse.
        std::vector<float> conjugated = in;
        for (size_t j = 1; j < conjugated.size(); j += 2) conjugated[j] = -conjugated[j];
        const auto conjugateRef = naiveDft(conjugated, n, true, inverse);
        want.clear();
        for (size_t k = 0; k < n; ++k) {
          if (!inverse) {
            want.push_back(conjugateRef[(k + n / 2) % n]);
          } else {
            want.push_back(std::conj(k % 2 == 0 ? ref[k] : -ref[k]));
          }
        }
        const auto* points = reinterpret_cast<const FftPoint*>(in.data());
        ASSERT_EQ(inverse ? spc::ConjugateCenteredInverseFFT(points, n, other.data())
                          : spc::ConjugateCenteredFFT(points, n, other.data()),
                  1);
        EXPECT_LT(relativeRmsError(other, want), errorBound(n));
      }
    }
  }
}

// The conjugation rides on the passes the centred transforms make anyway (the signs of the
// input's reordering, the scaling of the inverse's last pass): the results are the plain
// centred transforms' bit for bit, over every path of the reordering (tiles read in place,
// buffered from 2^13 on, leaves of 4, 8 and 16 points).
TEST(Fft, ConjugateCenteredTransformsAreExactConjugations) {
  for (int log2n = 1; log2n <= 18; ++log2n) {
    const size_t n = size_t{1} << log2n;
    const auto in = randomFloats(2 * n, 300u + log2n);
    std::vector<float> conjugated = in;
    for (size_t j = 1; j < conjugated.size(); j += 2) conjugated[j] = -conjugated[j];
    const auto* points = reinterpret_cast<const FftPoint*>(in.data());
    std::vector<FftPoint> plain(n), conjugate(n);

    ASSERT_EQ(spc::CenteredFFT(reinterpret_cast<const FftPoint*>(conjugated.data()), n, plain.data()), 1);
    ASSERT_EQ(spc::ConjugateCenteredFFT(points, n, conjugate.data()), 1);
    EXPECT_EQ(std::memcmp(plain.data(), conjugate.data(), n * sizeof(FftPoint)), 0) << "forward n=" << n;
    std::vector<FftPoint> inPlace(points, points + n);
    ASSERT_EQ(spc::ConjugateCenteredFFT(inPlace.data(), n, inPlace.data()), 1);
    EXPECT_EQ(std::memcmp(plain.data(), inPlace.data(), n * sizeof(FftPoint)), 0) << "in place n=" << n;

    ASSERT_EQ(spc::CenteredInverseFFT(points, n, plain.data()), 1);
    ASSERT_EQ(spc::ConjugateCenteredInverseFFT(points, n, conjugate.data()), 1);
    for (size_t i = 0; i < n; ++i) {
      ASSERT_EQ(conjugate[i].re, plain[i].re) << "inverse n=" << n << " point " << i;
      ASSERT_EQ(conjugate[i].im, -plain[i].im) << "inverse n=" << n << " point " << i;
    }
  }
}

TEST(Fft, ParsevalHoldsForAMillionPoints) {
  const size_t n = size_t{1} << 20;
  const auto in = randomFloats(2 * n, 7);
  std::vector<FftPoint> out(n);
  ASSERT_EQ(FFT(in.data(), n, true, out.data(), false), 1);
  long double timeEnergy = 0, freqEnergy = 0;
  for (float x : in) timeEnergy += static_cast<long double>(x) * x;
  for (const FftPoint& p : out)
    freqEnergy += static_cast<long double>(p.re) * p.re + static_cast<long double>(p.im) * p.im;
  EXPECT_NEAR(static_cast<double>(freqEnergy / (timeEnergy * n)), 1.0, 1e-5);
}

// A decaying complex exponential e^{(-1/T + 2*pi*i*f0/n) t} transforms into a Lorentzian
// line at bin f0; each bin is the geometric sum (1 - r^n) / (1 - r), r = e^{-1/T + 2*pi*i(f0-k)/n}.
TEST(Fft, DecayingExponentialGivesLorentzianAtItsFrequency) {
  const size_t n = 4096;
  const long double decay = 60.0L, f0 = 1234.0L;
  const long double pi = std::numbers::pi_v<long double>;
  std::vector<float> fid(2 * n);
  for (size_t t = 0; t < n; ++t) {
    const LComplex v = std::exp(LComplex(-1.0L / decay, 2 * pi * f0 / n) * static_cast<long double>(t));
    fid[2 * t] = static_cast<float>(v.real());
    fid[2 * t + 1] = static_cast<float>(v.imag());
  }
  std::vector<FftPoint> spectrum(n);
  ASSERT_EQ(FFT(fid.data(), n, true, spectrum.data(), false), 1);

  size_t peak = 0;
  for (size_t k = 1; k < n; ++k)
    if (std::hypot(spectrum[k].re, spectrum[k].im) > std::hypot(spectrum[peak].re, spectrum[peak].im))
      peak = k;
  EXPECT_EQ(peak, static_cast<size_t>(f0));

  auto expected = [&](size_t k) {
    const LComplex r = std::exp(LComplex(-1.0L / decay, 2 * pi * (f0 - static_cast<long double>(k)) / n));
    return (1.0L - std::pow(r, static_cast<long double>(n))) / (1.0L - r);
  };
  const long double top = std::abs(expected(peak));
  EXPECT_NEAR(static_cast<double>(top), 1.0 / (1.0 - std::exp(-1.0 / 60.0)), 1e-3);
  for (size_t k : {size_t{1234}, size_t{1233}, size_t{1240}, size_t{1300}, size_t{0}, size_t{3000}}) {
    const LComplex want = expected(k);
    EXPECT_NEAR(spectrum[k].re, static_cast<double>(want.real()), 2e-6 * static_cast<double>(top)) << k;
    EXPECT_NEAR(spectrum[k].im, static_cast<double>(want.imag()), 2e-6 * static_cast<double>(top)) << k;
  }
}

TEST(Fft, InverseOfForwardGivesTheInputBack) {
  for (int log2n : {1, 2, 3, 5, 6, 7, 8, 13, 16, 17}) {
    const size_t n = size_t{1} << log2n;
    const auto in = randomFloats(2 * n, 50u + log2n);
    std::vector<FftPoint> spectrum(n), back(n);
    ASSERT_EQ(FFT(in.data(), n, true, spectrum.data(), false), 1);
    ASSERT_EQ(FFT(reinterpret_cast<const float*>(spectrum.data()), n, true, back.data(), true), 1);
    double worst = 0;
    for (size_t i = 0; i < n; ++i)
      worst = std::max({worst, std::abs(double{back[i].re} - in[2 * i]),
                        std::abs(double{back[i].im} - in[2 * i + 1])});
    EXPECT_LT(worst, 2e-6) << "n=" << n;
  }
}

// Every size from 2^13 on: the stages inside a cache block (in pairs up to 2^12, split
// tables up to 2^16), the stages that combine blocks, compact tables up to 2^18, and from
// 2^19 the larger stages (and the real transform's split step) computing their twiddle
// factors on the fly. Real input is the complex input's real parts.
TEST(Fft, LargeTransformsMatchDirectSumsAtSampleBins) {
  for (int log2n = 13; log2n <= 22; ++log2n) {
   for (bool complexInput : {true, false}) {
    const size_t n = size_t{1} << log2n;
    auto in = randomFloats(2 * n, 99u + log2n);
    if (!complexInput)
      for (size_t t = 0; t < n; ++t) in[2 * t + 1] = 0.f;
    std::vector<float> real(n);
    for (size_t t = 0; t < n; ++t) real[t] = in[2 * t];
    std::vector<FftPoint> out(n);
    if (complexInput)
      ASSERT_EQ(FFT(in.data(), n, true, out.data(), false), 1);
    else
      ASSERT_EQ(spc::RealFFT(real.data(), n, out.data()), 1);
    const long double scale = std::sqrt(static_cast<long double>(n) / 1.5L);  // rms of a bin
    for (size_t k : {size_t{0}, size_t{1}, n / 3, n / 2 + 7, n - 1, size_t{123457} % n, n / 4 - 1, n / 4 + 1}) {
      if (!complexInput && k > n / 2) continue;
      // Direct sum; the phase factor advances by a long double recurrence restarted from an
      // exact angle (t*k mod n) every 1024 terms.
      LComplex sum = 0;
      const long double unit = -2.0L * std::numbers::pi_v<long double> / n;
      const LComplex step = std::polar(1.0L, unit * static_cast<long double>(k));
      LComplex phase;
      for (size_t t = 0; t < n; ++t) {
        if (t % 1024 == 0) phase = std::polar(1.0L, unit * static_cast<long double>((t * k) % n));
        sum += LComplex(in[2 * t], in[2 * t + 1]) * phase;
        phase *= step;
      }
      EXPECT_LT(static_cast<double>(std::abs(LComplex(out[k].re, out[k].im) - sum) / scale),
                4 * errorBound(n))
          << "n=" << n << " k=" << k << " complex=" << complexInput;
    }
   }
  }
}

TEST(Fft, RefusesSizesThatAreNotPowersOfTwoAndLeavesTheOutputAlone) {
  const auto in = randomFloats(2 * 1024, 3);
  for (std::ptrdiff_t n : {0, 1, 3, 6, 1000, -4, -1}) {
    for (bool complexInput : {true, false}) {
      std::vector<FftPoint> out(1024, FftPoint{12.5f, -7.25f});
      EXPECT_EQ(FFT(in.data(), n, complexInput, out.data(), false), 0) << n;
      EXPECT_EQ(FFT(in.data(), n, complexInput, out.data(), true), 0) << n;
      for (const FftPoint& p : out) {
        ASSERT_EQ(p.re, 12.5f);
        ASSERT_EQ(p.im, -7.25f);
      }
    }
  }
  std::vector<FftPoint> out(8);
  EXPECT_EQ(FFT(nullptr, 8, true, out.data(), false), 0);
  EXPECT_EQ(FFT(in.data(), 8, true, static_cast<FftPoint*>(nullptr), false), 0);
}

// Largest difference between two results, relative to the rms of the first.
double relativeDifference(const std::vector<FftPoint>& a, const std::vector<FftPoint>& b) {
  double norm = 0, worst = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    norm += double{a[i].re} * a[i].re + double{a[i].im} * a[i].im;
    worst = std::max(worst, std::hypot(double{a[i].re} - b[i].re, double{a[i].im} - b[i].im));
  }
  return worst / std::sqrt(norm / static_cast<double>(a.size()));
}

// The same buffer as input and output (and real values expanding inside their own buffer)
// gives what a separate output gives (up to rounding: the two routes order some operations
// differently).
TEST(Fft, InPlaceCallsMatchSeparateOutput) {
  for (int log2n : {1, 2, 4, 7, 10, 13, 15, 18}) {
    const size_t n = size_t{1} << log2n;
    for (bool inverse : {false, true}) {
      const auto complexIn = randomFloats(2 * n, 5u + log2n);
      std::vector<FftPoint> expected(n);
      ASSERT_EQ(FFT(complexIn.data(), n, true, expected.data(), inverse), 1);
      std::vector<FftPoint> buffer(n);
      std::memcpy(buffer.data(), complexIn.data(), 2 * n * sizeof(float));
      ASSERT_EQ(FFT(reinterpret_cast<const float*>(buffer.data()), n, true, buffer.data(), inverse), 1);
      EXPECT_LT(relativeDifference(expected, buffer), 4 * errorBound(n)) << n;

      // Real values at the start, in the middle and at the end of the output buffer.
      const auto realIn = randomFloats(n, 9u + log2n);
      ASSERT_EQ(FFT(realIn.data(), n, false, expected.data(), inverse), 1);
      for (size_t offset : {size_t{0}, n / 2, n}) {
        std::vector<FftPoint> shared(n);
        float* floats = reinterpret_cast<float*>(shared.data());
        std::memcpy(floats + offset, realIn.data(), n * sizeof(float));
        ASSERT_EQ(FFT(floats + offset, n, false, shared.data(), inverse), 1);
        EXPECT_LT(relativeDifference(expected, shared), 4 * errorBound(n))
            << "n=" << n << " offset=" << offset;
      }
    }
  }
}

TEST(Fft, ConcurrentFirstUseGivesTheSameResults) {
  const std::vector<int> sizes = {9, 10, 11, 12, 14, 16, 18, 19};
  std::vector<std::vector<float>> inputs;
  for (int log2n : sizes) inputs.push_back(randomFloats(size_t{2} << log2n, log2n));
  std::vector<std::vector<FftPoint>> parallel(sizes.size());
  std::vector<std::thread> threads;
  for (size_t i = 0; i < sizes.size(); ++i)
    threads.emplace_back([&, i] {
      parallel[i].resize(size_t{1} << sizes[i]);
      FFT(inputs[i].data(), parallel[i].size(), true, parallel[i].data(), false);
    });
  for (auto& t : threads) t.join();
  for (size_t i = 0; i < sizes.size(); ++i) {
    std::vector<FftPoint> serial(parallel[i].size());
    ASSERT_EQ(FFT(inputs[i].data(), serial.size(), true, serial.data(), false), 1);
    EXPECT_EQ(std::memcmp(serial.data(), parallel[i].data(), serial.size() * sizeof(FftPoint)), 0);
  }
}

struct RecordPoint {
  float re = 0;
  float im = 0;
};

TEST(Fft, AcceptsPointTypesOfTheSameLayout) {
  const std::vector<RecordPoint> in = {{1, 0}, {0, 0}, {0, 0}, {0, 0}};
  std::vector<RecordPoint> out(4);
  ASSERT_EQ(FFT(in.data(), 4, out.data(), false), 1);
  for (const RecordPoint& p : out) {  // a unit impulse has a flat spectrum
    EXPECT_EQ(p.re, 1.f);
    EXPECT_EQ(p.im, 0.f);
  }
  const float real[4] = {1, 2, 3, 4};
  std::vector<std::complex<float>> spectrum(4);
  ASSERT_EQ(FFT(real, 4, false, spectrum.data(), false), 1);
  EXPECT_EQ(spectrum[0], std::complex<float>(10, 0));
  EXPECT_EQ(spectrum[1], std::complex<float>(-2, 2));
  EXPECT_EQ(spectrum[2], std::complex<float>(-2, 0));
  EXPECT_EQ(spectrum[3], std::complex<float>(-2, -2));
}

}  // namespace
