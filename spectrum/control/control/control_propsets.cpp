// Property sets: numbered appearances of the whole plot (the container shows one in its full
// view and another in its page layout), switched through ISaItem. The outgoing set's appearance
// is kept in memory as a snapshot; a set without one starts from the defaults and takes the
// values stored for it, by dispatch property name, in the registry or the spectrum folder.
#include <string>

#include "controls/pagebase/pagebase.h"
#include "foundation/profdesc.h"
#include "platform/archive/archive.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/propertydefaults.h"

using HResult = plat::ole::HResult;

namespace {

constexpr std::uint32_t kNoSet = static_cast<std::uint32_t>(-1);

std::vector<std::uint8_t> StoreAppearance(CDrawObjectList& list) {
  plat::Archive archive;
  list.StoreObjects(archive, false);
  return archive.bytes();
}

// False, with the appearance partly taken, when the snapshot does not read back.
bool LoadAppearance(CDrawObjectList& list, const std::vector<std::uint8_t>& snapshot) {
  try {
    plat::Archive archive{std::span<const std::uint8_t>(snapshot)};
    list.LoadObjects(archive, false);
    return true;
  } catch (const plat::ArchiveError&) {
    return false;
  }
}

}  // namespace

std::unique_ptr<COrvProfDesc> CSpcControl::PropertySetStore(std::uint32_t set) {
  if (m_propertyFolder.empty()) {
    // Where the General page's Set As Default writes: below the method name that
    // GetCurMethod gives, so every kind (also those without a kind-name string) reads it back.
    std::u16string method;
    if (char16_t* name = GetCurMethod()) {
      method = name;
      plat::ole::freeString(name);
    }
    return std::make_unique<COrvProfDesc>(u"", nelvar::PropertyDefaultsSection(method, set).c_str());
  }
  const std::string section = "\\CONTROL_" + std::to_string(m_spectrumNumber) + "\\" + std::to_string(set);
  auto store = std::make_unique<COrvProfDesc>(plat::toUtf16(plat::joinPath(m_propertyFolder, "properties")).c_str(),
                                              plat::toUtf16(section).c_str());
  store->SetIni(true);
  return store;
}

void CSpcControl::FreePropertySnapshots() { m_propertySnapshots.clear(); }

HResult CSpcControl::XSaItem::SelectPropertySet(std::uint32_t set, std::int32_t redraw) {
  CSpcControl& control = outer<CSpcControl>();
  if (set == control.m_propertySet) return plat::ole::S_OK;
  CDrawObjectList& list = control.m_drawList;
  // The outgoing set keeps its appearance, with whatever the pages changed in it.
  if (control.m_propertySet != kNoSet) control.m_propertySnapshots[control.m_propertySet] = StoreAppearance(list);

  const auto kept = control.m_propertySnapshots.find(set);
  if (kept == control.m_propertySnapshots.end() || !LoadAppearance(list, kept->second)) {
    list.SetListDefaults();
    const std::unique_ptr<COrvProfDesc> store = control.PropertySetStore(set);
    if (store->Open(PROF_MODE_OPEN) == PROF_OK) LoadDispatchProperties(control.GetIDispatch(false), store.get());
  }
  control.m_propertySet = set;
  control.CreatePlotCursors();
  if (redraw) control.Refresh();
  return plat::ole::S_OK;
}

HResult CSpcControl::XSaItem::GetPropertySet(std::uint32_t* set) {
  if (set) *set = outer<CSpcControl>().m_propertySet;
  return plat::ole::S_OK;
}
