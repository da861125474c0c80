// X units: which units a spectrum offers, and the conversions between point index and value.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "spectrum/data/spcprocess.h"

namespace {

struct UnitRow {
  std::int32_t kind;
  std::int32_t domain;
  std::uint32_t mask;
};

constexpr std::uint32_t bit(std::int32_t unit) { return 1u << unit; }

constexpr UnitRow kUnitTable[] = {
    {0, 1, bit(kUnitPpm) | bit(kUnitHertz) | bit(kUnitPoint)},
    {0, 0, bit(kUnitSecond) | bit(kUnitPoint)},
    {2, 1, bit(kUnitWavenumber) | bit(kUnitPoint)},
    {3, 1, bit(kUnitNanometer) | bit(kUnitPoint)},
    {4, 1, bit(kUnitMinute) | bit(kUnitSecond) | bit(kUnitPoint)},
    {1, 1, bit(kUnitMass)},
    {5, 1, bit(kUnitMinute) | bit(kUnitSecond) | bit(kUnitPoint)},
    {6, 0, bit(kUnitSecond) | bit(kUnitPoint)},
    {6, 1, bit(kUnitPpm) | bit(kUnitHertz) | bit(kUnitPoint)},
};

constexpr float kMinutesPerSecond = 0.016666668f;

// A value arrives as a 32-bit float, so the point it names is only known to within the float's
// rounding. Truncating a point position that rounding left a hair below a whole point would
// move every value that came from a point to its neighbour; a position that close to a whole
// point therefore counts as that point. |scale| is points per unit of value.
std::int32_t toPoint(double position, double value, double scale) {
  if (!std::isfinite(position)) return 0;
  const double nearest = std::nearbyint(position);
  const double tolerance = 2.0 * FLT_EPSILON * std::fabs(value * scale) + 1e-7;
  const double point = std::fabs(position - nearest) <= tolerance ? nearest : std::trunc(position);
  constexpr double lo = std::numeric_limits<std::int32_t>::min();
  constexpr double hi = std::numeric_limits<std::int32_t>::max();
  if (point <= lo) return std::numeric_limits<std::int32_t>::min();
  if (point >= hi) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(point);
}

// Offset a point index by a truncated position, saturating instead of overflowing.
std::int32_t pointFrom(std::int64_t origin, std::int64_t minus) {
  const std::int64_t p = origin - minus;
  if (p < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (p > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(p);
}

}  // namespace

bool CSpcProcess::IsNmr() const { return m_pData && m_pData->nKind == 0; }

std::uint32_t CSpcProcess::GetAvailableUnits() const {
  if (!m_pData) return 0;
  for (const UnitRow& row : kUnitTable) {
    if (row.kind == m_pData->nKind && row.domain == m_pData->nDomain) return row.mask;
  }
  return 0;
}

CSpcProcess::PointToUnitFunc CSpcProcess::GetPointToUnitFunc(std::int32_t unit) const {
  switch (unit) {
    case kUnitPpm: return &CSpcProcess::PointToPpm;
    case kUnitHertz: return &CSpcProcess::PointToHertz;
    case kUnitWavenumber:
    case kUnitNanometer: return &CSpcProcess::PointToX;
    case kUnitSecond: return &CSpcProcess::PointToTime;
    case kUnitMinute: return &CSpcProcess::PointToMinutes;
    case kUnitMass:
    case kUnitPoint: return &CSpcProcess::PointToIndex;
    default: return nullptr;
  }
}

CSpcProcess::UnitToPointFunc CSpcProcess::GetUnitToPointFunc(std::int32_t unit) const {
  switch (unit) {
    case kUnitPpm: return &CSpcProcess::PpmToPoint;
    case kUnitHertz: return &CSpcProcess::HertzToPoint;
    case kUnitWavenumber:
    case kUnitNanometer: return &CSpcProcess::XToPoint;
    case kUnitSecond: return &CSpcProcess::TimeToPoint;
    case kUnitMinute: return &CSpcProcess::MinutesToPoint;
    case kUnitMass:
    case kUnitPoint: return &CSpcProcess::IndexToPoint;
    default: return nullptr;
  }
}

// An axis without width (SI of 0 or 1, sweep width 0, frequency 0) has every point at its
// origin: point-to-value gives the origin value and value-to-point the origin point.

double CSpcProcess::PointToPpm(std::int32_t i) const {
  const double si = m_nSI;
  if (m_nSI <= 0 || m_dFreq == 0.0) return 0.0;
  return (m_dOffset - (si - m_nOP) * m_dSW / si) / m_dFreq + (si - i) * (m_dSW / m_dFreq) / si;
}

std::int32_t CSpcProcess::PpmToPoint(float v) const {
  const double si = m_nSI;
  if (m_nSI <= 0 || m_dSW == 0.0) return m_nSI > 0 ? m_nSI : 0;
  const double position = ((si - m_nOP) * m_dSW / si + v * m_dFreq - m_dOffset) * si / m_dSW;
  return pointFrom(m_nSI, toPoint(position, v, m_dFreq * si / m_dSW));
}

double CSpcProcess::PointToHertz(std::int32_t i) const {
  if (m_nSI <= 1) return m_dOffset;
  return m_dSW / (m_nSI - 1.0) * (static_cast<double>(m_nOP) - i) + m_dOffset;
}

std::int32_t CSpcProcess::HertzToPoint(float v) const {
  if (m_nSI <= 1 || m_dSW == 0.0) return m_nOP;
  const double scale = (m_nSI - 1.0) / m_dSW;
  return pointFrom(m_nOP, toPoint((v - m_dOffset) * scale, v, scale));
}

double CSpcProcess::LinearStep() const { return m_nSI <= 1 ? 0.0 : m_dSW / (m_nSI - 1.0); }

double CSpcProcess::PointToX(std::int32_t i) const { return LinearStep() * i + m_dFreq; }

std::int32_t CSpcProcess::XToPoint(float v) const {
  const double step = LinearStep();
  if (step == 0.0) return 0;
  return toPoint((v - m_dFreq) / step, v, 1.0 / step);
}

double CSpcProcess::PointToTime(std::int32_t i) const {
  if (IsNmr()) return m_dSW == 0.0 ? 0.0 : i / m_dSW;
  return PointToX(i);
}

std::int32_t CSpcProcess::TimeToPoint(float v) const {
  if (IsNmr()) return toPoint(v * m_dSW, v, m_dSW);
  return XToPoint(v);
}

double CSpcProcess::PointToMinutes(std::int32_t i) const {
  return PointToTime(i) * static_cast<double>(kMinutesPerSecond);
}

std::int32_t CSpcProcess::MinutesToPoint(float v) const {
  // Seconds computed in double: rounding minutes to a float second value would lose the point.
  const double seconds = static_cast<double>(v) * 60.0;
  if (IsNmr()) return toPoint(seconds * m_dSW, seconds, m_dSW);
  const double step = LinearStep();
  if (step == 0.0) return 0;
  return toPoint((seconds - m_dFreq) / step, seconds, 1.0 / step);
}

double CSpcProcess::PointToIndex(std::int32_t i) const { return i; }

std::int32_t CSpcProcess::IndexToPoint(float v) const { return toPoint(v, v, 1.0); }
