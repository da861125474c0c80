#pragma once
// Command targets, run-time classes and static message maps.
//
// A message map is a static table of entries chained to the table of the base class: messages
// (each with its own handler signature), commands by id and by id range, command-UI update
// handlers, control notifications (WM_COMMAND with a code), WM_NOTIFY notifications, and
// notifications reflected back to the control that sent them. A lookup walks the class's own
// table first, then its base's, so a derived class overrides an entry by listing it again.
//
//   class CMyWnd : public ui::Wnd {
//     UI_DECLARE_MESSAGE_MAP()
//     void OnPaint();
//     void OnOpen();
//   };
//   UI_BEGIN_MESSAGE_MAP(CMyWnd, ui::Wnd)
//     ui::map::Paint(&CMyWnd::OnPaint),
//     ui::map::Command(40022, &CMyWnd::OnOpen),
//   UI_END_MESSAGE_MAP()
#include <bit>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/ui/messages.h"
#include "platform/ui/types.h"

namespace gdi {
class DC;
}

namespace ui {

class CmdTarget;
class CmdUI;
class Menu;
class Wnd;

// --- Structures that messages carry ---------------------------------------------------------
struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HWND hwndParent = kNoWnd;
  UINT id = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  DWORD style = 0;
  DWORD dwExStyle = 0;
  std::string name;
  std::string className;
};

struct WINDOWPOS {
  HWND hwnd = kNoWnd;
  HWND hwndInsertAfter = kNoWnd;
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};

// rgrc[0]: on entry the proposed window rectangle (parent client coordinates), on return the
// client rectangle in the same coordinates.
struct NCCALCSIZE_PARAMS {
  Rect rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

struct NMHDR {
  HWND hwndFrom = kNoWnd;
  UINT_PTR idFrom = 0;
  int code = 0;
};

struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem = kNoWnd;
  gdi::DC* hDC = nullptr;
  Rect rcItem;
  UINT_PTR itemData = 0;
};

struct MEASUREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  UINT_PTR itemData = 0;
};

struct COMPAREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  HWND hwndItem = kNoWnd;
  UINT itemID1 = 0;
  UINT_PTR itemData1 = 0;
  UINT itemID2 = 0;
  UINT_PTR itemData2 = 0;
};

struct DELETEITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  HWND hwndItem = kNoWnd;
  UINT_PTR itemData = 0;
};

// --- Run-time classes -----------------------------------------------------------------------
// The class name, the base class and (for classes made by templates and frames) a factory.
struct RuntimeClass {
  const char* className;
  const RuntimeClass* (*base)();
  CmdTarget* (*create)();

  bool IsDerivedFrom(const RuntimeClass* other) const;
  // Null for a class without a factory.
  CmdTarget* CreateObject() const { return create ? create() : nullptr; }
};

// --- Message map entries ----------------------------------------------------------------------
enum class EntryKind : std::uint8_t {
  End,
  Message,         // a window message
  Command,         // WM_COMMAND with code 0 (menu, accelerator, button click) for one id
  CommandRange,    // the same for an id range; the handler takes the id
  UpdateUI,        // command-UI update for one id
  UpdateUIRange,   // for an id range; the handler takes the CmdUI (its m_nID tells the id)
  Control,         // WM_COMMAND with a notification code, from the control(s) in an id range
  Notify,          // WM_NOTIFY with a code, from the control(s) in an id range
  ReflectCommand,  // a WM_COMMAND notification, handled by the control that sent it
  ReflectNotify,   // a WM_NOTIFY notification, handled by the control that sent it
};

// How a handler is called.
enum class Sig : std::uint8_t {
  Raw,        // LRESULT (WPARAM, LPARAM)
  V,          // void ()
  I_CS,       // int (CREATESTRUCT*)
  V_U_I_I,    // void (UINT, int, int): WM_SIZE
  V_I_I,      // void (int, int): WM_MOVE
  V_U_Pt,     // void (UINT flags, Point): mouse buttons and moves
  B_U_S_Pt,   // bool (UINT flags, short delta, Point): wheel
  V_UP,       // void (UINT_PTR): WM_TIMER
  V_U_U_U,    // void (UINT key, UINT repeat, UINT flags): keys and characters
  V_W,        // void (Wnd*): focus, capture changes
  B_DC,       // bool (gdi::DC*): WM_ERASEBKGND
  V_WP,       // void (WINDOWPOS*)
  V_B_NC,     // void (bool, NCCALCSIZE_PARAMS*)
  B_W_U_U,    // bool (Wnd*, UINT hit, UINT message): WM_SETCURSOR
  V_W_Pt,     // void (Wnd*, Point): WM_CONTEXTMENU
  V_U_U_W,    // void (UINT code, UINT pos, Wnd* bar): scrolling
  V_B_U,      // void (bool, UINT): WM_SHOWWINDOW
  V_U_W_B,    // void (UINT state, Wnd* other, bool minimized): WM_ACTIVATE
  V_B,        // void (bool): WM_ENABLE
  V_I_DIS,    // void (int id, DRAWITEMSTRUCT*)
  V_I_MIS,    // void (int id, MEASUREITEMSTRUCT*)
  I_I_CIS,    // int (int id, COMPAREITEMSTRUCT*)
  V_I_DEL,    // void (int id, DELETEITEMSTRUCT*)
  V_U_LP,     // void (UINT, LPARAM): WM_PARENTNOTIFY
  V_M_U_B,    // void (Menu*, UINT index, bool system): WM_INITMENUPOPUP
  U_V,        // UINT (): WM_GETDLGCODE
  Cmd,        // void (): a command or control notification
  CmdRange,   // void (UINT id)
  CmdEx,      // bool (UINT id): false lets the route go on
  Update,     // void (CmdUI*)
  Notify,     // void (NMHDR*, LRESULT*)
  NotifyRange,  // void (UINT id, NMHDR*, LRESULT*)
  NotifyEx,   // bool (UINT id, NMHDR*, LRESULT*): false lets the route go on
};

using Pmf = void (CmdTarget::*)();

// Between the stored handler type and the handler's own signature (all member-function pointers
// of one class have one size and layout).
template <class To, class From>
To PmfCast(From f) {
  static_assert(sizeof(To) == sizeof(From));
  return std::bit_cast<To>(f);
}

struct MsgEntry {
  EntryKind kind = EntryKind::End;
  UINT message = 0;  // Message entries
  int code = 0;      // notification code (Control, Notify, Reflect*)
  UINT idFirst = 0;
  UINT idLast = 0;
  Sig sig = Sig::V;
  Pmf pfn = nullptr;
};

struct MessageMap {
  const MessageMap* (*base)();  // null for the root
  const MsgEntry* entries;      // ends with an End entry
};

// --- Command targets ------------------------------------------------------------------------
// WM_COMMAND codes as OnCmdMsg sees them: notification codes 0..0xFFFF (0 is a command),
// CN_UPDATE_COMMAND_UI for update handlers, and NotifyCode(code) for WM_NOTIFY.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;
constexpr int NotifyCode(int nmCode) { return static_cast<int>(0x4E000000u | (static_cast<unsigned>(nmCode) & 0xFFFFu)); }

// What OnCmdMsg's extra holds for a WM_NOTIFY.
struct NotifyArgs {
  NMHDR* hdr = nullptr;
  LRESULT* result = nullptr;
};

// Filled instead of calling when OnCmdMsg is only asked whether a handler exists.
struct HandlerInfo {
  CmdTarget* target = nullptr;
  const MsgEntry* entry = nullptr;
};

class CmdTarget {
 public:
  CmdTarget() = default;
  CmdTarget(const CmdTarget&) = delete;
  CmdTarget& operator=(const CmdTarget&) = delete;
  virtual ~CmdTarget() = default;

  static const RuntimeClass* GetThisClass();
  virtual const RuntimeClass* GetRuntimeClass() const;
  bool IsKindOf(const RuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

  static const MessageMap* GetThisMessageMap();
  virtual const MessageMap* GetMessageMap() const;

  // Looks id and code up in this object's message map (and its bases). With info, only tells
  // whether a handler exists (and fills info); else calls it. True when handled. Frames, views
  // and documents override it to route commands further.
  virtual bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info);

  // The first Message entry for message in the map chain; null when none.
  const MsgEntry* FindMessageEntry(UINT message) const;
  // The reflected entry (ReflectCommand for a WM_COMMAND code, ReflectNotify for a WM_NOTIFY code).
  const MsgEntry* FindReflectEntry(bool notify, int code) const;

 protected:
  // Calls a command, update or notify entry; answers whether it handled the command.
  bool DispatchCmdEntry(const MsgEntry& entry, UINT id, int code, void* extra);
};

// --- Command-UI objects -----------------------------------------------------------------------
// Carries the state of one command's user interface (a menu item, a toolbar button, a status
// pane) through its update handler. The enable rule: a command whose update handler exists
// decides for itself; one without an update handler is enabled when some target of the route
// has a handler for it, disabled when none has (if the caller asks for that).
class CmdUI {
 public:
  virtual ~CmdUI() = default;

  virtual void Enable(bool on = true);
  virtual void SetCheck(int check = 1);  // 0 unchecked, 1 checked, 2 indeterminate
  virtual void SetRadio(bool on = true);
  virtual void SetText(std::string_view text);
  void ContinueRouting() { m_bContinueRouting = true; }

  // Runs the update through target (which routes it further); true when an update handler or
  // the enable rule decided.
  bool DoUpdate(CmdTarget* target, bool disableIfNoHandler);

  UINT m_nID = 0;
  UINT m_nIndex = 0;
  UINT m_nIndexMax = 0;
  Menu* m_pMenu = nullptr;     // a menu item's menu (position m_nIndex)
  Menu* m_pSubMenu = nullptr;  // the popup that the item opens, if any
  Wnd* m_pOther = nullptr;     // a bar or control that owns the item
  bool m_bEnableChanged = false;
  bool m_bContinueRouting = false;
};

// The state an update gives one command, without any user interface: for tests and for
// callers that must know whether a command is enabled before running it.
struct CommandState {
  bool enabled = false;
  int check = 0;
  bool radio = false;
  bool textSet = false;
  std::string text;
  bool updateHandled = false;  // an update handler decided (or the enable rule ran)
};
CommandState QueryCommandState(CmdTarget* target, UINT id, bool disableIfNoHandler = true);

// --- Entry makers -----------------------------------------------------------------------------
namespace map {

template <class C, class R, class... A>
Pmf Cast(R (C::*f)(A...)) {
  static_assert(std::is_base_of_v<CmdTarget, C>, "message map handlers belong to command targets");
  return PmfCast<Pmf>(static_cast<R (CmdTarget::*)(A...)>(f));
}

template <class F>
MsgEntry Msg(UINT message, Sig sig, F f) {
  MsgEntry e;
  e.kind = EntryKind::Message;
  e.message = message;
  e.sig = sig;
  e.pfn = Cast(f);
  return e;
}

// Any message, with the raw parameters.
template <class C> MsgEntry Message(UINT message, LRESULT (C::*f)(WPARAM, LPARAM)) { return Msg(message, Sig::Raw, f); }

template <class C> MsgEntry Create(int (C::*f)(CREATESTRUCT*)) { return Msg(WM_CREATE, Sig::I_CS, f); }
template <class C> MsgEntry Destroy(void (C::*f)()) { return Msg(WM_DESTROY, Sig::V, f); }
template <class C> MsgEntry NcDestroy(void (C::*f)()) { return Msg(WM_NCDESTROY, Sig::V, f); }
template <class C> MsgEntry Close(void (C::*f)()) { return Msg(WM_CLOSE, Sig::V, f); }
template <class C> MsgEntry Paint(void (C::*f)()) { return Msg(WM_PAINT, Sig::V, f); }
template <class C> MsgEntry NcPaint(void (C::*f)()) { return Msg(WM_NCPAINT, Sig::V, f); }
template <class C> MsgEntry EraseBkgnd(bool (C::*f)(gdi::DC*)) { return Msg(WM_ERASEBKGND, Sig::B_DC, f); }
template <class C> MsgEntry Size(void (C::*f)(UINT, int, int)) { return Msg(WM_SIZE, Sig::V_U_I_I, f); }
template <class C> MsgEntry Move(void (C::*f)(int, int)) { return Msg(WM_MOVE, Sig::V_I_I, f); }
template <class C> MsgEntry Timer(void (C::*f)(UINT_PTR)) { return Msg(WM_TIMER, Sig::V_UP, f); }
template <class C> MsgEntry SetFocus(void (C::*f)(Wnd*)) { return Msg(WM_SETFOCUS, Sig::V_W, f); }
template <class C> MsgEntry KillFocus(void (C::*f)(Wnd*)) { return Msg(WM_KILLFOCUS, Sig::V_W, f); }
template <class C> MsgEntry CaptureChanged(void (C::*f)(Wnd*)) { return Msg(WM_CAPTURECHANGED, Sig::V_W, f); }
template <class C> MsgEntry KeyDown(void (C::*f)(UINT, UINT, UINT)) { return Msg(WM_KEYDOWN, Sig::V_U_U_U, f); }
template <class C> MsgEntry KeyUp(void (C::*f)(UINT, UINT, UINT)) { return Msg(WM_KEYUP, Sig::V_U_U_U, f); }
template <class C> MsgEntry Char(void (C::*f)(UINT, UINT, UINT)) { return Msg(WM_CHAR, Sig::V_U_U_U, f); }
template <class C> MsgEntry SysKeyDown(void (C::*f)(UINT, UINT, UINT)) { return Msg(WM_SYSKEYDOWN, Sig::V_U_U_U, f); }
template <class C> MsgEntry MouseMove(void (C::*f)(UINT, Point)) { return Msg(WM_MOUSEMOVE, Sig::V_U_Pt, f); }
template <class C> MsgEntry LButtonDown(void (C::*f)(UINT, Point)) { return Msg(WM_LBUTTONDOWN, Sig::V_U_Pt, f); }
template <class C> MsgEntry LButtonUp(void (C::*f)(UINT, Point)) { return Msg(WM_LBUTTONUP, Sig::V_U_Pt, f); }
template <class C> MsgEntry LButtonDblClk(void (C::*f)(UINT, Point)) { return Msg(WM_LBUTTONDBLCLK, Sig::V_U_Pt, f); }
template <class C> MsgEntry RButtonDown(void (C::*f)(UINT, Point)) { return Msg(WM_RBUTTONDOWN, Sig::V_U_Pt, f); }
template <class C> MsgEntry RButtonUp(void (C::*f)(UINT, Point)) { return Msg(WM_RBUTTONUP, Sig::V_U_Pt, f); }
template <class C> MsgEntry RButtonDblClk(void (C::*f)(UINT, Point)) { return Msg(WM_RBUTTONDBLCLK, Sig::V_U_Pt, f); }
template <class C> MsgEntry MButtonDown(void (C::*f)(UINT, Point)) { return Msg(WM_MBUTTONDOWN, Sig::V_U_Pt, f); }
template <class C> MsgEntry MButtonUp(void (C::*f)(UINT, Point)) { return Msg(WM_MBUTTONUP, Sig::V_U_Pt, f); }
template <class C> MsgEntry MouseWheel(bool (C::*f)(UINT, short, Point)) { return Msg(WM_MOUSEWHEEL, Sig::B_U_S_Pt, f); }
template <class C> MsgEntry SetCursor(bool (C::*f)(Wnd*, UINT, UINT)) { return Msg(WM_SETCURSOR, Sig::B_W_U_U, f); }
template <class C> MsgEntry ContextMenu(void (C::*f)(Wnd*, Point)) { return Msg(WM_CONTEXTMENU, Sig::V_W_Pt, f); }
template <class C> MsgEntry HScroll(void (C::*f)(UINT, UINT, Wnd*)) { return Msg(WM_HSCROLL, Sig::V_U_U_W, f); }
template <class C> MsgEntry VScroll(void (C::*f)(UINT, UINT, Wnd*)) { return Msg(WM_VSCROLL, Sig::V_U_U_W, f); }
template <class C> MsgEntry WindowPosChanging(void (C::*f)(WINDOWPOS*)) { return Msg(WM_WINDOWPOSCHANGING, Sig::V_WP, f); }
template <class C> MsgEntry WindowPosChanged(void (C::*f)(WINDOWPOS*)) { return Msg(WM_WINDOWPOSCHANGED, Sig::V_WP, f); }
template <class C> MsgEntry NcCalcSize(void (C::*f)(bool, NCCALCSIZE_PARAMS*)) { return Msg(WM_NCCALCSIZE, Sig::V_B_NC, f); }
template <class C> MsgEntry ShowWindow(void (C::*f)(bool, UINT)) { return Msg(WM_SHOWWINDOW, Sig::V_B_U, f); }
template <class C> MsgEntry Activate(void (C::*f)(UINT, Wnd*, bool)) { return Msg(WM_ACTIVATE, Sig::V_U_W_B, f); }
template <class C> MsgEntry Enable(void (C::*f)(bool)) { return Msg(WM_ENABLE, Sig::V_B, f); }
template <class C> MsgEntry DrawItem(void (C::*f)(int, DRAWITEMSTRUCT*)) { return Msg(WM_DRAWITEM, Sig::V_I_DIS, f); }
template <class C> MsgEntry MeasureItem(void (C::*f)(int, MEASUREITEMSTRUCT*)) { return Msg(WM_MEASUREITEM, Sig::V_I_MIS, f); }
template <class C> MsgEntry CompareItem(int (C::*f)(int, COMPAREITEMSTRUCT*)) { return Msg(WM_COMPAREITEM, Sig::I_I_CIS, f); }
template <class C> MsgEntry DeleteItem(void (C::*f)(int, DELETEITEMSTRUCT*)) { return Msg(WM_DELETEITEM, Sig::V_I_DEL, f); }
template <class C> MsgEntry ParentNotify(void (C::*f)(UINT, LPARAM)) { return Msg(WM_PARENTNOTIFY, Sig::V_U_LP, f); }
template <class C> MsgEntry InitMenuPopup(void (C::*f)(Menu*, UINT, bool)) { return Msg(WM_INITMENUPOPUP, Sig::V_M_U_B, f); }
template <class C> MsgEntry GetDlgCode(UINT (C::*f)()) { return Msg(WM_GETDLGCODE, Sig::U_V, f); }

template <class F>
MsgEntry Cmd(EntryKind kind, int code, UINT first, UINT last, Sig sig, F f) {
  MsgEntry e;
  e.kind = kind;
  e.code = code;
  e.idFirst = first;
  e.idLast = last;
  e.sig = sig;
  e.pfn = Cast(f);
  return e;
}

template <class C> MsgEntry Command(UINT id, void (C::*f)()) { return Cmd(EntryKind::Command, 0, id, id, Sig::Cmd, f); }
// A command that may decline (false), so the route goes on to the next target.
template <class C> MsgEntry CommandEx(UINT id, bool (C::*f)(UINT)) { return Cmd(EntryKind::Command, 0, id, id, Sig::CmdEx, f); }
template <class C> MsgEntry CommandRange(UINT first, UINT last, void (C::*f)(UINT)) {
  return Cmd(EntryKind::CommandRange, 0, first, last, Sig::CmdRange, f);
}
template <class C> MsgEntry UpdateUI(UINT id, void (C::*f)(CmdUI*)) { return Cmd(EntryKind::UpdateUI, 0, id, id, Sig::Update, f); }
template <class C> MsgEntry UpdateUIRange(UINT first, UINT last, void (C::*f)(CmdUI*)) {
  return Cmd(EntryKind::UpdateUIRange, 0, first, last, Sig::Update, f);
}
// A control notification (BN_CLICKED, EN_CHANGE, CBN_SELCHANGE, ...) from control id.
template <class C> MsgEntry Control(int code, UINT id, void (C::*f)()) { return Cmd(EntryKind::Control, code, id, id, Sig::Cmd, f); }
template <class C> MsgEntry ControlRange(int code, UINT first, UINT last, void (C::*f)(UINT)) {
  return Cmd(EntryKind::Control, code, first, last, Sig::CmdRange, f);
}
template <class C> MsgEntry Notify(int code, UINT id, void (C::*f)(NMHDR*, LRESULT*)) {
  return Cmd(EntryKind::Notify, code, id, id, Sig::Notify, f);
}
template <class C> MsgEntry NotifyRange(int code, UINT first, UINT last, void (C::*f)(UINT, NMHDR*, LRESULT*)) {
  return Cmd(EntryKind::Notify, code, first, last, Sig::NotifyRange, f);
}
template <class C> MsgEntry NotifyEx(int code, UINT first, UINT last, bool (C::*f)(UINT, NMHDR*, LRESULT*)) {
  return Cmd(EntryKind::Notify, code, first, last, Sig::NotifyEx, f);
}
// Notifications the control handles itself when its parent reflects them.
template <class C> MsgEntry ReflectCommand(int code, void (C::*f)()) { return Cmd(EntryKind::ReflectCommand, code, 0, 0, Sig::Cmd, f); }
template <class C> MsgEntry ReflectNotify(int code, void (C::*f)(NMHDR*, LRESULT*)) {
  return Cmd(EntryKind::ReflectNotify, code, 0, 0, Sig::Notify, f);
}

}  // namespace map
}  // namespace ui

// --- Declaring run-time classes and message maps ------------------------------------------------
#define UI_DECLARE_DYNAMIC(cls)                     \
 public:                                            \
  static const ::ui::RuntimeClass* GetThisClass();  \
  const ::ui::RuntimeClass* GetRuntimeClass() const override;

#define UI_DECLARE_DYNCREATE(cls) UI_DECLARE_DYNAMIC(cls)

#define UI_IMPLEMENT_RUNTIME_(cls, basecls, factory)                                 \
  const ::ui::RuntimeClass* cls::GetThisClass() {                                    \
    static const ::ui::RuntimeClass rc{#cls, &basecls::GetThisClass, factory};       \
    return &rc;                                                                      \
  }                                                                                  \
  const ::ui::RuntimeClass* cls::GetRuntimeClass() const { return GetThisClass(); }

#define UI_IMPLEMENT_DYNAMIC(cls, basecls) UI_IMPLEMENT_RUNTIME_(cls, basecls, nullptr)
#define UI_IMPLEMENT_DYNCREATE(cls, basecls) \
  UI_IMPLEMENT_RUNTIME_(cls, basecls, []() -> ::ui::CmdTarget* { return new cls; })

#define UI_RUNTIME_CLASS(cls) (cls::GetThisClass())

#define UI_DECLARE_MESSAGE_MAP()                         \
 public:                                                 \
  static const ::ui::MessageMap* GetThisMessageMap();    \
  const ::ui::MessageMap* GetMessageMap() const override;

#define UI_BEGIN_MESSAGE_MAP(cls, basecls)                                           \
  const ::ui::MessageMap* cls::GetMessageMap() const { return GetThisMessageMap(); } \
  const ::ui::MessageMap* cls::GetThisMessageMap() {                                 \
    using MapBase_ = basecls;                                                        \
    static const ::ui::MsgEntry entries_[] = {
#define UI_END_MESSAGE_MAP()                                                 \
  ::ui::MsgEntry{}                                                           \
  }                                                                          \
  ;                                                                          \
  static const ::ui::MessageMap map_{&MapBase_::GetThisMessageMap, entries_}; \
  return &map_;                                                              \
  }
