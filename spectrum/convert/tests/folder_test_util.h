#pragma once
// Helpers of the spectrum folder tests: fresh folders, hand-made files, records to save.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/convert/spcfolder.h"
#include "spectrum/data/spcprocess.h"
#include "test_files.h"

namespace folder_test {

// An empty path below the scratch folder (removed first); the folder itself is not made.
inline std::string FreshPath(std::string_view name) {
  const std::string path = plat::joinPath(convert_test::ScratchDir("folder"), name);
  plat::removeTree(path);
  return path;
}

inline std::string FreshFolder(std::string_view name) {
  const std::string path = FreshPath(name);
  plat::makeDirectories(path);
  return path;
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) { return plat::fileExists(path); }

// Little-endian bytes of 32-bit values, built byte by byte.
inline void AppendLe(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void AppendFloat(std::string& out, float f) {
  std::uint32_t v;
  std::memcpy(&v, &f, 4);
  AppendLe(out, v);
}

inline CSpcParam Param(std::string name, const CVariant& value) {
  CSpcParam p;
  p.name = std::move(name);
  p.value = value;
  return p;
}
inline CVariant Long(std::int32_t v) {
  CVariant x;
  x.SetLong(v);
  return x;
}
inline CVariant Double(double v) {
  CVariant x;
  x.SetDouble(v);
  return x;
}
inline CVariant Text(std::string_view t) {
  CVariant x;
  x.SetString(t);
  return x;
}

// A record of one kind with a processing state set up from its parameters.
struct Spectrum {
  CSpcData data;
  CSpcProcess process{&data};

  explicit Spectrum(std::int32_t kind) { data.nKind = kind; }
  void SetUp() {
    process.InitFromParams();
    process.SelectData();
  }
};

// Points whose values differ everywhere, so any shift or loss shows.
inline std::vector<CSpcPoint> Ramp(std::size_t n, float scale = 1.0f) {
  std::vector<CSpcPoint> points(n);
  for (std::size_t i = 0; i < n; ++i) points[i] = {scale * (0.5f + i), -scale * (1.25f * i)};
  return points;
}

// Loads spectrum k of path through the kind table.
inline bool Load(const std::string& path, std::int64_t k, CSpcData* data) {
  return SpcLoadSpectrum(path, k, data) == SpcLoadResult::Loaded;
}

inline std::int64_t CountSpectra(const std::string& path) {
  COrvFile file(path);
  return SpcCountSpectra(file);
}

}  // namespace folder_test
