#include "platform/base/module.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/auxv.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/base/path.h"

namespace plat {

// Records are compiled in the host's layout and read back as little-endian.
static_assert(std::endian::native == std::endian::little);

namespace {

String8 readLink(const char* link) {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    const ssize_t n = ::readlink(link, buffer.data(), buffer.size());
    if (n < 0) return {};
    if (std::size_t(n) < buffer.size()) return String8(buffer.data(), std::size_t(n));
    if (buffer.size() >= (std::size_t(1) << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
}

String8 absolutePath(const char* path) {
  char* resolved = ::realpath(path, nullptr);
  if (!resolved) return String8(path);
  String8 out(resolved);
  std::free(resolved);
  return out;
}

// Base address of the executable's image, found through its program headers.
void* executableBase() {
  const auto phdr = reinterpret_cast<const void*>(::getauxval(AT_PHDR));
  Dl_info info{};
  if (!phdr || ::dladdr(phdr, &info) == 0) return nullptr;
  return info.dli_fbase;
}

DWord readLe32(const unsigned char* p) {
  return DWord(p[0]) | DWord(p[1]) << 8 | DWord(p[2]) << 16 | DWord(p[3]) << 24;
}

// Decodes the fixed information that follows a marker; false unless it is a valid record.
bool decodeRecord(const unsigned char* p, FixedFileInfo* info) {
  DWord words[13];
  for (int i = 0; i < 13; ++i) words[i] = readLe32(p + 4 * i);
  if (words[0] != kVersionSignature || words[1] != kVersionStrucVersion) return false;
  FixedFileInfo out;
  std::memcpy(&out, words, sizeof out);
  *info = out;
  return true;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(const String8& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

String8 moduleFileName(const void* address) {
  Dl_info info{};
  if (!address || ::dladdr(address, &info) == 0 || !info.dli_fname) return {};
  if (info.dli_fbase && info.dli_fbase == executableBase()) return readLink("/proc/self/exe");
  if (info.dli_fname[0] == '\0') return readLink("/proc/self/exe");
  return absolutePath(info.dli_fname);
}

String8 moduleDirectory(const void* address) {
  const String8 file = moduleFileName(address);
  return file.empty() ? String8() : String8(pathDirectory(file));
}

bool readFileVersion(const String8& fileName, FixedFileInfo* info) {
  if (!info) return false;
  FileDescriptor file(fileName);
  if (file.get() < 0) return false;

  // Scan the file in chunks; each chunk keeps the tail of the previous one, so a record that
  // straddles two reads is still seen whole.
  constexpr std::size_t kChunk = 1 << 16;
  constexpr std::size_t kRecord = sizeof(VersionRecord);
  std::vector<unsigned char> buffer(kChunk + kRecord);
  std::size_t kept = 0;
  for (;;) {
    const ssize_t n = ::read(file.get(), buffer.data() + kept, kChunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    const std::size_t have = kept + std::size_t(n);
    std::size_t pos = 0;
    while (pos + kRecord <= have) {
      const void* hit = std::memchr(buffer.data() + pos, kVersionMarker[0], have - kRecord + 1 - pos);
      if (!hit) {
        pos = have - kRecord + 1;
        break;
      }
      pos = std::size_t(static_cast<const unsigned char*>(hit) - buffer.data());
      if (std::memcmp(buffer.data() + pos, kVersionMarker, kVersionMarkerSize) == 0 &&
          decodeRecord(buffer.data() + pos + kVersionMarkerSize, info))
        return true;
      ++pos;
    }
    // Keep the bytes that could still begin a record.
    kept = have - pos;
    std::memmove(buffer.data(), buffer.data() + pos, kept);
  }
}

}  // namespace plat
