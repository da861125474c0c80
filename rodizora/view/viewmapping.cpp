#include "rodizora/view/viewmapping.h"

#include <algorithm>

namespace saview {

namespace {

using gdi::MulDiv;

bool Normalise(gdi::Rect* rect) {
  if (rect->left > rect->right) std::swap(rect->left, rect->right);
  if (rect->top > rect->bottom) std::swap(rect->top, rect->bottom);
  return true;
}

}  // namespace

bool ViewMapping::PageToClient(gdi::Point* p) const {
  switch (mode) {
    case ViewMode::Printing:
      if (page.cx == 0 || page.cy == 0) return false;
      *p = {MulDiv(p->x, print.cx, page.cx), MulDiv(p->y, print.cy, page.cy)};
      return true;
    case ViewMode::PageLayout: {
      const int z = std::max(zoom, kMinZoom);
      *p = {MulDiv(p->x, z, 100) + kPageMargin - scroll.x, MulDiv(p->y, z, 100) + kPageMargin - scroll.y};
      return true;
    }
    case ViewMode::FullView:
      if (fullView.Width() == 0 || fullView.Height() == 0 || client.cx == 0 || client.cy == 0) return false;
      *p = {MulDiv(p->x - fullView.left, client.cx, fullView.Width()),
            MulDiv(p->y - fullView.top, client.cy, fullView.Height())};
      return true;
  }
  return false;
}

bool ViewMapping::ClientToPage(gdi::Point* p) const {
  switch (mode) {
    case ViewMode::Printing:
      if (print.cx == 0 || print.cy == 0 || page.cx == 0 || page.cy == 0) return false;
      *p = {MulDiv(p->x, page.cx, print.cx), MulDiv(p->y, page.cy, print.cy)};
      return true;
    case ViewMode::PageLayout: {
      const int z = std::max(zoom, kMinZoom);
      *p = {MulDiv(p->x - kPageMargin + scroll.x, 100, z), MulDiv(p->y - kPageMargin + scroll.y, 100, z)};
      return true;
    }
    case ViewMode::FullView:
      if (fullView.Width() == 0 || fullView.Height() == 0 || client.cx == 0 || client.cy == 0) return false;
      *p = {MulDiv(p->x, fullView.Width(), client.cx) + fullView.left,
            MulDiv(p->y, fullView.Height(), client.cy) + fullView.top};
      return true;
  }
  return false;
}

bool ViewMapping::PageToClient(gdi::Rect* rect) const {
  gdi::Point a = rect->TopLeft(), b = rect->BottomRight();
  if (!PageToClient(&a) || !PageToClient(&b)) return false;
  *rect = {a.x, a.y, b.x, b.y};
  return Normalise(rect);
}

bool ViewMapping::ClientToPage(gdi::Rect* rect) const {
  gdi::Point a = rect->TopLeft(), b = rect->BottomRight();
  if (!ClientToPage(&a) || !ClientToPage(&b)) return false;
  *rect = {a.x, a.y, b.x, b.y};
  return Normalise(rect);
}

gdi::Size PageLayoutExtent(gdi::Size page, int zoom) {
  const int z = std::max(zoom, kMinZoom);
  return {MulDiv(page.cx, z, 100) + 2 * kPageMargin, MulDiv(page.cy, z, 100) + 2 * kPageMargin};
}

int ZoomForCommand(unsigned id, gdi::Size client, gdi::Size page, int current) {
  constexpr unsigned kPageWidth = 1500;
  int zoom = 0;
  if (id == kPageWidth) {
    if (page.cx <= 0 || page.cy <= 0 || client.cx <= 0 || client.cy <= 0) return current;
    zoom = std::min(MulDiv(client.cx - 2 * kPageMargin, 100, page.cx), MulDiv(client.cy - 2 * kPageMargin, 100, page.cy));
  } else {
    zoom = static_cast<int>(id) - static_cast<int>(kPageWidth);
  }
  return std::max(zoom, kMinZoom);
}

float RulerOriginMillimetres(int scrollPosition, int zoom) {
  const int z = std::max(zoom, kMinZoom);
  constexpr float kPixelsPerMillimetre = 4.0f;
  return static_cast<float>(scrollPosition - kPageMargin) * 100.0f / (static_cast<float>(z) * kPixelsPerMillimetre);
}

}  // namespace saview
