#pragma once
// Window objects.
//
// A ui::Wnd is one window: an id, a parent and children, an owner, styles, text, a position and
// a client rectangle, visibility, enabled state, focus, capture, a cursor and timers. Each owns
// one widget of the toolkit underneath (never visible here). Its handle (m_hWnd) comes from one
// process-wide table; a destroyed window's handle finds nothing.
//
// Messages are ours: SendMessage calls the window procedure at once; PostMessage queues the
// message and may be called from any thread. The procedure looks the message up in the
// object's message map (msgmap.h) and falls back to DefWindowProc, which gives each window
// class (own-drawn windows, buttons, edits, lists, ...) its standard behaviour. A handler
// reaches that standard behaviour for the current message with Default() (the "base handler").
//
// Windows that the product draws itself keep a pixel surface of their own: OnPaint (through a
// PaintDC) and client DCs taken at any time draw into the same pixels, so XOR marks drawn
// during a mouse move erase exactly. Invalidation collects rectangles and regions; the message
// loop sends WM_PAINT when nothing else is waiting, and UpdateWindow paints at once.
//
// All operations but PostMessage belong to the user-interface thread.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"
#include "platform/ui/messages.h"
#include "platform/ui/msgmap.h"
#include "platform/ui/styles.h"
#include "platform/ui/types.h"

namespace ui {

class Cursor;
class FrameWnd;
class Menu;
struct WndImpl;

using HCURSOR = const Cursor*;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// A message as the loop hands it on (to PreTranslateMessage, hooks and filters).
struct MSG {
  HWND hwnd = kNoWnd;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  Point pt;  // cursor position in screen coordinates
};

// Where a top-level window is and how it shows; the 44 bytes the product stores.
struct WINDOWPLACEMENT {
  UINT length = 44;
  UINT flags = 0;
  UINT showCmd = 0;
  Point ptMinPosition;
  Point ptMaxPosition;
  Rect rcNormalPosition;
};
static_assert(sizeof(WINDOWPLACEMENT) == 44);

struct SCROLLINFO {
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};
constexpr UINT SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8, SIF_TRACKPOS = 0x10,
               SIF_ALL = 0x17;

// A tool of a tool tip: an area of a window and its text (or LPSTR_TEXTCALLBACK: asked for
// with TTN_NEEDTEXT when it shows).
struct TOOLINFO {
  UINT uFlags = 0;  // TTF_IDISHWND: uId is the tool window's handle
  HWND hwnd = kNoWnd;
  UINT_PTR uId = 0;
  Rect rect;
  std::string text;
  bool callback = false;
  LPARAM lParam = 0;
};

// What TTN_NEEDTEXT carries: the handler sets lpszText (or fills szText).
struct NMTTDISPINFO {
  NMHDR hdr;
  const char* lpszText = nullptr;
  char szText[80] = {};
  UINT uFlags = 0;
  LPARAM lParam = 0;
};

// Window classes: a class style, a cursor and a background colour (none: the window erases
// nothing). RegisterWndClass answers the class name to give Create.
struct WndClassInfo {
  UINT style = CS_DBLCLKS;
  HCURSOR cursor = nullptr;
  bool hasBackground = true;
  COLORREF background = 0;  // meaningful when hasBackground
};
std::string RegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, const gdi::Brush* background = nullptr);
// The class every own-drawn window gets when Create is given no class name: double clicks,
// the arrow cursor, the window colour as background.
extern const char* const kDefaultWndClass;

class Wnd : public CmdTarget {
  UI_DECLARE_DYNAMIC(Wnd)
  UI_DECLARE_MESSAGE_MAP()

 public:
  Wnd();
  ~Wnd() override;

  HWND m_hWnd = kNoWnd;
  HWND GetSafeHwnd() const { return m_hWnd; }
  // The object of a live window; null for no window, an unknown or a stale handle.
  static Wnd* FromHandle(HWND hwnd);
  bool IsWindow() const;

  // --- Creation and destruction ------------------------------------------------------------------
  // className: a registered class, a standard control class ("BUTTON", "EDIT", "STATIC",
  // "LISTBOX", "COMBOBOX", "SysListView32", "SysTabControl32", "tooltips_class32",
  // "msctls_statusbar32", "ToolbarWindow32", "SCROLLBAR"), or null for kDefaultWndClass.
  // rect is in the parent's client coordinates (screen coordinates for a top-level window).
  // Classes adjust their creation in PreCreateWindow (and add Create forms of their own).
  bool Create(const char* className, std::string_view windowName, DWORD style, const Rect& rect, Wnd* parent,
              UINT id, void* createParams = nullptr);
  bool CreateEx(DWORD exStyle, const char* className, std::string_view windowName, DWORD style, const Rect& rect,
                Wnd* parent, UINT id, void* createParams = nullptr);
  virtual bool PreCreateWindow(CREATESTRUCT& cs);
  // Sends WM_DESTROY to the window and then to its descendants, destroys owned windows,
  // WM_NCDESTROY from the deepest child up; then PostNcDestroy. False when there is no window.
  virtual bool DestroyWindow();
  // Called after the window is gone; windows that delete themselves override it.
  virtual void PostNcDestroy();
  // Takes over a live window whose object the layer made itself (dialog items): this object
  // becomes the window's object. False when the window already belongs to another object.
  bool SubclassWindow(HWND hwnd);
  bool SubclassDlgItem(UINT id, Wnd* parent);

  // --- Messages ----------------------------------------------------------------------------------
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool deep = true);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The standard handling of the message being handled now.
  LRESULT Default();
  // Offered every input message aimed at this window or its descendants before it is handled;
  // true consumes it. Frames translate their accelerators here.
  virtual bool PreTranslateMessage(MSG* msg);
  virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
  virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Called on the child control when its parent gets one of its notifications (WM_COMMAND,
  // WM_NOTIFY, WM_DRAWITEM, ...); true when the control handled it itself (reflected entries).
  virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The message being handled (null outside a handler).
  static const MSG* GetCurrentMessage();
  // Replaces the window procedure (the product's subclassing); answers the previous one, which
  // the new procedure hands messages on to with CallWindowProc.
  WNDPROC SetWindowProc(WNDPROC proc);

  // --- Identity and relations ----------------------------------------------------------------------
  UINT GetDlgCtrlID() const;
  UINT SetDlgCtrlID(UINT id);
  Wnd* GetDlgItem(UINT id) const;
  Wnd* GetParent() const;
  Wnd* SetParent(Wnd* parent);
  Wnd* GetOwner() const;  // the owner, else the parent
  void SetOwner(Wnd* owner);
  Wnd* GetTopLevelParent() const;
  FrameWnd* GetParentFrame() const;
  FrameWnd* GetTopLevelFrame() const;
  Wnd* GetWindow(UINT relation) const;
  Wnd* GetTopWindow() const { return GetWindow(GW_CHILD); }
  Wnd* GetNextWindow(UINT relation = GW_HWNDNEXT) const { return GetWindow(relation); }
  std::vector<Wnd*> GetChildren() const;  // in z-order, top first
  bool IsChild(const Wnd* wnd) const;     // a descendant

  // --- Styles and text ------------------------------------------------------------------------
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  // With SWP_FRAMECHANGED in flags the non-client area is computed again.
  bool ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  bool ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
  std::string GetClassName() const;
  void SetWindowText(std::string_view text);
  std::string GetWindowText() const;
  int GetWindowTextLength() const;
  void SetFont(const gdi::Font& font, bool redraw = true);
  gdi::Font GetFont() const;

  // --- Geometry -----------------------------------------------------------------------------------
  void GetWindowRect(Rect* rect) const;  // screen coordinates
  void GetClientRect(Rect* rect) const;  // (0, 0, width, height)
  void ClientToScreen(Point* point) const;
  void ClientToScreen(Rect* rect) const;
  void ScreenToClient(Point* point) const;
  void ScreenToClient(Rect* rect) const;
  // From this window's client coordinates to `to`'s (null: the screen).
  void MapWindowPoints(const Wnd* to, Point* points, int count) const;
  void MapWindowPoints(const Wnd* to, Rect* rect) const;
  bool MoveWindow(int x, int y, int width, int height, bool repaint = true);
  bool MoveWindow(const Rect& rect, bool repaint = true) {
    return MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint);
  }
  // insertAfter: a sibling, &Wnd::wndTop or &Wnd::wndBottom, or null to keep the z-order.
  bool SetWindowPos(const Wnd* insertAfter, int x, int y, int width, int height, UINT flags);
  static const Wnd wndTop;
  static const Wnd wndBottom;
  Wnd* ChildWindowFromPoint(Point clientPoint) const;
  static Wnd* WindowFromPoint(Point screenPoint);

  // --- State -------------------------------------------------------------------------------------
  bool ShowWindow(int command);
  bool IsWindowVisible() const;  // this window and all its ancestors
  bool IsWindowEnabled() const;
  bool EnableWindow(bool enable = true);  // answers whether it was disabled
  bool IsIconic() const;
  bool IsZoomed() const;
  bool GetWindowPlacement(WINDOWPLACEMENT* placement) const;
  // Refused unless length is 44; an unknown show command is ignored.
  bool SetWindowPlacement(const WINDOWPLACEMENT* placement);

  // --- Focus, capture, activation -------------------------------------------------------------------
  Wnd* SetFocus();  // answers the window that had the focus
  static Wnd* GetFocus();
  Wnd* SetCapture();
  static Wnd* GetCapture();
  static bool ReleaseCapture();
  Wnd* SetActiveWindow();
  static Wnd* GetActiveWindow();
  bool SetForegroundWindow() { return SetActiveWindow() != nullptr || true; }
  bool GetKeyboardFocusable() const;

  // --- Timers --------------------------------------------------------------------------------------
  // WM_TIMER with id every `elapse` ms (or proc called); setting an id again restarts it.
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
  bool KillTimer(UINT_PTR id);

  // --- Painting ------------------------------------------------------------------------------------
  void Invalidate(bool erase = true);
  void InvalidateRect(const Rect* rect, bool erase = true);  // null: the whole client area
  void InvalidateRgn(const gdi::Region* region, bool erase = true);
  void ValidateRect(const Rect* rect);
  void ValidateRgn(const gdi::Region* region);
  bool GetUpdateRect(Rect* rect, bool erase = false);
  int GetUpdateRgn(gdi::Region* region, bool erase = false);
  void UpdateWindow();
  bool RedrawWindow(const Rect* rect = nullptr, const gdi::Region* region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  // The pixels of the client area of a window the product draws itself (null for controls
  // the toolkit draws), and of the whole window when it has a non-client area.
  gdi::WindowSurface* GetClientSurface() const;
  gdi::WindowSurface* GetWindowSurface() const;
  // A picture of the window as it shows, client and non-client area and children (for tests).
  std::unique_ptr<gdi::RasterSurface> Render() const;

  // --- Scroll bars (WS_HSCROLL / WS_VSCROLL) ---------------------------------------------------------
  int SetScrollPos(int bar, int pos, bool redraw = true);
  int GetScrollPos(int bar) const;
  void SetScrollRange(int bar, int minPos, int maxPos, bool redraw = true);
  void GetScrollRange(int bar, int* minPos, int* maxPos) const;
  bool SetScrollInfo(int bar, const SCROLLINFO* info, bool redraw = true);
  bool GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;
  void ShowScrollBar(int bar, bool show = true);
  void ScrollWindow(int dx, int dy, const Rect* scrollRect = nullptr, const Rect* clipRect = nullptr);

  // --- Menus -----------------------------------------------------------------------------------------
  Menu* GetMenu() const;
  // The window's system menu (Restore, Move, Size, Minimize, Maximize, Close), made on first use;
  // the window keeps it. Greying its Close item makes the window refuse SC_CLOSE. revert puts
  // the standard menu back and answers null.
  Menu* GetSystemMenu(bool revert);
  // The window does not own the menu; the caller keeps it alive while it is set.
  bool SetMenu(Menu* menu);
  void DrawMenuBar();
  // The window that takes the commands of a top-level popup of the menu bar (this one).
  virtual HWND MenuPopupOwner(const Menu* popup) const;

  // --- Dialog item helpers (any window with children) ----------------------------------------------
  void SetDlgItemText(UINT id, std::string_view text);
  std::string GetDlgItemText(UINT id) const;
  void SetDlgItemInt(UINT id, UINT value, bool isSigned = true);
  UINT GetDlgItemInt(UINT id, bool* translated = nullptr, bool isSigned = true) const;
  void CheckDlgButton(UINT id, UINT check);
  UINT IsDlgButtonChecked(UINT id) const;
  void CheckRadioButton(UINT firstId, UINT lastId, UINT checkId);
  int GetCheckedRadioButton(UINT firstId, UINT lastId) const;
  LRESULT SendDlgItemMessage(UINT id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // The next control in the tab order (previous when previous is set), among siblings of ctl.
  Wnd* GetNextDlgTabItem(Wnd* ctl, bool previous = false) const;
  Wnd* GetNextDlgGroupItem(Wnd* ctl, bool previous = false) const;

  // --- Standard handlers ("the base handler" of a derived class's entry) -------------------------------
  int OnCreate(CREATESTRUCT* cs);
  void OnDestroy();
  void OnNcDestroy();
  void OnClose();
  void OnPaint();
  void OnNcPaint();
  bool OnEraseBkgnd(gdi::DC* dc);
  void OnSize(UINT type, int cx, int cy);
  void OnMove(int x, int y);
  void OnTimer(UINT_PTR id);
  void OnSetFocus(Wnd* old);
  void OnKillFocus(Wnd* next);
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  void OnKeyUp(UINT key, UINT repeat, UINT flags);
  void OnChar(UINT ch, UINT repeat, UINT flags);
  void OnMouseMove(UINT flags, Point point);
  void OnLButtonDown(UINT flags, Point point);
  void OnLButtonUp(UINT flags, Point point);
  void OnLButtonDblClk(UINT flags, Point point);
  void OnRButtonDown(UINT flags, Point point);
  void OnRButtonUp(UINT flags, Point point);
  bool OnMouseWheel(UINT flags, short delta, Point point);
  bool OnSetCursor(Wnd* wnd, UINT hitTest, UINT message);
  void OnContextMenu(Wnd* wnd, Point screenPoint);
  void OnHScroll(UINT code, UINT pos, Wnd* bar);
  void OnVScroll(UINT code, UINT pos, Wnd* bar);
  void OnWindowPosChanging(WINDOWPOS* pos);
  void OnWindowPosChanged(WINDOWPOS* pos);
  void OnNcCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS* params);
  void OnShowWindow(bool show, UINT status);
  void OnInitMenuPopup(Menu* popup, UINT index, bool system);

  // --- Tool tips ------------------------------------------------------------------------------------------
  // The tool at a client point: fills ti and answers its id, or -1 for none. Windows with
  // EnableToolTips (and control bars with CBRS_TOOLTIPS) are asked when the pointer rests.
  virtual std::intptr_t OnToolHitTest(Point point, TOOLINFO* ti) const;
  bool EnableToolTips(bool enable = true);

  // Internal state (the layer's own code only).
  WndImpl* impl() const { return impl_.get(); }

 protected:
  // Control classes give the class name their windows are made with.
  virtual const char* DefaultClassName() const { return nullptr; }

 private:
  friend struct WndImpl;
  friend class WndAccess;
  std::unique_ptr<WndImpl> impl_;
  bool layerObject_ = false;
};

// A position or size that the layer chooses (top-level windows).
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// Free-function forms over handles (usable with handles held anywhere).
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Thread-safe. False when the handle is unknown at the time of posting (checked again when the
// message is delivered: a message for a window destroyed meanwhile is dropped).
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
bool IsWindow(HWND hwnd);

// Cursors: the standard ones, one made from a module's cursor resource, or one from a mask and
// colour bitmap. SetCursor shows it over the window under the pointer.
HCURSOR LoadStandardCursor(UINT id);
HCURSOR LoadCursor(UINT resourceId);  // from the current module's resources; null when missing
// Pixels of `color` show where the mask is black; white mask pixels are transparent.
HCURSOR CreateCursor(const gdi::Bitmap& mask, const gdi::Bitmap& color, Point hotSpot);
void DestroyCursor(HCURSOR cursor);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
bool GetCursorPos(Point* point);

// The key state that the last input left: bit 15 set while the key is down, bit 0 toggled.
short GetKeyState(UINT virtualKey);

}  // namespace ui
