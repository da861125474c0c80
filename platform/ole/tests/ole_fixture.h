#pragma once
// Shared pieces of the OLE tests: a sample control (a number, a colour and a label, drawn as a
// rectangle of its colour; one frame-level tool bar 30 pixels high along the top; one popup menu),
// its property page, both served from this process's class table, and the resources they use.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/ole/control.h"
#include "platform/ole/proppage.h"
#include "platform/ole/testing/testcontainer.h"
#include "platform/ui/app.h"

namespace oletest {

using namespace plat::ole;
using plat::DWord;
using ui::UINT;

inline constexpr Guid CLSID_SampleControl = guid("{5A1D0E55-0000-4000-8000-0000000C0111}");
inline constexpr Guid CLSID_SamplePage = guid("{5A1D0E55-0000-4000-8000-0000000C0112}");
inline constexpr Guid DIID_DSampleControl = guid("{5A1D0E55-0000-4000-8000-0000000C0113}");
inline constexpr Guid CLSID_NotRegistered = guid("{5A1D0E55-0000-4000-8000-0000000C0DEA}");

enum : UINT {
  kCmdSampleDo = 40001,
  kDialogSamplePage = 200,
  kIdNumberEdit = 1001,
  kStringPageCaption = 300,
  kMenuSample = 100,
  kBarHeight = 30,
};
inline constexpr DWord kSampleVersion = 0x00010002;

class SampleControl : public OleControl {
  UI_DECLARE_MESSAGE_MAP()

 public:
  SampleControl();
  ~SampleControl() override;
  static int live;

  Guid GetClassID() const override { return CLSID_SampleControl; }
  DWord GetMiscStatus() const override;
  std::u16string GetUserTypeName() const override { return u"Sample Control"; }
  const Guid* GetPropPageIDs(std::uint32_t& count) override;

  std::int32_t GetNumber() { return number_; }
  void SetNumber(std::int32_t n);
  std::uint32_t GetColor() { return color_; }
  void SetColor(std::uint32_t c);
  plat::ole::Bstr GetLabel();
  void SetLabel(const char16_t* label);
  static const DispInterfaceDesc& Dispatch();

  void DoPropExchange(PropExchange* px) override;
  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;
  void OnShowToolBars() override;
  void OnHideToolBars() override;
  ui::Menu* OnGetInPlaceMenu() override { return &menu_; }
  void OnSetClientSite() override { ++siteChanges; }
  void OnDo() { ++commands; }

  ui::Wnd* Bar() const { return bar_.get(); }
  int commands = 0;
  int siteChanges = 0;

 private:
  std::int32_t number_ = 0;
  std::uint32_t color_ = gdi::RGB(0, 0, 255);
  std::string label_;
  ui::Menu menu_;
  std::unique_ptr<ui::Wnd> bar_;
};

// Edits the sample's Number through an edit box.
class SamplePage : public OlePropertyPage {
 public:
  SamplePage() : OlePropertyPage(kDialogSamplePage, kStringPageCaption) {}
  void DoDataExchange(ui::DataExchange* dx) override;
  int number = 0;
};

// The application, the resources and the two classes, for every test; no window outlives one.
class OleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // The control inside an item (no reference added).
  static SampleControl* ControlOf(const OleClientItem* item);

 private:
  DWord cookies_[2] = {};
};

}  // namespace oletest
