// A frame's bar layout saved to the profile and read back, through the module's descriptors and
// the profile exports, in a sandbox registry.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "foundation/flattoolbar.h"
#include "foundation/profdesc.h"
#include "foundation/uiprofile.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/registry/registry_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/testing.h"

namespace {

using namespace ui;

class Frame : public FrameWnd {
 public:
  Frame() { m_bAutoDelete = false; }
};

class BarStateTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { static App app("Bars"); }
  void SetUp() override {
    const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
    const std::string base = scratch && *scratch ? scratch : "/tmp";
    ASSERT_TRUE(plat::makeDirectories(base));
    std::string dir = plat::joinPath(base, "barstate-XXXXXX");
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    ::setenv("KEDRUS_REGISTRY_DIR", plat::joinPath(dir, "registry").c_str(), 1);
    plat::reg::resetForTesting();
    SetDefaultProfRoot(u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0");
    SetDefaultProfSection(u"Rodizora");
    App::Get()->SetProfileStore(&profile);
    ui::testing::Reset();
  }
  void TearDown() override {
    App::Get()->SetProfileStore(nullptr);
    App::PumpPending();
    EXPECT_TRUE(ui::testing::LiveWindows().empty());
    plat::reg::resetForTesting();
  }
  // A frame with four bars, all docked at the top in the order made.
  void MakeFrame(Frame& frame, CFlatToolBar (&bars)[4]) {
    ASSERT_TRUE(frame.Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(0, 0, 800, 600)));
    frame.EnableDocking(CBRS_ALIGN_ANY);
    const UINT ids[] = {40001, ID_SEPARATOR, 40002};
    for (int i = 0; i < 4; ++i) {
      ASSERT_TRUE(bars[i].Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 506 + static_cast<UINT>(i)));
      bars[i].SetButtons(ids, 3);
      bars[i].EnableDocking(CBRS_ALIGN_ANY);
      frame.DockControlBar(&bars[i], AFX_IDW_DOCKBAR_TOP);
    }
  }
  COrvUiProfile profile;
};

TEST_F(BarStateTest, TheBarLayoutSurvivesASaveAndARestoreThroughTheProfile) {
  Rect floatingAt;
  {
    Frame frame;
    CFlatToolBar bars[4];
    MakeFrame(frame, bars);
    // 506 stays first at the top; 507 floats; 508 goes left; 509 to the bottom, hidden;
    // and 506 a second row at the top beside nothing but its offset.
    frame.FloatControlBar(&bars[1], {300, 200});
    frame.DockControlBar(&bars[2], AFX_IDW_DOCKBAR_LEFT);
    frame.DockControlBar(&bars[3], AFX_IDW_DOCKBAR_BOTTOM);
    frame.ShowControlBar(&bars[3], false, false);
    bars[1].GetTopLevelParent()->GetWindowRect(&floatingAt);
    frame.SaveBarState("Toolbars");
    frame.DestroyWindow();
  }
  EXPECT_EQ(profile.GetInt("Toolbars-Summary", "Bars", 0), 4);

  Frame frame;
  CFlatToolBar bars[4];
  MakeFrame(frame, bars);
  frame.LoadBarState("Toolbars");
  int row = 0, offset = 0;
  EXPECT_EQ(bars[0].GetDockBar()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP);
  EXPECT_TRUE(bars[1].IsFloating());
  Rect now;
  bars[1].GetTopLevelParent()->GetWindowRect(&now);
  EXPECT_EQ(now.TopLeft(), floatingAt.TopLeft());
  EXPECT_EQ(bars[2].GetDockBar()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(bars[3].GetDockBar()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_FALSE(bars[3].IsVisible());
  EXPECT_TRUE(bars[0].IsVisible());
  EXPECT_TRUE(bars[0].GetDockBar()->GetPlace(&bars[0], &row, &offset));
  EXPECT_EQ(row, 0);
  // The view's space follows: the left bar takes width, the hidden bottom bar none.
  Rect inside;
  frame.GetInsideClientRect(&inside);
  Rect left;
  bars[2].GetWindowRect(&left);
  EXPECT_EQ(inside.left, left.Width());
  Rect client;
  frame.GetClientRect(&client);
  EXPECT_EQ(inside.bottom, client.bottom);
  frame.DestroyWindow();
}

TEST_F(BarStateTest, AHostileProfileLeavesTheBarsWhereTheyAre) {
  profile.WriteInt("Bad-Summary", "Bars", 1000000);
  profile.WriteInt("Bad-Bar0", "BarID", 506);
  profile.WriteInt("Bad-Bar0", "DockBarID", 12345);  // no such dock bar
  profile.WriteInt("Bad-Bar0", "Row", -7);
  profile.WriteInt("Bad-Bar1", "BarID", 999);  // no such bar
  profile.WriteInt("Bad-Bar2", "BarID", 507);
  profile.WriteInt("Bad-Bar2", "Floating", 1);
  profile.WriteInt("Bad-Bar2", "FloatX", 2000000000);
  Frame frame;
  CFlatToolBar bars[4];
  MakeFrame(frame, bars);
  frame.LoadBarState("Bad");
  EXPECT_EQ(bars[0].GetDockBar()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP);
  ASSERT_TRUE(bars[1].IsFloating());
  Rect r;
  bars[1].GetTopLevelParent()->GetWindowRect(&r);
  EXPECT_LE(r.left, 32767);  // clamped, never an overflowing coordinate
  frame.DestroyWindow();
}

}  // namespace
