#pragma once
// Text conversion and case-insensitive comparison.
//
// 8-bit text is UTF-8. Decoding it to 16 bits accepts well-formed UTF-8; a byte that does not
// start a well-formed sequence is decoded as Windows-1252, so text written on the original
// platform still reads sensibly. Encoding 16-bit text always writes UTF-8 (an unpaired
// surrogate becomes U+FFFD).
//
// Case folding maps ASCII letters, and in 16-bit text the Latin-1 letters, to lower case. It is
// the one comparison used for names throughout the suite.
#include <string>
#include <string_view>

#include "platform/base/types.h"

namespace plat {

String16 toUtf16(std::string_view utf8);
String8 toUtf8(std::u16string_view utf16);

// Windows-1252 decoding of a single byte (0x80-0x9F map to their printable characters; the
// five bytes the code page leaves undefined map to the control characters of the same value).
char16_t fromCp1252(unsigned char byte);

// Whole-text encodings for files whose encoding is decided once: isUtf8 tells whether all of
// bytes is well-formed UTF-8; cp1252ToUtf16 decodes one byte a character; utf16ToCp1252 encodes
// back and fails when a character has no Windows-1252 byte. isWellFormedUtf16 tells whether
// text holds no unpaired surrogate, that is whether UTF-8 carries it unchanged.
bool isUtf8(std::string_view bytes);
String16 cp1252ToUtf16(std::string_view bytes);
bool utf16ToCp1252(std::u16string_view text, String8* bytes);
bool isWellFormedUtf16(std::u16string_view text);

char16_t foldCase(char16_t c);
char foldCase(char c);
char16_t upperCase(char16_t c);
char upperCase(char c);

int compareNoCase(std::u16string_view a, std::u16string_view b);
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::u16string_view a, std::u16string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::u16string_view text, std::u16string_view prefix);
bool startsWithNoCase(std::string_view text, std::string_view prefix);

String16 toLower(std::u16string_view text);
String8 toLower(std::string_view text);
String16 toUpper(std::u16string_view text);
String8 toUpper(std::string_view text);

// White space as the runtime's isspace sees it in the C locale (space, \t \n \v \f \r).
bool isSpace(char16_t c);
std::u16string_view trim(std::u16string_view text);
std::u16string_view trimLeft(std::u16string_view text);
std::u16string_view trimRight(std::u16string_view text);
std::string_view trim(std::string_view text);
std::string_view trimLeft(std::string_view text);
std::string_view trimRight(std::string_view text);

// Length of a NUL-terminated 16-bit string (nullptr gives 0).
std::size_t length16(const char16_t* text);

// Orders names the way enumerations list them: case-folded, then by code unit.
struct LessNoCase {
  bool operator()(std::u16string_view a, std::u16string_view b) const { return compareNoCase(a, b) < 0; }
};

}  // namespace plat
