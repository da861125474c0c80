#include "spectrum/control/labels/peaklabels.h"

#include <algorithm>
#include <cmath>

#include "platform/archive/archive.h"
#include "platform/base/numtext.h"
#include "spectrum/control/labels/labelcommon.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/pixels.h"
#include "spectrum/control/plot/plotdata.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::int32_t kSpectrumDomain = 1;
constexpr gdi::COLORREF kPeakLineColor = 0x0000DC;

// What a label shows of one entry of the peak list.
struct PeakValue {
  double position;   // kind MASS: m/z; else the point index
  double label;      // kind MASS: m/z; else the point in the label's unit
  double intensity;  // kind MASS: the pair's intensity; else the displayed value
};

// The values of peak entry `peak`; false for an entry that names no point (or, for MASS, no
// pair of the current scan: peaks stay after a scan change).
bool PeakAt(const CSpcProcess& process, std::int32_t peak, CSpcProcess::PointToUnitFunc toUnit, PeakValue* out) {
  if (peak < 0) return false;
  if (IsMassKind(&process)) {
    const CMassScan* scan = CurrentMassScan(&process);
    if (!scan || static_cast<std::size_t>(peak) >= scan->peaks.size()) return false;
    const std::vector<CSpcPoint>& pairs = scan->peaks;
    const CSpcPoint& pair = pairs[static_cast<std::size_t>(peak)];
    *out = {pair.im, pair.im, pair.re};
    return true;
  }
  if (peak >= process.m_nCur || !toUnit) return false;
  *out = {static_cast<double>(peak), (process.*toUnit)(peak), process.GetDisplayValue(peak)};
  return true;
}

// ceil(log10 |v|), with 0 and values that are not finite counted as one digit.
int DigitsBeforePoint(double v) {
  v = std::fabs(v);
  if (!(v > 0.0) || !std::isfinite(v)) return 1;
  return static_cast<int>(std::ceil(std::log10(v)));
}

bool HasDrawablePeaks(const CSpcProcess* process) {
  return process && process->m_pData && !process->m_pData->peaks.empty() &&
         process->m_pData->nDomain == kSpectrumDomain;
}

}  // namespace

// ---- CTPeaks --------------------------------------------------------------------------------

CTPeaks::CTPeaks(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawTPeaks, owner, process, instance) {}

void CTPeaks::SetDefaults() {
  m_linePen = MakeLogPen(gdi::PS_SOLID, 10, kPeakLineColor);
  m_textColor = 0;
  m_logFont = MakeLogFont(8, 400, 1, "Arial", 900);
  m_nUnit = m_pOwner->GetDefaultUnit();
  m_nDigits = 2;
  m_bEnabled = true;
}

void CTPeaks::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_linePen);
  SerializeFont(ar, m_logFont);
  if (ar.isStoring()) {
    ar.writeI32(m_nUnit);
    ar.writeU32(m_textColor);
    ar.writeI32(m_nDigits);
  } else {
    m_nUnit = ar.readI32();
    m_textColor = ar.readU32();
    m_nDigits = ar.readI32();
  }
  CDrawObject::Serialize(ar);
}

int CTPeaks::GetContextMenu(bool) { return 3; }

void CTPeaks::SetVerticalArea(std::uint32_t flags, int x, int y) { SelectXRange(*this, flags, x, y); }

CTPeaks::LabelFormat CTPeaks::GetLabelFormat() const {
  const int e = DigitsBeforePoint([this] {
    if (!m_pProcess || !m_pProcess->m_pData) return 0.0;
    const CSpcProcess& p = *m_pProcess;
    if (IsMassKind(&p)) return static_cast<double>(p.GetMaxMass());
    const CSpcProcess::PointToUnitFunc toUnit = p.GetPointToUnitFunc(m_pOwner->UsableUnit(m_nUnit));
    if (!toUnit) return 0.0;
    return std::max(std::fabs((p.*toUnit)(0)), std::fabs((p.*toUnit)(p.m_nSI - 1)));
  }());
  // From five digits on no decimals. Values below 1 keep five significant places (at most 9
  // decimals) and need room for "0." and the decimals; otherwise the digits, point and sign.
  if (e < 0) {
    const int decimals = std::min(5 - e, 9);
    return {decimals, decimals + 2};
  }
  const int decimals = e < 5 ? 5 - e : 0;
  return {decimals, decimals + e + 2};
}

void CTPeaks::Draw(gdi::DC* dc, gdi::Rect* area, int mode) {
  const std::int64_t minHeight = 4 * static_cast<std::int64_t>(m_logFont.lfHeight) + 4;
  if (!HasDrawablePeaks(m_pProcess) || area->Height() <= minHeight) {
    if (mode != kDrawModePrint) m_area.SetRectEmpty();
    return;
  }
  const CSpcProcess& process = *m_pProcess;
  const CDrawObjectList& list = *m_pOwner;

  const gdi::Pen oldPen = SelectScaledPen(&m_linePen, dc);
  const gdi::Font oldFont = SelectScaledFont(&m_logFont, dc);
  const gdi::Size alphabet = MeasureAlphabet(dc);
  const int c = alphabet.cx / 52;
  const int h = alphabet.cy;
  dc->SetTextColor(m_textColor);

  const std::int32_t unit = list.UsableUnit(m_nUnit);
  const CSpcProcess::PointToUnitFunc toUnit = process.GetPointToUnitFunc(unit);
  const LabelFormat format = GetLabelFormat();
  const std::string_view name = GetUnitName(unit);
  const gdi::Size nameSize = dc->GetTextExtent(name);
  dc->TextOut(area->left, area->top + nameSize.cx, name);

  int rightEdge = area->left + nameSize.cy;
  const double x0 = list.m_fLeftBound;
  const double x1 = list.m_fRightBound;
  const double width = static_cast<double>(area->right) - area->left;
  const double p = width > 0 ? (x1 - x0) / width : 0.0;
  const int y1 = area->top + format.length * c + 3 * h;
  if (IsDivisor(p)) {
    for (const std::int32_t peak : process.m_pData->peaks) {
      PeakValue v;
      if (!PeakAt(process, peak, toUnit, &v) || !(x0 <= v.position && v.position <= x1)) continue;
      const int column = TruncToPixel(area->left + std::trunc((v.position - x0) / p));
      dc->MoveTo(column, y1);
      dc->LineTo(column, y1 - h);
      const int labelColumn = column < rightEdge + h ? rightEdge + h : column;
      dc->LineTo(labelColumn, y1 - 3 * h);
      dc->TextOut(labelColumn - h, y1 - 3 * h - h / 5, FormatFixed(v.label, format.decimals));
      dc->MoveTo(labelColumn, y1 - 3 * h);
      dc->LineTo(labelColumn, area->top);
      rightEdge = labelColumn + h / 5;
    }
  }
  dc->SelectObject(oldPen);
  dc->SelectObject(oldFont);

  const int oldTop = area->top;
  area->top += format.length * c + 4 * h;
  if (mode != kDrawModePrint) m_area = gdi::Rect(area->left, oldTop, area->right, area->top);
}

// ---- CMPeaks --------------------------------------------------------------------------------

CMPeaks::CMPeaks(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawMPeaks, owner, process, instance) {}

void CMPeaks::SetDefaults() {
  m_linePen = MakeLogPen(gdi::PS_SOLID, 10, kPeakLineColor);
  m_textColor = 0;
  m_logFont = MakeLogFont(8, 400, 1, "Arial");
  m_nDigits = 0;
  m_bRelativeIntensity = false;
  m_nUnit = m_pOwner->GetDefaultUnit();
  m_bEnabled = true;
}

void CMPeaks::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_linePen);
  SerializeFont(ar, m_logFont);
  if (ar.isStoring()) {
    ar.writeI32(m_nUnit);
    ar.writeU32(m_textColor);
  } else {
    m_nUnit = ar.readI32();
    m_textColor = ar.readU32();
  }
  CDrawObject::Serialize(ar);
}

int CMPeaks::GetContextMenu(bool) { return 2; }

void CMPeaks::Draw(gdi::DC* dc, gdi::Rect*, int) {
  m_area.SetRectEmpty();
  if (!HasDrawablePeaks(m_pProcess)) return;
  const CSpcProcess& process = *m_pProcess;
  CDrawObjectList& list = *m_pOwner;
  const bool mass = IsMassKind(&process);

  const gdi::Pen oldPen = SelectScaledPen(&m_linePen, dc);
  const gdi::Font oldFont = SelectScaledFont(&m_logFont, dc);
  const gdi::COLORREF oldColor = dc->SetTextColor(m_textColor);
  const CSpcProcess::PointToUnitFunc toUnit = process.GetPointToUnitFunc(list.UsableUnit(m_nUnit));
  const double x0 = list.m_fLeftBound;
  const double x1 = list.m_fRightBound;
  const double yMax = list.m_fYMax;

  for (const std::int32_t peak : process.m_pData->peaks) {
    PeakValue v;
    if (!PeakAt(process, peak, toUnit, &v) || !(x0 <= v.position && v.position <= x1)) continue;
    if (mass && !(v.intensity > static_cast<double>(list.m_fMassThreshold) * yMax)) continue;
    double intensity = v.intensity;
    for (const CZoomRegion& region : list.m_zoomRegions)
      if (region.from <= v.position && v.position <= region.to) {
        intensity *= region.factor;
        break;
      }
    std::string text = FormatFixed(v.label, m_nDigits);
    if (m_bRelativeIntensity && IsDivisor(yMax))
      text += "(" + plat::formatDouble(intensity / yMax * 100.0, 'f', 0) + "%)";
    const gdi::Size size = dc->GetTextExtent(text);
    const int row = std::max(list.ValueToY(static_cast<float>(intensity)), list.m_plotRect.top) - size.cy;
    const int column = list.PointToX(TruncToInt(v.position)) - size.cx / 2;
    dc->TextOut(column, row, text);
  }
  dc->SelectObject(oldPen);
  dc->SelectObject(oldFont);
  dc->SetTextColor(oldColor);
}
