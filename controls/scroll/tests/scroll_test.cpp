// The scroll strip: drags of the shown range, the overview picture with its band, and the
// control in a container driven by injected mouse input, with the NewBoundsSet events.
#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/base/tests/control_fixture.h"
#include "controls/scroll/scrollcontrol.h"
#include "platform/com/driver.h"
#include "platform/gdi/surface.h"
#include "platform/ui/app.h"
#include "platform/ui/input.h"

namespace karvel::test {
namespace {

using plat::ole::testing::TestContainer;
namespace id = kedrus_dispid;

TEST(ScrollRange, DragsKeepTheWidthAndStopAtTheEnds) {
  ScrollRange r{100, 199, 1000};
  r.Drag(300, 600);
  EXPECT_EQ(r.left, 600);
  EXPECT_EQ(r.right, 699);
  r.Drag(5000, 600);
  EXPECT_EQ(r.left, 900);
  EXPECT_EQ(r.right, 999);
  r.Drag(-100000, 600);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 99);
  // Without points or width nothing moves; bounds outside the spectrum come back into it first.
  ScrollRange none{5, 9, 0};
  none.Drag(50, 100);
  EXPECT_EQ(none.left, 5);
  ScrollRange outside{-50, 2000, 1000};
  outside.Drag(0, 100);
  EXPECT_EQ(outside.left, 0);
  EXPECT_EQ(outside.right, 999);
}

// A picture of a black diagonal line over the frame 0..1000 x 0..100.
gdi::EnhMetaFile Diagonal() {
  const gdi::Rect frame(0, 0, 1000, 100);
  gdi::DC rec = gdi::DC::CreateEnhMetaFile(nullptr, &frame, u"test");
  rec.MoveTo(0, 0);
  rec.LineTo(40, 4);
  return rec.CloseEnhMetaFile();
}

TEST(ScrollStrip, TheBandIsAtLeastOnePixelAndNeedsPointsAndAPicture) {
  gdi::RasterSurface surface(204, 24);
  gdi::DC dc(surface);
  const gdi::COLORREF window = gdi::GetSysColor(gdi::COLOR_WINDOW);
  const gdi::Rect inner(2, 2, 202, 22);
  PaintScrollStrip(dc, gdi::Rect(0, 0, 204, 24), 2, Diagonal(), ScrollRange{100, 199, 1000}, false);
  // Inner width 200: the band covers x 22 to 41.
  EXPECT_EQ(surface.GetPixel(22, 12), window);
  EXPECT_EQ(surface.GetPixel(39, 12), window);
  EXPECT_NE(surface.GetPixel(42, 12), window);
  EXPECT_NE(surface.GetPixel(21, 12), window);
  PaintScrollStrip(dc, gdi::Rect(0, 0, 204, 24), 2, Diagonal(), ScrollRange{500, 500, 100000}, false);
  const gdi::Rect row(2, 12, 202, 13);
  EXPECT_EQ(surface.CountPixels(window, &row), 1);
  for (const ScrollRange& range : {ScrollRange{10, 20, 0}, ScrollRange{10, 20, -5}}) {
    PaintScrollStrip(dc, gdi::Rect(0, 0, 204, 24), 2, Diagonal(), range, false);
    EXPECT_EQ(surface.CountPixels(window, &inner), 0);
  }
  PaintScrollStrip(dc, gdi::Rect(0, 0, 204, 24), 2, gdi::EnhMetaFile(), ScrollRange{10, 20, 100}, true);
  EXPECT_EQ(surface.CountPixels(window, &inner), 0);
  // Raised: light top-left, dark bottom-right.
  EXPECT_EQ(surface.GetPixel(0, 0), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(surface.GetPixel(203, 23), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
}

class ScrollControlTest : public ControlTest {
 protected:
  void Open(TestContainer& box) {
    item_ = box.AddItem(CLSID_ScrollControl, {10, 10, 214, 34});
    ASSERT_NE(item_, nullptr);
    strip_ = LastMade<CScrollControl>();
    ASSERT_TRUE(box.Activate(item_));
    ASSERT_TRUE(sink_.Connect(strip_->GetUnknown()));
    picture_ = gdi::RegisterEnhMetaFileHandle(Diagonal());
    for (const auto& [dispid, value] : {std::pair{id::kScrollPoints, 1000}, {id::kScrollLeftBound, 100},
                                        {id::kScrollRightBound, 199}, {id::kScrollImage, std::int32_t(picture_)}})
      Put(dispid, value);
  }
  void TearDown() override {
    sink_.Disconnect();
    gdi::DeleteEnhMetaFileHandle(picture_);
    ControlTest::TearDown();
  }
  void Put(DispId dispid, std::int32_t value) {
    Variant v;
    variantInit(&v);
    v.vt = VT_I4;
    v.i32 = value;
    ASSERT_EQ(DispatchDriver(strip_->GetIDispatch(false)).setProperty(dispid, v), S_OK);
  }

  plat::ole::testing::TestItem* item_ = nullptr;
  CScrollControl* strip_ = nullptr;
  gdi::HENHMETAFILE picture_ = 0;
  EventSink sink_{DIID__DScrollEvents};
};

TEST_F(ScrollControlTest, DraggingInThePanelShiftsTheRangeAndFires) {
  TestContainer box;
  Open(box);
  ui::input::MouseMove(strip_, {50, 10});
  EXPECT_TRUE(strip_->IsHot());
  EXPECT_EQ(ui::Wnd::GetCapture(), strip_);
  ui::input::MouseDown(strip_, {50, 10});
  ui::Wnd& panel = strip_->Panel();
  ASSERT_TRUE(panel.IsWindow());
  gdi::Rect stripRect, panelRect, client;
  strip_->GetWindowRect(&stripRect);
  panel.GetWindowRect(&panelRect);
  const int screenWidth = gdi::DC::CreateCompatibleDC(nullptr).GetDeviceCaps(gdi::HORZRES);
  EXPECT_EQ(panelRect, gdi::Rect(0, stripRect.bottom, screenWidth - 1, stripRect.bottom + 64));
  panel.GetClientRect(&client);

  // Into the panel straight below the click: no shift yet, but an event.
  ui::Point below{50, 10};
  strip_->ClientToScreen(&below);
  panel.ScreenToClient(&below);
  below.y = 30;
  ui::input::MouseMove(&panel, below, ui::MK_LBUTTON);
  EXPECT_EQ(strip_->GetLeftBound(), 100);
  EXPECT_EQ(sink_.Count(id::kScrollNewBoundsSet), 1);
  // Half the panel's width to the right: half the points.
  ui::input::MouseMove(&panel, {below.x + client.Width() / 2, 30}, ui::MK_LBUTTON);
  EXPECT_EQ(strip_->GetLeftBound(), 600);
  EXPECT_EQ(strip_->GetRightBound(), 699);
  ui::input::MouseMove(&panel, {client.right - 1, 30}, ui::MK_LBUTTON);
  EXPECT_EQ(strip_->GetLeftBound(), 900);
  EXPECT_EQ(strip_->GetRightBound(), 999);
  // Without the button the pointer only moves.
  ui::input::MouseMove(&panel, {client.right - 2, 30});
  EXPECT_EQ(strip_->GetLeftBound(), 900);
  ui::input::MouseMove(&panel, {0, 30}, ui::MK_LBUTTON);
  EXPECT_EQ(strip_->GetLeftBound(), 0);
  EXPECT_EQ(strip_->GetRightBound(), 99);
  EXPECT_EQ(sink_.Count(id::kScrollNewBoundsSet), 4);
  ui::input::MouseUp(&panel, {0, 30});

  // The panel shows the band of the range, the strip its own.
  ui::App::PumpPending();
  const gdi::COLORREF window = gdi::GetSysColor(gdi::COLOR_WINDOW);
  auto shown = panel.Render();
  ASSERT_NE(shown, nullptr);
  KeepPng(*shown, "scrollpanel.png");
  KeepPng(*strip_->Render(), "scrollstrip.png");
  EXPECT_GT(shown->CountPixels(window), 0);

  // Leaving both windows releases the capture: the panel closes.
  ui::input::MouseMove(&panel, {10, 500});
  EXPECT_FALSE(strip_->IsHot());
  EXPECT_FALSE(panel.IsWindow());
  EXPECT_EQ(sink_.Count(id::kScrollNewBoundsSet), 4);
}

TEST_F(ScrollControlTest, PutsRedrawWithoutEventsAndPointsDoNotRedraw) {
  TestContainer box;
  Open(box);
  ui::App::PumpPending();
  gdi::Rect update;
  Put(id::kScrollPoints, 2000);
  EXPECT_FALSE(strip_->GetUpdateRect(&update));
  Put(id::kScrollLeftBound, 300);
  EXPECT_TRUE(strip_->GetUpdateRect(&update));
  ui::App::PumpPending();
  Put(id::kScrollRightBound, 400);
  EXPECT_TRUE(strip_->GetUpdateRect(&update));
  EXPECT_EQ(sink_.Total(), 0);
  EXPECT_TRUE(strip_->IsModified());

  // The strip's band: 2000 points over an inner width of 200, bounds 300 to 400.
  ui::App::PumpPending();
  auto strip = strip_->Render();
  const gdi::COLORREF window = gdi::GetSysColor(gdi::COLOR_WINDOW);
  EXPECT_EQ(strip->GetPixel(2 + 30, 12), window);
  EXPECT_EQ(strip->GetPixel(2 + 39, 12), window);
  EXPECT_NE(strip->GetPixel(2 + 41, 12), window);
  // An unknown picture handle draws no picture and no band.
  Put(id::kScrollImage, 0x7FFFFFF0);
  ui::App::PumpPending();
  const gdi::Rect inner(2, 2, 202, 22);
  EXPECT_EQ(strip_->Render()->CountPixels(window, &inner), 0);
}

}  // namespace
}  // namespace karvel::test
