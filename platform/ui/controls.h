#pragma once
// Standard controls behind window objects. Each class makes its window with its standard class
// name and offers the operations the product uses; the behaviour also works through messages,
// whatever the window's object is (a window made with the class name and another object type).
//
// Notifications go to the parent as WM_COMMAND (code, id, handle) or WM_NOTIFY, as the
// platform's controls send them: after a user action, not after the program's own changes
// (with the platform's exceptions: a single-line edit reports EN_CHANGE for SetWindowText too,
// a list view reports LVN_ITEMCHANGED for every state change).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/ui/wnd.h"

namespace ui {

// --- Messages of the standard controls (the few the product sends itself) ----------------------------
constexpr UINT EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETLINECOUNT = 0x00BA, EM_LINEINDEX = 0x00BB,
               EM_LINELENGTH = 0x00C1, EM_REPLACESEL = 0x00C2, EM_GETLINE = 0x00C4, EM_LIMITTEXT = 0x00C5,
               EM_LINEFROMCHAR = 0x00C9, EM_SETREADONLY = 0x00CF, EM_GETLIMITTEXT = 0x00D5;
constexpr UINT STM_SETIMAGE = 0x0172, STM_GETIMAGE = 0x0173;
constexpr UINT LB_ADDSTRING = 0x0180, LB_INSERTSTRING = 0x0181, LB_DELETESTRING = 0x0182, LB_RESETCONTENT = 0x0184,
               LB_SETCURSEL = 0x0186, LB_GETCURSEL = 0x0188, LB_GETTEXT = 0x0189, LB_GETTEXTLEN = 0x018A,
               LB_GETCOUNT = 0x018B, LB_GETITEMDATA = 0x0199, LB_SETITEMDATA = 0x019A;
constexpr UINT CB_GETEDITSEL = 0x0140, CB_LIMITTEXT = 0x0141, CB_SETEDITSEL = 0x0142, CB_ADDSTRING = 0x0143,
               CB_DELETESTRING = 0x0144, CB_GETCOUNT = 0x0146, CB_GETCURSEL = 0x0147, CB_GETLBTEXT = 0x0148,
               CB_GETLBTEXTLEN = 0x0149, CB_INSERTSTRING = 0x014A, CB_RESETCONTENT = 0x014B, CB_SETCURSEL = 0x014E,
               CB_SHOWDROPDOWN = 0x014F, CB_GETITEMDATA = 0x0150, CB_SETITEMDATA = 0x0151, CB_SETITEMHEIGHT = 0x0153,
               CB_GETITEMHEIGHT = 0x0154, CB_GETDROPPEDSTATE = 0x0157, CB_SETDROPPEDWIDTH = 0x0160,
               CB_GETDROPPEDWIDTH = 0x015F;
constexpr UINT TTM_ADDTOOL = 0x0404, TTM_DELTOOL = 0x0405;

// --- Buttons ----------------------------------------------------------------------------------------------
class Button : public Wnd {
 public:
  bool Create(std::string_view text, DWORD style, const Rect& rect, Wnd* parent, UINT id);
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetState() const;
  void SetState(bool pushed);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, bool redraw = true);
  // The image a BS_BITMAP button shows instead of its text (answers the previous one).
  gdi::Bitmap SetBitmap(const gdi::Bitmap& bitmap);
  gdi::Bitmap GetBitmap() const;
  // As a user's click: BN_CLICKED to the parent (and the check change of an automatic button).
  void Click();
  // Owner-drawn buttons (BS_OWNERDRAW) draw here (WM_DRAWITEM reflected to the button).
  virtual void DrawItem(DRAWITEMSTRUCT* dis);
  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 protected:
  const char* DefaultClassName() const override { return "BUTTON"; }
};

// --- Statics ----------------------------------------------------------------------------------------------
class Static : public Wnd {
 public:
  bool Create(std::string_view text, DWORD style, const Rect& rect, Wnd* parent, UINT id = 0xFFFF);
  gdi::Bitmap SetBitmap(const gdi::Bitmap& bitmap);
  gdi::Bitmap GetBitmap() const;

 protected:
  const char* DefaultClassName() const override { return "STATIC"; }
};

// --- Edits ------------------------------------------------------------------------------------------------
// Character positions count 16-bit units of the text.
class Edit : public Wnd {
 public:
  bool Create(DWORD style, const Rect& rect, Wnd* parent, UINT id);
  void GetSel(int* start, int* end) const;
  DWORD GetSel() const;
  // end -1: to the end; start -1: no selection.
  void SetSel(int start, int end, bool noScroll = false);
  void ReplaceSel(std::string_view text, bool canUndo = false);
  void Clear();
  // 0: no limit beyond the platform's.
  void SetLimitText(UINT maxChars);
  void LimitText(UINT maxChars = 0) { SetLimitText(maxChars); }
  UINT GetLimitText() const;
  bool SetReadOnly(bool readOnly = true);
  int GetLineCount() const;
  // The text of a line, whole.
  std::string GetLine(int line) const;
  // -1: the line of the caret (or the selection's start).
  int LineFromChar(int charIndex = -1) const;
  int LineIndex(int line = -1) const;
  int LineLength(int charIndex = -1) const;
  bool GetModify() const;
  void SetModify(bool modified = true);

 protected:
  const char* DefaultClassName() const override { return "EDIT"; }
};

// --- List boxes -------------------------------------------------------------------------------------------
class ListBox : public Wnd {
 public:
  bool Create(DWORD style, const Rect& rect, Wnd* parent, UINT id);
  int AddString(std::string_view text);          // LBS_SORT: at its sorted place
  int InsertString(int index, std::string_view text);  // -1: at the end
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);  // -1: none
  std::string GetText(int index) const;
  int GetTextLen(int index) const;
  int FindString(int startAfter, std::string_view prefix) const;
  int FindStringExact(int startAfter, std::string_view text) const;
  int SelectString(int startAfter, std::string_view prefix);
  UINT_PTR GetItemData(int index) const;
  int SetItemData(int index, UINT_PTR data);
  int GetSel(int index) const;
  int SetSel(int index, bool select = true);
  int GetSelCount() const;
  std::vector<int> GetSelItems() const;
  int GetTopIndex() const;
  int SetTopIndex(int index);
  int GetItemRect(int index, Rect* rect) const;
  int GetItemHeight(int index) const;
  int SetItemHeight(int index, UINT height);
  // The item at a client point; *outside set when the point is past the last item.
  UINT ItemFromPoint(Point point, bool* outside) const;
  virtual void DrawItem(DRAWITEMSTRUCT* dis);
  virtual void MeasureItem(MEASUREITEMSTRUCT* mis);
  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 protected:
  const char* DefaultClassName() const override { return "LISTBOX"; }
};

// --- Combo boxes ------------------------------------------------------------------------------------------
// The window is as high as its selection field; the height given at creation is the list's.
class ComboBox : public Wnd {
 public:
  bool Create(DWORD style, const Rect& rect, Wnd* parent, UINT id);
  int AddString(std::string_view text);
  int InsertString(int index, std::string_view text);
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  std::string GetLBText(int index) const;
  int GetLBTextLen(int index) const;
  int FindString(int startAfter, std::string_view prefix) const;
  int FindStringExact(int startAfter, std::string_view text) const;
  int SelectString(int startAfter, std::string_view prefix);
  UINT_PTR GetItemData(int index) const;
  int SetItemData(int index, UINT_PTR data);
  int SetItemHeight(int index, UINT height);  // -1: the selection field
  int GetItemHeight(int index) const;
  int SetDroppedWidth(UINT width);
  int GetDroppedWidth() const;
  bool LimitText(int maxChars);
  DWORD GetEditSel() const;
  bool SetEditSel(int start, int end);
  void ShowDropDown(bool show = true);
  bool GetDroppedState() const;
  virtual void DrawItem(DRAWITEMSTRUCT* dis);
  virtual void MeasureItem(MEASUREITEMSTRUCT* mis);
  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 protected:
  const char* DefaultClassName() const override { return "COMBOBOX"; }
};

// --- List views -------------------------------------------------------------------------------------------
struct NMLISTVIEW {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  Point ptAction;
  LPARAM lParam = 0;
};
using NMITEMACTIVATE = NMLISTVIEW;
struct NMLVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};

// An image list: equal-sized images cut from a strip.
class ImageList {
 public:
  bool Create(int cx, int cy);
  bool Create(const gdi::Bitmap& strip, int cx, COLORREF mask = gdi::CLR_INVALID);
  int Add(const gdi::Bitmap& bitmap);
  int GetImageCount() const { return static_cast<int>(images_.size()); }
  const gdi::Bitmap& Image(int index) const;
  Size ImageSize() const { return size_; }
  COLORREF Mask() const { return mask_; }

 private:
  Size size_;
  COLORREF mask_ = gdi::CLR_INVALID;
  std::vector<gdi::Bitmap> images_;
};
constexpr int LVSIL_NORMAL = 0, LVSIL_SMALL = 1;

class ListCtrl : public Wnd {
 public:
  using CompareFunc = int (*)(LPARAM, LPARAM, LPARAM);

  bool Create(DWORD style, const Rect& rect, Wnd* parent, UINT id);
  int InsertColumn(int index, std::string_view heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
  bool DeleteColumn(int index);
  int GetColumnCount() const;
  bool SetColumnWidth(int index, int width);
  int GetColumnWidth(int index) const;
  std::string GetColumnText(int index) const;
  bool SetColumnText(int index, std::string_view heading);
  int InsertItem(int index, std::string_view text, int image = -1);
  bool DeleteItem(int index);
  bool DeleteAllItems();
  int GetItemCount() const;
  bool SetItemText(int index, int subItem, std::string_view text);
  std::string GetItemText(int index, int subItem) const;
  bool SetItemData(int index, UINT_PTR data);
  UINT_PTR GetItemData(int index) const;
  bool SetItemState(int index, UINT state, UINT mask);
  UINT GetItemState(int index, UINT mask) const;
  int GetNextItem(int start, int flags) const;
  int GetSelectedCount() const;
  int GetSelectionMark() const { return GetNextItem(-1, LVNI_SELECTED); }
  bool EnsureVisible(int index, bool partialOk);
  bool GetItemRect(int index, Rect* rect, int code) const;
  int HitTest(Point point, UINT* flags = nullptr) const;
  int FindItem(std::string_view text, int start = -1) const;
  // Stable sort of the items by compare(data1, data2, data).
  bool SortItems(CompareFunc compare, LPARAM data);
  int GetStringWidth(std::string_view text) const;
  int GetTopIndex() const;
  int GetCountPerPage() const;
  void SetImageList(const ImageList* images, int kind);
  virtual void DrawItem(DRAWITEMSTRUCT* dis);
  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 protected:
  const char* DefaultClassName() const override { return "SysListView32"; }
};

// --- Tab controls -----------------------------------------------------------------------------------------
class TabCtrl : public Wnd {
 public:
  bool Create(DWORD style, const Rect& rect, Wnd* parent, UINT id);
  int InsertItem(int index, std::string_view text);
  bool DeleteItem(int index);
  bool DeleteAllItems();
  int GetItemCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  bool GetItemRect(int index, Rect* rect) const;
  std::string GetItemText(int index) const;
  bool SetItemText(int index, std::string_view text);
  // larger: from a display rectangle to the control's; else from the control's to its display area.
  void AdjustRect(bool larger, Rect* rect) const;

 protected:
  const char* DefaultClassName() const override { return "SysTabControl32"; }
};

// --- Tool tips --------------------------------------------------------------------------------------------
// Tools are areas of windows (or whole windows) with a text, or LPSTR_TEXTCALLBACK: then the
// control's parent (its owner) is asked with TTN_NEEDTEXT when the tip shows.
class ToolTipCtrl : public Wnd {
 public:
  bool Create(Wnd* parent, DWORD style = 0);
  bool AddTool(Wnd* wnd, std::string_view text, const Rect* rect = nullptr, UINT_PTR id = 0);
  bool AddTool(Wnd* wnd, const char* textOrCallback, const Rect* rect = nullptr, UINT_PTR id = 0);
  void DelTool(Wnd* wnd, UINT_PTR id = 0);
  void UpdateTipText(std::string_view text, Wnd* wnd, UINT_PTR id = 0);
  void SetToolRect(Wnd* wnd, UINT_PTR id, const Rect& rect);
  int GetToolCount() const;
  void Activate(bool activate);
  bool IsActive() const;
  void RelayEvent(const MSG*) {}

 protected:
  const char* DefaultClassName() const override { return "tooltips_class32"; }
};

}  // namespace ui
