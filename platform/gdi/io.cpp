#include <cstring>

#include "platform/base/bytes.h"
#include "platform/base/file.h"
#include "platform/gdi/internal.h"

namespace gdi::detail {

std::span<const std::uint8_t> Reader::take(std::size_t n) {
  if (failed_ || n > bytes_.size() - pos_) {
    failed_ = true;
    return {};
  }
  auto out = bytes_.subspan(pos_, n);
  pos_ += n;
  return out;
}

std::uint8_t Reader::u8() {
  auto b = take(1);
  return b.empty() ? 0 : b[0];
}
std::uint16_t Reader::u16() {
  auto b = take(2);
  return b.empty() ? 0 : plat::loadLe16(b.data());
}
std::uint32_t Reader::u32() {
  auto b = take(4);
  return b.empty() ? 0 : plat::loadLe32(b.data());
}
float Reader::f32() {
  auto b = take(4);
  return b.empty() ? 0.0f : plat::loadLeF32(b.data());
}

void Writer::u16(std::uint16_t v) {
  out_.push_back(static_cast<std::uint8_t>(v));
  out_.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Writer::u32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Writer::f32(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, 4);
  u32(bits);
}
void Writer::patch32(std::size_t at, std::uint32_t v) {
  if (at + 4 <= out_.size()) plat::storeLe32(out_.data() + at, v);
}

bool SaveFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes) {
  return plat::writeFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace gdi::detail
