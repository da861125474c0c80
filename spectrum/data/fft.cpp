#include "spectrum/data/fft.h"

// Radix-4 decimation-in-time transform on interleaved complex floats.
//
// The input is copied into the output in bit-reversed order, in small tiles so that both the
// reads and the writes run over contiguous memory; the first one or two butterfly stages (on
// 4 or 8 neighbouring points) are done on each tile row before it is stored. The remaining
// radix-4 stages run depth first over blocks that fit in the cache, so a large transform
// passes over main memory only a few times. Twiddle factors come from tables computed in
// double precision (cached per stage size); the stages of very large transforms, whose tables
// would be too big to keep, compute them in double per chunk instead.
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

#if defined(__GNUC__) || defined(__clang__)
#define KFFT_INLINE [[gnu::always_inline]] inline
#else
#define KFFT_INLINE inline
#endif

// Four complex points (re, im, re, im, ...) in one vector.
#if ((defined(__GNUC__) && __GNUC__ >= 12) || defined(__clang__)) && !defined(KEDRUS_FFT_PLAIN)
using Vec = float __attribute__((vector_size(32)));

KFFT_INLINE Vec swapPairs(Vec v) { return __builtin_shufflevector(v, v, 1, 0, 3, 2, 5, 4, 7, 6); }
KFFT_INLINE Vec dupRe(Vec v) { return __builtin_shufflevector(v, v, 0, 0, 2, 2, 4, 4, 6, 6); }
KFFT_INLINE Vec dupIm(Vec v) { return __builtin_shufflevector(v, v, 1, 1, 3, 3, 5, 5, 7, 7); }
#else
// Plain fallback for compilers without vector extensions; the loops still auto-vectorise.
struct Vec {
  float v[8];
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

KFFT_INLINE Vec loadVec(const float* p) {
  Vec v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
KFFT_INLINE void storeVec(float* p, Vec v) { std::memcpy(p, &v, sizeof v); }

// a * w for four points at once: (ar*wr - ai*wi, ai*wr + ar*wi).
KFFT_INLINE Vec mulComplex(Vec a, Vec w) {
  const Vec signs{-1.f, 1.f, -1.f, 1.f, -1.f, 1.f, -1.f, 1.f};
  return a * dupRe(w) + swapPairs(a) * (dupIm(w) * signs);
}
// -i * d: (im, -re).
KFFT_INLINE Vec mulMinusI(Vec d) {
  const Vec signs{1.f, -1.f, 1.f, -1.f, 1.f, -1.f, 1.f, -1.f};
  return swapPairs(d) * signs;
}

// ---- Twiddle factors ----
//
// The table of a stage of size m (q = m/4 butterflies per block) holds, per group of four
// consecutive k, the factors w^k, w^2k and w^3k (w = exp(-2*pi*i/m)) of the four k as
// interleaved pairs: 24 floats per group, 6 per k.

constexpr size_t kTwiddleFloatsPerK = 6;
constexpr int kCachedLog2Max = 20;  // stages up to 2^20 points keep their table (at most ~12 MB)
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

// Factors for k0 <= k < k0 + count (count a multiple of 4) by a double-precision recurrence
// restarted from exact values at every chunk, so its error stays far below float resolution.
void fillTwiddlesChunk(float* table, size_t m, size_t k0, size_t count) {
  double stepRe, stepIm, re, im;
  unitRoot(1, m, &stepRe, &stepIm);
  unitRoot(k0, m, &re, &im);
  for (size_t i = 0; i < count; ++i) {
    double w[3][2];
    w[0][0] = re;
    w[0][1] = im;
    w[1][0] = re * re - im * im;
    w[1][1] = 2.0 * re * im;
    w[2][0] = w[1][0] * re - w[1][1] * im;
    w[2][1] = w[1][0] * im + w[1][1] * re;
    storeTwiddles(table + (i / kVecPoints) * kVecPoints * kTwiddleFloatsPerK, i % kVecPoints, w);
    const double nextRe = re * stepRe - im * stepIm;
    im = re * stepIm + im * stepRe;
    re = nextRe;
  }
}

// Tables are built once per stage size and never freed, so a pointer stays valid for any
// later call on any thread.
const float* cachedTwiddles(int log2m) {
  static std::once_flag once[kCachedLog2Max + 1];
  static std::unique_ptr<float[]> tables[kCachedLog2Max + 1];
  std::call_once(once[log2m], [log2m] {
    const size_t m = size_t{1} << log2m;
    auto table = std::make_unique<float[]>(m / 4 * kTwiddleFloatsPerK);
    fillTwiddlesExact(table.get(), m);
    tables[log2m] = std::move(table);
  });
  return tables[log2m].get();
}

// ---- The transform ----

struct Plan {
  size_t n = 0;
  int log2n = 0;
  size_t leaf = 0;  // points done per tile row: 4 (log2n even) or 8 (odd); n itself when n <= 4
  const float* twiddles[64] = {};  // by log2 of the stage size; null: computed per chunk
};

enum class InputKind { Complex, ComplexSwapped, Real, RealSwapped };

template <InputKind kind>
KFFT_INLINE void loadPoint(const float* in, size_t i, float* dst) {
  if constexpr (kind == InputKind::Complex) {
    dst[0] = in[2 * i];
    dst[1] = in[2 * i + 1];
  } else if constexpr (kind == InputKind::ComplexSwapped) {
    dst[0] = in[2 * i + 1];
    dst[1] = in[2 * i];
  } else if constexpr (kind == InputKind::Real) {
    dst[0] = in[i];
    dst[1] = 0.f;
  } else {
    dst[0] = 0.f;
    dst[1] = in[i];
  }
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
  if constexpr (kind == InputKind::Complex) {
    return loadVec(in + 2 * i);
  } else if constexpr (kind == InputKind::ComplexSwapped) {
    return swapPairs(loadVec(in + 2 * i));
  } else {
    float x[4];
    std::memcpy(x, in + i, sizeof x);
    if constexpr (kind == InputKind::Real)
      return Vec{x[0], 0.f, x[1], 0.f, x[2], 0.f, x[3], 0.f};
    else
      return Vec{0.f, x[0], 0.f, x[1], 0.f, x[2], 0.f, x[3]};
  }
}

// Leaf stages on whole tile rows: rows g0..g3 hold the sub-sequences 0, 2, 1, 3 (mod 4).
KFFT_INLINE void leafRowsRadix4(Vec& g0, Vec& g1, Vec& g2, Vec& g3) {
  const Vec t0 = g0 + g1;
  const Vec t1 = g0 - g1;
  const Vec t2 = g2 + g3;
  const Vec t3 = mulMinusI(g2 - g3);
  g0 = t0 + t2;
  g1 = t1 + t3;
  g2 = t0 - t2;
  g3 = t1 - t3;
}

// Size 8: radix 2 on row pairs, then radix 4 with the factors exp(-i*pi*k/4).
KFFT_INLINE void leafRowsRadix8(Vec* g) {
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

// Bit-reversed copy of the input with the leaf stages, in tiles of B x B points: point
// (hi, mid, lo) of the output (hi and lo of b bits each) comes from input point
// (rev lo, rev mid, rev hi). Tile row lo is read from B neighbouring input points; the leaf
// butterflies combine tile rows (they act on lo); output run hi is tile column rev hi.
template <InputKind kind>
KFFT_INLINE void copyReversedWithLeaf(const float* in, float* out, const Plan& plan) {
  const int p = plan.log2n;
  const size_t n = plan.n;
  if (p < 6) {
    for (size_t i = 0; i < n; ++i) loadPoint<kind>(in, reverseBits(i, p), out + 2 * i);
    for (size_t i = 0; i < n; i += plan.leaf) leafButterflies(out + 2 * i, plan.leaf);
    return;
  }
  const int b = p >= 8 ? 4 : 3;
  const size_t side = size_t{1} << b;
  const size_t rowVecs = side / kVecPoints;
  const size_t hiStride = n >> b;
  const int midBits = p - 2 * b;
  const size_t midCount = size_t{1} << midBits;
  size_t revSide[16];
  for (size_t i = 0; i < side; ++i) revSide[i] = reverseBits(i, b);
  Vec tile[16][4];
  for (size_t mid = 0; mid < midCount; ++mid) {
    const size_t srcMid = reverseBits(mid, midBits) * side;
    for (size_t lo = 0; lo < side; ++lo) {
      const size_t src = revSide[lo] * hiStride + srcMid;
      for (size_t v = 0; v < rowVecs; ++v) tile[lo][v] = loadPoints<kind>(in, src + v * kVecPoints);
    }
    for (size_t v = 0; v < rowVecs; ++v) {
      if (plan.leaf == 8) {
        for (size_t lo = 0; lo < side; lo += 8) {
          Vec g[8];
          for (int j = 0; j < 8; ++j) g[j] = tile[lo + j][v];
          leafRowsRadix8(g);
          for (int j = 0; j < 8; ++j) tile[lo + j][v] = g[j];
        }
      } else {
        for (size_t lo = 0; lo < side; lo += 4)
          leafRowsRadix4(tile[lo][v], tile[lo + 1][v], tile[lo + 2][v], tile[lo + 3][v]);
      }
    }
    const char* bytes = reinterpret_cast<const char*>(tile);
    for (size_t hi = 0; hi < side; ++hi) {
      float* dst = out + 2 * (hi * hiStride + mid * side);
      const char* column = bytes + revSide[hi] * 2 * sizeof(float);
      for (size_t lo = 0; lo < side; ++lo)
        std::memcpy(dst + 2 * lo, column + lo * sizeof(tile[0]), 2 * sizeof(float));
    }
  }
}

// Radix-4 butterflies k0 <= k < k1 of one block of 4q points whose quarters hold the
// transforms of the sub-sequences 0, 2, 1, 3 (mod 4); tw holds the factors from k0 on.
KFFT_INLINE void radix4Butterflies(float* block, size_t q, size_t k0, size_t k1, const float* tw) {
  float* p0 = block;
  float* p1 = block + 2 * q;
  float* p2 = block + 4 * q;
  float* p3 = block + 6 * q;
  for (size_t k = k0; k < k1; k += kVecPoints, tw += kVecPoints * kTwiddleFloatsPerK) {
    const Vec a0 = loadVec(p0 + 2 * k);
    const Vec a2 = mulComplex(loadVec(p1 + 2 * k), loadVec(tw + kVecFloats));
    const Vec a1 = mulComplex(loadVec(p2 + 2 * k), loadVec(tw));
    const Vec a3 = mulComplex(loadVec(p3 + 2 * k), loadVec(tw + 2 * kVecFloats));
    const Vec t0 = a0 + a2;
    const Vec t1 = a0 - a2;
    const Vec t2 = a1 + a3;
    const Vec t3 = mulMinusI(a1 - a3);
    storeVec(p0 + 2 * k, t0 + t2);
    storeVec(p1 + 2 * k, t1 + t3);
    storeVec(p2 + 2 * k, t0 - t2);
    storeVec(p3 + 2 * k, t1 - t3);
  }
}

KFFT_INLINE void radix4Stage(float* block, int log2m, const Plan& plan) {
  const size_t q = (size_t{1} << log2m) / 4;
  if (const float* table = plan.twiddles[log2m]) {
    radix4Butterflies(block, q, 0, q, table);
    return;
  }
  float table[kTwiddleChunk * kTwiddleFloatsPerK];
  for (size_t k0 = 0; k0 < q; k0 += kTwiddleChunk) {
    fillTwiddlesChunk(table, size_t{1} << log2m, k0, kTwiddleChunk);
    radix4Butterflies(block, q, k0, k0 + kTwiddleChunk, table);
  }
}

// Points per cache block: all stages of a block run while it stays in the cache.
constexpr int kBlockLog2 = 15;

// Every radix-4 stage after the leaf, depth first: each cache block is finished, and as soon
// as the fourth block of a group is done the group is combined.
KFFT_INLINE void radix4Stages(float* out, const Plan& plan) {
  const int leafLog2 = plan.leaf == 8 ? 3 : 2;
  if (plan.log2n <= leafLog2) return;
  int blockLog2 = leafLog2;
  while (blockLog2 + 2 <= std::min(plan.log2n, kBlockLog2)) blockLog2 += 2;
  const size_t blockSize = size_t{1} << blockLog2;
  const size_t blockCount = plan.n >> blockLog2;
  for (size_t c = 0; c < blockCount; ++c) {
    float* block = out + 2 * c * blockSize;
    for (int log2m = leafLog2 + 2; log2m <= blockLog2; log2m += 2) {
      const size_t m = size_t{1} << log2m;
      for (size_t start = 0; start < blockSize; start += m) radix4Stage(block + 2 * start, log2m, plan);
    }
    int log2m = blockLog2;
    for (size_t index = c; index % 4 == 3 && log2m < plan.log2n; index /= 4) {
      log2m += 2;
      const size_t start = (c + 1) * blockSize - (size_t{1} << log2m);
      radix4Stage(out + 2 * start, log2m, plan);
    }
  }
}

struct Job {
  const float* in;
  float* out;
  bool complexInput;
  bool inverse;
  bool overlapping;
  Plan plan;
};

// When input and output share memory: move the input into place (expanding real values),
// then reverse in place.
void moveInputInPlace(const Job& job) {
  const size_t n = job.plan.n;
  float* out = job.out;
  if (job.complexInput) {
    std::memmove(out, job.in, 2 * n * sizeof(float));
    if (job.inverse)
      for (size_t i = 0; i < n; ++i) std::swap(out[2 * i], out[2 * i + 1]);
  } else {
    // Expanding value i into pair i must not overwrite a value not read yet: below the
    // input's offset go upward, above it downward.
    const ptrdiff_t offset = job.in - out;
    const size_t upward = offset > 0 ? std::min(static_cast<size_t>(offset), n) : 0;
    const int re = job.inverse ? 1 : 0;
    for (size_t i = 0; i < upward; ++i) {
      const float x = job.in[i];
      out[2 * i + re] = x;
      out[2 * i + 1 - re] = 0.f;
    }
    for (size_t i = n; i-- > upward;) {
      const float x = job.in[i];
      out[2 * i + re] = x;
      out[2 * i + 1 - re] = 0.f;
    }
  }
  for (size_t i = 0; i < n; ++i) {
    const size_t r = reverseBits(i, job.plan.log2n);
    if (r > i) {
      std::swap(out[2 * i], out[2 * r]);
      std::swap(out[2 * i + 1], out[2 * r + 1]);
    }
  }
  for (size_t i = 0; i < n; i += job.plan.leaf) leafButterflies(out + 2 * i, job.plan.leaf);
}

KFFT_INLINE void runJob(const Job& job) {
  const Plan& plan = job.plan;
  if (job.overlapping) {
    moveInputInPlace(job);
  } else if (job.complexInput) {
    if (job.inverse)
      copyReversedWithLeaf<InputKind::ComplexSwapped>(job.in, job.out, plan);
    else
      copyReversedWithLeaf<InputKind::Complex>(job.in, job.out, plan);
  } else {
    if (job.inverse)
      copyReversedWithLeaf<InputKind::RealSwapped>(job.in, job.out, plan);
    else
      copyReversedWithLeaf<InputKind::Real>(job.in, job.out, plan);
  }
  radix4Stages(job.out, plan);
  if (job.inverse) {
    // Swap back and divide by n (a power of two, so the scaling itself is exact).
    const float scale = 1.f / static_cast<float>(plan.n);
    float* out = job.out;
    size_t i = 0;
    if (plan.n >= kVecPoints) {
      const Vec s{scale, scale, scale, scale, scale, scale, scale, scale};
      for (; i + kVecPoints <= plan.n; i += kVecPoints)
        storeVec(out + 2 * i, swapPairs(loadVec(out + 2 * i)) * s);
    }
    for (; i < plan.n; ++i) {
      const float re = out[2 * i];
      out[2 * i] = out[2 * i + 1] * scale;
      out[2 * i + 1] = re * scale;
    }
  }
}

void runPortable(const Job& job) { runJob(job); }

#if defined(__x86_64__) && defined(__GNUC__) && !defined(KEDRUS_FFT_PLAIN)
// The same code compiled for AVX2 and FMA, chosen at run time on processors that have them.
[[gnu::target("avx2,fma")]] void runAvx2(const Job& job) { runJob(job); }

bool cpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

void run(const Job& job) {
  static const bool avx2 = cpuHasAvx2();
  if (avx2)
    runAvx2(job);
  else
    runPortable(job);
}
#else
void run(const Job& job) { runPortable(job); }
#endif

}  // namespace

int FFT(const float* input, std::ptrdiff_t n, bool complexInput, FftPoint* output, bool inverse) {
  if (input == nullptr || output == nullptr || n < 2 || (n & (n - 1)) != 0) return 0;
  Job job;
  job.in = input;
  job.out = reinterpret_cast<float*>(output);
  job.complexInput = complexInput;
  job.inverse = inverse;
  Plan& plan = job.plan;
  plan.n = static_cast<size_t>(n);
  while ((size_t{1} << plan.log2n) < plan.n) ++plan.log2n;
  plan.leaf = plan.log2n <= 2 ? plan.n : (plan.log2n % 2 == 0 ? 4 : 8);

  const size_t inFloats = complexInput ? 2 * plan.n : plan.n;
  const auto inBegin = reinterpret_cast<std::uintptr_t>(input);
  const auto outBegin = reinterpret_cast<std::uintptr_t>(job.out);
  job.overlapping = inBegin < outBegin + 2 * plan.n * sizeof(float) &&
                    outBegin < inBegin + inFloats * sizeof(float);

  // Fetch every table before touching the output, so a failed allocation leaves it as it was.
  try {
    const int leafLog2 = plan.leaf == 8 ? 3 : 2;
    for (int log2m = leafLog2 + 2; log2m <= plan.log2n; log2m += 2)
      if (log2m <= kCachedLog2Max) plan.twiddles[log2m] = cachedTwiddles(log2m);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  run(job);
  return 1;
}

}  // namespace spc
