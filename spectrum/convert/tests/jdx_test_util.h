#pragma once
// Records and processing states for the JCAMP-DX and ASCII converter tests.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"
#include "test_files.h"

namespace convert_test {

inline CVariant Num(double v) {
  CVariant x;
  x.SetDouble(v);
  return x;
}

inline CVariant Text(std::string_view v) {
  CVariant x;
  x.SetString(v);
  return x;
}

inline void AddParam(CSpcData& data, std::string_view name, const CVariant& value) {
  CSpcParam p;
  p.name = name;
  p.value = value;
  data.params.Append(p);
}

// A record with its processing state set up as the loader does it.
struct Loaded {
  CSpcData data;
  std::unique_ptr<CSpcProcess> process;
  void Setup(std::int32_t kind) {
    data.nKind = kind;
    process = std::make_unique<CSpcProcess>(&data);
    process->InitFromParams();
    process->SelectData();
  }
};

// Reads the file through the converter, then sets up the processing state.
inline bool LoadWith(CSpcConvert& conv, const std::string& path, std::int32_t kind, Loaded* out) {
  out->data.Reset();
  if (!conv.Read(path, &out->data, 0)) return false;
  out->Setup(kind);
  return true;
}

inline std::string ScratchPath(std::string_view name) { return plat::joinPath(ScratchDir("jdx"), name); }

// The lines of a text.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t p = 0;
  while (p < text.size()) {
    std::size_t e = text.find('\n', p);
    if (e == std::string::npos) e = text.size();
    std::string line = text.substr(p, e - p);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    p = e + 1;
  }
  return lines;
}

}  // namespace convert_test
