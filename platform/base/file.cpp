#include "platform/base/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <random>

#include "platform/base/directory.h"
#include "platform/base/path.h"

namespace plat {

namespace {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

constexpr std::string_view kTemporaryMark = ".tmp";

String8 temporarySibling(const String8& path) { return path + String8(kTemporaryMark) + uniqueToken(); }

bool isTemporaryOf(std::string_view name, std::string_view target) {
  return name.size() == target.size() + kTemporaryMark.size() + 16 && name.starts_with(target) &&
         name.substr(target.size()).starts_with(kTemporaryMark) &&
         isUniqueToken(name.substr(target.size() + kTemporaryMark.size()));
}

}  // namespace

String8 uniqueToken() {
  // Seeded again in a forked child, which would otherwise pick the names its parent picks next.
  static thread_local std::mt19937_64 rng;
  static thread_local pid_t seededFor = 0;
  if (seededFor != ::getpid()) {
    seededFor = ::getpid();
    std::random_device device;
    rng.seed((std::uint64_t{device()} << 32) ^ device() ^ static_cast<std::uint64_t>(seededFor));
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(rng()));
  return text;
}

bool isUniqueToken(std::string_view text) {
  if (text.size() != 16) return false;
  for (const char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

FileStatus readFile(const String8& path, String8* bytes, std::size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileStatus::NotFound
                    : errno == EACCES ? FileStatus::AccessDenied : FileStatus::IoError;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return FileStatus::IoError;
  }
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return FileStatus::TooLarge;
  }
  String8 out;
  out.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  // A file that shrank while we read it gives what was there.
  out.resize(done);
  ::close(fd);
  *bytes = std::move(out);
  return FileStatus::Ok;
}

bool writeFileAtomic(const String8& path, std::string_view bytes) {
  const String8 temp = temporarySibling(path);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  if (ok) removeStaleTemporaries(path);
  return ok;
}

bool writeNewFile(const String8& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok) ::unlink(path.c_str());
  return ok;
}

bool renameFile(const String8& from, const String8& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

std::size_t removeStaleFiles(std::string_view dir, std::string_view pattern,
                             const std::function<bool(std::string_view name)>& isOwn) {
  const std::int64_t before = static_cast<std::int64_t>(std::time(nullptr)) - kStaleTemporaryAge;
  std::size_t removed = 0;
  for (const DirEntry& e : findFiles(dir, pattern)) {
    if (e.isDirectory || e.lastWrite >= before || !isOwn(e.name)) continue;
    const String8 path = joinPath(dir, e.name);
    // Looked at again just before it goes: only a regular file that is still stale.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_mtime >= before) continue;
    if (::unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}

std::size_t removeStaleTemporaries(const String8& path) {
  const std::string_view name = pathFileName(path);
  if (name.empty()) return 0;
  const String8 target(name);
  return removeStaleFiles(pathDirectory(path), target + String8(kTemporaryMark) + "*",
                          [&](std::string_view candidate) { return isTemporaryOf(candidate, target); });
}

std::size_t readFileAt(const String8& path, void* buffer, std::size_t count, std::uint64_t offset) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat st {};
  std::size_t total = 0;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    char* out = static_cast<char*>(buffer);
    while (total < count) {
      const ssize_t n = ::pread(fd, out + total, count - total, static_cast<off_t>(offset + total));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      total += static_cast<std::size_t>(n);
    }
  }
  ::close(fd);
  return total;
}

FileInfo fileInfo(const String8& path) {
  FileInfo info;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return info;
  info.exists = true;
  info.isDirectory = S_ISDIR(st.st_mode);
  info.isRegular = S_ISREG(st.st_mode);
  info.permissions = st.st_mode & 07777;
  info.writable = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  info.size = static_cast<std::uint64_t>(st.st_size);
  info.lastWrite = static_cast<std::int64_t>(st.st_mtime);
  return info;
}

bool toLocalTime(std::int64_t seconds, LocalTime* out) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!::localtime_r(&t, &local)) return false;
  *out = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
  return true;
}

bool fileExists(const String8& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool isDirectory(const String8& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const String8& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool makeDirectories(const String8& dir) {
  if (dir.empty()) return false;
  if (isDirectory(dir)) return true;
  const std::string_view parent = pathDirectory(dir);
  if (!parent.empty() && parent != dir && !makeDirectories(String8(parent))) return false;
  if (::mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST) return isDirectory(dir);
  return false;
}

bool makeDirectory(const String8& dir) {
  if (::mkdir(dir.c_str(), 0777) == 0 || errno == EEXIST) return isDirectory(dir);
  return false;
}

bool removeFile(const String8& path) { return ::unlink(path.c_str()) == 0; }

FileLock::FileLock(const String8& lockPath) {
  fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
  }
}

FileLock FileLock::onReplacedFile(const String8& path) {
  FileLock lock;
  for (;;) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return lock;
    int rc = 0;
    while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    struct stat held {}, now {};
    if (rc != 0 || ::fstat(fd, &held) != 0) {
      ::close(fd);
      return lock;
    }
    if (::stat(path.c_str(), &now) == 0 && now.st_dev == held.st_dev && now.st_ino == held.st_ino) {
      lock.fd_ = fd;
      return lock;
    }
    ::close(fd);  // replaced (or removed) while we waited: lock what the path names now
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

FileStamp fileStamp(const String8& path) {
  struct stat st {};
  FileStamp s;
  if (::stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = static_cast<std::uint64_t>(st.st_size);
  s.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return s;
}

}  // namespace plat
