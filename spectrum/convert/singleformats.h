#pragma once
// Read-only formats that only one spectrum kind knows: NIC mass spectra (text) and the Prism,
// SpectraMax, OMNIC and Opus infrared files (little-endian binary). Each file holds one
// spectrum; Opus files are recognised but not read.
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/base/bytes.h"
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
};

// Factories of the format table rows.
std::unique_ptr<CSpcConvert> CreateMassConvertNic(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertPrism(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertOmnic(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertSpectramax(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertOpus(std::uint32_t index);

// Bounds-checked little-endian access to a mapped file, shared by the binary readers.
namespace singleformat {

// The bytes of the file, or an empty view when nothing is mapped.
inline std::string_view View(const COrvFile& file) { return file.HasView() ? file.Bytes() : std::string_view(); }

// True when bytes [offset, offset + count) lie inside view.
inline bool Holds(std::string_view view, std::uint64_t offset, std::uint64_t count) {
  return offset <= view.size() && count <= view.size() - offset;
}

// Little-endian values at offset; the caller has checked the range with Holds.
template <class T>
T LoadLe(std::string_view view, std::size_t offset) {
  const char* p = view.data() + offset;
  if constexpr (std::is_same_v<T, float>) {
    return plat::loadLeF32(p);
  } else if constexpr (std::is_same_v<T, double>) {
    return plat::loadLeF64(p);
  } else {
    static_assert(std::is_same_v<T, std::uint16_t> || std::is_same_v<T, std::uint32_t>);
    return sizeof(T) == 2 ? static_cast<T>(plat::loadLe16(p)) : static_cast<T>(plat::loadLe32(p));
  }
}

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

// Appends an entry with an empty comment (readers never merge with an existing entry).
inline void AppendParam(CSpcData* data, const char* name, const CVariant& value) {
  data->params.Append(CSpcParam{value, name, ""});
}
inline void AppendDouble(CSpcData* data, const char* name, double value) {
  CVariant v;
  v.SetDouble(value);
  AppendParam(data, name, v);
}
inline void AppendFloat(CSpcData* data, const char* name, float value) {
  CVariant v;
  v.SetFloat(value);
  AppendParam(data, name, v);
}
inline void AppendLong(CSpcData* data, const char* name, std::int32_t value) {
  CVariant v;
  v.SetLong(value);
  AppendParam(data, name, v);
}
inline void AppendString(CSpcData* data, const char* name, std::string_view value) {
  CVariant v;
  v.SetString(value);
  AppendParam(data, name, v);
}

// Text up to its first 0 byte.
inline std::string_view UntilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace singleformat
