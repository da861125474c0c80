#pragma once
// Between page units (0.25 mm, origin at the page's top-left corner) and a view's client
// pixels, in the view's three modes:
//  - printing: the page stretched over the printer's page (print width and height);
//  - page layout: the page at the zoom, 20 pixels in from the corner, less the scroll position;
//  - full view: the full-view rectangle (page units) stretched over the client area.
// All in integer arithmetic with rounding multiply-divide. A mode whose divisor is 0 (an empty
// client area, full-view rectangle or page) maps nothing: the calls answer false and leave the
// values as they were.
#include "platform/gdi/types.h"

namespace saview {

// The page's margin in the page layout, in pixels.
constexpr int kPageMargin = 20;
constexpr int kMinZoom = 10;

enum class ViewMode { PageLayout, FullView, Printing };

struct ViewMapping {
  ViewMode mode = ViewMode::PageLayout;
  gdi::Size page{1188, 840};  // page units
  int zoom = 100;             // percent, page layout
  gdi::Point scroll;          // pixels, page layout
  gdi::Rect fullView;         // page units, full view
  gdi::Size client;           // pixels, full view
  gdi::Size print;            // device pixels, printing

  bool PageToClient(gdi::Point* point) const;
  bool ClientToPage(gdi::Point* point) const;
  // Both corners mapped; the result normalised (left <= right, top <= bottom).
  bool PageToClient(gdi::Rect* rect) const;
  bool ClientToPage(gdi::Rect* rect) const;
};

// The scroll area of the page layout: page size x zoom / 100 + 40 pixels.
gdi::Size PageLayoutExtent(gdi::Size page, int zoom);

// The zoom a zoom command gives (id 1500 + percent; 1500 fits the page into the client area);
// never below 10. Fitting an empty page or into an empty client area keeps `current`.
int ZoomForCommand(unsigned id, gdi::Size client, gdi::Size page, int current);

// The rulers' origin after a scroll: the millimetres of the page at the view's top-left
// corner (the page's 20-pixel margin taken off), at the rulers' four pixels per millimetre
// at 100 %.
float RulerOriginMillimetres(int scrollPosition, int zoom);

}  // namespace saview
