// Timings of the engine's whole transforms at 64K and 1M points.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "spectrum/data/spcprocess.h"

namespace {

// An NMR fid of n complex points (a few decaying lines with noise), transformed to n points.
struct Fixture {
  CSpcData data;
  CSpcProcess proc{&data};

  Fixture(std::int64_t n, bool filtered) {
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 0.001);
    data.nKind = 0;
    data.nDomain = 0;
    data.data[0].resize(static_cast<std::size_t>(n));
    const double lines[] = {0.05, 0.12, 0.3, -0.2};
    for (std::int64_t k = 0; k < n; ++k) {
      double re = noise(rng), im = noise(rng);
      for (double f : lines) {
        const double a = 2.0 * std::numbers::pi * f * k, decay = std::exp(-8.0 * k / n);
        re += decay * std::cos(a);
        im += decay * std::sin(a);
      }
      data.data[0][k] = {static_cast<float>(re), static_cast<float>(im)};
    }
    if (filtered) {
      // Digitally filtered data: 70.0156 points of group delay, a shift and a phase.
      for (auto [name, value] : {std::pair{"DSPFVS", 10}, std::pair{"DECIM", 32}}) {
        CSpcParam p;
        p.value.SetLong(value);
        p.name = name;
        data.params.Append(p);
      }
    }
    proc.m_nSI = static_cast<std::int32_t>(n);
    proc.m_nTD = static_cast<std::int32_t>(2 * n);
    proc.m_nAqMode = 1;
    proc.m_nScans = 1;
    proc.m_dSW = 5000.0;
    proc.SelectData();
  }
};

// The whole forward transform; each run starts again from the fid.
void ForwardTransform(benchmark::State& state, int variant, bool filtered) {
  Fixture f(state.range(0), filtered);
  for (auto _ : state) {
    f.data.nDomain = 0;
    benchmark::DoNotOptimize(f.proc.FourierTransform(variant));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ComplexFT(benchmark::State& state) { ForwardTransform(state, 2, false); }
void BM_ComplexFTFiltered(benchmark::State& state) { ForwardTransform(state, 2, true); }
void BM_RealFT(benchmark::State& state) { ForwardTransform(state, 1, false); }

void AddLineBroadening(CSpcData& data, double lb) {
  CSpcParam p;
  p.value.SetDouble(lb);
  p.name = "LB";
  data.params.Append(p);
}

// Runs `work` on a digitally filtered (or plain) complex fid with LB 1, each run from the
// same fid again (the copy untimed).
template <class Work>
void FromFreshFid(benchmark::State& state, bool filtered, Work&& work) {
  Fixture f(state.range(0), filtered);
  AddLineBroadening(f.data, 1.0);
  f.data.nAcqCode = 1;
  const std::vector<CSpcPoint> fid = f.data.data[0];
  for (auto _ : state) {
    state.PauseTiming();
    f.data.data[0] = fid;
    f.data.nDomain = 0;
    f.proc.SelectData();
    state.ResumeTiming();
    benchmark::DoNotOptimize(work(f.proc));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The exponential window of a whole fid.
void BM_ExpMultiply(benchmark::State& state) {
  FromFreshFid(state, false, [](CSpcProcess& p) { return p.ExpMultiply(); });
}

// What the user runs on a new digitally filtered fid: window, transform, automatic phase.
void BM_EmFtAutoPhase(benchmark::State& state) {
  FromFreshFid(state, true, [](CSpcProcess& p) {
    p.ExpMultiply();
    p.FourierTransform(2);
    return p.AutoPhase();
  });
}

void BM_InverseTransform(benchmark::State& state) {
  Fixture f(state.range(0), false);
  f.proc.FourierTransform(2);
  for (auto _ : state) {
    f.data.nDomain = 1;
    benchmark::DoNotOptimize(f.proc.InverseTransform(2));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_HilbertTransform(benchmark::State& state) {
  Fixture f(state.range(0), false);
  f.proc.FourierTransform(2);
  for (auto _ : state) benchmark::DoNotOptimize(f.proc.HilbertTransform());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Resize(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  for (auto _ : state) {
    state.PauseTiming();
    Fixture f(n, false);
    f.proc.m_dFreq = 500.0;
    f.proc.FourierTransform(2);
    state.ResumeTiming();
    benchmark::DoNotOptimize(f.proc.Resize(static_cast<std::int32_t>(2 * n)));
  }
  state.SetItemsProcessed(state.iterations() * n);
}

constexpr std::int64_t k64K = 1 << 16, k1M = 1 << 20;

BENCHMARK(BM_ComplexFT)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComplexFTFiltered)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealFT)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpMultiply)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmFtAutoPhase)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InverseTransform)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HilbertTransform)->Arg(k64K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resize)->Arg(k64K)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
