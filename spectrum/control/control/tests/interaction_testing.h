#pragma once
// Spectrum controls in a test container, for the tests of the mouse, view and analysis
// commands: controls made in-process by the class factory, given a spectrum, activated in
// place with their window painted, driven by injected input. Header-only: each test file of
// these areas includes it.
#include <vector>

#include "platform/ole/testing/testcontainer.h"
#include "platform/ui/app.h"
#include "platform/ui/input.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "common/guids.h"
#include "platform/com/creation.h"
#include "platform/com/factory.h"
#include "spectrum/control/control/typelib.h"
#include "spectrum/control/testing/hostitem.h"

namespace nelvar_test {

class InteractionTest : public ControlTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A control of the container at rect (view client coordinates), from the class factory.
  CSpcControl* AddControl(plat::ole::testing::TestContainer& box, const gdi::Rect& rect, bool offerSite = true);
  nelvar::testing::HostItem* ItemOf(const CSpcControl* control) const;
  // Activates the control with its UI and paints its window, so every object knows its area.
  void Show(plat::ole::testing::TestContainer& box, CSpcControl& control);
  // Pumps the queue and paints what is invalid.
  static void Settle(CSpcControl& control);
  // Whether the window shows what a full repaint of its state shows (no stray XOR pixels).
  static bool ShowsItsState(CSpcControl& control);

  nelvar::testing::FakeSiteSettings settings_;
  std::vector<std::pair<nelvar::testing::HostItem*, CSpcControl*>> items_;
  plat::DWord cookie_ = 0;
};



namespace interaction_detail {

inline std::vector<CSpcControl*> g_controls;

inline plat::ole::ComObject* MakeRecorded() {
  auto* control = static_cast<CSpcControl*>(nelvar::CreateSpcControl());
  g_controls.push_back(control);
  return control;
}

}  // namespace interaction_detail

inline void InteractionTest::SetUp() {
  ControlTest::SetUp();
  interaction_detail::g_controls.clear();
  plat::ole::IUnknown* factory = nullptr;
  ASSERT_EQ(plat::ole::ClassFactory::create(&interaction_detail::MakeRecorded, plat::ole::IID_IUnknown, reinterpret_cast<void**>(&factory)),
            plat::ole::S_OK);
  ASSERT_EQ(plat::ole::registerClassObject(CLSID_Spc, factory, &cookie_), plat::ole::S_OK);
  factory->Release();
}

inline void InteractionTest::TearDown() {
  plat::ole::revokeClassObject(cookie_);
  items_.clear();
  ControlTest::TearDown();
}

inline CSpcControl* InteractionTest::AddControl(plat::ole::testing::TestContainer& box, const gdi::Rect& rect, bool offerSite) {
  auto* item = new nelvar::testing::HostItem(&box, &settings_, offerSite);
  item->m_rect = rect;
  item->m_record.type = 1;
  item->m_record.subtype = 1;
  item->m_record.fromFile = 1;
  const std::size_t before = interaction_detail::g_controls.size();
  EXPECT_TRUE(item->CreateNewItem(CLSID_Spc));
  if (interaction_detail::g_controls.size() != before + 1) return nullptr;
  items_.push_back({item, interaction_detail::g_controls.back()});
  return interaction_detail::g_controls.back();
}

inline nelvar::testing::HostItem* InteractionTest::ItemOf(const CSpcControl* control) const {
  for (const auto& [item, c] : items_)
    if (c == control) return item;
  return nullptr;
}

inline void InteractionTest::Show(plat::ole::testing::TestContainer& box, CSpcControl& control) {
  ASSERT_TRUE(box.Activate(ItemOf(&control)));
  Settle(control);
}

inline void InteractionTest::Settle(CSpcControl& control) {
  ui::App::PumpPending();
  control.UpdateWindow();
}

inline bool InteractionTest::ShowsItsState(CSpcControl& control) {
  Settle(control);
  const gdi::WindowSurface* surface = control.GetClientSurface();
  if (!surface) return false;
  const gdi::RasterSurface before(*surface);
  control.InvalidateRect(nullptr, true);
  control.UpdateWindow();
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x)
      if (before.GetPixel(x, y) != surface->GetPixel(x, y)) return false;
  return true;
}

}  // namespace nelvar_test
