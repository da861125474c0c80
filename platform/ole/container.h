#pragma once
// The container side: documents of embedded items, their client sites, and the in-place frame
// hooks through which an active object takes border space, menus and the status line of the
// container's frames (COleDocument, COleClientItem and COleFrameHook of the class library).
//
// OleClientItem is one embedded object and its site (IOleClientSite, IOleInPlaceSite,
// IAdviseSink, IOleControlSite and the ambient properties' IDispatch). It belongs to its document
// (it adds itself at construction) and is a COM object: the document holds its first reference,
// Delete closes the object, takes the item out of the document and drops that reference; the
// object may hold the site a little longer, never a dangling pointer.
//
//  - Creation: CreateNewItem makes the object by class id (through the class table or the
//    registry, creation.h), gives it the site (first, when its misc status asks for that) and
//    initialises it new; CreateFromData makes it from a data object's "Embed Source" (class id
//    and persistent state): a new object of that class loaded from that state, so the copy
//    equals the original in everything its state holds. Both advise the object (IOleObject,
//    IViewObject) and take its presentation picture.
//  - Extents are HIMETRIC: GetExtent asks the object, GetCachedExtent answers the presentation
//    picture's; SetExtent tells the object.
//  - Drawing: Draw plays the presentation picture (the object's CF_ENHMETAFILE, taken again
//    whenever the object reports a view change and at deactivation) scaled into a rectangle; an
//    item active in place draws itself in its own window.
//  - Activation: Activate(verb, view) runs the verb with the view's window as parent; the object
//    then calls back the site (can activate, in-place and UI activation, the window context:
//    the hooks of the view's frames and the item's position, OnGetItemPosition). A new UI
//    activation deactivates the UI of any other item of the same view first. Deactivate and
//    DeactivateUI undo it; OnActivate, OnActivateUI, OnDeactivateUI and OnDeactivate report each
//    step to the derived class.
//  - Data changes: AdviseDataChange asks the object's data object to report changes (DAdvise);
//    each report reaches OnDataChange. UnadviseDataChange stops it.
//  - Persistence: Serialize stores the class id, the object's persistent state, the extent and
//    the presentation picture, and loads them back (the object made again from its class id and
//    state; an object that cannot be made leaves the item without one, IsEmpty, for the caller
//    to delete). Counts and lengths read are checked against the archive (plat::ArchiveError).
//
// OleFrameHook is the in-place frame (IOleInPlaceFrame) of one ui::FrameWnd, made on demand and
// kept with the frame (its notify hook) until the frame goes. GetBorder is the frame's client
// area inside its own bars; RequestBorderSpace grants widths that leave some of it;
// SetBorderSpace gives them to the object (the frame lays its view out inside them, and the
// object's tool bars, children of the frame, fill them) and hides the frame's bars marked
// CBRS_HIDE_INPLACE until the object gives the space back (SetBorderSpace(null)). SetStatusText writes the frame's
// message line. When the frame's layout changes, the active object hears ResizeBorder.
// The same hook serves a document frame (an MDI child) as its IOleInPlaceUIWindow.
//
// Menus: InsertMenus puts the container's groups into the shared menu (the active item's
// document template's in-place menu, whose top-level separators end its File, Container and
// Window groups; the frame's own menu, all in the File group, when the template has none).
// SetMenu shows the shared menu where the frame's menu shows (an MDI frame sends it through its
// MDI client, WM_MDISETMENU, so an owner-drawn menu bar follows) and sends the commands and the
// command-UI updates of the object's popups (the groups the menu descriptor gives the object) to
// the object's window, whatever ids the container's own commands use; SetMenu(null) shows the
// frame's own menu again (an MDI frame's: the active child's).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/archive.h"
#include "platform/com/object.h"
#include "platform/gdi/metafile.h"
#include "platform/ole/dataobject.h"
#include "platform/ole/interfaces.h"
#include "platform/ui/docview.h"
#include "platform/ui/frame.h"

namespace plat::ole {

class OleClientItem;

class OleDocument : public ui::Document {
  UI_DECLARE_DYNAMIC(OleDocument)

 public:
  OleDocument();
  ~OleDocument() override;

  // In document order (the order items were added or loaded).
  const std::vector<OleClientItem*>& GetItems() const { return items_; }
  // The item active in place in view (null when none).
  OleClientItem* GetInPlaceActiveItem(const ui::View* view) const;
  // Stores count and items, or loads them, each new one made by makeItem (which adds it here).
  void SerializeItems(Archive& ar, const std::function<OleClientItem*()>& makeItem);
  // Deletes every item.
  void DeleteContents() override;

 private:
  friend class OleClientItem;
  void AddItem(OleClientItem* item);
  void RemoveItem(OleClientItem* item);
  std::vector<OleClientItem*> items_;
};

enum class ItemState { Empty, Loaded, Open, Active, ActiveUI };

// OnChange notifications.
enum class OleNotification { Changed, Saved, Closed, Renamed, ChangedState, ChangedAspect };

class OleClientItem : public ComObject {
 public:
  explicit OleClientItem(OleDocument* document);

  OleDocument* GetDocument() const { return document_; }
  ItemState GetItemState() const { return state_; }
  bool IsEmpty() const { return object_ == nullptr; }
  bool IsInPlaceActive() const { return state_ == ItemState::Active || state_ == ItemState::ActiveUI; }
  // The embedded object (no reference added); null while empty.
  IOleObject* GetOleObject() const { return object_; }
  Guid GetClassID() const { return clsid_; }
  // The object asked for iid (one reference for the caller), null when it has none.
  void* QueryObject(const Guid& iid) const;

  // --- Creation ------------------------------------------------------------------------------------
  bool CreateNewItem(const Guid& clsid);
  bool CreateFromData(IDataObject* data);
  // The same from "Embed Source" bytes already taken from a data object.
  bool CreateFromEmbedSource(std::vector<std::uint8_t> bytes);
  bool CreateFromClipboard();
  // Closes the object, takes the item out of its document and releases it.
  void Delete();
  void Close(DWord saveOption = OLECLOSE_SAVEIFDIRTY);

  // --- Extent and drawing --------------------------------------------------------------------------
  // The object's extent (a container may answer its own instead).
  virtual bool GetExtent(SizeL* himetric, DWord aspect = DVASPECT_CONTENT) const;
  bool GetCachedExtent(SizeL* himetric) const;
  bool SetExtent(const SizeL& himetric);
  // The presentation picture scaled into bounds (the DC's logical units); false when there is none.
  // An object active in place draws itself (its picture of now, not the one taken before).
  bool Draw(gdi::DC* dc, const gdi::Rect& bounds) const;
  const gdi::EnhMetaFile& GetPresentation() const {
    refreshPresentation();
    return presentation_;
  }
  // The object's picture is to be taken again: it is, when the picture is next asked for (an
  // item hears of several changes before anything draws it, and drawing a large plot is not
  // cheap). False when the object has no data to give it; a picture it cannot give leaves the
  // old one.
  bool UpdatePresentation();
  // True while the object draws the picture: it draws it at its own extent, whatever size the
  // picture is later shown at, so a container that tells its objects a zoom answers 100 then.
  bool IsTakingPresentation() const { return takingPresentation_; }

  // --- Activation -----------------------------------------------------------------------------------
  bool Activate(std::int32_t verb, ui::View* view, ui::MSG* msg = nullptr);
  void Deactivate();
  void DeactivateUI();
  ui::View* GetActiveView() const { return view_; }
  // The object's window while active in place (null otherwise).
  HWND GetInPlaceWindow() const;
  // Moves the active object (IOleInPlaceObject::SetObjectRects) to position in the view.
  void SetItemRects(const gdi::Rect& position);

  // --- Data changes ---------------------------------------------------------------------------------
  bool AdviseDataChange(std::uint16_t format, DWord aspect, DWord tymed, DWord advf);
  void UnadviseDataChange();
  bool IsDataAdvised() const { return dataConnection_ != 0; }

  // --- Persistence -----------------------------------------------------------------------------------
  virtual void Serialize(Archive& ar);
  // The object's persistent state (IPersistStreamInit::Save); false when it has none.
  bool SaveObjectState(std::vector<std::uint8_t>* bytes) const;
  // A new data source holding the object's presentation and "Embed Source" / "Object Descriptor"
  // (one reference for the caller); null while empty.
  virtual IDataObject* GetClipboardData();

  // --- Overridables --------------------------------------------------------------------------------
  virtual void OnChange(OleNotification notification, DWord param);
  // The item's place in the view's client coordinates (by default its stored rectangle).
  virtual void OnGetItemPosition(gdi::Rect* position);
  // The object asks to move; the base takes the rectangle and moves it there.
  virtual bool OnChangeItemPosition(const gdi::Rect& position);
  virtual void OnShowItem() {}
  virtual bool CanActivate();
  virtual void OnActivate() {}
  virtual void OnActivateUI() {}
  virtual void OnDeactivateUI(bool undoable) { (void)undoable; }
  virtual void OnDeactivate() {}
  virtual void OnDataChange(const FormatEtc* format, StgMedium* medium) {
    (void)format;
    (void)medium;
  }
  // The frames the object's tool space, menus and status line live in: the view's top-level
  // frame, and its own frame when that is another one (an MDI child).
  virtual void OnGetWindowContext(ui::FrameWnd** frame, ui::FrameWnd** document);
  // An ambient property; false when the container has none (DISP_E_MEMBERNOTFOUND).
  virtual bool GetAmbientProperty(DispId id, Variant* value);
  gdi::Rect m_rect{10, 10, 110, 60};

 protected:
  ~OleClientItem() override;
  const InterfaceMap& GetInterfaceMap() const override { return kInterfaceMap; }
  static const InterfaceMap kInterfaceMap;

 private:
  // Loads the object from state, from offset on, unless initNew.
  bool attachObject(IOleObject* object, const Guid& clsid, bool initNew, std::vector<std::uint8_t> state,
                    std::size_t offset);
  void releaseObject();
  void setState(ItemState state);

  struct XOleClientSite : Nested<IOleClientSite> {
    using Nested::Nested;
    HResult SaveObject() override;
    HResult GetMoniker(DWord assign, DWord which, IUnknown** moniker) override;
    HResult GetContainer(IOleContainer** container) override;
    HResult ShowObject() override;
    HResult OnShowWindow(Bool32 show) override;
    HResult RequestNewObjectLayout() override;
  } xOleClientSite_{*this};
  struct XOleInPlaceSite : Nested<IOleInPlaceSite> {
    using Nested::Nested;
    HResult GetWindow(HWND* hwnd) override;
    HResult ContextSensitiveHelp(Bool32 enterMode) override;
    HResult CanInPlaceActivate() override;
    HResult OnInPlaceActivate() override;
    HResult OnUIActivate() override;
    HResult GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, gdi::Rect* position,
                             gdi::Rect* clip, OleInPlaceFrameInfo* info) override;
    HResult Scroll(gdi::Size extent) override;
    HResult OnUIDeactivate(Bool32 undoable) override;
    HResult OnInPlaceDeactivate() override;
    HResult DiscardUndoState() override;
    HResult DeactivateAndUndo() override;
    HResult OnPosRectChange(const gdi::Rect* position) override;
  } xOleInPlaceSite_{*this};
  struct XAdviseSink : Nested<IAdviseSink> {
    using Nested::Nested;
    void OnDataChange(const FormatEtc* format, StgMedium* medium) override;
    void OnViewChange(DWord aspect, std::int32_t index) override;
    void OnRename(IUnknown* moniker) override;
    void OnSave() override;
    void OnClose() override;
  } xAdviseSink_{*this};
  struct XOleControlSite : Nested<IOleControlSite> {
    using Nested::Nested;
    HResult OnControlInfoChanged() override;
    HResult LockInPlaceActive(Bool32 lock) override;
    HResult GetExtendedControl(IDispatch** control) override;
    HResult TransformCoords(PointL* himetric, PointF* container, DWord flags) override;
    HResult TranslateAccelerator(ui::MSG* msg, DWord modifiers) override;
    HResult OnFocus(Bool32 gotFocus) override;
    HResult ShowPropertyFrame() override;
  } xOleControlSite_{*this};
  struct XAmbientDispatch : Nested<IDispatch> {
    using Nested::Nested;
    HResult GetTypeInfoCount(std::uint32_t* count) override;
    HResult GetTypeInfo(std::uint32_t index, Lcid lcid, ITypeInfo** info) override;
    HResult GetIDsOfNames(const Guid& iid, const char16_t* const* names, std::uint32_t count, Lcid lcid,
                          DispId* ids) override;
    HResult Invoke(DispId id, const Guid& iid, Lcid lcid, Word flags, DispParams* params, Variant* result,
                   ExcepInfo* excepInfo, std::uint32_t* argErr) override;
  } xAmbientDispatch_{*this};
  static const InterfaceEntry kEntries[];

  OleDocument* document_;
  IOleObject* object_ = nullptr;
  IOleInPlaceObject* inPlaceObject_ = nullptr;
  Guid clsid_{};
  ItemState state_ = ItemState::Empty;
  ui::View* view_ = nullptr;
  void refreshPresentation() const;

  mutable gdi::EnhMetaFile presentation_;
  mutable SizeL cachedExtent_;
  mutable bool presentationStale_ = false;
  mutable bool takingPresentation_ = false;
  DWord oleConnection_ = 0;
  DWord dataConnection_ = 0;
};

// The in-place frame of a ui::FrameWnd (see the top of this file). Its behaviour is virtual, so
// a container (or a test) can log or refuse what an object asks.
class OleFrameHook : public ComObject, public ui::FrameNotifyHook {
 public:
  // The frame's hook, made and attached when it has none (no reference added: the frame keeps it).
  static OleFrameHook* ForFrame(ui::FrameWnd* frame);
  // Attaches a hook made by the caller (a derived one); the frame takes the creation reference.
  static void Attach(ui::FrameWnd* frame, OleFrameHook* hook);

  explicit OleFrameHook(ui::FrameWnd* frame);
  ui::FrameWnd* GetFrame() const { return frame_; }
  IOleInPlaceFrame* GetIOleInPlaceFrame() { return &xOleInPlaceFrame_; }
  IOleInPlaceActiveObject* GetActiveObject() const { return activeObject_; }
  // The border widths an object holds now (all zero when none).
  const BorderWidths& GetBorderSpace() const { return border_; }
  const std::u16string& GetStatusText() const { return status_; }

  virtual HResult GetBorder(gdi::Rect* border);
  virtual HResult RequestBorderSpace(const BorderWidths* widths);
  virtual HResult SetBorderSpace(const BorderWidths* widths);
  virtual HResult SetActiveObject(IOleInPlaceActiveObject* object, const char16_t* name);
  virtual HResult SetStatusText(const char16_t* text);
  // Copies the container's popups into the shared menu (widths 0, 2 and 4).
  virtual HResult InsertMenus(ui::Menu* shared, OleMenuGroupWidths* widths);
  virtual HResult SetMenu(ui::Menu* shared, void* descriptor, HWND activeObject);
  virtual HResult RemoveMenus(ui::Menu* shared);

  // The document template of the item that asked for the window context last: its in-place
  // menu gives the container's groups.
  void SetInPlaceTemplate(const ui::DocTemplate* docTemplate) { template_ = docTemplate; }

  // ui::FrameNotifyHook
  void OnRecalcLayout() override;
  HWND PopupOwner(const ui::Menu* popup) override;
  bool OnPreTranslateMessage(ui::MSG* msg) override;
  void OnFrameDestroy() override;

 protected:
  ~OleFrameHook() override;
  const InterfaceMap& GetInterfaceMap() const override { return kInterfaceMap; }
  static const InterfaceMap kInterfaceMap;

 private:
  struct XOleInPlaceFrame : Nested<IOleInPlaceFrame> {
    using Nested::Nested;
    HResult GetWindow(HWND* hwnd) override;
    HResult ContextSensitiveHelp(Bool32 enterMode) override;
    HResult GetBorder(gdi::Rect* border) override;
    HResult RequestBorderSpace(const BorderWidths* widths) override;
    HResult SetBorderSpace(const BorderWidths* widths) override;
    HResult SetActiveObject(IOleInPlaceActiveObject* object, const char16_t* name) override;
    HResult InsertMenus(ui::Menu* shared, OleMenuGroupWidths* widths) override;
    HResult SetMenu(ui::Menu* shared, void* descriptor, HWND activeObject) override;
    HResult RemoveMenus(ui::Menu* shared) override;
    HResult SetStatusText(const char16_t* text) override;
    HResult EnableModeless(Bool32 enable) override;
    HResult TranslateAccelerator(ui::MSG* msg, std::uint16_t id) override;
  } xOleInPlaceFrame_{*this};
  static const InterfaceEntry kEntries[];

  ui::FrameWnd* frame_;
  IOleInPlaceActiveObject* activeObject_ = nullptr;
  BorderWidths border_;
  std::u16string status_;
  // Shows menu where the frame's menu shows; null: the frame's own again.
  void ShowMenu(ui::Menu* menu);

  const ui::DocTemplate* template_ = nullptr;
  ui::Menu* sharedMenu_ = nullptr;
  HWND menuObject_ = ui::kNoWnd;
  std::vector<const ui::Menu*> objectPopups_;
  std::vector<const ui::Menu*> containerPopups_;
  bool resizing_ = false;
};

}  // namespace plat::ole
