#pragma once
// The controls' type library "TAVRINLib" (LIBID_TAVRINLib, 1.0): for each control a dispatch
// interface, an event interface and a coclass, in the order knob, soft button, table,
// structure, scroll. It is built from the controls' own dispatch tables, so what a client
// invokes and what it reads in the library cannot differ.
#include "platform/com/typelib.h"

namespace karvel {

const plat::ole::TypeLibDesc& KarvelTypeLib();

// What every control registers and exchanges: the miscellaneous status (set the client site
// first, activate when visible, inside-out, no links inside, recompose on resize) and the
// version stamp of its property exchange (1.0).
constexpr plat::DWord kControlMiscStatus = 0x20191;
constexpr plat::DWord kControlVersion = 0x10000;

}  // namespace karvel
