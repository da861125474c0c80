// The spectrum control's property sheet, run through its Properties verb over real controls: what
// the appearance pages show and write on Apply, and the General page's property sets, schemes in
// the module's INI file and defaults per method.
#include <algorithm>
#include <cstdint>

#include "common/ispectrumcontrol.h"
#include "controls/font/olefont.h"
#include "platform/com/driver.h"
#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/pages/generalpage.h"
#include "spectrum/control/pages/pageids.h"
#include "spectrum/control/module/propertydefaults.h"
#include "spectrum/control/pages/tests/pages_testing.h"

namespace nelvar_test {
namespace {

using namespace nelvar;
using Names = std::vector<std::string>;

std::uint32_t PropertySetOf(CSpcControl* control) {
  std::uint32_t set = 99;
  control->SaItem()->GetPropertySet(&set);
  return set;
}

std::u16string MethodOf(CSpcControl* control) {
  plat::ole::Bstr method = nullptr;
  EXPECT_EQ(control->SpectrumControl()->GetCurMethod(&method), plat::ole::S_OK);
  std::u16string text(plat::ole::stringView(method));
  plat::ole::freeString(method);
  return text;
}

// A DWORD of a scheme's section in the INI file; -1 when it is not there.
std::int64_t SchemeValue(const char16_t* section, const char16_t* name) {
  COrvProfDesc desc(plat::toUtf16(SpcApp().IniPath()).c_str(), section);
  desc.SetIni(true);
  std::uint32_t value = 0;
  if (desc.Open(13) != PROF_OK || OrvGetProfDWord(name, &value, 0, &desc) != PROF_OK) return -1;
  return value;
}

// The attributes of a font property.
gdi::LOGFONTA FontOf(CSpcControl* control, const char* name) {
  plat::ole::DispatchDriver driver(control->GetIDispatch(false));
  const plat::String16 wide = plat::toUtf16(name);
  const char16_t* names[] = {wide.c_str()};
  plat::ole::DispId id = 0;
  control->GetIDispatch(false)->GetIDsOfNames(plat::ole::IID_NULL, names, 1, 0, &id);
  plat::ole::Variant v;
  plat::ole::variantInit(&v);
  driver.getProperty(id, &v);
  gdi::LOGFONTA record{};
  EXPECT_TRUE(v.vt == plat::ole::VT_DISPATCH && COleFont(&record).CopyFrom(v.dispatch)) << name;
  plat::ole::variantClear(&v);
  return record;
}

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(PagesTest, TitleEditedAppliedSavedAsASchemeTakenByAFreshControlAndDeleted) {
  CSpcControl* a = AddControl();
  Set(a, "TitlePosY", 500);
  RunSheet(a, [&](Sheet& s) {
    s.Show(kTitle);
    EXPECT_EQ(s.Text(IDC_POS_X), "10.00");  // the title's default position, 1000
    EXPECT_EQ(s.Text(IDC_POS_Y), "5.00");
    s.Type(IDC_POS_X, "25.5");
    s.Type(IDC_POS_Y, "10.01");  // a float would make it 1000
    s.PickColor(IDC_TEXT_COLOR, 0x0000FF);
    s.Show(kMisc);
    s.PickColor(IDC_BACK_COLOR, 0x00FFB400);
    EXPECT_EQ(Get(a, "TitlePosX"), 1000);  // nothing reaches the control before Apply
    EXPECT_TRUE(s.Frame().IsApplyEnabled());
    EXPECT_TRUE(s.Apply());
    EXPECT_EQ(Get(a, "TitlePosX"), 2550);
    EXPECT_EQ(Get(a, "TitlePosY"), 1001);
    EXPECT_EQ(Get(a, "TitleColor"), 0x0000FF);
    EXPECT_EQ(Get(a, "BackColor"), 0x00FFB400);

    s.Show(kGeneral);
    EXPECT_EQ(s.ComboItems(IDC_SCHEME), (Names{""}));
    s.SaveAs({"Dark"});
    EXPECT_EQ(s.ComboItems(IDC_SCHEME), (Names{"", "Dark"}));
  });
  // The scheme's section holds every property, typed; its fonts are sections below it.
  const std::string ini = IniText();
  EXPECT_TRUE(Holds(ini, "[SCHEMES\\0\\Dark]\r\n"));
  EXPECT_TRUE(Holds(ini, "[SCHEMES\\0\\Dark\\TitleFont]\r\n"));
  EXPECT_TRUE(Holds(ini, "TitlePosX = REG_DWORD 0x9F6\r\n")) << ini.substr(0, 400);
  EXPECT_EQ(SchemeValue(u"\\SCHEMES\\0\\Dark", u"TitlePosY"), 1001);
  EXPECT_EQ(SchemeValue(u"\\SCHEMES\\0\\Dark", u"BackColor"), 0x00FFB400);

  CSpcControl* b = AddControl();
  EXPECT_NE(Get(b, "TitlePosX"), 2550);
  RunSheet(
      b,
      [&](Sheet& s) {
        s.Show(kGeneral);
        EXPECT_EQ(s.ComboItems(IDC_SCHEME), (Names{"", "Dark"}));
        s.Choose(IDC_SCHEME, 1);
        EXPECT_TRUE(s.Apply());
        EXPECT_EQ(Get(b, "TitlePosX"), 2550);
        EXPECT_EQ(Get(b, "TitlePosY"), 1001);
        EXPECT_EQ(Get(b, "TitleColor"), 0x0000FF);
        EXPECT_EQ(Get(b, "BackColor"), 0x00FFB400);
        s.Choose(IDC_SCHEME, 1);
        s.Click(IDC_DELETE);
        EXPECT_EQ(s.ComboItems(IDC_SCHEME), (Names{""}));
      },
      ui::IDOK);
  EXPECT_FALSE(Holds(IniText(), "Dark"));
  EXPECT_EQ(Get(b, "TitlePosX"), 2550);
}

TEST_F(PagesTest, SaveAsRefusesUnusableNamesAsksAgainAndRewritesAnExistingScheme) {
  CSpcControl* a = AddControl();
  RunSheet(a, [&](Sheet& s) {
    s.Show(kGeneral);
    s.SaveAs({"", "a\\b", "x[y", "z]", "tab\tname", "  "}, true);  // then Cancel: nothing is written
    EXPECT_EQ(s.ComboItems(IDC_SCHEME), (Names{""}));
    EXPECT_FALSE(Holds(IniText(), "[SCHEMES\\0\\"));

    Set(a, "BorderLineWidth", 40);
    s.SaveAs({"Good"});
    Set(a, "BorderLineWidth", 60);
    s.SaveAs({"GOOD"});  // the list finds it without regard to case: one entry
    EXPECT_EQ(s.ComboItems(IDC_SCHEME), (Names{"", "Good"}));
    s.Choose(IDC_SCHEME, 0);
    s.Click(IDC_DELETE);  // the empty entry: nothing happens
    EXPECT_EQ(s.ComboItems(IDC_SCHEME), (Names{"", "Good"}));
  });
  EXPECT_EQ(SchemeValue(u"\\SCHEMES\\0\\Good", u"BorderLineWidth"), 60);

  // A name longer than 260 characters is listed whole, and the schemes after it too.
  const std::string longName(300, 'n');
  RunSheet(a, [&](Sheet& s) {
    s.Show(kGeneral);
    s.SaveAs({longName});
    s.SaveAs({"Zebra"});
  });
  RunSheet(a, [&](Sheet& s) {
    s.Show(kGeneral);
    Names listed = s.ComboItems(IDC_SCHEME);
    std::sort(listed.begin(), listed.end());  // the store's enumeration order
    EXPECT_EQ(listed, (Names{"", "Good", "Zebra", longName}));
  });
}

TEST_F(PagesTest, AnAppliedSchemeIsWhatTheOtherPagesShowAndWriteBack) {
  CSpcControl* a = AddControl();
  Set(a, "TitlePosX", 3000);
  RunSheet(a, [&](Sheet& s) {
    s.Show(kGeneral);
    s.SaveAs({"Wide"});
  });
  Set(a, "TitlePosX", 1000);
  RunSheet(a, [&](Sheet& s) {
    s.Show(kTitle);
    EXPECT_EQ(s.Text(IDC_POS_X), "10.00");
    s.Type(IDC_POS_X, "99");  // edited, then a scheme is chosen
    s.Show(kGeneral);
    s.Choose(IDC_SCHEME, 1);
    EXPECT_TRUE(s.Apply());
    EXPECT_EQ(Get(a, "TitlePosX"), 3000);
    s.Show(kTitle);
    EXPECT_EQ(s.Text(IDC_POS_X), "30.00");
  });
}

TEST_F(PagesTest, SwitchingTheSetMakesOpenPagesShowItAndClosingTheSheetRestoresTheFirst) {
  CSpcControl* a = AddControl();
  Set(a, "BackColor", 0x123456);
  RunSheet(a, [&](Sheet& s) {
    CSpcPropPage& misc = s.Show(kMisc);
    EXPECT_EQ(misc.FieldNumber(0), 0x123456);
    s.Show(kGeneral);
    EXPECT_EQ(s.ComboItems(IDC_PROPERTY_SET), (Names{"Full View", "Page Layout"}));
    s.Choose(IDC_PROPERTY_SET, 1);
    EXPECT_EQ(PropertySetOf(a), 1u);
    EXPECT_NE(Get(a, "BackColor"), 0x123456);
    EXPECT_EQ(misc.FieldNumber(0), Get(a, "BackColor"));
  });
  EXPECT_EQ(PropertySetOf(a), 0u);
  EXPECT_EQ(Get(a, "BackColor"), 0x123456);
}

TEST_F(PagesTest, WithoutTheContainersInterfaceOrASpectrumTheGeneralPageStillKeepsSchemes) {
  CSpcControl* a = AddControl(-1, false);
  RunSheet(a, [&](Sheet& s) {
    s.Show(kGeneral);
    EXPECT_FALSE(s.Enabled(IDC_PROPERTY_SET));
    EXPECT_TRUE(s.ComboItems(IDC_PROPERTY_SET).empty());
    s.SaveAs({"Plain"});
    EXPECT_EQ(s.ComboItems(IDC_SCHEME), (Names{"", "Plain"}));
    // No method, no default to keep: nothing is written at the profile's top.
    s.Click(IDC_SET_DEFAULT);
  });
  COrvProfDesc top(u"", u"\\Properties 0");
  EXPECT_NE(top.Open(13), PROF_OK);
  COrvProfDesc below(u"", u"Properties 0");
  EXPECT_NE(below.Open(13), PROF_OK);
}

TEST_F(PagesTest, SetAsDefaultOfEveryKindIsWrittenUnderItsMethodAndReadBackByANewControl) {
  // The page writes every property of the set (a registry write each): that is done for a plain
  // method and for the one with a space. Both sides name the section from GetCurMethod alone, so
  // for the other kinds it is enough that a value stored under their method is read back.
  for (int kind : {0, 6}) {
    CSpcControl* a = AddControl(kind);
    const std::u16string method = MethodOf(a);
    const int color = 0x010203 * (kind + 1);
    RunSheet(a, [&](Sheet& s) {
      s.Show(kGeneral);
      s.Choose(IDC_PROPERTY_SET, 1);
      Set(a, "BackColor", color);
      s.Click(IDC_SET_DEFAULT);
    });
    COrvProfDesc desc(u"", PropertyDefaultsSection(method, 1).c_str());
    std::uint32_t stored = 0;
    ASSERT_EQ(desc.Open(13), PROF_OK) << kind;
    EXPECT_EQ(OrvGetProfDWord(u"BackColor", &stored, 0, &desc), PROF_OK) << kind;
    EXPECT_EQ(stored, static_cast<std::uint32_t>(color)) << kind;
    EXPECT_EQ(OrvGetProfDWord(u"CursorColor", &stored, 0, &desc), PROF_OK) << kind;

    CSpcControl* b = AddControl(kind);
    b->SaItem()->SelectPropertySet(1, 0);
    EXPECT_EQ(Get(b, "BackColor"), color) << plat::toUtf8(method);
  }
  for (int kind = 0; kind <= 6; ++kind) {
    const std::u16string method = MethodOf(AddControl(kind));
    const std::uint32_t color = 0x040506u * static_cast<std::uint32_t>(kind + 1);
    COrvProfDesc desc(u"", PropertyDefaultsSection(method, 1).c_str());
    ASSERT_TRUE(desc.Open(63) == PROF_OK || desc.Create(63, 0) == PROF_OK) << kind;
    ASSERT_EQ(OrvSetProfDWord(u"BackColor", color, &desc), PROF_OK) << kind;
    desc.Close();
    CSpcControl* b = AddControl(kind);
    b->SaItem()->SelectPropertySet(1, 0);
    EXPECT_EQ(Get(b, "BackColor"), static_cast<int>(color)) << plat::toUtf8(method);
  }
  EXPECT_EQ(MethodOf(AddControl(6)), u"NMR 2D");
  EXPECT_EQ(PropertyDefaultsSection(u"NMR 2D", 1), u"NMR 2D\\Properties 1");
}

TEST_F(PagesTest, AnUncheckedEnableGreysThePageAndApplyStillWritesEveryProperty) {
  CSpcControl* a = AddControl();
  Set(a, "ScaleEnable", 1);
  RunSheet(a, [&](Sheet& s) {
    s.Show(kScale);
    EXPECT_TRUE(s.Enabled(IDC_LINE_COLOR));
    s.Check(IDC_ENABLE, false);
    for (ui::UINT id : std::initializer_list<ui::UINT>{IDC_LINE_COLOR, IDC_TEXT_COLOR, IDC_FONT, IDC_LINE_WIDTH, IDC_UNIT_FIRST, IDC_UNIT_FIRST + 1})
      EXPECT_FALSE(s.Enabled(id)) << id;
    EXPECT_TRUE(s.Enabled(IDC_ENABLE));
    s.PickColor(IDC_LINE_COLOR, 0x00C000);  // greyed for the user, still the page's value
    EXPECT_TRUE(s.Apply());
    EXPECT_EQ(Get(a, "ScaleEnable"), 0);
    EXPECT_EQ(Get(a, "ScaleLineColor"), 0x00C000);
  });
  // A page that opens on a disabled object starts greyed.
  RunSheet(a, [&](Sheet& s) {
    s.Show(kScale);
    EXPECT_FALSE(s.Enabled(IDC_LINE_WIDTH));
  });
}

TEST_F(PagesTest, UnitRadiosOfferTheKindsUnitsAndHideTheRest) {
  CSpcControl* nmr = AddControl(0);
  Set(nmr, "ScaleUnits", 0);
  RunSheet(nmr, [&](Sheet& s) {
    s.Show(kScale);
    EXPECT_EQ(s.Text(IDC_UNIT_FIRST), "PPM");
    EXPECT_EQ(s.Text(IDC_UNIT_FIRST + 1), "Hertz");
    EXPECT_EQ(s.Text(IDC_UNIT_FIRST + 2), "points");
    s.Check(IDC_UNIT_FIRST, false);
    s.Check(IDC_UNIT_FIRST + 1, true);
    EXPECT_TRUE(s.Apply());
    EXPECT_EQ(Get(nmr, "ScaleUnits"), 1);
  });
  CSpcControl* mass = AddControl(1);
  RunSheet(mass, [&](Sheet& s) {
    s.Show(kTPeaks);
    EXPECT_EQ(s.Text(IDC_UNIT_FIRST), "m/z");
    EXPECT_TRUE(s.Visible(IDC_UNIT_FIRST));
    EXPECT_FALSE(s.Visible(IDC_UNIT_FIRST + 1));
    EXPECT_FALSE(s.Visible(IDC_UNIT_FIRST + 2));
  });
}

TEST_F(PagesTest, AfterFTTheUnitRadiosCheckTheUnitThatIsDrawn) {
  CSpcControl* fid = AddControl(-1);
  ASSERT_EQ(fid->LoadFromPath(SAMPLE_FID, 0), plat::ole::S_OK);
  EXPECT_EQ(Get(fid, "ScaleUnits"), 4);  // sec
  ASSERT_EQ(fid->SpectrumControl()->ExecuteCommands(u"FT"), plat::ole::S_OK);
  EXPECT_EQ(Get(fid, "ScaleUnits"), 0);  // drawn in PPM now
  EXPECT_EQ(Get(fid, "TPeaksUnits"), 0);
  RunSheet(
      fid,
      [&](Sheet& s) {
        for (int page : {kScale, kTPeaks}) {
          s.Show(page);
          EXPECT_EQ(s.Text(IDC_UNIT_FIRST), "PPM") << page;
          EXPECT_TRUE(s.Checked(IDC_UNIT_FIRST)) << page;
          EXPECT_FALSE(s.Checked(IDC_UNIT_FIRST + 1)) << page;
        }
        s.Show(kScale);
        s.Check(IDC_UNIT_FIRST, false);
        s.Check(IDC_UNIT_FIRST + 1, true);
        EXPECT_TRUE(s.Apply());
        EXPECT_EQ(Get(fid, "ScaleUnits"), 1);
      },
      ui::IDOK);
  std::string unit;
  ASSERT_TRUE(fid->GetParamText("XUNITS", &unit));
  EXPECT_EQ(unit, "Hertz");
}

TEST_F(PagesTest, TheFontButtonWorksInPointsAroundADialogInPixels) {
  CSpcControl* a = AddControl();
  const gdi::LOGFONTA before = FontOf(a, "TitleFont");
  RunSheet(a, [&](Sheet& s) {
    s.Show(kTitle);
    EXPECT_EQ(s.Text(IDC_FONT_SIZE), std::to_string(before.lfHeight));
    responder_.Then(ui::ModalKind::FontDialog, [&](ui::ModalQuestion& q) {
      // The dialog sees logical units of the screen (96 per inch here).
      EXPECT_EQ(q.font->lfHeight, -gdi::MulDiv(before.lfHeight, 96, 72));
      q.font->lfHeight = -32;
      gdi::SetFaceName(*q.font, "Courier New");
      return ui::IDOK;
    });
    s.Click(IDC_FONT);
    EXPECT_EQ(s.Text(IDC_FONT_SIZE), "24");
    EXPECT_EQ(s.Text(IDC_FONT_FACE), "Courier New");
    EXPECT_TRUE(s.Apply());
  });
  const gdi::LOGFONTA after = FontOf(a, "TitleFont");
  EXPECT_EQ(after.lfHeight, 24);
  EXPECT_EQ(gdi::FaceNameOf(after), "Courier New");
}

TEST_F(PagesTest, RadiusDigitsWidthsAndDirectionsRoundTrip) {
  CSpcControl* a = AddControl();
  Set(a, "BaselineCircRadius", 25);
  Set(a, "BaselineLineWidth", 30);
  Set(a, "IntegSumsDigits", 3);
  Set(a, "IntegSumsEscape", 900);
  RunSheet(a, [&](Sheet& s) {
    s.Show(kBaseline);
    EXPECT_EQ(s.Text(IDC_RADIUS), "2.5");
    // The first width not below 30 is 40, item "5".
    EXPECT_EQ(dynamic_cast<ui::ComboBox*>(s.Show(kBaseline).GetDlgItem(IDC_LINE_WIDTH))->GetCurSel(), 5);
    s.Type(IDC_RADIUS, "1,5");
    s.Show(kIntegSums);
    auto* digits = dynamic_cast<ui::ListBox*>(s.Show(kIntegSums).GetDlgItem(IDC_DIGITS));
    EXPECT_EQ(digits->GetCount(), 7);
    EXPECT_EQ(digits->GetTopIndex(), 3);
    EXPECT_EQ(dynamic_cast<ui::Button*>(s.Show(kIntegSums).GetDlgItem(IDC_VERTICAL))->GetCheck(), ui::BST_CHECKED);
    digits->SetTopIndex(5);
    s.Check(IDC_VERTICAL, false);
    s.Check(IDC_HORIZONTAL, true);
    EXPECT_TRUE(s.Apply());
    EXPECT_EQ(Get(a, "BaselineCircRadius"), 15);
    EXPECT_EQ(Get(a, "BaselineLineWidth"), 40);
    EXPECT_EQ(Get(a, "IntegSumsDigits"), 5);
    EXPECT_EQ(Get(a, "IntegSumsEscape"), 0);
  });
}

}  // namespace
}  // namespace nelvar_test
