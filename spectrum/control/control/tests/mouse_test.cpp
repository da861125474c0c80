// The plot worked with the mouse and the phase keys: selection boxes that zoom, pick cursors
// and their read-out, phasing drags, integration drags, dragged and split integrals, the
// context-menu walk and the mode commands; after each gesture the window shows exactly what
// its state draws (no XOR pixel left behind).
#include <cmath>

#include "platform/ui/dc.h"
#include "platform/ui/messages.h"
#include "platform/ui/responder.h"
#include "spectrum/control/control/tests/interaction_testing.h"
#include "spectrum/control/labels/texts.h"
#include "spectrum/control/module/command_ids.h"

namespace nelvar_test {
namespace {

using plat::ole::testing::TestContainer;
namespace input = ui::input;
using namespace nelvar;

class MouseTest : public InteractionTest {
 protected:
  // A 256-point spectrum in a control of 400 x 300 pixels, UI-active and painted.
  CSpcControl& Plot(TestContainer& box) {
    CSpcControl* control = AddControl(box, {0, 0, 400, 300});
    GiveSpectrum(*control, 0, 256);
    Show(box, *control);
    return *control;
  }
  static gdi::Rect AreaOf(CSpcControl& c, std::int32_t type) {
    CDrawObject* object = c.m_drawList.FindDrawObject(type);
    return object ? object->m_area : gdi::Rect();
  }
  static void Drag(CSpcControl& c, ui::Point from, ui::Point to, ui::UINT button = ui::MK_LBUTTON,
                   ui::UINT modifiers = input::kNone) {
    input::MouseDown(&c, from, button, modifiers);
    Settle(c);
    for (int s = 1; s <= 4; ++s) {
      input::MouseMove(&c, {from.x + (to.x - from.x) * s / 4, from.y + (to.y - from.y) * s / 4}, button, modifiers);
      Settle(c);
    }
    input::MouseUp(&c, to, button, modifiers);
    Settle(c);
  }
  static std::string LastStatus(const TestContainer& box) {
    std::string status;
    for (const std::string& line : box.Log())
      if (line.rfind("SetStatusText ", 0) == 0) status = line.substr(14);
    return status;
  }
};

TEST_F(MouseTest, ASelectionBoxFollowsTheMouseAndZoomsIn) {
  TestContainer box;
  CSpcControl& c = Plot(box);
  const gdi::Rect plot = AreaOf(c, kDrawSpectrum);
  ASSERT_FALSE(plot.IsRectEmpty());
  // A left press holds the mouse until its release, even one that starts nothing.
  input::MouseDown(&c, {2, 2});
  EXPECT_EQ(ui::Wnd::GetCapture(), &c);
  input::MouseUp(&c, {2, 2});
  EXPECT_EQ(ui::Wnd::GetCapture(), nullptr);
  // Dragged leftwards: the box keeps its press corner.
  Drag(c, {plot.left + 200, plot.top + 20}, {plot.left + 100, plot.top + 60});
  EXPECT_EQ(c.m_drawList.m_selection, gdi::Rect(plot.left + 100, plot.top + 20, plot.left + 200, plot.top + 60));
  EXPECT_EQ(c.m_dragState, 0u);
  EXPECT_TRUE(ShowsItsState(c));
  {
    // The check sees a mark that no state stands for (and the repaint takes it away).
    ui::ClientDC dc(&c);
    dc.DrawFocusRect(gdi::Rect(plot.left + 5, plot.top + 5, plot.left + 25, plot.top + 25));
  }
  EXPECT_FALSE(ShowsItsState(c));
  EXPECT_TRUE(ShowsItsState(c));
  // A second box replaces the first on the screen too.
  Drag(c, {plot.left + 10, plot.top + 10}, {plot.left + 50, plot.top + 30});
  EXPECT_TRUE(ShowsItsState(c));
  const double left = c.m_drawList.XToPos(plot.left + 10);
  const double right = c.m_drawList.XToPos(plot.left + 50);
  c.SendMessage(ui::WM_COMMAND, 40045);
  EXPECT_FLOAT_EQ(c.m_drawList.m_fLeftBound, static_cast<float>(left));
  EXPECT_FLOAT_EQ(c.m_drawList.m_fRightBound, static_cast<float>(right));
  EXPECT_TRUE(c.m_drawList.m_selection.IsRectEmpty());
  ASSERT_EQ(c.m_zoomHistory.size(), 1u);
  EXPECT_EQ(c.m_zoomHistory[0], (CZoomBounds{0.0f, 255.0f}));
  EXPECT_TRUE(ShowsItsState(c));
}

TEST_F(MouseTest, PickCursorsReadOutInTheStatusLineAndPeakPickingTakesTheFirst) {
  TestContainer box;
  CSpcControl& c = Plot(box);
  c.SendMessage(ui::WM_COMMAND, 40075);
  EXPECT_EQ(c.m_mouseMode, CSpcControl::kModePicking);
  const gdi::Rect plot = AreaOf(c, kDrawSpectrum);
  // A right click without a first cursor changes nothing.
  input::Click(&c, {plot.left + 30, plot.top + 30}, ui::MK_RBUTTON);
  Settle(c);
  EXPECT_EQ(c.m_drawList.m_nPickCursor2, -1);

  const int x0 = c.m_drawList.PointToX(128);
  input::Click(&c, {x0, plot.top + 30});
  Settle(c);
  const std::int32_t first = c.m_drawList.m_nPickCursor1;
  EXPECT_EQ(first, c.m_drawList.XToPoint(x0));
  EXPECT_TRUE(ShowsItsState(c));
  const std::string one = LastStatus(box);
  EXPECT_EQ(one.rfind("Point_0 <PPM: ", 0), 0u) << one;
  EXPECT_NE(one.find(", Hertz: "), std::string::npos) << one;
  EXPECT_EQ(one.back(), '>');
  EXPECT_EQ(one.find("Point_1"), std::string::npos);

  const int x1 = c.m_drawList.PointToX(64);
  input::Click(&c, {x1, plot.top + 30}, ui::MK_RBUTTON);
  Settle(c);
  EXPECT_EQ(c.m_drawList.m_nPickCursor2, c.m_drawList.XToPoint(x1));
  const std::string three = LastStatus(box);
  EXPECT_NE(three.find(" Point_1 <PPM: "), std::string::npos) << three;
  EXPECT_NE(three.find(" Difference <PPM: "), std::string::npos) << three;
  EXPECT_TRUE(ShowsItsState(c));
  // A second right click takes the second cursor away again.
  input::Click(&c, {x1, plot.top + 30}, ui::MK_RBUTTON);
  Settle(c);
  EXPECT_EQ(c.m_drawList.m_nPickCursor2, -1);
  EXPECT_EQ(LastStatus(box), one);
  EXPECT_TRUE(ShowsItsState(c));

  c.SendMessage(ui::WM_COMMAND, 40038);
  EXPECT_EQ(c.m_data.peaks, std::vector<std::int32_t>{first});
  EXPECT_EQ(c.m_drawList.m_nPickCursor1, -1);
  EXPECT_TRUE(ShowsItsState(c));
  // The mode toggles back to selection.
  c.SendMessage(ui::WM_COMMAND, 40075);
  EXPECT_EQ(c.m_mouseMode, CSpcControl::kModeSelection);
}

TEST_F(MouseTest, CtrlDragsPhaseByHalfAndQuarterDegreesPerPixel) {
  TestContainer box;
  CSpcControl& c = Plot(box);
  const gdi::Rect plot = AreaOf(c, kDrawSpectrum);
  c.SetModifiedFlag(false);
  Drag(c, {plot.left + 50, plot.top + 40}, {plot.left + 90, plot.top + 40}, ui::MK_LBUTTON, input::kControl);
  EXPECT_FLOAT_EQ(c.m_process.m_fPH0, 20.0f);
  EXPECT_TRUE(c.IsModified());
  EXPECT_TRUE(ShowsItsState(c));
  Drag(c, {plot.left + 90, plot.top + 40}, {plot.left + 10, plot.top + 40}, ui::MK_RBUTTON, input::kControl);
  EXPECT_FLOAT_EQ(c.m_process.m_fPH1, -20.0f);
  EXPECT_FLOAT_EQ(c.m_process.m_fPH0, 20.0f);
  EXPECT_EQ(c.m_dragState, 0u);
  EXPECT_TRUE(ShowsItsState(c));
  // The arrow keys step PH0 by ten degrees in every mode.
  c.SetFocus();
  input::Key(ui::VK_LEFT);
  input::Key(ui::VK_LEFT);
  input::Key(ui::VK_RIGHT);
  Settle(c);
  EXPECT_FLOAT_EQ(c.m_process.m_fPH0, 10.0f);
}

TEST_F(MouseTest, IntegrationDragsAddSplitAndShiftIntegrals) {
  TestContainer box;
  CSpcControl& c = Plot(box);
  const gdi::Rect plot = AreaOf(c, kDrawSpectrum);
  const int a = c.m_drawList.PointToX(100), b = c.m_drawList.PointToX(160);
  // A selection box on the screen goes when an integration drag starts.
  Drag(c, {plot.left + 5, plot.top + 5}, {plot.left + 60, plot.top + 90});
  ASSERT_FALSE(c.m_drawList.m_selection.IsRectEmpty());
  Drag(c, {b, plot.top + 30}, {a, plot.top + 30}, ui::MK_LBUTTON, input::kShift);
  ASSERT_EQ(c.m_data.integrals.size(), 1u);
  const CSpcIntegral whole = c.m_data.integrals[0];
  EXPECT_EQ(whole.from, static_cast<std::uint32_t>(c.m_drawList.XToPoint(a)));
  EXPECT_EQ(whole.to, static_cast<std::uint32_t>(c.m_drawList.XToPoint(b)));
  EXPECT_TRUE(c.m_drawList.m_selection.IsRectEmpty());
  EXPECT_TRUE(ShowsItsState(c));
  // The read-out of the drag ends with the range's share of the total.
  EXPECT_NE(box.Log().back().find(" Integral: "), std::string::npos);

  // Zero width adds nothing.
  input::MouseDown(&c, {a + 5, plot.top + 30}, ui::MK_LBUTTON, input::kShift);
  input::MouseUp(&c, {a + 5, plot.top + 30}, ui::MK_LBUTTON, input::kShift);
  Settle(c);
  EXPECT_EQ(c.m_data.integrals.size(), 1u);

  // One inside the range splits it around the new one.
  const int m0 = c.m_drawList.PointToX(120), m1 = c.m_drawList.PointToX(140);
  c.SendMessage(ui::WM_COMMAND, 40109);
  Drag(c, {m0, plot.top + 30}, {m1, plot.top + 30});
  ASSERT_EQ(c.m_data.integrals.size(), 3u);
  const auto p0 = static_cast<std::uint32_t>(c.m_drawList.XToPoint(m0));
  const auto p1 = static_cast<std::uint32_t>(c.m_drawList.XToPoint(m1));
  EXPECT_EQ(c.m_data.integrals[0].to, p0 - 1);
  EXPECT_EQ(c.m_data.integrals[1].from, p0);
  EXPECT_EQ(c.m_data.integrals[1].to, p1);
  EXPECT_EQ(c.m_data.integrals[2].from, p1 + 1);
  EXPECT_EQ(c.m_data.integrals[2].to, whole.to);
  EXPECT_TRUE(ShowsItsState(c));
  c.SendMessage(ui::WM_COMMAND, 40074);

  // In selection mode the bracket of a range drags it sideways and a double click splits it.
  const gdi::Rect band = AreaOf(c, kDrawIntegSums);
  ASSERT_FALSE(band.IsRectEmpty());
  const CSpcIntegral middle = c.m_data.integrals[1];
  const int inside = c.m_drawList.PointToX(130);
  const gdi::Rect before = c.m_drawList.m_selection;
  c.SetModifiedFlag(false);
  Drag(c, {inside, band.top + band.Height() / 2}, {inside - 1, band.top + band.Height() / 2});
  EXPECT_EQ(c.m_drawList.m_selection, before);  // a grab keeps the selection
  EXPECT_TRUE(c.IsModified());                  // the moved range is saved with the item
  EXPECT_LE(c.m_data.integrals[1].from, middle.from);
  const CSpcIntegral moved = c.m_data.integrals[1];
  const int at = c.m_drawList.PointToX(static_cast<std::int32_t>((moved.from + moved.to) / 2));
  input::DoubleClick(&c, {at, band.top + band.Height() / 2});
  Settle(c);
  ASSERT_EQ(c.m_data.integrals.size(), 4u);
  EXPECT_EQ(c.m_data.integrals[1].from, moved.from);
  EXPECT_EQ(c.m_data.integrals[2].to, moved.to);
  EXPECT_EQ(c.m_data.integrals[2].from, c.m_data.integrals[1].to + 1);
  EXPECT_TRUE(ShowsItsState(c));
}

TEST_F(MouseTest, TheContextMenuWalkReachesEverySubmenu) {
  TestContainer box;
  CSpcControl& empty = *AddControl(box, {0, 0, 200, 150});
  Show(box, empty);
  EXPECT_EQ(empty.ContextMenuAt({50, 50}), 5);  // no data, no objects
  box.Deactivate(ItemOf(&empty));

  CSpcControl& c = Plot(box);
  const gdi::Rect plot = AreaOf(c, kDrawSpectrum);
  const gdi::Rect scale = AreaOf(c, kDrawScale);
  const ui::Point middle{plot.left + plot.Width() / 2, plot.top + plot.Height() / 2};
  EXPECT_EQ(c.ContextMenuAt(middle), 1);
  EXPECT_EQ(c.ContextMenuAt({scale.left + scale.Width() / 2, scale.top + scale.Height() / 2}), 4);
  Drag(c, {middle.x - 20, middle.y - 20}, {middle.x + 20, middle.y + 20});
  EXPECT_EQ(c.ContextMenuAt(middle), 0);
  EXPECT_EQ(c.ContextMenuAt({plot.left + 2, plot.top + 2}), 1);
  // Where no object has a menu of its own, the spectrum's: the vertical scale's band and the
  // notice line.
  const gdi::Rect band = AreaOf(c, kDrawScaleY1);
  ASSERT_FALSE(band.IsRectEmpty());
  EXPECT_EQ(c.ContextMenuAt(band.CenterPoint()), 1);
  ui::Rect client;
  c.GetClientRect(&client);
  EXPECT_EQ(c.ContextMenuAt({client.right - 5, client.top + 3}), 1);  // on the notice's text

  // The peak band, the integral band, a text and the baseline answer for themselves.
  c.m_data.peaks = {128};
  c.m_data.integrals = {{100, 150, 1.0f}};
  CText* label = CText::Create(c.m_drawList, "label", middle.x, middle.y);
  ASSERT_NE(label, nullptr);
  c.Refresh();
  Settle(c);
  const gdi::Rect peaks = AreaOf(c, kDrawTPeaks);
  const gdi::Rect sums = AreaOf(c, kDrawIntegSums);
  ASSERT_FALSE(peaks.IsRectEmpty());
  ASSERT_FALSE(sums.IsRectEmpty());
  EXPECT_EQ(c.ContextMenuAt({peaks.left + 5, peaks.top + 1}), 3);
  EXPECT_EQ(c.ContextMenuAt({sums.left + 5, sums.bottom - 1}), 2);
  EXPECT_EQ(c.ContextMenuAt(label->m_area.CenterPoint()), 7);

  // The chosen command reaches the control: Delete Text on the label.
  ui::ScriptedResponder responder(true);
  responder.Then(ui::ModalKind::PopupMenu, [](ui::ModalQuestion& q) {
    EXPECT_EQ(q.menu->GetMenuItemCount(), 2);
    return 40123;
  });
  const ui::Point on = label->m_area.CenterPoint();
  input::Click(&c, on, ui::MK_RBUTTON);
  Settle(c);
  EXPECT_TRUE(responder.Done());
  EXPECT_EQ(c.m_drawList.FindDrawObject(kDrawText), nullptr);
  EXPECT_TRUE(ShowsItsState(c));

  // With the baseline shown the plot opens the baseline's menu.
  c.m_drawList.FindDrawObject(kDrawBaseline)->m_bEnabled = true;
  c.Refresh();
  Settle(c);
  const gdi::Rect trace = AreaOf(c, kDrawSpectrum);
  EXPECT_EQ(c.ContextMenuAt({trace.left + 3, trace.bottom - 3}), 6);
}

TEST_F(MouseTest, TextModePlacesATextOnEveryConfirmedClick) {
  TestContainer box;
  CSpcControl& c = Plot(box);
  const gdi::Rect plot = AreaOf(c, kDrawSpectrum);
  const ui::Point at{plot.left + 100, plot.top + 60};
  c.SendMessage(ui::WM_COMMAND, ID_MODE_TEXT);
  ui::ScriptedResponder responder(true);
  auto answer = [&](const char* text, int code) {
    responder.Then(ui::ModalKind::Dialog, [text, code](ui::ModalQuestion& q) {
      EXPECT_EQ(q.title, "Parameter TEXT value");
      q.dialog->SetDlgItemText(1036, text);
      return code;
    });
  };
  auto texts = [&] {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < c.m_drawList.GetSize(); ++i)
      if (auto* t = dynamic_cast<CText*>(c.m_drawList.GetAt(i))) found.push_back(t->m_strText);
    return found;
  };
  answer("first", ui::IDOK);
  input::Click(&c, at);
  Settle(c);
  answer("second", ui::IDOK);  // on top of the first: still a new one
  input::Click(&c, at);
  Settle(c);
  answer("never", ui::IDCANCEL);
  input::Click(&c, at);
  Settle(c);
  EXPECT_EQ(texts(), (std::vector<std::string>{"first", "second"}));
  const auto* label = dynamic_cast<CText*>(c.m_drawList.FindDrawObject(kDrawText));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->m_nX, c.m_drawList.XToPoint(at.x));
  EXPECT_TRUE(ShowsItsState(c));

  // Edit Text takes the first label under the right-click point.
  c.m_rightClick = label->m_area.CenterPoint();
  answer("edited", ui::IDOK);
  c.SendMessage(ui::WM_COMMAND, ID_EDIT_TEXT);
  EXPECT_EQ(texts(), (std::vector<std::string>{"edited", "second"}));
  EXPECT_TRUE(responder.Done());
}

TEST_F(MouseTest, ThePlotShowsTheFirstOfItsCursorsMadeFromTheBitmaps) {
  TestContainer box;
  CSpcControl& c = Plot(box);
  ASSERT_NE(c.m_cursors[0], nullptr);
  EXPECT_NE(c.m_cursors[1], nullptr);
  EXPECT_EQ(c.m_cursors[2], nullptr);  // no bitmap 452
  EXPECT_TRUE(c.OnSetCursor(&c, static_cast<ui::UINT>(ui::HTCLIENT), ui::WM_MOUSEMOVE));
  EXPECT_EQ(ui::GetCursor(), c.m_cursors[0]);
}

TEST_F(MouseTest, TheIntegrationReadOutOfAFlatSpectrumIsZero) {
  TestContainer box;
  CSpcControl& c = Plot(box);
  for (CSpcPoint& p : c.m_data.spectrum()) p = {};
  c.m_process.UpdatePhase();
  c.Refresh();
  Settle(c);
  const gdi::Rect plot = AreaOf(c, kDrawSpectrum);
  Drag(c, {plot.left + 20, plot.top + 30}, {plot.left + 80, plot.top + 30}, ui::MK_LBUTTON, input::kShift);
  const std::string status = LastStatus(box);
  EXPECT_EQ(status.substr(status.size() - 12), " Integral: 0") << status;
  EXPECT_EQ(c.m_data.integrals.size(), 1u);
}

}  // namespace
}  // namespace nelvar_test
