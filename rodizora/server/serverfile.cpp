#include "rodizora/server/serverfile.h"

#include <algorithm>

#include "platform/base/text.h"

std::string DecodeSixBitText(const unsigned char* bytes, std::size_t groups) {
  std::string text;
  text.reserve(groups * 4);
  for (std::size_t g = 0; g < groups; ++g) {
    const std::uint32_t word = std::uint32_t(bytes[3 * g]) << 16 | std::uint32_t(bytes[3 * g + 1]) << 8 | bytes[3 * g + 2];
    for (int shift = 18; shift >= 0; shift -= 6) {
      const unsigned v = (word >> shift) & 0x3F;
      const unsigned c = v < 31 ? v + 64 : v;
      text.push_back(c == 64 ? ' ' : static_cast<char>(c));
    }
  }
  return text;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || u < 32 || u == 127) return false;
  }
  return true;
}

namespace {

std::string_view withoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string ServerFileName(const unsigned char (&header)[kServerFileHeaderSize]) {
  const std::string name = DecodeSixBitText(header + 3, 2);
  const std::string extension = DecodeSixBitText(header + 9, 1);
  std::string file(withoutTrailingBlanks(name));
  if (file.empty()) return {};
  const std::string_view ext = withoutTrailingBlanks(extension);
  if (!ext.empty()) file.append(".").append(ext);
  return IsPlainFileName(file) ? file : std::string();
}

bool ReadPortNumber(std::u16string_view text, std::int32_t* number) {
  std::size_t i = 0;
  while (i < text.size() && plat::isSpace(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == u'-';
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  std::int32_t value = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits)
    value = std::min<std::int32_t>(value * 10 + (text[i] - u'0'), 1000000);
  if (!digits) return false;
  *number = negative ? -value : value;
  return true;
}
