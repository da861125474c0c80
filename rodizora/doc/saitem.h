#pragma once
// CSaItem: one object on a page (a spectrum control, a table, a structure or any other embedded
// object). Beside the embedded object it keeps its item record (type, subtype, rectangle in page
// units, file flag), which it stores after the object's own data and hands to the controls
// through IOrvClientSite; through ISimpleFrameSite an in-place active spectrum item lets the
// items drawn over it paint into its window and get their clicks.
//
// The item reaches its view through ISaPageView: its rectangle is mapped from page units to the
// view's client pixels there.
#include <vector>

#include "common/orvclientsite.h"
#include "common/shared_ids.h"
#include "platform/ole/container.h"
#include "platform/ole/dataobject.h"

class CSaDoc;
class ISaPageView;

class CSaItem : public plat::ole::OleClientItem {
 public:
  // How far from the page's corner a stored rectangle may reach (page units; 262 m).
  static constexpr std::int32_t kMaxPageCoordinate = 1 << 20;

  explicit CSaItem(CSaDoc* doc);

  CSaDoc* GetDocument() const;
  SaItemRecord& Record() { return m_record; }
  const SaItemRecord& Record() const { return m_record; }
  gdi::Rect GetRect() const { return {m_record.left, m_record.top, m_record.right, m_record.bottom}; }
  // Redraws, stores the new page rectangle, redraws; an item active in place is moved too.
  void SetRect(const gdi::Rect& rect);
  // Moves the rectangle's top-left corner to (x, y), keeping its size.
  void MoveTo(int x, int y);
  // Right and bottom from the object's cached extent (HIMETRIC x 4 / 100), the corner kept.
  void SizeFromCachedExtent();
  // The record's rectangle in the view's client pixels (normalised); false when the view maps
  // nothing.
  bool ClientRect(gdi::Rect* rect) const;

  // ISaItem::SelectPropertySet on the object; false when it has no object or no ISaItem.
  bool SelectPropertySet(std::uint32_t set, bool redraw);
  // The spectrum kind name (ISpectrumControl::GetCurMethod); empty when the object has none.
  plat::String16 GetMethodName() const;

  // The item's own serialisation: the object's data, then the 28-byte record.
  void Serialize(plat::Archive& ar) override;
  // A new data source (the caller holds its one reference) with the item under "KEDRUS Rodizora
  // Format" (as CSaSrvrItem writes it: a count of one, then the item's own serialisation), then
  // the object's embedding formats; null while empty.
  plat::ole::DataSource* GetClipboardDataSource();
  // The same, as the data object the class library hands out (one reference for the caller).
  plat::ole::IDataObject* GetClipboardData() override;

  // OleClientItem
  void OnChange(plat::ole::OleNotification notification, plat::DWord param) override;
  void OnGetItemPosition(gdi::Rect* position) override;
  bool OnChangeItemPosition(const gdi::Rect& position) override;
  void OnShowItem() override;
  bool CanActivate() override;
  void OnActivate() override;
  void OnDeactivateUI(bool undoable) override;
  void OnDataChange(const plat::ole::FormatEtc* format, plat::ole::StgMedium* medium) override;

 protected:
  ~CSaItem() override = default;
  const InterfaceMap& GetInterfaceMap() const override { return kSaInterfaceMap; }

 private:
  // The view the item shows in: the one it is active in, else the document's first.
  ISaPageView* PageView() const;
  ui::View* View() const;
  void RedrawViews();
  // WM_PAINT of the active object's window: the item and every item over it into an off-screen
  // bitmap; false when the window is too large or no bitmap can be made.
  bool PaintInPlace(ui::HWND window);
  // A click on the active object's window that belongs to an item drawn over it goes to the view.
  bool ForwardClick(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);

  struct XOrvClientSite : plat::ole::Nested<IOrvClientSite> {
    using Nested::Nested;
    SaItemRecord* GetFirstItem(plat::ole::IUnknown** object) override;
    SaItemRecord* GetNextItem(SaItemRecord* record, plat::ole::IUnknown** object) override;
    SaItemRecord* GetItemRecord() override;
    SaItemRecord* CreateItem(plat::ole::IUnknown* source) override;
    plat::ole::HResult ActivateItem() override;
    plat::ole::HResult GetParamTitle(std::int32_t index, plat::ole::Bstr* caption) override;
    std::int32_t GetZoom() override;
  } xOrvClientSite_{*this};
  struct XSimpleFrameSite : plat::ole::Nested<plat::ole::ISimpleFrameSite> {
    using Nested::Nested;
    plat::ole::HResult PreMessageFilter(ui::HWND hwnd, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                                        ui::LRESULT* result, plat::DWord* cookie) override;
    plat::ole::HResult PostMessageFilter(ui::HWND hwnd, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                                         ui::LRESULT* result, plat::DWord cookie) override;
  } xSimpleFrameSite_{*this};
  static const InterfaceEntry kSaEntries[];
  static const InterfaceMap kSaInterfaceMap;

  SaItemRecord m_record;
};

// "KEDRUS Rodizora Format": the program's own clipboard format (registered once per process).
std::uint16_t RodizoraClipboardFormat();

// The items of a document holding a page point, the last one in document order (null: none).
CSaItem* HitTestItems(const std::vector<plat::ole::OleClientItem*>& items, gdi::Point page);
