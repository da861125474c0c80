#pragma once
// Scratch files for converter tests.
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/base/file.h"
#include "platform/base/path.h"

namespace convert_test {

// A folder of its own below the test scratch folder.
inline std::string ScratchDir(std::string_view name) {
  const char* root = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string base = root && *root ? root : "/tmp/kedrus_convert_scratch";
  const std::string dir = plat::joinPath(base, name);
  plat::makeDirectories(dir);
  return dir;
}

inline std::string WriteScratch(std::string_view name, std::string_view bytes) {
  const std::string path = plat::joinPath(ScratchDir("files"), name);
  plat::writeFileAtomic(path, bytes);
  return path;
}

inline std::string ReadAll(const std::string& path) {
  std::string bytes;
  plat::readFile(path, &bytes);
  return bytes;
}

}  // namespace convert_test
