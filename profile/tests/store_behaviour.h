#pragma once
// Behaviour that every profile store shows through the exports, written once and run on each
// store: a test suite instance gives a StoreSetup that makes descriptors of fresh sections.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "foundation/profdesc.h"
#include "profile/profile.h"

struct StoreSetup {
  std::string name;  // shown in the test names
  // A descriptor of a section that does not exist yet, different on every call; auto-create on.
  std::function<std::unique_ptr<COrvProfDesc>()> freshSection;
  // Run around every test (for example to switch INI type control on, so values keep types).
  std::function<void()> before = [] {};
  std::function<void()> after = [] {};
};

inline std::ostream& operator<<(std::ostream& out, const StoreSetup& setup) { return out << setup.name; }

class StoreBehaviour : public ::testing::TestWithParam<StoreSetup> {
 protected:
  void SetUp() override { GetParam().before(); }
  void TearDown() override { GetParam().after(); }
  std::unique_ptr<COrvProfDesc> fresh() const { return GetParam().freshSection(); }
  // A fresh section that exists (created with every right, then closed again).
  std::unique_ptr<COrvProfDesc> existing() const {
    auto desc = fresh();
    EXPECT_EQ(PROF_OK, desc->Create(PROF_MODE_ALL, 0));
    EXPECT_EQ(PROF_OK, desc->Close());
    return desc;
  }
};

inline std::string storeSetupName(const ::testing::TestParamInfo<StoreSetup>& info) { return info.param.name; }
