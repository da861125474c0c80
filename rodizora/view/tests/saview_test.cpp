// The page view in the program's frame: the page layout's pixels, zoom, the full view, rulers.
#include <gtest/gtest.h>

#include "foundation/profdesc.h"
#include "platform/ui/app.h"
#include "platform/ui/input.h"
#include "platform/ui/resource.h"
#include "platform/ui/responder.h"
#include "profile/profile.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/res/saids.h"
#include "rodizora/view/saview.h"

namespace apptest {
namespace {

class ViewTest : public AppTest {
 protected:
  // The program started with this document zoom, one new document open in a 900 x 700 frame.
  CSaView* OpenPage(int zoom) {
    if (!Start()) return nullptr;
    SaSettings().documentZoom = zoom;
    MainFrame()->MoveWindow(0, 0, 900, 700);
    app->OnFileNew();
    ui::App::PumpPending();
    auto* frame = dynamic_cast<ui::MDIFrameWnd*>(MainFrame())->MDIGetActive();
    if (!frame) return nullptr;
    frame->MDIMaximize();
    ui::App::PumpPending();
    return dynamic_cast<CSaView*>(frame->GetActiveView());
  }
  static CSaFrame* FrameOf(CSaView* view) { return dynamic_cast<CSaFrame*>(view->GetParentFrame()); }
};

TEST_F(ViewTest, ANewWindowShowsThePageInPageLayoutAtTheDocumentZoom) {
  CSaView* view = OpenPage(50);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->IsPageLayout());
  EXPECT_EQ(view->GetDocument()->GetZoom(), 50);
  EXPECT_TRUE(FrameOf(view)->RulersShown());
  EXPECT_EQ(MainFrame()->m_wndStandardBar.ZoomCombo().GetWindowText(), "50%");
  const gdi::Size extent = view->GetTotalSize();
  EXPECT_EQ(extent, (gdi::Size{574 + 40, 400 + 40}));  // the PDF printer's page: 1148 x 800
  view->Invalidate();
  view->UpdateWindow();
  const gdi::WindowSurface* picture = view->GetClientSurface();
  ASSERT_TRUE(picture);
  const auto pixel = [&](int x, int y) { return picture->GetPixel(x, y); };
  // Frame at 19, the page from 20 (white), its right edge at extent - 19 and the shadow beyond.
  EXPECT_EQ(pixel(19, 19), 0x000000u);
  EXPECT_EQ(pixel(20, 20), 0xFFFFFFu);
  EXPECT_EQ(pixel(extent.cx - 21, extent.cy - 21), 0xFFFFFFu);
  EXPECT_EQ(pixel(extent.cx - 20, 100), 0x000000u);  // the frame's right side
  EXPECT_EQ(pixel(extent.cx - 18, 100), 0x000000u);  // the shadow
  EXPECT_EQ(pixel(extent.cx - 18, 20), CSaView::kPageLayoutGround);  // the shadow starts lower
  EXPECT_EQ(pixel(10, 10), CSaView::kPageLayoutGround);
  EXPECT_EQ(pixel(extent.cx + 30, 50), CSaView::kPageLayoutGround);  // beyond the scroll area too
  MainFrame()->Render()->SavePng(ScratchDir("renderings") + "/page_layout.png");
}

TEST_F(ViewTest, AChildWindowOfTheViewShowsTheTipOfItsControlIdPlus3000) {
  CSaView* view = OpenPage(100);
  ASSERT_NE(view, nullptr);
  // An item active in place is such a child; id 1000 gives string 4000 ("500%", a zoom entry).
  ui::Wnd child;
  ASSERT_TRUE(child.Create(nullptr, "", ui::WS_CHILD | ui::WS_VISIBLE, ui::Rect(50, 50, 150, 120), view, 1000));
  EXPECT_EQ(ui::input::Hover(&child, {10, 10}), ui::LoadString(4000));
  EXPECT_FALSE(ui::LoadString(4000).empty());
  // No string for the id: no tip; and none on the page itself.
  child.SetDlgCtrlID(999);
  EXPECT_EQ(ui::input::Hover(&child, {10, 10}), "");
  EXPECT_EQ(ui::input::Hover(view, {300, 300}), "");
  child.DestroyWindow();
}

TEST_F(ViewTest, ZoomCommandsSetTheDocumentZoomAndTheProgramsDefault) {
  CSaView* view = OpenPage(100);
  ASSERT_NE(view, nullptr);
  view->SendMessage(ui::WM_COMMAND, 1500 + 200);
  EXPECT_EQ(view->GetDocument()->GetZoom(), 200);
  EXPECT_EQ(SaSettings().documentZoom, 200);
  EXPECT_EQ(view->GetTotalSize(), (gdi::Size{2296 + 40, 1600 + 40}));
  EXPECT_EQ(MainFrame()->m_wndStandardBar.ZoomCombo().GetWindowText(), "200%");
  EXPECT_FLOAT_EQ(FrameOf(view)->GetRulers().m_zoom, 2.0f);
  // "Page Width" fits the page into the client area.
  ui::Rect client;
  view->GetClientRect(&client);
  view->SendMessage(ui::WM_COMMAND, 1500);
  EXPECT_EQ(view->GetDocument()->GetZoom(), saview::ZoomForCommand(1500, client.GetSize(), {view->GetDocument()->PageWidth(), view->GetDocument()->PageHeight()}, 0));
  // Scrolling moves the rulers' origin.
  view->SendMessage(ui::WM_COMMAND, 1500 + 100);
  view->SendMessage(ui::WM_HSCROLL, ui::SB_THUMBPOSITION | (420 << 16));
  EXPECT_FLOAT_EQ(FrameOf(view)->GetRulers().m_xOrigin, saview::RulerOriginMillimetres(view->GetDeviceScrollPosition().x, 100));
  EXPECT_GT(FrameOf(view)->GetRulers().m_xOrigin, 0.0f);
}

TEST_F(ViewTest, TheFullViewWithoutSpectraSaysSoAndReturnsToThePageLayout) {
  CSaView* view = OpenPage(100);
  ASSERT_NE(view, nullptr);
  view->SendMessage(ui::WM_COMMAND, saids::ID_VIEW_FULL);
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].text, ui::LoadString(saids::IDS_NO_SPECTRUM_OBJECT));
  EXPECT_TRUE(view->IsPageLayout());
  EXPECT_TRUE(FrameOf(view)->RulersShown());
  EXPECT_EQ(ui::QueryCommandState(view, saids::ID_VIEW_PAGE_LAYOUT).check, 1);
  EXPECT_EQ(ui::QueryCommandState(view, saids::ID_VIEW_FULL).check, 0);
}

}  // namespace
}  // namespace apptest
