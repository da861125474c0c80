// OMNIC infrared files: a header of at least 584 bytes (title, point count, x range, data
// position) and the data as 4-byte floats.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/oleauto/oleauto.h"
#include "spectrum/convert/singleformats.h"

namespace {

using singleformat::Holds;
using singleformat::LoadLe;

constexpr std::int64_t kOmnicMinSize = 19;
constexpr std::string_view kMagic = "Spectral Data File";
constexpr std::size_t kHeaderSize = 584;
constexpr std::size_t kTitleOffset = 30;
constexpr std::size_t kDataOffsetByte = 370;
constexpr std::size_t kDataBase = 768;
constexpr std::size_t kCountOffset = 564;
constexpr std::size_t kFirstXOffset = 576;
constexpr std::size_t kLastXOffset = 580;

}  // namespace

bool CIrConvertOmnic::Detect(COrvFile* file) {
  if (!file || !file->HasView() || file->m_nSize < kOmnicMinSize) return false;
  return file->Bytes().substr(0, kMagic.size()) == kMagic;
}

bool CIrConvertOmnic::Read(std::string_view path, CSpcData* data, std::int32_t) {
  COrvFile file(path);
  const std::string_view view = singleformat::View(file);
  if (!Holds(view, 0, kHeaderSize)) return false;
  const std::uint32_t n = LoadLe<std::uint32_t>(view, kCountOffset);
  if (n > singleformat::kMaxPoints) return false;
  const std::size_t start = kDataBase + static_cast<unsigned char>(view[kDataOffsetByte]);
  // The title ends at its 0 byte, and at the latest with the header.
  const std::string_view title = singleformat::UntilNul(view.substr(kTitleOffset, kHeaderSize - kTitleOffset));

  singleformat::AppendFloat(data, "FIRSTX", LoadLe<float>(view, kFirstXOffset));
  singleformat::AppendFloat(data, "LASTX", LoadLe<float>(view, kLastXOffset));
  singleformat::AppendLong(data, "NPOINTS", static_cast<std::int32_t>(n));
  singleformat::AppendString(data, "TITLE", title);

  // The vector holds the points the file has, up to n: a truncated file gives fewer points
  // (each at its true x), never a vector larger than the file could describe.
  const std::size_t available = view.size() > start ? (view.size() - start) / 4 : 0;
  const std::size_t count = std::min<std::size_t>(n, available);
  std::vector<CSpcPoint>& out = data->spectrum();
  out.assign(count, CSpcPoint{});
  for (std::size_t i = 0; i < count; ++i) out[i].re = singleformat::PointValue(LoadLe<float>(view, start + 4 * i));
  data->nDomain = 1;

  double date = 0.0;
  if (GetFileDate(path, &date)) {
    CVariant value;
    value.SetDate(date);
    singleformat::AppendParam(data, "DATE", value);
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateIrConvertOmnic(std::uint32_t index) {
  return std::make_unique<CIrConvertOmnic>(index);
}
