#include "platform/ole/container.h"

#include <algorithm>
#include <new>

#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/gdi/dc.h"
#include "platform/ole/menus.h"
#include "platform/ui/messages.h"

namespace plat::ole {

namespace {

// Items in an archive: a document holds at most this many.
constexpr std::uint64_t kMaxItems = 1u << 20;
constexpr std::uint64_t kMaxStateBytes = std::uint64_t(1) << 31;

}  // namespace

// --- Document ----------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(OleDocument, ui::Document)

OleDocument::OleDocument() = default;

OleDocument::~OleDocument() { DeleteContents(); }

void OleDocument::AddItem(OleClientItem* item) { items_.push_back(item); }

void OleDocument::RemoveItem(OleClientItem* item) { std::erase(items_, item); }

OleClientItem* OleDocument::GetInPlaceActiveItem(const ui::View* view) const {
  for (OleClientItem* item : items_)
    if (item->IsInPlaceActive() && (!view || item->GetActiveView() == view)) return item;
  return nullptr;
}

void OleDocument::SerializeItems(Archive& ar, const std::function<OleClientItem*()>& makeItem) {
  if (ar.isStoring()) {
    ar.writeU32(static_cast<std::uint32_t>(items_.size()));
    for (OleClientItem* item : items_) item->Serialize(ar);
    return;
  }
  // Every item takes at least its class id and three counts.
  const std::uint32_t count = ar.readCount(kMaxItems, 16 + 4 * 4);
  for (std::uint32_t i = 0; i < count; ++i)
    if (OleClientItem* item = makeItem()) item->Serialize(ar);
}

void OleDocument::DeleteContents() {
  while (!items_.empty()) items_.back()->Delete();
}

// --- Client item --------------------------------------------------------------------------------------------

const ComObject::InterfaceEntry OleClientItem::kEntries[] = {
    interfaceEntry<IOleClientSite, &OleClientItem::xOleClientSite_>(IID_IOleClientSite),
    interfaceEntry<IOleInPlaceSite, &OleClientItem::xOleInPlaceSite_>(IID_IOleInPlaceSite),
    interfaceEntry<IOleWindow, &OleClientItem::xOleInPlaceSite_>(IID_IOleWindow),
    interfaceEntry<IAdviseSink, &OleClientItem::xAdviseSink_>(IID_IAdviseSink),
    interfaceEntry<IOleControlSite, &OleClientItem::xOleControlSite_>(IID_IOleControlSite),
    interfaceEntry<IDispatch, &OleClientItem::xAmbientDispatch_>(IID_IDispatch),
};
const ComObject::InterfaceMap OleClientItem::kInterfaceMap{&ComObject::kInterfaceMap, kEntries};

OleClientItem::OleClientItem(OleDocument* document) : document_(document) {
  if (document_) document_->AddItem(this);
}

OleClientItem::~OleClientItem() {
  releaseObject();
  if (document_) document_->RemoveItem(this);
}

void* OleClientItem::QueryObject(const Guid& iid) const {
  void* out = nullptr;
  if (!object_ || failed(object_->QueryInterface(iid, &out))) return nullptr;
  return out;
}

void OleClientItem::setState(ItemState state) {
  if (state_ == state) return;
  state_ = state;
  OnChange(OleNotification::ChangedState, static_cast<DWord>(state));
}

bool OleClientItem::attachObject(IOleObject* object, const Guid& clsid, bool initNew, std::vector<std::uint8_t> state,
                                 std::size_t offset) {
  DWord misc = 0;
  object->GetMiscStatus(DVASPECT_CONTENT, &misc);
  const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
  if (siteFirst) object->SetClientSite(&xOleClientSite_);
  bool ok = true;
  if (auto* persist = queryInterface<IPersistStreamInit>(object, IID_IPersistStreamInit)) {
    if (initNew) {
      ok = persist->InitNew() == S_OK;
    } else {
      // The bytes become the stream's block, which the object reads from offset on.
      IStream* stream = nullptr;
      auto* block = new (std::nothrow) GlobalMemory(std::move(state));
      ok = block && createStreamOnGlobal(block, true, &stream) == S_OK;
      if (!ok) globalFree(block);
      if (ok) ok = stream->Seek(static_cast<std::int64_t>(offset), STREAM_SEEK_SET, nullptr) == S_OK;
      if (ok) ok = persist->Load(stream) == S_OK;
      if (stream) stream->Release();
    }
    persist->Release();
  } else {
    ok = initNew;  // a state only an object that loads one can take
  }
  if (!ok) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    object->Release();
    return false;
  }
  if (!siteFirst) object->SetClientSite(&xOleClientSite_);
  object_ = object;
  clsid_ = clsid;
  state_ = ItemState::Loaded;
  object->SetHostNames(u"KEDRUS", nullptr);
  object->Advise(&xAdviseSink_, &oleConnection_);
  if (auto* view = queryInterface<IViewObject>(object, IID_IViewObject)) {
    view->SetAdvise(DVASPECT_CONTENT, 0, &xAdviseSink_);
    view->Release();
  }
  UpdatePresentation();
  return true;
}

void OleClientItem::releaseObject() {
  if (!object_) return;
  IOleObject* object = object_;
  UnadviseDataChange();
  if (oleConnection_) object->Unadvise(oleConnection_);
  oleConnection_ = 0;
  if (auto* view = queryInterface<IViewObject>(object, IID_IViewObject)) {
    view->SetAdvise(DVASPECT_CONTENT, 0, nullptr);
    view->Release();
  }
  if (inPlaceObject_) inPlaceObject_->Release();
  inPlaceObject_ = nullptr;
  object_ = nullptr;
  object->SetClientSite(nullptr);
  object->Release();
  state_ = ItemState::Empty;
}

bool OleClientItem::CreateNewItem(const Guid& clsid) {
  if (object_) return false;
  IOleObject* object = nullptr;
  if (failed(createInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object))))
    return false;
  return attachObject(object, clsid, true, {}, 0);
}

bool OleClientItem::CreateFromData(IDataObject* data) {
  std::vector<std::uint8_t> bytes;
  return !object_ && DataReader::GetBytes(data, embedSourceFormat(), &bytes) && CreateFromEmbedSource(std::move(bytes));
}

bool OleClientItem::CreateFromEmbedSource(std::vector<std::uint8_t> bytes) {
  Guid clsid;
  std::span<const std::uint8_t> state;
  if (object_ || !readEmbedSource(bytes, &clsid, &state)) return false;
  IOleObject* object = nullptr;
  if (failed(createInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object))))
    return false;
  const std::size_t offset = bytes.size() - state.size();
  return attachObject(object, clsid, false, std::move(bytes), offset);
}

bool OleClientItem::CreateFromClipboard() {
  IDataObject* data = nullptr;
  if (failed(getClipboardDataObject(&data))) return false;
  const bool ok = CreateFromData(data);
  data->Release();
  return ok;
}

void OleClientItem::Close(DWord saveOption) {
  if (!object_) return;
  AddRef();
  if (IsInPlaceActive()) Deactivate();
  if (object_) object_->Close(saveOption);
  if (object_) state_ = ItemState::Loaded;
  Release();
}

void OleClientItem::Delete() {
  Close(OLECLOSE_NOSAVE);
  releaseObject();
  if (document_) {
    document_->RemoveItem(this);
    document_ = nullptr;
  }
  Release();
}

bool OleClientItem::GetExtent(SizeL* himetric, DWord aspect) const {
  return object_ && himetric && !failed(object_->GetExtent(aspect, himetric));
}

bool OleClientItem::GetCachedExtent(SizeL* himetric) const {
  if (!himetric) return false;
  // The picture still to be taken will have the object's extent: that needs no drawing.
  if (presentationStale_) {
    auto* data = static_cast<IDataObject*>(QueryObject(IID_IDataObject));
    if (data) data->Release();
    SizeL extent;
    if (data && GetExtent(&extent)) {
      *himetric = extent;
      return true;
    }
  }
  refreshPresentation();
  if (presentation_.IsNull()) return false;
  *himetric = cachedExtent_;
  return true;
}

bool OleClientItem::SetExtent(const SizeL& himetric) {
  if (!object_ || failed(object_->SetExtent(DVASPECT_CONTENT, &himetric))) return false;
  UpdatePresentation();
  return true;
}

bool OleClientItem::Draw(gdi::DC* dc, const gdi::Rect& bounds) const {
  if (!dc) return false;
  if (IsInPlaceActive())
    if (auto* view = static_cast<IViewObject*>(QueryObject(IID_IViewObject))) {
      const RectL r{bounds.left, bounds.top, bounds.right, bounds.bottom};
      const HResult hr = view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &r, nullptr, nullptr, 0);
      view->Release();
      if (succeeded(hr)) return true;
    }
  refreshPresentation();
  if (presentation_.IsNull()) return false;
  return dc->PlayMetaFile(presentation_, bounds);
}

bool OleClientItem::UpdatePresentation() {
  auto* data = static_cast<IDataObject*>(QueryObject(IID_IDataObject));
  if (!data) return false;
  data->Release();
  presentationStale_ = true;
  return true;
}

void OleClientItem::refreshPresentation() const {
  if (!presentationStale_) return;
  presentationStale_ = false;
  auto* data = static_cast<IDataObject*>(QueryObject(IID_IDataObject));
  if (!data) return;
  gdi::EnhMetaFile picture;
  {
    // Cleared on every path, also when the object's drawing throws.
    struct Taking {
      bool& flag;
      ~Taking() { flag = false; }
    } taking{takingPresentation_};
    takingPresentation_ = true;
    picture = DataReader::GetEnhMetaFile(data);
  }
  data->Release();
  if (picture.IsNull()) return;
  presentation_ = std::move(picture);
  SizeL extent;
  if (GetExtent(&extent)) cachedExtent_ = extent;
}

bool OleClientItem::Activate(std::int32_t verb, ui::View* view, ui::MSG* msg) {
  if (!object_ || !view || !view->IsWindow()) return false;
  view_ = view;
  gdi::Rect position;
  OnGetItemPosition(&position);
  AddRef();
  const HResult hr = object_ ? object_->DoVerb(verb, msg, &xOleClientSite_, -1, view->m_hWnd, &position) : E_FAIL;
  Release();
  return !failed(hr);
}

void OleClientItem::Deactivate() {
  if (!inPlaceObject_) return;
  IOleInPlaceObject* object = inPlaceObject_;
  object->AddRef();
  object->InPlaceDeactivate();
  object->Release();
}

void OleClientItem::DeactivateUI() {
  if (inPlaceObject_ && state_ == ItemState::ActiveUI) inPlaceObject_->UIDeactivate();
}

HWND OleClientItem::GetInPlaceWindow() const {
  HWND hwnd = ui::kNoWnd;
  if (inPlaceObject_ && IsInPlaceActive()) inPlaceObject_->GetWindow(&hwnd);
  return hwnd;
}

void OleClientItem::SetItemRects(const gdi::Rect& position) {
  m_rect = position;
  if (!inPlaceObject_ || !view_ || !view_->IsWindow()) return;
  gdi::Rect clip;
  view_->GetClientRect(&clip);
  inPlaceObject_->SetObjectRects(&position, &clip);
}

bool OleClientItem::AdviseDataChange(std::uint16_t format, DWord aspect, DWord tymed, DWord advf) {
  if (dataConnection_) return true;
  auto* data = static_cast<IDataObject*>(QueryObject(IID_IDataObject));
  if (!data) return false;
  FormatEtc f;
  f.cfFormat = format;
  f.dwAspect = aspect;
  f.tymed = tymed;
  const bool ok = !failed(data->DAdvise(&f, advf, &xAdviseSink_, &dataConnection_));
  if (!ok) dataConnection_ = 0;
  data->Release();
  return ok;
}

void OleClientItem::UnadviseDataChange() {
  if (!dataConnection_) return;
  if (auto* data = static_cast<IDataObject*>(QueryObject(IID_IDataObject))) {
    data->DUnadvise(dataConnection_);
    data->Release();
  }
  dataConnection_ = 0;
}

bool OleClientItem::SaveObjectState(std::vector<std::uint8_t>* bytes) const {
  if (!bytes) return false;
  auto* persist = static_cast<IPersistStreamInit*>(QueryObject(IID_IPersistStreamInit));
  if (!persist) return false;
  IStream* stream = nullptr;
  bool ok = createStreamOnGlobal(nullptr, true, &stream) == S_OK && persist->Save(stream, 0) == S_OK;
  if (ok) {
    // The stream and its block are this call's own: their bytes are taken, not copied.
    *bytes = std::move(globalFromStream(stream)->bytes());
  }
  if (stream) stream->Release();
  persist->Release();
  return ok;
}

void OleClientItem::Serialize(Archive& ar) {
  if (ar.isStoring()) {
    const std::vector<std::uint8_t> id = writeGuid(clsid_);
    ar.writeBytes(id.data(), id.size());
    std::vector<std::uint8_t> state;
    if (!SaveObjectState(&state)) state.clear();
    ar.writeU32(static_cast<std::uint32_t>(state.size()));
    ar.writeBytes(std::move(state));
    refreshPresentation();
    SizeL extent = cachedExtent_;
    GetExtent(&extent);
    ar.writeI32(extent.cx);
    ar.writeI32(extent.cy);
    const std::vector<std::uint8_t>& picture = presentation_.IsNull() ? std::vector<std::uint8_t>() : presentation_.Bytes();
    ar.writeU32(static_cast<std::uint32_t>(picture.size()));
    ar.writeBytes(picture.data(), picture.size());
    return;
  }
  std::uint8_t id[16];
  ar.readBytes(id, sizeof id);
  const Guid clsid = readGuid(id);
  std::vector<std::uint8_t> state(ar.readCount(kMaxStateBytes, 1));
  ar.readBytes(state.data(), state.size());
  SizeL extent;
  extent.cx = ar.readI32();
  extent.cy = ar.readI32();
  std::vector<std::uint8_t> pictureBytes(ar.readCount(kMaxStateBytes, 1));
  ar.readBytes(pictureBytes.data(), pictureBytes.size());

  releaseObject();
  clsid_ = clsid;
  cachedExtent_ = extent;
  presentation_ = gdi::EnhMetaFile::FromBytes(pictureBytes);
  presentationStale_ = false;
  IOleObject* object = nullptr;
  if (clsid == Guid{} ||
      failed(createInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object))))
    return;
  const gdi::EnhMetaFile stored = presentation_;
  const bool initNew = state.empty();
  if (!attachObject(object, clsid, initNew, std::move(state), 0)) return;
  if (presentation_.IsNull()) presentation_ = stored;
}

IDataObject* OleClientItem::GetClipboardData() {
  if (!object_) return nullptr;
  IDataObject* data = nullptr;
  if (failed(object_->GetClipboardData(0, &data))) return nullptr;
  return data;
}

// --- Overridables -----------------------------------------------------------------------------------------

void OleClientItem::OnChange(OleNotification notification, DWord) {
  if (notification != OleNotification::Changed && notification != OleNotification::ChangedState) return;
  if (!document_) return;
  for (ui::View* view : document_->GetViews())
    if (view->IsWindow()) view->Invalidate();
}

void OleClientItem::OnGetItemPosition(gdi::Rect* position) {
  if (position) *position = m_rect;
}

bool OleClientItem::OnChangeItemPosition(const gdi::Rect& position) {
  SetItemRects(position);
  return true;
}

bool OleClientItem::CanActivate() { return view_ != nullptr && view_->IsWindow(); }

void OleClientItem::OnGetWindowContext(ui::FrameWnd** frame, ui::FrameWnd** document) {
  *frame = view_ ? view_->GetTopLevelFrame() : nullptr;
  *document = view_ ? view_->GetParentFrame() : nullptr;
  if (*document == *frame) *document = nullptr;
}

bool OleClientItem::GetAmbientProperty(DispId id, Variant* value) {
  variantInit(value);
  switch (id) {
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
      value->vt = VT_BOOL;
      value->boolean = kVariantTrue;
      return true;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_MESSAGEREFLECT:
      value->vt = VT_BOOL;
      value->boolean = kVariantFalse;
      return true;
    case DISPID_AMBIENT_LOCALEID:
      value->vt = VT_I4;
      value->i32 = 0x409;
      return true;
    case DISPID_AMBIENT_BACKCOLOR:
      value->vt = VT_I4;
      value->i32 = static_cast<std::int32_t>(0x80000005u);
      return true;
    case DISPID_AMBIENT_FORECOLOR:
      value->vt = VT_I4;
      value->i32 = static_cast<std::int32_t>(0x80000008u);
      return true;
    default:
      return false;
  }
}

// --- IOleClientSite ---------------------------------------------------------------------------------------

HResult OleClientItem::XOleClientSite::SaveObject() {
  if (OleDocument* doc = outer<OleClientItem>().document_) doc->SetModifiedFlag(true);
  return S_OK;
}
HResult OleClientItem::XOleClientSite::GetMoniker(DWord, DWord, IUnknown** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}
HResult OleClientItem::XOleClientSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}
HResult OleClientItem::XOleClientSite::ShowObject() {
  outer<OleClientItem>().OnShowItem();
  return S_OK;
}
HResult OleClientItem::XOleClientSite::OnShowWindow(Bool32) { return S_OK; }
HResult OleClientItem::XOleClientSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// --- IOleInPlaceSite --------------------------------------------------------------------------------------

HResult OleClientItem::XOleInPlaceSite::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  ui::View* view = outer<OleClientItem>().view_;
  *hwnd = view ? view->m_hWnd : ui::kNoWnd;
  return *hwnd != ui::kNoWnd ? S_OK : E_FAIL;
}
HResult OleClientItem::XOleInPlaceSite::ContextSensitiveHelp(Bool32) { return E_NOTIMPL; }
HResult OleClientItem::XOleInPlaceSite::CanInPlaceActivate() { return outer<OleClientItem>().CanActivate() ? S_OK : S_FALSE; }
HResult OleClientItem::XOleInPlaceSite::OnInPlaceActivate() {
  OleClientItem& self = outer<OleClientItem>();
  if (!self.inPlaceObject_) self.inPlaceObject_ = static_cast<IOleInPlaceObject*>(self.QueryObject(IID_IOleInPlaceObject));
  self.setState(ItemState::Active);
  self.OnActivate();
  return S_OK;
}
HResult OleClientItem::XOleInPlaceSite::OnUIActivate() {
  OleClientItem& self = outer<OleClientItem>();
  // One item of a view has the UI at a time.
  if (self.document_)
    for (OleClientItem* other : std::vector<OleClientItem*>(self.document_->GetItems()))
      if (other != &self && other->state_ == ItemState::ActiveUI && other->view_ == self.view_) other->DeactivateUI();
  self.setState(ItemState::ActiveUI);
  self.OnActivateUI();
  return S_OK;
}
HResult OleClientItem::XOleInPlaceSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                         gdi::Rect* position, gdi::Rect* clip, OleInPlaceFrameInfo* info) {
  if (!frame || !document || !position || !clip) return E_POINTER;
  OleClientItem& self = outer<OleClientItem>();
  *frame = nullptr;
  *document = nullptr;
  ui::FrameWnd* frameWnd = nullptr;
  ui::FrameWnd* docWnd = nullptr;
  self.OnGetWindowContext(&frameWnd, &docWnd);
  const ui::DocTemplate* docTemplate = self.document_ ? self.document_->GetDocTemplate() : nullptr;
  if (frameWnd) {
    OleFrameHook* hook = OleFrameHook::ForFrame(frameWnd);
    hook->SetInPlaceTemplate(docTemplate);
    *frame = hook->GetIOleInPlaceFrame();
    (*frame)->AddRef();
  }
  if (docWnd) {
    IOleInPlaceFrame* docFrame = OleFrameHook::ForFrame(docWnd)->GetIOleInPlaceFrame();
    docFrame->AddRef();
    *document = docFrame;
  }
  self.OnGetItemPosition(position);
  if (self.view_ && self.view_->IsWindow()) self.view_->GetClientRect(clip);
  else *clip = *position;
  if (info) {
    info->fMDIApp = dynamic_cast<ui::MDIFrameWnd*>(frameWnd) != nullptr;
    info->hwndFrame = frameWnd ? frameWnd->m_hWnd : ui::kNoWnd;
    // The container's keys while the object is active: its template's in-place table.
    if (docTemplate && !docTemplate->m_accelInPlace.IsEmpty())
      info->haccel = const_cast<ui::AccelTable*>(&docTemplate->m_accelInPlace);
    else info->haccel = frameWnd ? &frameWnd->m_accelTable : nullptr;
    info->cAccelEntries = 0;
  }
  return S_OK;
}
HResult OleClientItem::XOleInPlaceSite::Scroll(gdi::Size) { return S_OK; }
HResult OleClientItem::XOleInPlaceSite::OnUIDeactivate(Bool32 undoable) {
  OleClientItem& self = outer<OleClientItem>();
  // The container's frames get their whole area back.
  ui::FrameWnd* frameWnd = nullptr;
  ui::FrameWnd* docWnd = nullptr;
  self.OnGetWindowContext(&frameWnd, &docWnd);
  if (frameWnd) OleFrameHook::ForFrame(frameWnd)->SetBorderSpace(nullptr);
  if (docWnd) OleFrameHook::ForFrame(docWnd)->SetBorderSpace(nullptr);
  self.setState(ItemState::Active);
  self.OnDeactivateUI(undoable != 0);
  return S_OK;
}
HResult OleClientItem::XOleInPlaceSite::OnInPlaceDeactivate() {
  OleClientItem& self = outer<OleClientItem>();
  if (self.inPlaceObject_) self.inPlaceObject_->Release();
  self.inPlaceObject_ = nullptr;
  self.setState(ItemState::Loaded);
  self.UpdatePresentation();
  self.OnDeactivate();
  return S_OK;
}
HResult OleClientItem::XOleInPlaceSite::DiscardUndoState() { return S_OK; }
HResult OleClientItem::XOleInPlaceSite::DeactivateAndUndo() {
  outer<OleClientItem>().Deactivate();
  return S_OK;
}
HResult OleClientItem::XOleInPlaceSite::OnPosRectChange(const gdi::Rect* position) {
  if (!position) return E_POINTER;
  return outer<OleClientItem>().OnChangeItemPosition(*position) ? S_OK : E_FAIL;
}

// --- IAdviseSink ------------------------------------------------------------------------------------------

void OleClientItem::XAdviseSink::OnDataChange(const FormatEtc* format, StgMedium* medium) {
  OleClientItem& self = outer<OleClientItem>();
  self.AddRef();
  self.OnDataChange(format, medium);
  self.Release();
}
void OleClientItem::XAdviseSink::OnViewChange(DWord aspect, std::int32_t) {
  OleClientItem& self = outer<OleClientItem>();
  self.AddRef();
  self.UpdatePresentation();
  self.OnChange(OleNotification::Changed, aspect);
  self.Release();
}
void OleClientItem::XAdviseSink::OnRename(IUnknown*) { outer<OleClientItem>().OnChange(OleNotification::Renamed, 0); }
void OleClientItem::XAdviseSink::OnSave() { outer<OleClientItem>().OnChange(OleNotification::Saved, 0); }
void OleClientItem::XAdviseSink::OnClose() { outer<OleClientItem>().OnChange(OleNotification::Closed, 0); }

// --- IOleControlSite --------------------------------------------------------------------------------------

HResult OleClientItem::XOleControlSite::OnControlInfoChanged() { return S_OK; }
HResult OleClientItem::XOleControlSite::LockInPlaceActive(Bool32) { return S_OK; }
HResult OleClientItem::XOleControlSite::GetExtendedControl(IDispatch** control) {
  if (control) *control = nullptr;
  return E_NOTIMPL;
}
HResult OleClientItem::XOleControlSite::TransformCoords(PointL* himetric, PointF* container, DWord flags) {
  if (!himetric || !container) return E_POINTER;
  if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
    container->x = static_cast<float>(himetricToPixels(himetric->x));
    container->y = static_cast<float>(himetricToPixels(himetric->y));
  } else if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
    himetric->x = pixelsToHimetric(static_cast<std::int32_t>(container->x));
    himetric->y = pixelsToHimetric(static_cast<std::int32_t>(container->y));
  } else {
    return E_INVALIDARG;
  }
  return S_OK;
}
HResult OleClientItem::XOleControlSite::TranslateAccelerator(ui::MSG*, DWord) { return S_FALSE; }
HResult OleClientItem::XOleControlSite::OnFocus(Bool32) { return S_OK; }
HResult OleClientItem::XOleControlSite::ShowPropertyFrame() { return E_NOTIMPL; }

// --- Ambient properties -------------------------------------------------------------------------------------

HResult OleClientItem::XAmbientDispatch::GetTypeInfoCount(std::uint32_t* count) {
  if (count) *count = 0;
  return S_OK;
}
HResult OleClientItem::XAmbientDispatch::GetTypeInfo(std::uint32_t, Lcid, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}
HResult OleClientItem::XAmbientDispatch::GetIDsOfNames(const Guid&, const char16_t* const*, std::uint32_t, Lcid, DispId*) {
  return E_NOTIMPL;
}
HResult OleClientItem::XAmbientDispatch::Invoke(DispId id, const Guid&, Lcid, Word flags, DispParams*, Variant* result,
                                                ExcepInfo*, std::uint32_t*) {
  if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  Variant value;
  if (!outer<OleClientItem>().GetAmbientProperty(id, &value)) return DISP_E_MEMBERNOTFOUND;
  if (result) *result = value;
  else variantClear(&value);
  return S_OK;
}

// --- Frame hook ---------------------------------------------------------------------------------------------

const ComObject::InterfaceEntry OleFrameHook::kEntries[] = {
    interfaceEntry<IOleInPlaceFrame, &OleFrameHook::xOleInPlaceFrame_>(IID_IOleInPlaceFrame),
    interfaceEntry<IOleInPlaceUIWindow, &OleFrameHook::xOleInPlaceFrame_>(IID_IOleInPlaceUIWindow),
    interfaceEntry<IOleWindow, &OleFrameHook::xOleInPlaceFrame_>(IID_IOleWindow),
};
const ComObject::InterfaceMap OleFrameHook::kInterfaceMap{&ComObject::kInterfaceMap, kEntries};

OleFrameHook::OleFrameHook(ui::FrameWnd* frame) : frame_(frame) {}

OleFrameHook::~OleFrameHook() {
  if (activeObject_) activeObject_->Release();
}

OleFrameHook* OleFrameHook::ForFrame(ui::FrameWnd* frame) {
  if (!frame) return nullptr;
  if (auto* hook = dynamic_cast<OleFrameHook*>(frame->m_pNotifyHook)) return hook;
  auto* hook = new OleFrameHook(frame);
  Attach(frame, hook);
  return hook;
}

void OleFrameHook::Attach(ui::FrameWnd* frame, OleFrameHook* hook) {
  if (auto* old = dynamic_cast<OleFrameHook*>(frame->m_pNotifyHook); old && old != hook) old->OnFrameDestroy();
  frame->m_pNotifyHook = hook;
}

void OleFrameHook::OnFrameDestroy() {
  if (frame_ && frame_->m_pNotifyHook == this) frame_->m_pNotifyHook = nullptr;
  frame_ = nullptr;
  if (activeObject_) activeObject_->Release();
  activeObject_ = nullptr;
  Release();
}

HResult OleFrameHook::GetBorder(gdi::Rect* border) {
  if (!border) return E_POINTER;
  if (!frame_ || !frame_->IsWindow()) return E_UNEXPECTED;
  frame_->GetInsideClientRect(border);
  return S_OK;
}

HResult OleFrameHook::RequestBorderSpace(const BorderWidths* widths) {
  if (!widths) return S_OK;
  gdi::Rect border;
  const HResult hr = OleFrameHook::GetBorder(&border);
  if (failed(hr)) return hr;
  // The object may take widths that leave some of the area to the view.
  if (widths->left < 0 || widths->top < 0 || widths->right < 0 || widths->bottom < 0 ||
      std::int64_t(widths->left) + widths->right >= border.Width() ||
      std::int64_t(widths->top) + widths->bottom >= border.Height())
    return INPLACE_E_NOTOOLSPACE;
  return S_OK;
}

HResult OleFrameHook::SetBorderSpace(const BorderWidths* widths) {
  if (!frame_ || !frame_->IsWindow()) return E_UNEXPECTED;
  if (widths && OleFrameHook::RequestBorderSpace(widths) != S_OK) return INPLACE_E_NOTOOLSPACE;
  border_ = widths ? *widths : BorderWidths();
  // An object that takes tool space (even none) has the frame's bars marked CBRS_HIDE_INPLACE
  // hidden; they come back when it gives the space back.
  const bool barsChanged = frame_->ShowInPlaceBars(widths == nullptr);
  const gdi::Rect taken(border_.left, border_.top, border_.right, border_.bottom);
  if (frame_->m_rectBorder != taken) {
    frame_->m_rectBorder = taken;
    frame_->RecalcLayout();
  }
  // The object hears of the area those bars left or took once this negotiation is over (a
  // layout inside it reaches no object).
  if (barsChanged) frame_->DelayRecalcLayout();
  return S_OK;
}

HResult OleFrameHook::SetActiveObject(IOleInPlaceActiveObject* object, const char16_t*) {
  if (object) object->AddRef();
  if (activeObject_) activeObject_->Release();
  activeObject_ = object;
  return S_OK;
}

HResult OleFrameHook::SetStatusText(const char16_t* text) {
  if (!frame_ || !frame_->IsWindow()) return E_UNEXPECTED;
  status_ = text ? std::u16string(text) : std::u16string();
  frame_->SetMessageText(toUtf8(status_));
  return S_OK;
}

HResult OleFrameHook::InsertMenus(ui::Menu* shared, OleMenuGroupWidths* widths) {
  if (!shared || !widths) return E_POINTER;
  if (!frame_) return E_UNEXPECTED;
  widths->width[0] = widths->width[2] = widths->width[4] = 0;
  const bool templateMenu = template_ && template_->m_menuInPlace.GetMenuItemCount() > 0;
  containerPopups_ = mergeMenus(*shared, templateMenu ? template_->m_menuInPlace : frame_->m_menu, widths->width, 0);
  return S_OK;
}

void OleFrameHook::ShowMenu(ui::Menu* menu) {
  if (auto* mdi = dynamic_cast<ui::MDIFrameWnd*>(frame_)) mdi->ShowMenuThroughClient(menu ? menu : mdi->ActiveChildMenu());
  else frame_->SetMenu(menu ? menu : (frame_->m_menu.GetMenuItemCount() ? &frame_->m_menu : nullptr));
}

HResult OleFrameHook::SetMenu(ui::Menu* shared, void* descriptor, HWND activeObject) {
  if (!frame_ || !frame_->IsWindow()) return E_UNEXPECTED;
  objectPopups_.clear();
  sharedMenu_ = shared;
  menuObject_ = shared ? activeObject : ui::kNoWnd;
  if (const auto* d = static_cast<const OleMenuDescriptor*>(descriptor); d && shared) {
    // The object's groups (1, 3 and 5) lie between the container's.
    int position = 0;
    for (int group = 0; group < 6; ++group) {
      const int count = std::max(0, d->widths.width[group]);
      if (group % 2 == 1)
        for (int i = position; i < position + count; ++i)
          if (const ui::Menu* popup = shared->GetSubMenu(i)) objectPopups_.push_back(popup);
      position += count;
    }
  }
  ShowMenu(shared);
  return S_OK;
}

HResult OleFrameHook::RemoveMenus(ui::Menu* shared) {
  if (!shared) return E_POINTER;
  for (int i = shared->GetMenuItemCount() - 1; i >= 0; --i)
    if (std::find(containerPopups_.begin(), containerPopups_.end(), shared->GetSubMenu(i)) != containerPopups_.end())
      shared->DeleteMenu(static_cast<ui::UINT>(i), ui::MF_BYPOSITION);
  containerPopups_.clear();
  return S_OK;
}

void OleFrameHook::OnRecalcLayout() {
  if (!activeObject_ || resizing_ || !frame_) return;
  resizing_ = true;
  gdi::Rect border;
  if (!failed(OleFrameHook::GetBorder(&border))) {
    IOleInPlaceActiveObject* object = activeObject_;
    object->AddRef();
    // A document window (an MDI child) is not the frame window the object's bars live in.
    const Bool32 frameWindow = (frame_->GetStyle() & ui::WS_CHILD) ? 0 : 1;
    object->ResizeBorder(&border, &xOleInPlaceFrame_, frameWindow);
    object->Release();
  }
  resizing_ = false;
}

HWND OleFrameHook::PopupOwner(const ui::Menu* popup) {
  if (menuObject_ == ui::kNoWnd || !popup) return ui::kNoWnd;
  return std::find(objectPopups_.begin(), objectPopups_.end(), popup) != objectPopups_.end() ? menuObject_ : ui::kNoWnd;
}

bool OleFrameHook::OnPreTranslateMessage(ui::MSG* msg) {
  if (!activeObject_ || !msg || msg->message < ui::WM_KEYFIRST || msg->message > ui::WM_KEYLAST) return false;
  return activeObject_->TranslateAccelerator(msg) == S_OK;
}

HResult OleFrameHook::XOleInPlaceFrame::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  ui::FrameWnd* frame = outer<OleFrameHook>().frame_;
  *hwnd = frame ? frame->m_hWnd : ui::kNoWnd;
  return *hwnd != ui::kNoWnd ? S_OK : E_FAIL;
}
HResult OleFrameHook::XOleInPlaceFrame::ContextSensitiveHelp(Bool32) { return E_NOTIMPL; }
HResult OleFrameHook::XOleInPlaceFrame::GetBorder(gdi::Rect* border) { return outer<OleFrameHook>().GetBorder(border); }
HResult OleFrameHook::XOleInPlaceFrame::RequestBorderSpace(const BorderWidths* widths) {
  return outer<OleFrameHook>().RequestBorderSpace(widths);
}
HResult OleFrameHook::XOleInPlaceFrame::SetBorderSpace(const BorderWidths* widths) {
  return outer<OleFrameHook>().SetBorderSpace(widths);
}
HResult OleFrameHook::XOleInPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* object, const char16_t* name) {
  return outer<OleFrameHook>().SetActiveObject(object, name);
}
HResult OleFrameHook::XOleInPlaceFrame::InsertMenus(ui::Menu* shared, OleMenuGroupWidths* widths) {
  return outer<OleFrameHook>().InsertMenus(shared, widths);
}
HResult OleFrameHook::XOleInPlaceFrame::SetMenu(ui::Menu* shared, void* descriptor, HWND activeObject) {
  return outer<OleFrameHook>().SetMenu(shared, descriptor, activeObject);
}
HResult OleFrameHook::XOleInPlaceFrame::RemoveMenus(ui::Menu* shared) { return outer<OleFrameHook>().RemoveMenus(shared); }
HResult OleFrameHook::XOleInPlaceFrame::SetStatusText(const char16_t* text) { return outer<OleFrameHook>().SetStatusText(text); }
HResult OleFrameHook::XOleInPlaceFrame::EnableModeless(Bool32) { return S_OK; }
HResult OleFrameHook::XOleInPlaceFrame::TranslateAccelerator(ui::MSG*, std::uint16_t) { return S_FALSE; }

}  // namespace plat::ole
