#include "foundation/genstart.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "foundation/tests/start/testtree.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/registry/registry_testing.h"

KEDRUS_MODULE_VERSION(1, 2, 300, 4, plat::kVersionTypeApp);

using namespace starttest;
using plat::reg::kCurrentUser;
using plat::reg::kLocalMachine;

namespace {

// A module object of its own per test, so tests never share keys.
class TestStart : public CGenStart {
 public:
  TestStart(std::u16string key, std::u16string section, std::u16string defaults = u"")
      : key_(std::move(key)), section_(std::move(section)), defaults_(std::move(defaults)) {}
  const char16_t* GetRegistryKey() const override { return key_.c_str(); }
  plat::String16 GetSectionName() const override { return section_; }
  plat::String16 GetDefaultsFile() const override { return defaults_.empty() ? CGenStart::GetDefaultsFile() : defaults_; }

 private:
  std::u16string key_, section_, defaults_;
};

const std::u16string kProductKey = u"Orvane\\KEDRUS Lite\\2.0";

struct Module {
  std::u16string section;
  std::u16string machine;  // Software\<key>\<section> below HKEY_LOCAL_MACHINE
  std::u16string user;     // the same below HKEY_CURRENT_USER
};

Module freshModule(const std::u16string& section) {
  Module m{section, u"Software\\" + kProductKey + u"\\" + section, u"Software\\" + kProductKey + u"\\" + section};
  wipe(kLocalMachine, m.machine);
  wipe(kCurrentUser, m.user);
  return m;
}

void seedDefaults(const Module& m) {
  {
    SeedKey root(kLocalMachine, m.machine);
    root.dword(u"Document Zoom", 100);
    root.text(u"Load Directory", u"/data/spectra");
  }
  {
    SeedKey tb(kLocalMachine, m.machine + u"\\Toolbars");
    tb.binary(u"Layout", {1, 2, 3, 4, 5});
    tb.dword(u"Visible", 1);
  }
  SeedKey(kLocalMachine, m.machine + u"\\Toolbars\\Main").text(u"Buttons", u"open;save");
  SeedKey(kLocalMachine, m.machine + u"\\Empty");
}

COrvProfDesc machineTree(const Module& m) { return COrvProfDesc(u"HKEY_LOCAL_MACHINE", (u"\\" + m.machine).c_str()); }
COrvProfDesc userTree(const Module& m) { return COrvProfDesc(u"HKEY_CURRENT_USER", (u"\\" + m.user).c_str()); }

std::uint32_t startValue(const Module& m) {
  const RawValue v = rawValue(kCurrentUser, m.user, u"Start");
  EXPECT_TRUE(v.found);
  EXPECT_EQ(v.type, plat::reg::ValueType::DWord);
  if (v.bytes.size() != 4) return 0;
  return std::uint32_t(v.bytes[0]) | std::uint32_t(v.bytes[1]) << 8 | std::uint32_t(v.bytes[2]) << 16 |
         std::uint32_t(v.bytes[3]) << 24;
}

TEST(GenStart, FirstStartCopiesTheMachineTreeToTheUser) {
  const Module m = freshModule(u"firststart");
  seedDefaults(m);
  SeedKey(kLocalMachine, u"Software\\" + kProductKey).text(u"Path", u"/opt/kedrus");

  TestStart start(kProductKey, m.section);
  EXPECT_TRUE(start.Startup());
  EXPECT_EQ(std::u16string(DefaultProfRoot()), u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0");
  EXPECT_EQ(std::u16string(DefaultProfSection()), u"firststart");
  EXPECT_EQ(start.Path, u"/opt/kedrus");
  EXPECT_EQ(start.HelpFilePath(), u"firststart");

  EXPECT_EQ(dumpTree(userTree(m), {u"Start"}), dumpTree(machineTree(m)));
  // Sections Toolbars, Toolbars\Main, Empty; values Buttons, Layout, Visible and two at the top.
  EXPECT_EQ(dumpTree(machineTree(m)).size(), 8u);
  EXPECT_EQ(startValue(m), 2u);
  EXPECT_TRUE(keyExists(kCurrentUser, m.user + u"\\Empty"));

  // A default descriptor of the module now names the user's key.
  COrvProfDesc defaults;
  std::uint32_t zoom = 0;
  EXPECT_EQ(OrvGetProfDWord(u"Document Zoom", &zoom, 0, &defaults), PROF_OK);
  EXPECT_EQ(zoom, 100u);

  start.Cleanup();
  EXPECT_TRUE(start.HelpFilePath().empty());
}

TEST(GenStart, ASecondStartCopiesNothingAgain) {
  const Module m = freshModule(u"secondstart");
  seedDefaults(m);
  TestStart first(kProductKey, m.section);
  ASSERT_TRUE(first.Startup());
  // The user deletes a value and the machine tree gains one: neither comes back.
  COrvProfDesc user = userTree(m);
  ASSERT_EQ(OrvDeleteProfValue(u"Load Directory", &user), PROF_OK);
  SeedKey(kLocalMachine, m.machine).dword(u"New Default", 5);
  plat::reg::resetForTesting();  // the next start is a new process: everything comes from the hives

  TestStart second(kProductKey, m.section);
  EXPECT_TRUE(second.Startup());
  EXPECT_FALSE(rawValue(kCurrentUser, m.user, u"Load Directory").found);
  EXPECT_FALSE(rawValue(kCurrentUser, m.user, u"New Default").found);
  EXPECT_EQ(startValue(m), 2u);
}

TEST(GenStart, WithoutAMachineTreeNothingIsCopiedOrCreated) {
  const Module m = freshModule(u"nomachine");
  // A key of its own, so no "Path" is found and the module's directory stands in.
  const std::u16string key = u"KedrusStartTest\\NoMachine";
  wipe(kLocalMachine, u"Software\\" + key);
  TestStart start(key, m.section);
  EXPECT_TRUE(start.Startup());
  EXPECT_FALSE(keyExists(kLocalMachine, u"Software\\" + key));
  const std::u16string user = u"Software\\" + key + u"\\" + m.section;
  const RawValue v = rawValue(kCurrentUser, user, u"Start");
  ASSERT_TRUE(v.found);
  EXPECT_EQ(v.bytes, (std::vector<std::uint8_t>{2, 0, 0, 0}));

  char exe[4096] = {};
  const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  EXPECT_EQ(start.Path, u16(std::string(plat::pathDirectory(std::string(exe, std::size_t(n))))));
}

TEST(GenStart, WithoutAMachineTreeTheDefaultsTheModuleShipsAreCopied) {
  const Module m = freshModule(u"shipped");
  const std::string ini = plat::joinPath(::testing::TempDir(), "shipped.ini");
  ASSERT_TRUE(plat::writeFileAtomic(ini,
                                    "[MACROS]\r\nPhase=AP\r\n"
                                    "[shipped]\r\nZoom = REG_DWORD 0x64\r\n"
                                    "[shipped\\NMR]\r\n"
                                    "[shipped\\NMR\\Properties 0]\r\nMPeaksEnable = REG_DWORD 0x0\r\n"
                                    "[shipped\\NMR\\Cell_0_0]\r\nCellText = REG_SZ Title\r\nPlain=text\r\n"
                                    "[other]\r\nNotMine = REG_DWORD 1\r\n"));
  // The user already chose a zoom: it stays.
  SeedKey(kCurrentUser, m.user).dword(u"Zoom", 75);
  TestStart start(kProductKey, m.section, u16(ini));
  ASSERT_TRUE(start.Startup());
  EXPECT_EQ(startValue(m), 2u);
  EXPECT_EQ(rawValue(kCurrentUser, m.user, u"Zoom").bytes, (std::vector<std::uint8_t>{75, 0, 0, 0}));
  const RawValue peaks = rawValue(kCurrentUser, m.user + u"\\NMR\\Properties 0", u"MPeaksEnable");
  ASSERT_TRUE(peaks.found);
  EXPECT_EQ(peaks.type, plat::reg::ValueType::DWord);
  EXPECT_EQ(peaks.bytes, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  const RawValue text = rawValue(kCurrentUser, m.user + u"\\NMR\\Cell_0_0", u"CellText");
  EXPECT_EQ(text.type, plat::reg::ValueType::String);
  EXPECT_EQ(u8(std::u16string(reinterpret_cast<const char16_t*>(text.bytes.data()), 5)), "Title");
  EXPECT_TRUE(rawValue(kCurrentUser, m.user + u"\\NMR\\Cell_0_0", u"Plain").found);
  // Only the module's own section: not the INI file's other sections.
  EXPECT_FALSE(rawValue(kCurrentUser, m.user, u"NotMine").found);
  EXPECT_FALSE(keyExists(kCurrentUser, m.user + u"\\MACROS"));

  // An installer's machine-wide tree wins over the shipped file.
  const Module installed = freshModule(u"installed");
  SeedKey(kLocalMachine, installed.machine).dword(u"Zoom", 50);
  const std::string other = plat::joinPath(::testing::TempDir(), "installed.ini");
  ASSERT_TRUE(plat::writeFileAtomic(other, "[installed]\r\nShipped = REG_DWORD 1\r\n"));
  TestStart second(kProductKey, installed.section, u16(other));
  ASSERT_TRUE(second.Startup());
  EXPECT_EQ(rawValue(kCurrentUser, installed.user, u"Zoom").bytes, (std::vector<std::uint8_t>{50, 0, 0, 0}));
  EXPECT_FALSE(rawValue(kCurrentUser, installed.user, u"Shipped").found);

  // No file beside the module: nothing copied, nothing created, and the first start is done.
  const Module bare = freshModule(u"bare");
  TestStart third(kProductKey, bare.section, u16(plat::joinPath(::testing::TempDir(), "none.ini")));
  ASSERT_TRUE(third.Startup());
  EXPECT_EQ(startValue(bare), 2u);
  EXPECT_FALSE(plat::fileInfo(plat::joinPath(::testing::TempDir(), "none.ini")).exists);
}

TEST(GenStart, TheIniFileIsTheModuleFileWithIniInPlaceOfItsExtension) {
  EXPECT_EQ(ModuleIniPath("/opt/kedrus.2/libnelvar.so"), "/opt/kedrus.2/libnelvar.ini");
  EXPECT_EQ(ModuleIniPath("/opt/k/libnelvar.so.2.0"), "/opt/k/libnelvar.ini");
  EXPECT_EQ(ModuleIniPath("/opt/k.d/nelvar"), "/opt/k.d/nelvar.ini");
  EXPECT_EQ(ModuleIniPath("/opt/k/spc.solver.bin"), "/opt/k/spc.solver.ini");
}

TEST(GenStart, APartlyCopiedTreeIsCompletedAndTheUsersValuesKept) {
  const Module m = freshModule(u"partial");
  seedDefaults(m);
  // An earlier start stopped half way, and the user changed a value since.
  SeedKey(kCurrentUser, m.user).dword(u"Document Zoom", 150);
  SeedKey(kCurrentUser, m.user + u"\\Toolbars").dword(u"Visible", 1);

  TestStart start(kProductKey, m.section);
  EXPECT_TRUE(start.Startup());
  EXPECT_EQ(rawValue(kCurrentUser, m.user, u"Document Zoom").bytes, (std::vector<std::uint8_t>{150, 0, 0, 0}));
  EXPECT_TRUE(rawValue(kCurrentUser, m.user + u"\\Toolbars\\Main", u"Buttons").found);
  EXPECT_TRUE(rawValue(kCurrentUser, m.user, u"Load Directory").found);
  EXPECT_EQ(dumpTree(userTree(m), {u"Start"}).size(), dumpTree(machineTree(m)).size());
  EXPECT_EQ(startValue(m), 2u);
}

TEST(GenStart, AStartOfTheWrongTypeKeepsTheUsersValues) {
  const Module m = freshModule(u"wrongtype");
  seedDefaults(m);
  {
    SeedKey user(kCurrentUser, m.user);
    user.text(u"Start", u"2");
    user.text(u"Load Directory", u"/home/me");
  }
  TestStart start(kProductKey, m.section);
  EXPECT_TRUE(start.Startup());
  const RawValue dir = rawValue(kCurrentUser, m.user, u"Load Directory");
  std::vector<std::uint8_t> expected;
  for (char c : std::string("/home/me")) expected.insert(expected.end(), {std::uint8_t(c), 0});
  expected.insert(expected.end(), {0, 0});
  EXPECT_EQ(dir.bytes, expected);
  EXPECT_TRUE(rawValue(kCurrentUser, m.user + u"\\Toolbars\\Main", u"Buttons").found);
  EXPECT_EQ(startValue(m), 2u);
}

TEST(GenStart, AStartOfTwoSkipsTheCopy) {
  const Module m = freshModule(u"started");
  seedDefaults(m);
  SeedKey(kCurrentUser, m.user).dword(u"Start", 7);
  TestStart start(kProductKey, m.section);
  EXPECT_TRUE(start.Startup());
  EXPECT_FALSE(keyExists(kCurrentUser, m.user + u"\\Toolbars"));
  EXPECT_EQ(startValue(m), 7u);  // not written
}

TEST(GenStart, TheSectionIsTheModulesProgramName) {
  CGenStart plain;
  EXPECT_EQ(plain.GetRegistryKey(), nullptr);
  EXPECT_EQ(plain.GetSectionName(), u"foundation_start_tests");
}

TEST(GenStart, BaseFontIsStoredInItsRecordLayout) {
  const Module m = freshModule(u"font");
  TestStart start(kProductKey, m.section);
  ASSERT_TRUE(start.Startup());
  EXPECT_FALSE(start.SaveBaseFont());  // nothing to describe yet

  start.LoadBaseFont();  // missing: the fallback
  ASSERT_TRUE(start.BaseFont().has_value());
  const CGenStart::LogFont fallback = *start.BaseFont();
  EXPECT_EQ(fallback.height, -12);
  EXPECT_EQ(fallback.weight, 400);
  EXPECT_EQ(std::u16string(fallback.faceName.data()), u"MS Sans");

  ASSERT_TRUE(start.SaveBaseFont());
  const RawValue raw = rawValue(kCurrentUser, m.user, u"Base font");
  ASSERT_EQ(raw.bytes.size(), 92u);
  EXPECT_EQ(raw.type, plat::reg::ValueType::Binary);
  // height -12 and weight 400 little-endian, charset 1 at 23, face at 28 in 16-bit characters.
  EXPECT_EQ(std::vector<std::uint8_t>(raw.bytes.begin(), raw.bytes.begin() + 4),
            (std::vector<std::uint8_t>{0xF4, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(raw.bytes[16], 0x90);
  EXPECT_EQ(raw.bytes[17], 0x01);
  EXPECT_EQ(raw.bytes[23], 1);
  EXPECT_EQ(raw.bytes[28], 'M');
  EXPECT_EQ(raw.bytes[29], 0);
  EXPECT_EQ(raw.bytes[42], 0);  // the terminator after "MS Sans"

  // A stored font of its own is read back.
  std::vector<std::uint8_t> arial = raw.bytes;
  arial[0] = 0xF0;  // height -16
  const std::u16string face = u"Arial";
  for (std::size_t i = 0; i < 32; ++i) {
    const char16_t c = i < face.size() ? face[i] : u'\0';
    arial[28 + 2 * i] = std::uint8_t(c);
    arial[29 + 2 * i] = 0;
  }
  SeedKey(kCurrentUser, m.user).binary(u"Base font", arial);
  start.LoadBaseFont();
  EXPECT_EQ(start.BaseFont()->height, -16);
  EXPECT_EQ(std::u16string(start.BaseFont()->faceName.data()), u"Arial");
}

TEST(GenStart, UnusableBaseFontRecordsGiveTheFallback) {
  const Module m = freshModule(u"badfont");
  TestStart start(kProductKey, m.section);
  ASSERT_TRUE(start.Startup());
  std::vector<std::uint8_t> record(92, 0);
  record[0] = 0xF0;
  for (std::size_t i = 28; i < 92; i += 2) record[i] = 'A';  // face without a terminator
  for (const auto& bytes : {std::vector<std::uint8_t>(91, 0), std::vector<std::uint8_t>(93, 0), record}) {
    SeedKey(kCurrentUser, m.user).binary(u"Base font", bytes);
    start.LoadBaseFont();
    ASSERT_TRUE(start.BaseFont().has_value());
    EXPECT_EQ(*start.BaseFont(), CGenStart::LogFont::fallback()) << bytes.size();
  }
}

TEST(GenStart, ModuleVersionComesFromTheModulesOwnRecord) {
  std::uint32_t ms = 0, ls = 0;
  ASSERT_TRUE(GetModuleVersion(&ms, &ls));
  EXPECT_EQ(ms, 0x00010002u);            // 1.2
  EXPECT_EQ(ls, (300u << 16) | 4u);      // build 300, revision 4
  plat::FixedFileInfo info;
  ASSERT_TRUE(GetModuleVersion(&info));
  EXPECT_EQ(info.signature, 0xFEEF04BDu);
  EXPECT_FALSE(GetFileVersion(u"/nonexistent/file", &info));
  EXPECT_FALSE(GetFileVersion(nullptr, &info));
}

TEST(GenStart, PathsSplitIntoDriveAndDirectory) {
  EXPECT_EQ(GetPathDir(u"C:\\Programs\\x.exe"), u"\\Programs\\");
  EXPECT_EQ(GetPathDrive(u"C:\\Programs\\x.exe"), u"C:");
  EXPECT_EQ(GetPathDir(u"/opt/kedrus/rodizora"), u"/opt/kedrus/");
  EXPECT_EQ(GetPathDrive(u"/opt/kedrus/rodizora"), u"");
  EXPECT_EQ(GetPathDir(u"x.exe"), u"");
  EXPECT_EQ(GetPathDir(u"C:x.exe"), u"");
  EXPECT_EQ(GetPathDir(nullptr), u"");
}

}  // namespace
