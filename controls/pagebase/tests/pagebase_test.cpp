// The property-page base: a control's properties through an INI profile section and back, the
// typed property helpers over every object of a page, the growing page frame, the widgets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "controls/pagebase/pagebase.h"
#include "foundation/profdesc.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/factory.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"
#include "platform/ui/propsheet.h"
#include "platform/ui/resource.h"
#include "platform/ui/responder.h"
#include "platform/ui/testing.h"
#include "profile/profile.h"

using namespace plat::ole;
using plat::DWord;

namespace {

// An object with a property of every stored kind, a hidden one and a string (not stored).
class Sample final : public AutomationObject {
 public:
  Sample() : AutomationObject(Dispatch()), font_(&record_) {
    record_.lfHeight = 12;
    record_.lfWeight = 400;
    gdi::SetFaceName(record_, "Arial");
  }
  std::int32_t count = 0;
  bool visible = false;
  float scale = 0;
  std::uint32_t color = 0;
  std::int32_t secret = 0;
  gdi::LOGFONTA record_{};

  std::int32_t GetCount() { return count; }
  void SetCount(std::int32_t v) {
    if (v < 0) throwDispatchException(E_INVALIDARG, u"Count must not be negative");
    count = v;
  }
  bool GetVisible() { return visible; }
  void SetVisible(bool v) { visible = v; }
  float GetScale() { return scale; }
  void SetScale(float v) { scale = v; }
  std::uint32_t GetColor() { return color; }
  void SetColor(std::uint32_t v) { color = v; }
  std::int32_t GetSecret() { return secret; }
  void SetSecret(std::int32_t v) { secret = v; }
  IDispatch* GetFont() { return font_.GetIDispatch(true); }
  void SetFont(IDispatch* font) { font_.CopyFrom(font); }
  Bstr GetTitle() { return allocString(u"title"); }
  void SetTitle(const char16_t*) {}

  static const DispInterfaceDesc& Dispatch() {
    static constexpr DispEntry kMembers[] = {
        dispProperty<&Sample::GetCount, &Sample::SetCount>("Count", 1, DispType::I4),
        dispProperty<&Sample::GetVisible, &Sample::SetVisible>("Visible", 2, DispType::Bool),
        dispProperty<&Sample::GetScale, &Sample::SetScale>("Scale", 3, DispType::R4),
        dispProperty<&Sample::GetColor, &Sample::SetColor>("BackColor", 4, DispType::Color),
        dispProperty<&Sample::GetFont, &Sample::SetFont>("Font", 5, DispType::Font),
        dispProperty<&Sample::GetSecret, &Sample::SetSecret>("Secret", 6, DispType::I4, kDispHidden),
        dispProperty<&Sample::GetTitle, &Sample::SetTitle>("Title", 7, DispType::Bstr),
    };
    static constexpr DispInterfaceDesc kDesc{"_DSample", nullptr, "Sample", kMembers};
    return kDesc;
  }

 private:
  COleFont font_;
};

std::string scratchDir() {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = scratch && *scratch ? scratch : "/tmp";
  plat::makeDirectories(dir);
  return dir;
}

std::unique_ptr<COrvProfDesc> iniSection(const std::string& file, const char16_t* section) {
  auto desc = std::make_unique<COrvProfDesc>(plat::toUtf16(file).c_str(), section);
  desc->SetIni(true);
  return desc;
}

std::string readText(const std::string& path) {
  std::string text(4096, '\0');
  text.resize(plat::readFileAt(path, text.data(), text.size(), 0));
  return text;
}

TEST(DispatchProperties, SaveEveryVisiblePropertyIntoAnIniSectionAndLoadThemBack) {
  const std::string file = plat::joinPath(scratchDir(), "properties.ini");
  plat::removeFile(file);
  Sample source;
  source.count = 42;
  source.visible = true;
  source.scale = 1.5f;
  source.color = 0x00FFB400;
  source.secret = 7;
  source.record_.lfHeight = -11;
  source.record_.lfWeight = 700;
  source.record_.lfItalic = 1;
  gdi::SetFaceName(source.record_, "Courier New");
  {
    auto desc = iniSection(file, u"\\Defaults");
    ASSERT_EQ(desc->Open(63), 0);
    EXPECT_TRUE(SaveDispatchProperties(source.GetIDispatch(false), desc.get()));
  }
  // The profile store's INI form: DWORDs in hexadecimal, binary values as spaced byte pairs.
  EXPECT_EQ(readText(file),
            "[Defaults]\r\n"
            "Count=0x2A\r\n"
            "Visible=0x1\r\n"
            "Scale=00 00 C0 3F \r\n"
            "BackColor=0xFFB400\r\n"
            "[Defaults\\Font]\r\n"
            "Height=0xFFFFFFF5\r\n"
            "Width=0x0\r\n"
            "Escapement=0x0\r\n"
            "Orientation=0x0\r\n"
            "Weight=0x2BC\r\n"
            "Italic=0x1\r\n"
            "Underline=0x0\r\n"
            "StrikeOut=0x0\r\n"
            "CharSet=0x0\r\n"
            "OutPrecision=0x0\r\n"
            "ClipPrecision=0x0\r\n"
            "Quality=0x0\r\n"
            "PitchAndFamily=0x0\r\n"
            "Name=Courier New\r\n");

  Sample target;
  {
    auto desc = iniSection(file, u"\\Defaults");
    ASSERT_EQ(desc->Open(13), 0);
    EXPECT_TRUE(LoadDispatchProperties(target.GetIDispatch(false), desc.get()));
  }
  EXPECT_EQ(target.count, 42);
  EXPECT_TRUE(target.visible);
  EXPECT_EQ(target.scale, 1.5f);
  EXPECT_EQ(target.color, 0x00FFB400u);
  EXPECT_EQ(target.secret, 0);  // hidden: never stored, never loaded
  EXPECT_EQ(target.record_.lfHeight, -11);
  EXPECT_EQ(target.record_.lfWeight, 700);
  EXPECT_EQ(target.record_.lfItalic, 1);
  EXPECT_EQ(gdi::FaceNameOf(target.record_), "Courier New");
}

TEST(DispatchProperties, MissingOrMisshapenValuesLeaveThePropertiesAsTheyWere) {
  const std::string file = plat::joinPath(scratchDir(), "partial.ini");
  // Scale holds three bytes, not a float; Count is missing; the font section is absent.
  ASSERT_TRUE(plat::writeFileAtomic(file, "[Partial]\r\nScale=00 00 C0 \r\nVisible=0x0\r\n"));
  Sample target;
  target.count = 5;
  target.visible = true;
  target.scale = 2.0f;
  {
    auto desc = iniSection(file, u"\\Partial");
    ASSERT_EQ(desc->Open(13), 0);
    EXPECT_TRUE(LoadDispatchProperties(target.GetIDispatch(false), desc.get()));
  }
  EXPECT_EQ(target.count, 5);
  EXPECT_FALSE(target.visible);
  EXPECT_EQ(target.scale, 2.0f);
  EXPECT_EQ(target.record_.lfHeight, 12);
  EXPECT_EQ(gdi::FaceNameOf(target.record_), "Arial");
  // Without type information nothing is exchanged, and that is no failure.
  EXPECT_TRUE(LoadDispatchProperties(nullptr, nullptr));
}

// --- The page ----------------------------------------------------------------------------------------------

enum : ui::UINT { kPageTemplate = 500, kCaption = 501, kCombo = 1001, kSwatch = 1002, kFace = 1003, kSize = 1004 };

const ui::StringResource kStrings[] = {{kCaption, "Test"}};
const ui::DialogItemResource kItems[] = {
    {"COMBOBOX", kCombo, "", ui::CBS_DROPDOWNLIST | ui::WS_VSCROLL, 4, 4, 60, 80},
    {"BUTTON", kSwatch, "", ui::BS_PUSHBUTTON, 4, 24, 40, 14},
    {"STATIC", kFace, "", 0, 50, 24, 60, 10},
    {"STATIC", kSize, "", 0, 50, 40, 60, 10},
};
const ui::DialogResource kDialogs[] = {{kPageTemplate, nullptr, ui::WS_CHILD, 0, 0, 120, 60, "MS Sans Serif", 8, kItems}};

ui::ResourceSet makeResources() {
  ui::ResourceSet set;
  set.moduleName = "pagebase tests";
  set.strings = kStrings;
  set.dialogs = kDialogs;
  return set;
}
const ui::ResourceSet kResources = makeResources();

constexpr Guid CLSID_TestPage = guid("{5A1D0E55-0000-4000-8000-0000000AB001}");

// A page that counts its exchanges and, to stand for a page larger than its frame's area, grows
// itself by (grow.cx, grow.cy) before the base's initialisation.
class TestPage final : public COlePropertyPageEx {
 public:
  TestPage() : COlePropertyPageEx(kPageTemplate, kCaption) {}
  static gdi::Size grow;
  static TestPage* last;
  int gets = 0;
  int sets = 0;
  void GetProperties() override { ++gets; }
  void SetProperties() override { ++sets; }
  bool OnInitDialog() override {
    last = this;
    gdi::Rect r;
    GetWindowRect(&r);
    SetWindowPos(nullptr, 0, 0, r.Width() + grow.cx, r.Height() + grow.cy, ui::SWP_NOMOVE | ui::SWP_NOZORDER);
    return COlePropertyPageEx::OnInitDialog();
  }
};
gdi::Size TestPage::grow;
TestPage* TestPage::last = nullptr;

class PageBase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static ui::App app("KEDRUS page tests");
    ui::SetAppResources(&kResources);
  }
  void SetUp() override {
    ui::testing::Reset();
    IClassFactory* factory = nullptr;
    ASSERT_EQ(ClassFactory::create(&createObject<TestPage>, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    ASSERT_EQ(registerClassObject(CLSID_TestPage, factory, &cookie_), S_OK);
    factory->Release();
    TestPage::grow = {};
    TestPage::last = nullptr;
  }
  void TearDown() override {
    revokeClassObject(cookie_);
    ui::App::PumpPending();
    EXPECT_TRUE(ui::testing::LiveWindows().empty());
    ui::testing::Reset();
  }

  // Runs the property frame over the objects; inspect sees it once the page is up.
  // messageBoxes: how many the page shows meanwhile (each answered OK).
  static void RunFrame(std::vector<IUnknown*> objects, const std::function<void(PropertyFrame&, TestPage&)>& inspect,
                       int messageBoxes = 0) {
    ui::ScriptedResponder responder(true);
    responder.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
      auto* frame = dynamic_cast<PropertyFrame*>(q.dialog);
      if (frame && TestPage::last) inspect(*frame, *TestPage::last);
      return ui::IDCANCEL;
    });
    for (int i = 0; i < messageBoxes; ++i) responder.ThenAnswer(ui::ModalKind::MessageBox, ui::IDOK);
    const Guid pages[] = {CLSID_TestPage};
    EXPECT_EQ(showPropertyFrame(ui::kNoWnd, u"Properties", objects, pages, 0x407), ui::IDCANCEL);
    EXPECT_EQ(responder.Unexpected(), 0);
  }

 private:
  DWord cookie_ = 0;
};

gdi::Rect placeIn(ui::Wnd* wnd, ui::Wnd* frame) {
  gdi::Rect r;
  wnd->GetWindowRect(&r);
  frame->ScreenToClient(&r);
  return r;
}

TEST_F(PageBase, APageWiderThanItsAreaGrowsTheFrameAndMovesItsButtonsButNothingShrinks) {
  struct Places {
    gdi::Rect frame, tabs, area;
    std::vector<gdi::Rect> buttons;
  };
  auto measure = [](PropertyFrame& f) {
    Places p;
    f.GetWindowRect(&p.frame);
    p.tabs = placeIn(f.GetDlgItem(kPropertyFrameTabId), &f);
    p.area = placeIn(f.PageArea(), &f);
    for (ui::UINT id : {ui::UINT(ui::IDOK), ui::UINT(ui::IDCANCEL), kPropertyFrameHelpId, ui::ID_APPLY_NOW})
      p.buttons.push_back(placeIn(f.GetDlgItem(id), &f));
    return p;
  };
  Places plain, wide, small;
  RunFrame({}, [&](PropertyFrame& f, TestPage& page) {
    plain = measure(f);
    EXPECT_EQ(page.GetLocale(), 0x407u);  // the frame's locale, through the page site
    EXPECT_EQ(page.gets, 1);              // the initial exchange reads the objects
  });
  TestPage::grow = {20, 0};
  RunFrame({}, [&](PropertyFrame& f, TestPage&) { wide = measure(f); });
  EXPECT_EQ(wide.frame.Width(), plain.frame.Width() + 20);
  EXPECT_EQ(wide.frame.Height(), plain.frame.Height());
  EXPECT_EQ(wide.tabs.Width(), plain.tabs.Width() + 20);
  EXPECT_EQ(wide.area.Width(), plain.area.Width() + 20);
  for (std::size_t i = 0; i < plain.buttons.size(); ++i) {
    EXPECT_EQ(wide.buttons[i].left, plain.buttons[i].left + 20) << i;
    EXPECT_EQ(wide.buttons[i].top, plain.buttons[i].top) << i;
  }
  // A page narrower and taller than the area: taller counts, narrower never shrinks the frame.
  TestPage::grow = {-30, 10};
  RunFrame({}, [&](PropertyFrame& f, TestPage&) { small = measure(f); });
  EXPECT_EQ(small.frame.Width(), plain.frame.Width());
  EXPECT_EQ(small.frame.Height(), plain.frame.Height() + 10);
  EXPECT_EQ(small.buttons[0].top, plain.buttons[0].top + 10);
}

TEST_F(PageBase, TypedHelpersWalkEveryObjectAndReportWhatFailed) {
  Sample a, b;
  a.count = 3;
  b.count = 9;
  RunFrame({a.GetUnknown(), b.GetUnknown()}, [&](PropertyFrame&, TestPage& page) {
    int value = 0;
    EXPECT_TRUE(page.GetIntProperty(&value, "count"));  // names found without regard to case
    EXPECT_EQ(value, 9);                                 // the last object wins
    EXPECT_TRUE(page.SetIntProperty(11, "Count"));
    EXPECT_EQ(a.count, 11);
    EXPECT_EQ(b.count, 11);
    EXPECT_FALSE(page.SetIntProperty(1, "NoSuchThing"));
    // An automation exception is shown with the exclamation icon and counts as failure.
    ui::ClearModalLog();
    EXPECT_FALSE(page.SetIntProperty(-1, "Count"));
    ASSERT_EQ(ui::ModalLog().size(), 2u);  // one report per object
    EXPECT_EQ(ui::ModalLog()[0].kind, ui::ModalKind::MessageBox);
    EXPECT_EQ(ui::ModalLog()[0].text, "Count must not be negative");
    EXPECT_EQ(a.count, 11);

    gdi::LOGFONTA font;
    font.lfWidth = 5;
    EXPECT_TRUE(page.GetFontProperty(&font, "Font"));
    EXPECT_EQ(font.lfWidth, 0);  // zeroed first
    EXPECT_EQ(font.lfHeight, 12);
    EXPECT_EQ(gdi::FaceNameOf(font), "Arial");
    font.lfHeight = 20;
    font.lfItalic = 1;
    EXPECT_TRUE(page.SetFontProperty(&font, "Font"));
    EXPECT_EQ(a.record_.lfHeight, 20);
    EXPECT_EQ(b.record_.lfItalic, 1);
    page.ShowFontInfo(page.GetDlgItem(kFace), page.GetDlgItem(kSize), &font);
    EXPECT_EQ(page.GetDlgItemText(kFace), "Arial");
    EXPECT_EQ(page.GetDlgItemText(kSize), "20");
    EXPECT_FALSE(page.GetFontProperty(&font, "Count"));  // not a font
    // Saving the page's items moves them into the objects through SetProperties.
    EXPECT_TRUE(page.UpdateData(true));
    EXPECT_EQ(page.sets, 1);
  }, 2);
}

TEST_F(PageBase, LineWidthCombosSwatchesAndTheColourDialog) {
  RunFrame({}, [&](PropertyFrame&, TestPage& page) {
    auto* found = dynamic_cast<ui::ComboBox*>(page.GetDlgItem(kCombo));
    ASSERT_NE(found, nullptr);
    ui::ComboBox& combo = *found;
    page.FillLineWidthCombo(&combo, 30);
    ASSERT_EQ(combo.GetCount(), 10);
    EXPECT_EQ(combo.GetLBText(0), "0");
    EXPECT_EQ(combo.GetLBText(9), "9");
    EXPECT_EQ(combo.GetItemData(9), 150u);
    EXPECT_EQ(combo.GetCurSel(), 5);
    EXPECT_EQ(combo.GetLBText(combo.GetCurSel()), "5");
    int width = -7;
    EXPECT_TRUE(COlePropertyPageEx::GetSelectedLineWidth(&combo, &width));
    EXPECT_EQ(width, 40);
    page.FillLineWidthCombo(&combo, 200);
    EXPECT_EQ(combo.GetCurSel(), -1);
    width = 25;
    EXPECT_FALSE(COlePropertyPageEx::GetSelectedLineWidth(&combo, &width));
    EXPECT_EQ(width, 25);  // no selection never reads as -1

    auto* button = dynamic_cast<ui::Button*>(page.GetDlgItem(kSwatch));
    ASSERT_NE(button, nullptr);
    gdi::Rect client;
    button->GetClientRect(&client);
    const gdi::COLORREF orange = gdi::RGB(0, 180, 255);
    page.ShowColorSwatch(&page, button, orange);
    const gdi::Bitmap swatch = button->GetBitmap();
    ASSERT_FALSE(swatch.IsNull());
    const gdi::RasterSurface& pixels = *swatch.Surface();
    ASSERT_EQ(pixels.Width(), client.Width() - 8);
    ASSERT_EQ(pixels.Height(), client.Height() - 8);
    const std::int64_t inner = std::int64_t(pixels.Width() - 2) * (pixels.Height() - 2);
    EXPECT_EQ(pixels.CountPixels(orange), inner);
    EXPECT_EQ(pixels.CountPixels(gdi::RGB(0, 0, 0)), std::int64_t(pixels.Width()) * pixels.Height() - inner);

    ui::ScriptedResponder colours(true);
    colours.Then(ui::ModalKind::ColorDialog, [](ui::ModalQuestion& q) {
      *q.color = gdi::RGB(1, 2, 3);
      return ui::IDOK;
    });
    colours.ThenAnswer(ui::ModalKind::ColorDialog, ui::IDCANCEL);
    gdi::COLORREF colour = orange;
    EXPECT_TRUE(page.ChooseColor(&page, &colour));
    EXPECT_EQ(colour, gdi::RGB(1, 2, 3));
    EXPECT_FALSE(page.ChooseColor(&page, &colour));
    EXPECT_EQ(colour, gdi::RGB(1, 2, 3));
  });
}

TEST(ReleaseInterface, ReleasesOnceAndClears) {
  Sample* sample = new Sample;
  IDispatch* d = sample->GetIDispatch(true);
  EXPECT_EQ(ReleaseInterface(d), 1u);
  EXPECT_EQ(d, nullptr);
  EXPECT_EQ(ReleaseInterface(d), 0u);
  sample->Release();
}

}  // namespace
