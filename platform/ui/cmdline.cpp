#include "platform/ui/cmdline.h"

#include "platform/base/text.h"
#include "platform/ui/app.h"
#include "platform/ui/docview.h"

namespace ui {

void CommandLineInfo::ParseParam(std::string_view param, bool isSwitch, bool isLast) {
  if (isSwitch) ParseParamFlag(param);
  else ParseParamNotFlag(param);
  ParseLast(isLast);
}

void CommandLineInfo::ParseParamFlag(std::string_view flag) {
  if (plat::equalsNoCase(flag, "pt")) {
    m_nShellCommand = FilePrintTo;
  } else if (plat::equalsNoCase(flag, "p")) {
    m_nShellCommand = FilePrint;
  } else if (plat::equalsNoCase(flag, "Unregister") || plat::equalsNoCase(flag, "Unregserver")) {
    m_nShellCommand = AppUnregister;
  } else if (plat::equalsNoCase(flag, "Register") || plat::equalsNoCase(flag, "Regserver")) {
    m_nShellCommand = AppRegister;
  } else if (plat::equalsNoCase(flag, "dde")) {
    m_nShellCommand = FileDDE;
  } else if (plat::equalsNoCase(flag, "Embedding")) {
    m_bRunEmbedded = true;
    m_bShowSplash = false;
  } else if (plat::equalsNoCase(flag, "Automation")) {
    m_bRunAutomated = true;
    m_bShowSplash = false;
  }
}

void CommandLineInfo::ParseParamNotFlag(std::string_view param) {
  if (m_strFileName.empty()) m_strFileName = std::string(param);
  else if (m_nShellCommand == FilePrintTo && m_strPrinterName.empty()) m_strPrinterName = std::string(param);
  else if (m_nShellCommand == FilePrintTo && m_strDriverName.empty()) m_strDriverName = std::string(param);
  else if (m_nShellCommand == FilePrintTo && m_strPortName.empty()) m_strPortName = std::string(param);
}

void CommandLineInfo::ParseLast(bool isLast) {
  if (isLast && m_nShellCommand == FileNew && !m_strFileName.empty()) m_nShellCommand = FileOpen;
}

void ParseCommandLine(CommandLineInfo& info, const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    const bool isSwitch = arg.size() > 1 && arg.front() == '-';
    if (isSwitch) arg.remove_prefix(1);
    info.ParseParam(arg, isSwitch, i + 1 == args.size());
  }
}

bool ProcessShellCommand(App& app, const CommandLineInfo& info) {
  switch (info.m_nShellCommand) {
    case CommandLineInfo::FileNew:
      app.OnFileNew();
      return true;
    case CommandLineInfo::FileOpen:
      return app.OpenDocumentFile(info.m_strFileName) != nullptr;
    case CommandLineInfo::FilePrint:
    case CommandLineInfo::FilePrintTo: {
      Document* doc = app.OpenDocumentFile(info.m_strFileName);
      if (!doc) return false;
      if (!doc->GetViews().empty()) doc->GetViews().front()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
      doc->OnCloseDocument();
      return true;
    }
    case CommandLineInfo::AppRegister:
    case CommandLineInfo::AppUnregister:
      return false;
    case CommandLineInfo::FileDDE:
    case CommandLineInfo::FileNothing:
      return true;
  }
  return true;
}

}  // namespace ui
