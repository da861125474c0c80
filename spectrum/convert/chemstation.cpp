#include "spectrum/convert/chemstation.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/bytes.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"

namespace {

constexpr std::size_t kHeaderSize = 298;
constexpr std::size_t kMsFirstScan = 754;
constexpr std::size_t kMsScanHeaderSize = 18;
constexpr std::size_t kUvFirstBlock = 512;
constexpr std::size_t kUvBlockHeaderSize = 22;
constexpr std::size_t kChFirstGroup = 1024;
constexpr std::uint16_t kAbsoluteValue = 0x8000;

// The data file of a kind: its name pattern and the signature from its byte 1.
struct DataFileKind {
  std::string_view pattern;
  std::string_view signature;
};

bool KindFile(std::int32_t kind, DataFileKind* out) {
  switch (kind) {
    case kSpcKindMass:
    case kSpcKindTic: *out = {"*.ms", "2"}; return true;
    case kSpcKindUv: *out = {"*.uv", "31"}; return true;
    case kSpcKindCh: *out = {"*.ch", "30"}; return true;
    default: return false;
  }
}

// The signature text of a file's first bytes: from byte 1 up to the first 0, at most 4 bytes.
bool HasSignature(const plat::Byte* bytes, std::size_t size, std::string_view signature) {
  const std::size_t end = std::min<std::size_t>(size, 5);
  std::size_t length = 0;
  while (1 + length < end && bytes[1 + length] != 0) ++length;
  return length == signature.size() && std::memcmp(bytes + 1, signature.data(), length) == 0;
}

// Delta-coded values: a 16-bit code is a signed difference to the previous value, except the
// code 0x8000, which a 32-bit absolute value follows. The running value lives across blocks.
class DeltaDecoder {
 public:
  explicit DeltaDecoder(bool bigEndian) : m_bigEndian(bigEndian) {}

  // Decodes the value at *pos within [*pos, end); false (and *pos unchanged) when it is cut off.
  bool Next(const plat::Byte* view, std::size_t* pos, std::size_t end, float* value) {
    if (*pos + 2 > end) return false;
    const std::uint16_t code = m_bigEndian ? plat::loadBe16(view + *pos) : plat::loadLe16(view + *pos);
    if (code == kAbsoluteValue) {
      if (*pos + 6 > end) return false;
      const std::uint32_t word = m_bigEndian ? plat::loadBe32(view + *pos + 2) : plat::loadLe32(view + *pos + 2);
      m_value = static_cast<std::int32_t>(word);
      *pos += 6;
    } else {
      m_value += static_cast<std::int16_t>(code);  // 64 bits: a run of differences cannot overflow
      *pos += 2;
    }
    *value = static_cast<float>(m_value);
    return true;
  }

 private:
  bool m_bigEndian;
  std::int64_t m_value = 0;
};

void AppendParam(CSpcData* data, const char* name, const CVariant& value) {
  data->params.Append(CSpcParam{value, name, ""});
}
void AppendDouble(CSpcData* data, const char* name, double value) {
  CVariant v;
  v.SetDouble(value);
  AppendParam(data, name, v);
}
void AppendLong(CSpcData* data, const char* name, std::int32_t value) {
  CVariant v;
  v.SetLong(value);
  AppendParam(data, name, v);
}

// A header text: a length byte, then the text, kept within the header and ended by a 0 byte.
void AppendHeaderText(CSpcData* data, const char* name, const plat::Byte* header, std::size_t offset) {
  const std::size_t length = std::min<std::size_t>(header[offset], kHeaderSize - offset - 1);
  std::string text(reinterpret_cast<const char*>(header + offset + 1), length);
  text.resize(std::strlen(text.c_str()));
  CVariant v;
  v.SetString(text);
  AppendParam(data, name, v);
}

void ReadChromatogram(const plat::Byte* view, std::size_t size, CSpcData* data) {
  DeltaDecoder decoder(true);
  std::vector<CSpcPoint>& points = data->spectrum();
  std::size_t pos = kChFirstGroup;
  while (pos + 2 <= size) {
    const std::size_t codes = view[pos + 1];
    pos += 2;
    for (std::size_t i = 0; i < codes; ++i) {
      float value;
      if (points.size() >= CSpcData::kMaxPoints || !decoder.Next(view, &pos, size, &value)) return;
      points.push_back({value, 0.0f});
    }
  }
}

void ReadUv(const plat::Byte* view, std::size_t size, std::int32_t scans, CSpcData* data) {
  AppendLong(data, "NSCANS", scans);
  DeltaDecoder decoder(false);
  std::vector<CSpcPoint>& points = data->spectrum();
  std::size_t pos = kUvFirstBlock;
  for (std::int32_t scan = 0; scan < scans; ++scan) {
    if (pos + kUvBlockHeaderSize > size) return;
    const plat::Byte* header = view + pos;
    const std::size_t length = plat::loadLe16(header + 2);
    const std::size_t count = plat::loadLe16(header + 18);
    if (scan == 0) {
      AppendDouble(data, "FIRSTX", plat::loadLe16(header + 8) * 0.05);
      AppendDouble(data, "LASTX", plat::loadLe16(header + 10) * 0.05);
      AppendLong(data, "NPOINTS", static_cast<std::int32_t>(count));
    }
    // A block holds its header and its codes; one that claims less cannot be walked past.
    if (length < kUvBlockHeaderSize) return;
    const std::size_t blockEnd = std::min(pos + length, size);
    std::size_t at = pos + kUvBlockHeaderSize;
    for (std::size_t i = 0; i < count; ++i) {
      float value;
      if (points.size() >= CSpcData::kMaxPoints || !decoder.Next(view, &at, blockEnd, &value)) return;
      points.push_back({value, 0.0f});
    }
    pos += length;
  }
}

// Abundances are packed as a 14-bit mantissa and a power of 8.
std::uint32_t Abundance(std::uint16_t packed) {
  return static_cast<std::uint32_t>(packed & 0x3FFF) << (3 * (packed >> 14));
}

void ReadMassScans(const plat::Byte* view, std::size_t size, std::int32_t scans, std::int32_t kind, CSpcData* data) {
  std::size_t pos = kMsFirstScan;
  for (std::int32_t scan = 0; scan < scans; ++scan) {
    if (pos + kMsScanHeaderSize > size) break;
    const plat::Byte* header = view + pos;
    const std::size_t length = 2 * static_cast<std::size_t>(plat::loadBe16(header));
    const auto retention = static_cast<std::int32_t>(plat::loadBe32(header + 2));
    const std::size_t peaks = plat::loadBe16(header + 12);
    const std::size_t needed = kMsScanHeaderSize + 4 * peaks;
    // A scan holds its header and its peaks; one that claims less would overlap the next.
    if (pos + needed > size || length < needed) break;
    std::uint64_t total = 0;
    CMassScan* out = nullptr;
    if (kind == kSpcKindMass) {
      out = &data->scans.emplace_back();
      out->peaks.reserve(peaks);
    }
    for (const plat::Byte* p = header + kMsScanHeaderSize; p < header + needed; p += 4) {
      const std::uint32_t abundance = Abundance(plat::loadBe16(p + 2));
      total += abundance;
      if (out) out->peaks.push_back({static_cast<float>(abundance), static_cast<float>(plat::loadBe16(p) * 0.05)});
    }
    if (out) {
      std::stable_sort(out->peaks.begin(), out->peaks.end(),
                       [](const CSpcPoint& a, const CSpcPoint& b) { return a.im < b.im; });
      out->fIonCurrent = static_cast<float>(total);
      out->fTime = static_cast<float>(retention * 0.001);
    } else {
      data->spectrum().push_back({static_cast<float>(total), 0.0f});
    }
    pos += length;
  }
  if (kind == kSpcKindTic) {
    AppendDouble(data, "FIRSTX", static_cast<std::int32_t>(plat::loadBe32(view + 282)) * 0.001);
    AppendDouble(data, "LASTX", static_cast<std::int32_t>(plat::loadBe32(view + 286)) * 0.001);
  }
}

}  // namespace

bool CChemStation::Detect(COrvFile* file, std::int32_t kind) const {
  DataFileKind what;
  if (!file || !file->IsFolder() || !KindFile(kind, &what)) return false;
  const std::string_view folder = plat::pathWithoutTrailingSeparator(file->m_strPath);
  for (const plat::DirEntry& found : plat::findFiles(folder, what.pattern)) {
    if (found.isDirectory) continue;
    plat::Byte start[5] = {};
    const std::size_t n = ReadFileBlock(plat::joinPath(folder, found.name), start, sizeof start, 0);
    if (HasSignature(start, n, what.signature)) return true;
  }
  return false;
}

bool CChemStation::Read(std::string_view path, CSpcData* data, std::int32_t kind, std::int32_t) const {
  DataFileKind what;
  if (!KindFile(kind, &what)) return false;
  const std::string_view folder = plat::pathWithoutTrailingSeparator(path);
  // The first file of the kind with a whole header; a stray file of the same extension but
  // another signature is not read as data.
  for (const plat::DirEntry& found : plat::findFiles(folder, what.pattern)) {
    if (found.isDirectory) continue;
    COrvFile file(plat::joinPath(folder, found.name));
    const auto size = static_cast<std::size_t>(file.m_nSize);
    const plat::Byte* view = file.m_pView;
    if (!view || size < kHeaderSize || !HasSignature(view, size, what.signature)) continue;

    AppendHeaderText(data, "TITLE", view, 24);
    AppendHeaderText(data, "OWNER", view, 148);
    AppendHeaderText(data, "INSTRUM", view, 208);
    const std::int32_t scans = std::max<std::int16_t>(static_cast<std::int16_t>(plat::loadBe16(view + 280)), 0);
    switch (kind) {
      case kSpcKindCh: ReadChromatogram(view, size, data); break;
      case kSpcKindUv: ReadUv(view, size, scans, data); break;
      default: ReadMassScans(view, size, scans, kind, data); break;
    }
    data->nDomain = 1;
    data->strName = GetPathFileName(folder);
    return true;
  }
  return false;
}

std::unique_ptr<CSpcConvert> CreateMassConvertChemStation(std::uint32_t index) {
  return std::make_unique<CMassConvertChemStation>(index);
}
std::unique_ptr<CSpcConvert> CreateUvConvertChemStation(std::uint32_t index) {
  return std::make_unique<CUvConvertChemStation>(index);
}
std::unique_ptr<CSpcConvert> CreateChConvertChemStation(std::uint32_t index) {
  return std::make_unique<CChConvertChemStation>(index);
}
std::unique_ptr<CSpcConvert> CreateTicConvertChemStation(std::uint32_t index) {
  return std::make_unique<CTicConvertChemStation>(index);
}
