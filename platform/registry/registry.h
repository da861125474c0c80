#pragma once
// The registry: a persistent tree of keys holding typed values, below four predefined roots.
//
// - Names of keys and values are case-insensitive and case-preserving. Subkeys enumerate in
//   case-folded alphabetical order, values in the order they were created.
// - Each root is one hive file in the registry directory: $KEDRUS_REGISTRY_DIR when set, else
//   ${XDG_CONFIG_HOME:-$HOME/.config}/kedrus/registry, named after the root
//   ("HKEY_CURRENT_USER.hive"). HKEY_CLASSES_ROOT is the subtree
//   HKEY_LOCAL_MACHINE\Software\Classes; while that key does not exist the classes root reads
//   as an empty key, and writing below it creates it.
// - A hive file that cannot be read or is corrupt makes the operations on its keys fail with
//   ReadFault; it is never overwritten.
// - Every change is written through at once, atomically (temporary file and rename) under a file
//   lock, after re-reading the hive if another process changed it; so two processes can share
//   one hive without losing each other's values. Volatile keys live in this process only.
// - Every handle carries the access rights it was opened with, and operations that need a right
//   the handle lacks fail with AccessDenied. The predefined roots carry all rights.
// - Thread-safe: one mutex guards the process's view of the hives.
#include <cstdint>
#include <string>
#include <string_view>

namespace plat::reg {

// Results, named as their published counterparts; the numbers are those of the original
// platform, so diagnostics read the same.
enum class Status : std::int32_t {
  Success = 0,
  FileNotFound = 2,         // key or value does not exist
  AccessDenied = 5,         // the handle lacks the right, or the root cannot be deleted
  InvalidHandle = 6,        // null, closed or unknown handle
  NotEnoughMemory = 8,
  WriteFault = 29,          // the hive file could not be written
  ReadFault = 30,           // the hive file could not be read or is corrupt
  SharingViolation = 32,
  InvalidParameter = 87,    // bad argument (null output, bad name, bad type, bad size)
  MoreData = 234,           // the caller's buffer is too small
  NoMoreItems = 259,        // enumeration index past the last item
  BadKey = 1010,
  KeyDeleted = 1018,        // the handle's key was deleted meanwhile
  KeyHasChildren = 1020,    // a key with subkeys cannot be deleted
  ChildMustBeVolatile = 1021,  // a non-volatile key cannot be created below a volatile one
};

// Value types, with the published numbers (they are stored in hive files).
enum class ValueType : std::uint32_t {
  None = 0,
  String = 1,             // REG_SZ: 16-bit text and its NUL
  ExpandString = 2,       // REG_EXPAND_SZ
  Binary = 3,             // REG_BINARY
  DWord = 4,              // REG_DWORD, also REG_DWORD_LITTLE_ENDIAN
  DWordBigEndian = 5,     // REG_DWORD_BIG_ENDIAN
  Link = 6,               // REG_LINK
  MultiString = 7,        // REG_MULTI_SZ
  ResourceList = 8,       // REG_RESOURCE_LIST
};
constexpr ValueType kDWordLittleEndian = ValueType::DWord;

// Access rights of a handle (published bit values).
enum Access : std::uint32_t {
  kQueryValue = 0x0001,
  kSetValue = 0x0002,
  kCreateSubKey = 0x0004,
  kEnumerateSubKeys = 0x0008,
  kNotify = 0x0010,
  kCreateLink = 0x0020,
  kRead = kQueryValue | kEnumerateSubKeys | kNotify,
  kWrite = kSetValue | kCreateSubKey,
  kAllAccess = 0x003F,
};

// A key handle; 0 is no handle. The four roots are predefined and never need closing.
using Key = std::uintptr_t;
constexpr Key kNoKey = 0;
extern const Key kClassesRoot;
extern const Key kCurrentUser;
extern const Key kLocalMachine;
extern const Key kUsers;

struct KeyInfo {
  std::uint32_t subKeyCount = 0;
  std::uint32_t maxSubKeyNameLength = 0;    // in characters, without NUL
  std::uint32_t valueCount = 0;
  std::uint32_t maxValueNameLength = 0;     // in characters, without NUL
  std::uint32_t maxValueDataLength = 0;     // in bytes
};

// subKey is a backslash-separated path below parent; an empty path opens parent itself again
// (a new handle). Leading, trailing and doubled backslashes are refused (InvalidParameter),
// as is a name longer than 255 characters.
Status openKey(Key parent, std::u16string_view subKey, std::uint32_t access, Key* result);
// Opens the key, creating it and every missing key on the way. A volatile key lives in memory
// only; a non-volatile key cannot be created below a volatile one (ChildMustBeVolatile).
// created (optional) tells whether the key was new. Creating a key needs kCreateSubKey on
// parent (the roots have every right); opening one that exists needs no right on parent.
Status createKey(Key parent, std::u16string_view subKey, bool isVolatile, std::uint32_t access,
                 Key* result, bool* created = nullptr);
Status closeKey(Key key);
// Deletes the key named by subKey below parent (which must not be empty). A key with subkeys
// cannot be deleted (KeyHasChildren); a root never can (AccessDenied). Handles still open on a
// deleted key fail afterwards with KeyDeleted. The rights of parent play no part.
Status deleteKey(Key parent, std::u16string_view subKey);

// Reads a value (empty name: the key's default value). type and size are optional outputs.
// With data null: *size receives the value's size in bytes, Success. With data given, *size is
// the buffer's size on entry: too small gives MoreData and the needed size in *size; else the
// bytes are copied and *size is their number. Needs kQueryValue.
Status queryValue(Key key, std::u16string_view name, ValueType* type, void* data, std::uint32_t* size);
// Writes a value; String, ExpandString, MultiString data is stored as given (the caller includes
// the NUL). Needs kSetValue. A type beyond ResourceList, a size over 64 MiB, null data with a
// nonzero size or a name longer than 16383 characters is refused (InvalidParameter). Setting
// an existing value keeps its place in the enumeration and the spelling of its name.
Status setValue(Key key, std::u16string_view name, ValueType type, const void* data, std::uint32_t size);
// Needs kSetValue.
Status deleteValue(Key key, std::u16string_view name);
// Needs kQueryValue.
Status queryInfo(Key key, KeyInfo* info);
// Name of the index-th subkey in case-folded order. Needs kEnumerateSubKeys.
Status enumKey(Key key, std::uint32_t index, std::u16string* name);
// Name, type (optional) and size (optional) of the index-th value in creation order. Needs
// kQueryValue.
Status enumValue(Key key, std::uint32_t index, std::u16string* name, ValueType* type,
                 std::uint32_t* dataSize = nullptr);

// The folder that holds the hive files, as the rules above give it.
std::string registryDirectory();

}  // namespace plat::reg
