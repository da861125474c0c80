// Times the suite's Fourier transform kernel; beside it, FFTW's planned single-precision
// transform of the same size when FFTW is available (for comparison only).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
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

// The same buffer as input and output.
void BM_FftComplexInPlace(benchmark::State& state) {
  const size_t n = size_t{1} << state.range(0);
  const auto in = randomFloats(2 * n);
  std::vector<spc::FftPoint> buffer(n);
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(buffer.data(), in.data(), 2 * n * sizeof(float));
    state.ResumeTiming();
    spc::FFT(reinterpret_cast<const float*>(buffer.data()), static_cast<std::ptrdiff_t>(n), true, buffer.data(), false);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

// Real input, the first half of the spectrum (all the rest mirrors): what FFTW's
// real-to-complex transform gives.
void BM_FftRealHalfSpectrum(benchmark::State& state) {
  const size_t n = size_t{1} << state.range(0);
  const auto in = randomFloats(n);
  std::vector<spc::FftPoint> out(n / 2 + 1);
  for (auto _ : state) {
    spc::RealFFT(in.data(), static_cast<std::ptrdiff_t>(n), out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

BENCHMARK(BM_FftComplexForward)->DenseRange(10, 22, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftComplexInverse)->DenseRange(14, 20, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftComplexInPlace)->DenseRange(14, 20, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftRealForward)->DenseRange(14, 20, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftRealHalfSpectrum)->DenseRange(10, 22, 2)->Unit(benchmark::kMicrosecond);

#if KEDRUS_BENCH_FFTW
// Times a planned transform of n points, then frees the plan and its buffers.
void timePlan(benchmark::State& state, fftwf_plan plan, int n, void* in, void* out) {
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
  timePlan(state, plan, n, in, out);
}
BENCHMARK(BM_FftwComplexForward)->DenseRange(10, 22, 2)->Unit(benchmark::kMicrosecond);

// Real-to-complex: n real values into n/2 + 1 points.
void BM_FftwRealToComplex(benchmark::State& state) {
  const int n = 1 << state.range(0);
  float* in = fftwf_alloc_real(n);
  fftwf_complex* out = fftwf_alloc_complex(n / 2 + 1);
  fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
  const auto values = randomFloats(static_cast<size_t>(n));
  std::copy(values.begin(), values.end(), in);
  timePlan(state, plan, n, in, out);
}
BENCHMARK(BM_FftwRealToComplex)->DenseRange(10, 22, 2)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

BENCHMARK_MAIN();
