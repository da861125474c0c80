#include "foundation/proftree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/tests/start/testtree.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "profile/comdesc.h"

using namespace starttest;
using plat::reg::kCurrentUser;
using plat::reg::kLocalMachine;

namespace {

const std::u16string kBase = u"Software\\KedrusTreeTest";

// A fresh key for one test below HKEY_LOCAL_MACHINE\Software\KedrusTreeTest.
std::u16string freshKey(plat::reg::Key root, const std::u16string& name) {
  const std::u16string path = kBase + u"\\" + name;
  wipe(root, path);
  return path;
}

COrvProfDesc machineDesc(const std::u16string& path) {
  return COrvProfDesc(u"HKEY_LOCAL_MACHINE", (u"\\" + path).c_str());
}
COrvProfDesc userDesc(const std::u16string& path) {
  return COrvProfDesc(u"HKEY_CURRENT_USER", (u"\\" + path).c_str());
}

// Subsections a (holding a1) and b; values in a1, a, b and the root; an empty subsection e.
void seedSample(const std::u16string& path) {
  SeedKey(kLocalMachine, path).dword(u"rootValue", 7);
  {
    SeedKey a(kLocalMachine, path + u"\\a");
    a.text(u"x", u"in a");
    a.text(u"", u"default of a");
  }
  {
    SeedKey a1(kLocalMachine, path + u"\\a\\a1");
    a1.dword(u"v1", 10);
    a1.binary(u"bin", {0, 10, 171, 255});
    a1.binary(u"none", {});
  }
  {
    SeedKey b(kLocalMachine, path + u"\\b");
    b.text(u"y", u"%TEMP%\\x", plat::reg::ValueType::ExpandString);
    const char16_t multi[] = u"one\0two\0";
    b.set(u"m", plat::reg::ValueType::MultiString, multi, sizeof multi);
  }
  SeedKey(kLocalMachine, path + u"\\e");
}

std::string scratchFile(const char* name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = plat::joinPath(scratch ? scratch : "/tmp", "proftree");
  EXPECT_TRUE(plat::makeDirectories(dir));
  const std::string file = plat::joinPath(dir, name);
  plat::removeFile(file);
  return file;
}

TEST(ProfTreeWalker, VisitsSubsectionsDepthFirstBeforeTheirSectionsValues) {
  const auto path = freshKey(kLocalMachine, u"Order");
  seedSample(path);
  const COrvProfDesc root = machineDesc(path);

  CProfTreeWalker walker;
  ASSERT_TRUE(walker.Start(&root));
  const std::u16string prefix = u"HKEY_LOCAL_MACHINE\\" + path + u"\\";
  EXPECT_EQ(walker.RootPath(), u"HKEY_LOCAL_MACHINE\\" + path);
  std::vector<std::string> items;
  std::u16string name;
  bool isSection = false;
  int type = -1;
  while (walker.Next(&name, &isSection, &type)) {
    ASSERT_EQ(name.substr(0, prefix.size()), prefix) << u8(name);
    items.push_back((isSection ? "S " : "V ") + u8(name.substr(prefix.size())) + " " + std::to_string(type));
  }
  const std::vector<std::string> expected = {
      "S a 0",       "S a\\a1 0", "V a\\a1\\v1 1", "V a\\a1\\bin 4", "V a\\a1\\none 4", "V a\\x 2", "V a\\ 2",
      "S b 0",       "V b\\y 5",  "V b\\m 3",      "S e 0",          "V rootValue 1"};
  EXPECT_EQ(items, expected);
  EXPECT_EQ(walker.Error(), 0);
  EXPECT_FALSE(walker.Next(&name, &isSection, &type));  // stays over
}

TEST(ProfTreeWalker, ASectionThatVanishesUnderTheWalkIsReported) {
  const auto path = freshKey(kLocalMachine, u"Vanish");
  seedSample(path);
  const COrvProfDesc root = machineDesc(path);
  CProfTreeWalker walker;
  ASSERT_TRUE(walker.Start(&root));
  std::u16string name;
  bool isSection = false;
  int type = 0;
  ASSERT_TRUE(walker.Next(&name, &isSection, &type));  // enters a
  ASSERT_TRUE(isSection);
  wipe(kLocalMachine, path + u"\\a");
  while (walker.Next(&name, &isSection, &type)) {
  }
  EXPECT_NE(walker.Error(), 0);
}

TEST(CopyProfTree, CopiesARegistryTreeWithItsEmptySections) {
  const auto src = freshKey(kLocalMachine, u"CopySrc");
  const auto dst = freshKey(kCurrentUser, u"CopyDst");
  seedSample(src);
  COrvProfDesc source = machineDesc(src);
  COrvProfDesc dest = userDesc(dst);
  EXPECT_TRUE(CopyProfTree(&dest, &source));
  EXPECT_EQ(dumpTree(dest), dumpTree(source));
  EXPECT_EQ(dumpTree(dest).size(), 12u);

  // Checked through the registry itself as well.
  EXPECT_TRUE(keyExists(kCurrentUser, dst + u"\\e"));
  const RawValue bin = rawValue(kCurrentUser, dst + u"\\a\\a1", u"bin");
  ASSERT_TRUE(bin.found);
  EXPECT_EQ(bin.type, plat::reg::ValueType::Binary);
  EXPECT_EQ(bin.bytes, (std::vector<std::uint8_t>{0, 10, 171, 255}));
  const RawValue v1 = rawValue(kCurrentUser, dst + u"\\a\\a1", u"v1");
  EXPECT_EQ(v1.bytes, (std::vector<std::uint8_t>{10, 0, 0, 0}));
}

TEST(CopyProfTree, KeepExistingLeavesTheDestinationsValuesAlone) {
  const auto src = freshKey(kLocalMachine, u"KeepSrc");
  const auto dst = freshKey(kCurrentUser, u"KeepDst");
  seedSample(src);
  SeedKey(kCurrentUser, dst + u"\\a").text(u"x", u"mine");
  COrvProfDesc source = machineDesc(src);
  COrvProfDesc dest = userDesc(dst);

  EXPECT_TRUE(CopyProfTree(&dest, &source, ProfCopyMode::KeepExisting));
  const RawValue x = rawValue(kCurrentUser, dst + u"\\a", u"x");
  EXPECT_EQ(x.bytes, (std::vector<std::uint8_t>{'m', 0, 'i', 0, 'n', 0, 'e', 0, 0, 0}));
  EXPECT_TRUE(rawValue(kCurrentUser, dst + u"\\a\\a1", u"v1").found);

  EXPECT_TRUE(CopyProfTree(&dest, &source, ProfCopyMode::Overwrite));
  EXPECT_EQ(dumpTree(dest), dumpTree(source));
}

TEST(CopyProfTree, AMissingSourceCopiesNothing) {
  const auto src = freshKey(kLocalMachine, u"NoSrc");
  const auto dst = freshKey(kCurrentUser, u"NoSrcDst");
  COrvProfDesc source = machineDesc(src);
  COrvProfDesc dest = userDesc(dst);
  EXPECT_TRUE(CopyProfTree(&dest, &source));
  EXPECT_FALSE(keyExists(kCurrentUser, dst));
  EXPECT_FALSE(keyExists(kLocalMachine, src));
}

TEST(CopyProfTree, ReportsADestinationThatCannotBeWritten) {
  const auto src = freshKey(kLocalMachine, u"BadDstSrc");
  seedSample(src);
  COrvProfDesc source = machineDesc(src);
  // No such root key: neither sections nor values can be made.
  COrvProfDesc dest(u"HKEY_NOWHERE", u"\\x");
  EXPECT_FALSE(CopyProfTree(&dest, &source));
  // A copy into the source's own subtree would never end: refused, nothing written.
  COrvProfDesc inside = machineDesc(src + u"\\A\\copy");
  EXPECT_FALSE(CopyProfTree(&inside, &source));
  EXPECT_FALSE(keyExists(kLocalMachine, src + u"\\a\\copy"));
}

TEST(DeleteProfTree, DeletesTheDeepestSectionsFirstAndTheSectionLast) {
  const auto path = freshKey(kLocalMachine, u"Delete");
  seedSample(path);
  SeedKey(kLocalMachine, path + u"\\a\\a1\\deep\\deeper").dword(u"d", 1);
  SeedKey(kLocalMachine, kBase + u"\\DeleteSibling").dword(u"keep", 1);
  const COrvProfDesc root = machineDesc(path);
  EXPECT_TRUE(DeleteProfTree(&root));
  EXPECT_FALSE(keyExists(kLocalMachine, path));
  EXPECT_TRUE(keyExists(kLocalMachine, kBase + u"\\DeleteSibling"));
  // Nothing left to delete is a failure to report.
  EXPECT_FALSE(DeleteProfTree(&root));
}

// Copies the registry tree src (below HKEY_LOCAL_MACHINE) into the section \\tree of an INI file,
// with type control on or off, and from there to back (below HKEY_CURRENT_USER).
COrvProfDesc copyThroughIni(const std::string& file, const std::u16string& src, const std::u16string& back,
                            bool typeControl) {
  OrvSetIniTypeControl(typeControl ? 1 : 0);
  COrvProfDesc source = machineDesc(src);
  COrvProfDesc ini(u16(file).c_str(), u"\\tree");
  ini.SetIni(true);
  EXPECT_TRUE(CopyProfTree(&ini, &source));
  COrvProfDesc dest = userDesc(back);
  EXPECT_TRUE(CopyProfTree(&dest, &ini));
  OrvSetIniTypeControl(0);
  OrvSetIniCacheMode(0);
  return ini;
}

// Registry -> INI file with type control on -> registry gives the same tree (values of the
// types an INI file holds).
TEST(CopyProfTree, RegistryToTypedIniAndBackGivesTheSameTree) {
  const std::string file = scratchFile("roundtrip.ini");
  const auto src = freshKey(kLocalMachine, u"IniSrc");
  const auto back = freshKey(kCurrentUser, u"IniBack");
  // What an INI file can hold: DWORD, string and (non-empty) binary values, named sections.
  SeedKey(kLocalMachine, src).dword(u"rootValue", 0xFFFFFFFFu);
  {
    SeedKey a(kLocalMachine, src + u"\\a");
    a.text(u"x", u"text with = sign");
    a.binary(u"bin", {0, 10, 171, 255});
  }
  SeedKey(kLocalMachine, src + u"\\a\\a1").dword(u"v1", 10);
  SeedKey(kLocalMachine, src + u"\\b\\" + std::u16string(200, u'n')).dword(u"long", 3);
  SeedKey(kLocalMachine, src + u"\\e");

  const COrvProfDesc ini = copyThroughIni(file, src, back, true);
  const COrvProfDesc source = machineDesc(src);
  EXPECT_EQ(dumpTree(userDesc(back)), dumpTree(source));
  // The INI file lists sections in the order they were put into it, not sorted.
  auto iniItems = dumpTree(ini), sourceItems = dumpTree(source);
  std::sort(iniItems.begin(), iniItems.end());
  std::sort(sourceItems.begin(), sourceItems.end());
  EXPECT_EQ(iniItems, sourceItems);
}

// With type control off (the default) the INI file holds texts only: the copy back gives every
// value as a string, DWORD and binary values as the texts the INI store wrote for them, and
// strings exactly as they were.
TEST(CopyProfTree, RegistryToUntypedIniAndBackGivesStrings) {
  const std::string file = scratchFile("untyped.ini");
  const auto src = freshKey(kLocalMachine, u"UntypedSrc");
  const auto back = freshKey(kCurrentUser, u"UntypedBack");
  const std::u16string texts[] = {u"text with = sign", u"ethyl acetate; CDCl3", u"  padded ", u"REG_DWORD 5"};
  {
    SeedKey a(kLocalMachine, src + u"\\a");
    a.dword(u"dw", 0xFFFFFFFFu);
    a.binary(u"bin", {0, 10, 171, 255});
    for (std::size_t i = 0; i < std::size(texts); ++i) a.text(u"t" + u16(std::to_string(i)), texts[i]);
  }
  copyThroughIni(file, src, back, false);

  auto expectString = [&](const std::u16string& name, const std::u16string& text) {
    const RawValue v = rawValue(kCurrentUser, back + u"\\a", name);
    EXPECT_EQ(v.type, plat::reg::ValueType::String) << u8(name);
    std::vector<std::uint8_t> bytes;
    for (const char16_t c : text + u'\0') bytes.insert(bytes.end(), {std::uint8_t(c & 0xFF), std::uint8_t(c >> 8)});
    EXPECT_EQ(v.bytes, bytes) << u8(name);
  };
  expectString(u"dw", u"0xFFFFFFFF");
  expectString(u"bin", u"00 0A AB FF");
  for (std::size_t i = 0; i < std::size(texts); ++i) expectString(u"t" + u16(std::to_string(i)), texts[i]);
}

TEST(CopyProfTree, ValuesAnIniFileCannotHoldAreReported) {
  const std::string file = scratchFile("types.ini");
  const auto src = freshKey(kLocalMachine, u"IniTypes");
  SeedKey s(kLocalMachine, src);
  s.text(u"expand", u"%X%", plat::reg::ValueType::ExpandString);
  s.text(u"plain", u"text");
  COrvProfDesc source = machineDesc(src);
  COrvProfDesc ini(u16(file).c_str(), u"\\t");
  ini.SetIni(true);
  EXPECT_FALSE(CopyProfTree(&ini, &source));
  plat::String16 text;
  EXPECT_EQ(OrvGetProfCString(u"plain", &text, u"", &ini), PROF_OK);
  EXPECT_EQ(text, u"text");
  OrvSetIniCacheMode(0);
}

// Section names longer than any fixed buffer are walked, copied and deleted whole.
TEST(ProfTreeWalker, LongSectionNamesAreReadWhole) {
  const std::string file = scratchFile("long.ini");
  const std::string longName(1000, 'L');
  ASSERT_TRUE(plat::writeFileAtomic(file, "[top]\r\na=1\r\n[top\\" + longName + "]\r\nb=2\r\n"));
  COrvProfDesc ini(u16(file).c_str(), u"\\top");
  ini.SetIni(true);
  const auto dump = dumpTree(ini);
  ASSERT_EQ(dump.size(), 3u);
  EXPECT_EQ(dump[0], "S " + longName);

  COrvProfDesc copy(u16(scratchFile("long-copy.ini")).c_str(), u"\\top");
  copy.SetIni(true);
  EXPECT_TRUE(CopyProfTree(&copy, &ini));
  EXPECT_EQ(dumpTree(copy), dump);
  EXPECT_TRUE(DeleteProfTree(&ini));
  OrvSetIniCacheMode(0);
  std::string bytes;
  ASSERT_EQ(plat::readFile(file, &bytes), plat::FileStatus::Ok);
  EXPECT_EQ(bytes.find("top"), std::string::npos) << bytes;
}

}  // namespace
