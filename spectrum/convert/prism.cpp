// Prism infrared files: a sequence of 513-byte records (the last byte of each unused). Record 1
// holds the operator and the sweep width, record 4 the axis and the first 48 data doubles, every
// further record 64 data doubles.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/bytecursor.h"
#include "spectrum/convert/singleformats.h"

namespace {

constexpr std::size_t kRecordSize = 513;
constexpr std::int64_t kPrismMinSize = 3;
constexpr std::uint16_t kPrismMark = 3;

// Record 1.
constexpr std::size_t kOwnerLengthOffset = 68;  // a length byte, then the owner's name
constexpr std::size_t kSweepWidthOffset = 473;
// Record 4 (zero-based 3): first x, step and count, then from kAxisDataOffset the first values.
constexpr std::size_t kAxisRecord = 3;
constexpr std::size_t kAxisDataOffset = 128;
constexpr std::size_t kAxisRecordValues = 48;
constexpr std::size_t kDataRecordValues = 64;
static_assert(kAxisDataOffset + 8 * kAxisRecordValues == 512 && 8 * kDataRecordValues == 512);

}  // namespace

bool CIrConvertPrism::Detect(COrvFile* file) {
  if (!file || !file->HasView() || file->m_nSize < kPrismMinSize) return false;
  plat::ByteCursor in(file->Bytes());
  return in.u16le() == kPrismMark && in.end() % kRecordSize == 0;
}

bool CIrConvertPrism::Read(std::string_view path, CSpcData* data, std::int32_t) {
  COrvFile file(path);
  plat::ByteCursor in(file.Bytes());
  // Without the first four records there is neither a sweep width nor an axis.
  const std::size_t records = in.end() / kRecordSize;
  if (records <= kAxisRecord)
    return Fail(SpcFailure::At("fewer than " + std::to_string(kAxisRecord + 1) + " records of 513 bytes"));

  plat::ByteCursor first = in.sub(kRecordSize);
  first.seek(kOwnerLengthOffset);
  const std::uint8_t ownerLength = first.u8();
  const std::string_view owner = first.text(ownerLength);
  first.seek(kSweepWidthOffset);
  data->params.Append("SW", first.f64le());
  data->params.Append("OWNER", owner);

  in.seek(kAxisRecord * kRecordSize);
  const plat::ByteCursor axis = in.sub(kRecordSize);
  plat::ByteCursor fields = axis;
  const double firstX = fields.f64le();
  const double step = fields.f64le();
  const auto countAt = static_cast<std::int64_t>(fields.offset());
  const double count = fields.f64le();
  // The count is stored as a double: anything that is not a point count is a damaged file.
  if (!(count >= 0.0 && count <= static_cast<double>(singleformat::kMaxPoints)))
    return Fail(SpcFailure::At("point count is no count a record can hold", countAt));
  const auto points = static_cast<std::int32_t>(count);
  data->params.Append("FIRSTX", firstX);
  data->params.Append("LASTX", count * step + firstX);
  data->params.Append("NPOINTS", points);
  data->nDomain = 1;
  SetNameFromPath(data, path);

  // Values in file order: 48 from the axis record, then 64 from each further complete record.
  // The vector holds what the file has, up to NPOINTS: a truncated file gives fewer points
  // (each at its true x), never a vector larger than the file could describe.
  const std::size_t available = kAxisRecordValues + (records - kAxisRecord - 1) * kDataRecordValues;
  const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(points), available);
  std::vector<CSpcPoint>& out = data->spectrum();
  out.assign(wanted, CSpcPoint{});
  plat::ByteCursor values = axis;
  values.skip(kAxisDataOffset);
  std::size_t left = kAxisRecordValues;
  for (CSpcPoint& p : out) {
    if (left == 0) {
      values = in.sub(kRecordSize);
      left = kDataRecordValues;
    }
    p.re = singleformat::PointValue(values.f64le());
    --left;
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateIrConvertPrism(std::uint32_t index) {
  return std::make_unique<CIrConvertPrism>(index);
}
