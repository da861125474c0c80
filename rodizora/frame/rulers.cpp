// The rulers of a document window: scale, ticks, labels and the XOR marks.
#include "rodizora/frame/rulers.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/base/numtext.h"

namespace {

constexpr char16_t kCaption[] = u"millimeters";
// A scale never has more labels than this, whatever its numbers.
constexpr int kMaxLabels = 10000;
// The label width search stops after this many passes (it needs at most ~330 for any double).
constexpr int kMaxWidthPasses = 400;

int ToPixel(double v) {
  if (!std::isfinite(v)) return v > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(v);  // toward zero
}

int Clamped(std::int64_t v) {
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

struct TextSizes {
  int charWidth;   // of "A"
  int charHeight;  // of "A"
  int captionWidth;
};

TextSizes Measure(const gdi::DC& dc) {
  const gdi::Size a = dc.GetTextExtent(std::u16string_view(u"A"));
  const gdi::Size caption = dc.GetTextExtent(std::u16string_view(kCaption));
  return {a.cx, a.cy, caption.cx};
}

void Line(gdi::DC& dc, int x0, int y0, int x1, int y1) {
  dc.MoveTo(x0, y0);
  dc.LineTo(x1, y1);
}

std::u16string Label(double value, int decimals) {
  const std::string text = plat::formatDouble(value, 'f', decimals);
  return std::u16string(text.begin(), text.end());
}

}  // namespace

RulerScale ComputeRulerScale(double start, double end, int length, int charWidth) {
  RulerScale scale;
  const double span = (end - start) * charWidth;
  if (!std::isfinite(span) || span == 0.0 || length <= 0) return scale;
  // The widest label the ruler has room for: one more character (and decimal) per pass until
  // the step's magnitude allows that many decimals.
  int n = 6;
  double b = 0;
  int p = 0;
  bool found = false;
  for (int pass = 1; pass <= kMaxWidthPasses; ++pass) {
    b = n * span / length;
    if (!std::isfinite(b) || b == 0.0) return scale;
    p = static_cast<int>(std::ceil(std::log10(std::fabs(b))));
    ++n;
    if (p >= 2 - pass) {
      found = true;
      break;
    }
  }
  if (!found) return scale;
  const double base = std::pow(10.0, p);
  double divisor = 1;
  for (double next : {2.0, 5.0, 10.0, 100.0}) {
    if (!(base / next > std::fabs(b))) break;
    divisor = next;
  }
  scale.step = base / divisor;
  scale.first = std::ceil(start / scale.step) * scale.step;
  scale.decimals = n - 7;
  scale.valid = std::isfinite(scale.step) && scale.step > 0 && std::isfinite(scale.first);
  return scale;
}

CRulers::CRulers() {
  m_font.lfHeight = 8;
  m_font.lfWeight = gdi::FW_NORMAL;
  gdi::SetFaceName(m_font, u"Arial");
}

int CRulers::UnitToPixelX(double value) const {
  return ToPixel((value - m_xOrigin) * m_pixelsPerUnit * m_zoom + kMargin);
}

int CRulers::UnitToPixelY(double value) const {
  return ToPixel((value - m_yOrigin) * m_pixelsPerUnit * m_zoom + kMargin);
}

double CRulers::PixelToUnitX(int pixel) const {
  return (pixel - kMargin) / static_cast<double>(m_zoom) / m_pixelsPerUnit + m_xOrigin;
}

double CRulers::PixelToUnitY(int pixel) const {
  return (pixel - kMargin) / static_cast<double>(m_zoom) / m_pixelsPerUnit + m_yOrigin;
}

void CRulers::Draw(gdi::DC& dc, int left, int top, int right, int bottom) {
  const gdi::COLORREF face = gdi::GetSysColor(gdi::COLOR_MENU);
  const int savedMode = dc.SetBkMode(gdi::TRANSPARENT);
  const gdi::UINT savedAlign = dc.SetTextAlign(gdi::TA_CENTER | gdi::TA_TOP);

  gdi::Rect topRuler(left + kMargin, top, right, top + kMargin);
  gdi::Rect leftRuler(left, top + kMargin, left + kMargin, bottom);
  dc.FillSolidRect(topRuler, face);
  dc.FillSolidRect(leftRuler, face);
  gdi::Rect edge = topRuler;
  dc.DrawEdge(&edge, gdi::EDGE_ETCHED, gdi::BF_TOP);
  dc.DrawEdge(&edge, gdi::EDGE_RAISED, gdi::BF_BOTTOM);
  edge = leftRuler;
  dc.DrawEdge(&edge, gdi::EDGE_ETCHED, gdi::BF_LEFT);
  dc.DrawEdge(&edge, gdi::EDGE_RAISED, gdi::BF_RIGHT);

  DrawHorizontalScale(dc, topRuler, left, right);
  DrawVerticalScale(dc, leftRuler, top, bottom);

  gdi::Rect corner(left, top, left + kMargin, top + kMargin);
  dc.FillSolidRect(corner, face);
  dc.DrawEdge(&corner, gdi::EDGE_ETCHED, gdi::BF_LEFT | gdi::BF_TOP);

  dc.SetTextAlign(savedAlign);
  dc.SetBkMode(savedMode);
  // The drawing covered whatever marks there were.
  m_crosshair = {-1, -1};
  m_rubber = gdi::Rect(-1, 0, 0, 0);
  m_area = gdi::Rect(left, top, right, bottom);
}

void CRulers::DrawHorizontalScale(gdi::DC& dc, const gdi::Rect& ruler, int left, int right) const {
  gdi::LOGFONTW log = m_font;
  log.lfHeight = gdi::MulDiv(m_font.lfHeight, dc.GetDeviceCaps(gdi::LOGPIXELSX), 72);
  const gdi::Font old = dc.SelectObject(gdi::Font(log));
  const TextSizes text = Measure(dc);
  const int labelY = ruler.bottom - 5 * text.charHeight / 3 - 3;

  const double start = PixelToUnitX(kMargin);
  const double end = PixelToUnitX(right - left - kMargin);
  const RulerScale scale = ComputeRulerScale(start, end, right - left, text.charWidth);
  if (scale.valid) {
    const int spacing = std::abs(UnitToPixelX(scale.first + scale.step) - UnitToPixelX(scale.first));
    const int tickBase = ruler.bottom - 3;
    for (int i = 0; i < kMaxLabels; ++i) {
      const double value = scale.first + i * scale.step;
      if (!(value < end)) break;
      const int x = Clamped(std::int64_t(left) + UnitToPixelX(value));
      for (int t = 0; t < 10; ++t) {
        const int tx = Clamped(std::int64_t(x) + gdi::MulDiv(spacing, t, 10));
        if (tx <= left || tx >= right) continue;
        const int length = (t == 0 || t == 5) ? 2 * text.charHeight / 3 : 3 * text.charHeight / 7;
        Line(dc, tx, tickBase, tx, tickBase - length);
      }
      if (std::int64_t(x) - kMargin >= 4 * text.charWidth &&
          std::int64_t(x) <= std::int64_t(right) - 2 * text.charWidth - text.captionWidth)
        dc.TextOut(x, labelY, Label(value, scale.decimals));
    }
  }
  dc.TextOut(right - text.captionWidth / 2 - text.charWidth, labelY, std::u16string_view(kCaption));
  dc.SelectObject(old);
}

void CRulers::DrawVerticalScale(gdi::DC& dc, const gdi::Rect& ruler, int top, int bottom) const {
  gdi::LOGFONTW log = m_font;
  log.lfHeight = gdi::MulDiv(m_font.lfHeight - 1, dc.GetDeviceCaps(gdi::LOGPIXELSY), 72);
  log.lfEscapement = log.lfOrientation = 900;  // reads bottom to top
  const gdi::Font old = dc.SelectObject(gdi::Font(log));
  const TextSizes text = Measure(dc);
  const int labelX = ruler.right - 5 * text.charHeight / 3 - 3;

  const double start = PixelToUnitY(kMargin);
  const double end = PixelToUnitY(bottom - top - kMargin);
  const RulerScale scale = ComputeRulerScale(start, end, bottom - top, text.charWidth);
  if (scale.valid) {
    const int spacing = std::abs(UnitToPixelY(scale.first + scale.step) - UnitToPixelY(scale.first));
    const int tickBase = ruler.right - 3;
    for (int i = 0; i < kMaxLabels; ++i) {
      const double value = scale.first + i * scale.step;
      if (!(value < end)) break;
      const int y = Clamped(std::int64_t(top) + UnitToPixelY(value));
      for (int t = 0; t < 10; ++t) {
        const int ty = Clamped(std::int64_t(y) + gdi::MulDiv(spacing, t, 10));
        if (ty <= top || ty >= bottom) continue;
        const int length = (t == 0 || t == 5) ? 2 * text.charHeight / 3 : 3 * text.charHeight / 7;
        Line(dc, tickBase, ty, tickBase - length, ty);
      }
      if (std::int64_t(y) - kMargin >= 4 * text.charWidth &&
          std::int64_t(y) <= std::int64_t(bottom) - 2 * text.charWidth - text.captionWidth)
        dc.TextOut(labelX, y, Label(value, scale.decimals));
    }
  }
  dc.TextOut(labelX, bottom - text.captionWidth / 2 - text.charWidth, std::u16string_view(kCaption));
  dc.SelectObject(old);
}

void CRulers::DrawMarks(gdi::DC& dc, int x, int y) const {
  const int mx = Clamped(std::int64_t(m_area.left) + kMargin + x);
  const int my = Clamped(std::int64_t(m_area.top) + kMargin + y);
  Line(dc, mx, m_area.top + 2, mx, m_area.top + kMargin);
  Line(dc, m_area.left + 2, my, m_area.left + kMargin, my);
}

void CRulers::EraseMarks(gdi::DC& dc) const {
  if (m_crosshair.x != -1 || m_crosshair.y != -1) {
    DrawMarks(dc, m_crosshair.x, m_crosshair.y);
  } else if (m_rubber.left != -1) {
    DrawMarks(dc, m_rubber.left, m_rubber.top);
    DrawMarks(dc, m_rubber.right, m_rubber.bottom);
  }
}

namespace {

// The marks' drawing state, put back when the marks are done.
class MarkPen {
 public:
  explicit MarkPen(gdi::DC& dc) : dc_(dc) {
    oldPen_ = dc.SelectObject(gdi::Pen(gdi::PS_DOT, 1, gdi::RGB(255, 255, 255)));
    oldRop_ = dc.SetROP2(gdi::R2_XORPEN);
    oldBk_ = dc.SetBkMode(gdi::TRANSPARENT);
  }
  ~MarkPen() {
    dc_.SetBkMode(oldBk_);
    dc_.SetROP2(oldRop_);
    dc_.SelectObject(oldPen_);
  }
  MarkPen(const MarkPen&) = delete;
  MarkPen& operator=(const MarkPen&) = delete;

 private:
  gdi::DC& dc_;
  gdi::Pen oldPen_;
  int oldRop_;
  int oldBk_;
};

}  // namespace

void CRulers::SetCrosshair(int x, int y, gdi::DC& dc) {
  MarkPen pen(dc);
  const gdi::Point wanted{x, y};
  // Also when the point is unchanged but the corners of a rectangle still show.
  if (wanted != m_crosshair || m_rubber.left != -1) {
    EraseMarks(dc);
    m_crosshair = wanted;
    if (x != -1 || y != -1) DrawMarks(dc, x, y);
  }
  m_rubber = gdi::Rect(-1, 0, 0, 0);
}

void CRulers::SetRubberRect(const gdi::Rect& rect, gdi::DC& dc) {
  MarkPen pen(dc);
  // Also when the rectangle is unchanged but the crosshair still shows.
  const bool crosshairShown = m_crosshair.x != -1 || m_crosshair.y != -1;
  if (rect != m_rubber || crosshairShown) {
    EraseMarks(dc);
    m_rubber = rect;
    if (rect.left != -1) {
      DrawMarks(dc, rect.left, rect.top);
      DrawMarks(dc, rect.right, rect.bottom);
    }
  }
  m_crosshair = {-1, -1};
}
