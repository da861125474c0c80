#include "controls/base/tests/control_fixture.h"

#include <algorithm>
#include <cstdlib>

#include "common/guids.h"
#include "controls/knob/knobcontrol.h"
#include "controls/scroll/scrollcontrol.h"
#include "controls/structure/structcontrol.h"
#include "controls/table/tablecontrol.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/com/creation.h"
#include "platform/com/factory.h"
#include "platform/ui/app.h"
#include "platform/ui/testing.h"

namespace karvel::test {

namespace {

ComObject*& LastObject() {
  static ComObject* last = nullptr;
  return last;
}

template <class T>
ComObject* MakeAndRemember() {
  ComObject* made = new T;
  LastObject() = made;
  return made;
}

}  // namespace

// ---- EventSink -----------------------------------------------------------------------------------

void* EventSink::GetInterface(const Guid& iid) {
  if (iid == IID_IDispatch || iid == events_) return static_cast<IDispatch*>(&xDispatch_);
  return ComObject::GetInterface(iid);
}

bool EventSink::Connect(IUnknown* object) {
  IConnectionPointContainer* container = nullptr;
  if (failed(object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) return false;
  const HResult found = container->FindConnectionPoint(events_, &point_);
  container->Release();
  return succeeded(found) && succeeded(point_->Advise(GetUnknown(), &cookie_));
}

void EventSink::Disconnect() {
  if (!point_) return;
  point_->Unadvise(cookie_);
  releaseInterface(point_);
}

int EventSink::Count(DispId id) const {
  const auto found = heard_.find(id);
  return found == heard_.end() ? 0 : found->second;
}

int EventSink::Total() const {
  int n = 0;
  for (const auto& [id, count] : heard_) n += count;
  return n;
}

HResult EventSink::XDispatch::GetTypeInfoCount(std::uint32_t* count) {
  *count = 0;
  return S_OK;
}
HResult EventSink::XDispatch::GetTypeInfo(std::uint32_t, Lcid, ITypeInfo** info) {
  *info = nullptr;
  return E_NOTIMPL;
}
HResult EventSink::XDispatch::GetIDsOfNames(const Guid&, const char16_t* const*, std::uint32_t, Lcid, DispId*) {
  return E_NOTIMPL;
}
HResult EventSink::XDispatch::Invoke(DispId id, const Guid&, Lcid, Word, DispParams*, Variant*, ExcepInfo*,
                                     std::uint32_t*) {
  ++outer<EventSink>().heard_[id];
  return S_OK;
}

// ---- FakeSpectrumControl --------------------------------------------------------------------------------

void* FakeSpectrumControl::GetInterface(const Guid& iid) {
  if (iid == IID_ISpectrumControl) return static_cast<ISpectrumControl*>(&xSpectrum_);
  return ComObject::GetInterface(iid);
}

HResult FakeSpectrumControl::XSpectrum::GetCurMethod(Bstr* method) {
  const std::u16string& kind = outer<FakeSpectrumControl>().kind_;
  if (kind.empty()) return E_FAIL;
  *method = allocString(kind);
  return S_OK;
}

HResult FakeSpectrumControl::XSpectrum::GetParam(Bstr name, Bstr* value) {
  const auto& params = outer<FakeSpectrumControl>().params;
  const auto found = params.find(std::u16string(stringView(name)));
  if (found == params.end()) return E_FAIL;
  *value = allocString(found->second);
  return S_OK;
}

// ---- FakeSite ----------------------------------------------------------------------------------------

void* FakeSite::GetInterface(const Guid& iid) {
  if (iid == IID_IOleClientSite) return static_cast<IOleClientSite*>(&xClientSite_);
  if (iid == IID_IOrvClientSite) return static_cast<IOrvClientSite*>(&xOrvSite_);
  return ComObject::GetInterface(iid);
}

SaItemRecord* FakeSite::XOrvSite::GetFirstItem(IUnknown** object) {
  std::vector<Item>& items = outer<FakeSite>().items;
  if (items.empty()) return nullptr;
  *object = items[0].object;
  return &items[0].record;
}

SaItemRecord* FakeSite::XOrvSite::GetNextItem(SaItemRecord* record, IUnknown** object) {
  std::vector<Item>& items = outer<FakeSite>().items;
  for (std::size_t i = 0; i + 1 < items.size(); ++i)
    if (&items[i].record == record) {
      *object = items[i + 1].object;
      return &items[i + 1].record;
    }
  return nullptr;
}

void SetSite(OleControl& control, IUnknown* site) {
  IOleObject* object = nullptr;
  ASSERT_EQ(control.QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
  IOleClientSite* clientSite = nullptr;
  if (site) {
    ASSERT_EQ(site->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&clientSite)), S_OK);
  }
  EXPECT_EQ(object->SetClientSite(clientSite), S_OK);
  if (clientSite) clientSite->Release();
  object->Release();
}

// ---- ControlTest ---------------------------------------------------------------------------------

void ControlTest::SetUpTestSuite() { static ui::App app("KARVEL Control Test"); }

ComObject* ControlTest::LastMadeObject() { return LastObject(); }

void ControlTest::SetUp() {
  ui::testing::Reset();
  const std::pair<const Guid*, ObjectCreator> classes[] = {
      {&CLSID_KnobControl, &MakeAndRemember<CKnobControl>},
      {&CLSID_ScrollControl, &MakeAndRemember<CScrollControl>},
      {&CLSID_TableControl, &MakeAndRemember<CTableControl>},
      {&CLSID_StructureControl, &MakeAndRemember<CStructureControl>},
  };
  for (const auto& [clsid, create] : classes) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(ClassFactory::create(create, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    DWord cookie = 0;
    ASSERT_EQ(registerClassObject(*clsid, factory, &cookie), S_OK);
    cookies_.push_back(cookie);
    factory->Release();
  }
}

void ControlTest::TearDown() {
  for (DWord cookie : cookies_) revokeClassObject(cookie);
  cookies_.clear();
  LastObject() = nullptr;
  ui::App::PumpPending();
  EXPECT_TRUE(ui::testing::LiveWindows().empty()) << ui::testing::LiveWindows().size() << " window(s) left over";
  ui::testing::Reset();
}

void KeepPng(const gdi::RasterSurface& surface, const std::string& name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = scratch && *scratch ? scratch : "/tmp";
  plat::makeDirectories(dir);
  EXPECT_TRUE(surface.SavePng(plat::joinPath(dir, name)));
}

std::int64_t CountInk(const gdi::RasterSurface& surface, gdi::COLORREF color, gdi::COLORREF background,
                      const gdi::Rect* rect) {
  const gdi::Rect r = rect ? *rect : gdi::Rect(0, 0, surface.Width(), surface.Height());
  auto between = [](unsigned v, unsigned a, unsigned b) { return v + 2 >= std::min(a, b) && v <= std::max(a, b) + 2; };
  std::int64_t n = 0;
  for (int y = std::max(0, r.top); y < std::min(surface.Height(), r.bottom); ++y)
    for (int x = std::max(0, r.left); x < std::min(surface.Width(), r.right); ++x) {
      const gdi::COLORREF p = surface.GetPixel(x, y);
      if (p == background) continue;
      bool ink = true;
      for (int shift : {0, 8, 16}) ink = ink && between((p >> shift) & 0xFF, (color >> shift) & 0xFF, (background >> shift) & 0xFF);
      n += ink;
    }
  return n;
}

}  // namespace karvel::test
