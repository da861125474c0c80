#include "spectrum/convert/pointmap.h"

#include <algorithm>
#include <cmath>

#include "platform/base/text.h"

namespace {

// Position of key x in an ascending run, or the place where it belongs.
template <class It, class Less>
It LowerBound(It begin, It end, float x, Less less) {
  return std::lower_bound(begin, end, x, [&](const PointMap::Entry& e, float v) { return less(e.x, v); });
}

}  // namespace

bool PointMap::set(float x, float y) {
  if (!std::isfinite(x)) return false;
  if (m_high.empty()) {
    m_high.push_back({x, y});
    return true;
  }
  // Fast paths: a new largest or smallest key, or the last key again.
  if (x > m_high.back().x) {
    m_high.push_back({x, y});
    return true;
  }
  if (x == m_high.back().x) {
    m_high.back().y = y;
    return true;
  }
  const float lowest = m_low.empty() ? m_high.front().x : m_low.back().x;
  if (x < lowest) {
    m_low.push_back({x, y});
    return true;
  }
  if (x == lowest) {
    (m_low.empty() ? m_high.front() : m_low.back()).y = y;
    return true;
  }
  if (x >= m_high.front().x) {
    auto it = LowerBound(m_high.begin(), m_high.end(), x, std::less<float>());
    if (it != m_high.end() && it->x == x)
      it->y = y;
    else
      m_high.insert(it, {x, y});
    return true;
  }
  // Inside the low run, which is stored in descending order.
  auto it = LowerBound(m_low.begin(), m_low.end(), x, std::greater<float>());
  if (it != m_low.end() && it->x == x)
    it->y = y;
  else
    m_low.insert(it, {x, y});
  return true;
}

void PointMap::clear() {
  m_low.clear();
  m_high.clear();
}

bool PointMap::first(std::size_t* pos) const {
  *pos = 0;
  return count() > 0;
}

bool PointMap::next(std::size_t* pos) const {
  if (*pos + 1 >= count()) return false;
  ++*pos;
  return true;
}

bool PointMap::last(std::size_t* pos) const {
  if (count() == 0) return false;
  *pos = count() - 1;
  return true;
}

bool PointMap::previous(std::size_t* pos) const {
  if (*pos == 0 || *pos > count()) return false;
  --*pos;
  return true;
}

void SortParams(CSpcParamList& list, std::size_t first, std::size_t last) {
  auto& entries = list.entries();
  last = std::min(last, entries.size());
  if (first >= last) return;
  std::sort(entries.begin() + static_cast<std::ptrdiff_t>(first), entries.begin() + static_cast<std::ptrdiff_t>(last),
            [](const CSpcParam& a, const CSpcParam& b) { return plat::compareNoCase(a.name, b.name) < 0; });
}
