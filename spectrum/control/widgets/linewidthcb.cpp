#include "spectrum/control/widgets/linewidthcb.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/gdi/dc.h"

UI_IMPLEMENT_DYNAMIC(CLineWidthCB, ui::ComboBox)

int LineWidthPixels(long hundredthsMm, int pixelsPerInch) {
  const double pixels = pixelsPerInch * (hundredthsMm * 0.01) * 0.03937008;
  if (!std::isfinite(pixels) || pixels <= 0.0) return 0;
  return static_cast<int>(std::min(pixels, 1000.0));
}

void CLineWidthCB::DrawItem(ui::DRAWITEMSTRUCT* dis) {
  if (!dis || !dis->hDC || static_cast<int>(dis->itemID) < 0) return;
  gdi::DC& dc = *dis->hDC;
  const gdi::Rect item = dis->rcItem;
  dc.FillRect(item, dc.GetCurrentBrush());
  const gdi::Font oldFont = dc.SelectObject(GetFont());
  const gdi::Pen oldPen = dc.SelectObject(gdi::StockPen(gdi::BLACK_PEN));

  const long width = static_cast<long>(static_cast<std::int32_t>(dis->itemData));
  if (width == 0) {
    gdi::Rect r = item;
    dc.DrawText("minimal", &r, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
  } else {
    gdi::TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    char text[32];
    std::snprintf(text, sizeof text, "%.2f mm", width * 0.01);
    gdi::Rect label(item.left, item.top, item.left + 10 * tm.tmAveCharWidth, item.bottom);
    dc.DrawText(text, &label, gdi::DT_RIGHT | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    const gdi::LOGPEN current = dc.GetCurrentPen().Log();
    const gdi::Pen sample(current.lopnStyle, LineWidthPixels(width, dc.GetDeviceCaps(gdi::LOGPIXELSY)), current.lopnColor);
    const gdi::Pen before = dc.SelectObject(sample);
    const int y = (item.top + item.bottom) / 2;
    dc.MoveTo(item.left + 11 * tm.tmAveCharWidth, y);
    dc.LineTo(item.right, y);
    dc.SelectObject(before);
  }
  dc.SelectObject(oldPen);
  dc.SelectObject(oldFont);
}
