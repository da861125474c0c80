// The control's plot with its real objects: a control that is not active in place paints as
// for printing, metafiles get the plot without a cache, the overview picture follows the kind of
// the record, and a spectrum folder's "analysis" file brings a fresh control the same plot.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/gdi/gdi.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/control/tests/spectrum_files.h"
#include "spectrum/control/plot/tests/plot_testing.h"
#include "spectrum/control/testing/hostitem.h"

namespace nelvar_test {
namespace {

class ControlPlot : public ControlTest {};

constexpr gdi::COLORREF kTrace = 0, kAxis = 0xC00000;

// The number of drawing records (lines, text, pixels) of a picture.
int DrawingRecords(const gdi::EnhMetaFile& picture) {
  int n = 0;
  for (const gdi::MetaRecord& r : picture.Records())
    n += r.type == gdi::EMR_POLYLINE || r.type == gdi::EMR_EXTTEXTOUTW || r.type == gdi::EMR_SETPIXELV;
  return n;
}

TEST_F(ControlPlot, AControlNotActiveInPlacePaintsAsPrintedWithoutACache) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 1024);
  c.m_drawList.FindDrawObject(kDrawGrid)->m_bEnabled = true;
  gdi::RasterSurface surface(800, 400, gdi::RGB(255, 255, 255));
  gdi::DC dc(surface);
  c.OnDraw(&dc, gdi::Rect(0, 0, 800, 400), gdi::Rect(0, 0, 800, 400));
  EXPECT_TRUE(dc.IsPrinting());
  EXPECT_FALSE(c.m_painter.HasCachedBitmap());
  EXPECT_GT(surface.CountPixels(kTrace), 100);
  EXPECT_GT(surface.CountPixels(kAxis), 100);
  EXPECT_EQ(surface.CountPixels(0xC0C0C0), 0);  // no grid on a printed plot
  // The trace lies in the plot rectangle the list kept, right of the vertical scale, its
  // smallest value on the row just below it.
  const gdi::Rect plot = c.m_drawList.m_plotRect;
  EXPECT_GT(plot.left, 0);
  EXPECT_GT(surface.CountPixels(kTrace, &plot), 100);
  const gdi::Rect below(plot.left, plot.bottom + 1, plot.right, plot.bottom + 2);
  EXPECT_EQ(surface.CountPixels(kTrace, &below), 0);
}

// The sample FID as loaded from its file: 8192 complex points at 4800 Hz, so the time axis runs
// from 0 to 8191 / 4800 s. Its major ticks lie where that range puts them, the trace inside the
// plot rectangle.
TEST_F(ControlPlot, TheLoadedSampleFidIsDrawnOnTheTimeAxisItsDataGive) {
  CSpcControl& c = *NewControl();
  ASSERT_EQ(c.LoadFromPath(SAMPLE_FID, 0), plat::ole::S_OK);
  ASSERT_EQ(c.m_process.m_nCur, 8192);
  ASSERT_EQ(c.m_process.m_dSW, 4800.0);
  constexpr int kWidth = 800, kHeight = 400;
  gdi::RasterSurface surface(kWidth, kHeight, gdi::RGB(255, 255, 255));
  gdi::DC dc(surface);
  c.OnDraw(&dc, gdi::Rect(0, 0, kWidth, kHeight), gdi::Rect(0, 0, kWidth, kHeight));

  // "A" in two thirds of the 12-point axis font; the axis line 3b / 2 above the bottom.
  const gdi::Size letter = plot_test::TextSize(MakeLogFont(8, 400, 0, "Arial"), "A");
  const int a = letter.cx, b = letter.cy, axisTop = kHeight - 3 * b / 2;
  const gdi::Rect plot = c.m_drawList.m_plotRect;
  EXPECT_EQ(plot.bottom, axisTop - b / 2);
  std::set<int> ticks;
  for (const int x : plot_test::ColumnsOf(surface, axisTop + b / 3 - 1, kAxis)) ticks.insert(x);
  EXPECT_GE(ticks.size(), 10u);
  EXPECT_EQ(ticks, plot_test::MajorTickColumns(0.0, 8191.0 / 4800.0, plot.left, kWidth, a, b));

  gdi::Rect trace;
  for (int y = 0; y < kHeight; ++y)
    for (int x = plot.left + b + 1; x < kWidth; ++x)
      if (surface.GetPixel(x, y) == kTrace) trace.UnionRect(trace, gdi::Rect(x, y, x + 1, y + 1));
  EXPECT_GE(trace.top, plot.top);
  EXPECT_LE(trace.bottom, plot.bottom + 1);
  // (The decay's first and largest points lie left of the columns looked at, by the unit name.)
  EXPECT_GT(trace.Width(), plot.Width() * 9 / 10);
  EXPECT_GT(trace.Height(), plot.Height() / 2);
}

TEST_F(ControlPlot, MetafilesGetThePlotAtTheContainersZoom) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 512);
  gdi::DC recording = gdi::DC::CreateEnhMetaFile(nullptr, nullptr, u"KEDRUS");
  c.OnDrawMetafile(&recording, gdi::Rect(0, 0, 800, 400));
  const gdi::EnhMetaFile picture = recording.CloseEnhMetaFile();
  EXPECT_GT(DrawingRecords(picture), 3);
  EXPECT_EQ(c.m_drawList.m_nZoom, 100);  // no client site: 100
  EXPECT_FALSE(c.m_painter.HasCachedBitmap());
}

TEST_F(ControlPlot, OverviewPictureFollowsTheKindOfTheRecord) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 2048);
  const float left = c.m_drawList.m_fLeftBound, right = c.m_drawList.m_fRightBound;
  c.m_drawList.m_fAmplitude = 2.0f;
  c.RebuildPicture();
  const gdi::EnhMetaFile& overview = c.m_painter.OverviewPicture();
  ASSERT_FALSE(overview.IsNull());
  EXPECT_GT(DrawingRecords(overview), 0);
  EXPECT_LE(overview.Bounds().bottom, gdi::ScreenCaps().vertRes / 10);
  EXPECT_EQ(c.m_drawList.m_fLeftBound, left);
  EXPECT_EQ(c.m_drawList.m_fRightBound, right);
  EXPECT_EQ(c.m_drawList.m_fAmplitude, 2.0f);

  // A mass spectrum shows its ion current; a record without data an empty picture.
  GiveSpectrum(c, 1, 4);
  c.RebuildPicture();
  EXPECT_GT(DrawingRecords(c.m_painter.OverviewPicture()), 0);
  c.ClearData();
  c.RebuildPicture();
  ASSERT_FALSE(c.m_painter.OverviewPicture().IsNull());
  EXPECT_EQ(DrawingRecords(c.m_painter.OverviewPicture()), 0);
}

TEST_F(ControlPlot, AnalysisFileReadIntoAFreshControlGivesTheSameObjects) {
  const std::string folder = ScratchFolder("control_plot_analysis");
  CSpcControl& saved = *NewControl();
  GiveSpectrum(saved, 0, 512);
  saved.m_data.integrals = {{10, 40, 1.0f}, {200, 260, 0.75f}};
  saved.m_data.peaks = {25, 230, 400};
  CDrawObjectList& list = saved.m_drawList;
  list.m_fIntegSum = 12.0f;
  list.m_fAmplitude = 2.5f;
  list.m_fLeftBound = 20.0f;
  list.m_fRightBound = 480.0f;
  list.m_nBase = 0;
  list.m_fTopMargin = 0.1f;
  list.m_fBottomMargin = 0.05f;
  auto* label = dynamic_cast<CAnchoredText*>(list.GetDrawObject(kDrawText));
  ASSERT_NE(label, nullptr);
  label->m_strText = "CH2";
  label->m_nX = 230;
  label->m_fY = 0.5f;
  ASSERT_TRUE(list.SaveAnalysis(folder, 1));

  CSpcControl& fresh = *NewControl();
  GiveSpectrum(fresh, 0, 512);
  ASSERT_TRUE(fresh.m_drawList.LoadAnalysis(folder, 1));
  // Record, view and every object (type, instance, enabled, archive digest) alike.
  const std::string dump = nelvar::testing::DumpSpcState(SavedState(fresh));
  EXPECT_EQ(dump, nelvar::testing::DumpSpcState(SavedState(saved)));
  EXPECT_NE(dump.find("integrals [10,40 x1] [200,260 x0.75]"), std::string::npos) << dump;
  EXPECT_NE(dump.find("object 14/0 enabled=1"), std::string::npos) << dump;
  const auto* back = dynamic_cast<const CAnchoredText*>(fresh.m_drawList.FindDrawObject(kDrawText, 0));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->m_strText, "CH2");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace nelvar_test
