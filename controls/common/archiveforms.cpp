#include "controls/common/archiveforms.h"

#include <limits>

namespace karvel {

namespace {

constexpr std::uint16_t kWideCount = 0xFFFF;

}  // namespace

void WriteLogFont(plat::Archive& ar, const LogFontA& font) {
  ar.writeI32(font.lfHeight);
  ar.writeI32(font.lfWidth);
  ar.writeI32(font.lfEscapement);
  ar.writeI32(font.lfOrientation);
  ar.writeI32(font.lfWeight);
  for (const std::uint8_t b : {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
                               font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily})
    ar.writeU8(b);
  ar.writeBytes(font.lfFaceName, sizeof font.lfFaceName);
}

LogFontA ReadLogFont(plat::Archive& ar) {
  ar.requireItems(1, sizeof(LogFontA));
  LogFontA font;
  font.lfHeight = ar.readI32();
  font.lfWidth = ar.readI32();
  font.lfEscapement = ar.readI32();
  font.lfOrientation = ar.readI32();
  font.lfWeight = ar.readI32();
  for (std::uint8_t* b : {&font.lfItalic, &font.lfUnderline, &font.lfStrikeOut, &font.lfCharSet, &font.lfOutPrecision,
                          &font.lfClipPrecision, &font.lfQuality, &font.lfPitchAndFamily})
    *b = ar.readU8();
  ar.readBytes(font.lfFaceName, sizeof font.lfFaceName);
  font.lfFaceName[LogFontA::kFaceBytes] = '\0';
  return font;
}

void WriteLogPen(plat::Archive& ar, const LogPen& pen) {
  ar.writeU32(pen.lopnStyle);
  ar.writeI32(pen.widthX);
  ar.writeI32(pen.widthY);
  ar.writeU32(pen.lopnColor);
}

LogPen ReadLogPen(plat::Archive& ar) {
  ar.requireItems(1, sizeof(LogPen));
  LogPen pen;
  pen.lopnStyle = ar.readU32();
  pen.widthX = ar.readI32();
  pen.widthY = ar.readI32();
  pen.lopnColor = ar.readU32();
  return pen;
}

void WriteLogBrush(plat::Archive& ar, const LogBrush& brush) {
  ar.writeU32(brush.lbStyle);
  ar.writeU32(brush.lbColor);
  ar.writeU32(brush.lbHatch);
}

LogBrush ReadLogBrush(plat::Archive& ar) {
  ar.requireItems(1, sizeof(LogBrush));
  LogBrush brush;
  brush.lbStyle = ar.readU32();
  brush.lbColor = ar.readU32();
  brush.lbHatch = ar.readU32();
  return brush;
}

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
