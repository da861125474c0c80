#include "spectrum/control/testing/hostitem.h"

#include "common/guids.h"

namespace nelvar::testing {

using namespace plat::ole;

const ComObject::InterfaceEntry HostItem::kEntries[] = {
    interfaceEntry<IOrvClientSite, &HostItem::xOrvClientSite_>(IID_IOrvClientSite)};
const ComObject::InterfaceMap HostItem::kMap{&OleClientItem::kInterfaceMap, kEntries};

HostItem::HostItem(plat::ole::testing::TestContainer* container, FakeSiteSettings* settings, bool offerSite)
    : TestItem(&container->Document(), container), container_(container), settings_(settings), offerSite_(offerSite) {}

void* HostItem::GetInterface(const Guid& iid) {
  if (iid == IID_IOrvClientSite && !offerSite_) return nullptr;
  return TestItem::GetInterface(iid);
}

HostItem* HostItem::NextHostItem(const HostItem* after) const {
  bool passed = after == nullptr;
  for (OleClientItem* item : GetDocument()->GetItems()) {
    auto* host = dynamic_cast<HostItem*>(item);
    if (!host) continue;
    if (passed) return host;
    if (host == after) passed = true;
  }
  return nullptr;
}

HostItem* HostItem::ItemOf(const SaItemRecord* record) const {
  for (HostItem* item = NextHostItem(nullptr); item; item = NextHostItem(item))
    if (&item->m_record == record) return item;
  return nullptr;
}

SaItemRecord* HostItem::XOrvClientSite::GetFirstItem(IUnknown** object) {
  HostItem* first = outer<HostItem>().NextHostItem(nullptr);
  if (object) *object = first ? first->GetOleObject() : nullptr;
  return first ? &first->m_record : nullptr;
}

SaItemRecord* HostItem::XOrvClientSite::GetNextItem(SaItemRecord* record, IUnknown** object) {
  HostItem& self = outer<HostItem>();
  HostItem* at = self.ItemOf(record);
  HostItem* next = at ? self.NextHostItem(at) : nullptr;
  if (object) *object = next ? next->GetOleObject() : nullptr;
  return next ? &next->m_record : nullptr;
}

SaItemRecord* HostItem::XOrvClientSite::GetItemRecord() { return &outer<HostItem>().m_record; }

SaItemRecord* HostItem::XOrvClientSite::CreateItem(IUnknown* source) {
  HostItem& self = outer<HostItem>();
  IDataObject* data = nullptr;
  if (!source || failed(source->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)))) return nullptr;
  auto* item = new HostItem(self.container_, self.settings_, self.offerSite_);
  item->m_record.type = 1;
  item->m_record.subtype = 5;
  item->m_record.fromFile = 0;
  const bool made = item->CreateFromData(data);
  data->Release();
  return made ? &item->m_record : nullptr;
}

HResult HostItem::XOrvClientSite::ActivateItem() {
  HostItem& self = outer<HostItem>();
  return self.container_->Activate(&self) ? S_OK : E_FAIL;
}

HResult HostItem::XOrvClientSite::GetParamTitle(std::int32_t index, Bstr* caption) {
  HostItem& self = outer<HostItem>();
  if (index < 0 || index > 1 || !caption || !self.settings_ || self.settings_->titles[index].empty()) return E_FAIL;
  *caption = allocString(self.settings_->titles[index]);
  return S_OK;
}

std::int32_t HostItem::XOrvClientSite::GetZoom() {
  const HostItem& self = outer<HostItem>();
  return self.settings_ ? self.settings_->zoom : 100;
}

}  // namespace nelvar::testing
