#include "common/guids.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// A value copied twice, or a name listed twice, would make one class answer for another.
TEST(GuidTable, EveryIdentifierIsDistinctAndNamedOnce) {
  std::set<std::string> values, names;
  for (const NamedGuid& entry : kGuidTable) {
    EXPECT_TRUE(values.insert(plat::ole::guidToString8(*entry.guid)).second) << entry.name;
    EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
    EXPECT_FALSE(*entry.guid == plat::ole::IID_NULL) << entry.name;
  }
  EXPECT_EQ(values.size(), 45u);
}

}  // namespace
