#include "platform/com/guid.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace plat::ole;

constexpr Guid kSample = guid("{6B29FC40-CA47-1067-B31D-00DD010662DA}");

TEST(Guid, TextFormIsTheRegistrysAndReadsBack) {
  EXPECT_EQ(kSample.data1, 0x6B29FC40u);
  EXPECT_EQ(kSample.data2, 0xCA47);
  EXPECT_EQ(kSample.data3, 0x1067);
  const std::uint8_t tail[8] = {0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06, 0x62, 0xDA};
  EXPECT_EQ(0, std::memcmp(kSample.data4, tail, 8));
  EXPECT_EQ(guidToString8(kSample), "{6B29FC40-CA47-1067-B31D-00DD010662DA}");
  EXPECT_EQ(guidToString(IID_IUnknown), u"{00000000-0000-0000-C000-000000000046}");

  Guid read;
  ASSERT_TRUE(guidFromString(u"{6b29fc40-ca47-1067-b31d-00dd010662da}", &read));
  EXPECT_EQ(read, kSample);
  ASSERT_TRUE(guidFromString(std::string_view("{00020400-0000-0000-C000-000000000046}"), &read));
  EXPECT_EQ(read, IID_IDispatch);
}

TEST(Guid, MalformedTextIsRefusedAndLeavesTheResult) {
  for (const char* bad : {"6B29FC40-CA47-1067-B31D-00DD010662DA", "{6B29FC40-CA47-1067-B31D-00DD010662D}",
                          "{6B29FC40-CA47-1067-B31D-00DD010662DAA}", "{6B29FC40CA47-1067-B31D-00DD010662DA0}",
                          "{6B29FC40-CA47-1067-B31D-00DD010662DG}", "{ 6B29FC40-CA47-1067-B31D-00DD010662D}",
                          "(6B29FC40-CA47-1067-B31D-00DD010662DA)", ""}) {
    Guid read = kSample;
    EXPECT_FALSE(guidFromString(std::string_view(bad), &read)) << bad;
    EXPECT_EQ(read, kSample) << bad;
  }
  EXPECT_FALSE(guidFromString(u"{6B29FC40-CA47-1067-B31D-00DD010662DA}", nullptr));
}

}  // namespace
