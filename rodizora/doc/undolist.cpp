#include "rodizora/doc/undolist.h"

#include <algorithm>

void CSaUndoList::Push(Snapshot snapshot, int limit) {
  m_snapshots.resize(static_cast<std::size_t>(m_current + 1));
  m_snapshots.push_back(std::move(snapshot));
  const std::size_t keep = static_cast<std::size_t>(std::max(limit, 0)) + 1;
  while (m_snapshots.size() > keep) m_snapshots.pop_front();
  m_current = Size() - 1;
}

void CSaUndoList::SetCurrent(int index) {
  if (index >= 0 && index < Size()) m_current = index;
}

void CSaUndoList::Clear() {
  m_snapshots.clear();
  m_current = -1;
}
