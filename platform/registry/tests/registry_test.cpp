#include "platform/registry/registry.h"

#include <vector>

#include "platform/registry/tests/registry_fixture.h"

namespace regtest {
namespace {

std::vector<std::u16string> subKeys(Key key) {
  std::vector<std::u16string> names;
  std::u16string name;
  for (std::uint32_t i = 0; enumKey(key, i, &name) == Status::Success; ++i) names.push_back(name);
  return names;
}

std::vector<std::u16string> valueNames(Key key) {
  std::vector<std::u16string> names;
  std::u16string name;
  ValueType type;
  for (std::uint32_t i = 0; enumValue(key, i, &name, &type) == Status::Success; ++i) {
    names.push_back(name);
  }
  return names;
}

using Names = std::vector<std::u16string>;

TEST_F(RegistryTest, NamesAreCaseInsensitiveAndCasePreserving) {
  const Key app = create(kCurrentUser, u"Software\\Orvane\\Spectra");
  bool created = true;
  Key again = kNoKey;
  ASSERT_EQ(createKey(kCurrentUser, u"SOFTWARE\\orvane\\SPECTRA", false, kAllAccess, &again, &created),
            Status::Success);
  EXPECT_FALSE(created);
  Key software = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"software", kRead, &software), Status::Success);
  EXPECT_EQ(subKeys(software), Names{u"Orvane"});

  // Latin-1 letters fold too.
  create(app, u"\u00C4rger");
  Key latin = kNoKey;
  EXPECT_EQ(openKey(app, u"\u00E4RGER", kRead, &latin), Status::Success);

  ASSERT_EQ(put(app, u"Width", ValueType::DWord, dword(1)), Status::Success);
  ASSERT_EQ(put(again, u"WIDTH", ValueType::DWord, dword(2)), Status::Success);
  EXPECT_EQ(get(app, u"width"), dword(2));
  EXPECT_EQ(valueNames(app), Names{u"Width"});  // the first spelling stays
  EXPECT_EQ(deleteValue(app, u"wIdTh"), Status::Success);
  EXPECT_EQ(valueNames(app), Names{});
}

TEST_F(RegistryTest, SubkeysEnumerateInFoldedOrderValuesInCreationOrder) {
  const Key k = create(kCurrentUser, u"Order");
  for (const char16_t* name : {u"b", u"A_", u"C", u"a", u"_x", u"B1"}) create(k, name);
  // Compared with letters folded to lower case: "_" (0x5F) comes before "a" (0x61).
  EXPECT_EQ(subKeys(k), (Names{u"_x", u"a", u"A_", u"b", u"B1", u"C"}));

  for (const char16_t* name : {u"zeta", u"Alpha", u"mid"}) {
    ASSERT_EQ(put(k, name, ValueType::String, sz(name)), Status::Success);
  }
  ASSERT_EQ(put(k, u"ALPHA", ValueType::DWord, dword(7)), Status::Success);  // keeps its place
  EXPECT_EQ(valueNames(k), (Names{u"zeta", u"Alpha", u"mid"}));
  ASSERT_EQ(deleteValue(k, u"zeta"), Status::Success);
  ASSERT_EQ(put(k, u"Zeta", ValueType::DWord, dword(1)), Status::Success);  // new: goes last
  EXPECT_EQ(valueNames(k), (Names{u"Alpha", u"mid", u"Zeta"}));

  // The orders survive the hive file.
  resetForTesting();
  Key reread = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"order", kAllAccess, &reread), Status::Success);
  EXPECT_EQ(subKeys(reread), (Names{u"_x", u"a", u"A_", u"b", u"B1", u"C"}));
  EXPECT_EQ(valueNames(reread), (Names{u"Alpha", u"mid", u"Zeta"}));
}

TEST_F(RegistryTest, AccessRightsAreEnforcedPerHandle) {
  const Key full = create(kCurrentUser, u"Rights");
  ASSERT_EQ(put(full, u"v", ValueType::DWord, dword(5)), Status::Success);
  create(full, u"Child");

  Key reader = kNoKey, writer = kNoKey, query = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"Rights", kRead, &reader), Status::Success);
  ASSERT_EQ(openKey(kCurrentUser, u"Rights", kSetValue, &writer), Status::Success);
  ASSERT_EQ(openKey(kCurrentUser, u"Rights", kQueryValue, &query), Status::Success);

  EXPECT_EQ(get(reader, u"v"), dword(5));
  EXPECT_EQ(put(reader, u"v", ValueType::DWord, dword(6)), Status::AccessDenied);
  EXPECT_EQ(deleteValue(reader, u"v"), Status::AccessDenied);
  Key sub = kNoKey;
  EXPECT_EQ(createKey(reader, u"New", false, kAllAccess, &sub), Status::AccessDenied);
  EXPECT_EQ(sub, kNoKey);
  // Opening an existing key through createKey needs no right to create.
  EXPECT_EQ(createKey(reader, u"Child", false, kRead, &sub), Status::Success);

  std::uint32_t size = 4;
  std::uint32_t data = 0;
  EXPECT_EQ(queryValue(writer, u"v", nullptr, &data, &size), Status::AccessDenied);
  EXPECT_EQ(put(writer, u"v", ValueType::DWord, dword(6)), Status::Success);
  KeyInfo info;
  EXPECT_EQ(queryInfo(writer, &info), Status::AccessDenied);
  std::u16string name;
  EXPECT_EQ(enumValue(writer, 0, &name, nullptr), Status::AccessDenied);

  EXPECT_EQ(enumKey(query, 0, &name), Status::AccessDenied);
  EXPECT_EQ(get(query, u"v"), dword(6));
  EXPECT_EQ(enumKey(reader, 0, &name), Status::Success);
  EXPECT_EQ(name, u"Child");

  // Bits beyond the known rights grant nothing more.
  Key odd = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"Rights", 0xFFFF0000u, &odd), Status::Success);
  EXPECT_EQ(queryInfo(odd, &info), Status::AccessDenied);
}

TEST_F(RegistryTest, VolatileKeysLiveInMemoryOnly) {
  const Key stored = create(kCurrentUser, u"Session");
  const Key vol = create(stored, u"Now\\Deeper", true);
  ASSERT_EQ(put(vol, u"Secret", ValueType::String, sz(u"temporary")), Status::Success);
  ASSERT_EQ(put(stored, u"Kept", ValueType::DWord, dword(3)), Status::Success);
  EXPECT_EQ(get(vol, u"Secret"), sz(u"temporary"));

  // A stored key cannot go below a volatile one; a volatile one can.
  Key child = kNoKey;
  EXPECT_EQ(createKey(vol, u"Stored", false, kAllAccess, &child), Status::ChildMustBeVolatile);
  EXPECT_EQ(createKey(kCurrentUser, u"Session\\Now\\X", false, kAllAccess, &child),
            Status::ChildMustBeVolatile);
  EXPECT_EQ(createKey(vol, u"AlsoVolatile", true, kAllAccess, &child), Status::Success);
  // Creating an existing volatile key as non-volatile just opens it.
  EXPECT_EQ(createKey(kCurrentUser, u"Session\\Now", false, kAllAccess, &child), Status::Success);

  const std::string text = hiveText("HKEY_CURRENT_USER");
  EXPECT_NE(text.find("Kept"), std::string::npos);
  EXPECT_EQ(text.find("Now"), std::string::npos);
  EXPECT_EQ(text.find("Secret"), std::string::npos);

  // Another process (a fresh start) does not see them.
  resetForTesting();
  Key reopened = kNoKey;
  EXPECT_EQ(openKey(kCurrentUser, u"Session\\Now", kRead, &reopened), Status::FileNotFound);
  ASSERT_EQ(openKey(kCurrentUser, u"Session", kRead, &reopened), Status::Success);
  EXPECT_EQ(get(reopened, u"Kept"), dword(3));
}

TEST_F(RegistryTest, DeleteRules) {
  const Key parent = create(kCurrentUser, u"Del\\Parent");
  const Key leaf = create(parent, u"Leaf");
  ASSERT_EQ(put(leaf, u"v", ValueType::DWord, dword(1)), Status::Success);

  EXPECT_EQ(deleteKey(kCurrentUser, u"Del\\Parent"), Status::KeyHasChildren);
  EXPECT_EQ(deleteKey(kCurrentUser, u"Del\\Missing"), Status::FileNotFound);
  EXPECT_EQ(deleteKey(kCurrentUser, u"Nowhere\\Missing"), Status::FileNotFound);
  for (const Key root : {kClassesRoot, kCurrentUser, kLocalMachine, kUsers}) {
    EXPECT_EQ(deleteKey(root, u""), Status::AccessDenied);
  }
  EXPECT_EQ(deleteKey(parent, u""), Status::InvalidParameter);

  // The parent's handle has no part in it: a read-only handle can delete below it.
  Key readOnly = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"Del\\Parent", kRead, &readOnly), Status::Success);
  ASSERT_EQ(deleteKey(readOnly, u"leaf"), Status::Success);

  std::u16string name;
  KeyInfo info;
  Key sub = kNoKey;
  EXPECT_EQ(queryInfo(leaf, &info), Status::KeyDeleted);
  EXPECT_EQ(queryValue(leaf, u"v", nullptr, nullptr, nullptr), Status::KeyDeleted);
  EXPECT_EQ(put(leaf, u"v", ValueType::DWord, dword(2)), Status::KeyDeleted);
  EXPECT_EQ(enumKey(leaf, 0, &name), Status::KeyDeleted);
  EXPECT_EQ(createKey(leaf, u"Sub", false, kAllAccess, &sub), Status::KeyDeleted);
  EXPECT_EQ(openKey(leaf, u"", kRead, &sub), Status::KeyDeleted);
  EXPECT_EQ(closeKey(leaf), Status::Success);

  // A key of the same name made afterwards is a new key: the old handle stays deleted.
  const Key reborn = create(parent, u"Leaf");
  EXPECT_EQ(queryValue(reborn, u"v", nullptr, nullptr, nullptr), Status::FileNotFound);
  EXPECT_EQ(deleteKey(kCurrentUser, u"Del\\Parent\\Leaf"), Status::Success);
  EXPECT_EQ(deleteKey(kCurrentUser, u"Del\\Parent"), Status::Success);
  EXPECT_EQ(queryInfo(parent, &info), Status::KeyDeleted);

  resetForTesting();
  Key del = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"Del", kRead, &del), Status::Success);
  EXPECT_EQ(subKeys(del), Names{});
}

TEST_F(RegistryTest, EveryTypeAndAnyNameRoundTripsThroughTheHiveFile) {
  std::string allBytes;
  for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
  const std::u16string oddName = u"a=b [x] \"q\" \\ \n\r\t\u00e9\u4e2d\U0001F600 \xD800 tail \xDC00 \u007f# ";
  const std::u16string oddKey = u"[Section] = \"value\"\n\u00c9t\u00e9 \U0001F600\xDBFF";

  struct Case {
    std::u16string name;
    ValueType type;
    std::string data;
  };
  const std::vector<Case> cases = {
      {u"", ValueType::String, sz(u"default value")},
      {u"text", ValueType::String, sz(oddName)},
      {u"expand", ValueType::ExpandString, sz(u"%HOME%/x")},
      {u"multi", ValueType::MultiString, sz(std::u16string(u"one\0two\0", 8))},
      {u"emptyString", ValueType::String, sz(u"")},
      {u"unterminated", ValueType::String, std::string("ab", 2)},
      {u"oddSize", ValueType::String, std::string("abc", 3)},
      {u"binary", ValueType::Binary, allBytes},
      {u"emptyBinary", ValueType::Binary, ""},
      {u"dword", ValueType::DWord, dword(0xFEDCBA98u)},
      {u"dwordBig", ValueType::DWordBigEndian, std::string("\x01\x02\x03\x04", 4)},
      {u"shortDword", ValueType::DWord, std::string("\x01\x02", 2)},
      {u"none", ValueType::None, std::string("\0\x01", 2)},
      {u"link", ValueType::Link, std::string("l\0i\0", 4)},
      {u"resources", ValueType::ResourceList, allBytes.substr(250)},
      {oddName, ValueType::Binary, "odd name"},
  };
  const Key key = create(kCurrentUser, u"Types\\" + oddKey);
  for (const Case& c : cases) ASSERT_EQ(put(key, c.name, c.type, c.data), Status::Success);

  // A second view: drop everything this process holds and read the file again.
  resetForTesting();
  Key reread = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"types", kRead, &reread), Status::Success);
  EXPECT_EQ(subKeys(reread), Names{oddKey});
  ASSERT_EQ(openKey(reread, oddKey, kRead, &reread), Status::Success);
  std::vector<std::u16string> expectedNames;
  for (const Case& c : cases) {
    ValueType type = ValueType::None;
    EXPECT_EQ(get(reread, c.name, &type), c.data) << plat::toUtf8(c.name);
    EXPECT_EQ(type, c.type) << plat::toUtf8(c.name);
    expectedNames.push_back(c.name);
  }
  EXPECT_EQ(valueNames(reread), expectedNames);
  // The file is text: readable strings stay readable.
  EXPECT_NE(hiveText("HKEY_CURRENT_USER").find("value \"expand\" expand-sz \"%HOME%/x\""),
            std::string::npos);
}

TEST_F(RegistryTest, QueryValueBufferProtocol) {
  const Key key = create(kCurrentUser, u"Query");
  const std::string data = sz(u"hello");  // 12 bytes
  ASSERT_EQ(put(key, u"s", ValueType::String, data), Status::Success);

  ValueType type = ValueType::None;
  std::uint32_t size = 0;
  EXPECT_EQ(queryValue(key, u"s", &type, nullptr, &size), Status::Success);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(type, ValueType::String);
  EXPECT_EQ(queryValue(key, u"s", &type, nullptr, nullptr), Status::Success);  // type only

  char buffer[16] = {};
  size = 11;
  EXPECT_EQ(queryValue(key, u"s", nullptr, buffer, &size), Status::MoreData);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(buffer[0], 0);  // nothing copied
  size = sizeof buffer;
  EXPECT_EQ(queryValue(key, u"s", nullptr, buffer, &size), Status::Success);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(std::string(buffer, 12), data);
  EXPECT_EQ(queryValue(key, u"s", nullptr, buffer, nullptr), Status::InvalidParameter);
  EXPECT_EQ(queryValue(key, u"missing", nullptr, nullptr, &size), Status::FileNotFound);
}

TEST_F(RegistryTest, RefusesBadArguments) {
  Key k = kNoKey;
  for (const char16_t* bad : {u"\\Lead", u"Trail\\", u"Dou\\\\ble", u"\\"}) {
    EXPECT_EQ(createKey(kCurrentUser, bad, false, kAllAccess, &k), Status::InvalidParameter);
    EXPECT_EQ(openKey(kCurrentUser, bad, kRead, &k), Status::InvalidParameter);
    EXPECT_EQ(deleteKey(kCurrentUser, bad), Status::InvalidParameter);
  }
  const std::u16string longest(255, u'n');
  EXPECT_EQ(createKey(kCurrentUser, longest, false, kAllAccess, &k), Status::Success);
  EXPECT_EQ(createKey(kCurrentUser, longest + u"n", false, kAllAccess, &k), Status::InvalidParameter);
  EXPECT_EQ(createKey(kCurrentUser, u"x", false, kAllAccess, nullptr), Status::InvalidParameter);

  const Key key = create(kCurrentUser, u"Args");
  const char byte = 1;
  // An absurd size is refused before the data is touched.
  EXPECT_EQ(setValue(key, u"big", ValueType::Binary, &byte, 0x7FFFFFFFu), Status::InvalidParameter);
  EXPECT_EQ(setValue(key, u"null", ValueType::Binary, nullptr, 4), Status::InvalidParameter);
  EXPECT_EQ(setValue(key, u"type", static_cast<ValueType>(11), &byte, 1), Status::InvalidParameter);
  EXPECT_EQ(setValue(key, std::u16string(16384, u'v'), ValueType::Binary, &byte, 1),
            Status::InvalidParameter);
  EXPECT_EQ(setValue(key, u"empty", ValueType::Binary, nullptr, 0), Status::Success);
  EXPECT_EQ(queryInfo(key, nullptr), Status::InvalidParameter);
  EXPECT_EQ(enumKey(key, 0, nullptr), Status::InvalidParameter);
  EXPECT_EQ(enumValue(key, 0, nullptr, nullptr), Status::InvalidParameter);

  // Unknown and closed handles.
  KeyInfo info;
  EXPECT_EQ(queryInfo(kNoKey, &info), Status::InvalidHandle);
  EXPECT_EQ(queryInfo(12345, &info), Status::InvalidHandle);
  EXPECT_EQ(closeKey(key), Status::Success);
  EXPECT_EQ(closeKey(key), Status::InvalidHandle);
  EXPECT_EQ(put(key, u"x", ValueType::DWord, dword(1)), Status::InvalidHandle);
  EXPECT_EQ(closeKey(kCurrentUser), Status::Success);  // roots need no closing
  EXPECT_EQ(queryInfo(kCurrentUser, &info), Status::Success);
}

TEST_F(RegistryTest, EnumerationAndInfoPastTheEnd) {
  const Key key = create(kCurrentUser, u"Info");
  create(key, u"abc");
  create(key, u"abcdefg");
  ASSERT_EQ(put(key, u"v", ValueType::Binary, std::string(300, 'x')), Status::Success);
  ASSERT_EQ(put(key, u"longer name", ValueType::DWord, dword(1)), Status::Success);
  KeyInfo info;
  ASSERT_EQ(queryInfo(key, &info), Status::Success);
  EXPECT_EQ(info.subKeyCount, 2u);
  EXPECT_EQ(info.maxSubKeyNameLength, 7u);
  EXPECT_EQ(info.valueCount, 2u);
  EXPECT_EQ(info.maxValueNameLength, 11u);
  EXPECT_EQ(info.maxValueDataLength, 300u);

  std::u16string name;
  ValueType type;
  std::uint32_t size = 0;
  EXPECT_EQ(enumKey(key, 2, &name), Status::NoMoreItems);
  EXPECT_EQ(enumValue(key, 2, &name, &type), Status::NoMoreItems);
  ASSERT_EQ(enumValue(key, 0, &name, &type, &size), Status::Success);
  EXPECT_EQ(name, u"v");
  EXPECT_EQ(type, ValueType::Binary);
  EXPECT_EQ(size, 300u);
}

TEST_F(RegistryTest, ClassesRootIsLocalMachineSoftwareClasses) {
  // Before the key exists the classes root reads as empty.
  KeyInfo info;
  EXPECT_EQ(queryInfo(kClassesRoot, &info), Status::Success);
  EXPECT_EQ(info.subKeyCount, 0u);
  std::u16string name;
  EXPECT_EQ(enumKey(kClassesRoot, 0, &name), Status::NoMoreItems);

  const Key clsid = create(kClassesRoot, u"CLSID\\{1234}\\InprocServer32");
  ASSERT_EQ(put(clsid, u"", ValueType::String, sz(u"libnelvar.so")), Status::Success);
  Key viaMachine = kNoKey;
  ASSERT_EQ(openKey(kLocalMachine, u"Software\\Classes\\CLSID\\{1234}\\InprocServer32", kRead,
                    &viaMachine),
            Status::Success);
  EXPECT_EQ(get(viaMachine, u""), sz(u"libnelvar.so"));
  EXPECT_EQ(enumKey(kClassesRoot, 0, &name), Status::Success);
  EXPECT_EQ(name, u"CLSID");
  EXPECT_EQ(hiveText("HKEY_CURRENT_USER"), "");  // nothing went to another hive

  // A value on the classes root itself lands on Software\Classes.
  ASSERT_EQ(put(kClassesRoot, u"Top", ValueType::DWord, dword(9)), Status::Success);
  Key classes = kNoKey;
  ASSERT_EQ(openKey(kLocalMachine, u"SOFTWARE\\CLASSES", kRead, &classes), Status::Success);
  EXPECT_EQ(get(classes, u"top"), dword(9));
  EXPECT_EQ(deleteKey(kClassesRoot, u"CLSID\\{1234}\\InprocServer32"), Status::Success);
  EXPECT_EQ(queryInfo(viaMachine, &info), Status::KeyDeleted);
}

TEST_F(RegistryTest, ReadsTheDocumentedHandWrittenFormat) {
  ASSERT_TRUE(plat::makeDirectories(dir_));
  ASSERT_TRUE(plat::writeFileAtomic(hivePath("HKEY_USERS"),
                                    "kedrus-registry-hive 1\r\n"
                                    "# written by hand\n"
                                    "value \"\" sz \"root\"\n"
                                    "\n"
                                    "key \"Zed\"\n"
                                    "key \"Alpha\"\n"
                                    "value \"n\" dword 305419896\n"
                                    "value \"be\" dword-be 305419896\n"
                                    "value \"h\" binary hex:DEadBEef\n"
                                    "value \"esc\" multi-sz \"a\\u0000\\\"b\\\\\\u00e9\"\n"
                                    "key \"Alpha\"  \"Inner \u00e9\"\n"
                                    "value \"x\" none hex:"));  // last line without line end
  std::u16string name;
  EXPECT_EQ(enumKey(kUsers, 0, &name), Status::Success);
  EXPECT_EQ(name, u"Alpha");
  EXPECT_EQ(get(kUsers, u""), sz(u"root"));
  Key alpha = kNoKey, inner = kNoKey;
  ASSERT_EQ(openKey(kUsers, u"alpha", kRead, &alpha), Status::Success);
  EXPECT_EQ(get(alpha, u"n"), std::string("\x78\x56\x34\x12", 4));
  EXPECT_EQ(get(alpha, u"be"), std::string("\x12\x34\x56\x78", 4));
  EXPECT_EQ(get(alpha, u"h"), std::string("\xde\xad\xbe\xef", 4));
  EXPECT_EQ(get(alpha, u"esc"), sz(std::u16string(u"a\0\"b\\\u00e9", 6)));
  ASSERT_EQ(openKey(kUsers, u"Alpha\\INNER \u00c9", kRead, &inner), Status::Success);
  ValueType type = ValueType::Binary;
  EXPECT_EQ(get(inner, u"x", &type), "");
  EXPECT_EQ(type, ValueType::None);
}

TEST_F(RegistryTest, WritesTheDocumentedFormat) {
  const Key b = create(kLocalMachine, u"b\\Inner");
  const Key a = create(kLocalMachine, u"A");
  ASSERT_EQ(put(kLocalMachine, u"", ValueType::String, sz(u"root")), Status::Success);
  ASSERT_EQ(put(b, u"tab\tquote\"", ValueType::MultiString, sz(std::u16string(u"x\0y", 3))),
            Status::Success);
  ASSERT_EQ(put(a, u"n", ValueType::DWord, dword(258)), Status::Success);
  ASSERT_EQ(put(a, u"bin", ValueType::Binary, std::string("\x00\xff", 2)), Status::Success);
  EXPECT_EQ(hiveText("HKEY_LOCAL_MACHINE"),
            "kedrus-registry-hive 1\n"
            "value \"\" sz \"root\"\n"
            "key \"A\"\n"
            "value \"n\" dword 258\n"
            "value \"bin\" binary hex:00ff\n"
            "key \"b\"\n"
            "key \"b\" \"Inner\"\n"
            "value \"tab\\tquote\\\"\" multi-sz \"x\\u0000y\"\n");
}

TEST_F(RegistryTest, CorruptHiveGivesReadFaultAndIsNeverOverwritten) {
  const char* corrupt[] = {
      "not a hive\n",
      "kedrus-registry-hive 2\n",
      "kedrus-registry-hive 1\nkey \"A\nvalue \"x\" dword 1\n",      // unterminated quote
      "kedrus-registry-hive 1\nkey \"A\" \"B\"\n",                    // parent missing
      "kedrus-registry-hive 1\nkey \"A\"\nkey \"a\"\n",                 // key twice
      "kedrus-registry-hive 1\nvalue \"x\" dword 1\nvalue \"X\" dword 2\n",  // value twice
      "kedrus-registry-hive 1\nvalue \"x\" dword 4294967296\n",       // out of range
      "kedrus-registry-hive 1\nvalue \"x\" binary 12\n",             // number for binary
      "kedrus-registry-hive 1\nvalue \"x\" binary hex:abc\n",        // odd digits
      "kedrus-registry-hive 1\nvalue \"x\" binary hex:zz\n",
      "kedrus-registry-hive 1\nvalue \"x\" qword 1\n",
      "kedrus-registry-hive 1\nvalue \"x\" dword 1 trailing\n",
      "kedrus-registry-hive 1\nvalue \"x\" sz \"bad \\q escape\"\n",
      "kedrus-registry-hive 1\nvalue \"x\" sz \"short \\u12\"\n",
      "kedrus-registry-hive 1\nvalue \"bad utf-8 \xff\" dword 1\n",
      "kedrus-registry-hive 1\nvalue \"overlong \xc0\xaf\" dword 1\n",
      "kedrus-registry-hive 1\nvalue \"truncated \xe4\xb8\" dword 1\n",
      "kedrus-registry-hive 1\nkey \"a\\\\b\"\n",                    // backslash in a key name
      "kedrus-registry-hive 1\nkey \"\"\n",
      "kedrus-registry-hive 1\nkey\n",
      "kedrus-registry-hive 1\nsomething else\n",
      "kedrus-registry-hive 1\nvalue \"x\" dword\n",
      "kedrus-registry-hive 1\nvalue \"x\" sz \"a\"\"b\"\n",
  };
  ASSERT_TRUE(plat::makeDirectories(dir_));
  for (const char* text : corrupt) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(plat::writeFileAtomic(hivePath("HKEY_CURRENT_USER"), text));
    resetForTesting();
    Key k = kNoKey;
    KeyInfo info;
    EXPECT_EQ(openKey(kCurrentUser, u"A", kRead, &k), Status::ReadFault);
    EXPECT_EQ(queryInfo(kCurrentUser, &info), Status::ReadFault);
    EXPECT_EQ(createKey(kCurrentUser, u"New", false, kAllAccess, &k), Status::ReadFault);
    EXPECT_EQ(put(kCurrentUser, u"v", ValueType::DWord, dword(1)), Status::ReadFault);
    EXPECT_EQ(hiveText("HKEY_CURRENT_USER"), text);  // left for the user to repair
    // Other hives are not affected.
    EXPECT_EQ(queryInfo(kLocalMachine, &info), Status::Success);
  }

  // A key nested deeper than any key can be also counts as corrupt.
  std::string deep = "kedrus-registry-hive 1\n";
  std::string path = "key";
  for (int level = 0; level < 513; ++level) {
    path += " \"k\"";
    deep += path + "\n";
  }
  ASSERT_TRUE(plat::writeFileAtomic(hivePath("HKEY_CURRENT_USER"), deep));
  KeyInfo info;
  EXPECT_EQ(queryInfo(kCurrentUser, &info), Status::ReadFault);

  // Once repaired, the hive reads again, and handles opened before stay usable.
  ASSERT_TRUE(plat::writeFileAtomic(hivePath("HKEY_CURRENT_USER"),
                                    "kedrus-registry-hive 1\nkey \"A\"\nvalue \"v\" dword 7\n"));
  Key a = kNoKey;
  ASSERT_EQ(openKey(kCurrentUser, u"A", kRead, &a), Status::Success);
  EXPECT_EQ(get(a, u"v"), dword(7));
  ASSERT_TRUE(plat::writeFileAtomic(hivePath("HKEY_CURRENT_USER"), "garbage"));
  EXPECT_EQ(queryValue(a, u"v", nullptr, nullptr, nullptr), Status::ReadFault);
  ASSERT_TRUE(plat::writeFileAtomic(hivePath("HKEY_CURRENT_USER"),
                                    "kedrus-registry-hive 1\nkey \"A\"\nvalue \"v\" dword 8\n"));
  EXPECT_EQ(get(a, u"v"), dword(8));
}

TEST_F(RegistryTest, AChangeThatCannotBeWrittenFailsAndIsNotKept) {
  // The registry folder cannot be made: a file stands in its way.
  const std::string blocked = plat::joinPath(dir_, "blocked");
  ASSERT_TRUE(plat::makeDirectories(dir_));
  ASSERT_TRUE(plat::writeFileAtomic(blocked, "file"));
  ::setenv("KEDRUS_REGISTRY_DIR", plat::joinPath(blocked, "registry").c_str(), 1);
  resetForTesting();

  Key k = kNoKey;
  EXPECT_EQ(createKey(kCurrentUser, u"New", false, kAllAccess, &k), Status::WriteFault);
  EXPECT_EQ(k, kNoKey);
  EXPECT_EQ(openKey(kCurrentUser, u"New", kRead, &k), Status::FileNotFound);
  EXPECT_EQ(put(kCurrentUser, u"v", ValueType::DWord, dword(1)), Status::WriteFault);
  EXPECT_EQ(queryValue(kCurrentUser, u"v", nullptr, nullptr, nullptr), Status::FileNotFound);
}

TEST_F(RegistryTest, RegistryDirectoryFollowsTheEnvironment) {
  EXPECT_EQ(registryDirectory(), dir_);
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string savedConfig = saved ? saved : "";
  ::unsetenv("KEDRUS_REGISTRY_DIR");
  ::setenv("XDG_CONFIG_HOME", "/some/config", 1);
  EXPECT_EQ(registryDirectory(), "/some/config/kedrus/registry");
  if (saved) ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
  else ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("KEDRUS_REGISTRY_DIR", dir_.c_str(), 1);
}

}  // namespace
}  // namespace regtest

namespace regtest {

TEST_F(RegistryTest, SettingAValueToWhatItHoldsDoesNotRewriteTheHive) {
  const Key k = create(kCurrentUser, u"Layout");
  ASSERT_EQ(put(k, u"n", ValueType::DWord, dword(7)), Status::Success);
  const plat::FileStamp written = plat::fileStamp(hivePath("HKEY_CURRENT_USER"));
  ASSERT_EQ(put(k, u"N", ValueType::DWord, dword(7)), Status::Success);
  EXPECT_EQ(plat::fileStamp(hivePath("HKEY_CURRENT_USER")), written);
  // The same bytes of another type, and another value, are changes.
  ASSERT_EQ(put(k, u"n", ValueType::Binary, dword(7)), Status::Success);
  const plat::FileStamp retyped = plat::fileStamp(hivePath("HKEY_CURRENT_USER"));
  EXPECT_NE(retyped, written);
  ASSERT_EQ(put(k, u"n", ValueType::Binary, dword(8)), Status::Success);
  EXPECT_NE(plat::fileStamp(hivePath("HKEY_CURRENT_USER")), retyped);
  // What another process wrote meanwhile is what the value is compared with.
  ASSERT_TRUE(plat::writeFileAtomic(hivePath("HKEY_CURRENT_USER"),
                                    "kedrus-registry-hive 1\nkey \"Layout\"\nvalue \"n\" binary hex:09000000\n"));
  ASSERT_EQ(put(k, u"n", ValueType::Binary, dword(8)), Status::Success);
  EXPECT_NE(hiveText("HKEY_CURRENT_USER").find("hex:08000000"), std::string::npos);
}

}  // namespace regtest
