// Placeholder until the INI store lands: every INI descriptor fails to open.
#include "profile/comdesc.h"

namespace dorlin {

COrvComDesc* newIniStore() { return nullptr; }
int setIniCacheMode(int mode) { return mode; }
int setIniTypeControl(int on) { return on; }

}  // namespace dorlin
