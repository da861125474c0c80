#pragma once
// Whole-file input and output. Replacing a file is atomic: the bytes go to a temporary sibling
// that is flushed and then renamed over the target, so a failed save leaves the old file as it
// was and is reported.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/types.h"

namespace plat {

enum class FileStatus { Ok, NotFound, AccessDenied, IoError, TooLarge };

FileStatus readFile(const String8& path, String8* bytes, std::size_t maxBytes = std::size_t(1) << 31);
// Reads up to count bytes of the regular file at path from offset on; returns the number read
// (0 when the file cannot be opened or the offset lies at or past its end).
std::size_t readFileAt(const String8& path, void* buffer, std::size_t count, std::uint64_t offset);
// Writes bytes to path atomically; the file gets mode 0644 (less the umask).
bool writeFileAtomic(const String8& path, std::string_view bytes);

// What the file system reports of a path (following symbolic links).
struct FileInfo {
  bool exists = false;
  bool isDirectory = false;
  bool isRegular = false;
  bool writable = false;         // any write permission bit is set
  unsigned permissions = 0;      // the mode's permission bits
  std::uint64_t size = 0;
  std::int64_t lastWrite = 0;    // seconds since 1970 (UTC)
};
FileInfo fileInfo(const String8& path);

// A moment as the user's clock shows it: local time, second 60 only for a leap second.
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// Seconds since 1970 (UTC) in local time; false when the system cannot convert them.
bool toLocalTime(std::int64_t seconds, LocalTime* out);

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
