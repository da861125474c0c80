// Opus infrared files are recognised by their first bytes so that the user learns what the file
// is; there is no reader, so loading one fails with the format's name.
#include "spectrum/convert/singleformats.h"

namespace {

constexpr std::int64_t kOpusMinSize = 14;
constexpr std::string_view kMagic = "\x0d\x0a\x0d\x0a\xfe\xfe";

}  // namespace

bool CIrConvertOpus::Detect(COrvFile* file) {
  if (!file || !file->HasView() || file->m_nSize < kOpusMinSize) return false;
  return file->Bytes().substr(0, kMagic.size()) == kMagic;
}

std::unique_ptr<CSpcConvert> CreateIrConvertOpus(std::uint32_t index) {
  return std::make_unique<CIrConvertOpus>(index);
}
