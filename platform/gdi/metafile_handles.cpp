// The process-wide table behind HENHMETAFILE handles.
#include <map>
#include <mutex>

#include "platform/gdi/metafile.h"

namespace gdi {

namespace {

struct HandleTable {
  std::mutex lock;
  std::map<HENHMETAFILE, EnhMetaFile> pictures;
  HENHMETAFILE next = 1;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

HENHMETAFILE RegisterEnhMetaFileHandle(const EnhMetaFile& picture) {
  HandleTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  // After 2^32 - 1 handles there are none left to give.
  if (t.next == 0) return 0;
  const HENHMETAFILE handle = t.next++;
  t.pictures.emplace(handle, picture);
  return handle;
}

EnhMetaFile EnhMetaFileFromHandle(HENHMETAFILE handle) {
  HandleTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  const auto found = t.pictures.find(handle);
  return found == t.pictures.end() ? EnhMetaFile() : found->second;
}

bool DeleteEnhMetaFileHandle(HENHMETAFILE handle) {
  HandleTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  return t.pictures.erase(handle) > 0;
}

}  // namespace gdi
