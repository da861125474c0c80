#pragma once
// Whole-file input and output. Replacing a file is atomic: the bytes go to a temporary sibling
// that is flushed and then renamed over the target, so a failed save leaves the old file as it
// was and is reported.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/tempname.h"
#include "platform/base/types.h"

namespace plat {

enum class FileStatus { Ok, NotFound, AccessDenied, IoError, TooLarge };

FileStatus readFile(const String8& path, String8* bytes, std::size_t maxBytes = std::size_t(1) << 31);
// Reads up to count bytes of the regular file at path from offset on; returns the number read
// (0 when the file cannot be opened or the offset lies at or past its end).
std::size_t readFileAt(const String8& path, void* buffer, std::size_t count, std::uint64_t offset);
// Writes bytes to path atomically; the file gets mode 0644 (less the umask). The temporary
// sibling is path + ".tmp" + a token (uniqueToken); those that saves stopped midway left behind
// are removed (removeStaleTemporaries).
bool writeFileAtomic(const String8& path, std::string_view bytes);
// Creates path, which must not exist yet, with bytes, flushed to the disk; on failure nothing is
// left at path.
bool writeNewFile(const String8& path, std::string_view bytes);
// Appends bytes to the end of path (created when missing) in one write.
bool appendToFile(const String8& path, std::string_view bytes);
// Renames from to to, replacing a file at to atomically.
bool renameFile(const String8& from, const String8& to);

// How exchangePaths went.
enum class Exchange { Done, Unsupported, Failed };
// Swaps what two paths of one file system name (files or folders, both present) in one step:
// nobody ever sees either path missing. Unsupported where the kernel or the file system cannot
// (the caller then renames one aside and the other in).
Exchange exchangePaths(const String8& a, const String8& b);

// A file written under a temporary name in its folder and given its own name only when complete;
// destroyed before that, it removes what it wrote. Its name is a prefix and a token
// (uniqueToken), so that a later removeStaleFiles tells a stopped one from one at work.
class PendingFile {
 public:
  PendingFile() = default;
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Creates the temporary file dir/prefix<token>, exclusively; false when it cannot be made.
  bool create(std::string_view dir, std::string_view prefix);
  bool write(std::string_view bytes);
  // Flushes it to the disk and renames it to path, replacing a file there atomically; false (and
  // the temporary removed) when any step fails.
  bool commit(const String8& path);
  // Removes the temporary file.
  void discard();
  const String8& temporaryPath() const { return path_; }

 private:
  int fd_ = -1;
  String8 path_;
};

// Removes the entries of folder dir whose names match the wildcard pattern and for which tokenOf
// gives the token they were made under, once they are stale (isStaleTemporary): regular files,
// and folders with everything in them when folders is set. Returns how many went.
std::size_t removeStaleFiles(std::string_view dir, std::string_view pattern,
                             const std::function<std::optional<String8>(std::string_view name)>& tokenOf,
                             bool folders = false);
// Removes the stale temporary siblings that writeFileAtomic leaves of path.
std::size_t removeStaleTemporaries(const String8& path);

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
// Whether anything is at path, a symbolic link included (which is not followed).
bool pathExists(const String8& path);
bool isDirectory(const String8& path);
bool isRegularFile(const String8& path);
// Creates dir and its missing parents; true when it exists afterwards.
bool makeDirectories(const String8& dir);
// Creates the one folder dir (its parent must exist); true when it exists afterwards.
bool makeDirectory(const String8& dir);
bool removeFile(const String8& path);
// Whether this process may open the file at path for reading.
bool canReadFile(const String8& path);

// An exclusive advisory lock, held until destruction. Processes of the suite use it to
// serialise read-modify-write cycles on one shared file.
class FileLock {
 public:
  // Locks lockPath, a file kept for locking only (created when missing).
  explicit FileLock(const String8& lockPath);
  // Locks the file at path itself, a file that is only ever replaced whole (writeFileAtomic),
  // so that no lock file is left beside it: once the lock is held, path must still name the
  // locked file, else the lock is taken again on the file that replaced it. A missing file is
  // created empty.
  static FileLock onReplacedFile(const String8& path);
  ~FileLock();
  FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool locked() const { return fd_ >= 0; }

 private:
  FileLock() = default;
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
