#pragma once
// CGeneralPropPage, "General": which property set of the control the other pages edit, and the
// set's schemes (named copies of all the control's appearance properties in the module's INI
// file): choose one and Apply to take it, "&Save As" to keep the current appearance under a
// name, "&Delete" to drop the chosen one, "S&et As Default" to make the current appearance the
// default of the set for spectra of the loaded method. When the sheet closes the control goes
// back to the set it showed when the sheet opened.
#include <cstdint>
#include <string>

#include "common/ispectrumcontrol.h"
#include "spectrum/control/pages/schemes.h"
#include "spectrum/control/pages/spcproppage.h"

namespace nelvar {

class CGeneralPropPage final : public CSpcPropPage {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CGeneralPropPage();
  const plat::ole::Guid& GetClassID() const override;

  // Fills the property-set and scheme lists from the control.
  void GetProperties() override;
  // Applies the chosen scheme, then the other pages show the control again.
  void SetProperties() override;

  std::uint32_t CurrentSet() const { return m_currentSet; }
  std::int64_t InitialSet() const { return m_initialSet; }
  const CSchemeStore& Schemes() const { return m_schemes; }

 private:
  // The first object's ISaItem, one reference for the caller; null when it has none.
  ISaItem* SaItem();
  void FillPropertySets();
  void FillSchemeList();
  // The scheme chosen in the list; empty for the empty entry.
  std::string ChosenScheme();
  void OnPropertySetChange();
  void OnSchemeChange();
  void OnSaveAs();
  void OnDelete();
  void OnSetAsDefault();
  void OnDestroy();

  CSchemeStore m_schemes;
  std::uint32_t m_currentSet = 0;
  std::int64_t m_initialSet = -1;  // the set the control showed at the first load
};

}  // namespace nelvar
