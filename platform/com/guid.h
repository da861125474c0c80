#pragma once
// GUIDs and their text form.
//
// The text form is the registry's: 38 characters, braces, upper-case hexadecimal digits in the
// groups 8-4-4-4-12 ("{6B29FC40-CA47-1067-B31D-00DD010662DA}"). The first three groups are
// data1, data2 and data3 as numbers; the last two spell data4's eight bytes in order. Reading
// takes either letter case and nothing else: no missing braces, no blanks, no other lengths.
#include <stdexcept>
#include <string_view>

#include "platform/base/types.h"
#include "platform/oleauto/oleauto.h"

namespace plat::ole {

inline constexpr std::size_t kGuidTextLength = 38;

namespace detail {

constexpr int hexValue(char32_t c) {
  if (c >= '0' && c <= '9') return int(c - '0');
  if (c >= 'a' && c <= 'f') return int(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return int(c - 'A' + 10);
  return -1;
}

template <class Char>
constexpr bool parseGuid(std::basic_string_view<Char> text, Guid* out) {
  if (text.size() != kGuidTextLength || text.front() != '{' || text.back() != '}') return false;
  // Positions of the dashes inside the braces; every other character is a hex digit.
  std::uint8_t bytes[16] = {};
  std::size_t nibble = 0;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash) {
      if (text[i] != '-') return false;
      continue;
    }
    const int v = hexValue(static_cast<char32_t>(text[i]));
    if (v < 0) return false;
    bytes[nibble / 2] = static_cast<std::uint8_t>(bytes[nibble / 2] << 4 | v);
    ++nibble;
  }
  Guid g;
  g.data1 = std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 | std::uint32_t(bytes[2]) << 8 | bytes[3];
  g.data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
  g.data3 = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
  *out = g;
  return true;
}

}  // namespace detail

// A GUID written as its text form, checked when the program is compiled:
//   inline constexpr Guid CLSID_Example = guid("{6B29FC40-CA47-1067-B31D-00DD010662DA}");
consteval Guid guid(std::string_view text) {
  Guid g;
  if (!detail::parseGuid(text, &g)) throw std::invalid_argument("not a GUID in registry form");
  return g;
}

String16 guidToString(const Guid& g);
String8 guidToString8(const Guid& g);
bool guidFromString(std::u16string_view text, Guid* out);
bool guidFromString(std::string_view text, Guid* out);

}  // namespace plat::ole
