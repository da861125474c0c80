#include "spectrum/control/pages/generalpage.h"

#include "common/guids.h"
#include "common/orvclientsite.h"
#include "platform/base/text.h"
#include "platform/ole/interfaces.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/messages.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/pages/pageids.h"
#include "spectrum/control/pages/schemedialog.h"

namespace nelvar {

using namespace plat::ole;

namespace {

// A container that never stops answering still gives a list of bounded length.
constexpr std::int32_t kMostPropertySets = 64;

template <class T>
T* Item(ui::Wnd* page, ui::UINT id) {
  return dynamic_cast<T*>(page->GetDlgItem(id));
}

// The container's own interface, through the control's client site; one reference.
IOrvClientSite* OrvSiteOf(IDispatch* control) {
  if (!control) return nullptr;
  IOleObject* object = nullptr;
  if (failed(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) || !object) return nullptr;
  IOleClientSite* site = nullptr;
  IOrvClientSite* orv = nullptr;
  if (!failed(object->GetClientSite(&site)) && site)
    if (failed(site->QueryInterface(IID_IOrvClientSite, reinterpret_cast<void**>(&orv)))) orv = nullptr;
  releaseInterface(site);
  releaseInterface(object);
  return orv;
}

}  // namespace

UI_BEGIN_MESSAGE_MAP(CGeneralPropPage, CSpcPropPage)
  ui::map::Control(ui::CBN_SELCHANGE, IDC_PROPERTY_SET, &CGeneralPropPage::OnPropertySetChange),
  ui::map::Control(ui::CBN_SELCHANGE, IDC_SCHEME, &CGeneralPropPage::OnSchemeChange),
  ui::map::Command(IDC_SAVE_AS, &CGeneralPropPage::OnSaveAs),
  ui::map::Command(IDC_DELETE, &CGeneralPropPage::OnDelete),
  ui::map::Command(IDC_SET_DEFAULT, &CGeneralPropPage::OnSetAsDefault),
  ui::map::Destroy(&CGeneralPropPage::OnDestroy),
UI_END_MESSAGE_MAP()

CGeneralPropPage::CGeneralPropPage() : CSpcPropPage(IDD_PAGE_GENERAL, IDS_PAGE_GENERAL, {}), m_schemes(SpcApp().IniPath()) {}

const Guid& CGeneralPropPage::GetClassID() const { return CLSID_GeneralPropPage; }

ISaItem* CGeneralPropPage::SaItem() {
  IDispatch* control = FirstObject();
  ISaItem* item = nullptr;
  if (!control || failed(control->QueryInterface(IID_ISaItem, reinterpret_cast<void**>(&item)))) return nullptr;
  return item;
}

void CGeneralPropPage::GetProperties() {
  if (!IsWindow()) return;
  auto* sets = Item<ui::ComboBox>(this, IDC_PROPERTY_SET);
  if (sets) sets->ResetContent();
  ISaItem* item = SaItem();
  std::uint32_t set = 0;
  const bool known = item && !failed(item->GetPropertySet(&set));
  releaseInterface(item);
  if (known) {
    m_currentSet = set;
    if (m_initialSet < 0) m_initialSet = set;
    FillPropertySets();
  }
  FillSchemeList();
}

void CGeneralPropPage::FillPropertySets() {
  auto* sets = Item<ui::ComboBox>(this, IDC_PROPERTY_SET);
  if (!sets) return;
  IOrvClientSite* site = OrvSiteOf(FirstObject());
  sets->EnableWindow(site != nullptr);
  if (!site) return;
  for (std::int32_t index = 0; index < kMostPropertySets; ++index) {
    Bstr title = nullptr;
    if (failed(site->GetParamTitle(index, &title))) break;
    sets->AddString(plat::toUtf8(stringView(title)));
    freeString(title);
  }
  site->Release();
  sets->SetCurSel(static_cast<int>(m_currentSet));
}

void CGeneralPropPage::FillSchemeList() {
  auto* list = Item<ui::ComboBox>(this, IDC_SCHEME);
  if (!list) return;
  list->ResetContent();
  list->AddString("");
  for (const std::string& name : m_schemes.List(m_currentSet)) list->AddString(name);
  list->SetCurSel(0);
}

std::string CGeneralPropPage::ChosenScheme() {
  auto* list = Item<ui::ComboBox>(this, IDC_SCHEME);
  const int chosen = list ? list->GetCurSel() : -1;
  return chosen > 0 ? list->GetLBText(chosen) : std::string();
}

void CGeneralPropPage::SetProperties() {
  const std::string scheme = ChosenScheme();
  if (scheme.empty()) return;
  m_schemes.Apply(FirstObject(), m_currentSet, scheme);
  // The pages applied after this one then write the scheme back rather than what they showed.
  ReloadOtherPages();
}

void CGeneralPropPage::OnPropertySetChange() {
  auto* sets = Item<ui::ComboBox>(this, IDC_PROPERTY_SET);
  const int chosen = sets ? sets->GetCurSel() : -1;
  if (chosen < 0 || static_cast<std::uint32_t>(chosen) == m_currentSet) return;
  ISaItem* item = SaItem();
  if (!item) return;
  item->SelectPropertySet(static_cast<std::uint32_t>(chosen), 1);
  item->Release();
  m_currentSet = static_cast<std::uint32_t>(chosen);
  ReloadOtherPages();
  FillSchemeList();
}

void CGeneralPropPage::OnSchemeChange() {
  if (!ChosenScheme().empty()) SetModifiedFlag();
}

void CGeneralPropPage::OnSaveAs() {
  std::string name;
  for (;;) {
    if (!AskSchemeName(this, &name)) return;
    name = std::string(plat::trim(name));
    if (IsValidSchemeName(name)) break;
    ui::MessageBox(this, "A scheme name must not be empty nor hold \\, [, ] or control characters.", "",
                   ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }
  if (!m_schemes.Save(FirstObject(), m_currentSet, name)) return;
  auto* list = Item<ui::ComboBox>(this, IDC_SCHEME);
  if (list && list->FindStringExact(-1, name) < 0) list->AddString(name);
}

void CGeneralPropPage::OnDelete() {
  auto* list = Item<ui::ComboBox>(this, IDC_SCHEME);
  const int chosen = list ? list->GetCurSel() : -1;
  if (chosen <= 0) return;
  m_schemes.Delete(m_currentSet, list->GetLBText(chosen));
  list->DeleteString(chosen);
  list->SetCurSel(0);
}

void CGeneralPropPage::OnSetAsDefault() {
  Variant method;
  variantInit(&method);
  // Without a spectrum of a known kind there is no method to keep a default for.
  if (CallMethod("GetCurMethod", &method) && method.vt == VT_BSTR && !stringView(method.bstr).empty())
    SaveSetDefault(FirstObject(), stringView(method.bstr), m_currentSet);
  variantClear(&method);
}

void CGeneralPropPage::OnDestroy() {
  if (m_initialSet >= 0) {
    if (ISaItem* item = SaItem()) {
      item->SelectPropertySet(static_cast<std::uint32_t>(m_initialSet), 1);
      item->Release();
    }
  }
  m_initialSet = -1;
  CSpcPropPage::OnDestroy();
}

}  // namespace nelvar
