#include "rodizora/doc/sasrvritem.h"

#include <algorithm>
#include <climits>

#include "rodizora/doc/sadoc.h"

namespace {

// The most items one payload may carry, and the least bytes each takes (class id and four counts
// of the object's data, and the record).
constexpr std::uint64_t kMaxItems = 4096;
constexpr std::uint64_t kMinItemBytes = 16 + 4 * 4 + 28;
constexpr int kDrawZoom = 2500;

}  // namespace

void CSaSrvrItem::Serialize(plat::Archive& ar) {
  if (ar.isStoring()) {
    ar.writeI32(static_cast<std::int32_t>(m_items.size()));
    for (CSaItem* item : m_items) item->Serialize(ar);
    return;
  }
  const std::uint32_t count = ar.readCount(kMaxItems, kMinItemBytes);
  std::vector<CSaItem*> made;
  try {
    for (std::uint32_t i = 0; i < count; ++i) {
      auto* item = new CSaItem(m_doc);
      made.push_back(item);
      item->Serialize(ar);
      if (item->IsEmpty()) throw plat::ArchiveError(plat::ArchiveError::Kind::BadFormat, "an item whose object cannot be made");
    }
  } catch (...) {
    for (CSaItem* item : made) m_doc->DeleteItem(item);
    throw;
  }
  m_items.insert(m_items.end(), made.begin(), made.end());
}

gdi::Rect CSaSrvrItem::Bounds() const {
  if (m_items.empty()) return {};
  gdi::Rect bounds(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  for (const CSaItem* item : m_items) {
    const gdi::Rect r = item->GetRect();
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  return bounds;
}

plat::ole::SizeL CSaSrvrItem::GetExtent() const {
  const gdi::Rect b = Bounds();
  return {b.Width() * 100 / 4, b.Height() * 100 / 4};
}

bool CSaSrvrItem::OnDraw(gdi::DC* dc, const gdi::Rect& bounds) {
  const gdi::Rect all = Bounds();
  if (!dc || m_items.empty() || all.Width() <= 0 || all.Height() <= 0) return true;
  // Restored on every path, also when an item's drawing throws.
  struct ZoomScope {
    CSaDoc* doc;
    int saved;
    ~ZoomScope() { doc->SetDocumentZoom(saved); }
  } zoom{m_doc, m_doc->GetDocumentZoom()};
  m_doc->SetDocumentZoom(kDrawZoom);
  for (CSaItem* item : m_items) {
    const gdi::Rect r = item->GetRect();
    const gdi::Rect there(bounds.left + gdi::MulDiv(r.left - all.left, bounds.Width(), all.Width()),
                          bounds.top + gdi::MulDiv(r.top - all.top, bounds.Height(), all.Height()),
                          bounds.left + gdi::MulDiv(r.right - all.left, bounds.Width(), all.Width()),
                          bounds.top + gdi::MulDiv(r.bottom - all.top, bounds.Height(), all.Height()));
    item->Draw(dc, there);
  }
  return true;
}

void CSaSrvrItem::MoveTo(int x, int y) {
  const gdi::Rect all = Bounds();
  for (CSaItem* item : m_items) {
    const gdi::Rect r = item->GetRect();
    item->MoveTo(r.left - all.left + x, r.top - all.top + y);
  }
}

plat::ole::DataSource* CSaSrvrItem::GetDataSource() {
  auto* source = new plat::ole::DataSource;
  try {
    plat::Archive ar;
    Serialize(ar);
    source->CacheData(RodizoraClipboardFormat(), ar.takeBytes());
    const gdi::Rect all = Bounds();
    if (all.Width() > 0 && all.Height() > 0) {
      // Drawn one page unit to the pixel; the frame is the extent.
      const plat::ole::SizeL extent = GetExtent();
      const gdi::Rect frame(0, 0, extent.cx, extent.cy);
      gdi::DC recording = gdi::DC::CreateEnhMetaFile(nullptr, &frame, u"KEDRUS Rodizora");
      OnDraw(&recording, gdi::Rect(0, 0, all.Width(), all.Height()));
      source->CacheEnhMetaFile(recording.CloseEnhMetaFile());
    }
  } catch (...) {
    source->Release();
    throw;
  }
  return source;
}
