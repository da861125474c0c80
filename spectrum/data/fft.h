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

// The real transform of n real values (n a power of two, at least 2): points 0 .. n/2 of what
// FFT gives for real input (the others mirror them, X[n-k] = conj X[k]), into n/2 + 1 points
// at `output`. Done as a complex transform of n/2 points and a split step, at about half the
// cost. Returns 1 on success, 0 as FFT does. Input and output may overlap.
int RealFFT(const float* input, std::ptrdiff_t n, FftPoint* output, bool inverse = false);

// The forward complex transform with its two halves swapped: output point k holds frequency
// k - n/2 (modulo n), so that frequency 0 lies in the middle. Done in the one pass, by taking
// input point j times (-1)^j. Returns 1 on success, 0 as FFT does.
int CenteredFFT(const FftPoint* input, std::ptrdiff_t n, FftPoint* output);
// Its inverse: the inverse complex transform of a spectrum whose frequency 0 lies in the
// middle (output point j taken times (-1)^j in the last pass).
int CenteredInverseFFT(const FftPoint* input, std::ptrdiff_t n, FftPoint* output);

// CenteredFFT of the input's complex conjugate, conjugated as the input is read (no pass of its
// own): output point k holds frequency n/2 - k of the input (modulo n), the conjugate of what
// the kernel exp(+2*pi*i*jk/n) gives there. Returns 1 on success, 0 as FFT does.
int ConjugateCenteredFFT(const FftPoint* input, std::ptrdiff_t n, FftPoint* output);
// Its inverse: the complex conjugate of CenteredInverseFFT, conjugated in its last pass.
int ConjugateCenteredInverseFFT(const FftPoint* input, std::ptrdiff_t n, FftPoint* output);

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

template <FftPointLike Point>
int RealFFT(const float* input, std::ptrdiff_t n, Point* output, bool inverse = false) {
  static_assert(offsetof(Point, re) == 0 && offsetof(Point, im) == sizeof(float));
  return RealFFT(input, n, reinterpret_cast<FftPoint*>(output), inverse);
}

template <FftPointLike Point>
int CenteredFFT(const Point* input, std::ptrdiff_t n, Point* output) {
  static_assert(offsetof(Point, re) == 0 && offsetof(Point, im) == sizeof(float));
  return CenteredFFT(reinterpret_cast<const FftPoint*>(input), n, reinterpret_cast<FftPoint*>(output));
}

template <FftPointLike Point>
int CenteredInverseFFT(const Point* input, std::ptrdiff_t n, Point* output) {
  static_assert(offsetof(Point, re) == 0 && offsetof(Point, im) == sizeof(float));
  return CenteredInverseFFT(reinterpret_cast<const FftPoint*>(input), n, reinterpret_cast<FftPoint*>(output));
}

template <FftPointLike Point>
int ConjugateCenteredFFT(const Point* input, std::ptrdiff_t n, Point* output) {
  static_assert(offsetof(Point, re) == 0 && offsetof(Point, im) == sizeof(float));
  return ConjugateCenteredFFT(reinterpret_cast<const FftPoint*>(input), n, reinterpret_cast<FftPoint*>(output));
}

template <FftPointLike Point>
int ConjugateCenteredInverseFFT(const Point* input, std::ptrdiff_t n, Point* output) {
  static_assert(offsetof(Point, re) == 0 && offsetof(Point, im) == sizeof(float));
  return ConjugateCenteredInverseFFT(reinterpret_cast<const FftPoint*>(input), n, reinterpret_cast<FftPoint*>(output));
}

// Complex input given as points of the same layout (the common case inside the engine).
template <FftPointLike Point>
int FFT(const Point* input, std::ptrdiff_t n, Point* output, bool inverse) {
  static_assert(offsetof(Point, re) == 0 && offsetof(Point, im) == sizeof(float));
  return FFT(reinterpret_cast<const float*>(input), n, true, reinterpret_cast<FftPoint*>(output),
             inverse);
}

}  // namespace spc
