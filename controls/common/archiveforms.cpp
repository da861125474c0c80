#include "controls/common/archiveforms.h"

#include <limits>

namespace karvel {

namespace {

constexpr std::uint16_t kWideCount = 0xFFFF;

}  // namespace

// The records travel in the platform's stored layouts.
template <std::size_t N, class Record, class Store>
void WriteRecord(plat::Archive& ar, const Record& record, Store store) {
  std::uint8_t bytes[N];
  store(record, bytes);
  ar.writeBytes(bytes, N);
}

template <std::size_t N, class Load>
auto ReadRecord(plat::Archive& ar, Load load) {
  std::uint8_t bytes[N];
  ar.readBytes(bytes, N);
  return load(bytes);
}

void WriteLogFont(plat::Archive& ar, const gdi::LOGFONTA& font) {
  WriteRecord<60>(ar, font, [](const gdi::LOGFONTA& f, std::uint8_t* out) { gdi::StoreLogFont(f, out); });
}

gdi::LOGFONTA ReadLogFont(plat::Archive& ar) { return ReadRecord<60>(ar, gdi::LoadLogFontA); }

void WriteLogPen(plat::Archive& ar, const gdi::LOGPEN& pen) { WriteRecord<16>(ar, pen, gdi::StoreLogPen); }

gdi::LOGPEN ReadLogPen(plat::Archive& ar) { return ReadRecord<16>(ar, gdi::LoadLogPen); }

void WriteLogBrush(plat::Archive& ar, const gdi::LOGBRUSH& brush) { WriteRecord<12>(ar, brush, gdi::StoreLogBrush); }

gdi::LOGBRUSH ReadLogBrush(plat::Archive& ar) { return ReadRecord<12>(ar, gdi::LoadLogBrush); }

void WriteArrayCount(plat::Archive& ar, std::size_t count) {
  if (count > std::numeric_limits<std::uint32_t>::max())
    plat::Archive::fail(plat::ArchiveError::Kind::BadFormat, "array too long for an archive");
  if (count < kWideCount) {
    ar.writeU16(static_cast<std::uint16_t>(count));
    return;
  }
  ar.writeU16(kWideCount);
  ar.writeU32(static_cast<std::uint32_t>(count));
}

std::uint32_t ReadArrayCount(plat::Archive& ar, std::uint32_t maxCount, std::uint64_t minItemBytes) {
  std::uint32_t count = ar.readU16();
  if (count == kWideCount) count = ar.readU32();
  if (count > maxCount) plat::Archive::fail(plat::ArchiveError::Kind::BadFormat, "array count out of range");
  ar.requireItems(count, minItemBytes);
  return count;
}

void WriteStringArray(plat::Archive& ar, const std::vector<std::string>& strings) {
  WriteArrayCount(ar, strings.size());
  for (const std::string& s : strings) ar.writeString(s);
}

std::vector<std::string> ReadStringArray(plat::Archive& ar) {
  // Every string takes at least its one-byte length.
  const std::uint32_t count = ReadArrayCount(ar, std::numeric_limits<std::uint32_t>::max(), 1);
  std::vector<std::string> strings;
  strings.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) strings.push_back(ar.readString());
  return strings;
}

void WriteDWordArray(plat::Archive& ar, const std::vector<std::uint32_t>& words) {
  WriteArrayCount(ar, words.size());
  for (const std::uint32_t w : words) ar.writeU32(w);
}

std::vector<std::uint32_t> ReadDWordArray(plat::Archive& ar) {
  const std::uint32_t count = ReadArrayCount(ar, std::numeric_limits<std::uint32_t>::max(), 4);
  std::vector<std::uint32_t> words(count);
  for (std::uint32_t& w : words) w = ar.readU32();
  return words;
}

}  // namespace karvel
