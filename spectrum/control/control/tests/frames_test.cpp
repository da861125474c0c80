// Controls in test containers: the shared bars of a container frame (made once, shown by the
// UI-active control in the border space it is granted, hidden on deactivation, saved and
// destroyed by the last control), separate frames for separate containers, reflected
// notifications, the container's own interface and the STARTUP flag at window creation.
#include <algorithm>
#include <map>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/com/creation.h"
#include "platform/com/factory.h"
#include "platform/ui/bars.h"
#include "profile/profile.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/control/typelib.h"
#include "spectrum/control/frames/controlframewnd.h"
#include "spectrum/control/frames/mainframewnd.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/testing/hostitem.h"

namespace nelvar_test {
namespace {

using plat::ole::testing::TestContainer;
using nelvar::testing::FakeSiteSettings;
using nelvar::testing::HostItem;

// Every control the class factory made, in order.
std::vector<CSpcControl*> g_made;

plat::ole::ComObject* MakeRecorded() {
  auto* control = static_cast<CSpcControl*>(nelvar::CreateSpcControl());
  g_made.push_back(control);
  return control;
}

class FramesTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    g_made.clear();
    plat::ole::IUnknown* factory = nullptr;
    ASSERT_EQ(plat::ole::ClassFactory::create(&MakeRecorded, plat::ole::IID_IUnknown, reinterpret_cast<void**>(&factory)),
              plat::ole::S_OK);
    ASSERT_EQ(plat::ole::registerClassObject(CLSID_Spc, factory, &cookie_), plat::ole::S_OK);
    factory->Release();
  }
  void TearDown() override {
    plat::ole::revokeClassObject(cookie_);
    ControlTest::TearDown();
    EXPECT_TRUE(CMainFrameWnd::LiveFrames().empty());
  }

  HostItem* AddControl(TestContainer& box, const gdi::Rect& at, bool offerSite = true) {
    auto* item = new HostItem(&box, &settings_, offerSite);
    item->m_rect = at;
    EXPECT_TRUE(item->CreateNewItem(CLSID_Spc));
    return item;
  }

  static std::vector<ui::UINT> VisibleBars(CMainFrameWnd* frame) {
    std::vector<ui::UINT> ids;
    for (ui::ControlBar* bar : frame->Bars())
      if (frame->IsBarVisible(bar->GetDlgCtrlID())) ids.push_back(bar->GetDlgCtrlID());
    std::sort(ids.begin(), ids.end());
    return ids;
  }

  FakeSiteSettings settings_;
  plat::DWord cookie_ = 0;
};

TEST_F(FramesTest, TwoControlsInOneFrameShareOneSetOfBarsMadeOnce) {
  TestContainer box;
  HostItem* a = AddControl(box, {10, 10, 300, 200});
  HostItem* b = AddControl(box, {10, 220, 300, 400});
  ASSERT_EQ(g_made.size(), 2u);
  ASSERT_TRUE(box.Activate(a));
  ASSERT_EQ(CMainFrameWnd::LiveFrames().size(), 1u);
  CMainFrameWnd* frame = CMainFrameWnd::LiveFrames()[0];
  EXPECT_EQ(frame->GetParent(), &box.FrameWindow());
  const std::vector<ui::ControlBar*> bars = frame->Bars();
  ASSERT_EQ(bars.size(), 9u);
  EXPECT_EQ(bars[0]->GetDlgCtrlID(), nelvar::IDW_SPECTRUMBAR);
  EXPECT_EQ(bars[4]->GetDlgCtrlID(), nelvar::IDW_CONSOLEBAR);
  EXPECT_EQ(bars[8]->GetDlgCtrlID(), nelvar::IDW_NAVIGATEBAR);

  // The active control's bars show in the border space it took, and their commands reach it.
  EXPECT_FALSE(VisibleBars(frame).empty());
  EXPECT_FALSE(box.Frame().GetBorderSpace().empty());
  EXPECT_EQ(frame->GetActiveControlFrame(), g_made[0]->GetControlFrame());
  EXPECT_EQ(bars[0]->GetOwner(), g_made[0]->GetControlFrame());

  box.Deactivate(a);
  EXPECT_TRUE(VisibleBars(frame).empty());
  EXPECT_EQ(frame->GetActiveControlFrame(), nullptr);

  ASSERT_TRUE(box.Activate(b));
  EXPECT_EQ(CMainFrameWnd::LiveFrames().size(), 1u);
  EXPECT_EQ(CMainFrameWnd::AttachCount(frame), 2);
  EXPECT_EQ(frame->Bars().size(), 9u);  // made once
  EXPECT_FALSE(VisibleBars(frame).empty());
  EXPECT_EQ(bars[0]->GetOwner(), g_made[1]->GetControlFrame());

  box.Remove(a);
  ASSERT_EQ(CMainFrameWnd::LiveFrames().size(), 1u);
  EXPECT_EQ(CMainFrameWnd::AttachCount(frame), 1);
  box.Remove(b);
  EXPECT_TRUE(CMainFrameWnd::LiveFrames().empty());
  // The last control saved the layout and every bar's state word.
  COrvProfDesc summary(u"", u"Toolbars-Summary");
  int count = 0;
  EXPECT_EQ(OrvGetProfInt(u"Bars", &count, 0, &summary), PROF_OK);
  EXPECT_EQ(count, 9);
  COrvProfDesc words(u"", u"Toolbars");
  int word = -1;
  EXPECT_EQ(OrvGetProfInt(u"513", &word, -1, &words), PROF_OK);
}

TEST_F(FramesTest, EveryButtonOfTheBarsShowsAPictureOfItsOwnCommand) {
  TestContainer box;
  HostItem* item = AddControl(box, {10, 10, 300, 200});
  ASSERT_TRUE(box.Activate(item));
  ASSERT_EQ(CMainFrameWnd::LiveFrames().size(), 1u);
  const gdi::COLORREF face = gdi::RGB(192, 192, 192);
  std::map<std::vector<gdi::COLORREF>, ui::UINT> owners;
  int buttons = 0;
  for (ui::ControlBar* bar : CMainFrameWnd::LiveFrames()[0]->Bars()) {
    auto* toolbar = dynamic_cast<ui::ToolBar*>(bar);
    ASSERT_NE(toolbar, nullptr);
    const gdi::RasterSurface* strip = toolbar->GetBitmap().Surface();
    ASSERT_NE(strip, nullptr) << bar->GetDlgCtrlID();
    for (int i = 0; i < toolbar->GetCount(); ++i) {
      ui::UINT id = 0, style = 0;
      int image = 0;
      toolbar->GetButtonInfo(i, &id, &style, &image);
      // Without the auxiliary controls (not registered here) the places of the knobs and the
      // scroll strip stay buttons; they have no picture and no command.
      static constexpr ui::UINT kKnobPlaces[] = {1001, 1003, 1029, 1030, 1044, 1045};
      if (style & ui::TBBS_SEPARATOR || std::ranges::count(kKnobPlaces, id)) continue;
      ++buttons;
      std::vector<gdi::COLORREF> picture;
      int drawn = 0;
      for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x) {
          picture.push_back(strip->GetPixel(image * 16 + x, y));
          drawn += picture.back() != face;
        }
      EXPECT_GT(drawn, 12) << id << " has no picture";
      // Pictures follow commands: two commands never look alike, on one bar or on two.
      const auto [at, added] = owners.emplace(picture, id);
      EXPECT_TRUE(added || at->second == id) << id << " looks like " << at->second;
    }
  }
  EXPECT_EQ(buttons, 45);
  box.Remove(item);
}

TEST_F(FramesTest, ABarTheUserHidStaysHiddenAndOneHiddenByDeactivationReturns) {
  TestContainer box;
  HostItem* a = AddControl(box, {10, 10, 300, 200});
  ASSERT_TRUE(box.Activate(a));
  CMainFrameWnd* frame = CMainFrameWnd::LiveFrames().at(0);
  frame->ToggleBar(nelvar::IDW_SPECTRUMBAR, true);
  frame->ToggleBar(nelvar::IDW_PHASEBAR, true);
  frame->ToggleBar(nelvar::IDW_PHASEBAR, false);
  ui::App::PumpPending();
  const std::vector<ui::UINT> before = VisibleBars(frame);
  EXPECT_TRUE(std::count(before.begin(), before.end(), nelvar::IDW_SPECTRUMBAR));
  EXPECT_FALSE(std::count(before.begin(), before.end(), nelvar::IDW_PHASEBAR));
  box.Deactivate(a);
  ASSERT_TRUE(box.Activate(a));
  EXPECT_EQ(VisibleBars(frame), before);
  box.Remove(a);
}

TEST_F(FramesTest, ControlsOfTwoContainersGetFramesOfTheirOwn) {
  auto first = std::make_unique<TestContainer>();
  auto second = std::make_unique<TestContainer>();
  HostItem* a = AddControl(*first, {10, 10, 200, 150});
  HostItem* b = AddControl(*second, {10, 10, 200, 150});
  HostItem* c = AddControl(*first, {10, 160, 200, 300});
  ASSERT_TRUE(first->Activate(a));
  ASSERT_TRUE(second->Activate(b));
  ASSERT_TRUE(first->Activate(c));
  ASSERT_EQ(CMainFrameWnd::LiveFrames().size(), 2u);
  EXPECT_NE(g_made[0]->GetMainFrame(), g_made[1]->GetMainFrame());
  EXPECT_EQ(g_made[0]->GetMainFrame(), g_made[2]->GetMainFrame());
  EXPECT_EQ(g_made[1]->GetMainFrame()->GetParent(), &second->FrameWindow());
  // Going away in any order leaves nothing behind.
  first->Remove(a);
  second.reset();
  EXPECT_EQ(CMainFrameWnd::LiveFrames().size(), 1u);
  first.reset();
  (void)c;
  CMainFrameWnd::Release(nullptr);  // a frame that is not live is ignored
  EXPECT_TRUE(CMainFrameWnd::LiveFrames().empty());
}

// Messages the control's window got, by a procedure put in front of its own.
std::vector<ui::UINT> g_seen;
ui::WNDPROC g_previous = nullptr;
ui::LRESULT Spy(ui::HWND hwnd, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
  g_seen.push_back(message);
  return ui::CallWindowProc(g_previous, hwnd, message, wParam, lParam);
}

TEST_F(FramesTest, TheControlFrameReflectsNotificationsAndRoutesCommandsToItsControl) {
  TestContainer box;
  HostItem* a = AddControl(box, {10, 10, 300, 200});
  ASSERT_TRUE(box.Activate(a));
  CSpcControl& control = *g_made[0];
  CControlFrameWnd* frame = control.GetControlFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(control.GetParent(), frame);
  gdi::Rect inside;
  control.GetClientRect(&inside);
  gdi::Rect outside;
  frame->GetClientRect(&outside);
  EXPECT_EQ(inside, outside);  // the control fills its frame

  g_seen.clear();
  g_previous = control.SetWindowProc(&Spy);
  frame->SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(1234, 0), 0);
  frame->SendMessage(ui::WM_HSCROLL, 0, 0);
  control.SetWindowProc(g_previous);
  EXPECT_TRUE(std::count(g_seen.begin(), g_seen.end(), ui::WM_COMMAND + 0x2000u));
  EXPECT_TRUE(std::count(g_seen.begin(), g_seen.end(), ui::WM_HSCROLL + 0x2000u));
  box.Remove(a);
}

TEST_F(FramesTest, TheControlTakesTheContainersOwnInterfaceWhenItIsOffered) {
  TestContainer box;
  settings_.zoom = 250;
  HostItem* with = AddControl(box, {10, 10, 200, 150}, true);
  HostItem* without = AddControl(box, {10, 160, 200, 300}, false);
  ASSERT_EQ(g_made.size(), 2u);
  EXPECT_NE(g_made[0]->m_pOrvSite, nullptr);
  EXPECT_EQ(g_made[0]->GetZoom(), 250);
  EXPECT_EQ(g_made[1]->m_pOrvSite, nullptr);
  EXPECT_EQ(g_made[1]->GetZoom(), 100);
  // The items walk: the first item's record, then the second's.
  IOrvClientSite* site = g_made[0]->m_pOrvSite;
  plat::ole::IUnknown* object = nullptr;
  SaItemRecord* first = site->GetFirstItem(&object);
  EXPECT_EQ(first, &with->m_record);
  EXPECT_EQ(site->GetNextItem(first, &object), &without->m_record);
  EXPECT_EQ(site->GetNextItem(&without->m_record, &object), nullptr);
  g_made[0]->AddRef();
  box.Remove(with);
  EXPECT_EQ(g_made[0]->m_pOrvSite, nullptr);  // let go when the container closed it
  g_made[0]->Release();
  box.Remove(without);
}

TEST_F(FramesTest, ARestoredStartupFlagIsClearedWhenTheWindowIsMade) {
  CSpcControl& source = *NewControl();
  GiveSpectrum(source, 0, 64);
  source.m_runStartup = 1;
  plat::ole::IDataObject* data = source.GetClipboardDataObject();
  ASSERT_NE(data, nullptr);
  TestContainer box;
  plat::ole::testing::TestItem* item = box.AddItemFromData(data, {10, 10, 300, 200});
  data->Release();
  ASSERT_NE(item, nullptr);
  ASSERT_EQ(g_made.size(), 1u);
  EXPECT_EQ(g_made[0]->m_runStartup, 1u);
  EXPECT_TRUE(g_made[0]->HoldsData());
  ASSERT_TRUE(box.Activate(item));
  EXPECT_EQ(g_made[0]->m_runStartup, 0u);
  box.Remove(item);
}

}  // namespace
}  // namespace nelvar_test
