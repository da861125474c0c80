// Dialogs from templates, value exchange, modal runs and the responder, property sheets,
// message boxes and the common dialogs.
#include "platform/gdi/dc.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "platform/ui/input.h"
#include "platform/ui/propsheet.h"
#include "platform/ui/responder.h"
#include "platform/ui/tests/ui_fixture.h"

namespace uitest {
namespace {

class ValuesDialog : public Dialog {
 public:
  ValuesDialog() : Dialog(kDialogValues) {}
  std::string name = "spectrum";
  unsigned points = 1024;
  double factor = 1.5;
  int enable = 1;
  int choice = 1;
  int method = 0;
  bool OnInitDialog() override {
    auto* combo = dynamic_cast<ComboBox*>(GetDlgItem(1007));
    if (combo)
      for (const char* s : {"Cubic Splines", "Linear"}) combo->AddString(s);
    return Dialog::OnInitDialog();
  }
  void DoDataExchange(DataExchange* dx) override {
    DDX_Text(dx, 1001, name);
    DDX_Text(dx, 1002, points);
    DDX_Text(dx, 1003, factor, "%.3f");
    DDX_Check(dx, 1004, enable);
    DDX_Radio(dx, 1005, choice);
    DDX_CBIndex(dx, 1007, method);
  }
};

TEST_F(UiTest, ADialogTemplateIsLaidOutInDialogUnitsOfItsFont) {
  ValuesDialog dlg;
  ASSERT_TRUE(dlg.Create(kDialogValues));
  // The base units, computed here from the template font's own metrics.
  gdi::Font font;
  font.CreatePointFont(80, "MS Sans Serif", 96);
  gdi::RasterSurface scratch(1, 1);
  gdi::DC dc(scratch);
  dc.SelectObject(font);
  const int width = (dc.GetTextExtent(std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")).cx / 26 + 1) / 2;
  gdi::TEXTMETRIC tm;
  dc.GetTextMetrics(&tm);
  EXPECT_EQ(dlg.GetBaseUnits(), (Size{width, tm.tmHeight}));
  Rect client;
  dlg.GetClientRect(&client);
  EXPECT_EQ(client.Width(), gdi::MulDiv(170, width, 4));
  EXPECT_EQ(client.Height(), gdi::MulDiv(100, tm.tmHeight, 8));
  Wnd* edit = dlg.GetDlgItem(1001);
  ASSERT_NE(edit, nullptr);
  EXPECT_NE(dynamic_cast<Edit*>(edit), nullptr);  // the item's object is of its class
  Rect r;
  edit->GetWindowRect(&r);
  dlg.ScreenToClient(&r);
  const int left = gdi::MulDiv(50, width, 4), top = gdi::MulDiv(5, tm.tmHeight, 8);
  EXPECT_EQ(r, Rect(left, top, left + gdi::MulDiv(100, width, 4), top + gdi::MulDiv(12, tm.tmHeight, 8)));
  // The values went into the items when the dialog started.
  EXPECT_EQ(dlg.GetDlgItemText(1001), "spectrum");
  EXPECT_EQ(dlg.GetDlgItemText(1002), "1024");
  EXPECT_EQ(dlg.GetDlgItemText(1003), "1.500");
  EXPECT_EQ(dlg.IsDlgButtonChecked(1004), 1u);
  EXPECT_EQ(dlg.IsDlgButtonChecked(1006), 1u);
  // A modeless dialog stays until it is destroyed; OK hides it.
  dlg.PressButton(IDOK);
  EXPECT_TRUE(dlg.IsWindow());
  EXPECT_FALSE(dlg.IsWindowVisible());
  dlg.DestroyWindow();
}

TEST_F(UiTest, AModalDialogExchangesWhatTheResponderEnters) {
  ValuesDialog dlg;
  ScriptedResponder script(true);
  script.Then(ModalKind::Dialog, [](ModalQuestion& q) {
    EXPECT_EQ(q.templateId, kDialogValues);
    EXPECT_EQ(q.title, "Values");
    q.dialog->SetDlgItemText(1001, "fid");
    q.dialog->SetDlgItemText(1002, "2048");
    q.dialog->SetDlgItemText(1003, "  2.25e1 units");  // a number prefix reads
    q.dialog->CheckDlgButton(1004, 0);
    q.dialog->CheckRadioButton(1005, 1006, 1005);
    q.dialog->SendDlgItemMessage(1007, CB_SETCURSEL, 1);
    return IDOK;
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.name, "fid");
  EXPECT_EQ(dlg.points, 2048u);
  EXPECT_DOUBLE_EQ(dlg.factor, 22.5);
  EXPECT_EQ(dlg.enable, 0);
  EXPECT_EQ(dlg.choice, 0);
  EXPECT_EQ(dlg.method, 1);
  EXPECT_FALSE(dlg.IsWindow());

  // Text that is no number leaves its member; Cancel leaves them all.
  script.Then(ModalKind::Dialog, [](ModalQuestion& q) {
    q.dialog->SetDlgItemText(1002, "abc");
    q.dialog->SetDlgItemText(1003, "-");
    return IDOK;
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.points, 2048u);
  EXPECT_DOUBLE_EQ(dlg.factor, 22.5);
  script.Then(ModalKind::Dialog, [](ModalQuestion& q) {
    q.dialog->SetDlgItemText(1001, "changed");
    return IDCANCEL;
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.name, "fid");
  // Keys: Return in an edit is OK, Escape is Cancel.
  script.Then(ModalKind::Dialog, [](ModalQuestion& q) {
    q.dialog->GetDlgItem(1001)->SetFocus();
    input::Key(VK_END);  // after the text, which comes chosen
    input::Type("x");
    input::Key(VK_TAB);
    EXPECT_EQ(Wnd::GetFocus(), q.dialog->GetDlgItem(1002));
    input::Key(VK_RETURN);
    EXPECT_TRUE(static_cast<Dialog*>(q.dialog)->IsEnded());
    return IDCANCEL;  // the dialog has ended already: its own end code stands
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.name, "fidx");
  EXPECT_TRUE(script.Done());
  ASSERT_EQ(ModalLog().size(), 4u);
  EXPECT_EQ(ModalLog()[2].answer, IDCANCEL);

  // Without a responder, headless: Cancel, logged, nothing waits.
  SetResponder(nullptr);
  ClearModalLog();
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  ASSERT_EQ(ModalLog().size(), 1u);
  EXPECT_FALSE(ModalLog()[0].byResponder);
  EXPECT_EQ(ModalLog()[0].templateId, kDialogValues);
  // A template that is not there.
  Dialog missing(9999);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(UiTest, MessageBoxesAnswerCancelOrTheirDefaultButtonHeadless) {
  EXPECT_EQ(MessageBox(nullptr, "Done.", "Test", MB_OK), IDOK);
  EXPECT_EQ(MessageBox(nullptr, "Save?", "Test", MB_YESNOCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBox(nullptr, "Go on?", "Test", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBox(nullptr, "Go on?", "Test", MB_YESNO | MB_DEFBUTTON2), IDNO);
  ScriptedResponder script(true);
  script.Then(ModalKind::MessageBox, [](ModalQuestion& q) {
    EXPECT_EQ(q.text, "Replace the file?");
    EXPECT_EQ(q.style & MB_TYPEMASK, MB_YESNO);
    return IDNO;
  });
  EXPECT_EQ(AppMessageBox("Replace the file?", MB_YESNO | MB_ICONQUESTION), IDNO);
  ASSERT_EQ(ModalLog().size(), 5u);
  EXPECT_EQ(ModalLog()[4].title, "KEDRUS Test");
  EXPECT_TRUE(ModalLog()[4].byResponder);
}

TEST_F(UiTest, CommonDialogsTakeTheResponderAnswersAndCancelHeadless) {
  ColorDialog color(RGB(1, 2, 3));
  EXPECT_EQ(color.DoModal(), IDCANCEL);
  EXPECT_EQ(color.GetColor(), RGB(1, 2, 3));
  FileDialog open(true, "dx", {}, OFN_FILEMUSTEXIST, "JCAMP-DX (*.dx)|*.dx||");
  EXPECT_EQ(open.DoModal(), IDCANCEL);
  EXPECT_EQ(open.GetPathName(), "");

  ScriptedResponder script(true);
  script
      .Then(ModalKind::ColorDialog,
            [](ModalQuestion& q) {
              EXPECT_EQ(*q.color, RGB(1, 2, 3));
              *q.color = RGB(0, 180, 255);
              return IDOK;
            })
      .Then(ModalKind::FileDialog,
            [](ModalQuestion& q) {
              EXPECT_FALSE(q.file->open);
              q.file->paths = {"/tmp/data/spectrum"};
              return IDOK;
            })
      .Then(ModalKind::FontDialog,
            [](ModalQuestion& q) {
              gdi::SetFaceName(*q.font, "Courier New");
              q.font->lfHeight = -16;
              return IDOK;
            })
      .Then(ModalKind::PrintDialog, [](ModalQuestion& q) {
        q.print->copies = 3;
        q.print->allPages = false;
        q.print->fromPage = 4;
        q.print->toPage = 2;
        return IDOK;
      });
  EXPECT_EQ(color.DoModal(), IDOK);
  EXPECT_EQ(color.GetColor(), 0x00FFB400u);
  FileDialog save(false, "dx", "old", OFN_OVERWRITEPROMPT, "JCAMP-DX (*.dx)|*.dx||");
  EXPECT_EQ(save.DoModal(), IDOK);
  EXPECT_EQ(save.GetPathName(), "/tmp/data/spectrum.dx");  // the default extension added
  EXPECT_EQ(save.GetFileTitle(), "spectrum");
  EXPECT_EQ(save.GetFolderPath(), "/tmp/data");
  FontDialog font;
  EXPECT_EQ(font.DoModal(), IDOK);
  EXPECT_EQ(font.GetFaceName(), "Courier New");
  EXPECT_EQ(font.GetSize(), 120);
  // A stored height of INT_MIN (a damaged font record) has a size, as the largest one does.
  gdi::LOGFONTA stored = font.m_lf;
  stored.lfHeight = INT_MIN;
  EXPECT_EQ(FontDialog(&stored).GetSize(), gdi::MulDiv(INT_MAX, 720, 96));
  PrintDialog print(false);
  EXPECT_EQ(print.DoModal(), IDOK);
  EXPECT_EQ(print.GetCopies(), 3);
  EXPECT_TRUE(print.PrintRange());
  EXPECT_EQ(print.GetFromPage(), 2);  // a reversed range comes back in order
  EXPECT_EQ(print.GetToPage(), 4);
  EXPECT_TRUE(script.Done());
}

class TextPage : public PropertyPage {
 public:
  TextPage() : PropertyPage(kDialogPageA) {}
  std::string text = "start";
  std::string applied;
  int resets = 0;
  bool loading = false;
  bool OnInitDialog() override {
    PropertyPage::OnInitDialog();
    // A single-line edit reports the program's text as a change too.
    loading = true;
    SetDlgItemText(2001, text);
    loading = false;
    return true;
  }
  bool OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == 2001 && !loading) SetModified(true);
    return PropertyPage::OnCommand(wParam, lParam);
  }
  void OnOK() override { applied = GetDlgItemText(2001); }
  void OnReset() override { ++resets; }
};

class FlagPage : public PropertyPage {
 public:
  FlagPage() : PropertyPage(kDialogPageB) {}
  int inits = 0;
  int applies = 0;
  bool OnInitDialog() override {
    ++inits;
    return PropertyPage::OnInitDialog();
  }
  void OnOK() override { ++applies; }
};

TEST_F(UiTest, PropertySheetsApplyMadePagesAndTrackTheModifiedState) {
  TextPage a;
  FlagPage b;
  ScriptedResponder script(true);
  script.Then(ModalKind::PropertySheet, [&](ModalQuestion& q) {
    PropertySheet* sheet = q.sheet;
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_EQ(b.inits, 0);  // a page is made when it first shows
    EXPECT_FALSE(sheet->IsApplyEnabled());
    a.SetDlgItemText(2001, "edited");
    EXPECT_TRUE(a.IsModified());
    EXPECT_TRUE(sheet->IsApplyEnabled());
    EXPECT_TRUE(sheet->PressButton(ID_APPLY_NOW));
    EXPECT_EQ(a.applied, "edited");
    EXPECT_FALSE(sheet->IsApplyEnabled());
    EXPECT_TRUE(sheet->SetActivePage(1));
    EXPECT_EQ(b.inits, 1);
    return IDOK;
  });
  PropertySheet sheet("Settings");
  sheet.AddPage(&a);
  sheet.AddPage(&b);
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(b.applies, 1);
  EXPECT_EQ(a.resets, 0);

  // Cancel resets the pages that were made; pages never shown are not made at all.
  TextPage c;
  FlagPage d;
  PropertySheet second("Settings");
  second.AddPage(&c);
  second.AddPage(&d);
  EXPECT_EQ(second.DoModal(), IDCANCEL);  // headless, no responder
  EXPECT_EQ(c.resets, 1);
  EXPECT_EQ(d.inits, 0);
  EXPECT_EQ(d.applies, 0);
  EXPECT_EQ(ModalLog().back().kind, ModalKind::PropertySheet);
}

// As a dialog or a sheet comes up (still hidden when its first control is chosen), its first
// field has the keyboard with its text chosen: typing replaces the text, Tab goes on from there.
TEST_F(UiTest, ADialogAndASheetComeUpWithTheirFirstFieldTakingTyping) {
  ScriptedResponder script(true);
  script.Then(ModalKind::Dialog, [](ModalQuestion& q) {
    EXPECT_EQ(Wnd::GetFocus(), q.dialog->GetDlgItem(1001));
    input::Type("fid");
    input::Key(VK_TAB);
    EXPECT_EQ(Wnd::GetFocus(), q.dialog->GetDlgItem(1002));
    return IDOK;
  });
  ValuesDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.name, "fid");

  TextPage page;
  script.Then(ModalKind::PropertySheet, [&](ModalQuestion&) {
    EXPECT_EQ(Wnd::GetFocus(), page.GetDlgItem(2001));
    input::Type("new");
    return IDOK;
  });
  PropertySheet sheet("Settings");
  sheet.AddPage(&page);
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(page.applied, "new");
  EXPECT_TRUE(script.Done());
}

}  // namespace
}  // namespace uitest
