#include "spectrum/convert/nmr/felix.h"

#include <bit>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <vector>

#include "platform/base/bytes.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::string_view kMark = "Felix for Windows";
constexpr std::size_t kHeaderSize = 50;
constexpr std::uint64_t kDataOffset = 1536;

// Days from 1 January 1970 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// The file's last-write time in local time as a date value (days since 30 December 1899);
// false when the file system does not report the file.
bool LastWriteDate(std::string_view path, double* date) {
  struct stat st {};
  if (::stat(std::string(path).c_str(), &st) != 0) return false;
  std::tm local{};
  const std::time_t t = st.st_mtime;
  if (!::localtime_r(&t, &local)) return false;
  constexpr std::int64_t kDays1899To1970 = 25569;
  const std::int64_t days = DaysFromCivil(local.tm_year + 1900LL, static_cast<unsigned>(local.tm_mon + 1),
                                          static_cast<unsigned>(local.tm_mday)) + kDays1899To1970;
  const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
  *date = static_cast<double>(days) + seconds / 86400.0;
  return true;
}

void Append(CSpcData* data, const char* name, const CVariant& value) {
  data->params.Append(CSpcParam{value, name, ""});
}

}  // namespace

bool CNmrConvertFelixW::Detect(COrvFile* file) {
  return file && file->HasView() && file->m_nSize >= 64 &&
         std::memcmp(file->m_pView, kMark.data(), kMark.size()) == 0;
}

bool CNmrConvertFelixW::Read(std::string_view path, CSpcData* data, std::int32_t) {
  data->strName = GetPathTitle(path);
  double date = 0.0;
  if (LastWriteDate(path, &date)) {
    CVariant value;
    value.SetDate(date);
    Append(data, "DATE", value);
  }
  unsigned char h[kHeaderSize] = {};
  if (ReadFileBlock(path, h, sizeof h, 0) != sizeof h) return false;

  const auto n = static_cast<std::int32_t>(plat::loadLe32(h + 34));
  // A negative count or one beyond what a record holds describes no FID.
  if (n < 0 || static_cast<std::uint32_t>(n) > CSpcData::kMaxPoints) return false;
  data->nState = 1;
  data->nDomain = 0;
  data->nAcqCode = 1;
  CVariant v;
  v.SetLong(1);
  Append(data, "AQ_mod", v);
  v.SetLong(n);
  Append(data, "SI", v);
  v.SetLong(2 * n);
  Append(data, "TD", v);
  const float freq = plat::loadLeF32(h + 46);
  v.SetFloat(freq);
  Append(data, "SFO", v);
  v.SetFloat(plat::loadLeF32(h + 38));
  Append(data, "SW", v);
  v.SetFloat(freq);
  Append(data, "SF", v);

  // The pairs are read whole before the FID is made, so a short file allocates nothing.
  const std::size_t bytes = static_cast<std::size_t>(n) * 8;
  std::vector<unsigned char> raw(bytes);
  if (bytes > 0 && ReadFileBlock(path, raw.data(), bytes, kDataOffset) != bytes) return false;
  std::vector<CSpcPoint>& fid = data->fid();
  fid.insert(fid.begin(), CSpcProcess::NextPow2(static_cast<std::uint32_t>(n)), CSpcPoint{});
  for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
    fid[i].re = static_cast<float>(static_cast<std::int32_t>(plat::loadLe32(&raw[8 * i])));
    fid[i].im = static_cast<float>(static_cast<std::int32_t>(plat::loadLe32(&raw[8 * i + 4])));
  }
  return true;
}

std::unique_ptr<CSpcConvert> CreateNmrConvertFelixW(std::uint32_t index) {
  return std::make_unique<CNmrConvertFelixW>(index);
}
