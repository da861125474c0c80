// Drawing records, their archive and profile forms, and the pixel arithmetic of the layouts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>

#include "controls/common/archiveforms.h"
#include "controls/common/fontprofile.h"
#include "controls/common/layout.h"
#include "foundation/profdesc.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace karvel::test {
namespace {

TEST(ControlRecords, FaceNamesKeep31BytesOnACharacterBoundary) {
  gdi::LOGFONTA font;
  gdi::SetFaceName(font, std::string(40, 'x'));
  EXPECT_EQ(gdi::FaceNameOf(font), std::string(31, 'x'));
  // "é" is two bytes: at bytes 31 and 32 it would be cut in half, so it goes whole.
  gdi::SetFaceName(font, std::string(30, 'x') + "\xC3\xA9");
  EXPECT_EQ(gdi::FaceNameOf(font), std::string(30, 'x'));
  // Bytes that are no UTF-8 are cut where they stand.
  EXPECT_EQ(CutUtf8(std::string(40, '\x80'), 31).size(), 31u);
  EXPECT_EQ(CutUtf8("abc", 31), "abc");
}

TEST(ControlRecords, ArchiveFormsAreRawAndChecked) {
  gdi::LOGFONTA font = DefaultControlFont();
  font.lfItalic = 1;
  std::memset(font.lfFaceName, 'F', sizeof font.lfFaceName);  // no terminator in 32 bytes
  plat::Archive out;
  WriteLogFont(out, font);
  WriteLogPen(out, SolidPen(25));
  WriteLogBrush(out, DefaultBackgroundBrush());
  WriteStringArray(out, {"a", std::string(300, 'b')});
  WriteArrayCount(out, 0xFFFE);
  WriteArrayCount(out, 0xFFFF);
  EXPECT_EQ(out.bytes().size(), 60u + 16 + 12 + (2 + 2 + 3 + 300) + 2 + 6);

  plat::Archive in(out.bytes());
  const gdi::LOGFONTA read = ReadLogFont(in);
  EXPECT_EQ(gdi::FaceNameOf(read), std::string(31, 'F'));
  EXPECT_EQ(read.lfItalic, 1);
  EXPECT_EQ(read.lfHeight, 10);
  EXPECT_EQ(ReadLogPen(in), SolidPen(25));
  EXPECT_EQ(ReadLogBrush(in), DefaultBackgroundBrush());
  EXPECT_EQ(ReadStringArray(in), (std::vector<std::string>{"a", std::string(300, 'b')}));
  EXPECT_EQ(ReadArrayCount(in, 0xFFFE, 0), 0xFFFEu);
  // 0xFFFF items cannot follow in what is left, nor may more than the caller allows.
  const std::size_t at = in.position();
  EXPECT_THROW(ReadArrayCount(in, 0xFFFF, 1), plat::ArchiveError);
  plat::Archive again(std::span(out.bytes().data() + at, out.bytes().size() - at));
  EXPECT_THROW(ReadArrayCount(again, 0xFFFE, 0), plat::ArchiveError);
}

class FontProfile : public ::testing::Test {
 protected:
  // A section of an INI file in the scratch folder.
  std::unique_ptr<COrvProfDesc> Section(const char16_t* section) {
    const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
    const std::string dir = scratch && *scratch ? scratch : "/tmp";
    plat::makeDirectories(dir);
    auto desc = std::make_unique<COrvProfDesc>(plat::toUtf16(plat::joinPath(dir, "fonts.ini")).c_str(), section);
    desc->SetIni(true);
    return desc;
  }
};

TEST_F(FontProfile, FontsRoundTripAsFourteenValues) {
  gdi::LOGFONTA font;
  font.lfHeight = -12;
  font.lfWidth = 7;
  font.lfWeight = 700;
  font.lfUnderline = 1;
  font.lfPitchAndFamily = 0x22;
  gdi::SetFaceName(font, "Courier New");
  ASSERT_TRUE(SaveFontToProfile(font, *Section(u"\\Font")));
  int values = 0;
  OrvGetProfValues(&values, Section(u"\\Font").get());
  EXPECT_EQ(values, 14);
  gdi::LOGFONTA read = DefaultControlFont();
  ASSERT_TRUE(LoadFontFromProfile(&read, *Section(u"\\Font")));
  EXPECT_EQ(read, font);

  // Only a name: a record of zeros with that face. No section: false and zeros.
  ASSERT_EQ(OrvSetProfString(u"Name", u"Symbol", Section(u"\\NameOnly").get()), PROF_OK);
  ASSERT_TRUE(LoadFontFromProfile(&read, *Section(u"\\NameOnly")));
  gdi::LOGFONTA expected;
  gdi::SetFaceName(expected, "Symbol");
  EXPECT_EQ(read, expected);
  EXPECT_FALSE(LoadFontFromProfile(&read, *Section(u"\\Missing")));
  EXPECT_EQ(read, gdi::LOGFONTA());
}

TEST(ControlRecords, AttributeCopyMovesWhatTheFontInterfaceCarries) {
  gdi::LOGFONTA from;
  from.lfHeight = 14;
  from.lfWidth = 9;
  from.lfEscapement = 900;
  from.lfWeight = 0x18000;  // low 16 bits 0x8000: sign-extended
  from.lfItalic = 1;
  from.lfStrikeOut = 1;
  from.lfCharSet = 2;
  from.lfQuality = 3;
  gdi::SetFaceName(from, "Times");
  gdi::LOGFONTA to = DefaultControlFont();
  CopyFontAttributes(from, &to);
  EXPECT_EQ(to.lfHeight, 14);
  EXPECT_EQ(to.lfWeight, -32768);
  EXPECT_EQ(to.lfItalic, 1);
  EXPECT_EQ(to.lfStrikeOut, 1);
  EXPECT_EQ(to.lfCharSet, 2);
  EXPECT_EQ(gdi::FaceNameOf(to), "Times");
  EXPECT_EQ(to.lfWidth, 0);
  EXPECT_EQ(to.lfEscapement, 0);
  EXPECT_EQ(to.lfQuality, 0);
}

TEST(ControlLayout, PixelArithmeticRoundsHalfAwayAndClamps) {
  EXPECT_EQ(PenWidthPixels(40, 96, 100), 2);
  EXPECT_EQ(PenWidthPixels(10, 96, 100), 0);
  EXPECT_EQ(PenWidthPixels(10, 600, 400), 9);
  EXPECT_EQ(ScaleFont(DefaultControlFont(), 96, 100).lfHeight, 13);
  EXPECT_EQ(MulDiv64(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv64(3, 1, -2), -2);
  EXPECT_EQ(MulDiv64(5, 7, 0), 0);
  EXPECT_EQ(MulDiv64(std::numeric_limits<std::int64_t>::max(), 4, 1), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(TruncToPixel(-2.9), -2);
  EXPECT_EQ(TruncToPixel(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(TruncToPixel(1e300), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToPixel(-2.5), -3);
}

TEST(ControlLayout, GridWithoutExtentIsEmpty) {
  const GridPicture none = StretchGrid({0, 0, 100, 100}, {0, 0}, {10}, {});
  EXPECT_TRUE(none.lines.empty());
  EXPECT_TRUE(none.texts.empty());
  const GridPicture one = StretchGrid({0, 0, 100, 100}, {20}, {10}, {{0, 0, "x", {4, 6}, gdi::LOGFONTA(), 5}});
  EXPECT_EQ(one.lines.size(), 4u);
  ASSERT_EQ(one.texts.size(), 1u);
  EXPECT_EQ(one.texts[0].origin, (Point{48, 47}));
  EXPECT_EQ(one.texts[0].color, 5u);
}

}  // namespace
}  // namespace karvel::test
