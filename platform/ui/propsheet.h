#pragma once
// Property sheets: pages (dialogs on templates of their own) behind a tab control, with OK,
// Cancel and Apply. A page is made when it is first shown; OK and Apply ask every made page to
// apply (OnApply, by default its OnOK), Cancel every made page to reset. Apply is enabled while
// some page is marked modified.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace ui {

class PropertySheet;

constexpr UINT ID_APPLY_NOW = 0x3021;

class PropertyPage : public Dialog {
  UI_DECLARE_DYNAMIC(PropertyPage)

 public:
  explicit PropertyPage(UINT templateId, UINT captionId = 0);

  // Each answers whether the sheet may go on (leave the page, apply, cancel).
  virtual bool OnSetActive();
  virtual bool OnKillActive();
  virtual bool OnApply();
  virtual void OnReset();
  virtual bool OnQueryCancel();
  void OnOK() override;
  void OnCancel() override;

  void SetModified(bool modified = true);
  bool IsModified() const { return m_modified; }
  void CancelToClose();
  PropertySheet* GetSheet() const { return m_sheet; }
  std::string GetCaption() const;

 private:
  friend class PropertySheet;
  PropertySheet* m_sheet = nullptr;
  UINT m_captionId;
  bool m_modified = false;
};

class PropertySheet : public Wnd {
  UI_DECLARE_DYNAMIC(PropertySheet)
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit PropertySheet(std::string_view caption, Wnd* parent = nullptr, UINT selectPage = 0);
  explicit PropertySheet(UINT captionId, Wnd* parent = nullptr, UINT selectPage = 0);
  ~PropertySheet() override;

  // The sheet does not own its pages.
  void AddPage(PropertyPage* page);
  void RemovePage(int index);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  PropertyPage* GetPage(int index) const;
  PropertyPage* GetActivePage() const;
  int GetActiveIndex() const { return m_active; }
  // Leaves the current page (OnKillActive) and shows another; false when refused.
  bool SetActivePage(int index);
  bool SetActivePage(PropertyPage* page);
  void SetTitle(std::string_view title);
  std::string GetTitle() const { return m_caption; }

  int DoModal();
  // Presses OK (IDOK), Cancel (IDCANCEL) or Apply (ID_APPLY_NOW) as the user would.
  bool PressButton(UINT id);
  TabCtrl* GetTabControl() const { return m_tabs.get(); }
  bool IsApplyEnabled() const;
  // Answers whether some made page is marked modified.
  bool AnyModified() const;
  bool IsEnded() const { return m_ended; }

  void OnOK();
  void OnCancel();
  void OnApplyNow();
  void OnTabChanging(NMHDR* hdr, LRESULT* result);
  void OnTabChange(NMHDR* hdr, LRESULT* result);
  void OnCloseMessage();
  bool PreTranslateMessage(MSG* msg) override;

 private:
  friend class PropertyPage;
  bool ApplyAll();
  void ModifiedChanged();
  bool CreateSheetWindow(Wnd* owner);
  void EndSheet(int result);

  std::string m_caption;
  Wnd* m_parent;
  UINT m_startPage;
  std::vector<PropertyPage*> m_pages;
  int m_active = -1;
  std::unique_ptr<TabCtrl> m_tabs;
  std::unique_ptr<Button> m_ok, m_cancel, m_apply;
  Rect m_pageRect;
  bool m_ended = false;
  int m_result = IDCANCEL;
  bool m_cancelToClose = false;
};

}  // namespace ui
