#pragma once
// A font record in the profile store, as fourteen named values of one section ("Height" ...
// "Name"), and the attribute copy that moves a font between two font objects.
#include "controls/common/gdirecords.h"

class COrvProfDesc;

namespace karvel {

// Opens the descriptor's section with mode 63 (creating it as needed), writes the fourteen
// values and closes the section. False when the open, a write or the close fails.
bool SaveFontToProfile(const gdi::LOGFONTA& font, COrvProfDesc& desc);
// Zeroes the record, opens the section with mode 13 and reads the values (missing ones read 0,
// the name empty); the byte fields take the low byte of their values, the face at most 31
// bytes. False when the section cannot be opened (the record stays zeroed). The section stays
// open until the descriptor closes it.
bool LoadFontFromProfile(gdi::LOGFONTA* font, COrvProfDesc& desc);

// What a font object's copy moves through the font interface: name, size (the height), bold,
// italic, underline, strike-through, weight (its low 16 bits, sign-extended) and character
// set. Width, escapement, orientation, precisions, quality and pitch stay as they were in to.
void CopyFontAttributes(const gdi::LOGFONTA& from, gdi::LOGFONTA* to);

}  // namespace karvel
