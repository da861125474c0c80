#pragma once
// The platform's drawing records as the controls keep and archive them: the 8-bit logical font
// (60 bytes), the logical pen (16) and the logical brush (12), and the colour word. Layouts are
// fixed: the controls' archives hold them raw.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/types.h"

namespace karvel {

// 0x00BBGGRR.
using ColorRef = std::uint32_t;

struct LogFontA {
  std::int32_t lfHeight = 0;
  std::int32_t lfWidth = 0;
  std::int32_t lfEscapement = 0;
  std::int32_t lfOrientation = 0;
  std::int32_t lfWeight = 0;
  std::uint8_t lfItalic = 0;
  std::uint8_t lfUnderline = 0;
  std::uint8_t lfStrikeOut = 0;
  std::uint8_t lfCharSet = 0;
  std::uint8_t lfOutPrecision = 0;
  std::uint8_t lfClipPrecision = 0;
  std::uint8_t lfQuality = 0;
  std::uint8_t lfPitchAndFamily = 0;
  // Always terminated inside its 32 bytes.
  char lfFaceName[32] = {};

  static constexpr std::size_t kFaceBytes = 31;

  std::string_view FaceName() const;
  // Keeps at most 31 bytes, cut on a UTF-8 character boundary.
  void SetFaceName(std::string_view face);
  bool operator==(const LogFontA&) const = default;
};
static_assert(sizeof(LogFontA) == 60);

struct LogPen {
  std::uint32_t lopnStyle = 0;
  // Only x counts for the width; the controls keep y equal to it.
  std::int32_t widthX = 0;
  std::int32_t widthY = 0;
  ColorRef lopnColor = 0;
  bool operator==(const LogPen&) const = default;
};
static_assert(sizeof(LogPen) == 16);

struct LogBrush {
  std::uint32_t lbStyle = 0;
  ColorRef lbColor = 0;
  std::uint32_t lbHatch = 0;
  bool operator==(const LogBrush&) const = default;
};
static_assert(sizeof(LogBrush) == 12);

constexpr std::uint32_t kBrushSolid = 0;
constexpr std::uint32_t kBrushHollow = 1;
constexpr std::uint32_t kPenSolid = 0;

// What a new control or table cell starts with: height 10 (points), weight 400, "Arial".
LogFontA DefaultControlFont();
// Hollow, white, no hatch.
LogBrush DefaultBackgroundBrush();
// Solid black, the given width in hundredths of a millimetre.
LogPen SolidPen(std::int32_t width);

// The longest prefix of text of at most maxBytes bytes that does not end inside a UTF-8
// sequence.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace karvel
