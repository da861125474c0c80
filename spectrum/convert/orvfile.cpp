#include "spectrum/convert/orvfile.h"

#include <algorithm>
#include <cstring>

#include "common/shared_ids.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/oleauto/oleauto.h"

namespace {

// How far behind its read position ReadLine keeps the view's bytes in memory.
constexpr std::int64_t kReleaseBehind = std::int64_t(1) << 18;

}  // namespace

COrvFile::COrvFile(std::string_view path, std::uint32_t, std::uint32_t) : m_strPath(path) {
  const plat::FileInfo info = plat::fileInfo(m_strPath);
  if (!info.exists) return;  // missing: invalid attributes, no view
  if (info.isDirectory) {
    m_dwAttributes = kOrvAttrDirectory;
    return;
  }
  m_dwAttributes = kOrvAttrNormal | (info.writable ? 0 : kOrvAttrReadOnly);
  if (!info.isRegular) return;  // devices have no bytes to look at
  // Beyond what any record holds: only its head is mapped, so that detectors can still tell
  // its format (and the user the reason), while no reader walks gigabytes for nothing.
  m_bTooLarge = info.size > kMaxSpectrumFileBytes;
  m_mapping = plat::MappedFile(m_strPath, m_bTooLarge ? kOrvTooLargeHeadBytes : UINT64_MAX);
  m_pView = m_mapping.data();
  m_nSize = static_cast<std::int64_t>(m_mapping.size());
}

COrvFile::~COrvFile() = default;

void COrvFile::SetPosition(std::int64_t pos) { m_nPos = std::clamp<std::int64_t>(pos, 0, m_nSize); }

std::int64_t COrvFile::LineOf(std::int64_t offset) const {
  const auto end = static_cast<std::size_t>(std::clamp<std::int64_t>(offset, 0, m_nSize));
  std::int64_t line = 1;
  for (std::size_t i = 0; i < end; ++i) {
    // LF, CR LF and a CR alone each end one line.
    if (m_pView[i] == '\n' || (m_pView[i] == '\r' && (i + 1 >= static_cast<std::size_t>(m_nSize) || m_pView[i + 1] != '\n'))) ++line;
  }
  return line;
}

void COrvFile::ReleaseBefore(std::int64_t offset) {
  // In steps of a few megabytes: giving memory back is a system call.
  constexpr std::int64_t kStep = std::int64_t(2) << 20;
  if (offset - m_nReleased < kStep) return;
  m_mapping.releasePages(static_cast<std::uint64_t>(m_nReleased), static_cast<std::uint64_t>(offset - m_nReleased));
  m_nReleased = offset;
}

bool COrvFile::ReadLine(std::string_view* line) {
  *line = {};
  if (!m_pView || m_nPos >= m_nSize) return false;
  const char* begin = reinterpret_cast<const char*>(m_pView) + m_nPos;
  const std::size_t left = static_cast<std::size_t>(m_nSize - m_nPos);
  // A line ends at LF, at CR LF, or at a CR alone (as older programs write them).
  const void* lf = std::memchr(begin, '\n', left);
  std::size_t length = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : left;
  std::size_t end = length + (lf ? 1 : 0);
  if (const void* cr = std::memchr(begin, '\r', length)) {
    length = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
    end = length + 1;
  }
  if (end < left && begin[end - 1] == '\r' && begin[end] == '\n') ++end;
  m_nPos += static_cast<std::int64_t>(end);
  ReleaseBefore(m_nPos - kReleaseBehind);
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
  return plat::readFileAt(plat::String8(path), buffer, count, offset);
}

bool GetFileDate(std::string_view path, double* date) {
  const plat::FileInfo info = plat::fileInfo(plat::String8(path));
  plat::LocalTime t;
  if (!info.exists || !plat::toLocalTime(info.lastWrite, &t)) return false;
  // A leap second still names a valid time.
  const plat::ole::DateParts parts{t.year, t.month, t.day, t.hour, t.minute, std::min(t.second, 59)};
  return plat::ole::dateFromParts(parts, date);
}
