#include "platform/base/path.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/base/file.h"

namespace {

TEST(Path, SplitsOnBothSeparators) {
  EXPECT_EQ(plat::pathFileName("C:\\data\\exp/1/fid"), "fid");
  EXPECT_EQ(plat::pathDirectory("a\\b/c.dx"), "a\\b");
  EXPECT_EQ(plat::pathDirectory("c.dx"), "");
  EXPECT_EQ(plat::pathDirectory("/c.dx"), "/");
  EXPECT_EQ(plat::pathExtension("dir.v2\\name"), "");
  EXPECT_EQ(plat::pathExtension("a/b.c.dx"), ".dx");
  EXPECT_EQ(plat::pathTitle("a/b.c.dx"), "b.c");
  EXPECT_EQ(plat::joinPath("a/", "/b"), "a/b");
  EXPECT_EQ(plat::joinPath("", "b"), "b");
  EXPECT_EQ(plat::toPosixPath("a\\b\\c"), "a/b/c");
}

TEST(Path, TrimsTrailingSeparators) {
  EXPECT_EQ(plat::pathWithoutTrailingSeparator("a/b//"), "a/b");
  EXPECT_EQ(plat::pathWithoutTrailingSeparator("a\\b\\"), "a\\b");
  EXPECT_EQ(plat::pathWithoutTrailingSeparator("a/b"), "a/b");
  EXPECT_EQ(plat::pathWithoutTrailingSeparator("//"), "/");
  EXPECT_EQ(plat::pathWithoutTrailingSeparator(""), "");
}

TEST(Path, FindsNamesIgnoringCase) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  ASSERT_NE(scratch, nullptr);
  const std::string dir = plat::joinPath(scratch, "findnocase");
  ASSERT_TRUE(plat::makeDirectories(dir));
  ASSERT_TRUE(plat::writeFileAtomic(plat::joinPath(dir, "DATA.MS"), "x"));
  EXPECT_EQ(plat::findNoCase(dir, "data.ms"), plat::joinPath(dir, "DATA.MS"));
  EXPECT_EQ(plat::findNoCase(dir, "DATA.MS"), plat::joinPath(dir, "DATA.MS"));
  EXPECT_EQ(plat::findNoCase(dir, "missing"), "");
  EXPECT_EQ(plat::findNoCase(plat::joinPath(dir, "nodir"), "x"), "");
}

}  // namespace
