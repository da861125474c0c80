// A stand-in for the about library: it records how the program calls its two entry points.
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::string g_calls;
}

FAKE_EXPORT void AboutShowLogo(int show) { g_calls += show ? "logo(1)" : "logo(0)"; }

FAKE_EXPORT void AboutDoDialogBox(const char* title, const char* text, int moduleInfo) {
  g_calls += std::string("box(") + title + "|" + text + "|" + std::to_string(moduleInfo) + ")";
}

FAKE_EXPORT int KedrusModuleStart() {
  g_calls += "start;";
  return 1;
}

FAKE_EXPORT void KedrusModuleStop() { g_calls += ";stop"; }

// For the tests: what happened, and a fresh start.
FAKE_EXPORT const char* FakeAboutCalls() { return g_calls.c_str(); }
FAKE_EXPORT void FakeAboutReset() { g_calls.clear(); }
