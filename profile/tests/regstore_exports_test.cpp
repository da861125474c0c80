// The registry store through the exports: root names, type mapping, its own codes, and values
// whose stored size does not fit their type.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "foundation/profdesc.h"
#include "profile/profile.h"

namespace {

// A key path below HKEY_CURRENT_USER that no other test uses.
plat::String16 freshKey() {
  static std::atomic<int> counter{0};
  const std::string path = "Software\\KedrusTests\\Registry\\K" + std::to_string(::getpid()) + "_" +
                           std::to_string(++counter);
  return plat::String16(path.begin(), path.end());
}

TEST(RegistryStore, RootNameIgnoresCase) {
  const plat::String16 key = freshKey();
  COrvProfDesc lower((u"hkey_current_user\\" + key).c_str(), u"");
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"a\\b\\Count", 5, &lower));
  COrvProfDesc upper((u"HKEY_CURRENT_USER\\" + key).c_str(), u"");
  int value = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"a\\b\\Count", &value, 0, &upper));
  EXPECT_EQ(5, value);
  // Another root does not see it.
  COrvProfDesc machine((u"HKEY_LOCAL_MACHINE\\" + key).c_str(), u"");
  EXPECT_EQ(PROF_NOT_FOUND, OrvGetProfInt(u"a\\b\\Count", &value, -1, &machine));
  EXPECT_EQ(-1, value);
}

TEST(RegistryStore, MissingThingsReadAsNotFound) {
  COrvProfDesc desc((u"HKEY_CURRENT_USER\\" + freshKey()).c_str(), u"");
  int value = 0;
  EXPECT_EQ(PROF_NOT_FOUND, OrvGetProfInt(u"Missing", &value, 0, &desc));  // no key
  ASSERT_EQ(PROF_OK, desc.Create(PROF_MODE_ALL, 0));
  EXPECT_EQ(PROF_NOT_FOUND, OrvGetProfInt(u"Missing", &value, 0, &desc));  // no value
  EXPECT_EQ(PROF_NOT_FOUND, OrvDeleteProfValue(u"Missing", &desc));
  COrvProfDesc missing((u"HKEY_CURRENT_USER\\" + freshKey()).c_str(), u"");
  EXPECT_EQ(PROF_NO_SECTION, missing.Open(PROF_MODE_OPEN));
  EXPECT_EQ(PROF_NOT_FOUND, OrvDeleteProfSection(&missing));
}

TEST(RegistryStore, ValueTypesMapByTheFirstMatchingPair) {
  COrvProfDesc desc((u"HKEY_CURRENT_USER\\" + freshKey()).c_str(), u"");
  const std::uint8_t four[] = {1, 0, 0, 0};
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"LittleEndian", four, 4, PROF_TYPE_DWORD_LE, &desc));
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"Unknown", four, 4, 12, &desc));
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"BigEndian", four, 4, PROF_TYPE_DWORD_BE, &desc));
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"Multi", u"a\0b\0", 10, PROF_TYPE_MULTI_STRING, &desc));
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"Expand", u"%X%", 8, PROF_TYPE_EXPAND_STRING, &desc));

  auto typeOf = [&](const char16_t* name) {
    unsigned length = 0;
    int type = -1;
    EXPECT_EQ(PROF_OK, OrvGetProfValue(name, nullptr, &length, &type, &desc));
    return type;
  };
  EXPECT_EQ(PROF_TYPE_DWORD, typeOf(u"LittleEndian"));  // written as REG_DWORD, read as type 1
  EXPECT_EQ(PROF_TYPE_NONE, typeOf(u"Unknown"));
  EXPECT_EQ(PROF_TYPE_DWORD_BE, typeOf(u"BigEndian"));
  EXPECT_EQ(PROF_TYPE_MULTI_STRING, typeOf(u"Multi"));
  EXPECT_EQ(PROF_TYPE_EXPAND_STRING, typeOf(u"Expand"));
  int value = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"LittleEndian", &value, 0, &desc));
  EXPECT_EQ(1, value);
  // Only REG_DWORD reads as a number and only REG_SZ as a string.
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfInt(u"BigEndian", &value, 0, &desc));
  plat::String16 text;
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfCString(u"Expand", &text, nullptr, &desc));
}

TEST(RegistryStore, DWordValuesMustHoldFourBytes) {
  COrvProfDesc desc((u"HKEY_CURRENT_USER\\" + freshKey()).c_str(), u"");
  const std::uint8_t bytes[] = {0x34, 0x12, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"Short", bytes, 2, PROF_TYPE_DWORD, &desc));
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"Long", bytes, 8, PROF_TYPE_DWORD, &desc));
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"Exact", bytes, 4, PROF_TYPE_DWORD, &desc));
  int value = 0;
  // Too short to be a number: refused, never read with undefined high bytes.
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfInt(u"Short", &value, -3, &desc));
  EXPECT_EQ(-3, value);
  std::uint32_t dword = 0;
  EXPECT_EQ(PROF_MORE_DATA, OrvGetProfDWord(u"Long", &dword, 9u, &desc));
  EXPECT_EQ(9u, dword);
  EXPECT_EQ(PROF_OK, OrvGetProfDWord(u"Exact", &dword, 0, &desc));
  EXPECT_EQ(0x1234u, dword);
}

TEST(RegistryStore, StringsStayInsideTheirData) {
  COrvProfDesc desc((u"HKEY_CURRENT_USER\\" + freshKey()).c_str(), u"");
  // "abc" without its NUL, then an odd trailing byte; and a text with an inner NUL.
  const std::uint8_t noNul[] = {'a', 0, 'b', 0, 'c', 0, 'd'};
  const std::uint8_t innerNul[] = {'x', 0, 0, 0, 'y', 0, 0, 0};
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"NoNul", noNul, sizeof(noNul), PROF_TYPE_STRING, &desc));
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"Inner", innerNul, sizeof(innerNul), PROF_TYPE_STRING, &desc));
  ASSERT_EQ(PROF_OK, OrvSetProfValue(u"Empty", nullptr, 0, PROF_TYPE_STRING, &desc));
  plat::String16 text;
  EXPECT_EQ(PROF_OK, OrvGetProfCString(u"NoNul", &text, nullptr, &desc));
  EXPECT_EQ(u"abc", text);
  EXPECT_EQ(PROF_OK, OrvGetProfCString(u"Inner", &text, nullptr, &desc));
  EXPECT_EQ(u"x", text);
  EXPECT_EQ(PROF_OK, OrvGetProfCString(u"Empty", &text, u"d", &desc));
  EXPECT_EQ(u"", text);
  std::array<char16_t, 4> buffer;
  buffer.fill(u'#');
  EXPECT_EQ(PROF_OK, OrvGetProfString(u"NoNul", buffer.data(), 4, nullptr, &desc));
  EXPECT_EQ(plat::String16(u"abc"), buffer.data());
}

TEST(RegistryStore, RootsAreNeverDeleted) {
  const plat::String16 key = freshKey();
  COrvProfDesc child((u"HKEY_CURRENT_USER\\" + key).c_str(), u"");
  ASSERT_EQ(PROF_OK, OrvSetProfInt(u"Keep", 1, &child));
  for (const char16_t* root : {u"HKEY_CURRENT_USER", u"HKEY_CURRENT_USER\\", u"hkey_users", u"HKEY_CLASSES_ROOT"}) {
    COrvProfDesc desc(root, u"");
    EXPECT_EQ(PROF_ACCESS_DENIED, OrvDeleteProfSection(&desc)) << plat::String16(root).size();
  }
  int value = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"Keep", &value, 0, &child));
  // A root by itself opens (every root key name needs no key path).
  COrvProfDesc root(u"HKEY_CURRENT_USER", u"");
  int count = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfSections(&count, &root));
  EXPECT_GE(count, 1);
}

TEST(RegistryStore, UnknownRootFailsCleanly) {
  COrvProfDesc desc(u"HKEY_NOWHERE\\Software", u"\\X");
  int value = 0;
  EXPECT_NE(PROF_OK, OrvSetProfInt(u"Count", 1, &desc));
  EXPECT_NE(PROF_OK, OrvGetProfInt(u"Count", &value, 8, &desc));
  EXPECT_EQ(8, value);
  EXPECT_EQ(PROF_NO_SECTION, desc.Open(PROF_MODE_OPEN));
  EXPECT_NE(PROF_OK, OrvDeleteProfSection(&desc));
}

TEST(RegistryStore, VolatileSectionTakesNoPersistentChild) {
  COrvProfDesc desc((u"HKEY_CURRENT_USER\\" + freshKey()).c_str(), u"");
  ASSERT_EQ(PROF_OK, desc.Create(PROF_MODE_ALL, 1));
  EXPECT_EQ(PROF_OK, OrvSetProfInt(u"Count", 2, &desc));
  int value = 0;
  EXPECT_EQ(PROF_OK, OrvGetProfInt(u"Count", &value, 0, &desc));
  EXPECT_EQ(2, value);
  COrvProfDesc child(desc);
  child.AddSubSection(u"Child");
  // The registry refuses a lasting key below a volatile one: the code has no profile name.
  EXPECT_EQ(PROF_ERROR, child.Create(PROF_MODE_ALL, 0));
  EXPECT_EQ(PROF_OK, child.Create(PROF_MODE_ALL, 1));
}

TEST(RegistryStore, EachFailureReportsItsOwnCode) {
  COrvProfDesc desc((u"HKEY_CURRENT_USER\\" + freshKey()).c_str(), u"");
  ASSERT_EQ(PROF_OK, OrvSetProfString(u"Text", u"t", &desc));
  ASSERT_EQ(PROF_OK, desc.Open(PROF_ACCESS_READ));
  EXPECT_EQ(PROF_ACCESS_DENIED, OrvSetProfInt(u"X", 1, &desc));
  int value = 0;
  EXPECT_EQ(PROF_WRONG_TYPE, OrvGetProfInt(u"Text", &value, 0, &desc));
  EXPECT_EQ(PROF_OK, OrvGetProfValues(&value, &desc));
  EXPECT_EQ(PROF_NOT_FOUND, OrvGetProfInt(u"Missing", &value, 0, &desc));
  std::array<char16_t, 8> buffer{};
  EXPECT_EQ(PROF_NO_MORE_ITEMS, OrvEnumProfValue(1, buffer.data(), 8, &value, &desc));
}

TEST(RegistryStore, CStringResultComesThroughTheDescriptor) {
  // A caller's descriptor that records every string it is asked to assign.
  struct Recorder : COrvProfDesc {
    using COrvProfDesc::COrvProfDesc;
    int assigned = 0;
    void AssignString(plat::String16* target, const char16_t* text) override {
      ++assigned;
      COrvProfDesc::AssignString(target, text);
    }
  };
  Recorder desc((u"HKEY_CURRENT_USER\\" + freshKey()).c_str(), u"");
  ASSERT_EQ(PROF_OK, OrvSetProfString(u"Name", u"value", &desc));
  plat::String16 text;
  EXPECT_EQ(PROF_OK, OrvGetProfCString(u"Name", &text, nullptr, &desc));
  EXPECT_EQ(u"value", text);
  EXPECT_NE(PROF_OK, OrvGetProfCString(u"Missing", &text, u"d", &desc));
  EXPECT_EQ(u"d", text);
  EXPECT_EQ(2, desc.assigned);
}

}  // namespace
