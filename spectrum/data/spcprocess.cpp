// CSpcProcess: construction, set-up from the parameters, point selection and the archive.
#include "spectrum/data/spcprocess.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <utility>

#include "platform/archive/archive.h"

namespace {

constexpr std::int32_t kKindNmr = 0;
constexpr std::int32_t kKindMass = 1;
constexpr std::int32_t kKindIr = 2;
constexpr std::int32_t kKindTic = 5;
constexpr std::int32_t kKindNmr2D = 6;

// Parameter look-ups for the set-up. A value that does not read as a finite number counts as
// absent, so a malformed parameter never puts infinity or NaN into the axis.
class ParamReader {
 public:
  explicit ParamReader(const CSpcParamList& params) : m_params(params) {}

  bool Has(std::string_view name) const { return m_params.HasParam(name); }
  bool Number(std::string_view name, double* out) const {
    if (!Has(name)) return false;
    const double v = m_params.GetValue(name).GetDouble();
    if (!std::isfinite(v)) return false;
    *out = v;
    return true;
  }
  bool Float(std::string_view name, float* out) const {
    if (!Has(name)) return false;
    const float v = m_params.GetValue(name).GetFloat();
    if (!std::isfinite(v)) return false;
    *out = v;
    return true;
  }
  bool Integer(std::string_view name, std::int32_t* out) const {
    if (!Has(name)) return false;
    *out = m_params.GetValue(name).GetLong();
    return true;
  }
  std::string Text(std::string_view name) const { return m_params.GetValue(name).GetString(); }

 private:
  const CSpcParamList& m_params;
};

std::int32_t clampToInt32(std::size_t n) {
  return n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
             ? std::numeric_limits<std::int32_t>::max()
             : static_cast<std::int32_t>(n);
}

}  // namespace

CSpcProcess::CSpcProcess(CSpcData* data) : m_pData(data) {}

CSpcProcess::~CSpcProcess() = default;

std::uint32_t CSpcProcess::NextPow2(std::uint32_t n) {
  if (n < 2) return 1;
  // Above 2^31 no 32-bit power of two is large enough; the largest one stands in.
  if (n > (1u << 31)) return 1u << 31;
  std::uint32_t p = 1;
  while (p < n) p <<= 1;
  return p;
}

void CSpcProcess::Reset() {
  m_baseline.clear();
  m_fBaseLevel = 0.0f;
  m_pCur = CSpcPointView();
  m_nCur = 0;
  m_bBaseLevelDirty = 1;
  m_bIntegralDirty = 1;
  m_nDisplay = 0;
  m_bBaseline = 0;
  m_nBaselineMethod = 4;
  m_fSplineFactor = 4.0e9f;
  m_fSlope = 0.0f;
  m_nScans = 0;
  if (m_pData) m_pData->Reset();
}

void CSpcProcess::InitFromParams() {
  if (!m_pData) return;
  m_pData->nState = 1;
  const ParamReader p(m_pData->params);
  const std::int32_t kind = m_pData->nKind;

  if (kind == kKindNmr || kind == kKindNmr2D) {
    std::int32_t aqMode = 1;
    if (p.Integer("AQ_mod", &aqMode)) aqMode &= 15;
    m_nAqMode = aqMode;

    double freq = 200.0;
    if (!p.Number("SFO1", &freq) && !p.Number("SF", &freq)) p.Number(".OBSERVE FREQUENCY", &freq);
    m_dFreq = freq;

    std::int32_t npoints = 0;
    const bool hasNpoints = p.Integer("NPOINTS", &npoints);
    const std::string xunits = p.Text("XUNITS");
    double firstX = 0.0, lastX = 0.0;
    const bool hasFirstX = p.Number("FIRSTX", &firstX);
    p.Number("LASTX", &lastX);

    double sw = 0.0;
    if (p.Number("SW_h", &sw) || p.Number("SW", &sw)) {
      m_dSW = sw;
    } else if (hasFirstX) {
      sw = std::fabs(firstX - lastX);
      // The range spans NPOINTS - 1 intervals; widen it by one point (no points, no widening).
      if (npoints != 0) sw += sw / npoints;
      if (xunits == "PPM") {
        sw *= m_dFreq;
      } else if (xunits == "SECONDS" && sw != 0.0) {
        sw = std::fabs(npoints * 0.5 / sw);
      }
      m_dSW = sw;
    }

    float offset = 0.0f;
    if (p.Float("OFFSET", &offset)) {
      m_dOffset = offset * m_dFreq;
      m_nOP = 0;
    } else if (hasFirstX) {
      float first = 0.0f, last = 0.0f;
      p.Float("FIRSTX", &first);
      p.Float("LASTX", &last);
      double left = first > last ? first : last;
      if (xunits == "PPM") left *= m_dFreq;
      m_dOffset = left;
      m_nOP = 0;
    } else {
      double of = 0.0;
      if (p.Number("OF", &of)) m_dOffset = of;
      p.Integer("OP", &m_nOP);
    }

    if (!p.Integer("TD", &m_nTD) && hasNpoints) m_nTD = npoints;
    if (!p.Integer("SI", &m_nSI) && hasNpoints) m_nSI = npoints;

    float ph = 0.0f;
    m_fPH0 = p.Float("PH0", &ph) ? ph : 0.0f;
    m_fPH1 = p.Float("PH1", &ph) ? ph : 0.0f;
    m_nPivot = 0;
    p.Integer("PP", &m_nPivot);
    m_nScans = 1;
    p.Integer("NSCANS", &m_nScans);
  } else if (kind == kKindMass) {
    m_nScans = clampToInt32(m_pData->scans.size());
  } else if (kind >= kKindIr && kind <= kKindTic) {
    double first = 0.0;
    m_dFreq = p.Number("FIRSTX", &first) ? first : 0.0;
    float last = 0.0f;
    m_dSW = p.Float("LASTX", &last) ? last - m_dFreq : 1000.0;
    if (!p.Integer("NPOINTS", &m_nSI)) m_nSI = clampToInt32(m_pData->data[1].size());
    m_nScans = 1;
    p.Integer("NSCANS", &m_nScans);
  }

  SetScan(0);
}

void CSpcProcess::SetScan(std::int32_t scan) {
  if (scan >= 0 && scan < m_nScans) {
    m_nScan = scan;
    SelectData();
  }
}

void CSpcProcess::SelectData() {
  m_pCur = CSpcPointView();
  m_nCur = 0;
  if (!m_pData || m_pData->nKind == kKindMass) return;
  const std::int32_t domain = m_pData->nDomain;
  if (domain != 0 && domain != 1) return;
  std::vector<CSpcPoint>& v = m_pData->data[domain];
  if (v.empty() || m_nScans <= 0 || m_nScan < 0 || m_nScan >= m_nScans) return;

  // Rows of two-dimensional data lie one after another; the offset needs 64 bits.
  const std::uint64_t size = v.size();
  const std::uint64_t start = size * static_cast<std::uint64_t>(m_nScan) / static_cast<std::uint64_t>(m_nScans);
  std::uint64_t count = 0;
  if (domain == 1) {
    count = m_nSI > 0 ? static_cast<std::uint64_t>(m_nSI) : 0;
  } else {
    const std::int32_t complexPoints = m_nTD > 0 ? m_nTD / 2 : 0;
    count = NextPow2(static_cast<std::uint32_t>(complexPoints));
  }
  // Readers that do not pad, and sizes that disagree with the data, stay inside the vector.
  count = std::min(count, size - start);
  if (count == 0) return;
  m_nCur = static_cast<std::int32_t>(std::min<std::uint64_t>(count, std::numeric_limits<std::int32_t>::max()));
  m_pCur = CSpcPointView(&v, static_cast<std::size_t>(start), static_cast<std::size_t>(m_nCur));
}

std::span<const CSpcPoint> CSpcProcess::CurrentPoints(std::int32_t from, std::int32_t to) const {
  const std::span<const CSpcPoint> all = m_pCur.span();
  const std::size_t end = std::min<std::size_t>(all.size(), static_cast<std::size_t>(std::max(to, 0)));
  const std::size_t begin = std::min<std::size_t>(end, static_cast<std::size_t>(std::max(from, 0)));
  return all.subspan(begin, end - begin);
}

// ---- Archive ----

namespace {

// The engine's archived fields, loaded apart so that a failure leaves the engine untouched.
struct EngineFields {
  std::int32_t baselineMethod, baseline;
  float splineFactor;
  float sin0, cos0, step, step2, baseLevel, totalIntegral;
  std::int32_t baseLevelDirty, integralDirty, display;
  double freq, sw, offset;
  std::int32_t op, pivot;
  float ph0, ph1;
  std::int32_t si, td, aqMode, scan, scans;
  std::vector<std::int32_t> basePoints;
  std::vector<float> curve;
};

}  // namespace

void CSpcProcess::Serialize(plat::Archive& ar) {
  if (!m_pData) return;
  if (ar.isStoring()) {
    m_pData->Store(ar);
    ar.writeI32(m_nBaselineMethod);
    ar.writeI32(m_bBaseline);
    ar.writeF32(m_fSplineFactor);
    for (float f : {m_fSin0, m_fCos0, m_fPhaseStep, m_fPhaseStep2, m_fBaseLevel, m_fTotalIntegral}) ar.writeF32(f);
    ar.writeI32(m_bBaseLevelDirty);
    ar.writeI32(m_bIntegralDirty);
    ar.writeI32(m_nDisplay);
    ar.writeF64(m_dFreq);
    ar.writeF64(m_dSW);
    ar.writeF64(m_dOffset);
    ar.writeI32(m_nOP);
    ar.writeI32(m_nPivot);
    ar.writeF32(m_fPH0);
    ar.writeF32(m_fPH1);
    for (std::int32_t v : {m_nSI, m_nTD, m_nAqMode, m_nScan, m_nScans}) ar.writeI32(v);
    ar.writeI32(static_cast<std::int32_t>(m_basePoints.size()));
    for (std::int32_t point : m_basePoints) ar.writeI32(point);
    ar.writeI32(static_cast<std::int32_t>(m_baseline.size()));
    for (float value : m_baseline) ar.writeF32(value);
    return;
  }

  CSpcData record;
  record.Load(ar);
  EngineFields f;
  f.baselineMethod = ar.readI32();
  f.baseline = ar.readI32();
  f.splineFactor = ar.readF32();
  f.sin0 = ar.readF32();
  f.cos0 = ar.readF32();
  f.step = ar.readF32();
  f.step2 = ar.readF32();
  f.baseLevel = ar.readF32();
  f.totalIntegral = ar.readF32();
  f.baseLevelDirty = ar.readI32();
  f.integralDirty = ar.readI32();
  f.display = ar.readI32();
  f.freq = ar.readF64();
  f.sw = ar.readF64();
  f.offset = ar.readF64();
  f.op = ar.readI32();
  f.pivot = ar.readI32();
  f.ph0 = ar.readF32();
  f.ph1 = ar.readF32();
  f.si = ar.readI32();
  f.td = ar.readI32();
  f.aqMode = ar.readI32();
  f.scan = ar.readI32();
  f.scans = ar.readI32();
  const std::uint32_t points = ar.readCount(CSpcData::kMaxPoints, 4);
  f.basePoints.resize(points);
  for (std::int32_t& point : f.basePoints) point = ar.readI32();
  const std::uint32_t values = ar.readCount(CSpcData::kMaxPoints, 4);
  f.curve.resize(values);
  for (float& value : f.curve) value = ar.readF32();

  // A stored engine never holds a non-finite axis, phase or curve value; such an archive is
  // corrupt, and taking it over would spread NaN into every display value.
  bool finite = std::isfinite(f.freq) && std::isfinite(f.sw) && std::isfinite(f.offset) &&
                std::isfinite(f.ph0) && std::isfinite(f.ph1);
  for (float value : f.curve) finite = finite && std::isfinite(value);
  if (!finite) plat::Archive::fail(plat::ArchiveError::Kind::BadFormat, "processing state holds a non-finite value");

  // Everything was read: take it over.
  *m_pData = std::move(record);
  m_nBaselineMethod = f.baselineMethod;
  m_bBaseline = f.baseline;
  m_fSplineFactor = f.splineFactor;
  m_fSin0 = f.sin0;
  m_fCos0 = f.cos0;
  m_fPhaseStep = f.step;
  m_fPhaseStep2 = f.step2;
  m_fBaseLevel = f.baseLevel;
  m_fTotalIntegral = f.totalIntegral;
  m_bBaseLevelDirty = f.baseLevelDirty;
  m_bIntegralDirty = f.integralDirty;
  m_nDisplay = f.display;
  m_dFreq = f.freq;
  m_dSW = f.sw;
  m_dOffset = f.offset;
  m_nOP = f.op;
  m_nPivot = f.pivot;
  m_fPH0 = f.ph0;
  m_fPH1 = f.ph1;
  m_nSI = f.si;
  m_nTD = f.td;
  m_nAqMode = f.aqMode;
  m_nScan = f.scan;
  m_nScans = f.scans;
  m_basePoints = std::move(f.basePoints);
  m_baseline = std::move(f.curve);
  SelectData();
}
