// Loading and saving spectra through ISpectrumControl: by path and index, and the format
// queries. The load runs the converter walk into the record, sets up processing and the view,
// restores the kind's bar state and fires OnSpectrumLoad; the rest of the load (property files,
// the STARTUP macro, the failure message) and saving come with the loading area.
#include <algorithm>
#include <cstdint>

#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/convert/spcconvert.h"

using namespace plat::ole;

using HResult = plat::ole::HResult;

namespace {
std::string PathText(const char16_t* path) {
  return plat::toUtf8(path ? std::u16string_view(path) : std::u16string_view());
}
}  // namespace

HResult CSpcControl::XSpectrumControl::LoadSpectrum(const char16_t* path, std::int32_t index) {
  CSpcControl& control = outer<CSpcControl>();
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  if (index < 0) return E_FAIL;
  const std::string file = PathText(path);
  control.ClearData();
  if (SpcLoadSpectrum(file, index, &control.m_data) != SpcLoadResult::Loaded) {
    control.m_data.Reset();
    control.ResetView();
    control.Refresh();
    return E_FAIL;
  }
  control.m_process.InitFromParams();
  control.m_spectrumNumber = static_cast<std::uint32_t>(index);
  control.ResetView();
  control.LoadBarState();
  control.FireOnSpectrumLoad(file);
  control.Refresh();
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
HResult CSpcControl::XSpectrumControl::SaveSpectrum(const char16_t*, std::int32_t, std::int32_t, std::int32_t) {
  return E_FAIL;
}
HResult CSpcControl::XSpectrumControl::GetFormat(std::int32_t, Bstr*, Bstr*, std::int32_t*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetKindFormatCount(std::int32_t*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetSpectraCount(const char16_t* path, std::int32_t* n) {
  if (!n) return E_FAIL;
  *n = 0;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  COrvFile file(PathText(path));
  const std::int64_t count = SpcCountSpectra(file);
  *n = static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
  return S_OK;
}
