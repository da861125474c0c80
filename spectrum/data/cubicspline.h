#pragma once
// Interpolating cubic spline through points of increasing x, with the end conditions that give
// each end interval the third derivative of the cubic through the four points at that end. So
// a cubic polynomial is reproduced exactly, up to the ends and beyond them.
#include <cstddef>
#include <vector>

namespace spc {

class CubicSpline {
 public:
  // x strictly increasing and finite, x and y of the same size; false (the spline stays empty
  // and evaluates to 0) otherwise. Two points give the straight line; three points a spline
  // with zero third derivative at the ends.
  bool Fit(const std::vector<double>& x, const std::vector<double>& y);

  // The spline at u; outside the x range the end intervals' cubics go on.
  double operator()(double u) const;

  std::size_t size() const { return m_x.size(); }

 private:
  // Index of the interval [x[i], x[i+1]) that holds u, clamped to the first and last.
  std::size_t Interval(double u) const;

  // On interval i: y[i] + t*(b[i] + t*(c[i] + t*d[i])), t = u - x[i].
  std::vector<double> m_x, m_y, m_b, m_c, m_d;
  mutable std::size_t m_last = 0;  // interval of the previous evaluation: resampling walks forward
};

}  // namespace spc
