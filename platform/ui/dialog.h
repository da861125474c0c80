#pragma once
// Dialogs from templates, and value exchange.
//
// A template gives the caption, the font, the size and the items in dialog units; the dialog
// lays its items out from the template font's metrics (a horizontal unit is a quarter of the
// font's average character width, a vertical unit an eighth of its height), makes a window of
// the item's class for each and gives it the font, then sends WM_INITDIALOG.
//
// DoModal runs the dialog modally: the owner is disabled, the modal responder is asked once the
// dialog is initialised (responder.h) and its answer ends the dialog (IDOK through OnOK, so the
// dialog's own validation and exchange run; IDCANCEL through OnCancel). Without a responder on a
// system without a display, the answer is IDCANCEL. Create makes a modeless dialog.
//
// Value exchange (DoDataExchange with the DDX_ helpers) moves member values into the items and
// back, as text, integers and floats in the formats the caller gives; a text that does not read
// as a number leaves the member as it was.
#include <string>
#include <string_view>

#include "platform/gdi/objects.h"
#include "platform/ui/resource.h"
#include "platform/ui/wnd.h"

namespace ui {

class DataExchange;

// The dialog base units (average character width, height) of a font.
Size DialogBaseUnits(const gdi::Font& font);
// The font a template names (its point size at 96 pixels per inch).
gdi::Font DialogFont(const DialogResource& tmpl);
// Makes the items of a template in parent (dialog units from baseUnits), each with its object
// of the matching class, owned by its window. Answers false when one could not be made.
bool CreateDialogItems(Wnd* parent, const DialogResource& tmpl, const gdi::Font& font, Size baseUnits);

class Dialog : public Wnd {
  UI_DECLARE_DYNAMIC(Dialog)
  UI_DECLARE_MESSAGE_MAP()

 public:
  Dialog() = default;
  explicit Dialog(UINT templateId, Wnd* parent = nullptr);
  ~Dialog() override;

  // A modeless dialog from a template of the current module.
  bool Create(UINT templateId, Wnd* parent = nullptr);
  bool CreateIndirect(const DialogResource& tmpl, Wnd* parent = nullptr);
  virtual int DoModal();
  void EndDialog(int result);
  bool IsModal() const { return m_modal; }
  bool IsEnded() const { return m_ended; }
  int GetResult() const { return m_result; }

  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(DataExchange* dx);
  // save: items into members (with validation); else members into items.
  bool UpdateData(bool saveAndValidate = true);

  void NextDlgCtrl();
  void PrevDlgCtrl();
  void GotoDlgCtrl(Wnd* control);
  void SetDefID(UINT id) { m_defId = id; }
  UINT GetDefID() const { return m_defId; }
  // Dialog units of this dialog's font into pixels.
  void MapDialogRect(Rect* rect) const;
  Size GetBaseUnits() const { return m_baseUnits; }
  const gdi::Font& GetDialogFont() const { return m_font; }

  // Tab, Return, Escape and arrow keys move between and press the items.
  bool PreTranslateMessage(MSG* msg) override;
  // For a responder: a click on a push button (BN_CLICKED from the item, as the user gives it).
  bool PressButton(UINT id);

  UINT m_nIDTemplate = 0;
  Wnd* m_pParentWnd = nullptr;

  LRESULT OnInitDialogMessage(WPARAM wParam, LPARAM lParam);
  void OnCloseMessage();

 protected:
  friend class PropertySheet;
  const DialogResource* m_template = nullptr;
  // Item and dialog window creation from the template; child dialogs (property pages) pass a
  // child style.
  bool CreateFromTemplate(const DialogResource& tmpl, Wnd* parent, DWORD extraStyle, DWORD removeStyle);
  bool m_modal = false;
  bool m_ended = false;
  int m_result = IDCANCEL;
  UINT m_defId = IDOK;
  gdi::Font m_font;
  Size m_baseUnits{6, 13};
};

// --- Value exchange ---------------------------------------------------------------------------------------
class DataExchange {
 public:
  DataExchange(Wnd* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  Wnd* PrepareCtrl(UINT id);
  // Marks the exchange failed (UpdateData answers false); the focus goes to the last item.
  void Fail();
  Wnd* m_pDlgWnd;
  bool m_bSaveAndValidate;
  bool m_failed = false;
  UINT m_lastId = 0;
};

void DDX_Text(DataExchange* dx, UINT id, std::string& value);
// Integers as "%d" / "%u"; floats with a printf format ("%.3f", "%g", ...) written in the C
// locale and read as the runtime's "%f" reads (leading blanks, a number prefix).
void DDX_Text(DataExchange* dx, UINT id, int& value);
void DDX_Text(DataExchange* dx, UINT id, unsigned& value);
void DDX_Text(DataExchange* dx, UINT id, double& value, const char* format = "%g");
void DDX_Text(DataExchange* dx, UINT id, float& value, const char* format = "%g");
void DDX_Check(DataExchange* dx, UINT id, int& value);
// The index of the checked radio button of the group that starts with id (-1: none).
void DDX_Radio(DataExchange* dx, UINT id, int& value);
void DDX_CBIndex(DataExchange* dx, UINT id, int& index);
void DDX_CBString(DataExchange* dx, UINT id, std::string& value);
void DDX_LBIndex(DataExchange* dx, UINT id, int& index);
void DDX_LBString(DataExchange* dx, UINT id, std::string& value);
// The item's window becomes control's (control's class must fit the item's).
void DDX_Control(DataExchange* dx, UINT id, Wnd& control);
void DDV_MinMaxInt(DataExchange* dx, int value, int minValue, int maxValue);
void DDV_MaxChars(DataExchange* dx, const std::string& value, int maxChars);

// Number text in the C locale: one printf conversion (%d %i %u %ld %lu %hu %f %e %g %E %G, with
// flags, width and precision) formats value; anything else is copied as it is.
std::string FormatNumber(const char* format, double value);
std::string FormatInteger(const char* format, long long value);
// The runtime's scanf reading of a number: leading blanks, then the longest number prefix.
bool ScanDouble(std::string_view text, double* value);
bool ScanInteger(std::string_view text, long long* value);

}  // namespace ui
