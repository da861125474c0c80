#pragma once
// For tests and the host tool: a test container's item that also offers the main program's
// IOrvClientSite to the control it holds, with a zoom and item records the caller sets, and a
// text dump of a spectrum control's persistent state.
#include <cstdint>
#include <span>
#include <string>

#include "common/orvclientsite.h"
#include "platform/ole/testing/testcontainer.h"

namespace nelvar::testing {

// What the fake IOrvClientSite answers, shared by the items of one container.
struct FakeSiteSettings {
  std::int32_t zoom = 100;
  // Captions of GetParamTitle (index 0 and 1); empty: E_FAIL.
  std::u16string titles[2];
};

class HostItem : public plat::ole::testing::TestItem {
 public:
  // An item of the container's document; offerSite makes its client site answer IOrvClientSite.
  HostItem(plat::ole::testing::TestContainer* container, FakeSiteSettings* settings, bool offerSite);

  SaItemRecord m_record;
  bool OffersSite() const { return offerSite_; }

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }
  void* GetInterface(const plat::ole::Guid& iid) override;

 private:
  HostItem* ItemOf(const SaItemRecord* record) const;
  HostItem* NextHostItem(const HostItem* after) const;

  struct XOrvClientSite : plat::ole::Nested<IOrvClientSite> {
    using Nested::Nested;
    SaItemRecord* GetFirstItem(plat::ole::IUnknown** object) override;
    SaItemRecord* GetNextItem(SaItemRecord* record, plat::ole::IUnknown** object) override;
    SaItemRecord* GetItemRecord() override;
    SaItemRecord* CreateItem(plat::ole::IUnknown* source) override;
    plat::ole::HResult ActivateItem() override;
    plat::ole::HResult GetParamTitle(std::int32_t index, plat::ole::Bstr* caption) override;
    std::int32_t GetZoom() override;
  } xOrvClientSite_{*this};

  plat::ole::testing::TestContainer* container_;
  FakeSiteSettings* settings_;
  bool offerSite_;
  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};

// A readable dump of a spectrum control's persistent state (what IPersistStreamInit::Save
// writes): the record, the processing state, the view, every draw object (type, instance,
// enabled and a digest of its archive form; a free text also its label and anchor), the bar
// and dock state. Equal dumps mean equal state; a state that does not load gives "unreadable
// state".
std::string DumpSpcState(std::span<const std::uint8_t> state);

}  // namespace nelvar::testing
