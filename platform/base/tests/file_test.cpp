#include "platform/base/file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <ctime>

#include "platform/base/directory.h"
#include "platform/base/file_testing.h"
#include "platform/base/path.h"
#include "platform/base/tempname_testing.h"
#include "scratch.h"

namespace {

using plat_test::ScratchDir;

TEST(File, AtomicReplaceKeepsTheOldFileWhenTheWriteFails) {
  const std::string dir = ScratchDir("atomic");
  const std::string file = plat::joinPath(dir, "settings");
  ASSERT_TRUE(plat::writeFileAtomic(file, std::string("one\0two", 7)));
  std::string bytes;
  ASSERT_EQ(plat::readFile(file, &bytes), plat::FileStatus::Ok);
  EXPECT_EQ(bytes, std::string("one\0two", 7));

  // A target that is a folder cannot be replaced: the call fails and leaves nothing behind.
  const std::string folder = plat::joinPath(dir, "folder");
  ASSERT_TRUE(plat::makeDirectories(folder));
  EXPECT_FALSE(plat::writeFileAtomic(folder, "x"));
  EXPECT_TRUE(plat::isDirectory(folder));
  // A missing folder on the way fails too.
  EXPECT_FALSE(plat::writeFileAtomic(plat::joinPath(dir, "no/such/file"), "x"));
}

TEST(File, ReadReportsMissingAndOversizedFiles) {
  const std::string dir = ScratchDir("read");
  std::string bytes = "untouched";
  EXPECT_EQ(plat::readFile(plat::joinPath(dir, "none"), &bytes), plat::FileStatus::NotFound);
  EXPECT_EQ(bytes, "untouched");
  const std::string file = plat::joinPath(dir, "big");
  ASSERT_TRUE(plat::writeFileAtomic(file, std::string(100, 'x')));
  EXPECT_EQ(plat::readFile(file, &bytes, 99), plat::FileStatus::TooLarge);
  EXPECT_EQ(plat::readFile(dir, &bytes), plat::FileStatus::IoError);
}

TEST(File, BlocksAreReadAtTheirOffsetWithinTheFile) {
  const std::string dir = ScratchDir("block");
  std::string bytes(100, 0);
  for (int i = 0; i < 100; ++i) bytes[i] = static_cast<char>(i);
  const std::string file = plat::joinPath(dir, "block.bin");
  ASSERT_TRUE(plat::writeFileAtomic(file, bytes));
  char buf[4] = {};
  EXPECT_EQ(plat::readFileAt(file, buf, 4, 98), 2u);
  EXPECT_EQ(buf[1], 99);
  EXPECT_EQ(plat::readFileAt(file, buf, 4, 1000), 0u);
  EXPECT_EQ(plat::readFileAt(file + ".missing", buf, 4, 0), 0u);
  EXPECT_EQ(plat::readFileAt(dir, buf, 4, 0), 0u);
}

TEST(File, InfoTellsKindSizeAndTimes) {
  const std::string dir = ScratchDir("info");
  const std::string file = plat::joinPath(dir, "f");
  ASSERT_TRUE(plat::writeFileAtomic(file, "12345"));
  const plat::FileInfo f = plat::fileInfo(file);
  EXPECT_TRUE(f.exists && f.isRegular && !f.isDirectory && f.writable);
  EXPECT_EQ(f.size, 5u);
  EXPECT_EQ(f.permissions & 0600u, 0600u);
  const plat::FileInfo d = plat::fileInfo(dir);
  EXPECT_TRUE(d.exists && d.isDirectory && !d.isRegular);
  EXPECT_FALSE(plat::fileInfo(plat::joinPath(dir, "none")).exists);

}

TEST(File, LocalTimeFollowsTheTimeZone) {
  const char* saved = std::getenv("TZ");
  const std::string before = saved ? saved : "";
  plat::LocalTime t;
  ::setenv("TZ", "UTC0", 1);
  ::tzset();
  ASSERT_TRUE(plat::toLocalTime(1000000000, &t));
  EXPECT_EQ((std::array<int, 6>{t.year, t.month, t.day, t.hour, t.minute, t.second}),
            (std::array<int, 6>{2001, 9, 9, 1, 46, 40}));
  ::setenv("TZ", "EST5", 1);
  ::tzset();
  ASSERT_TRUE(plat::toLocalTime(1000000000, &t));
  EXPECT_EQ((std::array<int, 6>{t.year, t.month, t.day, t.hour, t.minute, t.second}),
            (std::array<int, 6>{2001, 9, 8, 20, 46, 40}));
  if (saved) {
    ::setenv("TZ", before.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

TEST(File, StampChangesWhenTheFileIsReplaced) {
  const std::string dir = ScratchDir("stamp");
  const std::string file = plat::joinPath(dir, "f");
  EXPECT_FALSE(plat::fileStamp(file).exists);
  ASSERT_TRUE(plat::writeFileAtomic(file, "a"));
  const plat::FileStamp first = plat::fileStamp(file);
  ASSERT_TRUE(plat::writeFileAtomic(file, "a"));
  EXPECT_NE(plat::fileStamp(file), first);  // same bytes, new file: a reader must look again
}

// Several processes increment one counter under the lock; none may lose an update. The lock
// is either a lock file of its own or the counter file itself, which every round replaces.
void CountUnderLock(const std::string& dir, bool onTheFileItself) {
  const std::string lockPath = plat::joinPath(dir, "lock");
  const std::string counter = plat::joinPath(dir, "counter");
  ASSERT_TRUE(plat::writeFileAtomic(counter, "0"));
  constexpr int kChildren = 4, kRounds = 50;
  for (int c = 0; c < kChildren; ++c) {
    if (fork() == 0) {
      for (int r = 0; r < kRounds; ++r) {
        const plat::FileLock lock =
            onTheFileItself ? plat::FileLock::onReplacedFile(counter) : plat::FileLock(lockPath);
        if (!lock.locked()) _exit(2);
        std::string text;
        if (plat::readFile(counter, &text) != plat::FileStatus::Ok) _exit(3);
        if (!plat::writeFileAtomic(counter, std::to_string(std::stoi(text) + 1))) _exit(4);
      }
      _exit(0);
    }
  }
  for (int c = 0; c < kChildren; ++c) {
    int status = 0;
    wait(&status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::string text;
  ASSERT_EQ(plat::readFile(counter, &text), plat::FileStatus::Ok);
  EXPECT_EQ(text, std::to_string(kChildren * kRounds));
}

TEST(File, LockSerialisesProcesses) {
  CountUnderLock(ScratchDir("lock"), false);
  CountUnderLock(ScratchDir("lock_replaced"), true);
  EXPECT_FALSE(plat::fileExists(plat::joinPath(ScratchDir("lock_replaced"), "lock")));
}

TEST(File, LeftoversOfStoppedSavesGoWithTheNextSaveButNeverThoseOfASaveAtWork) {
  const std::string dir = ScratchDir("stale");
  const std::string file = plat::joinPath(dir, "settings");
  auto make = [&](const std::string& name, std::int64_t age) {
    const std::string path = plat::joinPath(dir, name);
    EXPECT_TRUE(plat::writeNewFile(path, "x"));
    const timespec when{static_cast<std::time_t>(std::time(nullptr) - age), 0};
    const timespec times[2] = {when, when};
    EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    return path;
  };
  const std::string gone = plat::tokensOfAnEndedProcess(1).at(0);
  const std::int64_t old = 2 * plat::kStaleTemporaryAge;
  const std::string stopped = make("settings.tmp" + gone, 0);                  // its maker has ended
  const std::string working = make("settings.tmp" + plat::uniqueToken(), old);  // a save at work, however old
  const std::string earlier = make("settings.tmp0123456789abcdef", old);         // no maker known, old
  const std::string recent = make("settings.tmpfedcba9876543210", 10);           // no maker known, recent
  const std::string other = make("other.tmp" + gone, 0);                         // another file's
  const std::string unlike = make("settings.tmp-notes", old);                    // no name a save makes
  ASSERT_TRUE(plat::writeFileAtomic(file, "new"));
  for (const std::string& removed : {stopped, earlier}) EXPECT_FALSE(plat::pathExists(removed)) << removed;
  for (const std::string& kept : {working, recent, other, unlike}) EXPECT_TRUE(plat::fileExists(kept)) << kept;

  // A new file never replaces one that is there.
  EXPECT_FALSE(plat::writeNewFile(file, "again"));
  std::string bytes;
  ASSERT_EQ(plat::readFile(file, &bytes), plat::FileStatus::Ok);
  EXPECT_EQ(bytes, "new");
}

TEST(File, TokensNameTheirMakerAndDifferInAForkedChild) {
  const std::string mine = plat::uniqueToken();
  EXPECT_TRUE(plat::isUniqueToken(mine));
  EXPECT_TRUE(plat::isUniqueToken("0123456789abcdef"));  // an earlier version's
  for (const char* bad : {"0123456789ABCDEF", "0123456789abcde", "0123456789abcdef-", "0123456789abcdef-1-2",
                          "0123456789abcdef-0123456g-1-2", "0123456789abcdef-01234567-0-2"})
    EXPECT_FALSE(plat::isUniqueToken(bad)) << bad;
  EXPECT_EQ(plat::tokenOwner(mine), plat::TokenOwner::Alive);
  EXPECT_EQ(plat::tokenOwner("0123456789abcdef"), plat::TokenOwner::Unknown);
  // Another boot's (or machine's) token says nothing of this machine's processes.
  std::string foreign = mine;
  foreign[17] = foreign[17] == '0' ? '1' : '0';
  EXPECT_EQ(plat::tokenOwner(foreign), plat::TokenOwner::Unknown);
  const std::vector<std::string> child = plat::tokensOfAnEndedProcess(2);
  ASSERT_EQ(child.size(), 2u);
  EXPECT_NE(child[0], child[1]);
  EXPECT_NE(child[0].substr(0, 16), mine.substr(0, 16));
  EXPECT_EQ(plat::tokenOwner(child[0]), plat::TokenOwner::Gone);
  EXPECT_TRUE(plat::isStaleTemporary(child[0], std::time(nullptr)));
  EXPECT_FALSE(plat::isStaleTemporary(mine, 0));
}

TEST(File, APendingFileTakesItsNameOnlyWhenCommittedAndLeavesNothingOtherwise) {
  const std::string dir = ScratchDir("pending");
  const std::string target = plat::joinPath(dir, "received");
  ASSERT_TRUE(plat::writeNewFile(target, "old"));
  {
    plat::PendingFile file;
    ASSERT_TRUE(file.create(dir, ".in-"));
    EXPECT_TRUE(plat::isUniqueToken(plat::pathFileName(file.temporaryPath()).substr(4)));
    EXPECT_TRUE(file.write("new "));
    EXPECT_TRUE(file.write("bytes"));
    std::string bytes;
    ASSERT_EQ(plat::readFile(target, &bytes), plat::FileStatus::Ok);
    EXPECT_EQ(bytes, "old");
    ASSERT_TRUE(file.commit(target));
    ASSERT_EQ(plat::readFile(target, &bytes), plat::FileStatus::Ok);
    EXPECT_EQ(bytes, "new bytes");
  }
  {
    plat::PendingFile file;
    ASSERT_TRUE(file.create(dir, ".in-"));
    EXPECT_TRUE(file.write("abandoned"));
  }
  EXPECT_EQ(plat::findFiles(dir, "*").size(), 1u);
  EXPECT_TRUE(plat::appendToFile(plat::joinPath(dir, "log"), "one\n"));
  EXPECT_TRUE(plat::appendToFile(plat::joinPath(dir, "log"), "two\n"));
  std::string log;
  ASSERT_EQ(plat::readFile(plat::joinPath(dir, "log"), &log), plat::FileStatus::Ok);
  EXPECT_EQ(log, "one\ntwo\n");
}

TEST(File, TwoPathsSwapInOneStepOrSayTheyCannot) {
  const std::string dir = ScratchDir("exchange");
  const std::string folder = plat::joinPath(dir, "folder"), file = plat::joinPath(dir, "file");
  ASSERT_TRUE(plat::makeDirectory(folder));
  ASSERT_TRUE(plat::writeNewFile(plat::joinPath(folder, "inner"), "in"));
  ASSERT_TRUE(plat::writeNewFile(file, "plain"));
  ASSERT_EQ(plat::exchangePaths(folder, file), plat::Exchange::Done);
  EXPECT_TRUE(plat::isRegularFile(folder));
  EXPECT_TRUE(plat::isRegularFile(plat::joinPath(file, "inner")));
  EXPECT_EQ(plat::exchangePaths(folder, plat::joinPath(dir, "missing")), plat::Exchange::Failed);
  plat::refuseExchangeForTesting(true);
  EXPECT_EQ(plat::exchangePaths(folder, file), plat::Exchange::Unsupported);
  plat::refuseExchangeForTesting(false);
  EXPECT_TRUE(plat::isRegularFile(folder));
}

}  // namespace
