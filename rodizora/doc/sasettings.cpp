#include "rodizora/doc/sasettings.h"

#include "foundation/profdesc.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace {

plat::String16 ReadString(const char16_t* name, const plat::String16& fallback) {
  COrvProfDesc desc;
  plat::String16 value;
  OrvGetProfCString(name, &value, fallback.c_str(), &desc);
  return value;
}

}  // namespace

void CSaSettings::Read() {
  const plat::String16 home = plat::toUtf16(plat::homeDirectory());
  serverDirectory = ReadString(u"Server Directory", home);
  loadDirectory = ReadString(u"Load Directory", home);
  saveDirectory = ReadString(u"Save Directory", home);
  baseDirectory = ReadString(u"Base Directory", home);
  documentZoom = SaProfileInt(u"Document Zoom", 100);
  app.Read();
}

bool CSaSettings::Write() const {
  COrvProfDesc desc;
  bool ok = true;
  ok &= OrvSetProfString(u"Load Directory", loadDirectory.c_str(), &desc) == PROF_OK;
  ok &= OrvSetProfString(u"Save Directory", saveDirectory.c_str(), &desc) == PROF_OK;
  ok &= OrvSetProfString(u"Base Directory", baseDirectory.c_str(), &desc) == PROF_OK;
  ok &= OrvSetProfString(u"Server Directory", serverDirectory.c_str(), &desc) == PROF_OK;
  ok &= OrvSetProfInt(u"Document Zoom", documentZoom, &desc) == PROF_OK;
  ok &= app.Write();
  return ok;
}

CSaSettings& SaSettings() {
  static CSaSettings settings;
  return settings;
}

int SaProfileInt(const char16_t* name, int defaultValue) {
  COrvProfDesc desc;
  int value = defaultValue;
  OrvGetProfInt(name, &value, defaultValue, &desc);
  return value;
}
