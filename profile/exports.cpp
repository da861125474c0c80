// The 22 exported profile functions. Each finds its store through the caller's descriptor
// (ResolveProfStore), runs one store operation and turns the outcome into a profile code.
//
// They are exported by name only: a shared object has no ordinals, so callers bind by name.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "foundation/profdesc.h"
#include "platform/base/sectionpath.h"
#include "platform/base/text.h"
#include "profile/comdesc.h"
#include "profile/profile.h"

namespace dorlin {

namespace {

constexpr int kKnownModeBits = 0x3F;

int failWith(int code) {
  setLastError(code);
  return code;
}

// Only the low 16 bits of a mode count; among them, a bit that is no open-mode flag is refused.
bool validMode(int mode) { return ((mode & 0xFFFF) & ~kKnownModeBits) == 0; }

// Runs one store operation so that a failure that leaves no code of its own reports PROF_ERROR,
// never a code left over from an earlier failure, while a success leaves the last code alone.
template <class Op>
bool runStoreOp(Op&& op) {
  const int before = lastError();
  setLastError(PROF_ERROR);
  const bool ok = op();
  if (ok) setLastError(before);
  return ok;
}

// Runs an export body; an allocation failure inside it becomes PROF_NO_MEMORY and nothing
// escapes across the C boundary.
template <class Body>
int guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return failWith(PROF_NO_MEMORY);
  } catch (...) {
    return failWith(PROF_ERROR);
  }
}

std::u16string_view viewOf(const char16_t* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

COrvComDesc* newStoreFor(const COrvProfDesc& desc) { return desc.IsIni() ? newIniStore() : newRegistryStore(); }

CProfLocation locationOf(const COrvProfDesc& desc, std::u16string_view path) {
  CProfLocation location;
  location.path = path;
  if (desc.IsIni()) location.root = viewOf(desc.GetRoot());
  return location;
}

// The location that OrvCreateProfSection and OrvDeleteProfSection work on.
CProfLocation sectionLocationOf(const COrvProfDesc& desc) {
  return locationOf(desc, viewOf(desc.IsIni() ? desc.GetSection() : desc.GetPath()));
}

// Copies text into a caller's buffer of cch characters, cut to fit, always terminated.
void copyText(std::u16string_view text, char16_t* buffer, unsigned cch) {
  if (!buffer || cch == 0) return;
  const std::size_t n = std::min<std::size_t>(text.size(), cch - 1);
  std::copy_n(text.data(), n, buffer);
  buffer[n] = 0;
}

struct StoreDeleter {
  void operator()(COrvComDesc* store) const { delete store; }
};
using StorePtr = std::unique_ptr<COrvComDesc, StoreDeleter>;

}  // namespace

// The store one call works on.
struct ResolvedStore {
  COrvComDesc* store = nullptr;  // the store to use
  StorePtr owned;                // set when the store is temporary: closed and deleted after the call
  plat::String16 valueName;
  bool temporary() const { return owned != nullptr; }
};

// A value name "rel\path\Name" works on a temporary store opened at path + "\rel\path"; so does
// any call on a descriptor without an open section. Otherwise the descriptor's open store is used.
// Returns false (with the last error code set) when no store could be had.
bool ResolveProfStore(std::u16string_view name, int mode, COrvProfDesc& desc, ResolvedStore* out) {
  plat::SectionPath path(viewOf(desc.GetPath()));
  plat::SectionPath relative;
  const bool temporary = plat::SectionPath(name).splitLast(&relative, &out->valueName);
  if (temporary) {
    path = path.join(relative.text());
  } else {
    out->valueName = name;
  }

  if (!temporary && desc.GetStore()) {
    out->store = desc.GetStore();
    return true;
  }
  StorePtr store(newStoreFor(desc));
  if (!store) {
    setLastError(PROF_NO_MEMORY);
    return false;
  }
  const CProfLocation location = locationOf(desc, path.text());
  const bool create = desc.GetAutoCreate() && (mode & PROF_ACCESS_CREATE_SUB);
  const bool ok = runStoreOp([&] {
    return create ? store->Create(location, mode, 0) : store->Open(location, mode);
  });
  if (!ok) return false;
  out->store = store.get();
  out->owned = std::move(store);
  return true;
}

namespace {

// The frame of every value export: resolve, run the operation, close a temporary store (a
// failing close turns the result into its code), give 0 or the last error code.
template <class Op>
int runValueCall(std::u16string_view name, int mode, COrvProfDesc& desc, Op&& op) {
  ResolvedStore resolved;
  if (!ResolveProfStore(name, mode, desc, &resolved)) return lastError();
  int result = runStoreOp([&] { return op(*resolved.store, resolved.valueName); }) ? PROF_OK : lastError();
  if (resolved.temporary()) {
    if (!runStoreOp([&] { return resolved.store->Close(); })) result = lastError();
  }
  return result;
}

constexpr int kReadMode = PROF_ACCESS_READ;
constexpr int kWriteMode = PROF_ACCESS_WRITE | PROF_ACCESS_CREATE_SUB | PROF_ACCESS_CREATE_LINK;
constexpr int kEnumMode = PROF_ACCESS_ENUM;

}  // namespace
}  // namespace dorlin

using dorlin::Bytes;
using dorlin::COrvComDesc;
using dorlin::failWith;
using dorlin::guarded;
using dorlin::runValueCall;

DORLIN_API int OrvCloseProfSection(COrvProfDesc* desc) {
  return guarded([&] {
    if (!desc) return failWith(PROF_INVALID_PARAMETER);
    COrvComDesc* store = desc->GetStore();
    if (!store) return int(PROF_NOT_OPEN);
    const bool ok = dorlin::runStoreOp([&] { return store->Close(); });
    const int result = ok ? PROF_OK : dorlin::lastError();
    desc->SetStore(nullptr);
    delete store;
    return result;
  });
}

DORLIN_API int OrvCreateProfSection(COrvProfDesc* desc, int mode, int options) {
  return guarded([&] {
    if (!desc || !dorlin::validMode(mode)) return failWith(PROF_INVALID_PARAMETER);
    desc->Close();
    dorlin::StorePtr store(dorlin::newStoreFor(*desc));
    if (!store) return failWith(PROF_NO_MEMORY);
    const dorlin::CProfLocation location = dorlin::sectionLocationOf(*desc);
    if (!dorlin::runStoreOp([&] { return store->Create(location, mode, options); })) return dorlin::lastError();
    desc->SetStore(store.release());
    return int(PROF_OK);
  });
}

DORLIN_API int OrvDeleteProfSection(COrvProfDesc* desc) {
  return guarded([&] {
    if (!desc) return failWith(PROF_INVALID_PARAMETER);
    dorlin::StorePtr store(dorlin::newStoreFor(*desc));
    if (!store) return failWith(PROF_NO_MEMORY);
    const dorlin::CProfLocation location = dorlin::sectionLocationOf(*desc);
    return dorlin::runStoreOp([&] { return store->DeleteSection(location); }) ? int(PROF_OK) : dorlin::lastError();
  });
}

DORLIN_API int OrvDeleteProfValue(const char16_t* name, COrvProfDesc* desc) {
  return guarded([&] {
    if (!name || !desc) return failWith(PROF_INVALID_PARAMETER);
    return runValueCall(name, dorlin::kWriteMode, *desc,
                        [](COrvComDesc& store, const plat::String16& value) { return store.DeleteValue(value); });
  });
}

DORLIN_API int OrvEnumProfSection(int index, char16_t* buffer, unsigned cch, COrvProfDesc* desc) {
  return guarded([&] {
    if (!buffer || !desc || index < 0) return failWith(PROF_INVALID_PARAMETER);
    plat::String16 found;
    int result = runValueCall(u"", dorlin::kEnumMode, *desc, [&](COrvComDesc& store, const plat::String16&) {
      return store.EnumSection(index, &found);
    });
    if (result != PROF_OK) return result;
    if (found.size() >= cch) return int(PROF_MORE_DATA);
    dorlin::copyText(found, buffer, cch);
    return int(PROF_OK);
  });
}

DORLIN_API int OrvEnumProfValue(int index, char16_t* buffer, unsigned cch, int* type, COrvProfDesc* desc) {
  return guarded([&] {
    if (!buffer || !desc || index < 0) return failWith(PROF_INVALID_PARAMETER);
    plat::String16 found;
    int foundType = PROF_TYPE_NONE;
    int result = runValueCall(u"", dorlin::kReadMode, *desc, [&](COrvComDesc& store, const plat::String16&) {
      if (!store.EnumValue(index, &found, &foundType)) return false;
      if (type) *type = foundType;
      return true;
    });
    if (result != PROF_OK) return result;
    if (found.size() >= cch) return int(PROF_MORE_DATA);
    dorlin::copyText(found, buffer, cch);
    return int(PROF_OK);
  });
}

DORLIN_API int OrvGetProfBinary(const char16_t* name, void* buffer, unsigned* length, COrvProfDesc* desc) {
  return guarded([&] {
    if (!length) return failWith(PROF_INVALID_PARAMETER);
    const unsigned room = *length;
    *length = 0;
    if (!name || !desc) return failWith(PROF_INVALID_PARAMETER);
    Bytes bytes;
    int result = runValueCall(name, dorlin::kReadMode, *desc, [&](COrvComDesc& store, const plat::String16& value) {
      return store.GetBinary(value, &bytes);
    });
    if (result != PROF_OK) return result;
    if (bytes.size() > 0xFFFFFFFFu) return failWith(PROF_ERROR);
    *length = static_cast<unsigned>(bytes.size());
    if (room < bytes.size()) return int(PROF_MORE_DATA);
    if (buffer && !bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
    return int(PROF_OK);
  });
}

DORLIN_API int OrvGetProfCString(const char16_t* name, plat::String16* out, const char16_t* defaultText,
                                 COrvProfDesc* desc) {
  return guarded([&] {
    if (!out || !desc) return failWith(PROF_INVALID_PARAMETER);
    plat::String16 text;
    int result = PROF_INVALID_PARAMETER;
    if (name) {
      result = runValueCall(name, dorlin::kReadMode, *desc, [&](COrvComDesc& store, const plat::String16& value) {
        return store.GetString(value, &text);
      });
    } else {
      failWith(PROF_INVALID_PARAMETER);
    }
    // Assigned through the descriptor in every case, so the caller's module allocates it.
    desc->AssignString(out, result == PROF_OK ? text.c_str() : (defaultText ? defaultText : u""));
    return result;
  });
}

DORLIN_API int OrvGetProfDWord(const char16_t* name, std::uint32_t* out, std::uint32_t defaultValue,
                               COrvProfDesc* desc) {
  return guarded([&] {
    if (!out) return failWith(PROF_INVALID_PARAMETER);
    *out = defaultValue;
    if (!name || !desc) return failWith(PROF_INVALID_PARAMETER);
    std::uint32_t value = 0;
    const int result = runValueCall(name, dorlin::kReadMode, *desc,
                                    [&](COrvComDesc& store, const plat::String16& n) { return store.GetDWord(n, &value); });
    if (result == PROF_OK) *out = value;
    return result;
  });
}

DORLIN_API int OrvGetProfInt(const char16_t* name, int* out, int defaultValue, COrvProfDesc* desc) {
  return guarded([&] {
    if (!out) return failWith(PROF_INVALID_PARAMETER);
    *out = defaultValue;
    if (!name || !desc) return failWith(PROF_INVALID_PARAMETER);
    int value = 0;
    const int result = runValueCall(name, dorlin::kReadMode, *desc,
                                    [&](COrvComDesc& store, const plat::String16& n) { return store.GetInt(n, &value); });
    if (result == PROF_OK) *out = value;
    return result;
  });
}

DORLIN_API int OrvGetProfSections(int* count, COrvProfDesc* desc) {
  return guarded([&] {
    if (!count || !desc) return failWith(PROF_INVALID_PARAMETER);
    int value = 0;
    const int result = runValueCall(u"", dorlin::kEnumMode, *desc,
                                    [&](COrvComDesc& store, const plat::String16&) { return store.GetSectionCount(&value); });
    if (result == PROF_OK) *count = value;
    return result;
  });
}

DORLIN_API int OrvGetProfString(const char16_t* name, char16_t* buffer, unsigned cch, const char16_t* defaultText,
                                COrvProfDesc* desc) {
  return guarded([&] {
    int result = PROF_INVALID_PARAMETER;
    plat::String16 text;
    if (name && desc) {
      result = runValueCall(name, dorlin::kReadMode, *desc, [&](COrvComDesc& store, const plat::String16& value) {
        return store.GetString(value, &text);
      });
    } else {
      failWith(PROF_INVALID_PARAMETER);
    }
    if (result != PROF_OK) {
      // The default, when one is given; the error code stays the result.
      if (defaultText) dorlin::copyText(defaultText, buffer, cch);
      return result;
    }
    dorlin::copyText(text, buffer, cch);
    return text.size() >= cch ? int(PROF_MORE_DATA) : int(PROF_OK);
  });
}

DORLIN_API int OrvGetProfValue(const char16_t* name, void* buffer, unsigned* length, int* type, COrvProfDesc* desc) {
  return guarded([&] {
    if (!length) return failWith(PROF_INVALID_PARAMETER);
    const unsigned room = *length;
    *length = 0;
    if (!name || !desc) return failWith(PROF_INVALID_PARAMETER);
    Bytes bytes;
    int result = runValueCall(name, dorlin::kReadMode, *desc, [&](COrvComDesc& store, const plat::String16& value) {
      // The store hands the type out as soon as it knows it; it is not defaulted on failure.
      int unused = PROF_TYPE_NONE;
      return store.GetValue(value, &bytes, type ? type : &unused);
    });
    if (result != PROF_OK) return result;
    if (bytes.size() > 0xFFFFFFFFu) return failWith(PROF_ERROR);
    *length = static_cast<unsigned>(bytes.size());
    if (!buffer) return int(PROF_OK);  // a size query
    if (room < bytes.size()) return int(PROF_MORE_DATA);
    if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
    return int(PROF_OK);
  });
}

DORLIN_API int OrvGetProfValues(int* count, COrvProfDesc* desc) {
  return guarded([&] {
    if (!count || !desc) return failWith(PROF_INVALID_PARAMETER);
    int value = 0;
    const int result = runValueCall(u"", dorlin::kReadMode, *desc,
                                    [&](COrvComDesc& store, const plat::String16&) { return store.GetValueCount(&value); });
    if (result == PROF_OK) *count = value;
    return result;
  });
}

DORLIN_API int OrvOpenProfSection(COrvProfDesc* desc, int mode) {
  return guarded([&] {
    if (!desc || !dorlin::validMode(mode)) return failWith(PROF_INVALID_PARAMETER);
    dorlin::ResolvedStore resolved;
    // Whatever the reason of a failure, opening reports "no section".
    if (!dorlin::ResolveProfStore(u"", mode, *desc, &resolved)) return int(PROF_NO_SECTION);
    if (resolved.temporary()) desc->SetStore(resolved.owned.release());
    return int(PROF_OK);
  });
}

DORLIN_API int OrvSetIniCacheMode(int mode) {
  return guarded([&] { return dorlin::setIniCacheMode(mode); });
}

DORLIN_API int OrvSetIniTypeControl(int on) {
  return guarded([&] { return dorlin::setIniTypeControl(on); });
}

namespace {

template <class Op>
int runSetter(const char16_t* name, COrvProfDesc* desc, Op&& op) {
  if (!name || !desc) return failWith(PROF_INVALID_PARAMETER);
  return runValueCall(name, dorlin::kWriteMode, *desc, op);
}

}  // namespace

DORLIN_API int OrvSetProfBinary(const char16_t* name, const void* data, unsigned length, COrvProfDesc* desc) {
  return guarded([&] {
    if (!data && length != 0) return failWith(PROF_INVALID_PARAMETER);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const Bytes copy(bytes, bytes + (data ? length : 0));
    return runSetter(name, desc,
                     [&](COrvComDesc& store, const plat::String16& value) { return store.SetBinary(value, &copy); });
  });
}

DORLIN_API int OrvSetProfDWord(const char16_t* name, std::uint32_t value, COrvProfDesc* desc) {
  return guarded([&] {
    return runSetter(name, desc, [&](COrvComDesc& store, const plat::String16& n) { return store.SetDWord(n, &value); });
  });
}

DORLIN_API int OrvSetProfInt(const char16_t* name, int value, COrvProfDesc* desc) {
  return guarded([&] {
    return runSetter(name, desc, [&](COrvComDesc& store, const plat::String16& n) { return store.SetInt(n, &value); });
  });
}

DORLIN_API int OrvSetProfString(const char16_t* name, const char16_t* text, COrvProfDesc* desc) {
  return guarded([&] {
    if (!text) return failWith(PROF_INVALID_PARAMETER);
    const plat::String16 copy(text);
    return runSetter(name, desc, [&](COrvComDesc& store, const plat::String16& n) { return store.SetString(n, &copy); });
  });
}

DORLIN_API int OrvSetProfValue(const char16_t* name, const void* data, unsigned length, int type, COrvProfDesc* desc) {
  return guarded([&] {
    if (!data && length != 0) return failWith(PROF_INVALID_PARAMETER);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const Bytes copy(bytes, bytes + (data ? length : 0));
    return runSetter(name, desc,
                     [&](COrvComDesc& store, const plat::String16& n) { return store.SetValue(n, &copy, type); });
  });
}
