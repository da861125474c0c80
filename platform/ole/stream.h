#pragma once
// Global memory blocks and streams over them: what a control's persistent state, a data
// object's formats and the clipboard carry.
//
// GlobalMemory is a growable block of bytes (the platform's movable, shareable global memory);
// a stream made on it reads and writes it at a seek position and grows it on writes past the
// end. A block handed to a stream with deleteOnRelease belongs to the stream from then on.
// Reads past the end give what is there (a short count, S_FALSE when fewer bytes than asked
// were read), never more; seeks before the start fail with STG_E_INVALIDFUNCTION.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/ole/interfaces.h"

namespace plat::ole {

class GlobalMemory {
 public:
  GlobalMemory() = default;
  explicit GlobalMemory(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::vector<std::uint8_t>& bytes() { return bytes_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::vector<std::uint8_t> bytes_;
};

// The published calls over blocks (GlobalAlloc with GMEM_MOVEABLE | GMEM_SHARE and friends).
GlobalMemory* globalAlloc(std::size_t size);
GlobalMemory* globalCopy(std::span<const std::uint8_t> bytes);
void globalFree(GlobalMemory* block);

constexpr DWord STREAM_SEEK_SET = 0, STREAM_SEEK_CUR = 1, STREAM_SEEK_END = 2;

struct StatStg {
  std::uint64_t cbSize = 0;
  DWord type = 2;  // STGTY_STREAM
};

class ISequentialStream : public IUnknown {
 public:
  virtual HResult Read(void* data, std::uint32_t size, std::uint32_t* read) = 0;
  virtual HResult Write(const void* data, std::uint32_t size, std::uint32_t* written) = 0;

 protected:
  ~ISequentialStream() = default;
};

class IStream : public ISequentialStream {
 public:
  virtual HResult Seek(std::int64_t move, DWord origin, std::uint64_t* position) = 0;
  virtual HResult SetSize(std::uint64_t size) = 0;
  virtual HResult CopyTo(IStream* to, std::uint64_t size, std::uint64_t* read, std::uint64_t* written) = 0;
  virtual HResult Commit(DWord flags) = 0;
  virtual HResult Revert() = 0;
  virtual HResult LockRegion(std::uint64_t offset, std::uint64_t size, DWord type) = 0;
  virtual HResult UnlockRegion(std::uint64_t offset, std::uint64_t size, DWord type) = 0;
  virtual HResult Stat(StatStg* stat, DWord flags) = 0;
  virtual HResult Clone(IStream** copy) = 0;

 protected:
  ~IStream() = default;
};

// A stream on block (null: a new empty one), at position 0, with one reference for the caller.
HResult createStreamOnGlobal(GlobalMemory* block, bool deleteOnRelease, IStream** stream);
// The block under a stream made by createStreamOnGlobal (null for any other stream).
GlobalMemory* globalFromStream(IStream* stream);

// Whole-stream helpers: every byte from the current position to the end, and all of bytes.
bool readRest(IStream* stream, std::vector<std::uint8_t>* bytes);
bool writeAll(IStream* stream, std::span<const std::uint8_t> bytes);
// The same without a copy where the stream is one over a global block: the block's bytes from
// the position on, in place (valid while the stream lives and is not written), the position
// moved to the end; false for any other stream. Writing hands bytes over whole to an empty
// block at position 0, and copies them otherwise.
bool viewRest(IStream* stream, std::span<const std::uint8_t>* rest);
bool writeAll(IStream* stream, std::vector<std::uint8_t>&& bytes);

}  // namespace plat::ole
