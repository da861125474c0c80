// CSpcProcess: forward, inverse, Hilbert and wavelet transforms between the fid (data[0]) and
// the spectrum (data[1]).
//
// Every operation checks its sizes before it touches the record, so a refusal leaves the data
// as it was. Work happens in one buffer per call that is swapped into the record at the end.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "spectrum/data/fft.h"
#include "spectrum/data/spcprocess.h"

namespace {

// Group delays of the digital filters, by filter firmware version (DSPFVS) and decimation.
struct FilterDelay {
  std::int32_t decim;
  std::int32_t dspfvs;
  float delay;
};

constexpr FilterDelay kFilterDelays[] = {
    {2, 10, 44.75f},     {3, 10, 33.5f},      {4, 10, 66.625f},    {6, 10, 59.0833f},
    {8, 10, 68.5625f},   {12, 10, 60.375f},   {16, 10, 69.5313f},  {24, 10, 61.0208f},
    {32, 10, 70.0156f},  {48, 10, 61.3438f},  {64, 10, 70.2578f},  {96, 10, 61.5052f},
    {128, 10, 70.3789f}, {192, 10, 61.5859f}, {256, 10, 70.4395f}, {384, 10, 61.6263f},
    {512, 10, 70.4697f}, {768, 10, 61.6465f}, {1024, 10, 70.4849f}, {1536, 10, 61.6566f},
    {2048, 10, 70.4924f},
    {2, 11, 46.0f},      {3, 11, 36.5f},      {4, 11, 48.0f},      {6, 11, 50.1667f},
    {8, 11, 53.25f},     {12, 11, 69.5f},     {16, 11, 72.25f},    {24, 11, 70.1667f},
    {32, 11, 72.75f},    {48, 11, 70.5f},     {64, 11, 73.0f},     {96, 11, 70.6667f},
    {128, 11, 72.5f},    {192, 11, 71.3333f}, {256, 11, 72.25f},   {384, 11, 71.6667f},
    {512, 11, 72.125f},  {768, 11, 71.8333f}, {1024, 11, 72.0625f}, {1536, 11, 71.9167f},
    {2048, 11, 72.0313f},
    {2, 12, 46.311f},    {3, 12, 36.53f},     {4, 12, 47.87f},     {6, 12, 50.229f},
    {8, 12, 53.289f},    {12, 12, 69.551f},   {16, 12, 71.6f},     {24, 12, 70.184f},
    {32, 12, 72.138f},   {48, 12, 70.528f},   {64, 12, 72.348f},   {96, 12, 70.7f},
    {128, 12, 72.524f},
};
static_assert(std::size(kFilterDelays) == 55);

// The filter delay split into whole points, dropped from the start of the fid, and the
// remaining fraction of a point, corrected afterwards as a first-order phase in degrees: a
// delay of d points turns the complex spectrum's phase by d * 360 degrees across its SI points.
struct GroupDelay {
  std::int32_t shift = 0;
  float phase = 0.0f;
};

// Current spectrometers (filter versions 20 and up) record the delay itself as GRPDLY; older
// ones leave it -1 and their delay comes from the table. A GRPDLY no record could hold points
// for (or not a number) is no delay.
GroupDelay LookupGroupDelay(const CSpcParamList& params) {
  const double recorded = params.GetValue("GRPDLY").GetDouble();
  float delay = 0.0f;
  if (recorded > 0.0 && recorded < CSpcData::kMaxPoints) {
    delay = static_cast<float>(recorded);
  } else {
    const std::int32_t dspfvs = params.GetValue("DSPFVS").GetLong();
    const std::int32_t decim = params.GetValue("DECIM").GetLong();
    delay = CSpcProcess::DigitalFilterDelay(dspfvs, decim);
  }
  GroupDelay g;
  g.shift = static_cast<std::int32_t>(delay);
  g.phase = (delay - static_cast<float>(g.shift)) * 360.0f;
  return g;
}

bool IsPowerOfTwo(std::int64_t n) { return n > 0 && (n & (n - 1)) == 0; }

// A spectrum size a transform can produce: a power of two the record may hold.
bool IsTransformSize(std::int64_t n) { return n >= 2 && n <= CSpcData::kMaxPoints && IsPowerOfTwo(n); }

// True when the fid holds SI complex points from point `shift` on and TD covers them all.
bool FidCovers(const std::vector<CSpcPoint>& fid, std::int32_t td, std::int32_t shift, std::size_t size) {
  const std::int64_t points = static_cast<std::int64_t>(size);
  return static_cast<std::int64_t>(fid.size()) - shift >= points &&
         static_cast<std::int64_t>(td) - 2 * static_cast<std::int64_t>(shift) >= 2 * points;
}

// Fills `buffer` with the fid from complex point `shift` on, as up to TD - 2 * shift values
// (re, im alternating), at most `size` points, zero filled to `size` points. TD is taken from
// the parameters and is not trusted: nothing is read past the end of the fid.
void LoadShiftedFid(std::vector<CSpcPoint>& buffer, const std::vector<CSpcPoint>& fid, std::int32_t td,
                    std::int32_t shift, std::size_t size) {
  buffer.clear();
  buffer.reserve(size);
  const std::int64_t held = static_cast<std::int64_t>(fid.size()) - shift;
  std::int64_t values = static_cast<std::int64_t>(td) - 2 * static_cast<std::int64_t>(shift);
  values = std::min({values, 2 * held, 2 * static_cast<std::int64_t>(size)});
  if (values > 0) {
    const auto first = fid.begin() + shift;
    buffer.insert(buffer.end(), first, first + values / 2);
    // An odd count ends with a real part alone.
    if (values % 2 != 0) buffer.push_back(CSpcPoint{first[values / 2].re, 0.0f});
  }
  buffer.resize(size);
}

// Sequential (alternately sampled) acquisition: every other complex point changes sign, which
// moves the spectrum by a quarter of the sweep width.
void NegateEvenPoints(std::vector<CSpcPoint>& points) {
  for (std::size_t i = 0; i < points.size(); i += 2) {
    points[i].re = -points[i].re;
    points[i].im = -points[i].im;
  }
}

// Variant 0 follows the acquisition mode: sequential (2) or complex.
std::int32_t ResolveVariant(std::int32_t variant, std::int32_t aqMode) {
  if (variant == 0) return aqMode == 2 ? 3 : 2;
  return variant;
}

// 4-coefficient Daubechies wavelet.
constexpr double kSqrt3 = 1.7320508075688772;
constexpr double kNorm = 4.0 * 1.4142135623730951;
constexpr double kD0 = (1.0 + kSqrt3) / kNorm;
constexpr double kD1 = (3.0 + kSqrt3) / kNorm;
constexpr double kD2 = (3.0 - kSqrt3) / kNorm;
constexpr double kD3 = (1.0 - kSqrt3) / kNorm;

// The wavelet pyramid on x[0..n): each level turns its first m values into m/2 smooth and m/2
// detail coefficients, the last pair wrapping to the first values; then halves m.
void WaveletPyramid(std::vector<float>& x) {
  const std::size_t n = x.size();
  if (n < 4) return;
  std::vector<float> work(n);
  for (std::size_t m = n; m >= 4; m /= 2) {
    const std::size_t half = m / 2;
    for (std::size_t i = 0; i < half; ++i) {
      const std::size_t j = 2 * i;
      const double a = x[j], b = x[j + 1];
      const double c = x[(j + 2) % m], d = x[(j + 3) % m];
      work[i] = static_cast<float>(kD0 * a + kD1 * b + kD2 * c + kD3 * d);
      work[half + i] = static_cast<float>(kD3 * a - kD2 * b + kD1 * c - kD0 * d);
    }
    std::copy_n(work.begin(), m, x.begin());
  }
}

// Where a transform writes its result (the spectrum, or the fid for an inverse): the record's
// vector itself when it already has the size (its storage is reused, nothing to allocate or
// zero), otherwise a new vector that replaces it on success. `spare` points past the result
// are there for kernels that write them and dropped after. A transform that fails leaves the
// vector as it was (the kernels touch nothing when they refuse).
class TransformOutput {
 public:
  TransformOutput(std::vector<CSpcPoint>& points, std::size_t size, std::size_t spare)
      : m_points(points), m_size(size), m_reuse(points.size() == size) {
    if (m_reuse) {
      m_points.resize(size + spare);
    } else {
      m_fresh.resize(size + spare);
    }
  }
  CSpcPoint* Points() { return m_reuse ? m_points.data() : m_fresh.data(); }
  // Keeps the result when done; returns done.
  bool Commit(int done) {
    if (m_reuse) {
      m_points.resize(m_size);
    } else if (done) {
      m_fresh.resize(m_size);
      m_points.swap(m_fresh);
    }
    return done != 0;
  }

 private:
  std::vector<CSpcPoint>& m_points;
  std::size_t m_size;
  bool m_reuse;
  std::vector<CSpcPoint> m_fresh;
};

}  // namespace

float CSpcProcess::DigitalFilterDelay(std::int32_t dspfvs, std::int32_t decim) {
  if (dspfvs == 0) return 0.0f;
  for (const FilterDelay& row : kFilterDelays) {
    if (row.dspfvs == dspfvs && row.decim == decim) return row.delay;
  }
  return 0.0f;
}

void CSpcProcess::SwapHalves(CSpcPoint* points, std::int32_t blocks, std::int32_t blockSize) {
  if (!points || blocks <= 0 || blockSize < 2) return;
  const std::size_t n = static_cast<std::size_t>(blockSize);
  for (std::int32_t b = 0; b < blocks; ++b) {
    CSpcPoint* block = points + static_cast<std::size_t>(b) * n;
    // Moving point i to (i + n/2) mod n is a rotation right by n/2.
    if (n % 2 == 0) {
      std::swap_ranges(block, block + n / 2, block + n / 2);
    } else {
      std::rotate(block, block + (n - n / 2), block + n);
    }
  }
}

std::int32_t CSpcProcess::FourierTransform(std::int32_t variant) {
  if (!m_pData || m_pData->data[0].empty()) return 0;
  if (variant < 0 || variant > 3 || !IsTransformSize(m_nSI)) return 0;
  variant = ResolveVariant(variant, m_nAqMode);

  const GroupDelay delay = LookupGroupDelay(m_pData->params);
  const std::size_t si = static_cast<std::size_t>(m_nSI);
  const std::vector<CSpcPoint>& fid = m_pData->data[0];
  // The kernel reads the fid where it lies when the fid holds all SI points past the shift
  // and TD asks for all of them; otherwise (and for the sequential variant, which changes
  // signs) it reads a cut and zero-filled copy.
  std::vector<CSpcPoint> work;
  const CSpcPoint* input = nullptr;
  if (variant != 3 && FidCovers(fid, m_nTD, delay.shift, si)) {
    input = fid.data() + delay.shift;
  } else {
    LoadShiftedFid(work, fid, m_nTD, delay.shift, si);
    if (variant == 3) {
      NegateEvenPoints(work);
      work[0].re *= 0.1f;
    }
    input = work.data();
  }

  // The complex variant transforms SI points with the halves swapped in the same pass. A
  // spectrometer's fid turns the other way round than the transform's kernel: its lines above
  // the carrier come out of the plain transform below it. Transformed conjugated, point k holds
  // frequency SI/2 - k, falling as the axis falls, with the imaginary part in the sense of the
  // instruments' own processed spectra. The real variants transform 2 * SI values, of which
  // only the first SI points are independent (the rest mirror them) and kept.
  const bool real = variant != 2;
  TransformOutput out(m_pData->data[1], si, real ? 1 : 0);
  const int done = real ? spc::RealFFT(reinterpret_cast<const float*>(input), 2 * static_cast<std::ptrdiff_t>(si),
                                       out.Points())
                        : spc::ConjugateCenteredFFT(input, m_nSI, out.Points());
  if (!out.Commit(done)) return 0;

  m_pData->nDomain = 1;
  SelectData();
  // The spectrum's frequency falls with the point index, so the delay's phase is taken off
  // as a first-order phase of the opposite sign.
  if (delay.phase != 0.0f) TurnSpectrum(0.0f, -delay.phase, 0);
  UpdatePhase();
  m_nPivot = static_cast<std::int32_t>(GetMaxMagnitudeIndex());
  return 1;
}

std::int32_t CSpcProcess::InverseTransform(std::int32_t variant) {
  if (!m_pData || m_pData->data[1].empty()) return 0;
  const std::size_t n = m_pData->data[1].size();
  if (variant < 0 || variant > 3 || !IsTransformSize(static_cast<std::int64_t>(n))) return 0;
  variant = ResolveVariant(variant, m_nAqMode);

  // Variants 1 and 2 undo the complex forward transform: its halves swapped back (frequency 0
  // first) and the fid conjugated again, in the kernel's own passes. The sequential one reads
  // the spectrum as it is.
  const std::vector<CSpcPoint>& spectrum = m_pData->data[1];
  const auto size = static_cast<std::ptrdiff_t>(n);
  TransformOutput out(m_pData->data[0], n, 0);
  const int done = variant != 3 ? spc::ConjugateCenteredInverseFFT(spectrum.data(), size, out.Points())
                                : spc::FFT(spectrum.data(), size, out.Points(), true);
  if (!out.Commit(done)) return 0;
  if (variant == 3) {
    std::vector<CSpcPoint>& fid = m_pData->data[0];
    fid[0].re *= 10.0f;
    NegateEvenPoints(fid);
  }

  m_pData->nDomain = 0;
  SelectData();
  UpdatePhase();
  return 1;
}

std::int32_t CSpcProcess::HilbertTransform() {
  if (!m_pData || !IsTransformSize(m_nSI)) return 0;
  std::vector<CSpcPoint>& spectrum = m_pData->data[1];
  const std::size_t n = static_cast<std::size_t>(m_nSI);
  // SI comes from the parameters; a spectrum shorter than SI is refused, not read past its end.
  if (spectrum.size() < n) return 0;

  // The real part alone, scaled by 2/n, taken to the time domain; there the first point is
  // halved and the second half dropped, so the forward transform gives the analytic signal.
  // The real part's inverse transform needs only its first half: a real transform gives it.
  const float scale = 2.0f / static_cast<float>(n);
  std::vector<float> real(n);
  for (std::size_t i = 0; i < n; ++i) real[i] = spectrum[i].re * scale;
  std::vector<CSpcPoint> work(n);
  if (!spc::RealFFT(real.data(), m_nSI, work.data(), true)) return 0;
  work[0].re *= 0.5f;
  work[n / 2] = CSpcPoint{};
  if (!spc::FFT(work.data(), m_nSI, spectrum.data(), false)) return 0;
  UpdatePhase();
  return 1;
}

std::int32_t CSpcProcess::WaveletTransform(std::int32_t wavelet) {
  if (!m_pData || m_pData->data[0].empty()) return 0;
  // Every entry of the wavelet menu runs the 4-coefficient Daubechies pyramid.
  if (wavelet < 0 || wavelet > 9 || !IsTransformSize(m_nSI)) return 0;

  const GroupDelay delay = LookupGroupDelay(m_pData->params);
  const std::size_t si = static_cast<std::size_t>(m_nSI);
  std::vector<CSpcPoint> buffer;
  LoadShiftedFid(buffer, m_pData->data[0], m_nTD, delay.shift, si);

  // The pyramid is defined on the real parts; the result is a real spectrum.
  std::vector<float> values(si);
  for (std::size_t i = 0; i < si; ++i) values[i] = buffer[i].re;
  WaveletPyramid(values);
  for (std::size_t i = 0; i < si; ++i) buffer[i] = CSpcPoint{values[i], 0.0f};

  m_pData->data[1].swap(buffer);
  m_pData->nDomain = 1;
  SelectData();
  if (delay.phase != 0.0f) ApplyPhase(0.0f, delay.phase, 0);
  UpdatePhase();
  m_nPivot = static_cast<std::int32_t>(GetMaxMagnitudeIndex());
  return 1;
}
