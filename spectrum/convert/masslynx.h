#pragma once
// Reader of MassLynx data folders: every function file "_FUNCnnn.DAT" with its index file
// "_FUNCnnn.IDX" is one spectrum, read either as a set of mass scans (MASS) or as the total ion
// current of each acquisition (TIC).
#include <cstdint>
#include <memory>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

// The reading code shared by the MASS and TIC leaves; the kind id says what to build.
class CMassLynx {
 public:
  // A folder with at least one function file.
  bool Detect(COrvFile* file) const;
  // Number of function files of the folder (0 when the path is no folder).
  std::int32_t GetSpectrumCount(COrvFile* file) const;
  // Reads function file index of the folder as kind (kSpcKindMass or kSpcKindTic). False when
  // there is no such function, or its data or index file cannot be opened; *why then says which.
  bool Read(std::string_view path, CSpcData* data, std::int32_t index, std::int32_t kind,
            SpcFailure* why = nullptr) const;
};

class CMassConvertMassLynx : public CSpcFormat<CMassConvert>, public CMassLynx {
 public:
  explicit CMassConvertMassLynx(std::uint32_t format) : CSpcFormat<CMassConvert>(format) {}
  bool Detect(COrvFile* file) override { return CMassLynx::Detect(file); }
  std::int32_t GetSpectrumCount(COrvFile* file) override { return CMassLynx::GetSpectrumCount(file); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override {
    return CMassLynx::Read(path, data, index, kSpcKindMass, &m_failure);
  }
};

class CTicConvertMassLynx : public CSpcFormat<CTicConvert>, public CMassLynx {
 public:
  explicit CTicConvertMassLynx(std::uint32_t format) : CSpcFormat<CTicConvert>(format) {}
  bool Detect(COrvFile* file) override { return CMassLynx::Detect(file); }
  std::int32_t GetSpectrumCount(COrvFile* file) override { return CMassLynx::GetSpectrumCount(file); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override {
    return CMassLynx::Read(path, data, index, kSpcKindTic, &m_failure);
  }
};

// Factories of the format table rows.
std::unique_ptr<CSpcConvert> CreateMassConvertMassLynx(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateTicConvertMassLynx(std::uint32_t index);
