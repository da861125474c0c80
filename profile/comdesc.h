#pragma once
// The abstract store behind the exports, and the library's process-wide state.
// Internal to the profile library.
#include <cstdint>
#include <vector>

#include "platform/base/types.h"
#include "profile/profile.h"

namespace dorlin {

using Bytes = std::vector<std::uint8_t>;

// What a store is told to open, create or delete.
struct CProfLocation {
  // Registry: the full key path (root key name, "\", key path). INI: the section path.
  plat::String16 path;
  // INI: the file name. Registry: empty.
  plat::String16 root;
};

// A store of sections and values. Every operation returns true on success and on failure leaves
// its code in the library's last error code (setLastError); names compare without regard to case.
class COrvComDesc {
 public:
  virtual ~COrvComDesc() = default;
  virtual bool Open(const CProfLocation& location, int mode) = 0;
  // options bit 0x1 asks for a volatile registry key.
  virtual bool Create(const CProfLocation& location, int mode, int options) = 0;
  virtual bool Close() = 0;
  // Deletes the section named by location (not the open one).
  virtual bool DeleteSection(const CProfLocation& location) = 0;
  virtual bool GetValueType(const plat::String16& name, int* type) = 0;
  virtual bool GetInt(const plat::String16& name, int* value) = 0;
  virtual bool GetDWord(const plat::String16& name, std::uint32_t* value) = 0;
  virtual bool GetString(const plat::String16& name, plat::String16* text) = 0;
  virtual bool GetBinary(const plat::String16& name, Bytes* bytes) = 0;
  virtual bool GetValue(const plat::String16& name, Bytes* bytes, int* type) = 0;
  virtual bool SetInt(const plat::String16& name, const int* value) = 0;
  virtual bool SetDWord(const plat::String16& name, const std::uint32_t* value) = 0;
  virtual bool SetString(const plat::String16& name, const plat::String16* text) = 0;
  virtual bool SetBinary(const plat::String16& name, const Bytes* bytes) = 0;
  virtual bool SetValue(const plat::String16& name, const Bytes* bytes, int type) = 0;
  virtual bool DeleteValue(const plat::String16& name) = 0;
  // Number of direct subsections.
  virtual bool GetSectionCount(int* count) = 0;
  virtual bool GetValueCount(int* count) = 0;
  // Name of the index-th direct subsection, without its parent's path.
  virtual bool EnumSection(int index, plat::String16* name) = 0;
  virtual bool EnumValue(int index, plat::String16* name, int* type) = 0;
};

// The last error code: 11 at load; every failing store operation stores its code; a success
// never clears it. A failure that has no code of its own stores PROF_ERROR.
int lastError();
void setLastError(int code);

}  // namespace dorlin

namespace dorlin {

// Store factories: the registry store and the INI store. Return nullptr when out of memory.
COrvComDesc* newRegistryStore();
COrvComDesc* newIniStore();

// The INI switches behind OrvSetIniCacheMode and OrvSetIniTypeControl.
int setIniCacheMode(int mode);
int setIniTypeControl(int on);

}  // namespace dorlin
