#pragma once
// CKarvelControl: what the five controls of the module share: their identity (class id, user
// type name, property pages), the miscellaneous status they are registered with, and a property
// exchange that stamps version 1.0 before the class library's stock properties.
#include <span>

#include "platform/ole/control.h"

namespace karvel {

// The verbs of the controls: Edit and Properties for the knob, table, structure and scroll
// controls, Properties alone for the soft button. The class table registers the same lists.
inline constexpr plat::ole::VerbEntry kEditAndPropertiesVerbs[] = {
    {"&Edit", plat::ole::VerbAction::Edit}, {"&Properties...", plat::ole::VerbAction::Properties}};
inline constexpr plat::ole::VerbEntry kPropertiesVerb[] = {{"&Properties...", plat::ole::VerbAction::Properties}};

class CKarvelControl : public plat::ole::OleControl {
 public:
  plat::ole::Guid GetClassID() const override;
  plat::DWord GetMiscStatus() const override;
  std::u16string GetUserTypeName() const override;
  const plat::ole::Guid* GetPropPageIDs(std::uint32_t& count) override;
  void DoPropExchange(plat::ole::PropExchange* px) override;
  std::span<const plat::ole::VerbEntry> GetVerbs() const override { return m_verbs; }

 protected:
  // coclass: the control's class in the module's type library; typeName: its user type name.
  CKarvelControl(const plat::ole::CoClassDesc& coclass, const char* typeName, std::span<const plat::ole::Guid> pages,
                 std::span<const plat::ole::VerbEntry> verbs = kEditAndPropertiesVerbs);
  ~CKarvelControl() override;

 private:
  const plat::ole::CoClassDesc& m_coclass;
  const char* m_typeName;
  std::span<const plat::ole::Guid> m_pages;
  std::span<const plat::ole::VerbEntry> m_verbs;
};

// Opens a popup panel of a control (the knob's dial, the scroll strip's overview): a tool window
// with border and system menu, owned by the control, at place (screen coordinates), in a window
// class with a light grey background; shown without activation. False when it cannot be made.
bool OpenPanelWindow(ui::Wnd& panel, ui::Wnd* owner, const gdi::Rect& place);

}  // namespace karvel
