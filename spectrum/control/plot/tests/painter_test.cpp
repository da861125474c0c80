#include <gtest/gtest.h>

#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/trace.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace plot_test {
namespace {

constexpr COLORREF kGreen = gdi::RGB(0, 255, 0);
constexpr COLORREF kGridGrey = 0xC0C0C0;

std::unique_ptr<TestSpectrum> Peaks() { return SpectrumBuilder::Nmr(2000).Lines({{500, 10, 5}, {1500, 20, 5}}).Build(); }

struct Painted {
  explicit Painted(int w = 400, int h = 200, COLORREF fill = kGreen) : surface(w, h, fill), dc(surface) {}
  gdi::RasterSurface surface;
  gdi::DC dc;
};

TEST(Painter, PaintsFromTheCachedBitmapUntilItIsDropped) {
  TestPlot plot(Peaks());
  CPlotPainter painter(plot.list);
  const Rect bounds(0, 0, 400, 200);
  Painted first;
  painter.OnDraw(first.dc, bounds, {});
  ASSERT_TRUE(painter.HasCachedBitmap());
  // The background is filled: nothing of the green below shows.
  EXPECT_EQ(first.surface.CountPixels(kGreen), 0);
  const std::int64_t black = first.surface.CountPixels(kBlack);
  EXPECT_GT(black, 0);

  // A change the painter was not told of does not show: the cache is copied.
  plot.Find<CSpectrum>(kDrawSpectrum)->m_tracePen.lopnColor = gdi::RGB(255, 0, 0);
  Painted second;
  painter.OnDraw(second.dc, bounds, {});
  EXPECT_EQ(second.surface.CountPixels(kBlack), black);
  // A modified control, another size, a dropped cache: drawn again.
  Painted modified;
  painter.OnDraw(modified.dc, bounds, {true, true, nullptr});
  EXPECT_EQ(modified.surface.CountPixels(kBlack), 0);
  plot.Find<CSpectrum>(kDrawSpectrum)->m_tracePen.lopnColor = 0;
  Painted resized(401, 200);
  painter.OnDraw(resized.dc, Rect(0, 0, 401, 200), {});
  EXPECT_GT(resized.surface.CountPixels(kBlack), 0);
  plot.Find<CSpectrum>(kDrawSpectrum)->m_tracePen.lopnColor = gdi::RGB(255, 0, 0);
  painter.DropCache();
  Painted dropped(401, 200);
  painter.OnDraw(dropped.dc, Rect(0, 0, 401, 200), {});
  EXPECT_EQ(dropped.surface.CountPixels(kBlack), 0);

  // The cache keeps what it was drawn at; the plot lands at the bounds' origin.
  Painted shifted(500, 300);
  painter.DropCache();
  plot.list.m_bkBrush.lbColor = gdi::RGB(0, 0, 255);
  painter.OnDraw(shifted.dc, Rect(50, 40, 450, 240), {});
  EXPECT_EQ(shifted.surface.GetPixel(49, 100), kGreen);
  EXPECT_EQ(shifted.surface.GetPixel(50, 100), gdi::RGB(0, 0, 255));
  EXPECT_EQ(shifted.surface.GetPixel(449, 239), gdi::RGB(0, 0, 255));
  EXPECT_EQ(shifted.surface.GetPixel(450, 240), kGreen);
}

TEST(Painter, LargeControlsAndContainersWithAZoomAreDrawnDirectly) {
  TestPlot plot(Peaks());
  CPlotPainter painter(plot.list);
  Painted large(2100, 100);
  painter.OnDraw(large.dc, Rect(0, 0, 2100, 100), {});
  EXPECT_FALSE(painter.HasCachedBitmap());
  EXPECT_GT(large.surface.CountPixels(kBlack), 0);
  EXPECT_EQ(large.surface.CountPixels(kGreen), 0);

  // Inside the main program: no fill (the container paints the background), no cache, the
  // container's zoom.
  FixedZoom zoom(150);
  Painted inside;
  painter.OnDraw(inside.dc, Rect(0, 0, 400, 200), {true, false, &zoom});
  EXPECT_FALSE(painter.HasCachedBitmap());
  EXPECT_EQ(plot.list.m_nZoom, 150);
  EXPECT_GT(inside.surface.CountPixels(kGreen), 0);
  EXPECT_GT(inside.surface.CountPixels(kBlack), 0);
}

TEST(Painter, PrintersMetafilesAndInactiveControlsGetThePlotAsPrinted) {
  TestPlot plot(Peaks());
  plot.list.FindDrawObject(kDrawGrid)->m_bEnabled = true;
  CPlotPainter painter(plot.list);
  Painted screen;
  painter.OnDraw(screen.dc, Rect(0, 0, 400, 200), {});
  EXPECT_GT(screen.surface.CountPixels(kGridGrey), 0);
  ASSERT_TRUE(painter.HasCachedBitmap());
  // Not active in place: drawn as for printing (no grid), the cache dropped, no fill.
  Painted inactive;
  painter.OnDraw(inactive.dc, Rect(0, 0, 400, 200), {false, false, nullptr});
  EXPECT_FALSE(painter.HasCachedBitmap());
  EXPECT_TRUE(inactive.dc.IsPrinting());
  EXPECT_EQ(inactive.surface.CountPixels(kGridGrey), 0);
  EXPECT_GT(inactive.surface.CountPixels(kGreen), 0);
  EXPECT_GT(inactive.surface.CountPixels(kBlack), 0);
  // A recording is no raster display: the same.
  gdi::DC recording = gdi::DC::CreateEnhMetaFile(nullptr, nullptr, u"test");
  painter.OnDraw(recording, Rect(0, 0, 400, 200), {});
  EXPECT_TRUE(recording.IsPrinting());
  EXPECT_FALSE(recording.CloseEnhMetaFile().IsNull());
}

TEST(Painter, OverlaysGoOnTheTargetOnly) {
  TestPlot plot(Peaks());
  CPlotPainter painter(plot.list);
  Rect overlayRect;
  painter.SetOverlays([&](gdi::DC& dc, const Rect& r) {
    overlayRect = r;
    dc.FillSolidRect(Rect(r.left, r.top, r.left + 5, r.top + 5), gdi::RGB(255, 0, 255));
  });
  plot.list.m_selection = Rect(100, 20, 200, 120);
  Painted first(500, 300);
  painter.OnDraw(first.dc, Rect(50, 40, 450, 240), {});
  EXPECT_EQ(overlayRect, Rect(50, 40, 450, 240));
  EXPECT_EQ(first.surface.GetPixel(52, 42), gdi::RGB(255, 0, 255));
  // The focus rectangle lies at the selection moved by the plot's origin in the cache (0, 0).
  EXPECT_NE(first.surface.GetPixel(100, 60), first.surface.GetPixel(100, 59));
  // Painted again from the cache without the overlays: none of them was cached.
  painter.SetOverlays(nullptr);
  plot.list.m_selection = Rect();
  Painted second(500, 300);
  painter.OnDraw(second.dc, Rect(50, 40, 450, 240), {});
  EXPECT_NE(second.surface.GetPixel(52, 42), gdi::RGB(255, 0, 255));
  EXPECT_EQ(second.surface.GetPixel(100, 60), second.surface.GetPixel(101, 60));
}

TEST(Painter, OverviewPictureShowsTheWholeTraceAndLeavesTheViewAsItWas) {
  TestPlot plot(Peaks());
  CPlotPainter painter(plot.list);
  plot.Render(400, 200);
  plot.list.m_fLeftBound = 400.0f;
  plot.list.m_fRightBound = 600.0f;
  plot.list.m_fAmplitude = 3.0f;
  plot.list.m_nZoom = 120;
  const Rect plotRect = plot.list.m_plotRect;
  const float yMax = plot.list.m_fYMax;
  painter.RebuildPicture();
  EXPECT_EQ(plot.list.m_fLeftBound, 400.0f);
  EXPECT_EQ(plot.list.m_fRightBound, 600.0f);
  EXPECT_EQ(plot.list.m_fAmplitude, 3.0f);
  EXPECT_EQ(plot.list.m_nZoom, 120);
  EXPECT_EQ(plot.list.m_plotRect, plotRect);
  EXPECT_EQ(plot.list.m_fYMax, yMax);
  const gdi::EnhMetaFile& picture = painter.OverviewPicture();
  ASSERT_FALSE(picture.IsNull());
  // Both lines of the whole spectrum, across the screen's width and a tenth of its height.
  gdi::RasterSurface shown(1920, 108, kWhite);
  gdi::DC dc(shown);
  dc.PlayMetaFile(picture, Rect(0, 0, 1920, 108));
  shown.SavePng(ScratchPath("overview_nmr.png"));
  const Rect box = BoxOf(shown, kBlack);
  EXPECT_LE(box.left, 1);
  EXPECT_GE(box.right, 1900);
  EXPECT_LE(box.top, 1);

  // A record without data gives an empty picture; a mass spectrum always the ion current.
  TestPlot empty(SpectrumBuilder::Nmr(0).Build());
  CPlotPainter emptyPainter(empty.list);
  emptyPainter.RebuildPicture();
  ASSERT_FALSE(emptyPainter.OverviewPicture().IsNull());
  gdi::DC nothing = gdi::DC::CreateEnhMetaFile(nullptr, nullptr, u"KEDRUS");
  EXPECT_EQ(emptyPainter.OverviewPicture().Records().size(), nothing.CloseEnhMetaFile().Records().size());
  TestPlot mass(SpectrumBuilder::Mass().Scan({{5, 50}}, 3.0f).Scan({{7, 60}}, 9.0f).Build());
  CPlotPainter massPainter(mass.list);
  massPainter.RebuildPicture();
  EXPECT_GT(massPainter.OverviewPicture().Records().size(), 2u);
  TestPlot noScans(SpectrumBuilder::Mass().Build());
  CPlotPainter noScansPainter(noScans.list);
  noScansPainter.RebuildPicture();
  EXPECT_FALSE(noScansPainter.OverviewPicture().IsNull());
  noScansPainter.DeletePicture();
  EXPECT_TRUE(noScansPainter.OverviewPicture().IsNull());
}

}  // namespace
}  // namespace plot_test
