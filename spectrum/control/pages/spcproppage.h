#pragma once
// CSpcPropPage: the base of the spectrum control's property pages. A page edits a fixed group of
// the control's dispatch properties by name, described by a table of fields (the property, the
// kind of item that shows it and the item's id); the base reads every field's property from the
// objects, fills the items, reads the items back and writes every property on Apply. It keeps the
// process-wide list of the live pages, so the General page can make the others show the control
// again after it changed the control's property set or applied a scheme.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "controls/pagebase/pagebase.h"
#include "platform/com/guid.h"

namespace nelvar {

enum class FieldKind : std::uint8_t {
  Enable,     // the "&Enable" check box (1007): the page's other items follow it
  Color,      // a colour button showing a swatch
  LineWidth,  // a line-width combo
  Font,       // the font button, its sample in the face and size statics
  Choice,     // radio buttons id, id + 1, ... standing for the values given
  Units,      // three radio buttons for the X units the spectrum offers
  Digits,     // a list box "0" to "6" whose top row is the value
  Scaled,     // an edit of a number: the property in units of 10^-shift of the shown number
  Text,       // a text edit
};

struct PageField {
  FieldKind kind;
  const char* property;
  ui::UINT id;
  std::span<const int> values = {};  // Choice: the value of each radio
  int shift = 0;                     // Scaled: the property is the shown number x 10^shift
  const char* format = nullptr;      // Scaled: how the shown number is written
  bool commaMark = false;            // Scaled: a number edit, where "," also reads as the decimal mark
};

class CSpcPropPage : public COlePropertyPageEx {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CSpcPropPage(ui::UINT templateId, ui::UINT captionId, std::span<const PageField> fields);
  ~CSpcPropPage() override;

  // Every page object alive, in the order they were made.
  static const std::vector<CSpcPropPage*>& LivePages();

  virtual const plat::ole::Guid& GetClassID() const = 0;
  // Every field's property read from the objects, then the items filled.
  void GetProperties() override;
  // The items read, then every field's property written.
  void SetProperties() override;
  // The page's items other than the "&Enable" box enabled or greyed.
  virtual void EnableControls(bool enable);
  bool OnInitDialog() override;

  // The first object the page edits (no reference added); null when it has none.
  plat::ole::IDispatch* FirstObject();
  // The named dispatch method of the first object called without arguments.
  bool CallMethod(const char* name, plat::ole::Variant* result);
  // Every other live page with a window over the same control shows it again.
  void ReloadOtherPages();

  // The property as the page holds it (tests and the General page's reload).
  int FieldNumber(std::size_t field) const { return m_values[field].number; }

 protected:
  bool HasEnableBox() const;
  bool Filling() const { return m_filling; }

 private:
  struct FieldValue {
    int number = 0;
    gdi::LOGFONTA font{};
    std::string text;
    int unitOfRadio[3] = {-1, -1, -1};  // Units: the unit each radio stands for
  };
  void ReadProperty(const PageField& field, FieldValue& value);
  void WriteProperty(const PageField& field, const FieldValue& value);
  void ShowField(const PageField& field, FieldValue& value);
  void ReadField(const PageField& field, FieldValue& value);
  void ShowUnits(const PageField& field, FieldValue& value);
  bool GetTextProperty(std::string* text, const char* name);
  bool SetTextProperty(const std::string& text, const char* name);
  // The field whose items include id, or null.
  const PageField* FieldOfItem(ui::UINT id, std::size_t* index) const;

  void OnClicked(ui::UINT id);
  void OnChanged(ui::UINT id);

  std::span<const PageField> m_fields;
  std::vector<FieldValue> m_values;
  bool m_filling = false;
  std::vector<std::unique_ptr<ui::Wnd>> m_widgets;  // the items taken over by the shared widgets
};

// The number a decimal text gives, times 10^shift and truncated toward zero, worked out on the
// digits themselves ("10.01" with shift 2 is 1001, where a float would give 1000). The text is
// read as "%f" reads: leading blanks, a sign, digits with one decimal mark ("." and, when
// commaMark is set, ","), an exponent; what follows is ignored. 0 when no number is read; clamped
// to the int range.
int ScaleDecimalText(std::string_view text, int shift, bool commaMark);

}  // namespace nelvar
