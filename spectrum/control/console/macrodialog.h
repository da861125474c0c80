#pragma once
// CMacroListDlg: the macro list as text, one "name = body" line a macro. OK takes the edited
// list for this process; Save also stores it in the module's profile (section "Macros") and the
// dialog stays open; Cancel changes nothing.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

class COrvProfDesc;

namespace nelvar {

constexpr ui::UINT IDD_MACROLIST = 231;
constexpr ui::UINT IDC_MACRO_EDIT = 1052;
constexpr ui::UINT IDC_MACRO_SAVE = 1053;

struct Macros {
  std::vector<std::string> names;
  std::vector<std::string> bodies;
};

// The edit's text of a list: name + " = " + body + "\r\n" for each macro.
std::string FormatMacroLines(const std::vector<std::string>& names, const std::vector<std::string>& bodies);
// One line of the edit: name up to the first "=", body after it (up to a line break); both
// trimmed. False for a line without "=", with nothing after it, or with an empty name.
bool ParseMacroLine(std::string_view line, std::string* name, std::string* body);

// Stores the list in the section "Macros" of the module's profile: the section is opened (made
// when missing) first; each macro is written, and only when all are written are the entries
// that the list no longer holds removed. False, with what was stored left as it was where the
// writes did not reach, when the section cannot be opened or a write fails.
// write stores one value (the profile's string write; tests pass one that fails).
using MacroWriter = int (*)(const char16_t* name, const char16_t* value, COrvProfDesc* desc);
bool StoreMacros(const std::vector<std::string>& names, const std::vector<std::string>& bodies,
                 MacroWriter write = nullptr);

class CMacroListDlg : public ui::Dialog {
  UI_DECLARE_MESSAGE_MAP()

 public:
  // The lists the dialog shows and changes (the module's, shared by every control).
  CMacroListDlg(std::vector<std::string>& names, std::vector<std::string>& bodies, ui::Wnd* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnSave();

 private:
  // Both lists replaced by the edit's lines.
  void ReadEdit();

  std::vector<std::string>& m_names;
  std::vector<std::string>& m_bodies;
  ui::Edit m_edit;
};

}  // namespace nelvar
