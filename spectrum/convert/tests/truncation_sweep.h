#pragma once
// Truncation sweep: every prefix of a sample file (empty, one byte, ..., all but the last byte)
// goes through detection, counting and reading. A reader that trusts a length it has not
// checked shows up here as a crash or a sanitizer report; a reader that loops on short input
// shows up as a hang.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <string_view>

#include "spectrum/convert/orvfile.h"
#include "spectrum/convert/spcconvert.h"
#include "test_files.h"

namespace convert_test {

// What the sweep does with one prefix: path of the truncated file and the opened view.
using PrefixCheck = std::function<void(const std::string& path, COrvFile& file, std::size_t length)>;

// Runs check on every prefix of bytes shorter than the whole. step > 1 samples long files
// (every step-th length, plus the first and last 64 lengths).
inline void SweepPrefixes(std::string_view name, std::string_view bytes, const PrefixCheck& check, std::size_t step = 1) {
  const std::string path = plat::joinPath(ScratchDir("sweep"), name);
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    const bool edge = length < 64 || bytes.size() - length <= 64;
    if (!edge && step > 1 && length % step != 0) continue;
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(length));
      ASSERT_TRUE(out.good());
    }
    COrvFile file(path);
    SCOPED_TRACE("prefix length " + std::to_string(length));
    check(path, file, length);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

// Reads spectrum index of path with leaf; a read that fails must say why. The result is the
// read's.
inline bool ReadSayingWhy(CSpcConvert& leaf, const std::string& path, CSpcData* data, std::int32_t index = 0) {
  leaf.ClearFailure();
  const bool ok = leaf.Read(path, data, index);
  if (!ok) {
    EXPECT_FALSE(leaf.GetFailure().empty()) << "a failed read of " << path << " gave no reason";
  }
  return ok;
}

}  // namespace convert_test
