#pragma once
// ByteCursor: reads fixed-order fields from a byte view, one after another.
//
// Every read is checked against the end of the view. A read that does not fit fails: the cursor
// keeps the first failure (where the read started and how many bytes it wanted), gives 0 (or an
// empty view) for it and for every read after it, and never moves again. A reader can therefore
// read a whole header field by field, as the format describes it, and look at the cursor once at
// the end; no offset is ever computed by hand and no bounds check can be forgotten.
//
// Offsets count from the start of the view the first cursor was made on; a cursor made by sub()
// reads a window of that view and reports its offsets in the same terms.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/base/bytes.h"

namespace plat {

class ByteCursor {
 public:
  ByteCursor() = default;
  explicit ByteCursor(std::string_view bytes) : data_(bytes.data()), end_(bytes.size()) {}
  ByteCursor(const void* data, std::size_t size) : data_(static_cast<const char*>(data)), end_(size) {}

  std::size_t offset() const { return pos_; }
  // The offset where the cursor's window ends.
  std::size_t end() const { return end_; }
  std::size_t remaining() const { return end_ - pos_; }
  // True when n more bytes follow the position; nothing is read and nothing fails.
  bool has(std::uint64_t n) const { return !failed_ && n <= remaining(); }
  // The next n bytes without moving (empty when they are not all there); nothing fails.
  std::string_view peek(std::uint64_t n) const {
    return has(n) ? std::string_view(data_ + pos_, static_cast<std::size_t>(n)) : std::string_view();
  }

  // True while no read has failed.
  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  // The first failed read: the offset it started at and the number of bytes it wanted.
  std::size_t failedAt() const { return failedAt_; }
  std::uint64_t failedWant() const { return failedWant_; }

  // A new cursor on the same window, n bytes from its start: how a reader reaches a field of a
  // header or record at its offset. It fails at once when n lies outside the window; this cursor
  // and its failure stay as they are.
  ByteCursor field(std::uint64_t n) const {
    ByteCursor at = *this;
    at.failed_ = false;
    at.pos_ = begin_;
    at.seek(n <= end_ - begin_ ? begin_ + n : end_ + 1);
    return at;
  }
  // Moves to offset (within the window), or n bytes on; a place outside the window fails.
  bool seek(std::uint64_t offset);
  bool skip(std::uint64_t n) { return take(n) != nullptr; }

  std::uint8_t u8() { return load<std::uint8_t, false>(); }
  std::uint16_t u16le() { return load<std::uint16_t, false>(); }
  std::uint16_t u16be() { return load<std::uint16_t, true>(); }
  std::uint32_t u32le() { return load<std::uint32_t, false>(); }
  std::uint32_t u32be() { return load<std::uint32_t, true>(); }
  std::uint64_t u64le() { return load<std::uint64_t, false>(); }
  std::uint64_t u64be() { return load<std::uint64_t, true>(); }
  std::int16_t i16le() { return static_cast<std::int16_t>(u16le()); }
  std::int16_t i16be() { return static_cast<std::int16_t>(u16be()); }
  std::int32_t i32le() { return static_cast<std::int32_t>(u32le()); }
  std::int32_t i32be() { return static_cast<std::int32_t>(u32be()); }
  // A 24-bit word, most significant byte first.
  std::uint32_t u24be();
  float f32le() { return std::bit_cast<float>(u32le()); }
  float f32be() { return std::bit_cast<float>(u32be()); }
  double f64le() { return std::bit_cast<double>(u64le()); }
  double f64be() { return std::bit_cast<double>(u64be()); }

  // The next n bytes; empty when they are not all there.
  std::string_view bytes(std::uint64_t n);
  // A text field of n bytes: its text up to the first 0 byte (all of it when it has none).
  std::string_view text(std::uint64_t n);
  // A cursor over the next n bytes, which this one moves past; when they are not all there both
  // fail (the new cursor is empty and failed at once).
  ByteCursor sub(std::uint64_t n);

 private:
  // The next n bytes, or nullptr (and the failure noted) when they do not fit.
  const char* take(std::uint64_t n);
  void fail(std::uint64_t want);

  template <class U, bool BigEndian>
  U load() {
    const char* p = take(sizeof(U));
    if (!p) return 0;
    if constexpr (sizeof(U) == 1) {
      return static_cast<U>(static_cast<unsigned char>(*p));
    } else {
      return BigEndian ? bytes_detail::loadBe<U>(p) : bytes_detail::loadLe<U>(p);
    }
  }

  const char* data_ = nullptr;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::size_t pos_ = 0;
  bool failed_ = false;
  std::size_t failedAt_ = 0;
  std::uint64_t failedWant_ = 0;
};

inline const char* ByteCursor::take(std::uint64_t n) {
  if (failed_ || n > remaining()) {
    fail(n);
    return nullptr;
  }
  const char* p = data_ + pos_;
  pos_ += static_cast<std::size_t>(n);
  return p;
}

inline void ByteCursor::fail(std::uint64_t want) {
  if (failed_) return;
  failed_ = true;
  failedAt_ = pos_;
  failedWant_ = want;
}

inline bool ByteCursor::seek(std::uint64_t offset) {
  if (failed_ || offset < begin_ || offset > end_) {
    // Reported as a read of the bytes up to the place asked for.
    fail(offset > pos_ ? offset - pos_ : 0);
    return false;
  }
  pos_ = static_cast<std::size_t>(offset);
  return true;
}

inline std::uint32_t ByteCursor::u24be() {
  const char* p = take(3);
  if (!p) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return std::uint32_t(b[0]) << 16 | std::uint32_t(b[1]) << 8 | b[2];
}

inline std::string_view ByteCursor::bytes(std::uint64_t n) {
  const char* p = take(n);
  return p ? std::string_view(p, static_cast<std::size_t>(n)) : std::string_view();
}

inline std::string_view ByteCursor::text(std::uint64_t n) {
  const std::string_view field = bytes(n);
  return field.substr(0, field.find('\0'));
}

inline ByteCursor ByteCursor::sub(std::uint64_t n) {
  ByteCursor window = *this;
  if (!take(n)) {
    window.failed_ = false;
    window.fail(n);
    window.end_ = window.pos_;
    return window;
  }
  window.begin_ = window.pos_;
  window.end_ = pos_;
  return window;
}

}  // namespace plat
