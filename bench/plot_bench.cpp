// The trace of a 1,000,000-point spectrum redrawn into a 1920 x 1080 surface, "Fastest" (one
// run per pixel column from its smallest to its largest value) and "Best" (a segment to every
// new pixel); and the painting of a whole default plot, drawn and from its cached bitmap, the
// latter also beside a plain copy of the same bytes; one step of the phase knob at 4M points.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/gdi.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/plotpainter.h"
#include "spectrum/control/plot/trace.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr int kPoints = 1000000;

// A phased proton spectrum: a few lines over noise.
struct Spectrum {
  CSpcData data;
  CSpcProcess process{&data};
  explicit Spectrum(int points = kPoints) {
    data.nKind = 0;
    data.nDomain = 1;
    data.spectrum().resize(points);
    std::uint32_t seed = 1;
    for (int i = 0; i < points; ++i) {
      seed = seed * 1664525u + 1013904223u;
      double v = ((seed >> 8) & 0xFFFF) / 65536.0 - 0.5;
      for (const double at : {150000.0, 420000.0, 430000.0, 800000.0}) {
        const double d = (i - at) / 60.0;
        v += 500.0 / (1.0 + d * d);
      }
      data.spectrum()[static_cast<std::size_t>(i)] = {static_cast<float>(v), static_cast<float>(0.3 * v)};
    }
    process.m_nSI = points;
    process.m_nScans = 1;
    process.m_dFreq = 400.0;
    process.m_dSW = 4000.0;
    process.m_dOffset = 4000.0;
    process.m_fPH0 = 12.0f;
    process.m_fPH1 = -30.0f;
    process.SelectData();
    process.UpdatePhase();
  }
};

void Trace(benchmark::State& state, int algorithm) {
  static Spectrum spectrum;
  CDrawObjectList list(nullptr, &spectrum.process);
  auto* trace = dynamic_cast<CSpectrum*>(list.GetDrawObject(kDrawSpectrum));
  trace->m_nDrawAlgorithm = algorithm;
  list.m_fLeftBound = 0.0f;
  list.m_fRightBound = kPoints - 1;
  gdi::RasterSurface surface(1920, 1080);
  gdi::DC dc(surface);
  for (auto _ : state) {
    gdi::Rect area(0, 0, 1920, 1080);
    trace->Draw(&dc, &area, kDrawModeScreen);
    benchmark::DoNotOptimize(list.m_fYMax);
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void TraceFastest(benchmark::State& state) { Trace(state, 0); }
void TraceBest(benchmark::State& state) { Trace(state, 1); }

void PaintPlot(benchmark::State& state) {
  static Spectrum spectrum;
  CDrawObjectList list(nullptr, &spectrum.process);
  list.CreateDefaultObjects(&spectrum.process);
  dynamic_cast<CSpectrum*>(list.FindDrawObject(kDrawSpectrum))->m_nDrawAlgorithm = 0;
  list.m_fLeftBound = 0.0f;
  list.m_fRightBound = kPoints - 1;
  CPlotPainter painter(list);
  gdi::RasterSurface surface(1920, 1080);
  gdi::DC dc(surface);
  const bool cached = state.range(0) != 0;
  for (auto _ : state) {
    if (!cached) painter.DropCache();
    painter.OnDraw(dc, gdi::Rect(0, 0, 1920, 1080), {});
  }
}

// A full repaint from the cached bitmap at 1920 x 1080 beside a plain copy of the same bytes, the
// two timed in turn in each iteration; the counter "vs_memcpy" is the ratio of their times.
void RepaintFromCache(benchmark::State& state) {
  static Spectrum spectrum;
  CDrawObjectList list(nullptr, &spectrum.process);
  list.CreateDefaultObjects(&spectrum.process);
  list.m_fLeftBound = 0.0f;
  list.m_fRightBound = kPoints - 1;
  CPlotPainter painter(list);
  gdi::RasterSurface surface(1920, 1080);
  gdi::DC dc(surface);
  painter.OnDraw(dc, gdi::Rect(0, 0, 1920, 1080), {});
  std::vector<std::uint32_t> from(1920 * 1080, 0x123456u), to(1920 * 1080);
  using Clock = std::chrono::steady_clock;
  Clock::duration repaint{}, copy{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    painter.OnDraw(dc, gdi::Rect(0, 0, 1920, 1080), {});
    const auto t1 = Clock::now();
    std::memcpy(to.data(), from.data(), to.size() * sizeof(std::uint32_t));
    benchmark::ClobberMemory();
    const auto t2 = Clock::now();
    repaint += t1 - t0;
    copy += t2 - t1;
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  if (!painter.HasCachedBitmap()) state.SkipWithError("the plot was not cached");
  state.counters["memcpy_ms"] = std::chrono::duration<double, std::milli>(copy).count() / static_cast<double>(state.iterations());
  state.counters["vs_memcpy"] = std::chrono::duration<double>(repaint) / std::chrono::duration<double>(copy);
}

// One step of the phase knob on a 4M-point spectrum, as the control takes it: the new phase, the
// cache dropped, the whole default plot (trace "Best") drawn into the cached bitmap and copied to
// the window's surface. The counter is the frame rate.
void PhaseKnobStep(benchmark::State& state) {
  static Spectrum spectrum(1 << 22);
  CDrawObjectList list(nullptr, &spectrum.process);
  list.CreateDefaultObjects(&spectrum.process);
  list.m_fLeftBound = 0.0f;
  list.m_fRightBound = static_cast<float>((1 << 22) - 1);
  CPlotPainter painter(list);
  gdi::RasterSurface surface(1920, 1080);
  gdi::DC dc(surface);
  for (auto _ : state) {
    spectrum.process.m_fPH0 += 1.0f;
    spectrum.process.UpdatePhase();
    painter.DropCache();
    painter.OnDraw(dc, gdi::Rect(0, 0, 1920, 1080), {});
  }
  state.counters["frames_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(PhaseKnobStep)->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintFromCache)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TraceFastest)->Unit(benchmark::kMillisecond);
BENCHMARK(TraceBest)->Unit(benchmark::kMillisecond);
BENCHMARK(PaintPlot)->Arg(0)->Arg(1)->ArgNames({"cached"})->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
