#include "rodizora/app/sacmdline.h"

#include "platform/base/text.h"

void CSaCmdLineInfo::ParseParam(std::string_view param, bool isSwitch, bool isLast) {
  if (isSwitch) {
    if (plat::equalsNoCase(param, "SDF")) {
      m_pending = Pending::Sdf;
    } else if (plat::equalsNoCase(param, "PROCESS")) {
      m_pending = Pending::Process;
    } else {
      m_pending = Pending::None;
      ui::CommandLineInfo::ParseParam(param, isSwitch, isLast);
      return;
    }
    // A switch of ours may be the last argument: the class library still finishes its parse.
    ParseLast(isLast);
    return;
  }
  switch (m_pending) {
    case Pending::Sdf:
      m_strSdfFileName = std::string(param);
      ParseLast(isLast);
      break;
    case Pending::Process:
      m_strProcessCommands = std::string(param);
      ParseLast(isLast);
      break;
    case Pending::None:
      ui::CommandLineInfo::ParseParam(param, isSwitch, isLast);
      break;
  }
  m_pending = Pending::None;
}
