// The import and export commands: a file read into the control, or its spectrum written in a
// writable format of its kind, through the shared open and save dialogs or by console words.
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

}  // namespace

const ui::MsgEntry* CSpcControl::FileMessages() {
  static const ui::MsgEntry entries[] = {
      ui::map::Command(nelvar::ID_CONSOLE_IMPORT, &CSpcControl::CmdImportCommand),
      ui::map::Command(nelvar::ID_CONSOLE_EXPORT, &CSpcControl::CmdExportCommand),
      ui::map::Command(nelvar::ID_IMPORT_FILE, &CSpcControl::CmdImportFile),
      ui::map::Command(nelvar::ID_EXPORT_FILE, &CSpcControl::CmdExportFile),
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
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  CFileOpenDlg dialog;
  dialog.m_controlClasses = {CLSID_Spc};
  dialog.SetCurrentDirectory(SpcApp().m_loadDirectory);
  const int answer = dialog.DoModal({}, IsWindow() ? this : nullptr);
  SpcApp().m_loadDirectory = dialog.GetCurrentDirectory();
  const std::string path = dialog.GetResultNames().empty() ? std::string() : dialog.GetPathName(0);
  dialog.DestroyWindow();
  if (answer != ui::IDOK || path.empty()) return E_FAIL;
  return LoadFromPath(path, 0);
}

HResult CSpcControl::OnImportCommand() {
  if (m_args.empty()) return OnImportFile();
  const std::string path = m_args[0].GetString();
  const std::int32_t index = m_args.size() > 1 ? m_args[1].GetLong() : 0;
  return LoadFromPath(path, index);
}

std::vector<std::string> CSpcControl::ExportFormatList() {
  std::vector<std::string> formats;
  for (std::int32_t i = 0;; ++i) {
    Bstr name = nullptr, options = nullptr;
    std::int32_t caps = 0;
    if (failed(m_xSpectrumControl.GetFormat(i, &name, &options, &caps))) break;
    if (caps & kSpcCapWrite) formats.push_back(plat::toUtf8(stringView(name)) + ";" + plat::toUtf8(stringView(options)));
    freeString(name);
    freeString(options);
  }
  return formats;
}

HResult CSpcControl::OnExportFile() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  std::string fileName;
  GetParamText("FILENAME", &fileName);
  CFileSaveDlg dialog;
  dialog.m_controlClasses = {CLSID_Spc};
  dialog.m_saveFormats = ExportFormatList();
  dialog.m_fileName = fileName;
  dialog.SetCurrentDirectory(SpcApp().m_saveDirectory);
  const int answer = dialog.DoModal({}, IsWindow() ? this : nullptr);
  SpcApp().m_saveDirectory = dialog.GetCurrentDirectory();
  const std::int32_t format = dialog.GetFormatIndex(), type = dialog.GetTypeIndex();
  const std::string path = dialog.GetFilePath();
  dialog.DestroyWindow();
  if (answer != ui::IDOK || format < 0) return E_FAIL;
  // The list holds the writable formats only: its entry is found again in the kind's list by name.
  const std::vector<std::string>& formats = dialog.m_saveFormats;
  const std::string chosen = static_cast<std::size_t>(format) < formats.size() ? formats[format].substr(0, formats[format].find(';')) : "";
  std::int32_t kindIndex = -1;
  for (std::int32_t i = 0; kindIndex < 0; ++i) {
    Bstr name = nullptr;
    std::int32_t caps = 0;
    if (failed(m_xSpectrumControl.GetFormat(i, &name, nullptr, &caps))) break;
    if ((caps & kSpcCapWrite) && plat::toUtf8(stringView(name)) == chosen) kindIndex = i;
    freeString(name);
  }
  if (kindIndex < 0) return E_FAIL;
  return SaveToPath(path, kindIndex, type < 0 ? 0 : type, 0);
}

HResult CSpcControl::OnExportCommand() {
  if (m_args.empty()) return OnExportFile();
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const std::string path = m_args[0].GetString();
  if (m_args.size() == 1) return SaveToPath(path, 0, 0, 0);
  // The format by name, without regard to case, among the loaded kind's writable formats.
  const std::string wanted = m_args[1].GetString();
  std::int32_t format = -1;
  std::string options;
  for (std::int32_t i = 0; format < 0; ++i) {
    Bstr name = nullptr, saveOptions = nullptr;
    std::int32_t caps = 0;
    if (failed(m_xSpectrumControl.GetFormat(i, &name, &saveOptions, &caps))) break;
    if ((caps & kSpcCapWrite) && plat::equalsNoCase(plat::toUtf8(stringView(name)), wanted)) {
      format = i;
      options = plat::toUtf8(stringView(saveOptions));
    }
    freeString(name);
    freeString(saveOptions);
  }
  if (format < 0) return E_FAIL;
  const std::int32_t type = m_args.size() > 2 ? IndexInList(options, m_args[2].GetString()) : 0;
  return SaveToPath(path, format, type, 0);
}
