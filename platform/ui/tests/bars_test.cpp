// Toolbar buttons (groups, drop-downs, presses), dialog bars, status panes; hook chains,
// cursors and the scripted responder's bookkeeping.
#include "platform/ui/bars.h"

#include <map>

#include "platform/archive/archive.h"
#include "platform/ui/dockstate.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/controls.h"
#include "platform/ui/input.h"
#include "platform/ui/responder.h"
#include "platform/ui/tests/ui_fixture.h"

namespace uitest {
namespace {

class BarFrame : public FrameWnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  BarFrame() { m_bAutoDelete = false; }
  std::vector<UINT> commands;
  std::vector<int> dropDowns;
  void OnCommandRange(UINT id) { commands.push_back(id); }
  void OnDropDown(NMHDR* hdr, LRESULT*) { dropDowns.push_back(reinterpret_cast<NMTOOLBAR*>(hdr)->iItem); }
  void OnComboChange() { commands.push_back(3001); }
};
UI_BEGIN_MESSAGE_MAP(BarFrame, FrameWnd)
  map::CommandRange(40001, 40010, &BarFrame::OnCommandRange),
  map::CommandRange(IDOK, IDCANCEL, &BarFrame::OnCommandRange),
  map::Notify(TBN_DROPDOWN, kToolbarMain, &BarFrame::OnDropDown),
  map::Control(CBN_SELCHANGE, 3001, &BarFrame::OnComboChange),
UI_END_MESSAGE_MAP()

class BarsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ASSERT_TRUE(frame.Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(0, 0, 640, 400)));
    frame.EnableDocking(CBRS_ALIGN_ANY);
  }
  void TearDown() override {
    frame.DestroyWindow();
    UiTest::TearDown();
  }
  BarFrame frame;
};

TEST_F(BarsTest, ToolbarGroupsCheckOneButtonAndDropDownsAskTheOwner) {
  ToolBar bar;
  ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, kToolbarMain));
  const UINT ids[] = {40001, 40002, 40003, ID_SEPARATOR, 40004, 40020};  // 40020: no handler
  bar.SetButtons(ids, 6);
  for (int i : {0, 1, 2}) bar.SetButtonStyle(i, TBBS_CHECKGROUP);
  bar.SetButtonStyle(4, TBBS_DROPDOWN);
  bar.SetButtonStyle(5, TBBS_BUTTON | TBBS_DISABLED);
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame.DockControlBar(&bar);
  Rect r0, r2, r4, r5;
  bar.GetItemRect(0, &r0);
  bar.GetItemRect(2, &r2);
  bar.GetItemRect(4, &r4);
  bar.GetItemRect(5, &r5);
  EXPECT_GT(r4.Width(), r0.Width());  // a drop-down is wider: its arrow
  input::Click(&bar, r0.CenterPoint());
  input::Click(&bar, r2.CenterPoint());
  App::PumpPending();
  EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_CHECKED, 0u);
  EXPECT_NE(bar.GetButtonStyle(2) & TBBS_CHECKED, 0u);
  EXPECT_EQ(frame.commands, (std::vector<UINT>{40001, 40003}));
  input::Click(&bar, r4.CenterPoint());
  EXPECT_EQ(frame.dropDowns, (std::vector<int>{40004}));
  // A disabled button does nothing; a press released outside its button is no click.
  input::Click(&bar, r5.CenterPoint());
  input::MouseDown(&bar, r0.CenterPoint());
  EXPECT_NE(bar.GetButtonStyle(0) & TBBS_PRESSED, 0u);
  input::MouseMove(&bar, {r0.CenterPoint().x, r0.bottom + 30}, MK_LBUTTON);
  EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_PRESSED, 0u);
  input::MouseUp(&bar, {r0.CenterPoint().x, r0.bottom + 30});
  App::PumpPending();
  EXPECT_EQ(frame.commands.size(), 2u);
  EXPECT_EQ(Wnd::GetCapture(), nullptr);

  // A window of its own over a widened separator; its notifications reach the bar's owner.
  bar.SetButtonInfo(3, 3001, TBBS_SEPARATOR, 120);
  Rect place;
  bar.GetItemRect(3, &place);
  EXPECT_EQ(place.Width(), 120);
  ComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, Rect(place.left, place.top, place.right, place.top + 200), &bar, 3001));
  combo.AddString("Linear");
  combo.AddString("Cubic");
  combo.SetFocus();
  input::Key(VK_DOWN);
  EXPECT_EQ(frame.commands.back(), 3001u);
  combo.DestroyWindow();
}

TEST_F(BarsTest, TheFlatLookAndADisabledPictureFollowTheWindowStyleAndTheButtonState) {
  ToolBar bar;
  ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, kToolbarMain));
  const UINT ids[] = {40001, 40002};
  bar.SetButtons(ids, 2);
  // Each picture: a white square framed in black on the face.
  const char* const picture[] = {
      "................", "................", "...kkkkkkkkkk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
      "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
      "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................", "................", "................"};
  std::vector<const char*> rows(std::begin(picture), std::end(picture));
  rows.insert(rows.end(), std::begin(picture), std::end(picture));
  gdi::Bitmap strip;
  ASSERT_TRUE(strip.LoadBmp(gdi::MakePixelArtBmp(16, 15, rows)));
  bar.SetBitmap(strip);
  bar.SetButtonStyle(1, TBBS_BUTTON | TBBS_DISABLED);
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame.DockControlBar(&bar);
  const COLORREF face = gdi::GetSysColor(gdi::COLOR_BTNFACE);
  const COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
  const COLORREF dark = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
  Rect enabled, disabled;
  bar.GetItemRect(0, &enabled);
  bar.GetItemRect(1, &disabled);
  const auto pixel = [&](int x, int y) {
    bar.Invalidate();
    bar.UpdateWindow();
    return bar.GetClientSurface()->GetPixel(x, y);
  };
  // Raised at rest without the flat style; the style set on the window (as a flat bar's owner
  // sets it) takes the edge away.
  EXPECT_EQ(pixel(enabled.left, enabled.top), light);
  bar.ModifyStyle(0, TBSTYLE_FLAT);
  EXPECT_NE(bar.GetToolBarStyle() & TBSTYLE_FLAT, 0u);
  EXPECT_EQ(pixel(enabled.left, enabled.top), face);
  EXPECT_EQ(pixel(enabled.right - 1, enabled.bottom - 1), face);
  // The picture sits centred: its frame black and its inside white while enabled; disabled, the
  // frame is etched in shadow and the white is left out.
  const int dx = (enabled.Width() - 16) / 2, dy = (enabled.Height() - 15) / 2;
  EXPECT_EQ(pixel(enabled.left + dx + 3, enabled.top + dy + 2), RGB(0, 0, 0));
  EXPECT_EQ(pixel(enabled.left + dx + 6, enabled.top + dy + 6), RGB(255, 255, 255));
  EXPECT_EQ(pixel(disabled.left + dx + 3, disabled.top + dy + 2), dark);
  EXPECT_EQ(pixel(disabled.left + dx + 6, disabled.top + dy + 6), face);
  EXPECT_EQ(pixel(disabled.left + dx + 13, disabled.top + dy + 12), light);
}

TEST_F(BarsTest, ADraggedBarDocksOnTheSideItIsDroppedOnAndFloatsElsewhere) {
  ToolBar bar;
  ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, kToolbarMain));
  const UINT ids[] = {40001, ID_SEPARATOR, 40002};
  bar.SetButtons(ids, 3);
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame.DockControlBar(&bar);
  frame.RecalcLayout();
  Rect client;
  frame.GetClientRect(&client);
  frame.ClientToScreen(&client);
  // The drop zones: each side's bars and a margin inside them; the middle floats; Ctrl floats.
  EXPECT_EQ(bar.DropTarget({client.left + 5, client.CenterPoint().y}, false), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(bar.DropTarget({client.right - 5, client.CenterPoint().y}, false), AFX_IDW_DOCKBAR_RIGHT);
  EXPECT_EQ(bar.DropTarget({client.CenterPoint().x, client.bottom - 5}, false), AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_EQ(bar.DropTarget({client.CenterPoint().x, client.top + 30}, false), AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(bar.DropTarget(client.CenterPoint(), false), 0u);
  EXPECT_EQ(bar.DropTarget({client.left + 5, client.CenterPoint().y}, true), 0u);
  EXPECT_EQ(bar.DropTarget({client.left - 50, client.top - 50}, false), 0u);

  // Pressed on its gripper (left of the buttons), moved and released: docked on the left.
  Rect first;
  bar.GetItemRect(0, &first);
  const Point grip{first.left - 3, first.CenterPoint().y};
  auto drag = [&](Point screenTo) {
    input::MouseDown(&bar, grip);
    Point to = screenTo;
    bar.ScreenToClient(&to);
    input::MouseMove(&bar, {to.x / 2, to.y / 2}, MK_LBUTTON);
    input::MouseMove(&bar, to, MK_LBUTTON);
    input::MouseUp(&bar, to);
  };
  drag({client.left + 5, client.CenterPoint().y});
  ASSERT_NE(bar.GetDockBar(), nullptr);
  EXPECT_EQ(bar.GetDockBar()->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_FALSE(bar.IsHorizontal());
  // Dropped in the middle it floats; a press that does not move leaves it where it is.
  Rect r;
  bar.GetWindowRect(&r);
  input::MouseDown(&bar, grip);
  input::MouseUp(&bar, grip);
  EXPECT_EQ(bar.GetDockBar()->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_LEFT));
  drag(client.CenterPoint());
  EXPECT_TRUE(bar.IsFloating());
  EXPECT_TRUE(bar.IsHorizontal());
  // And back to the top.
  drag({client.CenterPoint().x, client.top + 5});
  EXPECT_FALSE(bar.IsFloating());
  EXPECT_EQ(bar.GetDockBar()->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_TOP));
}

TEST_F(BarsTest, ADialogBarHoldsItsTemplateAndItsItemsReachTheOwner) {
  DialogBar bar;
  ASSERT_TRUE(bar.Create(&frame, kDialogBar, WS_CHILD | WS_VISIBLE | CBRS_TOP, 1092));
  auto* combo = dynamic_cast<ComboBox*>(bar.GetDlgItem(3001));
  ASSERT_NE(combo, nullptr);
  frame.RecalcLayout();
  const Size size = bar.CalcFixedLayout(false, true);
  const Size base = DialogBaseUnits(DialogFont(TestResources().dialogs[3]));
  EXPECT_EQ(size.cy, gdi::MulDiv(16, base.cy, 8) + 1);  // and its bottom border line
  combo->AddString("C:");
  combo->AddString("   Data");
  combo->SetFocus();
  input::Key(VK_DOWN);
  EXPECT_EQ(frame.commands, (std::vector<UINT>{3001}));  // forwarded by the bar to its owner
  // Its buttons follow their commands' update rules on idle.
  App::PumpPending();
  EXPECT_TRUE(bar.GetDlgItem(kCmdOpen)->IsWindowEnabled());
  input::Click(bar.GetDlgItem(kCmdOpen), {5, 5});
  EXPECT_EQ(frame.commands.back(), kCmdOpen);
}

TEST_F(BarsTest, ADialogBarAnswersTheDialogKeys) {
  DialogBar bar;
  ASSERT_TRUE(bar.Create(&frame, kDialogBar, WS_CHILD | WS_VISIBLE | CBRS_TOP, 1092));
  frame.RecalcLayout();
  Wnd* combo = bar.GetDlgItem(3001);
  ASSERT_NE(combo, nullptr);
  combo->SetFocus();
  // Return with no default button is IDOK, Escape IDCANCEL: both to the owner.
  input::Key(VK_RETURN);
  input::Key(VK_ESCAPE);
  EXPECT_EQ(frame.commands, (std::vector<UINT>{static_cast<UINT>(IDOK), static_cast<UINT>(IDCANCEL)}));
  // A default push button takes Return.
  bar.GetDlgItem(kCmdOpen)->ModifyStyle(0xF, BS_DEFPUSHBUTTON);
  frame.commands.clear();
  combo->SetFocus();
  input::Key(VK_RETURN);
  EXPECT_EQ(frame.commands, (std::vector<UINT>{kCmdOpen}));
  // Keys outside the bar are not its business.
  frame.commands.clear();
  frame.SetFocus();
  input::Key(VK_ESCAPE);
  EXPECT_TRUE(frame.commands.empty());
}

TEST_F(BarsTest, StatusPanesKeepTheirWidthsAndTheMessagePaneStretches) {
  StatusBar status;
  ASSERT_TRUE(status.Create(&frame));
  const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, 40001};
  ASSERT_TRUE(status.SetIndicators(ids, 3));
  EXPECT_EQ(status.CommandToIndex(40001), 2);
  status.SetPaneInfo(2, 40001, SBPS_NORMAL, 100);
  frame.RecalcLayout();
  Rect message, caps, custom, client;
  status.GetItemRect(0, &message);
  status.GetItemRect(1, &caps);
  status.GetItemRect(2, &custom);
  status.GetClientRect(&client);
  EXPECT_EQ(custom.Width(), 106);  // its width and the pane's margins
  EXPECT_LT(caps.right, custom.left);
  EXPECT_LT(message.right, caps.left);
  EXPECT_GT(message.Width(), client.Width() / 2);
  status.SetPaneText(2, "x = 1.23 ppm");
  EXPECT_EQ(status.GetPaneText(2), "x = 1.23 ppm");
  status.SetWindowText("Ready");
  EXPECT_EQ(status.GetPaneText(0), "Ready");
  EXPECT_EQ(status.GetWindowText(), "Ready");
}

int g_order = 0;
int g_first = 0, g_second = 0;
HHOOK g_hookA{}, g_hookB{};
LRESULT HookA(int code, WPARAM w, LPARAM l) {
  g_first = ++g_order;
  return CallNextHookEx(g_hookA, code, w, l);
}
LRESULT HookB(int code, WPARAM w, LPARAM l) {
  g_second = ++g_order;
  return CallNextHookEx(g_hookB, code, w, l);
}

TEST_F(UiTest, TheNewestHookRunsFirstAndHandsInputOnDownTheChain) {
  g_hookA = SetWindowsHookEx(WH_MOUSE, HookA);
  g_hookB = SetWindowsHookEx(WH_MOUSE, HookB);
  TopWindow top;
  ASSERT_TRUE(top.Make());
  input::MouseMove(&top, {5, 5});
  EXPECT_EQ(g_second, 1);
  EXPECT_EQ(g_first, 2);
  UnhookWindowsHookEx(g_hookB);
  g_order = 0;
  input::MouseMove(&top, {6, 6});
  EXPECT_EQ(g_first, 1);
  UnhookWindowsHookEx(g_hookA);
  top.DestroyWindow();
}

class CursorWindow : public Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  HCURSOR cursor = nullptr;
  bool OnSetCursor(Wnd* wnd, UINT hit, UINT message) {
    if (cursor && hit == HTCLIENT) {
      SetCursor(cursor);
      return true;
    }
    return Wnd::OnSetCursor(wnd, hit, message);
  }
};
UI_BEGIN_MESSAGE_MAP(CursorWindow, Wnd)
  map::SetCursor(&CursorWindow::OnSetCursor),
UI_END_MESSAGE_MAP()

TEST_F(UiTest, WindowsSetTheirCursorWhenThePointerMovesOverThem) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  CursorWindow w;
  ASSERT_TRUE(w.Create(nullptr, "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 50, 50), &top, 1));
  input::MouseMove(&w, {5, 5});
  EXPECT_EQ(GetCursor(), LoadStandardCursor(IDC_ARROW));  // the class's cursor
  gdi::Bitmap mask;
  ASSERT_TRUE(mask.CreateBitmap(16, 16));
  w.cursor = CreateCursor(mask, mask, {8, 9});
  ASSERT_NE(w.cursor, nullptr);
  input::MouseMove(&w, {6, 6});
  EXPECT_EQ(GetCursor(), w.cursor);
  DestroyCursor(w.cursor);
  EXPECT_EQ(GetCursor(), nullptr);
  w.DestroyWindow();
  top.DestroyWindow();
}

TEST_F(UiTest, AScriptAnswersOnlyTheQuestionsItExpects) {
  ScriptedResponder script(true);
  script.ThenAnswer(ModalKind::ColorDialog, IDOK);
  EXPECT_EQ(MessageBox(nullptr, "Unexpected", "Test", MB_OKCANCEL), IDCANCEL);  // the default answer
  EXPECT_EQ(script.Unexpected(), 1);
  EXPECT_FALSE(script.Done());  // the colour question is still waited for
  ASSERT_EQ(ModalLog().size(), 1u);
  EXPECT_TRUE(ModalLog()[0].byResponder);
}

}  // namespace
}  // namespace uitest

namespace uitest {
namespace {

// A profile store in memory.
class MemoryProfile : public ProfileStore {
 public:
  std::map<std::string, std::map<std::string, int>> ints;
  int GetInt(std::string_view s, std::string_view e, int d) override {
    auto sec = ints.find(std::string(s));
    if (sec == ints.end()) return d;
    auto it = sec->second.find(std::string(e));
    return it == sec->second.end() ? d : it->second;
  }
  bool WriteInt(std::string_view s, std::string_view e, int v) override {
    ints[std::string(s)][std::string(e)] = v;
    return true;
  }
  std::string GetString(std::string_view, std::string_view, std::string_view d) override { return std::string(d); }
  bool WriteString(std::string_view, std::string_view, std::string_view) override { return false; }
  bool GetBinary(std::string_view, std::string_view, std::vector<std::uint8_t>*) override { return false; }
  bool WriteBinary(std::string_view, std::string_view, const std::vector<std::uint8_t>&) override { return false; }
  bool DeleteSection(std::string_view s) override { return ints.erase(std::string(s)) > 0; }
};

TEST_F(BarsTest, ADockStatePutsBarsBackFromMemoryAnArchiveOrTheModulesProfile) {
  ToolBar bars[3];
  const UINT ids[] = {40001, 40002};
  for (UINT i = 0; i < 3; ++i) {
    ASSERT_TRUE(bars[i].Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 506 + i));
    bars[i].SetButtons(ids, 2);
    bars[i].EnableDocking(CBRS_ALIGN_ANY);
    frame.DockControlBar(&bars[i], AFX_IDW_DOCKBAR_TOP);
  }
  frame.DockControlBar(&bars[1], AFX_IDW_DOCKBAR_BOTTOM);
  frame.ShowControlBar(&bars[2], false, false);
  DockState state;
  frame.GetDockState(state);
  ASSERT_EQ(state.m_bars.size(), 3u);
  EXPECT_EQ(state.m_bars[1].dockBarId, AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_EQ(state.m_bars[2].visible, 0);

  plat::Archive out;
  state.Serialize(out);
  plat::Archive in(out.bytes());
  DockState copy;
  copy.Serialize(in);
  EXPECT_EQ(copy, state);
  plat::Archive truncated(std::span(out.bytes()).first(out.bytes().size() - 1));
  DockState broken;
  EXPECT_THROW(broken.Serialize(truncated), plat::ArchiveError);

  // The module in force keeps the layout in its own store, not in the application's.
  MemoryProfile own;
  ModuleState module;
  module.profile = &own;
  {
    ModuleStateScope scope(&module);
    frame.SaveBarState("Toolbars");
  }
  EXPECT_EQ(own.ints["Toolbars-Summary"]["Bars"], 3);
  EXPECT_EQ(own.ints["Toolbars-Bar1"]["DockBarID"], static_cast<int>(AFX_IDW_DOCKBAR_BOTTOM));

  frame.DockControlBar(&bars[1], AFX_IDW_DOCKBAR_LEFT);
  frame.ShowControlBar(&bars[2], true, false);
  frame.SetDockState(copy);
  EXPECT_EQ(bars[1].GetDockBar()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_FALSE(bars[2].IsVisible());
  for (ToolBar& bar : bars) bar.DestroyWindow();
}

}  // namespace
}  // namespace uitest
