#pragma once
// CControlHost: a child window that holds one control of another module, made by class id and
// active in place inside it, and reached by dispatch id. The host is the control's site (client
// and in-place site, the host's window as the site window, no frame) and hears the control's
// events through a sink on its event interface, handing each event's dispatch id to the
// handler the owner set.
//
// When the class cannot be made (not registered, or its module missing) Create fails and the
// host has no window; its getters then answer their defaults and its setters do nothing.
#include <functional>
#include <string_view>

#include "platform/com/dispatch.h"
#include "platform/com/driver.h"
#include "platform/ole/interfaces.h"
#include "platform/ui/wnd.h"

class CControlSite;

class CControlHost : public ui::Wnd {
  UI_DECLARE_DYNAMIC(CControlHost)
  UI_DECLARE_MESSAGE_MAP()

 public:
  using EventHandler = std::function<void(plat::ole::DispId event)>;

  ~CControlHost() override;

  // The control of clsid, its events on the dispatch interface events, in a child window of
  // parent with the given style, rectangle and id; the window text becomes the control's
  // caption. False, with no window, when the control cannot be made or activated.
  bool CreateControl(const plat::ole::Guid& clsid, const plat::ole::Guid& events, std::string_view windowName,
                     ui::DWORD style, const ui::Rect& rect, ui::Wnd* parent, ui::UINT id);
  bool HasControl() const { return m_object != nullptr; }
  void SetEventHandler(EventHandler handler) { m_onEvent = std::move(handler); }

  // Typed property access by dispatch id; false when there is no control or the call fails.
  bool GetFloat(plat::ole::DispId id, float* value);
  bool SetFloat(plat::ole::DispId id, float value);
  bool GetInt(plat::ole::DispId id, std::int32_t* value);
  bool SetInt(plat::ole::DispId id, std::int32_t value);
  bool SetText(plat::ole::DispId id, std::string_view text);

  // The control's window (null when there is none).
  ui::Wnd* ControlWindow() const;
  plat::ole::IDispatch* Dispatch() const { return m_dispatch.get(); }

  void OnSize(ui::UINT type, int cx, int cy);
  void OnDestroy();

 private:
  friend class CControlSite;
  void OnControlEvent(plat::ole::DispId event);
  void CloseControl();

  CControlSite* m_site = nullptr;
  plat::ole::IOleObject* m_object = nullptr;
  plat::ole::DispatchDriver m_dispatch;
  EventHandler m_onEvent;
};
