#pragma once
// PointMap: the ordered set of (x, y) points through which the text codecs exchange spectrum
// data with the converters. Keys are unique (the last y given for an x wins) and iterate in
// ascending x.
//
// Points almost always arrive in ascending or descending x, so the map keeps two contiguous
// runs: keys above the first key appended at the back of one vector, keys below it at the back
// of another (stored reversed). Both directions cost O(1) per point; a key that falls between
// existing keys is inserted in place.
#include <cstddef>
#include <vector>

#include "spectrum/data/spcdata.h"

class PointMap {
 public:
  struct Entry {
    float x = 0.0f;
    float y = 0.0f;
  };

  // Adds (x, y), or gives the existing entry of key x the new y. A non-finite x is refused.
  bool set(float x, float y);
  std::size_t count() const { return m_low.size() + m_high.size(); }
  bool empty() const { return count() == 0; }
  void clear();
  void reserve(std::size_t n) { m_high.reserve(n); }

  // Entry i in ascending x (0 <= i < count()).
  const Entry& at(std::size_t i) const {
    return i < m_low.size() ? m_low[m_low.size() - 1 - i] : m_high[i - m_low.size()];
  }
  // Traversal: first/next ascending, last/previous descending; false when there is none.
  bool first(std::size_t* pos) const;
  bool next(std::size_t* pos) const;
  bool last(std::size_t* pos) const;
  bool previous(std::size_t* pos) const;

 private:
  std::vector<Entry> m_low;   // keys below m_high's first key, descending
  std::vector<Entry> m_high;  // keys ascending
};

// Sorts parameter entries [first, last) by name, ignoring case; a name that is a prefix of
// another sorts first. Values and comments travel with their names.
void SortParams(CSpcParamList& list, std::size_t first, std::size_t last);
