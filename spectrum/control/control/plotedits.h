#pragma once
// The rules by which the mouse and the analysis and view commands edit the record's and the
// plot's lists, and the texts they show: pure functions over plain vectors and numbers, so the
// handlers of CSpcControl stay short and each rule is tested on its own.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/data/spcdata.h"

namespace spcedit {

// A new integral [from, to] (factor 1.0) in a list sorted by first point: ranges wholly inside
// go, a range around it is split ([first, from - 1] and [to + 1, last] with factor 1.0), ranges
// reaching into it are cut back to its ends, and the new one goes before the first range that
// starts after from. Nothing happens when to < from.
void InsertIntegral(std::vector<CSpcIntegral>& list, std::uint32_t from, std::uint32_t to);

// A new zoom region {from, to, factor} in a list sorted by from, by the same rule on closed
// ends: inside ones go, one around it is split into [start, from] and [to, end], overlapping
// ones end at from or begin at to; it goes before the first region starting at or after from.
void InsertZoomRegion(std::vector<CZoomRegion>& list, float from, float to, float factor);

// The strict local maxima above threshold among the points f .. t - 1 of value(i): the scan of
// Peak Picking (a point higher than both neighbours). Fewer than three points give none.
std::vector<std::int32_t> StrictMaxima(const std::function<double(std::int32_t)>& value, std::int32_t f,
                                       std::int32_t t, double threshold);

// Inserts index into an ascending list unless it is there already.
void InsertSorted(std::vector<std::int32_t>& list, std::int32_t index);

// The project's 15-bit pseudo-random generator (0 .. 32767), the classic linear congruence:
// the same seed always gives the same sequence.
class CRand15 {
 public:
  explicit CRand15(std::uint32_t seed) : m_state(seed) {}
  int Next() {
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7FFF);
  }

 private:
  std::uint32_t m_state;
};

// A value of the cursor read-out: the 32-bit float as the variant conversion writes it
// (shortest text, at most 7 significant digits).
std::string ReadoutValue(float value);

// True when format holds exactly `conversions` floating conversions (%f, %e, %g and their
// capitals, with flags, width and precision, no '*' and no length but 'l') and nothing else
// but text and "%%": a stored copy format is used only then.
bool IsFloatFormat(std::string_view format, int conversions);
// The values through a format that IsFloatFormat accepted, in the C locale.
std::string FormatFloats(std::string_view format, std::span<const double> values);

}  // namespace spcedit
