#include "platform/base/file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/base/path.h"

namespace {

std::string scratchDir(const char* name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = plat::joinPath(scratch ? scratch : "/tmp", name);
  EXPECT_TRUE(plat::makeDirectories(dir));
  return dir;
}

TEST(File, AtomicReplaceKeepsTheOldFileWhenTheWriteFails) {
  const std::string dir = scratchDir("atomic");
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
  const std::string dir = scratchDir("read");
  std::string bytes = "untouched";
  EXPECT_EQ(plat::readFile(plat::joinPath(dir, "none"), &bytes), plat::FileStatus::NotFound);
  EXPECT_EQ(bytes, "untouched");
  const std::string file = plat::joinPath(dir, "big");
  ASSERT_TRUE(plat::writeFileAtomic(file, std::string(100, 'x')));
  EXPECT_EQ(plat::readFile(file, &bytes, 99), plat::FileStatus::TooLarge);
  EXPECT_EQ(plat::readFile(dir, &bytes), plat::FileStatus::IoError);
}

TEST(File, StampChangesWhenTheFileIsReplaced) {
  const std::string dir = scratchDir("stamp");
  const std::string file = plat::joinPath(dir, "f");
  EXPECT_FALSE(plat::fileStamp(file).exists);
  ASSERT_TRUE(plat::writeFileAtomic(file, "a"));
  const plat::FileStamp first = plat::fileStamp(file);
  ASSERT_TRUE(plat::writeFileAtomic(file, "a"));
  EXPECT_NE(plat::fileStamp(file), first);  // same bytes, new file: a reader must look again
}

TEST(File, LockSerialisesProcesses) {
  const std::string dir = scratchDir("lock");
  const std::string lockPath = plat::joinPath(dir, "lock");
  const std::string counter = plat::joinPath(dir, "counter");
  ASSERT_TRUE(plat::writeFileAtomic(counter, "0"));
  // Several processes increment one counter under the lock; none may lose an update.
  constexpr int kChildren = 4, kRounds = 50;
  for (int c = 0; c < kChildren; ++c) {
    if (fork() == 0) {
      for (int r = 0; r < kRounds; ++r) {
        plat::FileLock lock(lockPath);
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

}  // namespace
