#include "platform/ui/tests/ui_fixture.h"

#include <cstring>

#include "platform/ui/commdlg.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace uitest {

std::vector<std::uint8_t> MakeBmp(int width, int height, COLORREF (*color)(int x, int y)) {
  return gdi::MakeBmp(width, height, color);
}

namespace {

// Three 16 x 15 images: image k is a square of colour k on the strip background.
COLORREF StripPixel(int x, int y) {
  static const COLORREF colors[] = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255)};
  const int image = x / 16;
  const int ix = x % 16;
  if (ix >= 4 && ix < 12 && y >= 4 && y < 11) return colors[image % 3];
  return RGB(192, 192, 192);
}

const StringResource kStrings[] = {
    {kCmdOpen, "Opens a file\nOpen"},
    {kCmdSave, "Saves the file\nSave"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {kMenuFrame, "Test Frame\nDoc\nDoc\nTest files (*.tst)\n.tst"},
    {300, "Page A"},
};

const MenuItemResource kContextItems[] = {
    {MF_POPUP, 0, "Context"},
    {0, kCmdOpen, "&Open"},
    {MF_SEPARATOR, 0, nullptr},
    {0, kCmdDisabled, "&Disabled"},
    {MF_END, kCmdNoHandler, "&Nothing"},
    {MF_POPUP | MF_END, 0, "Second"},
    {MF_END, kCmdSave, "&Save"},
};

const MenuItemResource kFrameItems[] = {
    {MF_POPUP, 0, "&File"},
    {0, kCmdOpen, "&Open\tCtrl+O"},
    {0, kCmdSave, "&Save"},
    {MF_END, kCmdNoHandler, "&Nothing"},
    {MF_POPUP | MF_END, 0, "&Window"},
    {MF_END, ID_WINDOW_CASCADE, "&Cascade"},
};

const MenuResource kMenus[] = {{kMenuContext, kContextItems}, {kMenuFrame, kFrameItems}};

const ACCEL kFrameAccel[] = {
    {FVIRTKEY | FCONTROL, 'O', kCmdOpen},
    {FVIRTKEY, VK_F5, kCmdSave},
    {FVIRTKEY | FSHIFT, VK_F6, kCmdDisabled},
};
const AccelResource kAccels[] = {{kAccelFrame, kFrameAccel}};

const DialogItemResource kValueItems[] = {
    {"STATIC", 0xFFFF, "Name", SS_LEFT, 7, 7, 40, 8},
    {"EDIT", 1001, "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 50, 5, 100, 12},
    {"EDIT", 1002, "", WS_BORDER | WS_TABSTOP | ES_NUMBER, 50, 20, 40, 12},
    {"EDIT", 1003, "", WS_BORDER | WS_TABSTOP, 50, 35, 40, 12},
    {"BUTTON", 1004, "&Enable", BS_AUTOCHECKBOX | WS_TABSTOP, 7, 50, 60, 10},
    {"BUTTON", 1005, "One", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 7, 62, 40, 10},
    {"BUTTON", 1006, "Two", BS_AUTORADIOBUTTON, 50, 62, 40, 10},
    {"COMBOBOX", 1007, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 100, 50, 60, 60},
    {"BUTTON", IDOK, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 40, 80, 50, 14},
    {"BUTTON", IDCANCEL, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 100, 80, 50, 14},
};

const DialogItemResource kPageAItems[] = {
    {"EDIT", 2001, "", WS_BORDER | WS_TABSTOP, 7, 7, 80, 12},
};
const DialogItemResource kPageBItems[] = {
    {"BUTTON", 2002, "Flag", BS_AUTOCHECKBOX | WS_TABSTOP, 7, 7, 80, 10},
};
const DialogItemResource kBarItems[] = {
    {"COMBOBOX", 3001, "", CBS_DROPDOWNLIST | WS_TABSTOP, 2, 2, 60, 60},
    {"BUTTON", kCmdOpen, "Open", BS_PUSHBUTTON, 66, 2, 30, 12},
};

const DialogResource kDialogs[] = {
    {kDialogValues, "Values", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 170, 100, "MS Sans Serif", 8, kValueItems},
    {kDialogPageA, "Page A", WS_CHILD | WS_CAPTION, 0, 0, 120, 60, "MS Sans Serif", 8, kPageAItems},
    {kDialogPageB, "Page B", WS_CHILD | WS_CAPTION, 0, 0, 100, 80, "MS Sans Serif", 8, kPageBItems},
    {kDialogBar, "Bar", WS_CHILD, 0, 0, 100, 16, "MS Sans Serif", 8, kBarItems},
};

const UINT kToolbarItems[] = {kCmdOpen, ID_SEPARATOR, kCmdSave, kCmdCheck};
const ToolbarResource kToolbars[] = {{kToolbarMain, 16, 15, kToolbarItems}};

const std::vector<std::uint8_t>& StripBmp() {
  static const std::vector<std::uint8_t> bmp = MakeBmp(48, 15, StripPixel);
  return bmp;
}

}  // namespace

const ResourceSet& TestResources() {
  static const BitmapResource bitmaps[] = {{kToolbarMain, StripBmp()}};
  static const ResourceSet set = [] {
    ResourceSet s;
    s.moduleName = "test";
    s.strings = kStrings;
    s.menus = kMenus;
    s.accelerators = kAccels;
    s.dialogs = kDialogs;
    s.toolbars = kToolbars;
    s.bitmaps = bitmaps;
    return s;
  }();
  return set;
}

void UiTest::SetUpTestSuite() {
  static App app("KEDRUS Test");
  SetAppResources(&TestResources());
}

void UiTest::SetUp() { ui::testing::Reset(); }

void UiTest::TearDown() {
  App::PumpPending();
  EXPECT_TRUE(ui::testing::LiveWindows().empty()) << ui::testing::LiveWindows().size() << " window(s) left over";
  ui::testing::Reset();
}

bool Probe::Make(Wnd* parent, const Rect& rect, UINT id, DWORD style) {
  return Create(nullptr, "probe", style, rect, parent, id);
}

int Probe::Count(UINT message) const {
  int n = 0;
  for (const Seen& s : seen)
    if (s.message == message) ++n;
  return n;
}

const Probe::Seen* Probe::Last(UINT message) const {
  for (auto it = seen.rbegin(); it != seen.rend(); ++it)
    if (it->message == message) return &*it;
  return nullptr;
}

LRESULT Probe::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back({message, wParam, lParam});
  return Wnd::WindowProc(message, wParam, lParam);
}

bool TopWindow::Make(int width, int height) {
  return Create(nullptr, "top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(10, 10, 10 + width, 10 + height), nullptr, 0);
}

}  // namespace uitest
