// CSpcProcess::Resize: resamples the spectrum to another number of points over the same axis.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "spectrum/data/cubicspline.h"
#include "spectrum/data/spcprocess.h"

namespace {

// a * b / c rounded to the nearest integer (halves away from zero), in 64 bits, saturated.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return a;
  const std::int64_t num = static_cast<std::int64_t>(a) * b;
  std::int64_t q = num / c;
  const std::int64_t r = num % c;
  if (2 * (r < 0 ? -r : r) >= (c < 0 ? -static_cast<std::int64_t>(c) : c)) q += (num < 0) != (c < 0) ? -1 : 1;
  q = std::clamp<std::int64_t>(q, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(q);
}

}  // namespace

std::int32_t CSpcProcess::Resize(std::int32_t newSize, std::int32_t /*unused*/) {
  if (!m_pData || m_pData->nDomain != 1 || !m_pCur || m_nCur < 2 || m_nSI <= 0) return 0;
  if (newSize <= 0 || static_cast<std::uint32_t>(newSize) > CSpcData::kMaxPoints) return 0;
  const std::uint32_t units = GetAvailableUnits();
  if (units == 0) return 0;
  const PointToUnitFunc toUnit = GetPointToUnitFunc(std::countr_zero(units));
  if (!toUnit) return 0;

  // The old points on the axis of the first unit the spectrum offers, in increasing x.
  const std::size_t n = static_cast<std::size_t>(m_nCur);
  std::vector<double> x(n), re(n), im(n);
  for (std::size_t i = 0; i < n; ++i) {
    x[i] = (this->*toUnit)(static_cast<std::int32_t>(i));
    re[i] = m_pCur[i].re;
    im[i] = m_pCur[i].im;
  }
  if (x[0] > x[1]) {
    std::reverse(x.begin(), x.end());
    std::reverse(re.begin(), re.end());
    std::reverse(im.begin(), im.end());
  }
  // An axis without width (or not monotonic) gives nothing to interpolate over.
  spc::CubicSpline reSpline, imSpline;
  if (!reSpline.Fit(x, re) || !imSpline.Fit(x, im)) return 0;

  // The new axis: the same range over newSize points, with the reference point and the pivot
  // moved along.
  const std::int32_t oldSI = m_nSI, oldOP = m_nOP, oldPivot = m_nPivot;
  m_nOP = MulDiv(oldOP, newSize, oldSI);
  m_nPivot = MulDiv(oldPivot, newSize, oldSI);
  m_nSI = newSize;
  const std::size_t m = static_cast<std::size_t>(newSize);
  std::vector<CSpcPoint> points(m);
  bool finite = true;
  for (std::size_t i = 0; i < m && finite; ++i) {
    const double u = (this->*toUnit)(static_cast<std::int32_t>(i));
    const double r = reSpline(u), j = imSpline(u);
    finite = std::isfinite(u) && std::fabs(r) <= std::numeric_limits<float>::max() &&
             std::fabs(j) <= std::numeric_limits<float>::max();
    points[i] = CSpcPoint{static_cast<float>(r), static_cast<float>(j)};
  }
  if (!finite) {
    m_nSI = oldSI;
    m_nOP = oldOP;
    m_nPivot = oldPivot;
    return 0;
  }

  m_pData->data[1].swap(points);
  SelectData();
  UpdatePhase();
  return 1;
}
