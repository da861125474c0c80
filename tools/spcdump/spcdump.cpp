// spcdump: loads one spectrum the way the spectrum control does and prints what was read.
//
//   spcdump [--index N] [--points K] PATH
//
// Exit status 0 when the spectrum loaded, else 1 with one line on stderr.
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "spectrum/convert/spcconvert.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "spcdump: %s\n", message.c_str());
  return 1;
}

void PrintPoints(const char* tag, const std::vector<CSpcPoint>& points, std::int64_t k) {
  for (std::int64_t i = 0; i < k && i < static_cast<std::int64_t>(points.size()); ++i) {
    const CSpcPoint& p = points[static_cast<std::size_t>(i)];
    std::printf("%s: %lld %s %s\n", tag, static_cast<long long>(i), plat::formatDouble(p.re, 'g', 9).c_str(),
                plat::formatDouble(p.im, 'g', 9).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::int64_t index = 0, points = 0;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "--index" || arg == "--points") && i + 1 < argc) {
      std::int64_t value = 0;
      if (!plat::parseInt(argv[++i], &value) || value < 0) return Fail("bad number for " + std::string(arg));
      (arg == "--index" ? index : points) = value;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return Fail("unknown option " + std::string(arg));
    } else if (path.empty()) {
      path = arg;
    } else {
      return Fail("more than one path");
    }
  }
  if (path.empty()) return Fail("usage: spcdump [--index N] [--points K] PATH");

  std::string format, kinds;
  std::int64_t count = 0;
  {
    COrvFile file(path);
    if (file.m_dwAttributes == kOrvAttrInvalid) return Fail("cannot open " + path);
    if (!SpcIdentifyFile(file, &format, &kinds)) return Fail("format not recognised: " + path);
    count = SpcCountSpectra(file);
  }
  std::printf("format: %s\nkinds: %s\ncount: %lld\n", format.c_str(), kinds.c_str(), static_cast<long long>(count));

  CSpcData data;
  std::string reader;
  SpcFailure why;
  switch (SpcLoadSpectrum(path, index, &data, &reader, &why)) {
    case SpcLoadResult::NotFound:
      return Fail("no spectrum " + std::to_string(index) + " in " + path);
    case SpcLoadResult::ReadFailed:
      return Fail(reader + " file loading error: corrupted file or unsupported format" +
                  (why.empty() ? std::string() : " (" + why.Describe() + ")"));
    case SpcLoadResult::TooLarge:
      return Fail(reader + " file too large to read: " + why.Describe());
    case SpcLoadResult::Partial:
      std::fprintf(stderr, "spcdump: not read whole: %s\n", why.Describe().c_str());
      break;
    case SpcLoadResult::Loaded:
      break;
  }
  const SpcKindRow* row = SpcFindKind(data.nKind);
  const std::string kindName = row ? plat::toUtf8(row->name) : "?";
  std::printf("kind: %s\n", kindName.c_str());
  for (const CSpcParam& p : data.params) std::printf("param: %s = %s\n", p.name.c_str(), p.value.GetString().c_str());
  std::printf("fid: %zu\nspectrum: %zu\nscans: %zu\n", data.fid().size(), data.spectrum().size(), data.scans.size());
  PrintPoints("fidpoint", data.fid(), points);
  PrintPoints("specpoint", data.spectrum(), points);
  return 0;
}
