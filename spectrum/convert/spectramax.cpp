// SpectraMax infrared files: a 111-byte header whose word at offset 68 points at a 19-byte axis
// block (first x, last x, point count); the data floats lie right before that block.
#include <vector>

#include "platform/base/bytecursor.h"
#include "spectrum/convert/singleformats.h"

namespace {

constexpr std::int64_t kSpectramaxMinSize = 11;
constexpr std::string_view kMagic = "\x0aRUBISDATA2";
constexpr std::size_t kHeaderSize = 111;
constexpr std::size_t kBlockOffsetField = 68;
constexpr std::size_t kBlockSize = 19;
constexpr std::size_t kFirstXOffset = 5;  // within the block, then the last x
constexpr std::size_t kCountOffset = 17;

}  // namespace

bool CIrConvertSpectramax::Detect(COrvFile* file) {
  if (!file || !file->HasView() || file->m_nSize < kSpectramaxMinSize) return false;
  return file->Bytes().substr(0, kMagic.size()) == kMagic;
}

bool CIrConvertSpectramax::Read(std::string_view path, CSpcData* data, std::int32_t) {
  COrvFile file(path);
  plat::ByteCursor in(file.Bytes());
  plat::ByteCursor header = in.sub(kHeaderSize);
  if (!in) return Fail(SpcFailure::CutShort("header", in));
  header.seek(kBlockOffsetField);
  const std::uint32_t block = header.u32le();
  plat::ByteCursor axis = in;
  if (!axis.seek(block) || !axis.has(kBlockSize))
    return Fail(SpcFailure::At("axis block lies outside the file", kBlockOffsetField));
  axis = axis.sub(kBlockSize);
  plat::ByteCursor range = axis.field(kFirstXOffset);
  const float firstX = range.f32le();
  const float lastX = range.f32le();
  const std::uint16_t n = axis.field(kCountOffset).u16le();
  // The data end where the block begins; a count that would put them before the start of the
  // file does not describe this file.
  const std::uint64_t bytes = 4ull * n;
  if (bytes > block) return Fail(SpcFailure::At("point count puts the data before the start of the file", block));

  data->params.Append("FIRSTX", firstX);
  data->params.Append("LASTX", lastX);
  data->params.Append("NPOINTS", static_cast<std::int32_t>(n));
  data->nDomain = 1;
  SetNameFromPath(data, path);

  plat::ByteCursor values = in;
  values.seek(block - bytes);
  std::vector<CSpcPoint>& out = data->spectrum();
  out.assign(n, CSpcPoint{});
  for (CSpcPoint& p : out) p.re = singleformat::PointValue(values.f32le());
  return true;
}

std::unique_ptr<CSpcConvert> CreateIrConvertSpectramax(std::uint32_t index) {
  return std::make_unique<CIrConvertSpectramax>(index);
}
