#include "about/aboutapp.h"

namespace about {

const char16_t* CSwAboutApp::GetRegistryKey() const { return u"Orvane\\KEDRUS Lite\\2.0"; }

bool CSwAboutApp::InitInstance() { return Startup(); }

void CSwAboutApp::ExitInstance() { Cleanup(); }

}  // namespace about
