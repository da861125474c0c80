// spcproc: loads one spectrum, runs processing operations on it the way the spectrum control's
// commands do, and saves the result in any writable format of its kind.
//
//   spcproc [--index N] PATH [--op OPERATION]... [--save FORMAT OUT [--option K]]...
//
// Operations: em, gm, ft, ift, ht, quickphase, autophase, baseline.
// FORMAT is a format name of the spectrum's kind ("JCAMP-DX", "KEDRUS", "ASCII", ...).
// Exit status 0 when every step succeeded, else 1 with one line on stderr.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/numtext.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "spcproc: %s\n", message.c_str());
  return 1;
}

bool RunOperation(CSpcProcess& process, std::string_view op) {
  if (op == "em") return process.ExpMultiply();
  if (op == "gm") return process.GaussMultiply();
  if (op == "ft") return process.FourierTransform(0) != 0;
  if (op == "ift") return process.InverseTransform(0) != 0;
  if (op == "ht") return process.HilbertTransform() != 0;
  if (op == "quickphase") return process.QuickPhase() != 0;
  if (op == "autophase") return process.AutoPhase() != 0;
  if (op == "baseline") {
    if (!process.AutoSelectBaselinePoints()) return false;
    process.SetBaselineCorrection(true);
    return !process.m_baseline.empty();
  }
  return false;
}

// The index of the format of the record's kind that bears this name, -1 when there is none.
std::int32_t FindFormat(std::int32_t kindId, std::string_view name) {
  const SpcKindRow* row = SpcFindKind(kindId);
  if (!row) return -1;
  for (std::uint32_t i = 0; i < row->kind->GetFormatCount(); ++i) {
    std::string formatName;
    if (auto leaf = row->kind->CreateFormat(static_cast<std::int32_t>(i))) {
      leaf->GetFormatName(formatName);
      if (formatName == name) return static_cast<std::int32_t>(i);
    }
  }
  return -1;
}

struct SaveRequest {
  std::string format;
  std::string path;
  std::int32_t option = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::int64_t index = 0;
  std::string path;
  std::vector<std::string> operations;
  std::vector<SaveRequest> saves;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--index" && i + 1 < argc) {
      if (!plat::parseInt(argv[++i], &index) || index < 0) return Fail("bad spectrum index");
    } else if (arg == "--op" && i + 1 < argc) {
      operations.emplace_back(argv[++i]);
    } else if (arg == "--save" && i + 2 < argc) {
      saves.push_back({argv[i + 1], argv[i + 2], 0});
      i += 2;
    } else if (arg == "--option" && i + 1 < argc && !saves.empty()) {
      if (!plat::parseInt32(argv[++i], &saves.back().option) || saves.back().option < 0)
        return Fail("bad save option");
    } else if (!arg.empty() && arg[0] == '-') {
      return Fail("unknown or incomplete option " + std::string(arg));
    } else if (path.empty()) {
      path = arg;
    } else {
      return Fail("more than one path");
    }
  }
  if (path.empty()) return Fail("usage: spcproc [--index N] PATH [--op OPERATION]... [--save FORMAT OUT [--option K]]...");

  CSpcData data;
  CSpcProcess process(&data);
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
      std::fprintf(stderr, "spcproc: not read whole: %s\n", why.Describe().c_str());
      break;
    case SpcLoadResult::Loaded:
      break;
  }
  // What the control does after every load.
  process.InitFromParams();
  process.SelectData();
  std::printf("loaded: %s (fid %zu, spectrum %zu points)\n", path.c_str(), data.fid().size(), data.spectrum().size());

  for (const std::string& op : operations) {
    if (!RunOperation(process, op)) return Fail("operation " + op + " failed");
    std::printf("op: %s (PH0 %s, PH1 %s)\n", op.c_str(), plat::formatDouble(process.m_fPH0, 'f', 2).c_str(),
                plat::formatDouble(process.m_fPH1, 'f', 2).c_str());
  }

  for (const SaveRequest& save : saves) {
    const std::int32_t format = FindFormat(data.nKind, save.format);
    if (format < 0) return Fail("no format " + save.format + " for this kind of spectrum");
    if (!SpcSaveSpectrum(save.path, &process, format, save.option, 0))
      return Fail("saving " + save.path + " as " + save.format + " failed");
    std::printf("saved: %s as %s\n", save.path.c_str(), save.format.c_str());
  }
  return 0;
}
