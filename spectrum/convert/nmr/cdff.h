#pragma once
// CDFF and MestRe-C: single-file NMR formats holding one FID or one spectrum each, with a
// fixed binary header in front of 32-bit values.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

// CDFF: a 1032-byte header, the value count, then points as (imaginary, real) pairs.
class CNmrConvertCDFF : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertCDFF(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override;
};

std::unique_ptr<CSpcConvert> CreateNmrConvertCDFF(std::uint32_t index);
