#include "platform/base/mappedfile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace plat {

MappedFile::MappedFile(const String8& path, std::uint64_t maxBytes) {
  int fd = -1;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return;
  struct stat st {};
  // Folders and devices have no bytes to map; an empty file cannot be mapped.
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
  const std::uint64_t length = regular ? std::min(static_cast<std::uint64_t>(st.st_size), maxBytes) : 0;
  if (length > 0 && length <= SIZE_MAX) {
    void* p = ::mmap(nullptr, static_cast<std::size_t>(length), PROT_READ, MAP_PRIVATE, fd, 0);
    if (p != MAP_FAILED) {
      data_ = static_cast<const Byte*>(p);
      size_ = length;
    }
  }
  // The mapping outlives the descriptor.
  ::close(fd);
}

MappedFile::~MappedFile() { release(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void MappedFile::releasePages(std::uint64_t offset, std::uint64_t length) {
  if (!data_ || offset >= size_) return;
  const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
  const std::uint64_t end = std::min(size_, offset + std::min(length, size_ - offset));
  const std::uint64_t from = (offset + page - 1) / page * page, to = end == size_ ? end : end / page * page;
  if (from >= to) return;
  ::madvise(const_cast<Byte*>(data_) + from, static_cast<std::size_t>(to - from), MADV_DONTNEED);
}

void MappedFile::release() {
  if (data_) ::munmap(const_cast<Byte*>(data_), static_cast<std::size_t>(size_));
  data_ = nullptr;
  size_ = 0;
}

}  // namespace plat
