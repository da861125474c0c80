#pragma once
// Display values and powers of a rising run of point indexes, read from the processing object a
// block at a time into buffers the caller keeps (so a redraw allocates nothing once they have
// grown). Indexes outside the current data read 0.
#include <cstdint>
#include <vector>

class CSpcProcess;

class PointStream {
 public:
  PointStream(const CSpcProcess& process, std::vector<float>& values, std::vector<float>& powers);

  std::int64_t PointCount() const { return m_count; }
  bool Holds(std::int64_t i) const { return i >= 0 && i < m_count; }
  float Value(std::int64_t i) { return Holds(i) ? m_values[Slot(i)] : 0.0f; }
  float Power(std::int64_t i) { return Holds(i) ? m_powers[Slot(i)] : 0.0f; }

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
  std::int64_t m_first = 0;
  std::int64_t m_filled = 0;
};
