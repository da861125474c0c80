#include "platform/base/memory.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kBlock = std::size_t(48) << 20;

long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// Through a pointer the compiler cannot see through, so that the blocks are really made and
// touched.
void* (*volatile touch)(void*, int, std::size_t) = std::memset;
void* (*volatile take)(std::size_t) = std::malloc;
void (*volatile give)(void*) = std::free;

// In a child of its own (the setting is the whole process's): the pages first touched when a
// large block is made, freed and made again; -1 when a block could not be had.
long faultsRetakingBlock() {
  const pid_t child = fork();
  if (child == 0) {
    plat::reuseLargeBlocks();
    void* first = take(kBlock);
    if (!first) _exit(255);
    touch(first, 1, kBlock);
    give(first);
    const long before = minorFaults();
    void* again = take(kBlock);
    if (!again) _exit(255);
    touch(again, 2, kBlock);
    const long pages = minorFaults() - before;
    give(again);
    // In eighths of the block's pages, so that the count fits the exit status.
    _exit(static_cast<int>(std::min<long>(254, pages * 8 / long(kBlock / sysconf(_SC_PAGESIZE)))));
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

TEST(ReuseLargeBlocks, ABlockFreedAndMadeAgainTakesThePagesItHad) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizer's allocator stands in for the C library's (freed blocks wait in quarantine)";
#endif
  const long eighths = faultsRetakingBlock();
  ASSERT_GE(eighths, 0);
  // Mapped afresh, every page of the block would be cleared again on first touch (8 eighths).
  EXPECT_EQ(eighths, 0);
}
