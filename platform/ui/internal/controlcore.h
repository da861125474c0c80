#pragma once
// The common part of the standard controls' cores (platform/ui sources only).
#include "platform/ui/internal/state.h"
#include "platform/ui/internal/wndaccess.h"

namespace ui {

class ToolkitCore : public Core {
 public:
  using Core::Core;

  bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  // The focus notification codes of the class (-1: none).
  virtual int FocusCode(bool gained) const {
    (void)gained;
    return -1;
  }
  UINT Id() const { return impl_->id; }
  // WM_COMMAND with code to the parent, unless the program is changing the control itself.
  void Notify(int code);
  // WM_NOTIFY to the parent; answers its result.
  LRESULT NotifyParent(NMHDR* hdr, int code);
  // Sends WM_DRAWITEM to the parent, with a DC over the painter.
  void SendDrawItem(class QPainter& painter, UINT type, int item, UINT action, UINT state, const Rect& rect, UINT_PTR data);
  // Asks the parent for an owner-drawn item's height (WM_MEASUREITEM); fallback when unanswered.
  UINT MeasureItem(UINT type, int item, UINT_PTR data, UINT fallback);
  // Replaces the window's widget (a list view changing between report and icon views).
  void ReplaceWidget(QWidget* widget);

  // Set while the program changes the control: notifications of user actions stay quiet.
  int quiet = 0;
  struct Quiet {
    ToolkitCore* core;
    explicit Quiet(ToolkitCore* c) : core(c) { ++core->quiet; }
    ~Quiet() { --core->quiet; }
  };
};

// A control object of the product's draws and measures its own owner-drawn items (the parent
// reflects WM_DRAWITEM and WM_MEASUREITEM to it); the layer's own item objects leave them to the
// parent. True when the control took the message.
template <class Control>
bool ReflectOwnerDraw(Control* control, UINT message, LPARAM lParam) {
  if (WndAccess::IsLayerObject(control)) return false;
  if (message == WM_DRAWITEM) {
    control->DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return true;
  }
  if constexpr (requires { control->MeasureItem(static_cast<MEASUREITEMSTRUCT*>(nullptr)); }) {
    if (message == WM_MEASUREITEM) {
      control->MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return true;
    }
  }
  return false;
}

}  // namespace ui
