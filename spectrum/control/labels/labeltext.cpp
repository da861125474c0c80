#include "spectrum/control/labels/labeltext.h"

#include <algorithm>

#include "platform/base/numtext.h"

namespace {
constexpr std::int32_t kMaxDecimals = 9;
}  // namespace

std::int32_t LabelDecimals(std::int32_t decimals) { return std::clamp(decimals, 0, kMaxDecimals); }

std::string FormatFixed(double value, std::int32_t decimals) {
  return plat::formatDouble(value, 'f', LabelDecimals(decimals));
}
