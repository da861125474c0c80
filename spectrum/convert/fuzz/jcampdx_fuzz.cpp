// libFuzzer target: arbitrary bytes through JCAMP-DX detection and reading.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "spectrum/convert/jcampdx.h"

namespace {

class TableReader : public CJcampDx {
 public:
  bool OnBlock(COrvFile& file, JcampVariableList& vars, std::int32_t page, CSpcData*) override {
    PointMap points;
    return ReadXYData(file, &points, vars, page);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/kedrus_jcampdx_fuzz_" + std::to_string(::getpid()) + ".dx";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  {
    COrvFile file(path);
    CJcampDx::IsJcampFile(file, {"INFRARED SPECTRUM", "NMR SPECTRUM"});
  }
  TableReader reader;
  CSpcData record;
  reader.ReadFile(path, &record, nullptr);
  const std::vector<std::string> types = {"NMR SPECTRUM"};
  reader.ReadFile(path, &record, &types);
  return 0;
}
