#pragma once
// Fixed-width types for everything the suite stores or exchanges. "long" in the stored
// layouts is 32-bit, whatever the compiler's long is.
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

using DWord = std::uint32_t;
using Word = std::uint16_t;
using Byte = std::uint8_t;
using Long = std::int32_t;

// The two text widths of the suite: 8-bit (UTF-8) and 16-bit (UTF-16).
using String8 = std::string;
using String16 = std::u16string;

static_assert(sizeof(DWord) == 4 && sizeof(Word) == 2 && sizeof(Long) == 4);
static_assert(sizeof(char16_t) == 2);

}  // namespace plat
