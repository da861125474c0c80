#include "spectrum/control/module/spcapp.h"

#include <cstdlib>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "foundation/proftree.h"
#include "platform/base/module.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "spectrum/control/module/resources.h"

namespace {

// An object of the module: its address names the module's file.
const char kModuleAnchor = 0;

constexpr char16_t kLoadDirectory[] = u"Load Directory";
constexpr char16_t kSaveDirectory[] = u"Save Directory";

// Calls add(name, body) for every string value of the section desc names, in enumeration order.
template <class Add>
void ReadMacroSection(COrvProfDesc& desc, Add add) {
  if (desc.Open(PROF_MODE_OPEN) != PROF_OK) return;
  // Names are read whole, however long.
  plat::String16 name;
  for (int i = 0; EnumProfValueName(i, &desc, &name) == PROF_OK; ++i) {
    plat::String16 body;
    if (OrvGetProfCString(name.c_str(), &body, u"", &desc) == PROF_OK) add(plat::toUtf8(name), plat::toUtf8(body));
  }
  desc.Close();
}

}  // namespace

CSpcApp::CSpcApp() {
  m_moduleState.resources = &nelvar::ModuleResources();
  m_moduleState.profile = &m_uiProfile;
}

const char16_t* CSpcApp::GetRegistryKey() const { return u"Orvane\\KEDRUS Lite\\2.0"; }

bool CSpcApp::InitInstance() {
  ui::ModuleStateScope scope(&m_moduleState);
  if (!Startup()) return false;
  // The window layer's own profile calls (bar layouts) go below the product key through this
  // module's profile: its module state carries it (set at construction).

  // The folders the shared dialogs start in; an unset one is the user's home (the platform's
  // stand-in for the original "C:").
  const plat::String16 home = plat::toUtf16(plat::homeDirectory());
  plat::String16 folder;
  {
    COrvProfDesc desc;
    OrvGetProfCString(kLoadDirectory, &folder, home.c_str(), &desc);
    m_loadDirectory = plat::toUtf8(folder);
  }
  {
    COrvProfDesc desc;
    OrvGetProfCString(kSaveDirectory, &folder, home.c_str(), &desc);
    m_saveDirectory = plat::toUtf8(folder);
  }
  m_iniPath = ModuleIniPath(plat::moduleFileName(&kModuleAnchor));
  // Tests and tools keep the INI files of a run in a folder of their own, as they do the registry.
  if (const char* dir = std::getenv("KEDRUS_INI_DIR"); dir && *dir)
    m_iniPath = plat::joinPath(dir, plat::pathFileName(m_iniPath));
  LoadMacros(m_iniPath);
  return true;
}

void CSpcApp::ExitInstance() {
  ui::ModuleStateScope scope(&m_moduleState);
  {
    COrvProfDesc desc;
    OrvSetProfString(kLoadDirectory, plat::toUtf16(m_loadDirectory).c_str(), &desc);
  }
  {
    COrvProfDesc desc;
    OrvSetProfString(kSaveDirectory, plat::toUtf16(m_saveDirectory).c_str(), &desc);
  }
  Cleanup();
}

int CSpcApp::FindMacro(std::string_view name) const {
  for (std::size_t i = 0; i < m_macroNames.size(); ++i)
    if (plat::equalsNoCase(m_macroNames[i], name)) return static_cast<int>(i);
  return -1;
}

void CSpcApp::LoadMacros(const std::string& iniPath) {
  m_macroNames.clear();
  m_macroBodies.clear();
  {
    COrvProfDesc ini(plat::toUtf16(iniPath).c_str(), u"\\MACROS");
    ini.SetIni(true);
    ReadMacroSection(ini, [this](std::string name, std::string body) {
      m_macroNames.push_back(std::move(name));
      m_macroBodies.push_back(std::move(body));
    });
  }
  COrvProfDesc registry(u"", u"Macros");
  ReadMacroSection(registry, [this](std::string name, std::string body) {
    const int at = FindMacro(name);
    if (at >= 0) {
      m_macroBodies[static_cast<std::size_t>(at)] = std::move(body);
      return;
    }
    m_macroNames.push_back(std::move(name));
    m_macroBodies.push_back(std::move(body));
  });
}

CSpcApp& SpcApp() {
  static CSpcApp app;
  return app;
}

std::span<const plat::ole::Guid* const> SpcPropPageIds() {
  static const plat::ole::Guid* const kPages[] = {
      &CLSID_GeneralPropPage,  &CLSID_SpectrumPropPage, &CLSID_ScalePropPage,  &CLSID_ScaleYPropPage,
      &CLSID_IntegralPropPage, &CLSID_IntegSumsPropPage, &CLSID_TPeaksPropPage, &CLSID_MPeaksPropPage,
      &CLSID_BaselinePropPage, &CLSID_BorderPropPage,   &CLSID_TextPropPage,   &CLSID_TitlePropPage,
      &CLSID_MiscPropPage,
  };
  return kPages;
}
