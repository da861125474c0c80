// OMNIC infrared files: a header of at least 584 bytes (title, point count, x range, data
// position) and the data as 4-byte floats.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/bytecursor.h"
#include "spectrum/convert/singleformats.h"

namespace {

constexpr std::int64_t kOmnicMinSize = 19;
constexpr std::string_view kMagic = "Spectral Data File";
constexpr std::size_t kHeaderSize = 584;
constexpr std::size_t kTitleOffset = 30;
constexpr std::size_t kDataOffsetByte = 370;  // the data start, less kDataBase
constexpr std::size_t kDataBase = 768;
constexpr std::size_t kCountOffset = 564;
constexpr std::size_t kFirstXOffset = 576;  // then the last x

}  // namespace

bool CIrConvertOmnic::Detect(COrvFile* file) {
  if (!file || !file->HasView() || file->m_nSize < kOmnicMinSize) return false;
  return file->Bytes().substr(0, kMagic.size()) == kMagic;
}

bool CIrConvertOmnic::Read(std::string_view path, CSpcData* data, std::int32_t) {
  COrvFile file(path);
  plat::ByteCursor in(file.Bytes());
  plat::ByteCursor header = in.sub(kHeaderSize);
  if (!in) return Fail(SpcFailure::CutShort("header", in));
  header.seek(kCountOffset);
  const std::uint32_t n = header.u32le();
  if (n > singleformat::kMaxPoints) return Fail(SpcFailure::At("point count beyond what a record holds", kCountOffset));
  header.seek(kFirstXOffset);
  const float firstX = header.f32le();
  const float lastX = header.f32le();
  header.seek(kDataOffsetByte);
  const std::size_t start = kDataBase + header.u8();
  // The title ends at its 0 byte, and at the latest with the header.
  header.seek(kTitleOffset);
  const std::string_view title = header.text(kHeaderSize - kTitleOffset);

  data->params.Append("FIRSTX", firstX);
  data->params.Append("LASTX", lastX);
  data->params.Append("NPOINTS", static_cast<std::int32_t>(n));
  data->params.Append("TITLE", title);

  // The vector holds the points the file has, up to n: a truncated file gives fewer points
  // (each at its true x), never a vector larger than the file could describe.
  plat::ByteCursor values(file.Bytes());
  const std::size_t count = values.seek(start) ? std::min<std::size_t>(n, values.remaining() / 4) : 0;
  std::vector<CSpcPoint>& out = data->spectrum();
  out.assign(count, CSpcPoint{});
  for (CSpcPoint& p : out) p.re = singleformat::PointValue(values.f32le());
  data->nDomain = 1;

  double date = 0.0;
  if (GetFileDate(path, &date)) data->params.AppendDate("DATE", date);
  return true;
}

std::unique_ptr<CSpcConvert> CreateIrConvertOmnic(std::uint32_t index) {
  return std::make_unique<CIrConvertOmnic>(index);
}
