#include "controls/softbutton/softbutton.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/module/karvel_ids.h"
#include "platform/ui/app.h"
#include "platform/ui/dc.h"

namespace karvel {

using namespace plat::ole;

namespace {

const Guid kPropPages[] = {CLSID_SoftButtonPropPage};

constexpr gdi::COLORREF kHotFace = 0xFF0000;   // bright blue
constexpr gdi::COLORREF kColdFace = 0x7D0000;  // dark blue
constexpr int kFaceInset = 3;

// What the soft buttons of the module share: the live buttons (the list exists while one does)
// and the mouse hook of their thread.
struct SharedHook {
  std::unique_ptr<std::vector<CSoftButtonCtl*>> buttons;
  ui::HHOOK hook{};
};

SharedHook& Shared() {
  static SharedHook shared;
  return shared;
}

}  // namespace

UI_BEGIN_MESSAGE_MAP(CSoftButtonCtl, CKarvelControl)
  ui::map::Create(&CSoftButtonCtl::OnCreate),
  ui::map::Destroy(&CSoftButtonCtl::OnDestroy),
UI_END_MESSAGE_MAP()

const DispInterfaceDesc& CSoftButtonCtl::Dispatch() {
  static constexpr DispEntry kMembers[] = {
      dispMethod<&CSoftButtonCtl::AboutBox>("AboutBox", DISPID_ABOUTBOX, DispType::Void),
  };
  static constexpr DispInterfaceDesc kDesc{"_DSoftButton", &DIID__DSoftButton,
                                           "Dispatch interface for Soft Button Control", kMembers};
  return kDesc;
}

const DispInterfaceDesc& CSoftButtonCtl::Events() {
  static constexpr DispEntry kEvents[] = {dispEvent("ButtonPressed", kedrus_dispid::kSoftButtonPressed)};
  static constexpr DispInterfaceDesc kDesc{"_DSoftButtonEvents", &DIID__DSoftButtonEvents,
                                           "Event interface for Soft Button Control", kEvents};
  return kDesc;
}

const CoClassDesc& CSoftButtonCtl::CoClass() {
  static const CoClassDesc kDesc{"SoftButton", &CLSID_SoftButton, "Soft Button Control", &Dispatch(), &Events()};
  return kDesc;
}

CSoftButtonCtl::CSoftButtonCtl() : CKarvelControl(CoClass(), kSoftButtonTypeName, kPropPages, kPropertiesVerb) {}

CSoftButtonCtl::~CSoftButtonCtl() {
  if (IsWindow()) DestroyWindow();
}

bool CSoftButtonCtl::CreateControlWindow(plat::ole::HWND parent, const gdi::Rect& position, const gdi::Rect* clip) {
  if (IsWindow()) return CKarvelControl::CreateControlWindow(parent, position, clip);
  ui::Wnd* host = ui::Wnd::FromHandle(parent);
  if (!host) return false;
  // The window system's button, drawn by the control.
  return CreateEx(0, "BUTTON", "", ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_CLIPSIBLINGS | ui::BS_OWNERDRAW, position,
                  host, 0);
}

int CSoftButtonCtl::OnCreate(ui::CREATESTRUCT*) {
  SharedHook& shared = Shared();
  if (!shared.buttons) {
    shared.buttons = std::make_unique<std::vector<CSoftButtonCtl*>>();
    shared.hook = ui::SetWindowsHookEx(ui::WH_MOUSE, &CSoftButtonCtl::MouseHook);
  }
  shared.buttons->push_back(this);
  return 0;
}

void CSoftButtonCtl::OnDestroy() {
  SharedHook& shared = Shared();
  if (shared.buttons) {
    auto& buttons = *shared.buttons;
    if (auto it = std::find(buttons.begin(), buttons.end(), this); it != buttons.end()) buttons.erase(it);
    if (buttons.empty()) {
      ui::UnhookWindowsHookEx(shared.hook);
      shared.hook = {};
      shared.buttons.reset();
    }
  }
  Default();
}

ui::LRESULT CSoftButtonCtl::MouseHook(int code, ui::WPARAM wParam, ui::LPARAM lParam) {
  SharedHook& shared = Shared();
  if (code >= 0 && shared.buttons && lParam) {
    const auto* mouse = reinterpret_cast<const ui::MOUSEHOOKSTRUCT*>(lParam);
    // A copy: redrawing may not change the list, but nothing here relies on that.
    const std::vector<CSoftButtonCtl*> buttons = *shared.buttons;
    for (CSoftButtonCtl* button : buttons) {
      gdi::Rect window;
      button->GetWindowRect(&window);
      const bool hot = window.PtInRect(mouse->pt);
      if (hot == button->m_hot) continue;
      button->m_hot = hot;
      button->Invalidate();
    }
  }
  return ui::CallNextHookEx(shared.hook, code, wParam, lParam);
}

void CSoftButtonCtl::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) {
  if (m_hot) {
    // The system button's own face: a raised push button.
    dc->FillSolidRect(bounds, gdi::GetSysColor(gdi::COLOR_BTNFACE));
    gdi::Rect edge = bounds;
    dc->DrawEdge(&edge, gdi::EDGE_RAISED, gdi::BF_RECT);
  } else {
    const gdi::Brush grey = gdi::StockBrush(gdi::LTGRAY_BRUSH);
    dc->FillRect(bounds, grey);
  }
  gdi::Rect face = bounds;
  face.DeflateRect(kFaceInset, kFaceInset);
  dc->FillSolidRect(face, m_hot ? kHotFace : kColdFace);
}

bool CSoftButtonCtl::OnChildNotify(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) {
  if (message == ui::WM_COMMAND) {
    FireEvent(kedrus_dispid::kSoftButtonPressed);
    if (result) *result = 0;
    return true;
  }
  if (message == ui::WM_DRAWITEM && lParam) {
    const auto* item = reinterpret_cast<const ui::DRAWITEMSTRUCT*>(lParam);
    OnDraw(item->hDC, item->rcItem, item->rcItem);
    if (result) *result = 1;
    return true;
  }
  return CKarvelControl::OnChildNotify(message, wParam, lParam, result);
}

bool CSoftButtonCtl::HookInstalled() { return Shared().hook != ui::HHOOK{}; }

std::size_t CSoftButtonCtl::LiveButtons() { return Shared().buttons ? Shared().buttons->size() : 0; }

}  // namespace karvel
