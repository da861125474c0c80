#pragma once
// The entry points of the probe module: a shared library loaded into the test process, which
// makes platform state of every kind the program must share with its modules.
#include "platform/com/guid.h"
#include "platform/ui/types.h"

namespace probe {

inline constexpr plat::ole::Guid CLSID_Probe = plat::ole::guid("{5A1D0E55-0000-4000-8000-00000000B0BE}");

// Function types of the exports, as the test looks them up by name.
using MakeWindowFn = ui::HWND (*)(const char* text);  // a hidden top-level window of the probe's
using DestroyWindowFn = void (*)(ui::HWND hwnd);
using RegisterClassFn = plat::ole::HResult (*)(plat::DWord* cookie);  // CLSID_Probe in the class table
using WriteVolatileKeyFn = bool (*)(const char16_t* path);  // HKEY_CURRENT_USER, in memory only
using CanUnloadNowFn = plat::ole::HResult (*)();

}  // namespace probe
