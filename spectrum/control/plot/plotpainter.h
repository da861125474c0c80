#pragma once
// CPlotPainter: how the spectrum control paints its plot. On the screen the draw-object list
// draws into a cached off-screen bitmap that later paints copy again while nothing changed;
// metafiles, printers and inactive controls get the list drawn straight into them in print
// mode. It also makes the overview picture: an enhanced metafile of the whole trace (or, for a
// mass spectrum, of its ion current) that the scroll strip shows.
//
// The container's zoom reaches the painter through a CZoomSource (the container's client site;
// null when the container offers none). Only without one does the painter fill the background
// and cache: inside the main program the container paints the background, and the zoom follows
// the container's.
#include <cstdint>
#include <functional>

#include "platform/gdi/dc.h"
#include "platform/gdi/metafile.h"
#include "platform/gdi/objects.h"

class CDrawObjectList;

// What the painter asks of the container: its zoom percent.
class CZoomSource {
 public:
  virtual std::int32_t GetZoom() = 0;

 protected:
  ~CZoomSource() = default;
};

class CPlotPainter {
 public:
  // Bitmaps larger than this on either side are not cached.
  static constexpr int kMaxCachedSide = 2048;

  explicit CPlotPainter(CDrawObjectList& list) : m_list(list) {}

  // The control's state that a paint depends on.
  struct PaintState {
    bool inPlaceActive = true;   // else the plot is drawn as for printing
    bool modified = false;       // a modified control never paints from the cache
    CZoomSource* site = nullptr;  // the container's client site, or null
  };

  // The paint entry: the plot into dc at bounds (see the header comment), then the overlays
  // (the focus rectangle of the list's selection, and what the overlay callback draws: pick
  // marks and the phasing pivot), on the target and never into the cache.
  void OnDraw(gdi::DC& dc, const gdi::Rect& bounds, const PaintState& state);
  // Metafiles and printing: the list in print mode into bounds, no background fill.
  void OnDrawMetafile(gdi::DC& dc, const gdi::Rect& bounds, CZoomSource* site);

  // Drops the cached bitmap (every change of what the control shows, a resize, a modification).
  void DropCache() { m_cache.DeleteObject(); }
  bool HasCachedBitmap() const { return !m_cache.IsNull(); }

  // Drawn on the target after the plot, with the rectangle the plot was drawn into.
  void SetOverlays(std::function<void(gdi::DC&, const gdi::Rect&)> overlays) { m_overlays = std::move(overlays); }

  // Rebuilds the overview picture: the screen's width and a tenth of its height. The list's
  // view (bounds, amplitude, zoom) and scale are as before afterwards. The picture is drawn when
  // it is first asked for after that: a control that nobody shows it for (a spectrum loaded to
  // be copied into an item, an item never activated) does not draw its whole trace for it.
  void RebuildPicture() {
    m_overview.DeleteEnhMetaFile();
    m_overviewDue = true;
  }
  const gdi::EnhMetaFile& OverviewPicture() const;
  void DeletePicture() {
    m_overview.DeleteEnhMetaFile();
    m_overviewDue = false;
  }

 private:
  void DrawPlot(gdi::DC& dc, const gdi::Rect& rect, int mode, CZoomSource* site);

  void DrawOverview() const;

  CDrawObjectList& m_list;
  gdi::Bitmap m_cache;
  mutable gdi::EnhMetaFile m_overview;
  mutable bool m_overviewDue = false;
  std::function<void(gdi::DC&, const gdi::Rect&)> m_overlays;
};
