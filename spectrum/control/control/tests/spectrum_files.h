#pragma once
// Spectrum files for the control's loading, saving, import and export tests, made with the
// converter tests' JCAMP-DX builder (files as other programs write them), in the test's
// scratch folder.
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "spectrum/convert/tests/jdx_text.h"

namespace nelvar_test {

// A fresh folder below the scratch folder.
inline std::string ScratchFolder(std::string_view name) {
  const char* root = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = plat::joinPath(root && *root ? root : "/tmp/nelvar_control_scratch", name);
  plat::makeDirectories(dir);
  return dir;
}

inline std::string WriteFile(const std::string& dir, std::string_view name, const std::string& bytes) {
  const std::string path = plat::joinPath(dir, name);
  plat::writeFileAtomic(path, bytes);
  return path;
}

// One plain XYDATA block of the data type: the ordinates 10, 20, ... n * 10 (plus offset).
inline std::string XyBlock(std::string_view dataType, std::size_t n, long long offset = 0) {
  std::vector<long long> ys;
  for (std::size_t i = 0; i < n; ++i) ys.push_back(static_cast<long long>(10 * (i + 1)) + offset);
  return convert_test::XyFile(dataType, 100.0, 100.0 + static_cast<double>(n - 1), n,
                              convert_test::XyLines(ys, 100.0, 100.0 + static_cast<double>(n - 1), 8, false));
}

// A compound JCAMP-DX file of three spectra: a mass spectrum, an infrared and a UV one (in
// that order when the kinds are walked), of 4, 6 and 8 points.
inline std::string ThreeSpectraFile() {
  return "##TITLE= three spectra\r\n##JCAMP-DX= 5.01\r\n##DATA TYPE= LINK\r\n##BLOCKS= 3\r\n" +
         XyBlock("INFRARED SPECTRUM", 6) + XyBlock("UV/VIS SPECTRUM", 8, 5) + XyBlock("MASS SPECTRUM", 4, 1) +
         "##END=\r\n";
}

// An infrared JCAMP-DX file whose labels promise 5 points and whose table holds none.
inline std::string TablelessFile() { return convert_test::XyFile("INFRARED SPECTRUM", 100.0, 104.0, 5, ""); }

}  // namespace nelvar_test
