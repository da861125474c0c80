#include "spectrum/convert/nmr/cdff.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/base/bytecursor.h"
#include "platform/base/bytes.h"
#include "platform/base/file.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::size_t kHeaderSize = 1032;
constexpr std::size_t kDataOffset = 1036;  // after the header and the value count
constexpr std::uint32_t kMagic = 0x04030201;

// Header fields (byte offsets).
enum : std::size_t {
  kState = 8, kDataType = 12, kPoints = 384, kAcqCode = 388, kDomain = 392, kDecim = 400,
  kSweep = 448, kFreq = 452, kOffsetHz = 456, kPivot = 464, kPh0 = 468, kPh1 = 472, kLb = 476,
  kTemp = 816, kSolvent = 820, kPulse = 860, kRelax = 864, kScans = 868, kOwner = 872, kTitle = 944,
};
constexpr std::size_t kSolventSize = kPulse - kSolvent;
constexpr std::size_t kOwnerSize = kTitle - kOwner;
constexpr std::size_t kTitleSize = kHeaderSize - kTitle;
constexpr std::size_t kOwnerWritten = 39;
constexpr std::size_t kTitleWritten = 83;

using Header = std::array<unsigned char, kHeaderSize>;

void PutText(Header& h, std::size_t offset, const std::string& text, std::size_t limit) {
  std::memcpy(h.data() + offset, text.data(), std::min(text.size(), limit));
}

std::int32_t TruncateToInt(float v) {
  if (!std::isfinite(v) || v >= 2147483648.0f || v < -2147483648.0f) return 0;
  return static_cast<std::int32_t>(v);
}

}  // namespace

double WrittenSpectrumValue(CSpcProcess& p, std::int32_t i, bool imaginary) {
  double v = imaginary ? p.GetImag(i) : p.GetReal(i);
  if (p.m_bBaseline && p.m_baseline.empty()) v -= p.GetBaseLevel();
  return v;
}

bool CNmrConvertCDFF::Detect(COrvFile* file) {
  if (!file) return false;
  plat::ByteCursor in(file->Bytes());
  return in.u32le() == kMagic && in.ok();
}

bool CNmrConvertCDFF::Read(std::string_view path, CSpcData* data, std::int32_t) {
  const COrvFile file(path);
  plat::ByteCursor in(file.Bytes());
  const plat::ByteCursor h = in.sub(kHeaderSize);
  if (!in) return Fail(SpcFailure::CutShort("header", in));
  const std::uint32_t domain = h.field(kDomain).u32le();
  const std::uint32_t n = h.field(kPoints).u32le();
  // Only a FID or a spectrum can be held, of a size a record can take.
  if (domain > 1) return Fail(SpcFailure::At("domain is neither fid nor spectrum", kDomain));
  if (n > CSpcData::kMaxPoints) return Fail(SpcFailure::At("point count beyond what a record holds", kPoints));

  data->nState = static_cast<std::int32_t>(h.field(kState).u32le());
  data->nAux = 1;
  data->nDomain = static_cast<std::int32_t>(domain);
  data->nAcqCode = static_cast<std::int32_t>(h.field(kAcqCode).u32le());

  const float sf = h.field(kFreq).f32le();
  const float of = h.field(kOffsetHz).f32le();
  const auto scans = static_cast<std::int32_t>(h.field(kScans).u32le());
  CSpcParamList& params = data->params;
  params.Append("AQ_mod", static_cast<std::int32_t>(h.field(kAcqCode).u32le()));
  params.Append("TE", TruncateToInt(h.field(kTemp).f32le()));
  params.Append("RD", h.field(kRelax).f32le());
  params.Append("NS", scans);
  params.Append("NSC", scans);
  params.Append("PW", h.field(kPulse).f32le());
  params.Append("SF", sf);
  params.Append("LB", h.field(kLb).f32le());
  params.Append("DECIM", static_cast<std::int32_t>(h.field(kDecim).u32le()));
  params.Append("SOLVENT", h.field(kSolvent).text(kSolventSize));
  params.Append("OWNER", h.field(kOwner).text(kOwnerSize));
  params.Append("TITLE", h.field(kTitle).text(kTitleSize));
  params.Append("SW", h.field(kSweep).f32le());
  params.Append("SFO", of * 0.000001 + sf);
  params.Append("OF", of);
  params.Append("OP", static_cast<std::int32_t>(n >> 1));
  params.Append("PP", static_cast<std::int32_t>(h.field(kPivot).u32le()));
  params.Append("PH0", h.field(kPh0).f32le());
  params.Append("PH1", h.field(kPh1).f32le());
  params.Append("SI", static_cast<std::int32_t>(n));
  params.Append("TD", static_cast<std::int32_t>(2 * n));
  data->strName = GetPathFileName(path);

  // The points must all be there before any storage is made for them.
  in.skip(4);  // the value count
  plat::ByteCursor pairs = in.sub(std::uint64_t{n} * 8);
  if (!in) return Fail(SpcFailure::CutShort("points", in));
  std::vector<CSpcPoint>& points = data->data[domain];
  points.insert(points.begin(), CSpcProcess::NextPow2(n), CSpcPoint{});
  const bool integers = h.field(kDataType).u32le() == 1;
  auto value = [&](std::uint32_t bits) {
    return integers ? static_cast<float>(static_cast<std::int32_t>(bits)) : std::bit_cast<float>(bits);
  };
  for (std::size_t i = 0; i < n; ++i) {
    points[i].im = value(pairs.u32le());
    points[i].re = value(pairs.u32le());
  }
  return true;
}

bool CNmrConvertCDFF::Write(std::string_view path, CSpcProcess* process, std::int32_t, std::int32_t) {
  if (!process || !process->m_pData) return false;
  CSpcProcess& p = *process;
  const CSpcData& data = *p.m_pData;
  const bool fid = data.nDomain == 0;

  // n: TD / 2 for a FID, SI for a spectrum; never more than the record holds, so the count
  // in the header always describes the values that follow.
  const std::size_t held = fid ? data.fid().size() : static_cast<std::size_t>(std::max(p.m_nCur, 0));
  const std::int64_t wanted = fid ? p.m_nTD / 2 : p.m_nSI;
  const std::size_t n = wanted > 0 ? std::min<std::size_t>(static_cast<std::size_t>(wanted), held) : held;

  Header h{};
  const std::uint32_t fixed[] = {kMagic, 256, 1, 0, 1, 32, 5105, 1, 1};
  for (std::size_t i = 0; i < std::size(fixed); ++i) plat::storeLe32(&h[4 * i], fixed[i]);
  const CSpcParamList& params = data.params;
  plat::storeLe32(&h[kPoints], static_cast<std::uint32_t>(n));
  plat::storeLe32(&h[kAcqCode], fid && p.m_nAqMode == 2 ? 2 : 1);
  plat::storeLe32(&h[kDomain], fid ? 0 : 1);
  plat::storeLe32(&h[396], 3);
  plat::storeLe32(&h[kDecim], static_cast<std::uint32_t>(params.GetValue("DECIM").GetLong()));
  plat::storeLeF32(&h[kSweep], static_cast<float>(p.m_dSW));
  plat::storeLeF32(&h[kFreq], static_cast<float>(p.m_dFreq));
  // The reader takes OF as the offset at point n / 2. The ppm scale steps by SW / SI and the Hz
  // scale by SW / (SI - 1), so a spectrum's OF is taken on the ppm scale, which then reloads
  // unchanged (the Hz value would move it by half a point).
  const auto middle = static_cast<std::int32_t>(n / 2);
  const double offset = !fid && p.m_dFreq != 0.0 ? p.PointToPpm(middle) * p.m_dFreq : p.PointToHertz(middle);
  plat::storeLeF32(&h[kOffsetHz], static_cast<float>(offset));
  plat::storeLe32(&h[kPivot], static_cast<std::uint32_t>(p.m_nPivot));
  // Spectrum values are written phased, so their phases are stored as 0 and a reload does not
  // turn them again; a FID keeps the phases to apply after its transform.
  plat::storeLeF32(&h[kPh0], fid ? p.m_fPH0 : 0.0f);
  plat::storeLeF32(&h[kPh1], fid ? p.m_fPH1 : 0.0f);
  plat::storeLeF32(&h[kLb], params.GetValue("LB").GetFloat());
  plat::storeLeF32(&h[kTemp], params.GetValue("TE").GetFloat());
  PutText(h, kOwner, params.GetValue("OWNER").GetString(), kOwnerWritten);
  PutText(h, kTitle, params.GetValue("TITLE").GetString(), kTitleWritten);

  std::string out(kDataOffset + n * 8, '\0');
  auto* bytes = reinterpret_cast<unsigned char*>(out.data());
  std::memcpy(bytes, h.data(), h.size());
  plat::storeLe32(bytes + kHeaderSize, static_cast<std::uint32_t>(2 * n));
  unsigned char* q = bytes + kDataOffset;
  for (std::size_t i = 0; i < n; ++i, q += 8) {
    float re = 0.0f, im = 0.0f;
    if (fid) {
      re = data.fid()[i].re;
      im = data.fid()[i].im;
    } else {
      re = static_cast<float>(WrittenSpectrumValue(p, static_cast<std::int32_t>(i), false));
      im = static_cast<float>(WrittenSpectrumValue(p, static_cast<std::int32_t>(i), true));
    }
    plat::storeLeF32(q, im);
    plat::storeLeF32(q + 4, re);
  }
  return plat::writeFileAtomic(std::string(path), out);
}

std::unique_ptr<CSpcConvert> CreateNmrConvertCDFF(std::uint32_t index) {
  return std::make_unique<CNmrConvertCDFF>(index);
}
