#include "spectrum/data/fft.h"

// Radix-4 decimation-in-time transform on interleaved complex floats.
//
// The input is copied into the output in bit-reversed order, in tiles so that both the reads
// and the writes run over contiguous memory (through a tile buffer for the larger sizes, which
// also lets the copy run in place); the first butterfly stages (on 4, 8 or 16 neighbouring
// points) are done on each tile row before it is stored. The remaining radix-4 stages, two at a
// time where their rows lie close enough, run depth first over blocks that fit in the cache,
// so a large transform passes over main memory only a few times. Twiddle factors come from
// tables computed in double precision (cached per stage size); the stages of very large
// transforms, whose tables would be too big to keep, compute them in double per chunk instead.
// The code is built for plain x86-64, for AVX2 and for AVX-512 and chosen at run time; with
// AVX-512 the stages work on eight points per vector.
//
// The inverse transform is the forward one on swapped (im, re) pairs, swapped back at the end:
// swap(DFT(swap(x))) is the conjugate-kernel transform, so one set of tables serves both.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <numbers>
#include <utility>

// 32-byte vectors in functions compiled without AVX only change the ABI of calls between
// translation units, and none of these functions is visible outside this one.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wpsabi"
#elif defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace spc {
namespace {

using std::size_t;

// Every kernel is forced into one function per instruction set, so that each compiles for the
// set of its caller. Sanitizer and fuzzing builds, which check the code rather than time it,
// leave inlining to the compiler: instrumented, those functions take minutes to compile.
#if (defined(__GNUC__) || defined(__clang__)) && !defined(KEDRUS_FFT_FREE_INLINING)
#define KFFT_INLINE [[gnu::always_inline]] inline
#else
#define KFFT_INLINE inline
#endif
// Loops over a fixed handful of vectors, unrolled so that the vectors stay in registers.
#if defined(__clang__)
#define KFFT_UNROLL _Pragma("unroll")
#elif defined(__GNUC__)
#define KFFT_UNROLL _Pragma("GCC unroll 16")
#else
#define KFFT_UNROLL
#endif

// Four complex points (re, im, re, im, ...) in one vector.
#if ((defined(__GNUC__) && __GNUC__ >= 12) || defined(__clang__)) && !defined(KEDRUS_FFT_PLAIN)
using Vec = float __attribute__((vector_size(32)));

KFFT_INLINE Vec swapPairs(Vec v) { return __builtin_shufflevector(v, v, 1, 0, 3, 2, 5, 4, 7, 6); }
KFFT_INLINE Vec dupRe(Vec v) { return __builtin_shufflevector(v, v, 0, 0, 2, 2, 4, 4, 6, 6); }
KFFT_INLINE Vec dupIm(Vec v) { return __builtin_shufflevector(v, v, 1, 1, 3, 3, 5, 5, 7, 7); }

// Eight complex points in one vector: the stages' butterflies in the build for processors with
// AVX-512, where these are single registers (and twice the points per instruction).
#define KFFT_WIDE 1
using Wide = float __attribute__((vector_size(64)));

KFFT_INLINE Wide swapPairs(Wide v) {
  return __builtin_shufflevector(v, v, 1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14);
}
KFFT_INLINE Wide dupRe(Wide v) {
  return __builtin_shufflevector(v, v, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8, 10, 10, 12, 12, 14, 14);
}
KFFT_INLINE Wide dupIm(Wide v) {
  return __builtin_shufflevector(v, v, 1, 1, 3, 3, 5, 5, 7, 7, 9, 9, 11, 11, 13, 13, 15, 15);
}
// Two vectors of four points as one of eight.
KFFT_INLINE Wide join(Vec low, Vec high) {
  return __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
}
#else
#define KFFT_WIDE 0
// Plain fallback for compilers without vector extensions; the loops still auto-vectorise.
struct Vec {
  float v[8];
  float& operator[](size_t i) { return v[i]; }
};
KFFT_INLINE Vec operator+(Vec a, Vec b) {
  for (int i = 0; i < 8; ++i) a.v[i] += b.v[i];
  return a;
}
KFFT_INLINE Vec operator-(Vec a, Vec b) {
  for (int i = 0; i < 8; ++i) a.v[i] -= b.v[i];
  return a;
}
KFFT_INLINE Vec operator*(Vec a, Vec b) {
  for (int i = 0; i < 8; ++i) a.v[i] *= b.v[i];
  return a;
}
KFFT_INLINE Vec swapPairs(Vec a) {
  Vec r;
  for (int i = 0; i < 8; i += 2) {
    r.v[i] = a.v[i + 1];
    r.v[i + 1] = a.v[i];
  }
  return r;
}
KFFT_INLINE Vec dupRe(Vec a) {
  Vec r;
  for (int i = 0; i < 8; i += 2) r.v[i] = r.v[i + 1] = a.v[i];
  return r;
}
KFFT_INLINE Vec dupIm(Vec a) {
  Vec r;
  for (int i = 0; i < 8; i += 2) r.v[i] = r.v[i + 1] = a.v[i + 1];
  return r;
}
#endif

constexpr size_t kVecPoints = 4;
constexpr size_t kVecFloats = 8;
static_assert(sizeof(Vec) == kVecFloats * sizeof(float));

// Complex points per vector of type V (Vec, or Wide).
template <class V>
constexpr size_t kPointsOf = sizeof(V) / (2 * sizeof(float));

template <class V = Vec>
KFFT_INLINE V load(const float* p) {
  V v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
template <class V>
KFFT_INLINE void store(float* p, V v) {
  std::memcpy(p, &v, sizeof v);
}
KFFT_INLINE Vec loadVec(const float* p) { return load<Vec>(p); }
KFFT_INLINE void storeVec(float* p, Vec v) { store(p, v); }

// A vector whose lanes alternate between `even` and `odd`.
template <class V>
KFFT_INLINE V alternating(float even, float odd) {
  V v;
  for (size_t i = 0; i < 2 * kPointsOf<V>; ++i) v[i] = i % 2 == 0 ? even : odd;
  return v;
}

// Factors w made ready for multiplying: re holds each factor's real part in both its lanes,
// im its imaginary part with the signs of the cross terms, so a * w = a * re + swap(a) * im.
template <class V>
struct SplitFactorOf {
  V re;
  V im;
};
using SplitFactor = SplitFactorOf<Vec>;
template <class V>
KFFT_INLINE SplitFactorOf<V> splitFactor(V w) {
  return {dupRe(w), dupIm(w) * alternating<V>(-1.f, 1.f)};
}
// a * w for a vector of points at once: (ar*wr - ai*wi, ai*wr + ar*wi).
template <class V>
KFFT_INLINE V mulSplit(V a, const SplitFactorOf<V>& w) {
  return a * w.re + swapPairs(a) * w.im;
}
KFFT_INLINE Vec mulComplex(Vec a, Vec w) { return mulSplit(a, splitFactor(w)); }
// -i * d: (im, -re).
template <class V>
KFFT_INLINE V mulMinusI(V d) {
  return swapPairs(d) * alternating<V>(1.f, -1.f);
}

// ---- Twiddle factors ----
//
// The table of a stage of size m (q = m/4 butterflies per block) holds, per group of four
// consecutive k, the factors w^k, w^2k and w^3k (w = exp(-2*pi*i/m)) of the four k as
// interleaved pairs: 24 floats per group, 6 per k.

constexpr size_t kTwiddleFloatsPerK = 6;
constexpr size_t kTwiddleGroupFloats = kVecPoints * kTwiddleFloatsPerK;
// Stages up to 2^18 points keep their table (1.5 MB at most); larger ones compute their factors
// per chunk (fillTwiddlesChunk), as fast as reading a table of that size from memory.
constexpr int kCachedLog2Max = 18;
// Stages up to this size also keep their factors split (SplitFactor, twice the floats), which
// saves three shuffles per multiplication; larger stages wait on memory, not on shuffles.
constexpr int kSplitLog2Max = 16;
constexpr size_t kSplitGroupFloats = 2 * kTwiddleGroupFloats;
constexpr size_t kTwiddleChunk = 256;  // k per chunk when a stage computes its own factors

// exp(-2*pi*i*j/m) for 0 <= j < 3m/4, in double.
void unitRoot(size_t j, size_t m, double* re, double* im) {
  const double angle = 2.0 * std::numbers::pi * static_cast<double>(j) / static_cast<double>(m);
  *re = std::cos(angle);
  *im = -std::sin(angle);
}

void storeTwiddles(float* group, size_t lane, const double w[3][2]) {
  for (int r = 0; r < 3; ++r) {
    group[r * kVecFloats + 2 * lane] = static_cast<float>(w[r][0]);
    group[r * kVecFloats + 2 * lane + 1] = static_cast<float>(w[r][1]);
  }
}

// Every factor from its own sine and cosine: used for the cached tables.
void fillTwiddlesExact(float* table, size_t m) {
  const size_t q = m / 4;
  for (size_t k = 0; k < q; ++k) {
    double w[3][2];
    for (size_t r = 0; r < 3; ++r) unitRoot((r + 1) * k, m, &w[r][0], &w[r][1]);
    storeTwiddles(table + (k / kVecPoints) * kVecPoints * kTwiddleFloatsPerK, k % kVecPoints, w);
  }
}

// The steps inside a chunk of a large stage of size m: exp(-2*pi*i*r*j/m) for r = 1, 2, 3 and
// j < kTwiddleChunk, in double, per r and group of four j the real parts, then the imaginary
// parts. Built once per stage size and never freed.
constexpr size_t kStepGroupDoubles = 2 * kVecPoints;
const double* cachedChunkSteps(int log2m) {
  static std::once_flag once[64];
  static std::unique_ptr<double[]> tables[64];
  std::call_once(once[log2m], [log2m] {
    const size_t m = size_t{1} << log2m;
    auto table = std::make_unique<double[]>(3 * 2 * kTwiddleChunk);
    for (size_t r = 0; r < 3; ++r)
      for (size_t j = 0; j < kTwiddleChunk; ++j) {
        double* group = table.get() + 2 * r * kTwiddleChunk + (j / kVecPoints) * kStepGroupDoubles;
        unitRoot((r + 1) * j, m, &group[j % kVecPoints], &group[kVecPoints + j % kVecPoints]);
      }
    tables[log2m] = std::move(table);
  });
  return tables[log2m].get();
}

// The first `factors` of w^k, w^2k, w^3k (w = exp(-2*pi*i/m)) for k0 <= k < k0 + kTwiddleChunk,
// laid out as the stage tables are: each the exact factor at k0 times an exact step from
// `steps` (cachedChunkSteps), multiplied in double, so its error stays far below float
// resolution, and no factor waits on the one before.
KFFT_INLINE void fillTwiddlesChunk(float* table, size_t m, size_t k0, const double* steps, size_t factors) {
  for (size_t r = 0; r < factors; ++r) {
    double seedRe, seedIm;
    unitRoot((r + 1) * k0, m, &seedRe, &seedIm);
    for (size_t g = 0; g < kTwiddleChunk / kVecPoints; ++g) {
      const double* step = steps + 2 * r * kTwiddleChunk + g * kStepGroupDoubles;
      float* dst = table + g * kTwiddleGroupFloats + r * kVecFloats;
#if ((defined(__GNUC__) && __GNUC__ >= 12) || defined(__clang__)) && !defined(KEDRUS_FFT_PLAIN)
      using Doubles = double __attribute__((vector_size(32)));
      using Floats = float __attribute__((vector_size(16)));
      Doubles stepRe, stepIm;
      std::memcpy(&stepRe, step, sizeof stepRe);
      std::memcpy(&stepIm, step + kVecPoints, sizeof stepIm);
      const Floats re = __builtin_convertvector(seedRe * stepRe - seedIm * stepIm, Floats);
      const Floats im = __builtin_convertvector(seedRe * stepIm + seedIm * stepRe, Floats);
      storeVec(dst, __builtin_shufflevector(re, im, 0, 4, 1, 5, 2, 6, 3, 7));
#else
      for (size_t lane = 0; lane < kVecPoints; ++lane) {
        const double stepRe = step[lane], stepIm = step[kVecPoints + lane];
        dst[2 * lane] = static_cast<float>(seedRe * stepRe - seedIm * stepIm);
        dst[2 * lane + 1] = static_cast<float>(seedRe * stepIm + seedIm * stepRe);
      }
#endif
    }
  }
}

// Tables are built once per stage size and never freed, so a pointer stays valid for any
// later call on any thread.
const float* cachedTwiddles(int log2m) {
  static std::once_flag once[kCachedLog2Max + 1];
  static std::unique_ptr<float[]> tables[kCachedLog2Max + 1];
  std::call_once(once[log2m], [log2m] {
    const size_t m = size_t{1} << log2m;
    // Whole groups of four k, also for the small tables of the real transforms' split step.
    const size_t groups = (m / 4 + kVecPoints - 1) / kVecPoints;
    auto table = std::make_unique<float[]>(groups * kVecPoints * kTwiddleFloatsPerK);
    fillTwiddlesExact(table.get(), m);
    tables[log2m] = std::move(table);
  });
  return tables[log2m].get();
}

// The table of cachedTwiddles(log2m) with each group's three vectors of factors split:
// per group re, im of w^k, then of w^2k, then of w^3k.
const float* cachedSplitTwiddles(int log2m) {
  static std::once_flag once[kSplitLog2Max + 1];
  static std::unique_ptr<float[]> tables[kSplitLog2Max + 1];
  std::call_once(once[log2m], [log2m] {
    const float* compact = cachedTwiddles(log2m);
    const size_t groups = ((size_t{1} << log2m) / 4 + kVecPoints - 1) / kVecPoints;
    auto table = std::make_unique<float[]>(groups * kSplitGroupFloats);
    for (size_t g = 0; g < groups; ++g)
      for (size_t r = 0; r < 3; ++r) {
        const SplitFactor f = splitFactor(loadVec(compact + g * kTwiddleGroupFloats + r * kVecFloats));
        float* dst = table.get() + g * kSplitGroupFloats + r * 2 * kVecFloats;
        storeVec(dst, f.re);
        storeVec(dst + kVecFloats, f.im);
      }
    tables[log2m] = std::move(table);
  });
  return tables[log2m].get();
}

// ---- The transform ----

// Signs the bit-reversed copy gives the input points: none, input point j times (-1)^j (the
// centred transforms), or that and the imaginary parts negated (the transform of the conjugate).
enum class InputSigns { None, Alternate, AlternateConjugate };

struct Plan {
  size_t n = 0;
  int log2n = 0;
  size_t leaf = 0;  // points done per tile row: 4 or 16 (log2n even), 8 (odd); n itself when n <= 4
  InputSigns inputSigns = InputSigns::None;
  bool alternateOutput = false;  // output point j times (-1)^j (inverse transforms)
  bool conjugateOutput = false;  // output points conjugated (inverse transforms)
  // By log2 of the stage size, set by makeJob for the stages the size takes (and left unset
  // for the others: clearing them would cost a small transform a few percent).
  const float* twiddles[64];       // null: computed per chunk
  const float* splitTwiddles[64];  // the same split (SplitFactor), for the smaller stages; or null
  const double* chunkSteps[64];    // for the stages that compute their factors per chunk
  const struct Radix16Factors* factors16 = nullptr;  // a size-16 leaf's factors
};

int leafLog2Of(const Plan& plan) { return plan.leaf == 16 ? 4 : (plan.leaf == 8 ? 3 : 2); }

// How the input's (re, im) pairs are read: as they are, or swapped (inverse transforms).
enum class InputKind { Complex, ComplexSwapped };

template <InputKind kind>
KFFT_INLINE void loadPoint(const float* in, size_t i, float* dst) {
  const bool swapped = kind == InputKind::ComplexSwapped;
  dst[0] = in[2 * i + (swapped ? 1 : 0)];
  dst[1] = in[2 * i + (swapped ? 0 : 1)];
}

KFFT_INLINE size_t reverseBits(size_t x, int bits) {
  std::uint64_t v = x;
  v = ((v >> 1) & 0x5555555555555555ull) | ((v & 0x5555555555555555ull) << 1);
  v = ((v >> 2) & 0x3333333333333333ull) | ((v & 0x3333333333333333ull) << 2);
  v = ((v >> 4) & 0x0F0F0F0F0F0F0F0Full) | ((v & 0x0F0F0F0F0F0F0F0Full) << 4);
  v = ((v >> 8) & 0x00FF00FF00FF00FFull) | ((v & 0x00FF00FF00FF00FFull) << 8);
  v = ((v >> 16) & 0x0000FFFF0000FFFFull) | ((v & 0x0000FFFF0000FFFFull) << 16);
  v = (v >> 32) | (v << 32);
  return bits == 0 ? 0 : static_cast<size_t>(v >> (64 - bits));
}

// The first stages on neighbouring points in bit-reversed order: size 2, 4 or 8.
KFFT_INLINE void leafButterflies(float* g, size_t size) {
  if (size == 2) {
    const float r0 = g[0], i0 = g[1], r1 = g[2], i1 = g[3];
    g[0] = r0 + r1;
    g[1] = i0 + i1;
    g[2] = r0 - r1;
    g[3] = i0 - i1;
    return;
  }
  if (size == 8) {
    for (int j = 0; j < 8; j += 2) {
      const float r0 = g[2 * j], i0 = g[2 * j + 1], r1 = g[2 * j + 2], i1 = g[2 * j + 3];
      g[2 * j] = r0 + r1;
      g[2 * j + 1] = i0 + i1;
      g[2 * j + 2] = r0 - r1;
      g[2 * j + 3] = i0 - i1;
    }
  }
  // Radix-4 over quarters of `size` points; quarters hold sub-sequences 0, 2, 1, 3 (mod 4).
  const size_t q = size / 4;
  for (size_t k = 0; k < q; ++k) {
    float a0r = g[2 * k], a0i = g[2 * k + 1];
    float a2r = g[2 * (q + k)], a2i = g[2 * (q + k) + 1];
    float a1r = g[2 * (2 * q + k)], a1i = g[2 * (2 * q + k) + 1];
    float a3r = g[2 * (3 * q + k)], a3i = g[2 * (3 * q + k) + 1];
    if (k == 1) {  // size 8: w = exp(-i*pi/4), w^2 = -i, w^3 = exp(-3i*pi/4)
      constexpr float c = 0.70710678118654752f;
      const float b1r = c * (a1r + a1i), b1i = c * (a1i - a1r);
      const float b2r = a2i, b2i = -a2r;
      const float b3r = c * (a3i - a3r), b3i = -c * (a3r + a3i);
      a1r = b1r, a1i = b1i, a2r = b2r, a2i = b2i, a3r = b3r, a3i = b3i;
    }
    const float t0r = a0r + a2r, t0i = a0i + a2i;
    const float t1r = a0r - a2r, t1i = a0i - a2i;
    const float t2r = a1r + a3r, t2i = a1i + a3i;
    const float t3r = a1i - a3i, t3i = a3r - a1r;  // -i * (a1 - a3)
    g[2 * k] = t0r + t2r;
    g[2 * k + 1] = t0i + t2i;
    g[2 * (q + k)] = t1r + t3r;
    g[2 * (q + k) + 1] = t1i + t3i;
    g[2 * (2 * q + k)] = t0r - t2r;
    g[2 * (2 * q + k) + 1] = t0i - t2i;
    g[2 * (3 * q + k)] = t1r - t3r;
    g[2 * (3 * q + k) + 1] = t1i - t3i;
  }
}

// Four input points from point i on, as complex pairs.
template <InputKind kind>
KFFT_INLINE Vec loadPoints(const float* in, size_t i) {
  if constexpr (kind == InputKind::Complex)
    return loadVec(in + 2 * i);
  else
    return swapPairs(loadVec(in + 2 * i));
}

// Leaf stages on whole tile rows: rows g0..g3 hold the sub-sequences 0, 2, 1, 3 (mod 4).
template <class V>
KFFT_INLINE void leafRowsRadix4(V& g0, V& g1, V& g2, V& g3) {
  const V t0 = g0 + g1;
  const V t1 = g0 - g1;
  const V t2 = g2 + g3;
  const V t3 = mulMinusI(g2 - g3);
  g0 = t0 + t2;
  g1 = t1 + t3;
  g2 = t0 - t2;
  g3 = t1 - t3;
}

// Size 8: radix 2 on row pairs, then radix 4 with the factors exp(-i*pi*k/4).
KFFT_INLINE void leafRowsRadix8(Vec* g) {
  KFFT_UNROLL
  for (int j = 0; j < 8; j += 2) {
    const Vec sum = g[j] + g[j + 1];
    g[j + 1] = g[j] - g[j + 1];
    g[j] = sum;
  }
  const float c = 0.70710678118654752f;
  const Vec half{c, c, c, c, c, c, c, c};
  g[5] = (g[5] + mulMinusI(g[5])) * half;  // * exp(-i*pi/4)
  g[3] = mulMinusI(g[3]);                  // * exp(-i*pi/2)
  g[7] = (mulMinusI(g[7]) - g[7]) * half;  // * exp(-3i*pi/4)
  leafRowsRadix4(g[0], g[2], g[4], g[6]);
  leafRowsRadix4(g[1], g[3], g[5], g[7]);
}

// The factors exp(-2*pi*i*r*k/16) (r = 1, 2, 3; k = 0 .. 3) of the size-16 stage, each
// repeated over a vector's four points, from that stage's table.
struct Radix16Factors {
  SplitFactor w[3][4] = {};
  explicit Radix16Factors(const float* table) {
    for (size_t r = 0; r < 3; ++r)
      for (size_t k = 0; k < 4; ++k) {
        const float re = table[r * kVecFloats + 2 * k], im = table[r * kVecFloats + 2 * k + 1];
        w[r][k] = splitFactor(Vec{re, im, re, im, re, im, re, im});
      }
  }
};

// Built once; may throw std::bad_alloc (and is then built on a later call).
const Radix16Factors& cachedRadix16Factors() {
  static const Radix16Factors factors(cachedTwiddles(4));
  return factors;
}

// Size 16: radix 4 on each group of four rows, then the radix-4 stage of size 16 across the
// groups (rows k, 4 + k, 8 + k, 12 + k hold the quarters' point k), all in registers.
KFFT_INLINE void leafRowsRadix16(Vec* g, const Radix16Factors& f) {
  KFFT_UNROLL
  for (int q = 0; q < 16; q += 4) leafRowsRadix4(g[q], g[q + 1], g[q + 2], g[q + 3]);
  KFFT_UNROLL
  for (int k = 0; k < 4; ++k) {
    const Vec a0 = g[k];
    const Vec a2 = k == 0 ? g[4] : mulSplit(g[4 + k], f.w[1][k]);
    const Vec a1 = k == 0 ? g[8] : mulSplit(g[8 + k], f.w[0][k]);
    const Vec a3 = k == 0 ? g[12] : mulSplit(g[12 + k], f.w[2][k]);
    const Vec t0 = a0 + a2;
    const Vec t1 = a0 - a2;
    const Vec t2 = a1 + a3;
    const Vec t3 = mulMinusI(a1 - a3);
    g[k] = t0 + t2;
    g[4 + k] = t1 + t3;
    g[8 + k] = t0 - t2;
    g[12 + k] = t1 - t3;
  }
}

// Four tile rows of four points each, transposed: column c of the rows into result c.
KFFT_INLINE void transpose4(const Vec& r0, const Vec& r1, const Vec& r2, const Vec& r3, Vec* column) {
#if ((defined(__GNUC__) && __GNUC__ >= 12) || defined(__clang__)) && !defined(KEDRUS_FFT_PLAIN)
  const Vec t0 = __builtin_shufflevector(r0, r1, 0, 1, 8, 9, 4, 5, 12, 13);
  const Vec t1 = __builtin_shufflevector(r0, r1, 2, 3, 10, 11, 6, 7, 14, 15);
  const Vec t2 = __builtin_shufflevector(r2, r3, 0, 1, 8, 9, 4, 5, 12, 13);
  const Vec t3 = __builtin_shufflevector(r2, r3, 2, 3, 10, 11, 6, 7, 14, 15);
  column[0] = __builtin_shufflevector(t0, t2, 0, 1, 2, 3, 8, 9, 10, 11);
  column[1] = __builtin_shufflevector(t1, t3, 0, 1, 2, 3, 8, 9, 10, 11);
  column[2] = __builtin_shufflevector(t0, t2, 4, 5, 6, 7, 12, 13, 14, 15);
  column[3] = __builtin_shufflevector(t1, t3, 4, 5, 6, 7, 12, 13, 14, 15);
#else
  const Vec* rows[4] = {&r0, &r1, &r2, &r3};
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      column[c].v[2 * r] = rows[r]->v[2 * c];
      column[c].v[2 * r + 1] = rows[r]->v[2 * c + 1];
    }
#endif
}

// The bit-reversed copy works on tiles of B x B points (B = 2^b): output point (hi, mid, lo)
// (hi and lo of b bits each) comes from input point (rev lo, rev mid, rev hi). Input tile m is
// the B rows of B neighbouring points whose middle bits are m; it becomes output tile rev m,
// whose B runs are its columns. The leaf butterflies combine tile rows (they act on lo); each
// output run is stored four points at a time from 4 x 4 transposes.
//
// Small transforms read the tile rows straight from the input. From kBufferedTileFrom on, the
// rows of a tile lie a multiple of 4 KB apart, so in the caches they all compete for the same
// few sets and reading them a few points at a time would fetch each line many times over:
// there each tile is first copied row by row into a contiguous buffer (rows a few ahead fetched
// as it goes), and the leaf and transposition read the buffer. That also lets the copy run in
// place: tiles m and rev m are both read before either is written.
constexpr int kBufferedTileFrom = 13;
constexpr int kBufferedTileLog2 = 6;
constexpr size_t kMaxTileSide = size_t{1} << kBufferedTileLog2;
constexpr size_t kTileFloats = 2 * kMaxTileSide * kMaxTileSide;
constexpr size_t kRowPrefetchDistance = 8;  // rows fetched ahead of their copy into the buffer

int tileLog2Of(const Plan& plan) {
  return plan.log2n >= kBufferedTileFrom ? kBufferedTileLog2 : (plan.log2n >= 8 ? 4 : 3);
}

struct TileGeometry {
  int b;               // log2 of the tile side
  size_t side;         // B
  size_t hiStride;     // n / B: the distance between tile rows, and between output runs
  int midBits;         // bits of a tile's index
  size_t revSide[kMaxTileSide];

  explicit TileGeometry(const Plan& plan) : b(tileLog2Of(plan)), side(size_t{1} << b), hiStride(plan.n >> b),
                                            midBits(plan.log2n - 2 * b) {
    for (size_t i = 0; i < side; ++i) revSide[i] = reverseBits(i, b);
  }
  size_t tileCount() const { return size_t{1} << midBits; }
};

// Output tile `mid` from a tile whose row r starts at rows + r * rowStride points: for each
// group of `group` rows (the rows a leaf combines, 4, 8 or 16, fixed at compile time so they
// stay in registers) four columns at a time: load, leaf butterflies, transpose, store into four
// output runs, the input points taken with their `signs` (the odd points are a tile's odd columns).
template <InputKind kind, size_t group, InputSigns signs>
KFFT_INLINE void storeTile(const float* rows, size_t rowStride, float* out, size_t mid, const TileGeometry& t,
                           const Plan& plan) {
  for (size_t v = 0; v < t.side / kVecPoints; ++v) {
    float* runs[4];
    KFFT_UNROLL
    for (size_t c = 0; c < 4; ++c) runs[c] = out + 2 * (t.revSide[v * kVecPoints + c] * t.hiStride + mid * t.side);
    const float* src = rows + 2 * v * kVecPoints;
    for (size_t lo = 0; lo < t.side; lo += group) {
      Vec g[group];
      KFFT_UNROLL
      for (size_t j = 0; j < group; ++j) {
        g[j] = loadPoints<kind>(src, t.revSide[lo + j] * rowStride);
        if constexpr (signs == InputSigns::Alternate)
          g[j] = g[j] * Vec{1.f, 1.f, -1.f, -1.f, 1.f, 1.f, -1.f, -1.f};
        else if constexpr (signs == InputSigns::AlternateConjugate)
          g[j] = g[j] * Vec{1.f, -1.f, -1.f, 1.f, 1.f, -1.f, -1.f, 1.f};
      }
      if constexpr (group == 16)
        leafRowsRadix16(g, *plan.factors16);
      else if constexpr (group == 8)
        leafRowsRadix8(g);
      else
        leafRowsRadix4(g[0], g[1], g[2], g[3]);
      KFFT_UNROLL
      for (size_t j = 0; j < group; j += 4) {
        Vec column[4];
        transpose4(g[j], g[j + 1], g[j + 2], g[j + 3], column);
        KFFT_UNROLL
        for (size_t c = 0; c < 4; ++c) storeVec(runs[c] + 2 * (lo + j), column[c]);
      }
    }
  }
}

// Input tile m row by row into `tile` (B rows of B points, one after another); the rows of
// tile `next` are fetched ahead while the last ones are copied.
KFFT_INLINE void bufferTile(const float* in, size_t m, size_t next, const TileGeometry& t, float* tile) {
  const size_t rowFloats = 2 * t.side;
  auto rowStart = [&](size_t tileIndex, size_t row) { return in + 2 * (row * t.hiStride + tileIndex * t.side); };
  for (size_t row = 0; row < t.side; ++row) {
    const size_t ahead = row + kRowPrefetchDistance;
    if (ahead < t.side || next < t.tileCount()) {
      const float* fetch = ahead < t.side ? rowStart(m, ahead) : rowStart(next, ahead - t.side);
      for (size_t f = 0; f < rowFloats; f += 64 / sizeof(float)) __builtin_prefetch(fetch + f);
    }
    std::memcpy(tile + row * rowFloats, rowStart(m, row), rowFloats * sizeof(float));
  }
}

template <InputKind kind, size_t group, InputSigns signs>
KFFT_INLINE void copyTiles(const float* in, float* out, const Plan& plan, float* tiles) {
  const TileGeometry t(plan);
  const size_t count = t.tileCount();
  if (t.b < kBufferedTileLog2) {
    for (size_t m = 0; m < count; ++m)
      storeTile<kind, group, signs>(in + 2 * m * t.side, t.hiStride, out, reverseBits(m, t.midBits), t, plan);
    return;
  }
  float* first = tiles;
  float* second = tiles + kTileFloats;
  for (size_t m = 0; m < count; ++m) {
    const size_t mid = reverseBits(m, t.midBits);
    if (in != out) {
      bufferTile(in, m, m + 1, t, first);
      storeTile<kind, group, signs>(first, t.side, out, mid, t, plan);
    } else if (m <= mid) {
      // In place: output tile mid overwrites input tile mid, so that one is read first too.
      bufferTile(in, m, mid, t, first);
      if (mid != m) bufferTile(in, mid, m + 1, t, second);
      storeTile<kind, group, signs>(first, t.side, out, mid, t, plan);
      if (mid != m) storeTile<kind, group, signs>(second, t.side, out, m, t, plan);
    }
  }
}

template <InputKind kind, size_t group>
KFFT_INLINE void copyTilesWithSigns(const float* in, float* out, const Plan& plan, float* tiles) {
  if constexpr (kind == InputKind::Complex) {
    // Only forward transforms take the conjugate of their input.
    if (plan.inputSigns == InputSigns::AlternateConjugate)
      return copyTiles<kind, group, InputSigns::AlternateConjugate>(in, out, plan, tiles);
  }
  if (plan.inputSigns == InputSigns::None)
    copyTiles<kind, group, InputSigns::None>(in, out, plan, tiles);
  else
    copyTiles<kind, group, InputSigns::Alternate>(in, out, plan, tiles);
}

// Bit-reversed copy of the input with the leaf stages; `tiles` holds two tile buffers when the
// size takes them (bufferedTiles).
template <InputKind kind>
KFFT_INLINE void copyReversedWithLeaf(const float* in, float* out, const Plan& plan, float* tiles) {
  const int p = plan.log2n;
  const size_t n = plan.n;
  if (p < 6) {
    for (size_t i = 0; i < n; ++i) {
      const size_t j = reverseBits(i, p);
      loadPoint<kind>(in, j, out + 2 * i);
      if (plan.inputSigns != InputSigns::None && j % 2 == 1) out[2 * i] = -out[2 * i], out[2 * i + 1] = -out[2 * i + 1];
      if (plan.inputSigns == InputSigns::AlternateConjugate) out[2 * i + 1] = -out[2 * i + 1];
    }
    for (size_t i = 0; i < n; i += plan.leaf) leafButterflies(out + 2 * i, plan.leaf);
    return;
  }
  if (plan.leaf == 16)
    copyTilesWithSigns<kind, 16>(in, out, plan, tiles);
  else if (plan.leaf == 8)
    copyTilesWithSigns<kind, 8>(in, out, plan, tiles);
  else
    copyTilesWithSigns<kind, 4>(in, out, plan, tiles);
}

bool bufferedTiles(const Plan& plan) { return plan.log2n >= kBufferedTileFrom; }

// Factor r (0: w^k, 1: w^2k, 2: w^3k) of the points k .. k + kPointsOf<V> - 1 from a split or a
// compact table whose first group is that of point k0; a wide vector takes two groups.
template <class V, size_t groupFloats>
KFFT_INLINE V loadGroups(const float* group) {
#if KFFT_WIDE
  if constexpr (kPointsOf<V> == 2 * kVecPoints)
    return join(loadVec(group), loadVec(group + groupFloats));
  else
#endif
    return loadVec(group);
}
template <class V, bool split>
KFFT_INLINE SplitFactorOf<V> loadFactor(const float* table, size_t k0, size_t k, size_t r) {
  constexpr size_t groupFloats = split ? kSplitGroupFloats : kTwiddleGroupFloats;
  const float* group = table + ((k - k0) / kVecPoints) * groupFloats;
  if constexpr (split)
    return {loadGroups<V, groupFloats>(group + 2 * r * kVecFloats), loadGroups<V, groupFloats>(group + (2 * r + 1) * kVecFloats)};
  else
    return splitFactor(loadGroups<V, groupFloats>(group + r * kVecFloats));
}

// One radix-4 butterfly on four vectors of points k.. from the quarters of a block, which hold
// the transforms of the sub-sequences 0, 2, 1, 3 (mod 4); the factors from the table whose
// first group is that of point k0.
template <class V, bool split>
KFFT_INLINE void radix4(V& x0, V& x1, V& x2, V& x3, const float* table, size_t k0, size_t k) {
  x1 = mulSplit(x1, loadFactor<V, split>(table, k0, k, 1));
  x2 = mulSplit(x2, loadFactor<V, split>(table, k0, k, 0));
  x3 = mulSplit(x3, loadFactor<V, split>(table, k0, k, 2));
  leafRowsRadix4(x0, x1, x2, x3);
}

// Radix-4 butterflies k0 <= k < k1 of one block of 4q points; tw holds the factors from k0 on.
template <class V, bool split>
KFFT_INLINE void radix4Butterflies(float* block, size_t q, size_t k0, size_t k1, const float* tw) {
  for (size_t k = k0; k < k1; k += kPointsOf<V>) {
    float* p = block + 2 * k;
    V x0 = load<V>(p), x1 = load<V>(p + 2 * q), x2 = load<V>(p + 4 * q), x3 = load<V>(p + 6 * q);
    radix4<V, split>(x0, x1, x2, x3, tw, k0, k);
    store(p, x0);
    store(p + 2 * q, x1);
    store(p + 4 * q, x2);
    store(p + 6 * q, x3);
  }
}

// Two radix-4 stages in one pass over a block of m = 16r points: the stage of size m/4 on
// each quarter, then the stage of size m, on sixteen vectors in registers (x[4s + t] from
// point s*m/4 + t*r + k). The same arithmetic as the two stages one after the other, with
// half the loads and stores. small and large are the two stages' split tables.
template <class V>
KFFT_INLINE void radix16Butterflies(float* block, size_t r, const float* small, const float* large) {
  for (size_t k = 0; k < r; k += kPointsOf<V>) {
    float* p = block + 2 * k;
    V x[16];
    KFFT_UNROLL
    for (size_t j = 0; j < 16; ++j) x[j] = load<V>(p + 2 * j * r);
    KFFT_UNROLL
    for (size_t s = 0; s < 4; ++s) radix4<V, true>(x[4 * s], x[4 * s + 1], x[4 * s + 2], x[4 * s + 3], small, 0, k);
    KFFT_UNROLL
    for (size_t t = 0; t < 4; ++t) radix4<V, true>(x[t], x[4 + t], x[8 + t], x[12 + t], large, 0, t * r + k);
    KFFT_UNROLL
    for (size_t j = 0; j < 16; ++j) store(p + 2 * j * r, x[j]);
  }
}

// The stage of size 2^log2m on one block, with vectors of type V where the stage's quarters
// hold whole vectors of them.
template <class V>
KFFT_INLINE void radix4Stage(float* block, int log2m, const Plan& plan) {
  const size_t q = (size_t{1} << log2m) / 4;
  if constexpr (kPointsOf<V> != kVecPoints) {
    if (q < kPointsOf<V>) return radix4Stage<Vec>(block, log2m, plan);
  }
  if (const float* table = plan.splitTwiddles[log2m]) {
    radix4Butterflies<V, true>(block, q, 0, q, table);
    return;
  }
  if (const float* table = plan.twiddles[log2m]) {
    radix4Butterflies<V, false>(block, q, 0, q, table);
    return;
  }
  // q is a multiple of the chunk: these are the stages beyond the cached tables.
  float table[kTwiddleChunk * kTwiddleFloatsPerK];
  for (size_t k0 = 0; k0 < q; k0 += kTwiddleChunk) {
    fillTwiddlesChunk(table, size_t{1} << log2m, k0, plan.chunkSteps[log2m], 3);
    radix4Butterflies<V, false>(block, q, k0, k0 + kTwiddleChunk, table);
  }
}

// Stages of size 2^log2m and 2^(log2m + 2) on a block of 2^(log2m + 2) points.
template <class V>
KFFT_INLINE void radix16Pass(float* block, int log2m, const Plan& plan) {
  const size_t r = (size_t{1} << (log2m + 2)) / 16;
  if constexpr (kPointsOf<V> != kVecPoints) {
    if (r < kPointsOf<V>) return radix16Pass<Vec>(block, log2m, plan);
  }
  radix16Butterflies<V>(block, r, plan.splitTwiddles[log2m], plan.splitTwiddles[log2m + 2]);
}

// Points per cache block: all stages of a block run while it stays in the cache.
constexpr int kBlockLog2 = 15;
// Stages inside a cache block up to this size are done in pairs (radix16Butterflies): up to it
// the sixteen rows of a pass lie at most 2 KB apart and spread over the cache's sets; further
// apart they compete for the same few sets.
constexpr int kPairLog2Max = 12;
static_assert(kPairLog2Max <= kSplitLog2Max, "paired stages use split tables");

// Every radix-4 stage after the leaf, depth first: each cache block is finished, and as soon
// as the fourth block of a group is done the group is combined.
template <class V>
KFFT_INLINE void radix4Stages(float* out, const Plan& plan) {
  const int leafLog2 = leafLog2Of(plan);
  if (plan.log2n <= leafLog2) return;
  int blockLog2 = leafLog2;
  while (blockLog2 + 2 <= std::min(plan.log2n, kBlockLog2)) blockLog2 += 2;
  const size_t blockSize = size_t{1} << blockLog2;
  const size_t blockCount = plan.n >> blockLog2;
  for (size_t c = 0; c < blockCount; ++c) {
    float* block = out + 2 * c * blockSize;
    int log2m = leafLog2 + 2;
    for (; log2m + 2 <= std::min(blockLog2, kPairLog2Max); log2m += 4) {
      const size_t m = size_t{1} << (log2m + 2);
      for (size_t start = 0; start < blockSize; start += m) radix16Pass<V>(block + 2 * start, log2m, plan);
    }
    for (; log2m <= blockLog2; log2m += 2) {
      const size_t m = size_t{1} << log2m;
      for (size_t start = 0; start < blockSize; start += m) radix4Stage<V>(block + 2 * start, log2m, plan);
    }
    log2m = blockLog2;
    for (size_t index = c; index % 4 == 3 && log2m < plan.log2n; index /= 4) {
      log2m += 2;
      const size_t start = (c + 1) * blockSize - (size_t{1} << log2m);
      radix4Stage<V>(out + 2 * start, log2m, plan);
    }
  }
}

struct Job {
  const float* in;  // n complex points
  float* out;
  bool inverse;
  Plan plan;
  float* tiles = nullptr;  // two tile buffers, for the sizes whose copy takes them
  // A real transform of realN values done as this complex one of realN / 2 points: the split
  // step follows, with the factors W^k from splitTable or else computed per chunk from
  // splitSteps; mirror fills the upper half of the spectrum too.
  size_t realN = 0;
  bool realInverse = false;
  bool mirror = false;
  const float* splitTable = nullptr;
  const double* splitSteps = nullptr;
};

template <class V>
KFFT_INLINE void runJob(const Job& job) {
  const Plan& plan = job.plan;
  if (job.inverse)
    copyReversedWithLeaf<InputKind::ComplexSwapped>(job.in, job.out, plan, job.tiles);
  else
    copyReversedWithLeaf<InputKind::Complex>(job.in, job.out, plan, job.tiles);
  radix4Stages<V>(job.out, plan);
  if (job.inverse) {
    // Swap back and divide by n (a power of two, so the scaling itself is exact); the signs
    // of the alternation and the conjugation are exact too.
    const float scale = 1.f / static_cast<float>(plan.n);
    const float odd = plan.alternateOutput ? -scale : scale;
    const float imSign = plan.conjugateOutput ? -1.f : 1.f;
    float* out = job.out;
    size_t i = 0;
    if (plan.n >= kVecPoints) {
      const Vec s{scale, imSign * scale, odd, imSign * odd, scale, imSign * scale, odd, imSign * odd};
      for (; i + kVecPoints <= plan.n; i += kVecPoints)
        storeVec(out + 2 * i, swapPairs(loadVec(out + 2 * i)) * s);
    }
    for (; i < plan.n; ++i) {
      const float re = out[2 * i];
      const float factor = i % 2 == 0 ? scale : odd;
      out[2 * i] = out[2 * i + 1] * factor;
      out[2 * i + 1] = re * factor * imSign;
    }
  }
}

// Four points in reverse order.
KFFT_INLINE Vec reversePoints(Vec v) {
#if ((defined(__GNUC__) && __GNUC__ >= 12) || defined(__clang__)) && !defined(KEDRUS_FFT_PLAIN)
  return __builtin_shufflevector(v, v, 6, 7, 4, 5, 2, 3, 0, 1);
#else
  Vec r;
  for (int i = 0; i < 4; ++i) r.v[2 * i] = v.v[6 - 2 * i], r.v[2 * i + 1] = v.v[7 - 2 * i];
  return r;
#endif
}

// One pair (k, half - k) of the split step below; group holds W^k's table group.
KFFT_INLINE void splitPair(float* out, size_t half, size_t k, const float* group, float scale, float conj) {
  const float wr = group[2 * (k % kVecPoints)], wi = group[2 * (k % kVecPoints) + 1];
  const size_t m = half - k;
  const float ar = out[2 * k], ai = out[2 * k + 1];
  const float br = out[2 * m], bi = -out[2 * m + 1];
  const float er = ar + br, ei = ai + bi;
  const float dr = ar - br, di = ai - bi;
  const float orr = dr * wr - di * wi, oi = dr * wi + di * wr;  // W^k * (Z[k] - conj Z[m]); i*o = (-oi, orr)
  const float factor = 0.5f * scale;
  out[2 * k] = (er + oi) * factor;
  out[2 * k + 1] = (ei - orr) * factor * conj;
  if (m != k) {
    out[2 * m] = (er - oi) * factor;
    out[2 * m + 1] = -(ei + orr) * factor * conj;
  }
}

// The split step of a real transform: with Z the transform of the n/2 points z[j] = x[2j] +
// i*x[2j+1] at out[0 .. n/2), the transform of x at k is X[k] = E - i*W^k*O, where
// E = (Z[k] + conj Z[n/2-k]) / 2, O = (Z[k] - conj Z[n/2-k]) / 2 and W = exp(-2*pi*i/n); and
// X[n/2-k] = conj(E + i*W^k*O). Pairs (k, n/2-k) are done together, in place, four at a time.
// The inverse (the conjugate kernel over n) is the conjugate of the forward result over n.
// `twiddles(k0)` gives the factors W^k from k0 on, laid out as the stage tables are.
template <class Twiddles>
KFFT_INLINE void splitRealSpectrum(float* out, size_t n, bool inverse, Twiddles&& twiddles) {
  const size_t half = n / 2;
  const float scale = inverse ? 1.f / static_cast<float>(n) : 1.f;
  const float conj = inverse ? -1.f : 1.f;
  // Frequencies 0 and n/2 are real: the sum and difference of Z[0]'s parts.
  const float z0r = out[0], z0i = out[1];
  out[0] = (z0r + z0i) * scale;
  out[1] = 0.f;
  out[2 * half] = (z0r - z0i) * scale;
  out[2 * half + 1] = 0.f;
  if (half < 2) return;
  const Vec h{0.5f * scale, 0.5f * scale * conj, 0.5f * scale, 0.5f * scale * conj,
              0.5f * scale, 0.5f * scale * conj, 0.5f * scale, 0.5f * scale * conj};
  const Vec conjSigns{1.f, -1.f, 1.f, -1.f, 1.f, -1.f, 1.f, -1.f};
  // k from 1 to below half/2 pairs with half - k. Runs of four from k = 4 on use the factors
  // of one table group as they lie.
  size_t k = 1;
  for (; k < kVecPoints && k < half / 2; ++k) splitPair(out, half, k, twiddles(k), scale, conj);
  for (; k + kVecPoints <= half / 2; k += kVecPoints) {
    const Vec wk = loadVec(twiddles(k));                          // W^k .. W^(k+3)
    float* lowPtr = out + 2 * k;
    float* highPtr = out + 2 * (half - k - 3);
    const Vec a = loadVec(lowPtr);                                // Z[k .. k+3]
    const Vec b = reversePoints(loadVec(highPtr)) * conjSigns;    // conj Z[half-k .. half-k-3]
    const Vec o = mulComplex(a - b, wk);
    const Vec io = swapPairs(o) * Vec{-1.f, 1.f, -1.f, 1.f, -1.f, 1.f, -1.f, 1.f};  // i * W^k * O
    const Vec e = a + b;
    storeVec(lowPtr, (e - io) * h);
    storeVec(highPtr, reversePoints((e + io) * conjSigns * h));  // conj(E + i W^k O)
  }
  for (; k < half / 2; ++k) splitPair(out, half, k, twiddles(k), scale, conj);
  // k = n/4 pairs with itself, W^k = -i: X[n/4] = conj Z[n/4].
  out[2 * k] *= scale;
  out[2 * k + 1] *= -scale * conj;
}

// X[n-k] = conj X[k] for 0 < k < n/2: the upper half of a real input's spectrum.
KFFT_INLINE void mirrorRealSpectrum(float* out, size_t n) {
  const size_t half = n / 2;
  const Vec conjSigns{1.f, -1.f, 1.f, -1.f, 1.f, -1.f, 1.f, -1.f};
  size_t k = 1;
  for (; k + kVecPoints <= half; k += kVecPoints)
    storeVec(out + 2 * (n - k - 3), reversePoints(loadVec(out + 2 * k)) * conjSigns);
  for (; k < half; ++k) {
    out[2 * (n - k)] = out[2 * k];
    out[2 * (n - k) + 1] = -out[2 * k + 1];
  }
}

template <class V>
KFFT_INLINE void runRealJob(const Job& job) {
  runJob<V>(job);
  const size_t n = job.realN;
  float chunk[kTwiddleChunk * kTwiddleFloatsPerK];
  size_t chunkStart = ~size_t{0};
  // The factors' group of k: from the cached table, or from a chunk computed when k enters it.
  auto twiddles = [&](size_t k) -> const float* {
    if (job.splitTable) return job.splitTable + (k / kVecPoints) * kVecPoints * kTwiddleFloatsPerK;
    const size_t start = k / kTwiddleChunk * kTwiddleChunk;
    if (start != chunkStart) {
      fillTwiddlesChunk(chunk, n, start, job.splitSteps, 1);
      chunkStart = start;
    }
    return chunk + ((k - start) / kVecPoints) * kVecPoints * kTwiddleFloatsPerK;
  };
  splitRealSpectrum(job.out, n, job.realInverse, twiddles);
  if (job.mirror) mirrorRealSpectrum(job.out, n);
}

// V: the vector type of the stages' butterflies.
template <class V>
KFFT_INLINE void runAny(const Job& job) {
  if (job.realN != 0)
    runRealJob<V>(job);
  else
    runJob<V>(job);
}

void runPortable(const Job& job) { runAny<Vec>(job); }

#if defined(__x86_64__) && defined(__GNUC__) && !defined(KEDRUS_FFT_PLAIN)
// The same code compiled for AVX2 and FMA, chosen at run time on processors that have them;
// with AVX-512's VL extension the same 32-byte vectors get twice the registers, so a leaf's
// sixteen rows and their factors stay in registers.
[[gnu::target("avx2,fma")]] void runAvx2(const Job& job) { runAny<Vec>(job); }
#if KFFT_WIDE
[[gnu::target("avx2,fma,avx512f,avx512vl")]] void runAvx512(const Job& job) { runAny<Wide>(job); }
#else
[[gnu::target("avx2,fma,avx512f,avx512vl")]] void runAvx512(const Job& job) { runAny<Vec>(job); }
#endif

enum class Isa { Portable, Avx2, Avx512 };

Isa detectIsa() {
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma")) return Isa::Portable;
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") ? Isa::Avx512 : Isa::Avx2;
}

void run(const Job& job) {
  static const Isa isa = detectIsa();
  if (isa == Isa::Avx512)
    runAvx512(job);
  else if (isa == Isa::Avx2)
    runAvx2(job);
  else
    runPortable(job);
}
#else
void run(const Job& job) { runPortable(job); }
#endif

}  // namespace

namespace {

bool isTransformSize(std::ptrdiff_t n) { return n >= 2 && (n & (n - 1)) == 0; }

// A complex transform of n points (a power of two, at least 2) with its tables fetched.
// False when a table cannot be had.
bool makeJob(Job* job, const float* in, float* out, size_t n, bool inverse) {
  job->in = in;
  job->out = out;
  job->inverse = inverse;
  Plan& plan = job->plan;
  plan.n = n;
  while ((size_t{1} << plan.log2n) < plan.n) ++plan.log2n;
  // Even sizes with tiles of at least 16 rows do the size-16 stage in the leaf too.
  plan.leaf = plan.log2n <= 2 ? plan.n : (plan.log2n % 2 != 0 ? 8 : (plan.log2n >= 8 ? 16 : 4));
  try {
    if (plan.leaf == 16) plan.factors16 = &cachedRadix16Factors();
    for (int log2m = leafLog2Of(plan) + 2; log2m <= plan.log2n; log2m += 2) {
      plan.splitTwiddles[log2m] = log2m <= kSplitLog2Max ? cachedSplitTwiddles(log2m) : nullptr;
      plan.twiddles[log2m] = log2m > kSplitLog2Max && log2m <= kCachedLog2Max ? cachedTwiddles(log2m) : nullptr;
      plan.chunkSteps[log2m] = log2m > kCachedLog2Max ? cachedChunkSteps(log2m) : nullptr;
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// Runs the job once everything it needs is at hand, so that a failure leaves the output as it
// was. The reordering reads the input while it writes the output: the copy through tile
// buffers reads both tiles of a swap before writing either, so it runs in place; any other
// overlap of input and output takes a copy of the input first.
int execute(Job& job, size_t inFloats, size_t outFloats) {
  const auto inBegin = reinterpret_cast<std::uintptr_t>(job.in);
  const auto outBegin = reinterpret_cast<std::uintptr_t>(job.out);
  const bool overlapping = inBegin < outBegin + outFloats * sizeof(float) &&
                           outBegin < inBegin + inFloats * sizeof(float);
  std::unique_ptr<float[]> tiles;
  if (bufferedTiles(job.plan)) {
    tiles.reset(new (std::nothrow) float[2 * kTileFloats]);
    if (!tiles) return 0;
    job.tiles = tiles.get();
  }
  std::unique_ptr<float[]> copy;
  if (overlapping && !(job.tiles != nullptr && inBegin == outBegin)) {
    copy.reset(new (std::nothrow) float[inFloats]);
    if (!copy) return 0;
    std::memcpy(copy.get(), job.in, inFloats * sizeof(float));
    job.in = copy.get();
  }
  run(job);
  return 1;
}

// The real transform of n values as a complex one of n/2 points and a split step; the first
// n/2 + 1 points, or all n when mirror.
int realTransform(const float* input, std::ptrdiff_t n, float* out, bool inverse, bool mirror) {
  if (input == nullptr || out == nullptr || !isTransformSize(n)) return 0;
  const auto size = static_cast<size_t>(n);
  if (size == 2) {
    const float scale = inverse ? 0.5f : 1.f;
    const float x0 = input[0], x1 = input[1];
    out[0] = (x0 + x1) * scale;
    out[1] = 0.f;
    out[2] = (x0 - x1) * scale;
    out[3] = 0.f;
    return 1;
  }
  Job job;
  if (!makeJob(&job, input, out, size / 2, false)) return 0;
  job.realN = size;
  job.realInverse = inverse;
  job.mirror = mirror;
  const int log2n = job.plan.log2n + 1;
  try {
    if (log2n <= kCachedLog2Max)
      job.splitTable = cachedTwiddles(log2n);
    else
      job.splitSteps = cachedChunkSteps(log2n);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return execute(job, size, mirror ? 2 * size : size + 2);
}

}  // namespace

namespace {

// What a complex transform does besides the transform itself: the signs of its input, and
// (inverse only) output point j times (-1)^j and the output conjugated.
struct ComplexOptions {
  InputSigns inputSigns = InputSigns::None;
  bool alternateOutput = false;
  bool conjugateOutput = false;
};

int complexTransform(const float* input, std::ptrdiff_t n, FftPoint* output, bool inverse,
                     const ComplexOptions& options = {}) {
  if (input == nullptr || output == nullptr || !isTransformSize(n)) return 0;
  Job job;
  const auto size = static_cast<size_t>(n);
  if (!makeJob(&job, input, reinterpret_cast<float*>(output), size, inverse)) return 0;
  job.plan.inputSigns = options.inputSigns;
  job.plan.alternateOutput = options.alternateOutput;
  job.plan.conjugateOutput = options.conjugateOutput;
  return execute(job, 2 * size, 2 * size);
}

}  // namespace

int FFT(const float* input, std::ptrdiff_t n, bool complexInput, FftPoint* output, bool inverse) {
  if (!complexInput) return realTransform(input, n, reinterpret_cast<float*>(output), inverse, true);
  return complexTransform(input, n, output, inverse);
}

int RealFFT(const float* input, std::ptrdiff_t n, FftPoint* output, bool inverse) {
  return realTransform(input, n, reinterpret_cast<float*>(output), inverse, false);
}

int CenteredFFT(const FftPoint* input, std::ptrdiff_t n, FftPoint* output) {
  return complexTransform(reinterpret_cast<const float*>(input), n, output, false, {.inputSigns = InputSigns::Alternate});
}

int CenteredInverseFFT(const FftPoint* input, std::ptrdiff_t n, FftPoint* output) {
  return complexTransform(reinterpret_cast<const float*>(input), n, output, true, {.alternateOutput = true});
}

int ConjugateCenteredFFT(const FftPoint* input, std::ptrdiff_t n, FftPoint* output) {
  return complexTransform(reinterpret_cast<const float*>(input), n, output, false,
                          {.inputSigns = InputSigns::AlternateConjugate});
}

int ConjugateCenteredInverseFFT(const FftPoint* input, std::ptrdiff_t n, FftPoint* output) {
  return complexTransform(reinterpret_cast<const float*>(input), n, output, true,
                          {.alternateOutput = true, .conjugateOutput = true});
}

}  // namespace spc
