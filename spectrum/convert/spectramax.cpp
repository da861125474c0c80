// SpectraMax infrared files: a 111-byte header whose word at offset 68 points at a 19-byte axis
// block (first x, last x, point count); the data floats lie right before that block.
#include <vector>

#include "spectrum/convert/singleformats.h"

namespace {

using singleformat::Holds;
using singleformat::LoadLe;

constexpr std::int64_t kSpectramaxMinSize = 11;
constexpr std::string_view kMagic = "\x0aRUBISDATA2";
constexpr std::size_t kHeaderSize = 111;
constexpr std::size_t kBlockOffsetField = 68;
constexpr std::size_t kBlockSize = 19;
constexpr std::size_t kFirstXOffset = 5;
constexpr std::size_t kLastXOffset = 9;
constexpr std::size_t kCountOffset = 17;

}  // namespace

bool CIrConvertSpectramax::Detect(COrvFile* file) {
  if (!file || !file->HasView() || file->m_nSize < kSpectramaxMinSize) return false;
  return file->Bytes().substr(0, kMagic.size()) == kMagic;
}

bool CIrConvertSpectramax::Read(std::string_view path, CSpcData* data, std::int32_t) {
  COrvFile file(path);
  const std::string_view view = singleformat::View(file);
  if (!Holds(view, 0, kHeaderSize)) return false;
  const std::uint64_t block = LoadLe<std::uint32_t>(view, kBlockOffsetField);
  if (!Holds(view, block, kBlockSize)) return false;
  const float firstX = LoadLe<float>(view, block + kFirstXOffset);
  const float lastX = LoadLe<float>(view, block + kLastXOffset);
  const std::uint16_t n = LoadLe<std::uint16_t>(view, block + kCountOffset);
  // The data end where the block begins; a count that would put them before the start of the
  // file does not describe this file.
  const std::uint64_t bytes = 4ull * n;
  if (bytes > block) return false;
  const std::size_t start = static_cast<std::size_t>(block - bytes);

  singleformat::AppendFloat(data, "FIRSTX", firstX);
  singleformat::AppendFloat(data, "LASTX", lastX);
  singleformat::AppendLong(data, "NPOINTS", n);
  data->nDomain = 1;
  SetNameFromPath(data, path);

  std::vector<CSpcPoint>& out = data->spectrum();
  out.assign(n, CSpcPoint{});
  for (std::size_t i = 0; i < n; ++i) out[i].re = singleformat::PointValue(LoadLe<float>(view, start + 4 * i));
  return true;
}

std::unique_ptr<CSpcConvert> CreateIrConvertSpectramax(std::uint32_t index) {
  return std::make_unique<CIrConvertSpectramax>(index);
}
