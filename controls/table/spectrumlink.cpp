#include "controls/table/spectrumlink.h"

namespace karvel {

namespace {

// Takes a returned string: its text, and the string freed.
plat::String16 Take(plat::ole::Bstr text) {
  plat::String16 out(plat::ole::stringView(text));
  plat::ole::freeString(text);
  return out;
}

}  // namespace

CSpectrumLink::~CSpectrumLink() {
  if (m_control) m_control->Release();
}

bool CSpectrumLink::GetCurMethod(plat::String16* kindName) {
  plat::ole::Bstr method = nullptr;
  if (!m_control || plat::ole::failed(m_control->GetCurMethod(&method))) return false;
  *kindName = Take(method);
  return true;
}

bool CSpectrumLink::GetParam(const plat::String16& name, plat::String16* value) {
  if (!m_control) return false;
  plat::ole::Bstr wanted = plat::ole::allocString(name);
  plat::ole::Bstr result = nullptr;
  const plat::ole::HResult hr = m_control->GetParam(wanted, &result);
  plat::ole::freeString(wanted);
  if (plat::ole::failed(hr)) return false;
  *value = Take(result);
  return true;
}

}  // namespace karvel
