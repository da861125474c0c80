// The auxiliary controls' pages in the property frame over the real table and structure
// controls: what each page shows, and that edits reach the control only on Apply.
#include <functional>

#include "common/guids.h"
#include "controls/base/tests/control_fixture.h"
#include "controls/module/karvelapp.h"
#include "controls/pages/pages.h"
#include "controls/structure/structcontrol.h"
#include "controls/table/tablecontrol.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/factory.h"
#include "platform/ui/messages.h"
#include "platform/ui/responder.h"

namespace karvel::test {
namespace {

// The page the frame made last.
OlePropertyPage*& LastPage() {
  static OlePropertyPage* last = nullptr;
  return last;
}
template <class Page>
ComObject* MakePage() {
  auto* page = new Page;
  LastPage() = page;
  return page;
}

const ui::ResourceSet& PageResources() {
  static const ui::ResourceSet set = [] {
    ui::ResourceSet copy = KarvelResources();
    copy.dialogs = KarvelPageDialogs();
    return copy;
  }();
  return set;
}

class PagesTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ui::SetAppResources(&PageResources());
    const std::pair<const Guid*, ObjectCreator> pages[] = {
        {&CLSID_KnobPropPage, &MakePage<CKnobPropPage>},     {&CLSID_SoftButtonPropPage, &MakePage<CSButtonPropPage>},
        {&CLSID_TablePropPage1, &MakePage<CTablePropPage1>}, {&CLSID_TablePropPage2, &MakePage<CTablePropPage2>},
        {&CLSID_StructPropPage, &MakePage<CStructPropPage>}, {&CLSID_FieldsPropPage, &MakePage<CFieldsPropPage>},
    };
    for (const auto& [clsid, create] : pages) {
      IClassFactory* factory = nullptr;
      ASSERT_EQ(ClassFactory::create(create, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
      DWord cookie = 0;
      ASSERT_EQ(registerClassObject(*clsid, factory, &cookie), S_OK);
      cookies_.push_back(cookie);
      factory->Release();
    }
  }
  void TearDown() override {
    for (DWord cookie : cookies_) revokeClassObject(cookie);
    cookies_.clear();
    LastPage() = nullptr;
    ControlTest::TearDown();
  }

  // Runs the frame with one page over object; inspect sees it while it is up. Extra answers
  // (colour and font dialogs) come from the responder the caller scripted before.
  template <class Page>
  void RunPage(ui::ScriptedResponder& responder, IUnknown* object, const Guid& page,
               const std::function<void(PropertyFrame&, Page&)>& inspect) {
    bool ran = false;
    responder.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
      auto* frame = dynamic_cast<PropertyFrame*>(q.dialog);
      auto* shown = dynamic_cast<Page*>(LastPage());
      EXPECT_TRUE(frame && shown);
      if (frame && shown) inspect(*frame, *shown);
      ran = true;
      return ui::IDCANCEL;
    });
    IUnknown* objects[] = {object};
    EXPECT_EQ(showPropertyFrame(ui::kNoWnd, u"Properties", objects, std::span<const Guid>(&page, 1), 0),
              ui::IDCANCEL);
    EXPECT_TRUE(ran);
  }

  // A notification of a page item, as the item sends it.
  static void Notify(ui::Wnd& page, ui::UINT id, int code) {
    page.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(static_cast<ui::WORD>(id), static_cast<ui::WORD>(code)),
                     ui::HandleToParam(page.GetDlgItem(id)->m_hWnd));
  }
  static void Choose(ui::Wnd& page, ui::UINT id, int index) {
    dynamic_cast<ui::ComboBox*>(page.GetDlgItem(id))->SetCurSel(index);
    Notify(page, id, ui::CBN_SELCHANGE);
  }
  static void Type(ui::Wnd& page, ui::UINT id, const std::string& text) {
    page.SetDlgItemText(id, text);
    Notify(page, id, ui::EN_CHANGE);
  }

 private:
  std::vector<DWord> cookies_;
};

// A table control of columns x rows whose cells say where they are.
struct Table {
  Table(std::uint32_t columns, std::uint32_t rows) {
    control->QueryInterface(IID_ITableControl, reinterpret_cast<void**>(&table));
    EXPECT_EQ(table->SetTableSize(columns, rows), S_OK);
    for (std::uint32_t c = 0; c < columns; ++c)
      for (std::uint32_t r = 0; r < rows; ++r)
        table->SetCellText(c, r, plat::toUtf16("c" + std::to_string(c) + "r" + std::to_string(r)).c_str());
  }
  ~Table() {
    table->Release();
    control->Release();
  }
  std::string Text(std::uint32_t c, std::uint32_t r) {
    std::u16string buffer(1024, u'\0');
    table->GetCellText(c, r, buffer.data(), 1024);
    return plat::toUtf8(buffer.c_str());
  }
  std::uint32_t Color(std::uint32_t c, std::uint32_t r) {
    std::uint32_t color = 0;
    table->GetCellColor(c, r, &color);
    return color;
  }
  std::int32_t FontHeight(std::uint32_t c, std::uint32_t r) {
    IDispatch* font = nullptr;
    table->GetCellFont(c, r, &font);
    gdi::LOGFONTA record{};
    COleFont(&record).CopyFrom(font);
    return record.lfHeight;
  }
  IUnknown* Unknown() { return control->GetUnknown(); }

  CTableControl* control = new CTableControl;
  ITableControl* table = nullptr;
};

std::vector<std::string> Items(ui::Wnd& page, ui::UINT id) {
  auto* list = dynamic_cast<ui::ComboBox*>(page.GetDlgItem(id));
  std::vector<std::string> items;
  for (int i = 0; list && i < list->GetCount(); ++i) items.push_back(list->GetLBText(i));
  return items;
}

TEST_F(PagesTest, CellsOffersEveryColumnAndRowAndShowsTheChosenCellWhole) {
  Table t(2, 3);
  const std::string longText(700, 'x');  // longer than a 260-character buffer
  t.table->SetCellText(1, 2, plat::toUtf16(longText).c_str());
  t.table->SetCellColor(1, 2, 0x00FFB400);
  ui::ScriptedResponder responder(true);
  RunPage<CTablePropPage2>(responder, t.Unknown(), CLSID_TablePropPage2, [&](PropertyFrame&, CTablePropPage2& page) {
    EXPECT_EQ(Items(page, IDC_CELL_COLUMN), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Items(page, IDC_CELL_ROW), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(page.GetDlgItemText(IDC_CELL_TEXT), "c0r0");
    Choose(page, IDC_CELL_COLUMN, 1);
    Choose(page, IDC_CELL_ROW, 2);
    EXPECT_EQ(page.CurrentColumn(), 1u);
    EXPECT_EQ(page.CurrentRow(), 2u);
    EXPECT_EQ(page.GetDlgItemText(IDC_CELL_TEXT), longText);
    // The swatch shows the cell's colour.
    const gdi::Bitmap swatch = dynamic_cast<ui::Button*>(page.GetDlgItem(IDC_CELL_COLOR))->GetBitmap();
    ASSERT_FALSE(swatch.IsNull());
    EXPECT_GT(swatch.Surface()->CountPixels(0x00FFB400), 0);
    EXPECT_FALSE(page.IsModified());  // looking changes nothing
  });
  EXPECT_EQ(t.Text(1, 2), longText);
}

TEST_F(PagesTest, CellsKeepsTheEditsOfSeveralCellsAndAppliesThemAllOnApplyOnly) {
  Table t(2, 3);
  const std::int32_t heightBefore = t.FontHeight(0, 1);
  ui::ScriptedResponder responder(true);
  RunPage<CTablePropPage2>(responder, t.Unknown(), CLSID_TablePropPage2, [&](PropertyFrame& frame, CTablePropPage2& page) {
    ui::ScriptedResponder choosers(true);
    choosers.Then(ui::ModalKind::ColorDialog, [](ui::ModalQuestion& q) {
      *q.color = 0x0000C0;
      return ui::IDOK;
    });
    choosers.Then(ui::ModalKind::FontDialog, [](ui::ModalQuestion& q) {
      q.font->lfHeight = -32;  // pixels while the dialog runs: 24 points at 96 per inch
      return ui::IDOK;
    });
    Type(page, IDC_CELL_TEXT, "first");  // cell (0, 0)
    Choose(page, IDC_CELL_ROW, 1);       // cell (0, 1): colour and font
    page.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(IDC_CELL_COLOR, ui::BN_CLICKED),
                     ui::HandleToParam(page.GetDlgItem(IDC_CELL_COLOR)->m_hWnd));
    page.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(IDC_CELL_FONT, ui::BN_CLICKED),
                     ui::HandleToParam(page.GetDlgItem(IDC_CELL_FONT)->m_hWnd));
    EXPECT_EQ(page.GetDlgItemText(IDC_FONT_SIZE), "24");
    Choose(page, IDC_CELL_COLUMN, 1);  // cell (1, 1): text
    Type(page, IDC_CELL_TEXT, "third");
    // Going back shows the pending edit, not the table's text.
    Choose(page, IDC_CELL_COLUMN, 0);
    Choose(page, IDC_CELL_ROW, 0);
    EXPECT_EQ(page.GetDlgItemText(IDC_CELL_TEXT), "first");
    EXPECT_EQ(page.PendingCells(), 3u);

    // Nothing has reached the table yet.
    EXPECT_EQ(t.Text(0, 0), "c0r0");
    EXPECT_EQ(t.Color(0, 1), 0u);
    EXPECT_EQ(t.Text(1, 1), "c1r1");
    EXPECT_TRUE(frame.IsApplyEnabled());

    EXPECT_TRUE(frame.ApplyAll());
    EXPECT_EQ(t.Text(0, 0), "first");
    EXPECT_EQ(t.Color(0, 1), 0x0000C0u);
    EXPECT_EQ(t.FontHeight(0, 1), 24);
    EXPECT_NE(heightBefore, 24);
    EXPECT_EQ(t.Text(1, 1), "third");
    EXPECT_EQ(t.Text(0, 1), "c0r1");  // untouched fields of an edited cell stay
    EXPECT_EQ(page.PendingCells(), 0u);
    EXPECT_FALSE(frame.IsApplyEnabled());
    EXPECT_EQ(choosers.Unexpected(), 0);
  });
  EXPECT_EQ(responder.Unexpected(), 0);
}

TEST_F(PagesTest, SizeAndPositionShowsTheCountsAndRefusesSizesBeyondTheCaps) {
  Table t(2, 3);
  ui::ScriptedResponder responder(true);
  RunPage<CTablePropPage1>(responder, t.Unknown(), CLSID_TablePropPage1, [&](PropertyFrame& frame, CTablePropPage1& page) {
    EXPECT_EQ(page.GetDlgItemText(IDC_TABLE_COLUMNS), "2");
    EXPECT_EQ(page.GetDlgItemText(IDC_TABLE_ROWS), "3");
    EXPECT_FALSE(page.IsModified());
    Type(page, IDC_TABLE_COLUMNS, "4");
    std::uint32_t columns = 0, rows = 0;
    t.table->GetTableSize(&columns, &rows);
    EXPECT_EQ(columns, 2u);  // not before Apply
    EXPECT_TRUE(frame.ApplyAll());
    t.table->GetTableSize(&columns, &rows);
    EXPECT_EQ(columns, 4u);
    EXPECT_EQ(rows, 3u);

    // Beyond the caps, or negative: refused, the page stays dirty, the table keeps its size.
    for (const char* text : {"1025", "-1"}) {
      Type(page, IDC_TABLE_ROWS, text);
      EXPECT_FALSE(frame.ApplyAll()) << text;
      EXPECT_TRUE(page.IsModified());
      t.table->GetTableSize(&columns, &rows);
      EXPECT_EQ(rows, 3u) << text;
    }
  });
}

TEST_F(PagesTest, TablePagesOverAnObjectWithoutTheTableInterfaceShowAndApplyNothing) {
  CStructureControl* other = new CStructureControl;
  ui::ScriptedResponder responder(true);
  RunPage<CTablePropPage2>(responder, other->GetUnknown(), CLSID_TablePropPage2, [&](PropertyFrame&, CTablePropPage2& page) {
    EXPECT_TRUE(Items(page, IDC_CELL_COLUMN).empty());
    EXPECT_EQ(page.GetDlgItemText(IDC_CELL_TEXT), "");
  });
  other->Release();
}

TEST_F(PagesTest, StructureAndFieldsEditTheNamedPropertiesOnApply) {
  CStructureControl* structure = new CStructureControl;
  structure->SetStructLineWidth(30);
  structure->SetFieldsCols(3);
  ui::ScriptedResponder responder(true);
  RunPage<CStructPropPage>(responder, structure->GetUnknown(), CLSID_StructPropPage, [&](PropertyFrame& frame, CStructPropPage& page) {
    ui::ScriptedResponder colours(true);
    colours.Then(ui::ModalKind::ColorDialog, [](ui::ModalQuestion& q) {
      *q.color = 0x00FF00;
      return ui::IDOK;
    });
    auto* widths = dynamic_cast<ui::ComboBox*>(page.GetDlgItem(IDC_LINE_WIDTH));
    EXPECT_EQ(widths->GetCurSel(), 5);  // the first width not below 30 is 40
    page.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(IDC_LINE_COLOR, ui::BN_CLICKED),
                     ui::HandleToParam(page.GetDlgItem(IDC_LINE_COLOR)->m_hWnd));
    auto* hollow = dynamic_cast<ui::Button*>(page.GetDlgItem(IDC_HOLLOW));
    hollow->SetCheck(ui::BST_CHECKED);
    Notify(page, IDC_HOLLOW, ui::BN_CLICKED);
    EXPECT_FALSE(page.GetDlgItem(IDC_BACK_COLOR)->IsWindowEnabled());
    EXPECT_NE(structure->GetStructLineColor(), 0x00FF00u);
    EXPECT_TRUE(frame.ApplyAll());
    EXPECT_EQ(structure->GetStructLineColor(), 0x00FF00u);
    EXPECT_TRUE(structure->GetHollow());
  });
  EXPECT_EQ(responder.Unexpected(), 0);
  ui::ScriptedResponder fields(true);
  RunPage<CFieldsPropPage>(fields, structure->GetUnknown(), CLSID_FieldsPropPage, [&](PropertyFrame& frame, CFieldsPropPage& page) {
    auto* columns = dynamic_cast<ui::ListBox*>(page.GetDlgItem(IDC_FIELDS_COLUMNS));
    ASSERT_EQ(columns->GetCount(), 7);
    EXPECT_EQ(columns->GetTopIndex(), 3);
    // A column count of 0 is stored as 1.
    columns->SetTopIndex(0);
    Notify(page, IDC_FIELDS_COLUMNS, ui::LBN_SELCHANGE);
    EXPECT_TRUE(frame.ApplyAll());
    EXPECT_EQ(structure->GetFieldsCols(), 1);
  });
  EXPECT_EQ(fields.Unexpected(), 0);
  structure->Release();
}

TEST_F(PagesTest, TheKnobAndSoftButtonPagesShowAGeneralPageWithNothingToEdit) {
  CTableControl* any = new CTableControl;
  ui::ScriptedResponder responder(true);
  for (const Guid& page : {CLSID_KnobPropPage, CLSID_SoftButtonPropPage})
    RunPage<OlePropertyPage>(responder, any->GetUnknown(), page, [&](PropertyFrame& frame, OlePropertyPage& shown) {
      EXPECT_EQ(shown.GetCaption(), "General");
      EXPECT_FALSE(frame.IsApplyEnabled());
    });
  any->Release();
}

}  // namespace
}  // namespace karvel::test
