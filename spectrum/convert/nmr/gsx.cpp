#include "spectrum/convert/nmr/gsx.h"

#include <cmath>
#include <vector>

#include "platform/base/bytecursor.h"
#include "platform/base/numtext.h"
#include "spectrum/convert/nmr/delta.h"
#include "spectrum/convert/nmr/vnmr.h"

using namespace nmrvendor;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool StartsWith(std::string_view line, std::string_view name) { return line.substr(0, name.size()) == name; }

// A point count as the POINT line gives it; none when it is no count a record can hold.
std::optional<std::int32_t> PointCount(const GsxParamLine& p) {
  const auto count = p.number ? TruncToInt32(*p.number) : std::nullopt;
  if (!count || *count < 0 || static_cast<std::uint32_t>(*count / 2) > CSpcData::kMaxPoints) return std::nullopt;
  return count;
}

// The first name the line starts with decides; names are tested in this order.
void ApplyParamLine(std::string_view line, CSpcData* data) {
  const GsxParamLine p = GsxParamLine::Scan(line);
  CSpcParamList& params = data->params;
  if (StartsWith(line, "FREQU")) {
    if (p.number) params.Append("SW", *p.number);
  } else if (StartsWith(line, "POINT")) {
    if (auto count = PointCount(p)) {
      params.Append("SI", *count / 2);
      params.Append("TD", *count);
    }
  } else if (StartsWith(line, "OBFRQ")) {
    if (p.number) {
      params.Append("SFO1", *p.number);
      params.Append("SF", *p.number);
    }
  } else if (StartsWith(line, "TEMP.")) {
    const auto t = p.number ? TruncToInt32(*p.number) : std::nullopt;
    if (t && *t <= INT32_MAX - 273) params.Append("TE", *t + 273);
  } else if (StartsWith(line, "SLVNT")) {
    if (p.text) params.Append("SOLVENT", *p.text);
  } else if (StartsWith(line, "instrument")) {
    if (p.text) params.Append("INSTRUM", *p.text);
  } else if (StartsWith(line, "OBNUC")) {
    if (p.text) params.Append("NUCLEUS", *p.text);
  } else if (StartsWith(line, "COMNT")) {
    if (p.text) params.Append("TITLE", *p.text);
  } else if (StartsWith(line, "x_start")) {
    data->nDomain = line.find("[ppm]") != std::string_view::npos ? 1 : 0;
  } else if (StartsWith(line, "x_offset")) {
    if (p.number) params.Append("OFFSET", *p.number);
  } else if (StartsWith(line, "creation")) {
    if (p.text) AppendParsedDate(params, "DATE", *p.text);
  }
}

}  // namespace

GsxParamLine GsxParamLine::Scan(std::string_view line) {
  GsxParamLine out;
  std::size_t i = 0;
  while (i < line.size() && !IsBlank(line[i])) ++i;
  if (i == 0) return out;  // the line starts with a blank: no first word
  const std::size_t afterWord = i;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i == afterWord || i == line.size()) return out;  // nothing after the first word
  const std::string_view rest = line.substr(i);
  double value = 0.0;
  if (plat::parseDoublePrefix(rest, &value) > 0 && std::isfinite(value)) out.number = value;
  out.text = rest.substr(0, rest.find_first_of("\r\n"));
  return out;
}

CNmrConvertGSX::CNmrConvertGSX(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

bool CNmrConvertGSX::Detect(COrvFile* file) { return file && HasHeaderExtension(file->m_strPath, ".gxp"); }

bool CNmrConvertGSX::Read(std::string_view path, CSpcData* data, std::int32_t) {
  const std::string dataPath = DataPathOf(path, ".gxd");
  COrvFile paramFile(path);
  if (paramFile.m_dwAttributes == kOrvAttrInvalid || paramFile.IsFolder())
    return Fail(SpcFailure::At("no parameter file"));

  data->nState = 1;
  data->nDomain = 0;
  data->nAcqCode = 1;
  CSpcParamList& params = data->params;
  params.Append("AQ_mod", 1);

  std::string_view line;
  while (paramFile.ReadLine(&line)) ApplyParamLine(line, data);
  params.Append("OP", params.GetValue("SI").GetLong() / 2);
  data->strName = GetPathTitle(path);

  // Without a point count there is nothing to read.
  if (!params.HasParam("TD")) return Fail(SpcFailure::At("no POINT line"));
  const std::int32_t td = params.GetValue("TD").GetLong();
  if (td < 0 || static_cast<std::uint32_t>(td / 2) > CSpcData::kMaxPoints)
    return Fail(SpcFailure::At("point count is no count a record can hold"));
  const std::size_t n = static_cast<std::size_t>(td / 2);

  const std::string gxdName = GetPathFileName(dataPath);
  COrvFile gxd(dataPath);
  if (gxd.m_dwAttributes == kOrvAttrInvalid || gxd.IsFolder()) return Fail(SpcFailure::At("no data file", -1, gxdName));
  plat::ByteCursor in(gxd.Bytes());
  plat::ByteCursor pairs = in.sub(std::uint64_t{n} * 8);
  if (!in) return Fail(SpcFailure::CutShort("complex points", in, gxdName));

  std::vector<CSpcPoint>& points = data->data[data->nDomain == 1 ? 1 : 0];
  points.insert(points.begin(), n, CSpcPoint{});
  // The second integer of a pair is the real part.
  for (std::size_t i = 0; i < n; ++i) {
    points[i].im = static_cast<float>(pairs.i32le());
    points[i].re = static_cast<float>(pairs.i32le());
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertGSX(std::uint32_t index) {
  return std::make_unique<CNmrConvertGSX>(index);
}
