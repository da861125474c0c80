// The save dialog: its format and type combos, the stored choice, and the name it gives back.
#include <gtest/gtest.h>

#include "foundation/filedlg/filedlgres.h"
#include "foundation/filedlg/filesavedlg.h"
#include "foundation/profdesc.h"
#include "foundation/tests/filedlg/filedlg_fixture.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace filedlg_test {
namespace {

using ui::ModalKind;
using ui::ModalQuestion;

class SaveDialogTest : public FileDlgTest {
 protected:
  void SetUp() override {
    FileDlgTest::SetUp();
    dlg.m_saveFormats = {"KEDRUS;", "Galactic;FLOAT;INTEGER", "ASCII;X-POINTS;X-PPM;X-HERTZ"};
    dlg.m_fileName = "ethyl acetate";
  }
  void TearDown() override {
    dlg.DestroyWindow();
    FileDlgTest::TearDown();
  }
  std::vector<std::string> Types() {
    std::vector<std::string> types;
    for (int i = 0; i < dlg.TypeCombo().GetCount(); ++i) types.push_back(dlg.TypeCombo().GetLBText(i));
    return types;
  }
  void ChooseFormat(int index) {
    dlg.FormatCombo().SetCurSel(index);
    dlg.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(filedlg_res::IDC_SAVE_FORMAT, ui::CBN_SELCHANGE),
                    ui::HandleToParam(dlg.FormatCombo().m_hWnd));
  }
  std::string StoredFormat() {
    COrvProfDesc desc;
    plat::String16 text;
    OrvGetProfCString(u"SaveFormat", &text, u"", &desc);
    return plat::toUtf8(text);
  }
  int StoredType() {
    COrvProfDesc desc;
    int type = -1;
    OrvGetProfInt(u"SaveType", &type, -1, &desc);
    return type;
  }
  CFileSaveDlg dlg;
};

TEST_F(SaveDialogTest, FormatComboFillsTheTypeComboAndOkStoresTheChoice) {
  dlg.SetCurrentDirectory(Scratch("save"));
  responder.Then(ModalKind::Window, [&](ModalQuestion& q) {
    EXPECT_EQ(q.title, "Save");
    EXPECT_EQ(dlg.NameEdit().GetWindowText(), "ethyl acetate");
    // Nothing stored: "KEDRUS", the first format, without types.
    EXPECT_EQ(dlg.FormatCombo().GetCount(), 3);
    EXPECT_EQ(dlg.FormatCombo().GetLBText(dlg.FormatCombo().GetCurSel()), "KEDRUS");
    EXPECT_TRUE(Types().empty());
    EXPECT_FALSE(dlg.TypeCombo().IsWindowEnabled());
    ChooseFormat(2);
    EXPECT_EQ(Types(), (std::vector<std::string>{"X-POINTS", "X-PPM", "X-HERTZ"}));
    EXPECT_TRUE(dlg.TypeCombo().IsWindowEnabled());
    EXPECT_EQ(dlg.TypeCombo().GetCurSel(), 0);
    ChooseFormat(0);
    EXPECT_TRUE(Types().empty());
    EXPECT_FALSE(dlg.TypeCombo().IsWindowEnabled());
    // No format chosen: no types either.
    ChooseFormat(-1);
    EXPECT_TRUE(Types().empty());
    EXPECT_FALSE(dlg.TypeCombo().IsWindowEnabled());
    ChooseFormat(2);
    dlg.TypeCombo().SetCurSel(2);
    // OK is ignored while the name is empty.
    dlg.NameEdit().SetWindowText("");
    Press(dlg.BottomBar(), static_cast<ui::UINT>(ui::IDOK));
    EXPECT_TRUE(StoredFormat().empty());
    dlg.NameEdit().SetWindowText("out.txt");
    Press(dlg.BottomBar(), static_cast<ui::UINT>(ui::IDOK));
    return ui::IDCANCEL;
  });
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(dlg.m_fileName, "out.txt");
  EXPECT_EQ(dlg.GetFilePath(), dlg.GetCurrentDirectory() + "/out.txt");
  EXPECT_EQ(dlg.GetFormatIndex(), 2);
  EXPECT_EQ(dlg.GetTypeIndex(), 2);
  EXPECT_EQ(StoredFormat(), "ASCII");
  EXPECT_EQ(StoredType(), 2);
  // The next use starts from the stored choice.
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_EQ(dlg.FormatCombo().GetCurSel(), 2);
    EXPECT_EQ(dlg.TypeCombo().GetCurSel(), 2);
    return ui::IDCANCEL;
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
}

TEST_F(SaveDialogTest, StoredChoiceThatNoLongerFitsFallsBackToTheFirstEntry) {
  dlg.SetCurrentDirectory(Scratch("stale"));
  COrvProfDesc desc;
  // A format that is gone gives the first; a type past the format's list gives its first.
  ASSERT_EQ(OrvSetProfString(u"SaveFormat", u"Gone", &desc), PROF_OK);
  ASSERT_EQ(OrvSetProfInt(u"SaveType", 1, &desc), PROF_OK);
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_EQ(dlg.FormatCombo().GetCurSel(), 0);
    EXPECT_EQ(dlg.TypeCombo().GetCurSel(), -1);
    return ui::IDCANCEL;
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  ASSERT_EQ(OrvSetProfString(u"SaveFormat", u"Galactic", &desc), PROF_OK);
  for (int stored : {7, -3}) {
    ASSERT_EQ(OrvSetProfInt(u"SaveType", stored, &desc), PROF_OK);
    responder.Then(ModalKind::Window, [&](ModalQuestion&) {
      EXPECT_EQ(dlg.FormatCombo().GetCurSel(), 1);
      EXPECT_EQ(dlg.TypeCombo().GetCurSel(), 0);
      return ui::IDCANCEL;
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  }
}

TEST_F(SaveDialogTest, ChoosingAnExistingFileTakesItsName) {
  const SampleFolder sample = MakeSampleFolder(Scratch("existing"));
  dlg.SetCurrentDirectory(sample.dir);
  responder.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_TRUE(WaitForListing(dlg));
    // Selecting a row puts its name in the edit.
    dlg.FileList().SetItemState(2, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
    EXPECT_EQ(dlg.NameEdit().GetWindowText(), "saved");
    // A double click saves under the clicked file's name at once.
    DoubleClickRow(dlg.FileList(), 1);
    return ui::IDCANCEL;
  });
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(dlg.m_fileName, "proton.dx");
  EXPECT_EQ(dlg.GetFilePath(), sample.dir + "/proton.dx");
  EXPECT_EQ(dlg.GetPathName(0), sample.dir + "/proton.dx");
  EXPECT_EQ(StoredFormat(), "KEDRUS");
  EXPECT_EQ(StoredType(), 0);
}

}  // namespace
}  // namespace filedlg_test
