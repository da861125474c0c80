// The spectrum folder leaves of the seven kinds: each hands its calls to the folder codec with
// its kind's row.
#include <limits>

#include "spectrum/convert/spcfolder.h"

namespace {

// Spectrum number of the index-th spectrum of this kind's share of a folder's numbers.
bool NumberOf(const CSpcFolderCodec& codec, std::string_view path, std::int32_t index, std::int32_t* number) {
  if (index < 0) return false;
  const std::int64_t n = std::int64_t(codec.FirstNumber(path)) + index;
  if (n > std::numeric_limits<std::int32_t>::max()) return false;
  *number = static_cast<std::int32_t>(n);
  return true;
}

}  // namespace

#define KEDRUS_SPC_FOLDER_LEAF_IMPL(Name, Base, KindId, Factory)                                                 \
  Name::Name(std::uint32_t format) : Base(format) {}                                                      \
  bool Name::Detect(COrvFile* file) { return CSpcFolderCodec(*SpcFolderKindOf(KindId)).Detect(file); }   \
  std::int32_t Name::GetSpectrumCount(COrvFile* file) {                                                   \
    return CSpcFolderCodec(*SpcFolderKindOf(KindId)).GetSpectrumCount(file);                              \
  }                                                                                                       \
  bool Name::Read(std::string_view path, CSpcData* data, std::int32_t index) {                            \
    const CSpcFolderCodec codec(*SpcFolderKindOf(KindId));                                                \
    std::int32_t number = 0;                                                                              \
    return NumberOf(codec, path, index, &number) && codec.Read(path, data, number, &m_failure);          \
  }                                                                                                       \
  bool Name::Write(std::string_view path, CSpcProcess* process, std::int32_t, std::int32_t number) {      \
    return CSpcFolderCodec(*SpcFolderKindOf(KindId)).Write(path, process, number);                        \
  }                                                                                                       \
  std::unique_ptr<CSpcConvert> Factory(std::uint32_t index) { return std::make_unique<Name>(index); }

KEDRUS_SPC_FOLDER_LEAF_IMPL(CNmrConvertBase, CNmrConvertJcampDx, kSpcKindNmr, CreateNmrConvertBase)
KEDRUS_SPC_FOLDER_LEAF_IMPL(CMassConvertBase, CMassConvertJcampDx, kSpcKindMass, CreateMassConvertBase)
KEDRUS_SPC_FOLDER_LEAF_IMPL(CIrConvertBase, CIrConvertJcampDx, kSpcKindIr, CreateIrConvertBase)
KEDRUS_SPC_FOLDER_LEAF_IMPL(CUvConvertBase, CUvConvertJcampDx, kSpcKindUv, CreateUvConvertBase)
KEDRUS_SPC_FOLDER_LEAF_IMPL(CChConvertBase, CChConvertJcampDx, kSpcKindCh, CreateChConvertBase)
KEDRUS_SPC_FOLDER_LEAF_IMPL(CTicConvertBase, CTicConvertJcampDx, kSpcKindTic, CreateTicConvertBase)
KEDRUS_SPC_FOLDER_LEAF_IMPL(CNmr2dConvertBase, CSpcFormat<CNmr2dConvert>, kSpcKindNmr2d, CreateNmr2dConvertBase)
#undef KEDRUS_SPC_FOLDER_LEAF_IMPL
