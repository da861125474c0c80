#include "spectrum/control/plot/pointstream.h"

#include <algorithm>

#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::int64_t kBlockPoints = 4096;

}  // namespace

PointStream::PointStream(const CSpcProcess& process, std::vector<float>& values, std::vector<float>& powers,
                         std::int64_t blockPoints)
    : m_process(process),
      m_values(values),
      m_powers(powers),
      m_count(process.m_pCur ? std::max(process.m_nCur, 0) : 0),
      m_block(std::clamp(blockPoints, kBlockPoints, std::max(kBlockPoints, m_count))) {
  m_values.resize(static_cast<std::size_t>(m_block));
  m_powers.resize(static_cast<std::size_t>(m_block));
}

void PointStream::Load(std::int64_t i) {
  m_first = i;
  m_filled = std::min(m_block, m_count - i);
  m_process.GetDisplayValues(static_cast<std::int32_t>(i), static_cast<std::int32_t>(m_filled), m_values.data(),
                             m_powers.data());
}
