// Baseline correction: choosing baseline points, and fitting the curve that the display values
// subtract (a least-squares polynomial or a natural cubic smoothing spline).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::int32_t kMaxPolynomialOrder = 6;
constexpr std::int32_t kEndMargin = 10;  // the automatic points always include 10 and N - 10
constexpr std::size_t kWantedPoints = 30;

// One baseline point: its index and the uncorrected display value there.
struct Knot {
  double x;
  double y;
};

// Least-squares polynomial of the given order in t (already normalised to about [-1, 1]),
// solved by Householder QR so that high orders stay accurate. Coefficients are c0 ... ck.
std::vector<double> FitPolynomial(const std::vector<double>& t, const std::vector<double>& y, int order) {
  const std::size_t rows = t.size();
  const std::size_t cols = static_cast<std::size_t>(order) + 1;
  // Column-major design matrix of powers of t.
  std::vector<double> a(rows * cols);
  for (std::size_t r = 0; r < rows; ++r) {
    double power = 1.0;
    for (std::size_t c = 0; c < cols; ++c) {
      a[c * rows + r] = power;
      power *= t[r];
    }
  }
  std::vector<double> b = y;
  for (std::size_t c = 0; c < cols; ++c) {
    double* col = &a[c * rows];
    double norm = 0.0;
    for (std::size_t r = c; r < rows; ++r) norm += col[r] * col[r];
    norm = std::sqrt(norm);
    if (norm == 0.0) continue;
    const double alpha = col[c] > 0.0 ? -norm : norm;
    // Householder vector v = x - alpha e_c, kept in place of the column below the diagonal.
    col[c] -= alpha;
    double vv = 0.0;
    for (std::size_t r = c; r < rows; ++r) vv += col[r] * col[r];
    if (vv == 0.0) {
      col[c] = alpha;
      continue;
    }
    auto reflect = [&](double* target) {
      double dot = 0.0;
      for (std::size_t r = c; r < rows; ++r) dot += col[r] * target[r];
      const double s = 2.0 * dot / vv;
      for (std::size_t r = c; r < rows; ++r) target[r] -= s * col[r];
    };
    for (std::size_t k = c + 1; k < cols; ++k) reflect(&a[k * rows]);
    reflect(b.data());
    col[c] = alpha;  // the diagonal of R
  }
  // Back substitution with the upper triangle R.
  std::vector<double> coef(cols, 0.0);
  for (std::size_t c = cols; c-- > 0;) {
    double s = b[c];
    for (std::size_t k = c + 1; k < cols; ++k) s -= a[k * rows + c] * coef[k];
    const double diag = a[c * rows + c];
    coef[c] = diag != 0.0 ? s / diag : 0.0;
  }
  return coef;
}

// Natural cubic smoothing spline through knots of strictly increasing x: minimises
// sum (y_j - s(x_j))^2 / f + integral s''^2. Reinsch's form: with Q the second-difference
// matrix and R the tridiagonal spline matrix, (R + f Q'Q) gamma = Q'y gives the interior second
// derivatives gamma, and the fitted values are g = y - f Q gamma. The matrix is symmetric,
// positive definite and five-diagonal, solved by a banded LDL' factorisation.
class SmoothingSpline {
 public:
  SmoothingSpline(const std::vector<Knot>& knots, double f) : m_x(knots.size()), m_g(knots.size()), m_s(knots.size(), 0.0) {
    const std::size_t n = knots.size();
    std::vector<double> y(n), h(n - 1);
    for (std::size_t j = 0; j < n; ++j) {
      m_x[j] = knots[j].x;
      y[j] = knots[j].y;
    }
    for (std::size_t j = 0; j + 1 < n; ++j) h[j] = m_x[j + 1] - m_x[j];
    const std::size_t m = n - 2;
    // Column k of Q has a[k], b[k], c[k] in rows k, k + 1, k + 2.
    std::vector<double> qa(m), qb(m), qc(m);
    for (std::size_t k = 0; k < m; ++k) {
      qa[k] = 1.0 / h[k];
      qc[k] = 1.0 / h[k + 1];
      qb[k] = -qa[k] - qc[k];
    }
    std::vector<double> d(m), e1(m, 0.0), e2(m, 0.0), rhs(m);
    for (std::size_t k = 0; k < m; ++k) {
      d[k] = (h[k] + h[k + 1]) / 3.0 + f * (qa[k] * qa[k] + qb[k] * qb[k] + qc[k] * qc[k]);
      if (k + 1 < m) e1[k] = h[k + 1] / 6.0 + f * (qb[k] * qa[k + 1] + qc[k] * qb[k + 1]);
      if (k + 2 < m) e2[k] = f * qc[k] * qa[k + 2];
      rhs[k] = qa[k] * y[k] + qb[k] * y[k + 1] + qc[k] * y[k + 2];
    }
    // LDL' with unit lower bands l1 (k+1, k) and l2 (k+2, k).
    std::vector<double> dd(m), l1(m, 0.0), l2(m, 0.0);
    for (std::size_t k = 0; k < m; ++k) {
      double dk = d[k];
      if (k >= 1) dk -= l1[k - 1] * l1[k - 1] * dd[k - 1];
      if (k >= 2) dk -= l2[k - 2] * l2[k - 2] * dd[k - 2];
      dd[k] = dk;
      double off = e1[k];
      if (k >= 1) off -= l2[k - 1] * l1[k - 1] * dd[k - 1];
      l1[k] = dk != 0.0 ? off / dk : 0.0;
      l2[k] = dk != 0.0 ? e2[k] / dk : 0.0;
    }
    std::vector<double> gamma(m);
    for (std::size_t k = 0; k < m; ++k) {
      double z = rhs[k];
      if (k >= 1) z -= l1[k - 1] * gamma[k - 1];
      if (k >= 2) z -= l2[k - 2] * gamma[k - 2];
      gamma[k] = z;
    }
    for (std::size_t k = 0; k < m; ++k) gamma[k] = dd[k] != 0.0 ? gamma[k] / dd[k] : 0.0;
    for (std::size_t k = m; k-- > 0;) {
      if (k + 1 < m) gamma[k] -= l1[k] * gamma[k + 1];
      if (k + 2 < m) gamma[k] -= l2[k] * gamma[k + 2];
    }
    m_g = y;
    for (std::size_t k = 0; k < m; ++k) {
      m_g[k] -= f * qa[k] * gamma[k];
      m_g[k + 1] -= f * qb[k] * gamma[k];
      m_g[k + 2] -= f * qc[k] * gamma[k];
      m_s[k + 1] = gamma[k];
    }
  }

  // Values at 0, 1, ..., count - 1; a natural spline continues as a straight line past its ends.
  void Evaluate(float* out, std::size_t count) const {
    const std::size_t n = m_x.size();
    const double h0 = m_x[1] - m_x[0];
    const double slope0 = (m_g[1] - m_g[0]) / h0 - h0 * m_s[1] / 6.0;
    const double hn = m_x[n - 1] - m_x[n - 2];
    const double slopeN = (m_g[n - 1] - m_g[n - 2]) / hn + hn * m_s[n - 2] / 6.0;
    std::size_t j = 0;  // interval [x_j, x_j+1], advanced as x grows
    for (std::size_t i = 0; i < count; ++i) {
      const double x = static_cast<double>(i);
      double v;
      if (x <= m_x[0]) {
        v = m_g[0] + slope0 * (x - m_x[0]);
      } else if (x >= m_x[n - 1]) {
        v = m_g[n - 1] + slopeN * (x - m_x[n - 1]);
      } else {
        while (j + 2 < n && x > m_x[j + 1]) ++j;
        const double h = m_x[j + 1] - m_x[j];
        const double p = x - m_x[j];
        const double q = m_x[j + 1] - x;
        v = (p * m_g[j + 1] + q * m_g[j]) / h -
            p * q / 6.0 * ((1.0 + p / h) * m_s[j + 1] + (1.0 + q / h) * m_s[j]);
      }
      out[i] = static_cast<float>(v);
    }
  }

 private:
  std::vector<double> m_x;  // knots
  std::vector<double> m_g;  // fitted values at the knots
  std::vector<double> m_s;  // second derivatives at the knots (0 at both ends)
};

// The least-squares polynomial of the given order through the knots, sampled at every point.
void FitPolynomialCurve(const std::vector<Knot>& knots, int order, std::vector<float>& curve) {
  const std::size_t n = curve.size();
  const std::size_t count = knots.size();

  // Polynomial in t = 2x / (N - 1) - 1, so every power of t stays within [-1, 1].
  const double half = n > 1 ? (static_cast<double>(n) - 1.0) / 2.0 : 1.0;
  std::vector<double> t(count), y(count);
  for (std::size_t j = 0; j < count; ++j) {
    t[j] = (knots[j].x - half) / half;
    y[j] = knots[j].y;
  }
  const std::vector<double> c = FitPolynomial(t, y, order);
  for (std::size_t i = 0; i < n; ++i) {
    const double ti = (static_cast<double>(i) - half) / half;
    double v = c.back();
    for (std::size_t k = c.size() - 1; k-- > 0;) v = v * ti + c[k];
    curve[i] = static_cast<float>(v);
  }
}

}  // namespace

bool CSpcProcess::SetBaselineMethod(std::int32_t method) {
  if (method < 0 || method > kMaxPolynomialOrder) return false;
  m_nBaselineMethod = method;
  if (!m_baseline.empty()) {
    CalcBaseline();
    UpdatePhase();
  }
  return true;
}

void CSpcProcess::SetBaselineCorrection(bool on) {
  m_bBaseline = on ? 1 : 0;
  if (on && !m_baseline.empty()) CalcBaseline();
  UpdatePhase();
}

void CSpcProcess::CalcBaseline() {
  // With the curve empty the display values read below are uncorrected.
  m_baseline.clear();
  m_bBaseLevelDirty = 1;
  m_bIntegralDirty = 1;
  const std::int32_t method = m_nBaselineMethod;
  if (m_nCur <= 0 || method < 0 || method > kMaxPolynomialOrder) return;

  // Points outside the current points have no value; one index counts once.
  std::vector<std::int32_t> indices;
  indices.reserve(m_basePoints.size());
  for (std::int32_t p : m_basePoints) {
    if (p >= 0 && p < m_nCur) indices.push_back(p);
  }
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  const std::size_t count = indices.size();
  if (method >= 1 ? count <= static_cast<std::size_t>(method) : count < 3) return;

  std::vector<Knot> knots(count);
  for (std::size_t j = 0; j < count; ++j) knots[j] = {static_cast<double>(indices[j]), GetDisplayValue(indices[j])};

  const std::size_t n = static_cast<std::size_t>(m_nCur);
  // A negative or non-finite smoothing factor has no smoothing spline.
  const double factor = m_fSplineFactor;
  if (method == 0 && !(factor >= 0.0 && std::isfinite(factor))) return;
  m_baseline.assign(n, 0.0f);
  if (method == 0) {
    SmoothingSpline(knots, factor).Evaluate(m_baseline.data(), n);
  } else {
    FitPolynomialCurve(knots, method, m_baseline);
  }
  // Values that are not finite (from data that were not) would spread into every display value.
  for (float v : m_baseline) {
    if (!std::isfinite(v)) {
      m_baseline.clear();
      return;
    }
  }
}

bool CSpcProcess::AutoSelectBaselinePoints() {
  const std::int32_t n = m_nCur;
  // The fixed end points 10 and N - 10 must lie inside the data and in order.
  if (n <= 2 * kEndMargin) return false;

  std::vector<double> m(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) m[static_cast<std::size_t>(i)] = GetMagnitude(i);
  double total = 0.0;
  for (std::int32_t i = 1; i < n; ++i) total += std::fabs(m[i - 1] - m[i]);
  const double d = total / (n - 1);

  // The stretches where every step between neighbours is below d, found once. A pass with
  // window L counts steps along each stretch and takes every L consecutive ones as a window;
  // the sum of a window's steps telescopes to the difference of its end magnitudes.
  constexpr std::int32_t kShortestWindow = 4;
  struct Stretch {
    std::int32_t first;  // index i of its first step m(i - 1) - m(i)
    std::int32_t length;
  };
  std::vector<Stretch> stretches;
  for (std::int32_t i = 1; i < n;) {
    if (!(std::fabs(m[i - 1] - m[i]) < d)) {
      ++i;
      continue;
    }
    const std::int32_t first = i;
    while (i < n && std::fabs(m[i - 1] - m[i]) < d) ++i;
    if (i - first >= kShortestWindow) stretches.push_back({first, i - first});
  }

  std::vector<std::int32_t> points;
  // Each pass shortens the window by 4; the last possible pass has a window of 4, so the loop
  // ends even when fewer than 30 points are ever found.
  for (std::int32_t window = 64, divisor = 32; window >= kShortestWindow; window -= 4, divisor -= 2) {
    points.clear();
    points.push_back(kEndMargin);
    const double limit = d / std::max(divisor / 8, 1);
    for (const Stretch& stretch : stretches) {
      for (std::int32_t end = stretch.first + window - 1; end < stretch.first + stretch.length; end += window) {
        const double sum = m[end - window] - m[end];
        if (std::fabs(sum) < limit) points.push_back(end - window / 2);
      }
    }
    points.push_back(n - kEndMargin);
    if (points.size() >= kWantedPoints) break;
  }
  m_basePoints = std::move(points);
  return true;
}
