#include "rodizora/server/receivedfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "platform/base/path.h"

namespace {

// Lower-case letters never come out of the six-bit names the server sends, so a temporary name
// cannot meet a received one.
std::string temporaryName() {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  char name[48];
  std::snprintf(name, sizeof name, ".receiving-%016llx", static_cast<unsigned long long>(rng()));
  return name;
}

}  // namespace

CReceivedFile::~CReceivedFile() { Discard(); }

void CReceivedFile::Discard() {
  if (m_fd >= 0) ::close(m_fd);
  if (!m_tempPath.empty()) ::unlink(m_tempPath.c_str());
  m_fd = -1;
  m_tempPath.clear();
}

bool CReceivedFile::Create(const std::string& folder) {
  Discard();
  if (folder.empty()) return false;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string path = plat::joinPath(folder, temporaryName());
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (m_fd >= 0) {
      m_tempPath = path;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool CReceivedFile::Write(const void* bytes, std::size_t size) {
  const char* p = static_cast<const char*>(bytes);
  while (size > 0) {
    if (m_fd < 0) return false;
    const ssize_t n = ::write(m_fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool CReceivedFile::Commit(const std::string& path) {
  if (m_fd < 0) return false;
  const bool flushed = ::fsync(m_fd) == 0;
  const bool closed = ::close(m_fd) == 0;
  m_fd = -1;
  if (!flushed || !closed || ::rename(m_tempPath.c_str(), path.c_str()) != 0) {
    Discard();
    return false;
  }
  m_tempPath.clear();
  return true;
}
