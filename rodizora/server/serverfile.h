#pragma once
// The data server's file message, the one thing that binds the server: a 4-byte little-endian
// length L, then the L bytes of the file, stored unchanged. Inside the file, bytes 3-8 hold its
// name as 8 six-bit characters and bytes 9-11 its extension as 4.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::uint16_t kDefaultServerPort = 2309;
// The file bytes that carry the name; a shorter message is malformed.
inline constexpr std::uint32_t kServerFileHeaderSize = 12;

// Six-bit text: each 3 bytes, read as a 24-bit big-endian value, give four 6-bit values v, most
// significant first; v below 31 is the character v + 64, other values the character v itself,
// and the character 64 (from v = 0) is a blank.
std::string DecodeSixBitText(const unsigned char* bytes, std::size_t groups);

// True for a name that stays a plain file in its folder: not empty, not "." or "..", and without
// "/", "\" or control characters.
bool IsPlainFileName(std::string_view name);

// The name a message's first 12 bytes give: name and extension without trailing blanks, joined
// by "." when the extension is not empty. Empty when the name may not be stored (an empty name,
// or one that is not a plain file name).
std::string ServerFileName(const unsigned char (&header)[kServerFileHeaderSize]);

// The connect dialog's port text read as "%hu" reads it: blanks, an optional sign, then digits.
// False when no number starts the text; else *number is the number read (a negative one, or one
// past the port range, stays outside 1-65535 however long its digits run).
bool ReadPortNumber(std::u16string_view text, std::int32_t* number);
inline bool IsServerPort(std::int32_t number) { return number >= 1 && number <= 65535; }
