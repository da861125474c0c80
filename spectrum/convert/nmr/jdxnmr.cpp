// The JCAMP-DX converter of the NMR kind: one FID or spectrum, written as an NTUPLES file with
// a real and an imaginary page after a block of Bruker-style parameters.
#include <algorithm>
#include <cmath>
#include <new>
#include <stop_token>
#include <system_error>
#include <thread>

#include "platform/base/text.h"
#include "spectrum/convert/jdxconvert.h"
#include "spectrum/convert/orvfile.h"
#include "spectrum/data/spcprocess.h"

namespace {

bool IsFid(const CSpcProcess& p) { return p.m_pData && p.m_pData->nDomain == 0; }

// Data pages hold integers of their FACTOR (each value truncated toward zero), one factor for
// both pages: a normalised spectrum between -1 and 1 keeps about nine digits instead of
// becoming all zeros.
double PageFactor(const CSpcProcess& p, std::int32_t n) {
  jdx::OrdinateFactor factor;
  for (std::int32_t i = 0; i < n; ++i) {
    factor.Add(p.GetReal(i));
    factor.Add(p.GetImag(i));
  }
  return factor.Factor();
}

// The zeroed points of a page, made on a helper thread while the page is decoded: the page
// faults of a hundred megabytes cost about as much as decoding the page does.
class ZeroedAhead {
 public:
  // No thread for a count of zero or on a single processor.
  explicit ZeroedAhead(std::size_t count) {
    if (count == 0 || std::thread::hardware_concurrency() < 2) return;
    try {
      // The block comes from this thread's heap, where it goes back when the points are freed
      // and is found again by the next block of their size (a helper's heap keeps its own).
      m_points.reserve(count);
      m_thread = std::jthread([this, count](std::stop_token stop) { Zero(count, stop); });
    } catch (const std::system_error&) {
      // Zeroed when taken instead.
    } catch (const std::bad_alloc&) {
      m_points = {};
    }
  }

  // count zeroed points: those made ahead when there are as many, else new ones.
  std::vector<CSpcPoint> Take(std::size_t count) {
    if (m_thread.joinable()) m_thread.join();
    if (m_points.size() != count) {
      m_points = {};
      m_points.assign(count, CSpcPoint{});
    }
    return std::move(m_points);
  }

 private:
  // A step at a time, so that a table that fails stops the zeroing soon.
  void Zero(std::size_t count, const std::stop_token& stop) {
    constexpr std::size_t kStep = std::size_t(1) << 19;
    while (m_points.size() < count && !stop.stop_requested())
      m_points.resize(std::min(count, m_points.size() + kStep));  // within the room reserved
  }

  std::vector<CSpcPoint> m_points;
  std::jthread m_thread;  // last: stopped and joined before the points go
};

// Runs part(from, to) over [0, n) in up to four parts at once, one of them on this thread: a
// page's ordinates go into points scattered over a hundred megabytes.
template <class Part>
void InParts(std::size_t n, const Part& part) {
  constexpr std::size_t kParts = 4, kLeast = std::size_t(1) << 20;
  const std::size_t parts = n < kLeast ? 1 : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kParts);
  const std::size_t step = (n + parts - 1) / parts;
  std::vector<std::jthread> helpers;
  std::size_t from = step;
  try {
    helpers.reserve(parts - 1);
    for (; from < n; from += step) helpers.emplace_back(part, from, std::min(n, from + step));
  } catch (const std::system_error&) {
    // The parts left run here.
  } catch (const std::bad_alloc&) {
  }
  part(0, std::min(n, step));
  if (from < n) part(from, n);
}

// The points a real page will take when its table holds the count its labels give; none for
// pages of a few megabytes, which are zeroed in no time, and for a count that the bytes left
// could not hold at two bytes a point, so that a file claiming more than it holds costs no
// memory for the claim.
std::size_t PointsAhead(const COrvFile& file, std::int64_t declared) {
  constexpr std::int64_t kLeast = std::int64_t(1) << 19;
  const std::int64_t left = file.m_nSize - file.GetPosition();
  if (declared < kLeast || declared > CJcampDx::kMaxPoints || declared > left / 2) return 0;
  return CSpcProcess::NextPow2(static_cast<std::uint32_t>(declared));
}

}  // namespace

const std::vector<std::string>& CNmrConvertJcampDx::DataTypes() {
  static const std::vector<std::string> types = {"NMR FID", "NMR SPECTRUM"};
  return types;
}

bool CNmrConvertJcampDx::Detect(COrvFile* file) { return file && file->HasView() && IsJcampFile(*file, DataTypes()); }

bool CNmrConvertJcampDx::Read(std::string_view path, CSpcData* data, std::int32_t) {
  if (!data) return false;
  data->strName = GetPathTitle(path);
  const bool read = ReadFile(path, data, &DataTypes());
  m_ordinates = {};
  if (!read) return Fail(GetReadFailure());
  return !data->fid().empty() || !data->spectrum().empty() || Fail(SpcFailure::At(kNoTableText));
}

bool CNmrConvertJcampDx::Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t) {
  if (!process || !process->m_pData) return false;
  m_nSaveOption = saveOption >= kJcampFix && saveOption <= kJcampDiffDup ? saveOption : kJcampFix;
  return WriteNtuples(path, process);
}




void CNmrConvertJcampDx::OnParameter(const std::string& label, const CVariant& value, CSpcData* data) {
  if (!data) return;
  CSpcParam p;
  p.name = label;
  p.value = value;
  data->params.Append(std::move(p));
}

bool CNmrConvertJcampDx::OnBlock(COrvFile& file, JcampVariableList& vars, std::int32_t page, CSpcData* data) {
  if (!data || page < 0 || static_cast<std::size_t>(page) >= vars.vars.size() || vars.vars.size() < 2) return false;
  const JcampVariable& x = vars.vars[0];
  const JcampVariable& v = vars.vars[static_cast<std::size_t>(page)];
  data->nState = 1;
  data->nAcqCode = 1;
  data->nDomain = v.m_strName.find("FID") != std::string::npos ? 0 : 1;

  std::vector<CSpcPoint>& target = data->data[data->nDomain];
  const bool fillReal = target.empty();
  ZeroedAhead zeroed(fillReal ? PointsAhead(file, v.m_nDim) : 0);
  std::vector<float>& ordinates = m_ordinates;
  const bool ok = ReadOrdinates(file, &ordinates, vars, page);
  const std::int32_t loaded = ok ? static_cast<std::int32_t>(ordinates.size()) : v.m_nDim;
  CSpcParam units;
  data->params.Append("NPOINTS", loaded);
  data->params.Append("FIRSTX", x.m_dFirst);
  data->params.Append("LASTX", LastXOf(vars, page, loaded));
  units.name = "XUNITS";
  units.value.SetString(x.m_strUnits);
  data->params.Append(units);
  units.name = "YUNITS";
  units.value.SetString(vars.vars[1].m_strUnits);
  data->params.Append(units);
  if (!ok) return false;

  // Point 0 holds the highest frequency (or the first time), whichever way the file runs.
  const bool reversed = x.m_dFirst > x.m_dLast || plat::equalsNoCase(x.m_strUnits, "PPM");
  const auto n = static_cast<std::size_t>(loaded);
  if (fillReal) target = zeroed.Take(CSpcProcess::NextPow2(static_cast<std::uint32_t>(n)));
  // Ordinate i goes to point j (n - 1 - i when reversed); an imaginary page longer than the real
  // one has no points for its rest.
  float CSpcPoint::*const half = fillReal ? &CSpcPoint::re : &CSpcPoint::im;
  const std::size_t held = target.size();
  InParts(n, [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      const std::size_t j = reversed ? n - 1 - i : i;
      if (j < held) target[j].*half = ordinates[i];
    }
  });
  return true;
}

void CNmrConvertJcampDx::WriteHeader(JcampVariableList& vars, CSpcParamList& header, CSpcProcess* process) {
  if (!process || !process->m_pData) return;
  const CSpcProcess& p = *process;
  const std::int32_t n = p.m_nCur;
  if (n <= 0) return;  // nothing to save: no variables, and the write fails
  const bool fid = IsFid(p);
  const double factor = PageFactor(p, n);

  vars.vars.resize(3);
  JcampVariable& X = vars.vars[0];
  JcampVariable& R = vars.vars[1];
  JcampVariable& I = vars.vars[2];
  X.m_strSymbol = "X";
  R.m_strSymbol = "R";
  I.m_strSymbol = "I";
  X.m_nDim = R.m_nDim = I.m_nDim = n;
  X.m_nForm = kJcampFix;
  R.m_nForm = I.m_nForm = m_nSaveOption;
  X.m_bTable = R.m_bTable = 1;
  X.m_strName = fid ? "TIME" : "FREQUENCY";
  R.m_strName = fid ? "FID/REAL" : "SPECTRUM/REAL";
  I.m_strName = fid ? "FID/IMAG" : "SPECTRUM/IMAG";
  X.m_strUnits = fid ? "SECONDS" : "HZ";
  R.m_strUnits = I.m_strUnits = "ARBITRARY UNITS";
  R.m_dFactor = I.m_dFactor = factor;

  R.m_dMin = R.m_dMax = p.GetReal(0);
  I.m_dMin = I.m_dMax = p.GetImag(0);
  for (std::int32_t i = 1; i < n; ++i) {
    const double r = p.GetReal(i), im = p.GetImag(i);
    R.m_dMin = std::min(R.m_dMin, r);
    R.m_dMax = std::max(R.m_dMax, r);
    I.m_dMin = std::min(I.m_dMin, im);
    I.m_dMax = std::max(I.m_dMax, im);
  }
  if (fid) {
    X.m_dFirst = X.m_dMin = p.PointToTime(0);
    X.m_dLast = X.m_dMax = p.PointToTime(n - 1);
    X.m_dFactor = X.m_dLast / n;
    R.m_dFirst = p.GetReal(0);
    R.m_dLast = p.GetReal(n - 1);
    I.m_dFirst = p.GetImag(0);
    I.m_dLast = p.GetImag(n - 1);
  } else {
    // The axis in Hz of the ppm one the spectrum shows (a step of SW / SI, the last point one
    // step above OFFSET - SW), so that readers that turn Hz into ppm put every point where we
    // show it. The table runs from point 0, the highest frequency.
    X.m_dFirst = X.m_dMax = p.PointToPpm(0) * p.m_dFreq;
    X.m_dLast = X.m_dMin = p.PointToPpm(n - 1) * p.m_dFreq;
    X.m_dFactor = p.m_dSW / n;
    R.m_dFirst = p.GetReal(0);
    R.m_dLast = p.GetReal(n - 1);
    I.m_dFirst = p.GetImag(0);
    I.m_dLast = p.GetImag(n - 1);
  }
  if (X.m_dFactor == 0.0 || !std::isfinite(X.m_dFactor)) X.m_dFactor = 1.0;
  vars.name = fid ? "NMR FID" : "NMR SPECTRUM";

  const CSpcParamList& params = p.m_pData->params;
  const double sw = p.m_dSW;
  header.Append("TITLE", params.GetValue("TITLE"));
  header.Append("JCAMP-DX", "5.0");
  header.Append("DATA TYPE", fid ? "NMR FID" : "NMR SPECTRUM");
  header.Append("DATA CLASS", "NTUPLES");
  header.Append("ORIGIN", "KEDRUS");
  header.Append("OWNER", params.GetValue("OWNER"));
  header.Append(".OBSERVE FREQUENCY", p.m_dFreq);
  header.Append(".OBSERVE NUCLEUS", params.GetValue("NUCLEUS"));
  header.Append(".ACQUISITION MODE", p.m_nAqMode == 2 ? "SEQUENTIAL" : "SIMULTANEOUS");
  header.Append("SPECTROMETER/DATA SYSTEM", params.GetValue("INSTRUM"));
  header.Append("$$", "BRUKER SPECIFIC PARAMETERS");
  header.Append("$AQ_mod", p.m_nAqMode);
  header.Append("$TD", p.m_nTD);
  header.Append("$SI", p.m_nSI);
  header.Append("$SFO1", p.m_dFreq);
  header.Append("$FT_mod", 0);
  header.Append("$SW", p.m_dFreq != 0.0 ? sw / p.m_dFreq : 0.0);
  header.Append("$SW_h", sw);
  header.Append("$YMAX_a", fid ? std::max(R.m_dMax, I.m_dMax) : -1.0);
  header.Append("$YMIN_a", fid ? std::min(R.m_dMin, I.m_dMin) : 0.0);
  header.Append("$XDIM", n);
  header.Append("$YMIN_p", fid ? 0.0 : std::min(R.m_dMin, I.m_dMin));
  header.Append("$YMAX_p", fid ? -1.0 : std::max(R.m_dMax, I.m_dMax));
  header.Append("$SF", params.GetValue("SF"));
  header.Append("$SW_p", sw);
  CSpcParam offset;
  offset.name = "$OFFSET";
  offset.value.SetFloat(static_cast<float>(p.PointToPpm(0)));
  header.Append(std::move(offset));
  header.Append("$NC_proc", 0);
  header.Append("$$", "END OF BRUKER SPECIFIC PARAMETERS");

  const std::size_t fixed = header.size();
  jdx::AppendRecordParams(header, params, false);
  // The pages hold phased values: stored phases would turn them a second time on loading.
  for (std::size_t i = fixed; i < header.size(); ++i) {
    if (plat::equalsNoCase(header[i].name, "PH0") || plat::equalsNoCase(header[i].name, "PH1"))
      header[i].value.SetDouble(0.0);
  }
}

bool CNmrConvertJcampDx::WriteData(std::string& out, JcampVariableList& vars, std::int32_t var, CSpcProcess* process) {
  if (!process || vars.vars.size() < 3 || (var != 1 && var != 2)) return false;
  const JcampVariable& X = vars.vars[0];
  const std::int32_t n = X.m_nDim;
  const double factor = vars.vars[static_cast<std::size_t>(var)].m_dFactor;
  const bool reversed = X.m_dFirst > X.m_dLast;
  PointMap map;
  map.reserve(static_cast<std::size_t>(std::max(n, 0)));
  for (std::int32_t i = 0; i < n; ++i) {
    const std::int32_t j = reversed ? n - 1 - i : i;
    const double v = (var == 1 ? process->GetReal(j) : process->GetImag(j)) / factor;
    map.set(static_cast<float>(i), static_cast<float>(std::trunc(v)));
  }
  // Counters beyond a float's whole numbers would merge points.
  if (map.count() != static_cast<std::size_t>(std::max(n, 0))) return false;
  return WriteAsdf(out, map, vars, var);
}

std::unique_ptr<CSpcConvert> CreateNmrConvertJcampDx(std::uint32_t index) {
  return std::make_unique<CNmrConvertJcampDx>(index);
}
