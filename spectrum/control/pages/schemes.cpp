#include "spectrum/control/pages/schemes.h"

#include "controls/pagebase/pagebase.h"
#include "foundation/profdesc.h"
#include "foundation/proftree.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "spectrum/control/module/propertydefaults.h"

namespace nelvar {

namespace {

constexpr unsigned kNameChars = 261;          // a name of 260 characters and its NUL
constexpr unsigned kLongestName = 1u << 16;   // the buffer grows this far for longer ones

std::u16string SchemesSection(std::uint32_t set) { return u"\\SCHEMES\\" + plat::toUtf16(std::to_string(set)); }

std::u16string SchemeSection(std::uint32_t set, std::string_view name) {
  return SchemesSection(set) + u"\\" + plat::toUtf16(name);
}

}  // namespace

bool IsValidSchemeName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\\' || c == '[' || c == ']' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

std::vector<std::string> CSchemeStore::List(std::uint32_t set) const {
  std::vector<std::string> names;
  COrvProfDesc desc(plat::toUtf16(m_iniPath).c_str(), SchemesSection(set).c_str());
  desc.SetIni(true);
  if (desc.Open(63) != PROF_OK) return names;
  std::vector<char16_t> buffer(kNameChars);
  for (int index = 0;;) {
    const int rc = OrvEnumProfSection(index, buffer.data(), static_cast<unsigned>(buffer.size()), &desc);
    if (rc == PROF_MORE_DATA && buffer.size() < kLongestName) {
      buffer.resize(buffer.size() * 4);
      continue;
    }
    if (rc != PROF_OK) break;
    names.push_back(plat::toUtf8(std::u16string_view(buffer.data())));
    ++index;
  }
  return names;
}

bool CSchemeStore::Save(plat::ole::IDispatch* control, std::uint32_t set, std::string_view name) const {
  // Typed values, so a scheme reads back as the types it was written with.
  OrvSetIniTypeControl(1);
  COrvProfDesc desc(plat::toUtf16(m_iniPath).c_str(), SchemeSection(set, name).c_str());
  desc.SetIni(true);
  if (desc.Open(63) != PROF_OK) return false;
  return SaveDispatchProperties(control, &desc);
}

bool CSchemeStore::Apply(plat::ole::IDispatch* control, std::uint32_t set, std::string_view name) const {
  COrvProfDesc desc(plat::toUtf16(m_iniPath).c_str(), SchemeSection(set, name).c_str());
  desc.SetIni(true);
  if (desc.Open(13) != PROF_OK) return false;
  return LoadDispatchProperties(control, &desc);
}

bool CSchemeStore::Delete(std::uint32_t set, std::string_view name) const {
  // A scheme holds a section per font below its own, which the store does not delete with it.
  COrvProfDesc desc(plat::toUtf16(m_iniPath).c_str(), SchemeSection(set, name).c_str());
  desc.SetIni(true);
  return DeleteProfTree(&desc);
}

bool SaveSetDefault(plat::ole::IDispatch* control, std::u16string_view method, std::uint32_t set) {
  COrvProfDesc desc(u"", PropertyDefaultsSection(method, set).c_str());
  if (desc.Open(63) != PROF_OK) return false;
  return SaveDispatchProperties(control, &desc);
}

}  // namespace nelvar
