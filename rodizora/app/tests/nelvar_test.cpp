// The program with the real spectrum control (libnelvar.so, registered into the sandbox as the
// set-up registers it).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>

#include "common/guids.h"
#include "common/itablecontrol.h"
#include "common/shared_ids.h"
#include "foundation/filedlg/filesavedlg.h"
#include "platform/base/file.h"
#include "platform/base/text.h"
#include "platform/com/driver.h"
#include "platform/com/library.h"
#include "platform/ole/container.h"
#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/input.h"
#include "platform/ui/responder.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/frame/standardbar.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/res/saids.h"
#include "rodizora/view/saview.h"
#include "spectrum/control/module/command_ids.h"

namespace apptest {
namespace {

class NelvarTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(RegisterNelvar()) << "libnelvar.so serves no spectrum control";
  }
};

TEST_F(NelvarTest, ASpectrumItemOfTheSampleDrawsItsPlot) {
  ASSERT_TRUE(Start());
  app->OnFileNew();
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  CSaItem* item = doc->CreateSpectrumItem(plat::toUtf16(SAMPLE_FID), 0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetMethodName(), u"NMR");
  EXPECT_EQ(item->GetRect(), gdi::Rect(0, 0, doc->PageWidth(), doc->PageHeight()));
  EXPECT_GT(DrawnPixels(dynamic_cast<CSaView*>(doc->GetViews().front()), item), 500);
  MainFrame()->Render()->SavePng(ScratchDir("nelvar_item") + "/sample_item.png");
}

// A dispatch property of an item's object by name, as an integer (-1 when it has none).
int IntProperty(CSaItem* item, const char16_t* name) {
  auto* dispatch = static_cast<plat::ole::IDispatch*>(item->QueryObject(plat::ole::IID_IDispatch));
  if (!dispatch) return -1;
  plat::ole::DispatchDriver driver(dispatch, true);
  const char16_t* names[] = {name};
  plat::ole::DispId id = 0;
  plat::ole::Variant v;
  plat::ole::variantInit(&v);
  if (dispatch->GetIDsOfNames(plat::ole::IID_NULL, names, 1, 0, &id) < 0 || driver.getProperty(id, &v) < 0) return -1;
  const int value = v.vt == plat::ole::VT_BOOL ? (v.boolean ? 1 : 0) : v.i32;
  plat::ole::variantClear(&v);
  return value;
}

TEST_F(NelvarTest, AFirstStartGivesAnNmrPageNoMassLabelsAndAParameterTableWithValues) {
  ASSERT_TRUE(RegisterKarvel());
  ASSERT_TRUE(Start({SAMPLE_FID}));
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  CSaItem* spectrum = nullptr;
  CSaItem* table = nullptr;
  for (CSaItem* item : doc->Items()) (item->Record().type == ItemTypeTable ? table : spectrum) = item;
  ASSERT_NE(spectrum, nullptr);
  ASSERT_NE(table, nullptr);
  // The shipped defaults: an NMR spectrum has no mass-peak labels.
  EXPECT_EQ(IntProperty(spectrum, u"MPeaksEnable"), 0);
  EXPECT_EQ(IntProperty(spectrum, u"TPeaksEnable"), 1);
  // The NMR table: the names over the spectrum's values.
  auto* cells = static_cast<ITableControl*>(table->QueryObject(IID_ITableControl));
  ASSERT_NE(cells, nullptr);
  std::uint32_t columns = 0, rows = 0;
  EXPECT_EQ(cells->GetTableSize(&columns, &rows), plat::ole::S_OK);
  EXPECT_EQ(columns, 6u);
  EXPECT_EQ(rows, 2u);
  const auto cell = [&](std::uint32_t c, std::uint32_t r) {
    char16_t text[64] = {};
    return cells->GetCellText(c, r, text, 63) >= 0 ? plat::toUtf8(text) : std::string("<none>");
  };
  EXPECT_EQ(cell(0, 0), "Title");
  EXPECT_EQ(cell(2, 0), "Frequency");
  EXPECT_EQ(cell(2, 1), "$SF$");
  EXPECT_EQ(cell(5, 1), "$DATE$");
  cells->Release();
  // The whole page in the window (half size): the table's texts are drawn below the trace.
  auto* view = dynamic_cast<CSaView*>(doc->GetViews().front());
  view->OnZoom(CStandardBar::kZoomCommandFirst + 50);
  EXPECT_GT(DrawnPixels(view, table), 200);
  MainFrame()->Render()->SavePng(ScratchDir("first_start") + "/first_start.png");
  UnregisterKarvel();
}

TEST_F(NelvarTest, TheSampleOpensFromTheCommandLineAsAPage) {
  ASSERT_EQ(CSaDoc::GetSpectraCountInFile(plat::toUtf16(SAMPLE_FID)), 1);
  ASSERT_TRUE(Start({SAMPLE_FID, "-PROCESS", "EM;FT;AP"}));
  ASSERT_EQ(Documents().size(), 1u);
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  ASSERT_GE(doc->Items().size(), 1u);
  // The commands ran on the control: the transform doubled the points, the phase was found.
  const CSpcControlRef control = CSpcControlRef::Query(doc->Items()[0]->GetOleObject());
  std::int32_t points = 0;
  ASSERT_GE(control->GetSize(&points), 0);
  EXPECT_EQ(points, 16384);
  const auto phase = control.Param(u"PH0");
  ASSERT_TRUE(phase);
  EXPECT_NE(std::strtod(plat::toUtf8(*phase).c_str(), nullptr), 0.0);
  EXPECT_GT(DrawnPixels(dynamic_cast<CSaView*>(doc->GetViews().front()), doc->Items()[0]), 500);
  MainFrame()->Render()->SavePng(ScratchDir("nelvar_page") + "/sample_page.png");
}

TEST_F(NelvarTest, FileOpenChoosesFilesInTheExplorerStyleDialog) {
  ASSERT_TRUE(Start());
  const std::string folder = ScratchDir("open");
  std::filesystem::copy_file(SAMPLE_FID, folder + "/sample.dx");
  WriteFile(folder, "notes.txt", "not a spectrum\n");
  SaSettings().loadDirectory = plat::toUtf16(folder);
  ui::ScriptedResponder script(true);
  script.Then(ui::ModalKind::Window, [&](ui::ModalQuestion& q) {
    CFileOpenDlg& dialog = app->OpenDialog();
    EXPECT_EQ(q.window, &dialog);
    EXPECT_EQ(dialog.GetCurrentDirectory(), folder);
    EXPECT_TRUE(ui::App::PumpUntil([&] { return dialog.IsListingComplete(); }, 60000));
    ui::ListCtrl& files = dialog.FileList();
    EXPECT_EQ(files.GetItemCount(), 1);  // the recognised file alone
    if (files.GetItemCount() < 1) return ui::IDCANCEL;
    EXPECT_EQ(files.GetItemText(0, 0), "sample.dx");
    files.SetItemState(0, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
    auto* open = dynamic_cast<ui::Button*>(dialog.BottomBar().GetDlgItem(ui::IDOK));
    EXPECT_NE(open, nullptr);
    if (open) open->Click();
    return ui::IDOK;
  });
  EXPECT_EQ(app->OnFileOpenFiles(), 1);
  EXPECT_TRUE(script.Done());
  ASSERT_EQ(Documents().size(), 1u);
  EXPECT_EQ(Documents().front()->GetPathName(), folder + "/sample.dx");
  EXPECT_EQ(SaSettings().loadDirectory, plat::toUtf16(folder));
  // Cancelled, nothing more opens.
  EXPECT_EQ(app->OnFileOpenFiles(), 0);
  EXPECT_EQ(Documents().size(), 1u);
}

// Every parameter of a spectrum item's control but its file name.
std::map<plat::String16, plat::String16> ParamsOf(CSaItem* item) {
  std::map<plat::String16, plat::String16> params;
  const CSpcControlRef control = CSpcControlRef::Query(item->GetOleObject());
  plat::ole::Bstr names = nullptr;
  if (!control || control->GetParamNames(&names) < 0) return params;
  const plat::String16 list = TakeBstr(names);
  for (std::size_t at = 0; at < list.size();) {
    std::size_t end = list.find_first_of(u";,\n", at);
    if (end == plat::String16::npos) end = list.size();
    const plat::String16 name = list.substr(at, end - at);
    if (!name.empty() && name != u"FILENAME")
      if (const auto value = control.Param(name)) params[name] = *value;
    at = end + 1;
  }
  return params;
}

// Save As through the save dialog: the first format (the workspace) in folder under name; look
// sees the dialog first. save runs the command (Save As unless told otherwise).
void SaveAsWorkspace(CSaDoc* doc, const std::string& folder, const char* name,
                     const std::function<void(CFileSaveDlg&)>& look = {},
                     void (CSaDoc::*save)() = &CSaDoc::OnFileSaveAs) {
  SaSettings().saveDirectory = plat::toUtf16(folder);
  ui::ScriptedResponder script(true);
  script.Then(ui::ModalKind::Window, [&](ui::ModalQuestion& q) {
    auto* dialog = dynamic_cast<CFileSaveDlg*>(q.window);
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return ui::IDCANCEL;
    EXPECT_EQ(dialog->GetCurrentDirectory(), folder);
    if (look) look(*dialog);
    dialog->FormatCombo().SetCurSel(0);
    dialog->NameEdit().SetWindowText(name);
    if (auto* button = dynamic_cast<ui::Button*>(dialog->BottomBar().GetDlgItem(ui::IDOK))) button->Click();
    return ui::IDOK;
  });
  (doc->*save)();
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(NelvarTest, StoredWorkspacesKeepWhatTheyStoredWhateverTheDefaults) {
  ASSERT_TRUE(RegisterKarvel());
  ASSERT_TRUE(Start({SAMPLE_FID}));
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  ASSERT_EQ(doc->Items().size(), 2u);
  // The user turns the mass-peak labels on and names the table's first column otherwise.
  {
    auto* dispatch = static_cast<plat::ole::IDispatch*>(doc->Items()[0]->QueryObject(plat::ole::IID_IDispatch));
    ASSERT_NE(dispatch, nullptr);
    plat::ole::DispatchDriver driver(dispatch, true);
    const char16_t* names[] = {u"MPeaksEnable"};
    plat::ole::DispId id = 0;
    ASSERT_GE(dispatch->GetIDsOfNames(plat::ole::IID_NULL, names, 1, 0, &id), 0);
    plat::ole::Variant on;
    plat::ole::variantInit(&on);
    on.vt = plat::ole::VT_BOOL;
    on.boolean = plat::ole::kVariantTrue;
    ASSERT_GE(driver.setProperty(id, on), 0);
  }
  auto* cells = static_cast<ITableControl*>(doc->Items()[1]->QueryObject(IID_ITableControl));
  ASSERT_NE(cells, nullptr);
  ASSERT_EQ(cells->SetCellText(0, 0, u"Sample"), plat::ole::S_OK);
  cells->Release();
  const std::string folder = ScratchDir("kept");
  SaveAsWorkspace(doc, folder, "page");
  doc->OnCloseDocument();

  auto* reloaded = dynamic_cast<CSaDoc*>(app->OpenDocumentFile(folder + "/page"));
  ASSERT_NE(reloaded, nullptr);
  ASSERT_EQ(reloaded->Items().size(), 2u);
  CSaItem* spectrum = reloaded->Items()[0];
  CSaItem* table = reloaded->Items()[1];
  if (spectrum->Record().type == ItemTypeTable) std::swap(spectrum, table);
  EXPECT_EQ(IntProperty(spectrum, u"MPeaksEnable"), 1);
  cells = static_cast<ITableControl*>(table->QueryObject(IID_ITableControl));
  ASSERT_NE(cells, nullptr);
  char16_t text[32] = {};
  EXPECT_EQ(cells->GetCellText(0, 0, text, 31), plat::ole::S_OK);
  EXPECT_EQ(plat::toUtf8(text), "Sample");
  cells->Release();
  UnregisterKarvel();
}

TEST_F(NelvarTest, SavedAsAWorkspaceTheSampleReloadsWithItsRectangleAndParameters) {
  ASSERT_EQ(CSaDoc::GetSpectraCountInFile(plat::toUtf16(SAMPLE_FID)), 1);
  ASSERT_TRUE(Start({SAMPLE_FID}));
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  ASSERT_FALSE(doc->Items().empty());
  doc->Items()[0]->SetRect({20, 30, 900, 700});
  const auto params = ParamsOf(doc->Items()[0]);
  const std::string folder = ScratchDir("saveas");
  const std::string workspace = folder + "/page";
  SaSettings().saveDirectory = plat::toUtf16(folder);
  const CSpcControlRef control = CSpcControlRef::Query(doc->Items()[0]->GetOleObject());
  plat::ole::Bstr name = nullptr, options = nullptr;
  std::int32_t caps = 0;
  ASSERT_GE(control->GetFormat(0, &name, &options, &caps), 0);
  TakeBstr(name);
  TakeBstr(options);
  // Save As with the control's own format.
  SaveAsWorkspace(doc, folder, "page");
  ASSERT_TRUE(std::filesystem::exists(workspace + "/core"));
  EXPECT_TRUE(doc->IsWorkspace());
  EXPECT_EQ(doc->GetPathName(), workspace);
  EXPECT_FALSE(doc->IsModified());
  // File Save of a workspace replaces its directory without a question.
  doc->Items()[0]->SetRect({10, 10, 800, 600});
  ui::ClearModalLog();
  doc->OnFileSave();
  EXPECT_TRUE(ui::ModalLog().empty());
  doc->OnCloseDocument();

  auto* reloaded = dynamic_cast<CSaDoc*>(app->OpenDocumentFile(workspace));
  ASSERT_NE(reloaded, nullptr);
  EXPECT_TRUE(reloaded->IsWorkspace());
  ASSERT_EQ(reloaded->Items().size(), 1u);
  EXPECT_EQ(reloaded->Items()[0]->GetRect(), gdi::Rect(10, 10, 800, 600));
  EXPECT_EQ(reloaded->Items()[0]->GetMethodName(), u"NMR");
  // The folder format adds parameters of its own (phase, version) and keeps frequencies as
  // floats: every parameter of the file comes back, numbers to float precision.
  const auto again = ParamsOf(reloaded->Items()[0]);
  for (const auto& [name, value] : params) {
    const auto it = again.find(name);
    ASSERT_NE(it, again.end()) << plat::toUtf8(name);
    if (it->second == value) continue;
    const double a = std::strtod(plat::toUtf8(value).c_str(), nullptr), b = std::strtod(plat::toUtf8(it->second).c_str(), nullptr);
    EXPECT_NEAR(a, b, 1e-6 * std::max(1.0, std::abs(a))) << plat::toUtf8(name);
  }
}

// The first window below parent (depth first) with that control id.
ui::Wnd* FindDescendant(ui::Wnd* parent, ui::UINT id) {
  for (ui::Wnd* child : parent->GetChildren()) {
    if (child->GetDlgCtrlID() == id) return child;
    if (ui::Wnd* deeper = FindDescendant(child, id)) return deeper;
  }
  return nullptr;
}

// The top-level texts of the menu bar, frame buttons left out.
std::vector<std::string> BarTexts(const CMenuBar& bar) {
  std::vector<std::string> texts;
  for (const auto& item : bar.Items())
    if (item->GetKind() == 0) texts.push_back(item->m_text);
  return texts;
}

int BarIndex(const CMenuBar& bar, const std::string& text) {
  for (std::size_t i = 0; i < bar.Items().size(); ++i)
    if (bar.Items()[i]->m_text == text) return static_cast<int>(i);
  return -1;
}

std::vector<gdi::COLORREF> Pixels(const gdi::WindowSurface* surface) {
  std::vector<gdi::COLORREF> out;
  if (!surface) return out;
  for (int y = 0; y < surface->Height(); ++y)
    for (int x = 0; x < surface->Width(); ++x) out.push_back(surface->GetPixel(x, y));
  return out;
}

TEST_F(NelvarTest, TheSpectrumActiveInPlaceSharesTheOneMenuBarAndTakesItsOwnCommands) {
  ASSERT_TRUE(Start({SAMPLE_FID}));
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  auto* view = dynamic_cast<CSaView*>(doc->GetViews().front());
  CSaItem* item = doc->Items().front();
  CMainFrame* frame = MainFrame();
  CMenuBar& bar = frame->m_menuBar;
  const std::vector<std::string> documentMenu = {"&File", "&Edit", "&View", "&Window", "&Help"};
  EXPECT_EQ(BarTexts(bar), documentMenu);

  view->SetSelection(item, true);
  ui::App::PumpPending();
  ASSERT_EQ(item->GetItemState(), plat::ole::ItemState::ActiveUI);
  ui::Wnd* control = ui::Wnd::FromHandle(item->GetInPlaceWindow());
  ASSERT_NE(control, nullptr);
  // One menu bar: the container's File, Edit and View, the control's menus, then Window and Help;
  // the frame keeps no menu line.
  EXPECT_EQ(BarTexts(bar), (std::vector<std::string>{"&File", "&Edit", "&View", "Spe&ctrum Edit", "&Spectrum View",
                                                     "&Process", "&Analysis", "&Window", "&Help"}));
  EXPECT_EQ(frame->GetMenu(), nullptr);
  const int spectrumView = BarIndex(bar, "&Spectrum View");
  EXPECT_EQ(bar.GetMenuOwner(spectrumView), control);
  EXPECT_EQ(bar.GetMenuOwner(BarIndex(bar, "&File")), frame);
  // The control's bars take the top of the area the frame's own bars leave (the standard bar
  // hides while an object is active), and the document windows have the rest.
  EXPECT_FALSE(frame->m_wndStandardBar.IsWindowVisible());
  const plat::ole::BorderWidths taken = plat::ole::OleFrameHook::ForFrame(frame)->GetBorderSpace();
  EXPECT_GT(taken.top, 0);
  gdi::Rect inside, client;
  frame->GetInsideClientRect(&inside);
  frame->GetMDIClient()->GetWindowRect(&client);
  frame->ScreenToClient(&client);
  EXPECT_EQ(client.top, inside.top + taken.top);
  // They fill that space from the top of the area (the standard bar's row is theirs too).
  int barsTop = client.top, barsBottom = inside.top;
  for (ui::UINT id = 505; id <= 513; ++id)
    if (ui::Wnd* bar = FindDescendant(frame, id); bar && bar->IsWindowVisible()) {
      gdi::Rect r;
      bar->GetWindowRect(&r);
      frame->ScreenToClient(&r);
      barsTop = std::min(barsTop, r.top);
      barsBottom = std::max(barsBottom, r.bottom);
    }
  EXPECT_EQ(barsTop, inside.top);
  EXPECT_LE(barsBottom, client.top);

  // The control's items show its own state, whatever the container's commands of the same
  // numbers (the EMF export, direct printing, the server connection) would say.
  ui::Menu* popup = bar.Items()[static_cast<std::size_t>(spectrumView)]->m_popup;
  ASSERT_NE(popup, nullptr);
  control->SendMessage(ui::WM_INITMENUPOPUP, reinterpret_cast<ui::WPARAM>(popup), 0);
  EXPECT_NE(popup->GetMenuState(nelvar::ID_SHOW_FID, ui::MF_BYCOMMAND) & ui::MF_CHECKED, 0u);
  EXPECT_EQ(popup->GetMenuString(nelvar::ID_BAR_CALIBRATE, ui::MF_BYCOMMAND), "C&alibrate");
  EXPECT_NE(popup->GetMenuState(nelvar::ID_BAR_SPECTRUM, ui::MF_BYCOMMAND) & ui::MF_CHECKED, 0u);
  // Their commands go to the control: no dialog of the main program opens.
  ui::ClearModalLog();
  control->SendMessage(ui::WM_COMMAND, nelvar::ID_BAR_SPECTRUM, 0);
  control->SendMessage(ui::WM_COMMAND, nelvar::ID_SHOW_FID, 0);
  control->SendMessage(ui::WM_COMMAND, nelvar::ID_BAR_CALIBRATE, 0);
  EXPECT_TRUE(ui::ModalLog().empty());
  control->SendMessage(ui::WM_INITMENUPOPUP, reinterpret_cast<ui::WPARAM>(popup), 0);
  EXPECT_EQ(popup->GetMenuState(nelvar::ID_BAR_SPECTRUM, ui::MF_BYCOMMAND) & ui::MF_CHECKED, 0u);
  control->SendMessage(ui::WM_COMMAND, nelvar::ID_BAR_SPECTRUM, 0);

  // A change of the plot shows in the control's window at once.
  control->UpdateWindow();
  const std::vector<gdi::COLORREF> before = Pixels(control->GetClientSurface());
  control->SendMessage(ui::WM_COMMAND, nelvar::ID_FOURIER_TRANSFORM, 0);
  control->UpdateWindow();
  EXPECT_NE(Pixels(control->GetClientSurface()), before);

  // The container's own commands of those numbers stay the container's: the full view, where
  // the active spectrum fills the view.
  frame->SendMessage(ui::WM_COMMAND, saids::ID_VIEW_FULL, 0);
  EXPECT_FALSE(view->IsPageLayout());
  EXPECT_EQ(item->GetItemState(), plat::ole::ItemState::ActiveUI);
  gdi::Rect placed, whole;
  ui::Wnd::FromHandle(item->GetInPlaceWindow())->GetParent()->GetWindowRect(&placed);
  view->ScreenToClient(&placed);
  view->GetClientRect(&whole);
  EXPECT_EQ(placed, whole);

  // Escape's command deactivates: the frame's menu, bars and area come back whole.
  frame->SendMessage(ui::WM_COMMAND, saids::ID_CANCEL_EDIT_CNTR, 0);
  ui::App::PumpPending();
  EXPECT_EQ(item->GetItemState(), plat::ole::ItemState::Loaded);
  EXPECT_EQ(BarTexts(bar), documentMenu);
  EXPECT_EQ(frame->GetMenu(), nullptr);
  EXPECT_TRUE(frame->m_wndStandardBar.IsWindowVisible());
  EXPECT_TRUE(plat::ole::OleFrameHook::ForFrame(frame)->GetBorderSpace().empty());
  frame->GetInsideClientRect(&inside);
  frame->GetMDIClient()->GetWindowRect(&client);
  frame->ScreenToClient(&client);
  EXPECT_EQ(client.top, inside.top);
}

TEST_F(NelvarTest, ClosingThePageWhileItsSpectrumIsActiveLeavesTheFrameItsOwnMenuAndArea) {
  ASSERT_TRUE(Start({SAMPLE_FID}));
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  auto* view = dynamic_cast<CSaView*>(doc->GetViews().front());
  view->SetSelection(doc->Items().front(), true);
  ui::App::PumpPending();
  CMainFrame* frame = MainFrame();
  ASSERT_GT(BarTexts(frame->m_menuBar).size(), 5u);
  doc->OnCloseDocument();
  ui::App::PumpPending();
  EXPECT_TRUE(Documents().empty());
  EXPECT_EQ(BarTexts(frame->m_menuBar), (std::vector<std::string>{"&File", "&View", "&Help"}));
  EXPECT_EQ(frame->GetMenu(), nullptr);
  EXPECT_TRUE(frame->m_wndStandardBar.IsWindowVisible());
  EXPECT_TRUE(plat::ole::OleFrameHook::ForFrame(frame)->GetBorderSpace().empty());
  // The bar's menus work on: the frame's File menu opens.
  ui::ScriptedResponder script(true);
  bool opened = false;
  script.Then(ui::ModalKind::PopupMenu, [&](ui::ModalQuestion& q) {
    opened = q.menu && q.menu->GetMenuItemCount() > 0;
    return 0;
  });
  frame->m_menuBar.PressItem(BarIndex(frame->m_menuBar, "&File"));
  EXPECT_TRUE(opened);
}

TEST_F(NelvarTest, KeysTypedWhileTheSpectrumIsActiveGoToItBeforeThePage) {
  // A copy: the page's own Ctrl+S would save over the file.
  const std::string folder = ScratchDir("keys");
  const std::string path = folder + "/sample.dx";
  std::filesystem::copy_file(SAMPLE_FID, path);
  const auto written = std::filesystem::last_write_time(path);
  ASSERT_TRUE(Start({path}));
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  auto* view = dynamic_cast<CSaView*>(doc->GetViews().front());
  CSaItem* item = doc->Items().front();
  view->SetSelection(item, true);
  ui::App::PumpPending();
  ASSERT_EQ(item->GetItemState(), plat::ole::ItemState::ActiveUI);
  ui::Wnd::FromHandle(item->GetInPlaceWindow())->SetFocus();
  // The console bar takes the letter and hands it on from its edit, outside the document
  // window; the control's Ctrl+S (sums of the integrals) still comes before the page's save.
  ui::ClearModalLog();
  ui::input::Key('S', ui::input::kControl);
  ui::App::PumpPending();
  EXPECT_TRUE(ui::ModalLog().empty());
  EXPECT_EQ(std::filesystem::last_write_time(path), written);
  EXPECT_EQ(item->GetItemState(), plat::ole::ItemState::ActiveUI);
}

TEST_F(NelvarTest, ANewPageWithAnInsertedSpectrumOffersTheWorkspaceFormatAndReopens) {
  ASSERT_TRUE(Start());
  app->OnFileNew();
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  // As Insert Spectrum(s) makes it: an item of a control, not the page's own file.
  CSaItem* item = doc->CreateSpectrumItem(plat::toUtf16(SAMPLE_FID), 0);
  ASSERT_NE(item, nullptr);
  item->Record().subtype = ItemFromControl;
  item->SetRect({40, 40, 364, 244});
  const std::string folder = ScratchDir("newpage");
  // File Save of a page that was never saved runs Save As, which offers the workspace alone.
  SaveAsWorkspace(
      doc, folder, "page", [](CFileSaveDlg& dialog) { EXPECT_EQ(dialog.FormatCombo().GetCount(), 1); },
      &CSaDoc::OnFileSave);
  const std::string workspace = folder + "/page";
  ASSERT_TRUE(std::filesystem::exists(workspace + "/core"));
  EXPECT_TRUE(doc->IsWorkspace());
  EXPECT_FALSE(doc->IsModified());
  doc->OnCloseDocument();

  auto* reloaded = dynamic_cast<CSaDoc*>(app->OpenDocumentFile(workspace));
  ASSERT_NE(reloaded, nullptr);
  ASSERT_EQ(reloaded->Items().size(), 1u);
  EXPECT_EQ(reloaded->Items()[0]->GetMethodName(), u"NMR");
  EXPECT_EQ(reloaded->Items()[0]->GetRect(), gdi::Rect(40, 40, 364, 244));
}

// The exit's "Save changes?" answered Yes saves as the Save command does: a page opened from a
// spectrum file runs Save As, so the instrument's file is never written over in another format;
// a cancelled Save As cancels the exit.
TEST_F(NelvarTest, YesToSaveChangesOnExitAsksForANameAndLeavesTheSpectrumFileAlone) {
  const std::string folder = ScratchDir("exitsave");
  const std::string file = folder + "/sample.dx";
  std::filesystem::copy_file(SAMPLE_FID, file);
  std::string original;
  ASSERT_EQ(plat::readFile(file, &original), plat::FileStatus::Ok);
  ASSERT_TRUE(Start({file}));
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  ASSERT_NE(doc, nullptr);
  doc->Items()[0]->SetRect({10, 10, 800, 600});
  doc->SetModifiedFlag(true);
  SaSettings().saveDirectory = plat::toUtf16(folder);
  {
    ui::ScriptedResponder script(true);
    script
        .Then(ui::ModalKind::MessageBox,
              [](ui::ModalQuestion& q) {
                EXPECT_EQ(q.text, "Save changes to sample.dx?");
                return ui::IDYES;
              })
        .Then(ui::ModalKind::Window, [](ui::ModalQuestion& q) {
          EXPECT_NE(dynamic_cast<CFileSaveDlg*>(q.window), nullptr) << "Yes saved without asking for a name";
          return ui::IDCANCEL;
        });
    EXPECT_FALSE(doc->SaveModified()) << "a cancelled Save As lets the exit go on";
    EXPECT_TRUE(script.Done());
  }
  std::string now;
  ASSERT_TRUE(std::filesystem::is_regular_file(file)) << "the spectrum file was replaced by a folder";
  ASSERT_EQ(plat::readFile(file, &now), plat::FileStatus::Ok);
  EXPECT_EQ(now, original);
  EXPECT_TRUE(doc->IsModified());
  // Yes, and a name in the save dialog: the page is saved there, the spectrum file stays.
  ui::ScriptedResponder script(true);
  script.ThenAnswer(ui::ModalKind::MessageBox, ui::IDYES).Then(ui::ModalKind::Window, [](ui::ModalQuestion& q) {
    auto* dialog = dynamic_cast<CFileSaveDlg*>(q.window);
    if (!dialog) return ui::IDCANCEL;
    dialog->FormatCombo().SetCurSel(0);
    dialog->NameEdit().SetWindowText("page");
    if (auto* button = dynamic_cast<ui::Button*>(dialog->BottomBar().GetDlgItem(ui::IDOK))) button->Click();
    return ui::IDOK;
  });
  EXPECT_TRUE(doc->SaveModified());
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(std::filesystem::exists(folder + "/page"));
  EXPECT_FALSE(doc->IsModified());
  ASSERT_EQ(plat::readFile(file, &now), plat::FileStatus::Ok);
  EXPECT_EQ(now, original);
}

}  // namespace
}  // namespace apptest
