#include "spectrum/data/cubicspline.h"

#include <algorithm>
#include <cmath>

namespace spc {

namespace {

// Third divided difference f[x0, x1, x2, x3] of four consecutive points starting at i.
double ThirdDifference(const std::vector<double>& x, const std::vector<double>& y, std::size_t i) {
  const double d01 = (y[i + 1] - y[i]) / (x[i + 1] - x[i]);
  const double d12 = (y[i + 2] - y[i + 1]) / (x[i + 2] - x[i + 1]);
  const double d23 = (y[i + 3] - y[i + 2]) / (x[i + 3] - x[i + 2]);
  const double d012 = (d12 - d01) / (x[i + 2] - x[i]);
  const double d123 = (d23 - d12) / (x[i + 3] - x[i + 1]);
  return (d123 - d012) / (x[i + 3] - x[i]);
}

}  // namespace

bool CubicSpline::Fit(const std::vector<double>& x, const std::vector<double>& y) {
  m_x.clear();
  m_y.clear();
  m_b.clear();
  m_c.clear();
  m_d.clear();
  m_last = 0;
  const std::size_t n = x.size();
  if (n < 2 || y.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return false;
    if (i > 0 && !(x[i] > x[i - 1])) return false;
  }

  const std::size_t intervals = n - 1;
  std::vector<double> h(intervals), slope(intervals);
  for (std::size_t i = 0; i < intervals; ++i) {
    h[i] = x[i + 1] - x[i];
    slope[i] = (y[i + 1] - y[i]) / h[i];
  }

  // sigma[i] is a sixth of the second derivative at x[i]: a tridiagonal system whose first and
  // last rows hold the end conditions on the third derivative.
  std::vector<double> sigma(n, 0.0);
  if (n >= 3) {
    std::vector<double> sub(n, 0.0), diag(n), sup(n, 0.0), rhs(n);
    diag[0] = -h[0];
    sup[0] = h[0];
    rhs[0] = n >= 4 ? h[0] * h[0] * ThirdDifference(x, y, 0) : 0.0;
    for (std::size_t i = 1; i + 1 < n; ++i) {
      sub[i] = h[i - 1];
      diag[i] = 2.0 * (h[i - 1] + h[i]);
      sup[i] = h[i];
      rhs[i] = slope[i] - slope[i - 1];
    }
    const double hl = h[intervals - 1];
    sub[n - 1] = hl;
    diag[n - 1] = -hl;
    rhs[n - 1] = n >= 4 ? -hl * hl * ThirdDifference(x, y, n - 4) : 0.0;

    // Forward elimination and back substitution; the interior rows dominate their diagonal
    // and the end rows become so after the first step, so no pivoting is needed.
    for (std::size_t i = 1; i < n; ++i) {
      const double t = sub[i] / diag[i - 1];
      diag[i] -= t * sup[i - 1];
      rhs[i] -= t * rhs[i - 1];
    }
    sigma[n - 1] = rhs[n - 1] / diag[n - 1];
    for (std::size_t i = n - 1; i-- > 0;) sigma[i] = (rhs[i] - sup[i] * sigma[i + 1]) / diag[i];
  }

  m_b.resize(intervals);
  m_c.resize(intervals);
  m_d.resize(intervals);
  for (std::size_t i = 0; i < intervals; ++i) {
    m_b[i] = slope[i] - h[i] * (sigma[i + 1] + 2.0 * sigma[i]);
    m_c[i] = 3.0 * sigma[i];
    m_d[i] = (sigma[i + 1] - sigma[i]) / h[i];
  }
  m_x = x;
  m_y = y;
  return true;
}

std::size_t CubicSpline::Interval(double u) const {
  const std::size_t last = m_x.size() - 2;
  std::size_t i = std::min(m_last, last);
  // Resampling evaluates at increasing u: try the previous interval and the next one first.
  if (u >= m_x[i] && (i == last || u < m_x[i + 1])) return i;
  if (i < last && u >= m_x[i + 1] && (i + 1 == last || u < m_x[i + 2])) return m_last = i + 1;
  const auto it = std::upper_bound(m_x.begin(), m_x.end(), u);
  const std::size_t k = it == m_x.begin() ? 0 : static_cast<std::size_t>(it - m_x.begin()) - 1;
  return m_last = std::min(k, last);
}

double CubicSpline::operator()(double u) const {
  if (m_x.size() < 2) return 0.0;
  const std::size_t i = Interval(u);
  const double t = u - m_x[i];
  return m_y[i] + t * (m_b[i] + t * (m_c[i] + t * m_d[i]));
}

}  // namespace spc
