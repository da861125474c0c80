#pragma once
// The application's settings that the settings dialog changes in memory: the undo buffer size,
// the processing background colour and the property-set mode. The application reads them at
// start-up and writes them back at exit, under "UndoBufferSize", "Background" and
// "ViewProperties" in its default profile section.
#include "platform/gdi/types.h"

struct CSaAppSettings {
  int undoBufferSize = 5;
  gdi::COLORREF background = 0xFFFFFF;
  int viewProperties = 0;  // the property-set id used for page layout, printing and copying

  // Each value from the profile, its default where it cannot be read.
  void Read();
  // False when some value could not be written.
  bool Write() const;
};
