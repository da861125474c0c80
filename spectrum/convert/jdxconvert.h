#pragma once
// The JCAMP-DX converters of every spectrum kind.
//
// Each derives from its kind's converter and carries the CJcampDx codec as second base; it
// supplies the codec's four callbacks (parameters and data blocks when reading, header and data
// tables when writing). The spectrum folder converters of each kind derive from these classes
// and inherit the callbacks.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spectrum/convert/jcampdx.h"
#include "spectrum/convert/spcconvert.h"

// Why a read that found no table of points fails: a file without one holds no spectrum.
inline constexpr const char* kNoTableText = "no data table of a known form with points";

// The save options of the table-writing JCAMP-DX converters: the ordinate form of the table.
inline constexpr const char* kJcampSaveOptions = "FIX;PACKED;SQUEEZED;DIFFDUP";

// ---- NMR ----

// Format 3 of the NMR kind: one FID or spectrum, written as an NTUPLES file with a real and an
// imaginary page after a block of Bruker-style parameters.
class CNmrConvertJcampDx : public CSpcFormat<CNmrConvert>, public CJcampDx {
 public:
  static constexpr std::uint32_t kFormatIndex = 3;
  explicit CNmrConvertJcampDx(std::uint32_t format = kFormatIndex) : CSpcFormat<CNmrConvert>(format) {}

  // "NMR FID" and "NMR SPECTRUM".
  static const std::vector<std::string>& DataTypes();

  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override;
  std::int32_t GetSpectrumCount(COrvFile* file) override { return Detect(file) ? 1 : 0; }

  void OnParameter(const std::string& label, const CVariant& value, CSpcData* data) override;
  bool OnBlock(COrvFile& file, JcampVariableList& vars, std::int32_t page, CSpcData* data) override;
  bool WriteData(std::string& out, JcampVariableList& vars, std::int32_t var, CSpcProcess* process) override;
  void WriteHeader(JcampVariableList& vars, CSpcParamList& header, CSpcProcess* process) override;

 private:
  // The ordinates of a page while a file is read: one buffer for both pages, whose memory the
  // second page finds ready.
  std::vector<float> m_ordinates;
};

// ---- MASS ----

// Format 1 of the MASS kind: every peak table of the file is one scan; the current scan is
// written as (m/z, intensity) pairs.
class CMassConvertJcampDx : public CSpcFormat<CMassConvert>, public CJcampDx {
 public:
  static constexpr std::uint32_t kFormatIndex = 1;
  explicit CMassConvertJcampDx(std::uint32_t format = kFormatIndex) : CSpcFormat<CMassConvert>(format) {}

  // "MASS SPECTRUM".
  static const std::vector<std::string>& DataTypes();

  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override;
  std::int32_t GetSpectrumCount(COrvFile* file) override { return Detect(file) ? 1 : 0; }

  void OnParameter(const std::string& label, const CVariant& value, CSpcData* data) override;
  bool OnBlock(COrvFile& file, JcampVariableList& vars, std::int32_t page, CSpcData* data) override;
  bool WriteData(std::string& out, JcampVariableList& vars, std::int32_t var, CSpcProcess* process) override;
  void WriteHeader(JcampVariableList& vars, CSpcParamList& header, CSpcProcess* process) override;
};

// ---- IR, UV, CH and TIC: one family of plain XYDATA converters ----

// What tells the members of the family apart.
struct OpticalJcampTraits {
  const char* dataType;    // DATA TYPE written and looked for
  bool selectByType;       // Read takes the block of that DATA TYPE (else the file from its start)
  bool storesAxisAsSfo1;   // OnBlock stores SI, SFO1, SW (CH, TIC) instead of NPOINTS, FIRSTX, LASTX
  const char* xUnits;      // XUNITS written
  const char* yUnits;      // YUNITS written
};

template <class Kind>
class COpticalConvertJcampDx : public CSpcFormat<Kind>, public CJcampDx {
 public:
  COpticalConvertJcampDx(std::uint32_t format, const OpticalJcampTraits& traits) : CSpcFormat<Kind>(format), m_traits(traits) {}

  // The one DATA TYPE of the kind.
  const std::vector<std::string>& DataTypes() const { return m_dataTypes; }

  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override;
  std::int32_t GetSpectrumCount(COrvFile* file) override { return Detect(file) ? 1 : 0; }

  void OnParameter(const std::string& label, const CVariant& value, CSpcData* data) override;
  bool OnBlock(COrvFile& file, JcampVariableList& vars, std::int32_t page, CSpcData* data) override;
  bool WriteData(std::string& out, JcampVariableList& vars, std::int32_t var, CSpcProcess* process) override;
  void WriteHeader(JcampVariableList& vars, CSpcParamList& header, CSpcProcess* process) override;

 protected:
  const OpticalJcampTraits& m_traits;
  std::vector<std::string> m_dataTypes{m_traits.dataType};
};

extern template class COpticalConvertJcampDx<CIrConvert>;
extern template class COpticalConvertJcampDx<CUvConvert>;
extern template class COpticalConvertJcampDx<CChConvert>;
extern template class COpticalConvertJcampDx<CTicConvert>;

// Format 2 of the IR kind ("INFRARED SPECTRUM").
class CIrConvertJcampDx : public COpticalConvertJcampDx<CIrConvert> {
 public:
  static constexpr std::uint32_t kFormatIndex = 2;
  explicit CIrConvertJcampDx(std::uint32_t format = kFormatIndex);
};

// Format 1 of the UV kind ("UV/VIS SPECTRUM").
class CUvConvertJcampDx : public COpticalConvertJcampDx<CUvConvert> {
 public:
  static constexpr std::uint32_t kFormatIndex = 1;
  explicit CUvConvertJcampDx(std::uint32_t format = kFormatIndex);
};

// Format 1 of the CH kind ("LC"); reads the file from its start whatever its blocks' types.
class CChConvertJcampDx : public COpticalConvertJcampDx<CChConvert> {
 public:
  static constexpr std::uint32_t kFormatIndex = 1;
  explicit CChConvertJcampDx(std::uint32_t format = kFormatIndex);
};

// Format 1 of the TIC kind ("LC").
class CTicConvertJcampDx : public COpticalConvertJcampDx<CTicConvert> {
 public:
  static constexpr std::uint32_t kFormatIndex = 1;
  explicit CTicConvertJcampDx(std::uint32_t format = kFormatIndex);
};

// Factories of the kind table rows.
std::unique_ptr<CSpcConvert> CreateNmrConvertJcampDx(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateMassConvertJcampDx(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertJcampDx(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateUvConvertJcampDx(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateChConvertJcampDx(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateTicConvertJcampDx(std::uint32_t index);

// ---- Header helpers shared by the JCAMP-DX writers of every kind ----
namespace jdx {
// Appends the record's parameters after the fixed header entries, each at most once and not when
// the header already holds it (with or without "$"); names that would steer the reader (END,
// PAGE, the table labels) are left out. With privateLabels each name gets a "$". The appended
// entries are then sorted by name.
void AppendRecordParams(CSpcParamList& header, const CSpcParamList& params, bool privateLabels);

// The factor a table's ordinates are stored with, from the values it will hold. Data tables
// hold integers: the compressed forms have no fractions (a number with one among their tokens is
// read wrongly by other readers), and "%f" would keep six decimals only. Whole numbers keep the
// factor 1, and so do values too large to lose anything as integers; others are stored divided
// by a power of ten that gives the largest of them about nine digits, which the reader
// multiplies back.
class OrdinateFactor {
 public:
  void Add(double v);
  double Factor() const;

 private:
  double m_largest = 0.0;
  bool m_integral = true;
};
}  // namespace jdx
