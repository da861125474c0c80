// The console bar: injected typing reaches its edit through the shared keyboard hook, Return
// runs the line, the status line shows the hints; keys for other windows, Alt combinations
// and function keys pass on, and so do releases whose press went elsewhere; bars of two
// container frames share one hook safely.
#include "platform/ui/app.h"
#include "platform/ui/input.h"
#include "spectrum/control/console/consolebar.h"
#include "spectrum/control/console/tests/console_testing.h"
#include "spectrum/control/module/nelvar_ids.h"

namespace nelvar_test {
namespace {

using plat::ole::testing::TestContainer;

class ConsoleBarTest : public BarsTest {
 protected:
  // A control with a spectrum, UI-active in box, and its console bar shown.
  CConsoleBar* Open(TestContainer& box) {
    nelvar::testing::HostItem* item = AddControl(box, {10, 10, 300, 200});
    GiveSpectrum(*LastControl(), 0);
    EXPECT_TRUE(box.Activate(item));
    ShowAllBars(*LastControl());
    box.FrameWindow().SetActiveWindow();
    ui::App::PumpPending();
    auto* bar = Find<CConsoleBar>(box, nelvar::IDW_CONSOLEBAR);
    EXPECT_NE(bar, nullptr);
    if (bar) {
      EXPECT_TRUE(bar->IsWindowVisible());
    }
    return bar;
  }
  static std::string Text(CConsoleBar& bar) { return bar.GetEdit().GetWindowText(); }
};

TEST_F(ConsoleBarTest, TypedWordsReachTheEditAndReturnRunsTheLine) {
  TestContainer box;
  CConsoleBar* bar = Open(box);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetWindowText(), "Console");
  // The edit sits over entry 0, eight buttons wide.
  ui::Rect place, edit;
  bar->GetItemRect(0, &place);
  bar->GetEdit().GetWindowRect(&edit);
  bar->ScreenToClient(&edit);
  EXPECT_EQ(edit.left, place.left);
  EXPECT_EQ(edit.Width(), place.Width());

  LastControl()->SetFocus();
  TraceCapture trace;
  ui::input::Type("ft");
  ui::App::PumpPending();
  EXPECT_EQ(ui::Wnd::GetFocus(), &bar->GetEdit());
  EXPECT_EQ(Text(*bar), "ft");
  EXPECT_TRUE(box.Logged("SetStatusText FT - Fourier Transform"));
  ui::input::Key(ui::VK_RETURN);
  ui::App::PumpPending();
  ui::input::Type("zp");
  ui::App::PumpPending();
  ui::input::Key(ui::VK_RETURN);
  ui::App::PumpPending();
  EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"40024", "40034"}));
  // Earlier lines stay, each Return opened a new one.
  EXPECT_EQ(bar->GetEdit().GetLineCount(), 3);
  EXPECT_EQ(bar->GetEdit().GetLine(1), "zp");
  EXPECT_EQ(bar->GetEdit().GetLine(2), "");

  // Return on an empty line runs nothing and adds a line.
  TraceCapture again;
  ui::input::Key(ui::VK_RETURN);
  ui::App::PumpPending();
  EXPECT_TRUE(again.Lines().empty());
  EXPECT_EQ(bar->GetEdit().GetLineCount(), 4);
}

TEST_F(ConsoleBarTest, AnExpressionTypedAtSpeedKeepsTheOrderAndTheSymbolsOfItsKeys) {
  TestContainer box;
  CConsoleBar* bar = Open(box);
  ASSERT_NE(bar, nullptr);
  LastControl()->SetFocus();
  ui::input::Type("?");
  ui::App::PumpPending();
  ASSERT_EQ(ui::Wnd::GetFocus(), &bar->GetEdit());
  // No pause between the keys: "=" and the blank are no console keys, the others are.
  ui::input::Type("=SF*2 (x)");
  ui::App::PumpPending();
  EXPECT_EQ(Text(*bar), "?=SF*2 (x)");
}

TEST_F(ConsoleBarTest, HintsListTheWordsThatBeginWithWhatIsTyped) {
  TestContainer box;
  CConsoleBar* bar = Open(box);
  ASSERT_NE(bar, nullptr);
  box.ClearLog();
  ui::input::Type("F");
  ui::App::PumpPending();
  EXPECT_TRUE(box.Logged("SetStatusText FT FID "));
  ui::input::Type("T");
  ui::App::PumpPending();
  EXPECT_TRUE(box.Logged("SetStatusText FT - Fourier Transform"));
  // The piece after the last ";" counts.
  bar->GetEdit().SetWindowText("FT;C");
  bar->GetEdit().SetSel(4, 4);
  box.ClearLog();
  ui::input::Type("M");
  ui::App::PumpPending();
  EXPECT_TRUE(box.Logged("SetStatusText CM0 CM1 CM2 CM3 CM4 CM5 CM6 "));
}

TEST_F(ConsoleBarTest, KeysForOtherWindowsAltCombinationsAndFunctionKeysPassOn) {
  TestContainer box;
  CConsoleBar* bar = Open(box);
  ASSERT_NE(bar, nullptr);
  ui::Wnd other;
  ASSERT_TRUE(other.CreateEx(0, "EDIT", "", ui::WS_OVERLAPPEDWINDOW | ui::WS_VISIBLE, {500, 500, 700, 600}, nullptr, 0));
  other.SetActiveWindow();
  other.SetFocus();
  ui::input::Type("ab");
  ui::App::PumpPending();
  EXPECT_EQ(Text(*bar), "");
  EXPECT_EQ(other.GetWindowText(), "ab");
  other.DestroyWindow();

  box.FrameWindow().SetActiveWindow();
  LastControl()->SetFocus();
  ui::input::Key('X', ui::input::kAlt);
  ui::input::Key(ui::VK_F1);
  ui::App::PumpPending();
  EXPECT_EQ(Text(*bar), "");
  EXPECT_NE(ui::Wnd::GetFocus(), &bar->GetEdit());
}

TEST_F(ConsoleBarTest, AReleaseWhosePressWentElsewhereLeavesTheFocus) {
  TestContainer box;
  CConsoleBar* bar = Open(box);
  ASSERT_NE(bar, nullptr);
  // The Return that closed a dialog comes up over the control that came active meanwhile.
  LastControl()->SetFocus();
  TraceCapture trace;
  ui::input::KeyUp(ui::VK_RETURN);
  ui::input::KeyUp('A');
  ui::App::PumpPending();
  EXPECT_EQ(ui::Wnd::GetFocus(), LastControl());
  EXPECT_EQ(bar->GetEdit().GetLineCount(), 1);
  EXPECT_TRUE(trace.Lines().empty());
  // A key pressed there still goes to the console, its release with it.
  ui::input::Key('A');
  ui::App::PumpPending();
  EXPECT_EQ(ui::Wnd::GetFocus(), &bar->GetEdit());
  EXPECT_EQ(Text(*bar), "a");
}

TEST_F(ConsoleBarTest, BarsOfTwoFramesShareOneHookThatGoesWithTheLast) {
  auto first = std::make_unique<TestContainer>();
  auto second = std::make_unique<TestContainer>();
  CConsoleBar* a = Open(*first);
  CConsoleBar* b = Open(*second);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(CConsoleBar::LiveBars().size(), 2u);
  EXPECT_TRUE(CConsoleBar::HookInstalled());

  // Typing goes to the console of the active frame only.
  second->FrameWindow().SetActiveWindow();
  ui::input::Type("ap");
  ui::App::PumpPending();
  EXPECT_EQ(Text(*b), "ap");
  EXPECT_EQ(Text(*a), "");

  // The first frame's bars go; the hook stays for the second, whose console still works.
  first.reset();
  ui::App::PumpPending();
  EXPECT_EQ(CConsoleBar::LiveBars().size(), 1u);
  EXPECT_TRUE(CConsoleBar::HookInstalled());
  second->FrameWindow().SetActiveWindow();
  ui::input::Type("z");
  ui::App::PumpPending();
  EXPECT_EQ(Text(*b), "apz");
  second.reset();
  ui::App::PumpPending();
  EXPECT_TRUE(CConsoleBar::LiveBars().empty());
  EXPECT_FALSE(CConsoleBar::HookInstalled());
  // With no bar left, typing reaches nothing of the console.
  ui::input::Type("q");
  ui::App::PumpPending();
}

}  // namespace
}  // namespace nelvar_test
