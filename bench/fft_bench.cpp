// Times the suite's Fourier transform kernel; beside it, FFTW's planned single-precision
// transform of the same size when FFTW is available (for comparison only).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "spectrum/data/fft.h"

#if KEDRUS_BENCH_FFTW
#include <fftw3.h>
#endif

namespace {

std::vector<float> randomFloats(size_t count) {
  std::mt19937 gen(1);
  std::uniform_real_distribution<float> dist(-1.f, 1.f);
  std::vector<float> v(count);
  for (float& x : v) x = dist(gen);
  return v;
}

// Arguments: log2 of the point count.
void runKernel(benchmark::State& state, bool complexInput, bool inverse) {
  const size_t n = size_t{1} << state.range(0);
  const auto in = randomFloats(complexInput ? 2 * n : n);
  std::vector<spc::FftPoint> out(n);
  for (auto _ : state) {
    spc::FFT(in.data(), static_cast<std::ptrdiff_t>(n), complexInput, out.data(), inverse);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

void BM_FftComplexForward(benchmark::State& state) { runKernel(state, true, false); }
void BM_FftComplexInverse(benchmark::State& state) { runKernel(state, true, true); }
void BM_FftRealForward(benchmark::State& state) { runKernel(state, false, false); }

BENCHMARK(BM_FftComplexForward)->DenseRange(10, 20, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftComplexInverse)->DenseRange(14, 20, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftRealForward)->DenseRange(14, 20, 2)->Unit(benchmark::kMicrosecond);

#if KEDRUS_BENCH_FFTW
// Out-of-place, single-threaded, planned with FFTW_MEASURE.
void BM_FftwComplexForward(benchmark::State& state) {
  const int n = 1 << state.range(0);
  fftwf_complex* in = fftwf_alloc_complex(n);
  fftwf_complex* out = fftwf_alloc_complex(n);
  fftwf_plan plan = fftwf_plan_dft_1d(n, in, out, FFTW_FORWARD, FFTW_MEASURE);
  const auto values = randomFloats(2 * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    in[i][0] = values[2 * i];
    in[i][1] = values[2 * i + 1];
  }
  for (auto _ : state) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
  fftwf_destroy_plan(plan);
  fftwf_free(in);
  fftwf_free(out);
}
BENCHMARK(BM_FftwComplexForward)->DenseRange(10, 20, 2)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

BENCHMARK_MAIN();
