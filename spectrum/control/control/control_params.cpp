// Parameters as text through the control's own ISpectrumControl (the computed names and the
// record's list), the two expression forms, loading by path and the load event.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <climits>
#include <cstdio>

#include "common/shared_ids.h"
#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "spectrum/control/control/expressions.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/plot/axes.h"

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

// Inside an expression a computed name stands for its number in the unit its text shows
// ("SF*2" is 800.26 on a 400.13 MHz spectrum, not "400.1300 MHz*2"), at full precision.
bool CSpcControl::EvaluateExpression(std::string& text) {
  nelvar::EvaluateExpression(text, [this](std::string_view name, std::string* value) {
    if (ComputedNumber number; ComputedParamNumber(name, &number)) {
      *value = nelvar::PlainDecimal(number.value);
      return true;
    }
    return GetParamText(name, value);
  });
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

// ---- ISpectrumControl::GetParam and SetParam ---------------------------------------------------

namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

template <class... Args>
std::string Format(const char* format, Args... args) {
  const int n = std::snprintf(nullptr, 0, format, args...);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, args...);
  text.resize(static_cast<std::size_t>(n));
  return text;
}

std::string Text16(const char16_t* bstr) {
  return plat::toUtf8(bstr ? std::u16string_view(bstr) : std::u16string_view());
}

// A point index from a view bound, which may hold anything a file or a command put there.
std::int32_t BoundPoint(float bound) {
  if (!std::isfinite(bound)) return 0;
  return static_cast<std::int32_t>(std::clamp<double>(bound, INT32_MIN, INT32_MAX));
}

// The value of a list parameter as text: a scalar entry's text, or element n of the array of
// the name without its trailing digits n. False when neither names anything.
bool ListParamText(const CSpcParamList& params, std::string_view name, std::string* text) {
  const std::ptrdiff_t at = params.Find(name);
  if (at >= 0 && !params[static_cast<std::size_t>(at)].value.IsArray()) {
    *text = params[static_cast<std::size_t>(at)].value.GetString();
    return true;
  }
  std::size_t cut = name.size();
  while (cut > 0 && std::isdigit(static_cast<unsigned char>(name[cut - 1]))) --cut;
  if (cut == name.size() || cut == 0) return false;
  const std::ptrdiff_t array = params.Find(name.substr(0, cut));
  if (array < 0) return false;
  std::int64_t n = 0;
  for (char c : name.substr(cut)) {
    n = n * 10 + (c - '0');
    if (n > INT32_MAX) return false;
  }
  *text = params[static_cast<std::size_t>(array)].value.GetItem(static_cast<std::int32_t>(n)).GetValue().GetString();
  return true;
}

// The text forms a value reads as: a finite float ("%f") and a 32-bit integer ("%ld").
struct ReadValue {
  bool isFloat = false;
  bool isInteger = false;
  float f = 0.0f;
  std::int32_t l = 0;
};
ReadValue Read(const std::string& text) {
  ReadValue r;
  r.isFloat = std::sscanf(text.c_str(), "%f", &r.f) == 1 && std::isfinite(r.f);
  long l = 0;
  r.isInteger = std::sscanf(text.c_str(), "%ld", &l) == 1 && l >= INT32_MIN && l <= INT32_MAX;
  r.l = static_cast<std::int32_t>(r.isInteger ? l : 0);
  return r;
}

}  // namespace

std::int32_t CSpcControl::CurrentXUnit() {
  const auto* scale = static_cast<const CScale*>(m_drawList.FindDrawObject(kDrawScale));
  return scale ? m_drawList.UsableUnit(scale->m_nUnit) : m_drawList.GetDefaultUnit();
}

double CSpcControl::PointInUnit(std::int32_t point, std::int32_t unit) {
  const CSpcProcess::PointToUnitFunc convert = m_process.GetPointToUnitFunc(unit);
  return convert ? (m_process.*convert)(point) : m_process.PointToIndex(point);
}

bool CSpcControl::ItemWidth(double* width) {
  const SaItemRecord* record = m_pOrvSite ? m_pOrvSite->GetItemRecord() : nullptr;
  if (!record || record->right - record->left <= 0) return false;
  *width = static_cast<double>(record->right) - record->left;
  return true;
}

bool CSpcControl::ComputedParamNumber(std::string_view name, ComputedNumber* number) {
  const CSpcProcess& p = m_process;
  auto is = [&](const char* key) { return plat::equalsNoCase(name, key); };
  double width = 0.0;
  if (is("SI")) *number = {static_cast<double>(p.m_nSI), "%.0f"};
  else if (is("TD")) *number = {static_cast<double>(p.m_nTD), "%.0f"};
  else if (is("AQ") && p.m_dSW != 0.0) *number = {p.m_nTD / (2.0 * p.m_dSW), "%.2f sec"};
  else if (is("AM")) *number = {static_cast<double>(static_cast<unsigned>(p.m_nAqMode)), "%.0f"};
  else if (is("PH0")) *number = {static_cast<double>(p.m_fPH0), "%.2f deg"};
  else if (is("PH1")) *number = {static_cast<double>(p.m_fPH1), "%.2f deg"};
  else if (is("OFFSET")) *number = {p.PointToPpm(0), "%.4f ppm"};
  else if (is("SSC")) *number = {static_cast<double>(p.m_fSplineFactor), "%.3e"};
  else if (is("SCALE") && ItemWidth(&width)) {
    const double left = p.PointToHertz(BoundPoint(m_drawList.m_fLeftBound));
    const double right = p.PointToHertz(BoundPoint(m_drawList.m_fRightBound));
    *number = {(left - right) / width * 1000.0, "%.4f Hertz per cm"};
  } else if (is("LBOUND")) *number = {PointInUnit(BoundPoint(m_drawList.m_fLeftBound), CurrentXUnit()), "%.4f"};
  else if (is("RBOUND")) *number = {PointInUnit(BoundPoint(m_drawList.m_fRightBound), CurrentXUnit()), "%.4f"};
  else if (is("SW")) *number = {p.m_dSW, "%.f"};
  else if (is("SF")) *number = {p.m_dFreq, "%.4f MHz"};
  else if (is("SCAN")) *number = {static_cast<double>(p.m_nScan) + 1.0, "%.0f"};
  else return false;
  return true;
}

bool CSpcControl::ComputedParamText(std::string_view name, std::string* text) {
  auto is = [&](const char* key) { return plat::equalsNoCase(name, key); };
  if (ComputedNumber number; ComputedParamNumber(name, &number)) *text = Format(number.format, number.value);
  else if (is("XUNITS")) {
    const std::int32_t unit = CurrentXUnit();
    if (!ui::LoadString(static_cast<ui::UINT>(kUnitNameStringBase + unit), text)) *text = std::string(GetUnitName(unit));
  } else if (is("DATE") || is("TIME")) {
    // A spectrum without a date shows none, rather than the zero date (30 December 1899).
    const CVariant& stored = m_data.params.GetValue("DATE");
    const CDateTime date = stored.GetDate();
    plat::ole::DateParts d;
    text->clear();
    if (!stored.IsEmpty() && stored.GetType() != plat::ole::VT_NULL && date.valid &&
        plat::ole::partsFromDate(date.date, &d))
      *text = is("DATE") ? Format("%02d-%s-%04d", d.day, kMonths[(d.month - 1) % 12], d.year)
                         : Format("%02d:%02d:%02d", d.hour, d.minute, d.second);
  } else if (is("FILENAME")) *text = m_data.strName;
  else return false;
  return true;
}

plat::ole::HResult CSpcControl::XSpectrumControl::GetParam(const char16_t* name, Bstr* value) {
  if (!value) return E_FAIL;
  CSpcControl& control = outer<CSpcControl>();
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const std::string key = Text16(name);
  std::string text;
  if (!control.ComputedParamText(key, &text)) ListParamText(control.m_data.params, key, &text);
  if (text.empty()) return E_FAIL;
  *value = allocString(plat::toUtf16(text));
  return S_OK;
}

bool CSpcControl::SetComputedParam(std::string_view name, const std::string& evaluated) {
  const ReadValue v = Read(evaluated);
  CSpcProcess& p = m_process;
  auto is = [&](const char* key) { return plat::equalsNoCase(name, key); };
  if (is("SI")) {
    if (!v.isInteger) return false;
    std::int64_t size = v.l;
    if (evaluated.find_first_of("Kk") != std::string::npos) size *= 1024;
    if (size < 2 || size > static_cast<std::int64_t>(CSpcData::kMaxPoints) || (size & (size - 1)) != 0) return false;
    const auto newSize = static_cast<std::int32_t>(size);
    if (!m_data.spectrum().empty() || !m_data.scans.empty()) {
      if (!m_data.spectrum().empty()) m_data.spectrum().resize(static_cast<std::size_t>(newSize));
      if (m_data.nDomain == 1) {
        m_drawList.m_fLeftBound = 0.0f;
        m_drawList.m_fRightBound = static_cast<float>(newSize - 1);
      }
    }
    if (p.m_nSI > 0) p.m_nOP = static_cast<std::int32_t>(static_cast<std::int64_t>(p.m_nOP) * newSize / p.m_nSI);
    p.m_nSI = newSize;
    p.SelectData();
    if (p.m_bBaseline || !p.m_baseline.empty()) p.CalcBaseline();
  } else if (is("PH0") || is("PH1")) {
    if (!v.isFloat) return false;
    (is("PH0") ? p.m_fPH0 : p.m_fPH1) = v.f;
    p.UpdatePhase();
  } else if (is("OFFSET")) {
    if (!v.isFloat) return false;
    p.m_dOffset = static_cast<double>(v.f) * p.m_dFreq;
    p.m_nOP = 0;
  } else if (is("SSC")) {
    if (!v.isFloat) return false;
    p.m_fSplineFactor = v.f;
    p.CalcBaseline();
  } else if (is("PP")) {
    if (!v.isInteger) return false;
    p.m_nPivot = v.l;
    p.UpdatePhase();
  } else if (is("LBOUND")) {
    if (!v.isFloat) return false;
    const std::int32_t point = p.PpmToPoint(v.f);
    if (point >= 0 && point < m_drawList.m_fRightBound) m_drawList.m_fLeftBound = static_cast<float>(point);
  } else if (is("RBOUND")) {
    if (!v.isFloat) return false;
    const std::int32_t point = p.PpmToPoint(v.f);
    if (point > m_drawList.m_fLeftBound && point <= p.m_nCur - 1) m_drawList.m_fRightBound = static_cast<float>(point);
  } else if (is("SCALE")) {
    double width = 0.0;
    if (!v.isFloat || !ItemWidth(&width)) return true;  // no container item to measure: nothing to do
    const double wanted = width * v.f * 0.001;
    if (!(wanted < p.m_dSW) || p.m_dSW == 0.0) return true;
    const double shown = p.PointToHertz(BoundPoint(m_drawList.m_fLeftBound)) - p.PointToHertz(BoundPoint(m_drawList.m_fRightBound));
    const double d = std::trunc((wanted - shown) * p.m_nCur / p.m_dSW);
    if (!std::isfinite(d)) return true;
    double left = static_cast<double>(m_drawList.m_fLeftBound) - d, right = m_drawList.m_fRightBound;
    if (left < 0.0) {
      right -= left;
      left = 0.0;
    }
    m_drawList.m_fLeftBound = static_cast<float>(left);
    m_drawList.m_fRightBound = static_cast<float>(std::min<double>(right, std::max(p.m_nCur - 1, 0)));
  } else {
    return false;
  }
  Refresh();
  return true;
}

plat::ole::HResult CSpcControl::XSpectrumControl::SetParam(const char16_t* name, const char16_t* value) {
  CSpcControl& control = outer<CSpcControl>();
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const std::string key = Text16(name);
  const std::string text = Text16(value);
  std::string evaluated = text;
  control.EvaluateExpression(evaluated);
  if (key.empty() || control.SetComputedParam(key, evaluated)) return S_OK;
  CVariant entry;
  entry.SetString(text);
  control.m_data.params.SetParam(key, entry);
  return S_OK;
}
