// The JCAMP-DX converters of the IR, UV, CH and TIC kinds (one family: a plain XYDATA table
// over an evenly spaced axis), and the header helpers shared by every JCAMP-DX writer.
#include <algorithm>
#include <cmath>

#include "platform/base/text.h"
#include "spectrum/convert/jdxconvert.h"
#include "spectrum/data/spcprocess.h"

// ---- Shared header helpers ----

namespace jdx {

namespace {
// Labels the reader acts on: a parameter written under one of these names would end the file,
// change the page, start a table or describe a table block when it is read again. The block
// labels of a file read earlier come back as parameters; written again they would stand beside
// (and contradict) the ones the writer makes for its own table. Keys as CJcampDx::LabelKey
// gives them.
bool SteersReader(std::string_view key) {
  for (const char* label : {"END", "PAGE", "XYDATA", "DATATABLE", "PEAKTABLE", "XYPOINTS", "NTUPLES", "ENDNTUPLES",
                            "VARNAME", "SYMBOL", "VARTYPE", "VARFORM", "VARDIM", "UNITS", "FIRST", "LAST", "MIN",
                            "MAX", "FACTOR", "FIRSTX", "LASTX", "NPOINTS", "FIRSTY", "LASTY", "XFACTOR", "YFACTOR",
                            "DELTAX", "XUNITS", "YUNITS", "MINX", "MAXX", "MINY", "MAXY"})
    if (key == label) return true;
  return false;
}

// The key of a header or record entry's label, without the "$" or "#" of a private label.
std::string KeyOf(std::string_view name) {
  const std::size_t b = name.find_first_not_of("$#");
  return b == std::string_view::npos ? std::string() : CJcampDx::LabelKey(name.substr(b));
}
}  // namespace

void AppendRecordParams(CSpcParamList& header, const CSpcParamList& params, bool privateLabels) {
  const std::size_t fixed = header.size();
  std::vector<std::string> written;
  for (const CSpcParam& entry : header) written.push_back(KeyOf(entry.name));
  for (const CSpcParam& p : params) {
    // The reader drops leading "$" and "#" of a label and compares labels by their keys, so a
    // name is written once whichever way it is spelt.
    const std::size_t b = p.name.find_first_not_of("$#");
    if (b == std::string::npos) continue;
    const std::string key = KeyOf(p.name);
    if (key.empty() || SteersReader(key) || std::find(written.begin(), written.end(), key) != written.end()) continue;
    written.push_back(key);
    CSpcParam copy = p;
    copy.name = privateLabels ? "$" + p.name.substr(b) : p.name.substr(b);
    header.Append(std::move(copy));
  }
  SortParams(header, fixed, header.size());
}

void OrdinateFactor::Add(double v) {
  if (!std::isfinite(v)) return;
  m_largest = std::max(m_largest, std::fabs(v));
  if (v != std::trunc(v)) m_integral = false;
}

double OrdinateFactor::Factor() const {
  if (m_integral || m_largest == 0.0 || m_largest >= 1.0e7) return 1.0;
  return std::pow(10.0, std::floor(std::log10(m_largest)) - 8.0);
}

}  // namespace jdx

// ---- The IR, UV, CH and TIC family ----

namespace {

constexpr OpticalJcampTraits kIrTraits{"INFRARED SPECTRUM", true, false, "1/CM", "TRANSMITTANCE"};
constexpr OpticalJcampTraits kUvTraits{"UV/VIS SPECTRUM", true, false, "NANOMETRES", "ABSORBANCE"};
// Chromatograms and ion traces run over time.
constexpr OpticalJcampTraits kChTraits{"LC", false, true, "SECONDS", "ARBITRARY UNITS"};
constexpr OpticalJcampTraits kTicTraits{"LC", true, true, "SECONDS", "ARBITRARY UNITS"};

// The evenly spaced axis of the written table: x of point i is first + i * step.
struct LinearAxis {
  double first = 0.0;
  double step = 0.0;
  double At(std::int32_t i) const { return first + step * i; }
};

LinearAxis AxisOf(const CSpcProcess& p) {
  LinearAxis axis;
  axis.first = p.m_dFreq;
  // One point has no width; its x is the first x.
  axis.step = p.m_nSI > 1 ? p.m_dSW / (p.m_nSI - 1.0) : 0.0;
  return axis;
}

}  // namespace

template <class Kind>
bool COpticalConvertJcampDx<Kind>::Detect(COrvFile* file) {
  return file && file->HasView() && IsJcampFile(*file, m_dataTypes);
}

template <class Kind>
bool COpticalConvertJcampDx<Kind>::Read(std::string_view path, CSpcData* data, std::int32_t) {
  if (!data) return false;
  CSpcConvert::SetNameFromPath(data, path);
  if (!ReadFile(path, data, m_traits.selectByType ? &m_dataTypes : nullptr)) return this->Fail(this->GetReadFailure());
  return !data->spectrum().empty() || this->Fail(SpcFailure::At(kNoTableText));
}

template <class Kind>
bool COpticalConvertJcampDx<Kind>::Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption,
                                         std::int32_t) {
  if (!process || !process->m_pData) return false;
  m_nSaveOption = saveOption >= kJcampFix && saveOption <= kJcampDiffDup ? saveOption : kJcampFix;
  return WriteNtuples(path, process);
}




template <class Kind>
void COpticalConvertJcampDx<Kind>::OnParameter(const std::string& label, const CVariant& value, CSpcData* data) {
  if (!data) return;
  CSpcParam p;
  p.name = label;
  p.value = value;
  data->params.Append(std::move(p));
}

template <class Kind>
bool COpticalConvertJcampDx<Kind>::OnBlock(COrvFile& file, JcampVariableList& vars, std::int32_t page, CSpcData* data) {
  if (!data || page < 0 || static_cast<std::size_t>(page) >= vars.vars.size()) return false;
  const JcampVariable& x = vars.vars[0];
  const JcampVariable& v = vars.vars[static_cast<std::size_t>(page)];
  data->nState = 1;
  data->nDomain = 1;
  data->nAcqCode = 1;

  std::vector<float> ordinates;
  const bool ok = ReadOrdinates(file, &ordinates, vars, page);
  const std::int32_t n = ok ? static_cast<std::int32_t>(ordinates.size()) : v.m_nDim;
  const double lastX = LastXOf(vars, page, n);
  if (!m_traits.storesAxisAsSfo1) {
    data->params.Append("NPOINTS", n);
    data->params.Append("FIRSTX", x.m_dFirst);
    data->params.Append("LASTX", lastX);
  } else {
    data->params.Append("SI", n);
    // A range in nanometres is turned into wavenumbers (a zero end has none).
    double first = x.m_dFirst, width = lastX - x.m_dFirst;
    if (x.m_strUnits == "NANOMETERS" && x.m_dFirst != 0.0 && lastX != 0.0) {
      first = 10000000.0 / x.m_dFirst;
      width = 10000000.0 / lastX - 10000000.0 / x.m_dFirst;
    }
    data->params.Append("SFO1", first);
    data->params.Append("SW", width);
    // The processing set-up of these kinds takes its axis from FIRSTX and LASTX, as the other
    // chromatogram and ion-current readers give them; without them a trace would fall back to
    // 0..1000 and be saved again on that axis.
    data->params.Append("FIRSTX", first);
    data->params.Append("LASTX", first + width);
  }
  if (!ok) return false;

  const auto count = static_cast<std::size_t>(n);
  std::vector<CSpcPoint>& target = data->data[1];
  target.insert(target.begin(), count, CSpcPoint{});
  // Point i is the i-th value of the file, so point 0 lies at FIRSTX, where the axis puts it,
  // whichever way the file runs.
  const bool reversed = x.m_dFirst > x.m_dLast;
  for (std::size_t i = 0; i < count; ++i) target[reversed ? count - 1 - i : i].re = ordinates[i];
  return true;
}

template <class Kind>
void COpticalConvertJcampDx<Kind>::WriteHeader(JcampVariableList& vars, CSpcParamList& header, CSpcProcess* process) {
  if (!process || !process->m_pData) return;
  const CSpcProcess& p = *process;
  const std::int32_t n = p.m_nCur;
  if (n <= 0) return;  // nothing to save: no variables, and the write fails
  const LinearAxis axis = AxisOf(p);

  vars.name = m_traits.dataType;
  JcampVariable& x = vars.vars.emplace_back();
  x.m_dFirst = axis.first;
  x.m_dLast = axis.At(n - 1);
  x.m_nDim = n;
  x.m_strUnits = m_traits.xUnits;
  x.m_dFactor = 1.0;
  x.m_dDelta = axis.step;  // signed as LASTX - FIRSTX
  x.m_nForm = kJcampFix;
  x.m_bTable = 1;
  JcampVariable& y = vars.vars.emplace_back();
  y.m_strUnits = m_traits.yUnits;
  y.m_nForm = m_nSaveOption;
  y.m_bTable = 1;
  y.m_dMin = y.m_dMax = p.GetReal(0);
  jdx::OrdinateFactor factor;
  for (std::int32_t i = 0; i < n; ++i) {
    const double r = p.GetReal(i);
    y.m_dMin = std::min(y.m_dMin, r);
    y.m_dMax = std::max(y.m_dMax, r);
    factor.Add(r);
  }
  y.m_dFactor = factor.Factor();
  // FIRSTY: the ordinate at FIRSTX, where the table starts, as readers that check it expect.
  y.m_dFirst = p.GetReal(0);

  const CSpcParamList& params = p.m_pData->params;
  header.Append("TITLE", params.GetValue("TITLE"));
  header.Append("JCAMP-DX", "5.0");
  header.Append("DATA TYPE", m_traits.dataType);
  header.Append("ORIGIN", "KEDRUS");
  header.Append("OWNER", params.GetValue("OWNER"));
  header.Append("SPECTROMETER/DATA SYSTEM", params.GetValue("INSTRUM"));
  jdx::AppendRecordParams(header, params, true);
}

template <class Kind>
bool COpticalConvertJcampDx<Kind>::WriteData(std::string& out, JcampVariableList& vars, std::int32_t var,
                                             CSpcProcess* process) {
  if (!process || vars.vars.empty()) return false;
  const std::int32_t n = vars.vars[0].m_nDim;
  const LinearAxis axis = AxisOf(*process);
  // Whole numbers of the ordinates' factor (WriteHeader's), rounded.
  const double factor = vars.vars.size() > 1 ? vars.vars[1].m_dFactor : 1.0;
  PointMap map;
  map.reserve(static_cast<std::size_t>(std::max(n, 0)));
  for (std::int32_t i = 0; i < n; ++i)
    map.set(static_cast<float>(axis.At(i)), static_cast<float>(std::round(process->GetReal(i) / factor)));
  // Abscissae closer than a float can tell apart would give a table shorter than NPOINTS.
  if (map.count() != static_cast<std::size_t>(std::max(n, 0))) return false;
  return WriteAsdf(out, map, vars, var);
}

template class COpticalConvertJcampDx<CIrConvert>;
template class COpticalConvertJcampDx<CUvConvert>;
template class COpticalConvertJcampDx<CChConvert>;
template class COpticalConvertJcampDx<CTicConvert>;

CIrConvertJcampDx::CIrConvertJcampDx(std::uint32_t format) : COpticalConvertJcampDx(format, kIrTraits) {}
CUvConvertJcampDx::CUvConvertJcampDx(std::uint32_t format) : COpticalConvertJcampDx(format, kUvTraits) {}
CChConvertJcampDx::CChConvertJcampDx(std::uint32_t format) : COpticalConvertJcampDx(format, kChTraits) {}
CTicConvertJcampDx::CTicConvertJcampDx(std::uint32_t format) : COpticalConvertJcampDx(format, kTicTraits) {}

std::unique_ptr<CSpcConvert> CreateIrConvertJcampDx(std::uint32_t index) { return std::make_unique<CIrConvertJcampDx>(index); }
std::unique_ptr<CSpcConvert> CreateUvConvertJcampDx(std::uint32_t index) { return std::make_unique<CUvConvertJcampDx>(index); }
std::unique_ptr<CSpcConvert> CreateChConvertJcampDx(std::uint32_t index) { return std::make_unique<CChConvertJcampDx>(index); }
std::unique_ptr<CSpcConvert> CreateTicConvertJcampDx(std::uint32_t index) {
  return std::make_unique<CTicConvertJcampDx>(index);
}
