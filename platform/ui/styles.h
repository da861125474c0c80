#pragma once
// Style bits of windows, controls, control bars, menus and message boxes, and the flags of the
// window operations (ShowWindow, SetWindowPos, RedrawWindow). The numbers are the platform's,
// since the product writes them into its resources and computes with them.
#include "platform/ui/types.h"

namespace ui {

// --- Window styles ------------------------------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
                WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000, WS_MAXIMIZE = 0x01000000,
                WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_DLGFRAME = 0x00400000,
                WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000,
                WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000,
                WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,
                WS_OVERLAPPEDWINDOW = 0x00CF0000, WS_POPUPWINDOW = 0x80880000;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001, WS_EX_NOPARENTNOTIFY = 0x00000004, WS_EX_TOPMOST = 0x00000008,
                WS_EX_TRANSPARENT = 0x00000020, WS_EX_TOOLWINDOW = 0x00000080, WS_EX_WINDOWEDGE = 0x00000100,
                WS_EX_CLIENTEDGE = 0x00000200, WS_EX_CONTROLPARENT = 0x00010000, WS_EX_STATICEDGE = 0x00020000;
// Class styles.
constexpr UINT CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_OWNDC = 0x0020,
               CS_SAVEBITS = 0x0800;

// --- Buttons ------------------------------------------------------------------------------------------
constexpr DWORD BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_CHECKBOX = 0x2, BS_AUTOCHECKBOX = 0x3,
                BS_RADIOBUTTON = 0x4, BS_3STATE = 0x5, BS_AUTO3STATE = 0x6, BS_GROUPBOX = 0x7,
                BS_AUTORADIOBUTTON = 0x9, BS_OWNERDRAW = 0xB, BS_TYPEMASK = 0xF, BS_LEFTTEXT = 0x20,
                BS_ICON = 0x40, BS_BITMAP = 0x80, BS_LEFT = 0x100, BS_RIGHT = 0x200, BS_CENTER = 0x300,
                BS_VCENTER = 0xC00, BS_PUSHLIKE = 0x1000, BS_MULTILINE = 0x2000, BS_NOTIFY = 0x4000,
                BS_FLAT = 0x8000;
constexpr UINT BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_GETSTATE = 0x00F2, BM_SETSTATE = 0x00F3,
               BM_SETSTYLE = 0x00F4, BM_CLICK = 0x00F5, BM_GETIMAGE = 0x00F6, BM_SETIMAGE = 0x00F7;
constexpr int BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2, BST_PUSHED = 4, BST_FOCUS = 8;

// --- Statics ----------------------------------------------------------------------------------------
constexpr DWORD SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2, SS_ICON = 0x3, SS_BLACKRECT = 0x4,
                SS_GRAYRECT = 0x5, SS_WHITERECT = 0x6, SS_BLACKFRAME = 0x7, SS_GRAYFRAME = 0x8,
                SS_WHITEFRAME = 0x9, SS_SIMPLE = 0xB, SS_LEFTNOWORDWRAP = 0xC, SS_OWNERDRAW = 0xD,
                SS_BITMAP = 0xE, SS_ETCHEDHORZ = 0x10, SS_ETCHEDVERT = 0x11, SS_ETCHEDFRAME = 0x12,
                SS_TYPEMASK = 0x1F, SS_NOPREFIX = 0x80, SS_NOTIFY = 0x100, SS_CENTERIMAGE = 0x200,
                SS_SUNKEN = 0x1000;

// --- Edits ------------------------------------------------------------------------------------------
constexpr DWORD ES_LEFT = 0x0, ES_CENTER = 0x1, ES_RIGHT = 0x2, ES_MULTILINE = 0x4, ES_UPPERCASE = 0x8,
                ES_LOWERCASE = 0x10, ES_PASSWORD = 0x20, ES_AUTOVSCROLL = 0x40, ES_AUTOHSCROLL = 0x80,
                ES_NOHIDESEL = 0x100, ES_READONLY = 0x800, ES_WANTRETURN = 0x1000, ES_NUMBER = 0x2000;

// --- List boxes and combo boxes ------------------------------------------------------------------------------
constexpr DWORD LBS_NOTIFY = 0x1, LBS_SORT = 0x2, LBS_NOREDRAW = 0x4, LBS_MULTIPLESEL = 0x8,
                LBS_OWNERDRAWFIXED = 0x10, LBS_OWNERDRAWVARIABLE = 0x20, LBS_HASSTRINGS = 0x40,
                LBS_USETABSTOPS = 0x80, LBS_NOINTEGRALHEIGHT = 0x100, LBS_EXTENDEDSEL = 0x800,
                LBS_DISABLENOSCROLL = 0x1000, LBS_NOSEL = 0x4000, LBS_STANDARD = 0x00A00003;
constexpr DWORD CBS_SIMPLE = 0x1, CBS_DROPDOWN = 0x2, CBS_DROPDOWNLIST = 0x3, CBS_OWNERDRAWFIXED = 0x10,
                CBS_OWNERDRAWVARIABLE = 0x20, CBS_AUTOHSCROLL = 0x40, CBS_SORT = 0x100, CBS_HASSTRINGS = 0x200,
                CBS_NOINTEGRALHEIGHT = 0x400, CBS_DISABLENOSCROLL = 0x800;
constexpr int LB_ERR = -1, CB_ERR = -1;

// --- List views ------------------------------------------------------------------------------------------
constexpr DWORD LVS_ICON = 0x0, LVS_REPORT = 0x1, LVS_SMALLICON = 0x2, LVS_LIST = 0x3, LVS_TYPEMASK = 0x3,
                LVS_SINGLESEL = 0x4, LVS_SHOWSELALWAYS = 0x8, LVS_SORTASCENDING = 0x10,
                LVS_SORTDESCENDING = 0x20, LVS_NOLABELWRAP = 0x80, LVS_AUTOARRANGE = 0x100,
                LVS_EDITLABELS = 0x200, LVS_OWNERDRAWFIXED = 0x400, LVS_NOCOLUMNHEADER = 0x4000,
                LVS_NOSORTHEADER = 0x8000;
constexpr int LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2;
constexpr UINT LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2;
constexpr UINT LVIF_TEXT = 0x1, LVIF_IMAGE = 0x2, LVIF_PARAM = 0x4, LVIF_STATE = 0x8;
constexpr int LVNI_ALL = 0, LVNI_FOCUSED = 1, LVNI_SELECTED = 2;
constexpr int LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2;
constexpr int LVHT_NOWHERE = 0x1, LVHT_ONITEMICON = 0x2, LVHT_ONITEMLABEL = 0x4, LVHT_ONITEM = 0x6;

// --- Tabs, tool tips, status bars --------------------------------------------------------------------------
constexpr DWORD TCS_TABS = 0x0, TCS_BUTTONS = 0x100, TCS_MULTILINE = 0x200;
constexpr DWORD TTS_ALWAYSTIP = 0x1, TTS_NOPREFIX = 0x2;
constexpr UINT TTF_IDISHWND = 0x1, TTF_SUBCLASS = 0x10;
constexpr UINT TTM_ACTIVATE = 0x0401;
constexpr DWORD SBPS_NORMAL = 0x0, SBPS_NOBORDERS = 0x100, SBPS_POPOUT = 0x200, SBPS_DISABLED = 0x4000000,
                SBPS_STRETCH = 0x8000000;

// --- Toolbars ---------------------------------------------------------------------------------------------
// Button styles (low word) and states (high word) as the class library's toolbar keeps them.
constexpr DWORD TBSTYLE_BUTTON = 0x0, TBSTYLE_SEP = 0x1, TBSTYLE_CHECK = 0x2, TBSTYLE_GROUP = 0x4,
                TBSTYLE_CHECKGROUP = 0x6, TBSTYLE_DROPDOWN = 0x8, TBSTYLE_TOOLTIPS = 0x100,
                TBSTYLE_WRAPABLE = 0x200, TBSTYLE_FLAT = 0x800, TBSTYLE_LIST = 0x1000;
constexpr DWORD TBSTATE_CHECKED = 0x1, TBSTATE_PRESSED = 0x2, TBSTATE_ENABLED = 0x4, TBSTATE_HIDDEN = 0x8,
                TBSTATE_INDETERMINATE = 0x10, TBSTATE_WRAP = 0x20;
constexpr UINT TBBS_BUTTON = 0x0, TBBS_SEPARATOR = 0x1, TBBS_CHECKBOX = 0x2, TBBS_GROUP = 0x4,
               TBBS_CHECKGROUP = 0x6, TBBS_DROPDOWN = 0x8, TBBS_CHECKED = 0x10000, TBBS_PRESSED = 0x20000,
               TBBS_DISABLED = 0x40000, TBBS_HIDDEN = 0x80000, TBBS_INDETERMINATE = 0x100000,
               TBBS_WRAPPED = 0x200000;
constexpr UINT TB_BUTTONCOUNT = 0x0418, TB_SETTOOLTIPS = 0x0424;

// --- Control bars -----------------------------------------------------------------------------------------
constexpr DWORD CBRS_FLOATING = 0x0001, CBRS_SIZE_FIXED = 0x0002, CBRS_SIZE_DYNAMIC = 0x0004,
                CBRS_HIDE_INPLACE = 0x0008, CBRS_TOOLTIPS = 0x0010, CBRS_FLYBY = 0x0020,
                CBRS_FLOAT_MULTI = 0x0040, CBRS_BORDER_3D = 0x0080, CBRS_BORDER_LEFT = 0x0100,
                CBRS_BORDER_TOP = 0x0200, CBRS_BORDER_RIGHT = 0x0400, CBRS_BORDER_BOTTOM = 0x0800,
                CBRS_BORDER_ANY = 0x0F00, CBRS_ALIGN_LEFT = 0x1000, CBRS_ALIGN_TOP = 0x2000,
                CBRS_ALIGN_RIGHT = 0x4000, CBRS_ALIGN_BOTTOM = 0x8000, CBRS_ALIGN_ANY = 0xF000,
                CBRS_GRIPPER = 0x00400000, CBRS_ALL = 0x0040FFFF, CBRS_NOALIGN = 0x0,
                CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM,
                CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT,
                CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT, CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM,
                CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT,
                CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
// Layout modes of CalcDynamicLayout.
constexpr DWORD LM_STRETCH = 0x01, LM_HORZ = 0x02, LM_MRUWIDTH = 0x04, LM_HORZDOCK = 0x08,
                LM_VERTDOCK = 0x10, LM_LENGTHY = 0x20, LM_COMMIT = 0x40;

// --- Menus -----------------------------------------------------------------------------------------------
constexpr UINT MF_STRING = 0x0, MF_ENABLED = 0x0, MF_UNCHECKED = 0x0, MF_BYCOMMAND = 0x0, MF_GRAYED = 0x1,
               MF_DISABLED = 0x2, MF_BITMAP = 0x4, MF_CHECKED = 0x8, MF_POPUP = 0x10, MF_MENUBARBREAK = 0x20,
               MF_MENUBREAK = 0x40, MF_END = 0x80, MF_OWNERDRAW = 0x100, MF_BYPOSITION = 0x400,
               MF_SEPARATOR = 0x800, MF_DEFAULT = 0x1000, MF_RADIOCHECK = 0x200;
constexpr UINT TPM_LEFTALIGN = 0x0, TPM_CENTERALIGN = 0x4, TPM_RIGHTALIGN = 0x8, TPM_TOPALIGN = 0x0,
               TPM_VCENTERALIGN = 0x10, TPM_BOTTOMALIGN = 0x20, TPM_LEFTBUTTON = 0x0, TPM_RIGHTBUTTON = 0x2,
               TPM_NONOTIFY = 0x80, TPM_RETURNCMD = 0x100;
// Accelerator flags.
constexpr BYTE FVIRTKEY = 0x01, FNOINVERT = 0x02, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10;

// --- Message boxes -----------------------------------------------------------------------------------------
constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
               MB_RETRYCANCEL = 0x5, MB_TYPEMASK = 0xF, MB_ICONHAND = 0x10, MB_ICONERROR = 0x10,
               MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30,
               MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40, MB_ICONMASK = 0xF0, MB_DEFBUTTON1 = 0x0,
               MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFMASK = 0xF00, MB_APPLMODAL = 0x0,
               MB_TASKMODAL = 0x2000;

// --- Dialog templates --------------------------------------------------------------------------------------
constexpr DWORD DS_SETFONT = 0x40, DS_MODALFRAME = 0x80, DS_CENTER = 0x800, DS_CONTROL = 0x400;

// --- Window operations -------------------------------------------------------------------------------------
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
              SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
              SW_SHOWNA = 8, SW_RESTORE = 9, SW_SHOWDEFAULT = 10;
constexpr UINT SWP_NOSIZE = 0x1, SWP_NOMOVE = 0x2, SWP_NOZORDER = 0x4, SWP_NOREDRAW = 0x8, SWP_NOACTIVATE = 0x10,
               SWP_FRAMECHANGED = 0x20, SWP_SHOWWINDOW = 0x40, SWP_HIDEWINDOW = 0x80, SWP_NOCOPYBITS = 0x100,
               SWP_NOOWNERZORDER = 0x200;
constexpr UINT RDW_INVALIDATE = 0x1, RDW_INTERNALPAINT = 0x2, RDW_ERASE = 0x4, RDW_VALIDATE = 0x8,
               RDW_NOERASE = 0x20, RDW_NOCHILDREN = 0x40, RDW_ALLCHILDREN = 0x80, RDW_UPDATENOW = 0x100,
               RDW_ERASENOW = 0x200, RDW_FRAME = 0x400;
// GetWindow relations.
constexpr UINT GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4, GW_CHILD = 5;
// Special z-order positions for SetWindowPos.
inline const HWND HWND_TOP = HWND(0);
inline const HWND HWND_BOTTOM = HWND(1);

// Standard cursors (LoadStandardCursor).
constexpr UINT IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_CROSS = 32515, IDC_UPARROW = 32516,
               IDC_SIZENWSE = 32642, IDC_SIZENESW = 32643, IDC_SIZEWE = 32644, IDC_SIZENS = 32645,
               IDC_SIZEALL = 32646, IDC_NO = 32648, IDC_HAND = 32649;

}  // namespace ui
