#pragma once
// Scratch files for converter tests.
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/base/file.h"
#include "platform/base/numtext.h"
#include "platform/base/path.h"
#include "spectrum/convert/fuzz/loader_input.h"

namespace convert_test {

// With KEDRUS_FUZZ_SEEDS set to a folder, every sample file a test writes is kept there as a
// seed of the fuzz targets: as the file itself in files/ and as the loader target's input in
// loader/, named after its bytes.
inline void KeepAsFuzzSeed(std::string_view name, std::string_view bytes) {
  const char* seeds = std::getenv("KEDRUS_FUZZ_SEEDS");
  constexpr std::size_t kMaxSeedBytes = 64 * 1024;
  if (!seeds || !*seeds || bytes.empty() || bytes.size() > kMaxSeedBytes) return;
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  const std::string id = plat::formatInt(static_cast<std::int64_t>(hash >> 1));
  const std::string files = plat::joinPath(seeds, "files"), loader = plat::joinPath(seeds, "loader");
  plat::makeDirectories(files);
  plat::makeDirectories(loader);
  plat::writeFileAtomic(plat::joinPath(files, id + std::string(plat::pathExtension(name))), bytes);
  const std::string input = fuzz::LoaderSeed(name, bytes);
  if (!input.empty()) plat::writeFileAtomic(plat::joinPath(loader, id), input);
}

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
  KeepAsFuzzSeed(name, bytes);
  return path;
}

inline std::string ReadAll(const std::string& path) {
  std::string bytes;
  plat::readFile(path, &bytes);
  return bytes;
}

}  // namespace convert_test
