#include "platform/base/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <atomic>

#include "platform/base/directory.h"
#include "platform/base/file_testing.h"
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

// The token of a temporary sibling that writeFileAtomic made of target, or none.
std::optional<String8> temporaryTokenOf(std::string_view name, std::string_view target) {
  if (!name.starts_with(target) || !name.substr(target.size()).starts_with(kTemporaryMark)) return std::nullopt;
  const std::string_view token = name.substr(target.size() + kTemporaryMark.size());
  if (!isUniqueToken(token)) return std::nullopt;
  return String8(token);
}

std::atomic<bool> g_refuseExchange{false};

}  // namespace

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
  PendingFile file;
  const String8 name(pathFileName(path));
  if (name.empty() || !file.create(pathDirectory(path), name + String8(kTemporaryMark))) return false;
  const bool ok = file.write(bytes) && file.commit(path);
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

bool appendToFile(const String8& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = writeAll(fd, bytes);
  return (::close(fd) == 0) && ok;
}

bool renameFile(const String8& from, const String8& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

Exchange exchangePaths(const String8& a, const String8& b) {
  if (g_refuseExchange) return Exchange::Unsupported;
  if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) return Exchange::Done;
  return errno == EINVAL || errno == ENOSYS || errno == ENOTSUP ? Exchange::Unsupported : Exchange::Failed;
}

void refuseExchangeForTesting(bool refuse) { g_refuseExchange = refuse; }

PendingFile::~PendingFile() { discard(); }

bool PendingFile::create(std::string_view dir, std::string_view prefix) {
  discard();
  for (int attempt = 0; attempt < 16; ++attempt) {
    const String8 path = joinPath(dir, String8(prefix) + uniqueToken());
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ >= 0) {
      path_ = path;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool PendingFile::write(std::string_view bytes) { return fd_ >= 0 && writeAll(fd_, bytes); }

bool PendingFile::commit(const String8& path) {
  if (fd_ < 0) return false;
  const bool flushed = ::fsync(fd_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!flushed || !closed || ::rename(path_.c_str(), path.c_str()) != 0) {
    discard();
    return false;
  }
  path_.clear();
  return true;
}

void PendingFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  if (!path_.empty()) ::unlink(path_.c_str());
  fd_ = -1;
  path_.clear();
}

std::size_t removeStaleFiles(std::string_view dir, std::string_view pattern,
                             const std::function<std::optional<String8>(std::string_view name)>& tokenOf,
                             bool folders) {
  std::size_t removed = 0;
  for (const DirEntry& e : findFiles(dir, pattern)) {
    const std::optional<String8> token = tokenOf(e.name);
    if (!token) continue;
    const String8 path = joinPath(dir, e.name);
    // Looked at again just before it goes: a regular file (or folder, when asked), not a link,
    // still stale.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) continue;
    const bool kind = S_ISREG(st.st_mode) || (folders && S_ISDIR(st.st_mode));
    if (!kind || !isStaleTemporary(*token, static_cast<std::int64_t>(st.st_mtime))) continue;
    if (S_ISDIR(st.st_mode) ? removeTree(path) : ::unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}

std::size_t removeStaleTemporaries(const String8& path) {
  const std::string_view name = pathFileName(path);
  if (name.empty()) return 0;
  const String8 target(name);
  return removeStaleFiles(pathDirectory(path), target + String8(kTemporaryMark) + "*",
                          [&](std::string_view candidate) { return temporaryTokenOf(candidate, target); });
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

bool pathExists(const String8& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
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

bool canReadFile(const String8& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

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
