#pragma once
// What the plot reads of the spectrum record through the processing object, each read
// bounds-checked: the kind, the current mass scan and the number of points an index may name.
#include <cstdint>

#include "spectrum/data/spcprocess.h"

constexpr std::int32_t kPlotKindMass = 1;

inline bool IsMassKind(const CSpcProcess* process) {
  return process && process->m_pData && process->m_pData->nKind == kPlotKindMass;
}

// The current scan of a mass record, or null.
inline const CMassScan* CurrentMassScan(const CSpcProcess* process) {
  if (!process || !process->m_pData) return nullptr;
  const auto& scans = process->m_pData->scans;
  if (process->m_nScan < 0 || static_cast<std::size_t>(process->m_nScan) >= scans.size()) return nullptr;
  return &scans[static_cast<std::size_t>(process->m_nScan)];
}

// How many points an index of a peak, an integral end or a text anchor may name: the current
// scan's peaks for MASS, the current points otherwise.
inline std::int64_t IndexablePoints(const CSpcProcess* process) {
  if (IsMassKind(process)) {
    const CMassScan* scan = CurrentMassScan(process);
    return scan ? static_cast<std::int64_t>(scan->peaks.size()) : 0;
  }
  return process && process->m_pCur ? process->m_nCur : 0;
}
