#pragma once
// The spectrum folder: the product's own storage format, format 0 ("KEDRUS") of every kind.
//
// A folder holds a profile file "parameters" (INI text, one section "CONTROL_<KIND>_<n>" per
// stored spectrum n) and headerless little-endian point files named after the spectrum number:
// "fid.n" and "spectrum.n" (complex float32 pairs) for NMR and NMR 2D, "spectrum.n" of float32
// values for IR, UV, CH and TIC, and of scan records for MASS. The spectrum control keeps files of
// its own beside these; the format leaves them alone.
//
// The numbers of a folder's spectra are the numbers of their sections, whatever their kinds: the
// folder holds (highest number + 1) spectra, and spectrum j is read with the converter of the kind
// whose section "CONTROL_<KIND>_j" exists.
//
// A save over a stored spectrum writes the new point files under temporary names first and
// switches to them with one save of the parameters file; while it finishes, the section's key
// "SAVING" lists the files written under its token (".fid.n.<token>.saving"). A reader takes only
// the point files a section names that way or by the plain names.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spectrum/convert/jdxconvert.h"
#include "spectrum/convert/spcconvert.h"

class COrvProfDesc;

// How a kind keeps its points.
enum class SpcFolderPoints {
  Complex,  // fid.n and spectrum.n, complex points
  Real,     // spectrum.n, one float32 per point
  Scans,    // spectrum.n, mass scan records
};

// What tells the kinds apart in a folder.
struct SpcFolderKind {
  std::int32_t kindId;
  const char* sectionPrefix;  // "\CONTROL_NMR": the section of spectrum n is prefix + "_" + n
  SpcFolderPoints points;
  bool allRows;               // NMR 2D: the point files are read back whole (all rows), unpadded
};
// The row of a kind id, or null.
const SpcFolderKind* SpcFolderKindOf(std::int32_t kindId);
// The highest spectrum number a folder holds: a section numbered above it is no spectrum.
constexpr std::int32_t kSpcFolderMaxNumber = 65535;

// One stored spectrum of a folder, as its parameters file names it.
struct SpcFolderEntry {
  std::int32_t number;
  std::int32_t kindId;
};
// The spectra whose sections the folder's parameters file holds, by number, then by kind id.
std::vector<SpcFolderEntry> SpcFolderList(std::string_view folder);
// Highest spectrum number + 1; 0 when the path is no spectrum folder.
std::int32_t SpcFolderSpectrumCount(std::string_view folder);
// The kind of spectrum number (the lowest kind id when several kinds claim the number).
bool SpcFolderFindSpectrum(std::string_view folder, std::int32_t number, std::int32_t* kindId);
// Reads spectrum number of the folder into data (which is reset first) with its kind's
// converter and stores the kind id; false when there is no such spectrum or it cannot be read,
// and then failure (when given) says why.
bool SpcFolderReadSpectrum(std::string_view folder, std::int32_t number, CSpcData* data,
                           SpcFailure* failure = nullptr);

// The format's reader and writer, shared by the seven leaves.
class CSpcFolderCodec {
 public:
  explicit CSpcFolderCodec(const SpcFolderKind& kind) : m_kind(kind) {}

  // Is path a folder whose parameters file holds a section of this kind.
  bool Detect(COrvFile* file) const;
  // Spectrum numbers that the kind table's walk hands to this kind: the kinds share out the
  // numbers in kind order, each from the number after the highest of the kinds before it up to
  // its own highest. Together they count (highest number + 1), and spectrum j of a folder whose
  // kinds follow each other in kind order is found at index j.
  std::int32_t GetSpectrumCount(COrvFile* file) const;
  // First spectrum number of that share.
  std::int32_t FirstNumber(std::string_view folder) const;

  // Reads spectrum number; false when its section is missing or none of the point files it
  // names can be read, and then *why (when given) says why. A damaged point file beside one that
  // reads is left out: the read succeeds and *why names the file left unread.
  bool Read(std::string_view folder, CSpcData* data, std::int32_t number, SpcFailure* why = nullptr) const;
  // Stores the processing state's record as spectrum number, replacing whatever was stored
  // under that number before; the other spectra stay. Wherever the save stops (the program is
  // killed), the folder holds the old spectrum or the new one, whole.
  bool Write(std::string_view folder, CSpcProcess* process, std::int32_t number) const;

  // Stores value (widened to double) formatted with format ("%f") as text.
  static bool WriteProfFloat(const char16_t* name, float value, const char* format, COrvProfDesc& desc);

 private:
  // Replaces spectrum number's sections by its new one in one save of the parameters file;
  // saving is the text of the save's own key.
  bool WriteSection(const std::string& dir, CSpcProcess* process, std::int32_t number, std::size_t realCount,
                    std::string_view saving) const;

  const SpcFolderKind& m_kind;
};

// For tests: called after each step of a save that changes the folder (a point file written,
// removed or renamed, the parameters file switched), with the step's name, so a test can stop
// the save there.
using SpcFolderSaveStep = void (*)(const char* step);
void SpcFolderSetSaveStepHook(SpcFolderSaveStep hook);

// The leaves: each kind's JCAMP-DX converter with the folder's detection, reading and writing.
#define KEDRUS_SPC_FOLDER_LEAF(Name, Base)                                                             \
  class Name : public Base {                                                                           \
   public:                                                                                             \
    static constexpr std::uint32_t kFormatIndex = 0;                                                   \
    explicit Name(std::uint32_t format = kFormatIndex);                                                \
    bool Detect(COrvFile* file) override;                                                              \
    /* index counts within this kind's share of the folder's numbers (see GetSpectrumCount) */       \
    bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;                    \
    bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption,                   \
               std::int32_t number) override;                                                          \
    std::int32_t GetSpectrumCount(COrvFile* file) override;                                            \
  };
KEDRUS_SPC_FOLDER_LEAF(CNmrConvertBase, CNmrConvertJcampDx)
KEDRUS_SPC_FOLDER_LEAF(CMassConvertBase, CMassConvertJcampDx)
KEDRUS_SPC_FOLDER_LEAF(CIrConvertBase, CIrConvertJcampDx)
KEDRUS_SPC_FOLDER_LEAF(CUvConvertBase, CUvConvertJcampDx)
KEDRUS_SPC_FOLDER_LEAF(CChConvertBase, CChConvertJcampDx)
KEDRUS_SPC_FOLDER_LEAF(CTicConvertBase, CTicConvertJcampDx)
// The 2D leaf shares the NMR folder code through the codec rather than a second converter base,
// so a pointer to it converts to one CSpcConvert only.
KEDRUS_SPC_FOLDER_LEAF(CNmr2dConvertBase, CSpcFormat<CNmr2dConvert>)
#undef KEDRUS_SPC_FOLDER_LEAF

// Factories of the kind table rows (format index 0 of every kind).
std::unique_ptr<CSpcConvert> CreateNmrConvertBase(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateMassConvertBase(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertBase(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateUvConvertBase(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateChConvertBase(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateTicConvertBase(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateNmr2dConvertBase(std::uint32_t index);
