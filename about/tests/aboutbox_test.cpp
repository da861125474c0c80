// The about box: the caller's texts and the user block, the module-info button, the layout that
// follows the picture's size, and the module information text.
#include <vector>

#include "about/maindlg.h"
#include "about/moduleinfo.h"
#include "about/pictures.h"
#include "about/tests/about_fixture.h"
#include "common/guids.h"
#include "platform/gdi/surface.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/styles.h"

namespace abouttest {
namespace {

using about::CMainDlg;

// Where each item of the template lies, in the dialog's client pixels.
struct Layout {
  Rect window;
  std::vector<std::pair<UINT, Rect>> items;
};
Layout LayoutOf(const Dialog& dialog) {
  Layout layout;
  dialog.GetWindowRect(&layout.window);
  for (const DialogItemResource& item : about::AboutDialogTemplate().items)
    layout.items.push_back({item.id, ItemRect(dialog, item.id)});
  return layout;
}

using AboutBox = AboutTest;

TEST_F(AboutBox, ShowsTheCallersTextsTheUserAndThePictureInItsDesignedLayout) {
  WriteUser(kTestSection, u"Jane Roe", u"Orvane Labs");
  ModuleStateScope state(about::AboutModuleState());
  CMainDlg dialog("KEDRUS Rodizora", "KEDRUS Rodizora 2.00.0, 01-Jan-2024.", 1);
  const int result = RunDialog(dialog, [](Dialog& d) {
    EXPECT_EQ(d.GetWindowText(), "About KEDRUS Rodizora");
    EXPECT_EQ(d.GetDlgItemText(about::IDC_BODY), "KEDRUS Rodizora 2.00.0, 01-Jan-2024.");
    EXPECT_EQ(d.GetDlgItemText(about::IDC_USER), "  Jane Roe\n  Orvane Labs");
    EXPECT_TRUE(d.GetDlgItem(about::IDC_MODULE_INFO)->IsWindowEnabled());
    // The library's picture is the picture control's designed size: every item stays where the
    // template puts it.
    for (const DialogItemResource& item : about::AboutDialogTemplate().items) {
      Rect designed(item.x, item.y, item.x + item.cx, item.y + item.cy);
      d.MapDialogRect(&designed);
      EXPECT_EQ(ItemRect(d, item.id), designed) << "item " << item.id;
    }
    const Rect picture = ItemRect(d, about::IDC_PICTURE);
    EXPECT_EQ(picture.Width(), about::kStripWidth);
    EXPECT_EQ(picture.Height(), about::kStripHeight);

    // The picture shows there: its field's top shade at its top-left, its trace inside it only.
    const auto shot = d.Render();
    Point origin{0, 0};
    d.ClientToScreen(&origin);
    Rect window;
    d.GetWindowRect(&window);
    Rect shown = picture;
    shown.OffsetRect(origin.x - window.left, origin.y - window.top);
    EXPECT_EQ(shot->GetPixel(shown.left + 2, shown.top + 1), PictureRgb(0));
    const std::int64_t trace = shot->CountPixels(PictureRgb(about::kTrace));
    EXPECT_GT(trace, 200);
    EXPECT_EQ(shot->CountPixels(PictureRgb(about::kTrace), &shown), trace);
    return IDOK;
  });
  EXPECT_EQ(result, IDOK);
}

TEST_F(AboutBox, WithoutModuleInfoOrUserItsButtonIsOffAndTheUserLinesAreBlank) {
  WriteUser(kTestSection, nullptr, nullptr);
  ModuleStateScope state(about::AboutModuleState());
  CMainDlg dialog("", "", 0);
  RunDialog(dialog, [](Dialog& d) {
    EXPECT_EQ(d.GetWindowText(), "About ");
    EXPECT_EQ(d.GetDlgItemText(about::IDC_USER), "  \n  ");
    EXPECT_FALSE(d.GetDlgItem(about::IDC_MODULE_INFO)->IsWindowEnabled());
    // "&Credits..." has no handler: the box stays and asks nothing.
    const std::size_t asked = ModalLog().size();
    d.PressButton(about::IDC_CREDITS);
    EXPECT_FALSE(d.IsEnded());
    EXPECT_EQ(ModalLog().size(), asked);
    return IDCANCEL;
  });
}

// The library's dialog with a picture of another size.
struct OtherPicture {
  std::vector<std::uint8_t> bmp;
  BitmapResource bitmaps[1];
  ResourceSet resources;
  ModuleState state;
  OtherPicture(int width, int height) : bmp(about::Bmp8Size(width, height)) {
    about::DrawSpectrumPicture(bmp.data(), width, height, {10, width - 10, height - 10, height / 2});
    bitmaps[0] = {about::IDB_PICTURE, bmp};
    resources.dialogs = {&about::AboutDialogTemplate(), 1};
    resources.bitmaps = bitmaps;
    state.resources = &resources;
  }
};

TEST_F(AboutBox, APictureOfAnotherSizeMovesTheLayoutByTheDifference) {
  Layout designed;
  {
    ModuleStateScope state(about::AboutModuleState());
    CMainDlg dialog("", "", 1);
    RunDialog(dialog, [&](Dialog& d) { return designed = LayoutOf(d), IDOK; });
  }
  constexpr int dw = 10, dh = 20;
  OtherPicture wider(about::kStripWidth + dw, about::kStripHeight + dh);
  ModuleStateScope state(&wider.state);
  CMainDlg dialog("", "", 1);
  RunDialog(dialog, [&](Dialog& d) {
    const Layout moved = LayoutOf(d);
    EXPECT_EQ(moved.window.TopLeft(), designed.window.TopLeft());
    EXPECT_EQ(moved.window.Width(), designed.window.Width() + dw);
    EXPECT_EQ(moved.window.Height(), designed.window.Height() + dh);
    for (std::size_t i = 0; i < moved.items.size(); ++i) {
      const auto [id, r] = moved.items[i];
      Rect want = designed.items[i].second;
      if (id == about::IDC_PICTURE) {
        want.right += dw;
        want.bottom += dh;
      } else if (id == UINT(IDOK) || id == about::IDC_MODULE_INFO || id == about::IDC_CREDITS) {
        want.OffsetRect(dw, dh);
      } else {
        want.OffsetRect(0, dh);
        want.right += dw;
      }
      EXPECT_EQ(r, want) << "item " << id;
    }
    return IDOK;
  });
}

TEST_F(AboutBox, ModuleInfoListsTheModulesThatCanBeCreatedInOrder) {
  EXPECT_EQ(about::ModuleInfoText(), "Module info:\n ");
  FakeModules fakes;
  EXPECT_EQ(about::ModuleInfoText(), "Module info:\n " + FakeControlEntry() + FakeSecondEntry());
  fakes.DropSecond();
  EXPECT_EQ(about::ModuleInfoText(), "Module info:\n " + FakeControlEntry());
}

}  // namespace
}  // namespace abouttest
