#pragma once
// Felix for Windows FID files: a text mark, a few acquisition numbers and, from offset 1536,
// complex points as pairs of 32-bit integers.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

class CNmrConvertFelixW : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertFelixW(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

std::unique_ptr<CSpcConvert> CreateNmrConvertFelixW(std::uint32_t index);
