#pragma once
// Reader of Delta exports: the NMR format "Delta". A text header (".hdr") of key and value
// lines names the parameters; the complex points are 64-bit floats in the ".bin" file beside
// it, in the byte order the header's "endian" line gives.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

namespace nmrvendor {

// True when path has at least 5 characters and ends in ext (4 characters, with the dot)
// without regard to case.
bool HasHeaderExtension(std::string_view path, std::string_view ext);
// The data file of a header: the header's path with its last 4 characters replaced by ext.
// The data file beside a header: its path less the last 4 characters, then ext, as the folder
// spells it whatever the case.
std::string DataPathOf(std::string_view headerPath, std::string_view ext);

}  // namespace nmrvendor

// One header line, split the way the Delta header is read: the key up to the first blank or
// tab, the number after the blanks that follow it, and the (optionally quoted) text.
struct DeltaHeaderLine {
  std::string_view key;
  std::optional<double> number;
  std::optional<std::string_view> text;

  static DeltaHeaderLine Scan(std::string_view line);
};

class CNmrConvertDelta : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertDelta(std::uint32_t format);
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

std::unique_ptr<CSpcConvert> CreateNmrConvertDelta(std::uint32_t index);
