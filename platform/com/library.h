#pragma once
// Loading the modules that serve classes and type libraries.
//
// A module is loaded once per process (dlopen, symbols local to it) and stays loaded until
// freeUnusedLibraries finds it idle. Start-up and shutdown are explicit: after loading, the
// module's exported KedrusModuleStart runs once (a module without it needs none; one that
// returns 0 fails to load and is closed again), and KedrusModuleStop runs when it is freed. A
// module loaded only for its type library is not started until it is loaded as a server.
// A freed module's image stays mapped: state it keeps for the whole process stays valid, and
// loading it again runs its start-up again.
//
// Names: a bare name is looked up in the install directory (the directory of the module that
// holds this code), a path in its own directory. A file name in the original platform's form
// ("NELVAR.DLL") becomes ours ("libnelvar.so"), also at the end of a path, whichever separator
// joins it ("<install>\ABOUT.DLL" is "<install>/libabout.so"); any other path is used as it is.
#include <string>

#include "platform/com/hresult.h"

namespace plat::ole {

inline constexpr char kModuleStartSymbol[] = "KedrusModuleStart";
inline constexpr char kModuleStopSymbol[] = "KedrusModuleStop";

String8 resolveModulePath(const String8& name);

// Loads (and, when start is set, starts) the module; *handle is its dlopen handle, owned by
// the table of loaded modules. CO_E_DLLNOTFOUND when it cannot be loaded, CO_E_ERRORINDLL when
// its start-up fails.
HResult loadModule(const String8& path, bool start, void** handle);
void* moduleSymbol(void* handle, const char* name);
// A library a program loads for its own use (the platform's LoadLibrary and FreeLibrary):
// loaded and started as above, and held: while any hold lasts, freeUnusedLibraries leaves it
// loaded. freeLibrary drops one hold; the last one runs the module's shutdown and unloads it,
// unless it also serves objects that are still alive (then freeUnusedLibraries frees it later).
HResult loadLibrary(const String8& name, void** handle);
void freeLibrary(void* handle);
bool isModuleLoaded(const String8& path);
// Unloads every module whose DllCanUnloadNow answers S_OK (or that has none), after its
// shutdown.
void freeUnusedLibraries();

}  // namespace plat::ole
