// The console: the command interpreter behind ExecuteCommands, the tool-tip texts of the bars,
// the macro list and the bar show/hide commands.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/base/text.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/resource.h"
#include "spectrum/control/console/consoletable.h"
#include "spectrum/control/console/interpreter.h"
#include "spectrum/control/console/macrodialog.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/frames/mainframewnd.h"
#include "spectrum/control/module/command_ids.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"

using namespace plat::ole;

namespace {

using namespace nelvar;

constexpr ui::UINT IDS_COMMAND_ERROR = 3088;

// The bar each show/hide command toggles, and whether it needs a container besides the bar frame.
struct BarToggle {
  ui::UINT commandId;
  ui::UINT barId;
  bool needsContainer;
};
constexpr BarToggle kBarToggles[] = {
    {ID_BAR_SPECTRUM, IDW_SPECTRUMBAR, false},   {ID_BAR_INTEGRALS, IDW_INTEGRALBAR, false},
    {ID_BAR_PHASE, IDW_PHASEBAR, false},         {ID_BAR_CALIBRATE, IDW_PICKBAR, false},
    {ID_BAR_CONSOLE, IDW_CONSOLEBAR, false},     {ID_BAR_TRANSFORMS, IDW_TRANSFORMBAR, false},
    {ID_BAR_BASELINE, IDW_BASELINEBAR, false},   {ID_BAR_MULTIDISPLAY, IDW_MULTIDISPBAR, true},
    {ID_BAR_NAVIGATOR, IDW_NAVIGATEBAR, false},
};

const BarToggle* FindToggle(ui::UINT commandId) {
  for (const BarToggle& t : kBarToggles)
    if (t.commandId == commandId) return &t;
  return nullptr;
}

// With KEDRUS_CONSOLE_TRACE set, every command the console sends is written as it goes: to the
// standard output for "-", else appended to the file it names (the host tool's and the tests'
// trace of what a command text ran).
void TraceCommand(ui::UINT commandId, bool enabled) {
  const char* trace = std::getenv("KEDRUS_CONSOLE_TRACE");
  if (!trace || !*trace) return;
  const bool toStdout = std::strcmp(trace, "-") == 0;
  std::FILE* out = toStdout ? stdout : std::fopen(trace, "a");
  if (!out) return;
  std::fprintf(out, "console command %u%s\n", commandId, enabled ? "" : " disabled");
  if (toStdout) std::fflush(out);
  else std::fclose(out);
}

// The interpreter's view of the control.
class ControlConsole : public ConsoleTarget {
 public:
  explicit ControlConsole(CSpcControl& control) : m_control(control) {}

  void SetArguments(std::vector<std::string> args) override {
    m_control.m_args.clear();
    for (const std::string& arg : args) {
      CVariant v;
      v.SetString(arg);
      m_control.m_args.push_back(std::move(v));
    }
  }
  void SendCommand(ui::UINT commandId) override { m_control.RunConsoleCommand(commandId); }
  bool GetParameter(std::string_view name, std::string* value) override { return m_control.GetParamText(name, value); }
  void SetParameter(std::string_view name, std::string_view value) override { m_control.SetParamText(name, value); }
  std::string Evaluate(std::string_view expression) override {
    std::string text(expression);
    m_control.EvaluateExpression(text);
    return text;
  }
  bool EditValue(std::string_view name, std::string* text) override {
    return m_control.AskParamValue(std::string(name), text);
  }

 private:
  CSpcControl& m_control;
};

std::string CommandErrorText(std::string_view commands) {
  std::string text = ui::LoadString(IDS_COMMAND_ERROR);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, commands);
  return text;
}

}  // namespace

const ui::MsgEntry* CSpcControl::ConsoleMessages() {
  static const ui::MsgEntry entries[] = {
      ui::map::Command(ID_EDIT_MACROS, &CSpcControl::OnEditMacroList),
      ui::map::UpdateUI(ID_EDIT_MACROS, &CSpcControl::OnUpdateEditMacroList),
      ui::map::CommandRange(ID_BAR_SPECTRUM, ID_BAR_CONSOLE, &CSpcControl::OnToggleBar),
      ui::map::UpdateUIRange(ID_BAR_SPECTRUM, ID_BAR_CONSOLE, &CSpcControl::OnUpdateToggleBar),
      ui::map::CommandRange(ID_BAR_TRANSFORMS, ID_BAR_BASELINE, &CSpcControl::OnToggleBar),
      ui::map::UpdateUIRange(ID_BAR_TRANSFORMS, ID_BAR_BASELINE, &CSpcControl::OnUpdateToggleBar),
      ui::map::CommandRange(ID_BAR_MULTIDISPLAY, ID_BAR_MULTIDISPLAY, &CSpcControl::OnToggleBar),
      ui::map::UpdateUIRange(ID_BAR_MULTIDISPLAY, ID_BAR_MULTIDISPLAY, &CSpcControl::OnUpdateToggleBar),
      ui::map::CommandRange(ID_BAR_NAVIGATOR, ID_BAR_NAVIGATOR, &CSpcControl::OnToggleBar),
      ui::map::UpdateUIRange(ID_BAR_NAVIGATOR, ID_BAR_NAVIGATOR, &CSpcControl::OnUpdateToggleBar),
      ui::map::NotifyEx(ui::TTN_NEEDTEXTA, 0, 0xFFFF, &CSpcControl::OnToolTipText),
      ui::map::NotifyEx(ui::TTN_NEEDTEXTW, 0, 0xFFFF, &CSpcControl::OnToolTipText),
      {}};
  return entries;
}

void CSpcControl::RunConsoleCommand(ui::UINT commandId) {
  const ui::CommandState state = ui::QueryCommandState(this, commandId, false);
  TraceCommand(commandId, !state.updateHandled || state.enabled);
  OnCommand(commandId, 0);
}

HResult CSpcControl::XSpectrumControl::ExecuteCommands(const char16_t* commands) {
  CSpcControl& control = outer<CSpcControl>();
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  // Read up to its terminator, so a plain string serves as well as a BSTR.
  const std::string text = plat::toUtf8(commands ? std::u16string_view(commands) : std::u16string_view());
  control.m_result.Clear();
  ControlConsole console(control);
  try {
    std::vector<std::string> pieces;
    if (!ExpandMacros(text, MacroList{SpcApp().m_macroNames, SpcApp().m_macroBodies}, &pieces))
      throw std::runtime_error("macro expansion without end");
    for (const std::string& piece : pieces) RunPiece(piece, console);
  } catch (...) {
    control.m_args.clear();
    ui::AppMessageBox(CommandErrorText(text), ui::MB_OK | ui::MB_ICONSTOP);
    return E_FAIL;
  }
  control.m_args.clear();
  return S_OK;
}

void CSpcControl::OnToggleBar(ui::UINT commandId) {
  const BarToggle* toggle = FindToggle(commandId);
  CMainFrameWnd* frame = GetMainFrame();
  if (!toggle || !HasBarFrame() || (toggle->needsContainer && !HasContainer())) return;
  frame->ToggleBar(toggle->barId, !frame->IsBarVisible(toggle->barId));
}

void CSpcControl::OnUpdateToggleBar(ui::CmdUI* cmdUI) {
  const BarToggle* toggle = FindToggle(cmdUI->m_nID);
  CMainFrameWnd* frame = GetMainFrame();
  const bool enabled = toggle && HasBarFrame() && (!toggle->needsContainer || HasContainer());
  cmdUI->Enable(enabled);
  cmdUI->SetCheck(enabled && frame->IsBarVisible(toggle->barId) ? 1 : 0);
}

void CSpcControl::OnEditMacroList() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  CMacroListDlg dialog(SpcApp().m_macroNames, SpcApp().m_macroBodies, this);
  dialog.DoModal();
}

void CSpcControl::OnUpdateEditMacroList(ui::CmdUI* cmdUI) { cmdUI->Enable(true); }

bool CSpcControl::OnToolTipText(ui::UINT id, ui::NMHDR* hdr, ui::LRESULT* result) {
  auto* info = reinterpret_cast<ui::NMTTDISPINFO*>(hdr);
  if (!info || id == 0) return false;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const std::string text = ConsoleHelpText(id);
  if (text.empty()) return false;
  const std::size_t n = std::min(text.size(), sizeof info->szText - 1);
  std::memcpy(info->szText, text.data(), n);
  info->szText[n] = 0;
  info->lpszText = info->szText;
  if (result) *result = 0;
  return true;
}
