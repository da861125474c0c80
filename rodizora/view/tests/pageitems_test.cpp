// Pages of stand-in controls in the program's windows: drawing, selection, resizing and
// dragging with the mouse, the clipboard, the full view, inserting spectra.
#include <gtest/gtest.h>

#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"
#include "platform/ui/responder.h"
#include "profile/profile.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/doc/tests/fakecontrols.h"
#include "rodizora/res/saids.h"
#include "rodizora/view/saview.h"
#include "rodizora/view/tests/page_fixture.h"

namespace apptest {
namespace {

using fakes::KindColor;
using fakes::WriteSpectrumFile;



TEST_F(PageTest, ThePageShowsEachItemsPictureInItsStripAndAClickSelectsIt) {
  CSaView* view = Open("two.dx", {"NMR", "MASS"});
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Pixel(view, 300, At(200)), KindColor("MASS"));  // "MASS": the upper strip
  EXPECT_EQ(Pixel(view, 300, At(600)), KindColor("NMR"));
  EXPECT_EQ(Pixel(view, At(kPageWidth) + 5, 100), CSaView::kPageLayoutGround);
  ui::input::Click(view, {300, At(600)});
  Repaint(view);
  ASSERT_NE(view->SelectedItem(), nullptr);
  EXPECT_EQ(view->SelectedItem(), view->GetDocument()->Items()[0]);
  // The tracker: a handle inside the corner, the picture beside it.
  EXPECT_EQ(Pixel(view, At(0) + 2, At(kPageHeight / 2) + 2), 0x000000u);
  EXPECT_EQ(Pixel(view, At(0) + 20, At(kPageHeight / 2) + 20), KindColor("NMR"));
  EXPECT_TRUE(ui::QueryCommandState(view, ui::ID_EDIT_COPY).enabled);
  // A click on the grey ground selects nothing.
  ui::input::Click(view, {At(kPageWidth) + 10, 50});
  EXPECT_EQ(view->SelectedItem(), nullptr);
  EXPECT_FALSE(ui::QueryCommandState(view, ui::ID_EDIT_COPY).enabled);
  view->GetParentFrame()->Render()->SavePng(ScratchDir("renderings_items") + "/items.png");
}

TEST_F(PageTest, AHandleResizesAndTheMiddleMovesTheItem) {
  CSaView* view = Open("one.dx", {"NMR"});
  ASSERT_NE(view, nullptr);
  CSaItem* item = view->GetDocument()->Items()[0];
  ui::input::Click(view, {300, 200});
  ASSERT_EQ(view->SelectedItem(), item);
  // The bottom-right handle from the page's corner back to (400, 200) on the screen.
  const gdi::Point handle{At(kPageWidth) - 3, At(kPageHeight) - 3};
  ui::input::MouseDown(view, handle);
  ui::input::MouseMove(view, {400, 200}, ui::MK_LBUTTON);
  ui::input::MouseUp(view, {400, 200});
  const int right = (400 - (handle.x - At(kPageWidth)) - 20) * 2, bottom = (200 - (handle.y - At(kPageHeight)) - 20) * 2;
  EXPECT_EQ(item->GetRect(), gdi::Rect(0, 0, right, bottom));
  EXPECT_TRUE(view->GetDocument()->IsModified());
  // Dragged by its middle 50 pixels right and 30 down: 100 and 60 page units, the same size.
  ui::input::MouseDown(view, {100, 100});
  ui::input::MouseMove(view, {150, 130}, ui::MK_LBUTTON);
  ui::input::MouseUp(view, {150, 130});
  EXPECT_EQ(item->GetRect(), gdi::Rect(100, 60, 100 + right, 60 + bottom));
  EXPECT_EQ(view->GetDocument()->Items().size(), 1u);
}

TEST_F(PageTest, AnItemMovedOrResizedPastThePageEdgeStaysOnThePage) {
  CSaView* view = Open("edge.dx", {"NMR"});
  ASSERT_NE(view, nullptr);
  CSaItem* item = view->GetDocument()->Items()[0];
  item->SetRect({400, 300, 800, 600});
  Repaint(view);
  ui::input::Click(view, {At(600), At(450)});
  ASSERT_EQ(view->SelectedItem(), item);
  const auto drag = [&](gdi::Point from, gdi::Point to) {
    ui::input::MouseDown(view, from);
    ui::input::MouseMove(view, to, ui::MK_LBUTTON);
    ui::input::MouseUp(view, to);
    Repaint(view);
  };
  // Held by its middle and let go near the page's corner: its own corner would fall off the page.
  drag({At(600), At(450)}, {30, 30});
  EXPECT_EQ(item->GetRect(), gdi::Rect(0, 0, 400, 300));
  // Past the right and bottom edges: it stops there.
  drag({At(200), At(150)}, {At(kPageWidth) + 40, At(kPageHeight) + 30});
  EXPECT_EQ(item->GetRect(), gdi::Rect(kPageWidth - 400, kPageHeight - 300, kPageWidth, kPageHeight));
  // Its top-left handle dragged beyond the page's corner: cut at the edges.
  drag({At(kPageWidth - 400) + 2, At(kPageHeight - 300) + 2}, {5, 5});
  EXPECT_EQ(item->GetRect(), gdi::Rect(0, 0, kPageWidth, kPageHeight));
  EXPECT_EQ(view->GetDocument()->Items().size(), 1u);
}

TEST_F(PageTest, CopyAndPasteGiveASecondItemOffTheFirstAndABadPayloadAddsNothing) {
  CSaView* view = Open("copy.dx", {"MASS"});
  ASSERT_NE(view, nullptr);
  CSaDoc* doc = view->GetDocument();
  view->SetSelection(doc->Items()[0], false);
  doc->Items()[0]->SetRect({10, 20, 310, 220});
  view->SendMessage(ui::WM_COMMAND, ui::ID_EDIT_COPY);
  EXPECT_TRUE(ui::IsClipboardFormatAvailable(RodizoraClipboardFormat()));
  EXPECT_TRUE(ui::QueryCommandState(view, ui::ID_EDIT_PASTE).enabled);
  view->SendMessage(ui::WM_COMMAND, ui::ID_EDIT_PASTE);
  ASSERT_EQ(doc->Items().size(), 2u);
  CSaItem* pasted = doc->Items()[1];
  EXPECT_EQ(view->SelectedItem(), pasted);
  EXPECT_EQ(pasted->GetRect(), gdi::Rect(50, 60, 350, 260));  // moved off the first by (40, 40)
  EXPECT_EQ(pasted->Record().type, ItemTypeSpectrum);
  EXPECT_EQ(pasted->GetMethodName(), u"MASS");
  // A hostile payload under the program's own format.
  ui::DataObject hostile;
  hostile.SetData(RodizoraClipboardFormat(), {0xFF, 0xFF, 0x00, 0x00, 0x01, 0x02});
  ui::SetClipboard(hostile);
  ui::ClearModalLog();
  view->SendMessage(ui::WM_COMMAND, ui::ID_EDIT_PASTE);
  EXPECT_EQ(doc->Items().size(), 2u);
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].text, "Clipboard operation failed");
  // Cut leaves the clipboard full and the page one item shorter.
  view->SendMessage(ui::WM_COMMAND, ui::ID_EDIT_CUT);
  EXPECT_EQ(doc->Items().size(), 1u);
  EXPECT_EQ(view->SelectedItem(), nullptr);
  EXPECT_TRUE(ui::IsClipboardFormatAvailable(RodizoraClipboardFormat()));
}

TEST_F(PageTest, TheFullViewStretchesTheSpectraOverTheWindowAndAsksForPropertySetZero) {
  SaSettings().app.viewProperties = 2;
  CSaView* view = Open("full.dx", {"NMR", "MASS"});
  ASSERT_NE(view, nullptr);
  CSaDoc* doc = view->GetDocument();
  for (CSaItem* item : doc->Items()) item->SelectPropertySet(2, false);
  view->SendMessage(ui::WM_COMMAND, saids::ID_VIEW_FULL);
  EXPECT_FALSE(view->IsPageLayout());
  EXPECT_TRUE(ui::ModalLog().empty());
  EXPECT_EQ(view->FullViewRect(), gdi::Rect(0, 0, kPageWidth, kPageHeight));
  EXPECT_EQ(doc->GetZoom(), -1);
  for (fakes::FakeSpectrum* control : fakes::FakeSpectrum::Live()) {
    EXPECT_EQ(control->propertySet, 0);
    ASSERT_NE(control->site, nullptr);
    EXPECT_EQ(control->site->GetZoom(), 100);
  }
  gdi::Rect client;
  view->GetClientRect(&client);
  gdi::Rect mass = doc->Items()[1]->GetRect();
  ASSERT_TRUE(view->PageToClient(&mass));
  EXPECT_EQ(mass, gdi::Rect(0, 0, client.Width(), gdi::MulDiv(kPageHeight / 2, client.Height(), kPageHeight)));
  view->SendMessage(ui::WM_COMMAND, saids::ID_VIEW_PAGE_LAYOUT);
  EXPECT_TRUE(view->IsPageLayout());
  EXPECT_EQ(view->SelectedItem(), nullptr);
  for (fakes::FakeSpectrum* control : fakes::FakeSpectrum::Live()) {
    EXPECT_EQ(control->propertySet, 2);
    EXPECT_EQ(control->site->GetZoom(), 50);
  }
}

TEST_F(PageTest, AnItemsPictureIsDrawnAtItsOwnSizeWhateverTheZoomItIsShownAt) {
  // The picture is scaled into the item's place on the page: drawn at the page's 50 % (or at the
  // copy's 2500 %), its texts would be scaled twice.
  CSaView* view = Open("zoomed.dx", {"NMR"});
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(fakes::FakeSpectrum::Live().size(), 1u);
  fakes::FakeSpectrum* control = fakes::FakeSpectrum::Live()[0];
  ASSERT_NE(control->site, nullptr);
  CSaItem* item = view->GetDocument()->Items()[0];
  control->drawnAtZoom = -1;
  ASSERT_TRUE(item->UpdatePresentation());
  Repaint(view);
  EXPECT_EQ(control->drawnAtZoom, 100);
  EXPECT_EQ(control->site->GetZoom(), 50);
  EXPECT_EQ(Pixel(view, 300, At(600)), KindColor("NMR"));
  control->drawnAtZoom = -1;
  ASSERT_TRUE(item->UpdatePresentation());
  view->SetSelection(item, false);
  view->SendMessage(ui::WM_COMMAND, ui::ID_EDIT_COPY);
  EXPECT_EQ(control->drawnAtZoom, 100);
  EXPECT_EQ(control->site->GetZoom(), 50);
}

TEST_F(PageTest, DraggingAnItemIntoAnotherWindowMovesItThere) {
  CSaView* from = Open("from.dx", {"NMR"}, false);
  CSaView* to = Open("to.dx", {"MASS"}, false);
  ASSERT_TRUE(from && to);
  MainFrame()->MDITile(false);
  Repaint(from);
  Repaint(to);
  CSaItem* item = from->GetDocument()->Items()[0];
  item->SetRect({0, 0, 100, 100});
  from->SetSelection(item, false);
  // From the item's middle in one window to a point of the other.
  gdi::Point target{60, 80};
  to->ClientToScreen(&target);
  from->ScreenToClient(&target);
  ui::input::MouseDown(from, {At(50), At(50)});
  ui::input::MouseMove(from, target, ui::MK_LBUTTON);
  ui::input::MouseUp(from, target);
  EXPECT_TRUE(from->GetDocument()->Items().empty());
  ASSERT_EQ(to->GetDocument()->Items().size(), 2u);
  CSaItem* moved = to->GetDocument()->Items()[1];
  EXPECT_EQ(moved->GetMethodName(), u"NMR");
  // Its corner where the pointer's offset put it: (60, 80) less the 25 pixels of the press.
  EXPECT_EQ(moved->GetRect(), gdi::Rect((60 - 25 - 20) * 2, (80 - 25 - 20) * 2, (60 - 25 - 20) * 2 + 100,
                                        (80 - 25 - 20) * 2 + 100));
}

TEST_F(PageTest, InsertSpectraPutsEachFileFurtherDownAndARightClickSetsThePastePoint) {
  CSaView* view = Open("base.dx", {"NMR"});
  ASSERT_NE(view, nullptr);
  const std::string a = WriteSpectrumFile(dir, "ins_a.dx", {"MASS"});
  const std::string b = WriteSpectrumFile(dir, "ins_b.dx", {"NMR", "NMR"});
  SaSettings().loadDirectory = plat::toUtf16(dir);
  ui::ScriptedResponder responder(true);
  // The program's explorer-style dialog, the one File Open shows, in the load directory: both
  // files chosen in its list.
  responder.Then(ui::ModalKind::Window, [&](ui::ModalQuestion& q) {
    CFileOpenDlg& dialog = app->OpenDialog();
    EXPECT_EQ(q.window, &dialog);
    EXPECT_EQ(dialog.GetCurrentDirectory(), dir);
    EXPECT_TRUE(ui::App::PumpUntil([&] { return dialog.IsListingComplete(); }, 60000));
    ui::ListCtrl& files = dialog.FileList();
    for (const char* name : {"ins_a.dx", "ins_b.dx"}) {
      const int row = files.FindItem(name);
      EXPECT_GE(row, 0) << name;
      files.SetItemState(row, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
    }
    if (auto* open = dynamic_cast<ui::Button*>(dialog.BottomBar().GetDlgItem(ui::IDOK))) open->Click();
    return ui::IDOK;
  });
  view->SendMessage(ui::WM_COMMAND, saids::ID_INSERT_SPECTRA);
  EXPECT_TRUE(responder.Done());
  const auto items = view->GetDocument()->Items();
  ASSERT_EQ(items.size(), 3u);
  // "ObjectLeft", "ObjectTop" 100 and "ObjectWidth" 810, "ObjectHeight" 510 tenths.
  EXPECT_EQ(items[1]->GetRect(), gdi::Rect(40, 40, 40 + 324, 40 + 204));
  EXPECT_EQ(items[2]->GetRect(), gdi::Rect(80, 80, 80 + 324, 80 + 204));
  EXPECT_EQ(items[1]->Record().subtype, ItemFromControl);
  EXPECT_EQ(items[2]->Record().subtype, ItemFromControl + 1);
  EXPECT_EQ(items[2]->Record().fromFile, 1);
  // A right click beyond the page: the paste point is clamped to it; the context menu shows.
  responder.Then(ui::ModalKind::PopupMenu, [](ui::ModalQuestion& q) {
    EXPECT_EQ(q.menu->GetMenuItemCount(), 7);
    return 0;
  });
  view->SendMessage(ui::WM_RBUTTONDOWN, ui::MK_RBUTTON, ui::PointToParam({At(kPageWidth) + 30, At(100)}));
  EXPECT_EQ(view->PastePoint(), (gdi::Point{kPageWidth - 1, 100}));
  EXPECT_TRUE(responder.Done());
}

}  // namespace
}  // namespace apptest
