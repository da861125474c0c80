#include "spectrum/convert/galactic.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/base/bytecursor.h"
#include "platform/base/bytes.h"
#include "platform/base/file.h"
#include "platform/base/numtext.h"
#include "platform/oleauto/oleauto.h"
#include "spectrum/data/spcprocess.h"

namespace ole = plat::ole;

namespace {

constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kSubHeaderSize = 32;
// Y data follow the main header and one subfile header; the old format's 256-byte header
// already ends with its first subfile header.
constexpr std::size_t kNewDataOffset = kHeaderSize + kSubHeaderSize;
constexpr std::size_t kOldDataOffset = 256;
constexpr std::size_t kNewMemoOffset = 88;
constexpr std::size_t kOldMemoOffset = 64;
constexpr std::size_t kMemoSize = 130;
constexpr std::size_t kSourceOffset = 45;
constexpr std::size_t kSourceSize = 9;

constexpr char kNewVersion = 'K';
constexpr char kOldVersion = 'M';
// An exponent of 128 or more marks IEEE float Y data.
constexpr std::int32_t kFloatExponent = 128;
constexpr std::int32_t kNmrExponent = 32;
constexpr std::uint8_t kTechniqueNmr = 10;
constexpr std::uint8_t kTechniqueIr = 4;

// X-units codes.
constexpr std::uint8_t kXWavenumber = 1;
constexpr std::uint8_t kXSeconds = 4;
constexpr std::uint8_t kXMass = 9;
constexpr std::uint8_t kXPpm = 10;
constexpr std::uint8_t kXRaman = 13;

// Notes the reason (when asked for one) and gives false.
bool Fail(SpcFailure* why, SpcFailure failure) {
  if (why) *why = std::move(failure);
  return false;
}

// A value read from a file that is not a finite number counts as 0, so garbage never puts NaN
// or infinity into a record.
float Finite(double v) {
  return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max() ? static_cast<float>(v) : 0.0f;
}

std::uint32_t PowerOfTwoAtLeast(std::uint32_t n) {
  std::uint32_t p = 1;
  while (p < n) p <<= 1;
  return p;
}

// ---- Main header ----

struct SpcHeader {
  bool oldFormat = false;
  std::uint8_t flags = 0;
  std::int32_t exponent = 0;
  std::int64_t points = -1;  // -1: not a usable count
  double first = 0.0;
  double last = 0.0;
  std::uint8_t xtype = 0;
  ole::DateParts date;
  bool hasDate = false;
  std::string title;
};

// The main header, read through a cursor over the file; false (with the reason) when it is not
// all there or names no version of the format.
bool ParseHeader(plat::ByteCursor& file, SpcHeader* h, SpcFailure* why) {
  plat::ByteCursor b = file.sub(kHeaderSize);
  h->flags = b.u8();
  const auto version = static_cast<char>(b.u8());
  if (!b) return Fail(why, SpcFailure::CutShort("main header", file));
  if (version != kNewVersion && version != kOldVersion)
    return Fail(why, SpcFailure::At("version byte is neither 'K' nor 'M'", 1));
  h->oldFormat = version == kOldVersion;
  if (!h->oldFormat) {
    b.skip(1);  // experiment type
    h->exponent = b.u8();
    h->points = b.i32le();
    h->first = b.f64le();
    h->last = b.f64le();
    b.skip(4);  // subfile count
    h->xtype = b.u8();
    b.skip(3);  // y and z units, posting disposition
    const std::uint32_t d = b.u32le();
    h->date.minute = static_cast<int>(d & 63);
    h->date.hour = static_cast<int>(d >> 6 & 31);
    h->date.day = static_cast<int>(d >> 11 & 31);
    h->date.month = static_cast<int>(d >> 16 & 15);
    h->date.year = static_cast<int>(d >> 20);
    b.seek(kNewMemoOffset);
  } else {
    h->exponent = b.i16le();
    const float n = b.f32le();
    h->points = std::isfinite(n) && n >= 0.0f && n <= static_cast<float>(CSpcData::kMaxPoints)
                    ? static_cast<std::int64_t>(n)
                    : -1;
    h->first = b.f32le();
    h->last = b.f32le();
    h->xtype = b.u8();
    b.skip(1);  // y units
    h->date.year = b.u16le();
    h->date.month = b.u8();
    h->date.day = b.u8();
    h->date.hour = b.u8();
    h->date.minute = b.u8();
    b.seek(kOldMemoOffset);
  }
  h->title = std::string(b.text(kMemoSize));
  if (h->points > CSpcData::kMaxPoints) h->points = -1;
  if (!std::isfinite(h->first)) h->first = 0.0;
  if (!std::isfinite(h->last)) h->last = 0.0;
  h->date.second = 1;
  return true;
}

std::size_t DataOffset(const SpcHeader& h) { return h.oldFormat ? kOldDataOffset : kNewDataOffset; }

// ---- Parameters ----

// Old-format x values are floats and keep that type.
void AppendX(CSpcData* data, const char* name, double v, bool oldFormat) {
  if (oldFormat) {
    data->params.Append(name, static_cast<float>(v));
  } else {
    data->params.Append(name, v);
  }
}

void AppendDate(CSpcData* data, const SpcHeader& h) {
  // A zeroed or damaged date field describes no day: no DATE rather than a made-up one.
  double date = 0.0;
  if (!ole::dateFromParts(h.date, &date)) return;
  data->params.AppendDate("DATE", date);
}

// ---- Y data ----

// One 32-bit Y word: a float when the exponent says so, otherwise a scaled integer (old files
// store the two 16-bit halves the other way round).
float DecodeWord(std::uint32_t word, std::int32_t exponent, bool oldFormat) {
  if (exponent >= kFloatExponent) {
    float f;
    std::memcpy(&f, &word, sizeof f);
    return Finite(f);
  }
  if (oldFormat) word = word << 16 | word >> 16;
  return Finite(std::ldexp(static_cast<double>(static_cast<std::int32_t>(word)), exponent - 32));
}

// One 16-bit Y value, scaled by the exponent.
float ShortWord(std::int16_t word, std::int32_t exponent) { return Finite(std::ldexp(word, exponent - 16)); }

bool ReadIrData(plat::ByteCursor& file, const SpcHeader& h, CSpcData* data, SpcFailure* why) {
  const auto n = static_cast<std::size_t>(h.points);
  const bool shortWords = (h.flags & 1) != 0 && h.exponent < kFloatExponent;
  file.seek(DataOffset(h));
  plat::ByteCursor y = file.sub(std::uint64_t{n} * (shortWords ? 2 : 4));
  if (!file) return Fail(why, SpcFailure::CutShort("Y data", file));
  std::vector<CSpcPoint>& points = data->spectrum();
  points.assign(n, CSpcPoint{});
  for (CSpcPoint& p : points) {
    p.re = shortWords ? ShortWord(y.i16le(), h.exponent) : DecodeWord(y.u32le(), h.exponent, h.oldFormat);
  }
  return true;
}

// The "KEY=value" log after the NMR data.
void ReadNmrLog(COrvFile& file, std::size_t at, CSpcData* data) {
  file.SetPosition(static_cast<std::int64_t>(at));
  std::string_view line;
  while (file.ReadLine(&line) && data->params.size() < CSpcData::kMaxElements) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0) continue;  // no key: nothing to name a value by
    const std::string_view key = line.substr(0, eq);
    // The value starts after the run of "=" and ends at the line end.
    const std::size_t start = std::min(line.find_first_not_of('=', eq), line.size());
    std::string_view value = line.substr(start);
    value = value.substr(0, value.find_first_of("\r\n"));
    double number = 0.0;
    const bool isNumber = plat::parseDoublePrefix(value, &number) > 0 && std::isfinite(number);

    if (key == "SW_HZ") {
      if (isNumber) data->params.Append("SW", number);
    } else if (key == "NUCFREQ") {
      if (isNumber) {
        data->params.Append("SF", number);
        data->params.Append("SFO1", number);
      }
    } else if (key == "DETMODE") {
      CVariant mode;
      if (value == "SIM") {
        mode.SetLong(2);
        data->params.SetParam("AQ_mod", mode);
      } else if (value == "SEQ") {
        mode.SetLong(1);
        data->params.SetParam("AQ_mod", mode);
      }
    } else if (key == "SCANS") {
      if (isNumber && number >= std::numeric_limits<std::int32_t>::min() &&
          number <= std::numeric_limits<std::int32_t>::max()) {
        data->params.Append("NS", static_cast<std::int32_t>(number));
        data->params.Append("NSC", static_cast<std::int32_t>(number));
      }
    } else {
      data->params.Append(key, value);
    }
  }
}

bool ReadNmrData(COrvFile& file, const SpcHeader& h, CSpcData* data, SpcFailure* why) {
  const auto n = static_cast<std::uint32_t>(h.points);
  const bool fid = h.xtype == kXSeconds;
  data->nDomain = fid ? 0 : 1;

  const std::uint32_t size = PowerOfTwoAtLeast(n);
  AppendX(data, "FIRSTX", h.first, h.oldFormat);
  AppendX(data, "LASTX", h.last, h.oldFormat);
  data->params.Append("NPOINTS", static_cast<std::int32_t>(n));
  data->params.Append("XUNITS", h.xtype == kXPpm ? "PPM" : "HERTZ");
  data->params.Append("SI", static_cast<std::int32_t>(size));
  data->params.Append("TD", static_cast<std::int32_t>(2 * n));

  // The arrays hold the n points the header gives, whatever the padded size: that is how files
  // are written, also when n is not a power of two. Files of 16-bit Y data (flag bit 0) hold
  // both arrays as 16-bit integers.
  const bool shortWords = (h.flags & 1) != 0 && h.exponent < kFloatExponent;
  const std::uint64_t width = shortWords ? 2 : 4;
  plat::ByteCursor c(file.Bytes());
  c.seek(DataOffset(h));
  plat::ByteCursor reals = c.sub(width * n);
  if (!c) return Fail(why, SpcFailure::CutShort("real parts", c));
  std::vector<CSpcPoint>& points = data->data[data->nDomain];
  points.assign(size, CSpcPoint{});
  for (std::uint32_t i = 0; i < n; ++i)
    points[i].re = shortWords ? ShortWord(reals.i16le(), h.exponent) : DecodeWord(reals.u32le(), h.exponent, h.oldFormat);

  // The imaginary parts follow a second subfile header; the log follows them.
  c.skip(kSubHeaderSize);
  if (c.has(width * n)) {
    for (std::uint32_t i = 0; i < n; ++i) points[i].im = shortWords ? ShortWord(c.i16le(), h.exponent) : Finite(c.f32le());
    ReadNmrLog(file, c.offset(), data);
  }

  if (h.xtype == kXPpm) {
    AppendX(data, "OFFSET", h.first, h.oldFormat);
  } else {
    AppendX(data, "OF", h.first, h.oldFormat);
  }
  return true;
}

// ---- Writing ----

std::string ParamText(const CSpcData& data, std::string_view name) { return data.params.GetValue(name).GetString(); }

// The log is line based: a value must not end its line early.
std::string LogText(const CSpcData& data, std::string_view name) {
  std::string text = ParamText(data, name);
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

void PutField(std::string& header, std::size_t offset, std::size_t size, const std::string& text) {
  // One byte of the field stays 0: the field is always terminated.
  std::memcpy(&header[offset], text.data(), std::min(text.size(), size - 1));
}

std::uint32_t PackedDate(const CSpcData& data) {
  if (!data.params.HasParam("DATE")) return 0;
  const CDateTime when = data.params.GetValue("DATE").GetDate();
  ole::DateParts p;
  if (!when.valid || !ole::partsFromDate(when.date, &p)) return 0;
  return static_cast<std::uint32_t>(p.minute) | static_cast<std::uint32_t>(p.hour) << 6 |
         static_cast<std::uint32_t>(p.day) << 11 | static_cast<std::uint32_t>(p.month) << 16 |
         static_cast<std::uint32_t>(p.year) << 20;
}

std::string SubHeader(std::int32_t exponent) {
  std::string sub(kSubHeaderSize, '\0');
  sub[1] = static_cast<char>(exponent);
  return sub;
}

// The smallest exponent (from 32 up) at which every value fits a 32-bit integer: values past
// the integer range are scaled rather than wrapped.
std::int32_t IntegerExponent(const std::vector<double>& values) {
  double largest = 0.0;
  for (double v : values)
    if (std::isfinite(v)) largest = std::max(largest, std::fabs(v));
  std::int32_t e = kNmrExponent;
  while (e < kFloatExponent - 1 && std::ldexp(largest, kNmrExponent - e) >= 2147483647.0) ++e;
  return e;
}

std::int32_t ScaledInteger(double v, std::int32_t exponent) {
  if (!std::isfinite(v)) return 0;
  const double scaled = std::trunc(std::ldexp(v, kNmrExponent - exponent));
  return static_cast<std::int32_t>(std::clamp(scaled, -2147483648.0, 2147483647.0));
}

std::string NmrLog(const CSpcProcess& process, bool fid) {
  const CSpcData& data = *process.m_pData;
  const double sw = process.m_dSW;
  const double freq = process.m_dFreq;
  auto f = [](double v) { return plat::formatDouble(std::isfinite(v) ? v : 0.0, 'f', 6); };
  const std::int32_t scans = data.params.GetValue("NSC").GetLong();
  std::string log;
  log += "INSTRUM=" + LogText(data, "INSTRUM") + "\n";
  log += "SOLVENT=" + LogText(data, "SOLVENT") + "\n";
  log += "NUCLEUS=" + LogText(data, "NUCLEUS") + "\n";
  // SEQ reads back as acquisition mode 1, SIM as 2; the log names no other mode.
  log += std::string("DETMODE=") + (process.m_nAqMode == 1 ? "SEQ" : "SIM") + "\n";
  log += "NUCFREQ=" + f(freq) + "\n";
  log += "SW_HZ=" + f(sw) + "\n";
  log += "DWELL=" + f(sw != 0.0 ? 0.5 / sw : 0.0) + "\n";
  log += "DELAY=" + f(data.params.GetValue("DE").GetDouble()) + "\n";
  log += "ACQTIME=" + f(sw != 0.0 ? (process.m_nTD / 2) / sw : 0.0) + "\n";
  log += "SCANS=" + plat::formatUInt(static_cast<std::uint32_t>(std::max(scans, 0))) + "\n";
  log += "SW_PPM=" + f(freq != 0.0 ? sw / freq : 0.0) + "\n";
  log += std::string("FID=") + (fid ? "TRUE" : "FALSE") + "\n";
  log += "NMREND=NMREND\n";
  return log;
}

}  // namespace

bool CGalactic::Detect(const COrvFile* file, GalacticMode mode) {
  if (!file || !file->HasView()) return false;
  plat::ByteCursor c(file->Bytes());
  SpcHeader h;
  if (!ParseHeader(c, &h, nullptr)) return false;
  const std::uint8_t code = h.xtype;
  switch (mode) {
    case GalacticMode::Nmr: return code == kXSeconds || code == kXPpm;
    case GalacticMode::Mass: return code == kXMass;
    case GalacticMode::Ir: return code == kXRaman || code == kXWavenumber;
  }
  return false;
}

bool CGalactic::Read(std::string_view path, CSpcData* data, std::int32_t, GalacticMode mode, SpcFailure* why) {
  if (!data || (mode != GalacticMode::Nmr && mode != GalacticMode::Ir)) return false;
  COrvFile file(path);
  plat::ByteCursor c(file.Bytes());
  SpcHeader h;
  if (!ParseHeader(c, &h, why)) return false;
  if (h.points < 0) return Fail(why, SpcFailure::At("point count is no count a record can hold", 4));

  data->nState = 1;
  data->nAcqCode = 1;
  data->params.Append("TITLE", h.title);
  AppendDate(data, h);
  data->strName = GetPathTitle(path);

  if (mode == GalacticMode::Ir) {
    data->nDomain = 1;
    AppendX(data, "FIRSTX", h.first, h.oldFormat);
    AppendX(data, "LASTX", h.last, h.oldFormat);
    data->params.Append("NPOINTS", static_cast<std::int32_t>(h.points));
    return ReadIrData(c, h, data, why);
  }
  return ReadNmrData(file, h, data, why);
}

bool CMassConvertGalactic::Read(std::string_view path, CSpcData* data, std::int32_t) {
  if (!data) return false;
  COrvFile file(path);
  plat::ByteCursor c(file.Bytes());
  SpcHeader h;
  if (!ParseHeader(c, &h, &m_failure)) return false;
  plat::ByteCursor sub = c.sub(kSubHeaderSize);
  sub.skip(16);  // flags, exponent, index, start and end time, noise
  const std::int32_t n = sub.i32le();
  if (!c) return Fail(SpcFailure::CutShort("subfile header", c));

  data->nDomain = 1;
  AppendDate(data, h);
  if (n < 0) return Fail(SpcFailure::At("negative peak count", kHeaderSize + 16));
  // Each peak takes a 4-byte mass and a 2-byte intensity.
  plat::ByteCursor masses = c.sub(4 * std::uint64_t(n));
  plat::ByteCursor intensities = c.sub(2 * std::uint64_t(n));
  if (!c) return Fail(SpcFailure::CutShort("peak list", c));
  SetNameFromPath(data, path);

  CMassScan scan;
  scan.fIonCurrent = 100.0f;
  scan.peaks.reserve(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) {
    const float mass = masses.f32le();
    const std::int16_t intensity = intensities.i16le();
    if (!std::isfinite(mass)) continue;  // a peak without a mass cannot be placed
    scan.peaks.push_back(CSpcPoint{static_cast<float>(intensity), mass});
  }
  std::stable_sort(scan.peaks.begin(), scan.peaks.end(),
                   [](const CSpcPoint& a, const CSpcPoint& b) { return a.im < b.im; });
  data->scans.push_back(std::move(scan));
  return true;
}

bool CGalactic::Write(std::string_view path, CSpcProcess* process, std::int32_t, std::int32_t) {
  if (!process || !process->m_pData) return false;
  const CSpcData& data = *process->m_pData;
  const bool nmr = m_writeMode == GalacticMode::Nmr;
  const bool fid = nmr && data.nDomain == 0;
  // TD / 2 or SI, never more than the record holds: the sizes may claim points it has not.
  const std::int64_t n = std::min<std::int64_t>(fid ? process->m_nTD / 2 : process->m_nSI, process->m_nCur);
  if (n <= 0) return false;
  const auto count = static_cast<std::int32_t>(n);

  std::vector<double> reals(static_cast<std::size_t>(n)), imags(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < count; ++i) {
    reals[static_cast<std::size_t>(i)] = process->GetReal(i);
    imags[static_cast<std::size_t>(i)] = process->GetImag(i);
  }

  std::string header(kHeaderSize, '\0');
  header[1] = kNewVersion;
  std::int32_t exponent = kFloatExponent;
  double first = 0.0, last = 0.0;
  if (nmr) {
    exponent = IntegerExponent(reals);
    header[2] = static_cast<char>(kTechniqueNmr);
    header[28] = static_cast<char>(fid ? kXSeconds : kXPpm);
    // The x range in the unit the header names: the FID's points' times in seconds, or ppm.
    const auto unit = fid ? &CSpcProcess::PointToTime : &CSpcProcess::PointToPpm;
    first = (process->*unit)(0);
    last = (process->*unit)(count - 1);
  } else {
    header[2] = static_cast<char>(kTechniqueIr);
    header[28] = static_cast<char>(kXWavenumber);
    first = process->PointToX(0);
    last = process->PointToX(count - 1);
  }
  header[3] = static_cast<char>(exponent);
  plat::storeLe32(&header[4], static_cast<std::uint32_t>(count));
  plat::storeLeF64(&header[8], first);
  plat::storeLeF64(&header[16], last);
  plat::storeLe32(&header[24], 1);  // one subfile
  plat::storeLe32(&header[32], PackedDate(data));
  PutField(header, kSourceOffset, kSourceSize, ParamText(data, "INSTRUM"));
  PutField(header, kNewMemoOffset, kMemoSize, ParamText(data, "TITLE"));

  std::string out = header + SubHeader(exponent);
  out.reserve(out.size() + 8 * reals.size() + kSubHeaderSize + 512);
  if (nmr) {
    for (double v : reals) plat::appendLe32(out, static_cast<std::uint32_t>(ScaledInteger(v, exponent)));
    out += SubHeader(exponent);
    for (double v : imags) plat::appendLeF32(out, Finite(v));
    out += NmrLog(*process, fid);
  } else {
    for (double v : reals) plat::appendLeF32(out, Finite(v));
  }
  return plat::writeFileAtomic(std::string(path), out);
}

std::unique_ptr<CSpcConvert> CreateNmrConvertGalactic(std::uint32_t index) {
  return std::make_unique<CNmrConvertGalactic>(index);
}
std::unique_ptr<CSpcConvert> CreateIrConvertGalactic(std::uint32_t index) {
  return std::make_unique<CIrConvertGalactic>(index);
}
std::unique_ptr<CSpcConvert> CreateMassConvertGalactic(std::uint32_t index) {
  return std::make_unique<CMassConvertGalactic>(index);
}
