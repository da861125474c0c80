#pragma once
// The enumerator pattern of OLE (IEnumFORMATETC, IEnumOLEVERB): a copy of a list that the caller
// walks a few items at a time, skips, resets and clones.
#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/com/object.h"

namespace plat::ole {

// Enumerates a copy of a list through IEnum (interface id Iid), which hands out Items. The list
// holds Stored values; Give turns one into the Item handed out (a plain copy by default; an item
// with memory the caller frees is made by its own Give).
template <class IEnum, const Guid& Iid, class Item, class Stored = Item, void (*Give)(const Stored&, Item*) = nullptr>
class ListEnum final : public ComObject {
 public:
  static HResult create(std::vector<Stored> items, IEnum** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* e = new (std::nothrow) ListEnum(std::move(items), 0);
    if (!e) return E_OUTOFMEMORY;
    const HResult hr = e->QueryInterface(Iid, reinterpret_cast<void**>(out));
    e->Release();
    return hr;
  }

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  ListEnum(std::vector<Stored> items, std::size_t position) : items_(std::move(items)), pos_(position) {}

  struct XEnum : Nested<IEnum> {
    using Nested<IEnum>::Nested;
    ListEnum& self() const { return this->template outer<ListEnum>(); }
    HResult Next(std::uint32_t count, Item* items, std::uint32_t* fetched) override {
      ListEnum& e = self();
      if (!items && count) return E_POINTER;
      std::uint32_t n = 0;
      for (; n < count && e.pos_ < e.items_.size(); ++n, ++e.pos_) {
        if constexpr (Give == nullptr) items[n] = e.items_[e.pos_];
        else Give(e.items_[e.pos_], &items[n]);
      }
      if (fetched) *fetched = n;
      return n == count ? S_OK : S_FALSE;
    }
    HResult Skip(std::uint32_t count) override {
      ListEnum& e = self();
      const std::size_t left = e.items_.size() - e.pos_;
      e.pos_ += std::min<std::size_t>(count, left);
      return count <= left ? S_OK : S_FALSE;
    }
    HResult Reset() override {
      self().pos_ = 0;
      return S_OK;
    }
    HResult Clone(IEnum** copy) override {
      ListEnum& e = self();
      if (!copy) return E_POINTER;
      *copy = nullptr;
      auto* c = new (std::nothrow) ListEnum(e.items_, e.pos_);
      if (!c) return E_OUTOFMEMORY;
      const HResult hr = c->QueryInterface(Iid, reinterpret_cast<void**>(copy));
      c->Release();
      return hr;
    }
  } xEnum_{*this};

  std::vector<Stored> items_;
  std::size_t pos_;
  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};

template <class IEnum, const Guid& Iid, class Item, class Stored, void (*Give)(const Stored&, Item*)>
const ComObject::InterfaceEntry ListEnum<IEnum, Iid, Item, Stored, Give>::kEntries[] = {
    interfaceEntry<IEnum, &ListEnum::xEnum_>(Iid)};
template <class IEnum, const Guid& Iid, class Item, class Stored, void (*Give)(const Stored&, Item*)>
const ComObject::InterfaceMap ListEnum<IEnum, Iid, Item, Stored, Give>::kMap{&ComObject::kInterfaceMap, kEntries};

}  // namespace plat::ole
