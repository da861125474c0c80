// The standard toolbar: its buttons and the zoom combo in place of a separator, the zoom shown for
// the active document, and the zoom commands a choice sends to the active view.
#include <gtest/gtest.h>

#include "platform/ui/dc.h"
#include "platform/ui/input.h"
#include "rodizora/frame/tests/frame_fixture.h"

namespace frametest {
namespace {

using namespace ui;

class StandardBarTest : public FrameTest {
 protected:
  CStandardBar& bar() { return frame.m_standardBar; }
  ComboBox& combo() { return bar().ZoomCombo(); }
};

TEST_F(StandardBarTest, TheZoomComboTakesThePlaceOfTheNinthButton) {
  ASSERT_EQ(bar().GetCount(), 13);
  EXPECT_EQ(bar().GetButtonSize(), (Size{23, 22}));
  EXPECT_EQ(bar().GetImageSize(), (Size{16, 16}));
  UINT id = 0, style = 0;
  int width = 0;
  bar().GetButtonInfo(CStandardBar::kZoomButtonIndex, &id, &style, &width);
  EXPECT_EQ(id, CStandardBar::kZoomComboId);
  EXPECT_NE(style & TBBS_SEPARATOR, 0u);
  Rect place, box;
  bar().GetItemRect(CStandardBar::kZoomButtonIndex, &place);
  combo().GetWindowRect(&box);
  bar().ScreenToClient(&box);
  EXPECT_EQ(width, box.Width());
  EXPECT_EQ(box.left, place.left);
  EXPECT_NEAR(box.top - place.top, place.bottom - box.bottom, 1);
  // The entries, and a drop-down list wide enough for the longest ("Page Width") and a half.
  ASSERT_EQ(combo().GetCount(), 9);
  EXPECT_EQ(combo().GetLBText(0), "500%");
  EXPECT_EQ(combo().GetLBText(8), "Page Width");
  {
    ClientDC dc(&bar());
    gdi::TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    ASSERT_GT(tm.tmAveCharWidth, 0);
    EXPECT_EQ(combo().GetDroppedWidth(), (10 + 1) * tm.tmAveCharWidth * 3 / 2);
  }
  // No document: disabled and empty.
  EXPECT_FALSE(combo().IsWindowEnabled());
  EXPECT_EQ(combo().GetWindowText(), "");
  SaveRendering(*bar().Render(), "standardbar.png");
}

TEST_F(StandardBarTest, TheComboShowsTheActiveDocumentsZoom) {
  bar().SetZoom(333);  // not an entry of the list
  EXPECT_TRUE(combo().IsWindowEnabled());
  EXPECT_EQ(combo().GetWindowText(), "333%");
  bar().SetZoom(-1);
  EXPECT_FALSE(combo().IsWindowEnabled());
  EXPECT_EQ(combo().GetWindowText(), "");
  CSaFrame* first = OpenDocument("One", 75);
  EXPECT_EQ(combo().GetWindowText(), "75%");
  CSaFrame* second = OpenDocument("Two", 150);
  EXPECT_EQ(combo().GetWindowText(), "150%");
  first->MDIActivate();
  EXPECT_EQ(combo().GetWindowText(), "75%");
  EXPECT_FLOAT_EQ(first->GetRulers().m_zoom, 0.75f);
  EXPECT_FLOAT_EQ(second->GetRulers().m_zoom, 1.5f);
  // The active window closed, the other one's zoom shows; the last one closed, none.
  first->DestroyWindow();
  App::PumpPending();
  EXPECT_TRUE(combo().IsWindowEnabled());
  EXPECT_EQ(combo().GetWindowText(), "150%");
  second->DestroyWindow();
  App::PumpPending();
  EXPECT_FALSE(combo().IsWindowEnabled());
  EXPECT_EQ(combo().GetWindowText(), "");
}

TEST_F(StandardBarTest, ChoosingAnEntrySendsItsZoomCommandToTheActiveView) {
  CSaFrame* child = OpenDocument("One");
  ASSERT_NE(child, nullptr);
  auto* view = dynamic_cast<TestView*>(child->GetView());
  ASSERT_NE(view, nullptr);
  // The user picks with the keyboard: from "100%" down to "75%", and "Page Width" at the end.
  combo().SetCurSel(3);
  combo().SetFocus();
  input::Key(VK_DOWN);
  combo().SetCurSel(7);
  input::Key(VK_DOWN);
  App::PumpPending();
  EXPECT_EQ(view->zoomCommands, (std::vector<UINT>{1575, 1500}));
  // A programmatic selection sends nothing.
  combo().SetCurSel(0);
  App::PumpPending();
  EXPECT_EQ(view->zoomCommands.size(), 2u);
}

}  // namespace
}  // namespace frametest
