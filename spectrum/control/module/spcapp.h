#pragma once
// CSpcApp: the module object of NELVAR, the spectrum control's library. One static instance
// lives from load to unload; its start-up runs when the module is started (KedrusModuleStart)
// and its shutdown when the module is freed, never from static constructors.
//
// Start-up fixes the module's default profile root and section (CGenStart), makes the window
// layer keep this module's bar layouts in this module's profile, reads the folders the shared
// file dialogs start in and the macro list (the INI file beside the module first, then the
// registry). Shutdown writes the two folders back.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/genstart.h"
#include "foundation/uiprofile.h"
#include "platform/com/guid.h"
#include "platform/ui/resource.h"

class CSpcApp : public CGenStart {
 public:
  CSpcApp();

  // "Orvane\KEDRUS Lite\2.0".
  const char16_t* GetRegistryKey() const override;

  // False when the start-up object fails; missing settings never fail it.
  bool InitInstance();
  void ExitInstance();

  // The module state every entry point of the module enters: its resources and its profile.
  ui::ModuleState* ModuleState() { return &m_moduleState; }

  // ---- Macro list: names and bodies, index-aligned, in load order ----
  std::vector<std::string> m_macroNames;
  std::vector<std::string> m_macroBodies;
  // The index of the macro of that name (without regard to case), or -1.
  int FindMacro(std::string_view name) const;
  // Reads the macro list afresh: section "\MACROS" of the INI file first, then the registry's
  // "Macros" of the module's profile, whose entries replace INI entries of the same name.
  void LoadMacros(const std::string& iniPath);

  // ---- The shared file dialogs' folders ("Load Directory", "Save Directory") ----
  // The dialogs themselves come with the import and export commands; until then the module
  // keeps the two folders they start in.
  std::string m_loadDirectory;
  std::string m_saveDirectory;

  // The INI file beside the module (macros, schemes): its file name with ".ini"; in the folder
  // $KEDRUS_INI_DIR instead when that is set (tests and tools).
  const std::string& IniPath() const { return m_iniPath; }

 private:
  COrvUiProfile m_uiProfile;
  ui::ModuleState m_moduleState;
  std::string m_iniPath;
};

// The module object.
CSpcApp& SpcApp();


// The property pages of the control, in the order GetPropPageIDs hands them out (13).
std::span<const plat::ole::Guid* const> SpcPropPageIds();
