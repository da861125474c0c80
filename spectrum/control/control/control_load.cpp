// Loading and saving spectra through ISpectrumControl: by path and index, and the format
// queries. The load runs the converter walk into the record, sets up processing and the view,
// restores the kind's bar state and fires OnSpectrumLoad; the rest of the load (property files,
// the STARTUP macro, the failure message) and saving come with the loading area.
#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/convert/spcconvert.h"

using namespace plat::ole;

using HResult = plat::ole::HResult;

HResult CSpcControl::XSpectrumControl::LoadSpectrum(const char16_t* path, std::int32_t index) {
  CSpcControl& control = outer<CSpcControl>();
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  if (index < 0) return E_FAIL;
  const std::string file = plat::toUtf8(path ? std::u16string_view(path) : std::u16string_view());
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

HResult CSpcControl::XSpectrumControl::GetFileFormats(const char16_t*, Bstr*, Bstr*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::SaveSpectrum(const char16_t*, std::int32_t, std::int32_t, std::int32_t) {
  return E_FAIL;
}
HResult CSpcControl::XSpectrumControl::GetFormat(std::int32_t, Bstr*, Bstr*, std::int32_t*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetKindFormatCount(std::int32_t*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetSpectraCount(const char16_t*, std::int32_t*) { return E_FAIL; }
