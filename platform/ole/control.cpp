#include "platform/ole/control.h"

#include <algorithm>
#include <new>

#include "platform/base/text.h"
#include "platform/com/driver.h"
#include "platform/gdi/dc.h"
#include "platform/ole/enumerator.h"
#include "platform/ole/menus.h"
#include "platform/ole/proppage.h"
#include "platform/ui/dc.h"

namespace plat::ole {

namespace {

gdi::Rect toRect(const RectL& r) { return gdi::Rect(r.left, r.top, r.right, r.bottom); }

}  // namespace

gdi::COLORREF translateColor(std::uint32_t oleColor) {
  if (oleColor & 0x80000000u) return gdi::GetSysColor(static_cast<int>(oleColor & 0xFF));
  return oleColor & 0x00FFFFFFu;
}

UI_IMPLEMENT_DYNAMIC(OleControl, ui::Wnd)

UI_BEGIN_MESSAGE_MAP(OleControl, ui::Wnd)
  ui::map::Paint(&OleControl::OnPaint),
UI_END_MESSAGE_MAP()

const ComObject::InterfaceEntry OleControl::kEntries[] = {
    interfaceEntry<IOleObject, &OleControl::xOleObject_>(IID_IOleObject),
    interfaceEntry<IOleInPlaceObject, &OleControl::xOleInPlaceObject_>(IID_IOleInPlaceObject),
    interfaceEntry<IOleWindow, &OleControl::xOleInPlaceObject_>(IID_IOleWindow),
    interfaceEntry<IOleInPlaceActiveObject, &OleControl::xOleInPlaceActiveObject_>(IID_IOleInPlaceActiveObject),
    interfaceEntry<IOleControl, &OleControl::xOleControl_>(IID_IOleControl),
    interfaceEntry<IDataObject, &OleControl::xDataObject_>(IID_IDataObject),
    interfaceEntry<IViewObject2, &OleControl::xViewObject_>(IID_IViewObject2),
    interfaceEntry<IViewObject, &OleControl::xViewObject_>(IID_IViewObject),
    interfaceEntry<IPersistStreamInit, &OleControl::xPersistStreamInit_>(IID_IPersistStreamInit),
    interfaceEntry<IPersist, &OleControl::xPersistStreamInit_>(IID_IPersist),
    interfaceEntry<ISpecifyPropertyPages, &OleControl::xSpecifyPropertyPages_>(IID_ISpecifyPropertyPages),
};
const ComObject::InterfaceMap OleControl::kInterfaceMap{&ComObject::kInterfaceMap, kEntries};

OleControl::OleControl(const DispInterfaceDesc& dispatch, const TypeLibDesc* library) : AutomationObject(dispatch, library) {}

OleControl::OleControl(const CoClassDesc& coclass, const TypeLibDesc* library) : AutomationObject(coclass, library) {}

OleControl::~OleControl() {
  closing_ = true;
  if (IsWindow()) DestroyWindow();
  releaseInPlace();
  if (viewSink_) viewSink_->Release();
  setClientSite(nullptr);
}

void OleControl::OnFinalRelease() {
  // Whatever the window's destruction does with the control's interfaces cannot release it a
  // second time: it holds a reference until it is deleted.
  AddRef();
  closing_ = true;
  if (IsWindow()) DestroyWindow();
  delete this;
}

const Guid* OleControl::GetPropPageIDs(std::uint32_t& count) {
  count = 0;
  return nullptr;
}

// --- Client site and ambient properties -----------------------------------------------------------------

HResult OleControl::setClientSite(IOleClientSite* site) {
  if (site) site->AddRef();
  if (simpleFrameSite_) simpleFrameSite_->Release();
  if (ambient_) ambient_->Release();
  if (clientSite_) clientSite_->Release();
  simpleFrameSite_ = nullptr;
  ambient_ = nullptr;
  clientSite_ = site;
  if (site) {
    simpleFrameSite_ = queryInterface<ISimpleFrameSite>(site, IID_ISimpleFrameSite);
    ambient_ = queryInterface<IDispatch>(site, IID_IDispatch);
  }
  if (!closing_) OnSetClientSite();
  return S_OK;
}

bool OleControl::GetAmbientProperty(DispId id, VarType type, void* value) {
  if (!ambient_ || !value) return false;
  DispatchDriver driver(ambient_);
  Variant v;
  variantInit(&v);
  if (failed(driver.getProperty(id, &v))) {
    variantClear(&v);
    return false;
  }
  Variant c;
  variantInit(&c);
  const bool ok = !failed(changeType(&c, v, 0, type));
  variantClear(&v);
  if (ok) {
    switch (type) {
      case VT_I4: *static_cast<std::int32_t*>(value) = c.i32; break;
      case VT_UI4: *static_cast<std::uint32_t*>(value) = c.u32; break;
      case VT_BOOL: *static_cast<bool*>(value) = c.boolean != 0; break;
      case VT_BSTR: *static_cast<std::u16string*>(value) = std::u16string(stringView(c.bstr)); break;
      default: variantClear(&c); return false;
    }
  }
  variantClear(&c);
  return ok;
}

std::uint32_t OleControl::AmbientBackColor() {
  std::uint32_t c = 0x80000005u;
  GetAmbientProperty(DISPID_AMBIENT_BACKCOLOR, VT_UI4, &c);
  return c;
}
std::uint32_t OleControl::AmbientForeColor() {
  std::uint32_t c = 0x80000008u;
  GetAmbientProperty(DISPID_AMBIENT_FORECOLOR, VT_UI4, &c);
  return c;
}
bool OleControl::AmbientUserMode() {
  bool b = true;
  GetAmbientProperty(DISPID_AMBIENT_USERMODE, VT_BOOL, &b);
  return b;
}
bool OleControl::AmbientUIDead() {
  bool b = false;
  GetAmbientProperty(DISPID_AMBIENT_UIDEAD, VT_BOOL, &b);
  return b;
}
bool OleControl::AmbientShowHatching() {
  bool b = true;
  GetAmbientProperty(DISPID_AMBIENT_SHOWHATCHING, VT_BOOL, &b);
  return b;
}
std::u16string OleControl::AmbientDisplayName() {
  std::u16string s;
  GetAmbientProperty(DISPID_AMBIENT_DISPLAYNAME, VT_BSTR, &s);
  return s;
}
Lcid OleControl::AmbientLocaleID() {
  std::int32_t l = 0;
  GetAmbientProperty(DISPID_AMBIENT_LOCALEID, VT_I4, &l);
  return static_cast<Lcid>(l);
}

// --- Activation --------------------------------------------------------------------------------------------

HResult OleControl::OnActivateInPlace(bool uiActivate, ui::MSG*) {
  if (inActivation_) return E_UNEXPECTED;
  if (!clientSite_) return E_UNEXPECTED;
  inActivation_ = true;
  if (!inPlaceActive_) {
    IOleInPlaceSite* site = queryInterface<IOleInPlaceSite>(clientSite_, IID_IOleInPlaceSite);
    if (!site || site->CanInPlaceActivate() != S_OK) {
      if (site) site->Release();
      inActivation_ = false;
      return E_FAIL;
    }
    inPlaceSite_ = site;
    site->OnInPlaceActivate();
    HWND parent = ui::kNoWnd;
    site->GetWindow(&parent);
    gdi::Rect position, clip;
    frameInfo_ = OleInPlaceFrameInfo();
    if (failed(site->GetWindowContext(&inPlaceFrame_, &inPlaceDoc_, &position, &clip, &frameInfo_))) {
      inPlaceFrame_ = nullptr;
      inPlaceDoc_ = nullptr;
    }
    inPlaceActive_ = true;
    if (!CreateControlWindow(parent, position, &clip)) {
      inActivation_ = false;
      InPlaceDeactivate();
      return E_FAIL;
    }
  }
  if (uiActivate && !uiActive_ && inPlaceSite_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    IOleInPlaceActiveObject* active = InPlaceActiveObject();
    if (inPlaceFrame_) inPlaceFrame_->SetActiveObject(active, nullptr);
    if (inPlaceDoc_) inPlaceDoc_->SetActiveObject(active, nullptr);
    AddFrameLevelUI();
    if (IsWindow()) SetFocus();
  }
  inActivation_ = false;
  return S_OK;
}

HResult OleControl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  RemoveFrameLevelUI();
  if (inPlaceFrame_) inPlaceFrame_->SetActiveObject(nullptr, nullptr);
  if (inPlaceDoc_) inPlaceDoc_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(0);
  return S_OK;
}

HResult OleControl::InPlaceDeactivate() {
  if (!inPlaceActive_) return S_OK;
  UIDeactivate();
  OnHide();
  inPlaceActive_ = false;
  IOleInPlaceSite* site = inPlaceSite_;
  inPlaceSite_ = nullptr;
  releaseInPlace();
  if (site) {
    site->OnInPlaceDeactivate();
    site->Release();
  }
  return S_OK;
}

void OleControl::releaseInPlace() {
  if (inPlaceFrame_) inPlaceFrame_->Release();
  if (inPlaceDoc_) inPlaceDoc_->Release();
  if (inPlaceSite_) inPlaceSite_->Release();
  inPlaceFrame_ = nullptr;
  inPlaceDoc_ = nullptr;
  inPlaceSite_ = nullptr;
}

bool OleControl::CreateControlWindow(HWND parent, const gdi::Rect& position, const gdi::Rect*) {
  ui::Wnd* host = ui::Wnd::FromHandle(parent);
  if (!host) return false;
  gdi::Rect rect = position;
  if (reflector_ && reflector_->IsWindow()) {
    if (reflector_->GetParent() != host) reflector_->SetParent(host);
    reflector_->MoveWindow(position);
    reflector_->ShowWindow(ui::SW_SHOWNA);
    host = reflector_;
    rect = gdi::Rect(0, 0, position.Width(), position.Height());
  }
  if (IsWindow()) {
    if (GetParent() != host) SetParent(host);
    MoveWindow(rect);
    ShowWindow(ui::SW_SHOWNA);
    return true;
  }
  return CreateEx(0, nullptr, "", ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_CLIPSIBLINGS | ui::WS_CLIPCHILDREN, rect, host, 0);
}

void OleControl::OnSetObjectRects(const gdi::Rect& position, const gdi::Rect*) {
  if (reflector_ && reflector_->IsWindow()) {
    reflector_->MoveWindow(position);
    if (IsWindow()) MoveWindow(0, 0, position.Width(), position.Height());
  } else if (IsWindow()) {
    MoveWindow(position);
  }
}

void OleControl::OnHide() {
  if (reflector_ && reflector_->IsWindow()) reflector_->ShowWindow(ui::SW_HIDE);
  else if (IsWindow()) ShowWindow(ui::SW_HIDE);
}

IOleInPlaceActiveObject* OleControl::InPlaceActiveObject() { return &xOleInPlaceActiveObject_; }

bool OleControl::OnTranslateAccelerator(ui::MSG* msg) { return msg && PreTranslateMessage(msg); }

// --- Frame-level user interface --------------------------------------------------------------------------

void OleControl::AddFrameLevelUI() {
  if (OnGetInPlaceMenu()) BuildSharedMenu();
  OnShowToolBars();
}

void OleControl::RemoveFrameLevelUI() {
  OnHideToolBars();
  DestroySharedMenu();
}

bool OleControl::BuildSharedMenu() {
  ui::Menu* mine = OnGetInPlaceMenu();
  if (!mine || !inPlaceFrame_) return false;
  DestroySharedMenu();
  auto shared = std::make_unique<ui::Menu>();
  shared->CreateMenu();
  menuDescriptor_ = OleMenuDescriptor();
  inPlaceFrame_->InsertMenus(shared.get(), &menuDescriptor_.widths);
  // The control's popups form the Object group, after the container's File, Edit and Container
  // groups.
  ui::Menu popups;
  popups.CreateMenu();
  copyMenuItems(*mine, popups);
  const int at = menuDescriptor_.widths.width[0] + menuDescriptor_.widths.width[1] + menuDescriptor_.widths.width[2];
  int added = 0;
  while (popups.GetMenuItemCount() > 0) {
    const std::string text = popups.GetMenuString(0, ui::MF_BYPOSITION);
    std::unique_ptr<ui::Menu> popup = popups.RemoveMenu(0, ui::MF_BYPOSITION);
    if (!popup) continue;
    shared->InsertPopup(static_cast<ui::UINT>(at + added), std::move(popup), text);
    ++added;
  }
  menuDescriptor_.widths.width[3] = added;
  sharedMenu_ = std::move(shared);
  inPlaceFrame_->SetMenu(sharedMenu_.get(), &menuDescriptor_, m_hWnd);
  return true;
}

void OleControl::DestroySharedMenu() {
  if (!sharedMenu_) return;
  if (inPlaceFrame_) {
    inPlaceFrame_->SetMenu(nullptr, nullptr, ui::kNoWnd);
    inPlaceFrame_->RemoveMenus(sharedMenu_.get());
  }
  sharedMenu_.reset();
}

bool OleControl::NegotiateBorderSpace(const BorderWidths& widths, gdi::Rect* area) {
  if (!inPlaceFrame_) return false;
  gdi::Rect border;
  if (failed(inPlaceFrame_->GetBorder(&border))) {
    inPlaceFrame_->SetBorderSpace(nullptr);
    return false;
  }
  if (inPlaceFrame_->RequestBorderSpace(&widths) != S_OK) {
    const BorderWidths none;
    inPlaceFrame_->SetBorderSpace(&none);
    return false;
  }
  if (failed(inPlaceFrame_->SetBorderSpace(&widths))) return false;
  if (area) *area = border;
  return true;
}

void OleControl::SetStatusText(std::string_view text) {
  if (!inPlaceFrame_) return;
  const String16 wide = toUtf16(text);
  inPlaceFrame_->SetStatusText(wide.c_str());
}

// --- Verbs ---------------------------------------------------------------------------------------------------

HResult OleControl::doVerb(std::int32_t verb, ui::MSG* msg, IOleClientSite* site, HWND parent, const gdi::Rect* position) {
  if (site && !clientSite_) setClientSite(site);
  return OnDoVerb(verb, msg, parent, position);
}

HResult OleControl::OnDoVerb(std::int32_t verb, ui::MSG* msg, HWND parent, const gdi::Rect* position) {
  if (const std::span<const VerbEntry> verbs = GetVerbs(); !verbs.empty() && (verb >= 0 || verb == OLEIVERB_OPEN)) {
    const std::size_t index = verb == OLEIVERB_OPEN ? 0 : static_cast<std::size_t>(verb);
    if (index >= verbs.size()) return OLEOBJ_S_INVALIDVERB;
    const bool done = verbs[index].action == VerbAction::Edit ? OnEdit(msg, parent, position)
                                                              : OnProperties(msg, parent, position);
    return done ? S_OK : E_FAIL;
  }
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_OPEN:
      return OnEdit(msg, parent, position) ? S_OK : E_FAIL;
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
      return OnActivateInPlace(true, msg);
    case OLEIVERB_INPLACEACTIVATE:
      return OnActivateInPlace(false, msg);
    case OLEIVERB_HIDE:
      UIDeactivate();
      OnHide();
      return S_OK;
    case OLEIVERB_PROPERTIES:
      return OnProperties(msg, parent, position) ? S_OK : E_FAIL;
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

bool OleControl::OnEdit(ui::MSG* msg, HWND, const gdi::Rect*) { return !failed(OnActivateInPlace(true, msg)); }

bool OleControl::OnProperties(ui::MSG*, HWND parent, const gdi::Rect*) {
  std::uint32_t count = 0;
  const Guid* pages = GetPropPageIDs(count);
  if (!pages || count == 0) return false;
  IUnknown* self = GetUnknown();
  const HWND owner = parent != ui::kNoWnd ? parent : m_hWnd;
  std::u16string caption = GetUserTypeName();
  return showPropertyFrame(owner, caption, std::span<IUnknown* const>(&self, 1), std::span<const Guid>(pages, count),
                           AmbientLocaleID()) != -1;
}

void OleControl::OnClose(DWord saveOption) {
  if (saveOption == OLECLOSE_SAVEIFDIRTY && modified_ && clientSite_) clientSite_->SaveObject();
  InPlaceDeactivate();
  if (IsWindow()) DestroyWindow();
  oleAdvise_.SendOnClose();
  dataAdvise_.clear();
  oleAdvise_.clear();
}

// --- Modified flag, extent and persistence ---------------------------------------------------------------------

void OleControl::SetModifiedFlag(bool modified) {
  modified_ = modified;
  if (modified) sendDataChange();
}

void OleControl::sendDataChange() { dataAdvise_.SendOnDataChange(&xDataObject_); }

gdi::Size OleControl::GetControlSize() const { return himetricToPixels(extent_); }

void OleControl::SetInitialSize(int cx, int cy) { extent_ = pixelsToHimetric(gdi::Size{cx, cy}); }

bool OleControl::OnSetExtent(const SizeL& extent) { return extent.cx > 0 && extent.cy > 0; }

void OleControl::DoPropExchange(PropExchange* px) {
  ExchangeExtent(px);
  ExchangeStockProps(px);
}

void OleControl::Serialize(Archive& ar) {
  PropExchange px(&ar);
  DoPropExchange(&px);
  if (ar.isLoading()) InvalidateControl();
}

void OleControl::ExchangeVersion(PropExchange* px, DWord version) { px->ExchangeVersion(&loadedVersion_, version); }

void OleControl::ExchangeExtent(PropExchange* px) {
  SizeL e = extent_;
  PX_Long(px, "_ExtentX", e.cx, extent_.cx);
  PX_Long(px, "_ExtentY", e.cy, extent_.cy);
  // A stored extent that is not positive is no size: the control keeps its own.
  if (e.cx > 0 && e.cy > 0) extent_ = e;
}

void OleControl::ExchangeStockProps(PropExchange* px) {
  if (stockMask_ & STOCKPROP_BACKCOLOR) PX_Color(px, "BackColor", backColor_, AmbientBackColor());
  if (stockMask_ & STOCKPROP_FORECOLOR) PX_Color(px, "ForeColor", foreColor_, AmbientForeColor());
  if (stockMask_ & STOCKPROP_ENABLED) PX_Bool(px, "Enabled", enabled_, true);
  if (stockMask_ & STOCKPROP_CAPTION) PX_String(px, "Caption", caption_, {});
  if (stockMask_ & STOCKPROP_BORDERSTYLE) PX_Short(px, "BorderStyle", borderStyle_, 0);
}

bool OleControl::SaveState(std::vector<std::uint8_t>* bytes, std::span<const std::uint8_t> prefix) {
  if (!bytes) return false;
  try {
    Archive ar;
    ar.writeBytes(prefix.data(), prefix.size());
    Serialize(ar);
    *bytes = ar.takeBytes();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool OleControl::LoadState(std::span<const std::uint8_t> bytes) {
  try {
    Archive ar(Archive::Borrow{}, bytes);
    Serialize(ar);
  } catch (const std::exception&) {
    return false;
  }
  modified_ = false;
  return true;
}

bool OleControl::InitNewState() {
  try {
    PropExchange px(nullptr);
    DoPropExchange(&px);
  } catch (const std::exception&) {
    return false;
  }
  modified_ = false;
  return true;
}

// --- Drawing -----------------------------------------------------------------------------------------------

void OleControl::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) {
  dc->FillSolidRect(bounds, translateColor(backColor_));
}

void OleControl::OnDrawMetafile(gdi::DC* dc, const gdi::Rect& bounds) { OnDraw(dc, bounds, bounds); }

void OleControl::OnPaint() {
  ui::PaintDC dc(this);
  gdi::Rect client;
  GetClientRect(&client);
  OnDraw(&dc, client, dc.m_ps.rcPaint);
}

void OleControl::InvalidateControl(const gdi::Rect* rect, bool erase) {
  if (inPlaceActive_ && IsWindow() && IsWindowVisible()) {
    InvalidateRect(rect, erase);
  } else if (viewSink_) {
    IAdviseSink* sink = viewSink_;
    sink->AddRef();
    sink->OnViewChange(DVASPECT_CONTENT, -1);
    sink->Release();
  }
}

gdi::EnhMetaFile OleControl::DrawPresentation() {
  const gdi::Size size = GetControlSize();
  const gdi::Rect frame(0, 0, extent_.cx, extent_.cy);
  gdi::DC recording = gdi::DC::CreateEnhMetaFile(nullptr, &frame, u"KEDRUS");
  OnDrawMetafile(&recording, gdi::Rect(0, 0, size.cx, size.cy));
  return recording.CloseEnhMetaFile();
}

// --- Data -------------------------------------------------------------------------------------------------

IDataObject* OleControl::GetClipboardDataObject() {
  auto* source = new (std::nothrow) DataSource;
  if (!source) return nullptr;
  const gdi::EnhMetaFile picture = DrawPresentation();
  source->CacheEnhMetaFile(picture);
  source->CacheData(ui::CF_METAFILEPICT, picture.ToWmf());
  std::vector<std::uint8_t> embedding;
  if (SaveState(&embedding, writeGuid(GetClassID()))) source->CacheData(embedSourceFormat(), std::move(embedding));
  source->CacheData(objectDescriptorFormat(), writeObjectDescriptor({GetClassID(), extent_, GetMiscStatus()}));
  return source->GetIDataObject(false);
}

HResult OleControl::getData(const FormatEtc* format, StgMedium* medium) {
  if (!format || !medium) return E_POINTER;
  *medium = StgMedium();
  if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (format->cfFormat == ui::CF_ENHMETAFILE) {
    if (!(format->tymed & TYMED_ENHMF)) return DV_E_TYMED;
    medium->tymed = TYMED_ENHMF;
    medium->hEnhMetaFile = new (std::nothrow) gdi::EnhMetaFile(DrawPresentation());
    return medium->hEnhMetaFile ? S_OK : E_OUTOFMEMORY;
  }
  std::vector<std::uint8_t> bytes;
  DWord tymed = TYMED_HGLOBAL;
  if (format->cfFormat == ui::CF_METAFILEPICT) {
    tymed = TYMED_MFPICT;
    bytes = DrawPresentation().ToWmf();
  } else if (format->cfFormat == embedSourceFormat()) {
    // The class id, then the state, written as one block.
    if (!SaveState(&bytes, writeGuid(GetClassID()))) return E_FAIL;
  } else if (format->cfFormat == objectDescriptorFormat()) {
    bytes = writeObjectDescriptor({GetClassID(), extent_, GetMiscStatus()});
  } else {
    return DV_E_FORMATETC;
  }
  if (!(format->tymed & tymed)) return DV_E_TYMED;
  medium->tymed = tymed;
  medium->hGlobal = new (std::nothrow) GlobalMemory(std::move(bytes));
  return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
}

// --- Stock properties ---------------------------------------------------------------------------------------

void OleControl::SetBackColor(std::uint32_t color) {
  backColor_ = color;
  SetModifiedFlag();
  InvalidateControl();
}
void OleControl::SetForeColor(std::uint32_t color) {
  foreColor_ = color;
  SetModifiedFlag();
  InvalidateControl();
}
void OleControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (IsWindow()) EnableWindow(enabled);
  SetModifiedFlag();
  InvalidateControl();
}
Bstr OleControl::GetCaption() { return allocString(toUtf16(caption_)); }
void OleControl::SetCaption(const char16_t* caption) {
  caption_ = toUtf8(stringView(caption));
  SetModifiedFlag();
  InvalidateControl();
}
void OleControl::SetBorderStyle(std::int16_t style) {
  borderStyle_ = style;
  SetModifiedFlag();
  InvalidateControl();
}

// --- Messages --------------------------------------------------------------------------------------------------

ui::LRESULT OleControl::WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
  const auto handle = [&] {
    // A click into an in-place active control gives it the UI.
    if ((message == ui::WM_LBUTTONDOWN || message == ui::WM_RBUTTONDOWN || message == ui::WM_MBUTTONDOWN) &&
        inPlaceActive_ && !uiActive_)
      OnActivateInPlace(true, nullptr);
    return ui::Wnd::WindowProc(message, wParam, lParam);
  };
  if (simpleFrame_ && simpleFrameSite_ && inPlaceActive_) {
    ISimpleFrameSite* site = simpleFrameSite_;
    site->AddRef();
    ui::LRESULT result = 0;
    DWord cookie = 0;
    const HWND self = m_hWnd;
    if (site->PreMessageFilter(self, message, wParam, lParam, &result, &cookie) == S_FALSE) {
      site->Release();
      return result;
    }
    result = handle();
    site->PostMessageFilter(self, message, wParam, lParam, &result, cookie);
    site->Release();
    return result;
  }
  return handle();
}

// --- IOleObject ------------------------------------------------------------------------------------------------

HResult OleControl::XOleObject::SetClientSite(IOleClientSite* site) { return outer<OleControl>().setClientSite(site); }
HResult OleControl::XOleObject::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = outer<OleControl>().clientSite_;
  if (*site) (*site)->AddRef();
  return S_OK;
}
HResult OleControl::XOleObject::SetHostNames(const char16_t*, const char16_t*) { return S_OK; }
HResult OleControl::XOleObject::Close(DWord saveOption) {
  OleControl& self = outer<OleControl>();
  self.AddRef();
  self.OnClose(saveOption);
  self.Release();
  return S_OK;
}
HResult OleControl::XOleObject::SetMoniker(DWord, IUnknown*) { return E_NOTIMPL; }
HResult OleControl::XOleObject::GetMoniker(DWord, DWord, IUnknown** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}
HResult OleControl::XOleObject::InitFromData(IDataObject* data, Bool32, DWord) {
  OleControl& self = outer<OleControl>();
  std::vector<std::uint8_t> bytes;
  Guid clsid;
  std::span<const std::uint8_t> state;
  if (!DataReader::GetBytes(data, embedSourceFormat(), &bytes) || !readEmbedSource(bytes, &clsid, &state) ||
      clsid != self.GetClassID())
    return S_FALSE;
  return self.LoadState(state) ? S_OK : E_FAIL;
}
HResult OleControl::XOleObject::GetClipboardData(DWord, IDataObject** data) {
  if (!data) return E_POINTER;
  *data = outer<OleControl>().GetClipboardDataObject();
  return *data ? S_OK : E_OUTOFMEMORY;
}
HResult OleControl::XOleObject::DoVerb(std::int32_t verb, ui::MSG* msg, IOleClientSite* site, std::int32_t, HWND parent,
                                       const gdi::Rect* position) {
  OleControl& self = outer<OleControl>();
  self.AddRef();
  const HResult hr = self.doVerb(verb, msg, site, parent, position);
  self.Release();
  return hr;
}
namespace {

struct NamedVerb {
  OleVerb verb;
  String16 name;
};

// The caller owns the name it is handed (taskMemFree).
void giveVerb(const NamedVerb& stored, OleVerb* out) {
  *out = stored.verb;
  out->lpszVerbName = static_cast<char16_t*>(taskMemAlloc((stored.name.size() + 1) * sizeof(char16_t)));
  if (!out->lpszVerbName) return;
  std::copy(stored.name.begin(), stored.name.end(), out->lpszVerbName);
  out->lpszVerbName[stored.name.size()] = u'\0';
}

using VerbEnum = ListEnum<IEnumOleVerb, IID_IEnumOLEVERB, OleVerb, NamedVerb, &giveVerb>;

}  // namespace

HResult OleControl::XOleObject::EnumVerbs(IEnumOleVerb** verbs) {
  if (!verbs) return E_POINTER;
  *verbs = nullptr;
  const std::span<const VerbEntry> own = outer<OleControl>().GetVerbs();
  if (own.empty()) return OLE_S_USEREG;
  std::vector<NamedVerb> list;
  for (std::size_t n = 0; n < own.size(); ++n)
    list.push_back({{static_cast<std::int32_t>(n), nullptr, own[n].menuFlags, own[n].attributes},
                    toUtf16(own[n].name ? own[n].name : "")});
  return VerbEnum::create(std::move(list), verbs);
}
HResult OleControl::XOleObject::Update() { return S_OK; }
HResult OleControl::XOleObject::IsUpToDate() { return S_OK; }
HResult OleControl::XOleObject::GetUserClassID(Guid* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = outer<OleControl>().GetClassID();
  return S_OK;
}
HResult OleControl::XOleObject::GetUserType(DWord, Bstr* userType) {
  if (!userType) return E_POINTER;
  const std::u16string name = outer<OleControl>().GetUserTypeName();
  *userType = name.empty() ? nullptr : allocString(name);
  return name.empty() ? OLE_S_USEREG : S_OK;
}
HResult OleControl::XOleObject::SetExtent(DWord aspect, const SizeL* himetric) {
  if (!himetric) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  OleControl& self = outer<OleControl>();
  if (!self.OnSetExtent(*himetric)) return E_FAIL;
  if (!(self.extent_ == *himetric)) {
    self.extent_ = *himetric;
    self.SetModifiedFlag();
    self.InvalidateControl();
  }
  return S_OK;
}
HResult OleControl::XOleObject::GetExtent(DWord aspect, SizeL* himetric) {
  if (!himetric) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *himetric = outer<OleControl>().extent_;
  return S_OK;
}
HResult OleControl::XOleObject::Advise(IAdviseSink* sink, DWord* connection) {
  return outer<OleControl>().oleAdvise_.Advise(sink, connection);
}
HResult OleControl::XOleObject::Unadvise(DWord connection) { return outer<OleControl>().oleAdvise_.Unadvise(connection); }
HResult OleControl::XOleObject::EnumAdvise(IUnknown** advise) {
  if (advise) *advise = nullptr;
  return E_NOTIMPL;
}
HResult OleControl::XOleObject::GetMiscStatus(DWord aspect, DWord* status) {
  if (!status) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? outer<OleControl>().GetMiscStatus() : 0;
  return S_OK;
}
HResult OleControl::XOleObject::SetColorScheme(void*) { return E_NOTIMPL; }

// --- IOleInPlaceObject ------------------------------------------------------------------------------------------

HResult OleControl::XOleInPlaceObject::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = outer<OleControl>().m_hWnd;
  return *hwnd != ui::kNoWnd ? S_OK : E_FAIL;
}
HResult OleControl::XOleInPlaceObject::ContextSensitiveHelp(Bool32) { return E_NOTIMPL; }
HResult OleControl::XOleInPlaceObject::InPlaceDeactivate() {
  OleControl& self = outer<OleControl>();
  self.AddRef();
  const HResult hr = self.InPlaceDeactivate();
  self.Release();
  return hr;
}
HResult OleControl::XOleInPlaceObject::UIDeactivate() { return outer<OleControl>().UIDeactivate(); }
HResult OleControl::XOleInPlaceObject::SetObjectRects(const gdi::Rect* position, const gdi::Rect* clip) {
  if (!position) return E_POINTER;
  outer<OleControl>().OnSetObjectRects(*position, clip);
  return S_OK;
}
HResult OleControl::XOleInPlaceObject::ReactivateAndUndo() { return E_NOTIMPL; }

// --- IOleInPlaceActiveObject ------------------------------------------------------------------------------------

HResult OleControl::XOleInPlaceActiveObject::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = outer<OleControl>().m_hWnd;
  return *hwnd != ui::kNoWnd ? S_OK : E_FAIL;
}
HResult OleControl::XOleInPlaceActiveObject::ContextSensitiveHelp(Bool32) { return E_NOTIMPL; }
HResult OleControl::XOleInPlaceActiveObject::TranslateAccelerator(ui::MSG* msg) {
  return outer<OleControl>().OnTranslateAccelerator(msg) ? S_OK : S_FALSE;
}
HResult OleControl::XOleInPlaceActiveObject::OnFrameWindowActivate(Bool32) { return S_OK; }
HResult OleControl::XOleInPlaceActiveObject::OnDocWindowActivate(Bool32 activate) {
  OleControl& self = outer<OleControl>();
  if (!self.uiActive_) return S_OK;
  if (activate) self.AddFrameLevelUI();
  else self.RemoveFrameLevelUI();
  return S_OK;
}
HResult OleControl::XOleInPlaceActiveObject::ResizeBorder(const gdi::Rect*, IOleInPlaceUIWindow*, Bool32) { return S_OK; }
HResult OleControl::XOleInPlaceActiveObject::EnableModeless(Bool32) { return S_OK; }

// --- IOleControl -------------------------------------------------------------------------------------------------

HResult OleControl::XOleControl::GetControlInfo(ControlInfo* info) {
  if (!info) return E_POINTER;
  *info = ControlInfo();
  return S_OK;
}
HResult OleControl::XOleControl::OnMnemonic(ui::MSG*) { return E_NOTIMPL; }
HResult OleControl::XOleControl::OnAmbientPropertyChange(DispId id) {
  outer<OleControl>().OnAmbientPropertyChange(id);
  return S_OK;
}
HResult OleControl::XOleControl::FreezeEvents(Bool32) { return S_OK; }

// --- IDataObject --------------------------------------------------------------------------------------------------

HResult OleControl::XDataObject::GetData(const FormatEtc* format, StgMedium* medium) {
  return outer<OleControl>().getData(format, medium);
}
HResult OleControl::XDataObject::GetDataHere(const FormatEtc*, StgMedium*) { return E_NOTIMPL; }
HResult OleControl::XDataObject::QueryGetData(const FormatEtc* format) {
  if (!format) return E_POINTER;
  if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  const std::uint16_t f = format->cfFormat;
  if (f == ui::CF_ENHMETAFILE) return format->tymed & TYMED_ENHMF ? S_OK : DV_E_TYMED;
  if (f == ui::CF_METAFILEPICT) return format->tymed & TYMED_MFPICT ? S_OK : DV_E_TYMED;
  if (f == embedSourceFormat() || f == objectDescriptorFormat()) return format->tymed & TYMED_HGLOBAL ? S_OK : DV_E_TYMED;
  return DV_E_FORMATETC;
}
HResult OleControl::XDataObject::GetCanonicalFormatEtc(const FormatEtc* in, FormatEtc* out) {
  if (!in || !out) return E_POINTER;
  *out = *in;
  out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}
HResult OleControl::XDataObject::SetData(const FormatEtc*, StgMedium*, Bool32) { return E_NOTIMPL; }
HResult OleControl::XDataObject::EnumFormatEtc(DWord direction, IEnumFormatEtc** formats) {
  if (direction != DATADIR_GET) return E_NOTIMPL;
  std::vector<FormatEtc> list(4);
  list[0].cfFormat = ui::CF_ENHMETAFILE;
  list[0].tymed = TYMED_ENHMF;
  list[1].cfFormat = ui::CF_METAFILEPICT;
  list[1].tymed = TYMED_MFPICT;
  list[2].cfFormat = embedSourceFormat();
  list[3].cfFormat = objectDescriptorFormat();
  return createFormatEnum(std::move(list), formats);
}
HResult OleControl::XDataObject::DAdvise(const FormatEtc* format, DWord advf, IAdviseSink* sink, DWord* connection) {
  OleControl& self = outer<OleControl>();
  return self.dataAdvise_.Advise(&self.xDataObject_, format, advf, sink, connection);
}
HResult OleControl::XDataObject::DUnadvise(DWord connection) { return outer<OleControl>().dataAdvise_.Unadvise(connection); }
HResult OleControl::XDataObject::EnumDAdvise(IUnknown** advise) {
  if (advise) *advise = nullptr;
  return E_NOTIMPL;
}

// --- IViewObject2 ---------------------------------------------------------------------------------------------------

HResult OleControl::XViewObject::Draw(DWord aspect, std::int32_t, void*, void*, gdi::DC*, gdi::DC* draw, const RectL* bounds,
                                      const RectL*, Bool32 (*)(DWord), DWord) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!draw || !bounds) return E_INVALIDARG;
  const gdi::Rect r = toRect(*bounds);
  outer<OleControl>().OnDrawMetafile(draw, r);
  return S_OK;
}
HResult OleControl::XViewObject::GetColorSet(DWord, std::int32_t, void*, void*, gdi::DC*, void** colorSet) {
  if (colorSet) *colorSet = nullptr;
  return S_FALSE;
}
HResult OleControl::XViewObject::Freeze(DWord, std::int32_t, void*, DWord* freeze) {
  if (freeze) *freeze = 0;
  return E_NOTIMPL;
}
HResult OleControl::XViewObject::Unfreeze(DWord) { return E_NOTIMPL; }
HResult OleControl::XViewObject::SetAdvise(DWord aspects, DWord advf, IAdviseSink* sink) {
  OleControl& self = outer<OleControl>();
  if (sink) sink->AddRef();
  if (self.viewSink_) self.viewSink_->Release();
  self.viewSink_ = sink;
  self.viewAspects_ = aspects;
  self.viewAdvf_ = advf;
  return S_OK;
}
HResult OleControl::XViewObject::GetAdvise(DWord* aspects, DWord* advf, IAdviseSink** sink) {
  OleControl& self = outer<OleControl>();
  if (aspects) *aspects = self.viewAspects_;
  if (advf) *advf = self.viewAdvf_;
  if (sink) {
    *sink = self.viewSink_;
    if (*sink) (*sink)->AddRef();
  }
  return S_OK;
}
HResult OleControl::XViewObject::GetExtent(DWord aspect, std::int32_t, void*, SizeL* himetric) {
  if (!himetric) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *himetric = outer<OleControl>().extent_;
  return S_OK;
}

// --- IPersistStreamInit -----------------------------------------------------------------------------------------------

HResult OleControl::XPersistStreamInit::GetClassID(Guid* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = outer<OleControl>().GetClassID();
  return S_OK;
}
HResult OleControl::XPersistStreamInit::IsDirty() { return outer<OleControl>().modified_ ? S_OK : S_FALSE; }
HResult OleControl::XPersistStreamInit::Load(IStream* stream) {
  // A global block's state is read where it lies.
  std::span<const std::uint8_t> rest;
  if (viewRest(stream, &rest)) return outer<OleControl>().LoadState(rest) ? S_OK : E_FAIL;
  std::vector<std::uint8_t> bytes;
  if (!readRest(stream, &bytes)) return STG_E_READFAULT;
  return outer<OleControl>().LoadState(bytes) ? S_OK : E_FAIL;
}
HResult OleControl::XPersistStreamInit::Save(IStream* stream, Bool32 clearDirty) {
  OleControl& self = outer<OleControl>();
  std::vector<std::uint8_t> bytes;
  if (!self.SaveState(&bytes)) return E_FAIL;
  if (!writeAll(stream, std::move(bytes))) return STG_E_MEDIUMFULL;
  if (clearDirty) self.modified_ = false;
  self.oleAdvise_.SendOnSave();
  return S_OK;
}
HResult OleControl::XPersistStreamInit::GetSizeMax(std::uint64_t* size) {
  if (!size) return E_POINTER;
  std::vector<std::uint8_t> bytes;
  if (!outer<OleControl>().SaveState(&bytes)) return E_FAIL;
  *size = bytes.size();
  return S_OK;
}
HResult OleControl::XPersistStreamInit::InitNew() { return outer<OleControl>().InitNewState() ? S_OK : E_FAIL; }

// --- ISpecifyPropertyPages ------------------------------------------------------------------------------------------------

HResult OleControl::XSpecifyPropertyPages::GetPages(CaUuid* pages) {
  if (!pages) return E_POINTER;
  std::uint32_t count = 0;
  const Guid* ids = outer<OleControl>().GetPropPageIDs(count);
  pages->cElems = 0;
  pages->pElems = nullptr;
  if (!ids || count == 0) return S_OK;
  auto* out = static_cast<Guid*>(taskMemAlloc(sizeof(Guid) * count));
  if (!out) return E_OUTOFMEMORY;
  for (std::uint32_t i = 0; i < count; ++i) out[i] = ids[i];
  pages->cElems = count;
  pages->pElems = out;
  return S_OK;
}

}  // namespace plat::ole
