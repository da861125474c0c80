#pragma once
// System metrics and the non-client fonts, as the product asks for them. One fixed classic set:
// the same on every machine, so layouts (menu bars, captions, scroll bars) do not depend on it.
#include "platform/gdi/objects.h"
#include "platform/ui/types.h"

namespace ui {

constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
              SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CYVTHUMB = 9,
              SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14,
              SM_CYMENU = 15, SM_CXFULLSCREEN = 16, SM_CYFULLSCREEN = 17, SM_CYVSCROLL = 20, SM_CXHSCROLL = 21,
              SM_CXMIN = 28, SM_CYMIN = 29, SM_CXSIZE = 30, SM_CYSIZE = 31, SM_CXFRAME = 32, SM_CYFRAME = 33,
              SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXSMICON = 49,
              SM_CYSMICON = 50, SM_CYSMCAPTION = 51, SM_CXMENUSIZE = 54, SM_CYMENUSIZE = 55, SM_CXMENUCHECK = 71,
              SM_CYMENUCHECK = 72;

// 0 for an index it does not know. The screen's size and the work area come from the display
// when there is one; the rest is the fixed set.
int GetSystemMetrics(int index);
// The display's work area (what windows may cover: the screen less the desktop's panels), in
// screen coordinates; the whole screen without a display.
Rect GetWorkArea();

struct NONCLIENTMETRICS {
  int iBorderWidth = 1;
  int iScrollWidth = 16;
  int iScrollHeight = 16;
  int iCaptionWidth = 18;
  int iCaptionHeight = 18;
  gdi::LOGFONTA lfCaptionFont;
  int iSmCaptionWidth = 12;
  int iSmCaptionHeight = 15;
  gdi::LOGFONTA lfSmCaptionFont;
  int iMenuWidth = 18;
  int iMenuHeight = 18;
  gdi::LOGFONTA lfMenuFont;
  gdi::LOGFONTA lfStatusFont;
  gdi::LOGFONTA lfMessageFont;
};
void GetNonClientMetrics(NONCLIENTMETRICS* metrics);

}  // namespace ui
