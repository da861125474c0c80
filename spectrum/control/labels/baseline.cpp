#include "spectrum/control/labels/baseline.h"

#include <algorithm>
#include <cmath>

#include "platform/archive/archive.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/pixels.h"
#include "spectrum/data/spcprocess.h"

namespace {
constexpr int kToleranceColumns = 5;  // a double click this close to a point removes it
}  // namespace

CBaseline::CBaseline(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawBaseline, owner, process, instance) {}

void CBaseline::SetDefaults() {
  m_linePen = MakeLogPen(gdi::PS_SOLID, 40, 0x0000C8);
  m_circleColor = 0x00DC00;
  m_nCircleRadius = 150;
  m_bEnabled = false;
}

void CBaseline::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_linePen);
  CDrawObject::Serialize(ar);
}

int CBaseline::GetContextMenu(bool) { return 6; }

void CBaseline::Draw(gdi::DC* dc, gdi::Rect* area, int mode) {
  if (mode != kDrawModePrint) m_area = *area;
  if (!m_pProcess) return;
  CSpcProcess& process = *m_pProcess;
  CDrawObjectList& list = *m_pOwner;
  const double x0 = list.m_fLeftBound;
  const double x1 = list.m_fRightBound;
  const int width = area->Width();
  const double p = width + 1 > 0 ? (x1 - x0) / (width + 1) : 0.0;

  const gdi::Pen oldPen = SelectScaledPen(&m_linePen, dc);
  const float baseLevel = process.GetBaseLevel();
  const std::vector<float>& curve = process.m_baseline;
  auto rowAt = [&](double position) {
    const std::int64_t i = TruncIndex(position);
    const bool onCurve = i >= 0 && static_cast<std::size_t>(i) < curve.size();
    return list.ValueToY(onCurve ? curve[static_cast<std::size_t>(i)] : baseLevel);
  };

  if (process.m_basePoints.empty()) {
    const int y = list.ValueToY(baseLevel);
    dc->MoveTo(area->left, y);
    dc->LineTo(area->right, y);
  }
  if (std::isfinite(p) && p <= 1.0) {
    // No more points than columns: a vertex per point (p = 0 only for a single point).
    const std::int64_t last = TruncIndex(x1 - x0);
    for (std::int64_t k = 0; k <= last; ++k) {
      const int y = rowAt(std::trunc(k + x0));
      if (k == 0) dc->MoveTo(area->left, y);
      else dc->LineTo(TruncToPixel(area->left + std::trunc(k / p)), y);
    }
  } else if (std::isfinite(p)) {
    for (int c = 0; c < width; ++c) {
      const int y = rowAt(std::trunc(std::trunc(c * p) + x0));
      if (c == 0) dc->MoveTo(area->left, y);
      else if (y >= area->top) dc->LineTo(area->left + c, y);
    }
  }

  const int zoom = list.m_nZoom;
  const int rx = ScaleHundredthsMm(m_nCircleRadius, zoom, dc->GetDeviceCaps(gdi::LOGPIXELSX));
  const int ry = ScaleHundredthsMm(m_nCircleRadius, zoom, dc->GetDeviceCaps(gdi::LOGPIXELSY));
  const gdi::Brush oldBrush = dc->SelectObject(gdi::Brush(m_circleColor));
  dc->SelectObject(gdi::Pen(gdi::PS_SOLID, 0, 0));
  for (const std::int32_t q : process.m_basePoints) {
    if (!(x0 <= q && q < x1) || q >= process.m_nCur) continue;
    const int x = list.PointToX(q);
    const int y = list.ValueToY(static_cast<float>(process.GetDisplayValue(q)));
    if (y >= area->top) dc->Ellipse(x - rx, y - ry, x + rx, y + ry);
  }
  dc->SelectObject(oldBrush);
  dc->SelectObject(oldPen);
}

bool CBaseline::EditAt(std::uint32_t, int, int) {
  const int width = m_area.Width();
  if (width <= 0 || !m_pProcess || m_pProcess->m_nCur <= 0) return false;
  const CDrawObjectList& list = *m_pOwner;
  const double x0 = list.m_fLeftBound;
  const double span = static_cast<double>(list.m_fRightBound) - x0;
  const std::int64_t clicked =
      TruncIndex((static_cast<double>(list.m_selection.left) - m_area.left) * span / width) + TruncIndex(x0);
  const auto q = static_cast<std::int32_t>(std::clamp<std::int64_t>(clicked, 0, m_pProcess->m_nCur - 1));
  // At least the point itself, so a point is never added twice when zoomed in closely.
  const std::int64_t d = std::max<std::int64_t>(TruncIndex(kToleranceColumns * span / width), 1);

  std::vector<std::int32_t>& points = m_pProcess->m_basePoints;
  const auto near = std::find_if(points.begin(), points.end(),
                                 [&](std::int32_t p) { return q - d < p && p < q + d; });
  if (near != points.end()) points.erase(near);
  else points.insert(std::find_if(points.begin(), points.end(), [q](std::int32_t p) { return p > q; }), q);
  m_pProcess->CalcBaseline();
  return true;
}
