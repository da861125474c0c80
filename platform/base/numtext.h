#pragma once
// Number text that never depends on the locale: "." is always the decimal point.
//
// formatDouble(v, 'f', p) writes what printf("%.*f", p, v) writes in the C locale; likewise 'e',
// 'E', 'g' and 'G'. Non-finite values are written "inf", "-inf" and "nan" ('E'/'G': upper case).
//
// The parse functions come in two forms:
//  - parse...Prefix works like the C runtime's strtol/strtod: it skips leading white space, takes
//    an optional sign and the longest number that follows, and says how many characters it used
//    (0 when no number starts there);
//  - parse... (whole) accepts the text only when, apart from leading and trailing white space,
//    all of it is one number.
// Integer parses refuse values out of range instead of wrapping.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/types.h"

namespace plat {

String8 formatInt(std::int64_t value);
String8 formatUInt(std::uint64_t value);
String8 formatDouble(double value, char conversion = 'g', int precision = 6);
// Shortest text that reads back as exactly the same double.
String8 formatDoubleExact(double value);

std::size_t parseIntPrefix(std::string_view text, std::int64_t* value);
std::size_t parseDoublePrefix(std::string_view text, double* value);
bool parseInt(std::string_view text, std::int64_t* value);
bool parseInt32(std::string_view text, std::int32_t* value);
bool parseUInt32(std::string_view text, std::uint32_t* value);
bool parseDouble(std::string_view text, double* value);

// 16-bit forms, for text that is held in 16-bit strings. Non-ASCII characters end a number.
String16 formatInt16(std::int64_t value);
std::size_t parseIntPrefix(std::u16string_view text, std::int64_t* value);
bool parseInt(std::u16string_view text, std::int64_t* value);
bool parseDouble(std::u16string_view text, double* value);

// a * b / c with a 64-bit product, rounded half away from zero; -1 when c is 0.
std::int32_t mulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

}  // namespace plat
