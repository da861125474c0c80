#include "platform/base/numtext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/base/text.h"

namespace plat {

namespace {

// ASCII copy of 16-bit text, stopping at the first character outside ASCII, which cannot be
// part of a number.
String8 asciiPrefix(std::u16string_view text) {
  String8 out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == 0 || c > 0x7F) break;
    out.push_back(static_cast<char>(c));
  }
  return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

String8 formatInt(std::int64_t value) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return String8(buf, r.ptr);
}

String8 formatUInt(std::uint64_t value) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return String8(buf, r.ptr);
}

String8 formatDouble(double value, char conversion, int precision) {
  const bool upper = conversion == 'E' || conversion == 'G';
  if (!std::isfinite(value)) {
    String8 s = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    return upper ? toUpper(s) : s;
  }
  if (precision < 0) precision = 6;
  std::chars_format fmt = std::chars_format::general;
  switch (conversion) {
    case 'f': case 'F': fmt = std::chars_format::fixed; break;
    case 'e': case 'E': fmt = std::chars_format::scientific; break;
    default: fmt = std::chars_format::general; break;
  }
  // %g with precision 0 means precision 1.
  if (fmt == std::chars_format::general && precision == 0) precision = 1;
  // Fixed notation of 1e308 with many decimals needs about 330 + precision characters.
  String8 buf(static_cast<std::size_t>(precision) + 400, '\0');
  auto r = std::to_chars(buf.data(), buf.data() + buf.size(), value, fmt, precision);
  if (r.ec != std::errc()) return "nan";
  buf.resize(static_cast<std::size_t>(r.ptr - buf.data()));
  return upper ? toUpper(buf) : buf;
}

String8 formatDoubleExact(double value) {
  if (!std::isfinite(value)) return formatDouble(value);
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return String8(buf, r.ptr);
}

std::size_t parseIntPrefix(std::string_view text, std::int64_t* value) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size() || !isDigit(text[i])) return 0;
  std::uint64_t magnitude = 0;
  const std::uint64_t limit = negative ? std::uint64_t(1) << 63 : (std::uint64_t(1) << 63) - 1;
  bool overflow = false;
  while (i < text.size() && isDigit(text[i])) {
    const unsigned d = static_cast<unsigned>(text[i] - '0');
    if (magnitude > (limit - d) / 10) overflow = true; else magnitude = magnitude * 10 + d;
    ++i;
  }
  if (overflow) return 0;
  *value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return i;
}

std::size_t parseDoublePrefix(std::string_view text, double* value) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(static_cast<unsigned char>(text[i]))) ++i;
  std::size_t start = i;
  if (i < text.size() && text[i] == '+') {
    // from_chars takes no "+"; a "+-" is no number.
    if (i + 1 < text.size() && text[i + 1] == '-') return 0;
    start = ++i;
  }
  double v = 0;
  auto r = std::from_chars(text.data() + start, text.data() + text.size(), v, std::chars_format::general);
  if (r.ec == std::errc::invalid_argument) return 0;
  if (r.ec == std::errc::result_out_of_range) {
    // Keep strtod's answers: overflow gives infinity, underflow gives zero. We refuse both so
    // that no infinity reaches data; callers see "no number".
    return 0;
  }
  *value = v;
  return static_cast<std::size_t>(r.ptr - text.data());
}

bool parseInt(std::string_view text, std::int64_t* value) {
  std::int64_t v = 0;
  const std::size_t n = parseIntPrefix(text, &v);
  if (n == 0 || !trim(text.substr(n)).empty()) return false;
  *value = v;
  return true;
}

bool parseInt32(std::string_view text, std::int32_t* value) {
  std::int64_t v = 0;
  if (!parseInt(text, &v) || v < std::numeric_limits<std::int32_t>::min() ||
      v > std::numeric_limits<std::int32_t>::max())
    return false;
  *value = static_cast<std::int32_t>(v);
  return true;
}

bool parseUInt32(std::string_view text, std::uint32_t* value) {
  std::int64_t v = 0;
  if (!parseInt(text, &v) || v < 0 || v > std::numeric_limits<std::uint32_t>::max()) return false;
  *value = static_cast<std::uint32_t>(v);
  return true;
}

bool parseDouble(std::string_view text, double* value) {
  double v = 0;
  const std::size_t n = parseDoublePrefix(text, &v);
  if (n == 0 || !trim(text.substr(n)).empty()) return false;
  *value = v;
  return true;
}

String16 formatInt16(std::int64_t value) { return toUtf16(formatInt(value)); }

std::size_t parseIntPrefix(std::u16string_view text, std::int64_t* value) {
  return parseIntPrefix(asciiPrefix(text), value);
}

bool parseInt(std::u16string_view text, std::int64_t* value) {
  const String8 ascii = asciiPrefix(text);
  return ascii.size() == text.size() && parseInt(ascii, value);
}

bool parseDouble(std::u16string_view text, double* value) {
  const String8 ascii = asciiPrefix(text);
  return ascii.size() == text.size() && parseDouble(ascii, value);
}

std::int32_t mulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t q = product / c;
  const std::int64_t r = product % c;
  // Round half away from zero: compare twice the remainder with the divisor.
  if (2 * (r < 0 ? -r : r) >= (c < 0 ? -static_cast<std::int64_t>(c) : c))
    q += ((product < 0) != (c < 0)) ? -1 : 1;
  if (q > std::numeric_limits<std::int32_t>::max() || q < std::numeric_limits<std::int32_t>::min()) return -1;
  return static_cast<std::int32_t>(q);
}

}  // namespace plat
