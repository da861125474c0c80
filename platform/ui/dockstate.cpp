// Dock states: in the profile, in archives, and taken from and given to a frame's bars.
#include "platform/ui/dockstate.h"

#include <algorithm>
#include <string>

#include "platform/archive/archive.h"
#include "platform/base/numtext.h"
#include "platform/ui/app.h"
#include "platform/ui/bars.h"
#include "platform/ui/frame.h"

namespace ui {

namespace {

std::string BarSection(std::string_view name, int index) { return std::string(name) + "-Bar" + plat::formatInt(index); }
std::string SummarySection(std::string_view name) { return std::string(name) + "-Summary"; }

}  // namespace

void DockState::SaveState(std::string_view profileName) const {
  ProfileStore* store = CurrentProfileStore();
  if (!store) return;
  int n = 0;
  for (const BarInfo& bar : m_bars) {
    if (n >= kMaxBars) break;
    const std::string section = BarSection(profileName, n++);
    store->DeleteSection(section);
    store->WriteInt(section, "BarID", static_cast<int>(bar.barId));
    store->WriteInt(section, "Visible", bar.visible > 0 ? 1 : 0);
    store->WriteInt(section, "Floating", bar.floating ? 1 : 0);
    store->WriteInt(section, "DockBarID", static_cast<int>(bar.dockBarId));
    store->WriteInt(section, "Row", bar.floating ? 0 : bar.row);
    store->WriteInt(section, "Offset", bar.floating ? 0 : bar.offset);
    if (bar.floating) {
      store->WriteInt(section, "FloatX", bar.floatAt.x);
      store->WriteInt(section, "FloatY", bar.floatAt.y);
      store->WriteInt(section, "Horizontal", bar.horizontal ? 1 : 0);
    }
  }
  store->WriteInt(SummarySection(profileName), "Bars", n);
  // Sections left from an earlier, longer layout.
  for (int k = n; k < kMaxBars && store->GetInt(BarSection(profileName, k), "BarID", 0) != 0; ++k)
    store->DeleteSection(BarSection(profileName, k));
}

void DockState::LoadState(std::string_view profileName) {
  m_bars.clear();
  ProfileStore* store = CurrentProfileStore();
  if (!store) return;
  const int count = std::clamp(store->GetInt(SummarySection(profileName), "Bars", 0), 0, kMaxBars);
  for (int i = 0; i < count; ++i) {
    const std::string section = BarSection(profileName, i);
    const int id = store->GetInt(section, "BarID", 0);
    if (id <= 0) continue;
    BarInfo b;
    b.barId = static_cast<UINT>(id);
    b.visible = std::clamp(store->GetInt(section, "Visible", -1), -1, 1);
    b.floating = store->GetInt(section, "Floating", 0) != 0;
    b.dockBarId = static_cast<UINT>(store->GetInt(section, "DockBarID", 0));
    b.row = store->GetInt(section, "Row", 0);
    b.offset = store->GetInt(section, "Offset", 0);
    b.floatAt = {store->GetInt(section, "FloatX", 100), store->GetInt(section, "FloatY", 100)};
    b.horizontal = store->GetInt(section, "Horizontal", 1) != 0;
    m_bars.push_back(b);
  }
}

void DockState::Serialize(plat::Archive& ar) {
  if (ar.isStoring()) {
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(m_bars.size(), kMaxBars));
    ar.writeU32(n);
    for (std::uint32_t i = 0; i < n; ++i) {
      const BarInfo& b = m_bars[i];
      ar.writeU32(b.barId);
      ar.writeI32(b.visible);
      ar.writeU8(b.floating ? 1 : 0);
      ar.writeU32(b.dockBarId);
      ar.writeI32(b.row);
      ar.writeI32(b.offset);
      ar.writeI32(b.floatAt.x);
      ar.writeI32(b.floatAt.y);
      ar.writeU8(b.horizontal ? 1 : 0);
    }
    return;
  }
  constexpr std::uint64_t kBarBytes = 4 + 4 + 1 + 4 + 4 + 4 + 4 + 4 + 1;
  const std::uint32_t n = ar.readCount(kMaxBars, kBarBytes);
  std::vector<BarInfo> bars(n);
  for (BarInfo& b : bars) {
    b.barId = ar.readU32();
    b.visible = std::clamp(ar.readI32(), -1, 1);
    b.floating = ar.readU8() != 0;
    b.dockBarId = ar.readU32();
    b.row = ar.readI32();
    b.offset = ar.readI32();
    b.floatAt.x = ar.readI32();
    b.floatAt.y = ar.readI32();
    b.horizontal = ar.readU8() != 0;
  }
  m_bars = std::move(bars);
}

}  // namespace ui
