#pragma once
// A read-only view of a whole regular file, mapped into memory (64-bit size). A path that is no
// regular file, cannot be opened or holds no bytes gives an empty view; the view stays valid for
// the object's life and never sees later changes of the file's length.
#include <cstdint>
#include <string_view>

#include "platform/base/types.h"

namespace plat {

class MappedFile {
 public:
  MappedFile() = default;
  // The whole file, or only its first maxBytes bytes when it is longer.
  explicit MappedFile(const String8& path, std::uint64_t maxBytes = UINT64_MAX);
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  bool mapped() const { return data_ != nullptr; }
  const Byte* data() const { return data_; }
  std::uint64_t size() const { return size_; }
  std::string_view bytes() const { return {reinterpret_cast<const char*>(data_), static_cast<std::size_t>(size_)}; }
  // Gives back the memory that holds the whole pages of [offset, offset + length): a reader that
  // has done with them says so; the view stays, and they are read again from the file when
  // touched.
  void releasePages(std::uint64_t offset, std::uint64_t length);

 private:
  void release();

  const Byte* data_ = nullptr;
  std::uint64_t size_ = 0;
};

}  // namespace plat
