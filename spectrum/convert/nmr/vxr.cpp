#include "spectrum/convert/nmr/vxr.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/base/bytes.h"
#include "platform/oleauto/oleauto.h"
#include "spectrum/convert/nmr/vnmr.h"

using namespace nmrvendor;

// ---- VXR ----

namespace {

constexpr std::string_view kVxrMarker = std::string_view("KEYSNMR").substr(0, 3);
constexpr std::int64_t kVxrMinSize = 65;
constexpr std::size_t kVxrFirstKeys = 512;
constexpr std::size_t kVxrSecondKeys = 1536;
constexpr std::uint64_t kVxrDataOffset = 2560;
constexpr std::size_t kVxrRecordSize = 8;  // 3 name bytes, a type byte, 4 value bytes

// The second integer of a pair is the real part.
void DecodeVxrPairs(const std::uint8_t* src, std::size_t n, CSpcPoint* out) {
  for (std::size_t i = 0; i < n; ++i, src += 8) {
    out[i].re = static_cast<float>(static_cast<std::int32_t>(plat::loadLe32(src + 4)));
    out[i].im = static_cast<float>(static_cast<std::int32_t>(plat::loadLe32(src)));
  }
}

}  // namespace

bool ReadVxrKeys(std::string_view bytes, std::size_t offset, CSpcParamList* params) {
  const auto* base = reinterpret_cast<const std::uint8_t*>(bytes.data());
  for (std::size_t pos = offset; pos <= bytes.size() && bytes.size() - pos >= 3; pos += kVxrRecordSize) {
    std::string_view name = bytes.substr(pos, 3);
    if (name == "END") return true;
    if (bytes.size() - pos < kVxrRecordSize) return false;
    if (name[2] == ' ') name = name.substr(0, 2);
    name = name.substr(0, name.find('\0'));  // a name is text: it ends at a zero byte
    const char type = bytes[pos + 3];
    const std::uint32_t value = plat::loadLe32(base + pos + 4);
    if (name.empty()) continue;
    const std::string key(name);
    switch (type) {
      case 'B':
      case 'L': AppendLong(*params, key.c_str(), static_cast<std::int32_t>(value)); break;
      case 'I': AppendShort(*params, key.c_str(), static_cast<std::int16_t>(value & 0xFFFF)); break;
      case 'R': AppendFloat(*params, key.c_str(), std::bit_cast<float>(value)); break;
      default: break;  // types the reader does not know are passed over
    }
  }
  return false;
}

CNmrConvertVarian::CNmrConvertVarian(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

bool CNmrConvertVarian::Detect(COrvFile* file) {
  return file && file->HasView() && file->m_nSize >= kVxrMinSize && file->Bytes().substr(0, 3) == kVxrMarker;
}

bool CNmrConvertVarian::Read(std::string_view path, CSpcData* data, std::int32_t) {
  data->strName = GetPathTitle(path);
  if (double date = 0.0; GetFileDate(path, &date)) AppendDate(data->params, "DATE", date);
  data->nState = 1;
  data->nDomain = 0;
  data->nAcqCode = 1;
  AppendLong(data->params, "AQ_mod", 1);

  COrvFile file(path);
  const std::string_view bytes = file.Bytes();
  ReadVxrKeys(bytes, kVxrFirstKeys, &data->params);
  ReadVxrKeys(bytes, kVxrSecondKeys, &data->params);

  // Without TD the file names no data to read.
  if (!data->params.HasParam("TD")) return false;
  const std::int32_t td = data->params.GetValue("TD").GetLong();
  if (td < 0 || static_cast<std::uint32_t>(td / 2) > CSpcData::kMaxPoints) return false;
  const std::size_t n = static_cast<std::size_t>(td / 2);
  if (bytes.size() < kVxrDataOffset || bytes.size() - kVxrDataOffset < n * 8) return false;

  const std::size_t padded = static_cast<std::size_t>(PowerOfTwoAtLeast(static_cast<std::int64_t>(n)));
  std::vector<CSpcPoint>& points = data->fid();
  points.insert(points.begin(), n, CSpcPoint{});
  DecodeVxrPairs(file.m_pView + kVxrDataOffset, n, points.data());
  points.insert(points.end(), padded - n, CSpcPoint{});
  return true;
}

// ---- Aspect ----

namespace {

constexpr std::size_t kAspectHeaderSize = 555;
constexpr std::uint64_t kAspectDataOffset = 768;
constexpr std::int32_t kAspectMagic = 0x4784F5;
constexpr std::size_t kMaxTextChars = 260;
constexpr std::uint8_t kLayoutBMarker = 0x60;

std::uint32_t RawWord(const std::uint8_t* p) { return std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]; }

// Two's complement of the low bits of value.
std::int64_t SignExtend(std::uint64_t value, int bits) {
  const std::uint64_t sign = std::uint64_t(1) << (bits - 1);
  return static_cast<std::int64_t>(value ^ sign) - static_cast<std::int64_t>(sign);
}

int Bcd(std::uint8_t b) { return (b & 15) + (b >> 4) * 10; }

// Where the fields of the two header layouts differ.
struct AspectLayout {
  std::size_t offsetReal, day, month, year, hour, minute, second;
  bool hasArrays;
};
constexpr AspectLayout kLayoutA{471, 435, 436, 437, 438, 439, 440, true};
constexpr AspectLayout kLayoutB{543, 510, 511, 512, 288, 289, 290, false};

std::optional<double> HeaderDate(const std::uint8_t* h, const AspectLayout& layout) {
  plat::ole::DateParts parts;
  const std::uint8_t year = h[layout.year];
  parts.year = (year < 0x80 ? 2000 : 1900) + Bcd(year);
  parts.month = Bcd(h[layout.month]);
  parts.day = Bcd(h[layout.day]);
  parts.hour = Bcd(h[layout.hour]);
  parts.minute = Bcd(h[layout.minute]);
  parts.second = Bcd(h[layout.second]);
  double date = 0.0;
  if (!plat::ole::dateFromParts(parts, &date)) return std::nullopt;
  return date;
}

void AppendArray(CSpcParamList& params, const char* name, const float (&values)[10]) {
  params.Append(CSpcParam{CVariant(values, 10), name, ""});
}

void AppendHeaderParams(const std::uint8_t* h, CSpcParamList& p) {
  const std::int32_t aqMod = ReadAspectWord(h + 165);
  const double sw = ReadAspectReal48(h + 159);
  const double sf = ReadAspectReal48(h + 231);
  const double o1 = ReadAspectReal48(h + 171);
  AppendLong(p, "AQ_mod", aqMod == 0 ? 2 : aqMod);
  AppendDouble(p, "LB", ReadAspectReal48(h + 189));
  AppendLong(p, "TE", ReadAspectWord(h + 255));
  AppendDouble(p, "SF", sf);
  AppendFloat(p, "PW", static_cast<float>(ReadAspectDecimal(h + 204)));
  AppendFloat(p, "RD", static_cast<float>(ReadAspectDecimal(h + 201) * 1e-6));
  AppendFloat(p, "DE", static_cast<float>(ReadAspectDecimal(h + 207)));
  AppendLong(p, "NS", ReadAspectWord(h + 210));
  AppendLong(p, "RG", ReadAspectWord(h + 264) & 0xFF);
  AppendLong(p, "DS", ReadAspectWord(h + 156));
  AppendLong(p, "DP", ReadAspectWord(h + 243));
  AppendLong(p, "NSC", ReadAspectWord(h + 126));
  AppendLong(p, "NC", ReadAspectWord(h + 123));
  AppendLong(p, "NE", ReadAspectWord(h + 210));
  AppendDouble(p, "DW", ReadAspectReal48(h + 132) * 1e-6);
  AppendText(p, "OWNER", ReadAspectSixbitText(h + 36, 3));
  AppendText(p, "TITLE", ReadAspectText(h + 48, 72));
  AppendLong(p, "SI", ReadAspectWord(h + 120) / 2);
  AppendLong(p, "TD", ReadAspectWord(h + 129));
  AppendDouble(p, "SW", sw);
  AppendDouble(p, "SFO1", FiniteDouble(o1 * 1e-6 + sf));
  AppendDouble(p, "O1", o1);
}

void AppendLayoutParams(const std::uint8_t* h, CSpcParamList& p) {
  const AspectLayout& layout = h[285] == kLayoutBMarker ? kLayoutB : kLayoutA;
  AppendDouble(p, "OF", FiniteDouble(ReadAspectReal48(h + layout.offsetReal) + ReadAspectReal48(h + 159)));
  AppendLong(p, "OP", 0);
  if (auto date = HeaderDate(h, layout)) AppendDate(p, "DATE", *date);
  if (!layout.hasArrays) return;
  float d[10], s[10], pulses[10];
  for (std::size_t i = 0; i < 10; ++i) {
    d[i] = static_cast<float>(ReadAspectDecimal(h + 327 + 3 * i) * 1e-6);
    s[i] = static_cast<float>(ReadAspectWord(h + 357 + 3 * i));
    pulses[i] = static_cast<float>(ReadAspectDecimal(h + 387 + 3 * i));
  }
  AppendArray(p, "D", d);
  AppendArray(p, "S", s);
  AppendArray(p, "P", pulses);
}

}  // namespace

std::int32_t ReadAspectWord(const std::uint8_t* p) { return static_cast<std::int32_t>(SignExtend(RawWord(p), 24)); }

double ReadAspectDecimal(const std::uint8_t* p) {
  const std::uint32_t raw = RawWord(p);
  const double m = static_cast<double>(SignExtend(raw >> 3, 21));
  const int k = static_cast<int>(raw & 7);
  if (k == 0) return m / 10.0;
  double scale = 1.0;
  for (int i = 1; i < k; ++i) scale *= 10.0;
  return m * scale;
}

double ReadAspectReal48(const std::uint8_t* p) {
  const std::uint32_t w0 = RawWord(p), w1 = RawWord(p + 3);
  const std::int64_t fraction = SignExtend(std::uint64_t(w0) << 13 | (w1 & 0x1FFF), 37);
  const std::uint32_t code = (w1 >> 13) & 0x7FF;
  const int exponent = code > 1024 ? static_cast<int>(code) - 2048 : static_cast<int>(code);
  // Scaling the exact fraction gives the stored value for any mantissa, normalised or not
  // (zero included); only the top exponent can overflow a double.
  return FiniteDouble(std::ldexp(static_cast<double>(fraction), exponent - 36));
}

std::string ReadAspectSixbitText(const std::uint8_t* p, std::size_t n) {
  // Only whole words of the field are read.
  const std::size_t count = std::min((n / 3) * 4, kMaxTextChars);
  std::string text;
  for (std::size_t j = 0; j < count; ++j) {
    const std::uint32_t code = (RawWord(p + 3 * (j / 4)) >> (18 - 6 * (j % 4))) & 63;
    const char c = static_cast<char>(code == 0 ? ' ' : code <= 30 ? 64 + code : code);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

std::string ReadAspectText(const std::uint8_t* p, std::size_t n) {
  // One character a byte: the field holds n characters, never more.
  const std::size_t count = std::min(n, kMaxTextChars);
  std::string text;
  for (std::size_t j = 0; j < count; ++j) {
    const char c = static_cast<char>(p[j] & 0x7F);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

CNmrConvertAspect::CNmrConvertAspect(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

bool CNmrConvertAspect::Detect(COrvFile* file) {
  return file && file->HasView() && file->m_nSize >= static_cast<std::int64_t>(kAspectHeaderSize) &&
         ReadAspectWord(file->m_pView) == kAspectMagic;
}

bool CNmrConvertAspect::Read(std::string_view path, CSpcData* data, std::int32_t) {
  COrvFile file(path);
  if (!file.HasView() || file.m_nSize < static_cast<std::int64_t>(kAspectHeaderSize)) return false;
  const std::uint8_t* h = file.m_pView;

  data->nState = 1;
  data->nAcqCode = 2;
  AppendHeaderParams(h, data->params);
  data->strName = GetPathTitle(path);
  data->nDomain = ReadAspectWord(h + 123) == -1 ? 1 : 0;
  AppendLayoutParams(h, data->params);

  const std::int32_t count = ReadAspectWord(h + (data->nDomain == 1 ? 120 : 129));
  if (count < 0) return false;  // no negative point count
  const std::size_t n = static_cast<std::size_t>(count / 2);
  const std::uint64_t size = static_cast<std::uint64_t>(file.m_nSize);
  if (size < kAspectDataOffset || size - kAspectDataOffset < n * 6) return false;

  const std::size_t padded = static_cast<std::size_t>(PowerOfTwoAtLeast(static_cast<std::int64_t>(n)));
  std::vector<CSpcPoint>& points = data->data[data->nDomain];
  points.insert(points.begin(), padded, CSpcPoint{});
  const std::uint8_t* src = h + kAspectDataOffset;
  for (std::size_t i = 0; i < n; ++i, src += 6) {
    points[i].re = static_cast<float>(ReadAspectWord(src));
    points[i].im = static_cast<float>(ReadAspectWord(src + 3));
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertVarian(std::uint32_t index) {
  return std::make_unique<CNmrConvertVarian>(index);
}
std::unique_ptr<CSpcConvert> CreateNmrConvertAspect(std::uint32_t index) {
  return std::make_unique<CNmrConvertAspect>(index);
}
