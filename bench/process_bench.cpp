// Timings of the processing engine's per-draw and per-command work at 64K and 1M points.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "spectrum/data/spcprocess.h"

namespace {

// A spectrum of a few Lorentzian lines with noise, turned by a phase, in its own record.
struct Fixture {
  CSpcData data;
  CSpcProcess proc{&data};

  explicit Fixture(std::int64_t n) {
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 0.001);
    data.nDomain = 1;
    data.data[1].resize(static_cast<std::size_t>(n));
    const double lines[] = {0.1, 0.23, 0.4, 0.55, 0.7, 0.85};
    for (std::int64_t k = 0; k < n; ++k) {
      double re = noise(rng), im = noise(rng);
      for (double at : lines) {
        const double x = k - at * n, g = n * 4e-4;
        re += g * g / (g * g + x * x);
        im -= g * x / (g * g + x * x);
      }
      const double a = (static_cast<double>(k) / n * 60.0 + 40.0) * 0.0174533;
      data.data[1][k] = {static_cast<float>(re * std::cos(a) - im * std::sin(a)),
                         static_cast<float>(re * std::sin(a) + im * std::cos(a))};
    }
    proc.m_nSI = static_cast<std::int32_t>(n);
    proc.m_nScans = 1;
    proc.SelectData();
    proc.m_fPH0 = 40.0f;
    proc.m_fPH1 = 60.0f;
    proc.UpdatePhase();
  }
};

// One full redraw: every point's display value in the given mode.
void DisplayValues(benchmark::State& state, int mode) {
  Fixture f(state.range(0));
  f.proc.m_nDisplay = mode;
  const std::int32_t n = f.proc.m_nCur;
  for (auto _ : state) {
    double sum = 0.0;
    for (std::int32_t i = 0; i < n; ++i) sum += f.proc.GetDisplayValue(i);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_DisplayReal(benchmark::State& state) { DisplayValues(state, 0); }
void BM_DisplayMagnitude(benchmark::State& state) { DisplayValues(state, 2); }
void BM_DisplayPower(benchmark::State& state) { DisplayValues(state, 3); }

// One full redraw as the plot reads it: runs of 4096 phased display values with their powers.
void BM_DisplayRealRuns(benchmark::State& state) {
  Fixture f(state.range(0));
  const std::int32_t n = f.proc.m_nCur;
  constexpr std::int32_t kRun = 4096;
  std::vector<float> values(kRun), powers(kRun);
  for (auto _ : state) {
    for (std::int32_t i = 0; i < n; i += kRun) {
      f.proc.GetDisplayValues(i, kRun, values.data(), powers.data());
      benchmark::DoNotOptimize(values.data());
      benchmark::DoNotOptimize(powers.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_ApplyPhase(benchmark::State& state) {
  Fixture f(state.range(0));
  for (auto _ : state) f.proc.ApplyPhase(1.0f, 0.5f, 0);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_QuickPhase(benchmark::State& state) {
  Fixture f(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(f.proc.QuickPhase());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_AutoPhase(benchmark::State& state) {
  Fixture f(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(f.proc.AutoPhase());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

constexpr std::int64_t k64K = 1 << 16;
constexpr std::int64_t k1M = 1 << 20;

BENCHMARK(BM_DisplayReal)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayMagnitude)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayPower)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayRealRuns)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyPhase)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickPhase)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoPhase)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
