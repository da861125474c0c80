#pragma once
// Messages of the data server as it sends them, for tests: the one builder of the wire format.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace servertest {

// The server's six-bit text, encoded from the rule (blank 0, "A".."^" 1-30, 31-63 themselves),
// padded with blanks to chars characters.
inline std::string SixBit(std::string text, std::size_t chars) {
  text.resize(chars, ' ');
  std::string bytes;
  for (std::size_t i = 0; i < chars; i += 4) {
    std::uint32_t word = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      const std::uint32_t v = c == ' ' ? 0 : (c >= 65 && c <= 94) ? c - 64u : c;
      EXPECT_LT(v, 64u) << "not six-bit text: " << text;
      word = word << 6 | v;
    }
    bytes += {char(word >> 16), char(word >> 8), char(word)};
  }
  return bytes;
}

// The bytes of a file as the server sends it: 3 bytes, name, extension, the rest.
inline std::string ServerFile(const std::string& name, const std::string& extension, std::size_t restSize = 0) {
  std::string file = "\x01\x02\x03" + SixBit(name, 8) + SixBit(extension, 4);
  for (std::size_t i = 0; i < restSize; ++i) file.push_back(static_cast<char>((i * 7 + i / 1000) & 0xFF));
  return file;
}

inline std::string Length(std::uint32_t length) {
  return {char(length), char(length >> 8), char(length >> 16), char(length >> 24)};
}
inline std::string Message(const std::string& file) { return Length(static_cast<std::uint32_t>(file.size())) + file; }

}  // namespace servertest
