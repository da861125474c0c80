#include "rodizora/doc/workspace.h"

#include <algorithm>
#include <memory>
#include <set>

#include "common/guids.h"
#include "common/itablecontrol.h"
#include "common/shared_ids.h"
#include "platform/base/text.h"
#include "rodizora/doc/replacepath.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/doc/spectrumcontrol.h"

namespace saworkspace {

namespace {

using plat::ArchiveError;

// Far more items than a page holds; each record takes at least its 16-byte header.
constexpr std::uint64_t kMaxRecords = 100000;
constexpr std::uint64_t kHeaderBytes = 16;

// A CSaItem as an archive object (class "CSaItem", schema 0): storing writes the item's own
// serialisation; loading makes a new item of the document and reads it (an item that fails is
// deleted again before the error goes on).
class ItemObject : public plat::ArchiveObject {
 public:
  ItemObject(CSaDoc* doc, CSaItem* item) : m_doc(doc), m_item(item) {}
  const char* archiveClassName() const override { return "CSaItem"; }
  std::uint16_t archiveSchema() const override { return 0; }
  void serialize(plat::Archive& ar) override {
    if (ar.isStoring()) {
      m_item->Serialize(ar);
      return;
    }
    m_item = new CSaItem(m_doc);
    try {
      m_item->Serialize(ar);
    } catch (...) {
      m_doc->DeleteItem(m_item);
      m_item = nullptr;
      throw;
    }
  }
  CSaItem* Item() const { return m_item; }

 private:
  CSaDoc* m_doc;
  CSaItem* m_item;
};

ITableControl* TableOf(const CSaItem* item) {
  return static_cast<ITableControl*>(item->QueryObject(IID_ITableControl));
}

void WriteBody(plat::Archive& ar, const SaItemRecord& r) {
  for (std::int32_t v : {r.left, r.top, r.right, r.bottom, r.subtype}) ar.writeI32(v);
}

struct Body {
  gdi::Rect rect;
  std::int32_t subtype = 0;
};

Body ReadBody(plat::Archive& ar) {
  // Within the reach of page arithmetic, as an item's own record is.
  const auto coordinate = [&ar] {
    return std::clamp(ar.readI32(), -CSaItem::kMaxPageCoordinate, CSaItem::kMaxPageCoordinate);
  };
  Body body;
  body.rect.left = coordinate();
  body.rect.top = coordinate();
  body.rect.right = coordinate();
  body.rect.bottom = coordinate();
  body.subtype = ar.readI32();
  return body;
}

}  // namespace

bool StoreCore(const CSaDoc& doc, const std::string& dir, plat::Archive& ar) {
  const plat::String16 folder = plat::toUtf16(dir);
  const std::vector<CSaItem*> items = doc.Items();
  ar.writeI32(static_cast<std::int32_t>(items.size()));
  // Alive until the end, so that no two items share an address in the archive's object table.
  std::vector<std::unique_ptr<ItemObject>> objects;
  std::int32_t spectra = 0, tables = 0;
  bool written = true;
  for (CSaItem* item : items) {
    const SaItemRecord& r = item->Record();
    ar.writeU32(kMagic1);
    ar.writeU32(kMagic2);
    ar.writeI32(r.type);
    ar.writeI32(r.subtype);
    if (r.type == ItemTypeSpectrum) {
      if (const CSpcControlRef control = CSpcControlRef::Query(item->GetOleObject()))
        written &= !plat::ole::failed(control->SaveSpectrum(BstrArg(folder), 0, 0, spectra));
      ++spectra;
      WriteBody(ar, r);
    } else if (r.type == ItemTypeTable) {
      if (ITableControl* table = TableOf(item)) {
        written &= !plat::ole::failed(table->SaveTable(1, BstrArg(folder), static_cast<std::uint32_t>(tables)));
        table->Release();
      }
      ++tables;
      WriteBody(ar, r);
    } else {
      objects.push_back(std::make_unique<ItemObject>(nullptr, item));
      ar.writeObject(objects.back().get());
    }
  }
  return written;
}

void LoadCore(CSaDoc& doc, const std::string& dir, plat::Archive& ar, std::vector<CSaItem*>* made,
              std::size_t* lost) {
  std::size_t missed = 0;
  const plat::String16 folder = plat::toUtf16(dir);
  plat::ArchiveClassRegistry classes;
  classes.add("CSaItem", 0, [&doc] { return std::make_unique<ItemObject>(&doc, nullptr); });
  const std::uint32_t count = ar.readCount(kMaxRecords, kHeaderBytes);
  // The table step shrinks the spectra placed before it: every stored rectangle is put back at
  // the end.
  std::vector<std::pair<CSaItem*, gdi::Rect>> stored;
  std::set<CSaItem*> objects;
  CSaItem* lastSpectrum = nullptr;
  std::int32_t spectra = 0, tables = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t magic1 = ar.readU32();
    const std::uint32_t magic2 = ar.readU32();
    const std::int32_t type = ar.readI32();
    const std::int32_t subtype = ar.readI32();
    if (magic1 != kMagic1 || magic2 != kMagic2) continue;
    if (type == ItemTypeSpectrum) {
      const Body body = ReadBody(ar);
      if (CSaItem* item = doc.CreateSpectrumItem(folder, spectra)) {
        made->push_back(item);
        item->Record().subtype = subtype;
        stored.emplace_back(item, body.rect);
        lastSpectrum = item;
      } else {
        ++missed;
      }
      ++spectra;
    } else if (type == ItemTypeTable) {
      const Body body = ReadBody(ar);
      if (CSaItem* table = doc.AddTableItem(lastSpectrum, true)) {
        made->push_back(table);
        if (ITableControl* control = TableOf(table)) {
          control->LoadTable(1, BstrArg(folder), static_cast<std::uint32_t>(tables));
          control->Release();
        }
        table->Record().subtype = subtype;
        stored.emplace_back(table, body.rect);
      } else {
        ++missed;
      }
      ++tables;
    } else {
      auto* object = dynamic_cast<ItemObject*>(ar.readObject(classes));
      CSaItem* item = object ? object->Item() : nullptr;
      // A record naming an item read before would load one item twice.
      if (!item || !objects.insert(item).second) plat::Archive::fail(ArchiveError::Kind::BadFormat, "no item");
      made->push_back(item);
      if (item->IsEmpty()) continue;  // its object could not be made: left out below
      const gdi::Rect rect = item->GetRect();
      item->Record().type = type;
      item->SizeFromCachedExtent();
      stored.emplace_back(item, rect);
    }
  }
  for (CSaItem* item : std::vector<CSaItem*>(*made))
    if (item->IsEmpty()) {
      ++missed;
      std::erase(*made, item);
      std::erase_if(stored, [item](const auto& entry) { return entry.first == item; });
      doc.DeleteItem(item);
    }
  for (const auto& [item, rect] : stored) item->SetRect(rect);
  if (lost) *lost = missed;
}

bool Save(const CSaDoc& doc, const std::string& dir) {
  const std::string fresh = sasave::MakeTemporaryDirectory(dir);
  if (fresh.empty()) return false;
  bool written = false;
  try {
    plat::Archive ar;
    written = StoreCore(doc, fresh, ar) && ar.saveFile(fresh + "/" + kCoreName);
  } catch (const std::exception&) {
    written = false;
  }
  if (!written) {
    sasave::RemovePath(fresh);
    return false;
  }
  return sasave::ReplaceWith(fresh, dir);
}

bool IsWorkspace(const std::string& dir) {
  std::unique_ptr<plat::Archive> ar;
  return plat::Archive::loadFile(dir + "/" + kCoreName, &ar);
}

bool Load(CSaDoc& doc, const std::string& dir, std::size_t* lost) {
  std::unique_ptr<plat::Archive> ar;
  if (!plat::Archive::loadFile(dir + "/" + kCoreName, &ar)) return false;
  std::vector<CSaItem*> made;
  try {
    LoadCore(doc, dir, *ar, &made, lost);
    return true;
  } catch (const std::exception&) {
    // Nothing of a damaged workspace stays: a misread page is worse than none.
    for (CSaItem* item : made) doc.DeleteItem(item);
    return false;
  }
}

}  // namespace saworkspace
