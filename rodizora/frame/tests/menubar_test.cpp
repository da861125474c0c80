// The owner-drawn menu bar: items and layout, pressing and sliding with injected input, mnemonics,
// frame buttons, the window list, docking on a side, and the menus the MDI client hands it.
#include <gtest/gtest.h>

#include "platform/ui/input.h"
#include "platform/ui/responder.h"
#include "rodizora/frame/tests/frame_fixture.h"

namespace frametest {
namespace {

using namespace ui;

class MenuBarTest : public FrameTest {
 protected:
  CMenuBar& bar() { return frame.m_menuBar; }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const auto& item : bar().Items()) out.push_back(item->GetKind() == 0 ? item->m_text : "#" + std::to_string(static_cast<CFrameControl&>(*item).m_button));
    return out;
  }
  int Find(const std::string& text) {
    for (std::size_t i = 0; i < bar().Items().size(); ++i)
      if (bar().Items()[i]->m_text == text) return static_cast<int>(i);
    return -1;
  }
  void Paint() {
    bar().Invalidate();
    bar().UpdateWindow();
  }
  Point Centre(int item) {
    Paint();
    return bar().Items()[static_cast<std::size_t>(item)]->m_rect.CenterPoint();
  }
  Rect ScreenRect(int item) {
    Rect r = bar().Items()[static_cast<std::size_t>(item)]->m_rect;
    bar().ClientToScreen(&r);
    return r;
  }
  static std::vector<std::string> MenuTexts(const Menu* menu) {
    std::vector<std::string> out;
    for (int i = 0; i < menu->GetMenuItemCount(); ++i)
      out.push_back((menu->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) ? "-" : menu->GetMenuString(static_cast<UINT>(i), MF_BYPOSITION));
    return out;
  }
};

TEST_F(MenuBarTest, ItemsStandInARowOfTheirOwnAcrossTheFrame) {
  // The top-level separator gives no item.
  EXPECT_EQ(Texts(), (std::vector<std::string>{"&File", "&Edit", "&Window", "&Help"}));
  EXPECT_EQ(bar().GetWindowText(), "Menu");
  EXPECT_EQ(frame.GetMenu(), nullptr);
  Rect client, menu, standard;
  frame.GetClientRect(&client);
  bar().GetWindowRect(&menu);
  frame.m_standardBar.GetWindowRect(&standard);
  EXPECT_EQ(menu.Width(), client.Width() + 2);
  EXPECT_EQ(menu.Height(), 32);
  EXPECT_GE(standard.top, menu.bottom);  // the standard bar below, not beside it
  // Items follow one another from behind the gripper, inside a band centred across the bar.
  Paint();
  const auto& items = bar().Items();
  EXPECT_EQ(items[0]->m_rect.left, 8);
  for (std::size_t i = 1; i < items.size(); ++i) EXPECT_EQ(items[i]->m_rect.left, items[i - 1]->m_rect.right);
  Rect barClient;
  bar().GetClientRect(&barClient);
  EXPECT_NEAR(items[0]->m_rect.top, barClient.Height() - items[0]->m_rect.bottom, 1);
  const gdi::WindowSurface* pixels = bar().GetClientSurface();
  EXPECT_EQ(pixels->GetPixel(0, 10), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));  // gripper bars
  EXPECT_EQ(pixels->GetPixel(6, 10), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
  EXPECT_EQ(pixels->GetPixel(items[3]->m_rect.right + 5, 10), gdi::GetSysColor(gdi::COLOR_MENU));
  SaveRendering(*frame.Render(), "mainframe.png");
}

TEST_F(MenuBarTest, PressingAnItemOpensItsMenuBelowItAndTheChoiceReachesTheFrame) {
  const int edit = Find("&Edit");
  ScriptedResponder responder(true);
  Point at;
  std::vector<std::string> shown;
  UINT pressedState = 0;
  responder.Then(ModalKind::PopupMenu, [&](ModalQuestion& q) {
    at = q.point;
    shown = MenuTexts(q.menu);
    pressedState = bar().Items()[static_cast<std::size_t>(edit)]->m_state;
    return static_cast<int>(kCmdCopy);
  });
  input::MouseMove(&bar(), Centre(edit));
  EXPECT_EQ(bar().Items()[static_cast<std::size_t>(edit)]->m_state, CMenuItem::kHot);
  input::Click(&bar(), Centre(edit));
  EXPECT_TRUE(responder.Done());
  EXPECT_EQ(at, (Point{ScreenRect(edit).left, ScreenRect(edit).bottom + 1}));
  EXPECT_EQ(shown, (std::vector<std::string>{"Cu&t", "&Copy", "&Paste"}));
  EXPECT_EQ(pressedState, CMenuItem::kPressed);
  EXPECT_FALSE(bar().IsPopupOpen());
  // Closed, the item no longer looks pressed.
  EXPECT_EQ(bar().Items()[static_cast<std::size_t>(edit)]->m_state & CMenuItem::kPressed, 0u);
  App::PumpPending();
  EXPECT_EQ(frame.commands, (std::vector<UINT>{kCmdCopy}));
  // A click beside the items opens nothing.
  Rect client;
  bar().GetClientRect(&client);
  input::Click(&bar(), {client.right - 10, client.Height() / 2});
  EXPECT_EQ(responder.Unexpected(), 0);
}

TEST_F(MenuBarTest, ThePointerSlidesFromOneOpenMenuToTheNext) {
  const int file = Find("&File"), edit = Find("&Edit");
  const Menu* filePopup = bar().Items()[static_cast<std::size_t>(file)]->m_popup;
  const Menu* editPopup = bar().Items()[static_cast<std::size_t>(edit)]->m_popup;
  ScriptedResponder responder(true);
  std::vector<const Menu*> opened;
  const Point editCentre = Centre(edit);
  responder.Then(ModalKind::PopupMenu, [&](ModalQuestion& q) {
    opened.push_back(q.menu);
    input::MouseMove(&bar(), editCentre);  // onto the next item while the menu is open
    return 0;
  });
  responder.Then(ModalKind::PopupMenu, [&](ModalQuestion& q) {
    opened.push_back(q.menu);
    EXPECT_NE(bar().Items()[static_cast<std::size_t>(edit)]->m_state & CMenuItem::kPressed, 0u);
    EXPECT_EQ(bar().Items()[static_cast<std::size_t>(file)]->m_state, 0u);
    return 0;
  });
  input::Click(&bar(), Centre(file));
  EXPECT_EQ(opened, (std::vector<const Menu*>{filePopup, editPopup}));
  EXPECT_TRUE(responder.Done());
  EXPECT_EQ(responder.Unexpected(), 0);
}

TEST_F(MenuBarTest, AltAndAMnemonicLetterOpenThatItemOnce) {
  ScriptedResponder responder(true);
  std::vector<const Menu*> opened;
  responder.Then(ModalKind::PopupMenu, [&](ModalQuestion& q) {
    opened.push_back(q.menu);
    return 0;
  });
  input::Key('H', input::kAlt);
  App::PumpPending();
  EXPECT_EQ(opened, (std::vector<const Menu*>{bar().Items()[static_cast<std::size_t>(Find("&Help"))]->m_popup}));
  input::Key('Q', input::kAlt);  // no item has Q
  input::Key('F');               // no Alt
  App::PumpPending();
  EXPECT_EQ(responder.Unexpected(), 0);
}

TEST_F(MenuBarTest, AMaximisedDocumentWindowBringsItsCaptionButtons) {
  CSaFrame* child = OpenDocument("One");
  ASSERT_NE(child, nullptr);
  child->MDIMaximize();
  App::PumpPending();  // the idle update sees the maximised child
  const std::size_t n = bar().Items().size();
  ASSERT_GE(n, 3u);
  EXPECT_EQ(Texts().back(), "#1");
  EXPECT_EQ(Texts()[n - 3], "#0");
  EXPECT_EQ(Texts()[n - 2], "#3");
  // Close stands at the far end, then restore, then minimise.
  Paint();
  const auto& items = bar().Items();
  EXPECT_GT(items[n - 3]->m_rect.left, items[n - 2]->m_rect.left);
  EXPECT_GT(items[n - 2]->m_rect.left, items[n - 1]->m_rect.left);
  Rect client;
  bar().GetClientRect(&client);
  EXPECT_EQ(items[n - 3]->m_rect.right, client.right - 4 - 1);
  SaveRendering(*bar().Render(), "menubar_maximised.png");
  // Restore through its button; the buttons go at the next idle update.
  input::Click(&bar(), Centre(static_cast<int>(n - 2)));
  App::PumpPending();
  EXPECT_FALSE(child->IsMaximized());
  for (const auto& item : bar().Items()) EXPECT_EQ(item->GetKind(), 0);
  // Close through its button.
  child->MDIMaximize();
  App::PumpPending();
  input::Click(&bar(), Centre(static_cast<int>(bar().Items().size() - 3)));
  App::PumpPending();
  EXPECT_EQ(frame.MDIGetActive(), nullptr);
}

TEST_F(MenuBarTest, TheWindowMenuListsNineWindowsAndMoreWindows) {
  std::vector<CSaFrame*> children;
  for (int i = 1; i <= 11; ++i) children.push_back(OpenDocument("Page " + std::to_string(i)));
  ASSERT_NE(children.back(), nullptr);
  const int window = Find("&Window");
  ASSERT_EQ(bar().GetWindowMenuIndex(), window);
  ScriptedResponder responder(true);
  std::vector<std::vector<std::string>> lists;
  std::vector<UINT> ids;
  auto look = [&](ModalQuestion& q) {
    lists.push_back(MenuTexts(q.menu));
    ids.clear();
    for (int i = 0; i < q.menu->GetMenuItemCount(); ++i) ids.push_back(q.menu->GetMenuItemID(i));
    return 0;
  };
  responder.Then(ModalKind::PopupMenu, look).Then(ModalKind::PopupMenu, [&](ModalQuestion& q) {
    look(q);
    return 65281;  // the second window
  });
  bar().PressItem(window);
  bar().PressItem(window);  // again: the list is replaced, not added to
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[0], lists[1]);
  // The document windows' menu: its Window popup holds Cascade, then the list.
  const std::vector<std::string>& list = lists[1];
  ASSERT_EQ(list.size(), 1u + 1u + 10u);
  EXPECT_EQ(list[1], "-");
  EXPECT_EQ(list[2], "&1 Page 1");
  EXPECT_EQ(list[10], "&9 Page 9");
  EXPECT_EQ(list[11], "More Windows ...");
  EXPECT_EQ(ids[2], 65280u);
  EXPECT_EQ(ids[11], 65289u);
  App::PumpPending();
  EXPECT_EQ(frame.MDIGetActive(), children[1]);
  // A window menu that already ends with a separator gets no second one.
  Menu own;
  own.CreatePopupMenu();
  own.AppendMenu(MF_STRING, kCmdCascade, "&Cascade");
  own.AppendMenu(MF_SEPARATOR);
  bar().AddWindowList(&own);
  EXPECT_EQ(MenuTexts(&own)[1], "-");
  EXPECT_EQ(MenuTexts(&own)[2], "&1 Page 1");
}

TEST_F(MenuBarTest, DockedOnTheLeftTextsRunDownAndMenusOpenToTheRight) {
  frame.DockControlBar(&bar(), AFX_IDW_DOCKBAR_LEFT);
  App::PumpPending();
  Rect r;
  bar().GetWindowRect(&r);
  EXPECT_EQ(r.Width(), 32);
  Paint();
  const auto& items = bar().Items();
  EXPECT_EQ(items[0]->m_rect.top, 8);
  EXPECT_GT(items[0]->m_rect.Height(), items[0]->m_rect.Width());  // runs along the bar
  EXPECT_EQ(items[1]->m_rect.top, items[0]->m_rect.bottom);
  SaveRendering(*bar().Render(), "menubar_left.png");
  ScriptedResponder responder(true);
  Point at;
  responder.Then(ModalKind::PopupMenu, [&](ModalQuestion& q) {
    at = q.point;
    return 0;
  });
  bar().PressItem(1);
  EXPECT_EQ(at, (Point{ScreenRect(1).right + 1, ScreenRect(1).top}));
  // Floating it lays the items out in rows no longer than asked for.
  const Size oneRow = bar().CalcDynamicLayout(10000, LM_STRETCH | LM_HORZ);
  const Size rows = bar().CalcDynamicLayout(60, LM_STRETCH | LM_HORZ);
  EXPECT_EQ(oneRow.cy, 32);
  EXPECT_LT(rows.cx, oneRow.cx);
  EXPECT_GE(rows.cy, 32);
  // Floating, the texts run across again and menus open below their items.
  frame.FloatControlBar(&bar(), {100, 100});
  App::PumpPending();
  ASSERT_TRUE(bar().IsFloating());
  Paint();
  EXPECT_EQ(bar().Items()[1]->m_rect.top, bar().Items()[0]->m_rect.top);
  responder.Then(ModalKind::PopupMenu, [&](ModalQuestion& q) {
    at = q.point;
    return 0;
  });
  bar().PressItem(1);
  EXPECT_EQ(at, (Point{ScreenRect(1).left, ScreenRect(1).bottom + 1}));
  // Its small frame's Close is greyed at the next idle update and closes nothing.
  Wnd* floating = bar().GetDockBar()->GetParent();
  ASSERT_NE(floating, nullptr);
  bar().SendMessage(WM_IDLEUPDATECMDUI, 1, 0);
  EXPECT_NE(floating->GetSystemMenu(false)->GetMenuState(SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  floating->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(bar().IsWindowVisible());
  EXPECT_TRUE(floating->IsWindowVisible());
  frame.DockControlBar(&bar(), AFX_IDW_DOCKBAR_TOP);
}

TEST_F(MenuBarTest, TheBarShowsTheMenuTheMdiClientIsGiven) {
  CSaFrame* child = OpenDocument("One");
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"&File", "&Document", "&Window"}));
  EXPECT_EQ(frame.GetMenu(), nullptr);  // still no menu line
  child->SendMessage(WM_CLOSE);
  App::PumpPending();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"&File", "&Edit", "&Window", "&Help"}));
  // A window menu given replaces the popup of the window item.
  Menu other;
  other.CreatePopupMenu();
  other.AppendMenu(MF_STRING, kCmdTile, "&Tile");
  Menu* current = bar().GetMenuEx()->GetSafeHmenu();
  EXPECT_EQ(frame.GetMDIClient()->SendMessage(WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(&other)),
            reinterpret_cast<LRESULT>(current));
  EXPECT_EQ(bar().Items()[static_cast<std::size_t>(Find("&Window"))]->m_popup, &other);
  EXPECT_EQ(frame.GetMDIClient()->SendMessage(WM_MDIREFRESHMENU), reinterpret_cast<LRESULT>(current));
}

TEST_F(MenuBarTest, AMenuMergedInByAnInPlaceServerCommandsTheServer) {
  Menu shared;
  shared.CreateMenu();
  shared.AppendPopup(std::make_unique<Menu>(), "&File");
  Wnd server;  // any window stands for the in-place window here
  ASSERT_TRUE(server.Create(nullptr, "", WS_CHILD, Rect(0, 0, 10, 10), &frame, 77));
  bar().m_inPlaceQuery = [&](Document*) { return InPlaceMenuOwner{&server, &shared}; };
  EXPECT_EQ(bar().GetMenuOwner(Find("&File")), &frame);  // the container's own menu
  EXPECT_EQ(bar().GetMenuOwner(Find("&Edit")), &server);
  bar().m_inPlaceQuery = [](Document*) { return InPlaceMenuOwner{}; };
  EXPECT_EQ(bar().GetMenuOwner(Find("&Edit")), &frame);
  server.DestroyWindow();
}

}  // namespace
}  // namespace frametest
