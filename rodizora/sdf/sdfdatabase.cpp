#include "rodizora/sdf/sdfdatabase.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "foundation/profdesc.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "rodizora/sdf/linescanner.h"

namespace {

constexpr std::string_view kRecordEnd = "$$$$";
constexpr std::uint64_t kToTheEnd = std::numeric_limits<std::uint64_t>::max();

// The value line's identifier: cut at its first line end, then without everything up to and
// including its first "\" or "/".
std::string IdentifierOf(const std::string& valueLine) {
  std::string id = valueLine.substr(0, valueLine.find_first_of("\r\n"));
  const std::size_t slash = id.find_first_of("\\/");
  if (slash != std::string::npos) id.erase(0, slash + 1);
  return id;
}

// Copies the bytes [from, to) of one file into another.
bool CopyBytes(int in, std::uint64_t from, std::uint64_t to, std::FILE* out) {
  char buffer[64 * 1024];
  while (from < to) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, to - from));
    const ssize_t n = ::pread(in, buffer, want, static_cast<off_t>(from));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || std::fwrite(buffer, 1, static_cast<std::size_t>(n), out) != static_cast<std::size_t>(n)) return false;
    from += static_cast<std::uint64_t>(n);
  }
  return true;
}

std::string TemporaryFolder() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? dir : "/tmp";
}

}  // namespace

CSdfDatabase::~CSdfDatabase() { Close(); }

void CSdfDatabase::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  m_recordStarts.clear();
  m_identifiers.clear();
}

bool CSdfDatabase::Load(const plat::String16& path, const plat::String16& field) {
  m_tag = "<" + plat::toUpper(plat::toUtf8(field)) + ">";
  Close();
  m_fd = ::open(plat::toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (m_fd < 0) return false;

  m_recordStarts.push_back(0);
  CLineScanner lines(m_fd, 0, kToTheEnd, m_tag, kRecordEnd);
  CLineScanner::Line line, value;
  while (lines.Next(&line)) {
    const CLineScanner::Line* last = &line;
    if (line.hasFirst && lines.Next(&value)) {
      last = &value;
      // A value line too long to keep whole is no identifier.
      std::string id = value.cut ? std::string() : IdentifierOf(value.head);
      if (!id.empty()) m_identifiers.push_back({plat::toUpper(id), m_recordStarts.size() - 1});
    }
    if (last->hasSecond) m_recordStarts.push_back(last->end);
  }
  return true;
}

const CSdfDatabase::Identifier* CSdfDatabase::Match(std::u16string_view name) const {
  const std::string upperName = plat::toUpper(plat::toUtf8(name));
  for (const Identifier& id : m_identifiers)
    if (id.upper == upperName) return &id;
  for (const Identifier& id : m_identifiers)
    if (upperName.find(id.upper) != std::string::npos) return &id;
  return nullptr;
}

bool CSdfDatabase::CopyRecord(std::size_t record, bool keepIdentifier, std::FILE* out) const {
  const std::uint64_t to = record + 1 < m_recordStarts.size() ? m_recordStarts[record + 1] : kToTheEnd;
  CLineScanner lines(m_fd, m_recordStarts[record], to, m_tag, kRecordEnd);
  CLineScanner::Line line;
  while (lines.Next(&line) && !line.hasSecond) {
    if (!keepIdentifier && line.hasFirst) {
      lines.Next(&line);  // its value line goes with it
      continue;
    }
    if (!CopyBytes(m_fd, line.start, line.end, out)) return false;
  }
  return true;
}

plat::String16 CSdfDatabase::ExtractRecord(std::u16string_view name, bool keepIdentifier) const {
  if (m_fd < 0) return {};
  const Identifier* id = Match(name);
  if (!id) return {};
  std::string path = plat::joinPath(TemporaryFolder(), "kedrusXXXXXX");
  const int fd = ::mkstemp(path.data());  // created exclusively under a unique name
  std::FILE* out = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
  if (!out) {
    if (fd >= 0) {
      ::close(fd);
      ::unlink(path.c_str());
    }
    return {};
  }
  const bool copied = CopyRecord(id->record, keepIdentifier, out);
  if (std::fclose(out) != 0 || !copied) {
    ::unlink(path.c_str());
    return {};
  }
  return plat::toUtf16(path);
}

plat::String16 SdfIdField() {
  COrvProfDesc desc;
  plat::String16 field;
  OrvGetProfCString(u"IDField", &field, u"IDNUMBER", &desc);
  return field;
}

bool SdfShowId() {
  COrvProfDesc desc;
  int show = 1;
  OrvGetProfInt(u"ShowID", &show, 1, &desc);
  return show != 0;
}

bool WriteSdfSettings(const plat::String16& idField, bool showId) {
  COrvProfDesc desc;
  const bool field = OrvSetProfString(u"IDField", idField.c_str(), &desc) == PROF_OK;
  const bool show = OrvSetProfInt(u"ShowID", showId ? 1 : 0, &desc) == PROF_OK;
  return field && show;
}
