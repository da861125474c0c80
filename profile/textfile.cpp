#include "profile/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

namespace dorlin {

namespace {

std::uint64_t nextChangeStamp() {
  static std::uint64_t stamp = 0;
  return ++stamp;
}

int openFile(const plat::String8& path, int flags) {
  for (;;) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EINTR) return fd;
  }
}

// Reads all of an open regular file; false when it is no regular file, too large or unreadable.
bool readAll(int fd, std::size_t maxBytes, plat::String8* bytes, unsigned* permissions) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes) return false;
  *permissions = st.st_mode & 07777;
  bytes->clear();
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    // A file that grows while it is read is still held to the limit.
    if (bytes->size() + static_cast<std::size_t>(n) > maxBytes) return false;
    bytes->append(chunk, static_cast<std::size_t>(n));
  }
}

void appendUtf16(plat::String8* out, std::u16string_view text) {
  for (const char16_t c : text) {
    out->push_back(static_cast<char>(c & 0xFF));
    out->push_back(static_cast<char>(c >> 8));
  }
}

}  // namespace

std::size_t COrvTextFile::ReadLine(std::string_view bytes, std::size_t offset, Encoding encoding,
                                   plat::String16* text) {
  text->clear();
  if (offset >= bytes.size()) return 0;
  const bool utf16 = encoding == Encoding::kUtf16;
  const std::size_t unit = utf16 ? 2 : 1;
  // An odd trailing byte of a UTF-16 file is no character: it is dropped.
  const std::size_t end = utf16 ? offset + (bytes.size() - offset) / 2 * 2 : bytes.size();
  if (offset >= end) return 0;
  auto unitAt = [&](std::size_t pos) -> char16_t {
    if (!utf16) return static_cast<unsigned char>(bytes[pos]);
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[pos]) |
                                 (static_cast<unsigned char>(bytes[pos + 1]) << 8));
  };
  std::size_t pos = offset;
  while (pos < end) {
    const char16_t c = unitAt(pos);
    if (c == u'\r' || c == u'\n') break;
    if (utf16) text->push_back(c);
    pos += unit;
  }
  // CR and LF never occur inside a multi-byte UTF-8 sequence, so a line decodes on its own.
  const std::string_view line = bytes.substr(offset, pos - offset);
  if (encoding == Encoding::kUtf8) *text = plat::toUtf16(line);
  if (encoding == Encoding::kCp1252) *text = plat::cp1252ToUtf16(line);
  if (pos < end) {
    const char16_t c = unitAt(pos);
    pos += unit;
    if (c == u'\r' && pos < end && unitAt(pos) == u'\n') pos += unit;
  }
  return pos - offset;
}

bool COrvTextFile::Load(const plat::String16& name, int mode) {
  name_ = name;
  path_ = plat::toPosixPath(plat::toUtf8(name));
  mode_ = mode == kReadWrite ? kReadWrite : kReadOnly;
  lines_.clear();
  encoding_ = Encoding::kUtf8;
  utf8Mark_ = modified_ = false;
  BumpChangeCounter();

  int fd = openFile(path_, mode_ == kReadWrite ? O_RDWR : O_RDONLY);
  // A missing file is created empty, whatever the mode.
  if (fd < 0) fd = openFile(path_, O_RDWR | O_CREAT);
  if (fd < 0) return false;
  plat::String8 bytes;
  const bool read = readAll(fd, kMaxFileBytes, &bytes, &permissions_);
  ::close(fd);
  if (!read) return false;

  std::size_t offset = 0;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    encoding_ = Encoding::kUtf16;
    offset = 2;
  } else {
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      utf8Mark_ = true;
      offset = 3;
    }
    if (!plat::isUtf8(std::string_view(bytes).substr(offset))) encoding_ = Encoding::kCp1252;
  }
  COrvFileStr line;
  while (const std::size_t used = ReadLine(bytes, offset, encoding_, &line.text)) {
    if (lines_.size() == kMaxLines) {
      lines_.clear();
      return false;
    }
    lines_.push_back(std::move(line));
    line = COrvFileStr{};
    offset += used;
  }
  return true;
}

bool COrvTextFile::CanHold(std::u16string_view text) const {
  plat::String8 bytes;
  switch (encoding_) {
    case Encoding::kUtf16: return true;
    case Encoding::kCp1252: return plat::utf16ToCp1252(text, &bytes);
    case Encoding::kUtf8: break;
  }
  return plat::isWellFormedUtf16(text);
}

bool COrvTextFile::ReopenReadWrite() {
  const int fd = openFile(path_, O_RDWR);
  if (fd < 0) return false;
  ::close(fd);
  mode_ = kReadWrite;
  return true;
}

bool COrvTextFile::Save() {
  if (mode_ != kReadWrite || !modified_) return true;
  plat::String8 out;
  if (encoding_ == Encoding::kUtf16) {
    out = "\xFF\xFE";
    for (const COrvFileStr& line : lines_) {
      appendUtf16(&out, line.text);
      appendUtf16(&out, u"\r\n");
    }
  } else {
    if (utf8Mark_) out = "\xEF\xBB\xBF";
    plat::String8 bytes;
    for (const COrvFileStr& line : lines_) {
      // The store refuses what the file cannot hold, so a line that does not encode is a fault
      // of ours: the file is left as it was rather than written with a line lost.
      if (encoding_ == Encoding::kCp1252) {
        if (!plat::utf16ToCp1252(line.text, &bytes)) return false;
      } else {
        bytes = plat::toUtf8(line.text);
      }
      out += bytes;
      out += "\r\n";
    }
  }
  // Replace the file a symbolic link points to, not the link.
  plat::String8 target = path_;
  if (char* real = ::realpath(path_.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  if (!plat::writeFileAtomic(target, out)) return false;
  // The new file keeps the permissions of the one it replaces.
  (void)::chmod(target.c_str(), permissions_);
  modified_ = false;
  return true;
}

void COrvTextFile::SetLine(std::size_t n, const plat::String16& text) {
  if (lines_[n].text == text) return;
  lines_[n].text = text;
  modified_ = true;
}

void COrvTextFile::InsertLine(std::size_t n, const plat::String16& text) {
  COrvFileStr line;
  line.text = text;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(n), std::move(line));
  modified_ = true;
  BumpChangeCounter();
}

void COrvTextFile::RemoveLines(std::size_t first, std::size_t count) {
  if (count == 0) return;
  const auto begin = lines_.begin() + static_cast<std::ptrdiff_t>(first);
  lines_.erase(begin, begin + static_cast<std::ptrdiff_t>(count));
  modified_ = true;
  BumpChangeCounter();
}

void COrvTextFile::BumpChangeCounter() { changeCounter_ = nextChangeStamp(); }

}  // namespace dorlin
