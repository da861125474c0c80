#include "rodizora/sdf/linescanner.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/base/text.h"

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

// Whether mark occurs in the upper-cased text, searched in pieces: window carries the tail of
// the pieces before, so a mark split across two pieces is found.
class MarkSearch {
 public:
  explicit MarkSearch(std::string_view mark) : m_mark(mark) {}
  void Feed(std::string_view upperPiece) {
    if (m_found || m_mark.empty()) return;
    m_window.append(upperPiece);
    if (m_window.find(m_mark) != std::string::npos) m_found = true;
    if (m_window.size() >= m_mark.size()) m_window.erase(0, m_window.size() - (m_mark.size() - 1));
  }
  bool Found() const { return m_found; }

 private:
  std::string_view m_mark;
  std::string m_window;
  bool m_found = false;
};

}  // namespace

CLineScanner::CLineScanner(int fd, std::uint64_t from, std::uint64_t to, std::string_view firstMark,
                           std::string_view secondMark)
    : m_fd(fd), m_offset(from), m_to(to), m_first(firstMark), m_second(secondMark), m_buffer(kBufferSize) {}

bool CLineScanner::Fill() {
  m_offset += m_size;
  m_pos = m_size = 0;
  if (m_offset >= m_to) return false;
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(m_buffer.size(), m_to - m_offset));
  for (;;) {
    const ssize_t n = ::pread(m_fd, m_buffer.data(), want, static_cast<off_t>(m_offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    m_size = static_cast<std::size_t>(n);
    return true;
  }
}

bool CLineScanner::Next(Line* line) {
  if (m_pos == m_size && !Fill()) return false;
  *line = Line{};
  line->start = m_offset + m_pos;
  MarkSearch first(m_first), second(m_second);
  std::string upper;
  for (;;) {
    const char* begin = m_buffer.data() + m_pos;
    const char* feed = static_cast<const char*>(std::memchr(begin, '\n', m_size - m_pos));
    const std::size_t length = feed ? static_cast<std::size_t>(feed - begin) + 1 : m_size - m_pos;
    const std::string_view piece(begin, length);
    const std::size_t keep = std::min(length, kKeptBytes - line->head.size());
    line->head.append(piece.substr(0, keep));
    line->cut = line->cut || keep < length;
    upper = plat::toUpper(piece);
    first.Feed(upper);
    second.Feed(upper);
    m_pos += length;
    if (feed || (m_pos == m_size && !Fill())) break;
  }
  line->end = m_offset + m_pos;
  line->hasFirst = first.Found();
  line->hasSecond = second.Found();
  return true;
}
