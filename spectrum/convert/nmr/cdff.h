#pragma once
// CDFF and MestRe-C: single-file NMR formats holding one FID or one spectrum each, with a
// fixed binary header in front of 32-bit values.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

class CSpcProcess;

// A spectrum value as the single-file writers put it out: phased, with the baseline removed
// once (the curve when there is one, else the base level).
double WrittenSpectrumValue(CSpcProcess& p, std::int32_t i, bool imaginary);

// CDFF: a 1032-byte header, the value count, then points as (imaginary, real) pairs.
class CNmrConvertCDFF : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertCDFF(std::uint32_t format) : CSpcFormat<CNmrConvert>(format) {}

  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override;
};

std::unique_ptr<CSpcConvert> CreateNmrConvertCDFF(std::uint32_t index);
