// The value dialogs answered by the responder as a user answers them: what each shows when it
// opens, what it gives back on OK, and that Cancel and text that is not a number keep the input.
#include <gtest/gtest.h>

#include <functional>

#include "platform/gdi/dc.h"
#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/responder.h"
#include "platform/ui/testing.h"
#include "spectrum/control/dialogs/dialogids.h"
#include "spectrum/control/dialogs/valuedialogs.h"
#include "spectrum/control/module/spcapp.h"

namespace {

using namespace nelvar;
using ui::ModalKind;
using ui::ModalQuestion;

class ValueDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static ui::App app("Value dialog tests");
    static const bool started = SpcApp().InitInstance();
    ASSERT_TRUE(started);
  }
  void SetUp() override { ui::testing::Reset(); }

  // Runs the dialog; the step sees it live after its initialisation and gives the answer.
  int Run(ui::Dialog& dialog, ui::UINT templateId, const std::function<int(ui::Dialog&)>& step) {
    ui::ScriptedResponder responder(true);
    responder.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
      EXPECT_EQ(q.templateId, templateId);
      title_ = q.title;
      return step(*static_cast<ui::Dialog*>(q.dialog));
    });
    const int answer = dialog.DoModal();
    EXPECT_EQ(responder.Unexpected(), 0);
    EXPECT_TRUE(responder.Done());
    return answer;
  }
  static std::string Text(ui::Dialog& d, ui::UINT id) { return d.GetDlgItemText(id); }
  static int Ok(ui::Dialog& d, ui::UINT id, const char* text) {
    d.SetDlgItemText(id, text);
    return ui::IDOK;
  }

  std::string title_;
};

TEST_F(ValueDialogTest, ReferencePointReadsTheEditWithTheFocusAndSaysWhichUnitWasEntered) {
  // Return in the PPM edit: the ppm value with flag 1, Hertz unchanged.
  CRefPointDlg ppm(2904.14f, 7.2593f);
  EXPECT_EQ(Run(ppm, IDD_REFPOINT,
                [](ui::Dialog& d) {
                  EXPECT_EQ(Text(d, IDC_HERTZ), "2904.1");
                  EXPECT_EQ(Text(d, IDC_PPM), "7.259");
                  d.SetDlgItemText(IDC_HERTZ, "1000");
                  d.SetDlgItemText(IDC_PPM, "7.26");
                  d.GetDlgItem(IDC_PPM)->SetFocus();
                  return ui::IDOK;
                }),
            ui::IDOK);
  EXPECT_EQ(title_, "Reference Point");
  EXPECT_FLOAT_EQ(ppm.m_fPpm, 7.26f);
  EXPECT_FLOAT_EQ(ppm.m_fHertz, 2904.14f);
  EXPECT_EQ(ppm.m_nUnit, 1);

  // In the Hertz edit: the Hertz value with flag 0; a comma reads as the decimal mark.
  CRefPointDlg hertz(2904.14f, 7.2593f);
  Run(hertz, IDD_REFPOINT, [](ui::Dialog& d) {
    d.SetDlgItemText(IDC_HERTZ, "480,5");
    d.GetDlgItem(IDC_HERTZ)->SetFocus();
    return ui::IDOK;
  });
  EXPECT_FLOAT_EQ(hertz.m_fHertz, 480.5f);
  EXPECT_FLOAT_EQ(hertz.m_fPpm, 7.2593f);
  EXPECT_EQ(hertz.m_nUnit, 0);

  // Cancel keeps both values and the flag the caller set.
  CRefPointDlg cancelled(1.0f, 2.0f);
  cancelled.m_nUnit = 0;
  EXPECT_EQ(Run(cancelled, IDD_REFPOINT, [](ui::Dialog& d) { return Ok(d, IDC_PPM, "9"), ui::IDCANCEL; }), ui::IDCANCEL);
  EXPECT_FLOAT_EQ(cancelled.m_fPpm, 2.0f);
  EXPECT_EQ(cancelled.m_nUnit, 0);
}

TEST_F(ValueDialogTest, ShiftGivesTheTypedCountAndKeepsTheInputForTextThatIsNoNumber) {
  CShiftDlg shift(3);
  EXPECT_EQ(Run(shift, IDD_SHIFT,
                [](ui::Dialog& d) {
                  EXPECT_EQ(Text(d, IDC_POINTS), "3");
                  return Ok(d, IDC_POINTS, "12");
                }),
            ui::IDOK);
  EXPECT_EQ(title_, "Shift");
  EXPECT_EQ(shift.m_nPoints, 12u);
  CShiftDlg word(7);
  Run(word, IDD_SHIFT, [](ui::Dialog& d) { return Ok(d, IDC_POINTS, "abc"); });
  EXPECT_EQ(word.m_nPoints, 7u);
  CShiftDlg negative(7);
  Run(negative, IDD_SHIFT, [](ui::Dialog& d) { return Ok(d, IDC_POINTS, "-5"); });
  EXPECT_EQ(negative.m_nPoints, 7u);
}

TEST_F(ValueDialogTest, SingleValuesOpenWithThreeDecimalsAndReadBackAnyNumber) {
  struct Case {
    std::function<std::unique_ptr<CFloatValueDlg>(float)> make;
    ui::UINT templateId;
    const char* title;
  };
  const Case cases[] = {
      {[](float v) { return std::make_unique<CIntegValueDlg>(v); }, IDD_INTEGVALUE, "Integral Value"},
      {[](float v) { return std::make_unique<CPeakValueDlg>(v); }, IDD_PEAKVALUE, "Peak Value"},
      {[](float v) { return std::make_unique<CZoomValueDlg>(v); }, IDD_ZOOMVALUE, "Zoom Value"},
  };
  for (const Case& c : cases) {
    auto dialog = c.make(2.5f);
    Run(*dialog, c.templateId, [](ui::Dialog& d) {
      EXPECT_EQ(Text(d, IDC_VALUE), "2.500");
      return Ok(d, IDC_VALUE, " 1e2");
    });
    EXPECT_EQ(title_, c.title);
    EXPECT_FLOAT_EQ(dialog->m_fValue, 100.0f);
    Run(*dialog, c.templateId, [](ui::Dialog& d) { return Ok(d, IDC_VALUE, "none"); });
    EXPECT_FLOAT_EQ(dialog->m_fValue, 100.0f) << c.title;
  }
}

TEST_F(ValueDialogTest, ParameterValueNamesTheParameterInUpperCaseAndGivesTheEditedText) {
  CParamValueDlg dialog("text", "old value");
  EXPECT_EQ(dialog.m_strName, "TEXT");
  Run(dialog, IDD_PARAMVALUE, [](ui::Dialog& d) {
    EXPECT_EQ(Text(d, IDC_VALUE), "old value");
    return Ok(d, IDC_VALUE, "Methyl %s group");
  });
  EXPECT_EQ(title_, "Parameter TEXT value");
  EXPECT_EQ(dialog.m_strValue, "Methyl %s group");
}

TEST_F(ValueDialogTest, CalculateSpectrumOpensOnTheFirstTwoNamesAndAddAndReadsTheChoices) {
  CCalcSpcDlg dialog({"first", "second", "third"});
  Run(dialog, IDD_CALCSPC, [](ui::Dialog& d) {
    auto* a = dynamic_cast<ui::ComboBox*>(d.GetDlgItem(IDC_FIRST_SPECTRUM));
    auto* b = dynamic_cast<ui::ComboBox*>(d.GetDlgItem(IDC_SECOND_SPECTRUM));
    auto* op = dynamic_cast<ui::ComboBox*>(d.GetDlgItem(IDC_OPERATION));
    if (!a || !b || !op) return ui::IDCANCEL;
    EXPECT_EQ(a->GetCount(), 3);
    EXPECT_EQ(b->GetCount(), 3);
    EXPECT_EQ(a->GetCurSel(), 0);
    EXPECT_EQ(b->GetCurSel(), 1);
    EXPECT_EQ(op->GetCurSel(), 0);
    EXPECT_EQ(op->GetCount(), 2);
    EXPECT_EQ(Text(d, IDC_FACTOR), "1.0");
    b->SetCurSel(2);
    op->SetCurSel(1);
    return Ok(d, IDC_FACTOR, "0.25");
  });
  EXPECT_EQ(title_, "Calculate Spectrum");
  EXPECT_EQ(dialog.m_nFirst, 0);
  EXPECT_EQ(dialog.m_nSecond, 2);
  EXPECT_EQ(dialog.m_nOperation, 1);
  EXPECT_FLOAT_EQ(dialog.m_fFactor, 0.25f);
  // With one name the second combo has no selection: -1.
  CCalcSpcDlg single({"only"});
  Run(single, IDD_CALCSPC, [](ui::Dialog&) { return ui::IDOK; });
  EXPECT_EQ(single.m_nSecond, -1);
}

TEST_F(ValueDialogTest, ResizeOffersCubicSplinesAndGivesTheNewSize) {
  CSpcResizeDlg dialog(1024);
  Run(dialog, IDD_SPCRESIZE, [](ui::Dialog& d) {
    auto* method = dynamic_cast<ui::ComboBox*>(d.GetDlgItem(IDC_RESIZE_METHOD));
    EXPECT_TRUE(method && method->GetCount() == 1 && method->GetCurSel() == 0);
    EXPECT_EQ(Text(d, IDC_POINTS), "1024");
    return Ok(d, IDC_POINTS, "2048");
  });
  EXPECT_EQ(title_, "Spectrum Resize");
  EXPECT_EQ(dialog.m_nSize, 2048);
  EXPECT_EQ(dialog.m_nMethod, 0);
}

TEST_F(ValueDialogTest, IonPlotShowsItsColourAsASwatchAndTakesAChosenOne) {
  CIonPlotGenDlg dialog(78.5f, 0.5f, 0.25f, gdi::RGB(0, 0, 255));
  ui::ScriptedResponder responder(true);
  const auto swatchAt = [](ui::Dialog& d, int x, int y) {
    auto* button = dynamic_cast<ui::Button*>(d.GetDlgItem(IDC_COLOR));
    gdi::Bitmap image = button ? button->GetBitmap() : gdi::Bitmap();
    if (image.IsNull()) return gdi::COLORREF(0x01020304);
    gdi::DC dc(*image.Surface());
    ui::Rect client;
    button->GetClientRect(&client);
    EXPECT_EQ(image.GetSize().cx, client.Width() - 8);
    EXPECT_EQ(image.GetSize().cy, client.Height() - 8);
    return dc.GetPixel(x < 0 ? image.GetSize().cx / 2 : x, y < 0 ? image.GetSize().cy / 2 : y);
  };
  responder.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
    auto& d = *static_cast<ui::Dialog*>(q.dialog);
    EXPECT_EQ(q.title, "Ion Plot Generation");
    EXPECT_EQ(swatchAt(d, -1, -1), gdi::RGB(0, 0, 255));
    EXPECT_EQ(swatchAt(d, 0, 0), gdi::RGB(0, 0, 0));  // the outline
    EXPECT_EQ(Text(d, IDC_MASS), "78.5");
    d.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(static_cast<ui::WORD>(IDC_COLOR), ui::BN_CLICKED),
                  ui::HandleToParam(d.GetDlgItem(IDC_COLOR)->m_hWnd));
    EXPECT_EQ(swatchAt(d, -1, -1), gdi::RGB(0, 128, 0));
    d.SetDlgItemText(IDC_RANGE_PLUS, "1.5");
    return ui::IDOK;
  });
  responder.Then(ModalKind::ColorDialog, [](ModalQuestion& q) {
    *q.color = gdi::RGB(0, 128, 0);
    return ui::IDOK;
  });
  EXPECT_EQ(dialog.DoModal(), ui::IDOK);
  EXPECT_EQ(responder.Unexpected(), 0);
  EXPECT_EQ(dialog.m_color, gdi::RGB(0, 128, 0));
  EXPECT_FLOAT_EQ(dialog.m_fMass, 78.5f);
  EXPECT_FLOAT_EQ(dialog.m_fMinus, 0.5f);
  EXPECT_FLOAT_EQ(dialog.m_fPlus, 1.5f);
}

}  // namespace
