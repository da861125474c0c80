// The window layer's settings in the module's profile.
#include "foundation/uiprofile.h"

#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace {

// A descriptor for one section below the module's default section.
struct SectionDesc {
  explicit SectionDesc(std::string_view section) { desc.SetSection(plat::toUtf16(section).c_str()); }
  COrvProfDesc desc;
};

}  // namespace

int COrvUiProfile::GetInt(std::string_view section, std::string_view entry, int defaultValue) {
  SectionDesc d(section);
  int value = defaultValue;
  OrvGetProfInt(plat::toUtf16(entry).c_str(), &value, defaultValue, &d.desc);
  return value;
}

bool COrvUiProfile::WriteInt(std::string_view section, std::string_view entry, int value) {
  SectionDesc d(section);
  return OrvSetProfInt(plat::toUtf16(entry).c_str(), value, &d.desc) == PROF_OK;
}

std::string COrvUiProfile::GetString(std::string_view section, std::string_view entry, std::string_view defaultValue) {
  SectionDesc d(section);
  plat::String16 value;
  const plat::String16 def = plat::toUtf16(defaultValue);
  OrvGetProfCString(plat::toUtf16(entry).c_str(), &value, def.c_str(), &d.desc);
  return plat::toUtf8(value);
}

bool COrvUiProfile::WriteString(std::string_view section, std::string_view entry, std::string_view value) {
  SectionDesc d(section);
  return OrvSetProfString(plat::toUtf16(entry).c_str(), plat::toUtf16(value).c_str(), &d.desc) == PROF_OK;
}

bool COrvUiProfile::GetBinary(std::string_view section, std::string_view entry, std::vector<std::uint8_t>* data) {
  if (!data) return false;
  SectionDesc d(section);
  const plat::String16 name = plat::toUtf16(entry);
  unsigned length = 0;
  // The size first, then the bytes.
  if (OrvGetProfBinary(name.c_str(), nullptr, &length, &d.desc) != PROF_OK && length == 0) return false;
  data->assign(length, 0);
  if (length == 0) return true;
  if (OrvGetProfBinary(name.c_str(), data->data(), &length, &d.desc) != PROF_OK) return false;
  data->resize(length);
  return true;
}

bool COrvUiProfile::WriteBinary(std::string_view section, std::string_view entry, const std::vector<std::uint8_t>& data) {
  SectionDesc d(section);
  return OrvSetProfBinary(plat::toUtf16(entry).c_str(), data.data(), static_cast<unsigned>(data.size()), &d.desc) == PROF_OK;
}

bool COrvUiProfile::DeleteSection(std::string_view section) {
  SectionDesc d(section);
  return OrvDeleteProfSection(&d.desc) == PROF_OK;
}
