// The value dialogs the mouse, view and analysis areas open, each behind one call that fills
// the dialog, runs it and reads it back: false when it was cancelled.
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/dialogs/valuedialogs.h"
#include "spectrum/control/module/spcapp.h"

namespace {

template <class Dialog>
bool Confirmed(Dialog& dialog) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  return dialog.DoModal() == ui::IDOK;
}

}  // namespace

bool CSpcControl::AskParamValue(const std::string& name, std::string* value) {
  CParamValueDlg dialog(name, *value, IsWindow() ? this : nullptr);
  if (!Confirmed(dialog)) return false;
  *value = dialog.m_strValue;
  return true;
}

bool CSpcControl::AskZoomValue(float* factor) {
  CZoomValueDlg dialog(*factor, IsWindow() ? this : nullptr);
  if (!Confirmed(dialog)) return false;
  *factor = dialog.m_fValue;
  return true;
}

bool CSpcControl::AskIntegValue(float* value) {
  CIntegValueDlg dialog(*value, IsWindow() ? this : nullptr);
  if (!Confirmed(dialog)) return false;
  *value = dialog.m_fValue;
  return true;
}

bool CSpcControl::AskPeakValue(float* value) {
  CPeakValueDlg dialog(*value, IsWindow() ? this : nullptr);
  if (!Confirmed(dialog)) return false;
  *value = dialog.m_fValue;
  return true;
}

bool CSpcControl::AskRefPoint(float* hertz, float* ppm, int* ppmEntered) {
  CRefPointDlg dialog(*hertz, *ppm, IsWindow() ? this : nullptr);
  if (!Confirmed(dialog)) return false;
  *hertz = dialog.m_fHertz;
  *ppm = dialog.m_fPpm;
  *ppmEntered = dialog.m_nUnit;
  return true;
}

bool CSpcControl::AskIonPlot(float* mass, float* minus, float* plus, gdi::COLORREF* color) {
  CIonPlotGenDlg dialog(*mass, *minus, *plus, *color, IsWindow() ? this : nullptr);
  if (!Confirmed(dialog)) return false;
  *mass = dialog.m_fMass;
  *minus = dialog.m_fMinus;
  *plus = dialog.m_fPlus;
  *color = dialog.m_color;
  return true;
}
