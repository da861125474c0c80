#pragma once
// The process-wide cache of loaded INI files, through which every INI store operation obtains
// and releases its file.
//
// Cache modes (setCacheMode):
//  0: a released file is written back and freed at once unless a section in it is open;
//  1 (at load): released files stay; opening a file that is not cached first writes back and
//     frees every cached file without an open section;
//  other: released files stay until the mode is set to 0 or the last INI store goes.
// Whatever the mode, the cache is written back when the last INI store object is destroyed and
// when the library is unloaded or the process ends normally.
#include "platform/base/types.h"
#include "profile/textfile.h"

namespace dorlin {

// Mix-in of the INI store: its constructor and destructor count the live INI stores; when the
// count falls to 0, every file without an open section is written back and freed.
class COrvFileDispatcher {
 public:
  COrvFileDispatcher();
  virtual ~COrvFileDispatcher();
  COrvFileDispatcher(const COrvFileDispatcher&) = delete;
  COrvFileDispatcher& operator=(const COrvFileDispatcher&) = delete;

  // The file marked busy, or nullptr when it is busy, cannot be loaded, or (forWrite) cannot
  // be made writable. A cached file that changed on disk is read again first.
  static COrvTextFile* OpenTextFile(const plat::String16& name, bool forWrite);
  // Ends one operation on the file; in mode 0 a file without open sections is written back
  // and freed. False when that write failed (the file is freed all the same; the old file on
  // disk is untouched).
  static bool ReleaseTextFile(COrvTextFile* file);
  // Writes back and frees every cached file without an open section; false when a write failed.
  static bool FlushTextFiles();

  // Stores the mode; 0 flushes at once. Returns the mode, or for 0 the number of files still
  // cached.
  static int SetCacheMode(int mode);
  static int GetCacheMode();
  static int GetLiveStoreCount();
  static int GetCachedFileCount();
};

}  // namespace dorlin
