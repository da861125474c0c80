#pragma once
// Read-only formats that only one spectrum kind knows: NIC mass spectra (text) and the Prism,
// SpectraMax, OMNIC and Opus infrared files (little-endian binary). Each file holds one
// spectrum; Opus files are recognised but not read.
#include <cstdint>
#include <memory>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

// MASS format 4: a text file with "$COMM" comment lines and a "$MS" line after which every
// number pair is one peak (m/z, intensity).
class CMassConvertNic : public CSpcFormat<CMassConvert> {
 public:
  static constexpr std::uint32_t kFormatIndex = 4;
  explicit CMassConvertNic(std::uint32_t format = kFormatIndex) : CSpcFormat<CMassConvert>(format) {}
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

// IR format 1: 513-byte records; the fourth holds the axis and the first 48 values.
class CIrConvertPrism : public CSpcFormat<CIrConvert> {
 public:
  static constexpr std::uint32_t kFormatIndex = 1;
  explicit CIrConvertPrism(std::uint32_t format = kFormatIndex) : CSpcFormat<CIrConvert>(format) {}
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

// IR format 3: a fixed header followed by 4-byte float data.
class CIrConvertOmnic : public CSpcFormat<CIrConvert> {
 public:
  static constexpr std::uint32_t kFormatIndex = 3;
  explicit CIrConvertOmnic(std::uint32_t format = kFormatIndex) : CSpcFormat<CIrConvert>(format) {}
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

// IR format 4: the header points at an axis block; the data floats lie right before it.
class CIrConvertSpectramax : public CSpcFormat<CIrConvert> {
 public:
  static constexpr std::uint32_t kFormatIndex = 4;
  explicit CIrConvertSpectramax(std::uint32_t format = kFormatIndex) : CSpcFormat<CIrConvert>(format) {}
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

// IR format 6: recognised so that the file is named, but there is no reader (Read fails).
class CIrConvertOpus : public CSpcFormat<CIrConvert> {
 public:
  static constexpr std::uint32_t kFormatIndex = 6;
  explicit CIrConvertOpus(std::uint32_t format = kFormatIndex) : CSpcFormat<CIrConvert>(format) {}
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view, CSpcData*, std::int32_t) override {
    return Fail(SpcFailure::At("Opus files are recognised but not read"));
  }
};

// Factories of the format table rows.
std::unique_ptr<CSpcConvert> CreateMassConvertNic(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertPrism(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertOmnic(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertSpectramax(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertOpus(std::uint32_t index);

// What the readers of these formats share.
namespace singleformat {

// A data value as a point value: a value that is not a finite float (NaN, infinity, a double
// beyond the float range) would poison every later computation on the spectrum, so it reads
// as 0.
inline float PointValue(double value) {
  constexpr double kMax = 3.4028234663852886e38;  // largest finite float
  if (!(value >= -kMax && value <= kMax)) return 0.0f;
  return static_cast<float>(value);
}

// Points a record may hold.
constexpr std::uint64_t kMaxPoints = CSpcData::kMaxPoints;

// Text up to its first 0 byte.
inline std::string_view UntilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace singleformat
