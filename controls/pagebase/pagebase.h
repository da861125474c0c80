#pragma once
// COlePropertyPageEx: the base of every property page of the two control libraries. Beside the
// platform's control property page it keeps the container's locale for name lookups, routes the
// page's value exchange to two operations of the page (SetProperties when saving, GetProperties
// otherwise), grows its frame when the page is larger than the frame's page area, reads and
// writes named integer and font properties on every object the page edits, draws colour swatches,
// asks for colours and fills line-width combos.
//
// SaveDispatchProperties and LoadDispatchProperties store every property of a control's dispatch
// interface that is not hidden in a profile section, and read them back, through the control's
// type information (the "S&et As Default" buttons, property sets and schemes are built on them):
//   32-bit integer or BOOL   DWORD (a BOOL as 0 or 1)
//   32-bit float             binary of its 4 bytes (loaded only from exactly 4 bytes)
//   OLE_COLOR                DWORD
//   font (IFontDisp)         a subsection named by the property with the font's fourteen values
//   pointer to a type        as the pointed-to type; another alias as the aliased type
//   anything else            not stored
// The caller opens the section first (mode 63 to save, 13 to load). A property whose value is
// missing keeps its value on load.
#include <cstdint>
#include <functional>

#include "controls/font/olefont.h"
#include "platform/com/driver.h"
#include "platform/ole/proppage.h"
#include "platform/ui/controls.h"

class COrvProfDesc;

class COlePropertyPageEx : public plat::ole::OlePropertyPage {
 public:
  COlePropertyPageEx(ui::UINT templateId, ui::UINT captionId);

  // Controls from the objects' properties, and the objects' properties from the controls.
  virtual void GetProperties() {}
  virtual void SetProperties() {}

  void DoDataExchange(ui::DataExchange* dx) override;
  void OnSetPageSite() override;
  bool OnInitDialog() override;

  // The named property of every object the page edits, as a 32-bit integer. False when an object
  // does not know the name or the call fails (the walk goes on with the next object); an automation
  // exception is shown to the user. Get: the last object read wins.
  bool SetIntProperty(int value, const char* name);
  bool GetIntProperty(int* value, const char* name);
  // The record zeroed, then filled from every object's font property; false when a name is not
  // found or a copy fails.
  bool GetFontProperty(gdi::LOGFONTA* font, const char* name);
  // Every object's font property set to a font object over the record.
  bool SetFontProperty(gdi::LOGFONTA* font, const char* name);
  // The face name in face, the height ("%d") in size.
  void ShowFontInfo(ui::Wnd* face, ui::Wnd* size, const gdi::LOGFONTA* font);
  // The button's image: its client area less 4 pixels on each side, filled with color and framed
  // by a black pen of width 1.
  void ShowColorSwatch(ui::Wnd* owner, ui::Button* button, gdi::COLORREF color);
  // The colour dialog, starting on *color; OK replaces it.
  bool ChooseColor(ui::Wnd* owner, gdi::COLORREF* color);
  // Items "0" to "9" for the line widths (item data the width in hundredths of a millimetre); the
  // first whose width is at least width is selected, none when all are smaller.
  void FillLineWidthCombo(ui::ComboBox* combo, int width);
  // The selected width; false, width untouched, when nothing is selected.
  static bool GetSelectedLineWidth(const ui::ComboBox* combo, int* width);

  static constexpr int kLineWidths[] = {0, 5, 10, 15, 25, 40, 60, 80, 100, 150, -1};
  plat::ole::Lcid GetLocale() const { return m_lcid; }

 protected:
  plat::ole::Lcid m_lcid = 0;  // the page site's locale (0 when it gives none)

 private:
  // The id of name on object, with the kept locale.
  bool IdOfName(plat::ole::IDispatch* object, const char* name, plat::ole::DispId* id) const;
  // call on every object that knows name; false when one does not or a call fails.
  bool ForEachObject(const char* name,
                     const std::function<plat::ole::HResult(plat::ole::DispatchDriver&, plat::ole::DispId)>& call);
  // A failed call: an automation exception is shown to the user.
  void ReportFailure(plat::ole::HResult hr, const plat::ole::DispatchException& exception);
};

bool SaveDispatchProperties(plat::ole::IDispatch* dispatch, COrvProfDesc* desc);
bool LoadDispatchProperties(plat::ole::IDispatch* dispatch, COrvProfDesc* desc);

// The platform's font dialog on a record whose height is in points (as font properties keep it):
// the height in pixels of the owner's screen while the dialog runs, back in points whatever its
// outcome. True on OK.
bool ChooseFontInPoints(ui::Wnd* owner, gdi::LOGFONTA* font);

// Releases a non-null pointer, sets it to null and answers the release's result (0 for null).
template <class Interface>
std::uint32_t ReleaseInterface(Interface*& pointer) {
  return plat::ole::releaseInterface(pointer);
}
