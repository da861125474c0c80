#pragma once
// OleControl: the base of every control (COleControl of the class library). A control is at once
// a window of its own (ui::Wnd: message map, painting, input) and a COM object with automation
// (AutomationObject: its dispatch table, events and class information) that a container embeds.
//
// What the base does for a control, and what a control overrides:
//
// Client site and ambient properties
//   The container hands its site in IOleObject::SetClientSite; OnSetClientSite runs after the
//   base kept it (a control queries the site for the container's own interfaces there; release
//   them in OnClose before calling the base). Ambient properties are read through the site's
//   IDispatch (GetAmbientProperty and the Ambient... helpers, each with the published default
//   when the container has none); IOleControl::OnAmbientPropertyChange reaches
//   OnAmbientPropertyChange.
//
// Activation (IOleObject::DoVerb, IOleInPlaceObject)
//   In-place activation (OnActivateInPlace): the site is asked CanInPlaceActivate, told
//   OnInPlaceActivate, and gives the window context: the in-place frame, the document window
//   (null when it is the frame itself), the position and clip rectangles in the site window. The
//   control's window is made there (CreateControlWindow; made once, then shown and moved), and
//   the control is in-place active. UI activation follows when asked: the site hears
//   OnUIActivate, the frame (and document window) get the control's in-place active object
//   (InPlaceActiveObject()), the control takes the focus, and AddFrameLevelUI adds the shared
//   menu (OnGetInPlaceMenu) and the tool bars (OnShowToolBars). UI deactivation undoes that in
//   reverse (RemoveFrameLevelUI: OnHideToolBars, menu removed) and tells the site OnUIDeactivate;
//   in-place deactivation UI-deactivates first, hides the window (OnHide; the window is kept
//   until the control closes) and tells the site OnInPlaceDeactivate. A click into an in-place active control that
//   is not UI-active UI-activates it.
//
// Frame-level tool bars and the status line
//   While UI-active, GetInPlaceFrame() is the container's frame: GetBorder gives the rectangle
//   tool bars may take (frame client coordinates), RequestBorderSpace and SetBorderSpace take the
//   widths, and the control puts its bars (children of the frame window, GetWindow) into the space
//   it was granted. NegotiateBorderSpace does the three calls for a control that wants fixed
//   widths. SetStatusText writes the frame's status line.
//
// Simple frame
//   With EnableSimpleFrame, every message of the control's window is first offered to the site's
//   ISimpleFrameSite (when the site has one): S_FALSE from PreMessageFilter means the site
//   handled it (its result is the message's), S_OK lets the control handle it and
//   PostMessageFilter follows.
//
// Verbs
//   OLEIVERB_PRIMARY runs OnEdit (UI activation), OLEIVERB_SHOW and OLEIVERB_UIACTIVATE activate
//   with the UI, OLEIVERB_INPLACEACTIVATE without, OLEIVERB_HIDE deactivates and hides,
//   OLEIVERB_PROPERTIES runs OnProperties (the property pages of GetPropPageIDs in a frame of their
//   own, proppage.h). Other verbs go to OnDoVerb (OLEOBJ_S_INVALIDVERB when it does not know it).
//   A control that names its verbs (GetVerbs, the list its class registers) is asked only for
//   those: verb n >= 0 runs the n-th entry's action (OLEIVERB_OPEN the primary one), a number
//   past the list is refused with OLEOBJ_S_INVALIDVERB, and EnumVerbs lists them; a control
//   without a list takes every verb as above and EnumVerbs says to use the registry.
//
// State, extent and persistence
//   The modified flag (SetModifiedFlag) answers IPersistStreamInit::IsDirty. Setting it while the
//   container asked for data-change reports (IDataObject::DAdvise) tells the container at once.
//   The extent is HIMETRIC (SetInitialSize in pixels at construction, IOleObject::SetExtent asks
//   OnSetExtent). The persistent state is what Serialize writes; its base runs DoPropExchange on
//   the archive, and the base DoPropExchange exchanges the extent and the stock properties the
//   control enabled (EnableStockProperties). A control's DoPropExchange starts with
//   px->ExchangeVersion(...) and calls the base; its Serialize calls the base first and then
//   writes the rest of its state. InitNew runs DoPropExchange resetting to the defaults.
//   IPersistStreamInit::Save and Load carry the archive's bytes through the stream; a load that
//   fails (a short or corrupt archive) answers E_FAIL.
//
// Drawing and invalidation
//   OnDraw(dc, bounds, invalid) draws the control: into its window when painting, and through
//   IViewObject::Draw and the data object's picture formats (OnDrawMetafile, by default OnDraw)
//   into any DC for the container's presentation picture. InvalidateControl repaints the window
//   while it shows, and otherwise tells the container's view sink (IViewObject::SetAdvise) that
//   the picture changed.
//
// The control's data object offers CF_ENHMETAFILE and CF_METAFILEPICT (the presentation, drawn
// at the extent), "Embed Source" (class id and persistent state) and "Object Descriptor"; an item
// made from that data is a new control of the same class loaded from that state.
//
// Lifetime: a control is made by its class factory (new, one reference), handed out through
// interfaces and deleted by its last release, which destroys its window first. Close (from the
// container) deactivates it, destroys its window and lets go of the site.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/archive/archive.h"
#include "platform/com/automation.h"
#include "platform/com/server.h"
#include "platform/ole/dataobject.h"
#include "platform/ole/interfaces.h"
#include "platform/ole/propexchange.h"
#include "platform/ui/menu.h"
#include "platform/ui/wnd.h"

namespace plat::ole {

// Stock properties a control may enable (their exchange and their dispatch handlers below).
constexpr DWord STOCKPROP_BACKCOLOR = 0x1, STOCKPROP_FORECOLOR = 0x2, STOCKPROP_ENABLED = 0x4,
                STOCKPROP_CAPTION = 0x8, STOCKPROP_BORDERSTYLE = 0x10;

class OleControl : public ui::Wnd, public AutomationObject {
  UI_DECLARE_DYNAMIC(OleControl)
  UI_DECLARE_MESSAGE_MAP()

 public:
  // --- Identity --------------------------------------------------------------------------------
  virtual Guid GetClassID() const = 0;
  virtual DWord GetMiscStatus() const { return 0; }
  virtual std::u16string GetUserTypeName() const { return {}; }
  // The property pages, in order (ISpecifyPropertyPages); count 0 and null for none.
  virtual const Guid* GetPropPageIDs(std::uint32_t& count);

  // --- Client site and ambient properties ---------------------------------------------------------
  IOleClientSite* GetClientSite() const { return clientSite_; }
  virtual void OnSetClientSite() {}
  // False when the container has no ambient dispatch or no such property (value untouched).
  bool GetAmbientProperty(DispId id, VarType type, void* value);
  std::uint32_t AmbientBackColor();   // default: the window colour
  std::uint32_t AmbientForeColor();   // default: the window text colour
  bool AmbientUserMode();             // default: true
  bool AmbientUIDead();               // default: false
  bool AmbientShowHatching();         // default: true
  std::u16string AmbientDisplayName();
  Lcid AmbientLocaleID();             // default: 0
  virtual void OnAmbientPropertyChange(DispId id) { (void)id; }

  // --- Activation --------------------------------------------------------------------------------
  bool IsInPlaceActive() const { return inPlaceActive_; }
  bool IsUIActive() const { return uiActive_; }
  // In-place activation, with the UI when uiActivate; msg is the input that caused it (or null).
  virtual HResult OnActivateInPlace(bool uiActivate, ui::MSG* msg);
  HResult UIDeactivate();
  HResult InPlaceDeactivate();
  // Makes (first time) or shows the control's window as a child of parent at position; a derived
  // class may make a window of its own first and hand it to SetReflectorWindow, and the control's
  // window is then made inside that window, which is placed at position instead.
  virtual bool CreateControlWindow(HWND parent, const gdi::Rect& position, const gdi::Rect* clip);
  void SetReflectorWindow(ui::Wnd* reflector) { reflector_ = reflector; }
  ui::Wnd* GetReflectorWindow() const { return reflector_; }
  // The reflecting window is gone (it tells the control before it goes).
  virtual void OnReflectorDestroyed() { reflector_ = nullptr; }
  // Hides the control's window (or its reflecting window): on in-place deactivation and the hide
  // verb. A control that keeps state of its shown window saves it here before calling the base.
  virtual void OnHide();
  // The container moved or clipped the control (IOleInPlaceObject::SetObjectRects).
  virtual void OnSetObjectRects(const gdi::Rect& position, const gdi::Rect* clip);

  IOleInPlaceSite* GetInPlaceSite() const { return inPlaceSite_; }
  IOleInPlaceFrame* GetInPlaceFrame() const { return inPlaceFrame_; }
  IOleInPlaceUIWindow* GetInPlaceDocument() const { return inPlaceDoc_; }
  const OleInPlaceFrameInfo& GetFrameInfo() const { return frameInfo_; }
  // The in-place active object the control gives the frame and document window on UI activation
  // (the base's; a control with its own returns that).
  virtual IOleInPlaceActiveObject* InPlaceActiveObject();

  // --- Frame-level user interface ------------------------------------------------------------------
  // Shared menu, then the tool bars; undone in reverse. Called on UI activation and deactivation
  // and by the in-place active object on document-window activation.
  virtual void AddFrameLevelUI();
  virtual void RemoveFrameLevelUI();
  virtual void OnShowToolBars() {}
  virtual void OnHideToolBars() {}
  // The popup menu the control adds to the container's menu bar while UI-active; null for none.
  virtual ui::Menu* OnGetInPlaceMenu() { return nullptr; }
  // Builds the shared menu (container groups from the frame, the control's popups after them) and
  // gives it to the frame; DestroySharedMenu takes it back from the frame and destroys it.
  bool BuildSharedMenu();
  void DestroySharedMenu();
  ui::Menu* GetSharedMenu() const { return sharedMenu_.get(); }
  // GetBorder, RequestBorderSpace and SetBorderSpace for the given widths on the frame; area gets
  // the frame-client rectangle of the whole border (its inside is the rest). False, with the
  // border space released (zero widths), when the frame has no room.
  bool NegotiateBorderSpace(const BorderWidths& widths, gdi::Rect* area);
  // The frame's status line (nothing when not in-place active).
  void SetStatusText(std::string_view text);

  // --- Simple frame ------------------------------------------------------------------------------------
  void EnableSimpleFrame(bool enable = true) { simpleFrame_ = enable; }
  bool IsSimpleFrame() const { return simpleFrame_; }

  // --- Verbs -------------------------------------------------------------------------------------------
  // The control's own verbs, in verb-number order (empty: the defaults above).
  virtual std::span<const VerbEntry> GetVerbs() const { return {}; }
  virtual HResult OnDoVerb(std::int32_t verb, ui::MSG* msg, HWND parent, const gdi::Rect* position);
  virtual bool OnEdit(ui::MSG* msg, HWND parent, const gdi::Rect* position);
  virtual bool OnProperties(ui::MSG* msg, HWND parent, const gdi::Rect* position);
  // The container closes the control: deactivation, the window destroyed, the site let go.
  virtual void OnClose(DWord saveOption);

  // --- Modified flag, extent and persistence -------------------------------------------------------------
  void SetModifiedFlag(bool modified = true);
  bool IsModified() const { return modified_; }
  SizeL GetExtent() const { return extent_; }
  // The extent in pixels (96 per inch), and setting it.
  gdi::Size GetControlSize() const;
  void SetInitialSize(int cx, int cy);
  // The container asks for a new extent; true to take it (the base takes any positive one).
  virtual bool OnSetExtent(const SizeL& extent);
  virtual void DoPropExchange(PropExchange* px);
  virtual void Serialize(Archive& ar);
  void EnableStockProperties(DWord mask) { stockMask_ = mask; }
  // The version stamp DoPropExchange loaded last (or stored).
  DWord GetLoadedVersion() const { return loadedVersion_; }
  void ExchangeVersion(PropExchange* px, DWord version);
  void ExchangeExtent(PropExchange* px);
  void ExchangeStockProps(PropExchange* px);
  // What IPersistStreamInit::Save writes and Load reads; saving puts prefix (the class id of
  // an embedding) before it when one is given.
  bool SaveState(std::vector<std::uint8_t>* bytes, std::span<const std::uint8_t> prefix = {});
  bool LoadState(std::span<const std::uint8_t> bytes);
  bool InitNewState();

  // --- Drawing ---------------------------------------------------------------------------------------
  virtual void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid);
  virtual void OnDrawMetafile(gdi::DC* dc, const gdi::Rect& bounds);
  void InvalidateControl(const gdi::Rect* rect = nullptr, bool erase = true);
  // The presentation picture: OnDrawMetafile recorded at the extent.
  gdi::EnhMetaFile DrawPresentation();

  // --- Data ------------------------------------------------------------------------------------------
  // A new data source with the control's presentation and state (as IOleObject::GetClipboardData
  // gives), one reference for the caller.
  IDataObject* GetClipboardDataObject();

  // --- Stock properties (dispatch handlers) -----------------------------------------------------------
  std::uint32_t GetBackColor() { return backColor_; }
  void SetBackColor(std::uint32_t color);
  std::uint32_t GetForeColor() { return foreColor_; }
  void SetForeColor(std::uint32_t color);
  bool GetEnabled() { return enabled_; }
  void SetEnabled(bool enabled);
  Bstr GetCaption();
  void SetCaption(const char16_t* caption);
  std::int16_t GetBorderStyle() { return borderStyle_; }
  void SetBorderStyle(std::int16_t style);
  const std::string& InternalGetText() const { return caption_; }

  // --- Messages ---------------------------------------------------------------------------------------
  ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override;
  void OnPaint();

 protected:
  OleControl(const DispInterfaceDesc& dispatch, const TypeLibDesc* library = nullptr);
  OleControl(const CoClassDesc& coclass, const TypeLibDesc* library);
  ~OleControl() override;

  void OnFinalRelease() override;
  void PostNcDestroy() override {}
  // The control's interfaces; a derived control chains its own map to kInterfaceMap.
  const InterfaceMap& GetInterfaceMap() const override { return kInterfaceMap; }
  static const InterfaceMap kInterfaceMap;

  // The base's in-place active object (what InPlaceActiveObject answers by default).
  IOleInPlaceActiveObject* BaseInPlaceActiveObject() { return &xOleInPlaceActiveObject_; }
  // What the base's in-place active object answers to TranslateAccelerator: true when handled
  // (by default the control's PreTranslateMessage).
  virtual bool OnTranslateAccelerator(ui::MSG* msg);

 private:
  HResult setClientSite(IOleClientSite* site);
  HResult doVerb(std::int32_t verb, ui::MSG* msg, IOleClientSite* site, HWND parent, const gdi::Rect* position);
  void releaseInPlace();
  void sendDataChange();
  HResult getData(const FormatEtc* format, StgMedium* medium);

  struct XOleObject : Nested<IOleObject> {
    using Nested::Nested;
    HResult SetClientSite(IOleClientSite* site) override;
    HResult GetClientSite(IOleClientSite** site) override;
    HResult SetHostNames(const char16_t* containerApp, const char16_t* containerObject) override;
    HResult Close(DWord saveOption) override;
    HResult SetMoniker(DWord which, IUnknown* moniker) override;
    HResult GetMoniker(DWord assign, DWord which, IUnknown** moniker) override;
    HResult InitFromData(IDataObject* data, Bool32 creation, DWord reserved) override;
    HResult GetClipboardData(DWord reserved, IDataObject** data) override;
    HResult DoVerb(std::int32_t verb, ui::MSG* msg, IOleClientSite* site, std::int32_t index, HWND parent,
                   const gdi::Rect* position) override;
    HResult EnumVerbs(IEnumOleVerb** verbs) override;
    HResult Update() override;
    HResult IsUpToDate() override;
    HResult GetUserClassID(Guid* clsid) override;
    HResult GetUserType(DWord form, Bstr* userType) override;
    HResult SetExtent(DWord aspect, const SizeL* himetric) override;
    HResult GetExtent(DWord aspect, SizeL* himetric) override;
    HResult Advise(IAdviseSink* sink, DWord* connection) override;
    HResult Unadvise(DWord connection) override;
    HResult EnumAdvise(IUnknown** advise) override;
    HResult GetMiscStatus(DWord aspect, DWord* status) override;
    HResult SetColorScheme(void* palette) override;
  } xOleObject_{*this};
  struct XOleInPlaceObject : Nested<IOleInPlaceObject> {
    using Nested::Nested;
    HResult GetWindow(HWND* hwnd) override;
    HResult ContextSensitiveHelp(Bool32 enterMode) override;
    HResult InPlaceDeactivate() override;
    HResult UIDeactivate() override;
    HResult SetObjectRects(const gdi::Rect* position, const gdi::Rect* clip) override;
    HResult ReactivateAndUndo() override;
  } xOleInPlaceObject_{*this};
  struct XOleInPlaceActiveObject : Nested<IOleInPlaceActiveObject> {
    using Nested::Nested;
    HResult GetWindow(HWND* hwnd) override;
    HResult ContextSensitiveHelp(Bool32 enterMode) override;
    HResult TranslateAccelerator(ui::MSG* msg) override;
    HResult OnFrameWindowActivate(Bool32 activate) override;
    HResult OnDocWindowActivate(Bool32 activate) override;
    HResult ResizeBorder(const gdi::Rect* border, IOleInPlaceUIWindow* window, Bool32 frameWindow) override;
    HResult EnableModeless(Bool32 enable) override;
  } xOleInPlaceActiveObject_{*this};
  struct XOleControl : Nested<IOleControl> {
    using Nested::Nested;
    HResult GetControlInfo(ControlInfo* info) override;
    HResult OnMnemonic(ui::MSG* msg) override;
    HResult OnAmbientPropertyChange(DispId id) override;
    HResult FreezeEvents(Bool32 freeze) override;
  } xOleControl_{*this};
  struct XDataObject : Nested<IDataObject> {
    using Nested::Nested;
    HResult GetData(const FormatEtc* format, StgMedium* medium) override;
    HResult GetDataHere(const FormatEtc* format, StgMedium* medium) override;
    HResult QueryGetData(const FormatEtc* format) override;
    HResult GetCanonicalFormatEtc(const FormatEtc* in, FormatEtc* out) override;
    HResult SetData(const FormatEtc* format, StgMedium* medium, Bool32 release) override;
    HResult EnumFormatEtc(DWord direction, IEnumFormatEtc** formats) override;
    HResult DAdvise(const FormatEtc* format, DWord advf, IAdviseSink* sink, DWord* connection) override;
    HResult DUnadvise(DWord connection) override;
    HResult EnumDAdvise(IUnknown** advise) override;
  } xDataObject_{*this};
  struct XViewObject : Nested<IViewObject2> {
    using Nested::Nested;
    HResult Draw(DWord aspect, std::int32_t index, void* aspectInfo, void* targetDevice, gdi::DC* targetInfo,
                 gdi::DC* draw, const RectL* bounds, const RectL* windowBounds, Bool32 (*shouldContinue)(DWord),
                 DWord continueArg) override;
    HResult GetColorSet(DWord aspect, std::int32_t index, void* aspectInfo, void* targetDevice, gdi::DC* targetInfo,
                        void** colorSet) override;
    HResult Freeze(DWord aspect, std::int32_t index, void* aspectInfo, DWord* freeze) override;
    HResult Unfreeze(DWord freeze) override;
    HResult SetAdvise(DWord aspects, DWord advf, IAdviseSink* sink) override;
    HResult GetAdvise(DWord* aspects, DWord* advf, IAdviseSink** sink) override;
    HResult GetExtent(DWord aspect, std::int32_t index, void* targetDevice, SizeL* himetric) override;
  } xViewObject_{*this};
  struct XPersistStreamInit : Nested<IPersistStreamInit> {
    using Nested::Nested;
    HResult GetClassID(Guid* clsid) override;
    HResult IsDirty() override;
    HResult Load(IStream* stream) override;
    HResult Save(IStream* stream, Bool32 clearDirty) override;
    HResult GetSizeMax(std::uint64_t* size) override;
    HResult InitNew() override;
  } xPersistStreamInit_{*this};
  struct XSpecifyPropertyPages : Nested<ISpecifyPropertyPages> {
    using Nested::Nested;
    HResult GetPages(CaUuid* pages) override;
  } xSpecifyPropertyPages_{*this};

  static const InterfaceEntry kEntries[];

  IOleClientSite* clientSite_ = nullptr;
  ISimpleFrameSite* simpleFrameSite_ = nullptr;
  IDispatch* ambient_ = nullptr;
  IOleInPlaceSite* inPlaceSite_ = nullptr;
  IOleInPlaceFrame* inPlaceFrame_ = nullptr;
  IOleInPlaceUIWindow* inPlaceDoc_ = nullptr;
  OleInPlaceFrameInfo frameInfo_;
  ui::Wnd* reflector_ = nullptr;
  std::unique_ptr<ui::Menu> sharedMenu_;
  OleMenuDescriptor menuDescriptor_;
  bool inPlaceActive_ = false;
  bool uiActive_ = false;
  bool simpleFrame_ = false;
  bool modified_ = false;
  bool inActivation_ = false;
  bool closing_ = false;
  SizeL extent_{pixelsToHimetric(100), pixelsToHimetric(50)};
  OleAdviseHolder oleAdvise_;
  DataAdviseHolder dataAdvise_;
  IAdviseSink* viewSink_ = nullptr;
  DWord viewAspects_ = 0;
  DWord viewAdvf_ = 0;
  // Stock properties.
  DWord stockMask_ = 0;
  DWord loadedVersion_ = 0;
  std::uint32_t backColor_ = 0x80000005u;  // the window colour (a system colour index)
  std::uint32_t foreColor_ = 0x80000008u;  // the window text colour
  bool enabled_ = true;
  std::string caption_;
  std::int16_t borderStyle_ = 0;
};

// The colour an OLE_COLOR means: a COLORREF as it is, or (high bit set) the system colour of
// its low byte.
gdi::COLORREF translateColor(std::uint32_t oleColor);

}  // namespace plat::ole
