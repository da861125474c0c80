#pragma once
// CSaveSchemeDlg, "Save Scheme As" (213): the name a scheme is saved under, typed into edit 1041,
// which has the focus when the dialog opens.
#include <string>

#include "platform/ui/dialog.h"

namespace nelvar {

constexpr ui::UINT IDD_SAVE_SCHEME = 213;
constexpr ui::UINT IDC_SCHEME_NAME = 1041;

class CSaveSchemeDlg : public ui::Dialog {
 public:
  explicit CSaveSchemeDlg(std::string name, ui::Wnd* parent = nullptr);
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange* dx) override;

  std::string m_strName;
};

// The dialog in the module's state, starting on *name; on OK *name is what was typed.
bool AskSchemeName(ui::Wnd* owner, std::string* name);

}  // namespace nelvar
