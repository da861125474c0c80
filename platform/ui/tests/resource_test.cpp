// Resources per module, menus and accelerators as data, number text of the value exchange, and
// the layout of docked bars.
#include <thread>

#include "platform/ui/bars.h"
#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"
#include "platform/ui/tests/ui_fixture.h"

namespace uitest {
namespace {

const StringResource kOtherStrings[] = {{kCmdOpen, "Ouvrir\nOuvrir"}, {9, "only here"}};
const VersionString kOtherVersion[] = {{"FileVersion", "2.0.1"}, {"CompanyName", "Orvane"}};
const VersionResource kOtherVersionRecord{plat::makeVersionRecord(2, 0, 1, 0, plat::kVersionTypeDll).info, kOtherVersion};

TEST_F(UiTest, TheModuleStateDecidesWhoseResourcesACallSees) {
  ResourceSet other;
  other.moduleName = "other";
  other.strings = kOtherStrings;
  other.version = &kOtherVersionRecord;
  ModuleState otherState{&other};
  EXPECT_EQ(LoadString(kCmdOpen), "Opens a file\nOpen");
  EXPECT_EQ(LoadString(9), "");
  {
    ModuleStateScope scope(&otherState);
    EXPECT_EQ(GetSubString(LoadString(kCmdOpen), 1), "Ouvrir");
    EXPECT_EQ(LoadString(9), "only here");
    EXPECT_EQ(GetVersionString("FileVersion"), "2.0.1");
    EXPECT_EQ(FindVersionResource()->fixed.fileVersionMS, 0x00020000u);
    EXPECT_EQ(FindMenuResource(kMenuFrame), nullptr);  // the other module has no menus
    {
      ModuleStateScope back(AppModuleState());
      EXPECT_NE(FindMenuResource(kMenuFrame), nullptr);
    }
    EXPECT_EQ(LoadString(9), "only here");
    // Another thread starts in the program's state.
    std::string seen;
    std::thread([&] { seen = LoadString(9); }).join();
    EXPECT_EQ(seen, "");
  }
  EXPECT_EQ(LoadString(9), "");
  EXPECT_EQ(GetSubString("a\nb\n\nd", 3), "d");
  EXPECT_EQ(GetSubString("a\nb", 5), "");
  const gdi::Bitmap strip = LoadBitmap(kToolbarMain);
  ASSERT_FALSE(strip.IsNull());
  EXPECT_EQ(strip.GetSize(), (Size{48, 15}));
  EXPECT_TRUE(LoadBitmap(12345).IsNull());
}

TEST_F(UiTest, MenusLoadFromResourcesAndChangeByCommandOrPosition) {
  Menu menu;
  EXPECT_FALSE(menu.LoadMenu(777));
  ASSERT_TRUE(menu.LoadMenu(kMenuContext));
  ASSERT_EQ(menu.GetMenuItemCount(), 2);
  EXPECT_EQ(menu.GetMenuItemID(0), 0xFFFFFFFFu);  // a popup
  Menu* first = menu.GetSubMenu(0);
  ASSERT_EQ(first->GetMenuItemCount(), 4);
  EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION) & MF_POPUP, MF_POPUP);
  EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION) >> 8, 4u);  // its item count
  EXPECT_EQ(menu.GetSubMenu(1)->GetMenuItemID(0), kCmdSave);
  // By command: found in any popup.
  EXPECT_EQ(menu.GetMenuString(kCmdSave, MF_BYCOMMAND), "&Save");
  EXPECT_EQ(menu.EnableMenuItem(kCmdSave, MF_BYCOMMAND | MF_GRAYED), 0u);
  EXPECT_EQ(menu.EnableMenuItem(kCmdSave, MF_BYCOMMAND | MF_ENABLED), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(menu.EnableMenuItem(999, MF_BYCOMMAND), 0xFFFFFFFFu);
  EXPECT_TRUE(menu.InsertMenu(kCmdNoHandler, MF_BYCOMMAND, 500, "Before nothing"));
  EXPECT_EQ(first->GetMenuItemID(3), 500u);
  EXPECT_TRUE(menu.ModifyMenu(500, MF_BYCOMMAND | MF_CHECKED, 501, "Renamed"));
  EXPECT_EQ(first->GetMenuState(3, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
  EXPECT_TRUE(first->CheckMenuRadioItem(0, 4, 4, MF_BYPOSITION));
  EXPECT_EQ(first->GetMenuState(4, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
  EXPECT_EQ(first->GetMenuState(3, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_TRUE(menu.DeleteMenu(501, MF_BYCOMMAND));
  EXPECT_EQ(first->GetMenuItemCount(), 4);
  std::unique_ptr<Menu> taken = menu.RemoveMenu(1, MF_BYPOSITION);
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(taken->GetMenuItemID(0), kCmdSave);
  EXPECT_EQ(menu.GetMenuItemCount(), 1);
  Menu* added = menu.AppendPopup(std::move(taken), "Again");
  EXPECT_EQ(menu.GetSubMenu(1), added);
}

TEST_F(UiTest, AcceleratorsMatchTheirKeyAndExactlyTheirModifiers) {
  const AccelTable table = AccelTable::Load(kAccelFrame);
  ASSERT_FALSE(table.IsEmpty());
  const AccelTable chars({{0, 'q', 77}, {FALT, 'q', 78}});
  ui::testing::Reset();
  EXPECT_EQ(table.Match(WM_KEYDOWN, VK_F5), kCmdSave);
  EXPECT_EQ(table.Match(WM_KEYDOWN, 'O'), 0);  // Ctrl is not down
  EXPECT_EQ(table.Match(WM_CHAR, VK_F5), 0);
  EXPECT_EQ(chars.Match(WM_CHAR, 'q'), 77);
  EXPECT_EQ(chars.Match(WM_SYSCHAR, 'q'), 78);
  EXPECT_EQ(AccelTable::Load(999).Match(WM_KEYDOWN, VK_F5), 0);
}

TEST_F(UiTest, NumberTextIsWrittenAndReadAsTheRuntimeDoesInTheCLocale) {
  EXPECT_EQ(FormatNumber("%.3f", 1.5), "1.500");
  EXPECT_EQ(FormatNumber("%0.1f", 2.25), "2.2");  // binary 2.25 is exact: ties go to even
  EXPECT_EQ(FormatNumber("%.1f", 2.35), "2.4");
  EXPECT_EQ(FormatNumber("%6.2f|", -1.5), " -1.50|");
  EXPECT_EQ(FormatNumber("%-6.1f|", 3.0), "3.0   |");
  EXPECT_EQ(FormatNumber("%06.1f", -3.0), "-003.0");
  EXPECT_EQ(FormatNumber("Phase 0: %.2f deg", 12.345), "Phase 0: 12.35 deg");
  EXPECT_EQ(FormatNumber("Amplitude: %.f%%", 250.0), "Amplitude: 250%");
  EXPECT_EQ(FormatNumber("%g", 0.0001), "0.0001");
  EXPECT_EQ(FormatNumber("%e", 12345.0), "1.234500e+04");
  EXPECT_EQ(FormatNumber("%+.1f", 2.0), "+2.0");
  EXPECT_EQ(FormatNumber("no conversion", 1.0), "no conversion");
  EXPECT_EQ(FormatInteger("%d", -42), "-42");
  EXPECT_EQ(FormatInteger("%lu", -1), "4294967295");
  EXPECT_EQ(FormatInteger("%5u", 7), "    7");
  double d = 0;
  EXPECT_TRUE(ScanDouble("  1e3xyz", &d));
  EXPECT_DOUBLE_EQ(d, 1000.0);
  EXPECT_TRUE(ScanDouble("-.5", &d));
  EXPECT_DOUBLE_EQ(d, -0.5);
  EXPECT_FALSE(ScanDouble("x1", &d));
  EXPECT_FALSE(ScanDouble("", &d));
  long long n = 0;
  EXPECT_TRUE(ScanInteger(" -12ab", &n));
  EXPECT_EQ(n, -12);
  EXPECT_FALSE(ScanInteger("+", &n));
}

class DockFrame : public FrameWnd {
 public:
  DockFrame() { m_bAutoDelete = false; }
};

TEST_F(UiTest, DockedBarsTakeRowsAlongTheirSideAndTheRestGoesToTheView) {
  DockFrame frame;
  ASSERT_TRUE(frame.Create(nullptr, "Dock", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(0, 0, 800, 600)));
  frame.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM | CBRS_ALIGN_LEFT);
  Wnd view;
  ASSERT_TRUE(view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, Rect(), &frame, AFX_IDW_PANE_FIRST));
  ToolBar a, b, c, onlyRight;
  const UINT ids[] = {kCmdOpen, kCmdSave};
  UINT next = 600;
  for (ToolBar* bar : {&a, &b, &c, &onlyRight}) {
    // A bar never docked takes its side as a bar of its own: the one that cannot dock is hidden.
    ASSERT_TRUE(bar->Create(&frame, WS_CHILD | (bar == &onlyRight ? 0 : WS_VISIBLE) | CBRS_TOP, next++));
    bar->SetButtons(ids, 2);
  }
  a.EnableDocking(CBRS_ALIGN_ANY);
  b.EnableDocking(CBRS_ALIGN_ANY);
  c.EnableDocking(CBRS_ALIGN_BOTTOM);
  onlyRight.EnableDocking(CBRS_ALIGN_RIGHT);
  frame.DockControlBar(&a);
  frame.DockControlBar(&c);  // the first side it may take: the bottom
  EXPECT_EQ(c.GetDockBar()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_FALSE(frame.CanDock(&onlyRight));
  frame.DockControlBar(&onlyRight);
  EXPECT_EQ(onlyRight.GetDockBar(), nullptr);
  // b beside a in its row: docked at a rectangle to the right of a.
  Rect ar;
  a.GetWindowRect(&ar);
  const Rect at(ar.right + 10, ar.top, ar.right + 60, ar.bottom);
  frame.DockControlBar(&b, AFX_IDW_DOCKBAR_TOP, &at);
  a.GetWindowRect(&ar);
  int row = -1, offset = -1;
  ASSERT_TRUE(b.GetDockBar()->GetPlace(&b, &row, &offset));
  EXPECT_EQ(row, 0);
  DockBar* top = frame.GetDockBar(AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(top->RowCount(), 1);
  Rect br;
  b.GetWindowRect(&br);
  EXPECT_EQ(br.top, ar.top);
  EXPECT_GE(br.left, ar.right);
  // The view takes what the bars leave.
  Rect viewRect, client, cr;
  view.GetWindowRect(&viewRect);
  frame.ScreenToClient(&viewRect);
  frame.GetClientRect(&client);
  c.GetWindowRect(&cr);
  EXPECT_EQ(viewRect.top, ar.Height());
  EXPECT_EQ(viewRect.bottom, client.bottom - cr.Height());
  // A delayed hide waits for the frame's next layout (on idle).
  frame.ShowControlBar(&c, false, true);
  EXPECT_FALSE(c.IsVisible());
  EXPECT_NE(c.GetStyle() & WS_VISIBLE, 0u);
  App::PumpPending();
  EXPECT_EQ(c.GetStyle() & WS_VISIBLE, 0u);
  view.GetWindowRect(&viewRect);
  frame.ScreenToClient(&viewRect);
  EXPECT_EQ(viewRect.bottom, client.bottom);
  // Asked without moving anything, the layout tells what the bars take.
  Rect border;
  frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, FrameWnd::reposQuery, &border, &client);
  EXPECT_EQ(border, Rect(0, ar.Height(), client.right, client.bottom));
  frame.DestroyWindow();
}

}  // namespace
}  // namespace uitest
