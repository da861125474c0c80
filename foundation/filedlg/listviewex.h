#pragma once
// CListViewEx: the file list of the explorer-style file dialogs, a report-style list that draws
// its rows itself: each row in the colour its item data holds (the marked files blue), the
// selected rows on grey, the name left-aligned and the other cells centred.
#include <string>

#include "platform/ui/controls.h"

class CListViewEx : public ui::ListCtrl {
 public:
  static constexpr ui::COLORREF kSelectedBackground = 0x787878;
  // The room a cell leaves on each side of its text.
  static constexpr int kTextMargin = 2;

  // Widens the column, when it is narrower, so that the text shows whole in a cell of it.
  void FitColumnTo(int column, const std::string& text);

  void DrawItem(ui::DRAWITEMSTRUCT* dis) override;
};
