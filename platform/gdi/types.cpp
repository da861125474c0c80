#include "platform/gdi/types.h"

#include <algorithm>
#include <atomic>

#include "platform/base/numtext.h"
#include "platform/gdi/internal.h"

namespace gdi {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) { return plat::mulDiv(a, b, c); }

int DeviceCaps::HorzSizeMm() const { return logPixelsX > 0 ? MulDiv(horzRes, 254, logPixelsX * 10) : 0; }
int DeviceCaps::VertSizeMm() const { return logPixelsY > 0 ? MulDiv(vertRes, 254, logPixelsY * 10) : 0; }

namespace {
// The display's size in pixels once the window layer has one (0: none, the fixed screen).
std::atomic<int> g_displayWidth{0};
std::atomic<int> g_displayHeight{0};
}  // namespace

void SetDisplaySize(int width, int height) {
  g_displayWidth = std::max(0, width);
  g_displayHeight = std::max(0, height);
}

DeviceCaps ScreenCaps() {
  DeviceCaps caps;
  caps.technology = DT_RASDISPLAY;
  const int width = g_displayWidth, height = g_displayHeight;
  caps.horzRes = width > 0 && height > 0 ? width : 1920;
  caps.vertRes = width > 0 && height > 0 ? height : 1080;
  caps.logPixelsX = caps.logPixelsY = 96;
  return caps;
}

COLORREF GetSysColor(int index) {
  // The classic grey scheme.
  static constexpr COLORREF kColors[] = {
      RGB(212, 208, 200),  // COLOR_SCROLLBAR
      RGB(58, 110, 165),   // COLOR_BACKGROUND
      RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
      RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
      RGB(212, 208, 200),  // COLOR_MENU
      RGB(255, 255, 255),  // COLOR_WINDOW
      RGB(0, 0, 0),        // COLOR_WINDOWFRAME
      RGB(0, 0, 0),        // COLOR_MENUTEXT
      RGB(0, 0, 0),        // COLOR_WINDOWTEXT
      RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
      RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
      RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
      RGB(128, 128, 128),  // COLOR_APPWORKSPACE
      RGB(10, 36, 106),    // COLOR_HIGHLIGHT
      RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
      RGB(212, 208, 200),  // COLOR_BTNFACE
      RGB(128, 128, 128),  // COLOR_BTNSHADOW
      RGB(128, 128, 128),  // COLOR_GRAYTEXT
      RGB(0, 0, 0),        // COLOR_BTNTEXT
      RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
      RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
      RGB(64, 64, 64),     // COLOR_3DDKSHADOW
      RGB(212, 208, 200),  // COLOR_3DLIGHT
      RGB(0, 0, 0),        // COLOR_INFOTEXT
      RGB(255, 255, 225),  // COLOR_INFOBK
  };
  if (index < 0 || index >= static_cast<int>(std::size(kColors))) return 0;
  return kColors[index];
}

namespace detail {

std::uint32_t Rop3(std::uint8_t code, std::uint32_t pat, std::uint32_t src, std::uint32_t dst) {
  // The code's bit m is the result for pattern = m & 4, source = m & 2, destination = m & 1.
  std::uint32_t r = 0;
  for (int m = 0; m < 8; ++m) {
    if (!(code >> m & 1)) continue;
    r |= ((m & 4) ? pat : ~pat) & ((m & 2) ? src : ~src) & ((m & 1) ? dst : ~dst);
  }
  return r;
}

std::uint32_t Rop2(int rop, std::uint32_t pen, std::uint32_t dst) {
  switch (rop) {
    case R2_COPYPEN: return pen;
    case R2_XORPEN: return pen ^ dst;
    case R2_NOT: return ~dst;
    case R2_NOTXORPEN: return ~(pen ^ dst);
    case R2_NOP: return dst;
    case R2_BLACK: return 0;
    case R2_WHITE: return ~0u;
    default: break;
  }
  if (rop < R2_BLACK || rop > R2_WHITE) return pen;
  // The code (rop - 1) has bit (P << 1 | D) set where the result is 1.
  const unsigned code = static_cast<unsigned>(rop - 1);
  std::uint32_t r = 0;
  for (int m = 0; m < 4; ++m) {
    if (!(code >> m & 1)) continue;
    r |= ((m & 2) ? pen : ~pen) & ((m & 1) ? dst : ~dst);
  }
  return r;
}

std::uint8_t Rop3OfRop2(int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) rop2 = R2_COPYPEN;
  // Spread the 4-entry table over (P, D) to the 8-entry one over (P, S, D), ignoring S.
  const unsigned code = static_cast<unsigned>(rop2 - 1);
  std::uint8_t out = 0;
  for (int m = 0; m < 8; ++m) {
    const int p = (m >> 2) & 1, d = m & 1;
    if (code >> (p << 1 | d) & 1) out = static_cast<std::uint8_t>(out | 1 << m);
  }
  return out;
}

}  // namespace detail
}  // namespace gdi
