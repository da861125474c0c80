// The profile descriptor: how root, section and the module's defaults make the path that the
// profile store opens.
#include <gtest/gtest.h>

#include "foundation/profdesc.h"
#include "profile/profile.h"

namespace {

const char16_t kProductRoot[] = u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0";

class ProfDesc : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultProfRoot(nullptr);
    SetDefaultProfSection(nullptr);
  }
  void TearDown() override { SetUp(); }
  static void useProductDefaults() {
    SetDefaultProfRoot(kProductRoot);
    SetDefaultProfSection(u"analyzer");
  }
  static plat::String16 s(const char16_t* text) { return text; }
};

TEST_F(ProfDesc, ModuleDefaultsFillRootAndSection) {
  useProductDefaults();
  COrvProfDesc plain;
  EXPECT_EQ(u"analyzer", s(plain.GetSection()));
  EXPECT_EQ(s(kProductRoot), s(plain.GetRoot()));
  EXPECT_EQ(s(kProductRoot) + u"\\analyzer", s(plain.GetPath()));

  COrvProfDesc absolute(nullptr, u"\\Toolbars");
  EXPECT_EQ(u"\\Toolbars", s(absolute.GetSection()));
  EXPECT_EQ(s(kProductRoot) + u"\\Toolbars", s(absolute.GetPath()));

  COrvProfDesc relative(nullptr, u"Toolbars");
  EXPECT_EQ(u"analyzer\\Toolbars", s(relative.GetSection()));
  EXPECT_EQ(s(kProductRoot) + u"\\analyzer\\Toolbars", s(relative.GetPath()));
  EXPECT_TRUE(relative.GetAutoCreate());
  EXPECT_FALSE(relative.IsIni());
  EXPECT_FALSE(relative.IsOpen());
}

TEST_F(ProfDesc, RebuildingNeverRepeatsTheDefaultSection) {
  useProductDefaults();
  COrvProfDesc desc(nullptr, u"Toolbars");
  desc.SetIni(false);
  desc.SetRoot(u"HKEY_CURRENT_USER\\Software\\Other");
  EXPECT_EQ(u"analyzer\\Toolbars", s(desc.GetSection()));
  EXPECT_EQ(u"HKEY_CURRENT_USER\\Software\\Other\\analyzer\\Toolbars", s(desc.GetPath()));
  desc.AddSubSection(u"Main");
  EXPECT_EQ(u"analyzer\\Toolbars\\Main", s(desc.GetSection()));
  // A section set anew is relative to the default again, once.
  desc.SetSection(u"Colors");
  EXPECT_EQ(u"analyzer\\Colors", s(desc.GetSection()));
  COrvProfDesc plain;
  plain.AddSubSection(u"b");
  EXPECT_EQ(u"analyzer\\b", s(plain.GetSection()));
}

TEST_F(ProfDesc, RootWithoutHkeyPrefixIsBelowLocalMachine) {
  COrvProfDesc desc(u"Software", u"\\Vendor");
  EXPECT_EQ(u"HKEY_LOCAL_MACHINE\\Software\\Vendor", s(desc.GetPath()));
  desc.SetRoot(u"hkey_current_user\\Software");  // the prefix is matched without regard to case
  EXPECT_EQ(u"hkey_current_user\\Software\\Vendor", s(desc.GetPath()));
  desc.SetRootAndSection(u"", u"");
  EXPECT_EQ(u"HKEY_LOCAL_MACHINE\\", s(desc.GetPath()));
}

TEST_F(ProfDesc, JoinsWithASingleBackslash) {
  COrvProfDesc desc(u"HKEY_CURRENT_USER\\Software\\", u"\\Vendor");
  EXPECT_EQ(u"HKEY_CURRENT_USER\\Software\\Vendor", s(desc.GetPath()));
  desc.SetSection(u"Vendor");
  EXPECT_EQ(u"HKEY_CURRENT_USER\\Software\\Vendor", s(desc.GetPath()));
  desc.SetSection(u"");
  EXPECT_EQ(u"HKEY_CURRENT_USER\\Software\\", s(desc.GetPath()));
}

TEST_F(ProfDesc, CombinedPathSplitsAtTheDoubleBackslash) {
  COrvProfDesc desc(u"HKEY_LOCAL_MACHINE\\Software\\\\CONTROL");
  EXPECT_EQ(u"HKEY_LOCAL_MACHINE\\Software", s(desc.GetRoot()));
  EXPECT_EQ(u"\\CONTROL", s(desc.GetSection()));
  EXPECT_EQ(u"HKEY_LOCAL_MACHINE\\Software\\CONTROL", s(desc.GetPath()));
  desc.SetCombinedPath(u"\\Other");  // no double backslash: only the section changes
  EXPECT_EQ(u"HKEY_LOCAL_MACHINE\\Software", s(desc.GetRoot()));
  EXPECT_EQ(u"HKEY_LOCAL_MACHINE\\Software\\Other", s(desc.GetPath()));
  // Assigning a combined path replaces the path that will be opened.
  desc.AssignCombinedPath(u"HKEY_USERS\\x\\\\y");
  EXPECT_EQ(u"HKEY_USERS\\x", s(desc.GetRoot()));
  EXPECT_EQ(u"\\y", s(desc.GetSection()));
  EXPECT_EQ(u"HKEY_USERS\\x\\y", s(desc.GetPath()));
}

TEST_F(ProfDesc, AddSubSectionPutsOneBackslashBetween) {
  COrvProfDesc desc(u"HKEY_USERS", u"\\a");
  desc.AddSubSection(u"b");
  EXPECT_EQ(u"\\a\\b", s(desc.GetSection()));
  desc.SetSection(u"\\a\\");
  desc.AddSubSection(u"b");
  EXPECT_EQ(u"\\a\\b", s(desc.GetSection()));
  desc.SetSection(u"");
  desc.AddSubSection(u"b");
  EXPECT_EQ(u"\\b", s(desc.GetSection()));
  EXPECT_EQ(u"HKEY_USERS\\b", s(desc.GetPath()));
}

TEST_F(ProfDesc, IniDescriptorOpensItsSectionPath) {
  COrvProfDesc desc(u"/tmp/props.ini", u"\\CONTROL_NMR_0");
  desc.SetIni(true);
  EXPECT_EQ(u"\\CONTROL_NMR_0", s(desc.GetPath()));
  EXPECT_EQ(u"\\CONTROL_NMR_0", s(desc.GetCurrentPath()));
  EXPECT_EQ(u"", s(desc.GetFullPath()));
  EXPECT_EQ(u"/tmp/props.ini", s(desc.GetRoot()));
}

TEST_F(ProfDesc, CopyMakesTheSectionAbsoluteAndKeepsTheFlags) {
  useProductDefaults();
  COrvProfDesc source(nullptr, u"Toolbars");
  source.SetAutoCreate(false);
  source.SetIni(true);
  COrvProfDesc copy(source);
  EXPECT_EQ(u"\\analyzer\\Toolbars", s(copy.GetSection()));
  EXPECT_FALSE(copy.GetAutoCreate());
  EXPECT_TRUE(copy.IsIni());
  EXPECT_FALSE(copy.IsOpen());

  COrvProfDesc target(u"HKEY_USERS", u"\\z");
  target.Copy(&source);  // root and section taken, flags stay
  EXPECT_EQ(u"\\analyzer\\Toolbars", s(target.GetSection()));
  EXPECT_TRUE(target.GetAutoCreate());
  EXPECT_FALSE(target.IsIni());
  EXPECT_EQ(s(kProductRoot) + u"\\analyzer\\Toolbars", s(target.GetPath()));
}

TEST_F(ProfDesc, SetIniKeepsTheStoreAndSetStoreOnlyStores) {
  COrvProfDesc desc(u"HKEY_USERS", u"\\a");
  auto* marker = reinterpret_cast<dorlin::COrvComDesc*>(&desc);  // never used as a store
  desc.SetStore(marker);
  desc.SetIni(true);
  EXPECT_EQ(marker, desc.GetStore());
  EXPECT_TRUE(desc.IsOpen());
  desc.SetStore(nullptr);
  EXPECT_EQ(PROF_NOT_OPEN, desc.Close());
}

TEST_F(ProfDesc, HeapStringHelpers) {
  char16_t* text = nullptr;
  DupProfString(&text, u"abc");
  EXPECT_EQ(u"abc", s(text));
  AppendProfString(&text, u"\\def");
  EXPECT_EQ(u"abc\\def", s(text));
  DupProfString(&text, nullptr);
  EXPECT_EQ(u"", s(text));
  AppendProfString(&text, nullptr);
  EXPECT_EQ(u"", s(text));
  FreeProfString(&text);
  EXPECT_EQ(nullptr, text);
  FreeProfString(&text);
}

}  // namespace
