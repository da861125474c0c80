// libnelvar.so loads on its own, exports nothing of the code it holds, and takes the profile
// functions from libdorlin.so instead of carrying a second copy of the profile store's state.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/base/tests/dynamic_symbols.h"

namespace {

TEST(NelvarModule, LoadsAndSharesTheProfileStore) {
  // Every symbol must resolve at once, libdorlin.so found beside the module.
  void* nelvar = ::dlopen(NELVAR_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(nelvar, nullptr) << ::dlerror();
  void* dorlin = ::dlopen(DORLIN_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
  ASSERT_NE(dorlin, nullptr) << "libdorlin.so was not loaded with libnelvar.so";
  EXPECT_EQ(::dlsym(nelvar, "OrvOpenProfSection"), ::dlsym(dorlin, "OrvOpenProfSection"));
  // Both stay loaded: the profile store keeps its process-wide state until the process ends.

  const auto defined = plat_test::DynamicSymbols(NELVAR_LIBRARY_PATH, true);
  const auto imported = plat_test::DynamicSymbols(NELVAR_LIBRARY_PATH, false);
  if (!defined || !imported) GTEST_SKIP() << "nm not available";
  EXPECT_TRUE(defined->empty()) << "unexpected export: " << defined->begin()->first;
  EXPECT_EQ(imported->count("OrvOpenProfSection"), 1u);
  EXPECT_EQ(imported->count("OrvSetProfValue"), 1u);
}

}  // namespace
