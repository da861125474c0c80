// Timings of baseline correction, automatic integration, peak picking (64K and 1M points) and
// mass-scan queries (5,000 scans of 1,000 peaks).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "spectrum/data/spcprocess.h"

namespace {

// A phased spectrum of a few Lorentzian lines on a curved baseline, with noise.
struct Fixture {
  CSpcData data;
  CSpcProcess proc{&data};

  // A flat, nearly noise-free spectrum for automatic integration, whose threshold is 1e-4 of
  // the tallest line: on the curved, noisier one no range would ever close.
  explicit Fixture(std::int64_t n, bool flat = false) {
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, flat ? 1e-6 : 0.001);
    const double wave = flat ? 0.0 : 1.0;
    data.nDomain = 1;
    data.data[1].resize(static_cast<std::size_t>(n));
    const double lines[] = {0.1, 0.23, 0.4, 0.55, 0.7, 0.85};
    for (std::int64_t k = 0; k < n; ++k) {
      const double u = static_cast<double>(k) / n;
      double re = noise(rng) + wave * (0.05 * std::sin(5.0 * u) + 0.02 * u * u);
      for (double at : lines) {
        const double x = k - at * n, g = n * 4e-4;
        re += g * g / (g * g + x * x);
      }
      data.data[1][k] = {static_cast<float>(re), static_cast<float>(noise(rng))};
    }
    proc.m_nSI = static_cast<std::int32_t>(n);
    proc.m_nScans = 1;
    proc.SelectData();
    proc.UpdatePhase();
  }
};

void BM_AutoSelectBaselinePoints(benchmark::State& state) {
  Fixture f(state.range(0));
  for (auto _ : state) {
    f.proc.AutoSelectBaselinePoints();
    benchmark::DoNotOptimize(f.proc.m_basePoints.data());
  }
  state.counters["points"] = static_cast<double>(f.proc.m_basePoints.size());
}

// Point selection followed by the fit, as the ASP and BC commands run them.
void BM_AutoBaseline(benchmark::State& state, std::int32_t method) {
  Fixture f(state.range(0));
  f.proc.m_fSplineFactor = 4.0e9f;
  f.proc.SetBaselineMethod(method);
  for (auto _ : state) {
    f.proc.AutoSelectBaselinePoints();
    f.proc.CalcBaseline();
    benchmark::DoNotOptimize(f.proc.m_baseline.data());
  }
  state.counters["points"] = static_cast<double>(f.proc.m_basePoints.size());
}

// The fit alone on one set of baseline points.
void BM_BaselineFit(benchmark::State& state, std::int32_t method) {
  Fixture f(state.range(0));
  f.proc.AutoSelectBaselinePoints();
  f.proc.SetBaselineMethod(method);
  for (auto _ : state) {
    f.proc.CalcBaseline();
    benchmark::DoNotOptimize(f.proc.m_baseline.data());
  }
  state.counters["points"] = static_cast<double>(f.proc.m_basePoints.size());
}

void BM_AutoIntegrate(benchmark::State& state) {
  Fixture f(state.range(0), true);
  const float end = static_cast<float>(state.range(0));
  for (auto _ : state) {
    f.proc.UpdatePhase();  // base level and total recomputed, as after any change
    f.proc.AutoIntegrate(0.0f, end);
    benchmark::DoNotOptimize(f.data.integrals.data());
  }
  state.counters["ranges"] = static_cast<double>(f.data.integrals.size());
}

void BM_AutoPeakPick(benchmark::State& state) {
  Fixture f(state.range(0));
  const float end = static_cast<float>(state.range(0));
  for (auto _ : state) {
    f.proc.AutoPeakPick(0.0f, end);
    benchmark::DoNotOptimize(f.data.peaks.data());
  }
  state.counters["peaks"] = static_cast<double>(f.data.peaks.size());
}

// 5,000 scans of 1,000 peaks each over masses 50 .. 1050.
struct MassFixture {
  CSpcData data;
  CSpcProcess proc{&data};

  MassFixture() {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> intensity(0.0f, 1000.0f);
    data.nKind = 1;
    data.nDomain = 1;
    data.scans.resize(5000);
    for (std::size_t s = 0; s < data.scans.size(); ++s) {
      CMassScan& scan = data.scans[s];
      scan.fTime = static_cast<float>(s) * 0.1f;
      scan.peaks.resize(1000);
      for (std::size_t j = 0; j < 1000; ++j) scan.peaks[j] = {intensity(rng), 50.0f + static_cast<float>(j) + 0.01f * (s % 7)};
    }
    proc.m_nScans = 5000;
    proc.m_nScan = 2500;
  }
};

void BM_MassRange(benchmark::State& state) {
  MassFixture f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f.proc.GetMinMass());
    benchmark::DoNotOptimize(f.proc.GetMaxMass());
  }
}

void BM_MassIntensityQueries(benchmark::State& state) {
  MassFixture f;
  for (auto _ : state) {
    float total = 0.0f;
    for (std::int32_t s = 0; s < 5000; ++s) {
      f.proc.m_nScan = s;
      total += f.proc.GetMaxIntensityIn(300.0f, 320.0f) + f.proc.GetScanMaxIntensity();
    }
    benchmark::DoNotOptimize(total);
  }
}

void BM_IonPlot(benchmark::State& state) {
  MassFixture f;
  for (auto _ : state) {
    CSpcData target;
    f.proc.GenerateIonPlot(target, 100.0f, 400.0f);
    benchmark::DoNotOptimize(target.data[1].data());
  }
}

void BM_MassPeakPick(benchmark::State& state) {
  MassFixture f;
  for (auto _ : state) {
    f.proc.AutoPeakPick(0.0f, 2000.0f);
    benchmark::DoNotOptimize(f.data.peaks.data());
  }
}

}  // namespace

BENCHMARK(BM_AutoSelectBaselinePoints)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AutoBaseline, spline, 0)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AutoBaseline, poly6, 6)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BaselineFit, spline, 0)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BaselineFit, poly6, 6)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoIntegrate)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoPeakPick)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MassRange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MassIntensityQueries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IonPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MassPeakPick)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
