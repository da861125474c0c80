// The structure database: which record a spectrum's file name finds, what is copied out of it,
// and how it stands up to hostile SD files.
#include "rodizora/sdf/sdfdatabase.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "foundation/profdesc.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "rodizora/sdf/tests/sdrecord.h"

namespace {

using plat::String16;
using sdtest::SdRecord;
using sdtest::WithId;

class SdfDatabase : public ::testing::Test {
 protected:
  SdfDatabase() {
    const char* root = std::getenv("KEDRUS_TEST_SCRATCH");
    m_dir = plat::joinPath(root ? root : "/tmp", ::testing::UnitTest::GetInstance()->current_test_info()->name());
    EXPECT_TRUE(plat::makeDirectories(m_dir));
    // Extracted records land in the sandbox, never in the machine's temporary folder.
    ::setenv("TMPDIR", m_dir.c_str(), 1);
  }
  ~SdfDatabase() override { ::unsetenv("TMPDIR"); }

  String16 Write(const std::string& name, const std::string& text) {
    const std::string path = plat::joinPath(m_dir, name);
    EXPECT_TRUE(plat::writeFileAtomic(path, text));
    return plat::toUtf16(path);
  }
  // The extracted copy's bytes (the file is removed, as its caller does); "-" for no copy.
  std::string Extract(std::u16string_view name, bool keep = true) {
    const String16 path = m_db.ExtractRecord(name, keep);
    if (path.empty()) return "-";
    std::string bytes;
    EXPECT_EQ(plat::readFile(plat::toUtf8(path), &bytes), plat::FileStatus::Ok);
    plat::removeFile(plat::toUtf8(path));
    return bytes;
  }

  std::string m_dir;
  CSdfDatabase m_db;
};

TEST_F(SdfDatabase, ANameFindsTheRecordOfItsIdentifier) {
  const SdRecord records[] = {
      WithId("X123"),
      SdRecord{{"> <NAME>", "no identifier here", ""}},  // shifts no later record
      WithId("ABC\\12"),                                 // stored as 12
      WithId(""),                                        // an empty identifier matches nothing
      WithId("X12"),
      WithId("sub/"),                                    // nothing left after the "/": none
  };
  std::string file;
  for (const SdRecord& r : records) file += r.Text();
  ASSERT_TRUE(m_db.Load(Write("set.sdf", file), u"IDNUMBER"));
  EXPECT_EQ(m_db.IdentifierCount(), 3u);

  EXPECT_EQ(Extract(u"x123"), records[0].Body());
  // A path that holds an identifier finds it; the first in file order wins.
  EXPECT_EQ(Extract(u"/data/run7/X123.fid"), records[0].Body());
  // An equal identifier wins over one that only occurs inside the name.
  EXPECT_EQ(Extract(u"X12"), records[4].Body());
  EXPECT_EQ(Extract(u"12"), records[2].Body());
  EXPECT_EQ(Extract(u"ZZZ"), "-");
  EXPECT_EQ(Extract(u""), "-");
}

TEST_F(SdfDatabase, WithoutShowIdTheTagAndItsValueStayOut) {
  const SdRecord record = WithId("X123", {"> <MW>", "88.1", ""});
  ASSERT_TRUE(m_db.Load(Write("one.sdf", record.Text()), u"idnumber"));  // the tag is found in any case
  const SdRecord stripped{{"", "> <MW>", "88.1", ""}};
  EXPECT_EQ(Extract(u"X123", false), stripped.Body());
  EXPECT_EQ(Extract(u"X123", true), record.Body());
}

TEST_F(SdfDatabase, HostileFilesGiveExactRecordsOrNone) {
  // Carriage returns: identifiers lose theirs, copies keep every byte.
  SdRecord crlf = WithId("C1");
  crlf.eol = "\r\n";
  // A line far longer than any buffer, and a value line too long to be an identifier.
  SdRecord longLine = WithId("L1", {"> <COMMENT>", std::string(3 << 20, 'c') + "<IDNUMBER>", "L2", ""});
  SdRecord longValue = WithId(std::string(200000, 'v'));
  // The file ends inside a record, on a tag line without its value.
  const std::string truncated = SdRecord{{"> <MW>", "1"}}.Body() + "> <IDNUMBER>";
  const std::string file = crlf.Text() + longLine.Text() + longValue.Text() + WithId("T9").Text() + truncated;
  ASSERT_TRUE(m_db.Load(Write("hostile.sdf", file), u"IDNUMBER"));
  EXPECT_EQ(m_db.IdentifierCount(), 4u);  // C1, L1, L2 (the tag at the end of the long line) and T9

  EXPECT_EQ(Extract(u"C1"), crlf.Body());
  EXPECT_EQ(Extract(u"L2"), longLine.Body());
  EXPECT_EQ(Extract(u"T9"), WithId("T9").Body());

  // A second load replaces the index; a file that cannot be opened leaves none.
  ASSERT_TRUE(m_db.Load(Write("other.sdf", WithId("N5").Text()), u"IDNUMBER"));
  EXPECT_EQ(Extract(u"C1"), "-");
  EXPECT_EQ(Extract(u"N5"), WithId("N5").Body());
  EXPECT_FALSE(m_db.Load(plat::toUtf16(plat::joinPath(m_dir, "missing.sdf")), u"IDNUMBER"));
  EXPECT_EQ(m_db.IdentifierCount(), 0u);
  EXPECT_EQ(Extract(u"N5"), "-");
}

TEST_F(SdfDatabase, EachCopyIsANewTemporaryFile) {
  ASSERT_TRUE(m_db.Load(Write("one.sdf", WithId("A1").Text()), u"IDNUMBER"));
  const String16 first = m_db.ExtractRecord(u"A1", true);
  const String16 second = m_db.ExtractRecord(u"A1", true);
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  for (const String16& path : {first, second}) {
    const std::string p = plat::toUtf8(path);
    EXPECT_EQ(plat::pathDirectory(p), m_dir);
    EXPECT_EQ(plat::pathFileName(p).substr(0, 6), "kedrus");
    EXPECT_TRUE(plat::isRegularFile(p));
  }
}

TEST(SdfSettings, IdFieldAndShowIdComeFromTheProgramsSection) {
  SetDefaultProfRoot(u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0");
  SetDefaultProfSection(u"rodizora");
  EXPECT_EQ(SdfIdField(), u"IDNUMBER");
  EXPECT_TRUE(SdfShowId());
  COrvProfDesc desc;
  ASSERT_EQ(OrvSetProfString(u"IDField", u"CAS", &desc), PROF_OK);
  ASSERT_EQ(OrvSetProfInt(u"ShowID", 0, &desc), PROF_OK);
  EXPECT_EQ(SdfIdField(), u"CAS");
  EXPECT_FALSE(SdfShowId());
  SetDefaultProfRoot(nullptr);
  SetDefaultProfSection(nullptr);
}

}  // namespace
