// ExecuteCommands on a control: the result cleared first, a parameter set by NAME=value, the
// arguments handed to a command and emptied afterwards, and a macro that reaches itself stopped
// with the error message and E_FAIL, the rest of the text not run; a STARTUP macro run after
// every load.
#include "platform/ui/responder.h"
#include "spectrum/control/console/tests/console_testing.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar_test {
namespace {

class ExecuteTest : public ControlTest {
 protected:
  plat::ole::HResult Execute(CSpcControl& control, const char16_t* text) {
    return control.SpectrumControl()->ExecuteCommands(text);
  }
};

TEST_F(ExecuteTest, ResultClearedArgumentsEmptiedAndParametersSet) {
  CSpcControl* control = NewControl();
  GiveSpectrum(*control, 0);
  control->m_result.SetLong(7);
  EXPECT_EQ(Execute(*control, u""), plat::ole::S_OK);
  plat::ole::Variant taken;
  plat::ole::variantInit(&taken);
  control->SpectrumControl()->TakeResult(&taken);
  EXPECT_EQ(taken.vt, plat::ole::VT_EMPTY);
  EXPECT_EQ(Execute(*control, nullptr), plat::ole::S_OK);

  TraceCapture trace;
  EXPECT_EQ(Execute(*control, u"GIP 100,200;XYZ;;"), plat::ole::S_OK);
  EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"40169"}));
  EXPECT_TRUE(control->m_args.empty());

  // The whole piece counts: both words of the value, the name before the blank.
  EXPECT_EQ(Execute(*control, u"OPERATOR = Jane Doe"), plat::ole::S_OK);
  std::string value;
  ASSERT_TRUE(control->GetParamText("OPERATOR", &value));
  EXPECT_EQ(value, "Jane Doe");
}

TEST_F(ExecuteTest, AMacroThatReachesItselfStopsWithTheMessageAndFails) {
  CSpcControl* control = NewControl();
  GiveSpectrum(*control, 0);
  std::vector<std::string>& names = SpcApp().m_macroNames;
  std::vector<std::string>& bodies = SpcApp().m_macroBodies;
  const auto savedNames = names, savedBodies = bodies;
  names = {"ONE", "TWO"};
  bodies = {"ZP;TWO", "ONE"};
  ui::ClearModalLog();
  TraceCapture trace;
  EXPECT_EQ(Execute(*control, u"FT;ONE"), plat::ole::E_FAIL);
  EXPECT_TRUE(trace.Lines().empty());  // nothing of the text ran
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].kind, ui::ModalKind::MessageBox);
  EXPECT_EQ(ui::ModalLog()[0].text, "Error of command line processing:\nFT;ONE");
  EXPECT_TRUE(control->m_args.empty());
  names = savedNames;
  bodies = savedBodies;
}

TEST_F(ExecuteTest, AStartupMacroRunsAfterEverySuccessfulLoadOnly) {
  CSpcControl* control = NewControl();
  std::vector<std::string>& names = SpcApp().m_macroNames;
  std::vector<std::string>& bodies = SpcApp().m_macroBodies;
  const auto savedNames = names, savedBodies = bodies;
  names = {"startup"};
  bodies = {"EM;FT"};
  {
    TraceCapture trace;
    ASSERT_EQ(control->SpectrumControl()->LoadSpectrum(u"" SAMPLE_FID, 0), plat::ole::S_OK);
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"40093", "40024"}));
  }
  {
    TraceCapture trace;
    EXPECT_EQ(control->SpectrumControl()->LoadSpectrum(u"" SAMPLE_FID, 5), plat::ole::E_FAIL);
    EXPECT_TRUE(trace.Lines().empty());
  }
  names = savedNames;
  bodies = savedBodies;
}

}  // namespace
}  // namespace nelvar_test
