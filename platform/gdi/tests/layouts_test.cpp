#include <gtest/gtest.h>

#include <cstring>

#include "gdi_testing.h"

using namespace gdi;

namespace {

std::vector<std::uint8_t> le32(std::initializer_list<std::uint32_t> words) {
  std::vector<std::uint8_t> out;
  for (std::uint32_t w : words)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(w >> (8 * i)));
  return out;
}

}  // namespace

TEST(StoredLayouts, PenAndBrushAreTheirSixteenAndTwelveBytes) {
  LOGPEN pen;
  pen.lopnStyle = PS_DOT;
  pen.lopnWidth = {40, 40};
  pen.lopnColor = RGB(0, 180, 255);
  std::uint8_t bytes[16];
  StoreLogPen(pen, bytes);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + 16), le32({2, 40, 40, 0x00FFB400}));
  const LOGPEN back = LoadLogPen(bytes);
  EXPECT_EQ(back.lopnStyle, pen.lopnStyle);
  EXPECT_EQ(back.lopnWidth, pen.lopnWidth);
  EXPECT_EQ(back.lopnColor, pen.lopnColor);

  // The hatch is a full 32-bit field.
  LOGBRUSH brush{BS_HATCHED, RGB(1, 2, 3), 0x12345678};
  std::uint8_t b[12];
  StoreLogBrush(brush, b);
  EXPECT_EQ(std::vector<std::uint8_t>(b, b + 12), le32({2, 0x00030201, 0x12345678}));
  EXPECT_EQ(LoadLogBrush(b).lbHatch, 0x12345678u);
}

TEST(StoredLayouts, FontsAreSixtyAndNinetyTwoBytesWithTheFaceLast) {
  LOGFONTA a;
  a.lfHeight = -12;
  a.lfEscapement = 900;
  a.lfWeight = FW_BOLD;
  a.lfItalic = 1;
  a.lfPitchAndFamily = 0x22;
  SetFaceName(a, "Arial");
  std::uint8_t bytes[60];
  StoreLogFont(a, bytes);
  std::vector<std::uint8_t> want = le32({0xFFFFFFF4u, 0, 900, 0, 700});
  for (std::uint8_t v : {1, 0, 0, 0, 0, 0, 0, 0x22}) want.push_back(v);
  for (char c : std::string("Arial")) want.push_back(static_cast<std::uint8_t>(c));
  want.resize(60, 0);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + 60), want);

  const LOGFONTW w = ToLogFontW(a);
  std::uint8_t wide[92];
  StoreLogFont(w, wide);
  EXPECT_EQ(std::memcmp(wide, bytes, 28), 0);  // the numbers are the same
  EXPECT_EQ(wide[28], 'A');
  EXPECT_EQ(wide[29], 0);
  EXPECT_EQ(wide[36], 'l');
  EXPECT_EQ(FaceNameOf(LoadLogFontW(wide)), u"Arial");
  EXPECT_EQ(FaceNameOf(ToLogFontA(LoadLogFontW(wide))), "Arial");
}

TEST(StoredLayouts, FaceNamesStopAtThirtyOneBytesOnACharacterBoundary) {
  // 15 two-byte characters and two more: a cut at byte 31 would split the sixteenth.
  std::string face;
  for (int i = 0; i < 17; ++i) face += "\xC3\xA9";  // é
  LOGFONTA a;
  SetFaceName(a, face);
  EXPECT_EQ(FaceNameOf(a).size(), 30u);
  // A stored face without its terminator reads as its first 31 bytes, cut the same way.
  std::uint8_t bytes[60] = {};
  std::memcpy(bytes + 28, face.data(), 32);
  EXPECT_EQ(FaceNameOf(LoadLogFontA(bytes)), face.substr(0, 30));
}

TEST(StoredLayouts, StockObjectsAndColours) {
  LOGPEN p;
  ASSERT_TRUE(StockPen(NULL_PEN).GetLogPen(&p));
  EXPECT_EQ(p.lopnStyle, PS_NULL);
  LOGBRUSH b;
  ASSERT_TRUE(StockBrush(NULL_BRUSH).GetLogBrush(&b));
  EXPECT_EQ(b.lbStyle, BS_NULL);
  ASSERT_TRUE(StockBrush(LTGRAY_BRUSH).GetLogBrush(&b));
  EXPECT_EQ(b.lbColor, RGB(192, 192, 192));
  EXPECT_FALSE(StockFont(ANSI_FIXED_FONT).IsNull());
  // Red is the low byte.
  EXPECT_EQ(RGB(0, 180, 255), 0x00FFB400u);
  EXPECT_EQ(GetRValue(0x0000C0), 0xC0u);
  EXPECT_EQ(GetBValue(0xC00000), 0xC0u);
  EXPECT_EQ(MappedFaceName("arial"), "Liberation Sans");
  EXPECT_EQ(MappedFaceName("MS Sans Serif"), "Liberation Sans");
  EXPECT_EQ(MappedFaceName("Times New Roman"), "Liberation Serif");
  EXPECT_EQ(MappedFaceName("Courier New"), "Liberation Mono");
  EXPECT_EQ(MappedFaceName("Wingdings"), "Liberation Sans");
}
