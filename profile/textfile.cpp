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
  edits_.clear();
  modified_ = false;
  lines_.clear();
  diskBytes_.clear();

  int fd = openFile(path_, mode_ == kReadWrite ? O_RDWR : O_RDONLY);
  if (fd < 0 && errno == ENOENT && mode_ == kReadOnly) {
    // Reading leaves the file system as it was: a missing file reads as an empty one.
    diskStamp_ = plat::fileStamp(path_);
    return TakeLines({});
  }
  // A writer's missing file is made empty, so a file that cannot be written fails here.
  if (fd < 0) fd = openFile(path_, O_RDWR | O_CREAT);
  if (fd < 0) return false;
  ::close(fd);
  // The stamp is taken first: a file replaced while it is read looks changed next time.
  diskStamp_ = plat::fileStamp(path_);
  plat::String8 bytes;
  if (plat::readFile(path_, &bytes, kMaxFileBytes) != plat::FileStatus::Ok) return false;
  permissions_ = plat::fileInfo(path_).permissions;
  plat::removeStaleTemporaries(path_);
  if (!TakeLines(bytes)) return false;
  diskBytes_ = std::move(bytes);
  return true;
}

bool COrvTextFile::TakeLines(std::string_view bytes) {
  Encoding encoding = Encoding::kUtf8;
  bool utf8Mark = false;
  std::size_t offset = 0;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    encoding = Encoding::kUtf16;
    offset = 2;
  } else {
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      utf8Mark = true;
      offset = 3;
    }
    if (!plat::isUtf8(bytes.substr(offset))) encoding = Encoding::kCp1252;
  }
  std::vector<COrvFileStr> lines;
  COrvFileStr line;
  while (const std::size_t used = ReadLine(bytes, offset, encoding, &line.text)) {
    if (lines.size() == kMaxLines) return false;
    lines.push_back(std::move(line));
    line = COrvFileStr{};
    offset += used;
  }
  lines_ = std::move(lines);
  encoding_ = encoding;
  utf8Mark_ = utf8Mark;
  BumpChangeCounter();
  return true;
}

bool COrvTextFile::Merge(std::string_view bytes) {
  if (!TakeLines(bytes)) return false;
  diskBytes_ = plat::String8(bytes);
  for (const Edit& edit : edits_) edit(*this);
  return true;
}

void COrvTextFile::Refresh() {
  const plat::FileStamp now = plat::fileStamp(path_);
  if (now == diskStamp_) return;
  plat::String8 bytes;
  const plat::FileStatus status = plat::readFile(path_, &bytes, kMaxFileBytes);
  if (status != plat::FileStatus::Ok && status != plat::FileStatus::NotFound) return;
  diskStamp_ = now;
  if (bytes != diskBytes_) (void)Merge(bytes);
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
  // A file that was missing when it was read is made now, as a writer's load makes it.
  const int fd = openFile(path_, O_RDWR | O_CREAT);
  if (fd < 0) return false;
  ::close(fd);
  permissions_ = plat::fileInfo(path_).permissions;
  mode_ = kReadWrite;
  return true;
}

plat::String8 COrvTextFile::Serialise(bool* ok) const {
  *ok = true;
  plat::String8 out;
  if (encoding_ == Encoding::kUtf16) {
    out = "\xFF\xFE";
    for (const COrvFileStr& line : lines_) {
      appendUtf16(&out, line.text);
      appendUtf16(&out, u"\r\n");
    }
    return out;
  }
  if (utf8Mark_) out = "\xEF\xBB\xBF";
  plat::String8 bytes;
  for (const COrvFileStr& line : lines_) {
    // The store refuses what the file cannot hold, so a line that does not encode is a fault
    // of ours: the file is left as it was rather than written with a line lost.
    if (encoding_ == Encoding::kCp1252) {
      if (!plat::utf16ToCp1252(line.text, &bytes)) *ok = false;
    } else {
      bytes = plat::toUtf8(line.text);
    }
    out += bytes;
    out += "\r\n";
  }
  return out;
}

bool COrvTextFile::Save() {
  if (mode_ != kReadWrite || !modified_) return true;
  // Replace the file a symbolic link points to, not the link.
  plat::String8 target = path_;
  if (char* real = ::realpath(path_.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  const plat::FileLock lock = plat::FileLock::onReplacedFile(target);
  if (!lock.locked()) return false;
  // Another process may have saved the file since it was read: the edits go onto its lines.
  plat::String8 now;
  const plat::FileStatus status = plat::readFile(target, &now, kMaxFileBytes);
  if (status != plat::FileStatus::Ok && status != plat::FileStatus::NotFound) return false;
  if (now != diskBytes_ && !Merge(now)) return false;
  bool encoded = false;
  plat::String8 out = Serialise(&encoded);
  if (!encoded || !plat::writeFileAtomic(target, out)) return false;
  // The new file keeps the permissions of the one it replaces.
  (void)::chmod(target.c_str(), permissions_);
  diskStamp_ = plat::fileStamp(path_);
  diskBytes_ = std::move(out);
  edits_.clear();
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
