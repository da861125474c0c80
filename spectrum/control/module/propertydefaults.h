#pragma once
// The one name of the section that holds the stored default of a property set: below the
// module's default profile root, the method name that GetCurMethod gives for the loaded spectrum
// ("NMR", "TIC", "NMR 2D", ...), a backslash and "Properties " with the set number ("%u"). The
// General page's "S&et As Default" writes it and a set without a snapshot is read from it, so
// every kind's default reads back.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/text.h"

namespace nelvar {

inline std::u16string PropertyDefaultsSection(std::u16string_view method, std::uint32_t set) {
  std::u16string section(method);
  section += u"\\Properties ";
  section += plat::toUtf16(std::to_string(set));
  return section;
}

}  // namespace nelvar
