#pragma once
// Operations of the layer on windows that product code never calls (platform/ui sources only).
#include "platform/ui/internal/state.h"

namespace ui {

class WndAccess {
 public:
  // A window-system move or resize of a top-level window: rect follows the widget.
  static void ToolkitMovedTopLevel(WndImpl* impl);
  // Computes the non-client insets again (WM_NCCALCSIZE) and applies them.
  static void RecalcNonClient(WndImpl* impl);
  // Marks an object as made by the layer: it is deleted with its window.
  static void SetLayerObject(Wnd* wnd, bool on) { wnd->layerObject_ = on; }
  static bool IsLayerObject(const Wnd* wnd) { return wnd->layerObject_; }
  static WndImpl* Impl(const Wnd* wnd) { return wnd ? wnd->impl_.get() : nullptr; }
  // The core of a window's class, if it is of type C.
  template <class C>
  static C* CoreAs(const Wnd* wnd) {
    WndImpl* impl = Impl(wnd);
    return impl && impl->hwnd != kNoWnd && impl->core ? dynamic_cast<C*>(impl->core.get()) : nullptr;
  }
  // The standard non-client widths of a window's styles.
  static Rect DefaultInsets(const WndImpl* impl, const Rect& windowRect);
  // Draws the standard non-client area (borders, caption) into the window surface.
  static void PaintDefaultNonClient(WndImpl* impl);
  // What a point of a window (window coordinates) is: HTCLIENT, HTCAPTION, a caption button
  // (HTCLOSE, HTMAXBUTTON, HTMINBUTTON) or HTBORDER.
  static int NonClientHitTest(const WndImpl* impl, Point windowPoint);
};

}  // namespace ui
