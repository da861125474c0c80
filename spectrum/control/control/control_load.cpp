// Loading and saving spectra through ISpectrumControl: counting the spectra of a file, loading
// one of them by its number across every kind and format, identifying a file, describing the
// formats of the loaded kind and saving in one of them. A spectrum folder also carries the
// control's "analysis" (the plot's annotations) and "properties" (its property sets).
#include <algorithm>
#include <cstdint>

#include "controls/pagebase/pagebase.h"
#include "foundation/profdesc.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/resource.h"
#include "profile/profile.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/dialogs/listdialog.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/convert/spcconvert.h"

using namespace plat::ole;

using HResult = plat::ole::HResult;

namespace {

constexpr ui::UINT kIdsLoadError = 3087;
constexpr ui::UINT kIdsNotReadWhole = 3127;
constexpr ui::UINT kIdsTooLarge = 3128;
constexpr char kPropertiesFile[] = "properties";

std::string PathText(const char16_t* path) {
  return plat::toUtf8(path ? std::u16string_view(path) : std::u16string_view());
}

// The leaf converter of format index of the record's kind, or null (no such kind or format).
std::unique_ptr<CSpcConvert> FormatOfKind(std::int32_t kind, std::int32_t index) {
  const SpcKindRow* row = SpcFindKind(kind);
  if (!row || static_cast<std::uint32_t>(index) >= row->kind->GetFormatCount()) return nullptr;
  return row->kind->CreateFormat(index);
}

// A string resource with its "%s" replaced by the parts in order, in a message box.
void Report(ui::UINT id, std::initializer_list<std::string> parts, ui::UINT icon) {
  std::string text = ui::LoadString(id);
  std::size_t from = 0;
  for (const std::string& part : parts)
    if (const std::size_t at = text.find("%s", from); at != std::string::npos) {
      text.replace(at, 2, part);
      from = at + part.size();
    }
  ui::AppMessageBox(text, ui::MB_OK | icon);
}

}  // namespace

// ---- Loading ------------------------------------------------------------------------------------

HResult CSpcControl::XSpectrumControl::LoadSpectrum(const char16_t* path, std::int32_t index) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  return outer<CSpcControl>().LoadSpectrumFile(PathText(path), index);
}

HResult CSpcControl::LoadSpectrumFile(const std::string& path, std::int32_t index) {
  // The converters ask the user through the list dialog when a file holds several candidates.
  SetChooseFromList(ChooseFromListDialog);
  // The spectrum is read aside first: an index that no converter covers changes nothing.
  CSpcData loaded;
  std::string formatName;
  SpcFailure unread;
  const SpcLoadResult result =
      index < 0 ? SpcLoadResult::NotFound : SpcLoadSpectrum(path, index, &loaded, &formatName, &unread);
  if (result == SpcLoadResult::NotFound) return E_FAIL;
  // Nothing was read: the control keeps what it holds.
  if (result == SpcLoadResult::TooLarge) {
    Report(kIdsTooLarge, {path, formatName}, ui::MB_ICONSTOP);
    return E_FAIL;
  }
  ClearData();
  if (result == SpcLoadResult::ReadFailed) {
    // What the control held is gone, as when the reader fails on the record itself.
    m_data.Reset();
    ResetView();
    Refresh();
    Report(kIdsLoadError, {formatName}, ui::MB_ICONSTOP);  // "%s file loading error. ..."
    return E_FAIL;
  }
  m_data = std::move(loaded);
  FreePropertySnapshots();
  // A load never reads the previous file's property sets.
  m_propertyFolder.clear();
  m_process.InitFromParams();
  m_process.SelectData();
  ResetView();
  SetModifiedFlag();
  // Only the spectrum folder keeps the control's own files beside the spectrum.
  const auto number = static_cast<std::uint32_t>(index);
  if (SpcContainer().count(path) > 0) {
    m_drawList.LoadAnalysis(path, number);
    if (plat::fileInfo(plat::joinPath(path, kPropertiesFile)).exists) m_propertyFolder = path;
  }
  m_spectrumNumber = number;
  const std::uint32_t set = m_propertySet;
  m_propertySet = static_cast<std::uint32_t>(-1);
  m_xSaItem.SelectPropertySet(set, 0);
  // The STARTUP macro (or the STARTUP parameter's dialog) belongs to the console's interpreter.
  m_xSpectrumControl.ExecuteCommands(u"STARTUP");
  LoadBarState();
  Refresh();
  // What could be read is loaded; the user learns what could not.
  if (result == SpcLoadResult::Partial) Report(kIdsNotReadWhole, {path, unread.Describe()}, ui::MB_ICONEXCLAMATION);
  FireOnSpectrumLoad(path);
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetSpectraCount(const char16_t* path, std::int32_t* n) {
  if (!n) return E_FAIL;
  *n = 0;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  COrvFile file(PathText(path));
  const std::int64_t count = SpcCountSpectra(file);
  *n = static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetFileFormats(const char16_t* path, Bstr* formatName, Bstr* kinds) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  COrvFile file(PathText(path));
  std::string format, kindNames;
  if (!SpcIdentifyFile(file, &format, &kindNames)) return E_FAIL;
  if (formatName) *formatName = allocString(plat::toUtf16(format));
  if (kinds) *kinds = allocString(plat::toUtf16(kindNames));
  return S_OK;
}

// ---- Formats of the loaded kind ------------------------------------------------------------------

HResult CSpcControl::XSpectrumControl::GetFormat(std::int32_t index, Bstr* name, Bstr* saveOptions, std::int32_t* caps) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const std::unique_ptr<CSpcConvert> leaf = FormatOfKind(outer<CSpcControl>().m_data.nKind, index);
  if (!leaf) return E_FAIL;
  std::string text;
  leaf->GetFormatName(text);
  if (name) *name = allocString(plat::toUtf16(text));
  if (saveOptions) *saveOptions = allocString(plat::toUtf16(leaf->GetSaveOptions()));
  if (caps) *caps = static_cast<std::int32_t>(leaf->GetCaps());
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetKindFormatCount(std::int32_t* n) {
  if (!n) return E_FAIL;
  // Only the NMR and IR kinds answer here; GetFormat serves every kind.
  const std::int32_t kind = outer<CSpcControl>().m_data.nKind;
  if (kind != kSpcKindNmr && kind != kSpcKindIr) return E_FAIL;
  *n = static_cast<std::int32_t>(SpcFindKind(kind)->kind->GetFormatCount());
  return S_OK;
}

// ---- Saving ----------------------------------------------------------------------------------------

HResult CSpcControl::XSpectrumControl::SaveSpectrum(const char16_t* path, std::int32_t formatIndex,
                                                      std::int32_t saveOption, std::int32_t controlNo) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  return outer<CSpcControl>().SaveSpectrumFile(PathText(path), formatIndex, saveOption, controlNo);
}

HResult CSpcControl::SaveSpectrumFile(const std::string& path, std::int32_t formatIndex, std::int32_t saveOption,
                                      std::int32_t controlNo) {
  // Nothing loaded, no such format, one that cannot write, or no number to file it under.
  const std::unique_ptr<CSpcConvert> leaf = FormatOfKind(m_data.nKind, formatIndex);
  if (!leaf || !HoldsData() || !(leaf->GetCaps() & kSpcCapWrite) || controlNo < 0 || path.empty()) return E_FAIL;
  if (!leaf->Write(path, &m_process, saveOption, controlNo)) return E_FAIL;
  if (formatIndex == 0) {
    const auto number = static_cast<std::uint32_t>(controlNo);
    m_drawList.SaveAnalysis(path, number);
    SavePropertySets(path, number);
  }
  return S_OK;
}

void CSpcControl::SavePropertySets(const std::string& folder, std::uint32_t number) {
  COrvProfDesc desc(plat::toUtf16(plat::joinPath(folder, kPropertiesFile)).c_str(),
                    plat::toUtf16("\\CONTROL_" + std::to_string(number)).c_str());
  desc.SetIni(true);
  std::uint32_t kept = 0;
  m_xSaItem.GetPropertySet(&kept);
  IDispatch* dispatch = GetIDispatch(false);
  for (std::uint32_t set : {0u, 1u}) {
    // Set n lies in subsection n of the control's section; a set that does not open is skipped.
    COrvProfDesc section(desc);
    section.AddSubSection(plat::toUtf16(std::to_string(set)).c_str());
    if (section.Open(PROF_MODE_ALL) != PROF_OK) continue;
    m_xSaItem.SelectPropertySet(set, 0);
    SaveDispatchProperties(dispatch, &section);
    section.Close();
  }
  m_xSaItem.SelectPropertySet(kept, 0);
}
