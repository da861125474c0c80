#pragma once
// The suite's fast Fourier transform: every transform of the processing engine (forward and
// inverse FT, Hilbert) rests on this one kernel.
#include <complex>
#include <concepts>
#include <cstddef>
#include <type_traits>

namespace spc {

// One complex output point, laid out as the record's points are: {re, im}, two floats.
struct FftPoint {
  float re;
  float im;
};
static_assert(sizeof(FftPoint) == 2 * sizeof(float));

// Transforms n points of `input` into n complex points at `output`.
//   complexInput: the input holds n (re, im) float pairs; otherwise n floats taken as real
//                 parts with zero imaginary parts.
//   inverse:      kernel exp(+2*pi*i*jk/n) with every output divided by n; otherwise the
//                 unscaled kernel exp(-2*pi*i*jk/n).
// Returns 1 on success; 0 when n is not a power of two, is below 2, or a pointer is null,
// and then the output is left untouched. Input and output may be the same buffer (or overlap).
// Safe to call from several threads at once.
int FFT(const float* input, std::ptrdiff_t n, bool complexInput, FftPoint* output, bool inverse);

inline int FFT(const float* input, std::ptrdiff_t n, bool complexInput, std::complex<float>* output,
               bool inverse) {
  // std::complex<float> is guaranteed to be two floats, real part first.
  return FFT(input, n, complexInput, reinterpret_cast<FftPoint*>(output), inverse);
}

// Any plain point type of two float members re and im (the record's complex point among them).
template <class Point>
concept FftPointLike = requires(Point p) {
  { p.re } -> std::same_as<float&>;
  { p.im } -> std::same_as<float&>;
} && std::is_standard_layout_v<Point> && sizeof(Point) == 2 * sizeof(float) &&
                      !std::same_as<Point, FftPoint>;

template <FftPointLike Point>
int FFT(const float* input, std::ptrdiff_t n, bool complexInput, Point* output, bool inverse) {
  static_assert(offsetof(Point, re) == 0 && offsetof(Point, im) == sizeof(float));
  return FFT(input, n, complexInput, reinterpret_cast<FftPoint*>(output), inverse);
}

// Complex input given as points of the same layout (the common case inside the engine).
template <FftPointLike Point>
int FFT(const Point* input, std::ptrdiff_t n, Point* output, bool inverse) {
  static_assert(offsetof(Point, re) == 0 && offsetof(Point, im) == sizeof(float));
  return FFT(reinterpret_cast<const float*>(input), n, true, reinterpret_cast<FftPoint*>(output),
             inverse);
}

}  // namespace spc
