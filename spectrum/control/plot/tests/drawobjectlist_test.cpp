#include <gtest/gtest.h>

#include <cstring>

#include "platform/archive/archive.h"
#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/trace.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace plot_test {
namespace {

class PlotList : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterStandIns(); }
};

// ---- Bytes as the formats give them, written out by hand ----
struct Bytes {
  std::vector<std::uint8_t> v;
  Bytes& u32(std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
    return *this;
  }
  Bytes& f32(float f) {
    std::uint32_t x;
    std::memcpy(&x, &f, 4);
    return u32(x);
  }
  // LOGPEN: style, width x, width y, colour.
  Bytes& pen(std::uint32_t style, std::uint32_t width, std::uint32_t color) { return u32(style).u32(width).u32(width).u32(color); }
  // LOGFONT: height, width, escapement, orientation, weight, eight bytes, 32-byte face.
  Bytes& font(std::uint32_t height, std::uint32_t escapement, std::uint32_t weight, std::uint8_t italic) {
    u32(height).u32(0).u32(escapement).u32(0).u32(weight);
    const std::uint8_t bytes[8] = {italic, 0, 0, 0, 0, 0, 0, 0};
    v.insert(v.end(), bytes, bytes + 8);
    const char face[32] = "Arial";
    v.insert(v.end(), face, face + 32);
    return *this;
  }
};

TEST_F(PlotList, DefaultSetIsTypesOneToThirteenInOrderWithTheirEnabledFlags) {
  TestPlot plot(SpectrumBuilder::Nmr(64).Constant(1.0).Build());
  ASSERT_EQ(plot.list.GetSize(), 13u);
  for (std::size_t i = 0; i < 13; ++i) {
    EXPECT_EQ(plot.list.GetAt(i)->GetType(), static_cast<std::int32_t>(i + 1));
    EXPECT_EQ(plot.list.GetAt(i)->GetInstance(), 0);
    EXPECT_EQ(plot.list.GetAt(i)->GetOwner(), &plot.list);
  }
  for (const std::int32_t off : {kDrawBorder, kDrawGrid}) EXPECT_FALSE(plot.list.FindDrawObject(off)->m_bEnabled);
  for (const std::int32_t on : {kDrawScale, kDrawScaleY1, kDrawScaleY2, kDrawSpectrum})
    EXPECT_TRUE(plot.list.FindDrawObject(on)->m_bEnabled);
  EXPECT_EQ(plot.list.m_TextFont.lfEscapement, 900);
  EXPECT_EQ(plot.list.m_bkBrush, (gdi::LOGBRUSH{gdi::BS_HOLLOW, 0xFFFFFF, 0}));
  EXPECT_EQ(plot.list.CreateDrawObject(0, nullptr, 0), nullptr);
  EXPECT_EQ(plot.list.CreateDrawObject(15, nullptr, 0), nullptr);
}

TEST_F(PlotList, TextsStandAfterTheTitleAndKeepCountingInstancesWhenOneLeaves) {
  TestPlot plot(SpectrumBuilder::Nmr(64).Build());
  CDrawObject* first = plot.list.GetDrawObject(kDrawText);
  CDrawObject* second = plot.list.GetDrawObject(kDrawText);
  CDrawObject* third = plot.list.GetDrawObject(kDrawText);
  ASSERT_EQ(plot.list.GetSize(), 16u);
  EXPECT_EQ(plot.list.IndexOf(first), 13);
  EXPECT_EQ(second->GetInstance(), 1);
  EXPECT_EQ(third->GetInstance(), 2);
  // A border added later goes before everything else, as instance 1 of its type.
  CDrawObject* border = plot.list.GetDrawObject(kDrawBorder);
  EXPECT_EQ(plot.list.IndexOf(border), 1);
  EXPECT_EQ(border->GetInstance(), 1);

  plot.list.m_nGrabbed = plot.list.IndexOf(third);
  EXPECT_TRUE(plot.list.RemoveObject(first));
  EXPECT_FALSE(plot.list.RemoveObject(first));
  EXPECT_EQ(second->GetInstance(), 0);
  EXPECT_EQ(third->GetInstance(), 1);
  EXPECT_EQ(plot.list.FindDrawObject(kDrawText, 1), third);
  EXPECT_EQ(plot.list.m_nGrabbed, plot.list.IndexOf(third));
}

// The default set stored as a property-set snapshot and in full: the order of the objects,
// each object's fields as its class keeps them, the end pair and the list's appearance.
TEST_F(PlotList, DefaultSetArchiveMatchesTheBytesOfTheFormat) {
  TestPlot plot(SpectrumBuilder::Nmr(64).Build());
  Bytes expected;
  auto base = [&](std::uint32_t enabled) { expected.u32(enabled); };
  expected.u32(1).u32(0).pen(0, 30, 0x0000C0);  // frame: solid, 0.3 mm, red
  base(0);
  expected.u32(2).u32(0);
  base(1);
  expected.u32(3).u32(0).pen(0, 40, 0xC00000).pen(0, 30, 0xC00000).font(10, 0, 400, 0).u32(0x640000);
  base(1);
  expected.u32(4).u32(0).pen(2, 1, 0xC0C0C0);  // grid: dotted, grey
  base(0);
  expected.u32(5).u32(0);
  base(1);
  expected.u32(6).u32(0).pen(0, 40, 0xC00000).pen(0, 30, 0xC00000).font(12, 0, 400, 0).u32(0x640000).u32(0);
  base(1);
  expected.u32(7).u32(0);
  base(1);
  // Trace: pen, "Best", largest and smallest value, reserved, value per pixel, reserved.
  expected.u32(8).u32(0).pen(0, 10, 0).u32(1).f32(0).f32(0).u32(0).f32(0).u32(0);
  base(1);
  expected.u32(9).u32(0);
  base(1);
  for (std::uint32_t t : {10u, 11u}) {
    expected.u32(t).u32(0);
    base(1);
  }
  expected.u32(12).u32(0);
  base(0);
  expected.u32(13).u32(0);
  base(0);
  expected.u32(0).u32(0);
  expected.u32(1).u32(0xFFFFFF).u32(0);  // hollow white background
  expected.u32(0).u32(1);                // cursor colour and kind
  expected.font(10, 900, 400, 1);        // free texts: 10 points, vertical, italic
  expected.u32(0);

  plat::Archive snapshot;
  plot.list.StoreObjects(snapshot, false);
  EXPECT_EQ(snapshot.bytes(), expected.v);

  plat::Archive whole;
  plot.list.SerializeObjects(whole, nullptr);
  expected.u32(1).f32(100.0f).f32(0).f32(0).f32(0).f32(0).f32(63.0f).u32(0);
  EXPECT_EQ(whole.bytes(), expected.v);
}

TEST_F(PlotList, ArchiveReadsIntoTheObjectsTheListHolds) {
  TestPlot source(SpectrumBuilder::Nmr(64).Build());
  source.Find<CBorder>(kDrawBorder)->m_linePen.lopnColor = 0x123456;
  source.Find<CScale>(kDrawScale)->m_nUnit = 1;
  source.list.GetDrawObject(kDrawText);
  source.list.m_nBase = 0;
  source.list.m_fMassThreshold = 0.25f;
  source.list.m_zoomRegions = {{100, 200, 4}, {300, 310, 2}};
  source.list.m_TextColor = 0xFF00;
  plat::Archive out;
  source.list.SerializeObjects(out, nullptr);

  TestPlot target(SpectrumBuilder::Nmr(64).Build());
  CDrawObject* border = target.list.FindDrawObject(kDrawBorder);
  plat::Archive in(std::span<const std::uint8_t>(out.bytes()));
  target.list.SerializeObjects(in, nullptr);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(target.list.FindDrawObject(kDrawBorder), border);  // read into, not replaced
  EXPECT_EQ(target.Find<CBorder>(kDrawBorder)->m_linePen.lopnColor, 0x123456u);
  EXPECT_EQ(target.Find<CScale>(kDrawScale)->m_nUnit, 1);
  EXPECT_NE(target.list.FindDrawObject(kDrawText), nullptr);
  EXPECT_EQ(target.list.m_nBase, 0);
  EXPECT_EQ(target.list.m_fMassThreshold, 0.25f);
  EXPECT_EQ(target.list.m_zoomRegions, source.list.m_zoomRegions);
  EXPECT_EQ(target.list.m_TextColor, 0xFF00u);
  EXPECT_EQ(target.list.GetSize(), 14u);

  // A property set carries no labels: a stored text the list lacks is read and dropped.
  plat::Archive snapshot;
  source.list.StoreObjects(snapshot, false);
  TestPlot fresh(SpectrumBuilder::Nmr(64).Build());
  plat::Archive back(std::span<const std::uint8_t>(snapshot.bytes()));
  fresh.list.LoadObjects(back, false);
  EXPECT_TRUE(back.atEnd());
  EXPECT_EQ(fresh.list.FindDrawObject(kDrawText), nullptr);
}

TEST_F(PlotList, DamagedArchivesFailAsFormatErrors) {
  TestPlot plot(SpectrumBuilder::Nmr(64).Build());
  auto load = [&](const Bytes& b) {
    plat::Archive ar(std::span<const std::uint8_t>(b.v));
    plot.list.LoadObjects(ar, true);
  };
  EXPECT_THROW(load(Bytes().u32(15).u32(0).u32(1)), plat::ArchiveError);  // no such class
  EXPECT_THROW(load(Bytes().u32(1).u32(0).u32(0)), plat::ArchiveError);   // cut inside the frame
  EXPECT_THROW(load(Bytes().u32(0).u32(0).u32(1)), plat::ArchiveError);   // cut in the appearance

  // Zoom regions that cannot be drawn are dropped, the rest sorted.
  plat::Archive store;
  plot.list.SerializeObjects(store, nullptr);
  Bytes b;
  b.v = store.bytes();
  b.v.resize(b.v.size() - 4);
  b.u32(3).f32(300).f32(310).f32(2).f32(200).f32(100).f32(4).f32(10).f32(20).f32(3);
  plat::Archive in(std::span<const std::uint8_t>(b.v));
  plot.list.SerializeObjects(in, nullptr);
  EXPECT_EQ(plot.list.m_zoomRegions, (std::vector<CZoomRegion>{{10, 20, 3}, {300, 310, 2}}));
  Bytes huge;
  huge.v = store.bytes();
  huge.v.resize(huge.v.size() - 4);
  huge.u32(0x7FFFFFFF);
  plat::Archive bad(std::span<const std::uint8_t>(huge.v));
  EXPECT_THROW(plot.list.SerializeObjects(bad, nullptr), plat::ArchiveError);
}

// The transforms computed by hand on a plot rectangle (100, 50)-(500, 250).
TEST_F(PlotList, TransformsConvertBetweenDataAndPixels) {
  TestPlot plot(SpectrumBuilder::Nmr(1001).Build());
  CDrawObjectList& l = plot.list;
  l.m_plotRect = Rect(100, 50, 500, 250);
  l.m_fYMin = -10.0f;
  l.m_fYMax = 30.0f;
  l.m_fLeftBound = 0.0f;
  l.m_fRightBound = 1000.0f;
  l.m_fPointsPerPixel = 2.5f;
  // zero row = (-10 / 40 - 0) * 200 + 250 = 200
  EXPECT_EQ(l.GetZeroY(&l.m_plotRect), 200);
  EXPECT_EQ(l.ValueToY(30.0f), 50);
  EXPECT_EQ(l.ValueToY(-10.0f), 250);
  EXPECT_EQ(l.ValueToY(1.0f), 195);
  EXPECT_DOUBLE_EQ(l.YToValue(150), 10.0);
  EXPECT_EQ(l.PointToX(250), 200);
  EXPECT_EQ(l.PosToX(251.0f), 200);  // 100.4 truncated
  EXPECT_DOUBLE_EQ(l.XToPos(102), 5.0);
  EXPECT_EQ(l.XToPoint(101), 2);
  l.m_fAmplitude = 2.0f;
  l.m_fVerticalOffset = 0.25f;
  // zero row = (-0.25 - 0.25) * 200 + 250 = 150; 5 x 200 / 40 x 2 = 50 rows up
  EXPECT_EQ(l.ValueToY(5.0f), 100);
  EXPECT_DOUBLE_EQ(l.YToValue(100), 5.0);
  // The hold flag keeps the zero row of the last drawing.
  l.m_bHold = true;
  l.m_fYMin = 0.0f;
  EXPECT_EQ(l.GetZeroY(&l.m_plotRect), 150);

  // Zero spans draw the degenerate case: the zero row, the left edge.
  l.m_bHold = false;
  l.m_fYMin = l.m_fYMax = 7.0f;
  l.m_fVerticalOffset = 0.0f;
  l.m_fPointsPerPixel = 0.0f;
  EXPECT_EQ(l.GetZeroY(&l.m_plotRect), 250);
  EXPECT_EQ(l.ValueToY(7.0f), 250);
  EXPECT_EQ(l.PointToX(500), 100);
  l.m_fAmplitude = 0.0f;
  EXPECT_EQ(l.YToValue(10), 0.0);

  // MASS: x is a mass between the bounds, y from the bottom up to the largest intensity.
  TestPlot mass(SpectrumBuilder::Mass().Scan({{50, 100}, {200, 150}}).Build());
  CDrawObjectList& m = mass.list;
  m.m_plotRect = Rect(0, 0, 400, 200);
  m.m_fLeftBound = 100.0f;
  m.m_fRightBound = 200.0f;
  m.m_fYMax = 200.0f;
  EXPECT_EQ(m.PosToX(150.0f), 200);
  EXPECT_EQ(m.ValueToY(50.0f), 150);
  EXPECT_DOUBLE_EQ(m.XToPos(100), 125.0);
  EXPECT_DOUBLE_EQ(m.YToValue(100), 100.0);
  m.m_fYMax = 0.0f;
  m.m_fRightBound = 100.0f;
  EXPECT_EQ(m.ValueToY(50.0f), 200);
  EXPECT_EQ(m.PosToX(150.0f), 0);
}

TEST_F(PlotList, DefaultUnitIsTheLowestOneTheSpectrumOffers) {
  TestPlot nmr(SpectrumBuilder::Nmr(16).Build());
  EXPECT_EQ(nmr.list.GetDefaultUnit(), kUnitPpm);
  EXPECT_EQ(nmr.list.UsableUnit(kUnitHertz), kUnitHertz);
  EXPECT_EQ(nmr.list.UsableUnit(kUnitMass), kUnitPpm);
  EXPECT_EQ(nmr.list.UsableUnit(-3), kUnitPpm);
  TestPlot fid(SpectrumBuilder::Fid(16).Build());
  EXPECT_EQ(fid.list.GetDefaultUnit(), kUnitSecond);
  CDrawObjectList none(nullptr, nullptr);
  EXPECT_EQ(none.GetDefaultUnit(), kUnitPoint);
}

// A drawing that records the rectangle each object got.
class Probe : public CDrawObject {
 public:
  Probe(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
      : CDrawObject(kDrawText, owner, process, instance) {
    m_bEnabled = true;
  }
  void Draw(gdi::DC*, gdi::Rect* area, int mode) override {
    seen = *area;
    seenMode = mode;
  }
  gdi::Rect seen;
  int seenMode = -1;
};

TEST_F(PlotList, DrawAllTakesTheMarginsOffAndClearsTheHoldFlag) {
  CDrawObjectList list(nullptr, nullptr);
  RegisterDrawObjectClass(kDrawText, &MakeDrawObject<Probe>);
  auto* probe = dynamic_cast<Probe*>(list.GetDrawObject(kDrawText));
  RegisterStandIns();
  ASSERT_NE(probe, nullptr);
  list.m_fTopMargin = 0.1f;
  list.m_fBottomMargin = 0.25f;
  list.m_bHold = true;
  gdi::RasterSurface surface(200, 300);
  gdi::DC dc(surface);
  const Rect client(0, 0, 200, 300);
  list.DrawAll(&dc, &client, kDrawModeScreen);
  EXPECT_EQ(probe->seen, Rect(0, 30, 200, 225));
  EXPECT_EQ(probe->seenMode, kDrawModeScreen);
  EXPECT_FALSE(list.m_bHold);
  probe->m_bEnabled = false;
  probe->seen = Rect();
  list.DrawAll(&dc, &client, kDrawModePrint);
  EXPECT_EQ(probe->seen, Rect());
}

TEST_F(PlotList, SelectionFollowsTheMouseInsideTheObjectsArea) {
  TestPlot plot(SpectrumBuilder::Nmr(16).Build());
  CDrawObject* trace = plot.list.FindDrawObject(kDrawSpectrum);
  trace->m_area = Rect(10, 10, 110, 60);
  plot.list.m_selection = Rect(50, 30, 50, 30);  // anchored at the button-down
  trace->SetVerticalArea(0, 20, 200);
  EXPECT_EQ(plot.list.m_selection, Rect(20, 30, 50, 60));
  trace->SetVerticalArea(0, 500, 0);
  EXPECT_EQ(plot.list.m_selection, Rect(20, 10, 110, 30));
  EXPECT_EQ(trace->GetContextMenu(false), 1);
  EXPECT_EQ(trace->GetContextMenu(true), 0);
  EXPECT_EQ(plot.list.FindDrawObject(kDrawBorder)->GetContextMenu(false), -1);
  EXPECT_FALSE(trace->EditAt(0, 20, 20));
  EXPECT_FALSE(trace->Drag(1, 2, 3, 4));
  EXPECT_EQ(trace->HitTest(20, 20), 0);
}

// Pen widths and font heights follow the device's resolution and the container's zoom.
TEST_F(PlotList, ScaledPensAndFontsFollowResolutionAndZoom) {
  EXPECT_EQ(ScalePenWidth(10, 100, 96), 0);
  EXPECT_EQ(ScalePenWidth(40, 100, 96), 2);
  EXPECT_EQ(ScalePenWidth(40, 200, 96), 3);   // 3.02
  EXPECT_EQ(ScalePenWidth(100, 200, 96), 8);  // 7.56
  EXPECT_EQ(ScalePenWidth(100, 100, 600), 24);
  EXPECT_EQ(ScaleFontHeight(10, 100, 96), 13);
  EXPECT_EQ(ScaleFontHeight(10, 200, 96), 27);
  EXPECT_EQ(ScaleFontHeight(-12, 100, 96), -16);
  EXPECT_EQ(ScaleFontHeight(1 << 30, 1 << 30, 1 << 30), std::numeric_limits<int>::max());

  TestPlot plot(SpectrumBuilder::Nmr(16).Build());
  gdi::RasterSurface surface(10, 10);
  gdi::DC dc(surface);
  CDrawObject* border = plot.list.FindDrawObject(kDrawBorder);
  plot.list.m_nZoom = 200;
  const gdi::LOGPEN pen = MakeLogPen(gdi::PS_SOLID, 100, 0xFF);
  border->SelectScaledPen(&pen, &dc);
  EXPECT_EQ(dc.GetCurrentPen().Log().lopnWidth, (gdi::Point{8, 8}));
  const gdi::LOGFONTA font = MakeLogFont(10, 400, 0, "Arial");
  border->SelectScaledFont(&font, &dc);
  gdi::LOGFONTA selected;
  dc.GetCurrentFont().GetLogFont(&selected);
  EXPECT_EQ(selected.lfHeight, 27);
}

}  // namespace
}  // namespace plot_test
