#pragma once
// Whole-file input and output. Replacing a file is atomic: the bytes go to a temporary sibling
// that is flushed and then renamed over the target, so a failed save leaves the old file as it
// was and is reported.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/base/types.h"

namespace plat {

enum class FileStatus { Ok, NotFound, AccessDenied, IoError, TooLarge };

FileStatus readFile(const String8& path, String8* bytes, std::size_t maxBytes = std::size_t(1) << 31);
// Reads up to count bytes of the regular file at path from offset on; returns the number read
// (0 when the file cannot be opened or the offset lies at or past its end).
std::size_t readFileAt(const String8& path, void* buffer, std::size_t count, std::uint64_t offset);
// Writes bytes to path atomically; the file gets mode 0644 (less the umask). The temporary
// sibling is path + ".tmp" + 16 hexadecimal digits; stale ones of earlier saves that were stopped
// midway are removed (removeStaleTemporaries).
bool writeFileAtomic(const String8& path, std::string_view bytes);
// Creates path, which must not exist yet, with bytes, flushed to the disk; on failure nothing is
// left at path.
bool writeNewFile(const String8& path, std::string_view bytes);
// Renames from to to, replacing a file at to atomically.
bool renameFile(const String8& from, const String8& to);
// 16 lowercase hexadecimal digits, random: names that no other save picks.
String8 uniqueToken();
// True when text is 16 lowercase hexadecimal digits, as uniqueToken makes them.
bool isUniqueToken(std::string_view text);

// A temporary file of a save that was stopped before it finished (the process was killed) stays
// behind; a later save or load of the same target removes it once it is this old (seconds since
// its last write), so a save still at work keeps its own.
constexpr std::int64_t kStaleTemporaryAge = 3600;
// Removes the regular files of folder dir whose names match the wildcard pattern and pass isOwn
// and that were last written more than kStaleTemporaryAge seconds ago. Returns how many.
std::size_t removeStaleFiles(std::string_view dir, std::string_view pattern,
                             const std::function<bool(std::string_view name)>& isOwn);
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
bool isDirectory(const String8& path);
bool isRegularFile(const String8& path);
// Creates dir and its missing parents; true when it exists afterwards.
bool makeDirectories(const String8& dir);
// Creates the one folder dir (its parent must exist); true when it exists afterwards.
bool makeDirectory(const String8& dir);
bool removeFile(const String8& path);

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
