#pragma once
// Reader of Saturn mass-spectrum files: every scan of the run, read either as a set of mass
// scans (MASS) or as the total ion current of each scan (TIC).
#include <cstdint>
#include <memory>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

// The reading code shared by the MASS and TIC leaves; the kind id says what to build.
class CVarianSaturn {
 public:
  // At least a whole header, beginning with the file mark.
  bool Detect(COrvFile* file) const;
  // Reads the file as kind (kSpcKindMass or kSpcKindTic). False when the header is short, and
  // then *why says so.
  bool Read(std::string_view path, CSpcData* data, std::int32_t kind, SpcFailure* why = nullptr) const;
};

class CMassConvertSaturn : public CSpcFormat<CMassConvert>, public CVarianSaturn {
 public:
  explicit CMassConvertSaturn(std::uint32_t format) : CSpcFormat<CMassConvert>(format) {}
  bool Detect(COrvFile* file) override { return CVarianSaturn::Detect(file); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t) override {
    return CVarianSaturn::Read(path, data, kSpcKindMass, &m_failure);
  }
};

class CTicConvertSaturn : public CSpcFormat<CTicConvert>, public CVarianSaturn {
 public:
  explicit CTicConvertSaturn(std::uint32_t format) : CSpcFormat<CTicConvert>(format) {}
  bool Detect(COrvFile* file) override { return CVarianSaturn::Detect(file); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t) override {
    return CVarianSaturn::Read(path, data, kSpcKindTic, &m_failure);
  }
};

// Factories of the format table rows.
std::unique_ptr<CSpcConvert> CreateMassConvertSaturn(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateTicConvertSaturn(std::uint32_t index);
