// libdorlin.so exports the 22 profile functions and nothing else, so every other symbol (and
// every bit of process-wide state) stays private to the library.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/base/tests/dynamic_symbols.h"

namespace {

// The shared library as the build made it (the tests themselves link the library's code
// statically).
std::string libraryPath() { return DORLIN_LIBRARY_PATH; }

TEST(DorlinExports, ExactlyTheProfileFunctions) {
  const std::string path = libraryPath();
  ASSERT_NE(std::string::npos, path.find("libdorlin.so"));
  const auto symbols = plat_test::DynamicSymbols(path, true);
  if (!symbols) GTEST_SKIP() << "nm not available";
  std::set<std::string> functions;
  std::set<std::string> others;
  for (const auto& [name, kind] : *symbols) (kind == "T" ? functions : others).insert(name);

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
