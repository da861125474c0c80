#include "platform/base/bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// 1.0f is 0x3F800000; -2.5 (double) is 0xC004000000000000.
TEST(BytesTest, LoadsBothOrdersFromUnalignedBytes) {
  const unsigned char buf[] = {0xEE, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x88};
  const unsigned char* p = buf + 1;  // deliberately odd address
  EXPECT_EQ(plat::loadLe16(p), 0x0201u);
  EXPECT_EQ(plat::loadBe16(p), 0x0102u);
  EXPECT_EQ(plat::loadLe32(p), 0x04030201u);
  EXPECT_EQ(plat::loadBe32(p), 0x01020304u);
  EXPECT_EQ(plat::loadLe64(p), 0x8807060504030201ull);
  EXPECT_EQ(plat::loadBe64(p), 0x0102030405060788ull);
  const unsigned char high[] = {0xFF, 0xFE};
  EXPECT_EQ(plat::loadLe16(high), 0xFEFFu);  // no sign spill from promoted bytes
}

TEST(BytesTest, LoadsFloatsInBothOrders) {
  const unsigned char le32[] = {0x00, 0x00, 0x80, 0x3F};
  const unsigned char be32[] = {0x3F, 0x80, 0x00, 0x00};
  EXPECT_EQ(plat::loadLeF32(le32), 1.0f);
  EXPECT_EQ(plat::loadBeF32(be32), 1.0f);
  const unsigned char le64[] = {0, 0, 0, 0, 0, 0, 0x04, 0xC0};
  const unsigned char be64[] = {0xC0, 0x04, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(plat::loadLeF64(le64), -2.5);
  EXPECT_EQ(plat::loadBeF64(be64), -2.5);
}

TEST(BytesTest, StoresAndAppendsLittleEndian) {
  unsigned char b[9] = {};
  plat::storeLe16(b + 1, 0xA1B2);
  EXPECT_EQ(b[1], 0xB2);
  EXPECT_EQ(b[2], 0xA1);
  plat::storeLe32(b + 1, 0x11223344u);
  EXPECT_EQ(b[1], 0x44);
  EXPECT_EQ(b[4], 0x11);
  plat::storeLe64(b + 1, 0x0102030405060708ull);
  EXPECT_EQ(b[1], 0x08);
  EXPECT_EQ(b[8], 0x01);
  plat::storeLeF32(b, 1.0f);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 4), std::string("\x00\x00\x80\x3F", 4));
  plat::storeLeF64(b, -2.5);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 8), std::string("\0\0\0\0\0\0\x04\xC0", 8));

  std::string out = "x";
  plat::appendLe32(out, 0x11223344u);
  plat::appendLeF32(out, 1.0f);
  plat::appendLeF64(out, -2.5);
  EXPECT_EQ(out, std::string("x\x44\x33\x22\x11\x00\x00\x80\x3F\0\0\0\0\0\0\x04\xC0", 17));
}

}  // namespace
