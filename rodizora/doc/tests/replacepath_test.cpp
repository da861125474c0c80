// Replacing a saved file or workspace: at every moment the path holds the old data or the new,
// and what stopped saves leave beside it is put back or removed by the next open or save.
#include "rodizora/doc/replacepath.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/file_testing.h"
#include "platform/base/path.h"
#include "platform/base/tempname_testing.h"
#include "rodizora/doc/tests/doc_fixture.h"

namespace {

std::string Fresh(const std::string& name) {
  const std::string dir = plat::joinPath(sadoctest::Dir(), name);
  plat::removeTree(dir);
  EXPECT_TRUE(plat::makeDirectories(dir));
  return dir;
}

std::set<std::string> Names(const std::string& dir) {
  std::set<std::string> names;
  for (const plat::DirEntry& e : plat::findFiles(dir, "*")) names.insert(e.name);
  return names;
}

std::string Read(const std::string& path) {
  std::string bytes;
  return plat::readFile(path, &bytes) == plat::FileStatus::Ok ? bytes : "<missing>";
}

// A workspace-like folder holding one file.
void MakeFolder(const std::string& dir, const std::string& text) {
  ASSERT_TRUE(plat::makeDirectory(dir));
  ASSERT_TRUE(plat::writeNewFile(plat::joinPath(dir, "core"), text));
}

TEST(ReplacePath, EveryKindOfOldDataGivesWayToTheNewWholeWithOrWithoutAnExchange) {
  for (const bool exchange : {true, false}) {
    SCOPED_TRACE(exchange ? "exchange" : "aside and in");
    plat::refuseExchangeForTesting(!exchange);
    const std::string dir = Fresh("replace");
    const std::string ws = plat::joinPath(dir, "page.ws");
    // Nothing there yet, a folder over a folder, a file over a folder, a folder over a file.
    std::string fresh = sasave::MakeTemporaryDirectory(ws);
    ASSERT_FALSE(fresh.empty());
    ASSERT_TRUE(plat::writeNewFile(plat::joinPath(fresh, "core"), "one"));
    ASSERT_TRUE(sasave::ReplaceWith(fresh, ws));
    EXPECT_EQ(Read(ws + "/core"), "one");
    fresh = sasave::MakeTemporaryDirectory(ws);
    ASSERT_TRUE(plat::writeNewFile(plat::joinPath(fresh, "core"), "two"));
    ASSERT_TRUE(sasave::ReplaceWith(fresh, ws));
    EXPECT_EQ(Read(ws + "/core"), "two");
    fresh = sasave::TemporarySibling(ws, "saving");
    ASSERT_TRUE(plat::writeNewFile(fresh, "a file"));
    ASSERT_TRUE(sasave::ReplaceWith(fresh, ws));
    EXPECT_EQ(Read(ws), "a file");
    fresh = sasave::MakeTemporaryDirectory(ws);
    ASSERT_TRUE(plat::writeNewFile(plat::joinPath(fresh, "core"), "three"));
    ASSERT_TRUE(sasave::ReplaceWith(fresh, ws));
    EXPECT_EQ(Read(ws + "/core"), "three");
    EXPECT_EQ(Names(dir), std::set<std::string>{"page.ws"});
    // An old workspace holding a folder is never replaced; the new data goes.
    ASSERT_TRUE(plat::makeDirectory(ws + "/keep"));
    fresh = sasave::MakeTemporaryDirectory(ws);
    EXPECT_FALSE(sasave::ReplaceWith(fresh, ws));
    EXPECT_EQ(Read(ws + "/core"), "three");
    EXPECT_EQ(Names(dir), std::set<std::string>{"page.ws"});
  }
  plat::refuseExchangeForTesting(false);
}

TEST(ReplacePath, TheNextOpenOrSaveMendsWhatAStoppedSaveLeftAndNothingElse) {
  const std::string dir = Fresh("tidy");
  const std::string ws = plat::joinPath(dir, "page.ws");
  const std::vector<std::string> gone = plat::tokensOfAnEndedProcess(3);
  ASSERT_EQ(gone.size(), 3u);
  // Stopped between its two renames: the old workspace aside, the new one complete beside it,
  // nothing at the path.
  MakeFolder(plat::joinPath(dir, ".page.ws.old-" + gone[0]), "old");
  MakeFolder(plat::joinPath(dir, ".page.ws.saving-" + gone[0]), "new");
  // Earlier stopped saves: a half-written new workspace and a converter's temporary beside it.
  MakeFolder(plat::joinPath(dir, ".page.ws.saving-" + gone[1]), "half");
  ASSERT_TRUE(plat::writeNewFile(plat::joinPath(dir, ".page.ws.saving-" + gone[2] + ".tmp" + gone[2]), "x"));
  // A save at work in this program, and names no save makes.
  const std::string working = ".page.ws.saving-" + plat::uniqueToken();
  MakeFolder(plat::joinPath(dir, working), "working");
  ASSERT_TRUE(plat::writeNewFile(plat::joinPath(dir, ".page.ws.old-notes"), "mine"));
  ASSERT_TRUE(plat::writeNewFile(plat::joinPath(dir, ".other.ws.saving-" + gone[1]), "another target's"));

  sasave::TidyTarget(ws);
  EXPECT_EQ(Read(ws + "/core"), "old");
  EXPECT_EQ(Names(dir), (std::set<std::string>{"page.ws", working, ".page.ws.old-notes", ".other.ws.saving-" + gone[1]}));

  // The old data of a save still at work stays aside: that save is about to put its new data in.
  plat::removeTree(ws);
  const std::string aside = ".page.ws.old-" + plat::uniqueToken();
  MakeFolder(plat::joinPath(dir, aside), "aside");
  sasave::TidyTarget(ws);
  EXPECT_FALSE(plat::pathExists(ws));
  EXPECT_TRUE(plat::pathExists(plat::joinPath(dir, aside)));
}

}  // namespace
