// libnelvar.so as it is loaded: it takes the profile functions from libdorlin.so, exports its
// COM entry points and nothing else, registers its classes and type library into a sandbox
// registry as the expected dump gives them, and removes them (and its "Start") again.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/base/tests/dynamic_symbols.h"
#include "platform/base/text.h"
#include "platform/com/library.h"
#include "platform/registry/registry.h"
#include "platform/registry/registry_testing.h"

namespace {

using namespace plat;

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
  std::string exports;
  // Lower-case kinds are local symbols that nm lists from the dynamic table; they bind nothing.
  for (const auto& [name, kind] : *defined)
    if (!kind.empty() && std::isupper(static_cast<unsigned char>(kind[0]))) exports += name + " ";
  EXPECT_EQ(exports,
            "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer KedrusGetTypeLib "
            "KedrusModuleStart KedrusModuleStop ");
  EXPECT_EQ(imported->count("OrvOpenProfSection"), 1u);
}

// Every key below root and its values, one line each, in enumeration order.
void DumpKey(reg::Key key, const std::string& path, std::string* out) {
  for (std::uint32_t i = 0;; ++i) {
    std::u16string name;
    reg::ValueType type{};
    std::uint32_t size = 0;
    if (reg::enumValue(key, i, &name, &type, &size) != reg::Status::Success) break;
    std::u16string data(size / 2 + 1, u'\0');
    std::uint32_t bytes = size;
    reg::queryValue(key, name, nullptr, data.data(), &bytes);
    *out += path + " | " + (name.empty() ? "(default)" : toUtf8(name)) + " = " + toUtf8(data.c_str()) + "\n";
  }
  for (std::uint32_t i = 0;; ++i) {
    std::u16string name;
    if (reg::enumKey(key, i, &name) != reg::Status::Success) break;
    reg::Key sub = reg::kNoKey;
    ASSERT_EQ(reg::openKey(key, name, reg::kRead, &sub), reg::Status::Success);
    const std::string subPath = path.empty() ? toUtf8(name) : path + "\\" + toUtf8(name);
    *out += subPath + "\n";
    DumpKey(sub, subPath, out);
    reg::closeKey(sub);
  }
}

std::string DumpClasses() {
  plat::reg::resetForTesting();  // read what the module wrote through its own handles
  std::string dump;
  DumpKey(reg::kClassesRoot, "", &dump);
  // The module's file and folder are where the build put them.
  const std::string module = NELVAR_LIBRARY_PATH;
  const std::string folder = module.substr(0, module.rfind('/'));
  for (const auto& [from, to] : {std::pair{module, std::string("<module>")}, std::pair{folder, std::string("<dir>")}})
    for (std::size_t at; (at = dump.find(from)) != std::string::npos;) dump.replace(at, from.size(), to);
  return dump;
}

bool HasStart() {
  reg::Key key = reg::kNoKey;
  if (reg::openKey(reg::kCurrentUser, u"Software\\Orvane\\KEDRUS Lite\\2.0\\nelvar", reg::kRead, &key) !=
      reg::Status::Success)
    return false;
  const bool has = reg::queryValue(key, u"Start", nullptr, nullptr, nullptr) == reg::Status::Success;
  reg::closeKey(key);
  return has;
}

using Entry = ole::HResult (*)();

TEST(NelvarModule, RegistersItsClassesAndRemovesThemWithItsStart) {
  void* module = nullptr;
  ASSERT_EQ(ole::loadModule(NELVAR_LIBRARY_PATH, true, &module), ole::S_OK);
  auto reg = reinterpret_cast<Entry>(ole::moduleSymbol(module, "DllRegisterServer"));
  auto unreg = reinterpret_cast<Entry>(ole::moduleSymbol(module, "DllUnregisterServer"));
  ASSERT_TRUE(reg && unreg);
  ASSERT_EQ(reg(), ole::S_OK);

  const std::string dump = DumpClasses();
  if (std::getenv("KEDRUS_UPDATE_EXPECTED")) std::ofstream(NELVAR_EXPECTED_REGISTRATION) << dump;
  std::ifstream file(NELVAR_EXPECTED_REGISTRATION);
  std::stringstream expected;
  expected << file.rdbuf();
  EXPECT_EQ(dump, expected.str()) << dump;
  EXPECT_TRUE(HasStart());
  // The module's first start took the defaults it ships beside it: mass-peak labels belong to
  // mass spectra, every other kind starts without them in both views.
  for (const char16_t* kind : {u"NMR", u"IR", u"UV", u"CH", u"TIC", u"NMR 2D"})
    for (const char16_t* set : {u"0", u"1"}) {
      std::uint32_t enabled = 7, size = 4;
      reg::Key key = reg::kNoKey;
      const std::u16string path =
          std::u16string(u"Software\\Orvane\\KEDRUS Lite\\2.0\\nelvar\\") + kind + u"\\Properties " + set;
      ASSERT_EQ(reg::openKey(reg::kCurrentUser, path, reg::kRead, &key), reg::Status::Success) << plat::toUtf8(path);
      EXPECT_EQ(reg::queryValue(key, u"MPeaksEnable", nullptr, &enabled, &size), reg::Status::Success);
      EXPECT_EQ(enabled, 0u);
      reg::closeKey(key);
    }
  reg::Key mass = reg::kNoKey;
  EXPECT_NE(reg::openKey(reg::kCurrentUser, u"Software\\Orvane\\KEDRUS Lite\\2.0\\nelvar\\MASS", reg::kRead, &mass),
            reg::Status::Success);

  ASSERT_EQ(unreg(), ole::S_OK);
  const std::string after = DumpClasses();
  for (const char* gone : {"38BD0B4F", "NELVAR", "9E147B6C", "F362C320", "DFD88AFB", "473D1ED4"})
    EXPECT_EQ(after.find(gone), std::string::npos) << gone << " left in\n" << after;
  EXPECT_FALSE(HasStart());
}

}  // namespace
