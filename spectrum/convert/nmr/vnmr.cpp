#include "spectrum/convert/nmr/vnmr.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/base/bytecursor.h"
#include "platform/base/directory.h"
#include "platform/base/numtext.h"
#include "platform/base/path.h"

// ---- Shared helpers of the vendor readers ----

namespace nmrvendor {

void AppendParsedDate(CSpcParamList& params, const char* name, std::string_view text) {
  const CDateTime date = CVariant::ParseDate(text);
  if (date.valid) params.AppendDate(name, date.date);
}

std::int64_t PowerOfTwoAtLeast(std::int64_t n) {
  std::int64_t p = 1;
  while (p < n) p <<= 1;
  return p;
}

std::optional<std::int32_t> TruncToInt32(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return std::nullopt;  // NaN fails too
  return static_cast<std::int32_t>(value);
}

float FiniteFloat(double value) {
  if (value != value) return 0.0f;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

double FiniteDouble(double value) {
  if (value != value) return 0.0;
  if (value > DBL_MAX) return DBL_MAX;
  if (value < -DBL_MAX) return -DBL_MAX;
  return value;
}

}  // namespace nmrvendor

using namespace nmrvendor;

// ---- VNMR ----

namespace {

constexpr std::size_t kFileHeaderSize = 32;
constexpr std::size_t kBlockHeaderSize = 28;
constexpr std::uint16_t kStatusFloat = 0x0008;
constexpr std::uint16_t kStatusInt32 = 0x0004;

enum class VnmrSample { Int16, Int32, Float32 };

VnmrSample SampleFromStatus(std::uint16_t status) {
  if (status & kStatusFloat) return VnmrSample::Float32;
  if (status & kStatusInt32) return VnmrSample::Int32;
  return VnmrSample::Int16;
}

// The next value of the block as a float (big-endian, as the workstation writes it).
float NextValue(plat::ByteCursor& in, VnmrSample type) {
  switch (type) {
    case VnmrSample::Int16: return static_cast<float>(in.i16be());
    case VnmrSample::Int32: return static_cast<float>(in.i32be());
    case VnmrSample::Float32: return FiniteFloat(in.f32be());
  }
  return 0.0f;
}

// The file header of the fid (big-endian).
struct VnmrFileHeader {
  std::int32_t blocks = 0, traces = 0, np = 0, valueBytes = 0, traceBytes = 0, blockBytes = 0;
  std::int16_t version = 0;
  std::uint16_t status = 0;
  std::int32_t blockHeaders = 0;
};
static_assert(kFileHeaderSize == 32);

VnmrFileHeader ReadFileHeader(plat::ByteCursor& in) {
  VnmrFileHeader h;
  h.blocks = in.i32be();
  h.traces = in.i32be();
  h.np = in.i32be();
  h.valueBytes = in.i32be();
  h.traceBytes = in.i32be();
  h.blockBytes = in.i32be();
  h.version = in.i16be();
  h.status = in.u16be();
  h.blockHeaders = in.i32be();
  return h;
}

bool StartsWith(std::string_view line, std::string_view name) { return line.substr(0, name.size()) == name; }

// The count that starts a value line; the rest of the line after it.
bool ScanCount(std::string_view line, std::string_view* rest) {
  std::int64_t count = 0;
  const std::size_t used = plat::parseIntPrefix(line, &count);
  if (used == 0) return false;
  *rest = line.substr(used);
  return true;
}

std::string FolderFile(std::string_view folder, std::string_view name) {
  std::string found = plat::findNoCase(folder, name);
  return found.empty() ? plat::joinPath(folder, name) : found;
}

// The title: the first line of the text file up to its first CR or LF. Empty when the file
// exists but holds nothing; none when it is missing or no plain file.
std::optional<std::string> ReadTitle(const std::string& path) {
  COrvFile text(path);
  if (text.m_dwAttributes == kOrvAttrInvalid || text.IsFolder()) return std::nullopt;
  std::string_view line;
  text.ReadLine(&line);
  return std::string(line.substr(0, line.find('\r')));
}

struct ProcparValues {
  float rfl = 0.0f;
  float rfp = 0.0f;
};

// Tests one procpar line against the names the reader takes; on a match the value line that
// follows is read at once.
void ReadProcparEntry(std::string_view line, COrvFile& procpar, CSpcParamList& params, ProcparValues& kept) {
  if (StartsWith(line, "sw ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparReal(procpar)) params.Append("SW", *v);
  } else if (StartsWith(line, "sfrq ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparReal(procpar)) params.Append("SFO1", *v);
    // SF mirrors the first SFO1 of the list, whichever entry appended it.
    const std::ptrdiff_t first = params.Find("SFO1");
    if (first >= 0) params.Append("SF", params[static_cast<std::size_t>(first)].value);
  } else if (StartsWith(line, "temp ")) {
    auto v = CNmrConvertVNMR::ReadProcparLong(procpar);
    if (v && *v <= INT32_MAX - 273) params.Append("TE", *v + 273);
  } else if (StartsWith(line, "gain ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparLong(procpar)) params.Append("RG", *v);
  } else if (StartsWith(line, "alfa ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparReal(procpar)) params.Append("DE", *v);
  } else if (StartsWith(line, "pw ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparReal(procpar)) params.Append("PW", *v);
  } else if (StartsWith(line, "rfl ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparReal(procpar)) kept.rfl = FiniteFloat(*v);
  } else if (StartsWith(line, "rfp ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparReal(procpar)) kept.rfp = FiniteFloat(*v);
  } else if (StartsWith(line, "solvent ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparText(procpar)) params.Append("SOLVENT", *v);
  } else if (StartsWith(line, "date ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparText(procpar)) AppendParsedDate(params, "DATE", *v);
  } else if (StartsWith(line, "console ")) {
    if (auto v = CNmrConvertVNMR::ReadProcparText(procpar)) params.Append("INSTRUM", *v);
  }
}

}  // namespace

CNmrConvertVNMR::CNmrConvertVNMR(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

std::optional<double> CNmrConvertVNMR::ReadProcparReal(COrvFile& procpar) {
  std::string_view line, rest;
  if (!procpar.ReadLine(&line) || !ScanCount(line, &rest)) return std::nullopt;
  double value = 0.0;
  if (plat::parseDoublePrefix(rest, &value) == 0 || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::int32_t> CNmrConvertVNMR::ReadProcparLong(COrvFile& procpar) {
  std::string_view line, rest;
  if (!procpar.ReadLine(&line) || !ScanCount(line, &rest)) return std::nullopt;
  std::int64_t value = 0;
  if (plat::parseIntPrefix(rest, &value) == 0 || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<std::string> CNmrConvertVNMR::ReadProcparText(COrvFile& procpar) {
  std::string_view line, rest;
  if (!procpar.ReadLine(&line) || !ScanCount(line, &rest)) return std::nullopt;
  const std::size_t start = rest.find_first_not_of(" \t\v\f");
  if (start == std::string_view::npos || rest[start] != '"') return std::nullopt;  // no quoted text
  rest = rest.substr(start);
  const std::size_t text = rest.find_first_not_of(" \"");
  if (text == std::string_view::npos) return std::string();
  rest = rest.substr(text);
  return std::string(rest.substr(0, rest.find('"')));
}

bool CNmrConvertVNMR::Detect(COrvFile* file) {
  if (!file || !file->IsFolder()) return false;
  return !plat::findNoCase(file->m_strPath, "fid").empty() && !plat::findNoCase(file->m_strPath, "procpar").empty();
}

bool CNmrConvertVNMR::Read(std::string_view path, CSpcData* data, std::int32_t) {
  const std::string procparPath = FolderFile(path, "procpar");
  const std::string fidPath = FolderFile(path, "fid");
  const std::string textPath = FolderFile(path, "text");
  COrvFile procpar(procparPath);
  if (procpar.m_dwAttributes == kOrvAttrInvalid || procpar.IsFolder()) return Fail(SpcFailure::At("no procpar file"));

  data->nState = 1;
  data->nDomain = 0;
  data->nAcqCode = 1;
  CSpcParamList& params = data->params;
  params.Append("AQ_mod", 1);

  ProcparValues kept;
  std::string_view line;
  while (procpar.ReadLine(&line)) ReadProcparEntry(line, procpar, params, kept);

  const double sfo1 = params.GetValue("SFO1").GetDouble();
  const double sw = params.GetValue("SW").GetDouble();
  // Without a spectrometer frequency there is no ppm scale: the offset stays 0.
  const double offset = sfo1 != 0.0 ? (sw + kept.rfp - kept.rfl) / sfo1 : 0.0;
  params.Append("OFFSET", FiniteDouble(offset));
  params.Append("OP", 0);
  data->strName = GetPathTitle(path);
  if (auto title = ReadTitle(textPath)) params.Append("TITLE", *title);

  COrvFile fid(fidPath);
  plat::ByteCursor in(fid.Bytes());
  const VnmrFileHeader header = ReadFileHeader(in);
  in.skip(kBlockHeaderSize);
  if (!in) return Fail(SpcFailure::CutShort("file and block header", in, "fid"));
  const std::int32_t np = header.np;
  // A negative count or one beyond what a record can hold is refused before anything is sized.
  if (np < 0 || static_cast<std::uint64_t>(np) / 2 > CSpcData::kMaxPoints)
    return Fail(SpcFailure::At("point count is no count a record can hold", 8, "fid"));
  params.Append("TD", np);
  params.Append("SI", static_cast<std::int32_t>(PowerOfTwoAtLeast(np)));

  const VnmrSample type = SampleFromStatus(header.status);
  const std::uint64_t valueSize = type == VnmrSample::Int16 ? 2 : 4;
  plat::ByteCursor values = in.sub(static_cast<std::uint64_t>(np) * valueSize);
  if (!in) return Fail(SpcFailure::CutShort("first block", in, "fid"));

  const std::size_t n = static_cast<std::size_t>(np / 2);
  const std::size_t padded = static_cast<std::size_t>(PowerOfTwoAtLeast(static_cast<std::int64_t>(n)));
  std::vector<CSpcPoint>& points = data->fid();
  points.insert(points.begin(), padded, CSpcPoint{});
  // The second value of a pair is the real part.
  for (std::size_t i = 0; i < n; ++i) {
    points[i].im = NextValue(values, type);
    points[i].re = NextValue(values, type);
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertVNMR(std::uint32_t index) {
  return std::make_unique<CNmrConvertVNMR>(index);
}
