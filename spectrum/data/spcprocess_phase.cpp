// Display values, window functions and phase correction.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

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
  // With no current points the first-order term has no scale: only the zero-order phase applies.
  const double firstOrder = m_nCur > 0 ? (static_cast<double>(i) - pivot) * ph1 / m_nCur : 0.0;
  return (firstOrder + ph0) * kDegToRad;
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

// One block of display values of a mode: points [begin, end) of the data, the phase turned by
// a rotation from (c, s) at begin by (stepCos, stepSin) per point.
template <std::int32_t Mode>
void DisplayBlock(const CSpcPoint* points, std::int64_t begin, std::int64_t end, const float* baseline,
                  std::int64_t baselineSize, double c, double s, double stepCos, double stepSin, float* values,
                  float* powers) {
  for (std::int64_t i = begin; i < end; ++i) {
    const double re = points[i].re, im = points[i].im;
    const double base = i < baselineSize ? baseline[i] : 0.0;
    const double power = re * re + im * im;
    double value;
    if constexpr (Mode == 0) value = re * c + im * s - base;
    else if constexpr (Mode == 1) value = im * c - re * s - base;
    else if constexpr (Mode == 2) value = std::sqrt(power) - base;
    else value = power - base;
    if constexpr (Mode == 0 || Mode == 1) {
      const double nc = c * stepCos - s * stepSin;
      s = s * stepCos + c * stepSin;
      c = nc;
    }
    values[i - begin] = static_cast<float>(value);
    if (powers) powers[i - begin] = static_cast<float>(power - base);
  }
}

}  // namespace

void CSpcProcess::GetDisplayValues(std::int32_t first, std::int32_t count, float* values, float* powers) const {
  const std::int64_t from = first, to = from + std::max(count, 0);
  // The points the current view really holds (it can be shorter than the current count).
  const std::int64_t held = std::min<std::int64_t>(std::max(m_nCur, 0), static_cast<std::int64_t>(m_pCur.size()));
  const std::int64_t begin = std::clamp<std::int64_t>(from, 0, held);
  const std::int64_t end = std::clamp<std::int64_t>(to, begin, held);
  // Points outside the current data read 0.
  for (std::int64_t i = from; i < to; ++i) {
    if (i >= begin && i < end) continue;
    values[i - from] = 0.0f;
    if (powers) powers[i - from] = 0.0f;
  }
  if (begin >= end) return;
  const CSpcPoint* points = m_pCur.data();
  const bool corrected = m_bBaseline && !m_baseline.empty() && m_pData && m_pData->nDomain == 1;
  const float* baseline = corrected ? m_baseline.data() : nullptr;
  const std::int64_t baselineSize = corrected ? static_cast<std::int64_t>(m_baseline.size()) : 0;
  const double step = m_nCur > 0 ? static_cast<double>(m_fPH1) / m_nCur * kDegToRad : 0.0;
  const double stepCos = std::cos(step), stepSin = std::sin(step);
  // Exact angles at the start of every block keep the rotation's rounding from adding up.
  constexpr std::int64_t kBlock = 256;
  for (std::int64_t at = begin; at < end; at += kBlock) {
    const std::int64_t stop = std::min(at + kBlock, end);
    const double a = PhaseAngle(static_cast<std::int32_t>(at), m_fPH0, m_fPH1, m_nPivot);
    const double c = std::cos(a), s = std::sin(a);
    float* v = values + (at - from);
    float* p = powers ? powers + (at - from) : nullptr;
    switch (m_nDisplay) {
      case 0: DisplayBlock<0>(points, at, stop, baseline, baselineSize, c, s, stepCos, stepSin, v, p); break;
      case 1: DisplayBlock<1>(points, at, stop, baseline, baselineSize, c, s, stepCos, stepSin, v, p); break;
      case 2: DisplayBlock<2>(points, at, stop, baseline, baselineSize, c, s, stepCos, stepSin, v, p); break;
      default: DisplayBlock<3>(points, at, stop, baseline, baselineSize, c, s, stepCos, stepSin, v, p); break;
    }
  }
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

std::uint32_t CSpcProcess::GetMaxMagnitudeIndex() const {
  std::uint32_t best = 0;
  double bestPower = -1.0;
  const std::span<const CSpcPoint> cur = CurrentPoints(0, m_nCur);
  for (std::size_t i = 0; i < cur.size(); ++i) {
    const double re = cur[i].re, im = cur[i].im;
    const double power = re * re + im * im;
    if (power > bestPower) {
      bestPower = power;
      best = static_cast<std::uint32_t>(i);
    }
  }
  return best;
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

void CSpcProcess::ApplyPhase(float ph0, float ph1, std::int32_t pivot) {
  if (!m_pData || m_nSI <= 0) return;
  std::vector<CSpcPoint>& spectrum = m_pData->data[1];
  const std::size_t count = std::min(spectrum.size(), static_cast<std::size_t>(m_nSI));
  const double si = m_nSI;
  for (std::size_t i = 0; i < count; ++i) {
    const double a = ((static_cast<double>(i) - pivot) * ph1 / si + ph0) * kDegToRad;
    const double c = std::cos(static_cast<double>(static_cast<float>(a)));
    const double s = std::sin(a);
    CSpcPoint& p = spectrum[i];
    const double re = p.re, im = p.im;
    p.re = static_cast<float>(re * c + im * s);
    p.im = static_cast<float>(re * s - im * c);
  }
}

// ---- Window functions ----

// Multiplies the fid by w(t) = exp(-a*t - b*t*t), t = k*dt, over the first TD/2 complex points
// (complex acquisition) or the first TD single values. Refuses, changing nothing, when a weight
// or a weighted value would not be a finite float.
bool CSpcProcess::ApplyWindow(double a, double b, double dt) {
  std::vector<CSpcPoint>& fid = m_pData->data[0];
  const bool complex = m_pData->nAcqCode == 1;
  const std::int64_t wanted = complex ? m_nTD / 2 : m_nTD;
  const std::int64_t held = complex ? static_cast<std::int64_t>(fid.size())
                                    : 2 * static_cast<std::int64_t>(fid.size());
  const std::int64_t n = std::max<std::int64_t>(0, std::min(wanted, held));

  // Single values run re, im, re, im ... through the points.
  auto value = [&](std::int64_t k) -> float& {
    CSpcPoint& p = fid[static_cast<std::size_t>(complex ? k : k / 2)];
    return complex || k % 2 == 0 ? p.re : p.im;
  };
  auto weight = [&](std::int64_t k) {
    const double t = static_cast<double>(k) * dt;
    return std::exp(-a * t - b * t * t);
  };
  auto fits = [](double v) { return std::isfinite(v) && std::fabs(v) <= FLT_MAX; };

  for (std::int64_t k = 0; k < n; ++k) {
    const double w = weight(k);
    if (!std::isfinite(w)) return false;
    if (complex) {
      if (!fits(fid[k].re * w) || !fits(fid[k].im * w)) return false;
    } else if (!fits(value(k) * w)) {
      return false;
    }
  }
  for (std::int64_t k = 0; k < n; ++k) {
    const double w = weight(k);
    if (complex) {
      fid[k].re = static_cast<float>(fid[k].re * w);
      fid[k].im = static_cast<float>(fid[k].im * w);
    } else {
      value(k) = static_cast<float>(value(k) * w);
    }
  }
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

float CSpcProcess::ZeroOrderPhase(std::int32_t from, std::int32_t to) const {
  const std::span<const CSpcPoint> points = CurrentPoints(from, to);
  auto absSum = [&](double degrees) {
    const double a = static_cast<float>(degrees * kDegToRad);
    const double c = std::cos(a), s = std::sin(a);
    double sum = 0.0;
    for (const CSpcPoint& q : points) sum += std::fabs(q.re * c + q.im * s);
    return sum;
  };
  double p = 0.0;
  for (double h = 90.0; h > 0.01; h *= 0.5) {
    if (absSum(p + h) >= absSum(p - h)) {
      p -= h;
    } else {
      p += h;
    }
  }
  const double a = static_cast<float>(p * kDegToRad);
  const double c = std::cos(a), s = std::sin(a);
  double sum = 0.0;
  for (const CSpcPoint& q : points) sum += q.re * c + q.im * s;
  if (sum < 0.0) p += 180.0;
  if (p > 180.0) p -= 360.0;
  return static_cast<float>(p);
}

std::int32_t CSpcProcess::QuickPhase() {
  std::int32_t pivot = 0;
  if (m_nCur >= 2) {
    double best = -1.0;
    const std::span<const CSpcPoint> cur = CurrentPoints(0, m_nCur);
    for (std::size_t i = 0; i < cur.size(); ++i) {
      const double re = cur[i].re, im = cur[i].im;
      if (re * re + im * im > best) {
        best = re * re + im * im;
        pivot = static_cast<std::int32_t>(i);
      }
    }
  }
  m_nPivot = pivot;
  m_fPH0 = ZeroOrderPhase(0, m_nCur);
  m_fPH1 = 0.0f;
  UpdatePhase();
  return 1;
}

// Base level of the phased real parts: the mean of those 64-point window means that lie near
// the running estimate, narrowed in four rounds. The phase rotation is seeded exactly at every
// window start and stepped inside it, which keeps it exact to double rounding at a fraction of
// the cost of a sine and cosine per point.
double CSpcProcess::PhasedBaseLevel(double ph0, double ph1, std::int32_t pivot) const {
  const std::span<const CSpcPoint> cur = CurrentPoints(0, m_nCur);
  const auto n = static_cast<std::int32_t>(cur.size());
  if (n <= 0) return 0.0;
  const double step = ph1 / n * kDegToRad;
  const double cs = std::cos(step), ss = std::sin(step);
  const std::int32_t windows = (n + kBaseWindow - 1) / kBaseWindow;
  std::vector<double> means(static_cast<std::size_t>(windows));
  double total = 0.0, lo = 0.0, hi = 0.0;
  for (std::int32_t w = 0; w < windows; ++w) {
    const std::int32_t first = w * kBaseWindow;
    const std::int32_t last = std::min(n, first + kBaseWindow);
    const double a = PhaseAngle(first, ph0, ph1, pivot);
    double c = std::cos(a), s = std::sin(a);
    double sum = 0.0;
    for (std::int32_t i = first; i < last; ++i) {
      const double v = cur[i].re * c + cur[i].im * s;
      sum += v;
      if (i == 0 || v < lo) lo = v;
      if (i == 0 || v > hi) hi = v;
      const double nc = c * cs - s * ss;
      s = s * cs + c * ss;
      c = nc;
    }
    total += sum;
    // A short last window is averaged over the points it has.
    means[static_cast<std::size_t>(w)] = sum / (last - first);
  }
  const double mean = total / n;
  if (n < 65) return mean;
  double estimate = mean;
  double divisor = 5.0;
  for (int round = 1; round <= 4; ++round, divisor *= 5.0) {
    const double threshold = (hi - lo) / divisor;
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

double CSpcProcess::NegativeExcursion(double ph0, double ph1, std::int32_t pivot, double base,
                                      const std::vector<std::int32_t>& peaks,
                                      std::int32_t halfWidth) const {
  double cost = 0.0;
  for (std::int32_t c : peaks) {
    const std::int32_t first = std::max(0, c - halfWidth);
    const std::int32_t last = std::min(m_nCur, c + halfWidth);  // exclusive
    for (std::int32_t j = first; j < last; ++j) {
      const double a = PhaseAngle(j, ph0, ph1, pivot);
      const double v = m_pCur[j].re * std::cos(a) + m_pCur[j].im * std::sin(a);
      if (v < base) cost += base - v;
    }
  }
  return cost;
}

std::int32_t CSpcProcess::AutoPhase() {
  const std::int32_t n = m_nCur;
  if (n <= 0) {
    UpdatePhase();
    return 1;
  }
  auto power = [&](std::int32_t i) {
    const double re = m_pCur[i].re, im = m_pCur[i].im;
    return re * re + im * im;
  };
  const std::int32_t w = static_cast<std::int32_t>(n * 0.0025);

  std::int32_t mainPeak = 8 * w;
  double best = -1.0;
  for (std::int32_t i = 8 * w; i < n - 8 * w; ++i) {
    if (power(i) > best) {
      best = power(i);
      mainPeak = i;
    }
  }

  // Peaks: local maxima of the magnitude above a threshold halved until there are ten. Once
  // the threshold is below every magnitude that may start a climb, halving it further cannot
  // change the list, so flat data or data with few maxima end there.
  double lowest = -1.0;
  for (std::int32_t i = w + 1; i < n - w; ++i) {
    if (lowest < 0.0 || power(i) < lowest) lowest = power(i);
  }
  std::vector<std::int32_t> peaks;
  double threshold = std::sqrt(power(mainPeak));
  for (int round = 0; round < kMaxThresholdRounds && peaks.size() < 10; ++round) {
    const double halved = threshold * 0.5;
    if (halved == threshold || halved <= 0.0) break;
    threshold = halved;
    const double level = threshold * threshold;
    peaks.clear();
    for (std::int32_t i = w + 1; i < n - w; ++i) {
      if (!(power(i) > level)) continue;
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
