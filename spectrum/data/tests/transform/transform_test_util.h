#pragma once
// Builders and independent references shared by the transform tests.
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <random>
#include <string_view>
#include <vector>

#include "spectrum/data/spcdata.h"
#include "spectrum/data/spcprocess.h"

namespace xformtest {

using Complex = std::complex<double>;
constexpr double kPi = std::numbers::pi;

// A record with an engine over it; neither is copied.
struct Engine {
  CSpcData data;
  CSpcProcess proc{&data};

  // An NMR fid of the given points, with SI spectrum points and TD time-domain values.
  void SetFid(std::vector<CSpcPoint> fid, std::int32_t si, std::int32_t td, std::int32_t aqMode = 1) {
    data.nKind = 0;
    data.nDomain = 0;
    data.fid() = std::move(fid);
    proc.m_nSI = si;
    proc.m_nTD = td;
    proc.m_nAqMode = aqMode;
    proc.m_nScans = 1;
    proc.m_dSW = 5000.0;
    proc.m_dFreq = 500.0;
    proc.m_dOffset = 5000.0;
    proc.SelectData();
  }

  // A spectrum of the given points (SI = their count unless given).
  void SetSpectrum(std::vector<CSpcPoint> points, std::int32_t kind = 0, std::int32_t si = -1) {
    data.nKind = kind;
    data.nDomain = 1;
    proc.m_nSI = si < 0 ? static_cast<std::int32_t>(points.size()) : si;
    data.spectrum() = std::move(points);
    proc.m_nScans = 1;
    proc.SelectData();
  }

  void AddDouble(std::string_view name, double v) {
    CSpcParam p;
    p.value.SetDouble(v);
    p.name = std::string(name);
    data.params.Append(p);
  }

  void AddLong(std::string_view name, std::int32_t v) {
    CSpcParam p;
    p.value.SetLong(v);
    p.name = std::string(name);
    data.params.Append(p);
  }
};

inline std::vector<CSpcPoint> RandomPoints(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  std::vector<CSpcPoint> v(n);
  for (CSpcPoint& p : v) p = CSpcPoint{dist(gen), dist(gen)};
  return v;
}

// Direct discrete Fourier transform in double: sign -1 forward (unscaled), +1 inverse (/n).
inline std::vector<Complex> Dft(const std::vector<Complex>& x, int sign) {
  const std::size_t n = x.size();
  std::vector<Complex> out(n);
  for (std::size_t k = 0; k < n; ++k) {
    Complex sum = 0;
    for (std::size_t t = 0; t < n; ++t) {
      const double a = sign * 2.0 * kPi * static_cast<double>((t * k) % n) / static_cast<double>(n);
      sum += x[t] * Complex(std::cos(a), std::sin(a));
    }
    out[k] = sign > 0 ? sum / static_cast<double>(n) : sum;
  }
  return out;
}

inline double MaxAbs(const std::vector<Complex>& v) {
  double m = 0;
  for (const Complex& c : v) m = std::max(m, std::abs(c));
  return m;
}

// Largest distance between the points and the reference, relative to the reference's largest
// magnitude.
inline double RelativeError(const std::vector<CSpcPoint>& got, const std::vector<Complex>& ref) {
  if (got.size() != ref.size()) return 1e30;
  double err = 0;
  for (std::size_t i = 0; i < ref.size(); ++i) err = std::max(err, std::abs(Complex(got[i].re, got[i].im) - ref[i]));
  return err / MaxAbs(ref);
}

}  // namespace xformtest
