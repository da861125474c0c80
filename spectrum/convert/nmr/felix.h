#pragma once
// Felix for Windows FID files: a text mark, a few acquisition numbers and, from offset 1536,
// complex points as pairs of 32-bit integers.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

class CNmrConvertFelixW : public CNmrConvert {
 public:
  explicit CNmrConvertFelixW(std::uint32_t format) : CNmrConvert(format) {}

  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
  bool Write(std::string_view, CSpcProcess*, std::int32_t, std::int32_t) override { return false; }
  std::uint32_t GetCaps() const override { return kSpcCapRead; }
  std::string GetSaveOptions() const override { return ""; }
  std::string GetDefaultExt() const override { return ".001"; }
};

std::unique_ptr<CSpcConvert> CreateNmrConvertFelixW(std::uint32_t index);
