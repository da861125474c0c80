#include "spectrum/convert/nmr/mestrec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/base/bytecursor.h"
#include "platform/base/bytes.h"
#include "platform/base/file.h"
#include "spectrum/convert/nmr/cdff.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::size_t kBlockOffset = 1024;
constexpr std::size_t kBlockSize = 144;
constexpr std::size_t kDataOffset = 1536;
constexpr std::uint32_t kMagic = 0x0243524D;  // "MRC" 2

// Parameter block fields (offsets within the block).
enum : std::size_t {
  kValues = 4, kSweep = 8, kFreq = 16, kDspfvs = 40, kDecim = 44, kOffsetRatio = 48, kComplex = 56, kIsFid = 60,
};

// The display font record the program stores after the data, then its closing words.
std::string Trailer() {
  std::array<unsigned char, 60 + 16> t{};
  plat::storeLe32(&t[0], 14);  // height
  t[24] = 4;          // output precision
  t[26] = 2;          // quality
  t[27] = 0x22;       // pitch and family
  std::memcpy(&t[28], "Times New Roman", 15);
  plat::storeLe32(&t[60 + 8], 0xFFFFFFFFu);
  plat::storeLe32(&t[60 + 12], 100);
  return std::string(reinterpret_cast<const char*>(t.data()), t.size());
}

}  // namespace

bool CNmrConvertMestReC::Detect(COrvFile* file) {
  if (!file || !file->HasView() || file->m_nSize < 5) return false;
  plat::ByteCursor in(file->Bytes());
  return in.u32le() == kMagic;
}

bool CNmrConvertMestReC::Read(std::string_view path, CSpcData* data, std::int32_t) {
  const COrvFile file(path);
  plat::ByteCursor in(file.Bytes());
  in.seek(kBlockOffset);
  const plat::ByteCursor b = in.sub(kBlockSize);
  if (!in) return Fail(SpcFailure::CutShort("parameter block", in));
  const std::uint32_t n = b.field(kValues).u32le();
  // A point vector of a size a record can take (N counts 32-bit values, two a point).
  if (n > 2 * std::uint64_t(CSpcData::kMaxPoints))
    return Fail(SpcFailure::At("value count beyond what a record holds", kBlockOffset + kValues));

  const double sweep = b.field(kSweep).f64le();
  const double freq = b.field(kFreq).f64le();
  const auto decim = static_cast<std::int32_t>(b.field(kDecim).u32le());
  const bool complex = b.field(kComplex).u32le() != 0;
  const bool isFid = b.field(kIsFid).u32le() != 0;
  const std::uint32_t m = CSpcProcess::NextPow2(n) / 2;

  data->nState = 1;
  data->nAux = 14;
  data->nAcqCode = complex ? 1 : 2;
  CSpcParamList& params = data->params;
  params.Append("SF", freq);
  params.Append("SFO1", freq);
  params.Append("SW", sweep);
  params.Append("OF", n != 0 ? sweep - sweep / n * b.field(kOffsetRatio).f64le() : 0.0);
  params.Append("PP", 0);
  params.Append("TD", static_cast<std::int32_t>(n));
  params.Append("SI", static_cast<std::int32_t>(m));
  params.Append("AQ_mod", complex ? (decim != 0 ? 3 : 1) : 2);
  params.Append("DECIM", decim);
  params.Append("DSPFVS", static_cast<std::int32_t>(b.field(kDspfvs).u32le()));
  data->strName = GetPathTitle(path);

  if (n < 2) return Fail(SpcFailure::At("fewer than two values", kBlockOffset + kValues));
  // The N values the header gives, all there before storage is made for them; the vector is
  // then padded to a power of two.
  in.seek(kDataOffset);
  plat::ByteCursor values = in.sub(std::uint64_t{n} * 4);
  if (!in) return Fail(SpcFailure::CutShort("values", in));
  data->nDomain = isFid ? 0 : 1;
  std::vector<CSpcPoint>& points = data->data[data->nDomain];
  points.insert(points.begin(), m, CSpcPoint{});
  for (std::size_t k = 0; k < n; ++k) (k % 2 == 0 ? points[k / 2].re : points[k / 2].im) = values.f32le();
  return true;
}

bool CNmrConvertMestReC::Write(std::string_view path, CSpcProcess* process, std::int32_t, std::int32_t) {
  if (!process || !process->m_pData) return false;
  CSpcProcess& p = *process;
  const CSpcData& data = *p.m_pData;
  const bool fid = data.nDomain == 0;
  const std::vector<CSpcPoint>& points = fid ? data.fid() : data.spectrum();

  // N: TD values of a FID, SI x 2 of a spectrum, never more than the record holds. Fewer than
  // two values make a file that cannot be read back, so nothing is written.
  const std::int64_t wanted = fid ? p.m_nTD : std::int64_t(p.m_nSI) * 2;
  const std::size_t held = points.size() * 2;
  const std::size_t n = wanted > 0 ? std::min<std::size_t>(static_cast<std::size_t>(wanted), held) : held;
  if (n < 2 || n > 0xFFFFFFFFu) return false;

  std::string out(kDataOffset + n * 4, '\0');
  auto* bytes = reinterpret_cast<unsigned char*>(out.data());
  const unsigned char magic[20] = {0x4D, 0x52, 0x43, 0x02, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
  std::memcpy(bytes, magic, sizeof magic);
  const unsigned char mark[4] = {0xFF, 0xFF, 0xFF, 0x00};
  std::memcpy(bytes + 512, mark, sizeof mark);

  unsigned char* b = bytes + kBlockOffset;
  const double sweep = p.m_dSW;
  plat::storeLe32(b + 0, 65612);
  plat::storeLe32(b + kValues, static_cast<std::uint32_t>(n));
  plat::storeLeF64(b + kSweep, sweep);
  plat::storeLeF64(b + kFreq, p.m_dFreq);
  plat::storeLe32(b + kDspfvs, static_cast<std::uint32_t>(data.params.GetValue("DSPFVS").GetLong()));
  plat::storeLe32(b + kDecim, static_cast<std::uint32_t>(data.params.GetValue("DECIM").GetLong()));
  // The left edge as a fraction of the sweep, in values; no sweep, no fraction.
  plat::storeLeF64(b + kOffsetRatio, sweep != 0.0 ? (sweep - p.PointToHertz(0)) / sweep * static_cast<double>(n) : 0.0);
  plat::storeLe32(b + kComplex, fid && p.m_nAqMode == 2 ? 0 : 1);
  plat::storeLe32(b + kIsFid, fid ? 1 : 0);
  plat::storeLe32(b + 80, 61589);
  plat::storeLe32(b + 88, 9361);
  plat::storeLe32(b + 92, 0x00FF0000);
  plat::storeLe32(b + 96, 0x43D5FFFF);
  plat::storeLeF32(b + 100, 1.2f);
  plat::storeLe32(b + 108, static_cast<std::uint32_t>(n));
  plat::storeLe32(b + 116, 1020);
  plat::storeLe32(b + 120, 3);
  plat::storeLe32(b + 124, 326);
  plat::storeLe32(b + 128, 14);
  plat::storeLe32(b + 132, 0x00FF0000);
  plat::storeLe32(b + 140, 4827198);

  // The format keeps no phases: a spectrum is written as the user sees it (phased, baseline
  // removed), a FID as acquired.
  unsigned char* q = bytes + kDataOffset;
  for (std::size_t k = 0; k < n; ++k, q += 4) {
    const auto i = static_cast<std::int32_t>(k / 2);
    const bool imaginary = k % 2 != 0;
    const CSpcPoint& pt = points[k / 2];
    const float v = fid ? (imaginary ? pt.im : pt.re) : static_cast<float>(WrittenSpectrumValue(p, i, imaginary));
    plat::storeLeF32(q, v);
  }
  out += Trailer();
  return plat::writeFileAtomic(std::string(path), out);
}

std::unique_ptr<CSpcConvert> CreateNmrConvertMestReC(std::uint32_t index) {
  return std::make_unique<CNmrConvertMestReC>(index);
}
