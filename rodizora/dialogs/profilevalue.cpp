#include "rodizora/dialogs/profilevalue.h"

#include "foundation/profdesc.h"
#include "profile/profile.h"

int ReadProfileInt(const plat::String16& name, int defaultValue) {
  COrvProfDesc desc;
  int value = defaultValue;
  OrvGetProfInt(name.c_str(), &value, defaultValue, &desc);
  return value;
}

bool WriteProfileInt(const plat::String16& name, int value) {
  COrvProfDesc desc;
  return OrvSetProfInt(name.c_str(), value, &desc) == PROF_OK;
}

std::uint32_t ReadProfileDWord(const plat::String16& name, std::uint32_t defaultValue) {
  COrvProfDesc desc;
  std::uint32_t value = defaultValue;
  OrvGetProfDWord(name.c_str(), &value, defaultValue, &desc);
  return value;
}

bool WriteProfileDWord(const plat::String16& name, std::uint32_t value) {
  COrvProfDesc desc;
  return OrvSetProfDWord(name.c_str(), value, &desc) == PROF_OK;
}
