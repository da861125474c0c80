#pragma once
// Display values and powers of a rising run of point indexes, read from the processing object a
// block at a time into buffers the caller keeps (so a redraw allocates nothing once they have
// grown). Indexes outside the current data read 0.
#include <cstdint>
#include <vector>

class CSpcProcess;

class PointStream {
 public:
  // Blocks hold blockPoints points at the least (more keeps a second walk over the same
  // points from reading them again), 4096 at the least.
  PointStream(const CSpcProcess& process, std::vector<float>& values, std::vector<float>& powers,
              std::int64_t blockPoints = 0);

  std::int64_t PointCount() const { return m_count; }
  bool Holds(std::int64_t i) const { return i >= 0 && i < m_count; }
  float Value(std::int64_t i) { return Holds(i) ? m_values[Slot(i)] : 0.0f; }
  float Power(std::int64_t i) { return Holds(i) ? m_powers[Slot(i)] : 0.0f; }
  // The values and powers of the points from i (which the data must hold) on, as far as the
  // block read holds them; answers how many (at least 1).
  std::int64_t Run(std::int64_t i, const float** values, const float** powers) {
    const std::size_t slot = Slot(i);
    *values = m_values.data() + slot;
    *powers = m_powers.data() + slot;
    return m_first + m_filled - i;
  }

 private:
  std::size_t Slot(std::int64_t i) {
    if (i < m_first || i >= m_first + m_filled) Load(i);
    return static_cast<std::size_t>(i - m_first);
  }
  void Load(std::int64_t i);

  const CSpcProcess& m_process;
  std::vector<float>& m_values;
  std::vector<float>& m_powers;
  std::int64_t m_count;
  std::int64_t m_block;
  std::int64_t m_first = 0;
  std::int64_t m_filled = 0;
};
