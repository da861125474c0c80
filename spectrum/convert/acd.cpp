#include "spectrum/convert/acd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

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

// Sequential little-endian reading that never passes the end: a short read takes what is left.
class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : m_bytes(bytes) {}

  std::size_t Remaining() const { return m_bytes.size() - m_pos; }
  void Seek(std::size_t pos) { m_pos = std::min(pos, m_bytes.size()); }
  void Skip(std::size_t n) { m_pos += std::min(n, Remaining()); }
  bool StartsWith(std::string_view text) const { return m_bytes.substr(m_pos).starts_with(text); }

  // The next n bytes, or as many as are left.
  std::string_view Take(std::size_t n) {
    const std::string_view out = m_bytes.substr(m_pos, std::min(n, Remaining()));
    m_pos += out.size();
    return out;
  }
  std::uint32_t Word(std::size_t width) {
    const std::string_view b = Take(width);
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < b.size(); ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[i])) << (8 * i);
    return v;
  }
  std::int16_t Int16() { return static_cast<std::int16_t>(Word(2)); }
  float Float() {
    const std::uint32_t bits = Word(4);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  // A 16-bit length followed by that many bytes.
  std::string_view String() { return Take(Word(2)); }

 private:
  std::string_view m_bytes;
  std::size_t m_pos = 0;
};

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

void ReadTags(Cursor& in, BlockType block, TagValues* values) {
  while (in.Remaining() >= 2) {
    const auto tag = static_cast<std::uint8_t>(in.Word(1));
    const auto size = static_cast<std::uint8_t>(in.Word(1));
    if (tag == 0 && size == 0) return;
    if (in.Remaining() < size) {  // the file ends inside the item: the list ends with it
      in.Skip(size);
      return;
    }
    CVariant& value = (*values)[tag];
    switch (KindOf(block, tag, size)) {
      case TagKind::Int16: value.SetShort(in.Int16()); break;
      case TagKind::Int32: value.SetLong(static_cast<std::int32_t>(in.Word(4))); break;
      case TagKind::Float: value.SetFloat(in.Float()); break;
      case TagKind::Text: {
        const std::string_view text = in.Take(size);
        value.SetString(text.substr(0, text.find('\0')));
        break;
      }
      case TagKind::Skip: in.Skip(size); break;
    }
  }
}

void Append(CSpcData* data, const char* name, const CVariant& value) { data->params.Append(CSpcParam{value, name, ""}); }

void AppendInt(CSpcData* data, const char* name, std::int32_t v) {
  CVariant value;
  value.SetLong(v);
  Append(data, name, value);
}

// A float from the file that is not a finite number counts as 0.
float Finite(float v) { return std::isfinite(v) ? v : 0.0f; }

bool ReadNmrBlock(Cursor& in, CSpcData* data) {
  TagValues tags;
  ReadTags(in, BlockType::Nmr, &tags);

  const std::int32_t flags = tags[1].IsEmpty() ? 0 : tags[1].GetShort();
  if ((flags & 15) == 2) {
    data->nDomain = 1;
  } else if ((flags & 15) == 1) {
    data->nDomain = 0;
    const std::int32_t aqMode = (flags & 0xF0) != 0 ? 2 : 1;
    AppendInt(data, "AQ_mod", aqMode);
    data->nAcqCode = aqMode;
  }

  const std::int32_t count = tags[2].IsEmpty() ? 0 : tags[2].GetLong();
  if (count < 0 || static_cast<std::uint32_t>(count) > CSpcData::kMaxPoints) return false;
  const auto n = static_cast<std::size_t>(count);

  AppendInt(data, "TD", 2 * count);
  Append(data, "SI", tags[2]);
  Append(data, "SW", tags[3]);
  Append(data, "SFO1", tags[5]);
  CVariant of;
  of.SetFloat(Finite(0.5f * tags[3].GetFloat() + tags[4].GetFloat()));
  Append(data, "OF", of);
  AppendInt(data, "PP", 0);
  Append(data, "TITLE", tags[10]);
  Append(data, "SOLVENT", tags[17]);

  // The point vector never outgrows the file: the real parts must all be there. Missing
  // imaginary parts stay 0.
  in.Skip(4);
  if (in.Remaining() / 2 < n) return false;
  std::vector<CSpcPoint> points(n);
  for (CSpcPoint& p : points) p.re = in.Int16();
  in.Skip(5);
  for (std::size_t i = 0; i < n && in.Remaining() >= 2; ++i) points[i].im = in.Int16();
  // Spectra are stored from the high-field end.
  if (data->nDomain == 1) std::reverse(points.begin(), points.end());
  data->data[data->nDomain] = std::move(points);
  return true;
}

void ReadMassBlock(Cursor& in, CSpcData* data) {
  TagValues tags;
  ReadTags(in, BlockType::Mass, &tags);
  const std::int32_t count = tags[2].IsEmpty() ? 0 : tags[2].GetShort();

  CMassScan scan;
  for (std::int32_t i = 0; i < count && in.Remaining() >= 8; ++i) {
    const float mass = in.Float();
    const float intensity = Finite(in.Float());
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

  Cursor in(bytes);
  if (!in.StartsWith(kMagic)) return false;
  in.Skip(kMagic.size());
  return in.String().find(mode == AcdMode::Nmr ? kNmrName : kMassName) != std::string_view::npos;
}

bool CACD::Read(std::string_view path, CSpcData* data, std::int32_t, AcdMode mode) {
  if (!data) return false;
  COrvFile file(path);
  if (!file.HasView()) return false;
  Cursor in(file.Bytes());
  if (in.String().find(kMassName) == std::string_view::npos) in.Seek(0);

  bool found = false;
  while (!found && in.StartsWith(kMagic)) {
    in.Skip(kMagic.size());
    const BlockType type = TypeOf(in.String());
    in.Skip(FixedHeaderSize(type));
    if (mode == AcdMode::Mass && type == BlockType::Mass) {
      ReadMassBlock(in, data);
      found = true;
    } else if (mode == AcdMode::Nmr && type == BlockType::Nmr) {
      if (!ReadNmrBlock(in, data)) return false;
      found = true;
    }
  }
  if (!found) return false;
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
