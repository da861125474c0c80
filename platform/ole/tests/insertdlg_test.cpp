// The insert-object dialog: what it offers from the registry, and what OK and Cancel give.
#include <gtest/gtest.h>

#include "platform/base/text.h"
#include "platform/com/regkeys.h"
#include "platform/ole/insertdlg.h"
#include "platform/ole/tests/ole_fixture.h"
#include "platform/ui/responder.h"

namespace oletest {
namespace {

using plat::String16;
namespace reg = plat::reg;

constexpr Guid kZeta = guid("{5A1D0E55-0000-4000-8000-00000000A001}");
constexpr Guid kAlpha = guid("{5A1D0E55-0000-4000-8000-00000000A002}");
constexpr Guid kBeta = guid("{5A1D0E55-0000-4000-8000-00000000A003}");
constexpr Guid kHidden = guid("{5A1D0E55-0000-4000-8000-00000000A004}");
constexpr Guid kNameless = guid("{5A1D0E55-0000-4000-8000-00000000A005}");

class InsertDialogTest : public OleTest {
 protected:
  void SetUp() override {
    OleTest::SetUp();
    Register(kZeta, u"Zeta Object", true);
    Register(kAlpha, u"alpha object", true);
    Register(kBeta, u"Beta Object", true);
    Register(kHidden, u"Hidden Object", false);
    Register(kNameless, u"", true);
    // A key that names no class id.
    const String16 bad = u"CLSID\\{not a class}";
    ASSERT_EQ(regkeys::writeKey(reg::kClassesRoot, bad, &bad), reg::Status::Success);
    ASSERT_EQ(regkeys::writeKey(reg::kClassesRoot, bad + u"\\Insertable"), reg::Status::Success);
    written_.push_back(bad);
  }
  void TearDown() override {
    for (const String16& key : written_) regkeys::deleteTree(reg::kClassesRoot, key);
    OleTest::TearDown();
  }
  void Register(const Guid& clsid, const String16& name, bool insertable) {
    const String16 key = u"CLSID\\" + guidToString(clsid);
    ASSERT_EQ(regkeys::writeKey(reg::kClassesRoot, key, &name), reg::Status::Success);
    if (insertable) {
      ASSERT_EQ(regkeys::writeKey(reg::kClassesRoot, key + u"\\Insertable"), reg::Status::Success);
    }
    written_.push_back(key);
  }
  std::vector<String16> written_;
};

TEST_F(InsertDialogTest, TheListOffersTheNamedInsertableClassesSortedAndOkGivesTheChosenOne) {
  InsertObjectDialog dialog;
  ui::ScriptedResponder script(true);
  script.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
    EXPECT_EQ(q.dialog, &dialog);
    EXPECT_EQ(q.title, "Insert Object");
    ui::ListBox* list = dialog.ClassList();
    EXPECT_NE(list, nullptr);
    if (!list) return ui::IDCANCEL;
    std::vector<std::string> shown;
    for (int i = 0; i < list->GetCount(); ++i) shown.push_back(list->GetText(i));
    EXPECT_EQ(shown, (std::vector<std::string>{"alpha object", "Beta Object", "Zeta Object"}));
    EXPECT_EQ(list->GetCurSel(), 0);
    list->SetCurSel(1);
    return ui::IDOK;
  });
  ASSERT_EQ(dialog.DoModal(), ui::IDOK);
  EXPECT_EQ(dialog.GetClassID(), kBeta);
  ASSERT_EQ(dialog.Classes().size(), 3u);
  EXPECT_EQ(dialog.Classes()[2].clsid, kZeta);
  EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(InsertDialogTest, CancelOrOkWithoutAChoiceGivesNoClass) {
  InsertObjectDialog dialog;
  ui::ScriptedResponder script(true);
  script.ThenAnswer(ui::ModalKind::Dialog, ui::IDCANCEL);
  script.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion&) {
    dialog.ClassList()->SetCurSel(-1);
    return ui::IDOK;
  });
  EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(dialog.GetClassID(), Guid{});
  EXPECT_EQ(script.Unexpected(), 0);
}

}  // namespace
}  // namespace oletest
