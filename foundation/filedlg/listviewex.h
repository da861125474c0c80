#pragma once
// CListViewEx: the file list of the explorer-style file dialogs, a report-style list that draws
// its rows itself: each row in the colour its item data holds (the marked files blue), the
// selected rows on grey, the name left-aligned and the other cells centred.
#include "platform/ui/controls.h"

class CListViewEx : public ui::ListCtrl {
 public:
  static constexpr ui::COLORREF kSelectedBackground = 0x787878;

  void DrawItem(ui::DRAWITEMSTRUCT* dis) override;
};
