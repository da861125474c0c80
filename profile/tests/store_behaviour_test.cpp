// Export-level behaviour shared by every store. The registry instance is at the end; codes for
// missing things differ between stores, so those tests only ask for a failure.
#include "profile/tests/store_behaviour.h"

#include "platform/base/path.h"
#include "platform/base/text.h"
#include "profile/tests/ini_testutil.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <set>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST_P(StoreBehaviour, WritesAndReadsEveryTypedValue) {
  auto desc = fresh();  // no section yet: each write creates it on a store of its own
  const Bytes blob = {0, 10, 171, 255};
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"Count", -7, desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfDWord(u"Mask", 0xDEADBEEFu, desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfString(u"Name", u"Gamma \u00fc", desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfBinary(u"Data", blob.data(), unsigned(blob.size()), desc.get()));
  EXPECT_FALSE(desc->IsOpen());

  int count = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"count", &count, 1, desc.get()));  // names ignore case
  EXPECT_EQ(-7, count);
  std::uint32_t mask = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfDWord(u"Mask", &mask, 1, desc.get()));
  EXPECT_EQ(0xDEADBEEFu, mask);
  std::array<char16_t, 16> buffer{};
  EXPECT_EQ(PROF_OK, OrvGetProfString(u"Name", buffer.data(), unsigned(buffer.size()), u"x", desc.get()));
  EXPECT_EQ(plat::String16(u"Gamma \u00fc"), buffer.data());
  plat::String16 text = u"old";
  EXPECT_EQ(PROF_OK, OrvGetProfCString(u"Name", &text, u"x", desc.get()));
  EXPECT_EQ(u"Gamma \u00fc", text);
  Bytes read(8, 0xEE);
  unsigned length = unsigned(read.size());
  EXPECT_EQ(PROF_OK, OrvGetProfBinary(u"Data", read.data(), &length, desc.get()));
  ASSERT_EQ(4u, length);
  read.resize(length);
  EXPECT_EQ(blob, read);
}

TEST_P(StoreBehaviour, OpenSectionServesCallsUntilClosedOnce) {
  auto desc = existing();
  ASSERT_EQ(PROF_OK, desc->Open(PROF_MODE_ALL));
  ASSERT_TRUE(desc->IsOpen());
  auto* store = desc->GetStore();
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"Width", 640, desc.get()));
  int width = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"Width", &width, 0, desc.get()));
  EXPECT_EQ(640, width);
  // Opening again keeps the store that is there.
  EXPECT_EQ(PROF_OK, desc->Open(PROF_ACCESS_READ));
  EXPECT_EQ(store, desc->GetStore());
  EXPECT_EQ(PROF_OK, desc->Close());
  EXPECT_FALSE(desc->IsOpen());
  EXPECT_EQ(PROF_NOT_OPEN, desc->Close());
  EXPECT_EQ(PROF_NOT_OPEN, OrvCloseProfSection(desc.get()));
}

TEST_P(StoreBehaviour, RelativeValuePathWorksBelowTheSection) {
  auto desc = fresh();
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"a\\b\\Count", 5, desc.get()));
  int value = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"a\\b\\Count", &value, 0, desc.get()));
  EXPECT_EQ(5, value);

  COrvProfDesc child(*desc);
  child.AddSubSection(u"a\\b");
  value = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"Count", &value, 0, &child));
  EXPECT_EQ(5, value);
  int sections = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfSections(&sections, desc.get()));
  EXPECT_EQ(1, sections);
  // The section itself holds no value: Count lives two levels down.
  EXPECT_NE(PROF_OK, OrvGetProfInt(u"Count", &value, -1, desc.get()));
  EXPECT_EQ(-1, value);
}

TEST_P(StoreBehaviour, RelativePathLeavesTheOpenStoreAlone) {
  auto desc = existing();
  ASSERT_EQ(PROF_OK, desc->Open(PROF_MODE_ALL));
  auto* store = desc->GetStore();
  ASSERT_EQ(PROF_OK, OrvSetProfString(u"sub\\Title", u"deep", desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfString(u"Title", u"top", desc.get()));
  EXPECT_EQ(store, desc->GetStore());
  plat::String16 deep, top;
  EXPECT_EQ(PROF_OK, OrvGetProfCString(u"sub\\Title", &deep, nullptr, desc.get()));
  EXPECT_EQ(PROF_OK, OrvGetProfCString(u"Title", &top, nullptr, desc.get()));
  EXPECT_EQ(u"deep", deep);
  EXPECT_EQ(u"top", top);
}

TEST_P(StoreBehaviour, MissingValueHandsOutTheDefaults) {
  auto desc = existing();
  int number = 0;
  EXPECT_NE(PROF_OK, OrvGetProfInt(u"Missing", &number, 42, desc.get()));
  EXPECT_EQ(42, number);
  std::uint32_t dword = 0;
  EXPECT_NE(PROF_OK, OrvGetProfDWord(u"Missing", &dword, 7u, desc.get()));
  EXPECT_EQ(7u, dword);
  std::array<char16_t, 8> buffer{};
  EXPECT_NE(PROF_OK, OrvGetProfString(u"Missing", buffer.data(), unsigned(buffer.size()), u"dflt", desc.get()));
  EXPECT_EQ(plat::String16(u"dflt"), buffer.data());
  plat::String16 text = u"stale";
  EXPECT_NE(PROF_OK, OrvGetProfCString(u"Missing", &text, u"dflt", desc.get()));
  EXPECT_EQ(u"dflt", text);
  EXPECT_NE(PROF_OK, OrvGetProfCString(u"Missing", &text, nullptr, desc.get()));
  EXPECT_EQ(u"", text);
  unsigned length = 99;
  std::uint8_t bytes[4];
  EXPECT_NE(PROF_OK, OrvGetProfBinary(u"Missing", bytes, &length, desc.get()));
  EXPECT_EQ(0u, length);
  // A missing section fails the same way, with the same defaults.
  auto missing = fresh();
  EXPECT_NE(PROF_OK, OrvGetProfInt(u"Missing", &number, 43, missing.get()));
  EXPECT_EQ(43, number);
}

TEST_P(StoreBehaviour, TypedGetterOnAnotherTypeFailsWithWrongType) {
  auto desc = existing();
  const std::uint8_t blob[] = {1, 2, 3};
  ASSERT_EQ(PROF_OK, OrvSetProfString(u"Text", u"12", desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"Number", 12, desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfBinary(u"Blob", blob, 3, desc.get()));

  int number = 0;
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfInt(u"Text", &number, -1, desc.get()));
  EXPECT_EQ(-1, number);
  std::uint32_t dword = 0;
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfDWord(u"Text", &dword, 9u, desc.get()));
  EXPECT_EQ(9u, dword);
  plat::String16 text;
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfCString(u"Number", &text, u"d", desc.get()));
  EXPECT_EQ(u"d", text);
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfCString(u"Blob", &text, u"d", desc.get()));
  std::uint8_t bytes[8];
  unsigned length = sizeof(bytes);
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfBinary(u"Text", bytes, &length, desc.get()));
  EXPECT_EQ(0u, length);
}

TEST_P(StoreBehaviour, StringBufferNeedsRoomForItsNul) {
  auto desc = existing();
  ASSERT_EQ(PROF_OK, OrvSetProfString(u"Word", u"abcd", desc.get()));
  std::array<char16_t, 8> buffer;
  buffer.fill(u'#');
  EXPECT_EQ(PROF_MORE_DATA, OrvGetProfString(u"Word", buffer.data(), 4, nullptr, desc.get()));
  EXPECT_EQ(u'#', buffer[4]);  // nothing written past cch
  EXPECT_EQ(PROF_OK, OrvGetProfString(u"Word", buffer.data(), 5, nullptr, desc.get()));
  EXPECT_EQ(plat::String16(u"abcd"), buffer.data());
}

TEST_P(StoreBehaviour, BinaryAndValueSizeQueries) {
  auto desc = existing();
  const std::uint8_t blob[] = {0x10, 0x20, 0x30, 0x40, 0x50};
  ASSERT_EQ(PROF_OK, OrvSetProfBinary(u"Blob", blob, 5, desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfString(u"Word", u"xy", desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfDWord(u"Mask", 0x01020304u, desc.get()));

  unsigned length = 0;
  EXPECT_EQ(PROF_MORE_DATA, OrvGetProfBinary(u"Blob", nullptr, &length, desc.get()));
  EXPECT_EQ(5u, length);
  std::uint8_t small[3] = {0xAA, 0xAA, 0xAA};
  length = 3;
  EXPECT_EQ(PROF_MORE_DATA, OrvGetProfBinary(u"Blob", small, &length, desc.get()));
  EXPECT_EQ(5u, length);
  EXPECT_EQ(0xAA, small[0]);  // not copied when it does not fit

  int type = -1;
  length = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfValue(u"Word", nullptr, &length, &type, desc.get()));
  EXPECT_EQ(6u, length);  // "xy" and its NUL, two bytes a character
  EXPECT_EQ(PROF_TYPE_STRING, type);
  std::uint8_t bytes[6];
  length = 5;
  EXPECT_EQ(PROF_MORE_DATA, OrvGetProfValue(u"Word", bytes, &length, &type, desc.get()));
  EXPECT_EQ(6u, length);
  length = 6;
  EXPECT_EQ(PROF_OK, OrvGetProfValue(u"Word", bytes, &length, &type, desc.get()));
  const std::uint8_t expectWord[] = {'x', 0, 'y', 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(expectWord, bytes, 6));

  length = 6;
  EXPECT_EQ(PROF_OK, OrvGetProfValue(u"Mask", bytes, &length, &type, desc.get()));
  EXPECT_EQ(4u, length);
  EXPECT_EQ(PROF_TYPE_DWORD, type);
  const std::uint8_t expectMask[] = {0x04, 0x03, 0x02, 0x01};  // little-endian
  EXPECT_EQ(0, std::memcmp(expectMask, bytes, 4));
}

TEST_P(StoreBehaviour, CountsAndEnumeratesValuesInCreationOrder) {
  auto desc = existing();
  const std::uint8_t blob[] = {1};
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"Zeta", 1, desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfString(u"alpha", u"a", desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfBinary(u"Mid", blob, 1, desc.get()));
  int count = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfValues(&count, desc.get()));
  EXPECT_EQ(3, count);

  const char16_t* names[] = {u"Zeta", u"alpha", u"Mid"};
  const int types[] = {PROF_TYPE_DWORD, PROF_TYPE_STRING, PROF_TYPE_BINARY};
  for (int i = 0; i < 3; ++i) {
    std::array<char16_t, 16> buffer{};
    int type = -1;
    ASSERT_EQ(PROF_OK, OrvEnumProfValue(i, buffer.data(), unsigned(buffer.size()), &type, desc.get()));
    EXPECT_EQ(plat::String16(names[i]), buffer.data());
    EXPECT_EQ(types[i], type);
  }
  std::array<char16_t, 4> tiny;
  tiny.fill(u'#');
  int type = -1;
  EXPECT_EQ(PROF_MORE_DATA, OrvEnumProfValue(0, tiny.data(), 4, &type, desc.get()));  // "Zeta" needs 5
  EXPECT_EQ(u'#', tiny[0]);
  EXPECT_EQ(PROF_NO_MORE_ITEMS, OrvEnumProfValue(3, tiny.data(), 4, &type, desc.get()));
}

TEST_P(StoreBehaviour, CountsAndEnumeratesDirectSubsections) {
  auto desc = existing();
  for (const char16_t* name : {u"alpha", u"beta"}) {
    COrvProfDesc child(*desc);
    child.AddSubSection(name);
    ASSERT_EQ(PROF_OK, child.Create(PROF_MODE_ALL, 0));
  }
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"beta\\deeper\\X", 1, desc.get()));  // a grandchild is not counted
  int count = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfSections(&count, desc.get()));
  EXPECT_EQ(2, count);
  // The order is the store's own (the registry sorts names, an INI file keeps its lines).
  std::set<plat::String16> names;
  std::array<char16_t, 16> buffer{};
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(PROF_OK, OrvEnumProfSection(i, buffer.data(), unsigned(buffer.size()), desc.get()));
    names.insert(buffer.data());
  }
  EXPECT_EQ((std::set<plat::String16>{u"alpha", u"beta"}), names);
  EXPECT_EQ(PROF_NO_MORE_ITEMS, OrvEnumProfSection(2, buffer.data(), unsigned(buffer.size()), desc.get()));
  buffer.fill(u'#');
  EXPECT_EQ(PROF_MORE_DATA, OrvEnumProfSection(0, buffer.data(), 4, desc.get()));  // both names need 5
  EXPECT_EQ(u'#', buffer[0]);
}

TEST_P(StoreBehaviour, DeletesValuesAndLeafSections) {
  auto desc = existing();
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"Keep", 1, desc.get()));
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"Drop", 2, desc.get()));
  EXPECT_EQ(PROF_OK, OrvDeleteProfValue(u"drop", desc.get()));
  int value = 0;
  EXPECT_NE(PROF_OK, OrvGetProfInt(u"Drop", &value, -1, desc.get()));
  EXPECT_NE(PROF_OK, OrvDeleteProfValue(u"Drop", desc.get()));
  int count = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfValues(&count, desc.get()));
  EXPECT_EQ(1, count);

  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"child\\X", 1, desc.get()));
  // A section with subsections is refused and stays.
  EXPECT_EQ(PROF_HAS_SUBSECTIONS, OrvDeleteProfSection(desc.get()));
  EXPECT_EQ(PROF_OK, desc->Open(PROF_MODE_OPEN));
  EXPECT_EQ(PROF_OK, desc->Close());

  COrvProfDesc child(*desc);
  child.AddSubSection(u"child");
  EXPECT_EQ(PROF_OK, OrvDeleteProfSection(&child));
  EXPECT_EQ(PROF_NO_SECTION, child.Open(PROF_MODE_OPEN));
  EXPECT_EQ(PROF_OK, OrvDeleteProfSection(desc.get()));
  EXPECT_EQ(PROF_NO_SECTION, desc->Open(PROF_MODE_OPEN));
  EXPECT_NE(PROF_OK, OrvDeleteProfSection(desc.get()));
}

TEST_P(StoreBehaviour, OpenModeLimitsWhatTheSectionAllows) {
  auto desc = existing();
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"Value", 3, desc.get()));
  int value = 0, count = 0;

  ASSERT_EQ(PROF_OK, desc->Open(PROF_ACCESS_READ));
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"Value", &value, 0, desc.get()));
  EXPECT_EQ(3, value);
  EXPECT_EQ(PROF_OK, OrvGetProfValues(&count, desc.get()));
  EXPECT_EQ(PROF_ACCESS_DENIED, OrvSetProfInt(u"Value", 4, desc.get()));
  EXPECT_EQ(PROF_ACCESS_DENIED, OrvDeleteProfValue(u"Value", desc.get()));
  EXPECT_EQ(PROF_ACCESS_DENIED, OrvGetProfSections(&count, desc.get()));
  EXPECT_EQ(PROF_OK, desc->Close());

  ASSERT_EQ(PROF_OK, desc->Open(PROF_ACCESS_ENUM));
  EXPECT_EQ(PROF_ACCESS_DENIED, OrvGetProfInt(u"Value", &value, -5, desc.get()));
  EXPECT_EQ(-5, value);
  EXPECT_EQ(PROF_OK, OrvGetProfSections(&count, desc.get()));
  EXPECT_EQ(0, count);
  EXPECT_EQ(PROF_OK, desc->Close());

  ASSERT_EQ(PROF_OK, desc->Open(PROF_ACCESS_WRITE));
  EXPECT_EQ(PROF_OK, OrvSetProfInt(u"Value", 4, desc.get()));
  EXPECT_EQ(PROF_ACCESS_DENIED, OrvGetProfInt(u"Value", &value, 0, desc.get()));
  EXPECT_EQ(PROF_OK, desc->Close());
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"Value", &value, 0, desc.get()));
  EXPECT_EQ(4, value);
}

TEST_P(StoreBehaviour, OpeningAMissingSectionAttachesNothing) {
  auto desc = fresh();
  EXPECT_EQ(PROF_NO_SECTION, desc->Open(PROF_MODE_OPEN));
  EXPECT_FALSE(desc->IsOpen());
  desc->SetAutoCreate(false);
  EXPECT_EQ(PROF_NO_SECTION, desc->Open(PROF_MODE_ALL));
  EXPECT_FALSE(desc->IsOpen());
  EXPECT_NE(PROF_OK, OrvSetProfInt(u"Value", 1, desc.get()));  // no auto-create: nothing is made
  EXPECT_EQ(PROF_NO_SECTION, desc->Open(PROF_MODE_OPEN));
  // With auto-create and the create-subsection flag, opening creates the section.
  desc->SetAutoCreate(true);
  EXPECT_EQ(PROF_OK, desc->Open(PROF_MODE_ALL));
  EXPECT_TRUE(desc->IsOpen());
}

TEST_P(StoreBehaviour, CreateReplacesTheOpenSection) {
  auto desc = existing();
  ASSERT_EQ(PROF_OK, desc->Open(PROF_ACCESS_READ));
  EXPECT_EQ(PROF_ACCESS_DENIED, OrvSetProfInt(u"Value", 1, desc.get()));
  ASSERT_EQ(PROF_OK, desc->Create(PROF_MODE_ALL, 0));  // closes the read-only store first
  EXPECT_EQ(PROF_OK, OrvSetProfInt(u"Value", 1, desc.get()));
}

TEST_P(StoreBehaviour, NullPointersAndBadModesAreRefused) {
  auto desc = existing();
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"Value", 1, desc.get()));
  char16_t buffer[8];
  unsigned length = 8;
  int value = 0, type = 0;
  std::uint32_t dword = 0;
  plat::String16 text;
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvCloseProfSection(nullptr));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvCreateProfSection(nullptr, PROF_MODE_ALL, 0));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvDeleteProfSection(nullptr));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvOpenProfSection(nullptr, PROF_MODE_OPEN));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvDeleteProfValue(nullptr, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvEnumProfSection(0, nullptr, 8, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvEnumProfSection(-1, buffer, 8, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvEnumProfValue(0, nullptr, 8, &type, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvEnumProfValue(0, buffer, 8, &type, nullptr));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfBinary(u"Value", buffer, nullptr, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfBinary(nullptr, buffer, &length, desc.get()));
  EXPECT_EQ(0u, length);
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfCString(u"Value", nullptr, nullptr, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfCString(nullptr, &text, u"d", desc.get()));
  EXPECT_EQ(u"d", text);
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfDWord(u"Value", nullptr, 0, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfDWord(u"Value", &dword, 6u, nullptr));
  EXPECT_EQ(6u, dword);
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfInt(u"Value", nullptr, 0, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfInt(nullptr, &value, 5, desc.get()));
  EXPECT_EQ(5, value);
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfSections(nullptr, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfString(u"Value", buffer, 8, u"d", nullptr));
  EXPECT_EQ(plat::String16(u"d"), buffer);
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfValue(u"Value", buffer, nullptr, &type, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvGetProfValues(&value, nullptr));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvSetProfBinary(u"Value", nullptr, 4, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvSetProfDWord(nullptr, 1, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvSetProfInt(u"Value", 1, nullptr));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvSetProfString(u"Value", nullptr, desc.get()));
  EXPECT_EQ(PROF_INVALID_PARAMETER, OrvSetProfValue(u"Value", nullptr, 2, PROF_TYPE_BINARY, desc.get()));
  // Bits that are no open-mode flag are refused; bits above the low 16 are not looked at.
  EXPECT_EQ(PROF_INVALID_PARAMETER, desc->Open(0x40));
  EXPECT_EQ(PROF_INVALID_PARAMETER, desc->Create(0x100 | PROF_MODE_ALL, 0));
  EXPECT_FALSE(desc->IsOpen());
  EXPECT_EQ(PROF_OK, desc->Open(0x10000 | PROF_ACCESS_READ));
  // The value is still there and untouched.
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"Value", &value, 0, desc.get()));
  EXPECT_EQ(1, value);
  // An empty binary value is fine without data.
  EXPECT_EQ(PROF_OK, desc->Close());
  EXPECT_EQ(PROF_OK, OrvSetProfBinary(u"Empty", nullptr, 0, desc.get()));
  length = 8;
  EXPECT_EQ(PROF_OK, OrvGetProfBinary(u"Empty", buffer, &length, desc.get()));
  EXPECT_EQ(0u, length);
}

// The registry instance: every section is a fresh key below one test root.
std::unique_ptr<COrvProfDesc> freshRegistrySection() {
  static std::atomic<int> counter{0};
  const std::string name = "\\S" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
  plat::String16 section(name.begin(), name.end());
  return std::make_unique<COrvProfDesc>(u"HKEY_CURRENT_USER\\Software\\KedrusTests\\Behaviour", section.c_str());
}

// The INI instance: every section is a fresh section of one INI file in the scratch folder.
// Type control is on while the tests run, so values keep their types as in the registry.
std::unique_ptr<COrvProfDesc> freshIniSection() {
  static std::atomic<int> counter{0};
  static const std::string file = plat::joinPath(initest::scratchDir(), "behaviour.ini");
  const std::string name = "\\S" + std::to_string(++counter);
  auto desc = std::make_unique<COrvProfDesc>(plat::toUtf16(file).c_str(), plat::toUtf16(name).c_str());
  desc->SetIni(1);
  return desc;
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreBehaviour,
                         ::testing::Values(StoreSetup{"Registry", freshRegistrySection},
                                           StoreSetup{"Ini", freshIniSection, [] { OrvSetIniTypeControl(1); },
                                                      [] { OrvSetIniTypeControl(0); }}),
                         storeSetupName);

}  // namespace
