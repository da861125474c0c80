#pragma once
// The binary archive of the class library: little-endian integers and floats, length-prefixed
// strings and tagged objects, kept in memory and loaded from or saved to a file as a whole.
//
// Strings: a length of up to 254 is one byte; up to 0xFFFD it is 0xFF then 16 bits; longer it is
// 0xFF, 0xFFFF, then 32 bits. 16-bit text is marked by 0xFF, 0xFFFE before its length, which then
// counts 16-bit characters. An 8-bit read accepts either width (16-bit text comes back as UTF-8).
//
// Objects: a null pointer is the tag 0. The first object of a class is preceded by the new-class
// tag 0xFFFF, the class's 16-bit schema, a 16-bit name length and the 8-bit name; later objects
// of that class by 0x8000 | class index. An object written before is its 16-bit index alone.
// Classes and objects share one index sequence that starts at 1. Indices from 0x7FFF on use the
// big tag 0x7FFF followed by a 32-bit index (with 0x80000000 set for a class).
//
// Every read checks that the bytes are there and throws ArchiveError otherwise, so a short or
// corrupt archive never reads past its end. Writes go to memory and cannot fail; saving to a file
// is atomic and reports failure.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/types.h"

namespace plat {

class ArchiveError : public std::runtime_error {
 public:
  enum class Kind { EndOfFile, BadFormat, BadClass, BadSchema, TooDeep, NotLoading, NotStoring };
  ArchiveError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

class Archive;

// A class whose objects an archive can write by pointer and create again when loading.
class ArchiveObject {
 public:
  virtual ~ArchiveObject() = default;
  virtual const char* archiveClassName() const = 0;
  virtual std::uint16_t archiveSchema() const { return 1; }
  // Writes or reads the object's own fields (ar.isStoring() tells which).
  virtual void serialize(Archive& ar) = 0;
};

// Which classes a loading archive may create, by name.
class ArchiveClassRegistry {
 public:
  using Factory = std::function<std::unique_ptr<ArchiveObject>()>;
  void add(const std::string& name, std::uint16_t schema, Factory factory);
  const Factory* find(const std::string& name, std::uint16_t schema) const;

 private:
  struct Entry {
    std::uint16_t schema;
    Factory factory;
  };
  std::map<std::string, Entry> classes_;
};

class Archive {
 public:
  enum class Mode { Store, Load };

  // An archive that stores into memory.
  Archive();
  // An archive that loads from a copy of the given bytes.
  explicit Archive(std::span<const std::uint8_t> bytes);
  explicit Archive(std::string_view bytes);
  // An archive that loads from bytes the caller keeps, unchanged, for as long as it lives.
  struct Borrow {};
  Archive(Borrow, std::span<const std::uint8_t> bytes);
  // An archive of its own (its own classes and objects) on another's bytes where that one
  // stands: storing, it appends to them; loading, it reads what is left of them, and the other
  // moves past each byte it reads. The other is not used while it lives.
  struct Nested {};
  Archive(Nested, Archive& outer);
  ~Archive();
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  // Reads a whole file for loading; false when it cannot be read (nothing else is changed).
  static bool loadFile(const String8& path, std::unique_ptr<Archive>* archive);
  // Writes what was stored so far to a file, atomically.
  bool saveFile(const String8& path) const;

  bool isStoring() const { return mode_ == Mode::Store; }
  bool isLoading() const { return mode_ == Mode::Load; }

  // Stored bytes (storing; an archive of its own only); the stored bytes taken whole, leaving
  // the archive empty.
  const std::vector<std::uint8_t>& bytes() const { return buffer_; }
  std::vector<std::uint8_t> takeBytes();
  // Loading: all the input.
  std::span<const std::uint8_t> input() const { return {in_, inSize_}; }
  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return inSize_ - pos_; }
  bool atEnd() const { return pos_ == inSize_; }

  void writeU8(std::uint8_t v);
  void writeI8(std::int8_t v) { writeU8(static_cast<std::uint8_t>(v)); }
  void writeU16(std::uint16_t v);
  void writeI16(std::int16_t v) { writeU16(static_cast<std::uint16_t>(v)); }
  void writeU32(std::uint32_t v);
  void writeI32(std::int32_t v) { writeU32(static_cast<std::uint32_t>(v)); }
  void writeU64(std::uint64_t v);
  void writeI64(std::int64_t v) { writeU64(static_cast<std::uint64_t>(v)); }
  void writeF32(float v);
  void writeF64(double v);
  void writeBytes(const void* data, std::size_t size);
  // The same for a block of one's own: a large block with room before it for what was stored so
  // far is taken over, those bytes moved in front of its own, instead of being copied.
  void writeBytes(std::vector<std::uint8_t>&& block);
  void writeString(std::string_view text);       // 8-bit form
  void writeString16(std::u16string_view text);  // 16-bit form (0xFFFE marker)

  std::uint8_t readU8();
  std::int8_t readI8() { return static_cast<std::int8_t>(readU8()); }
  std::uint16_t readU16();
  std::int16_t readI16() { return static_cast<std::int16_t>(readU16()); }
  std::uint32_t readU32();
  std::int32_t readI32() { return static_cast<std::int32_t>(readU32()); }
  std::uint64_t readU64();
  std::int64_t readI64() { return static_cast<std::int64_t>(readU64()); }
  float readF32();
  double readF64();
  void readBytes(void* data, std::size_t size);
  // Moves past size bytes (EndOfFile when they are not there).
  void skip(std::size_t size);
  std::string readString();     // either width; 16-bit text comes back as UTF-8
  std::u16string readString16();  // either width; 8-bit text is decoded as 8-bit text

  // Throws EndOfFile unless count items of itemBytes each are still there. Loaders call it
  // before they size a container from a count read from the archive.
  void requireItems(std::uint64_t count, std::uint64_t itemBytes) const;
  // Refuses a count that is negative or larger than maxCount (BadFormat), or whose items of at
  // least minItemBytes each cannot all be there (EndOfFile).
  std::uint32_t readCount(std::uint64_t maxCount, std::uint64_t minItemBytes);

  // Objects (see above). Writing stores the object's class once and every object once.
  void writeObject(ArchiveObject* object);
  // Creates objects through the registry; an object already read comes back as the same
  // pointer, owned by whoever took it first. Throws BadClass for unknown names, BadSchema for
  // an unexpected schema.
  ArchiveObject* readObject(const ArchiveClassRegistry& registry);
  // Objects created by readObject that the caller has not taken over are deleted with the
  // archive; a caller takes one over with release().
  std::unique_ptr<ArchiveObject> release(ArchiveObject* object);

  // Nesting guard for recursive structures read from an archive.
  class Nesting {
   public:
    Nesting(Archive& ar, int maxDepth);
    ~Nesting();
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Archive& ar_;
  };

  [[noreturn]] static void fail(ArchiveError::Kind kind, const std::string& what);

 private:
  const std::uint8_t* take(std::size_t size);
  void put(const void* data, std::size_t size);
  void requireStoring() const;
  void requireLoading() const;
  std::uint32_t readLength8Or16(bool* wide);
  std::u16string readString16Body(std::uint32_t length);
  void writeLength(std::uint64_t length);
  void writeTag(std::uint32_t index, bool isClass);

  Mode mode_;
  // Storing: the bytes written go to out_ (buffer_, or the outer archive's); loading reads in_.
  std::vector<std::uint8_t> buffer_;
  std::vector<std::uint8_t>* out_ = &buffer_;
  const std::uint8_t* in_ = nullptr;
  std::size_t inSize_ = 0;
  Archive* outer_ = nullptr;  // loading: the archive a nested one stands on
  std::size_t pos_ = 0;
  int depth_ = 0;
  // Storing: index of each class name and object written so far.
  std::map<std::string, std::uint32_t> storedClasses_;
  std::map<const ArchiveObject*, std::uint32_t> storedObjects_;
  // Loading: what each index refers to.
  struct LoadedEntry {
    bool isClass = false;
    std::string className;
    std::uint16_t schema = 0;
    ArchiveObject* object = nullptr;
  };
  std::vector<LoadedEntry> loaded_;
  std::vector<std::unique_ptr<ArchiveObject>> owned_;
  std::uint32_t nextIndex_ = 1;
};

}  // namespace plat
