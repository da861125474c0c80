#pragma once
// Builders shared by the analysis tests: spectra of known shape with reproducible noise.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "spectrum/data/spcprocess.h"

namespace antest {

// A frequency-domain record whose current points are the given ones.
struct Spectrum {
  CSpcData d;
  CSpcProcess p{&d};
  explicit Spectrum(std::vector<CSpcPoint> points, std::int32_t kind = 0) {
    d.nKind = kind;
    d.nDomain = 1;
    d.data[1] = std::move(points);
    p.m_nSI = static_cast<std::int32_t>(d.data[1].size());
    p.m_nScans = 1;
    p.SelectData();
    p.UpdatePhase();
  }
};

// Absorption Lorentzian of height h, centre c and half-width g at x.
inline double lorentz(double x, double h, double c, double g) { return h * g * g / ((x - c) * (x - c) + g * g); }

// Real points from a function of the index.
template <class F>
std::vector<CSpcPoint> realPoints(int n, F f) {
  std::vector<CSpcPoint> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = {static_cast<float>(f(i)), 0.0f};
  return v;
}

// Uniform noise in [-a, a], the same on every run.
class Noise {
 public:
  explicit Noise(double a, unsigned seed = 7) : m_gen(seed), m_dist(-a, a) {}
  double operator()() { return m_dist(m_gen); }

 private:
  std::mt19937 m_gen;
  std::uniform_real_distribution<double> m_dist;
};

}  // namespace antest
