#pragma once
// IOrvClientSite: what the main program offers the controls embedded in its documents, through
// their OLE client site: walk the document's items, create a new item from a data source,
// activate the calling item, read the parameter-panel captions and the document zoom. The slot
// order is the interface's contract: never reorder or insert.
#include <cstdint>

#include "platform/oleauto/oleauto.h"

// The record of one item of a document (28 bytes, stored raw after the item's own data).
// Controls read it through the pointers IOrvClientSite hands out, valid while the item lives.
struct SaItemRecord {
  std::int32_t type = 0;     // ItemTypeSpectrum, ItemTypeTable, or 0 for any other object
  std::int32_t subtype = 5;  // ItemFromFile, ItemFromControl (+ i)
  std::int32_t left = 100;   // the item's rectangle in page units (0.25 mm)
  std::int32_t top = 100;
  std::int32_t right = 150;
  std::int32_t bottom = 150;
  std::int32_t fromFile = 0;  // 1 for items the document made from a file
};
static_assert(sizeof(SaItemRecord) == 28);

class IOrvClientSite : public plat::ole::IUnknown {
 public:
  // The document's first item and its object (no reference added); null when there is none.
  virtual SaItemRecord* GetFirstItem(plat::ole::IUnknown** object) = 0;             // 3
  // The item after the one whose record is given, with its object; null after the last one
  // and for a record the document does not hold.
  virtual SaItemRecord* GetNextItem(SaItemRecord* record, plat::ole::IUnknown** object) = 0;  // 4
  // The calling item's own record.
  virtual SaItemRecord* GetItemRecord() = 0;                                        // 5
  // A new item made from the data source; null when it could not be made.
  virtual SaItemRecord* CreateItem(plat::ole::IUnknown* source) = 0;                // 6
  virtual plat::ole::HResult ActivateItem() = 0;                                    // 7
  virtual plat::ole::HResult GetParamTitle(std::int32_t index, plat::ole::Bstr* caption) = 0;  // 8
  // The document zoom in percent (100 outside the page layout and while printing).
  virtual std::int32_t GetZoom() = 0;                                               // 9

 protected:
  ~IOrvClientSite() = default;
};
