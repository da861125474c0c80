// Display values, window functions and phase correction.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

#include "spectrum/data/phase_blocks.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr double kDegToRad = static_cast<double>(kSpcDegToRad);
constexpr double kPi = static_cast<double>(3.1415927f);

// The peak-list search halves its threshold; data with fewer separable maxima than it wants
// (flat or all-zero data) must still end. A double halves to nothing well within this.
constexpr int kMaxThresholdRounds = 1100;

constexpr std::int32_t kBaseWindow = 64;

}  // namespace

// ---- Display values ----

double CSpcProcess::PhaseAngle(std::int32_t i, double ph0, double ph1, std::int32_t pivot) const {
  return CurrentPhase(ph0, ph1, pivot).At(i);
}

double CSpcProcess::BaselineAt(std::int32_t i) const {
  if (!m_bBaseline || m_baseline.empty() || !m_pData || m_pData->nDomain != 1) return 0.0;
  // A curve shorter than the current points (fitted before a resize) subtracts nothing there.
  return static_cast<std::size_t>(i) < m_baseline.size() ? m_baseline[static_cast<std::size_t>(i)] : 0.0;
}

double CSpcProcess::GetReal(std::int32_t i) const {
  if (i < 0 || i >= m_nCur) return 0.0;
  const CSpcPoint& p = m_pCur[i];
  const double a = PhaseAngle(i, m_fPH0, m_fPH1, m_nPivot);
  return p.re * std::cos(a) + p.im * std::sin(a) - BaselineAt(i);
}

double CSpcProcess::GetImag(std::int32_t i) const {
  if (i < 0 || i >= m_nCur) return 0.0;
  const CSpcPoint& p = m_pCur[i];
  const double a = PhaseAngle(i, m_fPH0, m_fPH1, m_nPivot);
  return p.im * std::cos(a) - p.re * std::sin(a) - BaselineAt(i);
}

double CSpcProcess::GetMagnitude(std::int32_t i) const {
  if (i < 0 || i >= m_nCur) return 0.0;
  const CSpcPoint& p = m_pCur[i];
  const double re = p.re, im = p.im;
  return std::sqrt(re * re + im * im) - BaselineAt(i);
}

double CSpcProcess::GetPower(std::int32_t i) const {
  if (i < 0 || i >= m_nCur) return 0.0;
  const CSpcPoint& p = m_pCur[i];
  const double re = p.re, im = p.im;
  return re * re + im * im - BaselineAt(i);
}

double CSpcProcess::GetDisplayValue(std::int32_t i) const {
  switch (m_nDisplay) {
    case 0: return GetReal(i);
    case 1: return GetImag(i);
    case 2: return GetMagnitude(i);
    default: return GetPower(i);
  }
}

namespace {

// What a run of display values reads: the current points, the baseline curve (null when none
// is subtracted) and the phase.
struct DisplaySource {
  const CSpcPoint* points;
  const float* baseline;
  std::int64_t baselineSize;
  spc::PhaseLine phase;
};

// Display values of mode Mode for points [begin, end) into out[i - origin], the powers (when
// asked for) into powers[i - origin]; Based: every point of the range has a baseline value.
template <std::int32_t Mode, bool Based, class Out>
KEDRUS_VECTOR_INLINE void DisplayPart(const DisplaySource& src, const spc::PhaseBlocks& blocks, std::int64_t begin, std::int64_t end,
                 std::int64_t origin, Out* out, float* powers) {
  const CSpcPoint* points = src.points;
  const float* baseline = src.baseline;
  auto store = [&](std::int64_t i, double re, double im, double c, double s) {
    const double base = Based ? static_cast<double>(baseline[i]) : 0.0;
    const double power = re * re + im * im;
    double value;
    if constexpr (Mode == 0) value = re * c + im * s - base;
    else if constexpr (Mode == 1) value = im * c - re * s - base;
    else if constexpr (Mode == 2) value = std::sqrt(power) - base;
    else value = power - base;
    out[i - origin] = static_cast<Out>(value);
    if (powers) powers[i - origin] = static_cast<float>(power - base);
  };
  if constexpr (Mode == 0 || Mode == 1) {
    blocks.ForEach(begin, end, [&](std::int64_t first, std::int64_t count, const double* c, const double* s) {
      for (std::int64_t j = 0; j < count; ++j) store(first + j, points[first + j].re, points[first + j].im, c[j], s[j]);
    });
  } else {
    for (std::int64_t i = begin; i < end; ++i) store(i, points[i].re, points[i].im, 1.0, 0.0);
  }
}

template <std::int32_t Mode, class Out>
KEDRUS_VECTOR_INLINE void DisplayRun(const DisplaySource& src, std::int64_t begin, std::int64_t end, Out* out, float* powers) {
  const spc::PhaseBlocks blocks(Mode <= 1 ? src.phase : spc::PhaseLine{}, Mode <= 1 ? end - begin : 1);
  const std::int64_t based = std::clamp(src.baselineSize, begin, end);
  DisplayPart<Mode, true>(src, blocks, begin, based, begin, out, powers);
  DisplayPart<Mode, false>(src, blocks, based, end, begin, out, powers);
}

template <class Out>
KEDRUS_VECTOR_INLINE void DisplayRunOfMode(std::int32_t mode, const DisplaySource& src, std::int64_t begin, std::int64_t end, Out* out,
                      float* powers) {
  switch (mode) {
    case 0: DisplayRun<0>(src, begin, end, out, powers); break;
    case 1: DisplayRun<1>(src, begin, end, out, powers); break;
    case 2: DisplayRun<2>(src, begin, end, out, powers); break;
    default: DisplayRun<3>(src, begin, end, out, powers); break;
  }
}

}  // namespace

spc::PhaseLine CSpcProcess::CurrentPhase(double ph0, double ph1, std::int32_t pivot) const {
  return spc::PhaseLine{ph0, ph1, pivot, static_cast<double>(std::max(m_nCur, 0))};
}

template <class Out>
KEDRUS_VECTOR_INLINE void CSpcProcess::DisplayValuesOf(std::int64_t begin, std::int64_t end, Out* out, float* powers) const {
  const bool corrected = m_bBaseline && !m_baseline.empty() && m_pData && m_pData->nDomain == 1;
  const DisplaySource src{m_pCur.data(), corrected ? m_baseline.data() : nullptr,
                          corrected ? static_cast<std::int64_t>(m_baseline.size()) : 0,
                          CurrentPhase(m_fPH0, m_fPH1, m_nPivot)};
  DisplayRunOfMode(m_nDisplay, src, begin, end, out, powers);
}

KEDRUS_VECTOR_CLONES
void CSpcProcess::GetDisplayValues(std::int32_t first, std::int32_t count, float* values, float* powers) const {
  const std::int64_t from = first, to = from + std::max(count, 0);
  // The points the current view really holds (it can be shorter than the current count).
  const std::int64_t held = std::min<std::int64_t>(std::max(m_nCur, 0), static_cast<std::int64_t>(m_pCur.size()));
  const std::int64_t begin = std::clamp<std::int64_t>(from, 0, held);
  const std::int64_t end = std::clamp<std::int64_t>(to, begin, held);
  // Points outside the current data read 0: those before it and those after it (a loop over
  // every point asked for only to skip the held ones cost a tenth of a redraw).
  const auto zero = [&](std::int64_t a, std::int64_t b) KEDRUS_VECTOR_LAMBDA {
    for (std::int64_t i = a; i < b; ++i) {
      values[i - from] = 0.0f;
      if (powers) powers[i - from] = 0.0f;
    }
  };
  zero(from, std::min(begin, to));
  zero(std::max(from, end), to);
  if (begin >= end) return;
  DisplayValuesOf(begin, end, values + (begin - from), powers ? powers + (begin - from) : nullptr);
}

KEDRUS_VECTOR_CLONES
void CSpcProcess::DisplayValues(std::int32_t first, std::int32_t count, double* out) const {
  const std::int64_t held = std::min<std::int64_t>(std::max(m_nCur, 0), static_cast<std::int64_t>(m_pCur.size()));
  const std::int64_t begin = std::clamp<std::int64_t>(first, 0, held);
  const std::int64_t end = std::clamp<std::int64_t>(static_cast<std::int64_t>(first) + std::max(count, 0), begin, held);
  // Points the view does not hold are zero points: they show the baseline's negative at most,
  // as GetDisplayValue gives them.
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int64_t i = static_cast<std::int64_t>(first) + k;
    if (i < begin || i >= end) out[k] = i >= 0 && i < m_nCur ? -BaselineAt(static_cast<std::int32_t>(i)) : 0.0;
  }
  if (begin < end) DisplayValuesOf<double>(begin, end, out + (begin - first), nullptr);
}

double CSpcProcess::GetSpectrumReal(std::int32_t i) const {
  // Bounded by the spectrum itself: writers read it whole also while the fid is shown.
  if (!m_pData || i < 0) return 0.0;
  const std::vector<CSpcPoint>& spectrum = m_pData->data[1];
  if (static_cast<std::size_t>(i) >= spectrum.size()) return 0.0;
  const CSpcPoint& p = spectrum[static_cast<std::size_t>(i)];
  const double a = PhaseAngle(i, m_fPH0, m_fPH1, m_nPivot);
  const double base = m_bBaseline && static_cast<std::size_t>(i) < m_baseline.size() ? m_baseline[i] : 0.0;
  return p.re * std::cos(a) + p.im * std::sin(a) - base;
}

double CSpcProcess::GetSpectrumImag(std::int32_t i) const {
  // Bounded by the spectrum itself: writers read it whole also while the fid is shown.
  if (!m_pData || i < 0) return 0.0;
  const std::vector<CSpcPoint>& spectrum = m_pData->data[1];
  if (static_cast<std::size_t>(i) >= spectrum.size()) return 0.0;
  const CSpcPoint& p = spectrum[static_cast<std::size_t>(i)];
  const double a = PhaseAngle(i, m_fPH0, m_fPH1, m_nPivot);
  const double base = m_bBaseline && static_cast<std::size_t>(i) < m_baseline.size() ? m_baseline[i] : 0.0;
  return p.im * std::cos(a) - p.re * std::sin(a) - base;
}

namespace {

// The index of the first largest power among points [begin, end), NaN powers never winning;
// `none` when there is no such power. Two passes that vectorise: the largest power in lanes,
// then the first point that has it.
KEDRUS_VECTOR_INLINE std::int64_t FirstLargestPower(const CSpcPoint* q, std::int64_t begin, std::int64_t end,
                                                    std::int64_t none) {
  auto power = [q](std::int64_t i) {
    const double re = q[i].re, im = q[i].im;
    return re * re + im * im;
  };
  constexpr std::int64_t kLanes = 32;
  double lane[kLanes];
  std::fill_n(lane, kLanes, -1.0);
  for (std::int64_t first = begin; first < end; first += kLanes) {
    const std::int64_t count = std::min(kLanes, end - first);
    for (std::int64_t j = 0; j < count; ++j) {
      const double p = power(first + j);
      lane[j] = p > lane[j] ? p : lane[j];
    }
  }
  double best = -1.0;
  for (double l : lane) best = l > best ? l : best;
  if (best < 0.0) return none;
  std::int64_t i = begin;
  constexpr std::int64_t kRun = 16;
  for (; i + kRun <= end; i += kRun) {
    int hits = 0;  // a count rather than a flag: it vectorises
    for (std::int64_t k = 0; k < kRun; ++k) hits += power(i + k) == best;
    if (hits != 0) break;
  }
  while (power(i) != best) ++i;
  return i;
}

}  // namespace

KEDRUS_VECTOR_CLONES
std::uint32_t CSpcProcess::GetMaxMagnitudeIndex() const {
  const std::span<const CSpcPoint> cur = CurrentPoints(0, m_nCur);
  return static_cast<std::uint32_t>(FirstLargestPower(cur.data(), 0, static_cast<std::int64_t>(cur.size()), 0));
}

// ---- Phase bookkeeping ----

void CSpcProcess::UpdatePhase() {
  const double ph0 = m_fPH0 * kDegToRad;
  m_fSin0 = static_cast<float>(std::sin(ph0));
  m_fCos0 = static_cast<float>(std::cos(ph0));
  m_fPhaseStep = m_nCur > 0 ? static_cast<float>(m_fPH1 * kDegToRad / m_nCur) : 0.0f;
  m_fPhaseStep2 = m_fPhaseStep;
  m_bBaseLevelDirty = 1;
  m_bIntegralDirty = 1;
}

std::int32_t CSpcProcess::ChangePivot(float ph0, float ph1, std::int32_t pivot) {
  const std::int32_t moved = pivot - m_nPivot;
  if (moved == 0 || m_nCur <= 0) {
    // Without points the phase at a pivot has no meaning; the phases are only stored.
    m_fPH0 = ph0;
    m_fPH1 = ph1;
    return moved;
  }
  // Keep the phase of every point: the new zero order is the old phase at the new pivot, and
  // the first order follows from the two (the same PH1 up to rounding).
  const double n = m_nCur;
  const double newPh0 = static_cast<double>(pivot - m_nPivot) * ph1 / n + ph0;
  const double newPh1 = (newPh0 - ph0) * n / (static_cast<double>(pivot) - m_nPivot);
  m_fPH0 = static_cast<float>(newPh0);
  m_fPH1 = static_cast<float>(newPh1);
  return moved;
}

namespace {

// Turns the first min(spectrum size, si) points by the phase line: re' = re cos a + im sin a and
// im' = im cos a - re sin a, which ApplyPhase stores negated (`negateImaginary`).
template <bool negateImaginary>
KEDRUS_VECTOR_INLINE void TurnPoints(std::vector<CSpcPoint>& spectrum, std::int32_t si, const spc::PhaseLine& line) {
  const auto count = static_cast<std::int64_t>(std::min(spectrum.size(), static_cast<std::size_t>(si)));
  CSpcPoint* points = spectrum.data();
  const spc::PhaseBlocks blocks(line, count);
  blocks.ForEach(0, count, [&](std::int64_t first, std::int64_t n, const double* c, const double* s) {
    CSpcPoint* p = points + first;
    for (std::int64_t j = 0; j < n; ++j) {
      const double re = p[j].re, im = p[j].im;
      p[j].re = static_cast<float>(re * c[j] + im * s[j]);
      p[j].im = static_cast<float>(negateImaginary ? re * s[j] - im * c[j] : im * c[j] - re * s[j]);
    }
  });
}

}  // namespace

KEDRUS_VECTOR_CLONES
void CSpcProcess::ApplyPhase(float ph0, float ph1, std::int32_t pivot) {
  if (!m_pData || m_nSI <= 0) return;
  TurnPoints<true>(m_pData->data[1], m_nSI, spc::PhaseLine{ph0, ph1, pivot, static_cast<double>(m_nSI)});
}

KEDRUS_VECTOR_CLONES
void CSpcProcess::TurnSpectrum(float ph0, float ph1, std::int32_t pivot) {
  if (!m_pData || m_nSI <= 0) return;
  TurnPoints<false>(m_pData->data[1], m_nSI, spc::PhaseLine{ph0, ph1, pivot, static_cast<double>(m_nSI)});
}

// ---- Window functions ----

namespace {

// The weights w(k) = exp(e(k)), e(k) = -a*t - b*t*t with t = k*dt, block by block without an
// exponential per point. Over a block from k0, e(k0 + j) = e(k0) + e(j) + g*j with
// g = -2*b*k0*dt*dt, so w(k0 + j) = w(k0) * w(j) * G^j: one exponential for w(k0), one for G,
// a table of w(j) made once, and the powers of G by repeated doubling. A block whose factors
// could leave the range of a double (a window that grows or falls by more than e^700 within
// it) takes every weight from its own exponential instead.
class WindowWeights {
 public:
  static constexpr std::int64_t kBlock = 256;

  WindowWeights(double a, double b, double dt, std::int64_t longest) : m_a(a), m_b(b), m_dt(dt) {
    m_size = std::clamp<std::int64_t>(longest, 1, kBlock);
    for (std::int64_t j = 0; j < m_size; ++j) {
      const double e = Exponent(j);
      m_table[j] = std::exp(e);
      m_tableRange = std::max(m_tableRange, std::fabs(e));
    }
  }

  // The largest exponent over the first n weights: at an end of the time range or at the
  // parabola's vertex. NaN when the window's constants make it so.
  double LargestExponent(std::int64_t n) const {
    const double end = static_cast<double>(n - 1) * m_dt;
    double peak = std::max(ExponentAt(0.0), ExponentAt(end));
    if (m_b != 0.0) {
      const double vertex = -m_a / (2.0 * m_b);
      if (std::min(0.0, end) < vertex && vertex < std::max(0.0, end)) peak = std::max(peak, ExponentAt(vertex));
    }
    return peak;
  }

  // Calls body(k0, count, w) for consecutive blocks of [0, n), w[j] the weight of k0 + j.
  template <class Body>
  KEDRUS_VECTOR_INLINE void ForEach(std::int64_t n, Body&& body) const {
    alignas(64) double w[kBlock];
    alignas(64) double powers[kBlock];
    for (std::int64_t k0 = 0; k0 < n; k0 += m_size) {
      const std::int64_t count = std::min(m_size, n - k0);
      const double e0 = Exponent(k0);
      const double g = -2.0 * m_b * static_cast<double>(k0) * m_dt * m_dt;
      if (std::fabs(e0) + m_tableRange + std::fabs(g) * static_cast<double>(count) <= 700.0) {
        const double w0 = std::exp(e0);
        if (g == 0.0) {  // a linear exponent: the table alone
          for (std::int64_t j = 0; j < count; ++j) w[j] = w0 * m_table[j];
        } else {
          Powers(std::exp(g), count, powers);
          for (std::int64_t j = 0; j < count; ++j) w[j] = w0 * m_table[j] * powers[j];
        }
      } else {
        for (std::int64_t j = 0; j < count; ++j) w[j] = std::exp(Exponent(k0 + j));
      }
      body(k0, count, w);
    }
  }

 private:
  double Exponent(std::int64_t k) const { return ExponentAt(static_cast<double>(k) * m_dt); }
  double ExponentAt(double t) const { return -m_a * t - m_b * t * t; }
  // p[j] = x^j for j < count: each new run of powers is the ones before times the run's start.
  static void Powers(double x, std::int64_t count, double* p) {
    p[0] = 1.0;
    double step = x;  // x^length
    for (std::int64_t length = 1; length < count; length *= 2, step *= step) {
      const std::int64_t run = std::min(length, count - length);
      for (std::int64_t j = 0; j < run; ++j) p[length + j] = p[j] * step;
    }
  }

  double m_a, m_b, m_dt;
  std::int64_t m_size = 1;
  double m_tableRange = 0.0;
  alignas(64) double m_table[kBlock] = {};
};

// True when every weight of the first n is finite and every weighted value (Stride floats per
// weight) fits a float.
template <int Stride>
KEDRUS_VECTOR_INLINE bool WeightedFit(const WindowWeights& weights, const float* values, std::int64_t n) {
  // A count of failures rather than a flag: its sum vectorises.
  std::int64_t bad = 0;
  weights.ForEach(n, [&](std::int64_t k0, std::int64_t count, const double* w) {
    const float* x = values + Stride * k0;
    for (std::int64_t j = 0; j < count; ++j) {
      bad += !(std::fabs(w[j]) <= DBL_MAX);
      for (int part = 0; part < Stride; ++part) bad += !(std::fabs(x[Stride * j + part] * w[j]) <= FLT_MAX);
    }
  });
  return bad == 0;
}

// True when a bound already shows what WeightedFit checks point by point: the largest of the
// first n weights times the largest magnitude of the `count` floats, with room for the
// weights' rounding, fits a float, and no value is infinite or NaN. One pass over floats,
// cheaper than the check.
KEDRUS_VECTOR_INLINE bool WeightedFitBound(const WindowWeights& weights, std::int64_t n, const float* values,
                                           std::int64_t count) {
  const double peak = weights.LargestExponent(n);
  if (!(peak <= 700.0)) return false;  // NaN too
  // Per lane (value i in lane i mod kLanes): elementwise updates, which vectorise.
  constexpr std::int64_t kLanes = 16;
  float largest[kLanes] = {};
  std::int32_t notFinite[kLanes] = {};
  for (std::int64_t first = 0; first < count; first += kLanes) {
    const std::int64_t lanes = std::min(kLanes, count - first);
    for (std::int64_t j = 0; j < lanes; ++j) {
      const float m = std::fabs(values[first + j]);
      largest[j] = m > largest[j] ? m : largest[j];
      notFinite[j] |= !(m <= FLT_MAX);
    }
  }
  const float top = *std::max_element(largest, largest + kLanes);
  return std::count(notFinite, notFinite + kLanes, 0) == kLanes &&
         static_cast<double>(top) * std::exp(peak) * (1.0 + 1e-6) <= FLT_MAX;
}

template <int Stride>
KEDRUS_VECTOR_INLINE void Weigh(const WindowWeights& weights, float* values, std::int64_t n) {
  weights.ForEach(n, [&](std::int64_t k0, std::int64_t count, const double* w) {
    float* x = values + Stride * k0;
    for (std::int64_t j = 0; j < count; ++j)
      for (int part = 0; part < Stride; ++part) x[Stride * j + part] = static_cast<float>(x[Stride * j + part] * w[j]);
  });
}

}  // namespace

// Multiplies the fid by w(t) = exp(-a*t - b*t*t), t = k*dt, over the first TD/2 complex points
// (complex acquisition) or the first TD single values (re, im, re, im ... through the points).
// Refuses, changing nothing, when a weight or a weighted value would not be a finite float: a
// first pass checks (a bound over the largest weight and value where that suffices, else
// every weighted value), a second multiplies (the weights cost a few multiplications per point).
KEDRUS_VECTOR_CLONES
bool CSpcProcess::ApplyWindow(double a, double b, double dt) {
  std::vector<CSpcPoint>& fid = m_pData->data[0];
  const bool complex = m_pData->nAcqCode == 1;
  const std::int64_t wanted = complex ? m_nTD / 2 : m_nTD;
  const std::int64_t held = complex ? static_cast<std::int64_t>(fid.size())
                                    : 2 * static_cast<std::int64_t>(fid.size());
  const std::int64_t n = std::max<std::int64_t>(0, std::min(wanted, held));
  if (n == 0) return true;
  // The point layout is two floats: complex data weighs pairs, single values weigh floats.
  float* values = &fid.front().re;
  const WindowWeights weights(a, b, dt, n);
  if (!WeightedFitBound(weights, n, values, complex ? 2 * n : n) &&
      (complex ? !WeightedFit<2>(weights, values, n) : !WeightedFit<1>(weights, values, n)))
    return false;
  if (complex)
    Weigh<2>(weights, values, n);
  else
    Weigh<1>(weights, values, n);
  return true;
}

bool CSpcProcess::ExpMultiply() {
  if (!m_pData) return false;
  const float lb = m_pData->params.GetValue("LB").GetFloat();
  if (lb == 0.0f || !std::isfinite(lb)) return false;
  if (m_pData->data[0].empty()) return false;
  if (m_dSW == 0.0 || !std::isfinite(m_dSW)) return false;  // no time axis
  const double d = m_pData->nAcqCode == 1 ? 1.0 : 2.0;
  // w = exp(-LB * k / (SW * d)): a linear exponent in t = k / (SW * d).
  if (!ApplyWindow(lb, 0.0, 1.0 / (m_dSW * d))) return false;
  UpdatePhase();
  return true;
}

bool CSpcProcess::GaussMultiply() {
  if (!m_pData || m_pData->data[0].empty()) return false;
  const float lb = m_pData->params.GetValue("LB").GetFloat();
  const float gb = m_pData->params.GetValue("GB").GetFloat();
  if (!std::isfinite(lb) || !std::isfinite(gb) || gb == 0.0f) return false;
  if (m_dSW == 0.0 || !std::isfinite(m_dSW)) return false;
  const double d = m_pData->nAcqCode == 1 ? 1.0 : 2.0;
  const double dt = 1.0 / m_dSW / d;
  // The acquisition time counts the full TD, also for complex data.
  const double aq = m_nTD / m_dSW / d;
  if (aq == 0.0) return false;
  const double a = kPi * lb;
  const double b = -a / (2.0 * aq * gb);
  if (!ApplyWindow(a, b, dt)) return false;
  UpdatePhase();
  return true;
}

// ---- Automatic phase correction ----

KEDRUS_VECTOR_CLONES
float CSpcProcess::ZeroOrderPhase(std::int32_t from, std::int32_t to) const {
  const std::span<const CSpcPoint> points = CurrentPoints(from, to);
  const CSpcPoint* q = points.data();
  const auto n = static_cast<std::int64_t>(points.size());
  auto turn = [](double degrees, double* c, double* s) {
    const double a = static_cast<float>(degrees * kDegToRad);
    *c = std::cos(a);
    *s = std::sin(a);
  };
  double p = 0.0;
  for (double h = 90.0; h > 0.01; h *= 0.5) {
    double cu, su, cd, sd;
    turn(p + h, &cu, &su);
    turn(p - h, &cd, &sd);
    // Both trial phases in one pass over the points.
    spc::LaneSum up, down;
    spc::LaneSum::AddBoth(
        up, down, n, [&](std::int64_t i) { return std::fabs(q[i].re * cu + q[i].im * su); },
        [&](std::int64_t i) { return std::fabs(q[i].re * cd + q[i].im * sd); });
    if (up.Total() >= down.Total()) {
      p -= h;
    } else {
      p += h;
    }
  }
  double c, s;
  turn(p, &c, &s);
  spc::LaneSum sum;
  sum.Add(n, [&](std::int64_t i) { return q[i].re * c + q[i].im * s; });
  if (sum.Total() < 0.0) p += 180.0;
  if (p > 180.0) p -= 360.0;
  return static_cast<float>(p);
}

KEDRUS_VECTOR_CLONES
std::int32_t CSpcProcess::QuickPhase() {
  std::int32_t pivot = 0;
  if (m_nCur >= 2) {
    const std::span<const CSpcPoint> cur = CurrentPoints(0, m_nCur);
    pivot = static_cast<std::int32_t>(FirstLargestPower(cur.data(), 0, static_cast<std::int64_t>(cur.size()), 0));
  }
  m_nPivot = pivot;
  m_fPH0 = ZeroOrderPhase(0, m_nCur);
  m_fPH1 = 0.0f;
  UpdatePhase();
  return 1;
}

// Base level of the phased real parts: the mean of those 64-point window means that lie near
// the running estimate, narrowed in four rounds.
KEDRUS_VECTOR_CLONES
double CSpcProcess::PhasedBaseLevel(double ph0, double ph1, std::int32_t pivot) const {
  const std::span<const CSpcPoint> cur = CurrentPoints(0, m_nCur);
  const auto n = static_cast<std::int64_t>(cur.size());
  if (n <= 0) return 0.0;
  const CSpcPoint* q = cur.data();
  std::vector<double> means(static_cast<std::size_t>((n + kBaseWindow - 1) / kBaseWindow));
  double* mean = means.data();
  // A window's sum is added in eight lanes (l gets the points at offsets 8i + l, a short
  // window's remainder goes to lane 0) and the lanes pairwise; the smallest and largest values
  // so far are kept per lane too. Each point is turned, summed and compared in registers.
  constexpr std::int64_t kLanes = 8;
  double lo[kLanes], hi[kLanes];
  std::fill_n(lo, kLanes, HUGE_VAL);
  std::fill_n(hi, kLanes, -HUGE_VAL);
  double total = 0.0;
  // Blocks hold whole windows (the block length is a multiple of the window or all of n).
  static_assert(spc::PhaseBlocks::kBlock % kBaseWindow == 0);
  const spc::PhaseBlocks blocks(CurrentPhase(ph0, ph1, pivot), n);
  blocks.ForEachStart(0, n, [&](std::int64_t first, std::int64_t count, double c0, double s0) KEDRUS_VECTOR_LAMBDA {
    const CSpcPoint* p = q + first;
    auto value = [&](std::int64_t j) KEDRUS_VECTOR_LAMBDA {
      double c, s;
      blocks.Turn(c0, s0, j, &c, &s);
      return p[j].re * c + p[j].im * s;
    };
    for (std::int64_t w = 0; w < count; w += kBaseWindow) {
      const std::int64_t length = std::min<std::int64_t>(kBaseWindow, count - w);
      double lane[kLanes] = {};
      auto take = [&](std::int64_t l, double v) KEDRUS_VECTOR_LAMBDA {
        lane[l] += v;
        lo[l] = v < lo[l] ? v : lo[l];
        hi[l] = v > hi[l] ? v : hi[l];
      };
      std::int64_t k = 0;
      for (; k + kLanes <= length; k += kLanes)
        for (std::int64_t l = 0; l < kLanes; ++l) take(l, value(w + k + l));
      for (; k < length; ++k) take(0, value(w + k));
      const double windowSum = ((lane[0] + lane[4]) + (lane[1] + lane[5])) + ((lane[2] + lane[6]) + (lane[3] + lane[7]));
      total += windowSum;
      // A short last window is averaged over the points it has.
      *mean++ = windowSum / static_cast<double>(length);
    }
  });
  const double low = *std::min_element(lo, lo + kLanes), high = *std::max_element(hi, hi + kLanes);
  const double average = total / static_cast<double>(n);
  if (n < 65) return average;
  double estimate = average;
  double divisor = 5.0;
  for (int round = 1; round <= 4; ++round, divisor *= 5.0) {
    const double threshold = (high - low) / divisor;
    double sum = 0.0;
    int counted = 0;
    for (double m : means) {
      if (estimate - threshold < m && m < estimate + threshold) {
        sum += m;
        ++counted;
      }
    }
    if (counted > 0) estimate = sum / counted;
  }
  return estimate;
}

KEDRUS_VECTOR_CLONES
double CSpcProcess::NegativeExcursion(double ph0, double ph1, std::int32_t pivot, double base,
                                      const std::vector<std::int32_t>& peaks,
                                      std::int32_t halfWidth) const {
  const std::span<const CSpcPoint> cur = CurrentPoints(0, m_nCur);
  const CSpcPoint* q = cur.data();
  const auto held = static_cast<std::int64_t>(cur.size());
  const spc::PhaseBlocks blocks(CurrentPhase(ph0, ph1, pivot), 2 * static_cast<std::int64_t>(halfWidth));
  spc::LaneSum cost;
  for (std::int32_t c : peaks) {
    const std::int64_t first = std::max<std::int64_t>(0, static_cast<std::int64_t>(c) - halfWidth);
    const std::int64_t last = std::min<std::int64_t>(m_nCur, static_cast<std::int64_t>(c) + halfWidth);  // exclusive
    blocks.ForEach(std::min(first, held), std::min(last, held),
                   [&](std::int64_t from, std::int64_t count, const double* cs, const double* sn) {
                     const CSpcPoint* p = q + from;
                     cost.Add(count, [&](std::int64_t j) {
                       // Below the base level by d (NaN counts nothing); computed first so
                       // that the choice is a plain select.
                       const double d = base - (p[j].re * cs[j] + p[j].im * sn[j]);
                       return d > 0.0 ? d : 0.0;
                     });
                   });
    // Current points the view no longer holds are zero points.
    if (last > held && base > 0.0) cost.lane[0] += base * static_cast<double>(last - std::max(first, held));
  }
  return cost.Total();
}

KEDRUS_VECTOR_CLONES
std::int32_t CSpcProcess::AutoPhase() {
  const std::span<const CSpcPoint> cur = CurrentPoints(0, m_nCur);
  const std::int32_t n = m_nCur;
  if (n <= 0) {
    UpdatePhase();
    return 1;
  }
  // Current points the view no longer holds are zero points.
  const CSpcPoint* q = cur.data();
  const auto held = static_cast<std::int32_t>(cur.size());
  auto heldPower = [&](std::int32_t i) {
    const double re = q[i].re, im = q[i].im;
    return re * re + im * im;
  };
  auto power = [&](std::int32_t i) { return i < held ? heldPower(i) : 0.0; };
  const std::int32_t w = static_cast<std::int32_t>(n * 0.0025);

  // Current points the view no longer holds have power 0: the first of them wins only where
  // no held point has a power.
  const std::int64_t scanBegin = 8 * static_cast<std::int64_t>(w), scanEnd = n - scanBegin;
  const std::int64_t noneHeld = scanEnd > held ? std::max<std::int64_t>(scanBegin, held) : scanBegin;
  const auto mainPeak =
      static_cast<std::int32_t>(FirstLargestPower(q, scanBegin, std::min<std::int64_t>(scanEnd, held), noneHeld));

  // Peaks: local maxima of the magnitude above a threshold halved until there are ten. Once
  // the threshold is below every magnitude that may start a climb, halving it further cannot
  // change the list, so flat data or data with few maxima end there.
  // The smallest power that may start a climb (NaN powers never start one), in lanes.
  constexpr std::int64_t kLanes = 32;
  double lowestLane[kLanes];
  std::fill_n(lowestLane, kLanes, HUGE_VAL);
  const std::int64_t climbBegin = w + 1, climbEnd = n - w;
  const std::int64_t heldEnd = std::min<std::int64_t>(climbEnd, held);
  for (std::int64_t first = climbBegin; first < heldEnd; first += kLanes) {
    const std::int64_t count = std::min(kLanes, heldEnd - first);
    for (std::int64_t j = 0; j < count; ++j) {
      const double p = heldPower(static_cast<std::int32_t>(first + j));
      lowestLane[j] = p < lowestLane[j] ? p : lowestLane[j];
    }
  }
  double lowest = *std::min_element(lowestLane, lowestLane + kLanes);
  if (climbEnd > std::max<std::int64_t>(climbBegin, held)) lowest = 0.0;  // zero points past the view
  // The first index from i on, below `end`, whose power exceeds level (a positive one); end
  // when none does. Most points lie below it: they are tested a run at a time.
  auto firstAbove = [&](std::int32_t i, std::int32_t end, double level) {
    const std::int32_t stop = std::min(end, held);
    constexpr std::int32_t kRun = 16;
    for (; i + kRun <= stop; i += kRun) {
      int hits = 0;  // a count rather than a flag: it vectorises
      for (std::int32_t k = 0; k < kRun; ++k) hits += heldPower(i + k) > level;
      if (hits != 0) break;
    }
    while (i < stop && !(heldPower(i) > level)) ++i;
    return i < stop ? i : end;
  };
  std::vector<std::int32_t> peaks;
  double threshold = std::sqrt(power(mainPeak));
  for (int round = 0; round < kMaxThresholdRounds && peaks.size() < 10; ++round) {
    const double halved = threshold * 0.5;
    if (halved == threshold || halved <= 0.0) break;
    threshold = halved;
    const double level = threshold * threshold;
    peaks.clear();
    for (std::int32_t i = firstAbove(w + 1, n - w, level); i < n - w; i = firstAbove(i + 1, n - w, level)) {
      while (i + 1 < n && power(i + 1) > power(i)) ++i;
      if (peaks.empty() || i > peaks.back() + w) peaks.push_back(i);
    }
    if (level < lowest) break;
  }

  double ph[2] = {ZeroOrderPhase(0, n), 0.0};
  const std::int32_t pivot = mainPeak;
  const std::vector<std::int32_t> mainOnly{mainPeak};

  struct Search {
    int parameter;  // 0 PH0, 1 PH1
    double step;
    const std::vector<std::int32_t>* peaks;
    std::int32_t halfWidth;
  };
  const Search searches[] = {
      {0, 180.0, &mainOnly, 8 * w},
      {1, 120.0, &peaks, w},
      {0, 15.0, &peaks, w},
      {1, 60.0, &peaks, w},
  };
  for (const Search& search : searches) {
    double base = PhasedBaseLevel(ph[0], ph[1], pivot);
    double cost = NegativeExcursion(ph[0], ph[1], pivot, base, *search.peaks, search.halfWidth);
    for (double h = search.step; h > 0.1; h *= 0.5) {
      double trial[2] = {ph[0], ph[1]};
      trial[search.parameter] = ph[search.parameter] + h;
      const double up = NegativeExcursion(trial[0], trial[1], pivot, base, *search.peaks, search.halfWidth);
      trial[search.parameter] = ph[search.parameter] - h;
      const double down = NegativeExcursion(trial[0], trial[1], pivot, base, *search.peaks, search.halfWidth);
      if (std::min(up, down) < cost) {
        ph[search.parameter] += down <= up ? -h : h;
        base = PhasedBaseLevel(ph[0], ph[1], pivot);
        cost = NegativeExcursion(ph[0], ph[1], pivot, base, *search.peaks, search.halfWidth);
      }
    }
  }

  m_fPH0 = static_cast<float>(ph[0]);
  m_fPH1 = static_cast<float>(ph[1]);
  m_nPivot = pivot;
  UpdatePhase();
  return 1;
}
