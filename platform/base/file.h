#pragma once
// Whole-file input and output. Replacing a file is atomic: the bytes go to a temporary sibling
// that is flushed and then renamed over the target, so a failed save leaves the old file as it
// was and is reported.
#include <string>
#include <string_view>

#include "platform/base/types.h"

namespace plat {

enum class FileStatus { Ok, NotFound, AccessDenied, IoError, TooLarge };

FileStatus readFile(const String8& path, String8* bytes, std::size_t maxBytes = std::size_t(1) << 31);
// Writes bytes to path atomically; the file gets mode 0644 (less the umask).
bool writeFileAtomic(const String8& path, std::string_view bytes);

bool fileExists(const String8& path);
bool isDirectory(const String8& path);
bool isRegularFile(const String8& path);
// Creates dir and its missing parents; true when it exists afterwards.
bool makeDirectories(const String8& dir);
bool removeFile(const String8& path);

// An exclusive advisory lock on a lock file, held until destruction. Processes of the suite use
// it to serialise read-modify-write cycles on one shared file.
class FileLock {
 public:
  explicit FileLock(const String8& lockPath);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool locked() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Identity of a file's current content as the file system sees it (device, inode, size,
// modification time in nanoseconds); changes whenever the file is replaced or rewritten.
struct FileStamp {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t mtimeNs = 0;
  bool exists = false;
  bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const String8& path);

}  // namespace plat
