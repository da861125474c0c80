#include "spectrum/convert/nmr/bruker_data.h"

#include <bit>
#include <cfloat>
#include <cstring>

namespace bruker {

namespace {

constexpr std::uint64_t kSerBlock = 1024;

std::uint32_t Swap32(std::uint32_t v) { return __builtin_bswap32(v); }
std::uint64_t Swap64(std::uint64_t v) { return __builtin_bswap64(v); }

// A stored floating-point sample as a float: beyond the float range it saturates, and a NaN
// becomes 0, so no file puts a non-finite value into the data.
inline float Narrow(double d) {
  if (d != d) return 0.0f;
  if (d > FLT_MAX) return FLT_MAX;
  if (d < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(d);
}

// One sample at src as a float, in the file's byte order.
template <SampleType Type, bool Swap>
inline float Sample(const std::uint8_t* src) {
  if constexpr (Type == SampleType::Float64) {
    std::uint64_t bits;
    std::memcpy(&bits, src, 8);
    if constexpr (Swap) bits = Swap64(bits);
    return Narrow(std::bit_cast<double>(bits));
  } else {
    std::uint32_t bits;
    std::memcpy(&bits, src, 4);
    if constexpr (Swap) bits = Swap32(bits);
    if constexpr (Type == SampleType::Int32)
      return static_cast<float>(static_cast<std::int32_t>(bits));
    else
      return Narrow(std::bit_cast<float>(bits));
  }
}

template <SampleType Type, bool Swap>
void ComplexLoop(const std::uint8_t* src, std::size_t n, CSpcPoint* out) {
  constexpr std::size_t size = Type == SampleType::Float64 ? 8 : 4;
  for (std::size_t i = 0; i < n; ++i, src += 2 * size) {
    out[i].re = Sample<Type, Swap>(src);
    out[i].im = Sample<Type, Swap>(src + size);
  }
}

template <SampleType Type, bool Swap>
void RealLoop(const std::uint8_t* src, std::size_t n, CSpcPoint* out, bool imaginary) {
  constexpr std::size_t size = Type == SampleType::Float64 ? 8 : 4;
  if (imaginary) {
    for (std::size_t i = 0; i < n; ++i, src += size) out[i].im = Sample<Type, Swap>(src);
  } else {
    for (std::size_t i = 0; i < n; ++i, src += size) out[i].re = Sample<Type, Swap>(src);
  }
}

// Calls Loop<Type, Swap> for the format: the type and byte order are fixed per loop, so the
// inner loops stay free of branches.
template <template <SampleType, bool> class Loop, class... Args>
void Dispatch(SampleFormat format, Args... args) {
  const bool swap = format.bigEndian != (std::endian::native == std::endian::big);
  switch (format.type) {
    case SampleType::Int32:
      swap ? Loop<SampleType::Int32, true>::Run(args...) : Loop<SampleType::Int32, false>::Run(args...);
      break;
    case SampleType::Float32:
      swap ? Loop<SampleType::Float32, true>::Run(args...) : Loop<SampleType::Float32, false>::Run(args...);
      break;
    case SampleType::Float64:
      swap ? Loop<SampleType::Float64, true>::Run(args...) : Loop<SampleType::Float64, false>::Run(args...);
      break;
  }
}

template <SampleType Type, bool Swap>
struct ComplexRun {
  static void Run(const std::uint8_t* src, std::size_t n, CSpcPoint* out) { ComplexLoop<Type, Swap>(src, n, out); }
};

template <SampleType Type, bool Swap>
struct RealRun {
  static void Run(const std::uint8_t* src, std::size_t n, CSpcPoint* out, bool imaginary) {
    RealLoop<Type, Swap>(src, n, out, imaginary);
  }
};

}  // namespace

bool SampleFormatFromCodes(std::int32_t dataType, std::int32_t byteOrder, SampleFormat* format) {
  switch (dataType) {
    case 0: format->type = SampleType::Int32; break;
    case 1: format->type = SampleType::Float32; break;
    case 2: format->type = SampleType::Float64; break;
    default: return false;
  }
  format->bigEndian = byteOrder != 0;
  return true;
}

bool RawSampleFormat(const CSpcParamList& params, SampleFormat* format) {
  return SampleFormatFromCodes(params.GetValue("DTYPA").GetLong(), params.GetValue("BYTORDA").GetLong(), format);
}

bool ProcessedSampleFormat(const CSpcParamList& params, SampleFormat* format) {
  return SampleFormatFromCodes(params.GetValue("DTYPP").GetLong(), params.GetValue("BYTORDP").GetLong(), format);
}

void DecodeComplex(std::string_view block, SampleFormat format, CSpcPoint* out) {
  const auto* src = reinterpret_cast<const std::uint8_t*>(block.data());
  Dispatch<ComplexRun>(format, src, block.size() / (2 * format.Size()), out);
}

void DecodeReal(std::string_view block, SampleFormat format, CSpcPoint* out, bool imaginary) {
  const auto* src = reinterpret_cast<const std::uint8_t*>(block.data());
  Dispatch<RealRun>(format, src, block.size() / format.Size(), out, imaginary);
}

std::uint64_t SerRowStride(std::uint64_t rowBytes) { return (rowBytes + kSerBlock - 1) / kSerBlock * kSerBlock; }

}  // namespace bruker
