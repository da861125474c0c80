// Static splitter windows.
#include "platform/ui/splitter.h"

#include <algorithm>

#include "platform/gdi/types.h"
#include "platform/ui/dc.h"

namespace ui {

UI_IMPLEMENT_DYNAMIC(SplitterWnd, Wnd)

UI_BEGIN_MESSAGE_MAP(SplitterWnd, Wnd)
  map::Paint(&SplitterWnd::OnPaint),
  map::Size(&SplitterWnd::OnSize),
  map::LButtonDown(&SplitterWnd::OnLButtonDown),
  map::MouseMove(&SplitterWnd::OnMouseMove),
  map::LButtonUp(&SplitterWnd::OnLButtonUp),
  map::SetCursor(&SplitterWnd::OnSetCursor),
  map::CaptureChanged(&SplitterWnd::OnCaptureChanged),
UI_END_MESSAGE_MAP()

bool SplitterWnd::CreateStatic(Wnd* parent, int rows, int cols, DWORD style, UINT id) {
  if (!parent || rows < 1 || rows > 16 || cols < 1 || cols > 16) return false;
  rows_.assign(static_cast<std::size_t>(rows), Track{});
  cols_.assign(static_cast<std::size_t>(cols), Track{});
  return Create(nullptr, "", style | WS_CHILD | WS_CLIPCHILDREN, Rect(), parent, id);
}

UINT SplitterWnd::IdFromRowCol(int row, int col) const {
  return AFX_IDW_PANE_FIRST + static_cast<UINT>(row) * 16 + static_cast<UINT>(col);
}

Wnd* SplitterWnd::GetPane(int row, int col) const {
  if (row < 0 || row >= GetRowCount() || col < 0 || col >= GetColumnCount()) return nullptr;
  return GetDlgItem(IdFromRowCol(row, col));
}

void SplitterWnd::SetRowInfo(int row, int ideal, int minimum) {
  if (row < 0 || row >= GetRowCount()) return;
  rows_[static_cast<std::size_t>(row)].ideal = std::max(0, ideal);
  rows_[static_cast<std::size_t>(row)].minimum = std::max(0, minimum);
}

void SplitterWnd::SetColumnInfo(int col, int ideal, int minimum) {
  if (col < 0 || col >= GetColumnCount()) return;
  cols_[static_cast<std::size_t>(col)].ideal = std::max(0, ideal);
  cols_[static_cast<std::size_t>(col)].minimum = std::max(0, minimum);
}

bool SplitterWnd::GetRowInfo(int row, int* current, int* minimum) const {
  if (row < 0 || row >= GetRowCount()) return false;
  if (current) *current = rows_[static_cast<std::size_t>(row)].current;
  if (minimum) *minimum = rows_[static_cast<std::size_t>(row)].minimum;
  return true;
}

bool SplitterWnd::GetColumnInfo(int col, int* current, int* minimum) const {
  if (col < 0 || col >= GetColumnCount()) return false;
  if (current) *current = cols_[static_cast<std::size_t>(col)].current;
  if (minimum) *minimum = cols_[static_cast<std::size_t>(col)].minimum;
  return true;
}

void SplitterWnd::Distribute(std::vector<Track>& tracks, int length) {
  int left = std::max(0, length - kBarSize * (static_cast<int>(tracks.size()) - 1));
  for (std::size_t i = 0; i + 1 < tracks.size(); ++i) {
    tracks[i].current = std::min(tracks[i].ideal, left);
    left -= tracks[i].current;
  }
  tracks.back().current = left;
}

int SplitterWnd::TrackStart(const std::vector<Track>& tracks, int index) const {
  int start = 0;
  for (int i = 0; i < index; ++i) start += tracks[static_cast<std::size_t>(i)].current + kBarSize;
  return start;
}

void SplitterWnd::RecalcLayout() {
  if (!IsWindow() || rows_.empty()) return;
  Rect client;
  GetClientRect(&client);
  Distribute(rows_, client.Height());
  Distribute(cols_, client.Width());
  for (int r = 0; r < GetRowCount(); ++r)
    for (int c = 0; c < GetColumnCount(); ++c)
      if (Wnd* pane = GetPane(r, c)) {
        const Rect place(TrackStart(cols_, c), TrackStart(rows_, r), TrackStart(cols_, c) + cols_[static_cast<std::size_t>(c)].current,
                         TrackStart(rows_, r) + rows_[static_cast<std::size_t>(r)].current);
        Rect now;
        pane->GetWindowRect(&now);
        ScreenToClient(&now);
        if (now != place) pane->MoveWindow(place);
      }
  Invalidate();
}

void SplitterWnd::OnPaint() {
  PaintDC dc(this);
  Rect client;
  GetClientRect(&client);
  dc.FillSolidRect(client, gdi::GetSysColor(gdi::COLOR_BTNFACE));
}

void SplitterWnd::OnSize(UINT, int, int) { RecalcLayout(); }

int SplitterWnd::RowBarAt(Point point) const {
  for (int r = 0; r + 1 < GetRowCount(); ++r) {
    const int top = TrackStart(rows_, r) + rows_[static_cast<std::size_t>(r)].current;
    if (point.y >= top && point.y < top + kBarSize) return r;
  }
  return -1;
}

int SplitterWnd::ColumnBarAt(Point point) const {
  for (int c = 0; c + 1 < GetColumnCount(); ++c) {
    const int left = TrackStart(cols_, c) + cols_[static_cast<std::size_t>(c)].current;
    if (point.x >= left && point.x < left + kBarSize) return c;
  }
  return -1;
}

void SplitterWnd::OnLButtonDown(UINT, Point point) {
  dragRow_ = RowBarAt(point);
  dragCol_ = dragRow_ < 0 ? ColumnBarAt(point) : -1;
  if (dragRow_ >= 0 || dragCol_ >= 0) SetCapture();
}

void SplitterWnd::OnMouseMove(UINT, Point point) {
  if (GetCapture() != this) return;
  // The bar follows the pointer; a track never goes below its minimum.
  if (dragRow_ >= 0) {
    Track& t = rows_[static_cast<std::size_t>(dragRow_)];
    t.ideal = std::max(t.minimum, point.y - TrackStart(rows_, dragRow_) - kBarSize / 2);
  } else if (dragCol_ >= 0) {
    Track& t = cols_[static_cast<std::size_t>(dragCol_)];
    t.ideal = std::max(t.minimum, point.x - TrackStart(cols_, dragCol_) - kBarSize / 2);
  } else {
    return;
  }
  RecalcLayout();
}

void SplitterWnd::OnLButtonUp(UINT flags, Point point) {
  if (GetCapture() != this) return;
  OnMouseMove(flags, point);
  ReleaseCapture();
}

void SplitterWnd::OnCaptureChanged(Wnd*) {
  dragRow_ = -1;
  dragCol_ = -1;
}

bool SplitterWnd::OnSetCursor(Wnd* wnd, UINT hitTest, UINT) {
  if (wnd != this || hitTest != HTCLIENT) return false;
  Point p;
  GetCursorPos(&p);
  ScreenToClient(&p);
  if (RowBarAt(p) >= 0) ui::SetCursor(LoadStandardCursor(IDC_SIZENS));
  else if (ColumnBarAt(p) >= 0) ui::SetCursor(LoadStandardCursor(IDC_SIZEWE));
  else return false;
  return true;
}

bool SplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  Wnd* parent = GetParent();
  return parent && parent->SendMessage(WM_COMMAND, wParam, lParam) != 0;
}

bool SplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  Wnd* parent = GetParent();
  if (!parent) return false;
  *result = parent->SendMessage(WM_NOTIFY, wParam, lParam);
  return true;
}

}  // namespace ui
