#pragma once
// Control bars: toolbars, the status bar and dialog bars, docked in a frame's dock bars along
// its four sides or floating in small frames of their own. On idle, every visible bar updates
// its items' command UI through the route of the frame that owns it.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/ui/dialog.h"
#include "platform/ui/frame.h"
#include "platform/ui/resource.h"
#include "platform/ui/wnd.h"

namespace ui {

class DockBar;

// What WM_SIZEPARENT carries: the part of the frame's client area still free.
struct SizeParentParams {
  Rect rect;
  Size sizeTotal;
  bool stretch = true;
  bool query = false;
};

class ControlBar : public Wnd {
  UI_DECLARE_DYNAMIC(ControlBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  ControlBar();
  ~ControlBar() override;

  // State flags: hide or show pending until the next layout, and hidden only for the moment
  // (an in-place frame's deactivation) as opposed to hidden by the user.
  enum StateFlags : UINT { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };
  UINT m_nStateFlags = 0;

  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD style);
  // The sides the bar may dock on (CBRS_ALIGN_ bits; 0: none, it only floats).
  void EnableDocking(DWORD dockStyle);
  DWORD GetDockStyle() const { return m_dwDockStyle; }
  bool IsFloating() const;
  bool IsHorizontal() const;
  // Visible, or about to be shown.
  bool IsVisible() const;
  virtual bool IsDockBar() const { return false; }
  // The frame the bar belongs to (its dock site, also while floating).
  FrameWnd* GetDockingFrame() const;
  DockBar* GetDockBar() const { return m_pDockBar; }
  void DelayShow(bool show);

  // The size the bar takes docked (horz: along a top or bottom side) or floating.
  virtual Size CalcFixedLayout(bool stretch, bool horz);
  virtual Size CalcDynamicLayout(int length, DWORD mode);
  // Updates the bar's items through target's command route.
  virtual void OnUpdateCmdUI(FrameWnd* target, bool disableIfNoHandler);
  // The client area inside a window rectangle: borders and gripper taken off.
  void CalcInsideRect(Rect& rect, bool horz) const;
  // The CBRS_BORDER_ edges, drawn inside rect (which shrinks by them).
  void DrawBorders(gdi::DC* dc, Rect& rect);
  void DrawGripper(gdi::DC* dc, const Rect& rect);

  int m_cxLeftBorder = 6;
  int m_cxRightBorder = 2;
  int m_cyTopBorder = 2;
  int m_cyBottomBorder = 2;
  // Where the bar was docked last (kept while it floats) and its place there.
  UINT m_lastDockBarId = 0;

  LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  LRESULT OnIdleUpdateCmdUIMsg(WPARAM wParam, LPARAM lParam);
  void OnNcCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS* params);
  void OnNcPaint();
  bool OnEraseBkgnd(gdi::DC* dc);
  void OnPaint();
  void OnDestroy();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::intptr_t OnToolHitTest(Point point, TOOLINFO* ti) const override;
  // Return or Escape in a combo box or one-line edit on the bar gives the focus back to the view.
  bool PreTranslateMessage(MSG* msg) override;
  // The focus goes back to the active view of the bar's frame (after a choice in a combo box
  // on the bar, or Return in it).
  void FocusBackToView();

  // Where a bar dropped at a screen point goes: the dock bar id of the frame side whose zone
  // holds it (its docked thickness and a margin inside the frame's client area), 0 to float.
  // Only sides the bar may dock on count; a held Ctrl always floats.
  UINT DropTarget(Point screen, bool control) const;

 protected:
  // Pressing on the bar outside its items and moving drags it: dropped on a side of its frame
  // it docks there, elsewhere it floats (as the class library's docking context does).
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool IsDragging() const { return m_drag != DragState::None; }

  friend class DockBar;
  friend class FrameWnd;
  friend class MiniDockFrameWnd;
  // Makes the bar's window: style holds the window style and the CBRS_ bar style together.
  bool CreateBar(Wnd* parent, DWORD style, UINT id);
  virtual void OnBarStyleChange(DWORD oldStyle, DWORD newStyle);

  DWORD m_dwStyle = 0;
  DWORD m_dwDockStyle = 0;
  FrameWnd* m_pDockSite = nullptr;
  DockBar* m_pDockBar = nullptr;

 private:
  enum class DragState { None, Pressed, Moving };
  void Drop(Point screen);
  DragState m_drag = DragState::None;
  Point m_dragFrom;   // screen point of the press
  Point m_grab;       // the press in the bar's window coordinates
};

// The bars of one side of a frame (or of a floating frame), in rows.
class DockBar : public ControlBar {
  UI_DECLARE_DYNAMIC(DockBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit DockBar(bool floating = false);
  bool Create(Wnd* parent, DWORD style, UINT id);
  bool IsDockBar() const override { return true; }
  bool IsFloatingDockBar() const { return m_floating; }

  // Adds bar at (row, offset); row -1: a new row after the others.
  void Insert(ControlBar* bar, int row, int offset);
  void Remove(ControlBar* bar);
  bool Contains(const ControlBar* bar) const;
  // The row and offset along it of a docked bar (false when it is not here).
  bool GetPlace(const ControlBar* bar, int* row, int* offset) const;
  std::vector<ControlBar*> Bars() const;
  int RowCount() const;

  Size CalcFixedLayout(bool stretch, bool horz) override;
  void OnUpdateCmdUI(FrameWnd*, bool) override {}
  // Places the bars inside the dock bar's client area.
  void LayoutBars();

  void OnSize(UINT type, int cx, int cy);
  void OnPaint();

 private:
  struct Slot {
    ControlBar* bar;
    int row;
    int offset;
  };
  void Renumber();
  std::vector<Slot> m_slots;
  bool m_floating;
};

// The small frame a floating bar sits in.
class MiniDockFrameWnd : public Wnd {
  UI_DECLARE_DYNAMIC(MiniDockFrameWnd)
  UI_DECLARE_MESSAGE_MAP()

 public:
  MiniDockFrameWnd() : m_dockBar(true) {}
  bool Create(FrameWnd* site, ControlBar* bar, Point position, bool horizontal);
  DockBar& GetDockBarCtrl() { return m_dockBar; }
  void RecalcLayout();
  bool Horizontal() const { return m_horizontal; }

  void OnClose();
  void OnSize(UINT type, int cx, int cy);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

 protected:
  void PostNcDestroy() override;

 private:
  DockBar m_dockBar;
  FrameWnd* m_site = nullptr;
  bool m_horizontal = true;
};

// --- Toolbars -------------------------------------------------------------------------------------------
// Buttons drawn from one strip image, separators (whose width is their image field), check
// boxes and groups, drop-down buttons, and windows of their own placed over separators.
struct NMTOOLBAR {
  NMHDR hdr;
  int iItem = 0;
  Rect rcButton;
};

class ToolBar : public ControlBar {
  UI_DECLARE_DYNAMIC(ToolBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  ToolBar();
  ~ToolBar() override;

  bool Create(Wnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
  bool CreateEx(Wnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                const Rect& borders = Rect(), UINT id = AFX_IDW_TOOLBAR);
  // The toolbar resource of the current module (its buttons and size) and the bitmap of the
  // same id (the strip).
  bool LoadToolBar(UINT resourceId);
  bool LoadBitmap(UINT resourceId);
  void SetBitmap(const gdi::Bitmap& strip);
  const gdi::Bitmap& GetBitmap() const { return m_strip; }
  // Buttons take images in order; ID_SEPARATOR makes a separator.
  bool SetButtons(const UINT* ids, int count);
  void SetSizes(Size button, Size image);
  void SetHeight(int height);
  Size GetButtonSize() const { return m_sizeButton; }
  Size GetImageSize() const { return m_sizeImage; }

  int GetCount() const { return static_cast<int>(m_buttons.size()); }
  int CommandToIndex(UINT id) const;
  UINT GetItemID(int index) const;
  // In the bar's client coordinates.
  void GetItemRect(int index, Rect* rect) const;
  UINT GetButtonStyle(int index) const;
  void SetButtonStyle(int index, UINT style);
  // image: the image index of a button, the width of a separator.
  void GetButtonInfo(int index, UINT* id, UINT* style, int* image) const;
  void SetButtonInfo(int index, UINT id, UINT style, int image);
  std::string GetButtonText(int index) const;
  bool SetButtonText(int index, std::string_view text);
  // Toolbar style bits (TBSTYLE_FLAT, ...): the low word of the window's style, as the
  // platform's toolbar control keeps them, so ModifyStyle changes them too.
  DWORD GetToolBarStyle() const { return GetStyle() & kToolBarStyleMask; }
  void SetToolBarStyle(DWORD style);
  // The tool-tip control the bar's tips use.
  ToolBar& GetToolBarCtrl() { return *this; }
  int GetButtonCount() const { return GetCount(); }
  void SetToolTips(class ToolTipCtrl* tips) { m_toolTips = tips; }

  Size CalcFixedLayout(bool stretch, bool horz) override;
  Size CalcDynamicLayout(int length, DWORD mode) override;
  void OnUpdateCmdUI(FrameWnd* target, bool disableIfNoHandler) override;
  std::intptr_t OnToolHitTest(Point point, TOOLINFO* ti) const override;

  void OnPaint();
  void OnLButtonDown(UINT flags, Point point);
  void OnMouseMove(UINT flags, Point point);
  void OnLButtonUp(UINT flags, Point point);
  void OnSize(UINT type, int cx, int cy);
  void OnCancelMode();
  void OnTimer(UINT_PTR id);

 protected:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;
  static constexpr DWORD kToolBarStyleMask = 0xFFFF;
  // Draws one button (the toolbar's own look; flat bars draw edges only when pressed or checked;
  // a disabled button shows the dark parts of its picture etched, without its face and white).
  virtual void DrawButton(gdi::DC* dc, int index, const Rect& rect);

 private:
  struct Item {
    UINT id = 0;
    UINT style = 0;  // TBBS_ style and state bits
    int image = 0;   // image index, or the separator's width
    std::string text;
  };
  void Layout();
  int ButtonAt(Point point) const;
  void Pressed(int index);
  // Fly-by help: the status line shows the prompt of the button under the pointer.
  void FlyBy(UINT id);
  UINT m_flyBy = 0;

  std::vector<Item> m_buttons;
  std::vector<Rect> m_rects;
  Size m_sizeButton{23, 22};
  Size m_sizeImage{16, 15};
  gdi::Bitmap m_strip;
  int m_tracking = -1;
  class ToolTipCtrl* m_toolTips = nullptr;
};

// --- The status bar -------------------------------------------------------------------------------------
class StatusBar : public ControlBar {
  UI_DECLARE_DYNAMIC(StatusBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  StatusBar();
  bool Create(Wnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
  // Pane 0 of ID_SEPARATOR is the message line (it stretches); the others show the string
  // resource of their id and are as wide as it.
  bool SetIndicators(const UINT* ids, int count);
  int GetCount() const { return static_cast<int>(m_panes.size()); }
  int CommandToIndex(UINT id) const;
  UINT GetItemID(int index) const;
  void GetItemRect(int index, Rect* rect) const;
  bool SetPaneText(int index, std::string_view text, bool update = true);
  std::string GetPaneText(int index) const;
  void GetPaneInfo(int index, UINT* id, UINT* style, int* width) const;
  void SetPaneInfo(int index, UINT id, UINT style, int width);
  UINT GetPaneStyle(int index) const;
  void SetPaneStyle(int index, UINT style);

  Size CalcFixedLayout(bool stretch, bool horz) override;
  void OnUpdateCmdUI(FrameWnd* target, bool disableIfNoHandler) override;
  void OnPaint();
  void OnSize(UINT type, int cx, int cy);
  LRESULT OnSetTextMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetTextMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetTextLengthMessage(WPARAM wParam, LPARAM lParam);

 private:
  struct Pane {
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    std::string text;
  };
  void Layout();
  std::vector<Pane> m_panes;
  std::vector<Rect> m_rects;
  gdi::Font m_font;
};

// --- Dialog bars --------------------------------------------------------------------------------------
// A bar holding the items of a dialog template; their notifications reach the bar's owner.
class DialogBar : public ControlBar {
  UI_DECLARE_DYNAMIC(DialogBar)

 public:
  bool Create(Wnd* parent, UINT templateId, DWORD style, UINT id);
  Size CalcFixedLayout(bool stretch, bool horz) override;
  void OnUpdateCmdUI(FrameWnd* target, bool disableIfNoHandler) override;
  // The dialog keys inside the bar, as in a dialog: Tab moves between its items, Return presses
  // its default button (else IDOK) and Escape sends IDCANCEL, both to the bar's owner.
  bool PreTranslateMessage(MSG* msg) override;

 private:
  Size m_sizeDefault;
};

}  // namespace ui
