#include "spectrum/control/plot/trace.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/archive/archive.h"
#include "platform/base/numtext.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/pixels.h"
#include "spectrum/control/plot/plotdata.h"
#include "spectrum/control/plot/pointstream.h"
#include "spectrum/data/phase_blocks.h"

// ---- CSpectrum --------------------------------------------------------------------------------

namespace {

// The most points whose values the trace keeps from its first walk for the second (4 bytes each).
constexpr std::int64_t kMaxKeptPoints = std::int64_t(1) << 22;

}  // namespace

CSpectrum::CSpectrum(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawSpectrum, owner, process, instance) {}

void CSpectrum::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_tracePen);
  if (ar.isStoring()) {
    ar.writeI32(m_nDrawAlgorithm);
    ar.writeF32(m_fMax);
    ar.writeF32(m_fMin);
    ar.writeU32(m_dwReserved1);
    ar.writeF32(m_fValuePerPixel);
    ar.writeU32(m_dwReserved2);
  } else {
    m_nDrawAlgorithm = ar.readI32();
    m_fMax = ar.readF32();
    m_fMin = ar.readF32();
    m_dwReserved1 = ar.readU32();
    m_fValuePerPixel = ar.readF32();
    m_dwReserved2 = ar.readU32();
  }
  CDrawObject::Serialize(ar);
}

void CSpectrum::SetDefaults() {
  m_tracePen = MakeLogPen(gdi::PS_SOLID, 10, 0);
  m_nDrawAlgorithm = 1;
  m_zoomColor = 0;
  m_zoomFont = MakeLogFont(10, 400, 1, "Arial");
  m_bEnabled = true;
  m_area.SetRectEmpty();
}

int CSpectrum::GetContextMenu(bool inSelection) { return inSelection ? 0 : 1; }

void CSpectrum::Draw(gdi::DC* dc, gdi::Rect* area, int mode) {
  if (mode != kDrawModePrint) m_area = *area;
  CDrawObjectList& list = *m_pOwner;
  list.m_plotRect = *area;
  const gdi::Pen oldPen = SelectScaledPen(&m_tracePen, dc);
  const gdi::Font oldFont = SelectScaledFont(&m_zoomFont, dc);
  const gdi::COLORREF oldColor = dc->SetTextColor(m_zoomColor);
  const gdi::Rect rect = *area;
  const bool finiteBounds = std::isfinite(list.m_fLeftBound) && std::isfinite(list.m_fRightBound);
  if (!rect.IsRectEmpty() && m_pProcess && finiteBounds) {
    if (IsMassKind(m_pProcess)) {
      DrawSticks(dc, rect);
    } else {
      // The line "Best" and the dots walk the points a second time: on the screen the values of
      // those in view (up to a bound) are kept from the first walk, so each is read once. A
      // picture for a metafile or a printer is drawn once, often beside a copy of the whole
      // state (an undo snapshot, a saved item): it reads them twice rather than hold them.
      const bool keepValues = (list.m_bDots || m_nDrawAlgorithm != 0) && mode != kDrawModePrint;
      const double visible = std::min(static_cast<double>(list.m_fRightBound) - std::max(0.0f, list.m_fLeftBound) + 2.0,
                                      static_cast<double>(kMaxKeptPoints));
      PointStream points(*m_pProcess, m_stream, TruncIndex(std::max(0.0f, list.m_fLeftBound)),
                         keepValues && visible > 0.0 ? static_cast<std::int64_t>(visible) : 0);
      FillBuffer(rect, points);
      points.SecondWalk();
      SetRowScale(rect);
      if (list.m_bDots) {
        DrawDots(dc, rect, points);
      } else if (list.m_fLeftBound == list.m_fRightBound && points.PointCount() > 0) {
        // One point in view (no columns per point): the flat trace across the plot at its row.
        const int row = Row(m_buffer.front(), rect, true);
        dc->MoveTo(rect.left, row);
        dc->LineTo(rect.right, row);
      } else if (!m_buffer.empty()) {
        dc->MoveTo(rect.left, Row(m_buffer[0], rect, false));
        if (m_nDrawAlgorithm == 0) DrawFastest(dc, rect);
        else DrawBest(dc, rect, points);
      }
    }
  }
  dc->SelectObject(oldPen);
  dc->SelectObject(oldFont);
  dc->SetTextColor(oldColor);
}

// ---- The column buffer and the scale ----

namespace {

// The largest power and the smallest and largest value of a run of points; NaN counts for none
// (a run of NaN gives -inf, inf and -inf).
struct RunExtremes {
  float power, low, high;
};

RunExtremes ExtremesOf(const float* values, const float* powers, std::int64_t n) {
  // Lanes that vectorise: each keeps its own extremes, combined at the end.
  constexpr int kLanes = 16;
  float power[kLanes], low[kLanes], high[kLanes];
  std::fill_n(power, kLanes, -std::numeric_limits<float>::infinity());
  std::fill_n(low, kLanes, std::numeric_limits<float>::infinity());
  std::fill_n(high, kLanes, -std::numeric_limits<float>::infinity());
  std::int64_t i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    for (int l = 0; l < kLanes; ++l) {
      const float p = powers[i + l], v = values[i + l];
      power[l] = p > power[l] ? p : power[l];
      low[l] = v < low[l] ? v : low[l];
      high[l] = v > high[l] ? v : high[l];
    }
  }
  for (int l = 0; i < n; ++i, ++l) {
    const float p = powers[i], v = values[i];
    power[l] = p > power[l] ? p : power[l];
    low[l] = v < low[l] ? v : low[l];
    high[l] = v > high[l] ? v : high[l];
  }
  RunExtremes x{power[0], low[0], high[0]};
  for (int l = 1; l < kLanes; ++l) {
    x.power = power[l] > x.power ? power[l] : x.power;
    x.low = low[l] < x.low ? low[l] : x.low;
    x.high = high[l] > x.high ? high[l] : x.high;
  }
  return x;
}

// The first of n values equal to v, which one of them is: sixteen compared at a time.
template <class T>
std::int64_t FirstEqual(const T* a, std::int64_t n, T v) {
  std::int64_t i = 0;
  for (; i + 16 <= n; i += 16) {
    int hits = 0;  // a count rather than a flag: it vectorises
    for (int l = 0; l < 16; ++l) hits += a[i + l] == v;
    if (hits != 0) break;
  }
  while (a[i] != v) ++i;
  return i;
}

}  // namespace

void CSpectrum::FillBuffer(const gdi::Rect& rect, PointStream& points) {
  CDrawObjectList& list = *m_pOwner;
  const double x0 = list.m_fLeftBound, x1 = list.m_fRightBound;
  const int width = rect.Width();
  const double p = (x1 - x0) / (width + 1.0);
  const double oldRange = static_cast<double>(m_fMax) - m_fMin;

  float largest = points.Value(TruncIndex(x0));
  float smallest = largest;
  auto store = [&](float v) {
    m_buffer.push_back(v);
    if (v > largest) largest = v;
    else if (v < smallest) smallest = v;
  };
  m_buffer.clear();
  if (p <= 1.0) {
    // No more points than columns: every visible point (at most width + 2 of them).
    for (std::int64_t i = TruncIndex(x0), last = TruncIndex(x1); i <= last; ++i) store(points.Value(i));
  } else {
    m_columnMin.resize(static_cast<std::size_t>(width));
    m_columnMax.resize(static_cast<std::size_t>(width));
    m_columnMaxFirst.resize(static_cast<std::size_t>(width));
    const std::int64_t count = points.PointCount();
    for (int c = 0; c < width; ++c) {
      const std::int64_t s = TruncIndex(std::trunc(c * p) + x0);
      const std::int64_t e = TruncIndex(std::trunc((c + 1) * p) + x0);
      // The point of the column with the strictly greatest power, the first one winning; the
      // column's smallest and largest value beside it. Points outside the data are 0, so of a
      // run of them only the first can count.
      std::int64_t chosen = s, minAt = s, maxAt = s;
      float best = points.Power(s), low = points.Value(s), high = low;
      auto consider = [&](std::int64_t j, float power, float value) {
        if (power > best) {
          best = power;
          chosen = j;
        }
        if (value < low) {
          low = value;
          minAt = j;
        } else if (value > high) {
          high = value;
          maxAt = j;
        }
      };
      const std::int64_t inEnd = std::min(e, count);
      for (std::int64_t j = std::max<std::int64_t>(s + 1, 0); j < inEnd;) {
        const float *values, *powers;
        const std::int64_t run = std::min(points.Run(j, &values, &powers), inEnd - j);
        // The run's extremes first; a point of the run wins where its extreme beats the column's
        // so far, and it is the first that holds that extreme, as one by one.
        const RunExtremes x = ExtremesOf(values, powers, run);
        if (x.power > best) {
          const std::int64_t r = FirstEqual(powers, run, x.power);
          best = powers[r];
          chosen = j + r;
        }
        if (x.low < low) {
          const std::int64_t r = FirstEqual(values, run, x.low);
          low = values[r];
          minAt = j + r;
        }
        if (x.high > high) {
          const std::int64_t r = FirstEqual(values, run, x.high);
          high = values[r];
          maxAt = j + r;
        }
        j += run;
      }
      const std::int64_t outside = std::max(count, s + 1);
      if (outside < e) consider(outside, 0.0f, 0.0f);
      if (s + 1 < std::min<std::int64_t>(e, 0)) consider(s + 1, 0.0f, 0.0f);
      store(points.Value(chosen));
      // The scale spans every visible value, not only the chosen ones: a dip or a line of the
      // other sign than the column's strongest point stays inside the plot.
      largest = std::max(largest, high);
      smallest = std::min(smallest, low);
      m_columnMin[static_cast<std::size_t>(c)] = low;
      m_columnMax[static_cast<std::size_t>(c)] = high;
      m_columnMaxFirst[static_cast<std::size_t>(c)] = maxAt < minAt ? 1 : 0;
    }
    m_buffer.push_back(0.0f);  // the buffer holds width + 1 values; the last is not drawn
  }

  const double height = rect.Height();
  const double range = static_cast<double>(largest) - smallest;
  m_fMax = largest;
  m_fMin = smallest;
  m_fValuePerPixel = static_cast<float>(range / height);
  list.m_fYMin = smallest;
  list.m_fYMax = largest;
  list.m_fPointsPerPixel = static_cast<float>(p);
  list.m_fValuePerPixel = m_fValuePerPixel;
  // Under the hold flag every value keeps the scale of the previous drawing.
  if (list.m_bHold && IsDivisor(oldRange) && IsDivisor(range))
    list.m_fAmplitude = static_cast<float>(range / oldRange * list.m_fAmplitude);
}

void CSpectrum::SetRowScale(const gdi::Rect& rect) {
  m_zeroRow = m_pOwner->GetZeroY(&rect);
  const double range = static_cast<double>(m_fMax) - m_fMin;
  // A flat trace lies on the zero row.
  m_rowsPerValue = IsDivisor(range) ? rect.Height() / range * m_pOwner->m_fAmplitude : 0.0;
}

inline int CSpectrum::Row(double value, const gdi::Rect& rect, bool clampTop) const {
  const int row = TruncToPixel(m_zeroRow - value * m_rowsPerValue);
  return clampTop ? std::max(row, static_cast<int>(rect.top)) : row;
}

// ---- Line and dots ----

namespace {

// The next point of a walk over k = 0, 1, 2, ...: the following one, or, while point i lies
// outside the data (value 0, so every point of that run in one column draws the same pixel),
// the first of the next column, never past the first point of the data.
inline double NextWalkStep(double k, double x0, double p, std::int64_t i, const PointStream& points) {
  double next = k + 1.0;
  if (points.Holds(i) || !(p > 0.0)) return next;
  next = std::max(next, std::ceil((std::trunc(k / p) + 1.0) * p));
  if (i < 0) next = std::min(next, std::max(k + 1.0, std::floor(-1.0 - x0) + 1.0));
  return next;
}

int WalkColumn(double k, double p) { return p > 0.0 ? TruncToPixel(k / p) : 0; }

// How many steps a walk over a rectangle width wide can take: one per point of the data (the
// point 0 can come twice) and, outside the data, at most one per column on either side. A view
// too far out for its points to be told apart (k + 1 == k) ends the walk earlier.
std::int64_t WalkSteps(std::int64_t points, int width) { return points + 4 * (static_cast<std::int64_t>(width) + 2) + 16; }

// The vertices of a line, collected so that a run of them in one column becomes at most four:
// where the run enters the column, its two extremes in the order reached, and where it leaves.
// A one-pixel line through those covers the same pixels as through them all (the column from
// its smallest to its largest row, joined to its neighbours as before); wider or styled pens
// keep every vertex. Noisy data at many points per column so draws a few thousand segments, not millions.
class ColumnRuns {
 public:
  ColumnRuns(std::vector<gdi::Point>& out, bool compact) : out_(out), compact_(compact) {}
  bool Compact() const { return compact_; }
  void Add(gdi::Point v) {
    if (!compact_) return out_.push_back(v);
    const std::int64_t at = seq_++;
    if (open_ && v.x == first_.x) {
      if (v.y < low_.y) {
        low_ = v;
        lowAt_ = at;
      } else if (v.y > high_.y) {
        high_ = v;
        highAt_ = at;
      }
      last_ = v;
      return;
    }
    Close();
    open_ = true;
    first_ = low_ = high_ = last_ = v;
    lowAt_ = highAt_ = at;
  }
  // Count vertices in column x at once, as Add of each in turn would take them: the first and
  // the last row, the smallest and the largest row with where each first comes (0 for the first).
  void AddColumn(int x, int firstY, int lastY, int lowY, std::int64_t lowAt, int highY, std::int64_t highAt,
                 std::int64_t count) {
    if (!(open_ && x == first_.x)) {
      Close();
      open_ = true;
      first_ = low_ = high_ = {x, firstY};
      lowAt_ = highAt_ = seq_;
    }
    if (lowY < low_.y) {
      low_ = {x, lowY};
      lowAt_ = seq_ + lowAt;
    }
    if (highY > high_.y) {
      high_ = {x, highY};
      highAt_ = seq_ + highAt;
    }
    last_ = {x, lastY};
    seq_ += count;
  }
  // Ends the column in progress, before the line is drawn or broken off.
  void Close() {
    if (!open_) return;
    open_ = false;
    Push(first_);
    Push(lowAt_ < highAt_ ? low_ : high_);
    Push(lowAt_ < highAt_ ? high_ : low_);
    Push(last_);
  }

 private:
  void Push(gdi::Point v) {
    if (out_.empty() || out_.back().x != v.x || out_.back().y != v.y) out_.push_back(v);
  }

  std::vector<gdi::Point>& out_;
  const bool compact_;
  bool open_ = false;
  gdi::Point first_, low_, high_, last_;
  // Where the column's extremes first came, counted over every vertex added.
  std::int64_t seq_ = 0, lowAt_ = 0, highAt_ = 0;
};

// What a walk over the points draws into: the plot rectangle, the row scale, the points per
// column, the left bound and the span of the walk.
struct WalkFrame {
  const gdi::Rect& rect;
  double zeroRow;
  double rowsPerValue;
  double p;
  double x0;
  double span;
};

// The walk over a run of points that the data holds (run values from point i, at step k) for a
// line that keeps four vertices a column, taking the points DrawBest's step per point would take
// (up to the span, the steps left and the next zoom region from..to) with the same rows, columns
// and vertices; for steps and bounds where each step lands on the next point (FitsWalkRun): the rows of the points first, then each
// column's points found from where it ends and their extremes at once. The steps left and the last
// vertex move on as that step would move them; answers the step after the last point taken.
// True where a walk over the run of points from step k takes one point per step exactly: no step
// left of the data's first point, and steps and bounds small enough for their sums to be exact.
bool FitsWalkRun(const WalkFrame& f, double k, std::int64_t run) {
  constexpr double kExact = 268435456.0;  // 2^28
  return k + f.x0 >= 0.0 && k + static_cast<double>(run) < kExact && std::fabs(f.x0) < kExact &&
         std::fabs(f.span) < kExact;
}

KEDRUS_VECTOR_CLONES
double WalkRun(const WalkFrame& f, double k, std::int64_t i, const float* values, std::int64_t run, bool inRegion,
               double from, double to, std::int64_t* steps, ColumnRuns* line, int* lastX, int* lastY,
               std::vector<int>& rows) {
  const std::int64_t bySpan = static_cast<std::int64_t>(std::floor(f.span - k)) + 1;
  std::int64_t take = std::min({run, bySpan, *steps + 1});
  if (inRegion)
    take = std::min({take, static_cast<std::int64_t>(std::ceil(from - static_cast<double>(i))),
                     static_cast<std::int64_t>(std::floor(to - static_cast<double>(i))) + 1});
  // Each point after the first spends a step; a walk cut short by the steps left or by a region
  // spends one more on the point it stops at.
  *steps -= take - 1 + (take < run && take < bySpan ? 1 : 0);
  // A part at a time, so the rows take little memory; a column that goes on into the next part
  // goes on in the line the same way.
  constexpr std::int64_t kPart = 8192;
  rows.resize(static_cast<std::size_t>(std::min(take, kPart)));
  int* const row = rows.data();
  const int top = f.rect.top;
  int x = *lastX, y = *lastY;
  for (std::int64_t at = 0; at < take; at += kPart) {
    const std::int64_t n = std::min(kPart, take - at);
    const float* v = values + at;
    // TruncToPixel of each, written so that it vectorises: NaN gives 0, the rest is clamped.
    constexpr double kLimit = 268435456.0;
    for (std::int64_t r = 0; r < n; ++r) {
      const double y = f.zeroRow - v[r] * f.rowsPerValue;
      row[r] = std::max(static_cast<int>(y == y ? std::clamp(y, -kLimit, kLimit) : 0.0), top);
    }
    const auto column = [&](std::int64_t r) KEDRUS_VECTOR_LAMBDA { return WalkColumn(k + static_cast<double>(at + r), f.p); };
    // A first point on the pixel the line stands on adds nothing; the others of a column can
    // only move its extremes and its last vertex.
    std::int64_t r = at == 0 && row[0] == y && column(0) == x ? 1 : 0;
    while (r < n) {
      // The column's points: from r up to the first whose column is another, found from where
      // the next column would start and checked there.
      x = column(r);
      std::int64_t end = n;
      if (f.p > 0.0) {
        const double next = std::ceil((static_cast<double>(x) + 1.0) * f.p) - k - static_cast<double>(at);
        end = std::clamp<std::int64_t>(next < static_cast<double>(n) ? static_cast<std::int64_t>(next) : n, r + 1, n);
        while (end > r + 1 && column(end - 1) != x) --end;
        while (end < n && column(end) == x) ++end;
      }
      int low = row[r], high = row[r];
      for (std::int64_t j = r + 1; j < end; ++j) {
        low = std::min(low, row[j]);
        high = std::max(high, row[j]);
      }
      const std::int64_t lowAt = FirstEqual(row + r, end - r, low);
      const std::int64_t highAt = FirstEqual(row + r, end - r, high);
      line->AddColumn(f.rect.left + x, row[r], row[end - 1], low, lowAt, high, highAt, end - r);
      r = end;
    }
    y = row[n - 1];
  }
  *lastX = x;
  *lastY = y;
  return k + static_cast<double>(take);
}

}  // namespace

void CSpectrum::DrawBest(gdi::DC* dc, const gdi::Rect& rect, PointStream& points) {
  CDrawObjectList& list = *m_pOwner;
  const double x0 = list.m_fLeftBound, span = static_cast<double>(list.m_fRightBound) - x0;
  const double p = list.m_fPointsPerPixel;
  const auto& regions = list.m_zoomRegions;
  std::size_t region = 0;
  bool held = false;
  float largestRaw = 0.0f;
  int cy = -1;
  int lastX = -1, lastY = -1;
  m_vertices.clear();
  const gdi::LOGPEN pen = dc->GetCurrentPen().Log();
  ColumnRuns line(m_vertices, pen.lopnStyle == gdi::PS_SOLID && pen.lopnWidth.x <= 1);
  auto flush = [&] {
    line.Close();
    if (!m_vertices.empty()) dc->PolylineTo(m_vertices.data(), static_cast<int>(m_vertices.size()));
    m_vertices.clear();
  };
  std::int64_t steps = WalkSteps(points.PointCount(), rect.Width());
  for (double k = 0.0; k <= span && steps-- > 0;) {
    const std::int64_t i = TruncIndex(k + x0);
    // Inside the data and short of the next zoom region (the common case): the run of points
    // the block read holds, one step each, as the general step below would take them.
    const bool inRegion = region < regions.size();
    const double from = inRegion ? regions[region].from : 0.0, to = inRegion ? regions[region].to : 0.0;
    if (points.Holds(i) && (!inRegion || (i < from && i <= to))) {
      const float *values, *powers;
      const std::int64_t run = points.Run(i, &values, &powers);
      const WalkFrame frame{rect, static_cast<double>(m_zeroRow), m_rowsPerValue, p, x0, span};
      if (line.Compact() && FitsWalkRun(frame, k, run)) {
        k = WalkRun(frame, k, i, values, run, inRegion, from, to, &steps, &line, &lastX, &lastY, m_walkRows);
        continue;
      }
      double step = k;
      for (std::int64_t r = 0; r < run && step <= span && (r == 0 || steps-- > 0); ++r, step += 1.0) {
        const std::int64_t at = TruncIndex(step + x0);
        if (at != i + r || (inRegion && !(at < from && at <= to))) break;
        const int y = Row(values[r], rect, true);
        const int x = WalkColumn(step, p);
        if (y != lastY || x != lastX) {
          line.Add({rect.left + x, y});
          lastY = y;
          lastX = x;
        }
      }
      k = step;
      continue;
    }
    float v = points.Value(i);
    // Regions the walk has passed get their marks; the line goes on from where it stood.
    for (; region < regions.size() && regions[region].to < static_cast<double>(i); ++region) {
      if (!held) continue;
      flush();
      const gdi::Point at = dc->GetCurrentPosition();
      if (cy < 0) cy = dc->GetTextExtent(std::string_view("X")).cy;
      DrawZoomStart(dc, rect, regions[region].from, largestRaw, regions[region].factor, cy);
      DrawZoomEnd(dc, rect, regions[region].to, largestRaw, regions[region].factor, cy);
      dc->MoveTo(at);
      held = false;
    }
    if (region < regions.size() && regions[region].from <= static_cast<double>(i)) {
      if (!held || v > largestRaw) largestRaw = v;
      held = true;
      v *= regions[region].factor;
    }
    const int y = Row(v, rect, true);
    const int x = WalkColumn(k, p);
    if (y != lastY || x != lastX) {
      line.Add({rect.left + x, y});
      lastY = y;
      lastX = x;
    }
    const double next = NextWalkStep(k, x0, p, i, points);
    if (!(next > k)) break;
    k = next;
  }
  flush();
}

void CSpectrum::DrawFastest(gdi::DC* dc, const gdi::Rect& rect) {
  CDrawObjectList& list = *m_pOwner;
  const double p = list.m_fPointsPerPixel;
  m_vertices.clear();
  if (p <= 1.0) {
    const std::int64_t last = TruncIndex(static_cast<double>(list.m_fRightBound) - list.m_fLeftBound);
    for (std::int64_t k = 0; k <= last && k < static_cast<std::int64_t>(m_buffer.size()); ++k)
      m_vertices.push_back({rect.left + WalkColumn(static_cast<double>(k), p), Row(m_buffer[k], rect, false)});
  } else {
    // Each column from its first to its second extreme, in the order the points hold them.
    for (int c = 0; c < rect.Width(); ++c) {
      const auto at = static_cast<std::size_t>(c);
      const int high = Row(m_columnMax[at], rect, true), low = Row(m_columnMin[at], rect, true);
      const int first = m_columnMaxFirst[at] ? high : low, second = m_columnMaxFirst[at] ? low : high;
      m_vertices.push_back({rect.left + c, first});
      if (second != first) m_vertices.push_back({rect.left + c, second});
    }
  }
  if (!m_vertices.empty()) dc->PolylineTo(m_vertices.data(), static_cast<int>(m_vertices.size()));
}

void CSpectrum::DrawDots(gdi::DC* dc, const gdi::Rect& rect, PointStream& points) {
  CDrawObjectList& list = *m_pOwner;
  const double x0 = list.m_fLeftBound, span = static_cast<double>(list.m_fRightBound) - x0;
  const double p = list.m_fPointsPerPixel;
  const double range = static_cast<double>(m_fMax) - m_fMin;
  const double zero = static_cast<float>(m_zeroRow);  // the zero row as a single-precision value
  m_fValuePerPixel = static_cast<float>(range / rect.Height());
  list.m_fValuePerPixel = m_fValuePerPixel;
  std::int64_t steps = WalkSteps(points.PointCount(), rect.Width());
  for (double k = 0.0; k <= span && steps-- > 0;) {
    const std::int64_t i = TruncIndex(k + x0);
    const int y = TruncToPixel(zero - points.Value(i) * m_rowsPerValue);
    if (y >= rect.top) dc->SetPixelV(rect.left + WalkColumn(k, p), y, m_tracePen.lopnColor);
    const double next = NextWalkStep(k, x0, p, i, points);
    if (!(next > k)) break;
    k = next;
  }
}

// ---- Mass sticks and zoom marks ----

void CSpectrum::DrawSticks(gdi::DC* dc, const gdi::Rect& rect) {
  const CMassScan* scan = CurrentMassScan(m_pProcess);
  if (!scan || scan->peaks.empty()) return;
  CDrawObjectList& list = *m_pOwner;
  const int cy = dc->GetTextExtent(std::string_view("X")).cy;
  float largest = scan->peaks.front().re;
  for (const CSpcPoint& peak : scan->peaks) largest = std::max(largest, peak.re);
  list.m_fYMax = largest;
  list.m_fYMin = 0.0f;
  const double threshold = static_cast<double>(list.m_fMassThreshold) * largest;
  const auto& regions = list.m_zoomRegions;
  std::size_t region = 0;
  bool open = false;
  float openLargest = 0.0f;
  for (const CSpcPoint& peak : scan->peaks) {
    const float mass = peak.im;
    float intensity = peak.re;
    if (!(mass >= list.m_fLeftBound && mass <= list.m_fRightBound) || !(intensity > threshold)) continue;
    if (region < regions.size() && regions[region].to < mass) {
      if (open) DrawZoomEnd(dc, rect, regions[region].to, openLargest, regions[region].factor, cy);
      open = false;
      while (region < regions.size() && regions[region].to < mass) ++region;
    }
    if (region < regions.size() && regions[region].from <= mass && mass <= regions[region].to) {
      if (!open) {
        openLargest = m_pProcess->GetMaxIntensityIn(regions[region].from, regions[region].to);
        DrawZoomStart(dc, rect, regions[region].from, openLargest, regions[region].factor, cy);
        open = true;
      }
      intensity *= regions[region].factor;
    }
    const int x = list.PointToX(TruncToInt(mass));
    dc->MoveTo(x, rect.bottom);
    dc->LineTo(x, std::max(list.ValueToY(intensity), static_cast<int>(rect.top)));
  }
}

int CSpectrum::ZoomMarkRow(const gdi::Rect& rect, float m, float factor, int cy) {
  return std::max(rect.top + 2 * cy, m_pOwner->ValueToY(m * factor));
}

void CSpectrum::DrawZoomStart(gdi::DC* dc, const gdi::Rect& rect, float from, float m, float factor, int cy) {
  const int r = ZoomMarkRow(rect, m, factor, cy);
  const int x = m_pOwner->PointToX(TruncToInt(from));
  dc->MoveTo(x, r);
  dc->LineTo(x, r - cy);
  dc->LineTo(x + cy, r - cy);
  dc->TextOut(x, r - 2 * cy, "X " + plat::formatDouble(factor, 'f', 1));
}

void CSpectrum::DrawZoomEnd(gdi::DC* dc, const gdi::Rect& rect, float to, float m, float factor, int cy) {
  const int r = ZoomMarkRow(rect, m, factor, cy);
  const int x = m_pOwner->PointToX(TruncToInt(to));
  dc->MoveTo(x, r);
  dc->LineTo(x, r - cy);
  dc->LineTo(x - cy, r - cy);
}

// ---- CIonCurrent ------------------------------------------------------------------------------

CIonCurrent::CIonCurrent(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawIonCurrent, owner, process, instance) {}

void CIonCurrent::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_ionPen);
  CDrawObject::Serialize(ar);
}

void CIonCurrent::SetDefaults() {
  m_ionPen = MakeLogPen(gdi::PS_SOLID, 25, 0);
  m_bEnabled = true;
  m_area.SetRectEmpty();
}

int CIonCurrent::GetContextMenu(bool inSelection) { return inSelection ? 0 : 1; }

void CIonCurrent::Draw(gdi::DC* dc, gdi::Rect* area, int) {
  const gdi::Pen oldPen = SelectScaledPen(&m_ionPen, dc);
  const CSpcData* data = m_pProcess ? m_pProcess->m_pData : nullptr;
  const std::int64_t scans =
      data ? std::min<std::int64_t>(std::max(m_pProcess->m_nScans, 0), static_cast<std::int64_t>(data->scans.size())) : 0;
  if (scans > 0) {
    const gdi::Rect rect = *area;
    float largest = data->scans.front().fIonCurrent;
    for (std::int64_t i = 0; i < scans; ++i) largest = std::max(largest, data->scans[i].fIonCurrent);
    std::vector<gdi::Point> curve;
    curve.reserve(static_cast<std::size_t>(scans));
    for (std::int64_t i = 0; i < scans; ++i) {
      const double value = data->scans[i].fIonCurrent;
      // Without any current the curve lies on the bottom row.
      const int y = IsDivisor(largest) ? rect.bottom - TruncToPixel(value * rect.Height() / largest) : rect.bottom;
      curve.push_back({rect.left + gdi::MulDiv(static_cast<std::int32_t>(i), rect.Width(), static_cast<std::int32_t>(scans)), y});
    }
    dc->MoveTo(curve.front());
    if (curve.size() > 1) dc->PolylineTo(curve.data() + 1, static_cast<int>(curve.size() - 1));
  }
  dc->SelectObject(oldPen);
}
