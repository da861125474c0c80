#pragma once
// Frames: a top-level window with a menu bar, a status bar and control bars docked on its four
// sides or floating in small frames of their own, and the view (or the MDI client) filling the
// rest. The frame routes commands: the active view (and its document) first, then itself, then
// the application. Multiple-document frames add child frames, one per open view.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/menu.h"
#include "platform/ui/wnd.h"

namespace ui {

class ControlBar;
class DockBar;
class DockState;
class DocTemplate;
class Document;
class MDIChildWnd;
class View;

// What a frame needs to make its view (passed through creation).
struct CreateContext {
  const RuntimeClass* m_pNewViewClass = nullptr;
  Document* m_pCurrentDoc = nullptr;
  DocTemplate* m_pNewDocTemplate = nullptr;
  View* m_pLastView = nullptr;
  class FrameWnd* m_pCurrentFrame = nullptr;
};

// LoadFrame style: put the document's title in the frame's caption.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// What the in-place frame of an embedded object (platform/ole) hears from its frame: the layout
// changed, commands that belong to the object's menus, input to offer the object first, the
// frame going away. The frame does not own its hook.
class FrameNotifyHook {
 public:
  virtual ~FrameNotifyHook() = default;
  virtual void OnRecalcLayout() {}
  // The window that takes the commands of a popup of the frame's menu bar: the active object's
  // for the popups it merged in (kNoWnd: the frame's own route).
  virtual HWND PopupOwner(const Menu* popup) {
    (void)popup;
    return kNoWnd;
  }
  virtual bool OnPreTranslateMessage(MSG* msg) {
    (void)msg;
    return false;
  }
  virtual void OnFrameDestroy() {}
};

class FrameWnd : public Wnd {
  UI_DECLARE_DYNCREATE(FrameWnd)
  UI_DECLARE_MESSAGE_MAP()

 public:
  FrameWnd();
  ~FrameWnd() override;

  static const Rect rectDefault;

  bool Create(const char* className, std::string_view title, DWORD style = WS_OVERLAPPEDWINDOW,
              const Rect& rect = rectDefault, Wnd* parent = nullptr, UINT menuId = 0, DWORD exStyle = 0,
              CreateContext* context = nullptr);
  // The frame's resources share one id: the menu, the accelerator table and the title (the
  // first substring of the string resource).
  virtual bool LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, Wnd* parent = nullptr,
                         CreateContext* context = nullptr);
  UINT m_nIDHelp = 0;

  // --- Views and documents ---------------------------------------------------------------------------
  virtual View* GetActiveView() const;
  void SetActiveView(View* view, bool notify = true);
  virtual Document* GetActiveDocument();
  // Itself; an MDI frame answers its active child.
  virtual FrameWnd* GetActiveFrame() { return this; }
  virtual bool OnCreateClient(CREATESTRUCT* cs, CreateContext* context);
  Wnd* CreateView(CreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
  virtual void InitialUpdateFrame(Document* doc, bool makeVisible);
  virtual void ActivateFrame(int cmdShow = -1);
  virtual void OnUpdateFrameTitle(bool addToTitle);
  std::string m_strTitle;
  // Frames delete themselves when their window is gone unless this is cleared.
  bool m_bAutoDelete = true;

  // --- Control bars ------------------------------------------------------------------------------------
  // Makes the frame's dock bars for the sides in dockStyle (CBRS_ALIGN_ bits).
  void EnableDocking(DWORD dockStyle);
  // Docks bar in the dock bar with that id (0: the first side the bar allows), in a new row,
  // or at rect (screen coordinates) when given.
  void DockControlBar(ControlBar* bar, UINT dockBarId = 0, const Rect* rect = nullptr);
  // Floats bar in a small frame of its own at point (screen), laid out horizontally unless
  // style holds CBRS_ALIGN_LEFT or CBRS_ALIGN_RIGHT.
  void FloatControlBar(ControlBar* bar, Point point, DWORD style = CBRS_ALIGN_TOP);
  void ShowControlBar(ControlBar* bar, bool show, bool delay);
  // Hides the visible bars with CBRS_HIDE_INPLACE (an object active in place took tool space in
  // the frame), or shows again those that this hid; true when a bar changed.
  bool ShowInPlaceBars(bool show);
  // The window that takes the commands of a popup of the menu bar: the notify hook's answer.
  HWND MenuPopupOwner(const Menu* popup) const override;
  ControlBar* GetControlBar(UINT id) const;
  DockBar* GetDockBar(UINT id) const;
  const std::vector<ControlBar*>& ControlBars() const { return m_listControlBars; }
  void AddControlBar(ControlBar* bar);
  void RemoveControlBar(ControlBar* bar);
  // Takes a dock bar of the caller's own kind, already created as this frame's child with the id
  // of one side (AFX_IDW_DOCKBAR_TOP ...); EnableDocking then leaves that side alone. False (and
  // the bar not taken) when the frame has a dock bar with that id.
  bool AddDockBar(std::unique_ptr<DockBar> bar);
  bool CanDock(ControlBar* bar) const;

  // Saves where every bar with an id is (dock bar, row and position, or floating and where;
  // visible) in the profile sections "<name>-Summary" and "<name>-Bar<n>" of the application's
  // profile store, and puts the bars back from there. Bars or values that are not there keep
  // their place.
  void SaveBarState(std::string_view profileName) const;
  void LoadBarState(std::string_view profileName);
  // The same layout in memory: taken from the bars, and the bars put back from it (bars the
  // state does not name, or whose side the frame lacks, keep their place).
  void GetDockState(DockState& state) const;
  void SetDockState(const DockState& state);

  // Lays the bars out along the edges and gives the rest to the view (or MDI client), less the
  // border space an in-place object took (m_rectBorder), then tells the notify hook.
  virtual void RecalcLayout(bool notify = true);
  // Widths (left, top, right, bottom) an in-place object took along the edges of the area the
  // frame's own bars leave; its tool bars live there.
  Rect m_rectBorder;
  FrameNotifyHook* m_pNotifyHook = nullptr;
  void DelayRecalcLayout(bool notify = true);
  enum RepositionFlags : UINT { reposDefault = 0, reposQuery = 1, reposExtra = 2 };
  void RepositionBars(UINT firstId, UINT lastId, UINT idLeftOver, UINT flags = reposDefault, Rect* paramRect = nullptr,
                      const Rect* clientRect = nullptr, bool stretch = true);
  void GetInsideClientRect(Rect* rect) const;

  // --- Messages and commands ------------------------------------------------------------------------------
  bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;
  bool PreTranslateMessage(MSG* msg) override;
  // The status bar's message pane.
  void SetMessageText(std::string_view text);
  void SetMessageText(UINT stringId);
  // The prompt the status line shows now and keeps (AFX_IDS_IDLEMESSAGE, "Ready", when nothing
  // is pointed at; a command id while its menu item or button is; 0: none). Menus and bars
  // with fly-by help set it; the frame shows it on idle.
  void SetTrackingMessage(UINT id);
  UINT GetTrackingMessage() const { return m_nIDTracking; }
  AccelTable m_accelTable;
  bool m_bAutoMenuEnable = true;
  LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
  // The menu the frame owns (LoadFrame's); shown in its menu bar.
  Menu m_menu;

  int OnCreate(CREATESTRUCT* cs);
  void OnDestroy();
  void OnClose();
  void OnSize(UINT type, int cx, int cy);
  void OnSetFocus(Wnd* old);
  void OnInitMenuPopup(Menu* popup, UINT index, bool system);
  void OnActivate(UINT state, Wnd* other, bool minimized);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  LRESULT OnRecalcParent(WPARAM wParam, LPARAM lParam);
  void OnUpdateKeyIndicator(CmdUI* cmdUI);
  void OnUpdateControlBarMenu(CmdUI* cmdUI);
  UINT m_nIDTracking = AFX_IDS_IDLEMESSAGE;
  UINT m_nIDLastMessage = 0;
  bool OnBarCheck(UINT id);
  // Tool tips of bar buttons: the second line of the command's string resource.
  bool OnToolTipText(UINT id, NMHDR* hdr, LRESULT* result);

 protected:
  void PostNcDestroy() override;
  bool PreCreateWindow(CREATESTRUCT& cs) override;

  std::vector<ControlBar*> m_listControlBars;
  std::vector<std::unique_ptr<DockBar>> m_dockBars;
  std::string m_toolTipText;
  View* m_pViewActive = nullptr;
  bool m_bInRecalcLayout = false;
  bool m_bLayoutPending = false;
  CreateContext* m_pCreateContext = nullptr;
};

// The window in an MDI frame's client area that holds its child frames.
class MDIFrameWnd;
// Children that extend past its area are reached by its scroll bars, which scroll them all.
class MDIClientWnd : public Wnd {
 public:
  explicit MDIClientWnd(MDIFrameWnd* frame) : m_frame(frame) {}

  // Shows a scroll bar on each side where a visible child extends past the client area, with a
  // range that covers them all (the view at position 0); none while a child is maximised, whom
  // the whole area is then given. changing, when given, is a child about to be shown or hidden.
  void RecalcScroll(const Wnd* changing = nullptr, bool changingShown = true);

 protected:
  // The MDI messages (WM_MDIACTIVATE, WM_MDINEXT, WM_MDIGETACTIVE, WM_MDISETMENU, ...), the
  // scroll bars and the client's own size.
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Scroll(int bar, UINT code);
  MDIFrameWnd* m_frame;
  bool m_inRecalc = false;
  bool m_scrolling = false;
};

class MDIFrameWnd : public FrameWnd {
  UI_DECLARE_DYNCREATE(MDIFrameWnd)
  UI_DECLARE_MESSAGE_MAP()

 public:
  MDIFrameWnd();
  ~MDIFrameWnd() override;

  bool OnCreateClient(CREATESTRUCT* cs, CreateContext* context) override;
  Wnd* GetMDIClient() const { return m_pClient.get(); }
  // The active child frame; *maximized tells whether it fills the client area.
  MDIChildWnd* MDIGetActive(bool* maximized = nullptr) const;
  void MDIActivate(Wnd* child);
  // The next child after the active one (the one before when previous).
  void MDINext(bool previous = false);
  void MDIMaximize(Wnd* child);
  void MDIRestore(Wnd* child);
  void MDICascade();
  void MDITile(bool horizontal = true);
  std::vector<MDIChildWnd*> GetChildFrames() const;
  FrameWnd* GetActiveFrame() override;
  bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;
  bool PreTranslateMessage(MSG* msg) override;
  void RecalcLayout(bool notify = true) override;
  // The window menu of the frame's menu (the popup that lists the children): its position.
  int m_windowMenuPosition = -1;
  // Shows a child's menu (or the frame's own) in the menu bar.
  void SetActiveMenu(Menu* menu);
  // The menu the active child brings (the frame's own without one); null when neither has one.
  Menu* ActiveChildMenu() const;
  // What activation does: a menu goes through the MDI client (WM_MDISETMENU), so that a subclass
  // of the client sees the frame's menu change; no menu is shown at once.
  void ShowMenuThroughClient(Menu* menu);
  Menu* GetActiveMenu() const { return m_shownMenu; }
  void RefreshWindowMenu();

  void OnWindowNext();
  void OnWindowPrev();
  void OnWindowCascade();
  void OnWindowTile();
  void OnUpdateMDIWindowCmd(CmdUI* cmdUI);
  void OnWindowActivateChild(UINT id);

 private:
  friend class MDIChildWnd;
  void ChildActivated(MDIChildWnd* child, bool active);
  void ChildGone(MDIChildWnd* child);
  friend class MDIClientWnd;
  std::unique_ptr<MDIClientWnd> m_pClient;
  std::vector<HWND> m_children;  // activation order, most recent first
  HWND m_active = kNoWnd;
  Menu* m_shownMenu = nullptr;
  bool m_windowListSeparator = false;
};

class MDIChildWnd : public FrameWnd {
  UI_DECLARE_DYNCREATE(MDIChildWnd)
  UI_DECLARE_MESSAGE_MAP()

 public:
  MDIChildWnd();
  ~MDIChildWnd() override;

  bool Create(const char* className, std::string_view title, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
              const Rect& rect = rectDefault, MDIFrameWnd* parent = nullptr, CreateContext* context = nullptr);
  bool LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 Wnd* parent = nullptr, CreateContext* context = nullptr) override;
  MDIFrameWnd* GetMDIFrame() const;
  void MDIActivate();
  void MDIDestroy();
  void MDIMaximize();
  // Back to the normal rectangle from maximised or minimised.
  void MDIRestore();
  // Down to its caption at the bottom of the client area.
  void MDIMinimize();
  // The menu the frame shows while this child is active (LoadFrame's menu); null: the frame's.
  Menu* m_pSharedMenu = nullptr;
  void OnUpdateFrameTitle(bool addToTitle) override;
  // Shows the child and makes it the active one.
  void ActivateFrame(int cmdShow = -1) override;

  int OnCreate(CREATESTRUCT* cs);
  void OnDestroy();
  LRESULT OnMouseActivateMsg(WPARAM wParam, LPARAM lParam);
  bool IsMaximized() const { return m_maximized; }
  bool IsMinimized() const { return m_minimized; }

 protected:
  bool PreCreateWindow(CREATESTRUCT& cs) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class MDIFrameWnd;
  MDIFrameWnd* m_pMDIFrame = nullptr;
  bool m_maximized = false;
  bool m_minimized = false;
  Rect m_restoreRect;
  DWORD m_restoreStyle = 0;
};

}  // namespace ui
