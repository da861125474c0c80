// The value dialogs the mouse, view and analysis areas open, each behind one call that fills
// the dialog, runs it and reads it back: false when it was cancelled.
#include "spectrum/control/control/spccontrol.h"

bool CSpcControl::AskParamValue(const std::string&, std::string*) { return false; }
bool CSpcControl::AskZoomValue(float*) { return false; }
bool CSpcControl::AskIntegValue(float*) { return false; }
bool CSpcControl::AskPeakValue(float*) { return false; }
bool CSpcControl::AskRefPoint(float*, float*, int*) { return false; }
bool CSpcControl::AskIonPlot(float*, float*, float*, gdi::COLORREF*) { return false; }

// Until the shared enabling conditions land.
bool CSpcControl::HasSpectrumData() const { return !m_data.spectrum().empty() || !m_data.scans.empty(); }
bool CSpcControl::IsSpectrumView() const { return HasSpectrumData() && m_data.nDomain == 1; }
void CSpcControl::OnUpdateRangeSource(ui::CmdUI* cmd) {
  cmd->Enable(IsSpectrumView() && (!m_drawList.m_selection.IsRectEmpty() || m_drawList.m_nPickCursor1 >= 0 || !m_args.empty()));
}
void CSpcControl::OnUpdateSpectrumView(ui::CmdUI* cmd) { cmd->Enable(IsSpectrumView()); }
