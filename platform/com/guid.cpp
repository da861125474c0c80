#include "platform/com/guid.h"

namespace plat::ole {

String8 guidToString8(const Guid& g) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  String8 text;
  text.reserve(kGuidTextLength);
  auto put = [&](std::uint64_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text.push_back(kDigits[(value >> shift) & 0xF]);
  };
  text.push_back('{');
  put(g.data1, 8);
  text.push_back('-');
  put(g.data2, 4);
  text.push_back('-');
  put(g.data3, 4);
  text.push_back('-');
  put(g.data4[0], 2);
  put(g.data4[1], 2);
  text.push_back('-');
  for (int i = 2; i < 8; ++i) put(g.data4[i], 2);
  text.push_back('}');
  return text;
}

String16 guidToString(const Guid& g) {
  const String8 narrow = guidToString8(g);
  return String16(narrow.begin(), narrow.end());
}

bool guidFromString(std::u16string_view text, Guid* out) { return out && detail::parseGuid(text, out); }
bool guidFromString(std::string_view text, Guid* out) { return out && detail::parseGuid(text, out); }

}  // namespace plat::ole
