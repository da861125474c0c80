// ISpectrumControl, the control's custom interface: the kind's method name, module facts,
// parameter names and descriptions, the shown data as a number array in and out, scans and the
// console's result. Parameters as text are in control_params.cpp, loading, saving and the
// format queries in control_load.cpp, the command interpreter in control_console.cpp.
#include <algorithm>
#include <array>
#include <cstring>

#include "foundation/genstart.h"
#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/plot/plotdata.h"
#include "spectrum/convert/spcconvert.h"

using namespace plat::ole;

using HResult = plat::ole::HResult;

namespace {

constexpr char kCopyright[] = "Copyright (C) 1997-2002 Orvane. All rights reserved.";
constexpr char kCreateDate[] = "26-Nov-2002";
constexpr char kMethods[] = "NMR;MASS;IR;UV;CH";
constexpr ui::UINT kIdsModuleName = 3002;
constexpr ui::UINT kIdsParamDescriptionBase = 4000;
constexpr std::size_t kDescribedParams = 27;  // rows 0-26 have a description string

// The names GetParamDescription knows, by row.
constexpr std::array<const char*, 37> kParamTable = {
    "AQ", "SI",      "PW",  "DW",      "LB",     "GB",    "TD",     "FILENAME", "OPR",     "SF",
    "SW", "DATE",    "TE",  "NS",      "NC",     "NSC",   "NE",     "PH0",      "PH1",     "SOLVENT",
    "RD", "DE",      "RG",  "DS",      "AM",     "SSC",   "OFFSET", "PP",       "LBOUND",  "RBOUND",
    "SCALE", "COMMENT", "EXPERT", "GRADE", "INSTRUM", "NUCLEUS", "TITLE"};

Bstr NewText(std::string_view text) { return allocString(plat::toUtf16(text)); }

std::string Text(const char16_t* bstr) { return plat::toUtf8(bstr ? std::u16string_view(bstr) : std::u16string_view()); }

// An element of the caller's array as a float, by the variant rules; false when it cannot be read.
bool ReadElement(const SafeArray* array, std::int32_t i, std::int32_t j, float* value) {
  const std::int32_t at[2] = {i, j};
  switch (array->vt) {
    case VT_VARIANT: {
      Variant v;
      variantInit(&v);
      if (failed(safeArrayGetElementAt(array, at, &v))) return false;
      Variant r4;
      variantInit(&r4);
      const bool ok = succeeded(changeType(&r4, v, 0, VT_R4));
      variantClear(&v);
      if (ok) *value = r4.r4;
      return ok;
    }
    case VT_R4: return succeeded(safeArrayGetElementAt(array, at, value));
    case VT_R8: {
      double d = 0;
      if (failed(safeArrayGetElementAt(array, at, &d))) return false;
      *value = static_cast<float>(d);
      return true;
    }
    case VT_I2: {
      std::int16_t s = 0;
      if (failed(safeArrayGetElementAt(array, at, &s))) return false;
      *value = s;
      return true;
    }
    case VT_I4: {
      std::int32_t l = 0;
      if (failed(safeArrayGetElementAt(array, at, &l))) return false;
      *value = static_cast<float>(l);
      return true;
    }
    default: return false;
  }
}

// What SetData accepts: two dimensions, the second covering 0 and 1, of number or variant
// elements; the rows [*lb, *ub] of dimension 1.
bool UsableArray(const SafeArray* array, std::int32_t* lb, std::int32_t* ub) {
  if (!array || array->dims != 2) return false;
  switch (array->vt) {
    case VT_VARIANT: case VT_R4: case VT_R8: case VT_I2: case VT_I4: break;
    default: return false;
  }
  std::int32_t lb2 = 0, ub2 = 0;
  if (failed(safeArrayGetLBound(array, 2, &lb2)) || failed(safeArrayGetUBound(array, 2, &ub2)) || lb2 > 0 || ub2 < 1)
    return false;
  return succeeded(safeArrayGetLBound(array, 1, lb)) && succeeded(safeArrayGetUBound(array, 1, ub));
}

}  // namespace

// ---- Kind and module ----------------------------------------------------------------------------

HResult CSpcControl::XSpectrumControl::GetCurMethod(Bstr* method) {
  if (!method) return E_FAIL;
  const SpcKindRow* kind = SpcFindKind(outer<CSpcControl>().m_data.nKind);
  if (!kind) return E_FAIL;
  *method = allocString(kind->name);
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetModuleName(Bstr* text) {
  if (!text) return E_FAIL;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  *text = NewText(ui::LoadString(kIdsModuleName));
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetCopyright(Bstr* text) {
  if (!text) return E_FAIL;
  *text = NewText(kCopyright);
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetVersion(std::int16_t* hi, std::int16_t* lo) {
  if (!hi || !lo) return E_FAIL;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  // The version record of the file this code was loaded from; a file without one is 0.0.
  plat::FixedFileInfo info;
  if (!plat::readFileVersion(plat::moduleFileName(reinterpret_cast<const void*>(&kCopyright)), &info))
    info.fileVersionMS = 0;
  *hi = static_cast<std::int16_t>(info.fileVersionMS >> 16);
  *lo = static_cast<std::int16_t>(info.fileVersionMS & 0xFFFF);
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetCreateDate(Bstr* date) {
  if (!date) return E_FAIL;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  *date = NewText(kCreateDate);
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetMethods(Bstr* list) {
  if (!list) return E_FAIL;
  *list = NewText(kMethods);
  return S_OK;
}

// ---- Parameter names ------------------------------------------------------------------------------

HResult CSpcControl::XSpectrumControl::GetParamNames(Bstr* names) {
  if (!names) return E_FAIL;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  std::string text;
  const CSpcParamList& params = outer<CSpcControl>().m_data.params;
  for (std::size_t i = 0; i < params.size(); ++i) text += (i ? ";" : "") + params[i].name;
  *names = NewText(text);
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetParamDescription(const char16_t* name, Bstr* text) {
  if (!text) return E_FAIL;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const std::string key = Text(name);
  for (std::size_t row = 0; row < kParamTable.size(); ++row) {
    if (!plat::equalsNoCase(key, kParamTable[row])) continue;
    *text = NewText(row < kDescribedParams ? ui::LoadString(kIdsParamDescriptionBase + static_cast<ui::UINT>(row)) : "");
    return S_OK;
  }
  return E_FAIL;
}

// ---- Scans and the result -------------------------------------------------------------------------

HResult CSpcControl::XSpectrumControl::GetCount(std::int32_t* n) {
  if (!n) return E_FAIL;
  *n = outer<CSpcControl>().m_process.m_nScans;
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetCurIndex(std::int32_t* index) {
  if (!index) return E_FAIL;
  *index = outer<CSpcControl>().m_process.m_nScan;
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::SetCurIndex(std::int32_t index) {
  CSpcControl& control = outer<CSpcControl>();
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const std::int32_t count = control.m_process.m_nScans;
  if (count <= 0 || static_cast<std::uint32_t>(index) >= static_cast<std::uint32_t>(count)) return E_FAIL;
  control.m_process.SetScan(index);
  control.SetModifiedFlag();
  control.Refresh();
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::TakeResult(Variant* result) {
  if (!result) return E_FAIL;
  outer<CSpcControl>().m_result.Detach(result);
  return S_OK;
}

// ---- Data ---------------------------------------------------------------------------------------

// The peaks of the shown scan, or null when the scan index is outside the record's scans.
std::vector<CSpcPoint>* CSpcControl::ShownScanPeaks() {
  const std::int32_t scan = m_process.m_nScan;
  if (scan < 0 || static_cast<std::size_t>(scan) >= m_data.scans.size()) return nullptr;
  return &m_data.scans[static_cast<std::size_t>(scan)].peaks;
}

std::int32_t CSpcControl::ShownPointCount() {
  if (m_data.nKind != kPlotKindMass) return std::max(m_process.m_nCur, 0);
  const std::vector<CSpcPoint>* peaks = ShownScanPeaks();
  return peaks ? static_cast<std::int32_t>(std::min<std::size_t>(peaks->size(), INT32_MAX)) : 0;
}

HResult CSpcControl::XSpectrumControl::GetSize(std::int32_t* n) {
  CSpcControl& control = outer<CSpcControl>();
  if (!n || !control.HoldsData()) return E_FAIL;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  *n = control.ShownPointCount();
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetData(SafeArray** data) {
  CSpcControl& control = outer<CSpcControl>();
  if (!data || !control.HoldsData()) return E_FAIL;
  // A mass record whose shown scan is not among its scans has no peaks to give.
  const std::vector<CSpcPoint>* peaks = control.m_data.nKind == kPlotKindMass ? control.ShownScanPeaks() : nullptr;
  if (control.m_data.nKind == kPlotKindMass && !peaks) return E_FAIL;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const std::int32_t n = control.ShownPointCount();
  const SafeArrayBound bounds[2] = {{static_cast<std::uint32_t>(n), 0}, {2, 0}};
  SafeArray* array = safeArrayCreate(VT_R4, 2, bounds);
  if (!array) return E_FAIL;
  auto* values = static_cast<float*>(array->data);  // the n first values, then the n second ones
  const std::size_t count = static_cast<std::size_t>(n);
  if (peaks) {
    for (std::size_t i = 0; i < count; ++i) {
      values[i] = (*peaks)[i].im;          // mass
      values[count + i] = (*peaks)[i].re;  // intensity
    }
  } else {
    const CSpcProcess& process = control.m_process;
    for (std::size_t i = 0; i < count; ++i) {
      values[i] = static_cast<float>(process.GetReal(static_cast<std::int32_t>(i)));
      values[count + i] = static_cast<float>(process.GetImag(static_cast<std::int32_t>(i)));
    }
  }
  *data = array;
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::SetData(SafeArray* data) {
  CSpcControl& control = outer<CSpcControl>();
  std::int32_t lb = 0, ub = 0;
  if (!control.HoldsData() || !UsableArray(data, &lb, &ub)) return E_FAIL;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  if (control.m_data.nKind == kPlotKindMass) {
    std::vector<CSpcPoint>* peaks = control.ShownScanPeaks();
    if (!peaks || ub < lb) return E_FAIL;
    // The list is built aside and replaces the scan's only when every row was read.
    std::vector<CSpcPoint> built;
    built.reserve(static_cast<std::size_t>(static_cast<std::int64_t>(ub) - lb + 1));
    for (std::int64_t i = lb; i <= ub; ++i) {
      CSpcPoint peak;
      if (!ReadElement(data, static_cast<std::int32_t>(i), 0, &peak.im) ||
          !ReadElement(data, static_cast<std::int32_t>(i), 1, &peak.re))
        return E_FAIL;
      built.push_back(peak);
    }
    *peaks = std::move(built);
    return S_OK;
  }
  const std::int64_t rows = static_cast<std::int64_t>(ub) - lb + 1;
  if (rows != control.m_process.m_nCur) return E_FAIL;
  const std::span<CSpcPoint> points = control.m_process.m_pCur.span();
  if (static_cast<std::int64_t>(points.size()) != rows) return E_FAIL;
  for (std::int64_t i = 0; i < rows; ++i) {
    CSpcPoint& p = points[static_cast<std::size_t>(i)];
    // A row element that cannot be read leaves that value as it was.
    ReadElement(data, static_cast<std::int32_t>(lb + i), 0, &p.re);
    ReadElement(data, static_cast<std::int32_t>(lb + i), 1, &p.im);
  }
  return S_OK;
}
