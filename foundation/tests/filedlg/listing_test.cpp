// The worker that fills the file list: stopping it by closing the dialog, starting it over by a
// refresh, and the rows it leaves drawn in the list.
#include <gtest/gtest.h>

#include <set>

#include "foundation/filedlg/fileopendlg.h"
#include "foundation/tests/filedlg/filedlg_fixture.h"
#include "platform/base/path.h"
#include "platform/gdi/surface.h"
#include "platform/ui/app.h"

namespace filedlg_test {
namespace {

using ui::ModalKind;
using ui::ModalQuestion;

class ListingTest : public FileDlgTest {};

TEST_F(ListingTest, ClosingWhileTheWorkerListsALargeFolderStopsItCleanly) {
  const std::string dir = Scratch("large");
  MakeManyFiles(dir, 600);
  Controls().delayMs = 1;
  CFileOpenDlg dlg;
  dlg.SetCurrentDirectory(dir);
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_TRUE(ui::App::PumpUntil([&] { return dlg.FileList().GetItemCount() > 5; }, 30000));
    EXPECT_TRUE(dlg.IsListing());
    dlg.SendMessage(ui::WM_CLOSE);
    return ui::IDOK;
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  EXPECT_FALSE(dlg.IsWindow());
  EXPECT_FALSE(dlg.IsListing());
  EXPECT_LT(Controls().identified.load(), 600 + 100);
  EXPECT_EQ(Controls().live.load(), 0);
  // The next use makes the window again and lists the folder to its end.
  Controls().delayMs = 0;
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_TRUE(WaitForListing(dlg));
    EXPECT_EQ(dlg.FileList().GetItemCount(), 600);
    return ui::IDCANCEL;
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  dlg.DestroyWindow();
}

TEST_F(ListingTest, RefreshDuringAListingStartsItOverWithoutStaleRows) {
  const std::string dir = Scratch("restart");
  MakeManyFiles(dir, 300);
  Controls().delayMs = 1;
  CFileOpenDlg dlg;
  dlg.SetCurrentDirectory(dir);
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_TRUE(ui::App::PumpUntil([&] { return dlg.FileList().GetItemCount() > 20; }, 30000));
    const int before = Controls().identified.load();
    dlg.Refresh();
    EXPECT_LT(dlg.FileList().GetItemCount(), 5);
    dlg.Refresh();
    EXPECT_TRUE(WaitForListing(dlg));
    // Every file once, in order; the first ones were identified again.
    std::vector<std::string> names;
    for (int i = 0; i < dlg.FileList().GetItemCount(); ++i) names.push_back(dlg.FileList().GetItemText(i, 0));
    EXPECT_EQ(names.size(), 300u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 300u);
    EXPECT_EQ(dlg.ListedPaths().size(), 300u);
    EXPECT_GE(Controls().identified.load() - before, 300);
    return ui::IDCANCEL;
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  // One worker at a time made its controls, and all are gone.
  EXPECT_EQ(Controls().live.load(), 0);
  dlg.DestroyWindow();
}

TEST_F(ListingTest, RowsDrawInTheirColourOnGreyWhenSelected) {
  const SampleFolder sample = MakeSampleFolder(Scratch("draw"));
  CFileOpenDlg dlg;
  dlg.SetCurrentDirectory(sample.dir);
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_TRUE(WaitForListing(dlg));
    CListViewEx& list = dlg.FileList();
    list.SetItemState(0, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
    ui::Rect selected, marked, plain;
    list.GetItemRect(0, &selected, ui::LVIR_BOUNDS);
    list.GetItemRect(1, &marked, ui::LVIR_BOUNDS);
    list.GetItemRect(2, &plain, ui::LVIR_BOUNDS);
    const auto picture = list.Render();
    auto count = [&](const ui::Rect& row, ui::COLORREF colour) {
      int n = 0;
      for (int y = row.top; y < row.bottom; ++y)
        for (int x = row.left; x < row.right; ++x) n += picture->GetPixel(x, y) == colour;
      return n;
    };
    // The cells' own background, left of the text and right of the last column.
    auto background = [&](const ui::Rect& row, int x) { return picture->GetPixel(x, (row.top + row.bottom) / 2); };
    ui::Rect client;
    list.GetClientRect(&client);
    const int pastColumns = client.right - 24;
    EXPECT_GT(pastColumns, selected.right);
    EXPECT_EQ(background(selected, selected.left + 1), CListViewEx::kSelectedBackground);
    EXPECT_EQ(background(selected, pastColumns), CListViewEx::kSelectedBackground);
    EXPECT_EQ(background(plain, plain.left + 1), gdi::GetSysColor(gdi::COLOR_WINDOW));
    EXPECT_EQ(background(plain, pastColumns), gdi::GetSysColor(gdi::COLOR_WINDOW));
    // The marked file's text is blue; no other row has blue.
    EXPECT_GT(count(marked, CFileDlgEx::kMarkedColor), 0);
    EXPECT_EQ(count(plain, CFileDlgEx::kMarkedColor), 0);
    return ui::IDCANCEL;
  });
  EXPECT_EQ(dlg.DoModal({plat::joinPath(sample.dir, "proton.dx")}), ui::IDCANCEL);
  dlg.DestroyWindow();
}

}  // namespace
}  // namespace filedlg_test
