// The drawing log of a picture recorded from a few calls, line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/gdi/gdi.h"
#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/testing/drawlog.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace plot_test {
namespace {

TEST(DrawingLog, NamesEachCallWithItsPensColoursAndPlaces) {
  gdi::RasterSurface reference(200, 100);
  gdi::DC referenceDc(reference);
  gdi::DC dc = gdi::DC::CreateEnhMetaFile(&referenceDc, nullptr, u"KEDRUS");
  gdi::LOGPEN red;
  red.lopnStyle = gdi::PS_SOLID;
  red.lopnWidth = {3, 3};
  red.lopnColor = 0x0000C0;
  const gdi::Pen pen(red);
  dc.SelectObject(pen);
  dc.MoveTo(10, 20);
  dc.LineTo(110, 20);
  dc.SetPixelV(5, 6, 0x123456);
  dc.SetTextColor(0x640000);
  dc.TextOut(40, 50, "Hz");
  const std::vector<std::string> lines = plot_testing::DescribeDrawing(dc.CloseEnhMetaFile());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().rfind("bounds ", 0), 0u);
  auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  const auto penLine = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("pen ", 0) == 0; });
  ASSERT_NE(penLine, lines.end());
  EXPECT_NE(penLine->find(" style=0 width=3 color=0x0000C0"), std::string::npos) << *penLine;
  const std::string handle = penLine->substr(4, penLine->find(' ', 4) - 4);
  EXPECT_LT(at(*penLine), at("select " + handle));
  EXPECT_LT(at("select " + handle), at("polyline 2 10,20 110,20"));
  EXPECT_LT(at("polyline 2 10,20 110,20"), at("pixel 5,6 0x123456"));
  // Text at its baseline start (below the top-left point given), after its colour.
  const auto text = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("text 40,", 0) == 0; });
  ASSERT_NE(text, lines.end());
  EXPECT_EQ(text->substr(text->size() - 5), " \"Hz\"");
  EXPECT_LT(at("pixel 5,6 0x123456"), at("textcolor 0x640000"));
  EXPECT_LT(at("textcolor 0x640000"), text - lines.begin());
}

// A small plot with frame, grid, both scales and the trace drawn exactly as it was when the
// golden log was written: any change of what the plot draws shows here, call by call. After a
// change meant to alter the picture, KEDRUS_UPDATE_GOLDEN=1 writes the log anew (look at the
// PNG the test leaves in the scratch folder first).
TEST(DrawingLog, SmallPlotDrawsAsItsGoldenLog) {
  TestPlot plot(SpectrumBuilder::Nmr(256).Lines({{60, 40, 2}, {150, 100, 3}, {200, 25, 1.5}}).Build(), false);
  for (const std::int32_t type : {kDrawBorder, kDrawScaleY1, kDrawGrid, kDrawScale, kDrawSpectrum, kDrawScaleY2})
    plot.list.GetDrawObject(type);
  plot.list.SetListDefaults();
  plot.list.FindDrawObject(kDrawBorder)->m_bEnabled = true;
  plot.list.FindDrawObject(kDrawGrid)->m_bEnabled = true;
  DrawList(plot.list, 320, 160, "golden_small_plot.png");

  gdi::RasterSurface reference(320, 160);
  gdi::DC referenceDc(reference);
  gdi::DC recording = gdi::DC::CreateEnhMetaFile(&referenceDc, nullptr, u"KEDRUS");
  const gdi::Rect client(0, 0, 320, 160);
  plot.list.DrawAll(&recording, &client, kDrawModeScreen);
  std::string log;
  for (const std::string& line : plot_testing::DescribeDrawing(recording.CloseEnhMetaFile())) log += line + "\n";

  const std::string path = std::string(PLOT_GOLDEN_DIR) + "/small_plot.log";
  if (const char* update = std::getenv("KEDRUS_UPDATE_GOLDEN"); update && *update) {
    std::ofstream(path, std::ios::binary) << log;
    GTEST_SKIP() << "wrote " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << path;
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(log, golden.str());
}

}  // namespace
}  // namespace plot_test
