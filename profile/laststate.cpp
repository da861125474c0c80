// The library's last error code, process-wide and unsynchronised like the rest of its state.
#include "profile/comdesc.h"

namespace dorlin {

namespace {
int g_lastError = PROF_ERROR;
}

int lastError() { return g_lastError; }
void setLastError(int code) { g_lastError = code; }

}  // namespace dorlin
