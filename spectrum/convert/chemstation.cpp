#include "spectrum/convert/chemstation.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/bytecursor.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"

namespace {

constexpr std::size_t kHeaderSize = 298;
// Fields of the file header.
constexpr std::size_t kTitleOffset = 24;
constexpr std::size_t kOwnerOffset = 148;
constexpr std::size_t kInstrumentOffset = 208;
constexpr std::size_t kScanCountOffset = 280;
constexpr std::size_t kRetentionRangeOffset = 282;  // first and last retention time (ms)
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
bool HasSignature(std::string_view start, std::string_view signature) {
  std::string_view text = start.substr(std::min<std::size_t>(1, start.size()), 4);
  return text.substr(0, text.find('\0')) == signature;
}

// Delta-coded values: a 16-bit code is a signed difference to the previous value, except the
// code 0x8000, which a 32-bit absolute value follows. The running value lives across blocks.
class DeltaDecoder {
 public:
  explicit DeltaDecoder(bool bigEndian) : m_bigEndian(bigEndian) {}

  // Decodes the value at the cursor; false (and the cursor unmoved) when it is cut off.
  bool Next(plat::ByteCursor& in, float* value) {
    plat::ByteCursor at = in;
    const std::uint16_t code = m_bigEndian ? at.u16be() : at.u16le();
    if (code == kAbsoluteValue) {
      const std::uint32_t word = m_bigEndian ? at.u32be() : at.u32le();
      if (!at) return false;
      m_value = static_cast<std::int32_t>(word);
    } else {
      if (!at) return false;
      m_value += static_cast<std::int16_t>(code);  // 64 bits: a run of differences cannot overflow
    }
    in = at;
    *value = static_cast<float>(m_value);
    return true;
  }

 private:
  bool m_bigEndian;
  std::int64_t m_value = 0;
};

// A header text: a length byte, then the text, kept within the header and ended by a 0 byte.
void AppendHeaderText(CSpcData* data, const char* name, const plat::ByteCursor& header, std::size_t offset) {
  plat::ByteCursor text = header.field(offset);
  const std::uint8_t length = text.u8();
  data->params.Append(name, text.text(std::min<std::uint64_t>(length, text.remaining())));
}

void ReadChromatogram(plat::ByteCursor in, CSpcData* data) {
  DeltaDecoder decoder(true);
  std::vector<CSpcPoint>& points = data->spectrum();
  in.seek(kChFirstGroup);
  while (in.has(2)) {
    in.u8();  // group marker
    const std::size_t codes = in.u8();
    for (std::size_t i = 0; i < codes; ++i) {
      float value;
      if (points.size() >= CSpcData::kMaxPoints || !decoder.Next(in, &value)) return;
      points.push_back({value, 0.0f});
    }
  }
}

// The header of one block of the diode-array file.
struct UvBlockHeader {
  std::uint16_t length = 0;  // of the whole block, header included
  std::uint16_t firstX = 0;  // 0.05 nm
  std::uint16_t lastX = 0;
  std::uint16_t count = 0;   // values of the block
};

UvBlockHeader ReadUvBlockHeader(plat::ByteCursor in) {
  UvBlockHeader h;
  in.skip(2);  // block marker
  h.length = in.u16le();
  in.skip(4);  // retention time
  h.firstX = in.u16le();
  h.lastX = in.u16le();
  in.skip(6);  // step and reserved words
  h.count = in.u16le();
  return h;
}

void ReadUv(plat::ByteCursor in, std::int32_t scans, CSpcData* data) {
  data->params.Append("NSCANS", scans);
  DeltaDecoder decoder(false);
  std::vector<CSpcPoint>& points = data->spectrum();
  in.seek(kUvFirstBlock);
  for (std::int32_t scan = 0; scan < scans; ++scan) {
    if (!in.has(kUvBlockHeaderSize)) return;
    const UvBlockHeader h = ReadUvBlockHeader(in);
    if (scan == 0) {
      data->params.Append("FIRSTX", h.firstX * 0.05);
      data->params.Append("LASTX", h.lastX * 0.05);
      data->params.Append("NPOINTS", static_cast<std::int32_t>(h.count));
    }
    // A block holds its header and its codes; one that claims less cannot be walked past.
    if (h.length < kUvBlockHeaderSize) return;
    plat::ByteCursor block = in.sub(std::min<std::uint64_t>(h.length, in.remaining()));
    block.skip(kUvBlockHeaderSize);
    for (std::size_t i = 0; i < h.count; ++i) {
      float value;
      if (points.size() >= CSpcData::kMaxPoints || !decoder.Next(block, &value)) return;
      points.push_back({value, 0.0f});
    }
  }
}

// Abundances are packed as a 14-bit mantissa and a power of 8.
std::uint32_t Abundance(std::uint16_t packed) {
  return static_cast<std::uint32_t>(packed & 0x3FFF) << (3 * (packed >> 14));
}

// The header of one scan record of the mass spectrometer's file (big-endian).
struct MsScanHeader {
  std::size_t length = 0;  // of the whole record in bytes
  std::int32_t retention = 0;  // ms
  std::uint16_t peaks = 0;
};

MsScanHeader ReadMsScanHeader(plat::ByteCursor in) {
  MsScanHeader h;
  h.length = 2 * static_cast<std::size_t>(in.u16be());  // stored in 16-bit words
  h.retention = in.i32be();
  in.skip(6);  // total and base values
  h.peaks = in.u16be();
  return h;
}

void ReadMassScans(plat::ByteCursor in, std::int32_t scans, std::int32_t kind, CSpcData* data) {
  plat::ByteCursor times = in.field(kRetentionRangeOffset);
  in.seek(kMsFirstScan);
  for (std::int32_t scan = 0; scan < scans; ++scan) {
    if (!in.has(kMsScanHeaderSize)) break;
    const MsScanHeader h = ReadMsScanHeader(in);
    const std::size_t needed = kMsScanHeaderSize + 4 * std::size_t{h.peaks};
    // A scan holds its header and its peaks; one that claims less would overlap the next.
    if (!in.has(needed) || h.length < needed) break;
    plat::ByteCursor record = in.sub(std::min<std::uint64_t>(h.length, in.remaining()));
    record.skip(kMsScanHeaderSize);
    std::uint64_t total = 0;
    CMassScan* out = nullptr;
    if (kind == kSpcKindMass) {
      out = &data->scans.emplace_back();
      out->peaks.reserve(h.peaks);
    }
    for (std::size_t k = 0; k < h.peaks; ++k) {
      const std::uint16_t mass = record.u16be();
      const std::uint32_t abundance = Abundance(record.u16be());
      total += abundance;
      if (out) out->peaks.push_back({static_cast<float>(abundance), static_cast<float>(mass * 0.05)});
    }
    if (out) {
      std::stable_sort(out->peaks.begin(), out->peaks.end(),
                       [](const CSpcPoint& a, const CSpcPoint& b) { return a.im < b.im; });
      out->fIonCurrent = static_cast<float>(total);
      out->fTime = static_cast<float>(h.retention * 0.001);
    } else {
      data->spectrum().push_back({static_cast<float>(total), 0.0f});
    }
  }
  if (kind == kSpcKindTic) {
    const std::int32_t first = times.i32be();
    const std::int32_t last = times.i32be();
    data->params.Append("FIRSTX", first * 0.001);
    data->params.Append("LASTX", last * 0.001);
  }
}

}  // namespace

bool CChemStation::Detect(COrvFile* file, std::int32_t kind) const {
  DataFileKind what;
  if (!file || !file->IsFolder() || !KindFile(kind, &what)) return false;
  const std::string_view folder = plat::pathWithoutTrailingSeparator(file->m_strPath);
  for (const plat::DirEntry& found : plat::findFiles(folder, what.pattern)) {
    if (found.isDirectory) continue;
    char start[5] = {};
    const std::size_t n = ReadFileBlock(plat::joinPath(folder, found.name), start, sizeof start, 0);
    if (HasSignature(std::string_view(start, n), what.signature)) return true;
  }
  return false;
}

bool CChemStation::Read(std::string_view path, CSpcData* data, std::int32_t kind, std::int32_t, SpcFailure* why) const {
  DataFileKind what;
  if (!KindFile(kind, &what)) return false;
  const std::string_view folder = plat::pathWithoutTrailingSeparator(path);
  // The first file of the kind with a whole header; a stray file of the same extension but
  // another signature is not read as data.
  for (const plat::DirEntry& found : plat::findFiles(folder, what.pattern)) {
    if (found.isDirectory) continue;
    COrvFile file(plat::joinPath(folder, found.name));
    const std::string_view bytes = file.Bytes();
    if (bytes.size() < kHeaderSize || !HasSignature(bytes, what.signature)) continue;

    const plat::ByteCursor in(bytes);
    const plat::ByteCursor header(bytes.substr(0, kHeaderSize));
    AppendHeaderText(data, "TITLE", header, kTitleOffset);
    AppendHeaderText(data, "OWNER", header, kOwnerOffset);
    AppendHeaderText(data, "INSTRUM", header, kInstrumentOffset);
    const std::int32_t scans = std::max<std::int16_t>(header.field(kScanCountOffset).i16be(), 0);
    switch (kind) {
      case kSpcKindCh: ReadChromatogram(in, data); break;
      case kSpcKindUv: ReadUv(in, scans, data); break;
      default: ReadMassScans(in, scans, kind, data); break;
    }
    data->nDomain = 1;
    data->strName = GetPathFileName(folder);
    return true;
  }
  if (why) {
    *why = SpcFailure::At("no " + std::string(what.pattern) + " file with the kind's signature and a whole " +
                          std::to_string(kHeaderSize) + "-byte header");
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
