#pragma once
// CSpcProcess: the processing engine of one spectrum.
//
// It works in place on a CSpcData it does not own. The axis fields (frequency, sweep width,
// offset, SI, TD) come from the record's parameters (InitFromParams); the current points are a
// view into the record's point vector of its domain, one row or scan of it (SelectData). Every
// value that is drawn or measured is a display value of a current point: the point turned by
// the zero- and first-order phase, or its magnitude or power, less the baseline curve.
//
// The fields are public on purpose: the spectrum control reads them and writes the phases
// directly while the user phases interactively.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <span>
#include <vector>

#include "spectrum/data/spcdata.h"

namespace plat {
class Archive;
}
namespace spc {
struct PhaseLine;
}

// X unit ids.
enum SpcXUnit : std::int32_t {
  kUnitPpm = 0,
  kUnitHertz = 1,
  kUnitWavenumber = 2,  // 1/cm
  kUnitNanometer = 3,
  kUnitSecond = 4,
  kUnitMinute = 5,
  kUnitMass = 6,  // m/z
  kUnitPoint = 7,
};
constexpr std::int32_t kSpcUnitCount = 8;

// The name the user sees for each X unit, indexed by unit id, with the id of the string resource
// that carries it (kUnitNameStringBase + unit id), for the module's string table to take over.
constexpr std::int32_t kUnitNameStringBase = 3700;
struct SpcUnitName {
  std::int32_t stringId;
  std::string_view name;
};
inline constexpr SpcUnitName kSpcUnitNames[kSpcUnitCount] = {
    {kUnitNameStringBase + kUnitPpm, "PPM"},          {kUnitNameStringBase + kUnitHertz, "Hertz"},
    {kUnitNameStringBase + kUnitWavenumber, "1/cm"},  {kUnitNameStringBase + kUnitNanometer, "nm"},
    {kUnitNameStringBase + kUnitSecond, "sec"},       {kUnitNameStringBase + kUnitMinute, "min"},
    {kUnitNameStringBase + kUnitMass, "m/z"},         {kUnitNameStringBase + kUnitPoint, "points"},
};
// The name of a unit id; empty for an id that names no unit.
constexpr std::string_view GetUnitName(std::int32_t unit) {
  return unit >= 0 && unit < kSpcUnitCount ? kSpcUnitNames[unit].name : std::string_view();
}
// The current points: a window [start, start + count) of one point vector of the record. The
// view keeps the vector, not the vector's storage, so a vector that grows, shrinks or is assigned
// anew never leaves it pointing at freed memory; a point outside the window, or past the end of a
// vector that shrank, reads as zero.
class CSpcPointView {
 public:
  CSpcPointView() = default;
  CSpcPointView(std::vector<CSpcPoint>* points, std::size_t start, std::size_t count)
      : m_points(points), m_start(start), m_count(count) {}

  // The points of the window the vector holds now.
  std::size_t size() const {
    if (!m_points || m_start >= m_points->size()) return 0;
    return m_count < m_points->size() - m_start ? m_count : m_points->size() - m_start;
  }
  bool empty() const { return size() == 0; }
  explicit operator bool() const { return !empty(); }

  const CSpcPoint& operator[](std::int32_t i) const {
    const auto at = static_cast<std::size_t>(i);  // a negative index is out of the window too
    if (!m_points || at >= m_count || m_start + at >= m_points->size()) return kOutside;
    return (*m_points)[m_start + at];
  }
  // The window's points for writing, valid until the vector changes; empty when there are none.
  std::span<CSpcPoint> span() const {
    return empty() ? std::span<CSpcPoint>() : std::span(m_points->data() + m_start, size());
  }
  CSpcPoint* data() const { return span().data(); }

 private:
  static constexpr CSpcPoint kOutside{};
  std::vector<CSpcPoint>* m_points = nullptr;
  std::size_t m_start = 0;
  std::size_t m_count = 0;
};

class CSpcProcess {
 public:
  // Conversions between a point index and a value of one X unit.
  using PointToUnitFunc = double (CSpcProcess::*)(std::int32_t) const;
  using UnitToPointFunc = std::int32_t (CSpcProcess::*)(float) const;

  explicit CSpcProcess(CSpcData* data);
  virtual ~CSpcProcess();
  CSpcProcess(const CSpcProcess&) = delete;
  CSpcProcess& operator=(const CSpcProcess&) = delete;

  // Stores or loads the record and the engine together. A short or malformed archive throws
  // plat::ArchiveError out of loading and leaves both the record and the engine as they were.
  virtual void Serialize(plat::Archive& ar);

  // ---- Set-up and point selection ----
  void Reset();
  void InitFromParams();
  void SelectData();
  void SetScan(std::int32_t scan);
  static std::uint32_t NextPow2(std::uint32_t n);

  // ---- Display values, phase and window functions ----
  double GetDisplayValue(std::int32_t i) const;
  double GetReal(std::int32_t i) const;
  double GetImag(std::int32_t i) const;
  double GetMagnitude(std::int32_t i) const;
  double GetPower(std::int32_t i) const;
  double GetSpectrumReal(std::int32_t i) const;
  // A run of display values at once, for drawing: the values GetDisplayValue gives for the
  // current points first .. first + count - 1 into values and, when powers is not null, the
  // GetPower values into powers (to single precision; the phase is turned by one rotation per
  // point, resynchronised every block). Points outside the current data give 0.
  void GetDisplayValues(std::int32_t first, std::int32_t count, float* values, float* powers = nullptr) const;
  double GetSpectrumImag(std::int32_t i) const;

  void UpdatePhase();
  std::int32_t ChangePivot(float ph0, float ph1, std::int32_t pivot);
  void ApplyPhase(float ph0, float ph1, std::int32_t pivot);
  std::uint32_t GetMaxMagnitudeIndex() const;

  // Window functions on the fid; false when refused (nothing changed).
  bool ExpMultiply();
  bool GaussMultiply();

  std::int32_t QuickPhase();
  std::int32_t AutoPhase();

  // ---- Transforms and resizing ----
  // Variants: 0 by acquisition mode, 1 real, 2 complex, 3 Bruker sequential. Each returns 1
  // when done and 0 when refused (empty input, a size that is not a power of two, an unknown
  // variant); a refusal changes nothing.
  std::int32_t FourierTransform(std::int32_t variant);
  std::int32_t InverseTransform(std::int32_t variant);
  std::int32_t HilbertTransform();
  // Daubechies-4 wavelet pyramid of the fid into the spectrum (wavelet menu index 0 to 9).
  std::int32_t WaveletTransform(std::int32_t wavelet);
  // Resamples the spectrum to newSize points over the same axis range (cubic spline).
  std::int32_t Resize(std::int32_t newSize, std::int32_t unused = 0);
  // In each block of n points, the point at i moves to (i + n/2) mod n.
  static void SwapHalves(CSpcPoint* points, std::int32_t blocks, std::int32_t blockSize);
  // Group delay in points of a digitally filtered acquisition; 0 for an unknown filter.
  static float DigitalFilterDelay(std::int32_t dspfvs, std::int32_t decim);

  // ---- Baseline, base level, integration, peak picking and arithmetic ----
  // Baseline: the curve through the baseline points, subtracted from the display values.
  // Chooses baseline points on the magnitudes; false (points unchanged) when there are too few
  // current points to hold the fixed end points 10 and N - 10.
  bool AutoSelectBaselinePoints();
  void SetBaselineCorrection(bool on);
  // Method 0 smoothing spline, 1 to 6 polynomial order; false (nothing changed) otherwise.
  bool SetBaselineMethod(std::int32_t method);
  void CalcBaseline();

  // Noise base level and integrals of the display values.
  void CalcBaseLevel();
  float GetBaseLevel();
  // The running integral of points from..to; when curve is given, n samples of the running sum.
  float GetIntegral(std::uint32_t from, std::uint32_t to, float* curve = nullptr, std::int32_t n = 0,
                    float addend = 0.0f);
  void CalcTotalIntegral();
  float GetTotalIntegral();
  // Over point positions x1..x2 (masses for MASS peak picking); true when anything was found.
  bool AutoIntegrate(float x1, float x2);
  bool AutoPeakPick(float x1, float x2);

  // Point order and scale of the whole point vector of the domain.
  void Reverse();
  void ShiftLeft(std::uint32_t n);
  void ShiftRight(std::uint32_t n);
  // False (nothing changed) for a factor of 0, a non-finite one, or an empty spectrum.
  bool Normalize(float factor);
  // This spectrum minus factor times the other, taken on this spectrum's axis. 1 done, 0 when the
  // spectra do not fit (nothing changed).
  std::int32_t CombineSpectra(const CSpcProcess& other, float factor);

  // Mass scans: range queries and the ion plot.
  float GetMaxMass() const;
  float GetMinMass() const;
  float GetScanMaxIntensity() const;
  float GetMaxIntensityIn(float lo, float hi) const;
  struct FullRange {
    float first;
    float second;
  };
  // MASS: the smallest and largest mass; other kinds: 0 and the number of current points.
  FullRange GetFullRange() const;
  // Appends one point per scan (the intensity summed over lo..hi) to the target's spectrum and
  // makes it a TIC record. 1 when made, 0 otherwise (target unchanged).
  std::int32_t GenerateIonPlot(CSpcData& target, float lo, float hi) const;

  // Evaluates the arithmetic in text[first..last] (inclusive) and puts the result there ("%f");
  // false, text unchanged, on a malformed expression.
  static bool Calculate(std::string& text, std::size_t first, std::size_t last);

  // ---- X units ----
  std::uint32_t GetAvailableUnits() const;
  PointToUnitFunc GetPointToUnitFunc(std::int32_t unit) const;
  UnitToPointFunc GetUnitToPointFunc(std::int32_t unit) const;

  double PointToPpm(std::int32_t i) const;
  double PointToHertz(std::int32_t i) const;
  double PointToX(std::int32_t i) const;  // 1/cm and nm
  double PointToTime(std::int32_t i) const;
  double PointToMinutes(std::int32_t i) const;
  double PointToIndex(std::int32_t i) const;  // m/z and points
  std::int32_t PpmToPoint(float v) const;
  std::int32_t HertzToPoint(float v) const;
  std::int32_t XToPoint(float v) const;
  std::int32_t TimeToPoint(float v) const;
  std::int32_t MinutesToPoint(float v) const;
  std::int32_t IndexToPoint(float v) const;

  // ---- State (field order as archived and documented) ----
  CSpcData* m_pData;
  float m_fSin0 = 0.0f;
  float m_fCos0 = 0.0f;
  float m_fPhaseStep = 0.0f;
  float m_fPhaseStep2 = 0.0f;
  float m_fBaseLevel = 0.0f;
  float m_fTotalIntegral = 0.0f;
  std::int32_t m_bBaseLevelDirty = 1;
  std::int32_t m_bIntegralDirty = 1;
  std::int32_t m_nDisplay = 0;  // 0 real, 1 imaginary, 2 magnitude, 3 power
  std::vector<float> m_baseline;
  std::int32_t m_bBaseline = 0;
  std::int32_t m_nBaselineMethod = 4;
  float m_fSplineFactor = 4.0e9f;
  float m_fSlope = 0.0f;
  CSpcPointView m_pCur;
  std::int32_t m_nCur = 0;
  double m_dFreq = 0.0;
  double m_dSW = 0.0;
  double m_dOffset = 0.0;
  std::int32_t m_nOP = 0;
  std::int32_t m_nPivot = 0;
  float m_fPH0 = 0.0f;
  float m_fPH1 = 0.0f;
  std::int32_t m_nSI = 0;
  std::int32_t m_nTD = 0;
  std::int32_t m_nAqMode = 0;
  std::int32_t m_nScan = 0;
  std::vector<std::int32_t> m_basePoints;
  std::int32_t m_nScans = 0;

 private:
  // The current points [from, to), no more than the view holds: one contiguous range for the
  // loops that walk many of them.
  std::span<const CSpcPoint> CurrentPoints(std::int32_t from, std::int32_t to) const;
  // Phase angle in radians of current point i for the given phases and pivot.
  double PhaseAngle(std::int32_t i, double ph0, double ph1, std::int32_t pivot) const;
  spc::PhaseLine CurrentPhase(double ph0, double ph1, std::int32_t pivot) const;
  // Display values of the held current points [begin, end) into out[i - begin].
  template <class Out>
  void DisplayValuesOf(std::int64_t begin, std::int64_t end, Out* out, float* powers) const;
  double BaselineAt(std::int32_t i) const;
  // Turns the stored spectrum by these phases the way the display values turn it (what GetReal
  // and GetImag show at these phases, it then holds), keeping the sense of its imaginary part;
  // ApplyPhase stores that part negated.
  void TurnSpectrum(float ph0, float ph1, std::int32_t pivot);
  float ZeroOrderPhase(std::int32_t from, std::int32_t to) const;
  double PhasedBaseLevel(double ph0, double ph1, std::int32_t pivot) const;
  double NegativeExcursion(double ph0, double ph1, std::int32_t pivot, double base,
                           const std::vector<std::int32_t>& peaks, std::int32_t halfWidth) const;
  bool ApplyWindow(double a, double b, double dt);
  bool IsNmr() const;
  // Linear x axis of the non-NMR kinds: value of point 0 and the step per point.
  double LinearStep() const;

  // ---- Private helpers of baseline, integration and arithmetic ----
  // The display value of every current point, into out (sized to m_nCur).
  void DisplayValues(std::vector<double>& out) const;
  // The display values of current points first .. first + count - 1, as GetDisplayValue gives
  // them, into out.
  void DisplayValues(std::int32_t first, std::int32_t count, double* out) const;
  // Index range [*begin, *end) of the scan's peaks with lo <= mass <= hi.
  static void PeaksIn(const CMassScan& scan, float lo, float hi, std::size_t* begin, std::size_t* end);
  const CMassScan* CurrentScan() const;
  bool PickMassPeaks(float x1, float x2);
  // The axis value of current point i used to line up two spectra.
  double CombineAxis(std::int32_t i) const;
};

// The degree-to-radian factor the engine uses everywhere (single precision, as stored phases
// were always computed with it).
constexpr float kSpcDegToRad = 0.017453292f;
