#pragma once
// What the control tests share: the application, the controls served from this process's class
// table (each made object remembered, so a test reaches the C++ control behind an item), an
// event sink that counts what it hears, a client site that is also the main program's
// IOrvClientSite, and a spectrum control that answers a kind and parameters.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/ispectrumcontrol.h"
#include "common/orvclientsite.h"
#include "platform/gdi/surface.h"
#include "platform/ole/control.h"
#include "platform/ole/testing/testcontainer.h"

namespace karvel::test {

using namespace plat::ole;
using plat::DWord;
using plat::Word;

// Events that reached a sink, by dispatch id.
class EventSink : public ComObject {
 public:
  explicit EventSink(const Guid& events) : events_(events) {}
  // Connects to the object's event interface; false when it has none.
  bool Connect(IUnknown* object);
  void Disconnect();
  int Count(DispId id) const;
  int Total() const;
  void Clear() { heard_.clear(); }

 protected:
  void* GetInterface(const Guid& iid) override;

 private:
  struct XDispatch : Nested<IDispatch> {
    using Nested::Nested;
    HResult GetTypeInfoCount(std::uint32_t* count) override;
    HResult GetTypeInfo(std::uint32_t, Lcid, ITypeInfo** info) override;
    HResult GetIDsOfNames(const Guid&, const char16_t* const*, std::uint32_t, Lcid, DispId*) override;
    HResult Invoke(DispId id, const Guid&, Lcid, Word, DispParams*, Variant*, ExcepInfo*, std::uint32_t*) override;
  } xDispatch_{*this};
  Guid events_;
  std::map<DispId, int> heard_;
  IConnectionPoint* point_ = nullptr;
  DWord cookie_ = 0;
};

// A spectrum control as the table sees it: a kind name and parameters; counts its references.
class FakeSpectrumControl : public ComObject {
 public:
  explicit FakeSpectrumControl(std::u16string kind = u"NMR") : kind_(std::move(kind)) {}
  std::map<std::u16string, std::u16string> params = {{u"SF", u"400.13"}};
  ISpectrumControl* Interface() { return &xSpectrum_; }
  std::uint32_t References() {
    AddRef();
    return Release();
  }

 protected:
  void* GetInterface(const Guid& iid) override;

 private:
  struct XSpectrum : Nested<ISpectrumControl> {
    using Nested::Nested;
    HResult GetCurMethod(Bstr* method) override;
    HResult GetModuleName(Bstr*) override { return E_FAIL; }
    HResult GetCopyright(Bstr*) override { return E_FAIL; }
    HResult GetVersion(std::int16_t*, std::int16_t*) override { return E_FAIL; }
    HResult GetCreateDate(Bstr*) override { return E_FAIL; }
    HResult GetFileFormats(Bstr, Bstr*, Bstr*) override { return E_FAIL; }
    HResult LoadSpectrum(Bstr, std::int32_t) override { return E_FAIL; }
    HResult SaveSpectrum(Bstr, std::int32_t, std::int32_t, std::int32_t) override { return E_FAIL; }
    HResult GetFormat(std::int32_t, Bstr*, Bstr*, std::int32_t*) override { return E_FAIL; }
    HResult GetKindFormatCount(std::int32_t*) override { return E_FAIL; }
    HResult GetParamNames(Bstr*) override { return E_FAIL; }
    HResult GetParam(Bstr name, Bstr* value) override;
    HResult SetParam(Bstr, Bstr) override { return E_FAIL; }
    HResult GetParamDescription(Bstr, Bstr*) override { return E_FAIL; }
    HResult ExecuteCommands(Bstr) override { return E_FAIL; }
    HResult GetMethods(Bstr*) override { return E_FAIL; }
    HResult GetData(SafeArray**) override { return E_FAIL; }
    HResult GetSpectraCount(Bstr, std::int32_t*) override { return E_FAIL; }
    HResult GetCount(std::int32_t*) override { return E_FAIL; }
    HResult GetCurIndex(std::int32_t*) override { return E_FAIL; }
    HResult SetCurIndex(std::int32_t) override { return E_FAIL; }
    HResult TakeResult(Variant*) override { return E_FAIL; }
    HResult GetSize(std::int32_t*) override { return E_FAIL; }
    HResult SetData(SafeArray*) override { return E_FAIL; }
  } xSpectrum_{*this};
  std::u16string kind_;
};

// A client site of the main program: the document's items (records and objects) and its zoom.
class FakeSite : public ComObject {
 public:
  struct Item {
    SaItemRecord record;
    IUnknown* object = nullptr;  // not owned
  };
  std::vector<Item> items;
  std::int32_t zoom = 100;

 protected:
  void* GetInterface(const Guid& iid) override;

 private:
  struct XClientSite : Nested<IOleClientSite> {
    using Nested::Nested;
    HResult SaveObject() override { return S_OK; }
    HResult GetMoniker(DWord, DWord, IUnknown**) override { return E_NOTIMPL; }
    HResult GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
    HResult ShowObject() override { return S_OK; }
    HResult OnShowWindow(Bool32) override { return S_OK; }
    HResult RequestNewObjectLayout() override { return E_NOTIMPL; }
  } xClientSite_{*this};
  struct XOrvSite : Nested<IOrvClientSite> {
    using Nested::Nested;
    SaItemRecord* GetFirstItem(IUnknown** object) override;
    SaItemRecord* GetNextItem(SaItemRecord* record, IUnknown** object) override;
    SaItemRecord* GetItemRecord() override { return nullptr; }
    SaItemRecord* CreateItem(IUnknown*) override { return nullptr; }
    HResult ActivateItem() override { return E_FAIL; }
    HResult GetParamTitle(std::int32_t, Bstr*) override { return E_FAIL; }
    std::int32_t GetZoom() override { return outer<FakeSite>().zoom; }
  } xOrvSite_{*this};
};

// Sets the control's client site (IOleObject::SetClientSite).
void SetSite(OleControl& control, IUnknown* site);

// The application, the four controls in the class table, a clean window layer for each test.
class ControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // The control made last of type T (each item's control is made when the item is).
  template <class T>
  static T* LastMade() {
    return static_cast<T*>(LastMadeObject());
  }

 private:
  static ComObject* LastMadeObject();
  std::vector<DWord> cookies_;
};

// The pixels of rect (null: all) that are drawn in color over background, smoothed text edges
// included: each channel lies between the two colours' channels, and the pixel is not the
// background.
// Leaves a rendering in the test's scratch folder for a person to look at.
void KeepPng(const gdi::RasterSurface& surface, const std::string& name);

std::int64_t CountInk(const gdi::RasterSurface& surface, gdi::COLORREF color, gdi::COLORREF background,
                      const gdi::Rect* rect = nullptr);

}  // namespace karvel::test
