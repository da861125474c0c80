// System metrics.
#include "platform/ui/metrics.h"

#include "platform/ui/internal/state.h"

namespace ui {

Rect GetWorkArea() {
  const AppState* st = AppState::Existing();
  if (st && !st->workArea.IsRectEmpty()) return st->workArea;
  const gdi::DeviceCaps screen = gdi::ScreenCaps();
  return Rect(0, 0, screen.horzRes, screen.vertRes);
}

int GetSystemMetrics(int index) {
  const gdi::DeviceCaps screen = gdi::ScreenCaps();
  switch (index) {
    case SM_CXSCREEN: return screen.horzRes;
    case SM_CYSCREEN: return screen.vertRes;
    case SM_CXFULLSCREEN: return GetWorkArea().Width();
    case SM_CYFULLSCREEN: return GetWorkArea().Height() - GetSystemMetrics(SM_CYCAPTION);
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: case SM_CYVTHUMB: case SM_CXHTHUMB:
      return 16;
    case SM_CYCAPTION: return 18;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CXSIZE: case SM_CYSIZE: case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_CYSMCAPTION: return 15;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    default: return 0;
  }
}

void GetNonClientMetrics(NONCLIENTMETRICS* m) {
  if (!m) return;
  *m = NONCLIENTMETRICS();
  gdi::LOGFONTA font;
  font.lfHeight = -11;  // 8 points at 96 pixels per inch
  font.lfWeight = gdi::FW_NORMAL;
  gdi::SetFaceName(font, "MS Sans Serif");
  m->lfMenuFont = m->lfStatusFont = m->lfMessageFont = m->lfSmCaptionFont = font;
  font.lfWeight = gdi::FW_BOLD;
  m->lfCaptionFont = font;
}

}  // namespace ui
