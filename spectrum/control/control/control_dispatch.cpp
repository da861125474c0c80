// The control's dispatch interface _DSpcControl: the appearance properties as views on the
// plot (dispatchproperties.h, propertyviews.h) and the methods that answer questions about the
// module and the loaded data.
#include "common/guids.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/control/typelib.h"
#include "spectrum/control/dispatch/propertyviews.h"
#include "spectrum/control/labels/baseline.h"
#include "spectrum/control/labels/integrals.h"
#include "spectrum/control/labels/peaklabels.h"
#include "spectrum/control/labels/texts.h"
#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/trace.h"

using namespace plat::ole;
using namespace spc_dispatch;

#define SPC_DEFINE_DISPATCH_PROPERTY(name, id, type, ...)                                      \
  SpcPropertyType<DispType::type>::Get CSpcControl::Get##name() {                               \
    return __VA_ARGS__::Get<SpcPropertyType<DispType::type>::Get>(*this);                      \
  }                                                                                             \
  void CSpcControl::Set##name(SpcPropertyType<DispType::type>::Put value) {                     \
    __VA_ARGS__::Set<SpcPropertyType<DispType::type>::Put>(*this, value);                       \
  }
SPC_DISPATCH_PROPERTIES(SPC_DEFINE_DISPATCH_PROPERTY)
#undef SPC_DEFINE_DISPATCH_PROPERTY

namespace {

// A string answer of the custom interface, null when the call fails.
template <class Call>
char16_t* StringOrNull(Call call) {
  Bstr text = nullptr;
  if (failed(call(&text))) {
    freeString(text);
    return nullptr;
  }
  return text;
}

}  // namespace

char16_t* CSpcControl::GetCurMethod() {
  return StringOrNull([this](Bstr* text) { return m_xSpectrumControl.GetCurMethod(text); });
}

char16_t* CSpcControl::GetModuleName() {
  return StringOrNull([this](Bstr* text) { return m_xSpectrumControl.GetModuleName(text); });
}

char16_t* CSpcControl::GetCopyright() {
  return StringOrNull([this](Bstr* text) { return m_xSpectrumControl.GetCopyright(text); });
}

char16_t* CSpcControl::GetCreateDate() {
  return StringOrNull([this](Bstr* text) { return m_xSpectrumControl.GetCreateDate(text); });
}

std::int16_t CSpcControl::GetHiVersion() {
  std::int16_t hi = 0, lo = 0;
  m_xSpectrumControl.GetVersion(&hi, &lo);
  return hi;
}

std::int16_t CSpcControl::GetLowVersion() {
  std::int16_t hi = 0, lo = 0;
  m_xSpectrumControl.GetVersion(&hi, &lo);
  return lo;
}

std::int32_t CSpcControl::GetAvailableUnits() { return static_cast<std::int32_t>(m_process.GetAvailableUnits()); }

HResult CSpcControl::GetDispatchTypeInfo(Lcid lcid, ITypeInfo** info) {
  if (succeeded(COleControlEx::GetDispatchTypeInfo(lcid, info))) return S_OK;
  ITypeLib* library = nullptr;
  if (failed(createTypeLib(nelvar::SpcTypeLib(), &library))) return E_FAIL;
  const HResult hr = library->GetTypeInfoOfGuid(DIID__DSpcControl, info);
  library->Release();
  return hr;
}

namespace nelvar {

const DispInterfaceDesc& SpcDispatchInterface() {
#define SPC_DISPATCH_ENTRY(name, id, type, ...)                                          \
  dispProperty<&CSpcControl::Get##name, &CSpcControl::Set##name>(#name, id, DispType::type, \
                                                                 id == kSpcValuePropertyId ? kDispDefault : 0u),
  static constexpr DispEntry kMembers[] = {
      SPC_DISPATCH_PROPERTIES(SPC_DISPATCH_ENTRY)
      dispMethod<&CSpcControl::AboutBox>("AboutBox", DISPID_ABOUTBOX, DispType::Void),
      dispMethod<&CSpcControl::GetCurMethod>("GetCurMethod", 102, DispType::Bstr),
      dispMethod<&CSpcControl::GetModuleName>("GetModuleName", 103, DispType::Bstr),
      dispMethod<&CSpcControl::GetCopyright>("GetCopyright", 117, DispType::Bstr),
      dispMethod<&CSpcControl::GetHiVersion>("GetHiVersion", 118, DispType::I2),
      dispMethod<&CSpcControl::GetLowVersion>("GetLowVersion", 119, DispType::I2),
      dispMethod<&CSpcControl::GetCreateDate>("GetCreateDate", 120, DispType::Bstr),
      dispMethod<&CSpcControl::GetAvailableUnits>("GetAvailableUnits", 125, DispType::I4),
  };
#undef SPC_DISPATCH_ENTRY
  static constexpr DispInterfaceDesc kDesc{"_DSpcControl", &DIID__DSpcControl,
                                           "Dispatch interface for Orvane Spectrum Control", kMembers};
  return kDesc;
}

}  // namespace nelvar
