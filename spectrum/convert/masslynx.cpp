#include "spectrum/convert/masslynx.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/base/bytecursor.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"

namespace {

constexpr std::string_view kFunctionPattern = "_FUNC???.DAT";
constexpr std::size_t kIndexRecordSize = 22;
constexpr std::uint16_t kItemsWide = 2048;    // 8-byte items: divisor, value
constexpr std::uint16_t kItemsNarrow = 6144;  // 6-byte items: value, divisor

// One acquisition of the index file.
struct IndexRecord {
  std::int32_t offset;
  std::uint16_t count;
  std::uint16_t type;
  float base;
  float minutes;
  std::int16_t ionCurrent;
};

// The next record of the index file (the fields in file order; the last four bytes are not used).
IndexRecord ReadRecord(plat::ByteCursor& idx) {
  plat::ByteCursor r = idx.sub(kIndexRecordSize);
  return {r.i32le(), r.u16le(), r.u16le(), r.f32le(), r.f32le(), r.i16le()};
}

// The folder path without trailing separators, so its last component names the data set.
// Names of the function files of the folder, in the order the folder search gives them.
std::vector<std::string> FunctionFiles(std::string_view folder) {
  std::vector<std::string> names;
  for (plat::DirEntry& f : plat::findFiles(folder, kFunctionPattern))
    if (!f.isDirectory) names.push_back(std::move(f.name));
  return names;
}

void AppendFloat(CSpcData* data, const char* name, float value) {
  if (std::isfinite(value)) data->params.Append(name, value);  // a damaged index gives no axis, not a NaN one
}

// The peaks of one acquisition, read from the data file at the record's offset; items past the
// end of the file are not there.
void ReadPeaks(std::string_view dat, const IndexRecord& rec, std::size_t budget, std::vector<CSpcPoint>* peaks) {
  const std::size_t itemSize = rec.type == kItemsWide ? 8 : rec.type == kItemsNarrow ? 6 : 0;
  plat::ByteCursor in(dat);
  if (itemSize == 0 || rec.offset < 0 || !in.seek(static_cast<std::uint32_t>(rec.offset))) return;
  const std::size_t count = std::min({static_cast<std::size_t>(rec.count), in.remaining() / itemSize, budget});
  peaks->reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    float intensity, mass;
    if (rec.type == kItemsWide) {
      const std::uint32_t divisor = in.u32le();
      const std::int32_t value = in.i32le();
      if (divisor == 0) continue;  // no mass can be computed for it
      intensity = static_cast<float>(value) - rec.base;
      mass = static_cast<float>(static_cast<double>(value) / divisor);
    } else {
      const std::int32_t value = in.i32le();
      const std::uint16_t divisor = in.u16le();
      if (divisor == 0) continue;
      intensity = static_cast<float>(value);
      mass = static_cast<float>(static_cast<double>(value) / divisor);
    }
    if (std::isfinite(intensity)) peaks->push_back({intensity, mass});
  }
  std::stable_sort(peaks->begin(), peaks->end(), [](const CSpcPoint& a, const CSpcPoint& b) { return a.im < b.im; });
}

}  // namespace

bool CMassLynx::Detect(COrvFile* file) const { return GetSpectrumCount(file) > 0; }

std::int32_t CMassLynx::GetSpectrumCount(COrvFile* file) const {
  if (!file || !file->IsFolder()) return 0;
  const std::size_t n = FunctionFiles(plat::pathWithoutTrailingSeparator(file->m_strPath)).size();
  return static_cast<std::int32_t>(std::min<std::size_t>(n, INT32_MAX));
}

bool CMassLynx::Read(std::string_view path, CSpcData* data, std::int32_t index, std::int32_t kind,
                     SpcFailure* why) const {
  auto fail = [&](SpcFailure failure) {
    if (why) *why = std::move(failure);
    return false;
  };
  const std::string_view folder = plat::pathWithoutTrailingSeparator(path);
  const std::vector<std::string> functions = FunctionFiles(folder);
  if (index < 0 || static_cast<std::size_t>(index) >= functions.size())
    return fail(SpcFailure::At("no function file " + std::to_string(index)));
  const std::string& name = functions[static_cast<std::size_t>(index)];
  const std::string datPath = plat::joinPath(folder, name);
  const std::string idxName = std::string(plat::pathTitle(name)) + ".IDX";
  const std::string idxPath = plat::findNoCase(folder, idxName);
  // A function without both of its files has nothing to show: that is a failed read.
  if (!plat::isRegularFile(datPath)) return fail(SpcFailure::At("no data file", -1, name));
  if (idxPath.empty() || !plat::isRegularFile(idxPath)) return fail(SpcFailure::At("no index file", -1, idxName));
  COrvFile datFile(datPath);
  COrvFile idxFile(idxPath);
  const std::string_view dat = datFile.Bytes();
  plat::ByteCursor idx(idxFile.Bytes());
  std::size_t count = idx.remaining() / kIndexRecordSize;

  if (kind == kSpcKindTic) {
    count = std::min<std::size_t>(count, CSpcData::kMaxPoints);
    std::vector<CSpcPoint>& points = data->spectrum();
    points.reserve(count);
    IndexRecord rec{};
    for (std::size_t i = 0; i < count; ++i) {
      rec = ReadRecord(idx);
      if (i == 0) AppendFloat(data, "FIRSTX", rec.minutes * 60.0f);
      points.push_back({static_cast<float>(rec.ionCurrent), 0.0f});
    }
    if (count > 0) AppendFloat(data, "LASTX", rec.minutes * 60.0f);
  } else if (kind == kSpcKindMass) {
    // Records may all point at the same items, so the total of peaks is capped, not the file.
    count = std::min<std::size_t>(count, CSpcData::kMaxElements);
    std::size_t budget = CSpcData::kMaxPoints;
    data->scans.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const IndexRecord rec = ReadRecord(idx);
      CMassScan& scan = data->scans.emplace_back();
      ReadPeaks(dat, rec, budget, &scan.peaks);
      budget -= scan.peaks.size();
      scan.fIonCurrent = static_cast<float>(rec.ionCurrent);
    }
  } else {
    return false;
  }
  data->strName = GetPathFileName(folder);
  data->nDomain = 1;
  return true;
}

std::unique_ptr<CSpcConvert> CreateMassConvertMassLynx(std::uint32_t index) {
  return std::make_unique<CMassConvertMassLynx>(index);
}
std::unique_ptr<CSpcConvert> CreateTicConvertMassLynx(std::uint32_t index) {
  return std::make_unique<CTicConvertMassLynx>(index);
}
