#pragma once
// The program's settings: read once at start-up from its default profile section (the user's
// product key, program section "rodizora"), changed in memory by the commands that use them, and
// written back at exit. Every part of the program reads them through SaSettings().
#include <cstdint>

#include "platform/base/types.h"
#include "rodizora/dialogs/appsettings.h"
#include "rodizora/sdf/sdfdatabase.h"

struct CSaSettings {
  // Folders (the original's "C:\" defaults are the user's home folder here).
  plat::String16 serverDirectory;  // "Server Directory": where received files are stored
  plat::String16 loadDirectory;    // "Load Directory": the open dialogs' folder
  plat::String16 saveDirectory;    // "Save Directory": the save dialog's folder
  plat::String16 baseDirectory;    // "Base Directory": the SD database dialog's folder
  int documentZoom = 100;          // "Document Zoom": percent, given to each new document
  // "UndoBufferSize", "ViewProperties" (the property set of page layout, printing and copying)
  // and "Background" (behind the full view): what the settings dialog changes.
  CSaAppSettings app;

  // Not stored: the program's folder (where "rodizora.ini" lives), the command line's "-PROCESS" commands, run on every spectrum loaded, and the
  // structure database.
  plat::String16 installPath;
  plat::String16 processCommands;
  CSdfDatabase database;
  // Started for embedding or automation: no person to tell why a document did not open.
  bool quietOpens = false;

  // Each value from the profile (its default where it cannot be read), in the order above.
  void Read();
  // Every stored value; false when one could not be written.
  bool Write() const;
};

// The program's settings (one per process).
CSaSettings& SaSettings();

// A profile value of the program's default section, at the point of use.
int SaProfileInt(const char16_t* name, int defaultValue);
