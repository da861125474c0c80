#pragma once
// Command 40116 (ID_LOAD_DATABASE) of the application: an SD file chosen in the open-file dialog,
// starting in the base directory, becomes the structure database. The user is told how many
// molecules were loaded, and the base directory becomes the file's folder; or is told that the
// file could not be loaded (the previous database is closed then).
#include "platform/base/types.h"
#include "platform/ui/wnd.h"
#include "rodizora/sdf/sdfdatabase.h"

void OnLoadDatabase(CSdfDatabase& database, plat::String16* baseDirectory, ui::Wnd* owner = nullptr);
// Loads path as the database with the profile's "IDField".
bool LoadDatabase(CSdfDatabase& database, const plat::String16& path);
