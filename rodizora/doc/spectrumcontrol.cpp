#include "rodizora/doc/spectrumcontrol.h"

#include "common/guids.h"
#include "platform/com/creation.h"

CSpcControlRef& CSpcControlRef::operator=(CSpcControlRef&& other) noexcept {
  if (this != &other) {
    Reset();
    m_control = other.m_control;
    other.m_control = nullptr;
  }
  return *this;
}

CSpcControlRef CSpcControlRef::Create() {
  void* object = nullptr;
  if (plat::ole::createInstance(CLSID_Spc, nullptr, plat::ole::CLSCTX_SERVER, IID_ISpectrumControl, &object) < 0)
    return {};
  return CSpcControlRef(static_cast<ISpectrumControl*>(object));
}

CSpcControlRef CSpcControlRef::Query(plat::ole::IUnknown* object) {
  void* control = nullptr;
  if (!object || object->QueryInterface(IID_ISpectrumControl, &control) < 0 || !control) return {};
  return CSpcControlRef(static_cast<ISpectrumControl*>(control));
}

void CSpcControlRef::Reset() {
  if (m_control) m_control->Release();
  m_control = nullptr;
}

plat::String16 TakeBstr(plat::ole::Bstr text) {
  plat::String16 value(plat::ole::stringView(text));
  plat::ole::freeString(text);
  return value;
}

plat::String16 CSpcControlRef::CurMethod() const {
  plat::ole::Bstr method = nullptr;
  if (!m_control || m_control->GetCurMethod(&method) < 0) {
    plat::ole::freeString(method);
    return {};
  }
  return TakeBstr(method);
}

std::optional<plat::String16> CSpcControlRef::Param(std::u16string_view name) const {
  if (!m_control) return std::nullopt;
  plat::ole::Bstr value = nullptr;
  if (m_control->GetParam(BstrArg(name), &value) < 0) {
    plat::ole::freeString(value);
    return std::nullopt;
  }
  return TakeBstr(value);
}

int CSpcControlRef::SpectraCount(std::u16string_view path) const {
  if (!m_control) return 0;
  std::int32_t count = 0;
  if (m_control->GetSpectraCount(BstrArg(path), &count) < 0 || count < 0) return 0;
  return count;
}
