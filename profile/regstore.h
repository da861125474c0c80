#pragma once
// COrvRegNtaDesc: the store that keeps sections as registry keys and values as registry values.
// Every registry result is turned into a profile error code by one table (registryError).
#include <cstdint>

#include "platform/registry/registry.h"
#include "profile/comdesc.h"

namespace dorlin {

class COrvRegNtaDesc final : public COrvComDesc {
 public:
  COrvRegNtaDesc() = default;
  ~COrvRegNtaDesc() override;
  COrvRegNtaDesc(const COrvRegNtaDesc&) = delete;
  COrvRegNtaDesc& operator=(const COrvRegNtaDesc&) = delete;

  bool Open(const CProfLocation& location, int mode) override;
  bool Create(const CProfLocation& location, int mode, int options) override;
  bool Close() override;
  bool DeleteSection(const CProfLocation& location) override;
  bool GetValueType(const plat::String16& name, int* type) override;
  bool GetInt(const plat::String16& name, int* value) override;
  bool GetDWord(const plat::String16& name, std::uint32_t* value) override;
  bool GetString(const plat::String16& name, plat::String16* text) override;
  bool GetBinary(const plat::String16& name, Bytes* bytes) override;
  bool GetValue(const plat::String16& name, Bytes* bytes, int* type) override;
  bool SetInt(const plat::String16& name, const int* value) override;
  bool SetDWord(const plat::String16& name, const std::uint32_t* value) override;
  bool SetString(const plat::String16& name, const plat::String16* text) override;
  bool SetBinary(const plat::String16& name, const Bytes* bytes) override;
  bool SetValue(const plat::String16& name, const Bytes* bytes, int type) override;
  bool DeleteValue(const plat::String16& name) override;
  bool GetSectionCount(int* count) override;
  bool GetValueCount(int* count) override;
  bool EnumSection(int index, plat::String16* name) override;
  bool EnumValue(int index, plat::String16* name, int* type) override;

 private:
  bool readDWord(const plat::String16& name, std::uint32_t* value);
  // Reads a value's bytes; requiredRegType is the registry type it must have, or -1 for any.
  // *type (optional) receives the type as soon as it is known.
  bool readBytes(const plat::String16& name, int requiredRegType, Bytes* bytes, plat::reg::ValueType* type);
  bool write(const plat::String16& name, plat::reg::ValueType type, const void* data, std::size_t size);

  plat::reg::Key m_key = plat::reg::kNoKey;
};

// The profile code of a registry result (PROF_OK for Success).
int registryError(plat::reg::Status status);
// Profile value type <-> registry value type, by the first matching pair of one table.
int profileTypeOf(plat::reg::ValueType type);
plat::reg::ValueType registryTypeOf(int profileType);
// The registry access mask of a profile open mode (low 16 bits looked at).
std::uint32_t accessMaskOf(int mode);

// A registry location split into its root key and the key path below it.
struct RegistryPath {
  plat::reg::Key root = plat::reg::kNoKey;  // kNoKey when the root name is unknown
  plat::String16 keyPath;
};
RegistryPath splitRegistryPath(const CProfLocation& location);

}  // namespace dorlin
