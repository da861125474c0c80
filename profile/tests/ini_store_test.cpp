// The INI store through its COrvComDesc interface: text format, encodings, line ends, cache.
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <set>

#include "ini_testutil.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "profile/comdesc.h"
#include "profile/filecache.h"

using dorlin::Bytes;
using dorlin::COrvComDesc;
using dorlin::COrvFileDispatcher;
using dorlin::CProfLocation;
using initest::readBytes;
using initest::writeBytes;

namespace {

class IniStore : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = initest::scratchDir();
    dorlin::setIniCacheMode(1);
    dorlin::setIniTypeControl(0);
  }
  void TearDown() override {
    EXPECT_EQ(0, COrvFileDispatcher::GetLiveStoreCount());
    EXPECT_EQ(0, dorlin::setIniCacheMode(0));
    dorlin::setIniCacheMode(1);
    dorlin::setIniTypeControl(0);
  }

  std::string file(const char* name) const { return dir + "/" + name; }
  static CProfLocation loc(const std::string& path, const std::u16string& section) {
    CProfLocation l;
    l.root = initest::u16(path);
    l.path = section;
    return l;
  }
  static std::unique_ptr<COrvComDesc> store() { return std::unique_ptr<COrvComDesc>(dorlin::newIniStore()); }
  // A store with the section open in mode.
  static std::unique_ptr<COrvComDesc> opened(const std::string& path, const std::u16string& section,
                                             int mode = PROF_MODE_ALL) {
    auto s = store();
    EXPECT_TRUE(s->Open(loc(path, section), mode)) << dorlin::lastError();
    return s;
  }
  static std::unique_ptr<COrvComDesc> created(const std::string& path, const std::u16string& section) {
    auto s = store();
    EXPECT_TRUE(s->Create(loc(path, section), PROF_MODE_ALL, 0)) << dorlin::lastError();
    return s;
  }

  std::string dir;
};

std::u16string str(COrvComDesc& s, const char16_t* name) {
  std::u16string text;
  EXPECT_TRUE(s.GetString(name, &text)) << dorlin::lastError();
  return text;
}

int integer(COrvComDesc& s, const char16_t* name) {
  int v = -12345;
  EXPECT_TRUE(s.GetInt(name, &v)) << dorlin::lastError();
  return v;
}

std::string utf16le(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

TEST_F(IniStore, CreateAppendsMissingLevelsToAnEmptyFile) {
  const std::string f = file("p.ini");
  {
    auto s = created(f, u"\\a\\b\\c");
    const int five = 5;
    EXPECT_TRUE(s->SetInt(u"x", &five));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ("[a]\r\n[a\\b]\r\n[a\\b\\c]\r\nx=5\r\n", readBytes(f));
}

TEST_F(IniStore, CreatePlacesNewLevelsAfterTheParentsOwnLines) {
  const std::string f = file("p.ini");
  writeBytes(f, "[a]\r\nv=1\r\n; note\r\n[z]\r\nw=2\r\n");
  created(f, u"\\a\\b\\c")->Close();
  EXPECT_EQ("[a]\r\nv=1\r\n; note\r\n[a\\b]\r\n[a\\b\\c]\r\n[z]\r\nw=2\r\n", readBytes(f));
  // A second create finds the section and adds nothing.
  created(f, u"\\A\\B\\C")->Close();
  EXPECT_EQ("[a]\r\nv=1\r\n; note\r\n[a\\b]\r\n[a\\b\\c]\r\n[z]\r\nw=2\r\n", readBytes(f));
  int count = -1;
  auto a = opened(f, u"\\a", PROF_MODE_OPEN);
  EXPECT_TRUE(a->GetSectionCount(&count));
  EXPECT_EQ(1, count);
}

TEST_F(IniStore, TypedValuesWithTypeControl) {
  const std::string f = file("typed.ini");
  dorlin::setIniTypeControl(1);
  {
    auto s = created(f, u"\\s");
    const std::uint32_t dw = 255;
    const int neg = -5;
    const Bytes data{1, 171}, empty;
    const std::u16string name = u"abc def";
    EXPECT_TRUE(s->SetDWord(u"Count", &dw));
    EXPECT_TRUE(s->SetBinary(u"Data", &data));
    EXPECT_TRUE(s->SetString(u"Name", &name));
    EXPECT_TRUE(s->SetInt(u"Neg", &neg));
    EXPECT_TRUE(s->SetBinary(u"Empty", &empty));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ(
      "[s]\r\nCount = REG_DWORD 0xFF\r\nData = REG_BINARY 01 AB \r\nName = REG_SZ abc def\r\n"
      "Neg = REG_DWORD -5\r\nEmpty = REG_BINARY \r\n",
      readBytes(f));

  auto s = opened(f, u"\\s", PROF_ACCESS_READ);
  int type = -1;
  EXPECT_TRUE(s->GetValueType(u"Count", &type));
  EXPECT_EQ(PROF_TYPE_DWORD, type);
  EXPECT_EQ(255, integer(*s, u"count"));
  EXPECT_EQ(-5, integer(*s, u"Neg"));
  EXPECT_EQ(u"abc def", str(*s, u"Name"));
  // A typed value with an empty text keeps its type.
  EXPECT_TRUE(s->GetValueType(u"Empty", &type));
  EXPECT_EQ(PROF_TYPE_BINARY, type);
  Bytes bytes{9};
  EXPECT_TRUE(s->GetBinary(u"Empty", &bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(s->GetBinary(u"Data", &bytes));
  EXPECT_EQ((Bytes{1, 171}), bytes);
  std::u16string text;
  EXPECT_FALSE(s->GetString(u"Count", &text));
  EXPECT_EQ(PROF_WRONG_TYPE, dorlin::lastError());
  EXPECT_FALSE(s->GetInt(u"Name", &type));
  EXPECT_EQ(PROF_WRONG_TYPE, dorlin::lastError());
}

TEST_F(IniStore, UntypedValuesWithoutTypeControl) {
  const std::string f = file("plain.ini");
  {
    auto s = created(f, u"\\s");
    const std::uint32_t dw = 0xABCDEF01u;
    const Bytes data{1, 171};
    EXPECT_TRUE(s->SetDWord(u"Count", &dw));
    EXPECT_TRUE(s->SetBinary(u"Data", &data));
    const int zero = 0;
    EXPECT_TRUE(s->SetInt(u"Zero", &zero));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ("[s]\r\nCount=0xABCDEF01\r\nData=01 AB \r\nZero=0\r\n", readBytes(f));
  auto s = opened(f, u"\\s", PROF_ACCESS_READ);
  int type = -1;
  EXPECT_TRUE(s->GetValueType(u"Data", &type));
  EXPECT_EQ(PROF_TYPE_NONE, type);
  std::uint32_t dw = 0;
  EXPECT_TRUE(s->GetDWord(u"Count", &dw));
  EXPECT_EQ(0xABCDEF01u, dw);
  Bytes bytes;
  EXPECT_TRUE(s->GetBinary(u"Data", &bytes));
  EXPECT_EQ((Bytes{1, 171}), bytes);
}

TEST_F(IniStore, ReadsValueTextsAndNumbers) {
  const std::string f = file("read.ini");
  writeBytes(f,
             "[a]\r\nx = REG_DWORD 0x10\r\ny=12\r\noct=010\r\nc1=abc ; note\r\nc2=abc;note\r\n"
             "  spaced  =   v w  \r\nsigned=  +42abc\r\nnone=abc\r\nhex0=0x\r\nbig=99999999999\r\n"
             "small=-99999999999\r\nminus1=-1\r\nbin=0x1F\r\nlower = reg_sz x\r\nsz = REG_SZ  two  words \r\n");
  auto s = opened(f, u"\\a", PROF_ACCESS_READ);
  int type = -1;
  EXPECT_EQ(16, integer(*s, u"x"));
  EXPECT_TRUE(s->GetValueType(u"x", &type));
  EXPECT_EQ(PROF_TYPE_DWORD, type);
  EXPECT_EQ(12, integer(*s, u"Y"));
  EXPECT_TRUE(s->GetValueType(u"y", &type));
  EXPECT_EQ(PROF_TYPE_NONE, type);
  EXPECT_EQ(8, integer(*s, u"oct"));
  EXPECT_EQ(u"abc", str(*s, u"c1"));
  EXPECT_EQ(u"abc;note", str(*s, u"c2"));
  EXPECT_EQ(u"v w", str(*s, u"spaced"));
  EXPECT_EQ(42, integer(*s, u"signed"));
  EXPECT_EQ(0, integer(*s, u"none"));
  EXPECT_EQ(0, integer(*s, u"hex0"));
  EXPECT_EQ(2147483647, integer(*s, u"big"));
  EXPECT_EQ(-2147483647 - 1, integer(*s, u"small"));
  std::uint32_t dw = 0;
  EXPECT_TRUE(s->GetDWord(u"minus1", &dw));
  EXPECT_EQ(0xFFFFFFFFu, dw);
  Bytes bytes;
  EXPECT_TRUE(s->GetBinary(u"bin", &bytes));
  EXPECT_EQ((Bytes{31}), bytes);
  // Type words compare with regard to case.
  EXPECT_EQ(u"reg_sz x", str(*s, u"lower"));
  EXPECT_EQ(u"two  words", str(*s, u"sz"));
  std::u16string text;
  EXPECT_FALSE(s->GetString(u"x", &text));
  EXPECT_EQ(PROF_WRONG_TYPE, dorlin::lastError());
  EXPECT_FALSE(s->GetString(u"missing", &text));
  EXPECT_EQ(PROF_NO_VALUE, dorlin::lastError());
}

// Every text SetString takes reads back as given, untyped and typed; only the texts that would
// not read back otherwise are written in double quotes, and quoted values written elsewhere
// read as they always did.
TEST_F(IniStore, EveryStringReadsBackAsWritten) {
  struct Case {
    std::u16string text;
    const char* stored;  // what follows "=" (untyped) or the type word and its space (typed)
  };
  const Case cases[] = {
      {u"ethyl acetate; CDCl3", "\"ethyl acetate; CDCl3\""},
      {u"  lead", "\"  lead\""},
      {u"trail\t", "\"trail\t\""},
      {u"REG_DWORD 5", "\"REG_DWORD 5\""},
      {u"\" a\"", "\"\" a\"\""},          // would read as the text inside its quotes
      {u"\"\"; \"\"", "\"\"\"; \"\"\""},
      {u"\"plain\"", "\"plain\""},          // reads back as it is: not quoted again
      {u"a;b", "a;b"},
      {u"\"", "\""},
      {u"reg_sz x", "reg_sz x"},
      {u"", ""},
  };
  for (const int typed : {0, 1}) {
    dorlin::setIniTypeControl(typed);
    const std::string f = file(typed ? "typed.ini" : "untyped.ini");
    std::string expected = "[s]\r\n";
    {
      auto s = created(f, u"\\s");
      int n = 0;
      for (const Case& c : cases) {
        const std::u16string name = u"v" + plat::toUtf16(std::to_string(n++));
        EXPECT_TRUE(s->SetString(name, &c.text)) << c.stored;
        expected += plat::toUtf8(name) + (typed ? " = REG_SZ " : "=") + c.stored + "\r\n";
      }
      EXPECT_TRUE(s->Close());
    }
    EXPECT_EQ(expected, readBytes(f));
    auto s = opened(f, u"\\s", PROF_ACCESS_READ);
    int n = 0;
    for (const Case& c : cases) {
      const std::u16string name = u"v" + plat::toUtf16(std::to_string(n++));
      EXPECT_EQ(c.text, str(*s, name.c_str())) << c.stored << " typed=" << typed;
      int type = -1;
      EXPECT_TRUE(s->GetValueType(name, &type));
      EXPECT_EQ(typed ? PROF_TYPE_STRING : PROF_TYPE_NONE, type);
    }
  }

  // Lines written elsewhere: quotes whose inner text reads back unquoted stay part of the value,
  // and a comment after a closing quote is cut as ever.
  const std::string f = file("elsewhere.ini");
  writeBytes(f, "[s]\r\nq=\"quoted\"\r\nc=\" a\" ; note\r\nh=\"half\r\ne=\"\"\r\n");
  auto s = opened(f, u"\\s", PROF_ACCESS_READ);
  EXPECT_EQ(u"\"quoted\"", str(*s, u"q"));
  EXPECT_EQ(u"\" a\"", str(*s, u"c"));
  EXPECT_EQ(u"\"half", str(*s, u"h"));
  EXPECT_EQ(u"\"\"", str(*s, u"e"));
}

TEST_F(IniStore, HeadersMustBeExact) {
  const std::string f = file("h.ini");
  writeBytes(f, "[a] \r\nx=1\r\n [b]\r\n[ c ]\r\ny=2\r\n");
  auto s = store();
  EXPECT_FALSE(s->Open(loc(f, u"\\a"), PROF_MODE_OPEN));
  EXPECT_EQ(PROF_NO_SECTION, dorlin::lastError());
  EXPECT_FALSE(s->Open(loc(f, u"\\b"), PROF_MODE_OPEN));
  auto c = opened(f, u"\\C", PROF_ACCESS_READ);
  EXPECT_EQ(2, integer(*c, u"y"));
  // The lines that are no headers belong to the root section.
  auto root = opened(f, u"", PROF_ACCESS_READ);
  EXPECT_EQ(1, integer(*root, u"x"));
}

TEST_F(IniStore, WritesReplaceInPlaceOrAppendAtTheEndOfTheBlock) {
  const std::string f = file("w.ini");
  writeBytes(f, "[a]\r\nx=1 ; old comment\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
  ASSERT_EQ(0, ::chmod(f.c_str(), 0600));
  {
    auto s = opened(f, u"\\a");
    const std::u16string v1 = u"new", v2 = u"4", v3 = u"5";
    EXPECT_TRUE(s->SetString(u"X", &v1));
    EXPECT_TRUE(s->SetString(u"w", &v2));
    EXPECT_TRUE(s->SetString(u"v", &v3));
    EXPECT_EQ(u"5", str(*s, u"v"));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ("[a]\r\nX=new\r\ny=2\r\n\r\nw=4\r\nv=5\r\n[b]\r\nz=3\r\n", readBytes(f));
  // The rewritten file keeps its permissions.
  EXPECT_EQ(0600u, plat::fileInfo(f).permissions);
}

TEST_F(IniStore, SubsectionsCountOnlyWhileTheyFollowTheirParent) {
  const std::string f = file("sub.ini");
  writeBytes(f, "top=1\r\n[a]\r\n[a\\b]\r\n[a\\b\\deep]\r\n[c]\r\n[d]\r\n[d\\e]\r\n");
  auto root = opened(f, u"", PROF_MODE_OPEN);
  int count = -1;
  EXPECT_TRUE(root->GetSectionCount(&count));
  EXPECT_EQ(3, count);
  std::u16string name;
  const char16_t* expected[] = {u"a", u"c", u"d"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(root->EnumSection(i, &name));
    EXPECT_EQ(expected[i], name);
  }
  EXPECT_FALSE(root->EnumSection(3, &name));
  EXPECT_EQ(PROF_NO_MORE_ITEMS, dorlin::lastError());
  EXPECT_FALSE(root->EnumSection(-1, &name));
  EXPECT_EQ(PROF_NO_MORE_ITEMS, dorlin::lastError());
  auto a = opened(f, u"\\A", PROF_MODE_OPEN);
  EXPECT_TRUE(a->GetSectionCount(&count));
  EXPECT_EQ(1, count);
  EXPECT_TRUE(a->EnumSection(0, &name));
  EXPECT_EQ(u"b", name);
  auto c = opened(f, u"\\c", PROF_MODE_OPEN);
  EXPECT_TRUE(c->GetSectionCount(&count));
  EXPECT_EQ(0, count);

  // A foreign header between a parent and its subsection hides the subsection.
  const std::string g = file("foreign.ini");
  writeBytes(g, "[a]\r\n[c]\r\n[a\\b]\r\n");
  auto ga = opened(g, u"\\a", PROF_MODE_OPEN);
  EXPECT_TRUE(ga->GetSectionCount(&count));
  EXPECT_EQ(0, count);
}

TEST_F(IniStore, EnumeratesValueLinesWithTheirTypes) {
  const std::string f = file("e.ini");
  writeBytes(f, "[s]\r\nplain=1\r\n; comment\r\nt = REG_SZ x\r\njunk line\r\n=novalue\r\nb = REG_BINARY 01\r\n[t]\r\nq=1\r\n");
  auto s = opened(f, u"\\s", PROF_ACCESS_READ);
  int count = -1;
  EXPECT_TRUE(s->GetValueCount(&count));
  EXPECT_EQ(3, count);
  const std::pair<const char16_t*, int> expected[] = {{u"plain", 0}, {u"t", 2}, {u"b", 4}};
  std::u16string name;
  int type = -1;
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(s->EnumValue(i, &name, &type));
    EXPECT_EQ(expected[i].first, name);
    EXPECT_EQ(expected[i].second, type);
  }
  EXPECT_FALSE(s->EnumValue(3, &name, &type));
  EXPECT_EQ(PROF_NO_MORE_ITEMS, dorlin::lastError());
}

TEST_F(IniStore, BinaryAndGeneralReads) {
  const std::string f = file("b.ini");
  {
    auto s = created(f, u"\\s");
    const Bytes data{0, 10, 171, 255};
    EXPECT_TRUE(s->SetBinary(u"bin", &data));
    Bytes back;
    EXPECT_TRUE(s->GetBinary(u"bin", &back));
    EXPECT_EQ(data, back);
    EXPECT_TRUE(s->Close());
  }
  writeBytes(f, readBytes(f) + "text=hi\r\ndw = REG_DWORD 0x01020304\r\nx = REG_EXPAND_SZ %P%\r\nm = REG_MULTI_SZ a\r\n");
  auto s = opened(f, u"\\s", PROF_ACCESS_READ);
  Bytes bytes;
  int type = -1;
  // An untyped value reads as a string with its terminating NUL.
  EXPECT_TRUE(s->GetValue(u"text", &bytes, &type));
  EXPECT_EQ(PROF_TYPE_STRING, type);
  EXPECT_EQ((Bytes{'h', 0, 'i', 0, 0, 0}), bytes);
  EXPECT_TRUE(s->GetValue(u"dw", &bytes, &type));
  EXPECT_EQ(PROF_TYPE_DWORD, type);
  EXPECT_EQ((Bytes{4, 3, 2, 1}), bytes);
  EXPECT_TRUE(s->GetValue(u"x", &bytes, &type));
  EXPECT_EQ(PROF_TYPE_EXPAND_STRING, type);
  EXPECT_EQ((Bytes{'%', 0, 'P', 0, '%', 0, 0, 0}), bytes);
  EXPECT_TRUE(s->GetValue(u"m", &bytes, &type));
  EXPECT_EQ(PROF_TYPE_MULTI_STRING, type);
  EXPECT_EQ((Bytes{'a', 0, 0, 0, 0, 0}), bytes);
  // The untyped bin line parses as binary too.
  EXPECT_TRUE(s->GetValue(u"bin", &bytes, &type));
  EXPECT_EQ(PROF_TYPE_STRING, type);
  EXPECT_TRUE(s->GetBinary(u"bin", &bytes));
  EXPECT_EQ((Bytes{0, 10, 171, 255}), bytes);
  EXPECT_FALSE(s->SetValue(u"v", &bytes, PROF_TYPE_BINARY));
  EXPECT_EQ(PROF_NOT_SUPPORTED, dorlin::lastError());
}

TEST_F(IniStore, LineEndsLongLinesAndLinesItDoesNotUnderstand) {
  const std::string f = file("ends.ini");
  const std::string longText(12000, 'L');
  writeBytes(f, "[s]\na=1\rb=2\r\nc=3\r\r\n; keep me\n  just text\rlong=" + longText + "\nd=4");
  {
    auto s = opened(f, u"\\s");
    int count = -1;
    EXPECT_TRUE(s->GetValueCount(&count));
    EXPECT_EQ(5, count);
    EXPECT_EQ(1, integer(*s, u"a"));
    EXPECT_EQ(2, integer(*s, u"b"));
    EXPECT_EQ(3, integer(*s, u"c"));
    EXPECT_EQ(4, integer(*s, u"d"));
    EXPECT_EQ(initest::u16(longText), str(*s, u"long"));
    const int five = 5;
    EXPECT_TRUE(s->SetInt(u"e", &five));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ("[s]\r\na=1\r\nb=2\r\nc=3\r\n\r\n; keep me\r\n  just text\r\nlong=" + longText + "\r\nd=4\r\ne=5\r\n",
            readBytes(f));
}

TEST_F(IniStore, FileWhoseLinesDidNotChangeIsNotRewritten) {
  const std::string f = file("same.ini");
  const std::string bytes = "[s]\nx=1\nlast";
  writeBytes(f, bytes);
  {
    auto s = opened(f, u"\\s");
    const std::u16string same = u"1";
    EXPECT_TRUE(s->SetString(u"x", &same));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ(bytes, readBytes(f));
}

TEST_F(IniStore, EightBitFilesAreWrittenWholeInTheEncodingTheyWereReadIn) {
  // Not all UTF-8: the whole file is Windows-1252, its UTF-8-looking line included.
  const std::string legacy = file("legacy.ini");
  const std::string legacyBytes = "[s]\r\nunit=\xB5s\r\nutf=caf\xC3\xA9\r\n";
  writeBytes(legacy, legacyBytes);
  {
    auto s = opened(legacy, u"\\s");
    EXPECT_EQ(u"\u00B5s", str(*s, u"unit"));
    EXPECT_EQ(u"caf\u00C3\u00A9", str(*s, u"utf"));
    // A character Windows-1252 cannot hold is refused, in a value, a name or a section name.
    const std::u16string cjk = u"\u4E2D", ok = u"x";
    EXPECT_FALSE(s->SetString(u"cjk", &cjk));
    EXPECT_EQ(PROF_INVALID_PARAMETER, dorlin::lastError());
    EXPECT_FALSE(s->SetString(u"\u4E2D", &ok));
    EXPECT_EQ(PROF_INVALID_PARAMETER, dorlin::lastError());
    dorlin::setLastError(PROF_OK);
    EXPECT_FALSE(store()->Create(loc(legacy, u"\\t\\\u4E2D"), PROF_MODE_ALL, 0));
    EXPECT_EQ(PROF_INVALID_PARAMETER, dorlin::lastError());
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ(legacyBytes, readBytes(legacy));
  {
    auto s = opened(legacy, u"\\s");
    const std::u16string micro = u"\u00B5m", euro = u"\u20AC";
    EXPECT_TRUE(s->SetString(u"unit", &micro));
    EXPECT_TRUE(s->SetString(u"price", &euro));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ("[s]\r\nunit=\xB5m\r\nutf=caf\xC3\xA9\r\nprice=\x80\r\n", readBytes(legacy));

  // All UTF-8 (plain ASCII too, and a new file): new lines are UTF-8, any character goes, but
  // a lone surrogate has no UTF-8 form.
  for (const std::string& start : {std::string("[s]\r\nutf=caf\xC3\xA9\r\n"), std::string()}) {
    const std::string f = file("utf8.ini");
    plat::removeFile(f);
    if (!start.empty()) writeBytes(f, start);
    {
      auto s = created(f, u"\\s");
      const std::u16string v = u"\u00B5s\u4E2D";
      EXPECT_TRUE(s->SetString(u"new", &v));
      const char16_t lone[] = {u'a', 0xD800, 0};
      const std::u16string bad = lone;
      EXPECT_FALSE(s->SetString(u"bad", &bad));
      EXPECT_EQ(PROF_INVALID_PARAMETER, dorlin::lastError());
      EXPECT_TRUE(s->Close());
    }
    EXPECT_EQ((start.empty() ? "[s]\r\n" : start) + "new=\xC2\xB5s\xE4\xB8\xAD\r\n", readBytes(f));
  }
}

TEST_F(IniStore, Utf16FilesStayUtf16) {
  const std::string f = file("wide.ini");
  writeBytes(f, "\xFF\xFE" + utf16le(u"a=1\r\nb=2\r\n"));
  {
    auto root = opened(f, u"");
    int count = -1;
    EXPECT_TRUE(root->GetValueCount(&count));
    EXPECT_EQ(2, count);
    EXPECT_EQ(2, integer(*root, u"b"));
    const std::u16string v = u"\u00E9\u4E2D";
    EXPECT_TRUE(root->SetString(u"c", &v));
    EXPECT_TRUE(root->Close());
  }
  EXPECT_EQ("\xFF\xFE" + utf16le(u"a=1\r\nb=2\r\nc=\u00E9\u4E2D\r\n"), readBytes(f));

  // An odd last byte is no character: it is dropped.
  const std::string odd = file("odd.ini");
  writeBytes(odd, "\xFF\xFE" + utf16le(u"[s]\r\na=1") + "A");
  {
    auto s = opened(odd, u"\\s");
    EXPECT_EQ(1, integer(*s, u"a"));
    const int two = 2;
    EXPECT_TRUE(s->SetInt(u"b", &two));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ("\xFF\xFE" + utf16le(u"[s]\r\na=1\r\nb=2\r\n"), readBytes(odd));

  // Only the mark: no lines; a single byte: an 8-bit file.
  for (const char* bytes : {"\xFF\xFE", "\xFF"}) {
    const std::string tiny = file("tiny.ini");
    writeBytes(tiny, bytes);
    auto root = opened(tiny, u"");
    int count = -1;
    EXPECT_TRUE(root->GetValueCount(&count));
    EXPECT_EQ(0, count);
  }
}

TEST_F(IniStore, Utf8MarkIsKeptAndDoesNotHideTheFirstHeader) {
  const std::string f = file("bom.ini");
  writeBytes(f, "\xEF\xBB\xBF[s]\r\na=\xC3\xA9\r\n");
  {
    auto s = opened(f, u"\\s");
    EXPECT_EQ(u"\u00E9", str(*s, u"a"));
    const int two = 2;
    EXPECT_TRUE(s->SetInt(u"b", &two));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ("\xEF\xBB\xBF[s]\r\na=\xC3\xA9\r\nb=2\r\n", readBytes(f));
}

TEST_F(IniStore, RootSectionHoldsTheLinesBeforeTheFirstHeader) {
  const std::string f = file("root.ini");
  {
    auto root = created(f, u"");
    const int one = 1;
    EXPECT_TRUE(root->SetInt(u"x", &one));
    EXPECT_TRUE(root->Close());
  }
  EXPECT_EQ("x=1\r\n", readBytes(f));
  created(f, u"\\s")->Close();
  {
    auto root = created(f, u"\\");
    const int two = 2;
    EXPECT_TRUE(root->SetInt(u"y", &two));
    EXPECT_EQ(1, integer(*root, u"x"));
    EXPECT_TRUE(root->Close());
  }
  EXPECT_EQ("x=1\r\ny=2\r\n[s]\r\n", readBytes(f));
}

TEST_F(IniStore, ReadingAMissingFileLeavesTheFileSystemAsItWas) {
  const std::string f = file("missing.ini");
  {
    auto s = store();
    EXPECT_FALSE(s->Open(loc(f, u"\\s"), PROF_MODE_OPEN));
    EXPECT_EQ(PROF_NO_SECTION, dorlin::lastError());
    // Its root section reads and counts as an empty one.
    ASSERT_TRUE(s->Open(loc(f, u""), PROF_ACCESS_READ | PROF_ACCESS_ENUM));
    std::u16string text;
    EXPECT_FALSE(s->GetString(u"x", &text));
    EXPECT_EQ(PROF_NO_VALUE, dorlin::lastError());
    int count = -1;
    EXPECT_TRUE(s->GetSectionCount(&count));
    EXPECT_EQ(0, count);
    EXPECT_TRUE(s->GetValueCount(&count));
    EXPECT_EQ(0, count);
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ(0, dorlin::setIniCacheMode(0));
  EXPECT_FALSE(plat::fileExists(f));
  // Nor is a missing folder made: its file reads as missing.
  dorlin::setIniCacheMode(1);
  auto s = store();
  EXPECT_FALSE(s->Open(loc(file("no/such/dir.ini"), u"\\s"), PROF_MODE_OPEN));
  EXPECT_EQ(PROF_NO_SECTION, dorlin::lastError());
  EXPECT_FALSE(plat::fileExists(file("no")));

  // A writer makes the file, also one that a read found missing while it is still cached.
  {
    auto r = store();
    EXPECT_FALSE(r->Open(loc(f, u"\\s"), PROF_MODE_OPEN));
    auto w = created(f, u"\\s");
    const int one = 1;
    EXPECT_TRUE(w->SetInt(u"x", &one));
    EXPECT_TRUE(w->Close());
  }
  EXPECT_EQ(0, dorlin::setIniCacheMode(0));
  EXPECT_EQ("[s]\r\nx=1\r\n", readBytes(f));
  // A file that cannot be created fails a writer without a code of its own.
  dorlin::setLastError(PROF_NO_VALUE);
  EXPECT_FALSE(s->Create(loc(file("no/such/dir.ini"), u"\\s"), PROF_MODE_ALL, 0));
  EXPECT_EQ(PROF_ERROR, dorlin::lastError());
  // So does a path that is a folder.
  EXPECT_FALSE(s->Create(loc(dir, u"\\s"), PROF_MODE_ALL, 0));
  EXPECT_EQ(PROF_ERROR, dorlin::lastError());
  EXPECT_TRUE(plat::isDirectory(dir));
}

TEST_F(IniStore, FilesBeyondTheLimitsAreRefused) {
  const std::string f = file("lines.ini");
  auto s = store();
  writeBytes(f, std::string(dorlin::COrvTextFile::kMaxLines + 1, '\n'));
  EXPECT_FALSE(s->Open(loc(f, u""), PROF_MODE_OPEN));
  EXPECT_EQ(PROF_ERROR, dorlin::lastError());
  writeBytes(f, "");
  ASSERT_EQ(0, ::truncate(f.c_str(), static_cast<off_t>(dorlin::COrvTextFile::kMaxFileBytes + 1)));
  EXPECT_FALSE(s->Open(loc(f, u""), PROF_MODE_OPEN));
  EXPECT_EQ(PROF_ERROR, dorlin::lastError());
}

TEST_F(IniStore, OpenModeChecksComeFirst) {
  const std::string f = file("mode.ini");
  writeBytes(f, "[s]\r\nx=1\r\n");
  const int one = 1;
  int v = 0;
  std::u16string name;
  auto r = opened(f, u"\\s", PROF_ACCESS_READ);
  EXPECT_FALSE(r->SetInt(u"x", &one));
  EXPECT_EQ(PROF_ACCESS_DENIED, dorlin::lastError());
  EXPECT_FALSE(r->DeleteValue(u"x"));
  EXPECT_EQ(PROF_ACCESS_DENIED, dorlin::lastError());
  EXPECT_FALSE(r->GetSectionCount(&v));
  EXPECT_EQ(PROF_ACCESS_DENIED, dorlin::lastError());
  EXPECT_FALSE(r->EnumSection(0, &name));
  EXPECT_EQ(PROF_ACCESS_DENIED, dorlin::lastError());
  auto w = opened(f, u"\\s", PROF_ACCESS_WRITE);
  EXPECT_FALSE(w->GetInt(u"x", &v));
  EXPECT_EQ(PROF_ACCESS_DENIED, dorlin::lastError());
  EXPECT_FALSE(w->EnumValue(0, &name, &v));
  EXPECT_EQ(PROF_ACCESS_DENIED, dorlin::lastError());
  // The mode check comes before the check of the name.
  EXPECT_FALSE(r->SetInt(u"bad\nname", &one));
  EXPECT_EQ(PROF_ACCESS_DENIED, dorlin::lastError());
}

TEST_F(IniStore, CountingAndEnumeratingDoNotOpenForWriting) {
  const std::string f = file("count.ini");
  writeBytes(f, "[s]\r\nx=1\r\n[s\\t]\r\n");
  auto s = opened(f, u"\\s", PROF_MODE_OPEN);
  int n = -1, type = -1;
  std::u16string name;
  EXPECT_TRUE(s->GetSectionCount(&n));
  EXPECT_TRUE(s->EnumSection(0, &name));
  EXPECT_TRUE(s->GetValueCount(&n));
  EXPECT_TRUE(s->EnumValue(0, &name, &type));
  dorlin::COrvTextFile* cached = COrvFileDispatcher::OpenTextFile(initest::u16(f), false);
  ASSERT_NE(nullptr, cached);
  EXPECT_EQ(dorlin::COrvTextFile::kReadOnly, cached->GetMode());
  // A busy file is not handed out twice.
  EXPECT_EQ(nullptr, COrvFileDispatcher::OpenTextFile(initest::u16(f), false));
  COrvFileDispatcher::ReleaseTextFile(cached);
}

TEST_F(IniStore, LineBreaksAndUnreadableNamesAreRefused) {
  const std::string f = file("ruling.ini");
  {
    auto s = created(f, u"\\s");
    const std::u16string ok = u"v", bad = u"a\r\nb=2";
    EXPECT_FALSE(s->SetString(u"x", &bad));
    EXPECT_EQ(PROF_INVALID_PARAMETER, dorlin::lastError());
    for (const char16_t* name : {u"a\nb", u"a\rb", u"a=b", u"", u" x", u"x\t", u";x", u"[x]"}) {
      dorlin::setLastError(PROF_OK);
      EXPECT_FALSE(s->SetString(name, &ok)) << plat::toUtf8(name);
      EXPECT_EQ(PROF_INVALID_PARAMETER, dorlin::lastError());
    }
    auto t = store();
    EXPECT_FALSE(t->Create(loc(f, u"\\a\nb"), PROF_MODE_ALL, 0));
    EXPECT_EQ(PROF_INVALID_PARAMETER, dorlin::lastError());
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ("[s]\r\n", readBytes(f));
}

TEST_F(IniStore, DeleteSectionAndValue) {
  const std::string f = file("del.ini");
  writeBytes(f, "[a]\r\nx=1\r\n[a\\b]\r\ny=2\r\n[c]\r\nz=3\r\n");
  auto s = store();
  EXPECT_FALSE(s->DeleteSection(loc(f, u"\\a")));
  EXPECT_EQ(PROF_HAS_SUBSECTIONS, dorlin::lastError());
  EXPECT_FALSE(s->DeleteSection(loc(f, u"")));
  EXPECT_EQ(PROF_HAS_SUBSECTIONS, dorlin::lastError());
  EXPECT_FALSE(s->DeleteSection(loc(f, u"\\nope")));
  EXPECT_EQ(PROF_NO_SECTION, dorlin::lastError());
  EXPECT_TRUE(s->DeleteSection(loc(f, u"\\A\\B")));
  EXPECT_TRUE(s->DeleteSection(loc(f, u"\\a")));
  {
    auto c = opened(f, u"\\c");
    EXPECT_FALSE(c->DeleteValue(u"nope"));
    EXPECT_EQ(PROF_NO_VALUE, dorlin::lastError());
    EXPECT_TRUE(c->DeleteValue(u"Z"));
    const int four = 4;
    EXPECT_TRUE(c->SetInt(u"w", &four));
    EXPECT_TRUE(c->Close());
  }
  s.reset();
  EXPECT_EQ("[c]\r\nw=4\r\n", readBytes(f));

  // A descendant anywhere in the file keeps its ancestor.
  const std::string g = file("far.ini");
  writeBytes(g, "[a]\r\n[c]\r\n[a\\b]\r\n");
  auto t = store();
  EXPECT_FALSE(t->DeleteSection(loc(g, u"\\a")));
  EXPECT_EQ(PROF_HAS_SUBSECTIONS, dorlin::lastError());
}

TEST_F(IniStore, StoresOnOneFileSeeEachOthersChanges) {
  const std::string f = file("shared.ini");
  writeBytes(f, "[p]\r\nv=1\r\n[s]\r\nx=1\r\n");
  auto a = opened(f, u"\\s");
  auto b = opened(f, u"\\p");
  EXPECT_EQ(1, integer(*a, u"x"));
  const int seven = 7;
  EXPECT_TRUE(b->SetInt(u"w", &seven));  // inserts a line above a's section
  EXPECT_EQ(1, integer(*a, u"x"));
  EXPECT_TRUE(a->SetInt(u"y", &seven));
  EXPECT_TRUE(b->Close());
  auto other = store();
  EXPECT_TRUE(other->DeleteSection(loc(f, u"\\p")));
  EXPECT_EQ(7, integer(*a, u"y"));
  EXPECT_TRUE(other->DeleteSection(loc(f, u"\\s")));
  dorlin::setLastError(PROF_NO_VALUE);
  int v = 0;
  EXPECT_FALSE(a->GetInt(u"x", &v));
  EXPECT_EQ(PROF_ERROR, dorlin::lastError());
  EXPECT_TRUE(a->Close());
  a.reset();
  b.reset();
  other.reset();
  EXPECT_EQ("", readBytes(f));
}

// Cache modes ---------------------------------------------------------------------------------

class IniCache : public IniStore {
 protected:
  // Writes x=value into section s of path through a store that is closed again.
  void write(const std::string& path, int value) {
    auto s = created(path, u"\\s");
    EXPECT_TRUE(s->SetInt(u"x", &value));
    EXPECT_TRUE(s->Close());
  }
};

TEST_F(IniCache, ModeZeroWritesBackAfterEveryOperationThatLeavesNoSectionOpen) {
  const std::string f = file("f.ini"), k = file("keeper.ini");
  auto keeper = created(k, u"\\k");  // keeps a store alive
  EXPECT_EQ(1, dorlin::setIniCacheMode(0));  // the keeper's file stays cached
  auto s = created(f, u"\\s");
  const int one = 1;
  EXPECT_TRUE(s->SetInt(u"x", &one));
  EXPECT_EQ("", readBytes(f));  // the section is still open
  EXPECT_TRUE(s->Close());
  EXPECT_EQ("[s]\r\nx=1\r\n", readBytes(f));
  EXPECT_EQ(1, COrvFileDispatcher::GetCachedFileCount());
  auto d = store();
  EXPECT_TRUE(d->DeleteSection(loc(f, u"\\s")));
  EXPECT_EQ("", readBytes(f));
  EXPECT_TRUE(keeper->Close());
}

TEST_F(IniCache, ModeOneFlushesOthersWhenAnotherFileIsOpened) {
  const std::string f = file("f.ini"), g = file("g.ini"), k = file("keeper.ini");
  auto keeper = created(k, u"\\k");
  write(f, 1);
  EXPECT_EQ("", readBytes(f));
  EXPECT_EQ(2, COrvFileDispatcher::GetCachedFileCount());
  write(f, 2);  // a cached file: nothing is flushed
  EXPECT_EQ("", readBytes(f));
  write(g, 3);
  EXPECT_EQ("[s]\r\nx=2\r\n", readBytes(f));
  EXPECT_EQ("", readBytes(g));
  EXPECT_EQ(2, COrvFileDispatcher::GetCachedFileCount());  // keeper and g
  EXPECT_TRUE(keeper->Close());
  keeper.reset();  // the last store writes everything back
  EXPECT_EQ("[s]\r\nx=3\r\n", readBytes(g));
  EXPECT_EQ("[k]\r\n", readBytes(k));
  EXPECT_EQ(0, COrvFileDispatcher::GetCachedFileCount());
}

TEST_F(IniCache, OtherModesKeepFilesUntilModeZeroOrTheLastStore) {
  const std::string f = file("f.ini"), g = file("g.ini"), k = file("keeper.ini");
  EXPECT_EQ(5, dorlin::setIniCacheMode(5));
  auto keeper = created(k, u"\\k");
  write(f, 1);
  write(g, 2);
  EXPECT_EQ("", readBytes(f));
  EXPECT_EQ("", readBytes(g));
  EXPECT_EQ(1, dorlin::setIniCacheMode(0));  // only the keeper's file stays
  EXPECT_EQ("[s]\r\nx=1\r\n", readBytes(f));
  EXPECT_EQ("[s]\r\nx=2\r\n", readBytes(g));
  dorlin::setIniCacheMode(5);
  write(f, 3);
  EXPECT_EQ("[s]\r\nx=1\r\n", readBytes(f));
  EXPECT_TRUE(keeper->Close());
  keeper.reset();
  EXPECT_EQ("[s]\r\nx=3\r\n", readBytes(f));
}

TEST_F(IniCache, ProcessExitWritesTheCacheBack) {
  const std::string f = file("exit.ini");
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // A store that is never deleted, in a mode that keeps files cached.
    dorlin::setIniCacheMode(5);
    static COrvComDesc* const kept = dorlin::newIniStore();
    const int one = 1;
    const bool ok = kept->Create(loc(f, u"\\s"), PROF_MODE_ALL, 0) && kept->SetInt(u"x", &one) &&
                    readBytes(f).empty();
    std::exit(ok ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ("[s]\r\nx=1\r\n", readBytes(f));
}

// Another program saves the file while this one holds it cached with a section open and an
// edit not yet written: the store reads what the other saved, and the save keeps both sides.
TEST_F(IniCache, FileSavedByAnotherProcessIsReadAgainAndMerged) {
  const std::string f = file("shared.ini");
  writeBytes(f, "[s]\r\nx=1\r\n[t]\r\nold=1\r\n");
  auto s = opened(f, u"\\s");
  const int two = 2;
  EXPECT_TRUE(s->SetInt(u"x", &two));
  // Another program replaces the file meanwhile.
  ASSERT_TRUE(plat::writeFileAtomic(f, "[s]\r\nx=1\r\n[u]\r\ny=3\r\n"));

  auto u = opened(f, u"\\u");
  int v = 0;
  EXPECT_TRUE(u->GetInt(u"y", &v));
  EXPECT_EQ(3, v);
  EXPECT_TRUE(u->Close());
  u.reset();
  EXPECT_TRUE(s->GetInt(u"x", &v));
  EXPECT_EQ(2, v);
  EXPECT_TRUE(s->Close());  // the last store: the file is written back
  EXPECT_EQ("[s]\r\nx=2\r\n[u]\r\ny=3\r\n", readBytes(f));
}

TEST_F(IniCache, FailedSaveIsReportedAndKeepsTheOldFile) {
  const std::string f = file("f.ini");
  const std::string old = "[s]\r\nx=1\r\n[t]\r\ny=2\r\n";
  writeBytes(f, old);
  {
    auto s = opened(f, u"\\s");
    const std::u16string big(200, u'b');
    EXPECT_TRUE(s->SetString(u"y", &big));
    initest::FileSizeLimit limit(64);
    EXPECT_FALSE(s->Close());
    EXPECT_EQ(PROF_WRITE_FAULT, dorlin::lastError());
  }
  EXPECT_EQ(old, readBytes(f));
  // No temporary file is left behind.
  std::set<std::string> names;
  for (const plat::DirEntry& e : plat::findFiles(dir, "*")) names.insert(e.name);
  EXPECT_EQ((std::set<std::string>{"f.ini"}), names);

  // In mode 0 the operation that writes reports the failure itself.
  dorlin::setIniCacheMode(0);
  auto d = store();
  {
    initest::FileSizeLimit limit(1);
    EXPECT_FALSE(d->DeleteSection(loc(f, u"\\t")));
    EXPECT_EQ(PROF_WRITE_FAULT, dorlin::lastError());
  }
  EXPECT_EQ(old, readBytes(f));
  // The file replaced by a folder: the rename fails, the folder stays.
  auto s = opened(f, u"\\s");
  const int two = 2;
  EXPECT_TRUE(s->SetInt(u"x", &two));
  ASSERT_TRUE(plat::removeFile(f));
  ASSERT_TRUE(plat::makeDirectories(f));
  EXPECT_FALSE(s->Close());
  EXPECT_EQ(PROF_WRITE_FAULT, dorlin::lastError());
  EXPECT_TRUE(plat::isDirectory(f));
}

}  // namespace
