#include "spectrum/convert/saturn.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/base/bytecursor.h"
#include "platform/oleauto/oleauto.h"

namespace {

constexpr std::uint16_t kFileMark = 25100;
constexpr std::size_t kHeaderSize = 84;
constexpr std::size_t kScanHeaderSize = 6;
constexpr std::size_t kPeakSize = 12;  // double m/z, 32-bit intensity

// The fields of the header the reader takes (offsets of the sparse ones).
struct SaturnHeader {
  plat::ole::DateParts when;
  double firstTime = 0.0;
  double timeStep = 0.0;
  std::int16_t scans = 0;
  std::uint32_t offsetTable = 0;
  std::uint32_t totalTable = 0;
  std::uint8_t commentLength = 0;
};
constexpr std::size_t kDateOffset = 6;
constexpr std::size_t kScanCountOffset = 57;
constexpr std::size_t kCommentLengthOffset = 83;

SaturnHeader ReadHeader(plat::ByteCursor in) {
  SaturnHeader h;
  in.seek(kDateOffset);
  h.when.year = 1900 + in.u8();
  h.when.month = in.u8();
  h.when.day = in.u8();
  h.when.hour = in.u8();
  h.when.minute = in.u8();
  h.when.second = in.u8();
  h.firstTime = in.f64le();
  h.timeStep = in.f64le();
  in.seek(kScanCountOffset);
  h.scans = in.i16le();
  h.offsetTable = in.u32le();
  h.totalTable = in.u32le();
  in.seek(kCommentLengthOffset);
  h.commentLength = in.u8();
  return h;
}

// The n 32-bit words of a table at offset, as far as the file holds them.
std::vector<std::uint32_t> ReadTable(plat::ByteCursor in, std::uint32_t offset, std::size_t n) {
  std::vector<std::uint32_t> table;
  if (!in.seek(offset)) return table;
  n = std::min(n, in.remaining() / 4);
  table.reserve(n);
  for (std::size_t i = 0; i < n; ++i) table.push_back(in.u32le());
  return table;
}

void AppendFloat(CSpcData* data, const char* name, double value) {
  const auto f = static_cast<float>(value);
  if (std::isfinite(f)) data->params.Append(name, f);  // a damaged header gives no axis, not an infinite one
}

// The peaks of one scan record, the record being the cursor's window; peaks past its end are
// not there.
void ReadPeaks(plat::ByteCursor record, std::size_t budget, std::vector<CSpcPoint>* peaks) {
  if (!record.has(kScanHeaderSize)) return;
  record.skip(2);  // scan number
  const std::uint16_t declared = record.u16le();
  record.skip(2);  // flags
  const std::size_t count = std::min({static_cast<std::size_t>(declared), record.remaining() / kPeakSize, budget});
  peaks->reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto mass = static_cast<float>(record.f64le());
    const std::uint32_t intensity = record.u32le();
    if (!std::isfinite(mass)) continue;  // no place for it on the mass axis
    peaks->push_back({static_cast<float>(intensity), mass});
  }
  std::stable_sort(peaks->begin(), peaks->end(), [](const CSpcPoint& a, const CSpcPoint& b) { return a.im < b.im; });
}

}  // namespace

bool CVarianSaturn::Detect(COrvFile* file) const {
  if (!file) return false;
  plat::ByteCursor in(file->Bytes());
  return in.has(kHeaderSize) && in.u16le() == kFileMark;
}

bool CVarianSaturn::Read(std::string_view path, CSpcData* data, std::int32_t kind, SpcFailure* why) const {
  if (kind != kSpcKindMass && kind != kSpcKindTic) return false;
  COrvFile file(path);
  const plat::ByteCursor in(file.Bytes());
  if (!in.has(kHeaderSize)) {
    if (why) *why = SpcFailure::At("header shorter than " + std::to_string(kHeaderSize) + " bytes", 0);
    return false;
  }
  const SaturnHeader h = ReadHeader(in);

  // The comment ends at its length or at a 0 byte, whichever comes first.
  plat::ByteCursor text = in;
  text.seek(kHeaderSize);
  const std::string comment(text.text(std::min<std::uint64_t>(h.commentLength, text.remaining())));
  data->params.Append("COMMENT", comment);

  double date = 0.0;
  if (plat::ole::dateFromParts(h.when, &date)) data->params.AppendDate("DATE", date);  // an impossible date is left out

  const std::size_t n = h.scans > 0 ? static_cast<std::size_t>(h.scans) : 0;
  const std::vector<std::uint32_t> offsets = ReadTable(in, h.offsetTable, n);
  const std::vector<std::uint32_t> totals = ReadTable(in, h.totalTable, n);

  if (kind == kSpcKindTic) {
    std::vector<CSpcPoint>& points = data->spectrum();
    points.reserve(totals.size());
    for (std::uint32_t total : totals) points.push_back({static_cast<float>(total), 0.0f});
    if (!points.empty()) {
      AppendFloat(data, "FIRSTX", h.firstTime);
      AppendFloat(data, "LASTX", h.firstTime + static_cast<double>(points.size() - 1) * h.timeStep);
    }
  } else {
    // Scan records lie between the first scan and the offset table.
    const std::size_t recordsEnd = std::min<std::size_t>(h.offsetTable, in.end());
    const std::size_t first = offsets.empty() ? 0 : offsets[0];
    const std::size_t scans = std::min(offsets.size(), totals.size());
    std::size_t budget = CSpcData::kMaxPoints;  // records may overlap, so the peaks are capped
    data->scans.reserve(scans);
    for (std::size_t i = 0; i < scans; ++i) {
      CMassScan& scan = data->scans.emplace_back();
      if (offsets[i] >= first && offsets[i] < recordsEnd) {
        plat::ByteCursor record = in;
        record.seek(offsets[i]);
        ReadPeaks(record.sub(recordsEnd - offsets[i]), budget, &scan.peaks);
      }
      budget -= scan.peaks.size();
      scan.fIonCurrent = static_cast<float>(totals[i]);
      scan.strLabel = comment;
      // Each scan sits at its own time on the ion plot.
      const auto time = static_cast<float>(h.firstTime + static_cast<double>(i) * h.timeStep);
      scan.fTime = std::isfinite(time) ? time : 0.0f;
    }
  }
  data->nDomain = 1;
  return true;
}

std::unique_ptr<CSpcConvert> CreateMassConvertSaturn(std::uint32_t index) {
  return std::make_unique<CMassConvertSaturn>(index);
}
std::unique_ptr<CSpcConvert> CreateTicConvertSaturn(std::uint32_t index) {
  return std::make_unique<CTicConvertSaturn>(index);
}
