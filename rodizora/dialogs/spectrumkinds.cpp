#include "rodizora/dialogs/spectrumkinds.h"

#include <algorithm>

std::vector<plat::String16> SplitKindList(std::u16string_view list) {
  std::vector<plat::String16> names;
  while (!list.empty()) {
    const std::size_t end = std::min(list.find(u';'), list.size());
    if (end > 0) names.emplace_back(list.substr(0, end));
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return names;
}
