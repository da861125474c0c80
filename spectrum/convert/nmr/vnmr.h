#pragma once
// Reader of VNMR experiment folders: the NMR format "VNMR". A folder holds the raw data "fid"
// (big-endian), the text parameter file "procpar" and an optional "text" with the title; the
// reader takes a fixed set of parameters and the first block of the FID.
//
// The small helpers below are shared by the line- and block-based vendor readers of this folder
// (VNMR, VXR, Aspect, Delta, GSX): appending a date given as text, padding to a power of two and
// turning stored samples into finite floats.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

namespace nmrvendor {

// Appends the date that text names (see CVariant::ParseDate); a text that names no date adds
// nothing, so no invalid date is ever stored.
void AppendParsedDate(CSpcParamList& params, const char* name, std::string_view text);

// Smallest power of two that is at least n (1 when n is 1 or less); n must not exceed 2^30.
std::int64_t PowerOfTwoAtLeast(std::int64_t n);
// The integer part of value when it fits a signed 32-bit integer.
std::optional<std::int32_t> TruncToInt32(double value);
// A stored floating-point sample as a float: NaN becomes 0 and values beyond the float range
// saturate, so no file puts a non-finite value into the data.
float FiniteFloat(double value);
double FiniteDouble(double value);

}  // namespace nmrvendor

class CNmrConvertVNMR : public CSpcFormat<CNmrConvert> {
 public:
  explicit CNmrConvertVNMR(std::uint32_t format);
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;

  // Value lines of procpar: a count, then the value(s). Empty when the line is missing or holds
  // no value of that kind; each consumes the line either way.
  static std::optional<double> ReadProcparReal(COrvFile& procpar);
  static std::optional<std::int32_t> ReadProcparLong(COrvFile& procpar);
  // The text between the opening double quote and the next one.
  static std::optional<std::string> ReadProcparText(COrvFile& procpar);
};

std::unique_ptr<CSpcConvert> CreateNmrConvertVNMR(std::uint32_t index);
