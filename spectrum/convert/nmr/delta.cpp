#include "spectrum/convert/nmr/delta.h"

#include <bit>
#include <cmath>
#include <vector>

#include "platform/base/bytes.h"
#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "spectrum/convert/nmr/vnmr.h"

using namespace nmrvendor;

namespace nmrvendor {

bool HasHeaderExtension(std::string_view path, std::string_view ext) {
  return path.size() >= 5 && plat::equalsNoCase(path.substr(path.size() - ext.size()), ext);
}

std::string DataPathOf(std::string_view headerPath, std::string_view ext) {
  const std::size_t keep = headerPath.size() >= 4 ? headerPath.size() - 4 : 0;
  return std::string(headerPath.substr(0, keep)) + std::string(ext);
}

}  // namespace nmrvendor

namespace {

constexpr std::string_view kDeltaMagic = "filename";
constexpr std::int64_t kDeltaMinSize = 11;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void DecodeDoubles(const std::uint8_t* src, std::size_t n, bool bigEndian, CSpcPoint* out) {
  // The second double of a pair is the real part.
  if (bigEndian) {
    for (std::size_t i = 0; i < n; ++i, src += 16) {
      out[i].re = FiniteFloat(plat::loadBeF64(src + 8));
      out[i].im = FiniteFloat(plat::loadBeF64(src));
    }
  } else {
    for (std::size_t i = 0; i < n; ++i, src += 16) {
      out[i].re = FiniteFloat(plat::loadLeF64(src + 8));
      out[i].im = FiniteFloat(plat::loadLeF64(src));
    }
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
    if (h.number) AppendDouble(params, "SW", *h.number);
  } else if (h.key == "x_points") {
    // A count beyond what a record can hold is not taken: the data read then fails cleanly.
    const auto points = h.number ? TruncToInt32(*h.number) : std::nullopt;
    if (points && *points >= 0 && static_cast<std::uint32_t>(*points) <= CSpcData::kMaxPoints) {
      AppendLong(params, "SI", *points);
      AppendLong(params, "TD", 2 * *points);
    }
  } else if (h.key == "x_freq") {
    if (h.number) {
      AppendDouble(params, "SF", *h.number);
      AppendDouble(params, "SFO1", *h.number);
    }
  } else if (h.key == "temp") {
    const auto t = h.number ? TruncToInt32(*h.number) : std::nullopt;
    if (t && *t <= INT32_MAX - 273) AppendLong(params, "TE", *t + 273);
  } else if (h.key == "solvent") {
    if (h.text) AppendText(params, "SOLVENT", text);
  } else if (h.key == "instrument") {
    if (h.text) AppendText(params, "INSTRUM", text);
  } else if (h.key == "author") {
    if (h.text) AppendText(params, "OWNER", text);
  } else if (h.key == "x_domain") {
    if (h.text) AppendText(params, "NUCLEUS", text);
  } else if (h.key == "title") {
    if (h.text) AppendText(params, "TITLE", text);
  } else if (h.key == "endian") {
    state.bigEndian = text.find("BIG") != std::string_view::npos;
  } else if (h.key == "x_start") {
    data->nDomain = line.find("[ppm]") != std::string_view::npos ? 1 : 0;
  } else if (h.key == "x_offset") {
    if (h.number) AppendDouble(params, "OFFSET", *h.number);
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
  if (header.m_dwAttributes == kOrvAttrInvalid || header.IsFolder()) return false;

  data->nState = 1;
  data->nDomain = 0;
  data->nAcqCode = 1;
  CSpcParamList& params = data->params;
  AppendLong(params, "AQ_mod", 1);

  DeltaState state;
  std::string_view line;
  while (header.ReadLine(&line)) ApplyHeaderLine(line, data, state);
  AppendLong(params, "OP", params.GetValue("SI").GetLong() / 2);
  data->strName = GetPathTitle(path);

  // Without a point count there is nothing to read.
  if (!params.HasParam("TD")) return false;
  const std::int32_t td = params.GetValue("TD").GetLong();
  if (td < 0 || static_cast<std::uint32_t>(td / 2) > CSpcData::kMaxPoints) return false;
  const std::size_t n = static_cast<std::size_t>(td / 2);

  COrvFile bin(dataPath);
  if (bin.m_dwAttributes == kOrvAttrInvalid || bin.IsFolder()) return false;
  if (static_cast<std::uint64_t>(bin.m_nSize) < static_cast<std::uint64_t>(td) * 8) return false;

  const std::size_t padded = static_cast<std::size_t>(PowerOfTwoAtLeast(static_cast<std::int64_t>(n)));
  std::vector<CSpcPoint>& points = data->data[data->nDomain == 1 ? 1 : 0];
  points.insert(points.begin(), padded, CSpcPoint{});
  if (n > 0) DecodeDoubles(bin.m_pView, n, state.bigEndian, points.data());
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertDelta(std::uint32_t index) {
  return std::make_unique<CNmrConvertDelta>(index);
}
