// The binary archive: little-endian values, length-prefixed strings and tagged objects.
#include "platform/archive/archive.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/base/file.h"
#include "platform/base/text.h"

namespace plat {

namespace {

constexpr std::uint16_t kNullTag = 0;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint32_t kBigClassTag = 0x80000000u;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kMaxIndex = 0x3FFFFFFEu;
// A class name longer than this is no class name.
constexpr std::uint16_t kMaxClassName = 255;

}  // namespace

// ---- Class registry --------------------------------------------------------------------------

void ArchiveClassRegistry::add(const std::string& name, std::uint16_t schema, Factory factory) {
  classes_[name] = Entry{schema, std::move(factory)};
}

const ArchiveClassRegistry::Factory* ArchiveClassRegistry::find(const std::string& name, std::uint16_t schema) const {
  const auto it = classes_.find(name);
  if (it == classes_.end()) Archive::fail(ArchiveError::Kind::BadClass, "unknown class " + name);
  if (it->second.schema != schema) Archive::fail(ArchiveError::Kind::BadSchema, "unexpected schema of " + name);
  return &it->second.factory;
}

// ---- Archive ---------------------------------------------------------------------------------

Archive::Archive() : mode_(Mode::Store) {}

Archive::Archive(std::span<const std::uint8_t> bytes)
    : mode_(Mode::Load), buffer_(bytes.begin(), bytes.end()), in_(buffer_.data()), inSize_(buffer_.size()) {}

Archive::Archive(std::string_view bytes)
    : Archive(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) {}

Archive::Archive(Borrow, std::span<const std::uint8_t> bytes)
    : mode_(Mode::Load), in_(bytes.data()), inSize_(bytes.size()) {}

Archive::Archive(Nested, Archive& outer) : mode_(outer.mode_) {
  if (outer.isStoring()) {
    out_ = outer.out_;
  } else {
    in_ = outer.in_ + outer.pos_;
    inSize_ = outer.remaining();
    outer_ = &outer;
  }
}

Archive::~Archive() = default;

std::vector<std::uint8_t> Archive::takeBytes() {
  std::vector<std::uint8_t> taken = std::move(buffer_);
  buffer_.clear();
  return taken;
}

bool Archive::loadFile(const String8& path, std::unique_ptr<Archive>* archive) {
  String8 bytes;
  if (readFile(path, &bytes) != FileStatus::Ok) return false;
  *archive = std::make_unique<Archive>(std::string_view(bytes));
  return true;
}

bool Archive::saveFile(const String8& path) const {
  if (!isStoring()) return false;
  return writeFileAtomic(path, std::string_view(reinterpret_cast<const char*>(buffer_.data()), buffer_.size()));
}

void Archive::fail(ArchiveError::Kind kind, const std::string& what) { throw ArchiveError(kind, what); }

void Archive::requireStoring() const {
  if (!isStoring()) fail(ArchiveError::Kind::NotStoring, "archive is not storing");
}

void Archive::requireLoading() const {
  if (!isLoading()) fail(ArchiveError::Kind::NotLoading, "archive is not loading");
}

void Archive::put(const void* data, std::size_t size) {
  requireStoring();
  std::vector<std::uint8_t>& out = *out_;
  const std::size_t at = out.size();
  // Room grows by half at a time for values; a large block (a spectrum's points, an item's state)
  // gets a megabyte or a thirty-second of its size more, for what usually follows it (the rest
  // of a control's state, an item's picture), so that it is not moved again for that.
  if (out.capacity() - at < size) {
    constexpr std::size_t kLargeBlock = std::size_t(1) << 20;
    out.reserve(size >= kLargeBlock ? at + size + std::max(kLargeBlock, size / 32)
                                    : std::max(at + size, at + at / 2 + 4096));
  }
  const auto* p = static_cast<const std::uint8_t*>(data);
  out.insert(out.end(), p, p + size);
}

const std::uint8_t* Archive::take(std::size_t size) {
  requireLoading();
  if (size > remaining()) fail(ArchiveError::Kind::EndOfFile, "archive ends early");
  const std::uint8_t* p = in_ + pos_;
  pos_ += size;
  // What a nested archive reads, the archives it stands on have read too.
  for (Archive* outer = outer_; outer; outer = outer->outer_) outer->pos_ += size;
  return p;
}

void Archive::skip(std::size_t size) { take(size); }

void Archive::writeU8(std::uint8_t v) { put(&v, 1); }

void Archive::writeU16(std::uint16_t v) {
  const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  put(b, 2);
}

void Archive::writeU32(std::uint32_t v) {
  std::uint8_t b[4];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(v >> (8 * i));
  put(b, 4);
}

void Archive::writeU64(std::uint64_t v) {
  std::uint8_t b[8];
  for (int i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(v >> (8 * i));
  put(b, 8);
}

void Archive::writeF32(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, 4);
  writeU32(bits);
}

void Archive::writeF64(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, 8);
  writeU64(bits);
}

void Archive::writeBytes(const void* data, std::size_t size) {
  if (size) put(data, size);
  else requireStoring();
}

void Archive::writeBytes(std::vector<std::uint8_t>&& block) {
  requireStoring();
  std::vector<std::uint8_t>& out = *out_;
  constexpr std::size_t kLargeBlock = std::size_t(1) << 20;
  if (block.size() >= kLargeBlock && block.capacity() - block.size() >= out.size()) {
    block.insert(block.begin(), out.begin(), out.end());
    out = std::move(block);
    return;
  }
  writeBytes(block.data(), block.size());
}

std::uint8_t Archive::readU8() { return *take(1); }

std::uint16_t Archive::readU16() {
  const std::uint8_t* b = take(2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t Archive::readU32() {
  const std::uint8_t* b = take(4);
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | b[i];
  return v;
}

std::uint64_t Archive::readU64() {
  const std::uint8_t* b = take(8);
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
  return v;
}

float Archive::readF32() {
  const std::uint32_t bits = readU32();
  float v;
  std::memcpy(&v, &bits, 4);
  return v;
}

double Archive::readF64() {
  const std::uint64_t bits = readU64();
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

void Archive::readBytes(void* data, std::size_t size) {
  const std::uint8_t* p = take(size);
  if (size) std::memcpy(data, p, size);
}

void Archive::requireItems(std::uint64_t count, std::uint64_t itemBytes) const {
  if (itemBytes != 0 && count > remaining() / itemBytes) fail(ArchiveError::Kind::EndOfFile, "archive ends early");
}

std::uint32_t Archive::readCount(std::uint64_t maxCount, std::uint64_t minItemBytes) {
  const std::int32_t count = readI32();
  if (count < 0 || static_cast<std::uint64_t>(count) > maxCount)
    fail(ArchiveError::Kind::BadFormat, "count out of range");
  requireItems(static_cast<std::uint64_t>(count), minItemBytes);
  return static_cast<std::uint32_t>(count);
}

// ---- Strings ---------------------------------------------------------------------------------

void Archive::writeLength(std::uint64_t length) {
  if (length < 0xFF) {
    writeU8(static_cast<std::uint8_t>(length));
    return;
  }
  writeU8(0xFF);
  if (length < 0xFFFE) {
    writeU16(static_cast<std::uint16_t>(length));
    return;
  }
  writeU16(0xFFFF);
  if (length > 0xFFFFFFFEu) fail(ArchiveError::Kind::BadFormat, "string too long for an archive");
  writeU32(static_cast<std::uint32_t>(length));
}

void Archive::writeString(std::string_view text) {
  writeLength(text.size());
  writeBytes(text.data(), text.size());
}

void Archive::writeString16(std::u16string_view text) {
  writeU8(0xFF);
  writeU16(0xFFFE);
  writeLength(text.size());
  for (char16_t c : text) writeU16(static_cast<std::uint16_t>(c));
}

// Reads a length prefix; *wide tells whether a 16-bit marker came first.
std::uint32_t Archive::readLength8Or16(bool* wide) {
  *wide = false;
  std::uint8_t b = readU8();
  if (b < 0xFF) return b;
  std::uint16_t w = readU16();
  if (w == 0xFFFE) {
    *wide = true;
    b = readU8();
    if (b < 0xFF) return b;
    w = readU16();
  }
  if (w < 0xFFFF) {
    if (w == 0xFFFE) fail(ArchiveError::Kind::BadFormat, "bad string length");
    return w;
  }
  const std::uint32_t d = readU32();
  // The 64-bit length form is not ours to read: no such string fits what a load may hold.
  if (d == 0xFFFFFFFFu) fail(ArchiveError::Kind::BadFormat, "string too long");
  return d;
}

std::string Archive::readString() {
  bool wide = false;
  const std::uint32_t length = readLength8Or16(&wide);
  if (!wide) {
    requireItems(length, 1);
    const std::uint8_t* p = take(length);
    return std::string(reinterpret_cast<const char*>(p), length);
  }
  return toUtf8(readString16Body(length));
}

std::u16string Archive::readString16() {
  bool wide = false;
  const std::uint32_t length = readLength8Or16(&wide);
  if (wide) return readString16Body(length);
  requireItems(length, 1);
  const std::uint8_t* p = take(length);
  return toUtf16(std::string_view(reinterpret_cast<const char*>(p), length));
}

std::u16string Archive::readString16Body(std::uint32_t length) {
  requireItems(length, 2);
  const std::uint8_t* p = take(std::size_t(length) * 2);
  std::u16string text(length, u'\0');
  for (std::uint32_t i = 0; i < length; ++i) text[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
  return text;
}

// ---- Objects ---------------------------------------------------------------------------------

void Archive::writeTag(std::uint32_t index, bool isClass) {
  if (index < kBigObjectTag) {
    writeU16(static_cast<std::uint16_t>(isClass ? (kClassTag | index) : index));
  } else {
    writeU16(kBigObjectTag);
    writeU32(isClass ? (kBigClassTag | index) : index);
  }
}

void Archive::writeObject(ArchiveObject* object) {
  requireStoring();
  if (!object) {
    writeU16(kNullTag);
    return;
  }
  const auto seen = storedObjects_.find(object);
  if (seen != storedObjects_.end()) {
    writeTag(seen->second, false);
    return;
  }
  if (nextIndex_ >= kMaxIndex) fail(ArchiveError::Kind::BadFormat, "too many objects");
  const std::string name = object->archiveClassName();
  const auto cls = storedClasses_.find(name);
  if (cls != storedClasses_.end()) {
    writeTag(cls->second, true);
  } else {
    if (name.size() > kMaxClassName) fail(ArchiveError::Kind::BadClass, "class name too long");
    writeU16(kNewClassTag);
    writeU16(object->archiveSchema());
    writeU16(static_cast<std::uint16_t>(name.size()));
    writeBytes(name.data(), name.size());
    storedClasses_[name] = nextIndex_++;
  }
  storedObjects_[object] = nextIndex_++;
  object->serialize(*this);
}

ArchiveObject* Archive::readObject(const ArchiveClassRegistry& registry) {
  requireLoading();
  Nesting guard(*this, 64);
  std::uint32_t tag = readU16();
  bool isClass = false;
  if (tag == kBigObjectTag) {
    tag = readU32();
    isClass = (tag & kBigClassTag) != 0;
    tag &= ~kBigClassTag;
  } else if (tag != kNewClassTag) {
    isClass = (tag & kClassTag) != 0;
    tag &= ~std::uint32_t(kClassTag);
  }
  if (tag == kNullTag && !isClass) return nullptr;

  const LoadedEntry* cls = nullptr;
  LoadedEntry newClass;
  if (tag == kNewClassTag) {
    newClass.isClass = true;
    newClass.schema = readU16();
    const std::uint16_t length = readU16();
    if (length == 0 || length > kMaxClassName) fail(ArchiveError::Kind::BadClass, "bad class name");
    newClass.className.resize(length);
    readBytes(newClass.className.data(), length);
    registry.find(newClass.className, newClass.schema);  // refuses unknown classes
    loaded_.push_back(newClass);
    ++nextIndex_;
    cls = &loaded_.back();
  } else {
    if (tag == 0 || tag >= nextIndex_) fail(ArchiveError::Kind::BadFormat, "reference to nothing read yet");
    const LoadedEntry& entry = loaded_[tag - 1];
    if (!isClass) {
      if (entry.isClass) fail(ArchiveError::Kind::BadFormat, "object tag names a class");
      return entry.object;
    }
    if (!entry.isClass) fail(ArchiveError::Kind::BadFormat, "class tag names an object");
    cls = &entry;
  }
  const ArchiveClassRegistry::Factory* factory = registry.find(cls->className, cls->schema);
  std::unique_ptr<ArchiveObject> object = (*factory)();
  if (!object) fail(ArchiveError::Kind::BadClass, "class cannot be created");
  ArchiveObject* raw = object.get();
  // The object is known by its index before its fields are read, so fields may refer back to it.
  LoadedEntry entry;
  entry.object = raw;
  loaded_.push_back(entry);
  ++nextIndex_;
  owned_.push_back(std::move(object));
  raw->serialize(*this);
  return raw;
}

std::unique_ptr<ArchiveObject> Archive::release(ArchiveObject* object) {
  for (auto& owned : owned_) {
    if (owned.get() == object) return std::move(owned);
  }
  return nullptr;
}

Archive::Nesting::Nesting(Archive& ar, int maxDepth) : ar_(ar) {
  if (ar_.depth_ >= maxDepth) fail(ArchiveError::Kind::TooDeep, "archive nests too deeply");
  ++ar_.depth_;
}

Archive::Nesting::~Nesting() { --ar_.depth_; }

}  // namespace plat
