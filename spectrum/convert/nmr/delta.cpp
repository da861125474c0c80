#include "spectrum/convert/nmr/delta.h"

#include <cmath>
#include <vector>

#include "platform/base/bytecursor.h"
#include "platform/base/directory.h"
#include "platform/base/numtext.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "spectrum/convert/nmr/vnmr.h"

using namespace nmrvendor;

namespace nmrvendor {

bool HasHeaderExtension(std::string_view path, std::string_view ext) {
  return path.size() >= 5 && plat::equalsNoCase(path.substr(path.size() - ext.size()), ext);
}

std::string DataPathOf(std::string_view headerPath, std::string_view ext) {
  const std::size_t keep = headerPath.size() >= 4 ? headerPath.size() - 4 : 0;
  const std::string path = std::string(headerPath.substr(0, keep)) + std::string(ext);
  // The instruments' file names come in either case ("DATA.HDR" beside "data.bin").
  const std::string_view folder = plat::pathDirectory(path);
  const std::string found = plat::findNoCase(folder.empty() ? "." : folder, plat::pathFileName(path));
  if (found.empty()) return path;
  return folder.empty() ? std::string(plat::pathFileName(found)) : found;
}

}  // namespace nmrvendor

namespace {

constexpr std::string_view kDeltaMagic = "filename";
constexpr std::int64_t kDeltaMinSize = 11;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void DecodeDoubles(plat::ByteCursor in, bool bigEndian, CSpcPoint* out, std::size_t n) {
  // The second double of a pair is the real part.
  for (std::size_t i = 0; i < n; ++i) {
    out[i].im = FiniteFloat(bigEndian ? in.f64be() : in.f64le());
    out[i].re = FiniteFloat(bigEndian ? in.f64be() : in.f64le());
  }
}

struct DeltaState {
  bool bigEndian = false;
};

void ApplyHeaderLine(std::string_view line, CSpcData* data, DeltaState& state) {
  const DeltaHeaderLine h = DeltaHeaderLine::Scan(line);
  CSpcParamList& params = data->params;
  const std::string_view text = h.text.value_or(std::string_view());
  if (h.key == "x_sweep") {
    if (h.number) params.Append("SW", *h.number);
  } else if (h.key == "x_points") {
    // A count beyond what a record can hold is not taken: the data read then fails cleanly.
    const auto points = h.number ? TruncToInt32(*h.number) : std::nullopt;
    if (points && *points >= 0 && static_cast<std::uint32_t>(*points) <= CSpcData::kMaxPoints) {
      params.Append("SI", *points);
      params.Append("TD", 2 * *points);
    }
  } else if (h.key == "x_freq") {
    if (h.number) {
      params.Append("SF", *h.number);
      params.Append("SFO1", *h.number);
    }
  } else if (h.key == "temp") {
    const auto t = h.number ? TruncToInt32(*h.number) : std::nullopt;
    if (t && *t <= INT32_MAX - 273) params.Append("TE", *t + 273);
  } else if (h.key == "solvent") {
    if (h.text) params.Append("SOLVENT", text);
  } else if (h.key == "instrument") {
    if (h.text) params.Append("INSTRUM", text);
  } else if (h.key == "author") {
    if (h.text) params.Append("OWNER", text);
  } else if (h.key == "x_domain") {
    if (h.text) params.Append("NUCLEUS", text);
  } else if (h.key == "title") {
    if (h.text) params.Append("TITLE", text);
  } else if (h.key == "endian") {
    state.bigEndian = text.find("BIG") != std::string_view::npos;
  } else if (h.key == "x_start") {
    data->nDomain = line.find("[ppm]") != std::string_view::npos ? 1 : 0;
  } else if (h.key == "x_offset") {
    if (h.number) params.Append("OFFSET", *h.number);
  } else if (h.key == "creation") {
    if (h.text) AppendParsedDate(params, "DATE", text);
  }
}

}  // namespace

DeltaHeaderLine DeltaHeaderLine::Scan(std::string_view line) {
  DeltaHeaderLine out;
  std::size_t i = 0;
  while (i < line.size() && !IsBlank(line[i])) ++i;
  if (i == 0) return out;  // no key: the line starts with a blank
  out.key = line.substr(0, i);
  const std::size_t afterKey = i;

  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i > afterKey) {
    double value = 0.0;
    if (plat::parseDoublePrefix(line.substr(i), &value) > 0 && std::isfinite(value)) out.number = value;
  }

  std::size_t t = afterKey;
  while (t < line.size() && (IsBlank(line[t]) || line[t] == '"')) ++t;
  if (t > afterKey && t < line.size()) {
    const std::size_t quote = line.find('"', t);
    out.text = line.substr(t, quote == std::string_view::npos ? std::string_view::npos : quote - t);
  }
  return out;
}

CNmrConvertDelta::CNmrConvertDelta(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

bool CNmrConvertDelta::Detect(COrvFile* file) {
  if (!file || !HasHeaderExtension(file->m_strPath, ".hdr")) return false;
  return file->HasView() && file->m_nSize >= kDeltaMinSize && file->Bytes().substr(0, kDeltaMagic.size()) == kDeltaMagic;
}

bool CNmrConvertDelta::Read(std::string_view path, CSpcData* data, std::int32_t) {
  const std::string dataPath = DataPathOf(path, ".bin");
  COrvFile header(path);
  if (header.m_dwAttributes == kOrvAttrInvalid || header.IsFolder()) return Fail(SpcFailure::At("no header file"));

  data->nState = 1;
  data->nDomain = 0;
  data->nAcqCode = 1;
  CSpcParamList& params = data->params;
  params.Append("AQ_mod", 1);

  DeltaState state;
  std::string_view line;
  while (header.ReadLine(&line)) ApplyHeaderLine(line, data, state);
  params.Append("OP", params.GetValue("SI").GetLong() / 2);
  data->strName = GetPathTitle(path);

  // Without a point count there is nothing to read.
  if (!params.HasParam("TD")) return Fail(SpcFailure::At("no x_points line"));
  const std::int32_t td = params.GetValue("TD").GetLong();
  if (td < 0 || static_cast<std::uint32_t>(td / 2) > CSpcData::kMaxPoints)
    return Fail(SpcFailure::At("point count is no count a record can hold"));
  const std::size_t n = static_cast<std::size_t>(td / 2);

  const std::string binName = GetPathFileName(dataPath);
  COrvFile bin(dataPath);
  if (bin.m_dwAttributes == kOrvAttrInvalid || bin.IsFolder()) return Fail(SpcFailure::At("no data file", -1, binName));
  plat::ByteCursor in(bin.Bytes());
  const plat::ByteCursor values = in.sub(static_cast<std::uint64_t>(td) * 8);
  if (!in) return Fail(SpcFailure::CutShort("complex points", in, binName));

  const std::size_t padded = static_cast<std::size_t>(PowerOfTwoAtLeast(static_cast<std::int64_t>(n)));
  std::vector<CSpcPoint>& points = data->data[data->nDomain == 1 ? 1 : 0];
  points.insert(points.begin(), padded, CSpcPoint{});
  DecodeDoubles(values, state.bigEndian, points.data(), n);
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertDelta(std::uint32_t index) {
  return std::make_unique<CNmrConvertDelta>(index);
}
