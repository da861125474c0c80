#include "spectrum/control/labels/integrals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/archive/archive.h"
#include "spectrum/control/labels/labelcommon.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/pixels.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::int32_t kSpectrumDomain = 1;
constexpr gdi::COLORREF kIntegralColor = 0x006400;
constexpr int kHandleHalf = 4;     // drawn square: 8 x 8 pixels around the curve's end
constexpr int kHandleGrab = 5;     // grabbed within 5 pixels

bool HasDrawableIntegrals(const CSpcProcess* process) {
  return process && process->m_pData && !process->m_pData->integrals.empty() &&
         process->m_pData->nDomain == kSpectrumDomain;
}

// The view of the integral objects: the list's bounds over the width of the drawing rectangle.
class IntegralView {
 public:
  IntegralView(const CDrawObjectList& list, const gdi::Rect& rect)
      : m_x0(list.m_fLeftBound), m_x1(list.m_fRightBound), m_left(rect.left) {
    const double width = static_cast<double>(rect.right) - rect.left;
    m_p = width > 0 ? (m_x1 - m_x0) / width : 0.0;
  }
  // False when the view is empty: nothing can be placed.
  bool Usable() const { return IsDivisor(m_p); }

  // The part of a range drawn: both ends clamped into the view. False when neither end lies
  // in it (a range covering the whole view from outside is not drawn either).
  bool Clamp(const CSpcIntegral& range, std::uint32_t* from, std::uint32_t* to) const {
    const bool fromIn = m_x0 <= range.from && range.from <= m_x1;
    const bool toIn = m_x0 <= range.to && range.to <= m_x1;
    if ((!fromIn && !toIn) || range.to < range.from) return false;
    // Below x0 means x0 > 0, above x1 means x1 >= from: both truncations are points.
    *from = range.from < m_x0 ? static_cast<std::uint32_t>(m_x0) : range.from;
    *to = range.to > m_x1 ? static_cast<std::uint32_t>(m_x1) : range.to;
    return true;
  }
  int Column(std::uint32_t point) const { return TruncToPixel(m_left + std::trunc((point - m_x0) / m_p)); }

 private:
  double m_x0, m_x1;
  int m_left;
  double m_p = 0.0;
};

// The total integral in the height of the curves: total / the list's integral scale.
double CurveScale(CSpcProcess& process, const CDrawObjectList& list) {
  return static_cast<double>(process.GetTotalIntegral()) / list.m_fIntegralScale;
}

}  // namespace

// ---- CIntegrals -----------------------------------------------------------------------------

CIntegrals::CIntegrals(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawIntegrals, owner, process, instance) {}

void CIntegrals::SetDefaults() {
  m_linePen = MakeLogPen(gdi::PS_SOLID, 0, kIntegralColor);
  m_bEnabled = true;
}

void CIntegrals::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_linePen);
  CDrawObject::Serialize(ar);
}

void CIntegrals::Draw(gdi::DC* dc, gdi::Rect* area, int) {
  m_handleX.clear();
  m_handleY.clear();
  m_handleRange.clear();
  if (!HasDrawableIntegrals(m_pProcess)) {
    m_area.SetRectEmpty();
    return;
  }
  CSpcProcess& process = *m_pProcess;
  const CDrawObjectList& list = *m_pOwner;
  const gdi::Pen oldPen = SelectScaledPen(&m_linePen, dc);
  const double scale = CurveScale(process, list);
  const int margin = area->Height() / 15;
  const double height = static_cast<double>(area->Height()) - margin;
  const IntegralView view(list, *area);
  // Handles are for the mouse: never on a printer or in a metafile.
  const bool handles = list.m_bIntegralCorrection && dc->GetDeviceCaps(gdi::TECHNOLOGY) == gdi::DT_RASDISPLAY &&
                       !dc->IsPrinting();
  const gdi::Brush handleBrush(m_linePen.lopnColor);
  auto row = [&](float v) { return TruncToPixel(area->bottom - std::trunc(height * v / scale) - margin); };
  // A curve taller than the plot (a large integral scale) or below its zero row (a negative
  // slope factor) is cut at the plot's edges; its handle stays inside, where the mouse finds it.
  dc->SaveDC();
  dc->IntersectClipRect(*area);
  const auto handleRow = [&](int r) {
    return std::max(static_cast<int>(area->top) + kHandleHalf, std::min(r, static_cast<int>(area->bottom) - kHandleHalf - 1));
  };

  const std::vector<CSpcIntegral>& ranges = process.m_pData->integrals;
  for (std::size_t i = 0; IsDivisor(scale) && view.Usable() && i < ranges.size(); ++i) {
    std::uint32_t from = 0, to = 0;
    if (!view.Clamp(ranges[i], &from, &to)) continue;
    const int c0 = view.Column(from);
    const int c1 = view.Column(to);
    const std::int32_t samples = c1 - c0 + 1;
    if (samples < 1) continue;
    m_curve.assign(static_cast<std::size_t>(samples), 0.0f);
    process.GetIntegral(from, to, m_curve.data(), samples, ranges[i].factor);
    dc->MoveTo(c0, row(m_curve[0]));
    for (int c = c0; c <= c1; ++c) dc->LineTo(c, row(m_curve[static_cast<std::size_t>(c - c0)]));
    if (handles) {
      const int r = handleRow(row(m_curve.back()));
      dc->FillRect(gdi::Rect(c1 - kHandleHalf, r - kHandleHalf, c1 + kHandleHalf, r + kHandleHalf), handleBrush);
      m_handleX.push_back(c1);
      m_handleY.push_back(r);
      m_handleRange.push_back(static_cast<int>(i));
    }
  }
  dc->RestoreDC(-1);
  dc->SelectObject(oldPen);
}

int CIntegrals::HandleAt(int x, int y) const {
  for (std::size_t k = 0; k < m_handleX.size(); ++k) {
    const gdi::Rect square(m_handleX[k] - kHandleGrab, m_handleY[k] - kHandleGrab, m_handleX[k] + kHandleGrab,
                           m_handleY[k] + kHandleGrab);
    if (square.PtInRect({x, y})) return static_cast<int>(k);
  }
  return -1;
}

int CIntegrals::HitTest(int x, int y) {
  if (!m_pOwner->m_bIntegralCorrection) return 0;
  return HandleAt(x, y) >= 0 ? 1 : 0;
}

bool CIntegrals::Drag(int, int y, int x0, int y0) {
  const int handle = HandleAt(x0, y0);
  if (handle < 0 || !m_pProcess || !m_pProcess->m_pData) return false;
  std::vector<CSpcIntegral>& ranges = m_pProcess->m_pData->integrals;
  const auto index = static_cast<std::size_t>(m_handleRange[static_cast<std::size_t>(handle)]);
  if (index >= ranges.size()) return false;
  CSpcIntegral& range = ranges[index];
  if (range.to <= range.from) return false;

  const CDrawObjectList& list = *m_pOwner;
  const double scale = CurveScale(*m_pProcess, list);
  const gdi::Rect& plot = list.m_plotRect;
  const int margin = plot.Height() / 15;
  const double height = static_cast<double>(plot.Height()) - margin;
  if (!IsDivisor(scale) || !IsDivisor(height)) return false;
  const double plain = m_pProcess->GetIntegral(range.from, range.to, nullptr, 0, 0.0f);
  // The factor adds to every point of the range, so the curve's end moves by factor x points.
  const double points = static_cast<double>(range.to) - range.from + 1.0;
  const double factor = ((static_cast<double>(plot.bottom) - margin - y) * scale / height - plain) / points;
  if (!std::isfinite(factor)) return false;
  range.factor = static_cast<float>(factor);
  // The end is now on row y: the next move finds the handle there even before a redraw.
  m_handleY[static_cast<std::size_t>(handle)] = y;
  return true;
}

// ---- CIntegSums -----------------------------------------------------------------------------

CIntegSums::CIntegSums(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawIntegSums, owner, process, instance) {}

void CIntegSums::SetDefaults() {
  m_linePen = MakeLogPen(gdi::PS_SOLID, 15, kIntegralColor);
  m_textColor = 0;
  m_logFont = MakeLogFont(9, 400, 0, "Arial", 900);
  m_nDigits = 2;
  m_bEnabled = true;
}

void CIntegSums::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_linePen);
  SerializeFont(ar, m_logFont);
  SerializeColor(ar, m_textColor);
  if (ar.isStoring()) ar.writeI32(m_nDigits);
  else m_nDigits = ar.readI32();
  CDrawObject::Serialize(ar);
}

int CIntegSums::GetContextMenu(bool) { return 2; }

void CIntegSums::SetVerticalArea(std::uint32_t flags, int x, int y) { SelectXRange(*this, flags, x, y); }

void CIntegSums::Draw(gdi::DC* dc, gdi::Rect* area, int mode) {
  if (!HasDrawableIntegrals(m_pProcess)) {
    if (mode != kDrawModePrint) m_area.SetRectEmpty();
    return;
  }
  CSpcProcess& process = *m_pProcess;
  const CDrawObjectList& list = *m_pOwner;
  const gdi::Pen oldPen = SelectScaledPen(&m_linePen, dc);
  const gdi::Font oldFont = SelectScaledFont(&m_logFont, dc);
  dc->SetTextColor(m_textColor);
  const gdi::Size alphabet = MeasureAlphabet(dc);
  const int c = alphabet.cx / 52;
  const int h = alphabet.cy / 2;

  // The band holds the brackets (3h) and the longest label along its escapement.
  const bool horizontal = m_logFont.lfEscapement == 0;
  const double angle = m_logFont.lfEscapement * std::numbers::pi / 1800.0;
  const double sum = list.m_fIntegSum;
  const double digitsBeforePoint = sum > 0.0 && std::isfinite(sum) ? std::trunc(std::log10(sum)) : 0.0;
  const double length = digitsBeforePoint + LabelDecimals(m_nDigits) + 1;
  const int t = TruncToPixel(length * c * std::sin(angle) + 2.0 * h * std::cos(angle));
  const int y0 = area->bottom - 3 * h - t;

  const double total = process.GetTotalIntegral();
  const IntegralView view(list, *area);
  int rightEdge = area->left;
  const std::vector<CSpcIntegral>& ranges = process.m_pData->integrals;
  for (std::size_t i = 0; view.Usable() && i < ranges.size(); ++i) {
    std::uint32_t from = 0, to = 0;
    if (!view.Clamp(ranges[i], &from, &to)) continue;
    const int xa = view.Column(from);
    const int xb = view.Column(to);
    const double value = process.GetIntegral(from, to, nullptr, 0, ranges[i].factor);
    // A zero total (a flat zero spectrum) shows 0, as every read-out of integrals does.
    const std::string label = FormatFixed(IsDivisor(total) ? value / total * sum : 0.0, m_nDigits);
    const gdi::Size size = dc->GetTextExtent(label);
    const int w = horizontal ? size.cx : size.cy;
    const int g = (xb - w - xa) / 2;
    int lx = xa + g - c / 2;
    int rx = xb - g + c / 2;
    if (lx < rightEdge) {
      rx += rightEdge - lx;
      lx = rightEdge;
    }
    rightEdge = rx;
    dc->MoveTo(xa, y0);
    dc->LineTo(xa, y0 + h);
    dc->LineTo(lx, y0 + 3 * h);
    dc->LineTo(lx, area->bottom);
    dc->MoveTo(xb, y0);
    dc->LineTo(xb, y0 + h);
    dc->LineTo(rx, y0 + 3 * h);
    dc->LineTo(rx, area->bottom);
    dc->TextOut(lx + c / 2, horizontal ? y0 + 3 * h : area->bottom, label);
  }
  dc->SelectObject(oldFont);
  dc->SelectObject(oldPen);

  const int oldBottom = area->bottom;
  area->bottom = y0;
  if (mode != kDrawModePrint) m_area = gdi::Rect(area->left, y0, area->right, oldBottom);
}

int CIntegSums::RangeInside(int point) const {
  if (!m_pProcess || !m_pProcess->m_pData) return -1;
  const std::vector<CSpcIntegral>& ranges = m_pProcess->m_pData->integrals;
  for (std::size_t i = 0; i < ranges.size(); ++i)
    if (ranges[i].from < static_cast<std::int64_t>(point) && point < static_cast<std::int64_t>(ranges[i].to))
      return static_cast<int>(i);
  return -1;
}

int CIntegSums::HitTest(int x, int y) {
  if (!m_area.PtInRect({x, y})) return 0;
  return RangeInside(m_pOwner->XToPoint(x)) >= 0 ? 1 : 0;
}

bool CIntegSums::EditAt(std::uint32_t, int x, int) {
  m_pOwner->m_selection.SetRectEmpty();
  const int point = m_pOwner->XToPoint(x);
  const int index = RangeInside(point);
  if (index < 0) return false;
  std::vector<CSpcIntegral>& ranges = m_pProcess->m_pData->integrals;
  const auto at = static_cast<std::size_t>(index);
  const CSpcIntegral tail{static_cast<std::uint32_t>(point) + 1, ranges[at].to, 1.0f};
  ranges[at].to = static_cast<std::uint32_t>(point);
  ranges.insert(ranges.begin() + index + 1, tail);
  return true;
}

bool CIntegSums::Drag(int x, int, int x0, int) {
  const int index = RangeInside(m_pOwner->XToPoint(x0));
  if (index < 0) return false;
  std::vector<CSpcIntegral>& ranges = m_pProcess->m_pData->integrals;
  const auto at = static_cast<std::size_t>(index);
  const std::int64_t from = ranges[at].from;
  const std::int64_t to = ranges[at].to;
  // Points to move left (negative: right); a range may touch its neighbours but not overlap.
  std::int64_t d = TruncIndex((static_cast<double>(x0) - x) * m_pOwner->m_fPointsPerPixel);
  if (at > 0 && from - d < ranges[at - 1].to) d = from - ranges[at - 1].to;
  else if (at + 1 < ranges.size() && to - d > ranges[at + 1].from) d = to - ranges[at + 1].from;
  d = std::min(d, from);
  const std::int64_t points = m_pProcess->m_nSI;
  if (to - d >= points) d = to - (points - 1);
  // Only a range longer than the data could still leave it; such a range is not moved.
  if (from - d < 0) return false;
  ranges[at].from = static_cast<std::uint32_t>(from - d);
  ranges[at].to = static_cast<std::uint32_t>(to - d);
  return true;
}
