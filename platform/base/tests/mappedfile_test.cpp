#include "platform/base/mappedfile.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "scratch.h"

namespace {

TEST(MappedFile, MapsRegularFilesOnly) {
  const std::string dir = plat_test::ScratchDir("mapped");
  const std::string file = plat::joinPath(dir, "data.bin");
  ASSERT_TRUE(plat::writeFileAtomic(file, std::string("a\0b", 3)));
  plat::MappedFile view(file);
  ASSERT_TRUE(view.mapped());
  EXPECT_EQ(view.bytes(), std::string_view("a\0b", 3));

  // Moving hands the view over; the moved-from object holds nothing.
  plat::MappedFile moved(std::move(view));
  EXPECT_FALSE(view.mapped());
  EXPECT_EQ(moved.size(), 3u);

  const std::string empty = plat::joinPath(dir, "empty.bin");
  ASSERT_TRUE(plat::writeFileAtomic(empty, ""));
  for (const std::string& path : {empty, dir, plat::joinPath(dir, "missing")}) {
    plat::MappedFile none(path);
    EXPECT_FALSE(none.mapped()) << path;
    EXPECT_EQ(none.size(), 0u);
    EXPECT_TRUE(none.bytes().empty());
  }
}

}  // namespace
