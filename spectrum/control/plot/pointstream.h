#pragma once
// Display values and powers of a rising run of point indexes, read from the processing object a
// block at a time into buffers the caller keeps (so a redraw allocates nothing once they have
// grown). Indexes outside the current data read 0.
//
// A drawing walks the visible points twice: once for the scale (values and powers), once for the
// line (values only). The first walk keeps the values of up to keepPoints points from keepFirst
// on, and after SecondWalk the stream hands those out again instead of computing them anew.
#include <cstdint>
#include <vector>

class CSpcProcess;

// The buffers a stream reads into.
struct PointBuffers {
  std::vector<float> kept;    // the values kept for the second walk
  std::vector<float> values;  // the block read last
  std::vector<float> powers;
};

class PointStream {
 public:
  PointStream(const CSpcProcess& process, PointBuffers& buffers, std::int64_t keepFirst = 0, std::int64_t keepPoints = 0);

  std::int64_t PointCount() const { return m_count; }
  bool Holds(std::int64_t i) const { return i >= 0 && i < m_count; }
  float Value(std::int64_t i) {
    if (!Holds(i)) return 0.0f;
    if (m_second && Kept(i)) return m_buffers.kept[static_cast<std::size_t>(i - m_keepFirst)];
    return m_buffers.values[Slot(i)];
  }
  // First walk only.
  float Power(std::int64_t i) { return Holds(i) ? m_buffers.powers[Slot(i)] : 0.0f; }
  // The values and powers (null in the second walk) of the points from i (which the data must
  // hold) on, as far as the block read holds them; answers how many (at least 1).
  std::int64_t Run(std::int64_t i, const float** values, const float** powers) {
    if (m_second && Kept(i)) {
      *values = m_buffers.kept.data() + (i - m_keepFirst);
      *powers = nullptr;
      return m_keepFirst + m_keptFilled - i;
    }
    const std::size_t slot = Slot(i);
    *values = m_buffers.values.data() + slot;
    *powers = m_buffers.powers.data() + slot;
    return m_first + m_filled - i;
  }
  // From here on the values the first walk kept are read from where it kept them.
  void SecondWalk() { m_second = true; }

 private:
  bool Kept(std::int64_t i) const { return i >= m_keepFirst && i < m_keepFirst + m_keptFilled; }
  std::size_t Slot(std::int64_t i) {
    if (i < m_first || i >= m_first + m_filled) Load(i);
    return static_cast<std::size_t>(i - m_first);
  }
  void Load(std::int64_t i);

  const CSpcProcess& m_process;
  PointBuffers& m_buffers;
  std::int64_t m_count;
  std::int64_t m_first = 0;
  std::int64_t m_filled = 0;
  std::int64_t m_keepFirst;
  std::int64_t m_keep;
  std::int64_t m_keptFilled = 0;  // the kept points read so far, from keepFirst on
  bool m_second = false;
};
