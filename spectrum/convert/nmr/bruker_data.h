#pragma once
// Binary data of a Bruker data set: headerless arrays of samples (fid, ser, 1r, 1i).
//
// The acquisition and processing parameters say how a sample is stored: its type (DTYPA for
// raw data, DTYPP for processed data) and its byte order (BYTORDA, BYTORDP). Decoding turns
// each sample into a float by value.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "spectrum/data/spcdata.h"

namespace bruker {

enum class SampleType { Int32, Float32, Float64 };

struct SampleFormat {
  SampleType type = SampleType::Int32;
  bool bigEndian = false;

  std::size_t Size() const { return type == SampleType::Float64 ? 8 : 4; }
};

// The format given by a data type code (0 integer, 1 float, 2 double) and a byte order code
// (0 little-endian, anything else big-endian). False for a data type code we do not know:
// reading such data would give garbage.
bool SampleFormatFromCodes(std::int32_t dataType, std::int32_t byteOrder, SampleFormat* format);

// The format of raw data (DTYPA, BYTORDA) or of processed data (DTYPP, BYTORDP) from the
// record's parameters; a missing code counts as 0.
bool RawSampleFormat(const CSpcParamList& params, SampleFormat* format);
bool ProcessedSampleFormat(const CSpcParamList& params, SampleFormat* format);

// Decodes the complex points (real then imaginary) of a block of samples, as many as it holds
// whole, into out, which has room for them.
void DecodeComplex(std::string_view block, SampleFormat format, CSpcPoint* out);
// Decodes the samples of a block into the real (imaginary = false) or imaginary parts of out.
void DecodeReal(std::string_view block, SampleFormat format, CSpcPoint* out, bool imaginary);

// Rows of a ser file start on 1024-byte boundaries: the distance in bytes from one row to the
// next for rows of rowBytes bytes.
std::uint64_t SerRowStride(std::uint64_t rowBytes);

}  // namespace bruker
