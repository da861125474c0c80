#pragma once
// Helpers of the start-up tests: seeding registry trees directly through the registry (not
// through the code under test) and dumping a profile tree as comparable text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/profdesc.h"
#include "foundation/proftree.h"
#include "platform/base/text.h"
#include "platform/registry/registry.h"
#include "profile/profile.h"

namespace starttest {

inline std::u16string u16(const std::string& s) { return plat::toUtf16(s); }
inline std::string u8(const std::u16string& s) { return plat::toUtf8(s); }

// Opens (creating) a key below a root, through the registry itself.
class SeedKey {
 public:
  SeedKey(plat::reg::Key root, const std::u16string& path) {
    EXPECT_EQ(plat::reg::createKey(root, path, false, plat::reg::kAllAccess, &key_), plat::reg::Status::Success)
        << u8(path);
  }
  ~SeedKey() {
    if (key_) plat::reg::closeKey(key_);
  }
  void dword(const std::u16string& name, std::uint32_t v) { set(name, plat::reg::ValueType::DWord, &v, 4); }
  void text(const std::u16string& name, const std::u16string& v, plat::reg::ValueType t = plat::reg::ValueType::String) {
    set(name, t, v.c_str(), std::uint32_t((v.size() + 1) * 2));
  }
  void binary(const std::u16string& name, const std::vector<std::uint8_t>& v) {
    set(name, plat::reg::ValueType::Binary, v.data(), std::uint32_t(v.size()));
  }
  void set(const std::u16string& name, plat::reg::ValueType t, const void* data, std::uint32_t size) {
    EXPECT_EQ(plat::reg::setValue(key_, name, t, data, size), plat::reg::Status::Success) << u8(name);
  }

 private:
  plat::reg::Key key_ = plat::reg::kNoKey;
};

inline bool keyExists(plat::reg::Key root, const std::u16string& path) {
  plat::reg::Key k = plat::reg::kNoKey;
  if (plat::reg::openKey(root, path, plat::reg::kRead, &k) != plat::reg::Status::Success) return false;
  plat::reg::closeKey(k);
  return true;
}

// Removes a key and everything below it, through the registry itself (a leftover of an earlier
// run outside the test sandbox).
inline void wipe(plat::reg::Key root, const std::u16string& path) {
  plat::reg::Key k = plat::reg::kNoKey;
  if (plat::reg::openKey(root, path, plat::reg::kAllAccess, &k) != plat::reg::Status::Success) return;
  std::vector<std::u16string> children;
  std::u16string child;
  for (std::uint32_t i = 0; plat::reg::enumKey(k, i, &child) == plat::reg::Status::Success; ++i) children.push_back(child);
  plat::reg::closeKey(k);
  for (const auto& c : children) wipe(root, path + u"\\" + c);
  plat::reg::deleteKey(root, path);
}

// A value read through the registry itself; empty with type None when missing.
struct RawValue {
  bool found = false;
  plat::reg::ValueType type = plat::reg::ValueType::None;
  std::vector<std::uint8_t> bytes;
};
inline RawValue rawValue(plat::reg::Key root, const std::u16string& path, const std::u16string& name) {
  RawValue out;
  plat::reg::Key k = plat::reg::kNoKey;
  if (plat::reg::openKey(root, path, plat::reg::kRead, &k) != plat::reg::Status::Success) return out;
  std::uint32_t size = 0;
  if (plat::reg::queryValue(k, name, &out.type, nullptr, &size) == plat::reg::Status::Success) {
    out.bytes.resize(size);
    out.found = plat::reg::queryValue(k, name, &out.type, out.bytes.data(), &size) == plat::reg::Status::Success;
  }
  plat::reg::closeKey(k);
  return out;
}

inline std::string hex(const std::vector<std::uint8_t>& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (auto b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

// Every item of a walk, named relative to the walked section, values with type and bytes:
// "S a\a1", "V a\a1\v type=1 0A000000". Names listed in skip (root values) are left out.
inline std::vector<std::string> dumpTree(const COrvProfDesc& root, const std::vector<std::u16string>& skip = {}) {
  std::vector<std::string> out;
  CProfTreeWalker walker;
  if (!walker.Start(&root)) return out;
  COrvProfDesc reader(root);
  std::u16string name, relative;
  bool isSection = false;
  int type = 0;
  while (walker.Next(&name, &isSection, &type)) {
    EXPECT_TRUE(RelativeProfName(walker.RootPath(), name, &relative)) << u8(name);
    if (isSection) {
      out.push_back("S " + u8(relative));
      continue;
    }
    bool skipped = false;
    for (const auto& s : skip) skipped = skipped || plat::equalsNoCase(s, relative);
    if (skipped) continue;
    unsigned length = 0;
    int readType = 0;
    std::vector<std::uint8_t> bytes;
    if (OrvGetProfValue(relative.c_str(), nullptr, &length, &readType, &reader) == PROF_OK) {
      bytes.resize(length + 1);
      length = unsigned(bytes.size());
      EXPECT_EQ(OrvGetProfValue(relative.c_str(), bytes.data(), &length, &readType, &reader), PROF_OK);
      bytes.resize(length);
    }
    out.push_back("V " + u8(relative) + " type=" + std::to_string(type) + " " + hex(bytes));
  }
  EXPECT_EQ(walker.Error(), 0);
  return out;
}

}  // namespace starttest
