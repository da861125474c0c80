#pragma once
// Archive forms the controls share: the drawing records raw (their fixed byte layouts), and the
// class library's arrays, whose element count is 16 bits, or 0xFFFF and then 32 bits.
//
// Readers throw plat::ArchiveError on a short or corrupt archive, like every archive read.
#include <cstdint>
#include <string>
#include <vector>

#include "controls/common/gdirecords.h"
#include "platform/archive/archive.h"

namespace karvel {

void WriteLogFont(plat::Archive& ar, const gdi::LOGFONTA& font);
// The face name is terminated whatever the stored bytes hold.
gdi::LOGFONTA ReadLogFont(plat::Archive& ar);
void WriteLogPen(plat::Archive& ar, const gdi::LOGPEN& pen);
gdi::LOGPEN ReadLogPen(plat::Archive& ar);
void WriteLogBrush(plat::Archive& ar, const gdi::LOGBRUSH& brush);
gdi::LOGBRUSH ReadLogBrush(plat::Archive& ar);

void WriteArrayCount(plat::Archive& ar, std::size_t count);
// Refuses a count above maxCount (BadFormat) or one whose items of at least minItemBytes each
// cannot all be there (EndOfFile).
std::uint32_t ReadArrayCount(plat::Archive& ar, std::uint32_t maxCount, std::uint64_t minItemBytes);

// The class library's string array and 32-bit word array.
void WriteStringArray(plat::Archive& ar, const std::vector<std::string>& strings);
std::vector<std::string> ReadStringArray(plat::Archive& ar);
void WriteDWordArray(plat::Archive& ar, const std::vector<std::uint32_t>& words);
std::vector<std::uint32_t> ReadDWordArray(plat::Archive& ar);

}  // namespace karvel
