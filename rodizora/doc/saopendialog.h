#pragma once
// The program's explorer-style open dialog, which File Open and Insert Spectrum(s) share. The
// application owns it and lends it here; it is kept (hidden) between uses, so that it shows the
// folder and the size it was left with.
#include <string>
#include <vector>

#include "foundation/filedlg/fileopendlg.h"

// The application's dialog (null takes it back).
void SetSaOpenDialog(CFileOpenDlg* dialog);

// Runs the open dialog, in the load directory when its window is made, and answers the chosen
// files' paths in the dialog's order (none when it is cancelled). Without the application's
// dialog a dialog of its own serves this one use.
std::vector<std::string> ChooseSpectrumFiles(ui::Wnd* owner);
