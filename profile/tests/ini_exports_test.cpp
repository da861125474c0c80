// The INI store through the profile exports, with descriptors whose INI flag is set.
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

#include "foundation/profdesc.h"
#include "ini_testutil.h"
#include "profile/profile.h"

using initest::readBytes;
using initest::writeBytes;

namespace {

class IniExports : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = initest::scratchDir();
    OrvSetIniCacheMode(1);
    OrvSetIniTypeControl(0);
  }
  void TearDown() override {
    OrvSetIniCacheMode(0);
    OrvSetIniCacheMode(1);
    OrvSetIniTypeControl(0);
  }
  std::unique_ptr<COrvProfDesc> desc(const std::string& path, const char16_t* section) const {
    auto d = std::make_unique<COrvProfDesc>(initest::u16(path).c_str(), section);
    d->SetIni(true);
    return d;
  }
  std::string file(const char* name) const { return dir + "/" + name; }

  std::string dir;
};

TEST_F(IniExports, ReadsCountsAndEnumerationsOfAMissingFileMakeNoFile) {
  const std::string f = file("libnelvar.ini");
  auto d = desc(f, u"\\MACROS");
  std::u16string text;
  EXPECT_EQ(PROF_NO_SECTION, OrvGetProfCString(u"STARTUP", &text, u"none", d.get()));
  EXPECT_EQ(u"none", text);
  int count = -1;
  EXPECT_EQ(PROF_NO_SECTION, OrvGetProfSections(&count, d.get()));
  EXPECT_EQ(PROF_NO_SECTION, OrvGetProfValues(&count, d.get()));
  char16_t name[8] = {};
  EXPECT_EQ(PROF_NO_SECTION, OrvEnumProfSection(0, name, 8, d.get()));
  int type = 0;
  EXPECT_EQ(PROF_NO_SECTION, OrvEnumProfValue(0, name, 8, &type, d.get()));
  auto root = desc(f, u"");
  EXPECT_EQ(PROF_OK, OrvGetProfSections(&count, root.get()));
  EXPECT_EQ(0, count);
  OrvSetIniCacheMode(0);
  EXPECT_FALSE(plat::fileExists(f));
  // The first write makes it.
  EXPECT_EQ(PROF_OK, OrvSetProfString(u"STARTUP", u"EM", d.get()));
  EXPECT_EQ("[MACROS]\r\nSTARTUP=EM\r\n", readBytes(f));
}

TEST_F(IniExports, ShortLivedDescriptorsWriteAndRead) {
  const std::string f = file("parameters");
  auto d = desc(f, u"\\CONTROL_NMR_0");
  EXPECT_EQ(PROF_OK, OrvSetProfInt(u"SI", 1024, d.get()));
  EXPECT_EQ(PROF_OK, OrvSetProfString(u"TITLE", u"t 1", d.get()));
  EXPECT_EQ(PROF_OK, OrvSetProfInt(u"a\\b\\Count", 5, d.get()));
  // Every call closes its store, so the file is written back at once.
  EXPECT_EQ("[CONTROL_NMR_0]\r\nSI=1024\r\nTITLE=t 1\r\n[CONTROL_NMR_0\\a]\r\n[CONTROL_NMR_0\\a\\b]\r\nCount=5\r\n",
            readBytes(f));
  int v = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"si", &v, -1, d.get()));
  EXPECT_EQ(1024, v);
  EXPECT_EQ(PROF_NO_VALUE, OrvGetProfInt(u"missing", &v, -1, d.get()));
  EXPECT_EQ(-1, v);

  // An untyped value reads as a string: the size query gives its type and size.
  unsigned length = 0;
  int type = -1;
  EXPECT_EQ(PROF_OK, OrvGetProfValue(u"TITLE", nullptr, &length, &type, d.get()));
  EXPECT_EQ(PROF_TYPE_STRING, type);
  EXPECT_EQ(8u, length);
  char16_t text[4] = {};
  EXPECT_EQ(PROF_OK, OrvGetProfValue(u"TITLE", text, &length, &type, d.get()));
  EXPECT_EQ(std::u16string(u"t 1"), text);

  int count = -1;
  EXPECT_EQ(PROF_OK, OrvGetProfSections(&count, d.get()));
  EXPECT_EQ(1, count);
  char16_t name[8] = {};
  EXPECT_EQ(PROF_OK, OrvEnumProfSection(0, name, 8, d.get()));
  EXPECT_EQ(std::u16string(u"a"), name);
  EXPECT_EQ(PROF_NO_MORE_ITEMS, OrvEnumProfSection(1, name, 8, d.get()));
  EXPECT_EQ(PROF_OK, OrvGetProfValues(&count, d.get()));
  EXPECT_EQ(2, count);

  auto a = desc(f, u"\\CONTROL_NMR_0\\a");
  EXPECT_EQ(PROF_HAS_SUBSECTIONS, OrvDeleteProfSection(a.get()));
  EXPECT_EQ(PROF_NOT_SUPPORTED, OrvSetProfValue(u"v", "x", 1, PROF_TYPE_BINARY, d.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvSetProfString(u"TITLE", u"two\r\nlines", d.get()));
  EXPECT_EQ("[CONTROL_NMR_0]\r\nSI=1024\r\nTITLE=t 1\r\n[CONTROL_NMR_0\\a]\r\n[CONTROL_NMR_0\\a\\b]\r\nCount=5\r\n",
            readBytes(f));
}

TEST_F(IniExports, TypeControlWritesTypeWords) {
  const std::string f = file("typed.ini");
  auto d = desc(f, u"\\s");
  EXPECT_EQ(1, OrvSetIniTypeControl(1));
  EXPECT_EQ(PROF_OK, OrvSetProfDWord(u"Count", 255, d.get()));
  const unsigned char bytes[] = {1, 171};
  EXPECT_EQ(PROF_OK, OrvSetProfBinary(u"Data", bytes, 2, d.get()));
  // Untyped text written through the general setter never carries a type word.
  EXPECT_EQ(PROF_OK, OrvSetProfValue(u"Plain", u"a b", 8, PROF_TYPE_NONE, d.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvSetProfValue(u"Odd", "abc", 3, PROF_TYPE_NONE, d.get()));
  EXPECT_EQ("[s]\r\nCount = REG_DWORD 0xFF\r\nData = REG_BINARY 01 AB \r\nPlain=a b\r\n", readBytes(f));
  std::uint32_t dw = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfDWord(u"Count", &dw, 0, d.get()));
  EXPECT_EQ(255u, dw);
  char16_t text[8];
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfString(u"Count", text, 8, u"def", d.get()));
  EXPECT_EQ(std::u16string(u"def"), text);
}

TEST_F(IniExports, OpenSectionKeepsTheFileUntilClosed) {
  const std::string f = file("open.ini");
  writeBytes(f, "[s]\r\nx=1\r\n");
  auto d = desc(f, u"\\s");
  ASSERT_EQ(PROF_OK, d->Open(PROF_MODE_ALL));
  EXPECT_EQ(PROF_OK, OrvSetProfInt(u"x", 2, d.get()));
  EXPECT_EQ(PROF_OK, OrvSetProfInt(u"y", 3, d.get()));
  EXPECT_EQ("[s]\r\nx=1\r\n", readBytes(f));
  // The open section keeps its file cached.
  EXPECT_EQ(1, OrvSetIniCacheMode(0));
  EXPECT_EQ(PROF_OK, d->Close());
  EXPECT_EQ("[s]\r\nx=2\r\ny=3\r\n", readBytes(f));
  EXPECT_EQ(0, OrvSetIniCacheMode(0));
}

TEST_F(IniExports, FailedSaveIsReportedAndKeepsTheOldFile) {
  const std::string f = file("full.ini");
  const std::string old = "[s]\r\nx=1\r\n";
  writeBytes(f, old);
  auto d = desc(f, u"\\s");
  {
    initest::FileSizeLimit limit(16);
    EXPECT_EQ(PROF_WRITE_FAULT, OrvSetProfString(u"y", u"a text that does not fit", d.get()));
  }
  EXPECT_EQ(old, readBytes(f));
  int v = 0;
  EXPECT_EQ(PROF_NO_VALUE, OrvGetProfInt(u"y", &v, 0, d.get()));
}

// Two programs of the suite share one file: each writes its own values 200 times, some by one
// call each, some in runs through a section it holds open (which writes back only when closed).
// Every write reported as done is in the file at the end.
TEST_F(IniExports, TwoProcessesWritingOneFileLoseNoWrite) {
  const std::string f = file("shared.ini");
  constexpr int kWrites = 200;
  pid_t children[2];
  for (int k = 0; k < 2; ++k) {
    children[k] = ::fork();
    ASSERT_GE(children[k], 0);
    if (children[k] != 0) continue;
    bool ok = true;
    auto d = desc(f, k == 0 ? u"\\shared" : u"\\shared\\b");
    for (int i = 0; i < kWrites && ok; ++i) {
      const bool held = (i / 10) % 2 == 1;
      if (held && i % 10 == 0) ok = d->Open(PROF_MODE_ALL) == PROF_OK;
      const std::u16string name = initest::u16("v" + std::to_string(k) + "_" + std::to_string(i));
      ok = ok && OrvSetProfInt(name.c_str(), 1000 * k + i, d.get()) == PROF_OK;
      if (held && i % 10 == 9) ok = ok && d->Close() == PROF_OK;
    }
    ::_exit(ok ? 0 : 1);
  }
  for (const pid_t child : children) {
    int status = -1;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int k = 0; k < 2; ++k) {
    auto d = desc(f, k == 0 ? u"\\shared" : u"\\shared\\b");
    int lost = 0;
    for (int i = 0; i < kWrites; ++i) {
      const std::u16string name = initest::u16("v" + std::to_string(k) + "_" + std::to_string(i));
      int v = -1;
      if (OrvGetProfInt(name.c_str(), &v, -1, d.get()) != PROF_OK || v != 1000 * k + i) ++lost;
    }
    EXPECT_EQ(0, lost) << "process " << k;
  }
}

}  // namespace
