#pragma once
// CSpcConvert: one spectrum file format of one spectrum kind.
//
// Callers never name a format class. They walk the spectrum kind table and ask each kind object
// for its formats by index; a leaf converter lives for one operation (detect, count, read or
// write). The kind table, the numbering of the spectra of a file and the choice of the converter
// that reads a given one are here; the format tables, which name the leaves, are spcformats.cpp.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "spectrum/convert/orvfile.h"
#include "spectrum/convert/spcfailure.h"
#include "spectrum/data/spcdata.h"

class CSpcProcess;

// Converter caps.
constexpr std::uint32_t kSpcCapRead = 1;
constexpr std::uint32_t kSpcCapWrite = 2;
constexpr std::uint32_t kSpcCapReadWrite = 3;

// Spectrum kind ids (what a record stores as its kind).
enum SpcKind : std::int32_t {
  kSpcKindNmr = 0,
  kSpcKindMass = 1,
  kSpcKindIr = 2,
  kSpcKindUv = 3,
  kSpcKindCh = 4,
  kSpcKindTic = 5,
  kSpcKindNmr2d = 6,
};
constexpr std::int32_t kSpcKindCount = 7;

// The list-choice function: given the candidates found inside one file or folder, the index
// the user chose (-1 when none was selected).
using SpcChooseFunc = std::function<std::int32_t(const std::vector<std::string>& candidates)>;

class CSpcConvert {
 public:
  virtual ~CSpcConvert() = default;
  CSpcConvert(const CSpcConvert&) = delete;
  CSpcConvert& operator=(const CSpcConvert&) = delete;

  // A new leaf converter of format index (none when the index is out of range).
  virtual std::unique_ptr<CSpcConvert> CreateFormat(std::int32_t index) const = 0;
  virtual std::uint32_t GetFormatCount() const = 0;
  virtual bool Detect(COrvFile* file) = 0;
  virtual bool Read(std::string_view path, CSpcData* data, std::int32_t index) = 0;
  virtual bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) = 0;
  virtual std::uint32_t GetCaps() const = 0;
  // Save option names separated by ";", "" when there are none.
  virtual std::string GetSaveOptions() const = 0;
  // Default extension with its dot, "" when there is none.
  virtual std::string GetDefaultExt() const = 0;
  // Spectra of this format that the file holds; 0 when it is not of this format.
  virtual std::int32_t GetSpectrumCount(COrvFile* file) { return Detect(file) ? 1 : 0; }
  virtual void GetFormatName(std::string& name) const = 0;

  // Asks the choice function (entry 0 when there is none). False when the answer is not an
  // entry of the list: the read then fails instead of using it.
  bool Choose(const std::vector<std::string>& candidates, std::size_t* chosen) const;

  // The record's name: the text after the last "\" (or "/") of the path.
  static void SetNameFromPath(CSpcData* data, std::string_view path);
  // Renames the first entry of each old name in turn; the table ends with a null old name.
  struct RenamePair {
    const char* oldName;
    const char* newName;
  };
  static void RenameParams(CSpcParamList& params, const RenamePair* table);

  // Why the last Read of this leaf failed; empty before a read and after one that succeeded
  // without saying anything.
  const SpcFailure& GetFailure() const { return m_failure; }
  void ClearFailure() { m_failure = SpcFailure(); }

  SpcChooseFunc m_pfnChoose;
  std::uint32_t m_nFormat = 0;

 protected:
  explicit CSpcConvert(std::uint32_t format) : m_nFormat(format) {}

  // Notes why the read fails and gives false, so a check reads "return Fail(...)".
  bool Fail(SpcFailure failure) {
    m_failure = std::move(failure);
    return false;
  }

  // Filled by Fail, or directly by the reading code a leaf shares with others.
  SpcFailure m_failure;
};

// One row of a kind's format table (the tables are in spcformats.cpp).
struct SpcFormatInfo {
  const char* name;
  std::uint32_t caps;
  const char* ext;
  const char* options;
  // Makes the leaf.
  std::unique_ptr<CSpcConvert> (*create)(std::uint32_t index);
};

// A container format: a folder that numbers the spectra it holds itself, across kinds, so the
// loader asks it before the kinds' formats (the spectrum folder, named in spcformats.cpp).
struct SpcContainerFormat {
  const char* name;  // the format name of its spectra
  // Its spectra at path; 0 when path is none of it.
  std::int32_t (*count)(std::string_view path);
  // Reads spectrum number of path into data (reset first) and stores the kind id; false, with
  // the reason in *failure when given, when it cannot.
  bool (*read)(std::string_view path, std::int32_t number, CSpcData* data, SpcFailure* failure);
};
const SpcContainerFormat& SpcContainer();

// Behaviour shared by the kind classes: the kind's format table and the defaults of a leaf.
class CSpcKindConvert : public CSpcConvert {
 public:
  std::unique_ptr<CSpcConvert> CreateFormat(std::int32_t index) const override;
  std::uint32_t GetFormatCount() const override { return static_cast<std::uint32_t>(m_formats.size()); }
  void GetFormatName(std::string& name) const override;
  bool Detect(COrvFile*) override { return false; }
  bool Read(std::string_view, CSpcData*, std::int32_t) override { return false; }
  bool Write(std::string_view, CSpcProcess*, std::int32_t, std::int32_t) override { return false; }
  std::uint32_t GetCaps() const override { return 0; }
  std::string GetSaveOptions() const override { return ""; }
  std::string GetDefaultExt() const override { return ""; }

  const SpcFormatInfo& FormatInfo(std::uint32_t index) const { return m_formats[index]; }

 protected:
  CSpcKindConvert(std::uint32_t format, const std::vector<SpcFormatInfo>& formats)
      : CSpcConvert(format), m_formats(formats) {}

 private:
  const std::vector<SpcFormatInfo>& m_formats;
};

#define KEDRUS_SPC_KIND_CLASS(Name)                         \
  class Name : public CSpcKindConvert {                     \
   public:                                                  \
    explicit Name(std::uint32_t format = 0);                \
    static const std::vector<SpcFormatInfo>& Formats();     \
  };
KEDRUS_SPC_KIND_CLASS(CNmrConvert)
KEDRUS_SPC_KIND_CLASS(CMassConvert)
KEDRUS_SPC_KIND_CLASS(CIrConvert)
KEDRUS_SPC_KIND_CLASS(CUvConvert)
KEDRUS_SPC_KIND_CLASS(CChConvert)
KEDRUS_SPC_KIND_CLASS(CTicConvert)
KEDRUS_SPC_KIND_CLASS(CNmr2dConvert)
#undef KEDRUS_SPC_KIND_CLASS

// A leaf of one format of Kind: its caps, save options and default extension are those of its
// row of the kind's format table, so each leaf states them once, in the table.
template <class Kind>
class CSpcFormat : public Kind {
 public:
  explicit CSpcFormat(std::uint32_t format) : Kind(format) {}
  std::uint32_t GetCaps() const override { return Row() ? Row()->caps : 0; }
  std::string GetSaveOptions() const override { return Row() ? Row()->options : ""; }
  std::string GetDefaultExt() const override { return Row() ? Row()->ext : ""; }

 private:
  const SpcFormatInfo* Row() const {
    return this->m_nFormat < this->GetFormatCount() ? &this->FormatInfo(this->m_nFormat) : nullptr;
  }
};

// The spectrum kind table.
struct SpcKindRow {
  const char16_t* name;
  std::int32_t id;
  const CSpcConvert* kind;
};
const std::array<SpcKindRow, kSpcKindCount>& SpcKindTable();
// The row of kind id, or null.
const SpcKindRow* SpcFindKind(std::int32_t id);

// ---- The loader's rules ----

// The list-choice function the loader hands to a converter before Read. Tests and the user
// interface install the real one; without one the answer is 0, as when the dialog is cancelled.
void SetChooseFromList(SpcChooseFunc choose);
std::int32_t ChooseFromList(const std::vector<std::string>& candidates);

// The rules below walk a kind table in row order and each kind's formats in index order;
// they take the spectrum kind table unless given another (tests give their own).
using SpcKindSpan = std::span<const SpcKindRow>;

// Number of spectra of the file over every format of every kind.
std::int64_t SpcCountSpectra(COrvFile& file, SpcKindSpan table = SpcKindTable());

// The converter that holds spectrum k of the file.
struct SpcLocation {
  std::unique_ptr<CSpcConvert> leaf;
  std::int32_t kindId = 0;
  std::int32_t indexInFile = 0;  // k less the spectra of the converters before it
};
bool SpcFindConverter(COrvFile& file, std::int64_t k, SpcLocation* where, SpcKindSpan table = SpcKindTable());

// What identifies a file: the name of the last format that recognises it and the names of the
// kinds of all that do, joined by "/". False when none does.
bool SpcIdentifyFile(COrvFile& file, std::string* formatName, std::string* kindNames,
                     SpcKindSpan table = SpcKindTable());

// Partial: loaded, but a part of the file (a damaged point file of a spectrum folder) could not
// be read and was left out; failure says which. TooLarge: a format recognised the file, which is
// larger than the converters read (kMaxSpectrumFileBytes); nothing was read.
enum class SpcLoadResult { Loaded, Partial, NotFound, ReadFailed, TooLarge };
// Loads spectrum k of the file at path into data (which is reset first) and stores the kind
// id. On ReadFailed formatName names the format whose reader failed and failure says why (empty
// when the reader gave no reason); on Partial failure says what was left unread.
SpcLoadResult SpcLoadSpectrum(std::string_view path, std::int64_t k, CSpcData* data, std::string* formatName = nullptr,
                              SpcFailure* failure = nullptr, SpcKindSpan table = SpcKindTable());

// Saves through format index format of the kind of the process's record; false when there is
// no such format or the writer fails.
bool SpcSaveSpectrum(std::string_view path, CSpcProcess* process, std::int32_t format, std::int32_t saveOption,
                     std::int32_t number);
