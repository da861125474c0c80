// Calculate Spectrum inside a container: the dialog lists the file spectrum items of the
// control's kind, and the new item holds the first spectrum combined with the second.
#include "platform/ui/responder.h"
#include "spectrum/control/control/tests/interaction_testing.h"
#include "spectrum/control/dialogs/dialogids.h"
#include "spectrum/control/module/command_ids.h"

namespace nelvar_test {
namespace {

using plat::ole::testing::TestContainer;

class CalculateTest : public InteractionTest {
 protected:
  // A file spectrum item of the kind, its spectrum scaled by scale.
  CSpcControl& FileItem(TestContainer& box, std::int32_t kind, const char* name, float scale) {
    CSpcControl* c = AddControl(box, {0, 0, 200, 150});
    EXPECT_NE(c, nullptr);
    GiveSpectrum(*c, kind, 64);
    for (CSpcPoint& p : c->m_data.spectrum()) p.re *= scale;
    c->m_data.strName = name;
    nelvar::testing::HostItem* item = ItemOf(c);
    item->m_record = SaItemRecord{1, 1, 10, 20, 90, 80, 1};
    return *c;
  }
  static bool Calculate(CSpcControl& c) { return c.OnCmdMsg(nelvar::ID_CALCULATE_SPECTRUM, ui::CN_COMMAND, nullptr, nullptr); }
};

TEST_F(CalculateTest, TheNewItemHoldsTheFirstSpectrumLessTheFactorTimesTheSecond) {
  TestContainer box;
  CSpcControl& a = FileItem(box, 0, "alpha", 1.0f);
  CSpcControl& b = FileItem(box, 0, "beta", 3.0f);
  FileItem(box, 2, "infrared", 1.0f);  // another kind: not offered
  EXPECT_TRUE(ui::QueryCommandState(&a, nelvar::ID_CALCULATE_SPECTRUM).enabled);
  ui::ScriptedResponder responder(true);
  responder.Then(ui::ModalKind::Dialog, [](ui::ModalQuestion& q) {
    auto* first = dynamic_cast<ui::ComboBox*>(q.dialog->GetDlgItem(nelvar::IDC_FIRST_SPECTRUM));
    auto* operation = dynamic_cast<ui::ComboBox*>(q.dialog->GetDlgItem(nelvar::IDC_OPERATION));
    if (!first || !operation) return ui::IDCANCEL;
    EXPECT_EQ(first->GetCount(), 2);
    EXPECT_EQ(first->GetLBText(1), "beta");
    operation->SetCurSel(1);  // Subtract
    q.dialog->SetDlgItemText(nelvar::IDC_FACTOR, "0.5");
    return ui::IDOK;
  });
  const std::size_t before = interaction_detail::g_controls.size();
  ASSERT_TRUE(Calculate(b));
  ASSERT_EQ(interaction_detail::g_controls.size(), before + 1);
  CSpcControl& made = *interaction_detail::g_controls.back();
  ASSERT_EQ(made.m_data.spectrum().size(), a.m_data.spectrum().size());
  for (std::size_t i = 0; i < a.m_data.spectrum().size(); ++i)
    EXPECT_FLOAT_EQ(made.m_data.spectrum()[i].re, a.m_data.spectrum()[i].re - 0.5f * b.m_data.spectrum()[i].re) << i;
  // The new item's record is the calling item's.
  const SaItemRecord* found = nullptr;
  plat::ole::IUnknown* object = nullptr;
  for (SaItemRecord* r = a.m_pOrvSite->GetFirstItem(&object); r; r = a.m_pOrvSite->GetNextItem(r, &object))
    if (CSpcControl::ControlOf(object) == &made) found = r;
  ASSERT_NE(found, nullptr);
  const SaItemRecord& record = *found;
  EXPECT_EQ(record.type, 1);
  EXPECT_EQ(record.subtype, 1);
  EXPECT_EQ(record.left, 10);
  EXPECT_EQ(record.bottom, 80);
  EXPECT_EQ(record.fromFile, 1);

  // An index outside the list, and Cancel, make nothing.
  responder.Then(ui::ModalKind::Dialog, [](ui::ModalQuestion& q) {
    if (auto* second = dynamic_cast<ui::ComboBox*>(q.dialog->GetDlgItem(nelvar::IDC_SECOND_SPECTRUM))) second->SetCurSel(-1);
    return ui::IDOK;
  });
  responder.ThenAnswer(ui::ModalKind::Dialog, ui::IDCANCEL);
  ASSERT_TRUE(Calculate(a));
  ASSERT_TRUE(Calculate(a));
  EXPECT_EQ(interaction_detail::g_controls.size(), before + 1);
  EXPECT_EQ(responder.Unexpected(), 0);
}

}  // namespace
}  // namespace nelvar_test
