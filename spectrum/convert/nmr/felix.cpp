#include "spectrum/convert/nmr/felix.h"

#include <vector>

#include "platform/base/bytecursor.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::string_view kMark = "Felix for Windows";
constexpr std::size_t kHeaderSize = 50;
constexpr std::size_t kCountOffset = 34;  // then the sweep width, a word, the frequency
constexpr std::uint64_t kDataOffset = 1536;

}  // namespace

bool CNmrConvertFelixW::Detect(COrvFile* file) {
  return file && file->HasView() && file->m_nSize >= 64 && file->Bytes().substr(0, kMark.size()) == kMark;
}

bool CNmrConvertFelixW::Read(std::string_view path, CSpcData* data, std::int32_t) {
  data->strName = GetPathTitle(path);
  double date = 0.0;
  if (GetFileDate(path, &date)) data->params.AppendDate("DATE", date);
  const COrvFile file(path);
  plat::ByteCursor in(file.Bytes());
  plat::ByteCursor h = in.sub(kHeaderSize);
  if (!in) return Fail(SpcFailure::CutShort("header", in));
  h.skip(kCountOffset);
  const std::int32_t n = h.i32le();
  const float sweep = h.f32le();
  h.skip(4);
  const float freq = h.f32le();
  // A negative count or one beyond what a record holds describes no FID.
  if (n < 0 || static_cast<std::uint32_t>(n) > CSpcData::kMaxPoints)
    return Fail(SpcFailure::At("point count is no count a record can hold", kCountOffset));
  data->nState = 1;
  data->nDomain = 0;
  data->nAcqCode = 1;
  CSpcParamList& params = data->params;
  params.Append("AQ_mod", 1);
  params.Append("SI", n);
  params.Append("TD", 2 * n);
  params.Append("SFO", freq);
  params.Append("SW", sweep);
  params.Append("SF", freq);

  // The pairs must all be there before the FID is made, so a short file allocates nothing.
  plat::ByteCursor pairs;
  if (n > 0) {
    in.seek(kDataOffset);
    pairs = in.sub(std::uint64_t(n) * 8);
    if (!in) return Fail(SpcFailure::CutShort("points", in));
  }
  std::vector<CSpcPoint>& fid = data->fid();
  fid.insert(fid.begin(), CSpcProcess::NextPow2(static_cast<std::uint32_t>(n)), CSpcPoint{});
  for (std::int32_t i = 0; i < n; ++i) {
    fid[i].re = static_cast<float>(pairs.i32le());
    fid[i].im = static_cast<float>(pairs.i32le());
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertFelixW(std::uint32_t index) {
  return std::make_unique<CNmrConvertFelixW>(index);
}
