#pragma once
// CSoftButtonCtl: the soft button (coclass SoftButton, CLSID_SoftButton), a push button that
// lights up while the pointer is over it and fires ButtonPressed when it is clicked. Its window
// is a "BUTTON" of the window system that the control draws itself: a dark blue face while cold,
// a bright blue one on a raised button while hot. It has no caption.
//
// All soft buttons of the module share one thread mouse hook: it is installed with the first
// button window and removed with the last, and tells every live button on each mouse message
// whether the pointer is over its window. All soft buttons live on the user-interface thread.
#include <cstddef>

#include "controls/base/karvelcontrol.h"

namespace karvel {

class CSoftButtonCtl : public CKarvelControl {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CSoftButtonCtl();
  ~CSoftButtonCtl() override;

  static const plat::ole::DispInterfaceDesc& Dispatch();
  static const plat::ole::DispInterfaceDesc& Events();
  static const plat::ole::CoClassDesc& CoClass();

  bool CreateControlWindow(plat::ole::HWND parent, const gdi::Rect& position, const gdi::Rect* clip) override;
  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;
  // The button's notifications, reflected by its parent: every command fires ButtonPressed, and
  // the window system's drawing requests draw the face.
  bool OnChildNotify(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) override;

  void AboutBox() {}

  bool IsHot() const { return m_hot; }
  // The shared hook and the number of live soft button windows.
  static bool HookInstalled();
  static std::size_t LiveButtons();

 private:
  int OnCreate(ui::CREATESTRUCT* cs);
  void OnDestroy();
  static ui::LRESULT MouseHook(int code, ui::WPARAM wParam, ui::LPARAM lParam);

  bool m_hot = false;
};

}  // namespace karvel
