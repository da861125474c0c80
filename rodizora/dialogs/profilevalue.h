#pragma once
// Values of the program's default profile section, each read with its default or written through
// a default descriptor of its own. A name may hold "\": the value then lives in that subsection.
#include <cstdint>

#include "platform/base/types.h"

int ReadProfileInt(const plat::String16& name, int defaultValue);
bool WriteProfileInt(const plat::String16& name, int value);
std::uint32_t ReadProfileDWord(const plat::String16& name, std::uint32_t defaultValue);
bool WriteProfileDWord(const plat::String16& name, std::uint32_t value);
