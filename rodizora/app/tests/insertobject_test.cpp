// "Insert Object" with the real controls registered into the sandbox (libnelvar.so and
// libkarvel.so): the dialog's offer, an inserted object, Cancel, and a class that cannot be made.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/guids.h"
#include "controls/module/karvel_ids.h"
#include "platform/base/text.h"
#include "platform/com/regkeys.h"
#include "platform/ole/insertdlg.h"
#include "platform/ui/responder.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/res/saids.h"
#include "rodizora/view/saview.h"

namespace apptest {
namespace {

using plat::ole::Guid;
using plat::ole::InsertObjectDialog;

// Registered insertable, served by a module that is not there.
constexpr Guid kMissingServer = plat::ole::guid("{5A1D0E55-0000-4000-8000-00000000B001}");
constexpr char16_t kMissingName[] = u"Missing Server Object";

class InsertObjectTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(RegisterNelvar()) << "libnelvar.so serves no spectrum control";
    ASSERT_TRUE(RegisterKarvel()) << "libkarvel.so did not register";
    ASSERT_TRUE(Start());
    app->OnFileNew();
    ASSERT_EQ(Documents().size(), 1u);
    doc = dynamic_cast<CSaDoc*>(Documents().front());
    ASSERT_NE(doc, nullptr);
    view = dynamic_cast<CSaView*>(doc->GetViews().front());
    ASSERT_NE(view, nullptr);
    doc->SetModifiedFlag(false);
  }
  void TearDown() override {
    AppTest::TearDown();
    UnregisterKarvel();
  }
  // The dialog's step: chooses the entry of clsid (Cancel when it is not offered).
  static void Choose(ui::ScriptedResponder& script, const Guid& clsid) {
    script.Then(ui::ModalKind::Dialog, [&, clsid](ui::ModalQuestion& q) {
      auto* dialog = dynamic_cast<InsertObjectDialog*>(q.dialog);
      if (!dialog) return ui::IDCANCEL;
      const auto& classes = dialog->Classes();
      const auto at = std::find_if(classes.begin(), classes.end(), [&](const auto& c) { return c.clsid == clsid; });
      if (at == classes.end()) return ui::IDCANCEL;
      dialog->ClassList()->SetCurSel(static_cast<int>(at - classes.begin()));
      return ui::IDOK;
    });
  }
  void RunInsert() { view->SendMessage(ui::WM_COMMAND, saids::ID_OLE_INSERT_NEW); }

  CSaDoc* doc = nullptr;
  CSaView* view = nullptr;
};

TEST_F(InsertObjectTest, TheDialogOffersTheInsertableControlsByNameAndNotTheSoftButton) {
  EXPECT_TRUE(ui::QueryCommandState(view, saids::ID_OLE_INSERT_NEW).enabled);
  ui::ScriptedResponder script(true);
  script.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
    EXPECT_EQ(q.title, "Insert Object");
    auto* dialog = dynamic_cast<InsertObjectDialog*>(q.dialog);
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return ui::IDCANCEL;
    std::vector<std::string> shown;
    for (int i = 0; i < dialog->ClassList()->GetCount(); ++i) shown.push_back(dialog->ClassList()->GetText(i));
    for (const char* name : {karvel::kKnobTypeName, karvel::kTableTypeName, karvel::kStructureTypeName,
                             karvel::kScrollTypeName})
      EXPECT_NE(std::find(shown.begin(), shown.end(), name), shown.end()) << name;
    EXPECT_EQ(std::find(shown.begin(), shown.end(), karvel::kSoftButtonTypeName), shown.end());
    EXPECT_TRUE(std::any_of(dialog->Classes().begin(), dialog->Classes().end(),
                            [](const auto& c) { return c.clsid == CLSID_Spc; }));
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(), [](const std::string& a, const std::string& b) {
      return plat::compareNoCase(a, b) < 0;
    }));
    return ui::IDCANCEL;
  });
  RunInsert();
  // Cancel inserts nothing.
  EXPECT_TRUE(doc->Items().empty());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(InsertObjectTest, TheChosenClassBecomesASelectedActiveItemOfItsOwnSize) {
  ui::ScriptedResponder script(true);
  Choose(script, CLSID_KnobControl);
  RunInsert();
  ASSERT_EQ(doc->Items().size(), 1u);
  CSaItem* item = doc->Items()[0];
  EXPECT_EQ(item->GetClassID(), CLSID_KnobControl);
  EXPECT_EQ(view->SelectedItem(), item);
  EXPECT_TRUE(item->IsInPlaceActive());
  EXPECT_TRUE(doc->IsModified());
  // At the record's default corner, as large as the object's picture says (HIMETRIC x 4 / 100).
  plat::ole::SizeL extent;
  ASSERT_TRUE(item->GetCachedExtent(&extent));
  const SaItemRecord defaults;
  EXPECT_EQ(item->GetRect(), gdi::Rect(defaults.left, defaults.top, defaults.left + extent.cx * 4 / 100,
                                       defaults.top + extent.cy * 4 / 100));
  EXPECT_GT(item->GetRect().Width(), 0);
  EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(InsertObjectTest, AClassThatCannotBeMadeIsReportedAndLeavesThePageAsItWas) {
  const plat::String16 key = u"CLSID\\" + plat::ole::guidToString(kMissingServer);
  const plat::String16 name = kMissingName, server = u"/nonexistent/libmissing.so";
  namespace regkeys = plat::ole::regkeys;
  ASSERT_EQ(regkeys::writeKey(plat::reg::kClassesRoot, key, &name), plat::reg::Status::Success);
  ASSERT_EQ(regkeys::writeKey(plat::reg::kClassesRoot, key + u"\\Insertable"), plat::reg::Status::Success);
  ASSERT_EQ(regkeys::writeKey(plat::reg::kClassesRoot, key + u"\\InprocServer32", &server), plat::reg::Status::Success);
  ui::ScriptedResponder script(true);
  Choose(script, kMissingServer);
  std::string message;
  script.Then(ui::ModalKind::MessageBox, [&](ui::ModalQuestion& q) {
    message = q.text;
    return ui::IDOK;
  });
  RunInsert();
  regkeys::deleteTree(plat::reg::kClassesRoot, key);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_EQ(message, "The object could not be created.\nIts program may not be installed or registered.");
  EXPECT_TRUE(doc->Items().empty());
  EXPECT_EQ(view->SelectedItem(), nullptr);
  EXPECT_FALSE(doc->IsModified());
}

}  // namespace
}  // namespace apptest
