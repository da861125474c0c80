// Prism infrared files: a sequence of 513-byte records (the last byte of each unused). Record 1
// holds the operator and the sweep width, record 4 the axis and the first 48 data doubles, every
// further record 64 data doubles.
#include <algorithm>
#include <vector>

#include "spectrum/convert/singleformats.h"

namespace {

using singleformat::Holds;
using singleformat::LoadLe;

constexpr std::size_t kRecordSize = 513;
constexpr std::int64_t kPrismMinSize = 3;

// Record 1.
constexpr std::size_t kOwnerLengthOffset = 68;
constexpr std::size_t kOwnerOffset = 69;
constexpr std::size_t kSweepWidthOffset = 473;
// Record 4.
constexpr std::size_t kAxisRecord = 3;  // zero-based
constexpr std::size_t kFirstXOffset = 0;
constexpr std::size_t kStepOffset = 8;
constexpr std::size_t kCountOffset = 16;
constexpr std::size_t kAxisDataOffset = 128;
constexpr std::size_t kAxisRecordValues = 48;
constexpr std::size_t kDataRecordValues = 64;
static_assert(kAxisDataOffset + 8 * kAxisRecordValues == 512 && 8 * kDataRecordValues == 512);

}  // namespace

bool CIrConvertPrism::Detect(COrvFile* file) {
  if (!file || !file->HasView() || file->m_nSize < kPrismMinSize) return false;
  const std::string_view view = file->Bytes();
  return LoadLe<std::uint16_t>(view, 0) == 3 && view.size() % kRecordSize == 0;
}

bool CIrConvertPrism::Read(std::string_view path, CSpcData* data, std::int32_t) {
  COrvFile file(path);
  const std::string_view view = singleformat::View(file);
  // Without the first four records there is neither a sweep width nor an axis.
  const std::size_t records = view.size() / kRecordSize;
  if (records <= kAxisRecord) return false;

  const std::size_t ownerLength = static_cast<unsigned char>(view[kOwnerLengthOffset]);
  const std::string_view owner = singleformat::UntilNul(view.substr(kOwnerOffset, ownerLength));
  singleformat::AppendDouble(data, "SW", LoadLe<double>(view, kSweepWidthOffset));
  singleformat::AppendString(data, "OWNER", owner);

  const std::size_t axis = kAxisRecord * kRecordSize;
  const double firstX = LoadLe<double>(view, axis + kFirstXOffset);
  const double step = LoadLe<double>(view, axis + kStepOffset);
  const double count = LoadLe<double>(view, axis + kCountOffset);
  // The count is stored as a double: anything that is not a point count is a damaged file.
  if (!(count >= 0.0 && count <= static_cast<double>(singleformat::kMaxPoints))) return false;
  const auto points = static_cast<std::int32_t>(count);
  singleformat::AppendDouble(data, "FIRSTX", firstX);
  singleformat::AppendDouble(data, "LASTX", count * step + firstX);
  singleformat::AppendLong(data, "NPOINTS", points);
  data->nDomain = 1;
  SetNameFromPath(data, path);

  // Values in file order: 48 from the axis record, then 64 from each further complete record.
  // The vector holds what the file has, up to NPOINTS: a truncated file gives fewer points
  // (each at its true x), never a vector larger than the file could describe.
  const std::size_t available = kAxisRecordValues + (records - kAxisRecord - 1) * kDataRecordValues;
  const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(points), available);
  std::vector<CSpcPoint>& out = data->spectrum();
  out.assign(wanted, CSpcPoint{});
  for (std::size_t i = 0; i < wanted; ++i) {
    std::size_t offset = 0;
    if (i < kAxisRecordValues) {
      offset = axis + kAxisDataOffset + 8 * i;
    } else {
      const std::size_t j = i - kAxisRecordValues;
      offset = (kAxisRecord + 1 + j / kDataRecordValues) * kRecordSize + 8 * (j % kDataRecordValues);
    }
    if (!Holds(view, offset, 8)) break;  // cannot happen for complete records; stays safe
    out[i].re = singleformat::PointValue(LoadLe<double>(view, offset));
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateIrConvertPrism(std::uint32_t index) {
  return std::make_unique<CIrConvertPrism>(index);
}
