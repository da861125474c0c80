#include <gtest/gtest.h>

#include "gdi_testing.h"

using namespace gdi;
using namespace gdi_test;

namespace {

Font face(const char* name, int height, int escapement = 0) {
  Font f;
  f.CreateFont(height, 0, escapement, escapement, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, name);
  return f;
}

}  // namespace

// The metric-compatible faces have the published advance widths (in 2048ths of the em):
// Arial digits 1139, "A" 1366, space 569; Times New Roman digits 1024; Courier New 1229 for
// every character. Cell heights are 2288 units for Arial.
TEST(Text, ExtentsFollowThePublishedWidthsOfTheFaces) {
  RasterSurface s(10, 10);
  DC dc(s);
  dc.SelectObject(face("Arial", -2048));
  EXPECT_EQ(dc.GetTextFace(), "Liberation Sans");
  EXPECT_EQ(dc.GetTextExtent("0000000000"), (Size{11390, 2288}));
  EXPECT_EQ(dc.GetTextExtent(u"A 0"), (Size{1366 + 569 + 1139, 2288}));
  dc.SelectObject(face("MS Sans Serif", 2288));  // cell height: the same em
  EXPECT_EQ(dc.GetTextExtent("00"), (Size{2278, 2288}));
  dc.SelectObject(face("Times New Roman", -2048));
  EXPECT_EQ(dc.GetTextFace(), "Liberation Serif");
  EXPECT_EQ(dc.GetTextExtent("000").cx, 3072);
  dc.SelectObject(face("Courier New", -2048));
  EXPECT_EQ(dc.GetTextFace(), "Liberation Mono");
  EXPECT_EQ(dc.GetTextExtent("iWm.").cx, 4 * 1229);
}

TEST(Text, SmallSizesRoundEachAdvanceToWholePixelsTheSameOnEveryRun) {
  RasterSurface s(10, 10);
  // 1139 * 13 / 2048 = 7.23, 1139 * 16 / 2048 = 8.90; a cell height of 10 is an em of 8.95
  // and a digit of 4.98. Cells: 2288 * 13 / 2048 = 14.5, 2288 * 16 / 2048 = 17.9.
  struct Case {
    int height;
    Size digits;
  } cases[] = {{-13, {70, 15}}, {-16, {90, 18}}, {10, {50, 10}}};
  for (int run = 0; run < 2; ++run) {
    for (const Case& c : cases) {
      DC dc(s);
      dc.SelectObject(face("Arial", c.height));
      EXPECT_EQ(dc.GetTextExtent("0123456789"), c.digits) << c.height;
      const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
      int sum = 0;
      for (char ch : letters) sum += dc.GetTextExtent(std::string_view(&ch, 1)).cx;
      EXPECT_EQ(dc.GetTextExtent(letters).cx, sum) << "no kerning, whole-pixel advances";
      TEXTMETRIC tm;
      ASSERT_TRUE(dc.GetTextMetrics(&tm));
      EXPECT_EQ(tm.tmHeight, c.digits.cy);
      EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    }
  }
}

TEST(Text, AlignmentPlacesTheCellAroundTheReferencePoint) {
  RasterSurface s(200, 100);
  DC dc(s);
  dc.SelectObject(face("Arial", 20));
  dc.SetBkColor(kBlue);
  dc.SetBkMode(OPAQUE);
  // Blanks draw only their cell, in the background colour.
  const Size extent = dc.GetTextExtent("    ");
  dc.TextOut(10, 10, "    ");
  EXPECT_EQ(InkBox(s, kWhite), Rect(10, 10, 10 + extent.cx, 10 + extent.cy));
  EXPECT_EQ(s.CountPixels(kBlue), std::int64_t(extent.cx) * extent.cy);

  s.Fill(kWhite);
  dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
  dc.TextOut(150, 80, "    ");
  EXPECT_EQ(InkBox(s, kWhite), Rect(150 - extent.cx, 80 - extent.cy, 150, 80));

  s.Fill(kWhite);
  dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  TEXTMETRIC tm;
  dc.GetTextMetrics(&tm);
  dc.TextOut(100, 50, "    ");
  EXPECT_EQ(InkBox(s, kWhite), Rect(100 - extent.cx / 2, 50 - tm.tmAscent, 100 - extent.cx / 2 + extent.cx, 50 + tm.tmDescent));

  // With TA_UPDATECP the text starts at the current position and moves it on.
  s.Fill(kWhite);
  dc.SetTextAlign(TA_UPDATECP);
  dc.MoveTo(20, 20);
  dc.TextOut(0, 0, "    ");
  dc.TextOut(0, 0, "    ");
  EXPECT_EQ(dc.GetCurrentPosition(), (Point{20 + 2 * extent.cx, 20}));
  EXPECT_EQ(InkBox(s, kWhite), Rect(20, 20, 20 + 2 * extent.cx, 20 + extent.cy));
}

TEST(Text, EscapementTurnsTheTextCounterClockwise) {
  RasterSurface s(100, 200);
  DC dc(s);
  dc.SelectObject(face("Arial", 20, 900));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(kBlack);
  const Size extent = dc.GetTextExtent("Vertical");
  DC plain(s);
  plain.SelectObject(face("Arial", 20));
  EXPECT_EQ(extent, plain.GetTextExtent("Vertical")) << "extents run along the baseline";
  dc.TextOut(30, 150, "Vertical");
  // Reading upwards from the reference point: the ink lies above it, right of x, within the cell.
  const Rect ink = InkBox(s, kWhite);
  EXPECT_GT(ink.Height(), ink.Width());
  EXPECT_LE(ink.bottom, 151);
  EXPECT_GE(ink.top, 150 - extent.cx - 1);
  EXPECT_GE(ink.left, 30);
  EXPECT_LE(ink.right, 30 + extent.cy + 1);
}

TEST(Text, DrawTextBreaksLinesAndMeasures) {
  RasterSurface s(300, 200);
  DC dc(s);
  dc.SelectObject(face("Arial", 16));
  TEXTMETRIC tm;
  dc.GetTextMetrics(&tm);
  Rect r(0, 0, 300, 0);
  EXPECT_EQ(dc.DrawText("one\ntwo\r\nthree", &r, DT_CALCRECT), 3 * tm.tmHeight);
  EXPECT_EQ(r.Width(), dc.GetTextExtent("three").cx);
  // Word breaks at the rectangle's width.
  Rect narrow(0, 0, dc.GetTextExtent("one two three").cx, 0);
  EXPECT_EQ(dc.DrawText("one two three four", &narrow, DT_CALCRECT | DT_WORDBREAK), 2 * tm.tmHeight);
  // "&" marks the mnemonic; "&&" is an ampersand; the extent leaves the marks out.
  Rect m(0, 0, 300, 0);
  dc.DrawText("&File && more", &m, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(m.Width(), dc.GetTextExtent("File & more").cx);
  // Centred in a rectangle, clipped to it.
  dc.SetBkMode(OPAQUE);
  dc.SetBkColor(kBlue);
  Rect box(50, 50, 250, 150);
  dc.DrawText("    ", &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  const int w = dc.GetTextExtent("    ").cx;
  EXPECT_EQ(InkBox(s, kWhite), Rect(50 + (200 - w) / 2, 50 + (100 - tm.tmHeight) / 2, 50 + (200 - w) / 2 + w,
                                    50 + (100 - tm.tmHeight) / 2 + tm.tmHeight));
}

TEST(Text, AdvancesGivenPerByteOfEightBitTextAddUpPerCharacter) {
  RasterSurface s(100, 40);
  DC dc(s);
  dc.SelectObject(face("Arial", 20));
  dc.SetBkColor(kBlue);
  // A blank and a no-break space (two bytes in UTF-8): 3, then 4 + 5 pixels.
  const int dx[3] = {3, 4, 5};
  dc.ExtTextOut(10, 10, 0, nullptr, std::string_view(" \xC2\xA0"), dx);
  EXPECT_EQ(InkBox(s, kWhite), Rect(10, 10, 22, 30));
}
