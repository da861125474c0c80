// The document window's frame: rulers in its non-client area, the view's client area moved by
// them, the zoom they scale with, the marks shown for the view, and activation told to the view.
#include <gtest/gtest.h>

#include "platform/ui/metrics.h"
#include "rodizora/frame/tests/frame_fixture.h"

namespace frametest {
namespace {

using namespace ui;

class SaFrameTest : public FrameTest {};

Rect ViewOnScreen(const CSaFrame* child) {
  Rect r;
  Point origin{0, 0};
  child->GetView()->ClientToScreen(&origin);
  child->GetView()->GetClientRect(&r);
  r.OffsetRect(origin.x, origin.y);
  return r;
}

TEST_F(SaFrameTest, RulersMoveTheViewInAndScaleWithTheDocumentZoom) {
  CSaFrame* child = OpenDocument("Page", 50);
  ASSERT_NE(child, nullptr);
  EXPECT_FLOAT_EQ(child->GetRulers().m_pixelsPerUnit, 4.0f);
  EXPECT_FLOAT_EQ(child->GetRulers().m_zoom, 0.5f);
  const Rect without = ViewOnScreen(child);
  child->ShowRulers(true);
  App::PumpPending();
  const Rect with = ViewOnScreen(child);
  EXPECT_EQ(with.left, without.left + 25);
  EXPECT_EQ(with.top, without.top + 25);
  EXPECT_EQ(with.right, without.right);

  // The ruler area starts one border inside the frame's client area, 26 pixels before the view.
  Rect window;
  child->GetWindowRect(&window);
  Point client{0, 0};
  child->ClientToScreen(&client);
  const Rect area = child->GetRulers().m_area;
  EXPECT_EQ(area.left, 1 + client.x - window.left - 26);
  EXPECT_EQ(area.top, 1 + client.y - window.top - 26);
  EXPECT_EQ(area.right, window.Width() - 4);
  const gdi::WindowSurface* pixels = child->GetWindowSurface();
  const COLORREF menu = gdi::GetSysColor(gdi::COLOR_MENU);
  EXPECT_EQ(pixels->GetPixel(area.left + 40, area.top + 5), menu);
  // The scale starts at 0 mm, 26 pixels into the ruler area, with a long tick there.
  const int x = area.left + 26;
  const Rect tick(x, area.top + 12, x + 1, area.top + 23);
  EXPECT_GE(pixels->CountPixels(gdi::RGB(0, 0, 0), &tick), 6);
  SaveRendering(*frame.Render(), "document_rulers.png");

  // The view's scroll origin shifts the scale; the marks go to the frame's own pixels.
  child->SetRulerOrigin(10.0f, 0.0f);
  EXPECT_DOUBLE_EQ(child->GetRulers().PixelToUnitX(26), 10.0);
  const COLORREF before = pixels->GetPixel(area.left + 26 + 100, area.top + 10);
  child->ShowRulerCrosshair(100, 50);
  EXPECT_NE(pixels->GetPixel(area.left + 26 + 100, area.top + 10), before);
  child->ShowRulerRect(Rect(5, 5, 60, 60));
  EXPECT_EQ(pixels->GetPixel(area.left + 26 + 100, area.top + 10), before);

  child->ShowRulers(false);
  App::PumpPending();
  EXPECT_EQ(ViewOnScreen(child), without);
  child->ShowRulerCrosshair(100, 50);  // nothing to mark
  EXPECT_EQ(child->GetRulers().m_rubber.left, 5);
}

TEST_F(SaFrameTest, TheViewHearsWhenItsFrameIsActivatedAndDeactivated) {
  CSaFrame* first = OpenDocument("One");
  CSaFrame* second = OpenDocument("Two");
  ASSERT_TRUE(first && second);
  auto* firstView = dynamic_cast<TestView*>(first->GetView());
  auto* secondView = dynamic_cast<TestView*>(second->GetView());
  firstView->activations.clear();
  secondView->activations.clear();
  first->MDIActivate();
  EXPECT_EQ(firstView->activations, (std::vector<bool>{true}));
  EXPECT_EQ(secondView->activations, (std::vector<bool>{false}));
  second->MDIActivate();
  EXPECT_EQ(firstView->activations, (std::vector<bool>{true, false}));
  EXPECT_EQ(secondView->activations, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace frametest
