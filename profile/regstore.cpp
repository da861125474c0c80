#include "profile/regstore.h"

#include <array>
#include <cstring>
#include <limits>
#include <new>
#include <string_view>

#include "platform/base/bytes.h"
#include "platform/base/sectionpath.h"
#include "platform/base/text.h"

namespace dorlin {

namespace reg = plat::reg;

namespace {

bool fail(int code) {
  setLastError(code);
  return false;
}

// Success leaves the last error code alone; any failure stores its mapped code.
bool check(reg::Status status) {
  if (status == reg::Status::Success) return true;
  return fail(registryError(status));
}

struct RootName {
  std::u16string_view name;
  const reg::Key* key;
};
const std::array<RootName, 4> kRoots = {{
    {u"HKEY_CLASSES_ROOT", &reg::kClassesRoot},
    {u"HKEY_CURRENT_USER", &reg::kCurrentUser},
    {u"HKEY_LOCAL_MACHINE", &reg::kLocalMachine},
    {u"HKEY_USERS", &reg::kUsers},
}};

struct TypePair {
  reg::ValueType registry;
  int profile;
};
// Searched in this order both ways: REG_DWORD reads as type 1 (never 6); type 6 writes REG_DWORD.
const std::array<TypePair, 10> kTypes = {{
    {reg::ValueType::Binary, PROF_TYPE_BINARY},
    {reg::ValueType::DWord, PROF_TYPE_DWORD},
    {reg::kDWordLittleEndian, PROF_TYPE_DWORD_LE},
    {reg::ValueType::DWordBigEndian, PROF_TYPE_DWORD_BE},
    {reg::ValueType::ExpandString, PROF_TYPE_EXPAND_STRING},
    {reg::ValueType::Link, PROF_TYPE_LINK},
    {reg::ValueType::MultiString, PROF_TYPE_MULTI_STRING},
    {reg::ValueType::None, PROF_TYPE_NONE},
    {reg::ValueType::ResourceList, PROF_TYPE_RESOURCE_LIST},
    {reg::ValueType::String, PROF_TYPE_STRING},
}};

struct AccessPair {
  int flag;
  std::uint32_t access;
};
const std::array<AccessPair, 6> kAccess = {{
    {PROF_ACCESS_CREATE_LINK, reg::kCreateLink},
    {PROF_ACCESS_CREATE_SUB, reg::kCreateSubKey},
    {PROF_ACCESS_ENUM, reg::kEnumerateSubKeys},
    {PROF_ACCESS_NOTIFY, reg::kNotify},
    {PROF_ACCESS_READ, reg::kQueryValue},
    {PROF_ACCESS_WRITE, reg::kSetValue},
}};

constexpr int kAnyType = -1;

}  // namespace

int registryError(reg::Status status) {
  switch (status) {
    case reg::Status::Success: return PROF_OK;
    case reg::Status::FileNotFound: return PROF_NOT_FOUND;
    case reg::Status::BadKey: return PROF_NO_SECTION;
    case reg::Status::SharingViolation: return PROF_SHARING_VIOLATION;
    case reg::Status::WriteFault: return PROF_WRITE_FAULT;
    case reg::Status::ReadFault: return PROF_READ_FAULT;
    case reg::Status::NotEnoughMemory: return PROF_NO_MEMORY;
    case reg::Status::InvalidParameter: return PROF_INVALID_PARAMETER;
    case reg::Status::MoreData: return PROF_MORE_DATA;
    case reg::Status::KeyHasChildren: return PROF_HAS_SUBSECTIONS;
    case reg::Status::NoMoreItems: return PROF_NO_MORE_ITEMS;
    case reg::Status::AccessDenied: return PROF_ACCESS_DENIED;
    default: return PROF_ERROR;
  }
}

int profileTypeOf(reg::ValueType type) {
  for (const TypePair& pair : kTypes) {
    if (pair.registry == type) return pair.profile;
  }
  return PROF_TYPE_NONE;
}

reg::ValueType registryTypeOf(int profileType) {
  for (const TypePair& pair : kTypes) {
    if (pair.profile == profileType) return pair.registry;
  }
  return reg::ValueType::None;
}

std::uint32_t accessMaskOf(int mode) {
  const int low = mode & 0xFFFF;
  std::uint32_t mask = 0;
  for (const AccessPair& pair : kAccess) {
    if (low & pair.flag) mask |= pair.access;
  }
  return mask;
}

RegistryPath splitRegistryPath(const CProfLocation& location) {
  // A trailing "\" names the same key (the registry would refuse it); a path without "\" is a
  // root key name by itself.
  plat::String16 rootName;
  plat::SectionPath keyPath;
  plat::SectionPath(location.root).join(location.path).splitRoot(&rootName, &keyPath);
  RegistryPath result;
  result.keyPath = keyPath.text();
  for (const RootName& root : kRoots) {
    if (plat::equalsNoCase(root.name, rootName)) result.root = *root.key;
  }
  return result;
}

COrvRegNtaDesc::~COrvRegNtaDesc() {
  // The library closes a store before deleting it; this only guards against a leaked handle.
  if (m_key != reg::kNoKey) reg::closeKey(m_key);
}

bool COrvRegNtaDesc::Open(const CProfLocation& location, int mode) {
  if (m_key != reg::kNoKey) Close();
  const RegistryPath path = splitRegistryPath(location);
  return check(reg::openKey(path.root, path.keyPath, accessMaskOf(mode), &m_key));
}

bool COrvRegNtaDesc::Create(const CProfLocation& location, int mode, int options) {
  if (m_key != reg::kNoKey) Close();
  const RegistryPath path = splitRegistryPath(location);
  const bool isVolatile = (options & 0x1) != 0;
  return check(reg::createKey(path.root, path.keyPath, isVolatile, accessMaskOf(mode), &m_key));
}

bool COrvRegNtaDesc::Close() {
  const reg::Key key = m_key;
  m_key = reg::kNoKey;
  return check(reg::closeKey(key));
}

bool COrvRegNtaDesc::DeleteSection(const CProfLocation& location) {
  const RegistryPath path = splitRegistryPath(location);
  // A root key is never deleted, whatever the path's spelling.
  if (path.root != reg::kNoKey && path.keyPath.empty()) return fail(PROF_ACCESS_DENIED);
  return check(reg::deleteKey(path.root, path.keyPath));
}

bool COrvRegNtaDesc::GetValueType(const plat::String16& name, int* type) {
  if (!type) return fail(PROF_INVALID_PARAMETER);
  reg::ValueType regType = reg::ValueType::None;
  std::uint32_t size = 0;
  if (!check(reg::queryValue(m_key, name, &regType, nullptr, &size))) return false;
  *type = profileTypeOf(regType);
  return true;
}

// A DWORD value must be exactly 4 bytes: a larger one reports 14 (no room in the 4-byte buffer)
// and a shorter one, which holds no whole number, is refused as the wrong type instead of being
// read with undefined high bytes.
bool COrvRegNtaDesc::readDWord(const plat::String16& name, std::uint32_t* value) {
  if (!value) return fail(PROF_INVALID_PARAMETER);
  reg::ValueType type = reg::ValueType::None;
  std::uint32_t size = 0;
  if (!check(reg::queryValue(m_key, name, &type, nullptr, &size))) return false;
  if (type != reg::ValueType::DWord) return fail(PROF_WRONG_TYPE);
  if (size > sizeof(std::uint32_t)) return fail(PROF_MORE_DATA);
  if (size < sizeof(std::uint32_t)) return fail(PROF_WRONG_TYPE);
  std::uint8_t bytes[4] = {};
  size = sizeof(bytes);
  if (!check(reg::queryValue(m_key, name, &type, bytes, &size))) return false;
  if (type != reg::ValueType::DWord || size != sizeof(bytes)) return fail(PROF_WRONG_TYPE);
  *value = plat::loadLe32(bytes);
  return true;
}

bool COrvRegNtaDesc::GetInt(const plat::String16& name, int* value) {
  if (!value) return fail(PROF_INVALID_PARAMETER);
  std::uint32_t raw = 0;
  if (!readDWord(name, &raw)) return false;
  *value = static_cast<int>(raw);
  return true;
}

bool COrvRegNtaDesc::GetDWord(const plat::String16& name, std::uint32_t* value) { return readDWord(name, value); }

bool COrvRegNtaDesc::readBytes(const plat::String16& name, int requiredRegType, Bytes* bytes,
                               reg::ValueType* typeOut) {
  reg::ValueType type = reg::ValueType::None;
  std::uint32_t size = 0;
  if (!check(reg::queryValue(m_key, name, &type, nullptr, &size))) return false;
  if (typeOut) *typeOut = type;
  if (requiredRegType != kAnyType && static_cast<int>(type) != requiredRegType) return fail(PROF_WRONG_TYPE);
  try {
    bytes->assign(size, 0);
  } catch (const std::bad_alloc&) {
    return fail(PROF_NO_MEMORY);
  }
  if (size == 0) return true;
  std::uint32_t got = size;
  if (!check(reg::queryValue(m_key, name, &type, bytes->data(), &got))) return false;
  if (requiredRegType != kAnyType && static_cast<int>(type) != requiredRegType) return fail(PROF_WRONG_TYPE);
  bytes->resize(got < size ? got : size);
  return true;
}

bool COrvRegNtaDesc::GetString(const plat::String16& name, plat::String16* text) {
  if (!text) return fail(PROF_INVALID_PARAMETER);
  Bytes bytes;
  if (!readBytes(name, static_cast<int>(reg::ValueType::String), &bytes, nullptr)) return false;
  // The text ends at its first NUL or at the end of the data, whichever comes first; an odd
  // trailing byte is no character.
  const std::size_t units = bytes.size() / 2;
  plat::String16 result;
  result.reserve(units);
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t c = static_cast<char16_t>(plat::loadLe16(bytes.data() + 2 * i));
    if (c == 0) break;
    result += c;
  }
  *text = std::move(result);
  return true;
}

bool COrvRegNtaDesc::GetBinary(const plat::String16& name, Bytes* bytes) {
  if (!bytes) return fail(PROF_INVALID_PARAMETER);
  return readBytes(name, static_cast<int>(reg::ValueType::Binary), bytes, nullptr);
}

bool COrvRegNtaDesc::GetValue(const plat::String16& name, Bytes* bytes, int* type) {
  if (!bytes || !type) return fail(PROF_INVALID_PARAMETER);
  // The type is handed out as soon as it is known, even when reading the bytes then fails.
  constexpr auto kUnknown = static_cast<reg::ValueType>(0xFFFFFFFFu);
  reg::ValueType regType = kUnknown;
  const bool ok = readBytes(name, kAnyType, bytes, &regType);
  if (regType != kUnknown) *type = profileTypeOf(regType);
  return ok;
}

bool COrvRegNtaDesc::write(const plat::String16& name, reg::ValueType type, const void* data, std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max()) return fail(PROF_INVALID_PARAMETER);
  return check(reg::setValue(m_key, name, type, data, static_cast<std::uint32_t>(size)));
}

static void littleEndian(std::uint32_t value, std::uint8_t* out) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

bool COrvRegNtaDesc::SetInt(const plat::String16& name, const int* value) {
  if (!value) return fail(PROF_INVALID_PARAMETER);
  std::uint8_t bytes[4];
  littleEndian(static_cast<std::uint32_t>(*value), bytes);
  return write(name, reg::ValueType::DWord, bytes, sizeof(bytes));
}

bool COrvRegNtaDesc::SetDWord(const plat::String16& name, const std::uint32_t* value) {
  if (!value) return fail(PROF_INVALID_PARAMETER);
  std::uint8_t bytes[4];
  littleEndian(*value, bytes);
  return write(name, reg::ValueType::DWord, bytes, sizeof(bytes));
}

bool COrvRegNtaDesc::SetString(const plat::String16& name, const plat::String16* text) {
  if (!text) return fail(PROF_INVALID_PARAMETER);
  if (text->size() >= std::numeric_limits<std::uint32_t>::max() / 2) return fail(PROF_INVALID_PARAMETER);
  Bytes bytes;
  try {
    bytes.resize((text->size() + 1) * 2);
  } catch (const std::bad_alloc&) {
    return fail(PROF_NO_MEMORY);
  }
  for (std::size_t i = 0; i < text->size(); ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>((*text)[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>((*text)[i] >> 8);
  }
  return write(name, reg::ValueType::String, bytes.data(), bytes.size());
}

bool COrvRegNtaDesc::SetBinary(const plat::String16& name, const Bytes* bytes) {
  if (!bytes) return fail(PROF_INVALID_PARAMETER);
  return write(name, reg::ValueType::Binary, bytes->data(), bytes->size());
}

bool COrvRegNtaDesc::SetValue(const plat::String16& name, const Bytes* bytes, int type) {
  if (!bytes) return fail(PROF_INVALID_PARAMETER);
  return write(name, registryTypeOf(type), bytes->data(), bytes->size());
}

bool COrvRegNtaDesc::DeleteValue(const plat::String16& name) { return check(reg::deleteValue(m_key, name)); }

// Counted by enumeration, which needs only the enumerate right that counting subsections
// asks for (the key information query needs the query right).
bool COrvRegNtaDesc::GetSectionCount(int* count) {
  if (!count) return fail(PROF_INVALID_PARAMETER);
  int n = 0;
  for (;;) {
    std::u16string name;
    const reg::Status status = reg::enumKey(m_key, static_cast<std::uint32_t>(n), &name);
    if (status == reg::Status::NoMoreItems) break;
    if (!check(status)) return false;
    if (n == std::numeric_limits<int>::max()) return fail(PROF_ERROR);
    ++n;
  }
  *count = n;
  return true;
}

bool COrvRegNtaDesc::GetValueCount(int* count) {
  if (!count) return fail(PROF_INVALID_PARAMETER);
  reg::KeyInfo info;
  if (!check(reg::queryInfo(m_key, &info))) return false;
  if (info.valueCount > static_cast<std::uint32_t>(std::numeric_limits<int>::max())) return fail(PROF_ERROR);
  *count = static_cast<int>(info.valueCount);
  return true;
}

bool COrvRegNtaDesc::EnumSection(int index, plat::String16* name) {
  if (!name) return fail(PROF_INVALID_PARAMETER);
  if (index < 0) return fail(PROF_NO_MORE_ITEMS);
  std::u16string found;
  if (!check(reg::enumKey(m_key, static_cast<std::uint32_t>(index), &found))) return false;
  *name = std::move(found);
  return true;
}

bool COrvRegNtaDesc::EnumValue(int index, plat::String16* name, int* type) {
  if (!name || !type) return fail(PROF_INVALID_PARAMETER);
  if (index < 0) return fail(PROF_NO_MORE_ITEMS);
  std::u16string found;
  reg::ValueType regType = reg::ValueType::None;
  if (!check(reg::enumValue(m_key, static_cast<std::uint32_t>(index), &found, &regType))) return false;
  *name = std::move(found);
  *type = profileTypeOf(regType);
  return true;
}

COrvComDesc* newRegistryStore() { return new (std::nothrow) COrvRegNtaDesc(); }

}  // namespace dorlin
