#include "rodizora/doc/undolist.h"

#include <algorithm>
#include <cstring>

namespace {

// The unit in which a snapshot is compared with the one before it.
constexpr std::size_t kWindow = std::size_t(1) << 20;

}  // namespace

CSaSnapshot::CSaSnapshot(std::vector<std::uint8_t> bytes) : m_size(bytes.size()) {
  if (bytes.empty()) return;
  auto block = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
  m_pieces.push_back({block, 0, m_size});
}

void CSaSnapshot::AppendRange(std::size_t at, std::size_t size, std::vector<Piece>* out) const {
  std::size_t start = 0;
  for (const Piece& p : m_pieces) {
    const std::size_t end = start + p.size;
    if (size > 0 && at < end && at + size > start) {
      const std::size_t from = std::max(at, start), to = std::min(at + size, end);
      Piece part{p.block, p.offset + (from - start), to - from};
      // A piece that goes on where the last one ends is the last one made longer.
      Piece* last = out->empty() ? nullptr : &out->back();
      if (last && last->block == part.block && last->offset + last->size == part.offset) last->size += part.size;
      else out->push_back(part);
    }
    start = end;
  }
}

bool CSaSnapshot::SameAs(std::size_t at, const std::uint8_t* bytes, std::size_t size) const {
  if (at + size > m_size) return false;
  std::vector<Piece> range;
  AppendRange(at, size, &range);
  for (const Piece& p : range) {
    if (std::memcmp(p.block->data() + p.offset, bytes, p.size) != 0) return false;
    bytes += p.size;
  }
  return true;
}

CSaSnapshot CSaSnapshot::Follow(std::vector<std::uint8_t> next) const {
  CSaSnapshot out;
  out.m_size = next.size();
  const std::size_t windows = (next.size() + kWindow - 1) / kWindow;
  std::vector<char> same(windows);
  std::size_t own = 0;
  for (std::size_t w = 0; w < windows; ++w) {
    const std::size_t at = w * kWindow, size = std::min(kWindow, next.size() - at);
    same[w] = SameAs(at, next.data() + at, size);
    if (!same[w]) own += size;
  }
  // The windows that differ are copied into one block of their own.
  auto block = std::make_shared<std::vector<std::uint8_t>>();
  block->reserve(own);
  std::vector<std::size_t> ownAt(windows);
  for (std::size_t w = 0; w < windows; ++w) {
    if (same[w]) continue;
    const std::size_t at = w * kWindow, size = std::min(kWindow, next.size() - at);
    ownAt[w] = block->size();
    block->insert(block->end(), next.begin() + static_cast<std::ptrdiff_t>(at),
                  next.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  const std::shared_ptr<const std::vector<std::uint8_t>> owned = std::move(block);
  for (std::size_t w = 0; w < windows; ++w) {
    const std::size_t at = w * kWindow, size = std::min(kWindow, next.size() - at);
    if (same[w]) {
      AppendRange(at, size, &out.m_pieces);
      continue;
    }
    Piece part{owned, ownAt[w], size};
    Piece* last = out.m_pieces.empty() ? nullptr : &out.m_pieces.back();
    if (last && last->block == owned && last->offset + last->size == part.offset) last->size += size;
    else out.m_pieces.push_back(part);
  }
  return out;
}

std::vector<std::uint8_t> CSaSnapshot::Bytes() const {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(m_size);
  for (const Piece& p : m_pieces)
    bytes.insert(bytes.end(), p.block->begin() + static_cast<std::ptrdiff_t>(p.offset),
                 p.block->begin() + static_cast<std::ptrdiff_t>(p.offset + p.size));
  return bytes;
}

std::size_t CSaSnapshot::BytesSharedWith(const CSaSnapshot& other) const {
  std::size_t shared = 0;
  for (const Piece& p : m_pieces) {
    const bool held = std::any_of(other.m_pieces.begin(), other.m_pieces.end(),
                                  [&](const Piece& q) { return q.block == p.block; });
    if (held) shared += p.size;
  }
  return shared;
}

void CSaSnapshot::Truncate(std::size_t size) {
  if (size >= m_size) return;
  std::vector<Piece> kept;
  AppendRange(0, size, &kept);
  m_pieces = std::move(kept);
  m_size = size;
}

void CSaUndoList::Push(std::vector<std::uint8_t> bytes, int limit) {
  // The new state follows the current one, and shares with it what it left as it was.
  Snapshot snapshot = m_current >= 0 ? m_snapshots[static_cast<std::size_t>(m_current)].Follow(std::move(bytes))
                                     : Snapshot(std::move(bytes));
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
