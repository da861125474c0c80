// The macro list: its lines in the dialog and back (whole lines, trimmed names and bodies,
// lines without a name or body skipped), OK and Cancel, and Save, which stores the list in the
// module's profile without losing what was stored when a write fails.
#include <gtest/gtest.h>

#include "foundation/profdesc.h"
#include "foundation/proftree.h"
#include "platform/base/text.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "platform/ui/responder.h"
#include "profile/profile.h"
#include "spectrum/control/console/macrodialog.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar_test {
namespace {

using nelvar::CMacroListDlg;

// The stored macros, by name, in enumeration order.
std::vector<std::pair<std::string, std::string>> Stored() {
  std::vector<std::pair<std::string, std::string>> out;
  COrvProfDesc desc(u"", u"Macros");
  if (desc.Open(PROF_MODE_OPEN) != PROF_OK) return out;
  plat::String16 name;
  for (int i = 0; EnumProfValueName(i, &desc, &name) == PROF_OK; ++i) {
    plat::String16 body;
    OrvGetProfCString(name.c_str(), &body, u"", &desc);
    out.push_back({plat::toUtf8(name), plat::toUtf8(body)});
  }
  desc.Close();
  return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(MacroLines, LinesAreWrittenAndReadWholeAndTrimmed) {
  EXPECT_EQ(nelvar::FormatMacroLines({"PROC", "P2"}, {"EM;FT", "AP"}), "PROC = EM;FT\r\nP2 = AP\r\n");
  std::string name, body;
  ASSERT_TRUE(nelvar::ParseMacroLine("  PROC  =  EM ; FT \r\n", &name, &body));
  EXPECT_EQ(name, "PROC");
  EXPECT_EQ(body, "EM ; FT");
  EXPECT_FALSE(nelvar::ParseMacroLine("no equals sign", &name, &body));
  EXPECT_FALSE(nelvar::ParseMacroLine("NAME=", &name, &body));
  EXPECT_FALSE(nelvar::ParseMacroLine("  = FT", &name, &body));
  ASSERT_TRUE(nelvar::ParseMacroLine("A=B=C", &name, &body));
  EXPECT_EQ(body, "B=C");
  // A line of any length is read whole.
  const std::string longBody(600, 'x');
  ASSERT_TRUE(nelvar::ParseMacroLine("LONG=" + longBody, &name, &body));
  EXPECT_EQ(body, longBody);
}

class MacroDialogTest : public ControlTest {
 protected:
  // Runs the dialog over the lists; the step edits it and answers.
  void RunDialog(std::vector<std::string>& names, std::vector<std::string>& bodies,
                 std::function<int(ui::ModalQuestion&)> step) {
    ui::ModuleStateScope scope(SpcApp().ModuleState());
    ui::ScriptedResponder responder(true);
    responder.Then(ui::ModalKind::Dialog, std::move(step));
    CMacroListDlg dialog(names, bodies);
    dialog.DoModal();
    EXPECT_TRUE(responder.Done());
  }
};

TEST_F(MacroDialogTest, OkTakesTheEditedListCancelKeepsIt) {
  std::vector<std::string> names = {"PROC"}, bodies = {"EM;FT"};
  RunDialog(names, bodies, [](ui::ModalQuestion& q) {
    EXPECT_EQ(q.templateId, nelvar::IDD_MACROLIST);
    auto* edit = dynamic_cast<ui::Edit*>(q.dialog->GetDlgItem(nelvar::IDC_MACRO_EDIT));
    EXPECT_EQ(edit->GetLine(0), "PROC = EM;FT");
    edit->SetWindowText("PROC = EM;FT;AP\r\njunk line\r\n Q = ZP \r\n=nothing\r\n");
    q.dialog->PressButton(ui::IDOK);
    return ui::IDOK;
  });
  EXPECT_EQ(names, (std::vector<std::string>{"PROC", "Q"}));
  EXPECT_EQ(bodies, (std::vector<std::string>{"EM;FT;AP", "ZP"}));

  RunDialog(names, bodies, [](ui::ModalQuestion& q) {
    q.dialog->GetDlgItem(nelvar::IDC_MACRO_EDIT)->SetWindowText("");
    return ui::IDCANCEL;
  });
  EXPECT_EQ(names.size(), 2u);
}

TEST_F(MacroDialogTest, SaveStoresTheListAndKeepsTheStoredOneWhenAWriteFails) {
  ASSERT_TRUE(nelvar::StoreMacros({"OLD", "KEEP"}, {"FT", "AP"}));
  std::vector<std::string> names, bodies;
  RunDialog(names, bodies, [](ui::ModalQuestion& q) {
    q.dialog->GetDlgItem(nelvar::IDC_MACRO_EDIT)->SetWindowText("KEEP = ZP\r\nNEW = EM;FT\r\n");
    q.dialog->PressButton(nelvar::IDC_MACRO_SAVE);
    EXPECT_FALSE(q.dialog->IsEnded());  // Save leaves the dialog open
    return ui::IDCANCEL;
  });
  // Save took the list for the process too; the profile holds exactly it.
  EXPECT_EQ(names, (std::vector<std::string>{"KEEP", "NEW"}));
  EXPECT_EQ(Stored(), (Pairs{{"KEEP", "ZP"}, {"NEW", "EM;FT"}}));

  // A write that fails part way: what was stored before is all still there.
  static int writes = 0;
  writes = 0;
  const nelvar::MacroWriter failSecond = [](const char16_t* name, const char16_t* value, COrvProfDesc* desc) {
    return ++writes == 2 ? static_cast<int>(PROF_WRITE_FAULT) : OrvSetProfString(name, value, desc);
  };
  EXPECT_FALSE(nelvar::StoreMacros({"FIRST", "SECOND"}, {"AP", "FT"}, failSecond));
  const Pairs stored = Stored();
  EXPECT_NE(std::find(stored.begin(), stored.end(), std::pair<std::string, std::string>{"KEEP", "ZP"}), stored.end());
  EXPECT_NE(std::find(stored.begin(), stored.end(), std::pair<std::string, std::string>{"NEW", "EM;FT"}), stored.end());
  ASSERT_TRUE(nelvar::StoreMacros({}, {}));
  EXPECT_TRUE(Stored().empty());
}

}  // namespace
}  // namespace nelvar_test
