// The list of choices as the converters' callback, answered by the responder: the chosen line
// on OK, -1 for OK without a selection, 0 (the first candidate) for Cancel.
#include <gtest/gtest.h>

#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/responder.h"
#include "platform/ui/testing.h"
#include "spectrum/control/dialogs/listdialog.h"
#include "spectrum/control/module/spcapp.h"

namespace {

class ListDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static ui::App app("List dialog tests");
    static const bool started = SpcApp().InitInstance();
    ASSERT_TRUE(started);
  }
  void SetUp() override { ui::testing::Reset(); }

  // Runs the callback on the choices; the step sees the live list box.
  std::int32_t Choose(const std::function<int(ui::ListBox&)>& step) {
    ui::ScriptedResponder responder(true);
    responder.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
      EXPECT_EQ(q.templateId, CListDialog::kTemplateId);
      auto* list = dynamic_cast<ui::ListBox*>(q.dialog->GetDlgItem(CListDialog::kListId));
      if (!list) {
        ADD_FAILURE() << "no list box";
        return ui::IDCANCEL;
      }
      return step(*list);
    });
    ui::ModuleStateScope scope(SpcApp().ModuleState());
    const std::int32_t chosen = ChooseFromListDialog({"1 fid", "2 pdata/1", "3 pdata/2"});
    EXPECT_EQ(responder.Unexpected(), 0);
    EXPECT_TRUE(responder.Done());
    return chosen;
  }
};

TEST_F(ListDialogTest, TheChosenLineOnOkMinusOneWithoutSelectionAndTheFirstOnCancel) {
  EXPECT_EQ(Choose([](ui::ListBox& list) {
              EXPECT_EQ(list.GetCount(), 3);
              EXPECT_EQ(list.GetText(1), "2 pdata/1");
              EXPECT_EQ(list.GetCurSel(), -1);
              list.SetCurSel(2);
              return ui::IDOK;
            }),
            2);
  EXPECT_EQ(Choose([](ui::ListBox&) { return ui::IDOK; }), -1);
  EXPECT_EQ(Choose([](ui::ListBox& list) {
              list.SetCurSel(2);
              return ui::IDCANCEL;
            }),
            0);
}

}  // namespace
