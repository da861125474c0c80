#pragma once
// The appearance schemes of the spectrum control: named copies of all its dispatch properties,
// per property set, in the control's INI file:
//   [SCHEMES\<set>\<name>]   one value per property (fonts in a subsection each)
// and the defaults of a property set for a method in the module's default profile
// (PropertyDefaultsSection). Sections that cannot be opened are skipped without a message.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/oleauto/oleauto.h"

namespace nelvar {

// A scheme name that can stand as a section name: not empty, without "\", "[", "]" and control
// characters.
bool IsValidSchemeName(std::string_view name);

class CSchemeStore {
 public:
  explicit CSchemeStore(std::string iniPath) : m_iniPath(std::move(iniPath)) {}
  const std::string& IniPath() const { return m_iniPath; }

  // The names of the set's schemes in the file's order; names of any length.
  std::vector<std::string> List(std::uint32_t set) const;
  // Every property of control written into the scheme's section (made when missing); values
  // typed in the file.
  bool Save(plat::ole::IDispatch* control, std::uint32_t set, std::string_view name) const;
  // Every property the scheme holds set on control; false when it cannot be opened.
  bool Apply(plat::ole::IDispatch* control, std::uint32_t set, std::string_view name) const;
  // The scheme's section and the font sections below it removed from the file.
  bool Delete(std::uint32_t set, std::string_view name) const;

 private:
  std::string m_iniPath;
};

// Every property of control written as the default of the set for spectra of method.
bool SaveSetDefault(plat::ole::IDispatch* control, std::u16string_view method, std::uint32_t set);

}  // namespace nelvar
