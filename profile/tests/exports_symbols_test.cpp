// libdorlin.so exports the 22 profile functions and nothing else, so every other symbol (and
// every bit of process-wide state) stays private to the library.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "profile/profile.h"

namespace {

// The shared library as the build made it (the tests themselves link the library's code
// statically).
std::string libraryPath() { return DORLIN_LIBRARY_PATH; }

TEST(DorlinExports, ExactlyTheProfileFunctions) {
  const std::string path = libraryPath();
  ASSERT_FALSE(path.empty());
  ASSERT_NE(std::string::npos, path.find("libdorlin.so"));
  const std::string command = "nm -D --defined-only '" + path + "' 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) GTEST_SKIP() << "nm not available";
  std::set<std::string> functions;
  std::set<std::string> others;
  char line[512];
  while (std::fgets(line, sizeof(line), pipe)) {
    char address[128], kind[8], name[384];
    if (std::sscanf(line, "%127s %7s %383s", address, kind, name) != 3) continue;
    const std::string symbol = name;
    // Linker-made markers of the image's layout are no exports of ours.
    if (symbol == "_init" || symbol == "_fini" || symbol == "_edata" || symbol == "_end" || symbol == "__bss_start")
      continue;
    (std::string(kind) == "T" ? functions : others).insert(symbol);
  }
  const int status = ::pclose(pipe);
  if (status != 0 && functions.empty()) GTEST_SKIP() << "nm failed";

  const std::set<std::string> expected = {
      "OrvCloseProfSection", "OrvCreateProfSection", "OrvDeleteProfSection", "OrvDeleteProfValue",
      "OrvEnumProfSection",  "OrvEnumProfValue",     "OrvGetProfBinary",     "OrvGetProfCString",
      "OrvGetProfDWord",     "OrvGetProfInt",        "OrvGetProfSections",   "OrvGetProfString",
      "OrvGetProfValue",     "OrvGetProfValues",     "OrvOpenProfSection",   "OrvSetIniCacheMode",
      "OrvSetIniTypeControl", "OrvSetProfBinary",    "OrvSetProfDWord",      "OrvSetProfInt",
      "OrvSetProfString",    "OrvSetProfValue",
  };
  EXPECT_EQ(expected, functions);
  EXPECT_TRUE(others.empty()) << "unexpected exported data: " << *others.begin();
}

}  // namespace
