#pragma once
// Message numbers, notification codes, key codes and the standard command ids.
//
// The numbers are those of the platform the product was written for, because the product
// computes with them (reflected messages are the message number plus 0x2000, a dialog's push
// buttons are IDOK and IDCANCEL, its toolbar style words carry CBRS_ bits), and because ids and
// styles in its resources are stored as numbers.
#include "platform/ui/types.h"

namespace ui {

// --- Window messages ---------------------------------------------------------------------------
constexpr UINT WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
               WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A,
               WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E,
               WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014,
               WM_SHOWWINDOW = 0x0018, WM_ACTIVATEAPP = 0x001C, WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020,
               WM_MOUSEACTIVATE = 0x0021, WM_GETMINMAXINFO = 0x0024, WM_DRAWITEM = 0x002B,
               WM_MEASUREITEM = 0x002C, WM_DELETEITEM = 0x002D, WM_VKEYTOITEM = 0x002E, WM_CHARTOITEM = 0x002F,
               WM_SETFONT = 0x0030, WM_GETFONT = 0x0031, WM_COMPAREITEM = 0x0039,
               WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047, WM_NOTIFY = 0x004E,
               WM_CONTEXTMENU = 0x007B, WM_NCCREATE = 0x0081, WM_NCDESTROY = 0x0082, WM_NCCALCSIZE = 0x0083,
               WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086, WM_GETDLGCODE = 0x0087,
               WM_KEYFIRST = 0x0100, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102,
               WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105, WM_SYSCHAR = 0x0106, WM_KEYLAST = 0x0109,
               WM_INITDIALOG = 0x0110, WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113,
               WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115, WM_INITMENU = 0x0116, WM_INITMENUPOPUP = 0x0117,
               WM_MENUSELECT = 0x011F, WM_ENTERIDLE = 0x0121, WM_CTLCOLORMSGBOX = 0x0132,
               WM_CTLCOLOREDIT = 0x0133, WM_CTLCOLORLISTBOX = 0x0134, WM_CTLCOLORBTN = 0x0135,
               WM_CTLCOLORDLG = 0x0136, WM_CTLCOLORSCROLLBAR = 0x0137, WM_CTLCOLORSTATIC = 0x0138,
               WM_MOUSEFIRST = 0x0200, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
               WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
               WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208,
               WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A, WM_XBUTTONDOWN = 0x020B,
               WM_XBUTTONUP = 0x020C, WM_XBUTTONDBLCLK = 0x020D, WM_MOUSELAST = 0x020D,
               WM_PARENTNOTIFY = 0x0210, WM_ENTERMENULOOP = 0x0211, WM_EXITMENULOOP = 0x0212,
               WM_CAPTURECHANGED = 0x0215, WM_MDICREATE = 0x0220, WM_MDIDESTROY = 0x0221,
               WM_MDIACTIVATE = 0x0222, WM_MDIRESTORE = 0x0223, WM_MDINEXT = 0x0224, WM_MDIMAXIMIZE = 0x0225,
               WM_MDITILE = 0x0226, WM_MDICASCADE = 0x0227, WM_MDIGETACTIVE = 0x0229, WM_MDISETMENU = 0x0230,
               WM_MDIREFRESHMENU = 0x0234, WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302,
               WM_CLEAR = 0x0303, WM_UNDO = 0x0304, WM_USER = 0x0400, WM_APP = 0x8000;

// Messages of the class library's frames, bars and views.
constexpr UINT WM_SIZEPARENT = 0x0361, WM_SETMESSAGESTRING = 0x0362, WM_IDLEUPDATECMDUI = 0x0363,
               WM_INITIALUPDATE = 0x0364, WM_COMMANDHELP = 0x0365, WM_RECALCPARENT = 0x0368,
               WM_KICKIDLE = 0x036A;

// Notifications that a parent sends back to the child control that raised them arrive there as
// the message number plus this (the range OLE controls reflect into).
constexpr UINT OCM_BASE = WM_USER + 0x1C00;

// WM_SIZE kinds, WM_ACTIVATE states, WM_SHOWWINDOW and WM_PARENTNOTIFY.
constexpr UINT SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;
constexpr UINT WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
// WM_NCHITTEST results.
constexpr int HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTMINBUTTON = 8,
              HTMAXBUTTON = 9, HTBORDER = 18, HTCLOSE = 20;
// Mouse messages of a window's non-client area (the hit code in wParam, the screen point in lParam).
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1, WM_NCLBUTTONDBLCLK = 0x00A3;
// WM_MOUSEACTIVATE results.
constexpr int MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4;
// WM_SYSCOMMAND codes.
constexpr UINT SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
               SC_NEXTWINDOW = 0xF040, SC_CLOSE = 0xF060, SC_RESTORE = 0xF120;
// WM_GETDLGCODE results.
constexpr UINT DLGC_WANTARROWS = 0x1, DLGC_WANTTAB = 0x2, DLGC_WANTALLKEYS = 0x4, DLGC_WANTCHARS = 0x80,
               DLGC_HASSETSEL = 0x8, DLGC_DEFPUSHBUTTON = 0x10, DLGC_UNDEFPUSHBUTTON = 0x20,
               DLGC_BUTTON = 0x2000, DLGC_STATIC = 0x100;

// Scroll bar codes (WM_HSCROLL / WM_VSCROLL) and bars.
constexpr UINT SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2,
               SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6,
               SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8;
constexpr int SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3;

// Mouse key-state flags of mouse messages.
constexpr UINT MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08, MK_MBUTTON = 0x10,
               MK_XBUTTON1 = 0x20, MK_XBUTTON2 = 0x40;
constexpr int WHEEL_DELTA = 120;

// --- Control notifications (WM_COMMAND high word) ------------------------------------------------
constexpr int BN_CLICKED = 0, BN_DOUBLECLICKED = 5, BN_SETFOCUS = 6, BN_KILLFOCUS = 7;
constexpr int STN_CLICKED = 0, STN_DBLCLK = 1;
constexpr int EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400,
              EN_MAXTEXT = 0x0501, EN_HSCROLL = 0x0601, EN_VSCROLL = 0x0602;
constexpr int LBN_ERRSPACE = -2, LBN_SELCHANGE = 1, LBN_DBLCLK = 2, LBN_SELCANCEL = 3, LBN_SETFOCUS = 4,
              LBN_KILLFOCUS = 5;
constexpr int CBN_ERRSPACE = -1, CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3, CBN_KILLFOCUS = 4,
              CBN_EDITCHANGE = 5, CBN_EDITUPDATE = 6, CBN_DROPDOWN = 7, CBN_CLOSEUP = 8, CBN_SELENDOK = 9,
              CBN_SELENDCANCEL = 10;

// --- WM_NOTIFY codes ---------------------------------------------------------------------------
constexpr int NM_FIRST = 0, NM_OUTOFMEMORY = -1, NM_CLICK = -2, NM_DBLCLK = -3, NM_RETURN = -4, NM_RCLICK = -5,
              NM_RDBLCLK = -6, NM_SETFOCUS = -7, NM_KILLFOCUS = -8, NM_CUSTOMDRAW = -12;
constexpr int LVN_FIRST = -100, LVN_ITEMCHANGING = -100, LVN_ITEMCHANGED = -101, LVN_INSERTITEM = -102,
              LVN_DELETEITEM = -103, LVN_DELETEALLITEMS = -104, LVN_COLUMNCLICK = -108, LVN_BEGINDRAG = -109,
              LVN_KEYDOWN = -155;
constexpr int TTN_FIRST = -520, TTN_NEEDTEXTA = -520, TTN_NEEDTEXTW = -530, TTN_SHOW = -521, TTN_POP = -522;
constexpr int TTN_NEEDTEXT = TTN_NEEDTEXTA;
constexpr int TCN_FIRST = -550, TCN_KEYDOWN = -550, TCN_SELCHANGE = -551, TCN_SELCHANGING = -552;
constexpr int TBN_FIRST = -700, TBN_DROPDOWN = -710;
constexpr int PSN_FIRST = -200, PSN_SETACTIVE = -200, PSN_KILLACTIVE = -201, PSN_APPLY = -202, PSN_RESET = -203;
// The text a tool tip asks for through TTN_NEEDTEXT.
inline const char* const LPSTR_TEXTCALLBACK = reinterpret_cast<const char*>(std::intptr_t(-1));

// --- Owner-drawn items --------------------------------------------------------------------------
constexpr UINT ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_STATIC = 5,
               ODT_LISTVIEW = 102;
constexpr UINT ODA_DRAWENTIRE = 1, ODA_SELECT = 2, ODA_FOCUS = 4;
constexpr UINT ODS_SELECTED = 0x0001, ODS_GRAYED = 0x0002, ODS_DISABLED = 0x0004, ODS_CHECKED = 0x0008,
               ODS_FOCUS = 0x0010, ODS_DEFAULT = 0x0020, ODS_COMBOBOXEDIT = 0x1000;

// --- Dialog and message box results --------------------------------------------------------------
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7,
              IDCLOSE = 8, IDHELP = 9;
constexpr int IDC_STATIC = -1;

// --- Virtual keys ---------------------------------------------------------------------------------
constexpr UINT VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08,
               VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
               VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
               VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
               VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E,
               VK_HELP = 0x2F, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C,
               VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F2 = 0x71,
               VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75, VK_F7 = 0x76, VK_F8 = 0x77,
               VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B, VK_F24 = 0x87, VK_NUMLOCK = 0x90,
               VK_SCROLL = 0x91, VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC,
               VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0,
               VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE;
// Key message lParam bits: repeat count in the low word, then these.
constexpr LPARAM KF_EXTENDED_BIT = 1 << 24, KF_ALTDOWN_BIT = 1 << 29, KF_REPEAT_BIT = 1 << 30;
constexpr std::uint32_t KF_UP_BIT = 0x80000000u;

// --- Hooks --------------------------------------------------------------------------------------
constexpr int WH_KEYBOARD = 2, WH_MOUSE = 7;
constexpr int HC_ACTION = 0, HC_NOREMOVE = 3;

// --- Standard command and window ids ------------------------------------------------------------------
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_FILE_NEW = 0xE100, ID_FILE_OPEN = 0xE101, ID_FILE_CLOSE = 0xE102, ID_FILE_SAVE = 0xE103,
               ID_FILE_SAVE_AS = 0xE104, ID_FILE_PAGE_SETUP = 0xE105, ID_FILE_PRINT_SETUP = 0xE106,
               ID_FILE_PRINT = 0xE107, ID_FILE_PRINT_DIRECT = 0xE108, ID_FILE_PRINT_PREVIEW = 0xE109,
               ID_FILE_MRU_FILE1 = 0xE110, ID_FILE_MRU_FILE16 = 0xE11F;
constexpr UINT ID_EDIT_CLEAR = 0xE120, ID_EDIT_CLEAR_ALL = 0xE121, ID_EDIT_COPY = 0xE122, ID_EDIT_CUT = 0xE123,
               ID_EDIT_FIND = 0xE124, ID_EDIT_PASTE = 0xE125, ID_EDIT_SELECT_ALL = 0xE12A, ID_EDIT_UNDO = 0xE12B,
               ID_EDIT_REDO = 0xE12C;
constexpr UINT ID_WINDOW_NEW = 0xE130, ID_WINDOW_ARRANGE = 0xE131, ID_WINDOW_CASCADE = 0xE132,
               ID_WINDOW_TILE_HORZ = 0xE133, ID_WINDOW_TILE_VERT = 0xE134, ID_WINDOW_SPLIT = 0xE135;
constexpr UINT ID_APP_ABOUT = 0xE140, ID_APP_EXIT = 0xE141, ID_HELP_INDEX = 0xE142, ID_HELP_FINDER = 0xE143,
               ID_HELP_USING = 0xE144, ID_CONTEXT_HELP = 0xE145, ID_HELP = 0xE146, ID_DEFAULT_HELP = 0xE147;
constexpr UINT ID_NEXT_PANE = 0xE150, ID_PREV_PANE = 0xE151;
constexpr UINT ID_INDICATOR_EXT = 0xE700, ID_INDICATOR_CAPS = 0xE701, ID_INDICATOR_NUM = 0xE702,
               ID_INDICATOR_SCRL = 0xE703, ID_INDICATOR_OVR = 0xE704, ID_INDICATOR_REC = 0xE705;
constexpr UINT ID_VIEW_TOOLBAR = 0xE800, ID_VIEW_STATUS_BAR = 0xE801;
// The first MDI child's command id in the window menu's list of children.
constexpr UINT AFX_IDM_FIRST_MDICHILD = 0xFF00;
constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800, AFX_IDW_CONTROLBAR_LAST = 0xE8FF, AFX_IDW_TOOLBAR = 0xE800,
               AFX_IDW_STATUS_BAR = 0xE801, AFX_IDW_PREVIEW_BAR = 0xE802, AFX_IDW_RESIZE_BAR = 0xE803,
               AFX_IDW_DOCKBAR_TOP = 0xE81B, AFX_IDW_DOCKBAR_LEFT = 0xE81C, AFX_IDW_DOCKBAR_RIGHT = 0xE81D,
               AFX_IDW_DOCKBAR_BOTTOM = 0xE81E, AFX_IDW_DOCKBAR_FLOAT = 0xE81F, AFX_IDW_PANE_FIRST = 0xE900,
               AFX_IDW_PANE_LAST = 0xE9FF;
// Standard string ids of the frame (message line idle text).
constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;

}  // namespace ui
