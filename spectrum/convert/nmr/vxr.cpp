#include "spectrum/convert/nmr/vxr.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/base/bytecursor.h"
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

}  // namespace

bool ReadVxrKeys(std::string_view bytes, std::size_t offset, CSpcParamList* params) {
  plat::ByteCursor in(bytes);
  if (!in.seek(offset)) return false;
  while (in.has(3)) {
    if (in.peek(3) == "END") return true;
    if (!in.has(kVxrRecordSize)) return false;
    std::string_view name = in.bytes(3);
    const char type = static_cast<char>(in.u8());
    const std::uint32_t value = in.u32le();
    if (name[2] == ' ') name = name.substr(0, 2);
    name = name.substr(0, name.find('\0'));  // a name is text: it ends at a zero byte
    if (name.empty()) continue;
    switch (type) {
      case 'B':
      case 'L': params->Append(name, static_cast<std::int32_t>(value)); break;
      case 'I': params->Append(name, static_cast<std::int16_t>(value & 0xFFFF)); break;
      case 'R': params->Append(name, std::bit_cast<float>(value)); break;
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
  if (double date = 0.0; GetFileDate(path, &date)) data->params.AppendDate("DATE", date);
  data->nState = 1;
  data->nDomain = 0;
  data->nAcqCode = 1;
  data->params.Append("AQ_mod", 1);

  COrvFile file(path);
  const std::string_view bytes = file.Bytes();
  ReadVxrKeys(bytes, kVxrFirstKeys, &data->params);
  ReadVxrKeys(bytes, kVxrSecondKeys, &data->params);

  // Without TD the file names no data to read.
  if (!data->params.HasParam("TD")) return Fail(SpcFailure::At("no TD among the parameter records", kVxrFirstKeys));
  const std::int32_t td = data->params.GetValue("TD").GetLong();
  if (td < 0 || static_cast<std::uint32_t>(td / 2) > CSpcData::kMaxPoints)
    return Fail(SpcFailure::At("TD is no point count a record can hold"));
  const std::size_t n = static_cast<std::size_t>(td / 2);
  plat::ByteCursor in(bytes);
  in.seek(kVxrDataOffset);
  plat::ByteCursor pairs = in.sub(std::uint64_t{n} * 8);
  if (!in) return Fail(SpcFailure::CutShort("TD / 2 points", in));

  const std::size_t padded = static_cast<std::size_t>(PowerOfTwoAtLeast(static_cast<std::int64_t>(n)));
  std::vector<CSpcPoint>& points = data->fid();
  points.insert(points.begin(), padded, CSpcPoint{});
  // The second integer of a pair is the real part.
  for (std::size_t i = 0; i < n; ++i) {
    points[i].im = static_cast<float>(pairs.i32le());
    points[i].re = static_cast<float>(pairs.i32le());
  }
  return true;
}

// ---- Aspect ----

namespace {

constexpr std::size_t kAspectHeaderSize = 555;
constexpr std::uint64_t kAspectDataOffset = 768;
constexpr std::int32_t kAspectMagic = 0x4784F5;
constexpr std::size_t kMaxTextChars = 260;
constexpr std::uint8_t kLayoutBMarker = 0x60;

// Header fields by byte offset: 24-bit words, decimals (one word) and reals (two words).
enum : std::size_t {
  kOwner = 36, kTitle = 48, kSize = 120, kNc = 123, kNsc = 126, kTd = 129, kDw = 132, kDs = 156, kSw = 159,
  kAqMod = 165, kO1 = 171, kLb = 189, kRd = 201, kPw = 204, kDe = 207, kNs = 210, kSf = 231, kDp = 243,
  kTe = 255, kRg = 264, kLayoutMarker = 285, kDelays = 327, kLoops = 357, kPulses = 387,
};
constexpr std::size_t kOwnerBytes = 3;
constexpr std::size_t kTitleChars = 72;
constexpr std::size_t kArrayLength = 10;

// Two's complement of the low bits of value.
std::int64_t SignExtend(std::uint64_t value, int bits) {
  const std::uint64_t sign = std::uint64_t(1) << (bits - 1);
  return static_cast<std::int64_t>(value ^ sign) - static_cast<std::int64_t>(sign);
}

int Bcd(std::uint8_t b) { return (b & 15) + (b >> 4) * 10; }

// Header fields at their offsets.
std::int32_t WordAt(const plat::ByteCursor& h, std::size_t offset) {
  plat::ByteCursor f = h.field(offset);
  return ReadAspectWord(f);
}
double DecimalAt(const plat::ByteCursor& h, std::size_t offset) {
  plat::ByteCursor f = h.field(offset);
  return ReadAspectDecimal(f);
}
double RealAt(const plat::ByteCursor& h, std::size_t offset) {
  plat::ByteCursor f = h.field(offset);
  return ReadAspectReal48(f);
}

// Where the fields of the two header layouts differ (the date as BCD bytes).
struct AspectLayout {
  std::size_t offsetReal, day, month, year, hour, minute, second;
  bool hasArrays;
};
constexpr AspectLayout kLayoutA{471, 435, 436, 437, 438, 439, 440, true};
constexpr AspectLayout kLayoutB{543, 510, 511, 512, 288, 289, 290, false};

std::optional<double> HeaderDate(const plat::ByteCursor& h, const AspectLayout& layout) {
  auto bcd = [&](std::size_t offset) { return Bcd(h.field(offset).u8()); };
  plat::ole::DateParts parts;
  const std::uint8_t year = h.field(layout.year).u8();
  parts.year = (year < 0x80 ? 2000 : 1900) + Bcd(year);
  parts.month = bcd(layout.month);
  parts.day = bcd(layout.day);
  parts.hour = bcd(layout.hour);
  parts.minute = bcd(layout.minute);
  parts.second = bcd(layout.second);
  double date = 0.0;
  if (!plat::ole::dateFromParts(parts, &date)) return std::nullopt;
  return date;
}

void AppendHeaderParams(const plat::ByteCursor& h, CSpcParamList& p) {
  const std::int32_t aqMod = WordAt(h, kAqMod);
  const double sw = RealAt(h, kSw);
  const double sf = RealAt(h, kSf);
  const double o1 = RealAt(h, kO1);
  p.Append("AQ_mod", aqMod == 0 ? 2 : aqMod);
  p.Append("LB", RealAt(h, kLb));
  p.Append("TE", WordAt(h, kTe));
  p.Append("SF", sf);
  p.Append("PW", static_cast<float>(DecimalAt(h, kPw)));
  p.Append("RD", static_cast<float>(DecimalAt(h, kRd) * 1e-6));
  p.Append("DE", static_cast<float>(DecimalAt(h, kDe)));
  p.Append("NS", WordAt(h, kNs));
  p.Append("RG", WordAt(h, kRg) & 0xFF);
  p.Append("DS", WordAt(h, kDs));
  p.Append("DP", WordAt(h, kDp));
  p.Append("NSC", WordAt(h, kNsc));
  p.Append("NC", WordAt(h, kNc));
  p.Append("NE", WordAt(h, kNs));
  p.Append("DW", RealAt(h, kDw) * 1e-6);
  plat::ByteCursor owner = h.field(kOwner);
  p.Append("OWNER", ReadAspectSixbitText(owner, kOwnerBytes));
  plat::ByteCursor title = h.field(kTitle);
  p.Append("TITLE", ReadAspectText(title, kTitleChars));
  p.Append("SI", WordAt(h, kSize) / 2);
  p.Append("TD", WordAt(h, kTd));
  p.Append("SW", sw);
  p.Append("SFO1", FiniteDouble(o1 * 1e-6 + sf));
  p.Append("O1", o1);
}

void AppendLayoutParams(const plat::ByteCursor& h, CSpcParamList& p) {
  const AspectLayout& layout = h.field(kLayoutMarker).u8() == kLayoutBMarker ? kLayoutB : kLayoutA;
  p.Append("OF", FiniteDouble(RealAt(h, layout.offsetReal) + RealAt(h, kSw)));
  p.Append("OP", 0);
  if (auto date = HeaderDate(h, layout)) p.AppendDate("DATE", *date);
  if (!layout.hasArrays) return;
  float d[kArrayLength], s[kArrayLength], pulses[kArrayLength];
  plat::ByteCursor delays = h.field(kDelays), loops = h.field(kLoops), pulseWords = h.field(kPulses);
  for (std::size_t i = 0; i < kArrayLength; ++i) {
    d[i] = static_cast<float>(ReadAspectDecimal(delays) * 1e-6);
    s[i] = static_cast<float>(ReadAspectWord(loops));
    pulses[i] = static_cast<float>(ReadAspectDecimal(pulseWords));
  }
  p.Append("D", CVariant(d, kArrayLength));
  p.Append("S", CVariant(s, kArrayLength));
  p.Append("P", CVariant(pulses, kArrayLength));
}

}  // namespace

std::int32_t ReadAspectWord(plat::ByteCursor& in) { return static_cast<std::int32_t>(SignExtend(in.u24be(), 24)); }

double ReadAspectDecimal(plat::ByteCursor& in) {
  const std::uint32_t raw = in.u24be();
  const double m = static_cast<double>(SignExtend(raw >> 3, 21));
  const int k = static_cast<int>(raw & 7);
  if (k == 0) return m / 10.0;
  double scale = 1.0;
  for (int i = 1; i < k; ++i) scale *= 10.0;
  return m * scale;
}

double ReadAspectReal48(plat::ByteCursor& in) {
  const std::uint32_t w0 = in.u24be(), w1 = in.u24be();
  const std::int64_t fraction = SignExtend(std::uint64_t(w0) << 13 | (w1 & 0x1FFF), 37);
  const std::uint32_t code = (w1 >> 13) & 0x7FF;
  const int exponent = code > 1024 ? static_cast<int>(code) - 2048 : static_cast<int>(code);
  // Scaling the exact fraction gives the stored value for any mantissa, normalised or not
  // (zero included); only the top exponent can overflow a double.
  return FiniteDouble(std::ldexp(static_cast<double>(fraction), exponent - 36));
}

std::string ReadAspectSixbitText(plat::ByteCursor& in, std::size_t n) {
  // Only whole words of the field are read.
  const std::size_t words = std::min(n / 3, kMaxTextChars / 4);
  std::string text;
  for (std::size_t w = 0; w < words; ++w) {
    const std::uint32_t word = in.u24be();
    for (int j = 0; j < 4; ++j) {
      const std::uint32_t code = (word >> (18 - 6 * j)) & 63;
      text.push_back(static_cast<char>(code == 0 ? ' ' : code <= 30 ? 64 + code : code));
    }
  }
  return text;
}

std::string ReadAspectText(plat::ByteCursor& in, std::size_t n) {
  // One character a byte: the field holds n characters, never more.
  const std::string_view field = in.bytes(std::min(n, kMaxTextChars));
  std::string text;
  for (const char b : field) {
    const char c = static_cast<char>(b & 0x7F);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

CNmrConvertAspect::CNmrConvertAspect(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

bool CNmrConvertAspect::Detect(COrvFile* file) {
  if (!file) return false;
  plat::ByteCursor in(file->Bytes());
  return in.has(kAspectHeaderSize) && ReadAspectWord(in) == kAspectMagic;
}

bool CNmrConvertAspect::Read(std::string_view path, CSpcData* data, std::int32_t) {
  COrvFile file(path);
  plat::ByteCursor in(file.Bytes());
  const plat::ByteCursor h = in.sub(kAspectHeaderSize);
  if (!in) return Fail(SpcFailure::CutShort("header", in));

  data->nState = 1;
  data->nAcqCode = 2;
  AppendHeaderParams(h, data->params);
  data->strName = GetPathTitle(path);
  data->nDomain = WordAt(h, kNc) == -1 ? 1 : 0;
  AppendLayoutParams(h, data->params);

  const std::size_t countField = data->nDomain == 1 ? kSize : kTd;
  const std::int32_t count = WordAt(h, countField);
  if (count < 0) return Fail(SpcFailure::At("negative point count", countField));
  const std::size_t n = static_cast<std::size_t>(count / 2);
  in.seek(kAspectDataOffset);
  plat::ByteCursor words = in.sub(std::uint64_t{n} * 6);
  if (!in) return Fail(SpcFailure::CutShort("points", in));

  const std::size_t padded = static_cast<std::size_t>(PowerOfTwoAtLeast(static_cast<std::int64_t>(n)));
  std::vector<CSpcPoint>& points = data->data[data->nDomain];
  points.insert(points.begin(), padded, CSpcPoint{});
  for (std::size_t i = 0; i < n; ++i) {
    points[i].re = static_cast<float>(ReadAspectWord(words));
    points[i].im = static_cast<float>(ReadAspectWord(words));
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertVarian(std::uint32_t index) {
  return std::make_unique<CNmrConvertVarian>(index);
}
std::unique_ptr<CSpcConvert> CreateNmrConvertAspect(std::uint32_t index) {
  return std::make_unique<CNmrConvertAspect>(index);
}
