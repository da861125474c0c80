#pragma once
// The interfaces of the OLE document and control protocol, in-process only: their ids, slot
// orders, structures and constants as the published ones have them, over our own types
// (window handles, menus, DCs and messages of platform/ui and platform/gdi).
//
// Conventions that hold for every interface here:
//  - strings are 16-bit (const char16_t*); a string handed out is a new Bstr the caller frees;
//  - rectangles and points are in the window's client pixels unless the name says HIMETRIC
//    (0.01 mm); extents (SIZEL) are always HIMETRIC;
//  - Bool32 is the platform's BOOL, nonzero for true;
//  - interface pointers follow the reference-counting rules: out pointers carry one reference.
#include <cstdint>

#include "platform/com/dispatch.h"
#include "platform/com/guid.h"
#include "platform/com/object.h"
#include "platform/gdi/types.h"
#include "platform/ui/types.h"

namespace gdi {
class DC;
class EnhMetaFile;
}  // namespace gdi
namespace ui {
class Menu;
struct MSG;
}  // namespace ui

namespace plat::ole {

using Bool32 = std::int32_t;
using ui::HWND;

// --- HIMETRIC ---------------------------------------------------------------------------------
// Extents travel in HIMETRIC; a screen pixel is 1/96 inch (2540 HIMETRIC per inch).
struct SizeL {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  friend bool operator==(const SizeL&, const SizeL&) = default;
};
struct PointL {
  std::int32_t x = 0;
  std::int32_t y = 0;
};
struct RectL {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
struct PointF {
  float x = 0;
  float y = 0;
};
constexpr int kHimetricPerInch = 2540;
// Pixels at dpi to HIMETRIC and back, rounded half away from zero (MulDiv).
std::int32_t pixelsToHimetric(std::int32_t pixels, int dpi = 96);
std::int32_t himetricToPixels(std::int32_t himetric, int dpi = 96);
SizeL pixelsToHimetric(gdi::Size pixels, int dpi = 96);
gdi::Size himetricToPixels(SizeL himetric, int dpi = 96);

// --- Constants --------------------------------------------------------------------------------
// Aspects (DVASPECT).
constexpr DWord DVASPECT_CONTENT = 1, DVASPECT_THUMBNAIL = 2, DVASPECT_ICON = 4, DVASPECT_DOCPRINT = 8;
// Media (TYMED).
constexpr DWord TYMED_NULL = 0, TYMED_HGLOBAL = 1, TYMED_FILE = 2, TYMED_ISTREAM = 4, TYMED_ISTORAGE = 8,
                TYMED_GDI = 16, TYMED_MFPICT = 32, TYMED_ENHMF = 64;
// Advise flags (ADVF).
constexpr DWord ADVF_NODATA = 1, ADVF_PRIMEFIRST = 2, ADVF_ONLYONCE = 4, ADVF_DATAONSTOP = 64;
// Verbs (OLEIVERB).
constexpr std::int32_t OLEIVERB_PRIMARY = 0, OLEIVERB_SHOW = -1, OLEIVERB_OPEN = -2, OLEIVERB_HIDE = -3,
                       OLEIVERB_UIACTIVATE = -4, OLEIVERB_INPLACEACTIVATE = -5, OLEIVERB_DISCARDUNDOSTATE = -6,
                       OLEIVERB_PROPERTIES = -7;
// Miscellaneous status (OLEMISC).
constexpr DWord OLEMISC_RECOMPOSEONRESIZE = 0x1, OLEMISC_ONLYICONIC = 0x2, OLEMISC_INSERTNOTREPLACE = 0x4,
                OLEMISC_STATIC = 0x8, OLEMISC_CANTLINKINSIDE = 0x10, OLEMISC_CANLINKBYOLE1 = 0x20,
                OLEMISC_ISLINKOBJECT = 0x40, OLEMISC_INSIDEOUT = 0x80, OLEMISC_ACTIVATEWHENVISIBLE = 0x100,
                OLEMISC_RENDERINGISDEVICEINDEPENDENT = 0x200, OLEMISC_INVISIBLEATRUNTIME = 0x400,
                OLEMISC_ALWAYSRUN = 0x800, OLEMISC_ACTSLIKEBUTTON = 0x1000, OLEMISC_ACTSLIKELABEL = 0x2000,
                OLEMISC_NOUIACTIVATE = 0x4000, OLEMISC_ALIGNABLE = 0x8000, OLEMISC_SIMPLEFRAME = 0x10000,
                OLEMISC_SETCLIENTSITEFIRST = 0x20000;
// IOleObject::Close.
constexpr DWord OLECLOSE_SAVEIFDIRTY = 0, OLECLOSE_NOSAVE = 1, OLECLOSE_PROMPTSAVE = 2;
// Ambient properties (the container's, read through the client site's IDispatch).
constexpr DispId DISPID_AMBIENT_BACKCOLOR = -701, DISPID_AMBIENT_DISPLAYNAME = -702, DISPID_AMBIENT_FONT = -703,
                 DISPID_AMBIENT_FORECOLOR = -704, DISPID_AMBIENT_LOCALEID = -705, DISPID_AMBIENT_MESSAGEREFLECT = -706,
                 DISPID_AMBIENT_SCALEUNITS = -707, DISPID_AMBIENT_TEXTALIGN = -708, DISPID_AMBIENT_USERMODE = -709,
                 DISPID_AMBIENT_UIDEAD = -710, DISPID_AMBIENT_SHOWGRABHANDLES = -711,
                 DISPID_AMBIENT_SHOWHATCHING = -712, DISPID_AMBIENT_DISPLAYASDEFAULT = -713,
                 DISPID_AMBIENT_SUPPORTSMNEMONICS = -714, DISPID_AMBIENT_AUTOCLIP = -715,
                 DISPID_AMBIENT_APPEARANCE = -716;
// IPropertyPageSite::OnStatusChange.
constexpr DWord PROPPAGESTATUS_DIRTY = 0x1, PROPPAGESTATUS_VALIDATE = 0x2, PROPPAGESTATUS_CLEAN = 0x4;
// IOleControlSite::TransformCoords.
constexpr DWord XFORMCOORDS_POSITION = 0x1, XFORMCOORDS_SIZE = 0x2, XFORMCOORDS_HIMETRICTOCONTAINER = 0x4,
                XFORMCOORDS_CONTAINERTOHIMETRIC = 0x8;

constexpr HResult OLE_E_NOCONNECTION = static_cast<HResult>(0x80040004u);
constexpr HResult OLE_E_NOTRUNNING = static_cast<HResult>(0x80040005u);
constexpr HResult OLE_E_BLANK = static_cast<HResult>(0x80040007u);
constexpr HResult OLE_E_INVALIDRECT = static_cast<HResult>(0x8004000Du);
constexpr HResult OLE_S_USEREG = 0x00040000;
constexpr HResult DV_E_FORMATETC = static_cast<HResult>(0x80040064u);
constexpr HResult DV_E_TYMED = static_cast<HResult>(0x80040069u);
constexpr HResult DV_E_DVASPECT = static_cast<HResult>(0x8004006Bu);
constexpr HResult DATA_S_SAMEFORMATETC = 0x00040130;
constexpr HResult OLEOBJ_S_INVALIDVERB = 0x00040180;
constexpr HResult OLEOBJ_E_NOVERBS = static_cast<HResult>(0x80040180u);
constexpr HResult INPLACE_E_NOTOOLSPACE = static_cast<HResult>(0x800401A1u);
constexpr HResult STG_E_READFAULT = static_cast<HResult>(0x8003001Eu);
constexpr HResult STG_E_INVALIDFUNCTION = static_cast<HResult>(0x80030001u);
constexpr HResult STG_E_MEDIUMFULL = static_cast<HResult>(0x80030070u);

// --- Structures -------------------------------------------------------------------------------
// Widths the in-place object wants (or has) on each side of a frame's client area, in pixels.
struct BorderWidths {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  friend bool operator==(const BorderWidths&, const BorderWidths&) = default;
};

// Counts of popups in the six groups of a shared menu: container File, object Edit, container
// Container, object Object, container Window, object Help.
struct OleMenuGroupWidths {
  std::int32_t width[6] = {};
};

// The menu descriptor an object hands IOleInPlaceFrame::SetMenu with its shared menu: the group
// widths, so the frame knows which popups (and commands) are the object's.
struct OleMenuDescriptor {
  OleMenuGroupWidths widths;
};

struct OleInPlaceFrameInfo {
  std::uint32_t cb = sizeof(OleInPlaceFrameInfo);
  Bool32 fMDIApp = 0;
  HWND hwndFrame = ui::kNoWnd;
  void* haccel = nullptr;  // the frame's accelerator table (ui::AccelTable*), may be null
  std::uint32_t cAccelEntries = 0;
};

// A verb as IEnumOLEVERB hands it out: the name is allocated with taskMemAlloc and the caller
// frees it with taskMemFree.
constexpr DWord OLEVERBATTRIB_NEVERDIRTIES = 1, OLEVERBATTRIB_ONCONTAINERMENU = 2;
struct OleVerb {
  std::int32_t lVerb = 0;
  char16_t* lpszVerbName = nullptr;
  DWord fuFlags = 0;
  DWord grfAttribs = 0;
};

// What a clipboard format is and how it travels. ptd is always null here (no target devices).
struct FormatEtc {
  std::uint16_t cfFormat = 0;
  void* ptd = nullptr;
  DWord dwAspect = DVASPECT_CONTENT;
  std::int32_t lindex = -1;
  DWord tymed = TYMED_HGLOBAL;
};

class GlobalMemory;
class IStream;

// A medium: global memory (TYMED_HGLOBAL, also the metafile picture of TYMED_MFPICT), an enhanced
// metafile (TYMED_ENHMF) or a stream (TYMED_ISTREAM). Whoever receives a medium frees it with
// releaseStgMedium (which asks pUnkForRelease to do it when set).
struct StgMedium {
  DWord tymed = TYMED_NULL;
  union {
    GlobalMemory* hGlobal;
    gdi::EnhMetaFile* hEnhMetaFile;
    IStream* pstm;
  };
  IUnknown* pUnkForRelease = nullptr;
  StgMedium() : hGlobal(nullptr) {}
};
void releaseStgMedium(StgMedium* medium);

// The size a control wants, what its mnemonics are (none here) and whether Return and Escape are
// its own.
struct ControlInfo {
  std::uint32_t cb = sizeof(ControlInfo);
  void* hAccel = nullptr;
  std::uint16_t cAccel = 0;
  DWord dwFlags = 0;
};

// A counted array of GUIDs allocated with taskMemAlloc (the caller frees it with taskMemFree).
struct CaUuid {
  std::uint32_t cElems = 0;
  Guid* pElems = nullptr;
};
void* taskMemAlloc(std::size_t bytes);
void taskMemFree(void* block);

struct PropPageInfo {
  std::uint32_t cb = sizeof(PropPageInfo);
  Bstr pszTitle = nullptr;  // the page's caption; the page allocates, the caller frees
  gdi::Size size;           // the page's size in pixels
  Bstr pszDocString = nullptr;
  Bstr pszHelpFile = nullptr;
  DWord dwHelpContext = 0;
};

// --- Interface ids ----------------------------------------------------------------------------
inline constexpr Guid IID_IOleWindow = guid("{00000114-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IOleInPlaceUIWindow = guid("{00000115-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IOleInPlaceFrame = guid("{00000116-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IOleInPlaceActiveObject = guid("{00000117-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IOleClientSite = guid("{00000118-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IOleInPlaceSite = guid("{00000119-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IOleContainer = guid("{0000011B-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IOleObject = guid("{00000112-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IOleInPlaceObject = guid("{00000113-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IDataObject = guid("{0000010E-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IAdviseSink = guid("{0000010F-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IViewObject = guid("{0000010D-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IViewObject2 = guid("{00000127-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IPersist = guid("{0000010C-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IPersistStreamInit = guid("{7FD52380-4E07-101B-AE2D-08002B2EC713}");
inline constexpr Guid IID_ISequentialStream = guid("{0C733A30-2A1C-11CE-ADE5-00AA0044773D}");
inline constexpr Guid IID_IStream = guid("{0000000C-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IEnumFORMATETC = guid("{00000103-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IEnumOLEVERB = guid("{00000104-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IOleControl = guid("{B196B288-BAB4-101A-B69C-00AA00341D07}");
inline constexpr Guid IID_IOleControlSite = guid("{B196B289-BAB4-101A-B69C-00AA00341D07}");
inline constexpr Guid IID_ISimpleFrameSite = guid("{742B0E01-14E6-101B-914E-00AA00300CAB}");
inline constexpr Guid IID_ISpecifyPropertyPages = guid("{B196B28B-BAB4-101A-B69C-00AA00341D07}");
inline constexpr Guid IID_IPropertyPage = guid("{B196B28D-BAB4-101A-B69C-00AA00341D07}");
inline constexpr Guid IID_IPropertyPageSite = guid("{B196B28C-BAB4-101A-B69C-00AA00341D07}");
inline constexpr Guid IID_IPropertyNotifySink = guid("{9BFBBC02-EFF1-101A-84ED-00AA00341D07}");

// --- Windows, frames and sites ------------------------------------------------------------------
class IOleWindow : public IUnknown {
 public:
  virtual HResult GetWindow(HWND* hwnd) = 0;
  virtual HResult ContextSensitiveHelp(Bool32 enterMode) = 0;

 protected:
  ~IOleWindow() = default;
};

class IOleInPlaceActiveObject;

// A window whose border the in-place object may take for its tool bars (the document window, and
// through IOleInPlaceFrame the frame). GetBorder gives the rectangle inside which tool space can be
// granted (client coordinates of the window); RequestBorderSpace asks whether widths would be
// granted (INPLACE_E_NOTOOLSPACE when not), SetBorderSpace takes them (null: the object needs none
// and the container may put its own tools back; zero widths: none, the container's stay hidden).
class IOleInPlaceUIWindow : public IOleWindow {
 public:
  virtual HResult GetBorder(gdi::Rect* border) = 0;
  virtual HResult RequestBorderSpace(const BorderWidths* widths) = 0;
  virtual HResult SetBorderSpace(const BorderWidths* widths) = 0;
  virtual HResult SetActiveObject(IOleInPlaceActiveObject* object, const char16_t* name) = 0;

 protected:
  ~IOleInPlaceUIWindow() = default;
};

// The container's frame. The shared menu (InsertMenus, SetMenu, RemoveMenus) is a ui::Menu the
// object made; the frame shows it while the object is UI-active and sends the commands of the
// object's popups to the object's window (hwndActiveObject). SetStatusText writes the frame's
// status line.
class IOleInPlaceFrame : public IOleInPlaceUIWindow {
 public:
  virtual HResult InsertMenus(ui::Menu* shared, OleMenuGroupWidths* widths) = 0;
  virtual HResult SetMenu(ui::Menu* shared, void* menuDescriptor, HWND activeObject) = 0;
  virtual HResult RemoveMenus(ui::Menu* shared) = 0;
  virtual HResult SetStatusText(const char16_t* text) = 0;
  virtual HResult EnableModeless(Bool32 enable) = 0;
  virtual HResult TranslateAccelerator(ui::MSG* msg, std::uint16_t id) = 0;

 protected:
  ~IOleInPlaceFrame() = default;
};

class IOleInPlaceActiveObject : public IOleWindow {
 public:
  // S_OK when the object translated the message.
  virtual HResult TranslateAccelerator(ui::MSG* msg) = 0;
  virtual HResult OnFrameWindowActivate(Bool32 activate) = 0;
  virtual HResult OnDocWindowActivate(Bool32 activate) = 0;
  // The UI window's border changed (the frame's when frameWindow): the object negotiates again.
  virtual HResult ResizeBorder(const gdi::Rect* border, IOleInPlaceUIWindow* window, Bool32 frameWindow) = 0;
  virtual HResult EnableModeless(Bool32 enable) = 0;

 protected:
  ~IOleInPlaceActiveObject() = default;
};

class IOleContainer;

class IOleClientSite : public IUnknown {
 public:
  virtual HResult SaveObject() = 0;
  virtual HResult GetMoniker(DWord assign, DWord which, IUnknown** moniker) = 0;  // no monikers here
  virtual HResult GetContainer(IOleContainer** container) = 0;
  virtual HResult ShowObject() = 0;
  virtual HResult OnShowWindow(Bool32 show) = 0;
  virtual HResult RequestNewObjectLayout() = 0;

 protected:
  ~IOleClientSite() = default;
};

class IOleInPlaceSite : public IOleWindow {
 public:
  virtual HResult CanInPlaceActivate() = 0;  // S_OK or S_FALSE
  virtual HResult OnInPlaceActivate() = 0;
  virtual HResult OnUIActivate() = 0;
  // The frame, the document window (null when it is the frame), the object's position and
  // clipping rectangle in the site window's client coordinates, and the frame's facts.
  virtual HResult GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, gdi::Rect* position,
                                   gdi::Rect* clip, OleInPlaceFrameInfo* info) = 0;
  virtual HResult Scroll(gdi::Size extent) = 0;
  virtual HResult OnUIDeactivate(Bool32 undoable) = 0;
  virtual HResult OnInPlaceDeactivate() = 0;
  virtual HResult DiscardUndoState() = 0;
  virtual HResult DeactivateAndUndo() = 0;
  virtual HResult OnPosRectChange(const gdi::Rect* position) = 0;

 protected:
  ~IOleInPlaceSite() = default;
};

// --- Objects -------------------------------------------------------------------------------------
class IAdviseSink;
class IEnumFormatEtc;
class IDataObject;

class IEnumOleVerb : public IUnknown {
 public:
  virtual HResult Next(std::uint32_t count, OleVerb* items, std::uint32_t* fetched) = 0;
  virtual HResult Skip(std::uint32_t count) = 0;
  virtual HResult Reset() = 0;
  virtual HResult Clone(IEnumOleVerb** copy) = 0;

 protected:
  ~IEnumOleVerb() = default;
};

class IOleObject : public IUnknown {
 public:
  virtual HResult SetClientSite(IOleClientSite* site) = 0;
  virtual HResult GetClientSite(IOleClientSite** site) = 0;
  virtual HResult SetHostNames(const char16_t* containerApp, const char16_t* containerObject) = 0;
  virtual HResult Close(DWord saveOption) = 0;
  virtual HResult SetMoniker(DWord which, IUnknown* moniker) = 0;
  virtual HResult GetMoniker(DWord assign, DWord which, IUnknown** moniker) = 0;
  virtual HResult InitFromData(IDataObject* data, Bool32 creation, DWord reserved) = 0;
  virtual HResult GetClipboardData(DWord reserved, IDataObject** data) = 0;
  // parent and position: the window the object activates in and its place there.
  virtual HResult DoVerb(std::int32_t verb, ui::MSG* msg, IOleClientSite* site, std::int32_t index, HWND parent,
                         const gdi::Rect* position) = 0;
  virtual HResult EnumVerbs(IEnumOleVerb** verbs) = 0;  // OLE_S_USEREG: the registry's
  virtual HResult Update() = 0;
  virtual HResult IsUpToDate() = 0;
  virtual HResult GetUserClassID(Guid* clsid) = 0;
  virtual HResult GetUserType(DWord form, Bstr* userType) = 0;
  virtual HResult SetExtent(DWord aspect, const SizeL* himetric) = 0;
  virtual HResult GetExtent(DWord aspect, SizeL* himetric) = 0;
  virtual HResult Advise(IAdviseSink* sink, DWord* connection) = 0;
  virtual HResult Unadvise(DWord connection) = 0;
  virtual HResult EnumAdvise(IUnknown** advise) = 0;
  virtual HResult GetMiscStatus(DWord aspect, DWord* status) = 0;
  virtual HResult SetColorScheme(void* palette) = 0;

 protected:
  ~IOleObject() = default;
};

class IOleInPlaceObject : public IOleWindow {
 public:
  virtual HResult InPlaceDeactivate() = 0;
  virtual HResult UIDeactivate() = 0;
  virtual HResult SetObjectRects(const gdi::Rect* position, const gdi::Rect* clip) = 0;
  virtual HResult ReactivateAndUndo() = 0;

 protected:
  ~IOleInPlaceObject() = default;
};

class IEnumFormatEtc : public IUnknown {
 public:
  virtual HResult Next(std::uint32_t count, FormatEtc* items, std::uint32_t* fetched) = 0;
  virtual HResult Skip(std::uint32_t count) = 0;
  virtual HResult Reset() = 0;
  virtual HResult Clone(IEnumFormatEtc** copy) = 0;

 protected:
  ~IEnumFormatEtc() = default;
};

class IDataObject : public IUnknown {
 public:
  virtual HResult GetData(const FormatEtc* format, StgMedium* medium) = 0;
  virtual HResult GetDataHere(const FormatEtc* format, StgMedium* medium) = 0;
  virtual HResult QueryGetData(const FormatEtc* format) = 0;
  virtual HResult GetCanonicalFormatEtc(const FormatEtc* in, FormatEtc* out) = 0;
  virtual HResult SetData(const FormatEtc* format, StgMedium* medium, Bool32 release) = 0;
  // direction 1 (DATADIR_GET) only.
  virtual HResult EnumFormatEtc(DWord direction, IEnumFormatEtc** formats) = 0;
  virtual HResult DAdvise(const FormatEtc* format, DWord advf, IAdviseSink* sink, DWord* connection) = 0;
  virtual HResult DUnadvise(DWord connection) = 0;
  virtual HResult EnumDAdvise(IUnknown** advise) = 0;

 protected:
  ~IDataObject() = default;
};
constexpr DWord DATADIR_GET = 1, DATADIR_SET = 2;

class IAdviseSink : public IUnknown {
 public:
  // No result: what a sink does is not the sender's concern.
  virtual void OnDataChange(const FormatEtc* format, StgMedium* medium) = 0;
  virtual void OnViewChange(DWord aspect, std::int32_t index) = 0;
  virtual void OnRename(IUnknown* moniker) = 0;
  virtual void OnSave() = 0;
  virtual void OnClose() = 0;

 protected:
  ~IAdviseSink() = default;
};

// Drawing an object into any DC: bounds in the DC's logical units.
class IViewObject : public IUnknown {
 public:
  virtual HResult Draw(DWord aspect, std::int32_t index, void* aspectInfo, void* targetDevice, gdi::DC* targetInfo,
                       gdi::DC* draw, const RectL* bounds, const RectL* windowBounds, Bool32 (*shouldContinue)(DWord),
                       DWord continueArg) = 0;
  virtual HResult GetColorSet(DWord aspect, std::int32_t index, void* aspectInfo, void* targetDevice,
                              gdi::DC* targetInfo, void** colorSet) = 0;
  virtual HResult Freeze(DWord aspect, std::int32_t index, void* aspectInfo, DWord* freeze) = 0;
  virtual HResult Unfreeze(DWord freeze) = 0;
  virtual HResult SetAdvise(DWord aspects, DWord advf, IAdviseSink* sink) = 0;
  virtual HResult GetAdvise(DWord* aspects, DWord* advf, IAdviseSink** sink) = 0;

 protected:
  ~IViewObject() = default;
};

class IViewObject2 : public IViewObject {
 public:
  virtual HResult GetExtent(DWord aspect, std::int32_t index, void* targetDevice, SizeL* himetric) = 0;

 protected:
  ~IViewObject2() = default;
};

// --- Persistence ------------------------------------------------------------------------------------
class IPersist : public IUnknown {
 public:
  virtual HResult GetClassID(Guid* clsid) = 0;

 protected:
  ~IPersist() = default;
};

class IPersistStreamInit : public IPersist {
 public:
  virtual HResult IsDirty() = 0;  // S_OK when modified, S_FALSE when not
  virtual HResult Load(IStream* stream) = 0;
  virtual HResult Save(IStream* stream, Bool32 clearDirty) = 0;
  virtual HResult GetSizeMax(std::uint64_t* size) = 0;
  virtual HResult InitNew() = 0;

 protected:
  ~IPersistStreamInit() = default;
};

// --- Controls ------------------------------------------------------------------------------------
class IOleControl : public IUnknown {
 public:
  virtual HResult GetControlInfo(ControlInfo* info) = 0;
  virtual HResult OnMnemonic(ui::MSG* msg) = 0;
  virtual HResult OnAmbientPropertyChange(DispId id) = 0;  // DISPID_UNKNOWN: several changed
  virtual HResult FreezeEvents(Bool32 freeze) = 0;

 protected:
  ~IOleControl() = default;
};

class IOleControlSite : public IUnknown {
 public:
  virtual HResult OnControlInfoChanged() = 0;
  virtual HResult LockInPlaceActive(Bool32 lock) = 0;
  virtual HResult GetExtendedControl(IDispatch** control) = 0;
  virtual HResult TransformCoords(PointL* himetric, PointF* container, DWord flags) = 0;
  virtual HResult TranslateAccelerator(ui::MSG* msg, DWord modifiers) = 0;
  virtual HResult OnFocus(Bool32 gotFocus) = 0;
  virtual HResult ShowPropertyFrame() = 0;

 protected:
  ~IOleControlSite() = default;
};

// The site of a control that draws other objects inside itself (a "simple frame"): every
// message of the control's window is offered to the site first. PreMessageFilter answers S_OK to
// let the control handle the message (then PostMessageFilter follows with the same cookie) or
// S_FALSE when the site handled it, with *result the message's result.
class ISimpleFrameSite : public IUnknown {
 public:
  virtual HResult PreMessageFilter(HWND hwnd, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                                   ui::LRESULT* result, DWord* cookie) = 0;
  virtual HResult PostMessageFilter(HWND hwnd, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                                    ui::LRESULT* result, DWord cookie) = 0;

 protected:
  ~ISimpleFrameSite() = default;
};

class ISpecifyPropertyPages : public IUnknown {
 public:
  virtual HResult GetPages(CaUuid* pages) = 0;

 protected:
  ~ISpecifyPropertyPages() = default;
};

class IPropertyPageSite;

class IPropertyPage : public IUnknown {
 public:
  virtual HResult SetPageSite(IPropertyPageSite* site) = 0;
  virtual HResult Activate(HWND parent, const gdi::Rect* rect, Bool32 modal) = 0;
  virtual HResult Deactivate() = 0;
  virtual HResult GetPageInfo(PropPageInfo* info) = 0;
  virtual HResult SetObjects(std::uint32_t count, IUnknown** objects) = 0;
  virtual HResult Show(ui::UINT command) = 0;
  virtual HResult Move(const gdi::Rect* rect) = 0;
  virtual HResult IsPageDirty() = 0;  // S_OK when dirty, S_FALSE when not
  virtual HResult Apply() = 0;
  virtual HResult Help(const char16_t* helpDir) = 0;
  virtual HResult TranslateAccelerator(ui::MSG* msg) = 0;

 protected:
  ~IPropertyPage() = default;
};

class IPropertyPageSite : public IUnknown {
 public:
  virtual HResult OnStatusChange(DWord flags) = 0;
  virtual HResult GetLocaleID(Lcid* lcid) = 0;
  virtual HResult GetPageContainer(IUnknown** container) = 0;
  virtual HResult TranslateAccelerator(ui::MSG* msg) = 0;

 protected:
  ~IPropertyPageSite() = default;
};

class IPropertyNotifySink : public IUnknown {
 public:
  virtual HResult OnChanged(DispId id) = 0;
  virtual HResult OnRequestEdit(DispId id) = 0;

 protected:
  ~IPropertyNotifySink() = default;
};

}  // namespace plat::ole
