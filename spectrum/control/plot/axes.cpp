#include "spectrum/control/plot/axes.h"

#include <algorithm>
#include <cmath>

#include "platform/archive/archive.h"
#include "platform/base/numtext.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/labelstep.h"
#include "spectrum/control/plot/pixels.h"
#include "spectrum/data/spcprocess.h"

namespace {

// Ticks and label loops of one axis end after this many label steps (ten ticks each).
constexpr int kMaxLabelSteps = 1000;

gdi::LOGPEN HalfWidth(gdi::LOGPEN pen) {
  pen.lopnWidth.x /= 2;
  pen.lopnWidth.y /= 2;
  return pen;
}

int Nearest(double v) { return TruncToPixel(std::round(v)); }

std::string Label(double value, int decimals) {
  return plat::formatDouble(value == 0.0 ? 0.0 : value, 'f', decimals);  // never "-0"
}

}  // namespace

// ---- CBorder ----------------------------------------------------------------------------------

CBorder::CBorder(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawBorder, owner, process, instance) {}

void CBorder::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_linePen);
  CDrawObject::Serialize(ar);
}

void CBorder::SetDefaults() {
  m_linePen = MakeLogPen(gdi::PS_SOLID, 30, 0x0000C0);
  m_bEnabled = false;
}

void CBorder::Draw(gdi::DC* dc, gdi::Rect* area, int) {
  if (m_pOwner->m_nBase == 0) return;
  const gdi::Pen oldPen = SelectScaledPen(&m_linePen, dc);
  const int w = dc->GetCurrentPen().Log().lopnWidth.x;
  area->DeflateRect(w >> 1, w >> 1);
  dc->Rectangle(*area);
  dc->SelectObject(oldPen);
  area->DeflateRect(w, w);
}

// ---- CGrid ------------------------------------------------------------------------------------

CGrid::CGrid(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawGrid, owner, process, instance) {}

void CGrid::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_linePen);
  CDrawObject::Serialize(ar);
}

void CGrid::SetDefaults() {
  m_linePen = MakeLogPen(gdi::PS_DOT, 1, 0xC0C0C0);
  m_bEnabled = false;
}

void CGrid::Draw(gdi::DC* dc, gdi::Rect* area, int) {
  if (dc->IsPrinting()) return;
  constexpr int kSpacing = 100;
  const gdi::Rect r = *area;
  const gdi::Pen oldPen = SelectScaledPen(&m_linePen, dc);
  for (std::int64_t x = r.left; x < r.right; x += kSpacing) {
    dc->MoveTo(static_cast<int>(x), r.top);
    dc->LineTo(static_cast<int>(x), r.bottom);
  }
  for (std::int64_t y = r.top; y < r.bottom; y += kSpacing) {
    dc->MoveTo(r.left, static_cast<int>(y));
    dc->LineTo(r.right, static_cast<int>(y));
  }
  dc->SelectObject(oldPen);
}

// ---- CScale -----------------------------------------------------------------------------------

CScale::CScale(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawScale, owner, process, instance) {}

void CScale::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_axisPen);
  SerializePen(ar, m_tickPen);
  SerializeFont(ar, m_logFont);
  SerializeColor(ar, m_textColor);
  if (ar.isStoring()) ar.writeI32(m_nUnit);
  else m_nUnit = ar.readI32();
  CDrawObject::Serialize(ar);
}

void CScale::SetDefaults() {
  m_axisPen = MakeLogPen(gdi::PS_SOLID, 40, 0xC00000);
  m_tickPen = MakeLogPen(gdi::PS_SOLID, 30, 0xC00000);
  m_textColor = 0x640000;
  m_nUnit = m_pOwner->GetDefaultUnit();
  m_logFont = MakeLogFont(12, 400, 0, "Arial");
  m_bEnabled = true;
}

int CScale::GetContextMenu(bool) { return 4; }

void CScale::Draw(gdi::DC* dc, gdi::Rect* area, int mode) {
  gdi::Rect& rect = *area;
  const std::int32_t unit = m_pOwner->UsableUnit(m_nUnit);
  m_tickPen = HalfWidth(m_axisPen);

  // The unit name runs upward at the left, in two thirds of the font.
  gdi::LOGFONTA small = m_logFont;
  small.lfHeight = gdi::MulDiv(m_logFont.lfHeight, 2, 3);
  small.lfEscapement = 900;
  const gdi::Font oldFont = SelectScaledFont(&small, dc);
  const gdi::Size letter = dc->GetTextExtent(std::string_view("A"));
  const int a = letter.cx, b = letter.cy;
  const std::string name(GetUnitName(unit));
  const int nameTop = rect.bottom - a / 4 - dc->GetTextExtent(name).cx;
  dc->TextOut(rect.left, rect.bottom - a / 4, name);

  const gdi::Pen oldPen = SelectScaledPen(&m_axisPen, dc);
  const gdi::COLORREF oldColor = dc->SetTextColor(m_textColor);
  const gdi::UINT oldAlign = dc->SetTextAlign(gdi::TA_CENTER);
  dc->SelectObject(oldFont);
  SelectScaledFont(&m_logFont, dc);

  // The name stays clear of the axis line and of the plot above it: a name longer than the
  // band is high makes the band higher. It stands in the column left of the line's start.
  gdi::Rect band = rect;
  band.top = std::min(rect.bottom - 3 * b / 2, nameTop);
  dc->MoveTo(rect.left + b, band.top);
  dc->LineTo(band.right, band.top);

  const CSpcProcess::PointToUnitFunc toUnit =
      m_pProcess && m_pProcess->GetPointToUnitFunc(unit) ? m_pProcess->GetPointToUnitFunc(unit) : &CSpcProcess::PointToIndex;
  const double x0 = m_pProcess ? (m_pProcess->*toUnit)(TruncToInt(m_pOwner->m_fLeftBound)) : 0.0;
  const double x1 = m_pProcess ? (m_pProcess->*toUnit)(TruncToInt(m_pOwner->m_fRightBound)) : 0.0;
  const double span = x1 - x0;
  const int width = rect.Width();
  const LabelStep step = ChooseLabelStep(6, 7, span * a / width);
  if (width > 0 && a > 0 && step.valid) {
    SelectScaledPen(&m_tickPen, dc);
    const double s = step.step;
    const bool rising = x0 <= x1;
    // The label values are whole multiples of the step, counted from the first one.
    const double first = rising ? std::round(x0 / s) : std::round(x0 / s) + 1.0;
    for (int n = 0; n < kMaxLabelSteps; ++n) {
      const double t = (rising ? first + n : first - n) * s;
      if (rising ? !(t < x1) : !(t > x1)) break;
      for (int j = 0; j < 10; ++j) {
        const double tick = rising ? t + j * s * 0.1 : t - j * s * 0.1;
        const int x = band.left + Nearest((tick - x0) / span * width);
        if (!(rect.left + b < x && x < band.right)) continue;
        dc->MoveTo(x, band.top);
        dc->LineTo(x, band.top + (j == 0 || j == 5 ? b / 3 : b / 4));
        if (j != 0) continue;
        const std::string label = Label(t, step.decimals);
        const int labelWidth = dc->GetTextExtent(label).cx;
        // No label reaches into the unit name's column; a rising axis keeps its labels inside.
        const bool clearOfName = x - labelWidth / 2 > rect.left + b;
        if (clearOfName && (!rising || (x - labelWidth > band.left && x + labelWidth < band.right)))
          dc->TextOut(x, band.top + b / 3, label);
      }
    }
  }

  rect.bottom = band.top - b / 2;
  if (mode != kDrawModePrint) m_area = gdi::Rect(band.left, band.top - b / 2, band.right, band.bottom);
  dc->SetTextAlign(oldAlign);
  dc->SelectObject(oldPen);
  dc->SelectObject(oldFont);
  dc->SetTextColor(oldColor);
}

// ---- CScaleY1 ---------------------------------------------------------------------------------

CScaleY1::CScaleY1(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawScaleY1, owner, process, instance) {}

void CScaleY1::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_axisPen);
  SerializePen(ar, m_tickPen);
  SerializeFont(ar, m_logFont);
  SerializeColor(ar, m_textColor);
  CDrawObject::Serialize(ar);
}

void CScaleY1::SetDefaults() {
  m_axisPen = MakeLogPen(gdi::PS_SOLID, 40, 0xC00000);
  m_tickPen = MakeLogPen(gdi::PS_SOLID, 30, 0xC00000);
  m_textColor = 0x640000;
  m_logFont = MakeLogFont(10, 400, 0, "Arial");
  m_band.SetRectEmpty();
  m_bEnabled = true;
}

void CScaleY1::Draw(gdi::DC* dc, gdi::Rect* area, int mode) {
  const gdi::Font oldFont = SelectScaledFont(&m_logFont, dc);
  const int c = MeasureAlphabet(dc).cx / 52;
  // Room for the digits of the largest percentage, at least four characters.
  const double amplitude = m_pOwner->m_fAmplitude;
  int n = 4;
  if (amplitude > 0.0 && std::isfinite(amplitude))
    n = std::clamp(TruncToInt(std::ceil(std::fabs(std::log10(100.0 / amplitude)))) + 1, 4, 64);
  if (area->Width() > c * n) {
    m_band = gdi::Rect(area->left, area->top, area->left + c * n, area->bottom);
    if (mode != kDrawModePrint) m_area = m_band;
    area->left += c * n;
  } else {
    m_band.SetRectEmpty();
  }
  dc->SelectObject(oldFont);
}

// ---- CScaleY2 ---------------------------------------------------------------------------------

CScaleY2::CScaleY2(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawScaleY2, owner, process, instance) {
  m_bEnabled = true;
}

void CScaleY2::Draw(gdi::DC* dc, gdi::Rect*, int mode) {
  auto* scale = dynamic_cast<CScaleY1*>(m_pOwner->FindDrawObject(kDrawScaleY1, -1));
  if (!scale || !scale->m_bEnabled || scale->m_band.IsRectEmpty()) return;
  scale->m_tickPen = HalfWidth(scale->m_axisPen);
  const gdi::Pen oldPen = SelectScaledPen(&scale->m_axisPen, dc);
  const gdi::Font oldFont = SelectScaledFont(&scale->m_logFont, dc);
  const gdi::COLORREF oldColor = dc->SetTextColor(scale->m_textColor);

  const gdi::Size letters = MeasureAlphabet(dc);
  const int c = letters.cx / 52, h = letters.cy / 2;
  const int top = m_pOwner->m_plotRect.top, bottom = m_pOwner->m_plotRect.bottom;
  const int x = scale->m_band.right;
  dc->MoveTo(x, top);
  dc->LineTo(x, bottom);
  dc->TextOut(x - 3 * c, top, std::string_view("%"));
  const gdi::UINT oldAlign = dc->SetTextAlign(gdi::TA_RIGHT);

  // From 0 at the bottom to 100 / amplitude percent at the top.
  const double amplitude = m_pOwner->m_fAmplitude;
  const double height = static_cast<double>(bottom) - top;
  const LabelStep step = amplitude > 0.0 && height > 0.0 ? ChooseLabelStep(4, 5, -100.0 / amplitude * h / height)
                                                          : LabelStep{};
  if (step.valid) {
    const double full = 100.0 / amplitude;
    const double perPixel = full / height;
    const double s = step.step;
    SelectScaledPen(&scale->m_tickPen, dc);
    const int tenth = TruncToPixel(s / perPixel);
    for (int n = 0; n < kMaxLabelSteps; ++n) {
      const double v = n * s;
      if (!(v < full + s)) break;
      const int py = TruncToPixel(v / perPixel);
      if (v < full) {
        for (int j = 0; j < 10; ++j) {
          const int y = bottom - py - gdi::MulDiv(tenth, j, 10);
          if (!(top < y && y < bottom)) continue;
          dc->MoveTo(x, y);
          dc->LineTo(x - (j == 0 || j == 5 ? 2 * h / 3 : h / 2), y);
        }
      }
      if (4 * c <= py && py <= bottom - 2 * c - top) dc->TextOut(x - c, bottom - py - h, Label(v, step.decimals));
    }
  }

  dc->SetTextAlign(oldAlign);
  dc->SelectObject(oldPen);
  dc->SelectObject(oldFont);
  dc->SetTextColor(oldColor);
  if (mode != kDrawModePrint) m_area = gdi::Rect(scale->m_band.left, scale->m_band.top, x, bottom);
}
