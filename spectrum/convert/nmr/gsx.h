#pragma once
// Reader of GSX spectrometer data: the NMR format "GSX". A text parameter file (".gxp") whose
// lines start with the parameter's name, and the points as little-endian 32-bit integer pairs
// in the ".gxd" file beside it. The sibling of the Delta reader.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

// One parameter line: the number and the text after its first word and the blanks or tabs
// that follow it (the text runs to the line's end).
struct GsxParamLine {
  std::optional<double> number;
  std::optional<std::string_view> text;

  static GsxParamLine Scan(std::string_view line);
};

class CNmrConvertGSX : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertGSX(std::uint32_t format);
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

std::unique_ptr<CSpcConvert> CreateNmrConvertGSX(std::uint32_t index);
