#include "platform/base/text.h"

#include <algorithm>
#include <iterator>

namespace plat {

namespace {

constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendCodePoint(String16& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Length of the well-formed UTF-8 sequence at text[i], 0 when it is not well formed.
std::size_t utf8SequenceAt(std::string_view text, std::size_t i, char32_t* cp) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  std::size_t n;
  char32_t value;
  char32_t min;
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    n = 2; value = b0 & 0x1F; min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3; value = b0 & 0x0F; min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4; value = b0 & 0x07; min = 0x10000;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *cp = value;
  return n;
}

template <typename Char>
int compareFolded(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<std::make_unsigned_t<Char>>(foldCase(a[i]));
    const auto cb = static_cast<std::make_unsigned_t<Char>>(foldCase(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

template <typename Char>
std::basic_string_view<Char> trimLeftT(std::basic_string_view<Char> t) {
  std::size_t i = 0;
  while (i < t.size() && isSpace(static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(t[i])))) ++i;
  return t.substr(i);
}

template <typename Char>
std::basic_string_view<Char> trimRightT(std::basic_string_view<Char> t) {
  std::size_t n = t.size();
  while (n > 0 && isSpace(static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(t[n - 1])))) --n;
  return t.substr(0, n);
}

}  // namespace

char16_t fromCp1252(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
  return byte;
}

bool isUtf8(std::string_view bytes) {
  char32_t cp;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = utf8SequenceAt(bytes, i, &cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

String16 cp1252ToUtf16(std::string_view bytes) {
  String16 out(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = fromCp1252(static_cast<unsigned char>(bytes[i]));
  return out;
}

bool utf16ToCp1252(std::u16string_view text, String8* bytes) {
  bytes->clear();
  bytes->reserve(text.size());
  for (const char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      bytes->push_back(static_cast<char>(c));
      continue;
    }
    const char16_t* const end = std::end(kCp1252High);
    const char16_t* found = std::find(std::begin(kCp1252High), end, c);
    if (found == end) return false;
    bytes->push_back(static_cast<char>(0x80 + (found - kCp1252High)));
  }
  return true;
}

bool isWellFormedUtf16(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

String16 toUtf16(std::string_view utf8) {
  String16 out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp;
    const std::size_t n = utf8SequenceAt(utf8, i, &cp);
    if (n == 0) {
      out.push_back(fromCp1252(static_cast<unsigned char>(utf8[i])));
      ++i;
    } else {
      appendCodePoint(out, cp);
      i += n;
    }
  }
  return out;
}

String8 toUtf8(std::u16string_view utf16) {
  String8 out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

char16_t foldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  // Latin-1 capitals, but for the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

char16_t upperCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  return c;
}

char upperCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

int compareNoCase(std::u16string_view a, std::u16string_view b) { return compareFolded(a, b); }
int compareNoCase(std::string_view a, std::string_view b) { return compareFolded(a, b); }
bool equalsNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && compareFolded(a, b) == 0;
}
bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && compareFolded(a, b) == 0;
}
bool startsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}
bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

String16 toLower(std::u16string_view text) {
  String16 out(text);
  for (auto& c : out) c = foldCase(c);
  return out;
}
String8 toLower(std::string_view text) {
  String8 out(text);
  for (auto& c : out) c = foldCase(c);
  return out;
}
String16 toUpper(std::u16string_view text) {
  String16 out(text);
  for (auto& c : out) c = upperCase(c);
  return out;
}
String8 toUpper(std::string_view text) {
  String8 out(text);
  for (auto& c : out) c = upperCase(c);
  return out;
}

bool isSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

std::u16string_view trimLeft(std::u16string_view t) { return trimLeftT(t); }
std::u16string_view trimRight(std::u16string_view t) { return trimRightT(t); }
std::u16string_view trim(std::u16string_view t) { return trimRightT(trimLeftT(t)); }
std::string_view trimLeft(std::string_view t) { return trimLeftT(t); }
std::string_view trimRight(std::string_view t) { return trimRightT(t); }
std::string_view trim(std::string_view t) { return trimRightT(trimLeftT(t)); }

std::size_t length16(const char16_t* text) {
  if (!text) return 0;
  std::size_t n = 0;
  while (text[n]) ++n;
  return n;
}

}  // namespace plat
