#pragma once
// ACD ".esp" files: a run of tagged blocks, each opened by a fixed copyright magic, holding an
// NMR spectrum or FID (".ESP.") or a mass peak list (".MASSSP."). Read only; one spectrum a file.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

enum class AcdMode : std::int32_t { Nmr = 0, Mass = 1 };

// The reading code both leaves share.
class CACD {
 public:
  static bool Detect(const COrvFile* file, AcdMode mode);
  // Reads the first block of the mode's type (the index is not used); a failure says why in *why.
  static bool Read(std::string_view path, CSpcData* data, std::int32_t index, AcdMode mode,
                   SpcFailure* why = nullptr);
};

class CNmrConvertACD : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertACD(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}
  bool Detect(COrvFile* file) override { return CACD::Detect(file, AcdMode::Nmr); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override {
    return CACD::Read(path, data, index, AcdMode::Nmr, &m_failure);
  }
};

class CMassConvertACD : public CSpcFormat<CMassConvert> {
 public:
  explicit CMassConvertACD(std::uint32_t format) : CSpcFormat<CMassConvert>(format) {}
  bool Detect(COrvFile* file) override { return CACD::Detect(file, AcdMode::Mass); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override {
    return CACD::Read(path, data, index, AcdMode::Mass, &m_failure);
  }
};

// Factories of the format table rows.
std::unique_ptr<CSpcConvert> CreateNmrConvertACD(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateMassConvertACD(std::uint32_t index);
