#include "spectrum/convert/saturn.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/bytes.h"
#include "platform/oleauto/oleauto.h"

namespace {

constexpr std::uint16_t kFileMark = 25100;
constexpr std::size_t kHeaderSize = 84;
constexpr std::size_t kScanHeaderSize = 6;
constexpr std::size_t kPeakSize = 12;  // double m/z, 32-bit intensity

// The n 32-bit words of a table at offset, as far as the file holds them.
std::vector<std::uint32_t> ReadTable(const plat::Byte* view, std::size_t size, std::uint32_t offset, std::size_t n) {
  std::vector<std::uint32_t> table;
  if (offset >= size) return table;
  n = std::min(n, (size - offset) / 4);
  table.reserve(n);
  for (std::size_t i = 0; i < n; ++i) table.push_back(plat::loadLe32(view + offset + 4 * i));
  return table;
}

void AppendParam(CSpcData* data, const char* name, const CVariant& value) {
  data->params.Append(CSpcParam{value, name, ""});
}

void AppendFloat(CSpcData* data, const char* name, double value) {
  const auto f = static_cast<float>(value);
  if (!std::isfinite(f)) return;  // a damaged header gives no axis rather than an infinite one
  CVariant v;
  v.SetFloat(f);
  AppendParam(data, name, v);
}

// The peaks of the scan record at [begin, end) of the view; peaks past end are not there.
void ReadPeaks(const plat::Byte* record, std::size_t length, std::size_t budget, std::vector<CSpcPoint>* peaks) {
  if (length < kScanHeaderSize) return;
  const std::size_t count = std::min({static_cast<std::size_t>(plat::loadLe16(record + 2)),
                                      (length - kScanHeaderSize) / kPeakSize, budget});
  peaks->reserve(count);
  const plat::Byte* p = record + kScanHeaderSize;
  for (std::size_t i = 0; i < count; ++i, p += kPeakSize) {
    const auto mass = static_cast<float>(plat::loadLeF64(p));
    if (!std::isfinite(mass)) continue;  // no place for it on the mass axis
    peaks->push_back({static_cast<float>(plat::loadLe32(p + 8)), mass});
  }
  std::stable_sort(peaks->begin(), peaks->end(), [](const CSpcPoint& a, const CSpcPoint& b) { return a.im < b.im; });
}

}  // namespace

bool CVarianSaturn::Detect(COrvFile* file) const {
  return file && file->HasView() && file->m_nSize >= static_cast<std::int64_t>(kHeaderSize) &&
         plat::loadLe16(file->m_pView) == kFileMark;
}

bool CVarianSaturn::Read(std::string_view path, CSpcData* data, std::int32_t kind) const {
  if (kind != kSpcKindMass && kind != kSpcKindTic) return false;
  COrvFile file(path);
  const auto size = static_cast<std::size_t>(file.m_nSize);
  const plat::Byte* view = file.m_pView;
  if (!view || size < kHeaderSize) return false;

  // The comment ends at its length or at a 0 byte, whichever comes first.
  const std::size_t commentLength = std::min<std::size_t>(view[83], size - kHeaderSize);
  std::string comment(reinterpret_cast<const char*>(view + kHeaderSize), commentLength);
  comment.resize(std::strlen(comment.c_str()));
  CVariant text;
  text.SetString(comment);
  AppendParam(data, "COMMENT", text);

  plat::ole::DateParts when;
  when.year = 1900 + view[6];
  when.month = view[7];
  when.day = view[8];
  when.hour = view[9];
  when.minute = view[10];
  when.second = view[11];
  double date = 0.0;
  if (plat::ole::dateFromParts(when, &date)) {  // an impossible date is left out
    CVariant v;
    v.SetDate(date);
    AppendParam(data, "DATE", v);
  }

  const double firstTime = plat::loadLeF64(view + 12);
  const double timeStep = plat::loadLeF64(view + 20);
  const auto declared = static_cast<std::int16_t>(plat::loadLe16(view + 57));
  const std::size_t n = declared > 0 ? static_cast<std::size_t>(declared) : 0;
  const std::uint32_t offsetTable = plat::loadLe32(view + 59);
  const std::vector<std::uint32_t> offsets = ReadTable(view, size, offsetTable, n);
  const std::vector<std::uint32_t> totals = ReadTable(view, size, plat::loadLe32(view + 63), n);

  if (kind == kSpcKindTic) {
    std::vector<CSpcPoint>& points = data->spectrum();
    points.reserve(totals.size());
    for (std::uint32_t total : totals) points.push_back({static_cast<float>(total), 0.0f});
    if (!points.empty()) {
      AppendFloat(data, "FIRSTX", firstTime);
      AppendFloat(data, "LASTX", firstTime + static_cast<double>(points.size() - 1) * timeStep);
    }
  } else {
    // Scan records lie between the first scan and the offset table.
    const std::size_t recordsEnd = std::min<std::size_t>(offsetTable, size);
    const std::size_t first = offsets.empty() ? 0 : offsets[0];
    const std::size_t scans = std::min(offsets.size(), totals.size());
    std::size_t budget = CSpcData::kMaxPoints;  // records may overlap, so the peaks are capped
    data->scans.reserve(scans);
    for (std::size_t i = 0; i < scans; ++i) {
      CMassScan& scan = data->scans.emplace_back();
      if (offsets[i] >= first && offsets[i] < recordsEnd)
        ReadPeaks(view + offsets[i], recordsEnd - offsets[i], budget, &scan.peaks);
      budget -= scan.peaks.size();
      scan.fIonCurrent = static_cast<float>(totals[i]);
      scan.strLabel = comment;
      // Each scan sits at its own time on the ion plot.
      const auto time = static_cast<float>(firstTime + static_cast<double>(i) * timeStep);
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
