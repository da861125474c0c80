#pragma once
// Reader of ChemStation data folders: the mass spectrometer's ".ms" file read as mass scans
// (MASS) or as their totals (TIC), the diode-array ".uv" file (UV) and the single-channel
// ".ch" chromatogram (CH). A folder gives one spectrum per kind.
#include <cstdint>
#include <memory>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

// The reading code shared by the four leaves; the kind id chooses the data file.
class CChemStation {
 public:
  // A folder holding a data file of the kind, recognised by its signature.
  bool Detect(COrvFile* file, std::int32_t kind) const;
  // Reads the kind's data file of the folder. False when there is none with a whole header, and
  // then *why says so.
  bool Read(std::string_view path, CSpcData* data, std::int32_t kind, std::int32_t index,
            SpcFailure* why = nullptr) const;
};

template <class Kind, std::int32_t kKindId>
class CChemStationLeaf : public CSpcFormat<Kind>, public CChemStation {
 public:
  explicit CChemStationLeaf(std::uint32_t format) : CSpcFormat<Kind>(format) {}
  bool Detect(COrvFile* file) override { return CChemStation::Detect(file, kKindId); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override {
    return CChemStation::Read(path, data, kKindId, index, &this->m_failure);
  }
};

class CMassConvertChemStation : public CChemStationLeaf<CMassConvert, kSpcKindMass> {
 public:
  using CChemStationLeaf::CChemStationLeaf;
};
class CUvConvertChemStation : public CChemStationLeaf<CUvConvert, kSpcKindUv> {
 public:
  using CChemStationLeaf::CChemStationLeaf;
};
class CChConvertChemStation : public CChemStationLeaf<CChConvert, kSpcKindCh> {
 public:
  using CChemStationLeaf::CChemStationLeaf;
};
class CTicConvertChemStation : public CChemStationLeaf<CTicConvert, kSpcKindTic> {
 public:
  using CChemStationLeaf::CChemStationLeaf;
};

// Factories of the format table rows.
std::unique_ptr<CSpcConvert> CreateMassConvertChemStation(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateUvConvertChemStation(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateChConvertChemStation(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateTicConvertChemStation(std::uint32_t index);
