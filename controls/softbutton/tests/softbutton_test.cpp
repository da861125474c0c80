// The soft button in a container: the shared mouse hook follows the first and the last button,
// the pointer lights up the button it is over, and a click fires ButtonPressed.
#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/base/tests/control_fixture.h"
#include "controls/softbutton/softbutton.h"
#include "platform/com/creation.h"
#include "platform/com/factory.h"
#include "platform/ui/app.h"
#include "platform/ui/input.h"

namespace karvel::test {
namespace {

using plat::ole::testing::TestContainer;
using plat::ole::testing::TestItem;

CSoftButtonCtl*& LastButton() {
  static CSoftButtonCtl* last = nullptr;
  return last;
}

ComObject* MakeButton() {
  auto* button = new CSoftButtonCtl;
  LastButton() = button;
  return button;
}

class SoftButtonTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    IClassFactory* factory = nullptr;
    ASSERT_EQ(ClassFactory::create(&MakeButton, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    ASSERT_EQ(registerClassObject(CLSID_SoftButton, factory, &cookie_), S_OK);
    factory->Release();
  }
  void TearDown() override {
    revokeClassObject(cookie_);
    LastButton() = nullptr;
    ControlTest::TearDown();
  }
  // A button in place in the container.
  CSoftButtonCtl* Add(TestContainer& box, const gdi::Rect& place, TestItem** item = nullptr) {
    TestItem* added = box.AddItem(CLSID_SoftButton, place);
    EXPECT_NE(added, nullptr);
    if (!added) return nullptr;
    CSoftButtonCtl* button = LastButton();
    EXPECT_TRUE(box.Activate(added, OLEIVERB_INPLACEACTIVATE));
    EXPECT_TRUE(button->IsWindow());
    if (item) *item = added;
    return button;
  }

  DWord cookie_ = 0;
};

TEST_F(SoftButtonTest, TheHookComesWithTheFirstButtonAndGoesWithTheLast) {
  TestContainer box;
  EXPECT_FALSE(CSoftButtonCtl::HookInstalled());
  TestItem *first = nullptr, *second = nullptr;
  Add(box, {10, 10, 90, 40}, &first);
  EXPECT_TRUE(CSoftButtonCtl::HookInstalled());
  Add(box, {100, 10, 180, 40}, &second);
  EXPECT_EQ(CSoftButtonCtl::LiveButtons(), 2u);

  box.Remove(first);
  EXPECT_EQ(CSoftButtonCtl::LiveButtons(), 1u);
  EXPECT_TRUE(CSoftButtonCtl::HookInstalled());
  box.Remove(second);
  EXPECT_EQ(CSoftButtonCtl::LiveButtons(), 0u);
  EXPECT_FALSE(CSoftButtonCtl::HookInstalled());

  // A new button installs it again.
  TestItem* again = nullptr;
  Add(box, {10, 10, 90, 40}, &again);
  EXPECT_TRUE(CSoftButtonCtl::HookInstalled());
  box.Remove(again);
  EXPECT_FALSE(CSoftButtonCtl::HookInstalled());
}

TEST_F(SoftButtonTest, OneMouseMoveLightsTheButtonUnderThePointerAndDimsTheOther) {
  TestContainer box;
  CSoftButtonCtl* left = Add(box, {10, 10, 90, 40});
  CSoftButtonCtl* right = Add(box, {100, 10, 180, 40});
  ASSERT_TRUE(left && right);

  ui::input::MouseMove(left, {20, 15});
  EXPECT_TRUE(left->IsHot());
  EXPECT_FALSE(right->IsHot());
  ui::input::MouseMove(right, {20, 15});
  EXPECT_FALSE(left->IsHot());
  EXPECT_TRUE(right->IsHot());

  // Cold: light grey round a dark blue face; hot: a raised button round a bright blue face.
  ui::App::PumpPending();
  const auto cold = left->Render();
  const auto hot = right->Render();
  KeepPng(*cold, "softbutton_cold.png");
  KeepPng(*hot, "softbutton_hot.png");
  EXPECT_EQ(cold->GetPixel(1, 1), 0xC0C0C0u);
  EXPECT_EQ(cold->GetPixel(40, 15), 0x7D0000u);
  EXPECT_EQ(cold->GetPixel(3, 3), 0x7D0000u);
  EXPECT_EQ(cold->GetPixel(2, 2), 0xC0C0C0u);
  EXPECT_EQ(hot->GetPixel(40, 15), 0xFF0000u);
  EXPECT_EQ(hot->GetPixel(3, 3), 0xFF0000u);
  EXPECT_NE(hot->GetPixel(2, 15), 0xFF0000u);

  // Off both buttons: both cold.
  ui::input::MouseMove(right, {200, 100});
  EXPECT_FALSE(left->IsHot());
  EXPECT_FALSE(right->IsHot());
}

TEST_F(SoftButtonTest, AClickFiresButtonPressed) {
  TestContainer box;
  CSoftButtonCtl* button = Add(box, {10, 10, 90, 40});
  ASSERT_NE(button, nullptr);
  EventSink sink(DIID__DSoftButtonEvents);
  ASSERT_TRUE(sink.Connect(button->GetUnknown()));
  ui::input::Click(button, {30, 15});
  EXPECT_EQ(sink.Count(kedrus_dispid::kSoftButtonPressed), 1);
  EXPECT_EQ(sink.Total(), 1);
  // A move is no click.
  ui::input::MouseMove(button, {35, 15});
  EXPECT_EQ(sink.Total(), 1);
  sink.Disconnect();
}

}  // namespace
}  // namespace karvel::test
