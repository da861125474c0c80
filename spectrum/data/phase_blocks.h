#pragma once
// Phase angles along a run of points and their cosines and sines, for the loops that turn many
// points at once (display values, applying a phase, automatic phase correction) without a sine
// and a cosine per point.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "spectrum/data/spcprocess.h"

// The loops over many points are built twice on x86-64, for the processors with AVX2 and FMA
// and for the rest, and the right one is chosen when the program loads. Not under
// ThreadSanitizer: the choosing runs while the program is being loaded, before its runtime is up.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(KEDRUS_VECTOR_PLAIN) && \
    !defined(__SANITIZE_THREAD__)
#define KEDRUS_VECTOR_CLONES [[gnu::target_clones("arch=x86-64-v3", "default")]]
#define KEDRUS_VECTOR_INLINE [[gnu::always_inline]] inline
// A lambda that such a loop calls, written after its parameter list: always inlined, since a
// lambda left out of line is built for the plain processor only, whichever clone calls it.
#define KEDRUS_VECTOR_LAMBDA __attribute__((always_inline))
#else
#define KEDRUS_VECTOR_CLONES
#define KEDRUS_VECTOR_INLINE inline
#define KEDRUS_VECTOR_LAMBDA
#endif

namespace spc {

// The phase of point i: ((i - pivot) * ph1 / n + ph0) degrees, in radians. With n 0 there is
// no scale for the first order: only ph0 applies.
struct PhaseLine {
  double ph0 = 0.0;
  double ph1 = 0.0;
  std::int64_t pivot = 0;
  double n = 0.0;

  double At(std::int64_t i) const {
    const double firstOrder = n > 0.0 ? static_cast<double>(i - pivot) * ph1 / n : 0.0;
    return (firstOrder + ph0) * static_cast<double>(kSpcDegToRad);
  }
  // The angle between neighbouring points.
  double Step() const { return n > 0.0 ? ph1 / n * static_cast<double>(kSpcDegToRad) : 0.0; }
};

// Cosines and sines of a phase line, block by block. Each block's first angle gets its own
// cosine and sine; the others are turned from it by the offsets j * step, whose cosines and
// sines are a table made once. No rounding carries from one point to the next, so the error
// stays at a few double roundings however long the run.
class PhaseBlocks {
 public:
  static constexpr std::int64_t kBlock = 256;

  // The table covers the first min(longest, kBlock) offsets. Offsets that are powers of two
  // get their own cosine and sine, every other one is the product of those of its bits: a few
  // roundings at most, and a short run pays for no more than a few sines.
  PhaseBlocks(const PhaseLine& line, std::int64_t longest) : m_line(line) {
    const double step = line.Step();
    m_size = std::clamp<std::int64_t>(longest, 1, kBlock);
    m_cos[0] = 1.0;
    m_sin[0] = 0.0;
    for (std::int64_t bit = 1; bit < m_size; bit *= 2) {
      const double cb = std::cos(static_cast<double>(bit) * step);
      const double sb = std::sin(static_cast<double>(bit) * step);
      for (std::int64_t j = 0; j < bit && bit + j < m_size; ++j) {
        m_cos[bit + j] = m_cos[j] * cb - m_sin[j] * sb;
        m_sin[bit + j] = m_sin[j] * cb + m_cos[j] * sb;
      }
    }
  }

  // Calls body(first, count, c, s) for consecutive blocks of [begin, end) (count at most the
  // table's size), c[j] and s[j] the cosine and sine of the phase at point first + j.
  template <class Body>
  KEDRUS_VECTOR_INLINE void ForEach(std::int64_t begin, std::int64_t end, Body&& body) const {
    alignas(64) double c[kBlock];
    alignas(64) double s[kBlock];
    ForEachStart(begin, end, [&](std::int64_t first, std::int64_t count, double c0, double s0) KEDRUS_VECTOR_LAMBDA {
      for (std::int64_t j = 0; j < count; ++j) Turn(c0, s0, j, &c[j], &s[j]);
      body(first, count, c, s);
    });
  }

  // The same blocks for bodies that turn each point themselves: body(first, count, c0, s0)
  // with the cosine and sine of the block's first angle, to be passed to Turn.
  template <class Body>
  KEDRUS_VECTOR_INLINE void ForEachStart(std::int64_t begin, std::int64_t end, Body&& body) const {
    for (std::int64_t first = begin; first < end; first += m_size) {
      const double a = m_line.At(first);
      body(first, std::min(m_size, end - first), std::cos(a), std::sin(a));
    }
  }

  // The cosine and sine at offset j of a block whose first angle has cosine c0 and sine s0.
  KEDRUS_VECTOR_INLINE void Turn(double c0, double s0, std::int64_t j, double* c, double* s) const {
    *c = c0 * m_cos[j] - s0 * m_sin[j];
    *s = s0 * m_cos[j] + c0 * m_sin[j];
  }

 private:
  PhaseLine m_line;
  std::int64_t m_size = 1;
  alignas(64) double m_cos[kBlock] = {};
  alignas(64) double m_sin[kBlock] = {};
};

// A sum over many terms in independent lanes: term j goes to lane j mod kLanes. The update of
// the lanes is a plain elementwise loop, which pipelines and vectorises whatever the term
// (conditions included); the lanes are added pairwise at the end.
struct LaneSum {
  static constexpr std::int64_t kLanes = 32;
  double lane[kLanes] = {};

  template <class Term>
  KEDRUS_VECTOR_INLINE void Add(std::int64_t count, Term&& term) {
    for (std::int64_t first = 0; first < count; first += kLanes) {
      const std::int64_t n = std::min(kLanes, count - first);
      for (std::int64_t j = 0; j < n; ++j) lane[j] += term(first + j);
    }
  }
  // Two sums over the same terms' inputs in one pass (each input read once).
  template <class TermA, class TermB>
  KEDRUS_VECTOR_INLINE static void AddBoth(LaneSum& a, LaneSum& b, std::int64_t count, TermA&& termA,
                                           TermB&& termB) {
    for (std::int64_t first = 0; first < count; first += kLanes) {
      const std::int64_t n = std::min(kLanes, count - first);
      for (std::int64_t j = 0; j < n; ++j) {
        a.lane[j] += termA(first + j);
        b.lane[j] += termB(first + j);
      }
    }
  }
  double Total() const {
    double t[kLanes];
    std::copy_n(lane, kLanes, t);
    for (std::int64_t width = kLanes / 2; width >= 1; width /= 2)
      for (std::int64_t l = 0; l < width; ++l) t[l] += t[l + width];
    return t[0];
  }
};

}  // namespace spc
