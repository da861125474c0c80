// The control object: its menus by what it holds, its persistent state saved and loaded into a
// fresh control (and copied), the archive's boundaries, the per-kind bar state in the profile,
// accelerators and property pages.
#include <cmath>
#include <set>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/archive/archive.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/testing/hostitem.h"

namespace nelvar_test {
namespace {

using nelvar::testing::DumpSpcState;

std::string TopPopups(const ui::Menu& menu) {
  std::string text;
  for (int i = 0; i < menu.GetMenuItemCount(); ++i) text += menu.GetMenuString(static_cast<ui::UINT>(i), ui::MF_BYPOSITION) + "|";
  return text;
}

TEST_F(ControlTest, TheInPlaceMenuFollowsWhatTheRecordHolds) {
  CSpcControl& c = *NewControl();
  EXPECT_EQ(TopPopups(c.m_inPlaceMenu), "Spe&ctrum Edit|");
  EXPECT_EQ(c.m_inPlaceMenu.GetSubMenu(0)->GetMenuItemCount(), 1);
  GiveSpectrum(c, 0);
  EXPECT_EQ(TopPopups(c.m_inPlaceMenu), "Spe&ctrum Edit|&Spectrum View|&Process|&Analysis|");
  GiveSpectrum(c, 1, 4);
  EXPECT_EQ(TopPopups(c.m_inPlaceMenu), "Spe&ctrum Edit|&Spectrum View|&Analysis|");
  c.ClearData();
  EXPECT_EQ(TopPopups(c.m_inPlaceMenu), "Spe&ctrum Edit|");
  EXPECT_EQ(c.OnGetInPlaceMenu(), &c.m_inPlaceMenu);
}

TEST_F(ControlTest, AViewResetShowsTheWholeRangeOfEachKind) {
  CSpcControl& c = *NewControl();
  EXPECT_EQ(c.m_mouseMode, 2u);
  EXPECT_EQ(c.m_drawList.GetSize(), 0u);
  GiveSpectrum(c, 0, 512);
  EXPECT_GT(c.m_drawList.GetSize(), 0u);
  EXPECT_EQ(c.m_drawList.m_fLeftBound, 0.0f);
  EXPECT_EQ(c.m_drawList.m_fRightBound, 511.0f);
  EXPECT_EQ(c.m_drawList.m_fAmplitude, 1.0f);
  // Masses 100 .. 502 over 3 scans: a margin of 5 % of the span on each side, rounded up.
  GiveSpectrum(c, 1, 3);
  EXPECT_EQ(c.m_drawList.m_fLeftBound, std::ceil(100.0f - 0.05f * 402.0f));
  EXPECT_EQ(c.m_drawList.m_fRightBound, std::ceil(502.0f + 0.05f * 402.0f));
  EXPECT_FLOAT_EQ(c.m_drawList.m_fAmplitude, 0.9f);
}

// Everything the control persists, set away from its defaults.
void Customise(CSpcControl& c) {
  c.m_zoomHistory = {{10.0f, 200.0f}, {20.5f, 100.25f}};
  c.m_propertySet = 3;
  c.m_spectrumNumber = 7;
  c.m_propertyFolder = "/data/work/spectrum 1";
  c.m_linkUnit = 1;
  c.m_barStates = {{513, 4}, {505, 0}, {509, 6}};
  c.m_drawList.m_fLeftBound = 30.0f;
  c.m_drawList.m_fRightBound = 120.0f;
  c.m_drawList.m_zoomRegions = {{40.0f, 60.0f, 4.0f}};
  c.m_data.peaks = {50, 128};
  c.m_data.integrals = {{100, 140, 1.0f}};
  c.m_process.m_fPH0 = 12.5f;
  c.m_process.m_fPH1 = -30.0f;
  c.m_dockState.m_bars = {{506, 1, false, 0xE81B, 0, 12}, {512, 0, true, 0xE81E, 0, 0, {300, 200}, false}};
}

TEST_F(ControlTest, APersistedStateLoadsIntoAFreshControlWhole) {
  CSpcControl& source = *NewControl();
  GiveSpectrum(source, 0, 300);
  Customise(source);
  const std::vector<std::uint8_t> state = SavedState(source);
  const std::string dump = DumpSpcState(state);
  EXPECT_NE(dump.find("zoom history 10..200 20.5..100.25"), std::string::npos) << dump;
  EXPECT_NE(dump.find("bar states 505:0 509:6 513:4"), std::string::npos) << dump;
  EXPECT_NE(dump.find("folder=/data/work/spectrum 1"), std::string::npos) << dump;

  CSpcControl& copy = *NewControl();
  ASSERT_TRUE(copy.LoadState(state));
  EXPECT_EQ(copy.m_zoomHistory, source.m_zoomHistory);
  EXPECT_EQ(copy.m_barStates, source.m_barStates);
  EXPECT_EQ(copy.m_dockState, source.m_dockState);
  EXPECT_EQ(copy.m_propertySet, 3u);
  EXPECT_EQ(copy.m_linkUnit, 1u);
  EXPECT_EQ(TopPopups(copy.m_inPlaceMenu), TopPopups(source.m_inPlaceMenu));
  // A second save of the copy is the same state, byte for byte.
  EXPECT_EQ(SavedState(copy), state);

  CSpcControl& clone = *NewControl();
  ASSERT_TRUE(clone.SaveToGlobal(&source));
  EXPECT_EQ(DumpSpcState(SavedState(clone)), dump);
}

TEST_F(ControlTest, TheControlsArchiveStartsAndEndsWhereTheOuterOneStands) {
  CSpcControl& source = *NewControl();
  GiveSpectrum(source, 0, 64);
  plat::Archive out;
  out.writeU32(0xA5A5A5A5u);
  source.Serialize(out);
  out.writeU32(0x5A5A5A5Au);

  CSpcControl& copy = *NewControl();
  plat::Archive in(out.bytes());
  EXPECT_EQ(in.readU32(), 0xA5A5A5A5u);
  copy.Serialize(in);
  EXPECT_EQ(in.readU32(), 0x5A5A5A5Au);
  EXPECT_TRUE(in.atEnd());
}

TEST_F(ControlTest, AShortStateFailsAndLeavesTheControlEmpty) {
  CSpcControl& source = *NewControl();
  GiveSpectrum(source, 0, 64);
  Customise(source);
  std::vector<std::uint8_t> state = SavedState(source);
  state.resize(state.size() - 5);
  CSpcControl& target = *NewControl();
  GiveSpectrum(target, 0, 32);
  EXPECT_FALSE(target.LoadState(state));
  EXPECT_FALSE(target.HoldsData());
  EXPECT_TRUE(target.m_zoomHistory.empty());
  EXPECT_TRUE(target.m_barStates.empty());
  EXPECT_EQ(TopPopups(target.m_inPlaceMenu), "Spe&ctrum Edit|");
  EXPECT_EQ(DumpSpcState(state), "unreadable state\n");
}

TEST_F(ControlTest, TheBarStateOfAKindLivesInItsOwnSection) {
  {
    COrvProfDesc earlier(u"", u"NMR-Toolbars");
    OrvDeleteProfSection(&earlier);
  }
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0);
  EXPECT_EQ(c.BarStateSection(), "NMR-Toolbars");
  c.m_barStates = {{506, 4}, {511, 0}};
  c.ClearData();  // saves the outgoing kind's state
  {
    COrvProfDesc desc(u"", u"NMR-Toolbars");
    int flags = -1;
    EXPECT_EQ(OrvGetProfInt(u"506", &flags, -1, &desc), PROF_OK);
    EXPECT_EQ(flags, 4);
    // A value that names no bar is not read back as one.
    EXPECT_EQ(OrvSetProfInt(u"Note", 9, &desc), PROF_OK);
  }
  CSpcControl& next = *NewControl();
  next.LoadBarState();  // no data: nothing
  EXPECT_TRUE(next.m_barStates.empty());
  GiveSpectrum(next, 0);
  next.LoadBarState();
  EXPECT_EQ(next.m_barStates, (std::map<std::uint32_t, std::uint32_t>{{506, 4}, {511, 0}}));
  GiveSpectrum(next, 1, 3);
  EXPECT_EQ(next.BarStateSection(), "MASS-Toolbars");
}

TEST_F(ControlTest, AcceleratorsAndPagesComeFromTheModule) {
  CSpcControl& c = *NewControl();
  const auto& keys = c.m_accelerators.Entries();
  ASSERT_EQ(keys.size(), 14u);
  std::set<ui::WORD> commands;
  for (const ui::ACCEL& a : keys) commands.insert(a.cmd);
  EXPECT_EQ(commands, (std::set<ui::WORD>{40097, 40098, 40099, 40100, 40101, 40102, 40039, 40068, 40106, 40119, 40161,
                                         40162}));
  std::uint32_t count = 0;
  const plat::ole::Guid* pages = c.GetPropPageIDs(count);
  ASSERT_EQ(count, 13u);
  EXPECT_EQ(pages[0], CLSID_GeneralPropPage);
  EXPECT_EQ(pages[12], CLSID_MiscPropPage);
  std::uint32_t again = 0;
  EXPECT_EQ(c.GetPropPageIDs(again), pages);
  EXPECT_EQ(c.GetMiscStatus(), 0x30191u);
  EXPECT_EQ(c.GetClassID(), CLSID_Spc);
  EXPECT_EQ(c.GetUserTypeName(), u"Orvane Spectrum Control (Lite)");
}

TEST_F(ControlTest, TheControlAnswersItsCustomInterfacesWithOneIdentity) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 1, 3);
  ISpectrumControl* spc = nullptr;
  ISaItem* item = nullptr;
  ASSERT_EQ(c.QueryInterface(IID_ISpectrumControl, reinterpret_cast<void**>(&spc)), plat::ole::S_OK);
  ASSERT_EQ(spc->QueryInterface(IID_ISaItem, reinterpret_cast<void**>(&item)), plat::ole::S_OK);
  plat::ole::Bstr method = nullptr;
  EXPECT_EQ(spc->GetCurMethod(&method), plat::ole::S_OK);
  EXPECT_EQ(plat::ole::stringView(method), u"MASS");
  plat::ole::freeString(method);
  EXPECT_EQ(item->SelectPropertySet(2, 0), plat::ole::S_OK);
  std::uint32_t set = 0;
  EXPECT_EQ(item->GetPropertySet(&set), plat::ole::S_OK);
  EXPECT_EQ(set, 2u);
  item->Release();
  spc->Release();
}

TEST_F(ControlTest, ParameterTextsGoThroughTheControlsOwnInterface) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 1024);
  std::string text;
  EXPECT_TRUE(c.GetParamText("si", &text));
  EXPECT_EQ(text, "1024");
  EXPECT_FALSE(c.GetParamText("NOSUCH", &text));
  EXPECT_TRUE(c.SetParamText("TITLE", "  \"Ethyl acetate\" "));
  EXPECT_TRUE(c.GetParamText("TITLE", &text));
  EXPECT_EQ(text, "Ethyl acetate");
  std::string expr = "SI/2K";
  EXPECT_TRUE(c.EvaluateExpression(expr));
  EXPECT_EQ(expr, "0.500000");
  std::string joined = "\"Name: \"+TITLE";
  EXPECT_TRUE(c.ExpandStringExpression(joined));
  EXPECT_EQ(joined, "Name: Ethyl acetate");
}

TEST_F(ControlTest, TheControlIdentifiesAndCountsTheSpectraOfAFile) {
  CSpcControl& c = *NewControl();
  ISpectrumControl* spc = nullptr;
  ASSERT_EQ(c.QueryInterface(IID_ISpectrumControl, reinterpret_cast<void**>(&spc)), plat::ole::S_OK);
  const std::u16string sample = plat::toUtf16(SAMPLE_FID);
  plat::ole::Bstr format = nullptr, kinds = nullptr;
  ASSERT_EQ(spc->GetFileFormats(sample.c_str(), &format, &kinds), plat::ole::S_OK);
  EXPECT_EQ(plat::ole::stringView(format), u"JCAMP-DX");
  EXPECT_EQ(plat::ole::stringView(kinds), u"NMR");
  plat::ole::freeString(format);
  plat::ole::freeString(kinds);
  std::int32_t n = -1;
  EXPECT_EQ(spc->GetSpectraCount(sample.c_str(), &n), plat::ole::S_OK);
  EXPECT_EQ(n, 1);
  // A file that is not there: no format, outputs untouched, and no spectra.
  const std::u16string missing = plat::toUtf16(std::string(SAMPLE_FID) + ".none");
  format = kinds = nullptr;
  EXPECT_EQ(spc->GetFileFormats(missing.c_str(), &format, &kinds), plat::ole::E_FAIL);
  EXPECT_EQ(format, nullptr);
  EXPECT_EQ(kinds, nullptr);
  n = -1;
  EXPECT_EQ(spc->GetSpectraCount(missing.c_str(), &n), plat::ole::S_OK);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(spc->GetSpectraCount(nullptr, &n), plat::ole::S_OK);
  EXPECT_EQ(n, 0);
  spc->Release();
}

}  // namespace
}  // namespace nelvar_test
