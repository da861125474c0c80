#include "platform/base/bytecursor.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Bytes 0x01 0x02 ... 0x10.
std::string Counting() {
  std::string bytes;
  for (int i = 1; i <= 16; ++i) bytes.push_back(static_cast<char>(i));
  return bytes;
}

TEST(ByteCursor, ReadsFieldsInEitherByteOrderOneAfterAnother) {
  const std::string bytes = Counting();
  plat::ByteCursor c(bytes);
  EXPECT_EQ(c.u8(), 0x01);
  EXPECT_EQ(c.u16le(), 0x0302);
  EXPECT_EQ(c.u16be(), 0x0405);
  EXPECT_EQ(c.u24be(), 0x060708u);
  EXPECT_EQ(c.u32le(), 0x0C0B0A09u);
  EXPECT_EQ(c.offset(), 12u);
  EXPECT_EQ(c.i32be(), 0x0D0E0F10);
  EXPECT_TRUE(c.ok());
  EXPECT_EQ(c.remaining(), 0u);

  const std::string ieee("\x00\x00\x80\x3f" "\x40\x00\x00\x00\x00\x00\x00\x00", 12);
  plat::ByteCursor f(ieee);
  EXPECT_EQ(f.f32le(), 1.0f);
  EXPECT_EQ(f.f64be(), 2.0);
  EXPECT_TRUE(f.ok());
}

TEST(ByteCursor, AReadPastTheEndFailsForGoodAndReadsZero) {
  const std::string bytes = Counting();
  plat::ByteCursor c(bytes);
  ASSERT_TRUE(c.seek(14));
  EXPECT_EQ(c.u32le(), 0u);  // only two bytes are left
  EXPECT_FALSE(c.ok());
  EXPECT_EQ(c.failedAt(), 14u);
  EXPECT_EQ(c.failedWant(), 4u);
  // Sticky: nothing reads after the failure, and the first failure is the one kept.
  EXPECT_EQ(c.offset(), 14u);
  EXPECT_EQ(c.u8(), 0u);
  EXPECT_TRUE(c.bytes(1).empty());
  EXPECT_FALSE(c.seek(0));
  EXPECT_EQ(c.failedAt(), 14u);
  EXPECT_EQ(c.failedWant(), 4u);

  // A huge count never wraps around the end.
  plat::ByteCursor huge(bytes);
  EXPECT_FALSE(huge.skip(~std::uint64_t{0}));
  EXPECT_FALSE(huge.has(1));
  plat::ByteCursor far(bytes);
  EXPECT_FALSE(far.seek(17));
  EXPECT_EQ(far.failedWant(), 17u);
}

TEST(ByteCursor, TextFieldsAndWindowsKeepTheirPlaceInTheFile) {
  const std::string bytes = std::string("ab\0cd", 5) + "efgh" + Counting();
  plat::ByteCursor c(bytes);
  EXPECT_EQ(c.text(5), "ab");
  EXPECT_EQ(c.text(4), "efgh");  // a field without its 0 byte is all text
  EXPECT_EQ(c.peek(2), std::string("\x01\x02", 2));
  EXPECT_TRUE(c.peek(100).empty());
  EXPECT_TRUE(c.ok());

  plat::ByteCursor window = c.sub(4);
  EXPECT_EQ(c.offset(), 13u);
  EXPECT_EQ(window.offset(), 9u);
  EXPECT_EQ(window.end(), 13u);
  EXPECT_EQ(window.u16le(), 0x0201);
  EXPECT_EQ(window.u32le(), 0u);  // past the window, though the view goes on
  EXPECT_EQ(window.failedAt(), 11u);
  EXPECT_FALSE(window.seek(0));    // before the window
  EXPECT_TRUE(c.ok());

  // Fields count from the window's start, whatever this cursor went through.
  EXPECT_EQ(window.field(1).u8(), 0x02);
  EXPECT_FALSE(window.field(5).ok());

  plat::ByteCursor tooLong = c.sub(100);
  EXPECT_FALSE(tooLong.ok());
  EXPECT_FALSE(c.ok());
  EXPECT_EQ(c.failedAt(), 13u);
  EXPECT_EQ(tooLong.failedAt(), 13u);
}

}  // namespace
