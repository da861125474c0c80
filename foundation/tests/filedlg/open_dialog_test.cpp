// The open dialog over a sample folder: what it lists, how it navigates, what it gives back
// and what it keeps in the profile.
#include <gtest/gtest.h>

#include "foundation/filedlg/filedlgres.h"
#include "foundation/filedlg/fileopendlg.h"
#include "foundation/profdesc.h"
#include "foundation/tests/filedlg/filedlg_fixture.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/ui/app.h"
#include "platform/ui/metrics.h"
#include "profile/profile.h"

namespace filedlg_test {
namespace {

using ui::ModalKind;
using ui::ModalQuestion;

class OpenDialogTest : public FileDlgTest {};

TEST_F(OpenDialogTest, ListsFoldersAndRecognisedFilesSortedAndReturnsTheChosenPaths) {
  const SampleFolder sample = MakeSampleFolder(Scratch("sample"), true);
  CFileOpenDlg dlg;
  dlg.SetCurrentDirectory(sample.dir);
  const std::string marked = plat::joinPath(sample.dir, "PROTON.DX");
  responder.Then(ModalKind::Window, [&](ModalQuestion& q) {
    EXPECT_EQ(q.window, &dlg);
    EXPECT_EQ(q.title, "Open");
    EXPECT_TRUE(WaitForListing(dlg));
    EXPECT_EQ(FolderRows(dlg), sample.folders);
    std::vector<std::string> expected;
    for (const SampleFolder::Entry& e : sample.recognised)
      expected.push_back(e.name + "|" + e.type + "|" + e.format + "|" + (e.size ? std::to_string(e.size) : ""));
    EXPECT_EQ(FileRows(dlg), expected);
    ui::ListCtrl& files = dlg.FileList();
    EXPECT_EQ(files.GetItemText(0, 3), "03-Mar-21");
    // Every date and size shows whole (the one past 4 GiB has ten digits): the columns widened.
    for (int i = 0; i < files.GetItemCount(); ++i)
      for (int column : {3, 4})
        EXPECT_GT(files.GetColumnWidth(column),
                  files.GetStringWidth(files.GetItemText(i, column)) + 2 * CListViewEx::kTextMargin)
            << files.GetItemText(i, column);
    // Marked files (compared without regard to case) are blue, the others black.
    for (int i = 0; i < files.GetItemCount(); ++i)
      EXPECT_EQ(files.GetItemData(i), files.GetItemText(i, 0) == "proton.dx" ? CFileDlgEx::kMarkedColor : 0u);
    for (int i : {0, 2, 3}) files.SetItemState(i, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
    // Film.DX, proton.dx and saved, after huge.spc between the first two.
    Press(dlg.BottomBar(), static_cast<ui::UINT>(ui::IDOK));
    return ui::IDOK;
  });
  ASSERT_EQ(dlg.DoModal({marked}), ui::IDOK);
  ASSERT_EQ(dlg.GetResultNames().size(), 3u);
  EXPECT_EQ(dlg.GetPathName(0), sample.dir + "/Film.DX");
  EXPECT_EQ(dlg.GetPathName(1), sample.dir + "/proton.dx");
  EXPECT_EQ(dlg.GetPathName(2), sample.dir + "/saved");
  EXPECT_EQ(dlg.GetPathName(3), sample.dir + "/");
  EXPECT_FALSE(dlg.IsWindowVisible());
  EXPECT_EQ(responder.Unexpected(), 0);
  // Every control was made and let go by the worker, never on the user-interface thread.
  EXPECT_GT(Controls().created.load(), 0);
  EXPECT_EQ(Controls().createdOnUiThread.load(), 0);
  EXPECT_EQ(Controls().live.load(), 0);
  dlg.DestroyWindow();
}

TEST_F(OpenDialogTest, NavigatesByFolderPathComboAndUp) {
  const SampleFolder sample = MakeSampleFolder(Scratch("nav"));
  const std::string alpha = plat::joinPath(sample.dir, "Alpha");
  plat::makeDirectories(plat::joinPath(alpha, "inner"));
  CFileOpenDlg dlg;
  dlg.SetCurrentDirectory(sample.dir);
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_TRUE(WaitForListing(dlg));
    // Into Alpha: no recognised file there, its subfolder still shows.
    DoubleClickRow(dlg.FolderList(), 0);
    EXPECT_EQ(dlg.GetCurrentDirectory(), alpha);
    EXPECT_TRUE(WaitForListing(dlg));
    EXPECT_EQ(FolderRows(dlg), std::vector<std::string>{"inner"});
    EXPECT_EQ(dlg.FileList().GetItemCount(), 0);
    // The path combo: the root, then each component indented by three blanks a level.
    ui::ComboBox& combo = dlg.PathCombo();
    std::vector<std::string> entries;
    for (int i = 0; i < combo.GetCount(); ++i) entries.push_back(combo.GetLBText(i));
    std::vector<std::string> expected{"/"};
    std::string indent;
    for (std::string_view rest = std::string_view(alpha).substr(1); !rest.empty();) {
      const std::size_t slash = rest.find('/');
      indent += "   ";
      expected.push_back(indent + std::string(rest.substr(0, slash)));
      rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    }
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(combo.GetCurSel(), combo.GetCount() - 1);
    // Up goes back to the sample folder and lists it again.
    dlg.SendMessage(ui::WM_COMMAND, filedlg_res::IDC_UP_FOLDER);
    EXPECT_EQ(dlg.GetCurrentDirectory(), sample.dir);
    EXPECT_TRUE(WaitForListing(dlg));
    EXPECT_EQ(dlg.FileList().GetItemCount(), static_cast<int>(sample.recognised.size()));
    // Choosing an entry goes to the folder it stands for: the sample folder's parent.
    combo.SetCurSel(combo.GetCount() - 2);
    dlg.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(filedlg_res::IDC_PATH_COMBO, ui::CBN_SELCHANGE),
                    ui::HandleToParam(combo.m_hWnd));
    EXPECT_EQ(dlg.GetCurrentDirectory(), plat::pathDirectory(sample.dir));
    EXPECT_EQ(combo.GetCount(), static_cast<int>(expected.size()) - 2);
    EXPECT_TRUE(WaitForListing(dlg));
    // At the root the combo holds the root alone, chosen; Up there does nothing. (No control
    // is asked here: the root's folders are no sample.)
    dlg.m_controlClasses.clear();
    dlg.SetCurrentDirectory("/");
    dlg.Refresh();
    EXPECT_EQ(combo.GetCount(), 1);
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_NE(dlg.FolderList().FindItem("tmp"), -1);
    dlg.SendMessage(ui::WM_COMMAND, filedlg_res::IDC_UP_FOLDER);
    EXPECT_EQ(dlg.GetCurrentDirectory(), "/");
    EXPECT_EQ(dlg.GetPathName(0), "/");
    EXPECT_TRUE(WaitForListing(dlg));
    EXPECT_EQ(dlg.FileList().GetItemCount(), 0);
    return ui::IDCANCEL;
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  EXPECT_TRUE(dlg.GetResultNames().empty());
  dlg.DestroyWindow();
}

TEST_F(OpenDialogTest, DoubleClickOpensTheRowUnderThePointerAndReturnOpensTheSelection) {
  const SampleFolder sample = MakeSampleFolder(Scratch("dbl"));
  CFileOpenDlg dlg;
  dlg.SetCurrentDirectory(sample.dir);
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_TRUE(WaitForListing(dlg));
    DoubleClickRow(dlg.FileList(), 3);
    return ui::IDCANCEL;
  });
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(dlg.GetResultNames(), std::vector<std::string>{"trace.jdx"});
  // The second use shows the same window again; Return takes the selected rows.
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    dlg.FileList().SetItemState(-1, 0, ui::LVIS_SELECTED);
    dlg.FileList().SetItemState(1, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
    dlg.FileList().SendMessage(ui::WM_KEYDOWN, ui::VK_RETURN);
    return ui::IDCANCEL;
  });
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(dlg.GetResultNames(), std::vector<std::string>{"proton.dx"});
  dlg.DestroyWindow();
}

TEST_F(OpenDialogTest, WithoutAStoredPlaceItOpensCentredOnItsOwner) {
  COrvProfDesc desc;
  OrvDeleteProfValue(u"Open", &desc);
  ui::FrameWnd owner;
  owner.m_bAutoDelete = false;
  ASSERT_TRUE(owner.Create(nullptr, "Owner", ui::WS_OVERLAPPEDWINDOW | ui::WS_VISIBLE, ui::Rect(100, 80, 900, 680)));
  ui::Rect outer;
  owner.GetWindowRect(&outer);
  CFileOpenDlg dlg;
  dlg.SetCurrentDirectory(Scratch("centred"));
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    ui::Rect r;
    dlg.GetWindowRect(&r);
    EXPECT_EQ(r.GetSize(), ui::Size(550, 440));
    EXPECT_EQ(r.CenterPoint(), outer.CenterPoint());
    return ui::IDCANCEL;
  });
  EXPECT_EQ(dlg.DoModal({}, &owner), ui::IDCANCEL);
  dlg.DestroyWindow();
  owner.DestroyWindow();
}

TEST_F(OpenDialogTest, KeepsPlacementColumnsAndSplitterInTheProfile) {
  const std::string dir = Scratch("layout");
  COrvProfDesc desc;
  // A placement partly off the screen is ignored: the frame opens at 550 x 440, centred on the
  // screen when it has no owner.
  ui::WINDOWPLACEMENT off;
  off.rcNormalPosition = ui::Rect(-300, 10, 400, 500);
  ASSERT_EQ(OrvSetProfBinary(u"Open", &off, sizeof off, &desc), PROF_OK);
  ASSERT_EQ(OrvSetProfInt(u"ExplorFrame\\Splitter", 90, &desc), PROF_OK);
  {
    CFileOpenDlg dlg;
    dlg.SetCurrentDirectory(dir);
    responder.Then(ModalKind::Window, [&](ModalQuestion&) {
      ui::Rect r;
      dlg.GetWindowRect(&r);
      const int left = (ui::GetSystemMetrics(ui::SM_CXSCREEN) - 550) / 2;
      const int top = (ui::GetSystemMetrics(ui::SM_CYSCREEN) - 440) / 2;
      EXPECT_EQ(r, ui::Rect(left, top, left + 550, top + 440));
      int height = 0;
      dlg.Splitter().GetRowInfo(0, &height, nullptr);
      EXPECT_EQ(height, 90);
      // Titles from the string table; widths twice the title's width.
      ui::ListCtrl& files = dlg.FileList();
      const char* titles[] = {"Name", "Type", "Format", "Date", "Size"};
      for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(files.GetColumnText(i), titles[i]);
        EXPECT_EQ(files.GetColumnWidth(i), 2 * files.GetStringWidth(titles[i]));
      }
      files.SetColumnWidth(2, 133);
      dlg.Splitter().SetRowInfo(0, 70, 0);
      dlg.Splitter().RecalcLayout();
      dlg.MoveWindow(ui::Rect(20, 30, 620, 480));
      return ui::IDCANCEL;
    });
    ASSERT_EQ(dlg.DoModal(), ui::IDCANCEL);
    dlg.DestroyWindow();
  }
  int height = 0, width = 0;
  EXPECT_EQ(OrvGetProfInt(u"ExplorFrame\\Splitter", &height, 0, &desc), PROF_OK);
  EXPECT_EQ(height, 70);
  COrvProfDesc columns;
  columns.SetSection(u"ExplorFrame\\FileList");
  EXPECT_EQ(OrvGetProfInt(u"Format", &width, 0, &columns), PROF_OK);
  EXPECT_EQ(width, 133);
  // The placement written at destruction is used by the next window.
  CFileOpenDlg again;
  again.SetCurrentDirectory(dir);
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    ui::Rect r;
    again.GetWindowRect(&r);
    EXPECT_EQ(r, ui::Rect(20, 30, 620, 480));
    EXPECT_EQ(again.FileList().GetColumnWidth(2), 133);
    return ui::IDCANCEL;
  });
  EXPECT_EQ(again.DoModal(), ui::IDCANCEL);
  again.DestroyWindow();
}

}  // namespace
}  // namespace filedlg_test
