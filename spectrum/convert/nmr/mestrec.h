#pragma once
// MestRe-C files: a magic, a 144-byte parameter block at 1024 and (real, imaginary) float pairs
// from 1536, followed by the display font the program keeps with its data.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

class CNmrConvertMestReC : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertMestReC(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override;
};

std::unique_ptr<CSpcConvert> CreateNmrConvertMestReC(std::uint32_t index);
