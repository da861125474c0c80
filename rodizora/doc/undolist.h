#pragma once
// CSaUndoList: a document's undo snapshots, each a whole document archive, and which of them is
// the document's current state. It holds the current state and up to `limit` earlier ones: a
// new snapshot drops every one after the current, and the oldest beyond the limit.
//
// A snapshot shares with the one it follows every megabyte that is the same at the same place
// (a spectrum's points that a drag or a table edit left as they were): its bytes are pieces of
// blocks that several snapshots hold.
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class CSaSnapshot {
 public:
  CSaSnapshot() = default;
  // One piece: the bytes themselves.
  explicit CSaSnapshot(std::vector<std::uint8_t> bytes);
  // A snapshot of next that takes the megabytes it has in common with this one from here.
  CSaSnapshot Follow(std::vector<std::uint8_t> next) const;

  std::size_t Size() const { return m_size; }
  std::vector<std::uint8_t> Bytes() const;
  // How many of its bytes lie in blocks that other holds too.
  std::size_t BytesSharedWith(const CSaSnapshot& other) const;
  // Cuts the snapshot short (what a damaged one looks like).
  void Truncate(std::size_t size);

 private:
  struct Piece {
    std::shared_ptr<const std::vector<std::uint8_t>> block;
    std::size_t offset = 0;
    std::size_t size = 0;
  };
  // The pieces that hold bytes [at, at + size), appended to out.
  void AppendRange(std::size_t at, std::size_t size, std::vector<Piece>* out) const;
  bool SameAs(std::size_t at, const std::uint8_t* bytes, std::size_t size) const;

  std::vector<Piece> m_pieces;
  std::size_t m_size = 0;
};

class CSaUndoList {
 public:
  using Snapshot = CSaSnapshot;

  // Appends a snapshot after the current one, which it becomes; a limit below 0 counts as 0.
  void Push(std::vector<std::uint8_t> bytes, int limit);
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
