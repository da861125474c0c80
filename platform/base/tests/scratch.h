#pragma once
// A folder of the test's own below its scratch folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/base/file.h"
#include "platform/base/path.h"

namespace plat_test {

inline std::string ScratchDir(const char* name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = plat::joinPath(scratch ? scratch : "/tmp", name);
  EXPECT_TRUE(plat::makeDirectories(dir));
  return dir;
}

}  // namespace plat_test
