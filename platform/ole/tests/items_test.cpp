// Items: the presentation picture of an inactive item, items made from data as copies through
// persistence, data-change reports, item state in documents, and the streams under them.
#include <cstring>

#include "platform/archive/archive.h"
#include "platform/com/driver.h"
#include "platform/gdi/surface.h"
#include "platform/ole/stream.h"
#include "platform/ole/tests/ole_fixture.h"

namespace oletest {
namespace {

using plat::ole::testing::TestContainer;
using plat::ole::testing::TestItem;

// The state bytes an item's object saves.
std::vector<std::uint8_t> stateOf(const OleClientItem* item) {
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(item->SaveObjectState(&bytes));
  return bytes;
}

TEST_F(OleTest, AnInactiveItemDrawsItsPresentationPictureAndFollowsViewChanges) {
  TestContainer box;
  TestItem* item = box.AddItem(CLSID_SampleControl, {10, 20, 106, 68});
  ASSERT_NE(item, nullptr);
  SizeL cached;
  ASSERT_TRUE(item->GetCachedExtent(&cached));
  EXPECT_EQ(cached, (SizeL{2540, 1270}));  // 96 x 48 pixels at 96 per inch
  SizeL extent;
  ASSERT_TRUE(item->GetExtent(&extent));
  EXPECT_EQ(extent, cached);

  const gdi::COLORREF blue = gdi::RGB(0, 0, 255);
  auto picture = box.RenderItem(*item, {50, 40});
  EXPECT_EQ(picture->CountPixels(blue), 50 * 40);

  // In the view: the item's rectangle, nothing around it.
  auto view = box.RenderView();
  const gdi::Rect at(10, 20, 106, 68);
  EXPECT_EQ(view->CountPixels(blue, &at), 96 * 48);
  EXPECT_EQ(view->CountPixels(blue), 96 * 48);

  // A change while inactive reaches the container as a view change; the new picture shows.
  SampleControl* control = ControlOf(item);
  box.ClearLog();
  control->SetColor(gdi::RGB(255, 0, 0));
  EXPECT_EQ(item->ViewChanges(), 1);
  EXPECT_TRUE(box.Logged("OnViewChange"));
  EXPECT_EQ(box.RenderItem(*item, {50, 40})->CountPixels(gdi::RGB(255, 0, 0)), 50 * 40);

  // A new extent is the object's and the picture's.
  ASSERT_TRUE(item->SetExtent({5080, 2540}));
  EXPECT_EQ(control->GetControlSize(), (gdi::Size{192, 96}));
  ASSERT_TRUE(item->GetCachedExtent(&cached));
  EXPECT_EQ(cached, (SizeL{5080, 2540}));
  EXPECT_FALSE(item->SetExtent({0, 100}));
}

TEST_F(OleTest, AnItemMadeFromDataGetsANewControlEqualToTheFirst) {
  TestContainer box;
  TestItem* first = box.AddItem(CLSID_SampleControl, {0, 0, 96, 48});
  SampleControl* original = ControlOf(first);
  original->SetNumber(42);
  original->SetColor(gdi::RGB(0, 128, 64));
  original->SetLabel(u"ethyl acetate");
  ASSERT_TRUE(first->SetExtent({3000, 1500}));

  IDataObject* data = first->GetClipboardData();
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(DataReader::IsAvailable(data, embedSourceFormat()));
  EXPECT_TRUE(DataReader::IsAvailable(data, ui::CF_ENHMETAFILE, TYMED_ENHMF));
  std::vector<std::uint8_t> descriptorBytes;
  ASSERT_TRUE(DataReader::GetBytes(data, objectDescriptorFormat(), &descriptorBytes));
  ObjectDescriptor descriptor;
  ASSERT_TRUE(readObjectDescriptor(descriptorBytes, &descriptor));
  EXPECT_EQ(descriptor.clsid, CLSID_SampleControl);
  EXPECT_EQ(descriptor.extent, (SizeL{3000, 1500}));

  TestItem* copy = box.AddItemFromData(data, {100, 0, 196, 48});
  data->Release();
  ASSERT_NE(copy, nullptr);
  SampleControl* made = ControlOf(copy);
  ASSERT_NE(made, nullptr);
  EXPECT_NE(made, original);
  EXPECT_EQ(copy->GetClassID(), CLSID_SampleControl);
  EXPECT_EQ(made->GetNumber(), 42);
  EXPECT_EQ(made->GetColor(), gdi::RGB(0, 128, 64));
  EXPECT_EQ(made->GetExtent(), (SizeL{3000, 1500}));
  EXPECT_EQ(made->GetLoadedVersion(), kSampleVersion);
  EXPECT_FALSE(made->IsModified());
  EXPECT_EQ(stateOf(copy), stateOf(first));
  // The copy is a control of its own.
  made->SetNumber(7);
  EXPECT_EQ(original->GetNumber(), 42);

  // Data that holds no object makes no item.
  auto* empty = new DataSource;
  empty->CacheData(ui::CF_TEXT, {'h', 'i'});
  EXPECT_EQ(box.AddItemFromData(empty->GetIDataObject(false), {0, 0, 10, 10}), nullptr);
  empty->Release();
}

TEST_F(OleTest, ADataChangeReachesTheContainerWhileItIsAdvised) {
  TestContainer box;
  TestItem* item = box.AddItem(CLSID_SampleControl, {0, 0, 96, 48});
  SampleControl* control = ControlOf(item);
  control->SetNumber(1);
  EXPECT_EQ(item->DataChanges(), 0);  // not asked yet
  ASSERT_TRUE(item->AdviseDataChange(ui::CF_METAFILEPICT, DVASPECT_ICON, TYMED_MFPICT, ADVF_NODATA));
  control->SetNumber(2);
  EXPECT_EQ(item->DataChanges(), 1);
  EXPECT_TRUE(box.Logged("OnDataChange"));
  control->SetModifiedFlag(false);  // clearing the flag is no change
  EXPECT_EQ(item->DataChanges(), 1);
  item->UnadviseDataChange();
  control->SetNumber(3);
  EXPECT_EQ(item->DataChanges(), 1);
}

// A document's items through an archive: the objects are made again from their class ids and
// states; a class nobody serves leaves an empty item that still has its picture.
TEST_F(OleTest, ItemStateSavedInADocumentLoadsIntoNewObjects) {
  std::vector<std::uint8_t> saved;
  std::vector<std::uint8_t> firstState;
  {
    TestContainer box;
    TestItem* item = box.AddItem(CLSID_SampleControl, {0, 0, 96, 48});
    ControlOf(item)->SetNumber(99);
    ControlOf(item)->SetLabel(u"saved");
    firstState = stateOf(item);
    plat::Archive ar;
    box.Document().SerializeItems(ar, [] { return nullptr; });
    saved = ar.bytes();
  }
  TestContainer box;
  plat::Archive in(saved);
  box.Document().SerializeItems(in, [&] { return new TestItem(&box.Document(), &box); });
  ASSERT_EQ(box.Document().GetItems().size(), 1u);
  OleClientItem* loaded = box.Document().GetItems()[0];
  ASSERT_FALSE(loaded->IsEmpty());
  EXPECT_EQ(ControlOf(loaded)->GetNumber(), 99);
  EXPECT_EQ(stateOf(loaded), firstState);
  EXPECT_TRUE(in.atEnd());

  // Every cut of the archive fails cleanly, leaking nothing.
  for (std::size_t cut = 0; cut < saved.size(); cut += 7) {
    TestContainer other;
    plat::Archive truncated(std::span<const std::uint8_t>(saved.data(), cut));
    EXPECT_THROW(other.Document().SerializeItems(truncated, [&] { return new TestItem(&other.Document(), &other); }),
                 plat::ArchiveError)
        << cut;
  }

  // The same item under a class nobody serves.
  std::vector<std::uint8_t> unknown = saved;
  const std::vector<std::uint8_t> id = writeGuid(CLSID_NotRegistered);
  std::memcpy(unknown.data() + 4, id.data(), id.size());
  TestContainer third;
  plat::Archive in3(unknown);
  third.Document().SerializeItems(in3, [&] { return new TestItem(&third.Document(), &third); });
  ASSERT_EQ(third.Document().GetItems().size(), 1u);
  const auto* orphan = static_cast<TestItem*>(third.Document().GetItems()[0]);
  EXPECT_TRUE(orphan->IsEmpty());
  EXPECT_EQ(third.RenderItem(*orphan, {20, 10})->CountPixels(gdi::RGB(0, 0, 255)), 200);
}

TEST_F(OleTest, AStateThatDoesNotLoadFailsTheLoad) {
  TestContainer box;
  TestItem* item = box.AddItem(CLSID_SampleControl, {0, 0, 96, 48});
  const std::vector<std::uint8_t> state = stateOf(item);
  auto* persist = static_cast<IPersistStreamInit*>(item->QueryObject(IID_IPersistStreamInit));
  ASSERT_NE(persist, nullptr);
  IStream* stream = nullptr;
  ASSERT_EQ(createStreamOnGlobal(globalCopy(std::span(state.data(), state.size() - 1)), true, &stream), S_OK);
  EXPECT_EQ(persist->Load(stream), E_FAIL);
  stream->Release();
  persist->Release();
}

TEST(OleStreams, ReadsStopAtTheEndSeeksStayInsideAndClonesShareTheBlock) {
  IStream* stream = nullptr;
  ASSERT_EQ(createStreamOnGlobal(nullptr, true, &stream), S_OK);
  const char text[] = "spectrum";
  std::uint32_t n = 0;
  ASSERT_EQ(stream->Write(text, 8, &n), S_OK);
  EXPECT_EQ(n, 8u);
  std::uint64_t position = 0;
  ASSERT_EQ(stream->Seek(-3, STREAM_SEEK_END, &position), S_OK);
  EXPECT_EQ(position, 5u);
  char buffer[8] = {};
  EXPECT_EQ(stream->Read(buffer, 8, &n), S_FALSE);  // a short read
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(std::string(buffer, 3), "rum");
  EXPECT_EQ(stream->Seek(-9, STREAM_SEEK_END, &position), STG_E_INVALIDFUNCTION);
  EXPECT_EQ(stream->Seek(0, 7, &position), STG_E_INVALIDFUNCTION);
  // Past the end: nothing to read; a write there fills the gap with zeros.
  ASSERT_EQ(stream->Seek(10, STREAM_SEEK_SET, nullptr), S_OK);
  EXPECT_EQ(stream->Read(buffer, 4, &n), S_FALSE);
  EXPECT_EQ(n, 0u);
  ASSERT_EQ(stream->Write("!", 1, nullptr), S_OK);
  GlobalMemory* block = globalFromStream(stream);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->size(), 11u);
  EXPECT_EQ(block->bytes()[9], 0);
  IStream* clone = nullptr;
  ASSERT_EQ(stream->Clone(&clone), S_OK);
  stream->Release();
  ASSERT_EQ(clone->Seek(0, STREAM_SEEK_SET, nullptr), S_OK);
  std::vector<std::uint8_t> all;
  ASSERT_TRUE(readRest(clone, &all));
  EXPECT_EQ(all.size(), 11u);
  EXPECT_EQ(all[10], '!');
  clone->Release();
}

}  // namespace
}  // namespace oletest
