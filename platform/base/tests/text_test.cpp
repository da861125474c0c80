#include "platform/base/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using plat::String16;

TEST(Text, Utf8RoundTripsEveryPlane) {
  const String16 text = u"a\u00e9\u20ac\U0001F600z";
  EXPECT_EQ(plat::toUtf8(text), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(plat::toUtf16(plat::toUtf8(text)), text);
}

TEST(Text, InvalidUtf8DecodesAsWindows1252) {
  // 0xE9 alone is no UTF-8; in Windows-1252 it is e-acute, 0x80 the euro sign.
  EXPECT_EQ(plat::toUtf16("caf\xE9"), u"caf\u00e9");
  EXPECT_EQ(plat::toUtf16("\x80" "5"), u"\u20ac" u"5");
  // Overlong forms and encoded surrogates are not well formed either.
  EXPECT_EQ(plat::toUtf16("\xC0\xAF"), u"\u00c0\u00af");
  EXPECT_EQ(plat::toUtf16("\xED\xA0\x80"), u"\u00ed\u00a0\u20ac");
  // A sequence cut short at the end of the text.
  EXPECT_EQ(plat::toUtf16("ab\xE2\x82"), u"ab\u00e2\u201a");
}

TEST(Text, UnpairedSurrogateEncodesAsReplacement) {
  const char16_t lone[] = {u'a', 0xD800, u'b', 0};
  EXPECT_EQ(plat::toUtf8(lone), "a\xEF\xBF\xBD" "b");
  EXPECT_FALSE(plat::isWellFormedUtf16(lone));
  EXPECT_FALSE(plat::isWellFormedUtf16(std::u16string(1, char16_t(0xDC00))));
  EXPECT_TRUE(plat::isWellFormedUtf16(u"a\U0001F600"));
}

TEST(Text, Windows1252TextRoundTripsEveryByteAndRefusesWhatItCannotHold) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const String16 decoded = plat::cp1252ToUtf16(all);
  ASSERT_EQ(decoded.size(), 256u);
  EXPECT_EQ(decoded[0x80], u'\u20ac');
  EXPECT_EQ(decoded[0xB5], u'\u00b5');
  EXPECT_EQ(decoded[0x81], u'\u0081');  // undefined in the code page: kept as the control character
  std::string back;
  ASSERT_TRUE(plat::utf16ToCp1252(decoded, &back));
  EXPECT_EQ(back, all);
  // U+0080 is no Windows-1252 character (its byte is the euro sign), nor is anything beyond.
  for (const char16_t c : {char16_t(0x80), char16_t(0x0100), char16_t(0x4E2D), char16_t(0xD800)}) {
    EXPECT_FALSE(plat::utf16ToCp1252(String16(u"a") + c, &back)) << int(c);
  }
  EXPECT_TRUE(plat::isUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80"));
  EXPECT_TRUE(plat::isUtf8(""));
  for (const char* bad : {"caf\xE9", "\xC0\xAF", "\xED\xA0\x80", "ab\xE2\x82"}) EXPECT_FALSE(plat::isUtf8(bad)) << bad;
}

TEST(Text, CaseInsensitiveCompareFoldsAsciiAndLatin1) {
  EXPECT_TRUE(plat::equalsNoCase(u"HKEY_Current_User", u"hkey_current_user"));
  EXPECT_TRUE(plat::equalsNoCase(u"\u00c9TAT", u"\u00e9tat"));
  EXPECT_FALSE(plat::equalsNoCase(u"\u00d7", u"\u00f7"));  // multiplication and division signs
  EXPECT_FALSE(plat::equalsNoCase(u"ab", u"abc"));
  EXPECT_LT(plat::compareNoCase(u"Apple", u"banana"), 0);
  EXPECT_GT(plat::compareNoCase(u"b", u"A"), 0);
  EXPECT_LT(plat::compareNoCase(u"ab", u"ABC"), 0);
  EXPECT_TRUE(plat::equalsNoCase(std::string_view("DATA.MS"), std::string_view("data.ms")));
  EXPECT_TRUE(plat::startsWithNoCase(std::u16string_view(u"hkey_users\\x"), std::u16string_view(u"HKEY_")));
}

TEST(Text, TrimUsesCLocaleWhiteSpace) {
  EXPECT_EQ(plat::trim(std::u16string_view(u" \t a b \r\n")), u"a b");
  EXPECT_EQ(plat::trimLeft(std::string_view("  x ")), "x ");
  EXPECT_EQ(plat::trimRight(std::string_view("  x ")), "  x");
  EXPECT_EQ(plat::trim(std::string_view("   ")), "");
}

}  // namespace
