// Point order and shifts, normalisation, spectrum arithmetic, mass-scan queries, the ion plot and
// the console's expression calculator.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

#include "spectrum/data/calculator.h"
#include "spectrum/data/cubicspline.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::int32_t kKindNmr = 0;
constexpr std::int32_t kKindMass = 1;
constexpr std::int32_t kKindTic = 5;
constexpr std::int32_t kMinIonPlotScans = 3;

}  // namespace

// ---- Point order and shifts ----

void CSpcProcess::Reverse() {
  if (!m_pData || m_pData->nDomain < 0 || m_pData->nDomain > 1) return;
  std::vector<CSpcPoint>& v = m_pData->data[m_pData->nDomain];
  std::reverse(v.begin(), v.end());
  UpdatePhase();
}

void CSpcProcess::ShiftLeft(std::uint32_t n) {
  if (!m_pData || m_pData->nDomain < 0 || m_pData->nDomain > 1) return;
  std::vector<CSpcPoint>& v = m_pData->data[m_pData->nDomain];
  const std::size_t shift = std::min<std::size_t>(n, v.size());
  std::move(v.begin() + static_cast<std::ptrdiff_t>(shift), v.end(), v.begin());
  std::fill(v.end() - static_cast<std::ptrdiff_t>(shift), v.end(), CSpcPoint{});
  UpdatePhase();
}

void CSpcProcess::ShiftRight(std::uint32_t n) {
  if (!m_pData || m_pData->nDomain < 0 || m_pData->nDomain > 1) return;
  std::vector<CSpcPoint>& v = m_pData->data[m_pData->nDomain];
  const std::size_t shift = std::min<std::size_t>(n, v.size());
  std::move_backward(v.begin(), v.end() - static_cast<std::ptrdiff_t>(shift), v.end());
  std::fill(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(shift), CSpcPoint{});
  UpdatePhase();
}

// ---- Normalisation ----

bool CSpcProcess::Normalize(float factor) {
  if (!m_pData || factor == 0.0f || !std::isfinite(factor) || m_nSI <= 0) return false;
  std::vector<CSpcPoint>& spectrum = m_pData->data[1];
  const std::size_t count = std::min(spectrum.size(), static_cast<std::size_t>(m_nSI));
  if (count == 0) return false;
  // A tiny factor must not turn data into infinity: refuse before dividing anything.
  float largest = 0.0f;
  for (std::size_t i = 0; i < count; ++i) largest = std::max({largest, std::fabs(spectrum[i].re), std::fabs(spectrum[i].im)});
  if (static_cast<double>(largest) / std::fabs(static_cast<double>(factor)) > FLT_MAX) return false;
  const double f = factor;
  for (std::size_t i = 0; i < count; ++i) {
    spectrum[i].re = static_cast<float>(spectrum[i].re / f);
    spectrum[i].im = static_cast<float>(spectrum[i].im / f);
  }
  if (m_bBaseline && !m_baseline.empty()) CalcBaseline();
  UpdatePhase();
  return true;
}

// ---- Spectrum arithmetic ----

double CSpcProcess::CombineAxis(std::int32_t i) const {
  return m_pData && m_pData->nKind == kKindNmr ? PointToPpm(i) : PointToX(i);
}

std::int32_t CSpcProcess::CombineSpectra(const CSpcProcess& other, float factor) {
  if (!m_pData || !other.m_pData || !std::isfinite(factor)) return 0;
  if (m_pData->nDomain != other.m_pData->nDomain || m_pData->nKind != other.m_pData->nKind) return 0;
  if (!m_pCur || m_nCur <= 0 || !other.m_pCur || other.m_nCur < 2) return 0;

  // Both axes are turned so that this spectrum's runs upward.
  const double sign = m_nCur > 1 && CombineAxis(1) < CombineAxis(0) ? -1.0 : 1.0;
  const std::size_t m = static_cast<std::size_t>(other.m_nCur);
  std::vector<double> x(m), re(m), im(m);
  for (std::size_t j = 0; j < m; ++j) {
    const std::int32_t p = static_cast<std::int32_t>(j);
    x[j] = sign * other.CombineAxis(p);
    re[j] = other.GetReal(p);
    im[j] = other.GetImag(p);
  }
  // An other spectrum whose axis runs the opposite way is read backwards; one without a
  // strictly monotonic axis cannot be interpolated.
  if (x[1] < x[0]) {
    std::reverse(x.begin(), x.end());
    std::reverse(re.begin(), re.end());
    std::reverse(im.begin(), im.end());
  }
  for (std::size_t j = 1; j < m; ++j) {
    if (!(x[j] > x[j - 1])) return 0;
  }
  // The interpolating spline that resizing uses too (Forsythe, Malcolm and Moler end conditions).
  spc::CubicSpline splineRe, splineIm;
  if (!splineRe.Fit(x, re) || !splineIm.Fit(x, im)) return 0;
  const double lowest = x.front(), highest = x.back();

  const std::size_t n = static_cast<std::size_t>(m_nCur);
  std::vector<CSpcPoint> result(n);
  const double f = factor;
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t p = static_cast<std::int32_t>(i);
    const double u = sign * CombineAxis(p);
    // Where the other spectrum has no points it subtracts nothing (a cubic extrapolated far past
    // its data would subtract arbitrary values).
    const bool covered = u >= lowest && u <= highest;
    const double r = GetReal(p) - (covered ? f * splineRe(u) : 0.0);
    const double q = GetImag(p) - (covered ? f * splineIm(u) : 0.0);
    if (!(std::fabs(r) <= FLT_MAX) || !(std::fabs(q) <= FLT_MAX)) return 0;
    result[i] = {static_cast<float>(r), static_cast<float>(q)};
  }
  const std::span<CSpcPoint> current = m_pCur.span();
  std::copy_n(result.begin(), std::min(result.size(), current.size()), current.begin());
  // The stored values are now phased and baseline-corrected: neither may be applied again.
  m_fPH0 = 0.0f;
  m_fPH1 = 0.0f;
  m_baseline.clear();
  SelectData();
  UpdatePhase();
  return 1;
}

// ---- Mass scans ----

const CMassScan* CSpcProcess::CurrentScan() const {
  if (!m_pData || m_nScan < 0 || static_cast<std::size_t>(m_nScan) >= m_pData->scans.size()) return nullptr;
  return &m_pData->scans[static_cast<std::size_t>(m_nScan)];
}

void CSpcProcess::PeaksIn(const CMassScan& scan, float lo, float hi, std::size_t* begin, std::size_t* end) {
  // Peaks are held in ascending order of mass.
  const auto& peaks = scan.peaks;
  const auto first = std::lower_bound(peaks.begin(), peaks.end(), lo,
                                      [](const CSpcPoint& p, float mass) { return p.im < mass; });
  const auto last = std::upper_bound(first, peaks.end(), hi,
                                     [](float mass, const CSpcPoint& p) { return mass < p.im; });
  *begin = static_cast<std::size_t>(first - peaks.begin());
  *end = static_cast<std::size_t>(last - peaks.begin());
  if (!(lo <= hi)) *end = *begin;
}

float CSpcProcess::GetMaxMass() const {
  if (!m_pData) return 0.0f;
  float best = 0.0f;
  bool any = false;
  for (const CMassScan& scan : m_pData->scans) {
    if (scan.peaks.empty()) continue;
    const float mass = scan.peaks.back().im;
    if (!any || mass > best) best = mass;
    any = true;
  }
  return best;
}

float CSpcProcess::GetMinMass() const {
  if (!m_pData) return 0.0f;
  float best = 0.0f;
  for (const CMassScan& scan : m_pData->scans) {
    if (scan.peaks.empty()) continue;
    const float mass = scan.peaks.front().im;
    if (best == 0.0f || mass < best) best = mass;
  }
  return best;
}

float CSpcProcess::GetScanMaxIntensity() const {
  const CMassScan* scan = CurrentScan();
  if (!scan || scan->peaks.empty()) return 0.0f;
  float best = scan->peaks.front().re;
  for (const CSpcPoint& p : scan->peaks) best = std::max(best, p.re);
  return best;
}

float CSpcProcess::GetMaxIntensityIn(float lo, float hi) const {
  const CMassScan* scan = CurrentScan();
  if (!scan) return 0.0f;
  std::size_t begin = 0, end = 0;
  PeaksIn(*scan, lo, hi, &begin, &end);
  if (begin >= end) return 0.0f;
  float best = scan->peaks[begin].re;
  for (std::size_t j = begin + 1; j < end; ++j) best = std::max(best, scan->peaks[j].re);
  return best;
}

CSpcProcess::FullRange CSpcProcess::GetFullRange() const {
  if (m_pData && m_pData->nKind == kKindMass) return {GetMinMass(), GetMaxMass()};
  return {0.0f, static_cast<float>(m_nCur)};
}

std::int32_t CSpcProcess::GenerateIonPlot(CSpcData& target, float lo, float hi) const {
  if (!m_pData || &target == m_pData || m_pData->nKind != kKindMass) return 0;
  if (std::isnan(lo) || std::isnan(hi)) return 0;
  const std::vector<CMassScan>& scans = m_pData->scans;
  if (m_nScans < kMinIonPlotScans || scans.size() < static_cast<std::size_t>(kMinIonPlotScans)) return 0;
  if (target.data[1].size() + scans.size() > CSpcData::kMaxPoints) return 0;

  std::vector<CSpcPoint> sums;
  sums.reserve(scans.size());
  for (const CMassScan& scan : scans) {
    std::size_t begin = 0, end = 0;
    PeaksIn(scan, lo, hi, &begin, &end);
    double sum = 0.0;
    for (std::size_t j = begin; j < end; ++j) sum += scan.peaks[j].re;
    if (!(std::fabs(sum) <= FLT_MAX)) return 0;  // no infinity in the plot
    sums.push_back({static_cast<float>(sum), 0.0f});
  }
  target.data[1].insert(target.data[1].end(), sums.begin(), sums.end());
  target.nKind = kKindTic;
  target.nDomain = 1;
  CSpcParam first;
  first.name = "FIRSTX";
  first.value.SetFloat(scans.front().fTime);
  target.params.Append(first);
  CSpcParam last;
  last.name = "LASTX";
  last.value.SetFloat(scans.back().fTime);
  target.params.Append(last);
  return 1;
}

// ---- Expression calculator ----

bool CSpcProcess::Calculate(std::string& text, std::size_t first, std::size_t last) {
  return spc::CalculateInPlace(text, first, last);
}
