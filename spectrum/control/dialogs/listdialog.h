#pragma once
// CListDialog: a list of choices (template 217, list box 1047) from which the user picks one,
// the spectrum converters' choice callback when a file holds several experiments or data sets.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"

class CListDialog : public ui::Dialog {
  UI_DECLARE_DYNAMIC(CListDialog)
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr ui::UINT kTemplateId = 217;
  static constexpr ui::UINT kListId = 1047;

  explicit CListDialog(std::vector<std::string> choices, ui::Wnd* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnDblClkList();

  std::vector<std::string> m_choices;
  // After OK the list's selection (-1: none); it starts at 0, which Cancel leaves.
  std::int32_t m_chosen = 0;
};

// The converters' choice function: the chosen index on OK (-1 without a selection), 0 when the
// dialog is cancelled. The template comes from the module state in force (the loader's).
std::int32_t ChooseFromListDialog(const std::vector<std::string>& choices);
