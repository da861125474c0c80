// The JCAMP-DX converter of the MASS kind: peak tables in, the current scan out.
#include <algorithm>

#include "platform/base/file.h"
#include "spectrum/convert/jdxconvert.h"
#include "spectrum/data/spcprocess.h"

namespace {

// The scan a save writes, or null when the record has none.
const CMassScan* CurrentScan(const CSpcProcess& p) {
  const auto& scans = p.m_pData->scans;
  if (p.m_nScan < 0 || static_cast<std::size_t>(p.m_nScan) >= scans.size()) return nullptr;
  return &scans[static_cast<std::size_t>(p.m_nScan)];
}

// The peaks keyed by mass; of two peaks of one mass the later intensity stays.
PointMap PeakMap(const CMassScan& scan) {
  PointMap map;
  map.reserve(scan.peaks.size());
  for (const CSpcPoint& peak : scan.peaks) map.set(peak.im, peak.re);
  return map;
}


}  // namespace

const std::vector<std::string>& CMassConvertJcampDx::DataTypes() {
  static const std::vector<std::string> types = {"MASS SPECTRUM"};
  return types;
}

bool CMassConvertJcampDx::Detect(COrvFile* file) { return file && file->HasView() && IsJcampFile(*file, DataTypes()); }

bool CMassConvertJcampDx::Read(std::string_view path, CSpcData* data, std::int32_t) {
  if (!data) return false;
  SetNameFromPath(data, path);
  if (!ReadFile(path, data, &DataTypes())) return Fail(GetReadFailure());
  return !data->scans.empty() || Fail(SpcFailure::At(kNoTableText));
}

// The peaks are written as a (XY..XY) peak table: every line carries its own mass. A
// (X++(Y..Y)) table would give each value an x spread evenly between the first and last mass
// when read again, and masses are not evenly spaced.
bool CMassConvertJcampDx::Write(std::string_view path, CSpcProcess* process, std::int32_t, std::int32_t) {
  if (!process || !process->m_pData) return false;
  JcampVariableList vars;
  CSpcParamList header;
  WriteHeader(vars, header, process);
  if (vars.vars.size() < 2) return false;  // no scan or no peaks: nothing to save

  std::string out;
  for (const CSpcParam& entry : header) WriteLabel(out, entry.name, entry.value);
  const JcampVariable& x = vars.vars[0];
  const JcampVariable& y = vars.vars[1];
  WriteTableLabels(out, x, y, "PEAK TABLE", "(XY..XY)");
  if (!WriteData(out, vars, 1, process)) return false;
  out += "##END= ";
  out += kJcampEol;
  return plat::writeFileAtomic(std::string(path), out);
}




void CMassConvertJcampDx::OnParameter(const std::string& label, const CVariant& value, CSpcData* data) {
  if (!data) return;
  CSpcParam p;
  p.name = label;
  p.value = value;
  data->params.Append(std::move(p));
}

bool CMassConvertJcampDx::OnBlock(COrvFile& file, JcampVariableList& vars, std::int32_t page, CSpcData* data) {
  if (!data || page < 0 || static_cast<std::size_t>(page) >= vars.vars.size()) return false;
  PointMap map;
  if (!ReadXYData(file, &map, vars, page)) return false;
  data->nDomain = 1;
  if (vars.vars[static_cast<std::size_t>(page)].m_nDim >= 1) {
    CMassScan& scan = data->scans.emplace_back();
    scan.peaks.resize(map.count());
    for (std::size_t i = 0; i < map.count(); ++i) scan.peaks[i] = CSpcPoint{map.at(i).y, map.at(i).x};
  }
  return true;
}

void CMassConvertJcampDx::WriteHeader(JcampVariableList& vars, CSpcParamList& header, CSpcProcess* process) {
  if (!process || !process->m_pData) return;
  const CMassScan* scan = CurrentScan(*process);
  if (!scan || scan->peaks.empty()) return;
  const PointMap map = PeakMap(*scan);
  if (map.empty()) return;

  JcampVariable& x = vars.vars.emplace_back();
  // One table line per distinct mass: that is the count the reader must find.
  x.m_nDim = static_cast<std::int32_t>(map.count());
  x.m_dFirst = map.at(0).x;
  x.m_dLast = map.at(map.count() - 1).x;
  x.m_strUnits = "m/z";
  x.m_dFactor = 1.0;
  x.m_nForm = kJcampFix;
  x.m_bTable = 0;
  JcampVariable& y = vars.vars.emplace_back();
  y.m_strUnits = "RELATIVE ABUNDANCE";
  y.m_dFactor = 1.0;
  y.m_nForm = kJcampFix;
  y.m_bTable = 0;
  y.m_dMin = y.m_dMax = scan->peaks[0].re;
  for (const CSpcPoint& peak : scan->peaks) {
    y.m_dMin = std::min<double>(y.m_dMin, peak.re);
    y.m_dMax = std::max<double>(y.m_dMax, peak.re);
  }

  const CSpcParamList& params = process->m_pData->params;
  header.Append("TITLE", params.GetValue("TITLE"));
  header.Append("JCAMP-DX", "5.0");
  header.Append("DATA TYPE", "MASS SPECTRUM");
  header.Append("DATA CLASS", "PEAK TABLE");
  header.Append("ORIGIN", "KEDRUS");
  header.Append("OWNER", params.GetValue("OWNER"));
  header.Append("SPECTROMETER/DATA SYSTEM", params.GetValue("INSTRUM"));
  jdx::AppendRecordParams(header, params, true);
}

bool CMassConvertJcampDx::WriteData(std::string& out, JcampVariableList& vars, std::int32_t var, CSpcProcess* process) {
  if (!process || !process->m_pData) return false;
  const CMassScan* scan = CurrentScan(*process);
  if (!scan) return false;
  return WriteAsdf(out, PeakMap(*scan), vars, var);
}

std::unique_ptr<CSpcConvert> CreateMassConvertJcampDx(std::uint32_t index) {
  return std::make_unique<CMassConvertJcampDx>(index);
}
