#include "platform/com/library.h"

#include <dlfcn.h>

#include <mutex>
#include <vector>

#include "platform/base/module.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

namespace plat::ole {

namespace {

struct LoadedModule {
  String8 path;
  void* handle = nullptr;
  bool started = false;
  int holds = 0;  // loadLibrary calls not yet freed
};

struct ModuleTable {
  std::mutex mutex;
  std::vector<LoadedModule> modules;
};

ModuleTable& table() {
  static ModuleTable t;
  return t;
}

LoadedModule* findLoaded(std::vector<LoadedModule>& modules, const String8& path) {
  for (LoadedModule& m : modules)
    if (m.path == path) return &m;
  return nullptr;
}

}  // namespace

String8 resolveModulePath(const String8& name) {
  const bool bare = name.find_first_of("/\\") == String8::npos;
  std::string_view file = pathFileName(name);
  constexpr std::string_view kDll = ".dll";
  const bool platformName = file.size() > kDll.size() && equalsNoCase(file.substr(file.size() - kDll.size()), kDll);
  if (!bare && !platformName) return name;
  const String8 ours = platformName ? "lib" + toLower(file.substr(0, file.size() - kDll.size())) + ".so" : String8(file);
  const String8 dir = bare ? moduleDirectory(reinterpret_cast<const void*>(&resolveModulePath))
                           : toPosixPath(pathDirectory(name));
  return joinPath(dir, ours);
}

HResult loadModule(const String8& name, bool start, void** handle) {
  if (!handle) return E_POINTER;
  *handle = nullptr;
  const String8 path = resolveModulePath(name);
  ModuleTable& t = table();
  std::unique_lock lock(t.mutex);
  LoadedModule* module = findLoaded(t.modules, path);
  if (!module) {
    // Never unmapped (RTLD_NODELETE): what a module keeps for the whole process, such as its
    // view of the registry, stays valid after the module is freed and when it comes back.
    void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!h) return CO_E_DLLNOTFOUND;
    t.modules.push_back({path, h, false});
    module = &t.modules.back();
  }
  if (start && !module->started) {
    auto* startFn = reinterpret_cast<int (*)()>(::dlsym(module->handle, kModuleStartSymbol));
    // The start-up may itself create objects of other modules: it runs unlocked.
    module->started = true;
    void* h = module->handle;
    lock.unlock();
    const bool ok = !startFn || startFn() != 0;
    lock.lock();
    if (!ok) {
      module = findLoaded(t.modules, path);
      if (module) {
        ::dlclose(module->handle);
        t.modules.erase(t.modules.begin() + (module - t.modules.data()));
      }
      return CO_E_ERRORINDLL;
    }
    *handle = h;
    return S_OK;
  }
  *handle = module->handle;
  return S_OK;
}

void* moduleSymbol(void* handle, const char* name) { return handle ? ::dlsym(handle, name) : nullptr; }

HResult loadLibrary(const String8& name, void** handle) {
  const HResult hr = loadModule(name, true, handle);
  if (hr != S_OK) return hr;
  ModuleTable& t = table();
  std::lock_guard lock(t.mutex);
  for (LoadedModule& m : t.modules)
    if (m.handle == *handle) ++m.holds;
  return S_OK;
}

void freeLibrary(void* handle) {
  if (!handle) return;
  ModuleTable& t = table();
  LoadedModule last;
  {
    std::lock_guard lock(t.mutex);
    auto it = t.modules.begin();
    while (it != t.modules.end() && it->handle != handle) ++it;
    if (it == t.modules.end() || it->holds == 0 || --it->holds > 0) return;
    auto* canUnload = reinterpret_cast<HResult (*)()>(::dlsym(it->handle, "DllCanUnloadNow"));
    if (canUnload && canUnload() != S_OK) return;
    last = *it;
    t.modules.erase(it);
  }
  if (last.started)
    if (auto* stop = reinterpret_cast<void (*)()>(::dlsym(last.handle, kModuleStopSymbol))) stop();
  ::dlclose(last.handle);
}

bool isModuleLoaded(const String8& name) {
  ModuleTable& t = table();
  std::lock_guard lock(t.mutex);
  return findLoaded(t.modules, resolveModulePath(name)) != nullptr;
}

void freeUnusedLibraries() {
  ModuleTable& t = table();
  std::vector<LoadedModule> idle;
  {
    std::lock_guard lock(t.mutex);
    for (auto it = t.modules.begin(); it != t.modules.end();) {
      auto* canUnload = reinterpret_cast<HResult (*)()>(::dlsym(it->handle, "DllCanUnloadNow"));
      if (it->holds == 0 && (!canUnload || canUnload() == S_OK)) {
        idle.push_back(*it);
        it = t.modules.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (LoadedModule& m : idle) {
    if (m.started)
      if (auto* stop = reinterpret_cast<void (*)()>(::dlsym(m.handle, kModuleStopSymbol))) stop();
    ::dlclose(m.handle);
  }
}

}  // namespace plat::ole
