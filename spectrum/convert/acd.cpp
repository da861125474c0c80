#include "spectrum/convert/acd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "platform/base/bytecursor.h"
#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/oleauto/oleauto.h"

namespace ole = plat::ole;

namespace {

// Every block opens with the 12-character copyright as a length-prefixed string.
constexpr char kMagicBytes[] = "\x0C\x00(C) ACD 1994";
constexpr std::string_view kMagic(kMagicBytes, 14);
constexpr std::string_view kNmrName = ".ESP.";
constexpr std::string_view kMassName = ".MASSSP.";
constexpr std::string_view kHighResName = ".HRSP.";
// The detector looks at the first line as a 260-byte line buffer holds it.
constexpr std::size_t kFirstLineMax = 259;

enum class BlockType { Nmr, Mass, HighRes, Other };

BlockType TypeOf(std::string_view name) {
  if (name.find(kMassName) != std::string_view::npos) return BlockType::Mass;
  if (name.find(kNmrName) != std::string_view::npos) return BlockType::Nmr;
  if (name.find(kHighResName) != std::string_view::npos) return BlockType::HighRes;
  return BlockType::Other;
}

std::size_t FixedHeaderSize(BlockType type) { return type == BlockType::HighRes ? 8 : 10; }

// The blocks are read leniently where the format is loose: a gap or a string that the file
// ends inside takes what is left, so these never fail the cursor.
void SkipUpTo(plat::ByteCursor& in, std::uint64_t n) { in.skip(std::min<std::uint64_t>(n, in.remaining())); }

// A 16-bit length followed by that many bytes (as many as there are).
std::string_view LengthPrefixed(plat::ByteCursor& in) {
  const std::uint16_t length = in.has(2) ? in.u16le() : 0;
  return in.bytes(std::min<std::uint64_t>(length, in.remaining()));
}

// What a tagged item's value is read as.
enum class TagKind { Skip, Int16, Int32, Float, Text };

TagKind KindOf(BlockType block, std::uint8_t tag, std::uint8_t size) {
  TagKind kind = TagKind::Skip;
  std::uint8_t required = 0;  // 0: any size
  if (block == BlockType::Nmr) {
    switch (tag) {
      case 1: kind = TagKind::Int16, required = 2; break;
      case 2: kind = TagKind::Int32, required = 4; break;
      case 3:
      case 4:
      case 5: kind = TagKind::Float, required = 4; break;
      case 10:
      case 17: kind = TagKind::Text; break;
      default: break;
    }
  } else if (block == BlockType::Mass) {
    switch (tag) {
      case 2: kind = TagKind::Int16, required = 2; break;
      case 26:
      case 53:
      case 54:
      case 55: kind = TagKind::Text; break;
      default: break;
    }
  }
  return required != 0 && size != required ? TagKind::Skip : kind;
}

// The values of the wanted tags of one block, by tag; a later item replaces an earlier one.
using TagValues = std::array<CVariant, 256>;

void ReadTags(plat::ByteCursor& in, BlockType block, TagValues* values) {
  while (in.has(2)) {
    const std::uint8_t tag = in.u8();
    const std::uint8_t size = in.u8();
    if (tag == 0 && size == 0) return;
    if (!in.has(size)) {  // the file ends inside the item: the list ends with it
      SkipUpTo(in, size);
      return;
    }
    CVariant& value = (*values)[tag];
    switch (KindOf(block, tag, size)) {
      case TagKind::Int16: value.SetShort(in.i16le()); break;
      case TagKind::Int32: value.SetLong(in.i32le()); break;
      case TagKind::Float: value.SetFloat(in.f32le()); break;
      case TagKind::Text: value.SetString(in.text(size)); break;
      case TagKind::Skip: in.skip(size); break;
    }
  }
}

// A float from the file that is not a finite number counts as 0.
float Finite(float v) { return std::isfinite(v) ? v : 0.0f; }

bool ReadNmrBlock(plat::ByteCursor& in, CSpcData* data, SpcFailure* why) {
  TagValues tags;
  ReadTags(in, BlockType::Nmr, &tags);

  const std::int32_t flags = tags[1].IsEmpty() ? 0 : tags[1].GetShort();
  if ((flags & 15) == 2) {
    data->nDomain = 1;
  } else if ((flags & 15) == 1) {
    data->nDomain = 0;
    const std::int32_t aqMode = (flags & 0xF0) != 0 ? 2 : 1;
    data->params.Append("AQ_mod", aqMode);
    data->nAcqCode = aqMode;
  }

  const std::int32_t count = tags[2].IsEmpty() ? 0 : tags[2].GetLong();
  if (count < 0 || static_cast<std::uint32_t>(count) > CSpcData::kMaxPoints) {
    if (why) *why = SpcFailure::At("point count " + plat::formatInt(count) + " is no count a record can hold");
    return false;
  }
  const auto n = static_cast<std::size_t>(count);

  data->params.Append("TD", 2 * count);
  data->params.Append("SI", tags[2]);
  data->params.Append("SW", tags[3]);
  data->params.Append("SFO1", tags[5]);
  data->params.Append("OF", Finite(0.5f * tags[3].GetFloat() + tags[4].GetFloat()));
  data->params.Append("PP", 0);
  data->params.Append("TITLE", tags[10]);
  data->params.Append("SOLVENT", tags[17]);

  // The point vector never outgrows the file: the real parts must all be there. Missing
  // imaginary parts stay 0.
  SkipUpTo(in, 4);
  plat::ByteCursor reals = in.sub(2 * std::uint64_t{n});
  if (!in) {
    if (why) *why = SpcFailure::CutShort("real parts", in);
    return false;
  }
  std::vector<CSpcPoint> points(n);
  for (CSpcPoint& p : points) p.re = reals.i16le();
  SkipUpTo(in, 5);
  for (std::size_t i = 0; i < n && in.has(2); ++i) points[i].im = in.i16le();
  // Spectra are stored from the high-field end.
  if (data->nDomain == 1) std::reverse(points.begin(), points.end());
  data->data[data->nDomain] = std::move(points);
  return true;
}

void ReadMassBlock(plat::ByteCursor& in, CSpcData* data) {
  TagValues tags;
  ReadTags(in, BlockType::Mass, &tags);
  const std::int32_t count = tags[2].IsEmpty() ? 0 : tags[2].GetShort();

  CMassScan scan;
  for (std::int32_t i = 0; i < count && in.has(8); ++i) {
    const float mass = in.f32le();
    const float intensity = Finite(in.f32le());
    if (!std::isfinite(mass)) continue;  // a peak without a mass cannot be placed
    scan.peaks.push_back(CSpcPoint{intensity, mass});
    scan.fIonCurrent += intensity;
  }
  std::stable_sort(scan.peaks.begin(), scan.peaks.end(),
                   [](const CSpcPoint& a, const CSpcPoint& b) { return a.im < b.im; });
  data->scans.push_back(std::move(scan));
  data->nDomain = 1;
}

// DATE becomes the file's last-write time (local time, as the user sees it in a file list).
void SetFileDate(std::string_view path, CSpcData* data) {
  double date = 0.0;
  if (!GetFileDate(path, &date)) return;
  CVariant value;
  value.SetDate(date);
  data->params.SetParam("DATE", value);
}

}  // namespace

bool CACD::Detect(const COrvFile* file, AcdMode mode) {
  if (!file || !file->HasView() || !plat::equalsNoCase(GetPathExt(file->m_strPath), ".esp")) return false;
  const std::string_view bytes = file->Bytes();
  // A mass file may open with a length-prefixed ".MASSSP." string; its bytes are searched as
  // they are, so the 0 byte of its length does not hide the name.
  const std::string_view firstLine = bytes.substr(0, std::min(bytes.find('\n'), kFirstLineMax));
  if (firstLine.find(kMassName) != std::string_view::npos) return mode == AcdMode::Mass;

  plat::ByteCursor in(bytes);
  if (in.peek(kMagic.size()) != kMagic) return false;
  in.skip(kMagic.size());
  return LengthPrefixed(in).find(mode == AcdMode::Nmr ? kNmrName : kMassName) != std::string_view::npos;
}

bool CACD::Read(std::string_view path, CSpcData* data, std::int32_t, AcdMode mode, SpcFailure* why) {
  if (!data) return false;
  COrvFile file(path);
  plat::ByteCursor in(file.Bytes());
  if (LengthPrefixed(in).find(kMassName) == std::string_view::npos) in.seek(0);

  bool found = false;
  while (!found && in.peek(kMagic.size()) == kMagic) {
    in.skip(kMagic.size());
    const BlockType type = TypeOf(LengthPrefixed(in));
    SkipUpTo(in, FixedHeaderSize(type));
    if (mode == AcdMode::Mass && type == BlockType::Mass) {
      ReadMassBlock(in, data);
      found = true;
    } else if (mode == AcdMode::Nmr && type == BlockType::Nmr) {
      if (!ReadNmrBlock(in, data, why)) return false;
      found = true;
    }
  }
  if (!found) {
    if (why) *why = SpcFailure::At(mode == AcdMode::Nmr ? "no NMR block" : "no mass block", in.offset());
    return false;
  }
  SetFileDate(path, data);
  data->strName = GetPathFileName(path);
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertACD(std::uint32_t index) {
  return std::make_unique<CNmrConvertACD>(index);
}
std::unique_ptr<CSpcConvert> CreateMassConvertACD(std::uint32_t index) {
  return std::make_unique<CMassConvertACD>(index);
}
