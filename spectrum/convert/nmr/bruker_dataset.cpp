#include "spectrum/convert/nmr/bruker_dataset.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/base/bytecursor.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/numtext.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "spectrum/convert/nmr/bruker_data.h"
#include "spectrum/convert/orvfile.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"

namespace bruker {

namespace {

constexpr std::uint64_t kMaxPoints = CSpcData::kMaxPoints;

// Picks one entry of a list: the first when it is alone, else the converter's choice.
bool ChooseEntry(const std::vector<std::string>& list, const CSpcConvert& chooser, std::string* entry) {
  std::size_t index = 0;
  if (list.size() > 1 && !chooser.Choose(list, &index)) return false;
  *entry = list[index];
  return true;
}

// Half of TD: the number of complex points of one acquired row (0 for a TD below 2).
std::uint64_t ComplexPointsOf(const CSpcParamList& params) {
  const std::int32_t td = params.GetValue("TD").GetLong();
  return td > 1 ? static_cast<std::uint64_t>(td / 2) : 0;
}

bool Fail(SpcFailure* why, SpcFailure failure) {
  if (why) *why = std::move(failure);
  return false;
}

// One number as the C runtime's "%f" reads it, from *text on; false when none starts there.
bool ScanFloat(std::string_view* text, float* value) {
  double d = 0.0;
  const std::size_t used = plat::parseDoublePrefix(*text, &d);
  if (used == 0 || !std::isfinite(d) || std::fabs(d) > std::numeric_limits<float>::max()) return false;
  *value = static_cast<float>(d);
  text->remove_prefix(used);
  return true;
}

}  // namespace

std::vector<std::string> ListSubfolders(std::string_view dir) {
  std::vector<std::string> folders;
  for (const plat::DirEntry& entry : plat::findFiles(dir, "*."))
    if (entry.isDirectory) folders.push_back(plat::joinPath(dir, entry.name));
  return folders;
}

std::string FileIn(std::string_view folder, std::string_view name) {
  return folder.empty() ? std::string() : plat::findNoCase(folder, name);
}

std::vector<std::string> ListExperiments(std::string_view dataSet) {
  std::vector<std::string> experiments = ListSubfolders(dataSet);
  std::erase_if(experiments, [](const std::string& folder) {
    return !plat::isRegularFile(FileIn(folder, "acqus")) && !plat::isRegularFile(FileIn(folder, "acqu"));
  });
  return experiments;
}

bool IsParameterFile(std::string_view folder, std::string_view name, const std::vector<std::string>& dataTypes) {
  std::string path = FileIn(folder, name);
  if (path.empty()) path = FileIn(folder, std::string(name) + "s");
  if (path.empty()) return false;
  COrvFile file(path);
  return file.HasView() && CJcampDx::IsJcampFile(file, dataTypes);
}

bool LocateFolders(std::string_view dataSet, const CSpcConvert& chooser, DataSetFolders* folders, SpcFailure* why) {
  const std::vector<std::string> experiments = ListExperiments(dataSet);
  if (experiments.empty()) return Fail(why, SpcFailure::At("no experiment folder"));
  if (!ChooseEntry(experiments, chooser, &folders->experiment))
    return Fail(why, SpcFailure::At("the experiment chosen is none of the list"));
  folders->processing.clear();
  const std::string pdata = FileIn(folders->experiment, "pdata");
  if (pdata.empty()) return true;
  const std::vector<std::string> processings = ListSubfolders(pdata);
  if (!processings.empty() && !ChooseEntry(processings, chooser, &folders->processing))
    return Fail(why, SpcFailure::At("the processing chosen is none of the list"));
  return true;
}

bool ReadParameters(CJcampDx& reader, const DataSetFolders& folders, CSpcData* data, SpcFailure* why) {
  const std::string acqus = FileIn(folders.experiment, "acqus");
  if (acqus.empty()) return Fail(why, SpcFailure::At("no acqus file in the experiment folder"));
  if (!reader.ReadFile(acqus, data, nullptr)) {
    SpcFailure failure = reader.GetReadFailure();
    if (failure.empty()) failure.check = "parameter file cannot be read";
    failure.file = "acqus";
    return Fail(why, std::move(failure));
  }
  const std::string procs = FileIn(folders.processing, "procs");
  if (!procs.empty()) reader.ReadFile(procs, data, nullptr);  // the spectrum may do without it
  return true;
}

bool ReadFid(const std::string& file, CSpcData* data, SpcFailure* why) {
  SampleFormat format;
  if (file.empty()) return Fail(why, SpcFailure::At("no fid file"));
  if (!RawSampleFormat(data->params, &format)) return Fail(why, SpcFailure::At("unknown data type DTYPA", -1, "acqus"));
  const std::uint64_t n = ComplexPointsOf(data->params);
  if (n > kMaxPoints) return Fail(why, SpcFailure::At("TD beyond what a record holds", -1, "acqus"));
  COrvFile view(file);
  plat::ByteCursor in(view.Bytes());
  const std::string_view samples = in.bytes(n * 2 * format.Size());
  if (!in) return Fail(why, SpcFailure::CutShort("TD / 2 complex points", in, "fid"));
  std::vector<CSpcPoint>& fid = data->fid();
  fid.insert(fid.begin(), n, CSpcPoint{});
  DecodeComplex(samples, format, fid.data());
  data->nDomain = 0;
  return true;
}

std::int32_t ReadSerRows(const std::string& file, CSpcData* data, SpcFailure* why) {
  SampleFormat format;
  if (file.empty()) return Fail(why, SpcFailure::At("no ser file"));
  if (!RawSampleFormat(data->params, &format)) return Fail(why, SpcFailure::At("unknown data type DTYPA", -1, "acqus"));
  const std::uint64_t n = ComplexPointsOf(data->params);
  // Rows of no points would never end.
  if (n == 0 || n > kMaxPoints) return Fail(why, SpcFailure::At("TD gives no row size a record can hold", -1, "acqus"));
  COrvFile view(file);
  plat::ByteCursor in(view.Bytes());
  const std::uint64_t rowBytes = n * 2 * format.Size();
  const std::uint64_t stride = SerRowStride(rowBytes);
  if (!in.has(rowBytes)) {
    in.skip(rowBytes);
    return Fail(why, SpcFailure::CutShort("first row", in, "ser"));
  }
  // Complete rows only; the last row needs its data, not its padding. The record holds no
  // more points than it may.
  std::vector<CSpcPoint>& fid = data->fid();
  const std::uint64_t room = kMaxPoints > fid.size() ? (kMaxPoints - fid.size()) / n : 0;
  const std::uint64_t rows = std::min<std::uint64_t>({(in.remaining() - rowBytes) / stride + 1, room,
                                                      static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())});
  if (rows == 0) return Fail(why, SpcFailure::At("no room for another row in the record"));
  std::size_t at = fid.size();
  fid.resize(at + rows * n);
  for (std::uint64_t r = 0; r < rows; ++r, at += n) {
    DecodeComplex(in.bytes(rowBytes), format, fid.data() + at);
    in.skip(std::min<std::uint64_t>(stride - rowBytes, in.remaining()));  // the padding to the next row
  }
  data->nDomain = 0;
  return static_cast<std::int32_t>(rows);
}

bool ReadProcessedSpectrum(const std::string& realFile, const std::string& imagFile, CSpcData* data, SpcFailure* why) {
  SampleFormat format;
  if (realFile.empty()) return Fail(why, SpcFailure::At("no 1r file"));
  if (!ProcessedSampleFormat(data->params, &format))
    return Fail(why, SpcFailure::At("unknown data type DTYPP", -1, "procs"));
  const std::int32_t si = data->params.GetValue("SI").GetLong();
  if (si <= 0 || static_cast<std::uint64_t>(si) > kMaxPoints)
    return Fail(why, SpcFailure::At("SI is no size a record can hold", -1, "procs"));
  const auto n = static_cast<std::uint64_t>(si);
  const std::uint64_t bytes = n * format.Size();
  COrvFile real(realFile);
  plat::ByteCursor reals(real.Bytes());
  const std::string_view realSamples = reals.bytes(bytes);
  if (!reals) return Fail(why, SpcFailure::CutShort("SI real parts", reals, "1r"));
  std::vector<CSpcPoint> points(n);
  DecodeReal(realSamples, format, points.data(), false);
  if (!imagFile.empty()) {
    COrvFile imag(imagFile);
    plat::ByteCursor imags(imag.Bytes());
    const std::string_view imagSamples = imags.bytes(bytes);
    if (imags) DecodeReal(imagSamples, format, points.data(), true);
  }
  std::vector<CSpcPoint>& spectrum = data->spectrum();
  spectrum.insert(spectrum.begin(), points.begin(), points.end());
  data->nDomain = 1;
  CVariant zero;
  zero.SetFloat(0.0f);
  data->params.SetParam("PH0", zero);
  data->params.SetParam("PH1", zero);
  return true;
}

void ReadIntegralRanges(const std::string& file, CSpcData* data) {
  if (file.empty()) return;
  COrvFile text(file);
  if (!text.HasView()) return;
  std::string_view line;
  for (int header = 0; header < 2; ++header)
    if (!text.ReadLine(&line)) return;

  // The axis of the record converts ppm to points; the ranges are kept inside the spectrum.
  data->nKind = kSpcKindNmr;
  CSpcProcess process(data);
  process.InitFromParams();
  process.SelectData();
  const std::int32_t si = process.m_nSI;
  if (si <= 0 || process.m_dSW == 0.0) return;  // no axis: no point is known
  auto pointOf = [&](float ppm) {
    return static_cast<std::uint32_t>(std::clamp(process.PpmToPoint(ppm), 0, si - 1));
  };
  while (text.ReadLine(&line) && data->integrals.size() < CSpcData::kMaxElements) {
    float from = 0.0f, to = 0.0f;
    if (!ScanFloat(&line, &from) || !ScanFloat(&line, &to)) continue;
    data->integrals.push_back(CSpcIntegral{pointOf(from), pointOf(to), 1.0f});
  }
}

void ReadTitle(const std::string& file, CSpcData* data) {
  if (file.empty()) return;
  COrvFile text(file);
  if (text.m_dwAttributes == kOrvAttrInvalid || text.IsFolder()) return;
  std::string_view line;
  text.ReadLine(&line);  // an empty file gives an empty title
  line = line.substr(0, line.find_first_of("\r\n"));
  // The parameter files' own TITLE labels name those files ("Parameter file, ..."), not the
  // experiment: the title file's text replaces them, so it is the title every lookup finds.
  std::erase_if(data->params.entries(), [](const CSpcParam& p) { return plat::equalsNoCase(p.name, "TITLE"); });
  data->params.Append("TITLE", line);
}

std::string DataSetName(std::string_view path) {
  return GetPathFileName(plat::pathWithoutTrailingSeparator(path));
}

bool FinishRead(std::string_view dataSet, const DataSetFolders& folders, CSpcData* data, const SpcFailure& dataWhy,
                SpcFailure* why) {
  data->strName = DataSetName(dataSet);
  const bool result = !data->spectrum().empty() || !data->fid().empty();
  ReadIntegralRanges(FileIn(folders.processing, "intrng"), data);
  ReadTitle(FileIn(folders.processing, "title"), data);
  if (!result) return Fail(why, dataWhy.empty() ? SpcFailure::At("no point data") : dataWhy);
  return true;
}

}  // namespace bruker
