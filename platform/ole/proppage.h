#pragma once
// Property pages of controls (COlePropertyPage) and the frame that shows them.
//
// OlePropertyPage is a page dialog on a template of its own that is also a COM object
// (IPropertyPage), made by class id. The frame gives it its site (OnSetPageSite runs after the
// base kept it), the objects it edits (their IDispatch, GetObjectArray), and activates it: the
// page's window is made from its template as a child of the frame's page area, OnInitDialog runs
// (its base moves the objects' values into the items, UpdateData(false)), and it is moved to the
// rectangle given. Apply moves the items' values into the objects (UpdateData(true)) and clears
// the modified flag; SetModifiedFlag(true) tells the site the page is dirty (the frame enables
// Apply).
//
// The property frame (showPropertyFrame) is a modal dialog of its own: a tab per page (tab
// control id 12320) over the page area (the pages' parent), and the buttons OK (IDOK, 1), Cancel
// (IDCANCEL, 2), Help (9) and Apply (ID_APPLY_NOW, 12321) below it. The page area is as large as
// the largest page's GetPageInfo size. OK applies every page that is dirty and ends the run, Apply
// does the same and stays, Cancel ends it without applying. The run asks the modal responder like
// any dialog (ModalKind::Dialog, question.dialog the frame, a PropertyFrame).
#include <span>
#include <string>
#include <vector>

#include "platform/com/object.h"
#include "platform/ole/interfaces.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace plat::ole {

class OlePropertyPage : public ui::Dialog, public ComObject {
  UI_DECLARE_DYNAMIC(OlePropertyPage)

 public:
  // captionId: the string resource of the tab's caption (the current module's).
  OlePropertyPage(ui::UINT templateId, ui::UINT captionId);
  ~OlePropertyPage() override;

  // The objects the page edits (their IDispatch; no reference added).
  IDispatch** GetObjectArray(std::uint32_t* count);
  IPropertyPageSite* GetPageSite() const { return site_; }
  virtual void OnSetPageSite() {}
  virtual void OnObjectsChanged() {}
  void SetModifiedFlag(bool modified = true);
  bool IsModified() const { return dirty_; }
  // The page's caption (its string resource).
  const std::string& GetCaption() const { return caption_; }
  // The template's size in pixels (what GetPageInfo reports).
  gdi::Size TemplateSize() const;
  IPropertyPage* GetIPropertyPage(bool addRef);

  void OnOK() override {}
  void OnCancel() override {}

 protected:
  void OnFinalRelease() override;
  void PostNcDestroy() override {}
  const InterfaceMap& GetInterfaceMap() const override { return kInterfaceMap; }
  static const InterfaceMap kInterfaceMap;

 private:
  void releaseObjects();

  struct XPropertyPage : Nested<IPropertyPage> {
    using Nested::Nested;
    HResult SetPageSite(IPropertyPageSite* site) override;
    HResult Activate(HWND parent, const gdi::Rect* rect, Bool32 modal) override;
    HResult Deactivate() override;
    HResult GetPageInfo(PropPageInfo* info) override;
    HResult SetObjects(std::uint32_t count, IUnknown** objects) override;
    HResult Show(ui::UINT command) override;
    HResult Move(const gdi::Rect* rect) override;
    HResult IsPageDirty() override;
    HResult Apply() override;
    HResult Help(const char16_t* helpDir) override;
    HResult TranslateAccelerator(ui::MSG* msg) override;
  } xPropertyPage_{*this};

  ui::UINT captionId_;
  std::string caption_;
  IPropertyPageSite* site_ = nullptr;
  std::vector<IDispatch*> objects_;
  bool dirty_ = false;
  const ui::DialogResource* pageTemplate_ = nullptr;
  static const InterfaceEntry kEntries[];
};

// Ids of the property frame's windows.
constexpr ui::UINT kPropertyFrameTabId = 12320;
constexpr ui::UINT kPropertyFrameHelpId = 9;

class PropertyFrameSite;

// The frame that shows pages; the pages are COM objects it holds while it lives.
class PropertyFrame : public ui::Dialog {
 public:
  PropertyFrame(std::u16string_view caption, std::span<IUnknown* const> objects, std::span<const Guid> pages, Lcid lcid);
  ~PropertyFrame() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  IPropertyPage* Page(int index) const;
  int ActiveIndex() const { return active_; }
  bool SetActivePage(int index);
  // The window the active page lives in.
  ui::Wnd* PageArea() const { return area_.get(); }
  Lcid GetLocale() const { return lcid_; }
  bool IsApplyEnabled() const;
  // Applies every dirty page; false when one failed (it stays dirty).
  bool ApplyAll();

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  // Ctrl+Tab (Ctrl+Page Down) and Ctrl+Shift+Tab (Ctrl+Page Up) turn the pages; then the
  // dialog's own keys.
  bool PreTranslateMessage(ui::MSG* msg) override;

 private:
  friend class PropertyFrameSite;
  void OnApply();
  void OnTabChange(ui::NMHDR* hdr, ui::LRESULT* result);
  void statusChanged();
  bool OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) override;
  bool OnNotify(ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) override;

  struct PageEntry {
    IPropertyPage* page = nullptr;
    std::u16string title;
    gdi::Size size;
    bool activated = false;
  };
  std::string caption_;
  std::vector<IUnknown*> objects_;
  std::vector<PageEntry> pages_;
  Lcid lcid_;
  int active_ = -1;
  gdi::Size area_size_;
  std::unique_ptr<ui::TabCtrl> tabs_;
  std::unique_ptr<ui::Wnd> area_;
  std::unique_ptr<ui::Button> ok_, cancel_, help_, apply_;
  PropertyFrameSite* siteObject_ = nullptr;
  IPropertyPageSite* site_ = nullptr;
  ui::DialogResource frameTemplate_;
};

// Creates the pages by class id and runs the frame over owner; answers its end code (IDOK or
// IDCANCEL), -1 when no page could be made.
int showPropertyFrame(HWND owner, std::u16string_view caption, std::span<IUnknown* const> objects,
                      std::span<const Guid> pages, Lcid lcid);

}  // namespace plat::ole
