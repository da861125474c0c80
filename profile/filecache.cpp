#include "profile/filecache.h"

#include <memory>
#include <new>
#include <vector>

#include "platform/base/path.h"
#include "platform/base/text.h"

namespace dorlin {

namespace {

struct CacheState {
  // Loaded files, in order of loading.
  std::vector<std::unique_ptr<COrvTextFile>> files;
  int mode = 1;
  int liveStores = 0;
  // Set once the cache was written back at unload or exit: from then on every released file
  // without an open section is written at once, so late callers lose nothing.
  bool shutDown = false;
};

// Never destroyed: descriptors of other modules may still close their sections while static
// objects are being destroyed at exit.
CacheState& state() {
  static CacheState* const s = new CacheState;
  return *s;
}

// Saves and frees the cached file at index; false when the save failed.
bool saveAndFree(std::size_t index) {
  CacheState& s = state();
  std::unique_ptr<COrvTextFile> file = std::move(s.files[index]);
  s.files.erase(s.files.begin() + static_cast<std::ptrdiff_t>(index));
  return file->Save();
}

// Writes the cache back when the library is unloaded or the process ends normally.
struct ExitFlusher {
  ~ExitFlusher() {
    CacheState& s = state();
    s.shutDown = true;
    for (std::size_t i = s.files.size(); i-- > 0;) {
      if (s.files[i]->refCount > 0 || s.files[i]->busy) {
        (void)s.files[i]->Save();  // stays cached for the sections still open in it
      } else {
        (void)saveAndFree(i);
      }
    }
  }
} exitFlusher;

}  // namespace

COrvFileDispatcher::COrvFileDispatcher() { ++state().liveStores; }

COrvFileDispatcher::~COrvFileDispatcher() {
  CacheState& s = state();
  if (--s.liveStores <= 0) {
    s.liveStores = 0;
    (void)FlushTextFiles();
  }
}

COrvTextFile* COrvFileDispatcher::OpenTextFile(const plat::String16& name, bool forWrite) {
  CacheState& s = state();
  // File names are compared exactly: on this system two names that differ in case are two files.
  const plat::String8 path = plat::toPosixPath(plat::toUtf8(name));
  for (const auto& cached : s.files) {
    if (cached->GetPath() != path) continue;
    if (cached->busy) return nullptr;
    if (forWrite && cached->GetMode() != COrvTextFile::kReadWrite && !cached->ReopenReadWrite()) return nullptr;
    // Another program of the suite may have saved the file since it was cached.
    cached->Refresh();
    cached->busy = true;
    return cached.get();
  }
  if (s.mode == 1) (void)FlushTextFiles();
  std::unique_ptr<COrvTextFile> file(new (std::nothrow) COrvTextFile);
  if (!file || !file->Load(name, forWrite ? COrvTextFile::kReadWrite : COrvTextFile::kReadOnly)) return nullptr;
  file->busy = true;
  s.files.push_back(std::move(file));
  return s.files.back().get();
}

bool COrvFileDispatcher::ReleaseTextFile(COrvTextFile* file) {
  CacheState& s = state();
  file->busy = false;
  if ((s.mode != 0 && !s.shutDown) || file->refCount > 0) return true;
  for (std::size_t i = 0; i < s.files.size(); ++i) {
    if (s.files[i].get() == file) return saveAndFree(i);
  }
  return true;
}

bool COrvFileDispatcher::FlushTextFiles() {
  CacheState& s = state();
  bool ok = true;
  for (std::size_t i = 0; i < s.files.size();) {
    if (s.files[i]->refCount <= 0 && !s.files[i]->busy) {
      ok = saveAndFree(i) && ok;
    } else {
      ++i;
    }
  }
  return ok;
}

int COrvFileDispatcher::SetCacheMode(int mode) {
  CacheState& s = state();
  s.mode = mode;
  if (mode != 0) return mode;
  (void)FlushTextFiles();
  return static_cast<int>(s.files.size());
}

int COrvFileDispatcher::GetCacheMode() { return state().mode; }
int COrvFileDispatcher::GetLiveStoreCount() { return state().liveStores; }
int COrvFileDispatcher::GetCachedFileCount() { return static_cast<int>(state().files.size()); }

}  // namespace dorlin
