#include "spectrum/convert/pointmap.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

TEST(PointMap, LastValueWinsAndKeysStayUnique) {
  PointMap m;
  m.set(1.0f, 5.0f);
  m.set(1.0f, 7.0f);
  EXPECT_EQ(m.count(), 1u);
  EXPECT_EQ(m.at(0).y, 7.0f);
  EXPECT_FALSE(m.set(std::numeric_limits<float>::quiet_NaN(), 1.0f));
  EXPECT_EQ(m.count(), 1u);
}

TEST(PointMap, IteratesAscendingAndDescending) {
  PointMap m;
  for (float x : {2.0f, 0.0f, 1.0f}) m.set(x, x * 10);
  std::vector<float> up, down;
  std::size_t pos;
  for (bool ok = m.first(&pos); ok; ok = m.next(&pos)) up.push_back(m.at(pos).x);
  for (bool ok = m.last(&pos); ok; ok = m.previous(&pos)) down.push_back(m.at(pos).x);
  EXPECT_EQ(up, (std::vector<float>{0, 1, 2}));
  EXPECT_EQ(down, (std::vector<float>{2, 1, 0}));

  PointMap empty;
  EXPECT_FALSE(empty.first(&pos));
  EXPECT_FALSE(empty.last(&pos));
}

TEST(PointMap, AgreesWithAnOrderedMapForAnyInsertionOrder) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> key(-500, 500);
  PointMap m;
  std::map<float, float> ref;
  for (int i = 0; i < 5000; ++i) {
    const float x = static_cast<float>(key(rng)) * 0.5f;
    m.set(x, static_cast<float>(i));
    ref[x] = static_cast<float>(i);
  }
  ASSERT_EQ(m.count(), ref.size());
  std::size_t i = 0;
  for (const auto& [x, y] : ref) {
    EXPECT_EQ(m.at(i).x, x);
    EXPECT_EQ(m.at(i).y, y);
    ++i;
  }
}

TEST(SortParams, SortsIgnoringCaseWithPrefixesFirst) {
  CSpcParamList list;
  for (const char* name : {"keep", "b", "A", "a1"}) {
    CSpcParam p;
    p.name = name;
    p.value.SetString(std::string(name) + "-value");
    list.Append(p);
  }
  SortParams(list, 1, list.size());
  EXPECT_EQ(list[0].name, "keep");
  EXPECT_EQ(list[1].name, "A");
  EXPECT_EQ(list[2].name, "a1");
  EXPECT_EQ(list[3].name, "b");
  EXPECT_EQ(list[3].value.GetString(), "b-value");
  SortParams(list, 2, 3);  // one entry: nothing moves
  SortParams(list, 3, 1);  // empty range
  EXPECT_EQ(list[2].name, "a1");
}
