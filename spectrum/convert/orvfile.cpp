#include "spectrum/convert/orvfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/base/path.h"
#include "platform/base/text.h"

namespace {

std::uint32_t AttributesOf(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return kOrvAttrDirectory;
  std::uint32_t attr = kOrvAttrNormal;
  if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) attr |= kOrvAttrReadOnly;
  return attr;
}

}  // namespace

COrvFile::COrvFile(std::string_view path, std::uint32_t, std::uint32_t) : m_strPath(path) {
  struct stat st {};
  if (::stat(m_strPath.c_str(), &st) != 0) return;  // missing: invalid attributes, no view
  m_dwAttributes = AttributesOf(st);
  if (!S_ISREG(st.st_mode)) return;  // folders and devices have no bytes to look at
  m_fd = ::open(m_strPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (m_fd < 0) return;
  struct stat fst {};
  if (::fstat(m_fd, &fst) != 0 || !S_ISREG(fst.st_mode) || fst.st_size <= 0) return;  // empty: no view
  void* p = ::mmap(nullptr, static_cast<std::size_t>(fst.st_size), PROT_READ, MAP_PRIVATE, m_fd, 0);
  if (p == MAP_FAILED) return;
  m_pMapping = p;
  m_pView = static_cast<const plat::Byte*>(p);
  m_nSize = fst.st_size;
}

COrvFile::~COrvFile() {
  if (m_pMapping) ::munmap(m_pMapping, static_cast<std::size_t>(m_nSize));
  if (m_fd >= 0) ::close(m_fd);
}

void COrvFile::SetPosition(std::int64_t pos) { m_nPos = std::clamp<std::int64_t>(pos, 0, m_nSize); }

bool COrvFile::ReadLine(std::string_view* line) {
  *line = {};
  if (!m_pView || m_nPos >= m_nSize) return false;
  const char* begin = reinterpret_cast<const char*>(m_pView) + m_nPos;
  const std::size_t left = static_cast<std::size_t>(m_nSize - m_nPos);
  const void* lf = std::memchr(begin, '\n', left);
  std::size_t length = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : left;
  m_nPos += static_cast<std::int64_t>(length + (lf ? 1 : 0));
  if (length > 0 && begin[length - 1] == '\r') --length;
  *line = std::string_view(begin, length);
  return true;
}

bool COrvFile::ReadLine(char* buffer, std::size_t size) {
  if (buffer && size > 0) buffer[0] = 0;
  if (!buffer || size < 2 || !m_pView || m_nPos >= m_nSize) return false;
  const std::int64_t start = m_nPos;
  std::string_view line;
  ReadLine(&line);
  if (line.size() > size - 1) {
    // Too long for the buffer: hand out the head and leave the tail for the next call.
    line = line.substr(0, size - 1);
    m_nPos = start + static_cast<std::int64_t>(size - 1);
  }
  std::memcpy(buffer, line.data(), line.size());
  buffer[line.size()] = 0;
  return true;
}

std::size_t COrvFile::Read(void* buffer, std::size_t n) {
  if (!m_pView || m_nPos >= m_nSize) return 0;
  const std::size_t count = std::min<std::size_t>(n, static_cast<std::size_t>(m_nSize - m_nPos));
  std::memcpy(buffer, m_pView + m_nPos, count);
  m_nPos += static_cast<std::int64_t>(count);
  return count;
}

plat::String8 GetPathTitle(std::string_view path) { return plat::String8(plat::pathTitle(path)); }
plat::String8 GetPathFileName(std::string_view path) { return plat::String8(plat::pathFileName(path)); }
plat::String8 GetPathExt(std::string_view path) { return plat::String8(plat::pathExtension(path)); }

std::size_t ReadFileBlock(std::string_view path, void* buffer, std::size_t count, std::uint64_t offset) {
  const plat::String8 p(path);
  const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
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

plat::String8 FindFileNoCase(std::string_view dir, std::string_view name) { return plat::findNoCase(dir, name); }

namespace {

bool MatchFrom(std::string_view p, std::string_view n) {
  // Iterative glob with one backtrack point: linear enough for file names, never recursive.
  std::size_t pi = 0, ni = 0, starP = std::string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starN = ni;
    } else if (pi < p.size() && (p[pi] == '?' || plat::foldCase(p[pi]) == plat::foldCase(n[ni]))) {
      ++pi;
      ++ni;
    } else if (starP != std::string_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace

bool MatchWildcard(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  if (!pattern.empty() && pattern.back() == '.') {
    // "NAME." and "*.": names without an extension.
    if (name.find('.') != std::string_view::npos) return false;
    pattern.remove_suffix(1);
  }
  return MatchFrom(pattern, name);
}

std::vector<OrvFoundFile> FindFiles(std::string_view dir, std::string_view pattern) {
  std::vector<OrvFoundFile> found;
  const plat::String8 folder = dir.empty() ? plat::String8(".") : plat::String8(dir);
  DIR* d = ::opendir(folder.c_str());
  if (!d) return found;
  while (const dirent* e = ::readdir(d)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == ".." || !MatchWildcard(pattern, name)) continue;
    OrvFoundFile f;
    f.name = plat::String8(name);
    struct stat st {};
    if (::stat(plat::joinPath(folder, name).c_str(), &st) == 0) {
      f.isFolder = S_ISDIR(st.st_mode);
      f.size = f.isFolder ? 0 : static_cast<std::uint64_t>(st.st_size);
      f.mtime = static_cast<std::int64_t>(st.st_mtime);
    }
    found.push_back(std::move(f));
  }
  ::closedir(d);
  std::sort(found.begin(), found.end(), [](const OrvFoundFile& a, const OrvFoundFile& b) {
    const int c = plat::compareNoCase(a.name, b.name);
    return c != 0 ? c < 0 : a.name < b.name;
  });
  return found;
}
