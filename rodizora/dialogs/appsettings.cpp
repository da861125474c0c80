#include "rodizora/dialogs/appsettings.h"

#include "rodizora/dialogs/profilevalue.h"

void CSaAppSettings::Read() {
  undoBufferSize = ReadProfileInt(u"UndoBufferSize", 5);
  viewProperties = ReadProfileInt(u"ViewProperties", 0);
  background = ReadProfileDWord(u"Background", 0xFFFFFF);
}

bool CSaAppSettings::Write() const {
  const bool undo = WriteProfileInt(u"UndoBufferSize", undoBufferSize);
  const bool view = WriteProfileInt(u"ViewProperties", viewProperties);
  const bool back = WriteProfileDWord(u"Background", background);
  return undo && view && back;
}
