#pragma once
// CMenuBar: the main frame's menu, shown not in the window's menu line but in a dockable control
// bar that draws its top-level items itself. It docks on any side (its texts then run vertically)
// or floats, opens each item's popup next to the item, lets the pointer slide from one open menu
// to the next, ends with the maximised document window's close, restore and minimise buttons,
// fills the window menu with the numbered list of document windows, and answers Alt+letter.
//
// What the main frame does with it (its creation):
//  - holds a CMenuEx with the frame's menu and constructs the bar with a pointer to it;
//  - Create(frame, style, kBarId), then EnableDocking(sides) before the frame's own docking set-up
//    (so all four dock bars are CMenuDockBars), DockControlBar, SetWindowText("Menu"), and no menu
//    in the frame's own menu line;
//  - offers each key message to TranslateMenuKey from its PreTranslateMessage.
// The bar follows the frame's menu changes through the MDI client (WM_MDISETMENU), which it
// subclasses, and the pointer through a thread mouse hook; one menu bar per process.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/ui/app.h"
#include "platform/ui/bars.h"
#include "platform/ui/docview.h"
#include "platform/ui/menu.h"

// The frame's menu: a handle to the menu the bar shows (the frame's own, or one a document window
// brought in); it owns what it loaded itself.
class CMenuEx {
 public:
  bool LoadMenu(ui::UINT resourceId);
  ui::Menu* GetSafeHmenu() const { return m_hMenu; }
  void Attach(ui::Menu* menu) { m_hMenu = menu; }
  ui::Menu* Detach();

 private:
  ui::Menu m_loaded;
  ui::Menu* m_hMenu = nullptr;
};

// One top-level entry of the bar. State bits: 1 raised (hot), 2 pressed.
class CMenuItem {
 public:
  enum : ui::UINT { kHot = 1, kPressed = 2 };
  CMenuItem(std::string text, ui::Menu* popup) : m_text(std::move(text)), m_popup(popup) {}
  virtual ~CMenuItem() = default;

  // Draws the item at the start of the remaining band and answers what is left of it.
  virtual ui::Rect Draw(gdi::DC& dc, const ui::Rect& remaining, bool vertical);
  // Its extent: along the bar first.
  virtual ui::Size GetSize(gdi::DC& dc, bool vertical) const;
  // 0 for a menu item, 1 for a frame button.
  virtual int GetKind() const { return 0; }

  ui::Rect m_rect;  // bar client coordinates, set when drawn
  std::string m_text;
  ui::Menu* m_popup;
  ui::UINT m_state = 0;
};

// A caption button of the maximised document window.
class CFrameControl : public CMenuItem {
 public:
  // The platform's caption-button codes.
  enum : ui::UINT { kClose = 0, kMinimize = 1, kRestore = 3 };
  explicit CFrameControl(ui::UINT button) : CMenuItem("", nullptr), m_button(button) {}

  ui::Rect Draw(gdi::DC& dc, const ui::Rect& remaining, bool vertical) override;
  ui::Size GetSize(gdi::DC& dc, bool vertical) const override;
  int GetKind() const override { return 1; }
  // The system command the button sends to the document window.
  ui::UINT SystemCommand() const;

  ui::UINT m_button;
};

// Where the frame has a document item active in place, the window that takes the commands of a
// menu the in-place server merged in, and the top-level texts of the document's own menu.
struct InPlaceMenuOwner {
  ui::Wnd* inPlaceWindow = nullptr;
  const ui::Menu* sharedMenu = nullptr;
};

class CMenuBar : public ui::ControlBar {
  UI_DECLARE_DYNAMIC(CMenuBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr ui::UINT kBarId = 59398;

  explicit CMenuBar(CMenuEx* menu);
  ~CMenuBar() override;

  // With no parent, the current thread's main window.
  bool Create(ui::Wnd* parent, ui::DWORD style, ui::UINT id = kBarId);
  // Docking sides; makes the frame's missing dock bars CMenuDockBars. False when one could not
  // be made.
  bool EnableDocking(ui::DWORD sides);
  // Alt+letter presses the item with that mnemonic. Never consumes the message.
  bool TranslateMenuKey(const ui::MSG* msg);

  // The document side the bar asks, when a menu opens, whether a server's merged menu is shown
  // (the main program sets it once documents with in-place items exist).
  std::function<InPlaceMenuOwner(ui::Document* active)> m_inPlaceQuery;

  // --- What the layout, the hook and the MDI client call ----------------------------------------
  ui::Size CalcFixedLayout(bool stretch, bool horz) override;
  ui::Size CalcDynamicLayout(int length, ui::DWORD mode) override;
  void OnUpdateCmdUI(ui::FrameWnd* target, bool disableIfNoHandler) override;
  void TrackHover(ui::Wnd* under, ui::Point screen);
  void PressItem(int index);

  void RebuildItems();
  void UpdateFrameControls(bool maximized);
  // The items again for a new menu, with the frame buttons as they were.
  void Refresh();
  int GetWindowMenuIndex() const;
  void AddWindowList(ui::Menu* popup);
  ui::Wnd* GetMenuOwner(int index);

  const std::vector<std::unique_ptr<CMenuItem>>& Items() const { return m_items; }
  bool IsPopupOpen() const { return m_popupOpen; }
  CMenuEx* GetMenuEx() const { return m_pMenu; }

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnDestroy();
  void OnPaint();
  void OnLButtonDown(ui::UINT flags, ui::Point point);
  void OnLButtonDblClk(ui::UINT flags, ui::Point point);

 private:
  // The MDI client's procedure and the thread's mouse hook while the bar lives.
  static ui::LRESULT MdiClientWndProc(ui::HWND hwnd, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);
  static ui::LRESULT MenuBarMouseHook(int code, ui::WPARAM wParam, ui::LPARAM lParam);
  ui::MDIFrameWnd* Frame() const;
  bool IsVertical() const;
  const gdi::Font& FontFor(bool vertical) const { return vertical ? m_vertFont : m_horzFont; }
  int HotItem() const;
  int ItemAt(ui::Point client) const;
  void RepaintItem(int index);
  void ShowItemMenu(int index);
  // What the MDI client hears of the frame's menu.
  ui::LRESULT OnMdiSetMenu(ui::WPARAM wParam, ui::LPARAM lParam);

  CMenuEx* m_pMenu;
  gdi::Font m_horzFont;
  gdi::Font m_vertFont;
  std::vector<std::unique_ptr<CMenuItem>> m_items;
  bool m_popupOpen = false;
  bool m_maximized = false;
  int m_nextItem = -1;
  ui::WNDPROC m_oldMdiProc = nullptr;
  ui::HWND m_mdiClient = ui::kNoWnd;
};

// The frame's dock bars on all four sides: the class library's layout, except that the menu bar
// always starts a row of its own, and bars that size themselves are asked for their docked size.
class CMenuDockBar : public ui::DockBar {
  UI_DECLARE_DYNAMIC(CMenuDockBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  ui::Size CalcFixedLayout(bool stretch, bool horz) override;
  ui::LRESULT OnSizeParentMsg(ui::WPARAM wParam, ui::LPARAM lParam);
  void OnSize(ui::UINT type, int cx, int cy);

 private:
  // Places the bars (apply) or only measures them; answers the size across and along.
  ui::Size Arrange(bool apply);
};
