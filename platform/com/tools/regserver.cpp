// regserver: registers the classes of in-process server modules into the registry, or removes
// them again (-u), as a system's server-registration tool does.
//
//   regserver [-u] [-s] MODULE...
//
// -s keeps quiet. Exit status: 0 when every module succeeded, 1 for bad arguments, 3 when a
// module cannot be loaded, 4 when it has no registration entry point, 5 when that entry point
// reports failure.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/com/library.h"

namespace {

using plat::ole::HResult;

int usage() {
  std::fprintf(stderr, "usage: regserver [-u] [-s] MODULE...\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool unregister = false, silent = false;
  std::vector<std::string> modules;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-u") == 0) unregister = true;
    else if (std::strcmp(argv[i], "-s") == 0) silent = true;
    else if (argv[i][0] == '-') return usage();
    else modules.emplace_back(argv[i]);
  }
  if (modules.empty()) return usage();

  const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  int status = 0;
  for (const std::string& name : modules) {
    const std::string path = plat::ole::resolveModulePath(name);
    void* module = nullptr;
    if (plat::ole::failed(plat::ole::loadModule(path, true, &module))) {
      if (!silent) std::fprintf(stderr, "%s could not be loaded.\n", path.c_str());
      status = 3;
      break;
    }
    auto* entry = reinterpret_cast<HResult (*)()>(plat::ole::moduleSymbol(module, entryName));
    if (!entry) {
      if (!silent) std::fprintf(stderr, "%s has no %s entry point.\n", path.c_str(), entryName);
      status = 4;
      break;
    }
    const HResult hr = entry();
    if (plat::ole::failed(hr)) {
      if (!silent) std::fprintf(stderr, "%s in %s failed: 0x%08X.\n", entryName, path.c_str(), unsigned(hr));
      status = 5;
      break;
    }
    if (!silent) std::printf("%s in %s succeeded.\n", entryName, path.c_str());
  }
  // Modules that are done shut down as they would at the end of any program.
  plat::ole::freeUnusedLibraries();
  return status;
}
