#pragma once
// The main window's placement between runs: the 44-byte record stored as "Main frame\Placement"
// (length, flags, show command, minimised and maximised positions, normal rectangle; all 32-bit,
// little-endian) in the program's default profile section.
#include <optional>

#include "platform/ui/wnd.h"

// The stored record; none unless exactly 44 bytes were read and their length field is 44.
std::optional<ui::WINDOWPLACEMENT> ReadStoredPlacement();
bool WriteStoredPlacement(const ui::WINDOWPLACEMENT& placement);

// Whether a normal rectangle lies on a screen of this size: both its top-left and bottom-right
// corner inside (0, 0, width, height), a corner on the right or bottom edge counting as outside.
bool PlacementFitsScreen(const ui::Rect& normal, ui::Size screen);

// A show command the platform knows (SW_HIDE .. SW_FORCEMINIMIZE).
bool IsKnownShowCommand(ui::UINT command);
