// The file list's own drawing.
#include "foundation/filedlg/listviewex.h"

#include "platform/gdi/dc.h"

void CListViewEx::DrawItem(ui::DRAWITEMSTRUCT* dis) {
  if (!dis || !dis->hDC) return;
  gdi::DC& dc = *dis->hDC;
  const int row = static_cast<int>(dis->itemID);
  const gdi::Font oldFont = dc.SelectObject(GetFont());
  const ui::COLORREF back = (dis->itemState & ui::ODS_SELECTED) ? kSelectedBackground : gdi::GetSysColor(gdi::COLOR_WINDOW);
  const ui::COLORREF oldText = dc.SetTextColor(static_cast<ui::COLORREF>(dis->itemData));
  const int oldMode = dc.SetBkMode(gdi::TRANSPARENT);
  const ui::Rect& item = dis->rcItem;
  int x = item.left;
  for (int column = 0; column < GetColumnCount(); ++column) {
    const ui::Rect cell(x, item.top, x + GetColumnWidth(column), item.bottom);
    dc.FillSolidRect(cell, back);
    ui::Rect text = cell;
    text.DeflateRect(kTextMargin, 0);
    dc.DrawText(GetItemText(row, column), &text,
                gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX | (column == 0 ? gdi::DT_LEFT : gdi::DT_CENTER));
    x = cell.right;
  }
  ui::Rect client;
  GetClientRect(&client);
  if (x < client.right) dc.FillSolidRect(ui::Rect(x, item.top, client.right, item.bottom), back);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldText);
  dc.SelectObject(oldFont);
}

void CListViewEx::FitColumnTo(int column, const std::string& text) {
  // One pixel more than the text: DrawText's cell ends before its right edge.
  const int needed = GetStringWidth(text) + 2 * kTextMargin + 1;
  if (GetColumnWidth(column) < needed) SetColumnWidth(column, needed);
}
