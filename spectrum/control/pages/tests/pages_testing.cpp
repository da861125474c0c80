#include "spectrum/control/pages/tests/pages_testing.h"

#include "common/guids.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/driver.h"
#include "platform/com/factory.h"
#include "platform/ui/controls.h"
#include "platform/ui/messages.h"
#include "spectrum/control/control/typelib.h"
#include "spectrum/control/module/registration.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/pages/pageids.h"
#include "spectrum/control/pages/schemedialog.h"

namespace nelvar_test {

using namespace plat::ole;

namespace {

std::vector<CSpcControl*> g_made;

ComObject* MakeRecorded() {
  auto* control = static_cast<CSpcControl*>(nelvar::CreateSpcControl());
  g_made.push_back(control);
  return control;
}

void Notify(ui::Wnd& page, ui::UINT id, int code) {
  page.SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(static_cast<ui::WORD>(id), static_cast<ui::WORD>(code)),
                   ui::HandleToParam(page.GetDlgItem(id)->m_hWnd));
}

DispId IdOf(CSpcControl* control, const char* name) {
  const plat::String16 wide = plat::toUtf16(name);
  const char16_t* names[] = {wide.c_str()};
  DispId id = 0;
  EXPECT_EQ(control->GetIDispatch(false)->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << name;
  return id;
}

}  // namespace

// ---- Sheet ---------------------------------------------------------------------------------------

nelvar::CSpcPropPage& Sheet::Show(int index) {
  EXPECT_TRUE(frame_.SetActivePage(index));
  IPropertyPage* wanted = frame_.Page(index);
  for (nelvar::CSpcPropPage* page : nelvar::CSpcPropPage::LivePages())
    if (page->GetIPropertyPage(false) == wanted) shown_ = page;
  EXPECT_TRUE(shown_ && shown_->IsWindow());
  return *shown_;
}

void Sheet::Type(ui::UINT id, const std::string& text) {
  shown_->SetDlgItemText(id, text);
  Notify(*shown_, id, ui::EN_CHANGE);
}

void Sheet::Check(ui::UINT id, bool on) {
  dynamic_cast<ui::Button*>(shown_->GetDlgItem(id))->SetCheck(on ? ui::BST_CHECKED : ui::BST_UNCHECKED);
  Notify(*shown_, id, ui::BN_CLICKED);
}

void Sheet::Click(ui::UINT id) { Notify(*shown_, id, ui::BN_CLICKED); }

void Sheet::Choose(ui::UINT id, int index) {
  dynamic_cast<ui::ComboBox*>(shown_->GetDlgItem(id))->SetCurSel(index);
  Notify(*shown_, id, ui::CBN_SELCHANGE);
}

void Sheet::PickColor(ui::UINT id, gdi::COLORREF color) {
  responder_.Then(ui::ModalKind::ColorDialog, [color](ui::ModalQuestion& q) {
    *q.color = color;
    return ui::IDOK;
  });
  Click(id);
}

void Sheet::SaveAs(const std::vector<std::string>& names, bool cancelled) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string name = names[i];
    responder_.Then(ui::ModalKind::Dialog, [name](ui::ModalQuestion& q) {
      EXPECT_EQ(q.templateId, nelvar::IDD_SAVE_SCHEME);
      q.dialog->SetDlgItemText(nelvar::IDC_SCHEME_NAME, name);
      return ui::IDOK;
    });
    if (cancelled || i + 1 < names.size()) responder_.ThenAnswer(ui::ModalKind::MessageBox, ui::IDOK);
  }
  if (cancelled) responder_.ThenAnswer(ui::ModalKind::Dialog, ui::IDCANCEL);
  Click(nelvar::IDC_SAVE_AS);
}

std::string Sheet::Text(ui::UINT id) { return shown_->GetDlgItemText(id); }
bool Sheet::Enabled(ui::UINT id) { return shown_->GetDlgItem(id)->IsWindowEnabled(); }
bool Sheet::Visible(ui::UINT id) { return shown_->GetDlgItem(id)->IsWindowVisible(); }
bool Sheet::Checked(ui::UINT id) {
  auto* button = dynamic_cast<ui::Button*>(shown_->GetDlgItem(id));
  return button && button->GetCheck() == ui::BST_CHECKED;
}

std::vector<std::string> Sheet::ComboItems(ui::UINT id) {
  auto* combo = dynamic_cast<ui::ComboBox*>(shown_->GetDlgItem(id));
  std::vector<std::string> items;
  for (int i = 0; combo && i < combo->GetCount(); ++i) items.push_back(combo->GetLBText(i));
  return items;
}

// ---- Fixture -------------------------------------------------------------------------------------

void PagesTest::SetUp() {
  ControlTest::SetUp();
  ui::SetResponder(&responder_);
  g_made.clear();
  settings_.titles[0] = u"Full View";
  settings_.titles[1] = u"Page Layout";
  std::vector<std::pair<const Guid*, ObjectCreator>> classes{{&CLSID_Spc, &MakeRecorded}};
  for (const Guid* page : SpcPropPageIds()) classes.push_back({page, nelvar::PropPageCreator(*page)});
  for (const auto& [clsid, create] : classes) {
    ASSERT_NE(create, nullptr);
    IUnknown* factory = nullptr;
    ASSERT_EQ(ClassFactory::create(create, IID_IUnknown, reinterpret_cast<void**>(&factory)), S_OK);
    plat::DWord cookie = 0;
    ASSERT_EQ(registerClassObject(*clsid, factory, &cookie), S_OK);
    cookies_.push_back(cookie);
    factory->Release();
  }
  // The module's INI file lies in the sandbox's folder, made afresh.
  plat::makeDirectories(std::string(plat::pathDirectory(SpcApp().IniPath())));
  plat::removeFile(SpcApp().IniPath());
  box_ = std::make_unique<plat::ole::testing::TestContainer>();
}

void PagesTest::TearDown() {
  items_.clear();
  box_.reset();
  for (plat::DWord cookie : cookies_) revokeClassObject(cookie);
  cookies_.clear();
  EXPECT_TRUE(nelvar::CSpcPropPage::LivePages().empty());
  EXPECT_EQ(responder_.Unexpected(), 0);
  EXPECT_TRUE(responder_.Done());
  ui::SetResponder(nullptr);
  ControlTest::TearDown();
}

CSpcControl* PagesTest::AddControl(int kind, bool offerSite) {
  auto* item = new nelvar::testing::HostItem(box_.get(), &settings_, offerSite);
  item->m_rect = {10, 10, 300, 200};
  EXPECT_TRUE(item->CreateNewItem(CLSID_Spc));
  CSpcControl* control = g_made.back();
  if (kind >= 0) GiveSpectrum(*control, kind);
  items_.push_back({control, item});
  return control;
}

void PagesTest::RunSheet(CSpcControl* control, const std::function<void(Sheet&)>& steps, int end) {
  nelvar::testing::HostItem* item = nullptr;
  for (const auto& [c, i] : items_)
    if (c == control) item = i;
  ASSERT_NE(item, nullptr);
  bool ran = false;
  responder_.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
    auto* frame = dynamic_cast<PropertyFrame*>(q.dialog);
    EXPECT_NE(frame, nullptr);
    if (frame) {
      Sheet sheet(*frame, responder_);
      steps(sheet);
    }
    ran = true;
    return end;
  });
  EXPECT_EQ(item->GetOleObject()->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, ui::kNoWnd, nullptr), S_OK);
  EXPECT_TRUE(ran);
}

int PagesTest::Get(CSpcControl* control, const char* name) {
  DispatchDriver driver(control->GetIDispatch(false));
  Variant raw, value;
  variantInit(&raw);
  variantInit(&value);
  EXPECT_EQ(driver.getProperty(IdOf(control, name), &raw), S_OK) << name;
  EXPECT_EQ(changeType(&value, raw, 0, VT_I4), S_OK) << name;
  variantClear(&raw);
  return value.i32;
}

void PagesTest::Set(CSpcControl* control, const char* name, int value) {
  DispatchDriver driver(control->GetIDispatch(false));
  Variant v;
  variantInit(&v);
  v.vt = VT_I4;
  v.i32 = value;
  EXPECT_EQ(driver.setProperty(IdOf(control, name), v), S_OK) << name;
}

std::string PagesTest::IniText() {
  std::string text(1 << 20, '\0');
  text.resize(plat::readFileAt(SpcApp().IniPath(), text.data(), text.size(), 0));
  return text;
}

}  // namespace nelvar_test
