#pragma once
// Device contexts over windows the product draws itself.
//
// PaintDC (in a WM_PAINT handler) draws into the window's client surface, clipped to the
// update region, which it validates; it sends WM_ERASEBKGND first when the invalidation asked
// for erasing. ClientDC draws into the same surface at any time (XOR marks during a mouse move),
// WindowDC into the whole window including the non-client area. The pixels reach the screen
// when the DC is done. On windows the toolkit draws (standard controls) they draw nothing.
#include "platform/gdi/dc.h"
#include "platform/ui/wnd.h"

namespace ui {

struct PAINTSTRUCT {
  Rect rcPaint;          // bounds of the update region
  bool fErase = false;   // the background still needs erasing (WM_ERASEBKGND answered 0)
};

gdi::DC BeginPaint(Wnd* wnd, PAINTSTRUCT* ps);
void EndPaint(Wnd* wnd, const PAINTSTRUCT* ps);

class PaintDC : public gdi::DC {
 public:
  explicit PaintDC(Wnd* wnd);
  ~PaintDC();
  PAINTSTRUCT m_ps;
  Wnd* m_pWnd;
};

class ClientDC : public gdi::DC {
 public:
  explicit ClientDC(Wnd* wnd);
  Wnd* m_pWnd;
};

// Window coordinates: (0, 0) is the window's top-left corner.
class WindowDC : public gdi::DC {
 public:
  explicit WindowDC(Wnd* wnd);
  Wnd* m_pWnd;
};

}  // namespace ui
