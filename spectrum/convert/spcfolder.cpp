#include "spectrum/convert/spcfolder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

#include "foundation/profdesc.h"
#include "platform/base/bytecursor.h"
#include "platform/base/bytes.h"
#include "platform/base/directory.h"
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
// The key a save keeps in the section while it switches point files (see "Saving" below).
constexpr const char* kSavingKey = "SAVING";
constexpr const char* kPointBases[] = {"fid", "spectrum"};
// Value names longer than this are skipped rather than read.
constexpr unsigned kMaxNameChars = 1u << 16;

String8 ParametersPath(std::string_view folder) { return plat::joinPath(folder, kParametersFile); }

String8 NumberedName(std::string_view base, std::int32_t number) {
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
  if (n > kSpcFolderMaxNumber) return false;  // no spectrum of ours: the section is skipped
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

bool RemoveIfPresent(const String8& path) { return plat::removeFile(path) || !plat::fileInfo(path).exists; }

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

// A point or scan count: a whole number from 0 up that a 32-bit integer holds. A missing or
// empty value counts as 0.
bool CountValue(const CVariant& value, std::int64_t* n) {
  *n = 0;
  switch (value.GetType()) {
    case plat::ole::VT_EMPTY: return true;
    case plat::ole::VT_BSTR: return value.GetString().empty();
    case plat::ole::VT_I2:
    case plat::ole::VT_I4: *n = value.GetLong(); return *n >= 0;
    case plat::ole::VT_R4:
    case plat::ole::VT_R8: {
      const double d = value.GetDouble();
      if (!(d >= 0.0 && d <= std::numeric_limits<std::int32_t>::max()) || d != std::trunc(d)) return false;
      *n = static_cast<std::int64_t>(d);
      return true;
    }
    default: return false;
  }
}

// Every value of the open section, in file order, as parameters, but the save's own key, whose
// text goes to *saving.
void ReadSectionParams(COrvProfDesc& desc, CSpcParamList* out, String8* saving) {
  String16 name;
  int type = 0;
  bool tooLong = false;
  for (int i = 0; EnumValueName(desc, i, &name, &type, &tooLong); ++i) {
    if (tooLong) continue;
    if (plat::equalsNoCase(name, plat::toUtf16(kSavingKey))) {
      if (saving->empty()) *saving = ValueText(desc, name);
      continue;
    }
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

// Removes every value of the open section.
void ClearSection(COrvProfDesc& desc) {
  String16 name;
  int type = 0;
  bool tooLong = false;
  while (EnumValueName(desc, 0, &name, &type, &tooLong) && !tooLong)
    if (OrvDeleteProfValue(name.c_str(), &desc) != PROF_OK) return;
}

// Removes the sections of number n of the other kinds, so the number names one spectrum only. A
// section with subsections (not ours) cannot be removed whole: its values are removed instead.
void RemoveOtherSections(std::string_view folder, std::int32_t number, const SpcFolderKind& kept) {
  for (const SpcFolderKind& kind : kFolderKinds) {
    if (&kind == &kept) continue;
    FolderSection section(folder, SectionName(kind, number));
    if (OrvDeleteProfSection(&section.desc()) == PROF_HAS_SUBSECTIONS && section.desc().Open(PROF_MODE_ALL) == PROF_OK)
      ClearSection(section.desc());
  }
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

// ---- Saving over a stored spectrum ----
//
// A save leaves spectrum n either old or new, whole, wherever it stops. The new point files are
// written under names of their own (".fid.3.<token>.saving"); one replace of the parameters file
// then switches to the new section, whose key "SAVING" gives the token and the point files
// written under it ("<token> fid spectrum"). A reader takes a listed file under its temporary
// name while it is there and under its own name once renamed, and takes no file that the key
// does not list. After the switch the files the old spectrum used go, the new ones are renamed
// to their own names, and the key is dropped.

// What a section's "SAVING" key says.
struct PendingSave {
  String8 token;               // empty when the section has no such key
  std::vector<String8> bases;  // the point files written under the token
  bool Lists(std::string_view base) const { return std::find(bases.begin(), bases.end(), base) != bases.end(); }
};

String8 PendingName(std::string_view base, std::int32_t number, std::string_view token) {
  return "." + NumberedName(base, number) + "." + String8(token) + ".saving";
}

String8 PendingSaveText(const PendingSave& save) {
  String8 text = save.token;
  for (const String8& base : save.bases) text += " " + base;
  return text;
}

// "<token> fid spectrum": the token and point file names each once; false for anything else.
bool ParsePendingSave(std::string_view text, PendingSave* out) {
  *out = PendingSave();
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find(' ', pos), text.size());
    const std::string_view word = text.substr(pos, end - pos);
    pos = end + 1;
    if (out->token.empty()) {
      if (!plat::isUniqueToken(word)) return false;
      out->token = String8(word);
      continue;
    }
    const bool known = std::any_of(std::begin(kPointBases), std::end(kPointBases),
                                   [&](const char* base) { return word == base; });
    if (!known || out->Lists(word)) return false;
    out->bases.push_back(String8(word));
  }
  return !out->token.empty();
}

// The file holding the points of base: the temporary one while the key lists it and it is there,
// else the file of its own name; empty when the key says the spectrum has no such file.
String8 PointFilePath(const String8& folder, std::string_view base, std::int32_t number, const PendingSave& save) {
  if (save.token.empty()) return plat::joinPath(folder, NumberedName(base, number));
  if (!save.Lists(base)) return {};
  const String8 pending = plat::joinPath(folder, PendingName(base, number, save.token));
  return plat::fileExists(pending) ? pending : plat::joinPath(folder, NumberedName(base, number));
}

// The key of the section of spectrum number of kind; empty when there is none (or it is no key of ours).
PendingSave SectionPendingSave(std::string_view folder, const SpcFolderKind& kind, std::int32_t number) {
  PendingSave save;
  FolderSection section(folder, SectionName(kind, number));
  if (section.desc().Open(PROF_MODE_OPEN) == PROF_OK) {
    if (!ParsePendingSave(ValueText(section.desc(), plat::toUtf16(kSavingKey)), &save)) save = PendingSave();
  }
  return save;
}

// The temporary point files that sections of the folder still name.
std::vector<String8> NamedPendingFiles(std::string_view folder) {
  std::vector<String8> names;
  for (const SpcFolderEntry& e : SpcFolderList(folder)) {
    const PendingSave save = SectionPendingSave(folder, *SpcFolderKindOf(e.kindId), e.number);
    for (const String8& base : save.bases) names.push_back(PendingName(base, e.number, save.token));
  }
  return names;
}

// Where a test stops a save.
SpcFolderSaveStep g_saveStep = nullptr;
void SaveStep(const char* step) {
  if (g_saveStep) g_saveStep(step);
}

// The token of a temporary point file of a save, ".fid.3.<token>.saving"; of saves before they
// were keyed, ".fid.3.saving" (no token: only its age tells it stale) and its own temporaries
// ".fid.3.saving.tmp<token>". None for any other name.
std::optional<String8> TemporaryPointToken(std::string_view name) {
  if (!name.starts_with('.')) return std::nullopt;
  name.remove_prefix(1);
  const auto base = std::find_if(std::begin(kPointBases), std::end(kPointBases),
                                 [&](const char* b) { return name.starts_with(String8(b) + "."); });
  if (base == std::end(kPointBases)) return std::nullopt;
  name.remove_prefix(std::strlen(*base) + 1);
  const std::size_t digits = std::min(name.find_first_not_of("0123456789"), name.size());
  if (digits == 0 || digits > 10 || digits == name.size() || name[digits] != '.') return std::nullopt;
  name.remove_prefix(digits + 1);
  if (name == "saving") return String8();
  if (name.starts_with("saving.tmp") && plat::isUniqueToken(name.substr(10))) return String8(name.substr(10));
  if (name.ends_with(".saving") && plat::isUniqueToken(name.substr(0, name.size() - 7)))
    return String8(name.substr(0, name.size() - 7));
  return std::nullopt;
}

// The end of a save after its switch: the new point files take their own names, the old
// spectrum's files of bases the new one does not hold go, and the key goes while it is still
// this save's (another program may have saved since). A file renamed before (by a save that was
// stopped after it) counts as renamed.
void FinishSave(const String8& dir, const SpcFolderKind& kind, std::int32_t number, const PendingSave& save) {
  bool renamed = true;
  for (const char* base : kPointBases) {
    const String8 own = plat::joinPath(dir, NumberedName(base, number));
    if (save.Lists(base)) {
      const String8 pending = plat::joinPath(dir, PendingName(base, number, save.token));
      if (plat::fileExists(pending)) renamed = plat::renameFile(pending, own) && renamed;
      else renamed = plat::fileExists(own) && renamed;
      SaveStep("point file renamed");
    } else if (plat::fileExists(own)) {
      renamed = RemoveIfPresent(own) && renamed;
      SaveStep("old point file removed");
    }
  }
  FolderSection section(dir, SectionName(kind, number));
  const String16 key = plat::toUtf16(kSavingKey);
  if (renamed && section.desc().Open(PROF_MODE_ALL) == PROF_OK && ValueText(section.desc(), key) == PendingSaveText(save))
    (void)OrvDeleteProfValue(key.c_str(), &section.desc());
}

// Saves that were stopped after their switch (their maker is gone) are finished, then what
// stopped saves left in the folder that no section names goes: temporary point files and the
// parameters file's own temporaries.
void RemoveStaleTemporaries(std::string_view folder) {
  const String8 dir(folder);
  const std::int64_t parametersWritten = plat::fileInfo(ParametersPath(dir)).lastWrite;
  for (const SpcFolderEntry& e : SpcFolderList(dir)) {
    const SpcFolderKind& kind = *SpcFolderKindOf(e.kindId);
    const PendingSave save = SectionPendingSave(dir, kind, e.number);
    if (!save.token.empty() && plat::isStaleTemporary(save.token, parametersWritten))
      FinishSave(dir, kind, e.number, save);
  }
  std::optional<std::vector<String8>> named;
  plat::removeStaleFiles(dir, ".*.saving*", [&](std::string_view name) -> std::optional<String8> {
    std::optional<String8> token = TemporaryPointToken(name);
    if (!token) return std::nullopt;
    if (!named) named = NamedPendingFiles(dir);
    if (std::find(named->begin(), named->end(), name) != named->end()) return std::nullopt;
    return token;
  });
  plat::removeStaleTemporaries(ParametersPath(dir));
}

// Does the parameters file on disk hold text (written as 8-bit or as UTF-16 text).
bool ParametersHold(std::string_view folder, std::string_view text) {
  String8 bytes;
  if (plat::readFile(ParametersPath(folder), &bytes) != plat::FileStatus::Ok) return false;
  return bytes.find(text) != String8::npos || bytes.find(plat::toUtf16Le(plat::toUtf16(text))) != String8::npos;
}

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
  const String8 dir(folder);
  RemoveStaleTemporaries(dir);

  CSpcParamList params;
  String8 savingText;
  {
    FolderSection section(folder, SectionName(m_kind, number));
    if (section.desc().Open(PROF_MODE_OPEN) != PROF_OK)
      return fail(SpcFailure::At("no section " + plat::toUtf8(SectionName(m_kind, number).relative().text()), -1,
                                 kParametersFile));
    ReadSectionParams(section.desc(), &params, &savingText);
  }
  PendingSave saving;
  if (!savingText.empty() && !ParsePendingSave(savingText, &saving))
    return fail(SpcFailure::At(String8(kSavingKey) + " names no point files: " + savingText, -1, kParametersFile));

  // Counts come from the record's parameters, the ones read now included; the first entry of a
  // name counts. A missing count is 0; one that is no whole number from 0 up fails the read.
  auto count = [&](const char* name, std::int64_t* n) {
    const CVariant value = data->params.HasParam(name) ? data->params.GetValue(name) : params.GetValue(name);
    if (CountValue(value, n)) return true;
    return fail(SpcFailure::At(String8(name) + " is no count: " + value.GetString(), -1, kParametersFile));
  };
  const String8 fidPath = PointFilePath(dir, "fid", number, saving);
  const String8 specPath = PointFilePath(dir, "spectrum", number, saving);

  std::vector<CSpcPoint> fid, spectrum;
  std::vector<CMassScan> scans;
  bool haveFid = false, haveSpectrum = false, haveScans = false;
  // A damaged point file is left unread and reported; the spectrum fails only when none of the
  // point files it names could be read.
  std::optional<SpcFailure> damage;
  auto take = [&](auto read, bool* have) {
    SpcFailure failure;
    const FileResult r = read(&failure);
    *have = r == FileResult::Ok;
    if (r == FileResult::Damaged && !damage) damage = std::move(failure);
  };
  switch (m_kind.points) {
    case SpcFolderPoints::Complex: {
      std::int64_t td = 0, nSpec = 0;
      if (!count("TD", &td) || !count("SI", &nSpec)) return false;
      const std::int64_t nFid = td / 2;
      if (nFid != 0)
        take([&](SpcFailure* f) { return ReadComplexFile(fidPath, nFid, m_kind.allRows, &fid, f); }, &haveFid);
      if (nSpec != 0)
        take([&](SpcFailure* f) { return ReadComplexFile(specPath, nSpec, m_kind.allRows, &spectrum, f); },
             &haveSpectrum);
      break;
    }
    case SpcFolderPoints::Real: {
      const char* name = m_kind.kindId == kSpcKindIr || m_kind.kindId == kSpcKindUv ? "NPOINTS" : "SI";
      std::int64_t n = 0;
      if (!count(name, &n)) return false;
      if (n != 0) take([&](SpcFailure* f) { return ReadRealFile(specPath, n, &spectrum, f); }, &haveSpectrum);
      break;
    }
    case SpcFolderPoints::Scans: {
      std::int64_t n = 0;
      if (!count("ScansNumber", &n)) return false;
      if (n != 0) take([&](SpcFailure* f) { return ReadScanFile(specPath, n, &scans, f); }, &haveScans);
      break;
    }
  }
  if (damage && !haveFid && !haveSpectrum && !haveScans) return fail(std::move(*damage));

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
  // Read, but not whole: the caller tells the user which file was left unread.
  if (damage && why) *why = std::move(*damage);
  return true;
}

bool CSpcFolderCodec::WriteProfFloat(const char16_t* name, float value, const char* format, COrvProfDesc& desc) {
  // Only "%f" is asked for; number text never depends on the locale.
  const String8 text = std::strcmp(format, "%f") == 0 ? plat::formatDouble(static_cast<double>(value), 'f', 6)
                                                      : plat::formatDouble(static_cast<double>(value));
  const String8 bytes = plat::toUtf16Le(plat::toUtf16(text));
  return OrvSetProfValue(name, bytes.data(), static_cast<unsigned>(bytes.size()), PROF_TYPE_NONE, &desc) == PROF_OK;
}

void SpcFolderSetSaveStepHook(SpcFolderSaveStep hook) { g_saveStep = hook; }

bool CSpcFolderCodec::Write(std::string_view folder, CSpcProcess* process, std::int32_t number) const {
  if (!process || !process->m_pData || number < 0 || number > kSpcFolderMaxNumber) return false;
  const CSpcData& record = *process->m_pData;
  const String8 dir(folder);
  if (!plat::isDirectory(dir)) (void)plat::makeDirectory(dir);  // a failure shows below
  RemoveStaleTemporaries(dir);

  // The new point files, under names of their own: spectrum n stays as it was until the switch.
  struct NewFile {
    const char* base;
    String8 bytes;
  };
  std::vector<NewFile> files;
  std::size_t realCount = 0;
  switch (m_kind.points) {
    case SpcFolderPoints::Complex:
      if (!record.data[0].empty()) files.push_back({"fid", ComplexBytes(record.data[0])});
      if (!record.data[1].empty()) files.push_back({"spectrum", ComplexBytes(record.data[1])});
      break;
    case SpcFolderPoints::Real:
      realCount = RealPointCount(*process);
      if (realCount != 0) files.push_back({"spectrum", RealBytes(record.data[1], realCount)});
      break;
    case SpcFolderPoints::Scans:
      if (!record.scans.empty()) {
        String8 bytes;
        if (!ScanBytes(record.scans, &bytes)) return false;
        files.push_back({"spectrum", std::move(bytes)});
      }
      break;
  }
  PendingSave save;
  save.token = plat::uniqueToken();
  auto pendingPath = [&](std::string_view base) { return plat::joinPath(dir, PendingName(base, number, save.token)); };
  auto dropNewFiles = [&] {
    for (const String8& base : save.bases) RemoveIfPresent(pendingPath(base));
  };
  for (const NewFile& f : files) {
    if (!plat::writeNewFile(pendingPath(f.base), f.bytes)) {
      dropNewFiles();
      return false;
    }
    save.bases.push_back(f.base);
    SaveStep("point file written");
  }

  // What the spectrum stored under n now still names under a temporary name goes after the switch.
  std::vector<String8> oldPending;
  for (const SpcFolderEntry& e : SpcFolderList(dir)) {
    if (e.number != number) continue;
    const PendingSave old = SectionPendingSave(dir, *SpcFolderKindOf(e.kindId), number);
    for (const String8& base : old.bases) oldPending.push_back(PendingName(base, number, old.token));
  }

  // The switch: spectrum n's sections (of any kind) give way to the new one in one save of the
  // parameters file.
  if (!WriteSection(dir, process, number, realCount, PendingSaveText(save))) {
    dropNewFiles();
    return false;
  }
  // The profile store writes the file back once no section of it is open, unless its cache mode
  // keeps it longer: until the switch is on disk the old spectrum must stay as it is, and this
  // save is finished by the store's write.
  if (!ParametersHold(dir, save.token)) return true;
  SaveStep("parameters switched");

  // The files of the old spectrum go, the new ones take their own names, the key goes.
  for (const String8& name : oldPending) {
    RemoveIfPresent(plat::joinPath(dir, name));
    SaveStep("old point file removed");
  }
  FinishSave(dir, m_kind, number, save);
  SaveStep("saved");
  return true;
}

bool CSpcFolderCodec::WriteSection(const String8& dir, CSpcProcess* process, std::int32_t number,
                                   std::size_t realCount, std::string_view saving) const {
  const CSpcData& record = *process->m_pData;
  // The file's root section stays open from the first change to the last, so the store writes
  // the file back once, when it closes.
  FolderSection whole(dir, plat::SectionPath(u"\\"));
  if (whole.desc().Open(PROF_MODE_ALL) != PROF_OK) return false;
  {
    FolderSection section(dir, SectionName(m_kind, number));
    COrvProfDesc& desc = section.desc();
    if (desc.Open(PROF_MODE_ALL) != PROF_OK) return false;
    // From here on nothing fails before the file is written: the spectrum stored under the
    // number goes (its section keeps its place in the file) and the new one is written.
    ClearSection(desc);
    RemoveOtherSections(dir, number, m_kind);
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
    fixed.push_back(kSavingKey);
    // The processing state's keys win over parameters of the same name; a name holding "\"
    // would name another section and is left out.
    for (const CSpcParam& p : record.params) {
      const bool isFixed = std::any_of(fixed.begin(), fixed.end(),
                                       [&](const char* f) { return plat::equalsNoCase(p.name, std::string_view(f)); });
      if (isFixed || !plat::SectionPath(plat::toUtf16(p.name)).isSingleName()) continue;
      out.Text(p.name, StoredText(p.value));
    }
    out.Text(kSavingKey, saving);
    if (desc.Close() != PROF_OK) return false;
  }
  return whole.desc().Close() == PROF_OK;
}
