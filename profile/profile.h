#pragma once
// The profile store's exported functions: every module reads and writes its settings through
// them. A section lives in a registry tree or in an INI text file; the caller names it with a
// COrvProfDesc of its own and hands it to every call. Strings are 16-bit.
//
// Every function but the two INI switches returns a ProfError code; 0 is success. On any error
// a getter stores the default given at the call in its result.
#include <cstdint>

#include "platform/base/types.h"

#define DORLIN_API extern "C" __attribute__((visibility("default")))

class COrvProfDesc;

enum ProfError : int {
  PROF_OK = 0,
  PROF_NOT_FOUND = 1,           // key or value not found (registry)
  PROF_NO_SECTION = 2,          // section not found; every failure of OrvOpenProfSection
  PROF_NO_VALUE = 3,            // value not found in an INI section
  PROF_WRONG_TYPE = 5,          // the stored value has another type than the one asked for
  PROF_SHARING_VIOLATION = 6,
  PROF_WRITE_FAULT = 7,
  PROF_READ_FAULT = 8,
  PROF_NO_MEMORY = 9,
  PROF_INVALID_PARAMETER = 10,
  PROF_ERROR = 11,              // any other error
  PROF_NOT_SUPPORTED = 12,      // the store does not support the operation
  PROF_NOT_OPEN = 13,           // closing a descriptor that has no open section
  PROF_MORE_DATA = 14,          // the caller's buffer is too small
  PROF_HAS_SUBSECTIONS = 15,
  PROF_NO_MORE_ITEMS = 16,      // enumeration index past the last item
  PROF_ACCESS_DENIED = 17,      // the open mode does not allow the operation
};

enum ProfType : int {
  PROF_TYPE_NONE = 0,
  PROF_TYPE_DWORD = 1,
  PROF_TYPE_STRING = 2,
  PROF_TYPE_MULTI_STRING = 3,
  PROF_TYPE_BINARY = 4,
  PROF_TYPE_EXPAND_STRING = 5,
  PROF_TYPE_DWORD_LE = 6,
  PROF_TYPE_DWORD_BE = 7,
  PROF_TYPE_LINK = 8,
  PROF_TYPE_RESOURCE_LIST = 9,
};

// Open-mode flags, kept by a store for its whole life.
enum ProfAccess : int {
  PROF_ACCESS_READ = 0x01,         // read, count and enumerate values
  PROF_ACCESS_WRITE = 0x02,        // write and delete values
  PROF_ACCESS_ENUM = 0x04,         // count and enumerate subsections
  PROF_ACCESS_NOTIFY = 0x08,
  PROF_ACCESS_CREATE_SUB = 0x10,   // create subsections; with auto-create, writes create the section
  PROF_ACCESS_CREATE_LINK = 0x20,
  PROF_MODE_OPEN = 13,             // read, enumerate, notify: open without creating
  PROF_MODE_ALL = 63,
};

DORLIN_API int OrvCloseProfSection(COrvProfDesc* desc);
DORLIN_API int OrvCreateProfSection(COrvProfDesc* desc, int mode, int options);
DORLIN_API int OrvDeleteProfSection(COrvProfDesc* desc);
DORLIN_API int OrvDeleteProfValue(const char16_t* name, COrvProfDesc* desc);
DORLIN_API int OrvEnumProfSection(int index, char16_t* buffer, unsigned cch, COrvProfDesc* desc);
DORLIN_API int OrvEnumProfValue(int index, char16_t* buffer, unsigned cch, int* type, COrvProfDesc* desc);
DORLIN_API int OrvGetProfBinary(const char16_t* name, void* buffer, unsigned* length, COrvProfDesc* desc);
DORLIN_API int OrvGetProfCString(const char16_t* name, plat::String16* out, const char16_t* defaultText,
                                 COrvProfDesc* desc);
DORLIN_API int OrvGetProfDWord(const char16_t* name, std::uint32_t* out, std::uint32_t defaultValue,
                               COrvProfDesc* desc);
DORLIN_API int OrvGetProfInt(const char16_t* name, int* out, int defaultValue, COrvProfDesc* desc);
DORLIN_API int OrvGetProfSections(int* count, COrvProfDesc* desc);
DORLIN_API int OrvGetProfString(const char16_t* name, char16_t* buffer, unsigned cch, const char16_t* defaultText,
                                COrvProfDesc* desc);
DORLIN_API int OrvGetProfValue(const char16_t* name, void* buffer, unsigned* length, int* type, COrvProfDesc* desc);
DORLIN_API int OrvGetProfValues(int* count, COrvProfDesc* desc);
DORLIN_API int OrvOpenProfSection(COrvProfDesc* desc, int mode);
DORLIN_API int OrvSetIniCacheMode(int mode);
DORLIN_API int OrvSetIniTypeControl(int on);
DORLIN_API int OrvSetProfBinary(const char16_t* name, const void* data, unsigned length, COrvProfDesc* desc);
DORLIN_API int OrvSetProfDWord(const char16_t* name, std::uint32_t value, COrvProfDesc* desc);
DORLIN_API int OrvSetProfInt(const char16_t* name, int value, COrvProfDesc* desc);
DORLIN_API int OrvSetProfString(const char16_t* name, const char16_t* text, COrvProfDesc* desc);
DORLIN_API int OrvSetProfValue(const char16_t* name, const void* data, unsigned length, int type, COrvProfDesc* desc);
