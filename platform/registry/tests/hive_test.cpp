// The hive reader against damaged text: it must refuse or accept, never crash or overrun.
#include "platform/registry/hive.h"

#include <gtest/gtest.h>

#include <random>

namespace plat::reg::detail {
namespace {

const std::string kSample =
    "kedrus-registry-hive 1\n"
    "value \"\" sz \"r\\\"\\\\\\n\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80\"\n"
    "key \"A\"\n"
    "value \"n\" dword 4294967295\n"
    "value \"b\" dword-be 7\n"
    "key \"A\" \"B\"\n"
    "value \"h\" binary hex:00ff7f\n"
    "value \"m\" multi-sz \"x\\u0000y\"\n";

TEST(HiveReader, DamagedTextNeverCrashes) {
  Node root;
  ASSERT_TRUE(parseHive(kSample, &root));
  // What it read writes back to the same text.
  EXPECT_EQ(serializeHive(root), kSample);

  for (std::size_t cut = 0; cut < kSample.size(); ++cut) {
    Node partial;
    parseHive(std::string_view(kSample).substr(0, cut), &partial);
  }
  std::mt19937 rng(12345);
  for (int round = 0; round < 3000; ++round) {
    std::string text = kSample;
    const int flips = 1 + static_cast<int>(rng() % 3);
    for (int f = 0; f < flips; ++f) {
      text[rng() % text.size()] = static_cast<char>(rng() & 0xFF);
    }
    Node damaged;
    String8 error;
    if (!parseHive(text, &damaged, &error)) {
      EXPECT_NE(error.find("line"), String8::npos);
    }
  }
}

}  // namespace
}  // namespace plat::reg::detail
