#include "rodizora/view/satracker.h"

#include <algorithm>

#include "platform/ui/styles.h"

gdi::Rect CSaTracker::HandleRect(Hit handle) const {
  const gdi::Rect& r = m_rect;
  const int s = kHandleSize;
  const int cx = r.left + (r.Width() - s) / 2, cy = r.top + (r.Height() - s) / 2;
  switch (handle) {
    case kHitTopLeft: return {r.left, r.top, r.left + s, r.top + s};
    case kHitTopRight: return {r.right - s, r.top, r.right, r.top + s};
    case kHitBottomRight: return {r.right - s, r.bottom - s, r.right, r.bottom};
    case kHitBottomLeft: return {r.left, r.bottom - s, r.left + s, r.bottom};
    case kHitTop: return {cx, r.top, cx + s, r.top + s};
    case kHitRight: return {r.right - s, cy, r.right, cy + s};
    case kHitBottom: return {cx, r.bottom - s, cx + s, r.bottom};
    case kHitLeft: return {r.left, cy, r.left + s, cy + s};
    default: return {};
  }
}

CSaTracker::Hit CSaTracker::HitTest(gdi::Point point) const {
  if (!m_rect.PtInRect(point)) return kHitNothing;
  if (m_style & kResizeInside)
    for (int h = kHitTopLeft; h <= kHitLeft; ++h)
      if (HandleRect(static_cast<Hit>(h)).PtInRect(point)) return static_cast<Hit>(h);
  gdi::Rect middle = m_rect;
  middle.left += kBorderWidth;
  middle.top += kBorderWidth;
  middle.right -= kBorderWidth;
  middle.bottom -= kBorderWidth;
  return middle.PtInRect(point) ? kHitMiddle : kHitBorder;
}

void CSaTracker::Draw(gdi::DC* dc) const {
  const int saved = dc->SaveDC();
  dc->SetBkMode(gdi::TRANSPARENT);
  if (m_style & kHatchInside) {
    const gdi::Brush hatch(gdi::HS_BDIAGONAL, 0x000000);
    const gdi::Pen none(gdi::PS_NULL, 0, 0);
    dc->SelectObject(none);
    dc->SelectObject(hatch);
    dc->Rectangle(m_rect.left, m_rect.top, m_rect.right + 1, m_rect.bottom + 1);
  }
  if (m_style & (kSolidLine | kDottedLine)) {
    const gdi::Pen line((m_style & kDottedLine) ? gdi::PS_DOT : gdi::PS_SOLID, 1, 0x000000);
    dc->SelectObject(line);
    dc->SelectStockObject(gdi::NULL_BRUSH);
    dc->Rectangle(m_rect);
  }
  if (m_style & kResizeInside)
    for (int h = kHitTopLeft; h <= kHitLeft; ++h) dc->FillSolidRect(HandleRect(static_cast<Hit>(h)), 0x000000);
  dc->RestoreDC(saved);
}

gdi::Rect CSaTracker::Track(Hit hit, gdi::Point start, gdi::Point now) const {
  const int dx = now.x - start.x, dy = now.y - start.y;
  gdi::Rect r = m_rect;
  switch (hit) {
    case kHitBorder:
    case kHitMiddle:
      return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    case kHitTopLeft: r.left += dx; r.top += dy; break;
    case kHitTopRight: r.right += dx; r.top += dy; break;
    case kHitBottomRight: r.right += dx; r.bottom += dy; break;
    case kHitBottomLeft: r.left += dx; r.bottom += dy; break;
    case kHitTop: r.top += dy; break;
    case kHitRight: r.right += dx; break;
    case kHitBottom: r.bottom += dy; break;
    case kHitLeft: r.left += dx; break;
    default: return r;
  }
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  // The edge that moved keeps the minimum size.
  if (r.Width() < kMinSize) {
    if (hit == kHitTopLeft || hit == kHitBottomLeft || hit == kHitLeft) r.left = r.right - kMinSize;
    else r.right = r.left + kMinSize;
  }
  if (r.Height() < kMinSize) {
    if (hit == kHitTopLeft || hit == kHitTopRight || hit == kHitTop) r.top = r.bottom - kMinSize;
    else r.bottom = r.top + kMinSize;
  }
  return r;
}

ui::HCURSOR CSaTracker::CursorFor(Hit hit) {
  switch (hit) {
    case kHitTopLeft:
    case kHitBottomRight: return ui::LoadStandardCursor(ui::IDC_SIZENWSE);
    case kHitTopRight:
    case kHitBottomLeft: return ui::LoadStandardCursor(ui::IDC_SIZENESW);
    case kHitTop:
    case kHitBottom: return ui::LoadStandardCursor(ui::IDC_SIZENS);
    case kHitLeft:
    case kHitRight: return ui::LoadStandardCursor(ui::IDC_SIZEWE);
    case kHitBorder: return ui::LoadStandardCursor(ui::IDC_SIZEALL);
    default: return nullptr;
  }
}
