#include "spectrum/convert/spcfolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "foundation/profdesc.h"
#include "platform/base/bytecursor.h"
#include "platform/base/bytes.h"
#include "platform/base/file.h"
#include "platform/base/mappedfile.h"
#include "platform/base/numtext.h"
#include "platform/base/path.h"
#include "platform/base/sectionpath.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "spectrum/data/spcprocess.h"

namespace {

using plat::String16;
using plat::String8;

constexpr SpcFolderKind kFolderKinds[] = {
    {kSpcKindNmr, "\\CONTROL_NMR", SpcFolderPoints::Complex, false},
    {kSpcKindMass, "\\CONTROL_MASS", SpcFolderPoints::Scans, false},
    {kSpcKindIr, "\\CONTROL_IR", SpcFolderPoints::Real, false},
    {kSpcKindUv, "\\CONTROL_UV", SpcFolderPoints::Real, false},
    {kSpcKindCh, "\\CONTROL_CH", SpcFolderPoints::Real, false},
    {kSpcKindTic, "\\CONTROL_TIC", SpcFolderPoints::Real, false},
    {kSpcKindNmr2d, "\\CONTROL_NMR2D", SpcFolderPoints::Complex, true},
};

constexpr const char* kParametersFile = "parameters";
// Value names longer than this are skipped rather than read.
constexpr unsigned kMaxNameChars = 1u << 16;

String8 ParametersPath(std::string_view folder) { return plat::joinPath(folder, kParametersFile); }

String8 NumberedName(const char* base, std::int32_t number) {
  return String8(base) + "." + plat::formatInt(number);
}

// The section of spectrum number of the kind ("\CONTROL_NMR_3"): the prefix's last name with
// "_" and the number appended.
plat::SectionPath SectionName(const SpcFolderKind& kind, std::int32_t number) {
  return plat::SectionPath(plat::toUtf16(String8(kind.sectionPrefix) + "_" + plat::formatInt(number)));
}

// ---- The section headers of a parameters file ----

// "CONTROL_<KIND>_<n>" (any case), a section right below the file's root, gives the kind row and n.
bool ParseSectionName(std::string_view name, const SpcFolderKind** kind, std::int32_t* number) {
  const std::size_t underscore = name.rfind('_');
  if (underscore == std::string_view::npos) return false;
  const std::string_view digits = name.substr(underscore + 1);
  if (digits.empty() || digits.size() > 10) return false;
  std::int64_t n = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n > std::numeric_limits<std::int32_t>::max()) return false;
  const std::string_view head = name.substr(0, underscore);
  for (const SpcFolderKind& k : kFolderKinds) {
    if (plat::equalsNoCase(plat::toUtf16(head), plat::SectionPath(plat::toUtf16(k.sectionPrefix)).relative().text())) {
      *kind = &k;
      *number = static_cast<std::int32_t>(n);
      return true;
    }
  }
  return false;
}

// ---- Point files ----

enum class FileResult { Ok, Missing, Damaged };

// A point file to read: missing when no regular file is there (the format then skips it),
// else its bytes.
struct PointFile {
  explicit PointFile(const String8& path) : present(plat::fileInfo(path).isRegular), bytes(path) {}
  bool present;
  plat::MappedFile bytes;
};

FileResult Damaged(SpcFailure* why, SpcFailure failure) {
  if (why) *why = std::move(failure);
  return FileResult::Damaged;
}

// count complex points (the whole file when allRows, which must hold at least count); padded
// with zero points to a power of two unless allRows.
FileResult ReadComplexFile(const String8& path, std::int64_t count, bool allRows, std::vector<CSpcPoint>* out,
                           SpcFailure* why) {
  const PointFile file(path);
  if (!file.present) return FileResult::Missing;
  const String8 name(plat::pathFileName(path));
  std::uint64_t n = static_cast<std::uint64_t>(count);
  if (allRows) {
    if (file.bytes.size() % sizeof(CSpcPoint) != 0)
      return Damaged(why, SpcFailure::At("size is no whole number of points", -1, name));
    n = file.bytes.size() / sizeof(CSpcPoint);
    if (n < static_cast<std::uint64_t>(count))
      return Damaged(why, SpcFailure::At("fewer points than the section's count", -1, name));
  }
  if (n > CSpcData::kMaxPoints) return Damaged(why, SpcFailure::At("more points than a record holds", -1, name));
  plat::ByteCursor c(file.bytes.bytes());
  plat::ByteCursor points = c.sub(n * sizeof(CSpcPoint));
  if (!c) return Damaged(why, SpcFailure::CutShort("points", c, name));
  const auto m = static_cast<std::uint32_t>(n);
  out->assign(allRows ? m : CSpcProcess::NextPow2(m), CSpcPoint{});
  for (std::uint32_t i = 0; i < m; ++i) {
    (*out)[i].re = points.f32le();
    (*out)[i].im = points.f32le();
  }
  return FileResult::Ok;
}

// count float32 values as the real parts of count points.
FileResult ReadRealFile(const String8& path, std::int64_t count, std::vector<CSpcPoint>* out, SpcFailure* why) {
  const PointFile file(path);
  if (!file.present) return FileResult::Missing;
  const String8 name(plat::pathFileName(path));
  const auto n = static_cast<std::uint64_t>(count);
  if (n > CSpcData::kMaxPoints) return Damaged(why, SpcFailure::At("more points than a record holds", -1, name));
  plat::ByteCursor c(file.bytes.bytes());
  plat::ByteCursor values = c.sub(n * 4);
  if (!c) return Damaged(why, SpcFailure::CutShort("values", c, name));
  out->assign(n, CSpcPoint{});
  for (CSpcPoint& p : *out) p.re = values.f32le();
  return FileResult::Ok;
}

// Scan records: peak count, ion current, spare word, time, label length, UTF-16 label, peaks.
constexpr std::size_t kScanHeaderBytes = 20;

FileResult ReadScanFile(const String8& path, std::int64_t count, std::vector<CMassScan>* out, SpcFailure* why) {
  const PointFile file(path);
  if (!file.present) return FileResult::Missing;
  const String8 name(plat::pathFileName(path));
  plat::ByteCursor c(file.bytes.bytes());
  // Every record takes its header at least: a count beyond that is no count of this file.
  if (static_cast<std::uint64_t>(count) > c.remaining() / kScanHeaderBytes)
    return Damaged(why, SpcFailure::At("more scans than the file could hold", -1, name));
  out->clear();
  out->reserve(static_cast<std::size_t>(count));
  for (std::int64_t s = 0; s < count; ++s) {
    const std::size_t start = c.offset();
    const std::int32_t peaks = c.i32le();
    CMassScan scan;
    scan.fIonCurrent = c.f32le();
    scan.dwExtra = c.u32le();
    scan.fTime = c.f32le();
    const std::int32_t labelLength = c.i32le();
    if (!c) return Damaged(why, SpcFailure::CutShort("scan record", c, name));
    if (peaks < 0 || labelLength < 0)
      return Damaged(why,
                     SpcFailure::At("negative peak count or label length", static_cast<std::int64_t>(start), name));
    plat::ByteCursor label = c.sub(std::uint64_t(labelLength) * 2);
    plat::ByteCursor peakBytes = c.sub(std::uint64_t(peaks) * 8);
    if (!c) return Damaged(why, SpcFailure::CutShort("scan record", c, name));
    scan.strLabel = plat::toUtf8(plat::fromUtf16Le(label.bytes(label.remaining())));
    scan.peaks.resize(static_cast<std::size_t>(peaks));
    for (CSpcPoint& p : scan.peaks) {
      p.re = peakBytes.f32le();
      p.im = peakBytes.f32le();
    }
    out->push_back(std::move(scan));
  }
  return FileResult::Ok;
}

String8 ComplexBytes(const std::vector<CSpcPoint>& points) {
  String8 out;
  out.reserve(points.size() * 8);
  for (const CSpcPoint& p : points) {
    plat::appendLeF32(out, p.re);
    plat::appendLeF32(out, p.im);
  }
  return out;
}

String8 RealBytes(const std::vector<CSpcPoint>& points, std::size_t count) {
  String8 out;
  out.reserve(count * 4);
  for (std::size_t i = 0; i < count; ++i) plat::appendLeF32(out, points[i].re);
  return out;
}

bool ScanBytes(const std::vector<CMassScan>& scans, String8* out) {
  for (const CMassScan& scan : scans) {
    const String16 label = plat::toUtf16(scan.strLabel);
    constexpr std::size_t kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    if (scan.peaks.size() > kMax || label.size() > kMax) return false;
    plat::appendLe32(*out, static_cast<std::uint32_t>(scan.peaks.size()));
    plat::appendLeF32(*out, scan.fIonCurrent);
    plat::appendLe32(*out, scan.dwExtra);
    plat::appendLeF32(*out, scan.fTime);
    plat::appendLe32(*out, static_cast<std::uint32_t>(label.size()));
    *out += plat::toUtf16Le(label);
    for (const CSpcPoint& p : scan.peaks) {
      plat::appendLeF32(*out, p.re);
      plat::appendLeF32(*out, p.im);
    }
  }
  return true;
}

bool RemoveIfPresent(const String8& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

// ---- The parameters file through the profile store ----

// A descriptor of one spectrum section of a folder's parameters file.
class FolderSection {
 public:
  FolderSection(std::string_view folder, const plat::SectionPath& section)
      : m_desc(plat::toUtf16(ParametersPath(folder)).c_str(), section.c_str()) {
    m_desc.SetIni(true);
  }
  COrvProfDesc& desc() { return m_desc; }

 private:
  COrvProfDesc m_desc;
};

// The index-th name that enumerate(index, buffer, size) gives, in a buffer grown as it needs;
// false past the last. A name longer than the longest this format reads is reported as too long.
template <class Enumerate>
bool EnumName(int index, String16* name, bool* tooLong, Enumerate enumerate) {
  std::vector<char16_t> buffer(260);
  *tooLong = false;
  for (;;) {
    const int rc = enumerate(index, buffer.data(), static_cast<unsigned>(buffer.size()));
    if (rc == PROF_OK) {
      *name = String16(buffer.data());
      return true;
    }
    if (rc != PROF_MORE_DATA) return false;
    if (buffer.size() >= kMaxNameChars) {
      *tooLong = true;
      return true;
    }
    buffer.resize(buffer.size() * 4);
  }
}

// The index-th value name of the open section and its type; false past the last.
bool EnumValueName(COrvProfDesc& desc, int index, String16* name, int* type, bool* tooLong) {
  return EnumName(index, name, tooLong, [&](int i, char16_t* buffer, unsigned cch) {
    return OrvEnumProfValue(i, buffer, cch, type, &desc);
  });
}

// The index-th subsection name of the open section; false past the last.
bool EnumSectionName(COrvProfDesc& desc, int index, String16* name, bool* tooLong) {
  return EnumName(index, name, tooLong, [&](int i, char16_t* buffer, unsigned cch) {
    return OrvEnumProfSection(i, buffer, cch, &desc);
  });
}

// The value's text whatever type word it was written with.
String8 ValueText(COrvProfDesc& desc, const String16& name) {
  unsigned length = 0;
  int type = PROF_TYPE_NONE;
  if (OrvGetProfValue(name.c_str(), nullptr, &length, &type, &desc) != PROF_OK) return "";
  std::vector<unsigned char> bytes(length);
  if (length && OrvGetProfValue(name.c_str(), bytes.data(), &length, &type, &desc) != PROF_OK) return "";
  bytes.resize(std::min<std::size_t>(bytes.size(), length));
  if (type == PROF_TYPE_DWORD && bytes.size() == 4) return plat::formatInt(plat::ByteCursor(bytes.data(), 4).i32le());
  if (type == PROF_TYPE_BINARY) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    String8 text;
    for (const unsigned char b : bytes) {
      text += kHex[b >> 4];
      text += kHex[b & 15];
      text += ' ';
    }
    return text;
  }
  const String16 text = plat::fromUtf16Le(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return plat::toUtf8(std::u16string_view(text).substr(0, text.find(u'\0')));
}

// Range value text "(lo..hi) e1 e2 ...": the elements as floats, lower bound 0. Elements that
// cannot be parsed stay 0.
bool ParseRangeText(std::string_view text, std::vector<float>* values) {
  std::size_t i = 0;
  if (text.empty() || text[0] != '(') return false;
  while (i < text.size() && text[i] == '(') ++i;
  std::int64_t lo = 0, hi = 0;
  const std::size_t loLength = plat::parseIntPrefix(text.substr(i), &lo);
  if (loLength == 0) return false;
  i += loLength;
  if (lo < std::numeric_limits<std::int32_t>::min() || lo > std::numeric_limits<std::int32_t>::max()) return false;
  if (text.size() - i < 2 || text[i] != '.' || text[i + 1] != '.') return false;
  i += 2;
  const std::size_t hiLength = plat::parseIntPrefix(text.substr(i), &hi);
  if (hiLength == 0 || hi < std::numeric_limits<std::int32_t>::min() || hi > std::numeric_limits<std::int32_t>::max())
    return false;
  i += hiLength;
  if (i >= text.size() || text[i] != ')') return false;
  // Each element takes at least a blank and a digit, so a count beyond the text's length is no
  // range value of ours; neither is an empty or reversed range.
  const std::int64_t count = hi - lo + 1;
  if (hi < lo || count > static_cast<std::int64_t>(text.size())) return false;

  values->assign(static_cast<std::size_t>(count), 0.0f);
  std::size_t pos = text.find(')') + 1;
  for (std::int64_t n = 0; n < count && pos < text.size(); ++n) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos >= text.size()) break;
    const char c = text[pos];
    if (!(c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9'))) break;
    double v = 0.0;
    const std::size_t used = plat::parseDoublePrefix(text.substr(pos), &v);
    if (used == 0 || !std::isfinite(static_cast<float>(v))) break;
    (*values)[static_cast<std::size_t>(n)] = static_cast<float>(v);
    pos += used;
  }
  return true;
}

CVariant ParamValue(const String8& text) {
  std::vector<float> values;
  if (ParseRangeText(text, &values)) return CVariant(values.data(), static_cast<std::int32_t>(values.size()));
  CVariant value;
  value.SetString(text);
  value.ParseText();
  return value;
}

// Every value of the open section, in file order, as parameters.
void ReadSectionParams(COrvProfDesc& desc, CSpcParamList* out) {
  String16 name;
  int type = 0;
  bool tooLong = false;
  for (int i = 0; EnumValueName(desc, i, &name, &type, &tooLong); ++i) {
    if (tooLong) continue;
    CSpcParam param;
    param.name = plat::toUtf8(name);
    param.value = ParamValue(ValueText(desc, name));
    out->Append(std::move(param));
  }
}

// The text a parameter value is stored as: scalars as their text, arrays as range value text.
String8 StoredText(const CVariant& value) {
  if (!value.IsArray()) return value.GetString();
  const std::int32_t lo = value.GetLBound();
  const std::int32_t hi = value.GetUBound();
  String8 text = "(" + plat::formatInt(lo) + ".." + plat::formatInt(hi) + ")";
  for (std::int32_t i = lo; i <= hi; ++i) text += " " + value.GetItem(i).GetValue().GetString();
  return text;
}

// Stores text under name as an untyped value: the line carries no type word, whatever the
// store's process-wide switch says. The result is not examined: a value the store refuses (a name
// or text it cannot hold) is left out, as the format always did.
void StoreUntyped(COrvProfDesc& desc, std::string_view name, std::string_view text) {
  const String16 n = plat::toUtf16(name);
  const String8 bytes = plat::toUtf16Le(plat::toUtf16(text));
  (void)OrvSetProfValue(n.c_str(), bytes.data(), static_cast<unsigned>(bytes.size()), PROF_TYPE_NONE, &desc);
}

// The writer's three kinds of value, all stored as untyped text.
class SectionWriter {
 public:
  explicit SectionWriter(COrvProfDesc& desc) : m_desc(desc) {}
  void Int(const char* name, std::int32_t value) { StoreUntyped(m_desc, name, plat::formatInt(value)); }
  void Text(std::string_view name, std::string_view text) { StoreUntyped(m_desc, name, text); }
  void Float(const char* name, float value) {
    CSpcFolderCodec::WriteProfFloat(plat::toUtf16(name).c_str(), value, "%f", m_desc);
  }

 private:
  COrvProfDesc& m_desc;
};

// Removes the section of number n of every kind, so the number names one spectrum only. A
// section with subsections (not ours) cannot be removed whole: its values are removed instead.
bool RemoveSpectrumSections(std::string_view folder, std::int32_t number) {
  if (!plat::isRegularFile(ParametersPath(folder))) return true;
  for (const SpcFolderKind& kind : kFolderKinds) {
    FolderSection section(folder, SectionName(kind, number));
    const int rc = OrvDeleteProfSection(&section.desc());
    if (rc == PROF_OK || rc == PROF_NO_SECTION) continue;
    if (rc != PROF_HAS_SUBSECTIONS || section.desc().Open(PROF_MODE_ALL) != PROF_OK) return false;
    String16 name;
    int type = 0;
    bool tooLong = false;
    while (EnumValueName(section.desc(), 0, &name, &type, &tooLong) && !tooLong)
      if (OrvDeleteProfValue(name.c_str(), &section.desc()) != PROF_OK) return false;
    section.desc().Close();
  }
  return true;
}

std::int32_t ClampToInt32(std::size_t n) {
  return static_cast<std::int32_t>(std::min<std::size_t>(n, std::numeric_limits<std::int32_t>::max()));
}

// The point count of a real-valued spectrum to write: SI, within the points there are (all of
// them when SI says nothing).
std::size_t RealPointCount(const CSpcProcess& process) {
  const std::size_t size = process.m_pData->data[1].size();
  if (process.m_nSI <= 0) return size;
  return std::min<std::size_t>(size, static_cast<std::size_t>(process.m_nSI));
}

struct PendingFile {
  String8 finalPath;
  String8 tempPath;
  String8 bytes;
};

}  // namespace

// ---- Folder listing ----

const SpcFolderKind* SpcFolderKindOf(std::int32_t kindId) {
  for (const SpcFolderKind& k : kFolderKinds)
    if (k.kindId == kindId) return &k;
  return nullptr;
}

std::vector<SpcFolderEntry> SpcFolderList(std::string_view folder) {
  std::vector<SpcFolderEntry> entries;
  // Opening a missing INI file would create it: look first.
  if (!plat::isDirectory(String8(folder)) || !plat::isRegularFile(ParametersPath(folder))) return entries;
  // The sections right below the file's root, as the profile store reads them.
  FolderSection root(folder, plat::SectionPath(u"\\"));
  if (root.desc().Open(PROF_MODE_OPEN) != PROF_OK) return entries;
  String16 name;
  bool tooLong = false;
  for (int i = 0; EnumSectionName(root.desc(), i, &name, &tooLong); ++i) {
    const SpcFolderKind* kind = nullptr;
    std::int32_t number = 0;
    if (!tooLong && ParseSectionName(plat::toUtf8(name), &kind, &number)) entries.push_back({number, kind->kindId});
  }
  root.desc().Close();
  std::sort(entries.begin(), entries.end(), [](const SpcFolderEntry& a, const SpcFolderEntry& b) {
    return a.number != b.number ? a.number < b.number : a.kindId < b.kindId;
  });
  entries.erase(std::unique(entries.begin(), entries.end(),
                            [](const SpcFolderEntry& a, const SpcFolderEntry& b) {
                              return a.number == b.number && a.kindId == b.kindId;
                            }),
                entries.end());
  return entries;
}

std::int32_t SpcFolderSpectrumCount(std::string_view folder) {
  const std::vector<SpcFolderEntry> entries = SpcFolderList(folder);
  if (entries.empty()) return 0;
  const std::int32_t highest = entries.back().number;
  return highest == std::numeric_limits<std::int32_t>::max() ? highest : highest + 1;
}

bool SpcFolderFindSpectrum(std::string_view folder, std::int32_t number, std::int32_t* kindId) {
  for (const SpcFolderEntry& e : SpcFolderList(folder)) {
    if (e.number == number) {
      *kindId = e.kindId;
      return true;
    }
  }
  return false;
}

bool SpcFolderReadSpectrum(std::string_view folder, std::int32_t number, CSpcData* data, SpcFailure* failure) {
  std::int32_t kindId = 0;
  if (!data) return false;
  if (!SpcFolderFindSpectrum(folder, number, &kindId)) {
    if (failure) *failure = SpcFailure::At("no section of spectrum " + plat::formatInt(number), -1, kParametersFile);
    return false;
  }
  data->Reset();
  if (!CSpcFolderCodec(*SpcFolderKindOf(kindId)).Read(folder, data, number, failure)) return false;
  data->nKind = kindId;
  return true;
}

// ---- Codec ----

bool CSpcFolderCodec::Detect(COrvFile* file) const {
  if (!file || !file->IsFolder()) return false;
  for (const SpcFolderEntry& e : SpcFolderList(file->m_strPath))
    if (e.kindId == m_kind.kindId) return true;
  return false;
}

std::int32_t CSpcFolderCodec::FirstNumber(std::string_view folder) const {
  std::int64_t first = 0;
  for (const SpcFolderEntry& e : SpcFolderList(folder))
    if (e.kindId < m_kind.kindId) first = std::max<std::int64_t>(first, std::int64_t(e.number) + 1);
  return static_cast<std::int32_t>(std::min<std::int64_t>(first, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t CSpcFolderCodec::GetSpectrumCount(COrvFile* file) const {
  if (!file || !file->IsFolder()) return 0;
  std::int64_t first = 0, end = 0;
  for (const SpcFolderEntry& e : SpcFolderList(file->m_strPath)) {
    if (e.kindId < m_kind.kindId) first = std::max<std::int64_t>(first, std::int64_t(e.number) + 1);
    if (e.kindId == m_kind.kindId) end = std::max<std::int64_t>(end, std::int64_t(e.number) + 1);
  }
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(end - first, 0, std::numeric_limits<std::int32_t>::max()));
}

bool CSpcFolderCodec::Read(std::string_view folder, CSpcData* data, std::int32_t number, SpcFailure* why) const {
  if (!data || number < 0) return false;
  auto fail = [&](SpcFailure failure) {
    if (why) *why = std::move(failure);
    return false;
  };
  // Opening a missing INI file would create it: look first.
  if (!plat::isRegularFile(ParametersPath(folder))) return fail(SpcFailure::At("no parameters file"));

  CSpcParamList params;
  {
    FolderSection section(folder, SectionName(m_kind, number));
    if (section.desc().Open(PROF_MODE_OPEN) != PROF_OK)
      return fail(SpcFailure::At("no section " + plat::toUtf8(SectionName(m_kind, number).relative().text()), -1,
                                 kParametersFile));
    ReadSectionParams(section.desc(), &params);
  }

  // Counts come from the record's parameters, the ones read now included; the first entry of a
  // name counts.
  auto count = [&](const char* name) -> std::int64_t {
    if (data->params.HasParam(name)) return data->params.GetValue(name).GetLong();
    return params.GetValue(name).GetLong();
  };
  auto negative = [&](const char* name) {
    return fail(SpcFailure::At(std::string("negative ") + name, -1, kParametersFile));
  };
  const String8 fidPath = plat::joinPath(folder, NumberedName("fid", number));
  const String8 specPath = plat::joinPath(folder, NumberedName("spectrum", number));

  std::vector<CSpcPoint> fid, spectrum;
  std::vector<CMassScan> scans;
  bool haveFid = false, haveSpectrum = false;
  auto take = [](FileResult r, bool* have) {
    *have = r == FileResult::Ok;
    return r != FileResult::Damaged;
  };
  switch (m_kind.points) {
    case SpcFolderPoints::Complex: {
      const std::int64_t nFid = count("TD") / 2;
      const std::int64_t nSpec = count("SI");
      if (nFid < 0) return negative("TD");
      if (nSpec < 0) return negative("SI");
      if (nFid != 0 && !take(ReadComplexFile(fidPath, nFid, m_kind.allRows, &fid, why), &haveFid)) return false;
      if (nSpec != 0 && !take(ReadComplexFile(specPath, nSpec, m_kind.allRows, &spectrum, why), &haveSpectrum))
        return false;
      break;
    }
    case SpcFolderPoints::Real: {
      const char* name = m_kind.kindId == kSpcKindIr || m_kind.kindId == kSpcKindUv ? "NPOINTS" : "SI";
      const std::int64_t n = count(name);
      if (n < 0) return negative(name);
      if (n != 0 && !take(ReadRealFile(specPath, n, &spectrum, why), &haveSpectrum)) return false;
      break;
    }
    case SpcFolderPoints::Scans: {
      const std::int64_t n = count("ScansNumber");
      if (n < 0) return negative("ScansNumber");
      bool haveScans = false;
      if (n != 0 && !take(ReadScanFile(specPath, n, &scans, why), &haveScans)) return false;
      break;
    }
  }

  // Everything was read: the record takes it.
  if (m_kind.points == SpcFolderPoints::Scans) {
    data->nDomain = 1;
  } else {
    data->nState = 1;
  }
  for (CSpcParam& p : params) data->params.Append(std::move(p));
  if (haveFid) {
    data->data[0].insert(data->data[0].begin(), fid.begin(), fid.end());
    data->nDomain = 0;
  }
  if (haveSpectrum) {
    data->data[1].insert(data->data[1].begin(), spectrum.begin(), spectrum.end());
    data->nDomain = 1;
  }
  for (CMassScan& s : scans) data->scans.push_back(std::move(s));
  data->strName = String8(plat::pathFileName(folder));
  return true;
}

bool CSpcFolderCodec::WriteProfFloat(const char16_t* name, float value, const char* format, COrvProfDesc& desc) {
  // Only "%f" is asked for; number text never depends on the locale.
  const String8 text = std::strcmp(format, "%f") == 0 ? plat::formatDouble(static_cast<double>(value), 'f', 6)
                                                      : plat::formatDouble(static_cast<double>(value));
  const String8 bytes = plat::toUtf16Le(plat::toUtf16(text));
  return OrvSetProfValue(name, bytes.data(), static_cast<unsigned>(bytes.size()), PROF_TYPE_NONE, &desc) == PROF_OK;
}

bool CSpcFolderCodec::Write(std::string_view folder, CSpcProcess* process, std::int32_t number) const {
  if (!process || !process->m_pData || number < 0) return false;
  const CSpcData& record = *process->m_pData;
  const String8 dir(folder);
  if (!plat::isDirectory(dir)) ::mkdir(dir.c_str(), 0777);  // one level; a failure shows below

  // The point files go to temporary names first, so a failure leaves spectrum n as it was.
  std::vector<PendingFile> files;
  auto add = [&](const char* base, String8 bytes) {
    const String8 name = NumberedName(base, number);
    files.push_back({plat::joinPath(dir, name), plat::joinPath(dir, "." + name + ".saving"), std::move(bytes)});
  };
  std::size_t realCount = 0;
  switch (m_kind.points) {
    case SpcFolderPoints::Complex:
      if (!record.data[0].empty()) add("fid", ComplexBytes(record.data[0]));
      if (!record.data[1].empty()) add("spectrum", ComplexBytes(record.data[1]));
      break;
    case SpcFolderPoints::Real:
      realCount = RealPointCount(*process);
      if (realCount != 0) add("spectrum", RealBytes(record.data[1], realCount));
      break;
    case SpcFolderPoints::Scans:
      if (!record.scans.empty()) {
        String8 bytes;
        if (!ScanBytes(record.scans, &bytes)) return false;
        add("spectrum", std::move(bytes));
      }
      break;
  }
  auto dropTemps = [&] {
    for (const PendingFile& f : files) RemoveIfPresent(f.tempPath);
  };
  for (const PendingFile& f : files) {
    if (!plat::writeFileAtomic(f.tempPath, f.bytes)) {
      dropTemps();
      return false;
    }
  }

  // Spectrum n is replaced whole: its old section (of any kind) and point files go first.
  if (!RemoveSpectrumSections(dir, number) || !RemoveIfPresent(plat::joinPath(dir, NumberedName("fid", number))) ||
      !RemoveIfPresent(plat::joinPath(dir, NumberedName("spectrum", number)))) {
    dropTemps();
    return false;
  }
  for (const PendingFile& f : files) {
    if (std::rename(f.tempPath.c_str(), f.finalPath.c_str()) != 0) {
      dropTemps();
      return false;
    }
  }

  FolderSection section(dir, SectionName(m_kind, number));
  COrvProfDesc& desc = section.desc();
  if (desc.Open(PROF_MODE_ALL) != PROF_OK) return false;
  {
    SectionWriter out(desc);
    std::vector<const char*> fixed;
    switch (m_kind.points) {
      case SpcFolderPoints::Complex: {
        // Sizes that claim more points than the point files hold would make the folder
        // unreadable; they are cut to what was written.
        std::int32_t si = std::max(process->m_nSI, 0);
        if (!record.data[1].empty()) si = std::min(si, ClampToInt32(record.data[1].size()));
        std::int32_t td = std::max(process->m_nTD, 0);
        if (!record.data[0].empty() && td / 2 > ClampToInt32(record.data[0].size()))
          td = ClampToInt32(record.data[0].size() * 2);
        out.Float("SFO1", static_cast<float>(process->m_dFreq));
        out.Float("SW", static_cast<float>(process->m_dSW));
        out.Float("PH0", process->m_fPH0);
        out.Float("PH1", process->m_fPH1);
        out.Float("OFFSET", static_cast<float>(process->PointToPpm(0)));
        out.Int("AQ_mod", process->m_nAqMode);
        out.Int("SI", si);
        out.Int("TD", td);
        out.Int("PP", process->m_nPivot);
        out.Int("VERSION", 2);
        fixed = {"SFO1", "SW", "PH0", "PH1", "OFFSET", "AQ_mod", "SI", "TD", "PP", "VERSION"};
        break;
      }
      case SpcFolderPoints::Real:
        if (m_kind.kindId == kSpcKindIr || m_kind.kindId == kSpcKindUv) {
          CVariant first, last;
          first.SetDouble(process->m_dFreq);
          last.SetDouble(process->m_dFreq + process->m_dSW);
          out.Text("FIRSTX", first.GetString());
          out.Text("LASTX", last.GetString());
          out.Int("NPOINTS", ClampToInt32(realCount));
          fixed = {"FIRSTX", "LASTX", "NPOINTS"};
        } else {
          out.Float("SF", static_cast<float>(process->m_dFreq));
          out.Float("SW", static_cast<float>(process->m_dSW));
          out.Int("SI", ClampToInt32(realCount));
          fixed = {"SF", "SW", "SI"};
        }
        break;
      case SpcFolderPoints::Scans:
        out.Int("ScansNumber", ClampToInt32(record.scans.size()));
        fixed = {"ScansNumber"};
        break;
    }
    // The processing state's keys win over parameters of the same name; a name holding "\"
    // would name another section and is left out.
    for (const CSpcParam& p : record.params) {
      const bool isFixed = std::any_of(fixed.begin(), fixed.end(),
                                       [&](const char* f) { return plat::equalsNoCase(p.name, std::string_view(f)); });
      if (isFixed || !plat::SectionPath(plat::toUtf16(p.name)).isSingleName()) continue;
      out.Text(p.name, StoredText(p.value));
    }
  }
  return desc.Close() == PROF_OK;
}
