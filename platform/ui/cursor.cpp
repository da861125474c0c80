// Cursors: the standard shapes, cursors from resources and from mask and colour bitmaps.
#include <QBitmap>
#include <QPixmap>

#include <map>

#include "platform/gdi/qt_bridge.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/resource.h"
#include "platform/ui/testing.h"

namespace ui {

namespace {

Qt::CursorShape ShapeOf(UINT id) {
  switch (id) {
    case IDC_IBEAM: return Qt::IBeamCursor;
    case IDC_WAIT: return Qt::WaitCursor;
    case IDC_CROSS: return Qt::CrossCursor;
    case IDC_UPARROW: return Qt::UpArrowCursor;
    case IDC_SIZENWSE: return Qt::SizeFDiagCursor;
    case IDC_SIZENESW: return Qt::SizeBDiagCursor;
    case IDC_SIZEWE: return Qt::SizeHorCursor;
    case IDC_SIZENS: return Qt::SizeVerCursor;
    case IDC_SIZEALL: return Qt::SizeAllCursor;
    case IDC_NO: return Qt::ForbiddenCursor;
    case IDC_HAND: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
  }
}

// Pixels of color where the mask is black; transparent where it is white.
QPixmap Compose(const gdi::Bitmap& mask, const gdi::Bitmap& color) {
  QImage m = gdi::qt::ToQImage(mask).convertToFormat(QImage::Format_RGB32);
  QImage c = gdi::qt::ToQImage(color).convertToFormat(QImage::Format_RGB32);
  QImage out(m.size(), QImage::Format_ARGB32);
  for (int y = 0; y < m.height(); ++y)
    for (int x = 0; x < m.width(); ++x) {
      const bool shows = qGray(m.pixel(x, y)) < 128;
      const QRgb px = (x < c.width() && y < c.height()) ? c.pixel(x, y) : qRgb(0, 0, 0);
      out.setPixel(x, y, shows ? (px | 0xFF000000u) : 0u);
    }
  return QPixmap::fromImage(out);
}

}  // namespace

HCURSOR LoadStandardCursor(UINT id) {
  // Kept for the process, like the platform's shared cursors.
  static auto* cache = new std::map<UINT, Cursor*>;
  auto it = cache->find(id);
  if (it != cache->end()) return it->second;
  auto* c = new Cursor(QCursor(ShapeOf(id)));
  (*cache)[id] = c;
  return c;
}

HCURSOR LoadCursor(UINT resourceId) {
  if (resourceId >= IDC_ARROW && resourceId <= IDC_HAND) return LoadStandardCursor(resourceId);
  const CursorResource* r = FindCursorResource(resourceId);
  if (!r) return nullptr;
  // One cursor per resource entry, kept for the process (like a shared resource handle).
  static auto* cache = new std::map<const CursorResource*, Cursor*>;
  auto it = cache->find(r);
  if (it != cache->end()) return it->second;
  gdi::Bitmap mask, color;
  if (!mask.LoadBmp(r->mask) || !color.LoadBmp(r->color)) return nullptr;
  auto* c = new Cursor(QCursor(Compose(mask, color), r->hotSpot.x, r->hotSpot.y));
  (*cache)[r] = c;
  return c;
}

HCURSOR CreateCursor(const gdi::Bitmap& mask, const gdi::Bitmap& color, Point hotSpot) {
  if (mask.IsNull()) return nullptr;
  return new Cursor(QCursor(Compose(mask, color.IsNull() ? mask : color), hotSpot.x, hotSpot.y));
}

void DestroyCursor(HCURSOR cursor) {
  AppState* st = AppState::Existing();
  if (st && st->cursor == cursor) st->cursor = nullptr;
  delete cursor;
}

HCURSOR SetCursor(HCURSOR cursor) {
  AppState& st = AppState::Get();
  HCURSOR old = st.cursor;
  st.cursor = cursor;
  if (WndImpl* impl = st.Lookup(st.cursorWindow))
    if (impl->widget) {
      if (cursor) impl->widget->setCursor(cursor->cursor);
      else impl->widget->setCursor(Qt::BlankCursor);
    }
  return old;
}

HCURSOR GetCursor() {
  AppState* st = AppState::Existing();
  return st ? st->cursor : nullptr;
}

std::set<COLORREF> testing::CursorColors(HCURSOR cursor) {
  std::set<COLORREF> colors;
  if (!cursor) return colors;
  const QImage image = cursor->cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb px = image.pixel(x, y);
      if (qAlpha(px) != 0) colors.insert(gdi::RGB(qRed(px), qGreen(px), qBlue(px)));
    }
  return colors;
}

}  // namespace ui
