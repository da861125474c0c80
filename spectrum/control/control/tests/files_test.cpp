// The import and export commands: the open and save dialogs answered by the responder, and the
// console words IF and EF with their arguments.
#include <cmath>

#include "foundation/filedlg/fileopendlg.h"
#include "foundation/filedlg/filesavedlg.h"
#include "platform/base/file.h"
#include "platform/base/text.h"
#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/msgmap.h"
#include "platform/ui/responder.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/control/tests/spectrum_files.h"
#include "spectrum/control/module/command_ids.h"

namespace nelvar_test {
namespace {

using plat::ole::E_FAIL;
using plat::ole::S_OK;

class FilesTest : public ControlTest {
 protected:
  CSpcControl& Loaded() {
    CSpcControl& c = *NewControl();
    EXPECT_EQ(c.LoadFromPath(SAMPLE_FID, 0), S_OK);
    return c;
  }
  static void Args(CSpcControl& c, std::initializer_list<std::string_view> args) {
    c.m_args.clear();
    for (std::string_view a : args) c.m_args.emplace_back().SetString(a);
  }
  // The dialog the modal run shows, its listing done.
  template <class Dialog>
  static Dialog* Shown(ui::ModalQuestion& q, const std::string& dir) {
    auto* dialog = dynamic_cast<Dialog*>(q.window);
    if (!dialog) return nullptr;
    dialog->SetCurrentDirectory(dir);
    EXPECT_TRUE(ui::App::PumpUntil([&] { return dialog->IsListingComplete(); }, 60000));
    return dialog;
  }
  static void Ok(ui::DialogBar& bar) {
    auto* button = dynamic_cast<ui::Button*>(bar.GetDlgItem(static_cast<ui::UINT>(ui::IDOK)));
    ASSERT_NE(button, nullptr);
    button->Click();
  }
  // The points of a control's current data agree with another's.
  static void SamePoints(CSpcControl& a, CSpcControl& b) {
    ASSERT_EQ(a.m_process.m_nCur, b.m_process.m_nCur);
    float scale = 0.0f;
    for (std::int32_t i = 0; i < a.m_process.m_nCur; ++i) scale = std::max(scale, std::fabs(a.m_process.m_pCur[i].re));
    for (std::int32_t i = 0; i < a.m_process.m_nCur; ++i) {
      ASSERT_NEAR(a.m_process.m_pCur[i].re, b.m_process.m_pCur[i].re, scale * 1e-6f) << i;
      ASSERT_NEAR(a.m_process.m_pCur[i].im, b.m_process.m_pCur[i].im, scale * 1e-6f) << i;
    }
  }
};

TEST_F(FilesTest, ExportOffersTheWritableFormatsAndWritesTheChosenOne) {
  CSpcControl& c = Loaded();
  const std::string dir = ScratchFolder("export");
  ui::ScriptedResponder responder(true);
  std::vector<std::string> offered;
  std::string proposed;
  responder.Then(ui::ModalKind::Window, [&](ui::ModalQuestion& q) {
    CFileSaveDlg* dialog = Shown<CFileSaveDlg>(q, dir);
    if (!dialog) return ui::IDCANCEL;
    offered = dialog->m_saveFormats;
    proposed = dialog->m_fileName;
    // JCAMP-DX is the third writable format of the NMR kind, format 3 of its list.
    dialog->FormatCombo().SetCurSel(2);
    dialog->OnSelChangeFormat();
    dialog->TypeCombo().SetCurSel(1);
    dialog->NameEdit().SetWindowText("exported.dx");
    Ok(dialog->BottomBar());
    return ui::IDCANCEL;
  });
  ASSERT_EQ(c.OnExportFile(), S_OK);
  EXPECT_EQ(responder.Unexpected(), 0);
  EXPECT_EQ(proposed, c.m_data.strName);  // FILENAME
  EXPECT_FALSE(proposed.empty());
  EXPECT_EQ(offered, (std::vector<std::string>{"KEDRUS;", "CDFF;", "JCAMP-DX;FIX;PACKED;SQUEEZED;DIFFDUP", "WIN-NMR;",
                                               "Galactic;", "MestRe-C;", "ASCII;X-POINTS;X-PPM;X-HERTZ"}));
  CSpcControl& back = *NewControl();
  ASSERT_EQ(back.LoadFromPath(plat::joinPath(dir, "exported.dx"), 0), S_OK);
  SamePoints(c, back);
  // Cancelled: nothing written.
  responder.ThenAnswer(ui::ModalKind::Window, ui::IDCANCEL);
  EXPECT_EQ(c.OnExportFile(), E_FAIL);
}

TEST_F(FilesTest, AnEmptyControlHasNothingToExport) {
  CSpcControl& c = *NewControl();
  const std::string dir = ScratchFolder("empty");
  ui::ScriptedResponder responder(true);  // no dialog may come up
  EXPECT_FALSE(ui::QueryCommandState(&c, nelvar::ID_EXPORT_FILE).enabled);
  EXPECT_FALSE(ui::QueryCommandState(&c, nelvar::ID_CONSOLE_EXPORT).enabled);
  EXPECT_TRUE(ui::QueryCommandState(&c, nelvar::ID_IMPORT_FILE).enabled);
  const std::string target = plat::joinPath(dir, "nothing.dx");
  EXPECT_EQ(c.SpectrumControl()->ExecuteCommands(plat::toUtf16("EF " + target).c_str()), S_OK);
  EXPECT_EQ(c.SpectrumControl()->ExecuteCommands(u"EF"), S_OK);
  EXPECT_EQ(c.OnExportFile(), E_FAIL);
  EXPECT_FALSE(plat::fileInfo(target).exists);
  EXPECT_EQ(responder.Unexpected(), 0);
  EXPECT_TRUE(ui::ModalLog().empty());
  // Loaded, both are offered.
  ASSERT_EQ(c.LoadFromPath(SAMPLE_FID, 0), S_OK);
  EXPECT_TRUE(ui::QueryCommandState(&c, nelvar::ID_EXPORT_FILE).enabled);
  EXPECT_TRUE(ui::QueryCommandState(&c, nelvar::ID_CONSOLE_EXPORT).enabled);
}

TEST_F(FilesTest, TheConsoleExportTakesTheFormatAndTypeByNameInAnyCase) {
  CSpcControl& c = Loaded();
  const std::string dir = ScratchFolder("ef");
  // One argument: the spectrum folder, format 0.
  Args(c, {plat::joinPath(dir, "folder")});
  ASSERT_EQ(c.OnExportCommand(), S_OK);
  EXPECT_TRUE(plat::fileExists(plat::joinPath(dir, "folder/parameters")));
  Args(c, {plat::joinPath(dir, "squeezed.dx"), "jcamp-dx", "squeezed"});
  ASSERT_EQ(c.OnExportCommand(), S_OK);
  CSpcControl& back = *NewControl();
  ASSERT_EQ(back.LoadFromPath(plat::joinPath(dir, "squeezed.dx"), 0), S_OK);
  SamePoints(c, back);
  // Type 0 (FIX) writes plain numbers, which take more room than the squeezed form.
  Args(c, {plat::joinPath(dir, "fix.dx"), "JCAMP-DX"});
  ASSERT_EQ(c.OnExportCommand(), S_OK);
  EXPECT_LT(plat::fileInfo(plat::joinPath(dir, "squeezed.dx")).size, plat::fileInfo(plat::joinPath(dir, "fix.dx")).size);
  // A type that is not listed is type 0; a format that reads only, or none, writes nothing.
  Args(c, {plat::joinPath(dir, "points.txt"), "Ascii", "X-SECONDS"});
  EXPECT_EQ(c.OnExportCommand(), S_OK);
  EXPECT_TRUE(plat::fileExists(plat::joinPath(dir, "points.txt")));
  for (const char* format : {"DisNMR", "Nothing"}) {
    Args(c, {plat::joinPath(dir, "refused"), format});
    EXPECT_EQ(c.OnExportCommand(), E_FAIL) << format;
    EXPECT_FALSE(plat::fileInfo(plat::joinPath(dir, "refused")).exists) << format;
  }
}

TEST_F(FilesTest, ImportLoadsTheChosenFileAndTheConsoleImportTakesANumber) {
  const std::string dir = ScratchFolder("import");
  WriteFile(dir, "three.dx", ThreeSpectraFile());
  CSpcControl& c = *NewControl();
  ui::ScriptedResponder responder(true);
  // Confirmed without a file: nothing happens.
  responder.Then(ui::ModalKind::Window, [&](ui::ModalQuestion& q) {
    if (CFileOpenDlg* dialog = Shown<CFileOpenDlg>(q, dir)) Ok(dialog->BottomBar());
    return ui::IDOK;
  });
  EXPECT_EQ(c.OnImportFile(), E_FAIL);
  EXPECT_FALSE(c.HoldsData());
  responder.Then(ui::ModalKind::Window, [&](ui::ModalQuestion& q) {
    CFileOpenDlg* dialog = Shown<CFileOpenDlg>(q, dir);
    if (!dialog) return ui::IDCANCEL;
    // The row as the listing shows a recognised file.
    ui::ListCtrl& files = dialog->FileList();
    int row = -1;
    for (int i = 0; i < files.GetItemCount(); ++i)
      if (files.GetItemText(i, 0) == "three.dx") row = i;
    if (row < 0) row = files.InsertItem(files.GetItemCount(), "three.dx");
    files.SetItemState(row, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
    Ok(dialog->BottomBar());
    return ui::IDOK;
  });
  ASSERT_EQ(c.OnImportFile(), S_OK);
  EXPECT_EQ(c.m_data.nKind, 1);  // spectrum 0: the mass spectrum
  EXPECT_EQ(c.m_spectrumNumber, 0u);
  Args(c, {plat::joinPath(dir, "three.dx"), "2"});
  ASSERT_EQ(c.OnImportCommand(), S_OK);
  EXPECT_EQ(c.m_data.nKind, 3);
  EXPECT_EQ(c.m_spectrumNumber, 2u);
  EXPECT_EQ(responder.Unexpected(), 0);
}

}  // namespace
}  // namespace nelvar_test
