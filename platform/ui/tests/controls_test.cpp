// Standard controls: their behaviour and the notifications their parents get.
#include <QApplication>
#include <QFocusEvent>
#include <QToolButton>
#include <QWidget>

#include "platform/ui/controls.h"
#include "platform/ui/dc.h"
#include "platform/ui/input.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/tests/ui_fixture.h"

namespace uitest {
namespace {

// A top-level window that keeps the notifications of its children.
class Parent : public Wnd {
 public:
  struct Note {
    UINT id;
    int code;
    int item;  // list views: the item of the notification
  };
  std::vector<Note> notes;
  std::vector<int> drawnItems;
  std::vector<UINT> drawnStates;
  LRESULT vetoSelChanging = 0;
  std::string tipText = "from parent";

  bool Make() { return Create(nullptr, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(0, 0, 500, 400), nullptr, 0); }
  int Count(UINT id, int code) const {
    int n = 0;
    for (const Note& note : notes)
      if (note.id == id && note.code == code) ++n;
    return n;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && lParam) {
      notes.push_back({LOWORD(wParam), HIWORD(wParam), -1});
      return 0;
    }
    if (message == WM_NOTIFY) {
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      int item = -1;
      if (hdr->code <= LVN_FIRST && hdr->code > LVN_FIRST - 100) item = reinterpret_cast<NMLISTVIEW*>(lParam)->iItem;
      if (hdr->code == NM_CLICK || hdr->code == NM_DBLCLK) item = reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem;
      notes.push_back({static_cast<UINT>(hdr->idFrom), hdr->code, item});
      if (hdr->code == TCN_SELCHANGING) return vetoSelChanging;
      if (hdr->code == TTN_NEEDTEXT) reinterpret_cast<NMTTDISPINFO*>(lParam)->lpszText = tipText.c_str();
      return 0;
    }
    if (message == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      drawnItems.push_back(static_cast<int>(dis->itemID));
      drawnStates.push_back(dis->itemState);
      dis->hDC->FillSolidRect(dis->rcItem, static_cast<COLORREF>(dis->itemData));
      return 1;
    }
    if (message == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 20;
      return 1;
    }
    return Wnd::WindowProc(message, wParam, lParam);
  }
};

Point Centre(const Rect& r) { return r.CenterPoint(); }

TEST_F(UiTest, ButtonsNotifyClicksAndKeepTheirCheckRules) {
  Parent p;
  ASSERT_TRUE(p.Make());
  Button push, autoCheck, plainCheck, r1, r2, r3;
  ASSERT_TRUE(push.Create("&Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, Rect(0, 0, 60, 20), &p, 10));
  ASSERT_TRUE(autoCheck.Create("Auto", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, Rect(0, 30, 80, 50), &p, 11));
  ASSERT_TRUE(plainCheck.Create("Plain", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, Rect(0, 60, 80, 80), &p, 12));
  ASSERT_TRUE(r1.Create("One", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, Rect(100, 0, 180, 20), &p, 13));
  ASSERT_TRUE(r2.Create("Two", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, Rect(100, 30, 180, 50), &p, 14));
  ASSERT_TRUE(r3.Create("Other group", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, Rect(100, 60, 180, 80), &p, 15));

  input::Click(&push, {30, 10});
  EXPECT_EQ(p.Count(10, BN_CLICKED), 1);
  input::Click(&autoCheck, {10, 10});
  EXPECT_EQ(autoCheck.GetCheck(), BST_CHECKED);
  EXPECT_EQ(p.Count(11, BN_CLICKED), 1);
  // A plain check box reports the click and leaves its state to the program.
  input::Click(&plainCheck, {10, 10});
  EXPECT_EQ(plainCheck.GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(p.Count(12, BN_CLICKED), 1);
  // The program's own changes notify nobody.
  plainCheck.SetCheck(BST_CHECKED);
  EXPECT_EQ(p.IsDlgButtonChecked(12), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(p.Count(12, BN_CLICKED), 1);

  r3.SetCheck(BST_CHECKED);
  input::Click(&r1, {10, 10});
  input::Click(&r2, {10, 10});
  EXPECT_EQ(r1.GetCheck(), BST_UNCHECKED);  // one checked button per group
  EXPECT_EQ(r2.GetCheck(), BST_CHECKED);
  EXPECT_EQ(r3.GetCheck(), BST_CHECKED);    // another group
  EXPECT_EQ(p.GetCheckedRadioButton(13, 14), 14);
  p.CheckRadioButton(13, 14, 13);
  EXPECT_EQ(r1.GetCheck(), BST_CHECKED);
  EXPECT_EQ(r2.GetCheck(), BST_UNCHECKED);

  // Clicks of the program and of a disabled button.
  push.Click();
  EXPECT_EQ(p.Count(10, BN_CLICKED), 2);
  push.EnableWindow(false);
  input::Click(&push, {30, 10});
  EXPECT_EQ(p.Count(10, BN_CLICKED), 2);

  // A bitmap button shows its image.
  Button image;
  ASSERT_TRUE(image.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_BITMAP, Rect(200, 0, 240, 30), &p, 16));
  gdi::Bitmap swatch;
  ASSERT_TRUE(swatch.CreateBitmap(20, 10));
  EXPECT_TRUE(image.SetBitmap(swatch).IsNull());
  EXPECT_EQ(image.GetBitmap(), swatch);
  p.DestroyWindow();
}

TEST_F(UiTest, EditsReportChangesAndKeepDigitsReadOnlyLimitAndSelection) {
  Parent p;
  ASSERT_TRUE(p.Make());
  Edit edit, digits, readOnly, multi;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, Rect(0, 0, 100, 20), &p, 20));
  ASSERT_TRUE(digits.Create(WS_CHILD | WS_VISIBLE | ES_NUMBER, Rect(0, 30, 100, 50), &p, 21));
  ASSERT_TRUE(readOnly.Create(WS_CHILD | WS_VISIBLE | ES_READONLY, Rect(0, 60, 100, 80), &p, 22));
  ASSERT_TRUE(multi.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, Rect(0, 90, 200, 190), &p, 23));

  edit.SetFocus();
  EXPECT_EQ(p.Count(20, EN_SETFOCUS), 1);
  input::Type("ab1");
  EXPECT_EQ(edit.GetWindowText(), "ab1");
  EXPECT_EQ(p.Count(20, EN_CHANGE), 3);
  EXPECT_EQ(p.Count(20, EN_UPDATE), 3);
  // A single-line edit reports the program's text too.
  edit.SetWindowText("hello world");
  EXPECT_EQ(p.Count(20, EN_CHANGE), 4);
  edit.SetSel(6, -1);
  int s = 0, e = 0;
  edit.GetSel(&s, &e);
  EXPECT_EQ(s, 6);
  EXPECT_EQ(e, 11);
  edit.ReplaceSel("there");
  EXPECT_EQ(edit.GetWindowText(), "hello there");
  edit.SetLimitText(12);
  edit.SetSel(-1, 0);
  edit.SetSel(11, 11);
  input::Type("xyz");
  EXPECT_EQ(edit.GetWindowText(), "hello therex");

  digits.SetFocus();
  EXPECT_EQ(p.Count(20, EN_KILLFOCUS), 1);
  input::Type("1a2.3");
  EXPECT_EQ(digits.GetWindowText(), "123");

  readOnly.SetWindowText("fixed");
  readOnly.SetFocus();
  input::Type("zz");
  EXPECT_EQ(readOnly.GetWindowText(), "fixed");
  readOnly.SetReadOnly(false);
  readOnly.SetSel(5, 5);
  input::Type("x");
  EXPECT_EQ(readOnly.GetWindowText(), "fixedx");

  // A multi-line edit: the program's text is no change notification; lines read whole.
  multi.SetWindowText("first line\nsecond, a longer line\nthird");
  EXPECT_EQ(p.Count(23, EN_CHANGE), 0);
  EXPECT_EQ(multi.GetLineCount(), 3);
  EXPECT_EQ(multi.GetLine(1), "second, a longer line");
  EXPECT_EQ(multi.LineIndex(2), 33);
  multi.SetSel(35, 35);
  EXPECT_EQ(multi.LineFromChar(), 2);
  multi.SetFocus();
  input::Key(VK_RETURN);
  EXPECT_EQ(multi.GetLineCount(), 4);
  EXPECT_EQ(p.Count(23, EN_CHANGE), 1);
  // Keys posted to it type as real ones do (the console bar re-posts keys this way).
  multi.PostMessage(WM_KEYDOWN, 'Q', 0);
  App::PumpPending();
  EXPECT_EQ(multi.GetLine(2), "th");  // Return split the caret's line
  EXPECT_EQ(multi.GetLine(3), "qird");
  // Shifted keys posted again make their symbols (Shift+8 is "*", as the real key types it): an
  // expression typed into the console keeps its operators and brackets.
  multi.SetWindowText("");
  input::KeyDown(VK_SHIFT);
  for (const UINT vk : {UINT{'9'}, UINT{'8'}, UINT{'0'}, UINT{VK_OEM_PLUS}, UINT{VK_OEM_2}}) multi.PostMessage(WM_KEYDOWN, vk, 0);
  App::PumpPending();
  input::KeyUp(VK_SHIFT);
  for (const UINT vk : {UINT{'8'}, UINT{VK_OEM_PLUS}, UINT{VK_OEM_MINUS}, UINT{VK_MULTIPLY}}) multi.PostMessage(WM_KEYDOWN, vk, 0);
  App::PumpPending();
  EXPECT_EQ(multi.GetWindowText(), "(*)+?8=-*");
  p.DestroyWindow();
}

TEST_F(UiTest, ListBoxesSortAndNotifySelectionsOnlyWhenAskedTo) {
  Parent p;
  ASSERT_TRUE(p.Make());
  ListBox list, quiet;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_SORT | WS_VSCROLL, Rect(0, 0, 120, 150), &p, 30));
  ASSERT_TRUE(quiet.Create(WS_CHILD | WS_VISIBLE, Rect(150, 0, 270, 150), &p, 31));
  for (const char* s : {"pear", "Apple", "banana"}) list.AddString(s);
  EXPECT_EQ(list.GetText(0), "Apple");
  EXPECT_EQ(list.GetText(2), "pear");
  EXPECT_EQ(list.FindStringExact(-1, "BANANA"), 1);
  list.SetItemData(1, 77);
  EXPECT_EQ(list.GetItemData(1), 77u);
  EXPECT_EQ(list.GetCurSel(), LB_ERR);
  list.SetCurSel(0);
  EXPECT_EQ(list.GetCurSel(), 0);
  EXPECT_EQ(p.Count(30, LBN_SELCHANGE), 0);
  Rect item;
  ASSERT_EQ(list.GetItemRect(2, &item), 0);
  input::Click(&list, Centre(item));
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_EQ(p.Count(30, LBN_SELCHANGE), 1);
  input::DoubleClick(&list, Centre(item));
  EXPECT_EQ(p.Count(30, LBN_DBLCLK), 1);
  bool outside = true;
  EXPECT_EQ(list.ItemFromPoint(Centre(item), &outside), 2u);
  EXPECT_FALSE(outside);

  quiet.AddString("x");
  quiet.AddString("y");
  ASSERT_EQ(quiet.GetItemRect(1, &item), 0);
  input::Click(&quiet, Centre(item));
  EXPECT_EQ(quiet.GetCurSel(), 1);
  EXPECT_EQ(p.Count(31, LBN_SELCHANGE), 0);
  p.DestroyWindow();
}

TEST_F(UiTest, ComboBoxesNotifyUserChoicesAndDrawOwnerDrawnItems) {
  Parent p;
  ASSERT_TRUE(p.Make());
  ComboBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, Rect(0, 0, 120, 200), &p, 40));
  Rect r;
  list.GetWindowRect(&r);
  EXPECT_LT(r.Height(), 40);  // the selection field; 200 was the list's height
  for (const char* s : {"Cubic Splines", "Linear", "Cuadratic"}) list.AddString(s);
  EXPECT_EQ(list.GetCurSel(), CB_ERR);
  list.SetCurSel(1);
  EXPECT_EQ(list.GetWindowText(), "Linear");
  EXPECT_EQ(p.Count(40, CBN_SELCHANGE), 0);
  list.SetFocus();
  EXPECT_EQ(p.Count(40, CBN_SETFOCUS), 1);
  input::Key(VK_DOWN);
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_EQ(p.Count(40, CBN_SELCHANGE), 1);
  list.ShowDropDown(true);
  EXPECT_TRUE(list.GetDroppedState());
  list.ShowDropDown(false);
  EXPECT_EQ(p.Count(40, CBN_DROPDOWN), 1);
  EXPECT_EQ(p.Count(40, CBN_CLOSEUP), 1);

  // A drop-down with an edit field reports typing.
  ComboBox edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, Rect(0, 40, 120, 200), &p, 41));
  edit.AddString("200%");
  edit.AddString("100%");
  edit.SetFocus();
  input::Type("7");
  EXPECT_EQ(edit.GetWindowText(), "7");
  EXPECT_EQ(p.Count(41, CBN_EDITCHANGE), 1);
  // A text that names an entry is no choice of it: leaving the field chooses nothing (the zoom
  // shown in a bar's combo is not set again when the focus moves on).
  edit.SetWindowText("100%");
  ASSERT_TRUE(edit.impl() && edit.impl()->widget);
  QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
  QApplication::sendEvent(edit.impl()->widget, &out);
  EXPECT_EQ(p.Count(41, CBN_SELCHANGE), 0);
  EXPECT_EQ(edit.GetWindowText(), "100%");

  // Owner-drawn items: the parent measures and draws them, the field with ODS_COMBOBOXEDIT.
  ComboBox drawn;
  ASSERT_TRUE(drawn.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, Rect(0, 80, 120, 200), &p, 42));
  drawn.GetWindowRect(&r);
  EXPECT_EQ(r.Height(), 26);  // the measured 20 and the field's frame
  drawn.AddString("0");
  drawn.AddString("1");
  drawn.SetItemData(1, RGB(255, 0, 0));
  drawn.SetCurSel(1);
  const std::unique_ptr<gdi::RasterSurface> picture = drawn.Render();
  ASSERT_FALSE(p.drawnItems.empty());
  EXPECT_EQ(p.drawnItems.back(), 1);
  EXPECT_NE(p.drawnStates.back() & ODS_COMBOBOXEDIT, 0u);
  EXPECT_GT(picture->CountPixels(RGB(255, 0, 0)), 100);
  p.DestroyWindow();
}

int CompareByData(LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(a) - static_cast<int>(b); }

TEST_F(UiTest, ListViewsKeepColumnsSortAndReportStateChangesAndClicks) {
  Parent p;
  ASSERT_TRUE(p.Make());
  ListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SORTASCENDING, Rect(0, 0, 300, 200), &p, 50));
  EXPECT_EQ(list.InsertColumn(0, "Name", LVCFMT_CENTER, 2 * list.GetStringWidth("Name")), 0);
  list.InsertColumn(1, "Size", LVCFMT_CENTER, 60);
  EXPECT_EQ(list.GetColumnCount(), 2);
  EXPECT_GT(list.GetColumnWidth(0), 0);
  for (const char* name : {"b.dx", "a.dx", "c.dx"}) {
    const int i = list.InsertItem(list.GetItemCount(), name);
    list.SetItemText(i, 1, std::string(name) + " size");
    list.SetItemData(i, static_cast<UINT_PTR>(name[0]));
  }
  EXPECT_EQ(list.GetItemText(0, 0), "a.dx");  // sorted as inserted
  EXPECT_EQ(list.GetItemText(2, 1), "c.dx size");
  EXPECT_EQ(p.Count(50, LVN_INSERTITEM), 3);

  // Every state change is reported, the program's too.
  list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(p.Count(50, LVN_ITEMCHANGED), 1);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
  Rect row;
  ASSERT_TRUE(list.GetItemRect(2, &row, LVIR_BOUNDS));
  EXPECT_EQ(list.HitTest(Centre(row)), 2);
  p.notes.clear();
  input::Click(&list, Centre(row));
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
  EXPECT_EQ(list.GetSelectedCount(), 1);
  ASSERT_EQ(p.Count(50, NM_CLICK), 1);
  const auto clicked = std::find_if(p.notes.begin(), p.notes.end(), [](const Parent::Note& n) { return n.code == NM_CLICK; });
  EXPECT_EQ(clicked->item, 2);
  EXPECT_GE(p.Count(50, LVN_ITEMCHANGED), 2);  // item 1 left, item 2 came
  input::DoubleClick(&list, Centre(row));
  EXPECT_EQ(p.Count(50, NM_DBLCLK), 1);
  list.SetFocus();
  input::Key(VK_RETURN);
  EXPECT_EQ(p.Count(50, NM_RETURN), 1);
  EXPECT_EQ(p.Count(50, LVN_KEYDOWN), 1);

  // Sorting by item data, and a change to the icon view keeps the items.
  ASSERT_TRUE(list.SortItems(CompareByData, 0));
  EXPECT_EQ(list.GetItemText(0, 0), "a.dx");
  list.SetItemData(0, 'z');
  ASSERT_TRUE(list.SortItems(CompareByData, 0));
  EXPECT_EQ(list.GetItemText(2, 0), "a.dx");
  list.ModifyStyle(LVS_TYPEMASK, LVS_ICON);
  EXPECT_EQ(list.GetItemCount(), 3);
  EXPECT_EQ(list.GetItemText(2, 0), "a.dx");
  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(p.Count(50, LVN_DELETEITEM), 1);
  list.DeleteAllItems();
  EXPECT_EQ(list.GetItemCount(), 0);
  p.DestroyWindow();
}

TEST_F(UiTest, OwnerDrawnReportRowsAreDrawnByTheParent) {
  Parent p;
  ASSERT_TRUE(p.Make());
  ListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, Rect(0, 0, 300, 200), &p, 51));
  list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
  list.InsertItem(0, "one");
  list.SetItemData(0, RGB(0, 0, 255));
  const std::unique_ptr<gdi::RasterSurface> picture = list.Render();
  ASSERT_FALSE(p.drawnItems.empty());
  EXPECT_EQ(p.drawnItems.front(), 0);
  EXPECT_GT(picture->CountPixels(RGB(0, 0, 255)), 120 * 10);
  p.DestroyWindow();
}

TEST_F(UiTest, TabControlsAskBeforeChangingAndReportTheChange) {
  Parent p;
  ASSERT_TRUE(p.Make());
  TabCtrl tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, Rect(0, 0, 300, 200), &p, 60));
  tabs.InsertItem(0, "General");
  tabs.InsertItem(1, "Axes");
  tabs.SetCurSel(0);
  EXPECT_EQ(p.Count(60, TCN_SELCHANGE), 0);
  Rect second;
  ASSERT_TRUE(tabs.GetItemRect(1, &second));
  p.vetoSelChanging = 1;
  input::Click(&tabs, Centre(second));
  EXPECT_EQ(tabs.GetCurSel(), 0);
  EXPECT_EQ(p.Count(60, TCN_SELCHANGING), 1);
  EXPECT_EQ(p.Count(60, TCN_SELCHANGE), 0);
  p.vetoSelChanging = 0;
  input::Click(&tabs, Centre(second));
  EXPECT_EQ(tabs.GetCurSel(), 1);
  EXPECT_EQ(p.Count(60, TCN_SELCHANGE), 1);
  Rect display(0, 0, 300, 200);
  tabs.AdjustRect(false, &display);
  EXPECT_GT(display.top, 10);
  tabs.AdjustRect(true, &display);
  EXPECT_EQ(display, Rect(0, 0, 300, 200));

  // Tabs that do not fit scroll by buttons in the row of the tabs, not the window's height
  // (its middle lies under the page, which would hide their arrows).
  for (int i = 2; i < 13; ++i) tabs.InsertItem(i, "Peak Labels " + std::to_string(i));
  tabs.ShowWindow(SW_SHOW);
  App::PumpPending();
  Rect row;
  ASSERT_TRUE(tabs.GetItemRect(0, &row));
  ASSERT_TRUE(tabs.impl() && tabs.impl()->widget);
  const QList<QToolButton*> buttons = tabs.impl()->widget->findChildren<QToolButton*>();
  int shown = 0;
  for (const QToolButton* button : buttons) {
    if (!button->isVisible()) continue;
    ++shown;
    EXPECT_LE(button->geometry().bottom(), row.bottom);
    EXPECT_GT(button->height(), 5);
  }
  EXPECT_EQ(shown, 2);
  tabs.SetWindowPos(nullptr, 0, 0, 280, 220, SWP_NOMOVE | SWP_NOZORDER);
  App::PumpPending();
  for (const QToolButton* button : buttons) {
    if (!button->isVisible()) continue;
    EXPECT_LE(button->geometry().bottom(), row.bottom);
  }
  p.DestroyWindow();
}

TEST_F(UiTest, StaticsDrawTheirSunkenEdges) {
  Parent p;
  ASSERT_TRUE(p.Make());
  // The top-left edge darker than the face, two pixels deep for the client edge, one for the
  // static edge and SS_SUNKEN; none for a plain static.
  const auto edgeDepth = [&](DWORD exStyle, DWORD style) {
    Static s;
    EXPECT_TRUE(s.CreateEx(exStyle, "STATIC", "", WS_CHILD | WS_VISIBLE | style, Rect(0, 0, 60, 30), &p, 80));
    const std::unique_ptr<gdi::RasterSurface> picture = s.Render();
    const COLORREF face = picture->GetPixel(30, 15);
    int depth = 0;
    while (depth < 5 && picture->GetPixel(depth, 15) != face && picture->GetPixel(30, depth) != face) ++depth;
    s.DestroyWindow();
    return depth;
  };
  EXPECT_EQ(edgeDepth(0, SS_LEFT), 0);
  EXPECT_EQ(edgeDepth(WS_EX_CLIENTEDGE, SS_LEFT), 2);
  EXPECT_EQ(edgeDepth(WS_EX_STATICEDGE, SS_LEFT), 1);
  EXPECT_EQ(edgeDepth(0, SS_LEFT | SS_SUNKEN), 1);
  p.DestroyWindow();
}

TEST_F(UiTest, ToolTipsShowToolTextOrAskTheParent) {
  Parent p;
  ASSERT_TRUE(p.Make());
  Static label, area;
  ASSERT_TRUE(label.Create("Label", WS_CHILD | WS_VISIBLE | SS_NOTIFY, Rect(0, 0, 100, 20), &p, 70));
  ASSERT_TRUE(area.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, Rect(0, 50, 200, 100), &p, 71));
  ToolTipCtrl tips;
  ASSERT_TRUE(tips.Create(&p, TTS_ALWAYSTIP));
  tips.AddTool(&label, std::string_view("The label"));
  const Rect left(0, 0, 50, 50);
  tips.AddTool(&area, LPSTR_TEXTCALLBACK, &left, 5);
  EXPECT_EQ(tips.GetToolCount(), 2);
  EXPECT_EQ(input::Hover(&label, {10, 10}), "The label");
  EXPECT_EQ(input::Hover(&area, {10, 10}), "from parent");
  EXPECT_EQ(p.Count(5, TTN_NEEDTEXT), 1);
  EXPECT_EQ(input::Hover(&area, {150, 10}), "");  // outside the tool's rectangle
  tips.Activate(false);
  EXPECT_EQ(input::Hover(&label, {10, 10}), "");
  tips.Activate(true);
  input::Click(&label, {5, 5});
  EXPECT_EQ(p.Count(70, STN_CLICKED), 1);
  tips.DestroyWindow();
  EXPECT_EQ(input::Hover(&label, {10, 10}), "");
  p.DestroyWindow();
}

}  // namespace
}  // namespace uitest
