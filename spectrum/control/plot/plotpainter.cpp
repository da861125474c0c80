#include "spectrum/control/plot/plotpainter.h"

#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/plotdata.h"
#include "spectrum/control/plot/trace.h"

namespace {

// The list's view and scale, kept across a drawing made for another purpose.
class SavedView {
 public:
  explicit SavedView(CDrawObjectList& list)
      : m_list(list),
        m_left(list.m_fLeftBound),
        m_right(list.m_fRightBound),
        m_amplitude(list.m_fAmplitude),
        m_zoom(list.m_nZoom),
        m_yMin(list.m_fYMin),
        m_yMax(list.m_fYMax),
        m_pointsPerPixel(list.m_fPointsPerPixel),
        m_valuePerPixel(list.m_fValuePerPixel),
        m_plot(list.m_plotRect),
        m_hold(list.m_bHold),
        m_heldZero(list.m_nHeldZeroY) {}
  ~SavedView() {
    m_list.m_fLeftBound = m_left;
    m_list.m_fRightBound = m_right;
    m_list.m_fAmplitude = m_amplitude;
    m_list.m_nZoom = m_zoom;
    m_list.m_fYMin = m_yMin;
    m_list.m_fYMax = m_yMax;
    m_list.m_fPointsPerPixel = m_pointsPerPixel;
    m_list.m_fValuePerPixel = m_valuePerPixel;
    m_list.m_plotRect = m_plot;
    m_list.m_bHold = m_hold;
    m_list.m_nHeldZeroY = m_heldZero;
  }
  SavedView(const SavedView&) = delete;
  SavedView& operator=(const SavedView&) = delete;

 private:
  CDrawObjectList& m_list;
  float m_left, m_right, m_amplitude;
  std::int32_t m_zoom;
  float m_yMin, m_yMax, m_pointsPerPixel, m_valuePerPixel;
  gdi::Rect m_plot;
  bool m_hold;
  std::int32_t m_heldZero;
};

}  // namespace

void CPlotPainter::DrawPlot(gdi::DC& dc, const gdi::Rect& rect, int mode, CZoomSource* site) {
  m_list.m_nZoom = site ? site->GetZoom() : 100;
  gdi::Brush brush(m_list.m_bkBrush);
  const gdi::Brush oldBrush = dc.SelectObject(brush);
  dc.SetBkColor(m_list.m_bkBrush.lbColor);
  dc.SetBkMode(gdi::TRANSPARENT);
  m_list.DrawAll(&dc, &rect, mode);
  dc.SelectObject(oldBrush);
}

void CPlotPainter::OnDrawMetafile(gdi::DC& dc, const gdi::Rect& bounds, CZoomSource* site) {
  DrawPlot(dc, bounds, kDrawModePrint, site);
}

void CPlotPainter::OnDraw(gdi::DC& dc, const gdi::Rect& bounds, const PaintState& state) {
  if (dc.GetDeviceCaps(gdi::TECHNOLOGY) != gdi::DT_RASDISPLAY || !state.inPlaceActive) {
    DropCache();
    dc.SetPrinting(true);
    OnDrawMetafile(dc, bounds, state.site);
    return;
  }
  const int width = bounds.Width(), height = bounds.Height();
  gdi::BITMAP info;
  if (!m_cache.IsNull() && (!m_cache.GetBitmap(&info) || state.modified || info.bmWidth != width ||
                            info.bmHeight != height || info.bmBitsPixel != dc.GetDeviceCaps(gdi::BITSPIXEL)))
    DropCache();

  gdi::DC memory = gdi::DC::CreateCompatibleDC(&dc);
  if (!memory.IsValid()) return;

  gdi::Rect drawn = bounds;
  bool offscreen = false;
  if (!m_cache.IsNull()) {
    memory.SelectObject(m_cache);
    offscreen = true;
    drawn = gdi::Rect(0, 0, width, height);
  } else {
    if (!state.site && width <= kMaxCachedSide && height <= kMaxCachedSide) {
      gdi::Bitmap bitmap;
      // A bitmap that cannot be made leaves the plot drawn straight onto the target.
      if (bitmap.CreateCompatibleBitmap(dc, width, height)) {
        m_cache = bitmap;
        memory.SelectObject(m_cache);
        offscreen = true;
        drawn = gdi::Rect(0, 0, width, height);
      }
    }
    gdi::DC& target = offscreen ? memory : dc;
    if (!state.site) target.FillSolidRect(drawn, m_list.m_bkBrush.lbColor);
    DrawPlot(target, drawn, kDrawModeScreen, state.site);
  }
  if (offscreen) {
    dc.BitBlt(bounds.left, bounds.top, width, height, &memory, 0, 0, gdi::SRCCOPY);
    memory.SelectObject(gdi::Bitmap());
  }

  // Overlays, on the target only, relative to where the plot lies there.
  const gdi::Rect onTarget(bounds.left, bounds.top, bounds.left + drawn.Width(), bounds.top + drawn.Height());
  if (m_overlays) m_overlays(dc, onTarget);
  if (!m_list.m_selection.IsRectEmpty()) {
    gdi::Rect focus = m_list.m_selection;
    focus.OffsetRect(drawn.left, drawn.top);
    dc.DrawFocusRect(focus);
  }
}

const gdi::EnhMetaFile& CPlotPainter::OverviewPicture() const {
  if (m_overviewDue) {
    m_overviewDue = false;
    DrawOverview();
  }
  return m_overview;
}

void CPlotPainter::DrawOverview() const {
  const gdi::DeviceCaps screen = gdi::ScreenCaps();
  const gdi::Rect picture(0, 0, screen.horzRes, screen.vertRes / 10);
  gdi::DC recording = gdi::DC::CreateEnhMetaFile(nullptr, nullptr, u"KEDRUS");
  CSpcProcess* process = m_list.m_pProcess;
  const CSpcData* data = process ? process->m_pData : nullptr;
  gdi::Rect area = picture;
  if (IsMassKind(process)) {
    CIonCurrent current(&m_list, process, 0);
    current.SetDefaults();
    current.Draw(&recording, &area, kDrawModePrint);
  } else if (data && data->HasData()) {
    SavedView saved(m_list);
    m_list.m_fLeftBound = 0.0f;
    m_list.m_fRightBound = static_cast<float>(process->m_nCur - 1);
    m_list.m_fAmplitude = 1.0f;
    m_list.m_nZoom = 100;
    m_list.m_bHold = false;
    CSpectrum trace(&m_list, process, 0);
    trace.SetDefaults();
    trace.Draw(&recording, &area, kDrawModePrint);
  }
  m_overview = recording.CloseEnhMetaFile();
}
