#include "spectrum/control/plot/pointstream.h"

#include <algorithm>
#include <cstring>

#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::int64_t kBlockPoints = 4096;

}  // namespace

PointStream::PointStream(const CSpcProcess& process, PointBuffers& buffers, std::int64_t keepFirst,
                         std::int64_t keepPoints)
    : m_process(process),
      m_buffers(buffers),
      m_count(process.m_pCur ? std::max(process.m_nCur, 0) : 0),
      m_keepFirst(std::clamp<std::int64_t>(keepFirst, 0, m_count)),
      m_keep(std::clamp<std::int64_t>(keepPoints, 0, m_count - m_keepFirst)) {
  m_buffers.values.resize(kBlockPoints);
  m_buffers.powers.resize(kBlockPoints);
  m_buffers.kept.resize(static_cast<std::size_t>(m_keep));
}

void PointStream::Load(std::int64_t i) {
  m_first = i;
  m_filled = std::min(kBlockPoints, m_count - i);
  m_process.GetDisplayValues(static_cast<std::int32_t>(i), static_cast<std::int32_t>(m_filled), m_buffers.values.data(),
                             m_buffers.powers.data());
  // The first walk reads the points in rising order: the kept values grow on from where they end.
  const std::int64_t keptEnd = m_keepFirst + m_keptFilled;
  if (m_second || i > keptEnd || i + m_filled <= keptEnd) return;
  const std::int64_t to = std::min(i + m_filled, m_keepFirst + m_keep);
  if (to <= keptEnd) return;
  std::memcpy(m_buffers.kept.data() + (keptEnd - m_keepFirst), m_buffers.values.data() + (keptEnd - i),
              static_cast<std::size_t>(to - keptEnd) * sizeof(float));
  m_keptFilled = to - m_keepFirst;
}
