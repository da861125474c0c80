#pragma once
// The property pages of the auxiliary controls, made by class id when a container shows a
// control's properties:
//   CKnobPropPage, CSButtonPropPage   "General": nothing to edit
//   CTablePropPage1 "Size && Position" the table's column and row counts, its defaults
//   CTablePropPage2 "Cells"            text, colour and font of each cell
//   CStructPropPage "Structure"        the structure's colours, font, line width, hollow flag
//   CFieldsPropPage "Fields"           the fields' colours, font, line width, columns, shown texts
// The table's pages talk to the first object through ITableControl; the structure's edit its
// automation properties by name. Every page acts on the first object it is given only (the
// named-property helpers of the base walk them all; the structure pages are shown for one).
#include <map>
#include <string>
#include <utility>

#include "common/itablecontrol.h"
#include "controls/pagebase/pagebase.h"
#include "controls/pages/pagedialogs.h"

namespace karvel {

class CKnobPropPage : public plat::ole::OlePropertyPage {
 public:
  CKnobPropPage();
};

class CSButtonPropPage : public plat::ole::OlePropertyPage {
 public:
  CSButtonPropPage();
};

// A page over the table's custom interface.
class CTablePageBase : public COlePropertyPageEx {
 public:
  using COlePropertyPageEx::COlePropertyPageEx;
  void DoDataExchange(ui::DataExchange* dx) override;

 protected:
  // The first object's ITableControl, one reference for the caller; null when it has none.
  ITableControl* Table();
  // Set by SetProperties when the table refused what was applied: the apply fails and the page
  // stays dirty.
  bool m_applyFailed = false;
};

class CTablePropPage1 : public CTablePageBase {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CTablePropPage1();
  void GetProperties() override;
  void SetProperties() override;

 private:
  void OnCountChange();
  void OnSetAsDefault();
  bool m_showing = false;
};

class CTablePropPage2 : public CTablePageBase {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CTablePropPage2();
  void GetProperties() override;
  void SetProperties() override;

  std::uint32_t CurrentColumn() const { return m_column; }
  std::uint32_t CurrentRow() const { return m_row; }
  // Cells edited on the page and not applied yet.
  std::size_t PendingCells() const { return m_pending.size() + (m_cellEdited ? 1 : 0); }

 private:
  struct CellEdit {
    std::u16string text;
    gdi::COLORREF color = 0;
    gdi::LOGFONTA font{};
  };
  void ShowCell();
  // The current cell's items, kept as its pending edit when they were changed.
  void KeepCellEdit();
  void OnColumnChange();
  void OnRowChange();
  // A new selection in the column or row list: the current cell's edit is kept, the new one shown.
  void OnCellChange(ui::UINT list, std::uint32_t* index);
  void OnTextChange();
  void OnFont();
  void OnColor();
  void CellEdited();

  std::uint32_t m_column = 0;
  std::uint32_t m_row = 0;
  gdi::LOGFONTA m_font{};
  gdi::COLORREF m_color = 0;
  bool m_showing = false;
  bool m_cellEdited = false;
  std::map<std::pair<std::uint32_t, std::uint32_t>, CellEdit> m_pending;
};

// The structure's pages: colour buttons, a font, a line-width list and check boxes over named
// properties.
class CStructPageBase : public COlePropertyPageEx {
 public:
  using COlePropertyPageEx::COlePropertyPageEx;

 protected:
  // The colour button id with its colour: the chooser, then the swatch and the dirty flag.
  void PickColor(ui::UINT id, gdi::COLORREF* color);
  void PickFont();
  void ShowSwatch(ui::UINT id, gdi::COLORREF color);
  void ShowFont();
  void FillWidths(int width);
  // The width list's selection, else width unchanged.
  void ReadWidth(int* width);
  void ExchangeCheck(bool save, ui::UINT id, const char* name);

  gdi::LOGFONTA m_font{};
  int m_lineWidth = 0;
};

class CStructPropPage : public CStructPageBase {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CStructPropPage();
  void GetProperties() override;
  void SetProperties() override;

 private:
  void OnTextColor() { PickColor(IDC_TEXT_COLOR, &m_textColor); }
  void OnLineColor() { PickColor(IDC_LINE_COLOR, &m_lineColor); }
  void OnBackColor() { PickColor(IDC_BACK_COLOR, &m_backColor); }
  void OnHollow();
  void OnFont() { PickFont(); }
  void OnWidth() { SetModifiedFlag(); }
  void OnSetAsDefault();

  gdi::COLORREF m_textColor = 0;
  gdi::COLORREF m_lineColor = 0;
  gdi::COLORREF m_backColor = 0;
};

class CFieldsPropPage : public CStructPageBase {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CFieldsPropPage();
  void GetProperties() override;
  void SetProperties() override;

 private:
  void OnTextColor() { PickColor(IDC_TEXT_COLOR, &m_textColor); }
  void OnLineColor() { PickColor(IDC_LINE_COLOR, &m_lineColor); }
  void OnFont() { PickFont(); }
  void OnChange() { SetModifiedFlag(); }

  gdi::COLORREF m_textColor = 0;
  gdi::COLORREF m_lineColor = 0;
};

}  // namespace karvel
