// The noise base level, integrals of display values, automatic integration and peak picking.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/base/numtext.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::int32_t kKindMass = 1;
constexpr std::int32_t kBaseWindow = 64;
constexpr int kBaseRounds = 4;

// A point position given as a float, truncated toward zero and kept within [lo, hi].
std::int64_t clampedTrunc(double x, std::int64_t lo, std::int64_t hi) {
  if (!(x > static_cast<double>(lo))) return lo;
  if (x >= static_cast<double>(hi)) return hi;
  return std::max<std::int64_t>(lo, static_cast<std::int64_t>(std::trunc(x)));
}

// The end of a walk "while i < x2" over n points: the first index not below x2, at most n.
std::int64_t walkEnd(double x2, std::int64_t n) {
  if (!(x2 < static_cast<double>(n))) return n;
  if (x2 <= 0.0) return 0;
  return static_cast<std::int64_t>(std::ceil(x2));
}

// The noise level of values: their mean for short data; otherwise the mean of those windows
// whose mean lies near the estimate, the band narrowing each round. Once the tail forces a
// shorter window, that length is kept for the rest of the rounds.
double baseLevelOf(const std::vector<double>& v) {
  const std::size_t n = v.size();
  if (n == 0) return 0.0;
  double sum = 0.0;
  double lo = v[0], hi = v[0];
  for (double x : v) {
    sum += x;
    lo = std::min(lo, x);
    hi = std::max(hi, x);
  }
  double estimate = sum / static_cast<double>(n);
  if (n <= static_cast<std::size_t>(kBaseWindow)) return estimate;
  std::size_t window = kBaseWindow;
  double threshold = hi - lo;
  for (int round = 1; round <= kBaseRounds; ++round) {
    threshold /= 5.0;
    double total = 0.0;
    std::size_t counted = 0;
    for (std::size_t pos = 0; pos < n; pos += window) {
      if (n - pos < window) window = n - pos;
      double s = 0.0;
      for (std::size_t i = pos; i < pos + window; ++i) s += v[i];
      const double mean = s / static_cast<double>(window);
      if (mean > estimate - threshold && mean < estimate + threshold) {
        total += mean;
        ++counted;
      }
    }
    if (counted > 0) estimate = total / static_cast<double>(counted);
  }
  return estimate;
}

// One point's share of an integral: the value above the base level, the slope correction and
// the addend.
struct IntegralTerm {
  double base, slope, count, addend;
  double operator()(double value, std::int64_t i) const {
    const double tilt = slope != 0.0 ? static_cast<double>(i) * base / count * slope : 0.0;
    return value - base + tilt + addend;
  }
};

}  // namespace

void CSpcProcess::DisplayValues(std::vector<double>& out) const {
  out.resize(static_cast<std::size_t>(std::max(m_nCur, 0)));
  DisplayValues(0, m_nCur, out.data());
}

// ---- Base level ----

void CSpcProcess::CalcBaseLevel() {
  m_bBaseLevelDirty = 0;
  m_fBaseLevel = 0.0f;
  // Only the points that exist are measured (the current points, clamped to the data).
  if (!m_pData || m_pData->nKind == kKindMass || m_nCur <= 0) return;
  std::vector<double> v;
  DisplayValues(v);
  m_fBaseLevel = static_cast<float>(baseLevelOf(v));
}

float CSpcProcess::GetBaseLevel() {
  if (m_bBaseLevelDirty) CalcBaseLevel();
  return m_fBaseLevel;
}

// ---- Integrals ----

float CSpcProcess::GetIntegral(std::uint32_t from, std::uint32_t to, float* curve, std::int32_t n, float addend) {
  if (m_nCur <= 0 || from > to || from >= static_cast<std::uint32_t>(m_nCur)) return 0.0f;
  // A range reaching past the data ends at its last point.
  to = std::min(to, static_cast<std::uint32_t>(m_nCur - 1));
  const IntegralTerm share{GetBaseLevel(), m_fSlope, static_cast<double>(m_nCur), addend};
  const std::int32_t a = static_cast<std::int32_t>(from);
  const std::int32_t b = static_cast<std::int32_t>(to);
  const std::int32_t span = b - a;
  std::vector<double> values(static_cast<std::size_t>(span) + 1);
  DisplayValues(a, span + 1, values.data());
  auto term = [&](std::int32_t i) { return share(values[static_cast<std::size_t>(i - a)], i); };
  double sum = 0.0;
  if (!curve || n <= 0 || n < span + 1) {
    for (std::int32_t i = a; i <= b; ++i) {
      sum += term(i);
      // Several points may fall on one sample; the last one wins.
      if (curve && n > 0) curve[plat::mulDiv(i - a, n - 1, span)] = static_cast<float>(sum);
    }
  } else {
    std::int32_t previous = -1;
    for (std::int32_t j = 0; j < n; ++j) {
      const std::int32_t point = n > 1 ? a + plat::mulDiv(j, span, n - 1) : a;
      if (point != previous) sum += term(point);
      previous = point;
      curve[j] = static_cast<float>(sum);
    }
  }
  return static_cast<float>(sum);
}

void CSpcProcess::CalcTotalIntegral() {
  m_bIntegralDirty = 0;
  m_fTotalIntegral = m_nCur > 0 ? GetIntegral(0, static_cast<std::uint32_t>(m_nCur - 1)) : 0.0f;
}

float CSpcProcess::GetTotalIntegral() {
  if (m_bIntegralDirty) CalcTotalIntegral();
  return m_fTotalIntegral;
}

// ---- Automatic integration ----

bool CSpcProcess::AutoIntegrate(float x1, float x2) {
  if (!m_pData || std::isnan(x1) || std::isnan(x2)) return false;
  m_pData->integrals.clear();
  if (m_pData->nKind == kKindMass || m_nCur <= 0) return false;

  std::vector<double> v;
  DisplayValues(v);
  const std::int64_t n = m_nCur;
  double top = -HUGE_VAL;
  for (std::int64_t i = 1; i < n; ++i) top = std::max(top, v[static_cast<std::size_t>(i)]);
  const std::int64_t first = clampedTrunc(x1, 0, n - 1);
  top = std::max(top, v[static_cast<std::size_t>(first)]);
  // The values are at hand: the base level, total and ranges are summed from them rather than
  // recomputing every display value (the same sums GetBaseLevel and GetIntegral make).
  if (m_bBaseLevelDirty) {
    m_fBaseLevel = static_cast<float>(baseLevelOf(v));
    m_bBaseLevelDirty = 0;
  }
  const double base = m_fBaseLevel;
  const IntegralTerm share{base, m_fSlope, static_cast<double>(n), 0.0};
  auto integral = [&](std::int64_t a, std::int64_t b) {
    double sum = 0.0;
    for (std::int64_t i = a; i <= b; ++i) sum += share(v[static_cast<std::size_t>(i)], i);
    return static_cast<float>(sum);
  };
  if (m_bIntegralDirty) {
    m_fTotalIntegral = integral(0, n - 1);
    m_bIntegralDirty = 0;
  }
  const double threshold = (top - base) * 0.0001;
  const double total = m_fTotalIntegral;

  const std::int64_t begin = clampedTrunc(static_cast<double>(x1) + 1.0, 0, n);
  const std::int64_t end = walkEnd(x2, n);
  bool inside = false;
  int rising = 0;
  std::int64_t start = 0;
  for (std::int64_t i = begin; i < end; ++i) {
    const double u = v[static_cast<std::size_t>(i)] - base;
    if (!inside) {
      if (u > threshold) {
        if (++rising > 1) {
          inside = true;
          start = std::max<std::int64_t>(i - 2, 0);
        }
      } else {
        rising = 0;
      }
    } else if (u < threshold) {
      const double area = integral(start, i);
      // With no total integral there is no relative size to judge a range by.
      if (total != 0.0 && std::isfinite(total) && area / total * 100.0 >= 0.5) {
        m_pData->integrals.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(i), 1.0f});
      }
      inside = false;
      rising = 0;
    }
  }
  return !m_pData->integrals.empty();
}

// ---- Automatic peak picking ----

bool CSpcProcess::AutoPeakPick(float x1, float x2) {
  if (!m_pData || std::isnan(x1) || std::isnan(x2)) return false;
  if (m_pData->nKind == kKindMass) return PickMassPeaks(x1, x2);
  m_pData->peaks.clear();
  const std::int64_t n = m_nCur;
  if (n < 2) return false;

  std::vector<double> v;
  DisplayValues(v);
  const std::int64_t first = clampedTrunc(x1, 0, n - 2);
  double top = v[static_cast<std::size_t>(first)];
  for (std::int64_t i = 1; i < n; ++i) top = std::max(top, v[static_cast<std::size_t>(i)]);
  const double threshold = top * 0.05;

  double prev = v[static_cast<std::size_t>(first)];
  double slope = prev - v[static_cast<std::size_t>(first + 1)];
  const std::int64_t end = walkEnd(x2, n);
  for (std::int64_t i = first + 2; i < end; ++i) {
    const double cur = v[static_cast<std::size_t>(i)];
    const double d = prev - cur;
    // A local maximum above 5 % of the largest value.
    if (d > 0.0 && slope < 0.0 && prev > threshold) m_pData->peaks.push_back(static_cast<std::int32_t>(i - 1));
    slope = d;
    prev = cur;
  }
  return !m_pData->peaks.empty();
}

bool CSpcProcess::PickMassPeaks(float x1, float x2) {
  m_pData->peaks.clear();
  const CMassScan* scan = CurrentScan();
  if (!scan || scan->peaks.empty()) return false;
  const float threshold = GetScanMaxIntensity() * 0.01f;

  bool open = false;
  std::int32_t best = 0;
  double previousNominal = 0.0;
  const std::vector<CSpcPoint>& peaks = scan->peaks;
  for (std::size_t j = 0; j < peaks.size(); ++j) {
    const CSpcPoint& p = peaks[j];
    // The range's ends belong to it: the whole spectrum's range runs from its lowest mass to its
    // highest, and the highest is often the molecular ion.
    if (!(p.im >= x1 && p.im <= x2 && p.re > threshold)) continue;
    // The nominal mass: |mass| rounded half up, with the mass's sign.
    const double nominal = std::copysign(std::floor(std::fabs(static_cast<double>(p.im)) + 0.5), p.im);
    if (open && nominal > previousNominal + 1.0) {
      m_pData->peaks.push_back(best);
      open = false;
    }
    if (!open || p.re > peaks[static_cast<std::size_t>(best)].re) best = static_cast<std::int32_t>(j);
    open = true;
    previousNominal = nominal;
  }
  if (open) m_pData->peaks.push_back(best);
  return !m_pData->peaks.empty();
}
