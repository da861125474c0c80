// libFuzzer target: arbitrary bytes through the generic loader over every converter, as the
// spectrum control opens a file: identify it, count its spectra, load the first of them. The
// first byte of the input picks the file name's extension (loader_input.h).
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/base/file.h"
#include "spectrum/convert/fuzz/loader_input.h"
#include "spectrum/convert/spcconvert.h"

namespace {

// A folder of this run's own, so readers that look for companion files find none of another's.
const std::string& RunFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/kedrus_loader_fuzz_XXXXXX";
    const char* made = ::mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
  }();
  return folder;
}

constexpr std::int64_t kSpectraLoaded = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string path = RunFolder() + "/input" + std::string(fuzz::LoaderExtension(data[0]));
  // Written plainly: a flushed, atomic write per input would slow the run to a crawl.
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  const bool written = std::fwrite(data + 1, 1, size - 1, f) == size - 1;
  if (std::fclose(f) != 0 || !written) return 0;
  std::int64_t count = 0;
  {
    COrvFile file(path);
    std::string format, kinds;
    SpcIdentifyFile(file, &format, &kinds);
    count = SpcCountSpectra(file);
  }
  for (std::int64_t k = 0; k < std::min(count, kSpectraLoaded); ++k) {
    CSpcData record;
    SpcLoadSpectrum(path, k, &record);
  }
  plat::removeFile(path);
  return 0;
}
