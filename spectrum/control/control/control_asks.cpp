// The value dialogs the mouse, view and analysis areas open, each behind one call that fills
// the dialog, runs it and reads it back: false when it was cancelled.
#include "spectrum/control/control/spccontrol.h"

bool CSpcControl::AskParamValue(const std::string&, std::string*) { return false; }
bool CSpcControl::AskZoomValue(float*) { return false; }
bool CSpcControl::AskIntegValue(float*) { return false; }
bool CSpcControl::AskPeakValue(float*) { return false; }
bool CSpcControl::AskRefPoint(float*, float*, int*) { return false; }
bool CSpcControl::AskIonPlot(float*, float*, float*, gdi::COLORREF*) { return false; }

