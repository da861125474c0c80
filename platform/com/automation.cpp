#include "platform/com/automation.h"

namespace plat::ole {

AutomationObject::AutomationObject(const DispInterfaceDesc& dispatch, const TypeLibDesc* library)
    : xDispatch_(*this),
      xProvideClassInfo_(*this),
      xConnectionPointContainer_(*this),
      dispatch_(dispatch),
      library_(library) {}

AutomationObject::AutomationObject(const CoClassDesc& coclass, const TypeLibDesc* library)
    : AutomationObject(*coclass.dispatch, library) {
  coclass_ = &coclass;
  if (coclass.events) {
    events_ = std::make_unique<ConnectionPoint>(*this, *coclass.events->iid);
    points_.push_back(events_.get());
  }
}

AutomationObject::~AutomationObject() = default;

IDispatch* AutomationObject::GetIDispatch(bool addRef) {
  if (addRef) AddRef();
  return &xDispatch_;
}

void AutomationObject::AddConnectionPoint(ConnectionPoint& point) { points_.push_back(&point); }

void AutomationObject::FireEvent(DispId id, std::span<const Variant> args) {
  if (!events_) return;
  AddRef();  // a sink may drop the last other reference while it is told
  fireDispatchEvent(*events_, id, args);
  Release();
}

void* AutomationObject::GetInterface(const Guid& iid) {
  if (iid == IID_IDispatch || (dispatch_.iid && iid == *dispatch_.iid)) return static_cast<IDispatch*>(&xDispatch_);
  if (coclass_ && (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2))
    return static_cast<IProvideClassInfo2*>(&xProvideClassInfo_);
  if (!points_.empty() && iid == IID_IConnectionPointContainer)
    return static_cast<IConnectionPointContainer*>(&xConnectionPointContainer_);
  return ComObject::GetInterface(iid);
}

HResult AutomationObject::libraryTypeInfo(const Guid& guid, Lcid lcid, ITypeInfo** info) {
  ITypeLib* lib = nullptr;
  HResult hr = loadRegTypeLib(*library_->libid, library_->major, library_->minor, lcid, &lib);
  if (failed(hr)) return hr;
  hr = lib->GetTypeInfoOfGuid(guid, info);
  lib->Release();
  return hr;
}

HResult AutomationObject::GetDispatchTypeInfo(Lcid lcid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (library_ && dispatch_.iid) return libraryTypeInfo(*dispatch_.iid, lcid, info);
  return createTypeInfo(dispatch_, info);
}

// ---- IDispatch ------------------------------------------------------------------------------------

HResult AutomationObject::XDispatch::GetTypeInfoCount(std::uint32_t* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HResult AutomationObject::XDispatch::GetTypeInfo(std::uint32_t index, Lcid lcid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return outer<AutomationObject>().GetDispatchTypeInfo(lcid, info);
}

HResult AutomationObject::XDispatch::GetIDsOfNames(const Guid& iid, const char16_t* const* names, std::uint32_t count,
                                                   Lcid, DispId* ids) {
  return dispatchGetIDsOfNames(outer<AutomationObject>().dispatch_, iid, names, count, ids);
}

HResult AutomationObject::XDispatch::Invoke(DispId id, const Guid& iid, Lcid, Word flags, DispParams* params,
                                            Variant* result, ExcepInfo* excepInfo, std::uint32_t* argErr) {
  AutomationObject& self = outer<AutomationObject>();
  return dispatchInvoke(self.dispatch_, self, id, iid, flags, params, result, excepInfo, argErr);
}

// ---- Class info and connection points -------------------------------------------------------------

HResult AutomationObject::XProvideClassInfo::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  AutomationObject& self = outer<AutomationObject>();
  if (!self.library_) return TYPE_E_LIBNOTREGISTERED;
  return self.libraryTypeInfo(*self.coclass_->clsid, self.library_->lcid, info);
}

HResult AutomationObject::XProvideClassInfo::GetGUID(DWord kind, Guid* guid) {
  if (!guid) return E_POINTER;
  *guid = IID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  const CoClassDesc& coclass = *outer<AutomationObject>().coclass_;
  if (!coclass.events) return E_FAIL;
  *guid = *coclass.events->iid;
  return S_OK;
}

HResult AutomationObject::XConnectionPointContainer::EnumConnectionPoints(IEnumConnectionPoints** points) {
  std::vector<IConnectionPoint*> list(outer<AutomationObject>().points_.begin(), outer<AutomationObject>().points_.end());
  return createConnectionPointEnum(list, points);
}

HResult AutomationObject::XConnectionPointContainer::FindConnectionPoint(const Guid& iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  for (ConnectionPoint* p : outer<AutomationObject>().points_)
    if (p->iid() == iid) {
      p->AddRef();
      *point = p;
      return S_OK;
    }
  return CONNECT_E_NOCONNECTION;
}

}  // namespace plat::ole
