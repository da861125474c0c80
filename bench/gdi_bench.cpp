// Drawing into a 1920 x 1080 raster DC: a trace of a million segments, and ten thousand short
// labels (the tick and peak labels of a busy plot).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/gdi/gdi.h"

namespace {

std::vector<gdi::Point> trace(int segments) {
  std::vector<gdi::Point> pts(static_cast<std::size_t>(segments) + 1);
  for (int i = 0; i <= segments; ++i) {
    const double t = static_cast<double>(i) / segments;
    const double y = 540 + 400 * std::sin(t * 40 * M_PI) * std::exp(-3 * t) + 30 * std::sin(i * 0.7);
    pts[static_cast<std::size_t>(i)] = {static_cast<int>(t * 1919), static_cast<int>(y)};
  }
  return pts;
}

// Argument: the binary raster operation (copy, or XOR as for marks).
void BM_Polyline1M(benchmark::State& state) {
  gdi::RasterSurface surface(1920, 1080);
  gdi::DC dc(surface);
  dc.SetROP2(static_cast<int>(state.range(0)));
  dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 0, gdi::RGB(0, 180, 255)));
  const std::vector<gdi::Point> pts = trace(1000000);
  for (auto _ : state) {
    dc.Polyline(pts.data(), static_cast<int>(pts.size()));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_Polyline1M)->Arg(gdi::R2_COPYPEN)->Arg(gdi::R2_XORPEN)->Unit(benchmark::kMillisecond);

void BM_Texts10k(benchmark::State& state) {
  gdi::RasterSurface surface(1920, 1080);
  gdi::DC dc(surface);
  gdi::Font font;
  font.CreateFont(-12, 0, 0, 0, gdi::FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  dc.SelectObject(font);
  dc.SetBkMode(gdi::TRANSPARENT);
  char labels[10000][16];
  for (int i = 0; i < 10000; ++i) std::snprintf(labels[i], sizeof labels[i], "%.3f", i * 0.137);
  for (auto _ : state) {
    for (int i = 0; i < 10000; ++i) dc.TextOut((i * 37) % 1860, (i * 53) % 1060, labels[i]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Texts10k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
