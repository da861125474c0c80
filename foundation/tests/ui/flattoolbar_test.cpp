// The flat toolbar: etched separators, the gripper and client offset, the check-box rule.
#include <gtest/gtest.h>

#include "foundation/flattoolbar.h"
#include "platform/ui/app.h"
#include "platform/ui/dc.h"
#include "platform/ui/input.h"
#include "platform/ui/testing.h"

namespace {

using namespace ui;

constexpr UINT kOpen = 40001, kCheck = 40002, kOther = 40003;

class Frame : public FrameWnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  Frame() { m_bAutoDelete = false; }
  int checked = 0;
  void OnOpen() {}
  void OnCheck() { checked = !checked; }
  void OnUpdateCheck(CmdUI* ui) { ui->SetCheck(checked); }
};

UI_BEGIN_MESSAGE_MAP(Frame, FrameWnd)
  map::Command(kOpen, &Frame::OnOpen),
  map::Command(kCheck, &Frame::OnCheck),
  map::UpdateUI(kCheck, &Frame::OnUpdateCheck),
  map::Command(kOther, &Frame::OnOpen),
UI_END_MESSAGE_MAP()

class FlatToolBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { static App app("Flat"); }
  void SetUp() override {
    ui::testing::Reset();
    ASSERT_TRUE(frame.Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(0, 0, 600, 400)));
    frame.EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, 506));
    // A button, a separator of the standard 8 pixels, a button, one of 9, a check button.
    const UINT ids[] = {kOpen, ID_SEPARATOR, kOther, ID_SEPARATOR, kCheck};
    bar.SetButtons(ids, 5);
    bar.SetButtonInfo(3, ID_SEPARATOR, TBBS_SEPARATOR, 9);
    bar.SetFlatLookStyle();
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame.DockControlBar(&bar);
  }
  void TearDown() override {
    frame.DestroyWindow();
    App::PumpPending();
    EXPECT_TRUE(ui::testing::LiveWindows().empty());
  }
  // Where the bar's client area starts inside its window.
  Point ClientOffset() {
    Rect window;
    bar.GetWindowRect(&window);
    Point origin{0, 0};
    bar.ClientToScreen(&origin);
    return {origin.x - window.left, origin.y - window.top};
  }
  Frame frame;
  CFlatToolBar bar;
};

const COLORREF kShadow = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
const COLORREF kLight = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
const COLORREF kFace = gdi::GetSysColor(gdi::COLOR_BTNFACE);

TEST_F(FlatToolBarTest, SeparatorsUpToEightPixelsWideGetAnEtchedLine) {
  EXPECT_NE(bar.GetStyle() & TBSTYLE_FLAT, 0u);
  Rect narrow, wide;
  bar.GetItemRect(1, &narrow);
  bar.GetItemRect(3, &wide);
  ASSERT_EQ(narrow.Width(), 8);
  ASSERT_EQ(wide.Width(), 9);
  bar.Invalidate();
  bar.UpdateWindow();
  const gdi::WindowSurface* pixels = bar.GetClientSurface();
  const int middle = narrow.top + narrow.Height() / 2;
  const int centre = (narrow.left + narrow.right) / 2;
  EXPECT_EQ(pixels->GetPixel(centre - 1, middle), kShadow);  // a 2-pixel 3-D line: shadow left,
  EXPECT_EQ(pixels->GetPixel(centre, middle), kLight);       // highlight right
  EXPECT_EQ(pixels->GetPixel(centre - 2, middle), kFace);
  const Rect wideArea(wide.left, wide.top, wide.right, wide.bottom);
  EXPECT_EQ(pixels->CountPixels(kShadow, &wideArea), 0);
  EXPECT_EQ(pixels->CountPixels(kLight, &wideArea), 0);
  // Flat: a button at rest has no edge of its own.
  Rect button;
  bar.GetItemRect(0, &button);
  EXPECT_EQ(pixels->CountPixels(kLight, &button), 0);
  EXPECT_EQ(pixels->CountPixels(kShadow, &button), 0);
}

TEST_F(FlatToolBarTest, ADockedBarHasAGripperAndItsClientMovedAFloatingOneNeither) {
  // The same bar without the flat bar's own non-client handling, for the offset.
  ToolBar plain;
  ASSERT_TRUE(plain.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 600));
  const UINT ids[] = {kOpen};
  plain.SetButtons(ids, 1);
  plain.EnableDocking(CBRS_ALIGN_ANY);
  frame.DockControlBar(&plain);
  Point plainOffset{0, 0};
  {
    Rect w;
    plain.GetWindowRect(&w);
    plain.ClientToScreen(&plainOffset);
    plainOffset = {plainOffset.x - w.left, plainOffset.y - w.top};
  }
  EXPECT_EQ(ClientOffset(), (Point{plainOffset.x + 2, plainOffset.y}));

  bar.Invalidate();
  bar.UpdateWindow();
  const gdi::WindowSurface* window = bar.GetWindowSurface();
  Rect w;
  bar.GetWindowRect(&w);
  const int y = w.Height() / 2;
  // Two bars 3 pixels wide, 4 pixels apart, inside a 1-pixel margin.
  EXPECT_EQ(window->GetPixel(1, y), kLight);
  EXPECT_EQ(window->GetPixel(3, y), kShadow);
  EXPECT_EQ(window->GetPixel(5, y), kLight);
  EXPECT_EQ(window->GetPixel(7, y), kShadow);

  frame.FloatControlBar(&bar, {200, 200});
  ASSERT_TRUE(bar.IsFloating());
  Point floatingPlain{0, 0};
  frame.FloatControlBar(&plain, {300, 300});
  {
    Rect pw;
    plain.GetWindowRect(&pw);
    plain.ClientToScreen(&floatingPlain);
    floatingPlain = {floatingPlain.x - pw.left, floatingPlain.y - pw.top};
  }
  EXPECT_EQ(ClientOffset(), floatingPlain);
  bar.Invalidate();
  bar.UpdateWindow();
  const gdi::WindowSurface* floating = bar.GetWindowSurface();
  if (floating != bar.GetClientSurface()) {
    bar.GetWindowRect(&w);
    EXPECT_EQ(floating->CountPixels(kLight, nullptr), 0);
  }
  plain.DestroyWindow();
}

TEST_F(FlatToolBarTest, ACheckedButtonKeepsItsPressedLookAcrossUpdatesUntilItIsUnchecked) {
  App::PumpPending();  // idle: the update handlers run
  const UINT idle = bar.GetButtonStyle(4);
  EXPECT_NE(idle & TBBS_CHECKBOX, 0u);  // a button with a check state is a check box
  EXPECT_EQ(idle & (TBBS_CHECKED | TBBS_PRESSED), 0u);
  frame.checked = 1;
  frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, 1);
  EXPECT_EQ(bar.GetButtonStyle(4) & (TBBS_CHECKED | TBBS_PRESSED), TBBS_CHECKED | TBBS_PRESSED);
  frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, 1);
  EXPECT_EQ(bar.GetButtonStyle(4) & (TBBS_CHECKED | TBBS_PRESSED), TBBS_CHECKED | TBBS_PRESSED);
  // The command leaves the state: the look goes with the next update.
  frame.SendMessage(WM_COMMAND, kCheck);
  frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, 1);
  EXPECT_EQ(bar.GetButtonStyle(4) & (TBBS_CHECKED | TBBS_PRESSED), 0u);
  // A button the user is pressing stays pressed through an update.
  Rect r;
  bar.GetItemRect(4, &r);
  input::MouseDown(&bar, r.CenterPoint());
  frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, 1);
  EXPECT_NE(bar.GetButtonStyle(4) & TBBS_PRESSED, 0u);
  input::MouseUp(&bar, r.CenterPoint());
  App::PumpPending();  // the click's command and the idle update
  EXPECT_EQ(frame.checked, 1);
  EXPECT_EQ(bar.GetButtonStyle(4) & (TBBS_CHECKED | TBBS_PRESSED), TBBS_CHECKED | TBBS_PRESSED);
}

TEST_F(FlatToolBarTest, MovingTheBarRepaintsWhatLayUnderIt) {
  Wnd sibling;
  ASSERT_TRUE(sibling.Create(nullptr, "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 600, 200), bar.GetParent(), 77));
  App::PumpPending();
  Rect update;
  ASSERT_FALSE(sibling.GetUpdateRect(&update));
  Rect before;
  bar.GetWindowRect(&before);
  bar.SetWindowPos(nullptr, 30, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(sibling.GetUpdateRect(&update));
  sibling.ScreenToClient(&before);
  Rect clipped;
  clipped.IntersectRect(before, Rect(0, 0, 600, 200));
  EXPECT_EQ(update, clipped);
  sibling.DestroyWindow();
}

}  // namespace
