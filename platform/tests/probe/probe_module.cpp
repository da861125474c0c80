// The probe module: each export leaves state in the platform that the loading program must see.
#include "platform/tests/probe/probe_module.h"

#include "platform/com/creation.h"
#include "platform/com/server.h"
#include "platform/registry/registry.h"
#include "platform/ui/wnd.h"

namespace {

class ProbeObject final : public plat::ole::ComObject {};

class ProbeWindow final : public ui::Wnd {
 protected:
  void PostNcDestroy() override { delete this; }
};

}  // namespace

KEDRUS_EXPORT ui::HWND ProbeMakeWindow(const char* text) {
  auto* wnd = new ProbeWindow;
  if (!wnd->CreateEx(0, nullptr, text, ui::WS_POPUP, ui::Rect(0, 0, 50, 40), nullptr, 0)) {
    delete wnd;
    return ui::kNoWnd;
  }
  return wnd->m_hWnd;
}

KEDRUS_EXPORT void ProbeDestroyWindow(ui::HWND hwnd) {
  if (ui::Wnd* wnd = ui::Wnd::FromHandle(hwnd)) wnd->DestroyWindow();
}

KEDRUS_EXPORT plat::ole::HResult ProbeRegisterClass(plat::DWord* cookie) {
  using namespace plat::ole;
  IClassFactory* factory = nullptr;
  HResult hr = ClassFactory::create(&createObject<ProbeObject>, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (failed(hr)) return hr;
  hr = registerClassObject(probe::CLSID_Probe, factory, cookie);
  factory->Release();
  return hr;
}

KEDRUS_EXPORT bool ProbeWriteVolatileKey(const char16_t* path) {
  namespace reg = plat::reg;
  reg::Key key = reg::kNoKey;
  if (reg::createKey(reg::kCurrentUser, path, true, reg::kAllAccess, &key) != reg::Status::Success) return false;
  reg::closeKey(key);
  return true;
}

KEDRUS_EXPORT plat::ole::HResult ProbeCanUnloadNow() { return plat::ole::moduleCanUnloadNow(); }
