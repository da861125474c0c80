#include "spectrum/control/plot/pointstream.h"

#include <algorithm>

#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::int64_t kBlockPoints = 4096;

}  // namespace

PointStream::PointStream(const CSpcProcess& process, std::vector<float>& values, std::vector<float>& powers)
    : m_process(process), m_values(values), m_powers(powers), m_count(process.m_pCur ? std::max(process.m_nCur, 0) : 0) {
  m_values.resize(kBlockPoints);
  m_powers.resize(kBlockPoints);
}

void PointStream::Load(std::int64_t i) {
  m_first = i;
  m_filled = std::min(kBlockPoints, m_count - i);
  m_process.GetDisplayValues(static_cast<std::int32_t>(i), static_cast<std::int32_t>(m_filled), m_values.data(),
                             m_powers.data());
}
