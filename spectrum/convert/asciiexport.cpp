// ASCII export of every kind that offers it.
#include "spectrum/convert/asciiexport.h"

#include <algorithm>

#include "platform/base/file.h"
#include "spectrum/data/cvariant.h"

namespace {

// A number as the variant renders a 4-byte float.
std::string FloatText(float v) {
  CVariant variant;
  variant.SetFloat(v);
  return variant.GetString();
}

}  // namespace

bool CAscii::Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t) {
  if (!process || !process->m_pData) return false;
  PointMap points;
  if (!GetPoints(process, &points, saveOption)) return false;
  std::string text;
  text.reserve(points.count() * 24);
  for (std::size_t i = 0; i < points.count(); ++i) {
    const PointMap::Entry& p = points.at(i);
    text += FloatText(p.x);
    text += ' ';
    text += FloatText(p.y);
    text += '\n';
  }
  return plat::writeFileAtomic(std::string(path), text);
}

void CAscii::CurrentPoints(const CSpcProcess& process, PointMap* points, CSpcProcess::PointToUnitFunc unit) {
  points->reserve(static_cast<std::size_t>(std::max(process.m_nCur, 0)));
  for (std::int32_t i = 0; i < process.m_nCur; ++i) {
    const double x = unit ? (process.*unit)(i) : static_cast<double>(i);
    points->set(static_cast<float>(x), static_cast<float>(process.GetReal(i)));
  }
}

bool CNmrConvertAscii::GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) {
  CSpcProcess::PointToUnitFunc unit = nullptr;
  if (saveOption == 1) unit = &CSpcProcess::PointToPpm;
  if (saveOption == 2) unit = &CSpcProcess::PointToHertz;
  CurrentPoints(*process, points, unit);
  return true;
}

bool CIrConvertAscii::GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) {
  CurrentPoints(*process, points, saveOption == 1 ? &CSpcProcess::PointToX : nullptr);
  return true;
}

bool CUvConvertAscii::GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) {
  CurrentPoints(*process, points, saveOption == 1 ? &CSpcProcess::PointToX : nullptr);
  return true;
}

bool CTicConvertAscii::GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) {
  CurrentPoints(*process, points, saveOption == 1 ? &CSpcProcess::PointToTime : nullptr);
  return true;
}

bool CMassConvertAscii::GetPoints(CSpcProcess* process, PointMap* points, std::int32_t) {
  const auto& scans = process->m_pData->scans;
  if (process->m_nScan < 0 || static_cast<std::size_t>(process->m_nScan) >= scans.size()) return true;
  for (const CSpcPoint& peak : scans[static_cast<std::size_t>(process->m_nScan)].peaks) points->set(peak.im, peak.re);
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertAscii(std::uint32_t index) { return std::make_unique<CNmrConvertAscii>(index); }
std::unique_ptr<CSpcConvert> CreateIrConvertAscii(std::uint32_t index) { return std::make_unique<CIrConvertAscii>(index); }
std::unique_ptr<CSpcConvert> CreateUvConvertAscii(std::uint32_t index) { return std::make_unique<CUvConvertAscii>(index); }
std::unique_ptr<CSpcConvert> CreateTicConvertAscii(std::uint32_t index) { return std::make_unique<CTicConvertAscii>(index); }
std::unique_ptr<CSpcConvert> CreateMassConvertAscii(std::uint32_t index) {
  return std::make_unique<CMassConvertAscii>(index);
}
