#include "platform/base/sectionpath.h"

#include <gtest/gtest.h>

namespace {

using plat::SectionPath;

SectionPath P(std::u16string_view text) { return SectionPath(text); }

TEST(SectionPath, JoinPutsExactlyOneBackslashBetween) {
  EXPECT_EQ(P(u"a").join(u"b").text(), u"a\\b");
  EXPECT_EQ(P(u"a\\").join(u"b").text(), u"a\\b");
  EXPECT_EQ(P(u"a\\").join(u"\\b").text(), u"a\\b");
  EXPECT_EQ(P(u"\\").join(u"b").text(), u"\\b");
  EXPECT_EQ(P(u"").join(u"b\\c").text(), u"b\\c");
  EXPECT_EQ(P(u"a").join(u"").text(), u"a");
  // Slashes are no separators here.
  EXPECT_EQ(P(u"a/b").join(u"c").text(), u"a/b\\c");
}

TEST(SectionPath, ChildAlwaysPutsTheSeparatorIn) {
  EXPECT_EQ(P(u"\\a").child(u"b").text(), u"\\a\\b");
  EXPECT_EQ(P(u"\\a\\").child(u"b").text(), u"\\a\\b");
  EXPECT_EQ(P(u"").child(u"b").text(), u"\\b");
  EXPECT_EQ(P(u"a").child(u"").text(), u"a\\");  // the unnamed value
}

TEST(SectionPath, AbsoluteRelativeAndTrimmed) {
  EXPECT_EQ(P(u"a").absolute().text(), u"\\a");
  EXPECT_EQ(P(u"\\a").absolute().text(), u"\\a");
  EXPECT_EQ(P(u"").absolute().text(), u"\\");
  EXPECT_TRUE(P(u"\\a").isAbsolute());
  EXPECT_EQ(P(u"\\a\\b").relative().text(), u"a\\b");
  EXPECT_EQ(P(u"a").relative().text(), u"a");
  EXPECT_EQ(P(u"\\a\\b\\\\").trimmed().text(), u"a\\b");
  EXPECT_TRUE(P(u"Count").isSingleName());
  EXPECT_FALSE(P(u"a\\Count").isSingleName());
  EXPECT_FALSE(P(u"").isSingleName());
}

TEST(SectionPath, ParentSplitsAndRoots) {
  EXPECT_EQ(P(u"a\\b\\c").parent().text(), u"a\\b");
  EXPECT_TRUE(P(u"c").parent().empty());
  EXPECT_TRUE(P(u"\\c").parent().empty());

  SectionPath parent;
  std::u16string name;
  ASSERT_TRUE(P(u"rel\\path\\Count").splitLast(&parent, &name));
  EXPECT_EQ(parent.text(), u"rel\\path");
  EXPECT_EQ(name, u"Count");
  ASSERT_TRUE(P(u"\\Count").splitLast(&parent, &name));
  EXPECT_TRUE(parent.empty());
  EXPECT_EQ(name, u"Count");
  EXPECT_FALSE(P(u"Count").splitLast(&parent, &name));

  std::u16string root;
  SectionPath rest;
  P(u"\\HKEY_CURRENT_USER\\Software\\X\\").splitRoot(&root, &rest);
  EXPECT_EQ(root, u"HKEY_CURRENT_USER");
  EXPECT_EQ(rest.text(), u"Software\\X");
  P(u"HKEY_USERS").splitRoot(&root, &rest);
  EXPECT_EQ(root, u"HKEY_USERS");
  EXPECT_TRUE(rest.empty());
}

TEST(SectionPath, CombinedTextSplitsAtTheDoubleBackslash) {
  SectionPath root, section;
  ASSERT_TRUE(SectionPath::splitCombined(u"HKEY_LOCAL_MACHINE\\Software\\\\CONTROL\\a", &root, &section));
  EXPECT_EQ(root.text(), u"HKEY_LOCAL_MACHINE\\Software");
  EXPECT_EQ(section.text(), u"\\CONTROL\\a");
  EXPECT_FALSE(SectionPath::splitCombined(u"a\\b", &root, &section));
}

TEST(SectionPath, BelowComparesWithoutCaseAndNeedsASeparator) {
  SectionPath rest;
  ASSERT_TRUE(P(u"\\Root").below(u"\\ROOT\\a\\b", &rest));
  EXPECT_EQ(rest.text(), u"a\\b");
  ASSERT_TRUE(P(u"\\").below(u"\\a", &rest));
  EXPECT_EQ(rest.text(), u"a");
  ASSERT_TRUE(P(u"").below(u"a\\b", &rest));
  EXPECT_EQ(rest.text(), u"a\\b");
  ASSERT_TRUE(P(u"a").below(u"a\\", &rest));
  EXPECT_TRUE(rest.empty());
  EXPECT_FALSE(P(u"\\Root").below(u"\\Rooted\\a", &rest));
  EXPECT_FALSE(P(u"\\Root").below(u"\\Root", &rest));  // the path itself is not below itself
  EXPECT_FALSE(P(u"\\Root").below(u"\\Other", &rest));
}

}  // namespace
