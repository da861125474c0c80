#pragma once
// Static splitter windows: a fixed grid of panes (rows x columns) divided by bars that the
// user drags to resize them. Each pane is a child window of the splitter whose id names its
// place, IdFromRowCol(row, col) = AFX_IDW_PANE_FIRST + 16 * row + col, so any window made with
// the splitter as parent and that id becomes a pane; the splitter keeps the panes laid out.
//
// Every row but the last takes its ideal height (as far as the splitter's height allows) and
// the last takes the rest; columns the same with widths. Notifications and commands of the
// panes go on to the splitter's parent, so the frame that holds the splitter handles them as
// if the panes were its own children.
#include <vector>

#include "platform/ui/wnd.h"

namespace ui {

class SplitterWnd : public Wnd {
  UI_DECLARE_DYNAMIC(SplitterWnd)
  UI_DECLARE_MESSAGE_MAP()

 public:
  // Space between two panes, in pixels (the bar the user drags).
  static constexpr int kBarSize = 6;

  // rows and cols from 1 to 16.
  bool CreateStatic(Wnd* parent, int rows, int cols, DWORD style = WS_CHILD | WS_VISIBLE,
                    UINT id = AFX_IDW_PANE_FIRST);
  int GetRowCount() const { return static_cast<int>(rows_.size()); }
  int GetColumnCount() const { return static_cast<int>(cols_.size()); }
  UINT IdFromRowCol(int row, int col) const;
  Wnd* GetPane(int row, int col) const;

  // The ideal size asked for (the current one follows on the next layout) and the smallest.
  void SetRowInfo(int row, int ideal, int minimum);
  void SetColumnInfo(int col, int ideal, int minimum);
  // The size the row has now; false for no such row.
  bool GetRowInfo(int row, int* current, int* minimum) const;
  bool GetColumnInfo(int col, int* current, int* minimum) const;
  void RecalcLayout();

  void OnPaint();
  void OnSize(UINT type, int cx, int cy);
  void OnLButtonDown(UINT flags, Point point);
  void OnMouseMove(UINT flags, Point point);
  void OnLButtonUp(UINT flags, Point point);
  bool OnSetCursor(Wnd* wnd, UINT hitTest, UINT message);
  void OnCaptureChanged(Wnd* wnd);
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  struct Track {
    int ideal = 0;
    int minimum = 0;
    int current = 0;
  };
  // Sizes of the tracks along a length: all but the last at their ideal size while it fits.
  static void Distribute(std::vector<Track>& tracks, int length);
  // The bar under a client point: a row bar (horizontal) or a column bar; -1 when none.
  int RowBarAt(Point point) const;
  int ColumnBarAt(Point point) const;
  int TrackStart(const std::vector<Track>& tracks, int index) const;

  std::vector<Track> rows_;
  std::vector<Track> cols_;
  int dragRow_ = -1;
  int dragCol_ = -1;
};

}  // namespace ui
