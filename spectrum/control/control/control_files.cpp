// The import and export commands: a file read into the control, or its spectrum written in a
// writable format of its kind, through the shared open and save dialogs or by console words.
#include <algorithm>

#include "common/guids.h"
#include "foundation/filedlg/fileopendlg.h"
#include "foundation/filedlg/filesavedlg.h"
#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/command_ids.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/convert/spcconvert.h"

using namespace plat::ole;

namespace {

// The piece of a ";"-separated list equal to name without regard to case, or 0.
std::int32_t IndexInList(std::string_view list, std::string_view name) {
  std::int32_t index = 0;
  while (!list.empty()) {
    const std::size_t end = std::min(list.find(';'), list.size());
    if (plat::equalsNoCase(list.substr(0, end), name)) return index;
    list.remove_prefix(std::min(end + 1, list.size()));
    ++index;
  }
  return 0;
}

// One format of the loaded kind that can write: its index in the kind's list, its name and
// its save types.
struct WritableFormat {
  std::int32_t index;
  std::string name;
  std::string options;
};
std::vector<WritableFormat> WritableFormats(ISpectrumControl& spc) {
  std::vector<WritableFormat> formats;
  for (std::int32_t i = 0;; ++i) {
    Bstr name = nullptr, options = nullptr;
    std::int32_t caps = 0;
    if (failed(spc.GetFormat(i, &name, &options, &caps))) break;
    if (caps & kSpcCapWrite) formats.push_back({i, plat::toUtf8(stringView(name)), plat::toUtf8(stringView(options))});
    freeString(name);
    freeString(options);
  }
  return formats;
}

}  // namespace

const ui::MsgEntry* CSpcControl::FileMessages() {
  static const ui::MsgEntry entries[] = {
      ui::map::Command(nelvar::ID_CONSOLE_IMPORT, &CSpcControl::CmdImportCommand),
      ui::map::Command(nelvar::ID_CONSOLE_EXPORT, &CSpcControl::CmdExportCommand),
      ui::map::UpdateUI(nelvar::ID_CONSOLE_EXPORT, &CSpcControl::OnUpdateData),
      ui::map::Command(nelvar::ID_IMPORT_FILE, &CSpcControl::CmdImportFile),
      ui::map::Command(nelvar::ID_EXPORT_FILE, &CSpcControl::CmdExportFile),
      ui::map::UpdateUI(nelvar::ID_EXPORT_FILE, &CSpcControl::OnUpdateData),
      {},
  };
  return entries;
}

// The command route drops the answers; the load and save report their own failures.
void CSpcControl::CmdImportCommand() { OnImportCommand(); }
void CSpcControl::CmdExportCommand() { OnExportCommand(); }
void CSpcControl::CmdImportFile() { OnImportFile(); }
void CSpcControl::CmdExportFile() { OnExportFile(); }

HResult CSpcControl::SaveToPath(std::string_view path, std::int32_t formatIndex, std::int32_t saveType,
                                std::int32_t controlNo) {
  return m_xSpectrumControl.SaveSpectrum(plat::toUtf16(path).c_str(), formatIndex, saveType, controlNo);
}

HResult CSpcControl::OnImportFile() {
  // The first of the files chosen is loaded.
  const std::vector<std::string> paths = ChooseFiles();
  if (paths.empty() || paths[0].empty()) return E_FAIL;
  return LoadFromPath(paths[0], 0);
}

HResult CSpcControl::OnImportCommand() {
  if (m_args.empty()) return OnImportFile();
  const std::string path = m_args[0].GetString();
  const std::int32_t index = m_args.size() > 1 ? m_args[1].GetLong() : 0;
  return LoadFromPath(path, index);
}

HResult CSpcControl::OnExportFile() {
  // Nothing to write: the command is disabled, and a caller past the update rule gets nothing.
  if (!HoldsData()) return E_FAIL;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  std::string fileName;
  GetParamText("FILENAME", &fileName);
  const std::vector<WritableFormat> formats = WritableFormats(m_xSpectrumControl);
  CFileSaveDlg dialog;
  dialog.m_controlClasses = {CLSID_Spc};
  for (const WritableFormat& f : formats) dialog.m_saveFormats.push_back(f.name + ";" + f.options);
  dialog.m_fileName = fileName;
  dialog.SetCurrentDirectory(SpcApp().m_saveDirectory);
  const int answer = dialog.DoModal({}, IsWindow() ? this : nullptr);
  SpcApp().m_saveDirectory = dialog.GetCurrentDirectory();
  const std::int32_t format = dialog.GetFormatIndex(), type = dialog.GetTypeIndex();
  const std::string path = dialog.GetFilePath();
  dialog.DestroyWindow();
  if (answer != ui::IDOK || format < 0 || static_cast<std::size_t>(format) >= formats.size()) return E_FAIL;
  // The dialog lists the writable formats only: its entry's own index in the kind's list is saved.
  return SaveToPath(path, formats[static_cast<std::size_t>(format)].index, std::max(type, 0), 0);
}

HResult CSpcControl::OnExportCommand() {
  if (!HoldsData()) return E_FAIL;
  if (m_args.empty()) return OnExportFile();
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const std::string path = m_args[0].GetString();
  if (m_args.size() == 1) return SaveToPath(path, 0, 0, 0);
  // The format by name, without regard to case, among the loaded kind's writable formats.
  const std::string wanted = m_args[1].GetString();
  for (const WritableFormat& f : WritableFormats(m_xSpectrumControl)) {
    if (!plat::equalsNoCase(f.name, wanted)) continue;
    const std::int32_t type = m_args.size() > 2 ? IndexInList(f.options, m_args[2].GetString()) : 0;
    return SaveToPath(path, f.index, type, 0);
  }
  return E_FAIL;
}
