#include "controls/host/controlhost.h"

#include "platform/base/text.h"
#include "platform/com/connection.h"
#include "platform/com/creation.h"
#include "platform/ui/styles.h"

using namespace plat::ole;
using plat::DWord;
using plat::Word;

UI_IMPLEMENT_DYNAMIC(CControlHost, ui::Wnd)

UI_BEGIN_MESSAGE_MAP(CControlHost, ui::Wnd)
  ui::map::Size(&CControlHost::OnSize),
  ui::map::Destroy(&CControlHost::OnDestroy),
UI_END_MESSAGE_MAP()

// The site of the hosted control and the sink of its events. It lives as long as the control
// holds it; the host detaches itself when its window goes, after which nothing reaches it.
class CControlSite : public ComObject {
 public:
  explicit CControlSite(CControlHost* host, const Guid& events) : m_host(host), m_events(events) {}
  void Detach() { m_host = nullptr; }
  bool Advise(IUnknown* object);
  void Unadvise();

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }
  void* GetInterface(const Guid& iid) override {
    if (iid == m_events) return static_cast<IDispatch*>(&m_sink);
    return ComObject::GetInterface(iid);
  }

 private:
  HWND Window() const { return m_host ? m_host->m_hWnd : ui::kNoWnd; }

  struct XClientSite : Nested<IOleClientSite> {
    using Nested::Nested;
    HResult SaveObject() override { return S_OK; }
    HResult GetMoniker(DWord, DWord, IUnknown** moniker) override {
      if (moniker) *moniker = nullptr;
      return E_NOTIMPL;
    }
    HResult GetContainer(IOleContainer** container) override {
      if (container) *container = nullptr;
      return E_NOINTERFACE;
    }
    HResult ShowObject() override { return S_OK; }
    HResult OnShowWindow(Bool32) override { return S_OK; }
    HResult RequestNewObjectLayout() override { return E_NOTIMPL; }
  } m_clientSite{*this};

  struct XInPlaceSite : Nested<IOleInPlaceSite> {
    using Nested::Nested;
    CControlSite& Site() { return outer<CControlSite>(); }
    HResult GetWindow(HWND* hwnd) override {
      *hwnd = Site().Window();
      return *hwnd == ui::kNoWnd ? E_FAIL : S_OK;
    }
    HResult ContextSensitiveHelp(Bool32) override { return E_NOTIMPL; }
    HResult CanInPlaceActivate() override { return Site().m_host ? S_OK : S_FALSE; }
    HResult OnInPlaceActivate() override { return S_OK; }
    HResult OnUIActivate() override { return S_OK; }
    HResult GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, gdi::Rect* position,
                             gdi::Rect* clip, OleInPlaceFrameInfo*) override {
      if (frame) *frame = nullptr;
      if (document) *document = nullptr;
      gdi::Rect client;
      if (CControlHost* host = Site().m_host; host && host->IsWindow()) host->GetClientRect(&client);
      if (position) *position = client;
      if (clip) *clip = client;
      return S_OK;
    }
    HResult Scroll(gdi::Size) override { return E_NOTIMPL; }
    HResult OnUIDeactivate(Bool32) override { return S_OK; }
    HResult OnInPlaceDeactivate() override { return S_OK; }
    HResult DiscardUndoState() override { return S_OK; }
    HResult DeactivateAndUndo() override { return S_OK; }
    HResult OnPosRectChange(const gdi::Rect*) override { return S_OK; }
  } m_inPlaceSite{*this};

  struct XSink : Nested<IDispatch> {
    using Nested::Nested;
    HResult GetTypeInfoCount(std::uint32_t* count) override {
      *count = 0;
      return S_OK;
    }
    HResult GetTypeInfo(std::uint32_t, Lcid, ITypeInfo** info) override {
      *info = nullptr;
      return E_NOTIMPL;
    }
    HResult GetIDsOfNames(const Guid&, const char16_t* const*, std::uint32_t, Lcid, DispId*) override {
      return E_NOTIMPL;
    }
    HResult Invoke(DispId id, const Guid&, Lcid, Word, DispParams*, Variant*, ExcepInfo*, std::uint32_t*) override {
      if (CControlHost* host = outer<CControlSite>().m_host) host->OnControlEvent(id);
      return S_OK;
    }
  } m_sink{*this};

  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;

  CControlHost* m_host;
  Guid m_events;
  IConnectionPoint* m_point = nullptr;
  DWord m_cookie = 0;
};

const ComObject::InterfaceEntry CControlSite::kEntries[] = {
    interfaceEntry<IOleClientSite, &CControlSite::m_clientSite>(IID_IOleClientSite),
    interfaceEntry<IOleWindow, &CControlSite::m_inPlaceSite>(IID_IOleWindow),
    interfaceEntry<IOleInPlaceSite, &CControlSite::m_inPlaceSite>(IID_IOleInPlaceSite),
};
const ComObject::InterfaceMap CControlSite::kMap{&ComObject::kInterfaceMap, CControlSite::kEntries};

bool CControlSite::Advise(IUnknown* object) {
  auto* container = queryInterface<IConnectionPointContainer>(object, IID_IConnectionPointContainer);
  if (!container) return false;
  const HResult found = container->FindConnectionPoint(m_events, &m_point);
  container->Release();
  if (failed(found) || !m_point) {
    m_point = nullptr;
    return false;
  }
  if (failed(m_point->Advise(GetUnknown(), &m_cookie))) {
    releaseInterface(m_point);
    return false;
  }
  return true;
}

void CControlSite::Unadvise() {
  if (!m_point) return;
  m_point->Unadvise(m_cookie);
  releaseInterface(m_point);
}

// ---- CControlHost ----------------------------------------------------------------------------------

CControlHost::~CControlHost() {
  if (IsWindow()) DestroyWindow();
  CloseControl();
}

bool CControlHost::CreateControl(const Guid& clsid, const Guid& events, std::string_view windowName, ui::DWORD style,
                                 const ui::Rect& rect, ui::Wnd* parent, ui::UINT id) {
  if (IsWindow() || !parent) return false;
  IOleObject* object = nullptr;
  if (failed(createInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object))) ||
      !object)
    return false;
  if (!Create(nullptr, {}, (style | ui::WS_CHILD | ui::WS_CLIPCHILDREN) & ~ui::WS_BORDER, rect, parent, id)) {
    object->Release();
    return false;
  }
  m_object = object;
  m_site = new CControlSite(this, events);
  auto* clientSite = queryInterface<IOleClientSite>(m_site->GetUnknown(), IID_IOleClientSite);
  m_object->SetClientSite(clientSite);
  m_dispatch.attach(queryInterface<IDispatch>(m_object, IID_IDispatch), true);
  m_site->Advise(m_object);
  gdi::Rect client;
  GetClientRect(&client);
  const HResult activated = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, m_hWnd, &client);
  releaseInterface(clientSite);
  if (failed(activated) || !ControlWindow()) {
    DestroyWindow();
    return false;
  }
  if (!windowName.empty()) SetText(DISPID_CAPTION, windowName);
  return true;
}

ui::Wnd* CControlHost::ControlWindow() const {
  if (!m_object || !IsWindow()) return nullptr;
  const std::vector<ui::Wnd*> children = GetChildren();
  return children.empty() ? nullptr : children.front();
}

void CControlHost::OnSize(ui::UINT, int cx, int cy) {
  if (!m_object) return;
  if (auto* inPlace = queryInterface<IOleInPlaceObject>(m_object, IID_IOleInPlaceObject)) {
    const gdi::Rect r(0, 0, cx, cy);
    inPlace->SetObjectRects(&r, &r);
    inPlace->Release();
  }
}

void CControlHost::OnDestroy() {
  CloseControl();
  Default();
}

void CControlHost::CloseControl() {
  if (!m_object) return;
  IOleObject* object = m_object;
  m_object = nullptr;
  m_site->Unadvise();
  m_site->Detach();
  m_dispatch.attach(nullptr);
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
  object->Release();
  m_site->Release();
  m_site = nullptr;
}

void CControlHost::OnControlEvent(DispId event) {
  if (m_onEvent) m_onEvent(event);
}

namespace {

bool Put(DispatchDriver& driver, DispId id, const Variant& value) {
  return driver.get() && succeeded(driver.setProperty(id, value));
}

bool Get(DispatchDriver& driver, DispId id, VarType vt, Variant* value) {
  variantInit(value);
  if (!driver.get() || failed(driver.getProperty(id, value))) return false;
  Variant typed;
  variantInit(&typed);
  const bool ok = succeeded(changeType(&typed, *value, 0, vt));
  variantClear(value);
  *value = typed;
  return ok;
}

}  // namespace

bool CControlHost::GetFloat(DispId id, float* value) {
  Variant v;
  if (!Get(m_dispatch, id, VT_R4, &v)) return false;
  *value = v.r4;
  return true;
}

bool CControlHost::SetFloat(DispId id, float value) {
  Variant v;
  variantInit(&v);
  v.vt = VT_R4;
  v.r4 = value;
  return Put(m_dispatch, id, v);
}

bool CControlHost::GetInt(DispId id, std::int32_t* value) {
  Variant v;
  if (!Get(m_dispatch, id, VT_I4, &v)) return false;
  *value = v.i32;
  return true;
}

bool CControlHost::SetInt(DispId id, std::int32_t value) {
  Variant v;
  variantInit(&v);
  v.vt = VT_I4;
  v.i32 = value;
  return Put(m_dispatch, id, v);
}

bool CControlHost::SetText(DispId id, std::string_view text) {
  Variant v;
  variantInit(&v);
  v.vt = VT_BSTR;
  v.bstr = allocString(plat::toUtf16(text));
  const bool ok = Put(m_dispatch, id, v);
  variantClear(&v);
  return ok;
}
