#pragma once
// The frame drawn around the selected item: its outline (dotted for a linked item, else solid),
// resize handles inside its corners and edge middles, hatching while the item is open; what a
// point over it hits, and the rectangle a handle drag gives (never smaller than 8 x 8 pixels).
#include "platform/gdi/dc.h"
#include "platform/ui/wnd.h"

class CSaTracker {
 public:
  enum Style : unsigned { kSolidLine = 1, kDottedLine = 2, kHatchInside = 4, kResizeInside = 8 };
  // Handles in this order, then the border band and the middle.
  enum Hit : int {
    kHitNothing = -1,
    kHitTopLeft,
    kHitTopRight,
    kHitBottomRight,
    kHitBottomLeft,
    kHitTop,
    kHitRight,
    kHitBottom,
    kHitLeft,
    kHitBorder,
    kHitMiddle,
  };
  static constexpr int kHandleSize = 7;
  static constexpr int kBorderWidth = 3;
  static constexpr int kMinSize = 8;

  CSaTracker(const gdi::Rect& rect, unsigned style) : m_rect(rect), m_style(style) {}

  Hit HitTest(gdi::Point point) const;
  void Draw(gdi::DC* dc) const;
  // The rectangle after dragging what `hit` names from start to now: a handle moves its corner or
  // edge, the border the whole rectangle.
  gdi::Rect Track(Hit hit, gdi::Point start, gdi::Point now) const;
  // The cursor over what `hit` names (null: the window's own).
  static ui::HCURSOR CursorFor(Hit hit);
  gdi::Rect HandleRect(Hit handle) const;

  gdi::Rect m_rect;
  unsigned m_style;
};
