#pragma once
// CSaUndoList: a document's undo snapshots, each a whole document archive, and which of them is
// the document's current state. It holds the current state and up to `limit` earlier ones: a
// new snapshot drops every one after the current, and the oldest beyond the limit.
#include <cstdint>
#include <deque>
#include <vector>

class CSaUndoList {
 public:
  using Snapshot = std::vector<std::uint8_t>;

  // Appends a snapshot after the current one, which it becomes; a limit below 0 counts as 0.
  void Push(Snapshot snapshot, int limit);
  bool CanUndo() const { return m_current > 0; }
  bool CanRedo() const { return m_current >= 0 && m_current + 1 < Size(); }
  // -1 when empty.
  int Current() const { return m_current; }
  int Size() const { return static_cast<int>(m_snapshots.size()); }
  const Snapshot& At(int index) const { return m_snapshots.at(static_cast<std::size_t>(index)); }
  Snapshot& At(int index) { return m_snapshots.at(static_cast<std::size_t>(index)); }
  // Moves the current index (kept inside the list).
  void SetCurrent(int index);
  void Clear();

 private:
  std::deque<Snapshot> m_snapshots;
  int m_current = -1;
};
