// Redrawing the label layers of a busy plot into a 1920 x 1080 raster DC, as every knob turn
// does: a million-point spectrum with 100 integrals (curves with handles and their sums), 1000
// peak labels in the band and above the peaks, and the baseline with 50 points.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "platform/gdi/gdi.h"
#include "spectrum/control/labels/labelobjects.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr int kPoints = 1 << 20;

class BusyPlot : public CPlotHost {
 public:
  BusyPlot() {
    RegisterLabelDrawObjects();
    data.nDomain = 1;
    data.spectrum().resize(kPoints);
    for (int i = 0; i < kPoints; ++i) {
      const double x = std::fmod(i, 10000.0) - 5000.0;
      data.spectrum()[static_cast<std::size_t>(i)] = {static_cast<float>(100.0 / (1.0 + x * x / 400.0)), 0.0f};
    }
    for (int k = 0; k < 100; ++k) data.integrals.push_back({static_cast<std::uint32_t>(k * 10000 + 4000),
                                                            static_cast<std::uint32_t>(k * 10000 + 6000), 0.0f});
    for (int k = 0; k < 1000; ++k) data.peaks.push_back(k * 1000 + 500);
    process.m_nSI = kPoints;
    process.m_nScans = 1;
    process.SelectData();
    process.UpdatePhase();
    process.m_dFreq = 400.0;
    process.m_dSW = 8000.0;
    process.m_dOffset = 4000.0;
    for (int k = 0; k < 50; ++k) process.m_basePoints.push_back(k * 20000 + 100);
    process.m_baseline.assign(kPoints, 1.0f);
    list.m_fLeftBound = 0.0f;
    list.m_fRightBound = static_cast<float>(kPoints - 1);
    list.m_plotRect = gdi::Rect(0, 0, 1920, 1080);
    list.m_fYMax = 100.0f;
    list.m_fPointsPerPixel = static_cast<float>(kPoints) / 1921.0f;
    list.m_bIntegralCorrection = true;
    list.SetListDefaults();
  }
  // The layer of one type, or all of them for 0.
  void Show(std::int32_t only) {
    for (std::int32_t type : {kDrawTPeaks, kDrawIntegSums, kDrawIntegrals, kDrawMPeaks, kDrawBaseline})
      if (only == 0 || only == type) list.GetDrawObject(type)->m_bEnabled = true;
  }
  bool GetParam(std::string_view, std::string*) override { return false; }

  CSpcData data;
  CSpcProcess process{&data};
  CDrawObjectList list{this, &process};
};

void BM_LabelLayers(benchmark::State& state) {
  BusyPlot plot;
  plot.Show(static_cast<std::int32_t>(state.range(0)));
  gdi::RasterSurface surface(1920, 1080);
  gdi::DC dc(surface);
  const gdi::Rect client(0, 0, 1920, 1080);
  for (auto _ : state) {
    plot.list.DrawAll(&dc, &client, 1);
    benchmark::ClobberMemory();
  }
}
// Argument: the type of the one layer drawn (0: all of them).
BENCHMARK(BM_LabelLayers)
    ->Arg(0)
    ->Arg(kDrawTPeaks)
    ->Arg(kDrawIntegSums)
    ->Arg(kDrawIntegrals)
    ->Arg(kDrawMPeaks)
    ->Arg(kDrawBaseline)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
