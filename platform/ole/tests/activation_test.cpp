// A control in the test container: in-place and UI activation with border space, frame-level
// bars, the shared menu and the status line, and deactivation giving it all back.
#include <cstring>
#include <new>
#include <vector>

#include "platform/com/driver.h"
#include "platform/ole/tests/ole_fixture.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/responder.h"

namespace oletest {
namespace {

using plat::ole::testing::TestContainer;
using plat::ole::testing::TestItem;

// Where a window is, in the frame's client coordinates.
gdi::Rect placeIn(const ui::Wnd& wnd, const ui::Wnd& frame) {
  gdi::Rect r;
  wnd.GetWindowRect(&r);
  frame.ScreenToClient(&r);
  return r;
}

TEST_F(OleTest, UIActivationTakesBorderSpaceBarsMenuAndStatusAndDeactivationGivesThemBack) {
  TestContainer box;
  gdi::Rect inside;
  box.FrameWindow().GetInsideClientRect(&inside);
  const gdi::Rect viewBefore = placeIn(box.View(), box.FrameWindow());
  TestItem* item = box.AddItem(CLSID_SampleControl, {20, 30, 116, 78});
  ASSERT_NE(item, nullptr);
  SampleControl* control = ControlOf(item);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->siteChanges, 1);
  EXPECT_EQ(item->GetItemState(), ItemState::Loaded);
  box.ClearLog();

  ASSERT_TRUE(box.Activate(item));
  EXPECT_EQ(item->GetItemState(), ItemState::ActiveUI);
  EXPECT_TRUE(control->IsInPlaceActive() && control->IsUIActive());
  const std::vector<std::string> expected = {"OnInPlaceActivate", "OnUIActivate", "SetActiveObject", "SetMenu",
                                             "GetBorder", "RequestBorderSpace 0,30,0,0", "SetBorderSpace 0,30,0,0"};
  EXPECT_EQ(box.Log(), expected);

  // The control's window sits in the view at the item's place.
  ASSERT_TRUE(control->IsWindow());
  EXPECT_EQ(control->GetParent(), &box.View());
  gdi::Rect placed;
  control->GetWindowRect(&placed);
  box.View().ScreenToClient(&placed);
  EXPECT_EQ(placed, gdi::Rect(20, 30, 116, 78));
  // A smaller place repaints the whole control (it draws to its size).
  control->UpdateWindow();
  item->SetItemRects({20, 30, 100, 70});
  gdi::Rect invalid;
  EXPECT_TRUE(control->GetUpdateRect(&invalid));
  EXPECT_EQ(invalid, gdi::Rect(0, 0, 80, 40));
  item->SetItemRects({20, 30, 116, 78});
  // The frame gave the top 30 pixels of its inside area (below the shared menu's bar) to the tool
  // bar; the view fills the rest.
  EXPECT_EQ(box.Frame().GetBorderSpace(), (BorderWidths{0, 30, 0, 0}));
  box.FrameWindow().GetInsideClientRect(&inside);
  EXPECT_EQ(placeIn(box.View(), box.FrameWindow()), gdi::Rect(inside.left, inside.top + kBarHeight, inside.right, inside.bottom));
  ASSERT_NE(control->Bar(), nullptr);
  EXPECT_TRUE(control->Bar()->IsWindowVisible());
  EXPECT_EQ(control->Bar()->GetParent(), &box.FrameWindow());
  EXPECT_EQ(placeIn(*control->Bar(), box.FrameWindow()), gdi::Rect(inside.left, inside.top, inside.right, inside.top + 30));

  // Status text reaches the frame's message line.
  control->SetStatusText("x = 1.25 ppm");
  EXPECT_TRUE(box.Logged("SetStatusText x = 1.25 ppm"));
  EXPECT_EQ(box.StatusBar().GetPaneText(0), "x = 1.25 ppm");

  // The shared menu shows the control's popup, whose commands go to the control's window; the
  // same id sent to the frame (its own menus and keys) stays on the container's route.
  ui::Menu* shown = box.FrameWindow().GetMenu();
  ASSERT_NE(shown, nullptr);
  ASSERT_EQ(shown->GetMenuItemCount(), 1);
  EXPECT_EQ(shown->GetMenuString(0, ui::MF_BYPOSITION), "&Sample");
  ui::Menu* popup = shown->GetSubMenu(0);
  EXPECT_EQ(box.FrameWindow().MenuPopupOwner(popup), control->m_hWnd);
  ui::Wnd::FromHandle(box.FrameWindow().MenuPopupOwner(popup))->SendMessage(ui::WM_COMMAND, kCmdSampleDo, 0);
  EXPECT_EQ(control->commands, 1);
  box.FrameWindow().SendMessage(ui::WM_COMMAND, kCmdSampleDo, 0);
  EXPECT_EQ(control->commands, 1);

  // UI deactivation: bar hidden, border space and menu given back.
  box.ClearLog();
  item->DeactivateUI();
  EXPECT_EQ(item->GetItemState(), ItemState::Active);
  EXPECT_FALSE(control->Bar()->IsWindowVisible());
  EXPECT_TRUE(box.Frame().GetBorderSpace().empty());
  EXPECT_EQ(placeIn(box.View(), box.FrameWindow()), viewBefore);
  EXPECT_TRUE(box.Logged("SetMenu null"));
  EXPECT_TRUE(box.Logged("SetActiveObject null"));
  EXPECT_TRUE(box.Logged("OnUIDeactivate"));
  EXPECT_EQ(box.FrameWindow().GetMenu(), nullptr);
  EXPECT_EQ(box.FrameWindow().MenuPopupOwner(popup), box.FrameWindow().m_hWnd);

  // A click into the still in-place active control gives it the UI again.
  control->SendMessage(ui::WM_LBUTTONDOWN, 0, ui::MAKELPARAM(5, 5));
  EXPECT_EQ(item->GetItemState(), ItemState::ActiveUI);
  EXPECT_TRUE(control->Bar()->IsWindowVisible());

  // In-place deactivation hides the window and keeps it for the next activation.
  box.ClearLog();
  box.Deactivate(item);
  EXPECT_EQ(item->GetItemState(), ItemState::Loaded);
  EXPECT_FALSE(control->IsInPlaceActive());
  EXPECT_TRUE(control->IsWindow());
  EXPECT_FALSE(control->IsWindowVisible());
  EXPECT_EQ(box.Log().back(), "OnInPlaceDeactivate");
  ASSERT_TRUE(box.Activate(item, OLEIVERB_INPLACEACTIVATE));
  EXPECT_EQ(item->GetItemState(), ItemState::Active);
  EXPECT_TRUE(control->IsWindowVisible());
  box.Deactivate(item);
}

TEST_F(OleTest, AFrameWithoutRoomShowsNoBarsAndTheControlStillActivates) {
  TestContainer box;
  box.Frame().refuseToolSpace = true;
  TestItem* item = box.AddItem(CLSID_SampleControl, {0, 0, 96, 48});
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(box.Activate(item));
  EXPECT_EQ(item->GetItemState(), ItemState::ActiveUI);
  EXPECT_EQ(ControlOf(item)->Bar(), nullptr);
  EXPECT_TRUE(box.Frame().GetBorderSpace().empty());
  EXPECT_TRUE(box.Logged("SetBorderSpace 0,0,0,0"));
}

TEST_F(OleTest, OneItemOfAViewHasTheUIAtATime) {
  TestContainer box;
  TestItem* first = box.AddItem(CLSID_SampleControl, {0, 0, 96, 48});
  TestItem* second = box.AddItem(CLSID_SampleControl, {100, 0, 196, 48});
  ASSERT_TRUE(first && second);
  ASSERT_TRUE(box.Activate(first));
  ASSERT_TRUE(box.Activate(second));
  EXPECT_EQ(first->GetItemState(), ItemState::Active);
  EXPECT_EQ(second->GetItemState(), ItemState::ActiveUI);
  EXPECT_EQ(box.Frame().GetActiveObject(), ControlOf(second)->InPlaceActiveObject());
  EXPECT_FALSE(ControlOf(first)->Bar()->IsWindowVisible());
  EXPECT_TRUE(ControlOf(second)->Bar()->IsWindowVisible());
  EXPECT_EQ(box.Document().GetInPlaceActiveItem(&box.View()), first);
}

// An item whose site filters the control's messages: clicks are the container's.
class FilteringItem final : public TestItem {
 public:
  using TestItem::TestItem;
  int seen = 0;
  int posted = 0;

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XSimpleFrameSite : Nested<ISimpleFrameSite> {
    using Nested::Nested;
    HResult PreMessageFilter(HWND, UINT message, ui::WPARAM, ui::LPARAM, ui::LRESULT* result, DWord* cookie) override {
      ++outer<FilteringItem>().seen;
      *cookie = 7;
      if (message != ui::WM_LBUTTONDOWN) return S_OK;
      *result = 0;
      return S_FALSE;
    }
    HResult PostMessageFilter(HWND, UINT, ui::WPARAM, ui::LPARAM, ui::LRESULT*, DWord cookie) override {
      if (cookie == 7) ++outer<FilteringItem>().posted;
      return S_OK;
    }
  } xSimpleFrameSite_{*this};
  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};
const ComObject::InterfaceEntry FilteringItem::kEntries[] = {
    interfaceEntry<ISimpleFrameSite, &FilteringItem::xSimpleFrameSite_>(IID_ISimpleFrameSite)};
const ComObject::InterfaceMap FilteringItem::kMap{&OleClientItem::kInterfaceMap, kEntries};

TEST_F(OleTest, ASimpleFrameSiteSeesEveryMessageFirstAndMayKeepOne) {
  TestContainer box;
  auto* item = new FilteringItem(&box.Document(), &box);
  item->m_rect = {0, 0, 96, 48};
  ASSERT_TRUE(item->CreateNewItem(CLSID_SampleControl));
  ASSERT_TRUE(box.Activate(item, OLEIVERB_INPLACEACTIVATE));
  SampleControl* control = ControlOf(item);
  const int before = item->seen;
  control->SendMessage(ui::WM_USER + 5, 0, 0);
  EXPECT_EQ(item->seen, before + 1);
  EXPECT_EQ(item->posted, before + 1);
  // The site kept the click: the control never saw it, so it did not take the UI.
  control->SendMessage(ui::WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(item->seen, before + 2);
  EXPECT_EQ(item->posted, before + 1);
  EXPECT_EQ(item->GetItemState(), ItemState::Active);
  // Ambient properties come from the item.
  EXPECT_TRUE(control->AmbientUserMode());
  EXPECT_EQ(control->AmbientLocaleID(), 0x409u);
  EXPECT_FALSE(control->AmbientUIDead());
}

TEST_F(OleTest, VerbsHideAndShowThePropertyPagesInAFrameOfTheirOwn) {
  TestContainer box;
  TestItem* item = box.AddItem(CLSID_SampleControl, {0, 0, 96, 48});
  SampleControl* control = ControlOf(item);
  control->SetNumber(5);
  ui::ScriptedResponder responder(true);
  int pages = 0;
  std::string shownNumber;
  responder.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
    auto* frame = dynamic_cast<PropertyFrame*>(q.dialog);
    if (!frame) return ui::IDCANCEL;
    pages = frame->PageCount();
    ui::Wnd* page = frame->PageArea()->GetTopWindow();
    if (!page) return ui::IDCANCEL;
    shownNumber = page->GetDlgItemText(kIdNumberEdit);
    page->SetDlgItemText(kIdNumberEdit, "17");
    // The page was told it changed (as its edit notification would), so Apply is enabled.
    if (auto* own = dynamic_cast<SamplePage*>(page)) own->SetModifiedFlag();
    return frame->IsApplyEnabled() ? ui::IDOK : ui::IDCANCEL;
  });
  ASSERT_TRUE(item->Activate(OLEIVERB_PROPERTIES, &box.View()));
  EXPECT_EQ(responder.Unexpected(), 0);
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(shownNumber, "5");
  EXPECT_EQ(control->GetNumber(), 17);

  ASSERT_TRUE(box.Activate(item));
  ASSERT_TRUE(item->Activate(OLEIVERB_HIDE, &box.View()));
  EXPECT_FALSE(control->IsUIActive());
  EXPECT_FALSE(control->IsWindowVisible());
  box.Deactivate(item);
}

// The keyboard turns the frame's pages: Ctrl+Tab and Ctrl+Page Down forward, with Shift or
// Page Up back, round at the ends; the tabs are a tab stop of their own.
TEST_F(OleTest, ThePropertyFramesPagesTurnByCtrlTab) {
  ui::ScriptedResponder responder(true);
  std::vector<int> shown;
  bool tabStop = false;
  responder.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
    auto* frame = dynamic_cast<PropertyFrame*>(q.dialog);
    if (!frame) return ui::IDCANCEL;
    const ui::Wnd* tabs = frame->GetDlgItem(kPropertyFrameTabId);
    tabStop = tabs && (tabs->GetStyle() & ui::WS_TABSTOP) != 0;
    const auto press = [&](ui::UINT key, bool shift) {
      const ui::UINT held = ui::input::kControl | (shift ? ui::input::kShift : ui::input::kNone);
      ui::input::KeyDown(ui::VK_CONTROL, held);
      ui::MSG msg{};
      msg.hwnd = frame->PageArea()->m_hWnd;
      msg.message = ui::WM_KEYDOWN;
      msg.wParam = key;
      const bool taken = frame->PreTranslateMessage(&msg);
      ui::input::KeyUp(ui::VK_CONTROL);
      shown.push_back(taken ? frame->ActiveIndex() : -1);
    };
    press(ui::VK_TAB, false);
    press(ui::VK_TAB, false);
    press(ui::VK_TAB, true);
    press(ui::VK_PRIOR, false);
    press(ui::VK_NEXT, false);
    return ui::IDCANCEL;
  });
  const Guid pages[] = {CLSID_SamplePage, CLSID_SamplePage, CLSID_SamplePage};
  EXPECT_EQ(plat::ole::showPropertyFrame(ui::kNoWnd, u"Properties", {}, pages, 0x409), ui::IDCANCEL);
  EXPECT_EQ(responder.Unexpected(), 0);
  EXPECT_TRUE(tabStop);
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 1, 0, 1}));
}

// The frame's own template gives its window no position or size of its own (the frame sizes
// itself around its pages): none is read from whatever the memory held before, which once made
// a window of 20544 x 32767 pixels, and its surface, before the frame shrank it.
TEST_F(OleTest, ThePropertyFrameTemplateHoldsNoLeftoverSize) {
  struct Probe : PropertyFrame {
    using PropertyFrame::PropertyFrame;
    const ui::DialogResource* Template() const { return m_template; }
  };
  alignas(Probe) unsigned char storage[sizeof(Probe)];
  std::memset(storage, 0x7f, sizeof storage);
  auto* frame = new (storage) Probe(u"Properties", {}, {}, 0x409);
  const ui::DialogResource* t = frame->Template();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->x, 0);
  EXPECT_EQ(t->y, 0);
  EXPECT_EQ(t->cx, 0);
  EXPECT_EQ(t->cy, 0);
  EXPECT_EQ(t->exStyle, 0u);
  EXPECT_TRUE(t->items.empty());
  frame->~Probe();
}

}  // namespace
}  // namespace oletest
