#pragma once
// Fixed-order integer and IEEE fields inside byte buffers. Readers take any byte pointer and
// never assume alignment; the caller has checked that the bytes lie inside its buffer.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace plat {

namespace bytes_detail {

template <class U>
U loadLe(const void* p) {
  unsigned char b[sizeof(U)];
  std::memcpy(b, p, sizeof(U));
  U v = 0;
  for (std::size_t i = sizeof(U); i-- > 0;) v = static_cast<U>(v << 8 | b[i]);
  return v;
}

template <class U>
U loadBe(const void* p) {
  unsigned char b[sizeof(U)];
  std::memcpy(b, p, sizeof(U));
  U v = 0;
  for (std::size_t i = 0; i < sizeof(U); ++i) v = static_cast<U>(v << 8 | b[i]);
  return v;
}

template <class U>
void storeLe(void* p, U v) {
  unsigned char b[sizeof(U)];
  for (std::size_t i = 0; i < sizeof(U); ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
  std::memcpy(p, b, sizeof(U));
}

}  // namespace bytes_detail

inline std::uint16_t loadLe16(const void* p) { return bytes_detail::loadLe<std::uint16_t>(p); }
inline std::uint32_t loadLe32(const void* p) { return bytes_detail::loadLe<std::uint32_t>(p); }
inline std::uint64_t loadLe64(const void* p) { return bytes_detail::loadLe<std::uint64_t>(p); }
inline std::uint16_t loadBe16(const void* p) { return bytes_detail::loadBe<std::uint16_t>(p); }
inline std::uint32_t loadBe32(const void* p) { return bytes_detail::loadBe<std::uint32_t>(p); }
inline std::uint64_t loadBe64(const void* p) { return bytes_detail::loadBe<std::uint64_t>(p); }

inline float loadLeF32(const void* p) { return std::bit_cast<float>(loadLe32(p)); }
inline double loadLeF64(const void* p) { return std::bit_cast<double>(loadLe64(p)); }
inline float loadBeF32(const void* p) { return std::bit_cast<float>(loadBe32(p)); }
inline double loadBeF64(const void* p) { return std::bit_cast<double>(loadBe64(p)); }

inline void storeLe16(void* p, std::uint16_t v) { bytes_detail::storeLe(p, v); }
inline void storeLe32(void* p, std::uint32_t v) { bytes_detail::storeLe(p, v); }
inline void storeLe64(void* p, std::uint64_t v) { bytes_detail::storeLe(p, v); }
inline void storeLeF32(void* p, float v) { storeLe32(p, std::bit_cast<std::uint32_t>(v)); }
inline void storeLeF64(void* p, double v) { storeLe64(p, std::bit_cast<std::uint64_t>(v)); }

inline void appendLe32(std::string& out, std::uint32_t v) {
  char b[4];
  storeLe32(b, v);
  out.append(b, sizeof b);
}
inline void appendLeF32(std::string& out, float v) { appendLe32(out, std::bit_cast<std::uint32_t>(v)); }
inline void appendLeF64(std::string& out, double v) {
  char b[8];
  storeLeF64(b, v);
  out.append(b, sizeof b);
}

}  // namespace plat
