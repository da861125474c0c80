#pragma once
// Reads a text file line by line from a byte offset, through a fixed buffer however long its
// lines are, and tells for each line where it starts and ends in the file (exact byte offsets)
// and whether it holds either of two marks. Letters are compared upper-cased, so a mark given in
// upper case is found in any case. Only the first kKeptBytes bytes of a line are kept.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CLineScanner {
 public:
  static constexpr std::size_t kKeptBytes = 64 * 1024;

  struct Line {
    std::uint64_t start = 0;
    std::uint64_t end = 0;     // just after the line's line feed (or the end of the file)
    bool hasFirst = false;     // holds the first mark
    bool hasSecond = false;    // holds the second mark
    std::string head;          // the line's first bytes, line feed included when it fits
    bool cut = false;          // the line is longer than head
  };

  // Reads fd from offset from, not past offset to. Empty marks are never found.
  CLineScanner(int fd, std::uint64_t from, std::uint64_t to, std::string_view firstMark, std::string_view secondMark);
  // The next line; false at the end (or when the file cannot be read further).
  bool Next(Line* line);

 private:
  bool Fill();

  int m_fd;
  std::uint64_t m_offset;      // file offset of m_buffer[m_pos]
  std::uint64_t m_to;
  std::string m_first, m_second;
  std::vector<char> m_buffer;
  std::size_t m_pos = 0, m_size = 0;
};
