#pragma once
// The dynamic symbols of a module's file as nm lists them, for tests of what a deliverable
// exports and imports.
#include <cstdio>
#include <map>
#include <optional>
#include <string>

namespace plat_test {

// Symbol name to nm's kind letter ("T" a function, "U" an import, ...): the symbols the module
// defines (defined) or the ones it takes from other modules. The linker's markers of the image's
// layout are left out. None when nm cannot be run.
inline std::optional<std::map<std::string, std::string>> DynamicSymbols(const std::string& path, bool defined) {
  const std::string command =
      "nm -D " + std::string(defined ? "--defined-only" : "--undefined-only") + " '" + path + "' 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::map<std::string, std::string> symbols;
  char line[512];
  while (std::fgets(line, sizeof(line), pipe)) {
    char first[128] = {}, second[128] = {}, third[384] = {};
    const int n = std::sscanf(line, "%127s %127s %383s", first, second, third);
    // Defined symbols come as "address kind name", imports as "kind name".
    const std::string kind = n == 3 ? second : first;
    const std::string name = n == 3 ? third : second;
    if (n < 2 || name == "_init" || name == "_fini" || name == "_edata" || name == "_end" || name == "__bss_start")
      continue;
    symbols[name] = kind;
  }
  const int status = ::pclose(pipe);
  if (status != 0 && symbols.empty()) return std::nullopt;
  return symbols;
}

}  // namespace plat_test
