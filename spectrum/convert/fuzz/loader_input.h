#pragma once
// How the loader's fuzz target makes a file of its input: the first byte picks the extension
// of the file's name from the table below (modulo its size), the other bytes are the file.
// Seeds for it are made the same way from sample files (LoaderSeed).
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/base/path.h"
#include "platform/base/text.h"

namespace fuzz {

// The extensions the readers' files come with; only some readers look at them, but the loader
// hands every file to all of them.
inline constexpr std::string_view kLoaderExtensions[] = {
    "", ".dx", ".jdx", ".spc", ".esp", ".nmr", ".mrc", ".001", ".ms", ".spa", ".0", ".dat", ".hdr", ".gxp",
    ".gxd", ".txt", ".vxr", ".bin"};
inline constexpr std::size_t kLoaderExtensionCount = std::size(kLoaderExtensions);

inline std::string_view LoaderExtension(unsigned char first) { return kLoaderExtensions[first % kLoaderExtensionCount]; }

// The input that makes the file name with bytes; empty when name's extension is none of the table.
inline std::string LoaderSeed(std::string_view name, std::string_view bytes) {
  const std::string_view ext = plat::pathExtension(name);
  for (std::size_t i = 0; i < kLoaderExtensionCount; ++i) {
    if (plat::equalsNoCase(ext, kLoaderExtensions[i])) return static_cast<char>(i) + std::string(bytes);
  }
  return {};
}

}  // namespace fuzz
