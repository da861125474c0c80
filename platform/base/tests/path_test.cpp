#include "platform/base/path.h"

#include <gtest/gtest.h>

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

}  // namespace
