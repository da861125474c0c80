#include "spectrum/convert/nmr/bruker_dataset.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/base/directory.h"
#include "platform/base/numtext.h"
#include "platform/base/path.h"
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

void AppendParam(CSpcData* data, std::string name, const CVariant& value) {
  data->params.Append(CSpcParam{value, std::move(name), ""});
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

bool IsParameterFile(std::string_view folder, std::string_view name, const std::vector<std::string>& dataTypes) {
  const std::string path = FileIn(folder, name);
  if (path.empty()) return false;
  COrvFile file(path);
  return file.HasView() && CJcampDx::IsJcampFile(file, dataTypes);
}

bool LocateFolders(std::string_view dataSet, const CSpcConvert& chooser, DataSetFolders* folders) {
  const std::vector<std::string> experiments = ListSubfolders(dataSet);
  if (experiments.empty() || !ChooseEntry(experiments, chooser, &folders->experiment)) return false;
  folders->processing.clear();
  const std::string pdata = FileIn(folders->experiment, "pdata");
  if (pdata.empty()) return true;
  const std::vector<std::string> processings = ListSubfolders(pdata);
  return processings.empty() || ChooseEntry(processings, chooser, &folders->processing);
}

bool ReadParameters(CJcampDx& reader, const DataSetFolders& folders, CSpcData* data) {
  const std::string acqus = FileIn(folders.experiment, "acqus");
  if (acqus.empty() || !reader.ReadFile(acqus, data, nullptr)) return false;
  const std::string procs = FileIn(folders.processing, "procs");
  if (!procs.empty()) reader.ReadFile(procs, data, nullptr);  // the spectrum may do without it
  return true;
}

bool ReadFid(const std::string& file, CSpcData* data) {
  SampleFormat format;
  if (file.empty() || !RawSampleFormat(data->params, &format)) return false;
  const std::uint64_t n = ComplexPointsOf(data->params);
  if (n > kMaxPoints) return false;
  COrvFile view(file);
  const std::uint64_t bytes = n * 2 * format.Size();
  if (static_cast<std::uint64_t>(view.m_nSize) < bytes) return false;
  std::vector<CSpcPoint>& fid = data->fid();
  fid.insert(fid.begin(), n, CSpcPoint{});
  if (n > 0) DecodeComplex(view.m_pView, n, format, fid.data());
  data->nDomain = 0;
  return true;
}

std::int32_t ReadSerRows(const std::string& file, CSpcData* data) {
  SampleFormat format;
  if (file.empty() || !RawSampleFormat(data->params, &format)) return 0;
  const std::uint64_t n = ComplexPointsOf(data->params);
  if (n == 0 || n > kMaxPoints) return 0;  // rows of no points would never end
  COrvFile view(file);
  const std::uint64_t size = static_cast<std::uint64_t>(view.m_nSize);
  const std::uint64_t rowBytes = n * 2 * format.Size();
  const std::uint64_t stride = SerRowStride(rowBytes);
  if (size < rowBytes) return 0;
  // Complete rows only; the last row needs its data, not its padding. The record holds no
  // more points than it may.
  std::vector<CSpcPoint>& fid = data->fid();
  const std::uint64_t room = kMaxPoints > fid.size() ? (kMaxPoints - fid.size()) / n : 0;
  const std::uint64_t rows = std::min<std::uint64_t>({(size - rowBytes) / stride + 1, room,
                                                      static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())});
  if (rows == 0) return 0;
  const std::size_t first = fid.size();
  fid.resize(first + rows * n);
  for (std::uint64_t r = 0; r < rows; ++r) DecodeComplex(view.m_pView + r * stride, n, format, fid.data() + first + r * n);
  data->nDomain = 0;
  return static_cast<std::int32_t>(rows);
}

bool ReadProcessedSpectrum(const std::string& realFile, const std::string& imagFile, CSpcData* data) {
  SampleFormat format;
  if (realFile.empty() || !ProcessedSampleFormat(data->params, &format)) return false;
  const std::int32_t si = data->params.GetValue("SI").GetLong();
  if (si <= 0 || static_cast<std::uint64_t>(si) > kMaxPoints) return false;
  const auto n = static_cast<std::uint64_t>(si);
  const std::uint64_t bytes = n * format.Size();
  COrvFile real(realFile);
  if (static_cast<std::uint64_t>(real.m_nSize) < bytes) return false;
  std::vector<CSpcPoint> points(n);
  DecodeReal(real.m_pView, n, format, points.data(), false);
  if (!imagFile.empty()) {
    COrvFile imag(imagFile);
    if (static_cast<std::uint64_t>(imag.m_nSize) >= bytes) DecodeReal(imag.m_pView, n, format, points.data(), true);
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
  CVariant title;
  title.SetString(line);
  AppendParam(data, "TITLE", title);
}

std::string DataSetName(std::string_view path) {
  return GetPathFileName(plat::pathWithoutTrailingSeparator(path));
}

bool FinishRead(std::string_view dataSet, const DataSetFolders& folders, CSpcData* data) {
  data->strName = DataSetName(dataSet);
  const bool result = !data->spectrum().empty() || !data->fid().empty();
  ReadIntegralRanges(FileIn(folders.processing, "intrng"), data);
  ReadTitle(FileIn(folders.processing, "title"), data);
  return result;
}

}  // namespace bruker
