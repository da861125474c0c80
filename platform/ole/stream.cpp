#include "platform/ole/stream.h"

#include "platform/base/numtext.h"
#include "platform/gdi/metafile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace plat::ole {

std::int32_t pixelsToHimetric(std::int32_t pixels, int dpi) { return mulDiv(pixels, kHimetricPerInch, dpi); }
std::int32_t himetricToPixels(std::int32_t himetric, int dpi) { return mulDiv(himetric, dpi, kHimetricPerInch); }
SizeL pixelsToHimetric(gdi::Size pixels, int dpi) { return {pixelsToHimetric(pixels.cx, dpi), pixelsToHimetric(pixels.cy, dpi)}; }
gdi::Size himetricToPixels(SizeL himetric, int dpi) {
  return {himetricToPixels(himetric.cx, dpi), himetricToPixels(himetric.cy, dpi)};
}

void* taskMemAlloc(std::size_t bytes) { return std::malloc(bytes ? bytes : 1); }
void taskMemFree(void* block) { std::free(block); }

GlobalMemory* globalAlloc(std::size_t size) { return new (std::nothrow) GlobalMemory(std::vector<std::uint8_t>(size)); }
GlobalMemory* globalCopy(std::span<const std::uint8_t> bytes) {
  return new (std::nothrow) GlobalMemory(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}
void globalFree(GlobalMemory* block) { delete block; }

void releaseStgMedium(StgMedium* medium) {
  if (!medium) return;
  if (medium->pUnkForRelease) {
    medium->pUnkForRelease->Release();
  } else {
    switch (medium->tymed) {
      case TYMED_HGLOBAL: case TYMED_MFPICT: globalFree(medium->hGlobal); break;
      case TYMED_ENHMF: delete medium->hEnhMetaFile; break;
      case TYMED_ISTREAM:
        if (medium->pstm) medium->pstm->Release();
        break;
      default: break;
    }
  }
  medium->tymed = TYMED_NULL;
  medium->hGlobal = nullptr;
  medium->pUnkForRelease = nullptr;
}

namespace {

// A stream over a global block; clones share the block (and own it together when it is owned).
class GlobalStream final : public ComObject {
 public:
  GlobalStream(std::shared_ptr<GlobalMemory> block) : block_(std::move(block)) {}
  GlobalMemory* block() const { return block_.get(); }
  static GlobalMemory* blockOf(IStream* stream) {
    auto* own = dynamic_cast<XStream*>(stream);
    return own ? own->self().block() : nullptr;
  }

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XStream : Nested<IStream> {
    using Nested::Nested;
    GlobalStream& self() { return outer<GlobalStream>(); }
    HResult Read(void* data, std::uint32_t size, std::uint32_t* read) override {
      GlobalStream& s = self();
      std::vector<std::uint8_t>& bytes = s.block_->bytes();
      const std::uint64_t available = s.pos_ < bytes.size() ? bytes.size() - s.pos_ : 0;
      const std::uint32_t n = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, available));
      if (n && !data) return E_POINTER;
      if (n) std::memcpy(data, bytes.data() + s.pos_, n);
      s.pos_ += n;
      if (read) *read = n;
      return n == size ? S_OK : S_FALSE;
    }
    HResult Write(const void* data, std::uint32_t size, std::uint32_t* written) override {
      GlobalStream& s = self();
      if (size && !data) return E_POINTER;
      std::vector<std::uint8_t>& bytes = s.block_->bytes();
      const std::uint64_t end = s.pos_ + size;
      if (end > std::numeric_limits<std::size_t>::max() / 2) return STG_E_MEDIUMFULL;
      try {
        if (end > bytes.size()) bytes.resize(static_cast<std::size_t>(end));
      } catch (const std::bad_alloc&) {
        return STG_E_MEDIUMFULL;
      }
      if (size) std::memcpy(bytes.data() + s.pos_, data, size);
      s.pos_ = end;
      if (written) *written = size;
      return S_OK;
    }
    HResult Seek(std::int64_t move, DWord origin, std::uint64_t* position) override {
      GlobalStream& s = self();
      std::int64_t base = 0;
      if (origin == STREAM_SEEK_CUR) base = static_cast<std::int64_t>(s.pos_);
      else if (origin == STREAM_SEEK_END) base = static_cast<std::int64_t>(s.block_->size());
      else if (origin != STREAM_SEEK_SET) return STG_E_INVALIDFUNCTION;
      if ((move < 0 && base + move < 0) || (move > 0 && base > std::numeric_limits<std::int64_t>::max() - move))
        return STG_E_INVALIDFUNCTION;
      s.pos_ = static_cast<std::uint64_t>(base + move);
      if (position) *position = s.pos_;
      return S_OK;
    }
    HResult SetSize(std::uint64_t size) override {
      try {
        self().block_->bytes().resize(static_cast<std::size_t>(size));
      } catch (const std::exception&) {
        return STG_E_MEDIUMFULL;
      }
      return S_OK;
    }
    HResult CopyTo(IStream* to, std::uint64_t size, std::uint64_t* read, std::uint64_t* written) override {
      if (!to) return E_POINTER;
      GlobalStream& s = self();
      const std::vector<std::uint8_t>& bytes = s.block_->bytes();
      const std::uint64_t available = s.pos_ < bytes.size() ? bytes.size() - s.pos_ : 0;
      const std::uint64_t n = std::min(size, available);
      std::uint64_t done = 0;
      while (done < n) {
        const std::uint32_t chunk = static_cast<std::uint32_t>(std::min<std::uint64_t>(n - done, 1u << 30));
        std::uint32_t w = 0;
        const HResult hr = to->Write(bytes.data() + s.pos_ + done, chunk, &w);
        done += w;
        if (failed(hr)) break;
      }
      s.pos_ += n;
      if (read) *read = n;
      if (written) *written = done;
      return done == n ? S_OK : STG_E_MEDIUMFULL;
    }
    HResult Commit(DWord) override { return S_OK; }
    HResult Revert() override { return S_OK; }
    HResult LockRegion(std::uint64_t, std::uint64_t, DWord) override { return STG_E_INVALIDFUNCTION; }
    HResult UnlockRegion(std::uint64_t, std::uint64_t, DWord) override { return STG_E_INVALIDFUNCTION; }
    HResult Stat(StatStg* stat, DWord) override {
      if (!stat) return E_POINTER;
      stat->cbSize = self().block_->size();
      stat->type = 2;
      return S_OK;
    }
    HResult Clone(IStream** copy) override {
      if (!copy) return E_POINTER;
      auto* c = new (std::nothrow) GlobalStream(self().block_);
      if (!c) return E_OUTOFMEMORY;
      c->pos_ = self().pos_;
      const HResult hr = c->QueryInterface(IID_IStream, reinterpret_cast<void**>(copy));
      c->Release();
      return hr;
    }
  } xStream_{*this};

  std::shared_ptr<GlobalMemory> block_;
  std::uint64_t pos_ = 0;
  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};

const ComObject::InterfaceEntry GlobalStream::kEntries[] = {
    interfaceEntry<IStream, &GlobalStream::xStream_>(IID_IStream),
    interfaceEntry<ISequentialStream, &GlobalStream::xStream_>(IID_ISequentialStream)};
const ComObject::InterfaceMap GlobalStream::kMap{&ComObject::kInterfaceMap, kEntries};

}  // namespace

HResult createStreamOnGlobal(GlobalMemory* block, bool deleteOnRelease, IStream** stream) {
  if (!stream) return E_POINTER;
  *stream = nullptr;
  std::shared_ptr<GlobalMemory> shared;
  if (!block) shared = std::make_shared<GlobalMemory>();
  else if (deleteOnRelease) shared.reset(block);
  else shared = std::shared_ptr<GlobalMemory>(block, [](GlobalMemory*) {});
  auto* s = new (std::nothrow) GlobalStream(std::move(shared));
  if (!s) return E_OUTOFMEMORY;
  const HResult hr = s->QueryInterface(IID_IStream, reinterpret_cast<void**>(stream));
  s->Release();
  return hr;
}

GlobalMemory* globalFromStream(IStream* stream) { return GlobalStream::blockOf(stream); }

bool viewRest(IStream* stream, std::span<const std::uint8_t>* rest) {
  GlobalMemory* block = globalFromStream(stream);
  std::uint64_t position = 0;
  if (!block || !rest || failed(stream->Seek(0, STREAM_SEEK_CUR, &position))) return false;
  const std::vector<std::uint8_t>& bytes = block->bytes();
  *rest = std::span<const std::uint8_t>(bytes).subspan(std::min<std::size_t>(bytes.size(), position));
  return stream->Seek(0, STREAM_SEEK_END, nullptr) == S_OK;
}

bool readRest(IStream* stream, std::vector<std::uint8_t>* bytes) {
  if (!stream || !bytes) return false;
  std::span<const std::uint8_t> rest;
  if (viewRest(stream, &rest)) {
    bytes->assign(rest.begin(), rest.end());
    return true;
  }
  bytes->clear();
  std::uint8_t buffer[65536];
  for (;;) {
    std::uint32_t n = 0;
    const HResult hr = stream->Read(buffer, sizeof buffer, &n);
    if (failed(hr)) return false;
    bytes->insert(bytes->end(), buffer, buffer + n);
    if (n < sizeof buffer) return true;
  }
}

bool writeAll(IStream* stream, std::span<const std::uint8_t> bytes) {
  if (!stream) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::uint32_t chunk = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    std::uint32_t written = 0;
    if (failed(stream->Write(bytes.data() + done, chunk, &written)) || written == 0) return false;
    done += written;
  }
  return true;
}

bool writeAll(IStream* stream, std::vector<std::uint8_t>&& bytes) {
  GlobalMemory* block = globalFromStream(stream);
  std::uint64_t position = 1;
  if (block && block->size() == 0 && stream->Seek(0, STREAM_SEEK_CUR, &position) == S_OK && position == 0) {
    block->bytes() = std::move(bytes);
    return stream->Seek(0, STREAM_SEEK_END, nullptr) == S_OK;
  }
  return writeAll(stream, std::span<const std::uint8_t>(bytes));
}

}  // namespace plat::ole
