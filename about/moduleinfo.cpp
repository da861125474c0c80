#include "about/moduleinfo.h"

#include <cstdio>

#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"

namespace about {

namespace {

using namespace plat::ole;

const Guid* const kModuleInfoClasses[] = {&CLSID_Spc, &CLSID_SpcModule2};

// The text of a BSTR the callee handed out (null: empty), which is freed.
std::string TakeText(Bstr text) {
  std::string out = plat::toUtf8(stringView(text));
  freeString(text);
  return out;
}

std::string ModuleEntry(ISpectrumControl& control) {
  Bstr name = nullptr;
  Bstr date = nullptr;
  control.GetModuleName(&name);
  control.GetCreateDate(&date);
  const std::string nameText = TakeText(name);
  const std::string dateText = TakeText(date);
  std::int16_t hi = 0;
  std::int16_t lo = 0;
  control.GetVersion(&hi, &lo);
  char version[16];
  std::snprintf(version, sizeof version, "%u.%2u", unsigned(std::uint16_t(hi)), unsigned(std::uint16_t(lo)));
  return nameText + "\n Version: " + version + " " + dateText + "\n\n";
}

}  // namespace

std::span<const Guid* const> ModuleInfoClasses() { return kModuleInfoClasses; }

std::string ModuleInfoText(std::span<const Guid* const> classes) {
  std::string text = "Module info:\n ";
  for (const Guid* clsid : classes) {
    ISpectrumControl* control = nullptr;
    if (createInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_ISpectrumControl,
                       reinterpret_cast<void**>(&control)) != S_OK ||
        !control)
      continue;
    text += ModuleEntry(*control);
    control->Release();
  }
  return text;
}

}  // namespace about
