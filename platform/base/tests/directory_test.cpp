#include "platform/base/directory.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "scratch.h"

namespace {

using plat_test::ScratchDir;

TEST(Directory, WildcardsFollowDosRules) {
  EXPECT_TRUE(plat::matchWildcard("*.MS", "data.ms"));
  EXPECT_TRUE(plat::matchWildcard("_FUNC???.DAT", "_func001.dat"));
  EXPECT_FALSE(plat::matchWildcard("_FUNC???.DAT", "_func01.dat"));
  EXPECT_TRUE(plat::matchWildcard("*.", "acqus"));
  EXPECT_FALSE(plat::matchWildcard("*.", "acqus.txt"));
  EXPECT_TRUE(plat::matchWildcard("*.*", "noext"));
  EXPECT_TRUE(plat::matchWildcard("a*b*c", "aXbYbZc"));
  EXPECT_FALSE(plat::matchWildcard("a*b*c", "aXbYbZ"));
}

TEST(Directory, SearchIsSortedByFoldedNameAndFindsNamesIgnoringCase) {
  const std::string dir = ScratchDir("find");
  for (const char* name : {"b.dat", "A.DAT", "c.txt", "a1.dat"}) plat::writeFileAtomic(plat::joinPath(dir, name), "12345");
  plat::makeDirectories(plat::joinPath(dir, "sub.dat"));
  const auto found = plat::findFiles(dir, "*.dat");
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].name, "A.DAT");  // "a.dat" < "a1.dat"
  EXPECT_EQ(found[1].name, "a1.dat");
  EXPECT_EQ(found[2].name, "b.dat");
  EXPECT_EQ(found[3].name, "sub.dat");
  EXPECT_EQ(found[1].size, 5u);
  EXPECT_GT(found[1].lastWrite, 0);
  EXPECT_TRUE(found[3].isDirectory);
  EXPECT_TRUE(plat::findFiles(plat::joinPath(dir, "none"), "*").empty());

  EXPECT_EQ(plat::findNoCase(dir, "C.TXT"), plat::joinPath(dir, "c.txt"));
  EXPECT_EQ(plat::findNoCase(dir, "a.dat"), plat::joinPath(dir, "A.DAT"));
  EXPECT_EQ(plat::findNoCase(dir, "missing"), "");
  EXPECT_EQ(plat::findNoCase(plat::joinPath(dir, "nodir"), "x"), "");
}

TEST(Directory, RemoveTreeTakesEverythingBelowAndNeverFollowsLinks) {
  const std::string dir = ScratchDir("tree");
  const std::string kept = plat::joinPath(dir, "kept");
  const std::string root = plat::joinPath(dir, "root");
  ASSERT_TRUE(plat::makeDirectories(plat::joinPath(root, "a/b")));
  ASSERT_TRUE(plat::makeDirectories(kept));
  ASSERT_TRUE(plat::writeFileAtomic(plat::joinPath(root, "a/b/f"), "x"));
  ASSERT_TRUE(plat::writeFileAtomic(plat::joinPath(kept, "g"), "y"));
  ASSERT_EQ(::symlink(kept.c_str(), plat::joinPath(root, "link").c_str()), 0);
  EXPECT_TRUE(plat::removeTree(root));
  EXPECT_FALSE(plat::fileExists(root));
  EXPECT_TRUE(plat::fileExists(plat::joinPath(kept, "g")));
  EXPECT_TRUE(plat::removeTree(root));  // nothing there: nothing to do
}

}  // namespace
