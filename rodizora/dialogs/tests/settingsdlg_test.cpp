// The settings sheet and its pages driven through the modal responder: what each page shows of
// the sandbox profile and the application's settings, and what it stores.
#include "rodizora/dialogs/settingsdlg.h"

#include "platform/base/path.h"
#include "platform/base/file.h"
#include "platform/base/text.h"
#include "platform/gdi/surface.h"
#include "platform/registry/registry_testing.h"
#include "platform/ui/responder.h"
#include "rodizora/dialogs/dialogids.h"
#include "rodizora/dialogs/tests/dialogs_fixture.h"
#include "rodizora/sdf/sdfdatabase.h"

namespace {

using ui::ModalKind;
using ui::ModalQuestion;
using ui::PropertySheet;

struct FixedKinds : ISpectrumKinds {
  std::vector<plat::String16> KindNames() override { return SplitKindList(u"NMR;;MASS;IR;"); }
};

class SettingsDialog : public DialogTest {
 protected:
  // Runs the sheet; the step sees it with its first page active.
  int Run(std::function<int(PropertySheet*)> step, ISpectrumKinds* kinds = nullptr) {
    ui::ScriptedResponder script(true);
    script.Then(ModalKind::PropertySheet, [&](ModalQuestion& q) {
      EXPECT_EQ(q.title, "Document settings");
      return step(q.sheet);
    });
    for (const auto& extra : m_extra) script.Then(extra.first, extra.second);
    m_extra.clear();
    CSettingsDlg dlg(m_settings, kinds);
    const int answer = dlg.DoModal();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.Unexpected(), 0);
    return answer;
  }
  // A modal run the sheet's step causes (a message box, the colour dialog).
  void Then(ModalKind kind, ui::ScriptedResponder::Step step) { m_extra.emplace_back(kind, std::move(step)); }
  static ui::Wnd* Page(PropertySheet* sheet, int index) {
    EXPECT_TRUE(sheet->SetActivePage(index));
    return sheet->GetActivePage();
  }

  CSaAppSettings m_settings;
  std::vector<std::pair<ModalKind, ui::ScriptedResponder::Step>> m_extra;
};

TEST_F(SettingsDialog, ThePagesComeInOrderAndOnlyPagesShownStore) {
  Run([&](PropertySheet* sheet) {
    EXPECT_EQ(sheet->GetPageCount(), 5);
    std::vector<std::string> captions;
    for (int i = 0; i < sheet->GetPageCount(); ++i) captions.push_back(sheet->GetTabControl()->GetItemText(i));
    EXPECT_EQ(captions, (std::vector<std::string>{"Special Paste", "Parameters Table", "Structure Base", "Undo/Redo", "View"}));
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    // No spectrum control told its kinds: the table page has nothing to set.
    ui::Wnd* table = Page(sheet, 1);
    for (const ui::UINT id : {IDC_MODULE, IDC_TABLE_ENABLE, IDC_WIDTH, IDC_HEIGHT})
      EXPECT_FALSE(table->GetDlgItem(id)->IsWindowEnabled()) << id;
    EXPECT_FALSE(sheet->IsApplyEnabled());  // loading marks nothing modified
    return ui::IDOK;
  });
  // The first page stored what it showed; the table page had no kind; the last three never showed.
  EXPECT_EQ(StoredInt(u"ObjectLeft"), 100);
  EXPECT_EQ(StoredInt(u"ObjectHeight"), 300);
  EXPECT_EQ(StoredInt(u"Table", u"NMR"), -1);
  EXPECT_EQ(StoredString(u"IDField"), "-");
  EXPECT_EQ(StoredInt(u"ShowID"), -1);
}

TEST_F(SettingsDialog, ObjectValuesShowInMillimetresAndStoreTenthsExactly) {
  Store(u"ObjectLeft", 123);
  Store(u"ObjectWidth", 455);
  Run([&](PropertySheet* sheet) {
    ui::Wnd* page = sheet->GetActivePage();
    EXPECT_EQ(Text(page, IDC_OBJECT_X), "12.3");
    EXPECT_EQ(Text(page, IDC_OBJECT_Y), "10.0");
    EXPECT_EQ(Text(page, IDC_WIDTH), "45.5");
    EXPECT_EQ(Text(page, IDC_HEIGHT), "30.0");
    // Typed characters other than "1234567890.,-" are refused.
    TypeInto(page, IDC_OBJECT_X, "4a,5");
    EXPECT_EQ(Text(page, IDC_OBJECT_X), "4,5");
    SetText(page, IDC_OBJECT_X, "12.34");
    SetText(page, IDC_OBJECT_Y, "2,3");
    SetText(page, IDC_WIDTH, "abc");  // no number: the stored value stays
    SetText(page, IDC_HEIGHT, "-0.05");
    EXPECT_TRUE(sheet->IsApplyEnabled());
    return ui::IDOK;
  });
  EXPECT_EQ(StoredInt(u"ObjectLeft"), 123);
  EXPECT_EQ(StoredInt(u"ObjectTop"), 23);
  EXPECT_EQ(StoredInt(u"ObjectWidth"), 455);
  EXPECT_EQ(StoredInt(u"ObjectHeight"), 0);
}

TEST_F(SettingsDialog, EditsSurviveALeaveAndApplyStoresAtOnce) {
  const int answer = Run([&](PropertySheet* sheet) {
    ui::Wnd* page = sheet->GetActivePage();
    SetText(page, IDC_OBJECT_X, "5");
    Page(sheet, 2);
    EXPECT_EQ(Page(sheet, 0), page);
    EXPECT_EQ(Text(page, IDC_OBJECT_X), "5");
    EXPECT_TRUE(sheet->PressButton(ui::ID_APPLY_NOW));
    EXPECT_FALSE(sheet->IsApplyEnabled());
    EXPECT_EQ(StoredInt(u"ObjectLeft"), 50);
    // After Apply the page shows the profile again when it comes back.
    Store(u"ObjectLeft", 70);
    Page(sheet, 3);
    EXPECT_EQ(Text(Page(sheet, 0), IDC_OBJECT_X), "7.0");
    SetText(page, IDC_OBJECT_X, "9");
    return ui::IDCANCEL;
  });
  EXPECT_EQ(answer, ui::IDCANCEL);
  EXPECT_EQ(StoredInt(u"ObjectLeft"), 70);
}

TEST_F(SettingsDialog, TheTablePageEditsTheValuesOfTheChosenKind) {
  FixedKinds kinds;
  Store(u"TableHeight", 200, u"MASS");
  Run(
      [&](PropertySheet* sheet) {
        ui::Wnd* page = Page(sheet, 1);
        auto* combo = static_cast<ui::ComboBox*>(page->GetDlgItem(IDC_MODULE));
        EXPECT_EQ(combo->GetCount(), 3);
        EXPECT_EQ(combo->GetLBText(0) + combo->GetLBText(1) + combo->GetLBText(2), "NMRMASSIR");
        EXPECT_EQ(combo->GetCurSel(), 0);
        EXPECT_EQ(Text(page, IDC_HEIGHT), "15.0");
        EXPECT_EQ(Text(page, IDC_WIDTH), "30.0");
        EXPECT_FALSE(page->GetDlgItem(IDC_WIDTH)->IsWindowEnabled());
        EXPECT_FALSE(page->GetDlgItem(IDC_ALIGN_LEFT)->IsWindowEnabled());
        EXPECT_EQ(page->IsDlgButtonChecked(IDC_TABLE_ENABLE), 1u);
        // An edit for NMR is dropped when the kind changes.
        SetText(page, IDC_HEIGHT, "17.5");
        ChooseComboEntry(page, IDC_MODULE, 1);
        EXPECT_EQ(Text(page, IDC_HEIGHT), "20.0");
        static_cast<ui::Button*>(page->GetDlgItem(IDC_TABLE_ENABLE))->Click();
        EXPECT_TRUE(sheet->IsApplyEnabled());
        return ui::IDOK;
      },
      &kinds);
  EXPECT_EQ(StoredInt(u"TableHeight", u"MASS"), 200);
  EXPECT_EQ(StoredInt(u"TableWidth", u"MASS"), 300);
  EXPECT_EQ(StoredInt(u"Table", u"MASS"), 0);
  EXPECT_EQ(StoredInt(u"TableHeight", u"NMR"), -1);
}

TEST_F(SettingsDialog, TheDatabasePageEditsTheIdentifierField) {
  ASSERT_TRUE(WriteSdfSettings(u"CAS", false));
  Run([&](PropertySheet* sheet) {
    ui::Wnd* page = Page(sheet, 2);
    EXPECT_EQ(Text(page, IDC_ID_FIELD), "CAS");
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_SHOW_ID), 0u);
    SetText(page, IDC_ID_FIELD, "REGNO");
    static_cast<ui::Button*>(page->GetDlgItem(IDC_SHOW_ID))->Click();
    return ui::IDOK;
  });
  EXPECT_EQ(StoredString(u"IDField"), "REGNO");
  EXPECT_EQ(StoredInt(u"ShowID"), 1);
}

TEST_F(SettingsDialog, UndoAndViewPagesChangeTheApplicationsSettings) {
  Store(u"UndoBufferSize", 7);
  Store(u"ViewProperties", 3);
  {
    CSaAppSettings seeded;
    seeded.Read();
    EXPECT_EQ(seeded.background, 0xFFFFFFu);  // the default
    seeded.background = 0x00FF00;
    ASSERT_TRUE(seeded.Write());
  }
  m_settings.Read();
  EXPECT_EQ(m_settings.undoBufferSize, 7);
  EXPECT_EQ(m_settings.viewProperties, 3);
  Then(ModalKind::ColorDialog, [](ModalQuestion& q) {
    EXPECT_EQ(*q.color, 0x00FF00u);
    *q.color = 0x0000FF;
    return ui::IDOK;
  });
  Run([&](PropertySheet* sheet) {
    ui::Wnd* undo = Page(sheet, 3);
    EXPECT_EQ(Text(undo, IDC_UNDO_SIZE), "7");
    // Digits only.
    TypeInto(undo, IDC_UNDO_SIZE, "1x2");
    EXPECT_EQ(Text(undo, IDC_UNDO_SIZE), "12");

    ui::Wnd* view = Page(sheet, 4);
    EXPECT_EQ(view->IsDlgButtonChecked(IDC_SEPARATE_PROPERTIES), 1u);
    auto* swatchButton = static_cast<ui::Button*>(view->GetDlgItem(IDC_BACKGROUND));
    auto swatchPixels = [&] {
      const gdi::Bitmap swatch = swatchButton->GetBitmap();
      EXPECT_FALSE(swatch.IsNull());
      return swatch.IsNull() ? nullptr : swatch.Surface();
    };
    ui::Rect client;
    swatchButton->GetClientRect(&client);
    gdi::RasterSurface* pixels = swatchPixels();
    if (!pixels) return ui::IDCANCEL;
    // The client size less 4 pixels on each side, outlined in black, filled with the colour.
    EXPECT_EQ(pixels->Width(), client.Width() - 8);
    EXPECT_EQ(pixels->Height(), client.Height() - 8);
    const int w = pixels->Width(), h = pixels->Height();
    EXPECT_EQ(pixels->CountPixels(0x000000), 2 * (w + h) - 4);
    EXPECT_EQ(pixels->CountPixels(0x00FF00), std::int64_t(w - 2) * (h - 2));

    swatchButton->Click();  // the colour dialog answers red
    pixels = swatchPixels();
    if (!pixels) return ui::IDCANCEL;
    EXPECT_EQ(pixels->GetPixel(w / 2, h / 2), 0x0000FFu);
    EXPECT_EQ(pixels->GetPixel(0, 0), 0x000000u);
    EXPECT_TRUE(sheet->IsApplyEnabled());
    static_cast<ui::Button*>(view->GetDlgItem(IDC_SEPARATE_PROPERTIES))->Click();
    return ui::IDOK;
  });
  EXPECT_EQ(m_settings.undoBufferSize, 12);
  EXPECT_EQ(m_settings.background, 0x0000FFu);
  EXPECT_EQ(m_settings.viewProperties, 0);
  // The application writes them back at exit.
  ASSERT_TRUE(m_settings.Write());
  EXPECT_EQ(StoredInt(u"UndoBufferSize"), 12);
  EXPECT_EQ(StoredDWord(u"Background"), 0x0000FFu);
  EXPECT_EQ(StoredInt(u"ViewProperties"), 0);
}

TEST_F(SettingsDialog, AProfileThatCannotBeWrittenKeepsTheSheetOpen) {
  // The registry's folder lies below a file: no write can succeed.
  const std::string blocker = plat::joinPath(Scratch(), "file");
  ASSERT_TRUE(plat::writeFileAtomic(blocker, "x"));
  ::setenv("KEDRUS_REGISTRY_DIR", plat::joinPath(blocker, "registry").c_str(), 1);
  plat::reg::resetForTesting();
  Then(ModalKind::MessageBox, [](ModalQuestion& q) {
    EXPECT_EQ(q.text, "The settings could not be written to the profile.");
    return ui::IDOK;
  });
  const int answer = Run([&](PropertySheet* sheet) {
    SetText(sheet->GetActivePage(), IDC_OBJECT_X, "5");
    sheet->PressButton(ui::IDOK);
    EXPECT_FALSE(sheet->IsEnded());
    return ui::IDCANCEL;
  });
  EXPECT_EQ(answer, ui::IDCANCEL);
}

TEST(ParseTenths, ReadsTheDecimalTextExactly) {
  struct Case {
    const char* text;
    bool number;
    int tenths;
  };
  const Case cases[] = {
      {"2.3", true, 23},  {"10.01", true, 100}, {"12.34", true, 123},  {"1,5", true, 15},
      {"-2.37", true, -23}, {".5", true, 5},    {"5.", true, 50},      {"0.05", true, 0},
      {"  7", true, 70},  {"1.2.3", true, 12},  {"1e2", true, 1000},   {"25e-1", true, 25},
      {"3e", true, 30},   {"007.0", true, 70},  {"214748364.7", true, 2147483647},
      {"-214748364.8", true, -2147483647 - 1},  {"214748364.8", false, 0}, {"1e12", false, 0},
      {"", false, 0},     {"-", false, 0},      {".", false, 0},       {"abc", false, 0},
  };
  for (const Case& c : cases) {
    int tenths = 999;
    EXPECT_EQ(ParseTenths(c.text, &tenths), c.number) << c.text;
    EXPECT_EQ(tenths, c.number ? c.tenths : 999) << c.text;
  }
  EXPECT_EQ(FormatTenths(123), "12.3");
  EXPECT_EQ(FormatTenths(-5), "-0.5");
}

}  // namespace
