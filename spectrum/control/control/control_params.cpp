// Parameters as text through the control's own ISpectrumControl, the two expression forms,
// loading by path and the load event.
#include "common/shared_ids.h"
#include "platform/base/text.h"
#include "spectrum/control/control/expressions.h"
#include "spectrum/control/control/spccontrol.h"

using namespace plat::ole;

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

bool CSpcControl::GetParamText(std::string_view name, std::string* text) {
  Bstr value = nullptr;
  const bool ok = succeeded(m_xSpectrumControl.GetParam(plat::toUtf16(name).c_str(), &value));
  if (ok && text) *text = plat::toUtf8(value ? std::u16string_view(value) : std::u16string_view());
  freeString(value);
  return ok;
}

bool CSpcControl::SetParamText(std::string_view name, std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() > 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return succeeded(m_xSpectrumControl.SetParam(plat::toUtf16(name).c_str(), plat::toUtf16(text).c_str()));
}

bool CSpcControl::EvaluateExpression(std::string& text) {
  nelvar::EvaluateExpression(text, [this](std::string_view name, std::string* value) { return GetParamText(name, value); });
  return true;
}

bool CSpcControl::ExpandStringExpression(std::string& text) {
  nelvar::ExpandStringExpression(text,
                                 [this](std::string_view name, std::string* value) { return GetParamText(name, value); });
  return true;
}

bool CSpcControl::GetParam(std::string_view name, std::string* value) { return GetParamText(name, value); }

HResult CSpcControl::LoadFromPath(std::string_view path, std::int32_t index) {
  return m_xSpectrumControl.LoadSpectrum(plat::toUtf16(path).c_str(), index);
}

void CSpcControl::FireOnSpectrumLoad(std::string_view path) {
  Variant arg;
  variantInit(&arg);
  arg.vt = VT_BSTR;
  arg.bstr = allocString(plat::toUtf16(path));
  FireEvent(kedrus_dispid::kOnSpectrumLoad, {&arg, 1});
  variantClear(&arg);
}
