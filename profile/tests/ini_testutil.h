#pragma once
// Helpers shared by the INI store tests: a scratch folder per test and whole-file access.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

namespace initest {

inline std::string scratchDir() {
  const char* base = std::getenv("KEDRUS_TEST_SCRATCH");
  std::string root = base && *base ? base : "/tmp/kedrus-ini-tests-" + std::to_string(::getpid());
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string dir = plat::joinPath(root, std::string(info->test_suite_name()) + "." + info->name());
  plat::makeDirectories(dir);
  return dir;
}

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::u16string u16(const std::string& utf8) { return plat::toUtf16(utf8); }

// Makes every write that grows a file past limit bytes fail (EFBIG), until destroyed.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lim = old_;
    lim.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &lim);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};

}  // namespace initest
