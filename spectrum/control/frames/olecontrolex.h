#pragma once
// COleControlEx: an OLE control that carries dockable tool bars. A small frame of its own,
// CControlFrameWnd, stands between the container's window and the control's window, and every
// control of one container frame window attaches to one shared docking frame, CMainFrameWnd,
// that lives in the container's frame window and holds the bars. The first control of that
// window makes the bars (CreateControlBars), the last one saves their layout under "Toolbars"
// and destroys them; the bars show in the border space the container grants while a control is
// UI-active, and their commands go to the control that is active.
#include "platform/ole/control.h"
#include "platform/ui/controls.h"
#include "platform/ui/resource.h"

class CControlFrameWnd;
class CMainFrameWnd;

class COleControlEx : public plat::ole::OleControl {
  UI_DECLARE_DYNAMIC(COleControlEx)
  UI_DECLARE_MESSAGE_MAP()

 public:
  // ---- Operations a control may override, in this order ----
  // A new control frame for this control, a child of parent at position.
  virtual CControlFrameWnd* CreateControlFrame(ui::Wnd* parent, const gdi::Rect& position);
  // Shows the bars of the main frame that only the last deactivation hid (and the main frame),
  // or hides the docked ones that show, marking them to come back.
  virtual void ShowDockedBars(CMainFrameWnd* frame, bool show);
  // Negotiates the border space for the bars with the UI window (see the source) and lays them
  // out in what it grants; border is the rectangle to use, or null to ask the window.
  virtual void RepositionBars(const gdi::Rect* border, plat::ole::IOleInPlaceUIWindow* uiWindow, bool flag);
  // Makes the bars in the first control's main frame; the base loads their layout ("Toolbars").
  virtual void CreateControlBars(CMainFrameWnd* frame);
  // The idle update of every bar's buttons, while in place with a main frame.
  virtual void UpdateBars();

  CControlFrameWnd* GetControlFrame() const { return m_pControlFrame; }
  CMainFrameWnd* GetMainFrame() const { return m_pMainFrame; }
  ui::ToolTipCtrl& GetToolTips() { return m_toolTips; }

  // ---- The base's operations this class changes ----
  bool CreateControlWindow(ui::HWND parent, const gdi::Rect& position, const gdi::Rect* clip) override;
  void OnShowToolBars() override;
  void OnHideToolBars() override;
  void AddFrameLevelUI() override;
  plat::ole::IOleInPlaceActiveObject* InPlaceActiveObject() override;
  void OnReflectorDestroyed() override;

  plat::ole::HResult OnActivateInPlace(bool uiActivate, ui::MSG* msg) override;
  void OnClose(plat::DWord saveOption) override;
  ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override;
  int OnCreate(ui::CREATESTRUCT* cs);
  void OnDestroy();

 protected:
  // module: the state of the control's module (its resources and profile), entered by every
  // window message and by the calls through which the container drives the bars.
  COleControlEx(const plat::ole::CoClassDesc& coclass, const plat::ole::TypeLibDesc* library,
                ui::ModuleState* module = nullptr);
  ~COleControlEx() override;
  // The control's module state in force until the scope ends.
  ui::ModuleStateScope EnterModule() const;

  const InterfaceMap& GetInterfaceMap() const override { return kInterfaceMap; }
  static const InterfaceMap kInterfaceMap;

 private:
  // The in-place active object the container gets: the base's, except that a document window's
  // activation brings the frame-level user interface back or hides the bars, and a resized
  // frame border renegotiates the bars.
  struct XOleInPlaceActiveObject : plat::ole::Nested<plat::ole::IOleInPlaceActiveObject> {
    using Nested::Nested;
    plat::ole::HResult GetWindow(ui::HWND* hwnd) override;
    plat::ole::HResult ContextSensitiveHelp(plat::ole::Bool32 enterMode) override;
    plat::ole::HResult TranslateAccelerator(ui::MSG* msg) override;
    plat::ole::HResult OnFrameWindowActivate(plat::ole::Bool32 activate) override;
    plat::ole::HResult OnDocWindowActivate(plat::ole::Bool32 activate) override;
    plat::ole::HResult ResizeBorder(const gdi::Rect* border, plat::ole::IOleInPlaceUIWindow* window,
                                    plat::ole::Bool32 frameWindow) override;
    plat::ole::HResult EnableModeless(plat::ole::Bool32 enable) override;
  } m_xOleInPlaceActiveObject{*this};
  static const InterfaceEntry kEntries[];

  ui::ModuleState* m_pModuleState;
  CControlFrameWnd* m_pControlFrame = nullptr;  // deletes itself with its window
  CMainFrameWnd* m_pMainFrame = nullptr;        // shared; released at window destruction
  bool m_bInLayout = false;                     // while bar positions are negotiated
  ui::ToolTipCtrl m_toolTips;
};
