#include "platform/ole/tests/ole_fixture.h"

#include <algorithm>
#include <vector>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/driver.h"
#include "platform/com/factory.h"
#include "platform/gdi/dc.h"
#include "platform/ui/resource.h"
#include "platform/ui/testing.h"

namespace oletest {

namespace {

std::vector<SampleControl*>& liveControls() {
  static std::vector<SampleControl*> all;
  return all;
}

const ui::StringResource kStrings[] = {{kStringPageCaption, "Sample"}};
const ui::DialogItemResource kPageItems[] = {
    {"EDIT", kIdNumberEdit, "", ui::WS_TABSTOP | ui::WS_BORDER, 10, 10, 60, 12},
};
const ui::DialogResource kDialogs[] = {
    {kDialogSamplePage, nullptr, ui::WS_CHILD, 0, 0, 160, 80, "MS Sans Serif", 8, kPageItems},
};
const ui::MenuItemResource kSampleMenuItems[] = {
    {ui::MF_POPUP | ui::MF_END, 0, "&Sample"},
    {ui::MF_END, kCmdSampleDo, "&Do"},
};
const ui::MenuResource kMenus[] = {{kMenuSample, kSampleMenuItems}};
ui::ResourceSet makeResources() {
  ui::ResourceSet set;
  set.moduleName = "ole tests";
  set.strings = kStrings;
  set.menus = kMenus;
  set.dialogs = kDialogs;
  return set;
}
const ui::ResourceSet kResources = makeResources();

const Guid kPages[] = {CLSID_SamplePage};

}  // namespace

int SampleControl::live = 0;

UI_BEGIN_MESSAGE_MAP(SampleControl, OleControl)
  ui::map::Command(kCmdSampleDo, &SampleControl::OnDo),
UI_END_MESSAGE_MAP()

const DispInterfaceDesc& SampleControl::Dispatch() {
  static constexpr DispEntry kMembers[] = {
      dispProperty<&SampleControl::GetNumber, &SampleControl::SetNumber>("Number", 1, DispType::I4),
      dispProperty<&SampleControl::GetColor, &SampleControl::SetColor>("Color", 2, DispType::Color),
      dispProperty<&SampleControl::GetLabel, &SampleControl::SetLabel>("Label", 3, DispType::Bstr),
  };
  static constexpr DispInterfaceDesc kDesc{"_DSampleControl", &DIID_DSampleControl, "Sample control", kMembers};
  return kDesc;
}

SampleControl::SampleControl() : OleControl(Dispatch()) {
  ++live;
  liveControls().push_back(this);
  SetInitialSize(96, 48);
  menu_.LoadMenu(kMenuSample);
  EnableSimpleFrame();
}

SampleControl::~SampleControl() {
  --live;
  std::erase(liveControls(), this);
}

DWord SampleControl::GetMiscStatus() const {
  return OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT | OLEMISC_SIMPLEFRAME;
}

const Guid* SampleControl::GetPropPageIDs(std::uint32_t& count) {
  count = 1;
  return kPages;
}

void SampleControl::SetNumber(std::int32_t n) {
  number_ = n;
  SetModifiedFlag();
}

void SampleControl::SetColor(std::uint32_t c) {
  color_ = c;
  SetModifiedFlag();
  InvalidateControl();
}

plat::ole::Bstr SampleControl::GetLabel() { return allocString(plat::toUtf16(label_)); }

void SampleControl::SetLabel(const char16_t* label) {
  label_ = plat::toUtf8(stringView(label));
  SetModifiedFlag();
}

void SampleControl::DoPropExchange(PropExchange* px) {
  ExchangeVersion(px, kSampleVersion);
  OleControl::DoPropExchange(px);
  PX_Long(px, "Number", number_, 0);
  PX_Color(px, "Color", color_, gdi::RGB(0, 0, 255));
  PX_String(px, "Label", label_, "");
}

void SampleControl::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) { dc->FillSolidRect(bounds, color_); }

void SampleControl::OnShowToolBars() {
  gdi::Rect area;
  if (!NegotiateBorderSpace({0, kBarHeight, 0, 0}, &area)) return;
  HWND frameWindow = ui::kNoWnd;
  GetInPlaceFrame()->GetWindow(&frameWindow);
  ui::Wnd* frame = ui::Wnd::FromHandle(frameWindow);
  if (!frame) return;
  const gdi::Rect place(area.left, area.top, area.right, area.top + kBarHeight);
  if (!bar_) {
    bar_ = std::make_unique<ui::Wnd>();
    bar_->Create(nullptr, "sample bar", ui::WS_CHILD | ui::WS_VISIBLE, place, frame, 0);
  } else {
    bar_->MoveWindow(place);
    bar_->ShowWindow(ui::SW_SHOWNA);
  }
}

void SampleControl::OnHideToolBars() {
  if (bar_ && bar_->IsWindow()) bar_->ShowWindow(ui::SW_HIDE);
}

void SamplePage::DoDataExchange(ui::DataExchange* dx) {
  std::uint32_t count = 0;
  IDispatch** objects = GetObjectArray(&count);
  DispatchDriver driver;
  if (!dx->m_bSaveAndValidate && count) {
    Variant v;
    variantInit(&v);
    driver.attach(objects[0]);
    driver.getProperty(1, &v);
    number = v.i32;
    variantClear(&v);
  }
  ui::DDX_Text(dx, kIdNumberEdit, number);
  if (dx->m_bSaveAndValidate)
    for (std::uint32_t i = 0; i < count; ++i) {
      Variant v;
      variantInit(&v);
      v.vt = VT_I4;
      v.i32 = number;
      driver.attach(objects[i]);
      driver.setProperty(1, v);
    }
}

void OleTest::SetUpTestSuite() {
  static ui::App app("KEDRUS OLE Test");
  ui::SetAppResources(&kResources);
}

void OleTest::SetUp() {
  ui::testing::Reset();
  const ObjectCreator creators[] = {&createObject<SampleControl>, &createObject<SamplePage>};
  const Guid* ids[] = {&CLSID_SampleControl, &CLSID_SamplePage};
  for (int i = 0; i < 2; ++i) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(ClassFactory::create(creators[i], IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    ASSERT_EQ(registerClassObject(*ids[i], factory, &cookies_[i]), S_OK);
    factory->Release();
  }
}

void OleTest::TearDown() {
  for (DWord cookie : cookies_) revokeClassObject(cookie);
  ui::App::PumpPending();
  EXPECT_EQ(SampleControl::live, 0) << "a control outlived its test";
  EXPECT_TRUE(ui::testing::LiveWindows().empty()) << ui::testing::LiveWindows().size() << " window(s) left over";
  ui::testing::Reset();
}

SampleControl* OleTest::ControlOf(const OleClientItem* item) {
  if (!item) return nullptr;
  auto* unknown = static_cast<IUnknown*>(item->QueryObject(IID_IUnknown));
  if (!unknown) return nullptr;
  SampleControl* found = nullptr;
  for (SampleControl* c : liveControls())
    if (c->GetUnknown() == unknown) found = c;
  unknown->Release();
  return found;
}

}  // namespace oletest
