#include "platform/com/connection.h"

#include <new>

#include "platform/com/dispatch.h"

namespace plat::ole {

namespace {

IUnknown* unknownOf(const ConnectData& c) { return c.pUnk; }
IUnknown* unknownOf(IConnectionPoint* p) { return p; }

// An enumerator over a snapshot of items, each held with one reference while it lives; Next
// hands out copies with a reference of their own.
template <class IEnum, const Guid& Iid, class Item>
class SnapshotEnum final : public ComObject {
 public:
  explicit SnapshotEnum(std::vector<Item> items) : xEnum_(*this), items_(std::move(items)) {
    for (const Item& item : items_) unknownOf(item)->AddRef();
  }
  ~SnapshotEnum() override {
    for (const Item& item : items_) unknownOf(item)->Release();
  }

  static HResult create(std::vector<Item> items, std::size_t position, IEnum** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    SnapshotEnum* e = nullptr;
    try {
      e = new SnapshotEnum(std::move(items));
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    e->position_ = position;
    *out = &e->xEnum_;  // the creation reference is the caller's
    return S_OK;
  }

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XEnum : Nested<IEnum> {
    using Nested<IEnum>::Nested;
    SnapshotEnum& self() const { return this->template outer<SnapshotEnum>(); }
    HResult Next(std::uint32_t count, Item* items, std::uint32_t* fetched) override {
      if (fetched) *fetched = 0;
      if (count && !items) return E_POINTER;
      if (count > 1 && !fetched) return E_INVALIDARG;  // the published rule
      std::uint32_t n = 0;
      for (; n < count && self().position_ < self().items_.size(); ++n) {
        items[n] = self().items_[self().position_++];
        unknownOf(items[n])->AddRef();
      }
      if (fetched) *fetched = n;
      return n == count ? S_OK : S_FALSE;
    }
    HResult Skip(std::uint32_t count) override {
      const std::size_t left = self().items_.size() - self().position_;
      self().position_ += count < left ? count : left;
      return count <= left ? S_OK : S_FALSE;
    }
    HResult Reset() override {
      self().position_ = 0;
      return S_OK;
    }
    HResult Clone(IEnum** copy) override { return create(self().items_, self().position_, copy); }
  } xEnum_;

  std::vector<Item> items_;
  std::size_t position_ = 0;

  static inline const InterfaceEntry kEntries[] = {interfaceEntry<IEnum, &SnapshotEnum::xEnum_>(Iid)};
  static inline const InterfaceMap kMap{&ComObject::kInterfaceMap, kEntries};
};

using ConnectionEnum = SnapshotEnum<IEnumConnections, IID_IEnumConnections, ConnectData>;
using PointEnum = SnapshotEnum<IEnumConnectionPoints, IID_IEnumConnectionPoints, IConnectionPoint*>;

}  // namespace

ConnectionPoint::~ConnectionPoint() {
  for (ConnectData& c : connections_) c.pUnk->Release();
}

std::vector<IUnknown*> ConnectionPoint::sinks() const {
  std::vector<IUnknown*> list;
  list.reserve(connections_.size());
  for (const ConnectData& c : connections_) {
    c.pUnk->AddRef();
    list.push_back(c.pUnk);
  }
  return list;
}

HResult ConnectionPoint::GetConnectionInterface(Guid* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HResult ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  return outerObject().QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container));
}

HResult ConnectionPoint::Advise(IUnknown* sink, DWord* cookie) {
  if (cookie) *cookie = 0;
  if (!sink || !cookie) return E_POINTER;
  void* asInterface = nullptr;
  if (failed(sink->QueryInterface(iid_, &asInterface)) || !asInterface) return CONNECT_E_CANNOTCONNECT;
  try {
    connections_.push_back({static_cast<IUnknown*>(asInterface), nextCookie_});
  } catch (const std::bad_alloc&) {
    static_cast<IUnknown*>(asInterface)->Release();
    return E_OUTOFMEMORY;
  }
  *cookie = nextCookie_++;
  return S_OK;
}

HResult ConnectionPoint::Unadvise(DWord cookie) {
  for (auto it = connections_.begin(); it != connections_.end(); ++it)
    if (it->dwCookie == cookie) {
      IUnknown* sink = it->pUnk;
      connections_.erase(it);
      sink->Release();  // after the list is consistent: the sink's end may reach us again
      return S_OK;
    }
  return CONNECT_E_NOCONNECTION;
}

HResult ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  return ConnectionEnum::create(connections_, 0, connections);
}

HResult createConnectionPointEnum(const std::vector<IConnectionPoint*>& points, IEnumConnectionPoints** out) {
  return PointEnum::create(points, 0, out);
}

void fireDispatchEvent(const ConnectionPoint& point, DispId id, std::span<const Variant> args) {
  // The arguments last first, as Invoke takes them; copies, so no sink can change them for the
  // next one.
  for (IUnknown* sink : point.sinks()) {
    std::vector<Variant> reversed(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
      variantInit(&reversed[i]);
      variantCopy(&reversed[i], args[args.size() - 1 - i]);
    }
    DispParams params;
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<std::uint32_t>(reversed.size());
    ExcepInfo info;
    std::uint32_t argErr = 0;
    static_cast<IDispatch*>(sink)->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, &info, &argErr);
    freeString(info.bstrSource);
    freeString(info.bstrDescription);
    freeString(info.bstrHelpFile);
    for (Variant& v : reversed) variantClear(&v);
    sink->Release();
  }
}

}  // namespace plat::ole
