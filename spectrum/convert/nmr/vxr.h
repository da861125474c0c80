#pragma once
// Readers of two single-file vendor formats of the NMR kind:
//  - "VXR": a Varian VXR file: a "KEY" marker, two blocks of keyed parameter records at 512
//    and 1536 and little-endian 32-bit integer pairs from 2560;
//  - "DisNMR": a Bruker Aspect file of 24-bit big-endian machine words: a 555-byte header of
//    parameters at fixed offsets and the points from 768.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/bytecursor.h"
#include "spectrum/convert/spcconvert.h"

// Appends the parameters of the block of key records at offset of bytes; true when the block
// ended with "END", false when the bytes ended first.
bool ReadVxrKeys(std::string_view bytes, std::size_t offset, CSpcParamList* params);

// Aspect machine words (3 bytes each, most significant first), read at the cursor.
std::int32_t ReadAspectWord(plat::ByteCursor& in);
// A 21-bit mantissa m (bits 3-23) and a decimal exponent code k (bits 0-2): m * 10^(k - 1).
double ReadAspectDecimal(plat::ByteCursor& in);
// Two words: a 37-bit two's-complement fraction and an 11-bit binary exponent.
double ReadAspectReal48(plat::ByteCursor& in);
// Text of a field of n bytes: four 6-bit characters a word, or one 7-bit character a byte.
std::string ReadAspectSixbitText(plat::ByteCursor& in, std::size_t n);
std::string ReadAspectText(plat::ByteCursor& in, std::size_t n);

class CNmrConvertVarian : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertVarian(std::uint32_t format);
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

class CNmrConvertAspect : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertAspect(std::uint32_t format);
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

std::unique_ptr<CSpcConvert> CreateNmrConvertVarian(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateNmrConvertAspect(std::uint32_t index);
