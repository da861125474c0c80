#include "spectrum/convert/spcconvert.h"

#include "common/shared_ids.h"
#include "platform/base/file.h"

#include "platform/base/path.h"
#include "platform/base/text.h"
#include "spectrum/data/spcprocess.h"

bool CSpcConvert::Choose(const std::vector<std::string>& candidates, std::size_t* chosen) const {
  const std::int32_t answer = m_pfnChoose ? m_pfnChoose(candidates) : 0;
  if (answer < 0 || static_cast<std::size_t>(answer) >= candidates.size()) return false;
  *chosen = static_cast<std::size_t>(answer);
  return true;
}

void CSpcConvert::SetNameFromPath(CSpcData* data, std::string_view path) {
  data->strName = std::string(plat::pathFileName(path));
}

void CSpcConvert::RenameParams(CSpcParamList& params, const RenamePair* table) {
  for (; table && table->oldName; ++table) params.RenameParam(table->oldName, table->newName ? table->newName : "");
}

std::unique_ptr<CSpcConvert> CSpcKindConvert::CreateFormat(std::int32_t index) const {
  const auto i = static_cast<std::uint32_t>(index);  // negative indices are out of range too
  if (i >= m_formats.size()) return nullptr;
  return m_formats[i].create(i);
}

void CSpcKindConvert::GetFormatName(std::string& name) const {
  name = m_nFormat < m_formats.size() ? m_formats[m_nFormat].name : "";
}

// ---- Kind classes and the kind table ----

#define KEDRUS_KIND_CTOR(Name) \
  Name::Name(std::uint32_t format) : CSpcKindConvert(format, Formats()) {}

KEDRUS_KIND_CTOR(CNmrConvert)
KEDRUS_KIND_CTOR(CMassConvert)
KEDRUS_KIND_CTOR(CIrConvert)
KEDRUS_KIND_CTOR(CUvConvert)
KEDRUS_KIND_CTOR(CChConvert)
KEDRUS_KIND_CTOR(CTicConvert)
KEDRUS_KIND_CTOR(CNmr2dConvert)
#undef KEDRUS_KIND_CTOR

const std::array<SpcKindRow, kSpcKindCount>& SpcKindTable() {
  // The kind objects never change after construction and live for the whole process.
  static const CNmrConvert nmr;
  static const CMassConvert mass;
  static const CIrConvert ir;
  static const CUvConvert uv;
  static const CChConvert ch;
  static const CTicConvert tic;
  static const CNmr2dConvert nmr2d;
  static const std::array<SpcKindRow, kSpcKindCount> table = {{
      {u"NMR", kSpcKindNmr, &nmr},
      {u"MASS", kSpcKindMass, &mass},
      {u"IR", kSpcKindIr, &ir},
      {u"UV", kSpcKindUv, &uv},
      {u"CH", kSpcKindCh, &ch},
      {u"TIC", kSpcKindTic, &tic},
      {u"NMR 2D", kSpcKindNmr2d, &nmr2d},
  }};
  return table;
}

const SpcKindRow* SpcFindKind(std::int32_t id) {
  for (const SpcKindRow& row : SpcKindTable())
    if (row.id == id) return &row;
  return nullptr;
}

// ---- Loader rules ----

namespace {

SpcChooseFunc& ChooseHandler() {
  static SpcChooseFunc handler;
  return handler;
}

// Calls visit(row, leaf) for every leaf of every kind in walk order until it returns false.
template <class Visit>
void ForEachLeaf(SpcKindSpan table, Visit visit) {
  for (const SpcKindRow& row : table) {
    const std::uint32_t count = row.kind->GetFormatCount();
    for (std::uint32_t i = 0; i < count; ++i) {
      std::unique_ptr<CSpcConvert> leaf = row.kind->CreateFormat(static_cast<std::int32_t>(i));
      if (leaf && !visit(row, leaf)) return;
    }
  }
}

// Every detector looks at the file from its start, whatever the one before it read.
std::int64_t CountOf(CSpcConvert& leaf, COrvFile& file) {
  file.SetPosition(0);
  const std::int32_t n = leaf.GetSpectrumCount(&file);
  return n > 0 ? n : 0;
}

}  // namespace

void SetChooseFromList(SpcChooseFunc choose) { ChooseHandler() = std::move(choose); }

std::int32_t ChooseFromList(const std::vector<std::string>& candidates) {
  const SpcChooseFunc& handler = ChooseHandler();
  return handler ? handler(candidates) : 0;
}

std::int64_t SpcCountSpectra(COrvFile& file, SpcKindSpan table) {
  // A container numbers its spectra itself, whatever their kinds, so its spectra cannot be
  // counted kind by kind.
  if (const std::int32_t inContainer = SpcContainer().count(file.m_strPath); inContainer > 0) return inContainer;
  std::int64_t total = 0;
  ForEachLeaf(table, [&](const SpcKindRow&, std::unique_ptr<CSpcConvert>& leaf) {
    total += CountOf(*leaf, file);
    return true;
  });
  return total;
}

bool SpcFindConverter(COrvFile& file, std::int64_t k, SpcLocation* where, SpcKindSpan table) {
  if (k < 0) return false;
  std::int64_t total = 0;
  bool found = false;
  ForEachLeaf(table, [&](const SpcKindRow& row, std::unique_ptr<CSpcConvert>& leaf) {
    const std::int64_t before = total;
    total += CountOf(*leaf, file);
    if (k < total) {
      where->leaf = std::move(leaf);
      where->kindId = row.id;
      where->indexInFile = static_cast<std::int32_t>(k - before);
      found = true;
      return false;
    }
    return true;
  });
  return found;
}

bool SpcIdentifyFile(COrvFile& file, std::string* formatName, std::string* kindNames, SpcKindSpan table) {
  bool any = false;
  formatName->clear();
  kindNames->clear();
  ForEachLeaf(table, [&](const SpcKindRow& row, std::unique_ptr<CSpcConvert>& leaf) {
    file.SetPosition(0);
    if (leaf->Detect(&file)) {
      leaf->GetFormatName(*formatName);
      if (any) *kindNames += '/';
      *kindNames += plat::toUtf8(row.name);
      any = true;
    }
    return true;
  });
  return any;
}

SpcLoadResult SpcLoadSpectrum(std::string_view path, std::int64_t k, CSpcData* data, std::string* formatName,
                              SpcFailure* failure, SpcKindSpan table) {
  if (failure) *failure = SpcFailure();
  // Spectrum k of a container is the one it numbers k, read with the converter of its kind.
  const SpcContainerFormat& container = SpcContainer();
  if (const std::int32_t inContainer = container.count(path); inContainer > 0) {
    if (k < 0 || k >= inContainer) return SpcLoadResult::NotFound;
    if (formatName) *formatName = container.name;
    SpcFailure why;
    const bool read = container.read(path, static_cast<std::int32_t>(k), data, &why);
    const bool whole = why.empty();
    if (failure) *failure = std::move(why);
    return !read ? SpcLoadResult::ReadFailed : whole ? SpcLoadResult::Loaded : SpcLoadResult::Partial;
  }
  SpcLocation where;
  {
    COrvFile file(path);
    if (!SpcFindConverter(file, k, &where, table)) return SpcLoadResult::NotFound;
    if (file.IsTooLarge()) {
      if (formatName) where.leaf->GetFormatName(*formatName);
      if (failure)
        *failure = SpcFailure::At("the file holds " + std::to_string(plat::fileInfo(std::string(path)).size) +
                                  " bytes, more than the " + std::to_string(kMaxSpectrumFileBytes) +
                                  " the converters read");
      return SpcLoadResult::TooLarge;
    }
  }
  if (formatName) where.leaf->GetFormatName(*formatName);
  where.leaf->m_pfnChoose = ChooseFromList;
  where.leaf->ClearFailure();
  data->Reset();
  if (!where.leaf->Read(path, data, where.indexInFile)) {
    if (failure) *failure = where.leaf->GetFailure();
    return SpcLoadResult::ReadFailed;
  }
  data->nKind = where.kindId;
  return SpcLoadResult::Loaded;
}

bool SpcSaveSpectrum(std::string_view path, CSpcProcess* process, std::int32_t format, std::int32_t saveOption,
                     std::int32_t number) {
  if (!process || !process->m_pData) return false;
  const SpcKindRow* row = SpcFindKind(process->m_pData->nKind);
  if (!row || format < 0 || static_cast<std::uint32_t>(format) >= row->kind->GetFormatCount()) return false;
  std::unique_ptr<CSpcConvert> leaf = row->kind->CreateFormat(format);
  return leaf && leaf->Write(path, process, saveOption, number);
}
