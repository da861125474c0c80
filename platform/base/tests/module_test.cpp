#include "platform/base/module.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "platform/base/file.h"
#include "platform/base/path.h"

KEDRUS_MODULE_VERSION(2, 0, 1234, 5, plat::kVersionTypeApp);

namespace {

const int kAnchorInThisModule = 0;

std::string scratchFile(const char* name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = plat::joinPath(scratch ? scratch : "/tmp", "module");
  EXPECT_TRUE(plat::makeDirectories(dir));
  return plat::joinPath(dir, name);
}

void putLe32(std::string* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(char((v >> (8 * i)) & 0xFF));
}

// A record laid out by hand: the marker, then the 13 words.
std::string recordBytes(std::uint32_t signature, std::uint32_t ms, std::uint32_t ls) {
  std::string out = "KedrusVersionRec";
  putLe32(&out, signature);
  putLe32(&out, 0x00010000);
  putLe32(&out, ms);
  putLe32(&out, ls);
  for (int i = 0; i < 9; ++i) putLe32(&out, 0);
  return out;
}

TEST(Module, TheExecutableIsFoundByAnAddressInsideIt) {
  char exe[4096] = {};
  const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  EXPECT_EQ(plat::moduleFileName(&kAnchorInThisModule), std::string(exe, std::size_t(n)));
  EXPECT_EQ(plat::moduleDirectory(&kAnchorInThisModule), std::string(plat::pathDirectory(exe)));
  EXPECT_EQ(plat::moduleFileName(nullptr), "");
}

TEST(Module, ASharedLibraryIsFoundByItsOwnFile) {
  // A function of the C++ runtime library, which no sanitizer replaces.
  const auto address = reinterpret_cast<const void*>(&std::get_terminate);
  const std::string file = plat::moduleFileName(address);
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(file.front(), '/');
  EXPECT_NE(file.find("libstdc++"), std::string::npos) << file;
  EXPECT_NE(file, plat::moduleFileName(&kAnchorInThisModule));
  EXPECT_TRUE(plat::fileExists(file));
}

TEST(Module, TheCompiledRecordIsReadBackFromTheModulesFile) {
  plat::FixedFileInfo info;
  ASSERT_TRUE(plat::readFileVersion(plat::moduleFileName(&kAnchorInThisModule), &info));
  EXPECT_EQ(info.signature, 0xFEEF04BDu);
  EXPECT_EQ(info.fileVersionMS, 0x00020000u);            // 2.0
  EXPECT_EQ(info.fileVersionLS, (1234u << 16) + 5u);     // build 1234, revision 5
  EXPECT_EQ(info.fileType, 1u);
}

TEST(Module, RecordsAreFoundAcrossReadsAndDecoysAreSkipped) {
  // A marker without a valid signature first, then the real record straddling the 64 KiB mark.
  std::string bytes(100, 'x');
  bytes += recordBytes(0x12345678, 9, 9);
  bytes.resize(65536 - 30, 'K');
  bytes += recordBytes(0xFEEF04BD, 0x00030001, 0x00070000);
  bytes += "tail";
  const std::string file = scratchFile("straddle.bin");
  ASSERT_TRUE(plat::writeFileAtomic(file, bytes));
  plat::FixedFileInfo info;
  ASSERT_TRUE(plat::readFileVersion(file, &info));
  EXPECT_EQ(info.fileVersionMS, 0x00030001u);
  EXPECT_EQ(info.fileVersionLS, 0x00070000u);
}

TEST(Module, FilesWithoutAWholeValidRecordGiveNoVersion) {
  plat::FixedFileInfo info;
  info.fileVersionMS = 77;
  EXPECT_FALSE(plat::readFileVersion(scratchFile("missing.bin"), &info));

  const std::string decoy = scratchFile("decoy.bin");
  ASSERT_TRUE(plat::writeFileAtomic(decoy, recordBytes(0xDEADBEEF, 1, 1)));
  EXPECT_FALSE(plat::readFileVersion(decoy, &info));

  // A valid record cut short by the end of the file.
  const std::string cut = scratchFile("cut.bin");
  const std::string record = recordBytes(0xFEEF04BD, 1, 1);
  ASSERT_TRUE(plat::writeFileAtomic(cut, record.substr(0, record.size() - 1)));
  EXPECT_FALSE(plat::readFileVersion(cut, &info));

  const std::string empty = scratchFile("empty.bin");
  ASSERT_TRUE(plat::writeFileAtomic(empty, ""));
  EXPECT_FALSE(plat::readFileVersion(empty, &info));
  EXPECT_EQ(info.fileVersionMS, 77u);  // untouched by every failure
  EXPECT_FALSE(plat::readFileVersion(decoy, nullptr));
}

}  // namespace
