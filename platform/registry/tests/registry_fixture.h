#pragma once
// A fresh, empty registry directory for each test, and small helpers around the API.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <string>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/registry/registry.h"
#include "platform/registry/registry_testing.h"

namespace regtest {

using namespace plat::reg;

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
    const std::string base = scratch && *scratch ? scratch : "/tmp";
    ASSERT_TRUE(plat::makeDirectories(base));
    std::string pattern = plat::joinPath(base, "registry-XXXXXX");
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = plat::joinPath(pattern, "registry");  // not there yet: the first write makes it
    ::setenv("KEDRUS_REGISTRY_DIR", dir_.c_str(), 1);
    resetForTesting();
  }
  void TearDown() override { resetForTesting(); }

  std::string hivePath(const char* rootName) const {
    return plat::joinPath(dir_, std::string(rootName) + ".hive");
  }
  std::string hiveText(const char* rootName) const {
    std::string bytes;
    plat::readFile(hivePath(rootName), &bytes);
    return bytes;
  }

  std::string dir_;
};

inline Key create(Key parent, std::u16string_view path, bool isVolatile = false,
                  std::uint32_t access = kAllAccess) {
  Key key = kNoKey;
  EXPECT_EQ(createKey(parent, path, isVolatile, access, &key), Status::Success);
  return key;
}

// 16-bit text as registry string data: little-endian code units and a NUL.
inline std::string sz(std::u16string_view text) {
  std::string bytes;
  for (const char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes + std::string(2, '\0');
}

inline Status put(Key key, std::u16string_view name, ValueType type, const std::string& data) {
  return setValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
}

// The value's bytes through the size query and a buffer of exactly that size.
inline std::string get(Key key, std::u16string_view name, ValueType* type = nullptr,
                       Status* status = nullptr) {
  std::uint32_t size = 0;
  Status s = queryValue(key, name, type, nullptr, &size);
  std::string data;
  if (s == Status::Success) {
    data.resize(size);
    s = queryValue(key, name, type, data.data(), &size);
    data.resize(size);
  }
  if (status) *status = s;
  else EXPECT_EQ(s, Status::Success);
  return data;
}

inline std::string dword(std::uint32_t v) {
  return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                     static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}

}  // namespace regtest
