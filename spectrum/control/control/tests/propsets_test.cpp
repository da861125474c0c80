// Property sets through ISaItem: the outgoing set's appearance kept in memory, a set without a
// snapshot rebuilt from the defaults and its stored values (registry below the method name, or
// the spectrum folder's "properties" file), and the redraw rule.
#include <cstdlib>
#include <string>

#include "foundation/profdesc.h"
#include "platform/com/driver.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/gdi/surface.h"
#include "profile/profile.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/plot/axes.h"
#include "spectrum/convert/spcconvert.h"

namespace nelvar_test {
namespace {

constexpr std::uint32_t kSet = 1;

// Stores one dispatch property value in a section, replacing what the section held.
void StoreValue(COrvProfDesc& desc, const char16_t* name, std::uint32_t value) {
  OrvDeleteProfSection(&desc);
  ASSERT_EQ(desc.Create(PROF_MODE_ALL, 0), PROF_OK);
  ASSERT_EQ(OrvSetProfDWord(name, value, &desc), PROF_OK);
  desc.Close();
}

void StoreRegistryValue(const char16_t* section, const char16_t* name, std::uint32_t value) {
  COrvProfDesc desc(u"", section);
  StoreValue(desc, name, value);
}

void RemoveRegistrySection(const char16_t* section) {
  COrvProfDesc desc(u"", section);
  OrvDeleteProfSection(&desc);
}

// Every appearance property as text, read through the dispatch interface (fonts by face and
// size).
std::string Appearance(CSpcControl& c) {
  using namespace plat::ole;
  DispatchDriver driver(c.GetIDispatch(false));
  std::string text;
  for (DispId id = 1; id <= 60; ++id) {
    Variant v;
    variantInit(&v);
    EXPECT_EQ(driver.getProperty(id, &v), S_OK);
    text += std::to_string(id) + "=";
    if (v.vt == VT_DISPATCH && v.dispatch) {
      DispatchDriver font(v.dispatch);
      for (const char16_t* name : {u"Name", u"Size"}) {
        DispId member = 0;
        Variant field;
        variantInit(&field);
        font.idOfName(name, &member);
        font.getProperty(member, &field);
        text += field.vt == VT_BSTR ? plat::toUtf8(stringView(field.bstr)) : std::to_string(field.cy);
        text += "/";
        variantClear(&field);
      }
      font.detach();
    } else if (v.vt == VT_BSTR) {
      text += v.bstr ? plat::toUtf8(stringView(v.bstr)) : "null";
    } else {
      text += std::to_string(v.vt == VT_BOOL ? v.boolean : v.i32);
    }
    text += " ";
    variantClear(&v);
  }
  driver.detach();
  return text;
}

gdi::COLORREF GridColor(CSpcControl& c) {
  return static_cast<CGrid*>(c.m_drawList.FindDrawObject(kDrawGrid))->m_linePen.lopnColor;
}

class PropertySets : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    RemoveRegistrySection(u"NMR\\Properties 1");
    RemoveRegistrySection(u"TIC\\Properties 1");
    RemoveRegistrySection(u"\\Properties 1");
  }
  std::uint32_t Current(CSpcControl& c) {
    std::uint32_t set = 99;
    EXPECT_EQ(c.SaItem()->GetPropertySet(&set), plat::ole::S_OK);
    return set;
  }
  void Paint(CSpcControl& c) {
    gdi::RasterSurface surface(200, 100);
    gdi::DC dc(surface);
    c.m_painter.OnDraw(dc, gdi::Rect(0, 0, 200, 100), {});
    ASSERT_TRUE(c.m_painter.HasCachedBitmap());
  }
};

TEST_F(PropertySets, SelectingTheCurrentSetChangesNothingAndDoesNotRedraw) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0);
  EXPECT_EQ(Current(c), 0u);
  c.SetGridLineColor(0x123456);
  const auto before = Appearance(c);
  Paint(c);
  EXPECT_EQ(c.SaItem()->SelectPropertySet(0, 1), plat::ole::S_OK);
  EXPECT_EQ(Appearance(c), before);
  EXPECT_TRUE(c.m_painter.HasCachedBitmap());
  EXPECT_TRUE(c.m_propertySnapshots.empty());
}

TEST_F(PropertySets, ANewSetReadsTheRegistryOnceThenItsSnapshotAndSwitchingBackRestoresEachSet) {
  StoreRegistryValue(u"NMR\\Properties 1", u"GridLineColor", 0x00ABCDEF);
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0);
  // Set 0 as the pages left it.
  c.SetScaleTextColor(0x00000077);
  c.SetTitleText(u"set zero");
  const auto setZero = Appearance(c);

  Paint(c);
  EXPECT_EQ(c.SaItem()->SelectPropertySet(kSet, 0), plat::ole::S_OK);
  EXPECT_EQ(Current(c), kSet);
  EXPECT_EQ(GridColor(c), 0x00ABCDEFu);
  // Everything the section does not name is at its default again.
  CSpcControl& fresh = *NewControl();
  GiveSpectrum(fresh, 0);
  fresh.SetGridLineColor(0x00ABCDEF);
  EXPECT_EQ(Appearance(c), Appearance(fresh));
  c.SetBorderLineWidth(60);
  const auto setOne = Appearance(c);

  // Back and forth: each set exactly as it was left, and set 1 no longer from the registry.
  StoreRegistryValue(u"NMR\\Properties 1", u"GridLineColor", 0x00000001);
  c.SaItem()->SelectPropertySet(0, 1);
  EXPECT_EQ(Appearance(c), setZero);
  Paint(c);
  c.SaItem()->SelectPropertySet(kSet, 1);
  EXPECT_FALSE(c.m_painter.HasCachedBitmap());  // redraw asked
  EXPECT_EQ(Appearance(c), setOne);

  // Without snapshots the store is read again.
  c.SaItem()->SelectPropertySet(0, 0);
  c.FreePropertySnapshots();
  c.SaItem()->SelectPropertySet(kSet, 0);
  EXPECT_EQ(GridColor(c), 0x00000001u);
}

TEST_F(PropertySets, ASetWithoutStoredValuesTakesTheDefaultsAndRedrawsOnlyWhenAsked) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0);
  CSpcControl& defaults = *NewControl();
  GiveSpectrum(defaults, 0);
  c.SetGridLineColor(0x00FF00FF);
  Paint(c);
  c.SaItem()->SelectPropertySet(kSet, 0);
  EXPECT_EQ(Appearance(c), Appearance(defaults));
  EXPECT_TRUE(c.m_painter.HasCachedBitmap());
  // A snapshot that does not read back counts as none.
  c.SetGridLineColor(0x00FF00FF);
  c.m_propertySnapshots[2] = {0x63, 0, 0, 0, 1};
  EXPECT_EQ(c.SaItem()->SelectPropertySet(2, 0), plat::ole::S_OK);
  EXPECT_EQ(Appearance(c), Appearance(defaults));
}

TEST_F(PropertySets, KindsWithoutAKindNameReadTheSectionOfTheirMethodName) {
  // Where the General page's Set As Default writes for a TIC: below "TIC".
  StoreRegistryValue(u"TIC\\Properties 1", u"GridLineColor", 0x00001111);
  StoreRegistryValue(u"\\Properties 1", u"GridLineColor", 0x00002222);
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, kSpcKindTic);
  c.SaItem()->SelectPropertySet(kSet, 0);
  EXPECT_EQ(GridColor(c), 0x00001111u);
  // A kind outside the kind table has no method name: the section below the root itself.
  c.SaItem()->SelectPropertySet(0, 0);
  c.FreePropertySnapshots();
  c.m_data.nKind = 99;
  c.SaItem()->SelectPropertySet(kSet, 0);
  EXPECT_EQ(GridColor(c), 0x00002222u);
}

TEST_F(PropertySets, AControlFromASpectrumFolderReadsItsSetFromTheFoldersPropertiesFile) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string folder = std::string(scratch && *scratch ? scratch : "/tmp") + "/propsets_folder";
  plat::makeDirectories(folder);
  COrvProfDesc file(plat::toUtf16(plat::joinPath(folder, "properties")).c_str(), u"\\CONTROL_2\\1");
  file.SetIni(true);
  StoreValue(file, u"GridLineColor", 0x00003333);
  StoreRegistryValue(u"NMR\\Properties 1", u"GridLineColor", 0x00004444);

  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0);
  c.m_propertyFolder = folder;
  c.m_spectrumNumber = 2;
  c.SaItem()->SelectPropertySet(kSet, 0);
  EXPECT_EQ(GridColor(c), 0x00003333u);
  // Another spectrum of the folder has no section for the set: the defaults.
  c.m_spectrumNumber = 3;
  c.SaItem()->SelectPropertySet(0, 0);
  c.FreePropertySnapshots();
  c.SaItem()->SelectPropertySet(kSet, 0);
  CSpcControl& defaults = *NewControl();
  GiveSpectrum(defaults, 0);
  EXPECT_EQ(GridColor(c), GridColor(defaults));
}

TEST_F(PropertySets, AForcedReloadRebuildsTheSetWithoutKeepingTheShownAppearance) {
  StoreRegistryValue(u"NMR\\Properties 1", u"GridLineColor", 0x00005555);
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0);
  c.m_propertySet = kSet;
  c.SetGridLineColor(0x00000009);  // what a restore left before the set was applied
  c.m_propertySet = static_cast<std::uint32_t>(-1);
  EXPECT_EQ(Current(c), static_cast<std::uint32_t>(-1));
  c.SaItem()->SelectPropertySet(kSet, 0);
  EXPECT_EQ(Current(c), kSet);
  EXPECT_EQ(GridColor(c), 0x00005555u);
  EXPECT_TRUE(c.m_propertySnapshots.empty());
}

}  // namespace
}  // namespace nelvar_test
