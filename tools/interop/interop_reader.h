#pragma once
// Runs an independent reader (another program) over a file we wrote, for the interop tests.
// A reader that is not installed makes the test skip with the package that brings it; CI
// installs them all (scripts/setup).
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace interop {

// The folder of the readers' scripts (build/interop, copied there by CMake) and of the npm
// packages that scripts/interop-readers installs beside them.
inline std::string ReaderDir() { return KEDRUS_INTEROP_DIR; }

inline std::string Quote(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline bool HasCommand(std::string_view command) {
  return std::system(("command -v " + Quote(command) + " >/dev/null 2>&1").c_str()) == 0;
}

// True when the npm package is installed in ReaderDir() and node runs.
inline bool HasNodePackage(std::string_view package) {
  return HasCommand("node") &&
         std::system(("test -f " + Quote(ReaderDir() + "/node_modules/" + std::string(package) + "/package.json")).c_str()) == 0;
}

// Runs the command line with its standard output to outPath and its errors to outPath.err;
// answers the exit status (0 for success).
inline int Run(const std::string& command, const std::string& outPath) {
  const int status = std::system((command + " >" + Quote(outPath) + " 2>" + Quote(outPath + ".err")).c_str());
  return status == -1 ? -1 : WEXITSTATUS(status);
}

}  // namespace interop
