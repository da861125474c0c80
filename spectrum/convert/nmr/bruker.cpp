#include "spectrum/convert/nmr/bruker.h"

#include "spectrum/convert/nmr/bruker_dataset.h"

namespace {

const std::vector<std::string>& UxNmrTypes() {
  static const std::vector<std::string> types = {"UXNMR Parameter Values"};
  return types;
}

const std::vector<std::string>& XWinNmrTypes() {
  static const std::vector<std::string> types = {"Parameter Values"};
  return types;
}

// The last experiment of the folder in name order ("" when the path is no folder or has none).
std::string LastExperiment(const COrvFile* file) {
  if (!file || !file->IsFolder()) return {};
  std::vector<std::string> experiments = bruker::ListExperiments(file->m_strPath);
  return experiments.empty() ? std::string() : std::move(experiments.back());
}

}  // namespace

void CBrukerParamFile::OnParameter(const std::string& label, const CVariant& value, CSpcData* data) {
  data->params.Append(label, value);
}

// ---- 1D ----

CNmrConvertUxNmr::CNmrConvertUxNmr(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

const std::vector<std::string>& CNmrConvertUxNmr::DataTypes() const { return UxNmrTypes(); }
const std::vector<std::string>& CNmrConvertXWinNmr::DataTypes() const { return XWinNmrTypes(); }

bool CNmrConvertUxNmr::Detect(COrvFile* file) {
  const std::string last = LastExperiment(file);
  return !last.empty() && bruker::IsParameterFile(last, "acqu", DataTypes()) &&
         !bruker::IsParameterFile(last, "acqu2", DataTypes());
}

bool CNmrConvertUxNmr::Read(std::string_view path, CSpcData* data, std::int32_t) {
  bruker::DataSetFolders folders;
  if (!bruker::LocateFolders(path, *this, &folders, &m_failure)) return false;
  if (!bruker::ReadParameters(*this, folders, data, &m_failure)) return false;
  // Either the fid or the processed spectrum will do; without both, the fid's reason is given.
  SpcFailure fidWhy, spectrumWhy;
  bruker::ReadFid(bruker::FileIn(folders.experiment, "fid"), data, &fidWhy);
  bruker::ReadProcessedSpectrum(bruker::FileIn(folders.processing, "1r"), bruker::FileIn(folders.processing, "1i"),
                                data, &spectrumWhy);
  return bruker::FinishRead(path, folders, data, fidWhy, &m_failure);
}

// ---- 2D ----

CNmr2dConvertUxNmr::CNmr2dConvertUxNmr(std::uint32_t format) : CSpcFormat<CNmr2dConvert>(format) {}

const std::vector<std::string>& CNmr2dConvertUxNmr::DataTypes() const { return UxNmrTypes(); }
const std::vector<std::string>& CNmr2dConvertXWinNmr::DataTypes() const { return XWinNmrTypes(); }

bool CNmr2dConvertUxNmr::Detect(COrvFile* file) {
  const std::string last = LastExperiment(file);
  return !last.empty() && bruker::IsParameterFile(last, "acqu2", DataTypes());
}

bool CNmr2dConvertUxNmr::Read(std::string_view path, CSpcData* data, std::int32_t) {
  bruker::DataSetFolders folders;
  if (!bruker::LocateFolders(path, *this, &folders, &m_failure)) return false;
  if (!bruker::ReadParameters(*this, folders, data, &m_failure)) return false;
  SpcFailure serWhy;
  data->params.Append("NSCANS", bruker::ReadSerRows(bruker::FileIn(folders.experiment, "ser"), data, &serWhy));
  return bruker::FinishRead(path, folders, data, serWhy, &m_failure);
}

// ---- Factories ----

std::unique_ptr<CSpcConvert> CreateNmrConvertUxNmr(std::uint32_t index) {
  return std::make_unique<CNmrConvertUxNmr>(index);
}
std::unique_ptr<CSpcConvert> CreateNmrConvertXWinNmr(std::uint32_t index) {
  return std::make_unique<CNmrConvertXWinNmr>(index);
}
std::unique_ptr<CSpcConvert> CreateNmr2dConvertUxNmr(std::uint32_t index) {
  return std::make_unique<CNmr2dConvertUxNmr>(index);
}
std::unique_ptr<CSpcConvert> CreateNmr2dConvertXWinNmr(std::uint32_t index) {
  return std::make_unique<CNmr2dConvertXWinNmr>(index);
}
