#pragma once
// The main program's resource set: its own strings, menus and accelerator tables, with those of
// the frames and bars (rodizora/frame) and of the dialogs (rodizora/dialogs).
#include "platform/ui/resource.h"

// The whole set; SetAppResources(&ProgramResources()) makes it the program's.
const ui::ResourceSet& ProgramResources();
