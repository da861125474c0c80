#include "spectrum/convert/nmr/winnmr.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "platform/base/bytecursor.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/numtext.h"
#include "platform/base/path.h"
#include "spectrum/data/spcprocess.h"

// Point files are copied to and from memory as they are: little-endian floats.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::uint64_t kMaxPoints = CSpcData::kMaxPoints;

// Instrument names of the ".dis" file and the names the rest of the suite reads.
const CSpcConvert::RenamePair kRenameTable[] = {
    {"OPERATOR", "OWNER"}, {"ASIZE", "SI"},   {"TDSIZE", "TD"},   {"DWELLT", "DW"},  {"FWIDTH", "FW"},
    {"VDELAY", "VD"},      {"DSCANS", "DS"},  {"SPWIDTH", "SW"},  {"AQMODE", "AQ_mod"},
    {"CRDEL", "RD"},       {"CPULSE", "PW"},  {"CDELAY", "DE"},   {"DRSTR", "DR"},   {"DREND", "MINDR"},
    {"DRSET", "MAXDR"},    {"CSPDEL", "SP"},  {"ORIGPS", "ODPS"}, {"TEMPER", "TE"},  {"RGAIN_AC", "RG"},
    {"DUR", "D"},          {"DPS", "S"},      {"PLSW", "P"},      {"DDATE", "DATE"}, {"ATIME", "TIME"},
    {"SFREQ", "SF"},       {nullptr, nullptr},
};

// Size of a regular file, or -1 when there is none.
std::int64_t RegularFileSize(const std::string& path) {
  const plat::FileInfo info = plat::fileInfo(path);
  return info.isRegular ? static_cast<std::int64_t>(std::min<std::uint64_t>(info.size, INT64_MAX)) : -1;
}

// The files of one data set: base name plus extension, found without regard to case since the
// instrument writes its names in either case.
struct DataSetFiles {
  std::string folder;
  std::string title;  // base name without folder

  std::string File(std::string_view ext) const {
    const std::string name = title + std::string(ext);
    std::string found = plat::findNoCase(folder, name);
    return found.empty() ? plat::joinPath(folder, name) : found;
  }
};

// Stores a derived value whole: an entry that holds an integer ("OFFSET= 3000") takes the
// double as it is instead of truncating it to its own type.
void StoreValue(CSpcParamList& params, std::string_view name, const CVariant& value) {
  const std::ptrdiff_t at = params.Find(name);
  if (at < 0) {
    params.Append(name, value);
  } else {
    params[static_cast<std::size_t>(at)].value = value;
  }
}

// ".dis" carries SFREQ and O1 instead of the observe frequency, and its OFFSET is the left edge
// in Hz less the sweep width.
void DeriveDisplayValues(CSpcData* data, const std::string& spectrumReal) {
  CSpcParamList& params = data->params;
  const double sf = params.GetValue("SF").GetDouble();
  const double o1 = params.GetValue("O1").GetDouble();
  const double offset = params.GetValue("OFFSET").GetDouble();
  const double sw = params.GetValue("SW").GetDouble();
  const double sfo1 = sf + o1 * 0.000001;
  CVariant v;
  v.SetDouble(sfo1);
  StoreValue(params, "SFO1", v);
  // Without a frequency no ppm offset can be formed; the axis then starts at 0.
  v.SetDouble(sfo1 != 0.0 ? (offset + sw) / sfo1 : 0.0);
  StoreValue(params, "OFFSET", v);
  v.SetLong(0);
  StoreValue(params, "OP", v);
  const std::int64_t size = RegularFileSize(spectrumReal);
  if (size >= 0) {
    v.SetLong(static_cast<std::int32_t>(std::min<std::int64_t>(size / 4, INT32_MAX)));
    StoreValue(params, "SI", v);
  }
}

void ReadTitle(const std::string& path, CSpcData* data) {
  if (RegularFileSize(path) < 0) return;
  COrvFile file(path);
  std::string_view line;
  if (!file.ReadLine(&line)) line = {};
  data->params.Append("TITLE", line.substr(0, line.find_first_of("\r\n")));
}

// Time-domain points: TD / 2 complex float pairs, padded with zeros to a power of two. Only what
// the file holds is taken, so a wrong TD never makes a vector the file cannot fill.
void ReadFid(const std::string& path, std::int64_t td, CSpcData* data) {
  const std::int64_t n = td / 2;
  if (n < 1 || static_cast<std::uint64_t>(n) > kMaxPoints) return;
  const COrvFile file(path);
  plat::ByteCursor in(file.Bytes());
  const std::size_t available = std::min<std::size_t>(static_cast<std::size_t>(n), in.remaining() / 8);
  if (available < 1) return;
  const bool complete = available == static_cast<std::size_t>(n);
  std::vector<CSpcPoint>& fid = data->fid();
  fid.insert(fid.begin(), CSpcProcess::NextPow2(static_cast<std::uint32_t>(available)), CSpcPoint{});
  for (std::size_t i = 0; i < available; ++i) {
    fid[i].re = in.f32le();
    fid[i].im = in.f32le();
  }
  if (complete) data->nDomain = 0;
}

// Processed spectrum: SI floats of real parts and, beside them, SI floats of imaginary parts.
// False when the real parts are not all there.
bool ReadSpectrum(const std::string& realPath, const std::string& imagPath, std::int64_t si, CSpcData* data) {
  if (si < 1 || static_cast<std::uint64_t>(si) > kMaxPoints) return false;
  const auto s = static_cast<std::size_t>(si);
  const COrvFile realFile(realPath);
  plat::ByteCursor reals(realFile.Bytes());
  if (!reals.has(s * 4)) return false;
  std::vector<CSpcPoint>& spectrum = data->spectrum();
  spectrum.insert(spectrum.begin(), s, CSpcPoint{});
  for (std::size_t i = 0; i < s; ++i) spectrum[i].re = reals.f32le();
  const COrvFile imagFile(imagPath);
  plat::ByteCursor imags(imagFile.Bytes());
  if (imags.has(s * 4))
    for (std::size_t i = 0; i < s; ++i) spectrum[i].im = imags.f32le();
  data->nDomain = 1;
  CVariant zero;
  zero.SetFloat(0.0f);
  StoreValue(data->params, "PH0", zero);
  StoreValue(data->params, "PH1", zero);
  return true;
}

// ---- Writing ----

void StringLine(std::string& out, std::string_view label, std::string_view text) {
  out.append(label).append("= ").append(text).append("\n");
}
void IntegerLine(std::string& out, std::string_view label, std::int64_t value) {
  StringLine(out, label, plat::formatInt(value));
}
void FloatLine(std::string& out, std::string_view label, float value) {
  StringLine(out, label, plat::formatDouble(static_cast<double>(value), 'f', 6));
}
void BracketLine(std::string& out, std::string_view label, const std::string& text) {
  StringLine(out, label, "<" + text + ">");
}

void HeaderLines(std::string& out, const CSpcParamList& params) {
  StringLine(out, "##TITLE", "Parameter file, KEDRUS        Version 2.11");
  StringLine(out, "##JCAMPDX", "5.0");
  StringLine(out, "##DATATYPE", "Parameter Values");
  StringLine(out, "##ORIGIN", "KEDRUS, Orvane International Inc.");
  StringLine(out, "##OWNER", params.GetValue("OWNER").GetString());
}

// A spectrum value as written: phased, with the baseline removed once (the curve when there is
// one, else the base level).
double WrittenValue(CSpcProcess& p, std::int32_t i, bool imaginary) {
  double v = imaginary ? p.GetSpectrumImag(i) : p.GetSpectrumReal(i);
  if (p.m_bBaseline && p.m_baseline.empty()) v -= p.GetBaseLevel();
  return v;
}

struct Extremes {
  float max = 0.0f;
  float min = 0.0f;
};

template <class Values>
Extremes ExtremesOf(const Values& values, std::size_t n) {
  Extremes e;
  if (n == 0) return e;
  e.max = e.min = values[0];
  for (std::size_t i = 1; i < n; ++i) {
    e.max = std::max(e.max, values[i]);
    e.min = std::min(e.min, values[i]);
  }
  return e;
}

std::string FloatBytes(const std::vector<float>& values) {
  return std::string(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(float));
}

}  // namespace

CNmrConvertWinNmr::CNmrConvertWinNmr(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

void CNmrConvertWinNmr::OnParameter(const std::string& label, const CVariant& value, CSpcData* data) {
  // A parameter file's TITLE names the file itself; the spectrum's title is the ".tit" file,
  // and it must stay the first TITLE so that a saved data set keeps its title.
  if (label == "TITLE") return;
  data->params.Append(label, value);
}

bool CNmrConvertWinNmr::Detect(COrvFile* file) {
  if (!file || !file->IsFolder()) return false;
  auto hasFile = [&](std::string_view pattern) {
    for (const plat::DirEntry& f : plat::findFiles(file->m_strPath, pattern))
      if (!f.isDirectory) return true;
    return false;
  };
  return hasFile("*.aqs") && hasFile("*.fqs");
}

bool CNmrConvertWinNmr::Read(std::string_view path, CSpcData* data, std::int32_t) {
  const std::string folder(plat::pathWithoutTrailingSeparator(path));
  std::vector<std::string> titles, bases;
  for (const plat::DirEntry& f : plat::findFiles(folder, "*.aqs")) {
    if (f.isDirectory) continue;
    const auto dot = f.name.rfind('.');
    titles.push_back(f.name.substr(0, dot));
    bases.push_back(plat::joinPath(folder, titles.back()));
  }
  if (bases.empty()) return Fail(SpcFailure::At("no .aqs file"));
  std::size_t chosen = 0;
  if (bases.size() > 1 && !Choose(bases, &chosen))
    return Fail(SpcFailure::At("the data set chosen is none of the list"));
  const DataSetFiles files{folder, titles[chosen]};

  bool result = false;
  const std::string spectrumReal = files.File(".1r");
  if (ReadFile(files.File(".dis"), data, nullptr)) {
    RenameParams(data->params, kRenameTable);
    DeriveDisplayValues(data, spectrumReal);
    result = true;
  } else {
    // A ".dis" that failed half way may have left labels; the parameter files replace them.
    data->params.Clear();
    const bool acquisition = ReadFile(files.File(".aqs"), data, nullptr);
    const bool processing = ReadFile(files.File(".fqs"), data, nullptr);
    result = acquisition || processing;
  }
  ReadTitle(files.File(".tit"), data);
  if (!result)
    return Fail(SpcFailure::At("neither the .dis file nor the .aqs and .fqs files can be read", -1, titles[chosen]));

  ReadFid(files.File(".fid"), data->params.GetValue("TD").GetLong(), data);
  ReadSpectrum(spectrumReal, files.File(".1i"), data->params.GetValue("SI").GetLong(), data);
  data->strName = GetPathFileName(folder);
  return true;
}

bool CNmrConvertWinNmr::Write(std::string_view path, CSpcProcess* process, std::int32_t, std::int32_t) {
  if (!process || !process->m_pData) return false;
  CSpcProcess& p = *process;
  const CSpcData& data = *p.m_pData;
  const CSpcParamList& params = data.params;
  const std::string folder(plat::pathWithoutTrailingSeparator(path));
  if (!plat::isDirectory(folder) && !plat::makeDirectories(folder)) return false;
  auto file = [&](std::string_view ext) { return plat::joinPath(folder, "001001" + std::string(ext)); };

  // FID extremes over the first TD floats of the FID read as one flat array.
  const auto* fidFloats = reinterpret_cast<const float*>(data.fid().data());
  const std::size_t fidCount =
      std::min<std::size_t>(data.fid().size() * 2, static_cast<std::size_t>(std::max(p.m_nTD, 0)));
  const Extremes fidExtremes = ExtremesOf(fidFloats, fidCount);

  // Spectrum values as the user sees them; SI, bounded by what the spectrum holds.
  const std::size_t spectrumSize = data.spectrum().size();
  const std::size_t si = p.m_nSI > 0 && static_cast<std::size_t>(p.m_nSI) <= spectrumSize
                             ? static_cast<std::size_t>(p.m_nSI)
                             : spectrumSize;
  std::vector<float> re(si), im(si);
  for (std::size_t i = 0; i < si; ++i) {
    re[i] = static_cast<float>(WrittenValue(p, static_cast<std::int32_t>(i), false));
    im[i] = static_cast<float>(WrittenValue(p, static_cast<std::int32_t>(i), true));
  }
  const Extremes specExtremes = ExtremesOf(re, si);
  const double freq = p.m_dFreq;
  const double sw = p.m_dSW;

  std::string aqs;
  HeaderLines(aqs, params);
  IntegerLine(aqs, "##$AQSEQ", 0);
  IntegerLine(aqs, "##$AQ_mod", p.m_nAqMode + 64);
  IntegerLine(aqs, "##$BYTORDA", 0);
  IntegerLine(aqs, "##$DECIM", params.GetValue("DECIM").GetLong());
  IntegerLine(aqs, "##$DTYPA", 0);
  BracketLine(aqs, "##$INSTRUM", params.GetValue("INSTRUM").GetString());
  IntegerLine(aqs, "##$NS", params.GetValue("NS").GetLong());
  BracketLine(aqs, "##$NUCLEUS", params.GetValue("NUCLEUS").GetString());
  FloatLine(aqs, "##$PW", params.GetValue("PW").GetFloat());
  IntegerLine(aqs, "##$RG", params.GetValue("RG").GetLong());
  FloatLine(aqs, "##$SFO1", static_cast<float>(freq));
  FloatLine(aqs, "##$SW", freq != 0.0 ? static_cast<float>(sw / freq) : 0.0f);
  FloatLine(aqs, "##$SW_h", static_cast<float>(sw));
  IntegerLine(aqs, "##$TD", p.m_nTD);
  IntegerLine(aqs, "##$TE", params.GetValue("TE").GetLong());
  FloatLine(aqs, "##$YMAX_a", fidExtremes.max);
  FloatLine(aqs, "##$YMIN_a", fidExtremes.min);
  aqs += "##END=";

  std::string fqs;
  HeaderLines(fqs, params);
  IntegerLine(fqs, "##$BYTORDP", 0);
  IntegerLine(fqs, "##$DTYPP", 0);
  FloatLine(fqs, "##$GB", params.GetValue("GB").GetFloat());
  FloatLine(fqs, "##$LB", params.GetValue("LB").GetFloat());
  FloatLine(fqs, "##$OFFSET", static_cast<float>(p.PointToPpm(0)));
  FloatLine(fqs, "##$SF", params.GetValue("SF").GetFloat());
  IntegerLine(fqs, "##$SI", static_cast<std::int64_t>(si));
  FloatLine(fqs, "##$SW_p", static_cast<float>(sw));
  FloatLine(fqs, "##$YMAX_p", specExtremes.max);
  FloatLine(fqs, "##$YMIN_p", specExtremes.min);
  fqs += "##END=";

  // Each file is replaced whole, so a failure never leaves a half-written one behind.
  bool ok = plat::writeFileAtomic(file(".aqs"), aqs);
  ok = plat::writeFileAtomic(file(".fqs"), fqs) && ok;
  ok = plat::writeFileAtomic(file(".tit"), params.GetValue("TITLE").GetString()) && ok;
  // Point files of an earlier save that this record cannot replace are removed, so a reload
  // never pairs them with the new parameters.
  if (!data.fid().empty()) {
    const std::string_view bytes(reinterpret_cast<const char*>(data.fid().data()), data.fid().size() * sizeof(CSpcPoint));
    ok = plat::writeFileAtomic(file(".fid"), bytes) && ok;
  } else if (plat::fileExists(file(".fid"))) {
    ok = plat::removeFile(file(".fid")) && ok;
  }
  if (si > 0) {
    ok = plat::writeFileAtomic(file(".1r"), FloatBytes(re)) && ok;
    ok = plat::writeFileAtomic(file(".1i"), FloatBytes(im)) && ok;
  } else {
    for (const char* ext : {".1r", ".1i"})
      if (plat::fileExists(file(ext))) ok = plat::removeFile(file(ext)) && ok;
  }
  return ok;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertWinNmr(std::uint32_t index) {
  return std::make_unique<CNmrConvertWinNmr>(index);
}
