#include "spectrum/convert/nmr/felix.h"

#include <bit>
#include <cstring>
#include <vector>

#include "platform/base/bytes.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::string_view kMark = "Felix for Windows";
constexpr std::size_t kHeaderSize = 50;
constexpr std::uint64_t kDataOffset = 1536;

void Append(CSpcData* data, const char* name, const CVariant& value) {
  data->params.Append(CSpcParam{value, name, ""});
}

}  // namespace

bool CNmrConvertFelixW::Detect(COrvFile* file) {
  return file && file->HasView() && file->m_nSize >= 64 &&
         std::memcmp(file->m_pView, kMark.data(), kMark.size()) == 0;
}

bool CNmrConvertFelixW::Read(std::string_view path, CSpcData* data, std::int32_t) {
  data->strName = GetPathTitle(path);
  double date = 0.0;
  if (GetFileDate(path, &date)) {
    CVariant value;
    value.SetDate(date);
    Append(data, "DATE", value);
  }
  unsigned char h[kHeaderSize] = {};
  if (ReadFileBlock(path, h, sizeof h, 0) != sizeof h) return false;

  const auto n = static_cast<std::int32_t>(plat::loadLe32(h + 34));
  // A negative count or one beyond what a record holds describes no FID.
  if (n < 0 || static_cast<std::uint32_t>(n) > CSpcData::kMaxPoints) return false;
  data->nState = 1;
  data->nDomain = 0;
  data->nAcqCode = 1;
  CVariant v;
  v.SetLong(1);
  Append(data, "AQ_mod", v);
  v.SetLong(n);
  Append(data, "SI", v);
  v.SetLong(2 * n);
  Append(data, "TD", v);
  const float freq = plat::loadLeF32(h + 46);
  v.SetFloat(freq);
  Append(data, "SFO", v);
  v.SetFloat(plat::loadLeF32(h + 38));
  Append(data, "SW", v);
  v.SetFloat(freq);
  Append(data, "SF", v);

  // The pairs are read whole before the FID is made, so a short file allocates nothing.
  const std::size_t bytes = static_cast<std::size_t>(n) * 8;
  std::vector<unsigned char> raw(bytes);
  if (bytes > 0 && ReadFileBlock(path, raw.data(), bytes, kDataOffset) != bytes) return false;
  std::vector<CSpcPoint>& fid = data->fid();
  fid.insert(fid.begin(), CSpcProcess::NextPow2(static_cast<std::uint32_t>(n)), CSpcPoint{});
  for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
    fid[i].re = static_cast<float>(static_cast<std::int32_t>(plat::loadLe32(&raw[8 * i])));
    fid[i].im = static_cast<float>(static_cast<std::int32_t>(plat::loadLe32(&raw[8 * i + 4])));
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertFelixW(std::uint32_t index) {
  return std::make_unique<CNmrConvertFelixW>(index);
}
