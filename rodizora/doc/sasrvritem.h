#pragma once
// CSaSrvrItem: a set of a document's items carried together to the clipboard (or from it): its
// serialisation is the item count and each item's own serialisation, the payload of "KEDRUS
// Rodizora Format". It does not own the items; loading makes new ones in its document.
#include <vector>

#include "platform/archive/archive.h"
#include "platform/gdi/dc.h"
#include "platform/ole/dataobject.h"

class CSaDoc;
class CSaItem;

class CSaSrvrItem {
 public:
  explicit CSaSrvrItem(CSaDoc* doc) : m_doc(doc) {}

  void AddItem(CSaItem* item) { m_items.push_back(item); }
  const std::vector<CSaItem*>& Items() const { return m_items; }

  // Storing: the count, then each item. Loading: the count (checked against what the archive
  // holds), then a new item of the document for each, loaded; when any of it fails, every item
  // made is deleted again and the error passed on, so a bad payload adds nothing.
  void Serialize(plat::Archive& ar);
  // The bounding rectangle of the items (page units), and as a HIMETRIC extent.
  gdi::Rect Bounds() const;
  plat::ole::SizeL GetExtent() const;
  // Draws the items, their common corner at bounds' corner, page units scaled into bounds, with
  // the document zoom at 2500 % while they draw.
  bool OnDraw(gdi::DC* dc, const gdi::Rect& bounds);
  // Moves every item by the same offset so that their common top-left corner lands on (x, y).
  void MoveTo(int x, int y);
  // A new data source (the caller holds its one reference): the serialisation under "KEDRUS
  // Rodizora Format" and a picture of the items.
  plat::ole::DataSource* GetDataSource();

 private:
  CSaDoc* m_doc;
  std::vector<CSaItem*> m_items;
};
