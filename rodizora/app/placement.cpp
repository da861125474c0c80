#include "rodizora/app/placement.h"

#include <array>
#include <cstdint>

#include "foundation/profdesc.h"
#include "platform/base/bytes.h"
#include "profile/profile.h"

namespace {

constexpr char16_t kPlacementValue[] = u"Main frame\\Placement";
constexpr std::size_t kSize = 44;
constexpr ui::UINT kLastShowCommand = 11;  // SW_FORCEMINIMIZE

std::array<std::int32_t, 11> Fields(const ui::WINDOWPLACEMENT& p) {
  return {std::int32_t(p.length), std::int32_t(p.flags), std::int32_t(p.showCmd), p.ptMinPosition.x, p.ptMinPosition.y,
          p.ptMaxPosition.x, p.ptMaxPosition.y, p.rcNormalPosition.left, p.rcNormalPosition.top,
          p.rcNormalPosition.right, p.rcNormalPosition.bottom};
}

}  // namespace

std::optional<ui::WINDOWPLACEMENT> ReadStoredPlacement() {
  std::array<std::uint8_t, kSize> bytes{};
  unsigned length = kSize;
  COrvProfDesc desc;
  if (OrvGetProfBinary(kPlacementValue, bytes.data(), &length, &desc) != PROF_OK || length != kSize) return std::nullopt;
  std::array<std::int32_t, 11> v{};
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<std::int32_t>(plat::loadLe32(&bytes[4 * i]));
  if (v[0] != static_cast<std::int32_t>(kSize)) return std::nullopt;
  ui::WINDOWPLACEMENT p;
  p.length = ui::UINT(v[0]);
  p.flags = ui::UINT(v[1]);
  p.showCmd = ui::UINT(v[2]);
  p.ptMinPosition = {v[3], v[4]};
  p.ptMaxPosition = {v[5], v[6]};
  p.rcNormalPosition = {v[7], v[8], v[9], v[10]};
  return p;
}

bool WriteStoredPlacement(const ui::WINDOWPLACEMENT& placement) {
  std::array<std::uint8_t, kSize> bytes{};
  const auto fields = Fields(placement);
  for (std::size_t i = 0; i < fields.size(); ++i) plat::storeLe32(&bytes[4 * i], std::uint32_t(fields[i]));
  COrvProfDesc desc;
  return OrvSetProfBinary(kPlacementValue, bytes.data(), unsigned(kSize), &desc) == PROF_OK;
}

bool PlacementFitsScreen(const ui::Rect& normal, ui::Size screen) {
  const ui::Rect display(0, 0, screen.cx, screen.cy);
  return display.PtInRect(normal.TopLeft()) && display.PtInRect(normal.BottomRight());
}

bool IsKnownShowCommand(ui::UINT command) { return command <= kLastShowCommand; }
