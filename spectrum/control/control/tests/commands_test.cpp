// The command table as the control's user interface shows it, and the processing commands run
// through the command route against the processing object called directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <span>

#include "foundation/filedlg/fileopendlg.h"
#include "foundation/profdesc.h"
#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"
#include "platform/ui/msgmap.h"
#include "platform/ui/styles.h"
#include "platform/ui/responder.h"
#include "profile/profile.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/control/tests/spectrum_files.h"
#include "spectrum/control/dialogs/dialogids.h"
#include "spectrum/control/module/command_ids.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar_test {
namespace {

using namespace nelvar;

// One row of the command-UI matrix: the state of the command's menu item for an empty control,
// a FID, an NMR spectrum and a mass spectrum, one letter each: 'd' disabled, 'e' enabled,
// 'c' enabled and checked, 'x' disabled and checked. Each area adds its commands' rows here.
struct CommandRow {
  ui::UINT first;
  ui::UINT last;
  const char* states;  // empty, FID, NMR, MASS
};

const CommandRow kProcessingRows[] = {
    {ID_PROPERTIES, ID_PROPERTIES, "eeee"},
    {ID_FOURIER_TRANSFORM, ID_COMPLEX_FT, "dedd"},
    {ID_INVERSE_TRANSFORM, ID_HILBERT_TRANSFORM, "ddee"},
    {ID_REAL_IT, ID_COMPLEX_IT, "ddee"},
    {ID_WAVELET_FIRST, ID_WAVELET_LAST, "dedd"},
    {ID_EXP_MULT, ID_GAUSS_MULT, "dedd"},
    {ID_AUTO_PHASE, ID_QUICK_PHASE, "ddee"},
    {ID_ZERO_PHASE, ID_ZERO_PHASE, "ddee"},
    {ID_SET_PIVOT, ID_SET_PIVOT, "dddd"},
    {ID_SAVE_PHASE, ID_RESTORE_PHASE, "eeee"},
    {ID_SHOW_BASELINE, ID_SHOW_BASELINE, "ddee"},
    {ID_BASELINE_CORRECTION, ID_AUTO_SELECT_POINTS, "ddee"},
    {ID_BASELINE_ON, ID_BASELINE_ON, "ddee"},
    {ID_BASELINE_METHOD_FIRST, ID_BASELINE_METHOD_FIRST + 3, "ddee"},
    {ID_BASELINE_METHOD_FIRST + 4, ID_BASELINE_METHOD_FIRST + 4, "xxcc"},  // order 4 is the default
    {ID_BASELINE_METHOD_FIRST + 5, ID_BASELINE_METHOD_LAST, "ddee"},
    {ID_DESELECT_POINTS, ID_DESELECT_POINTS, "dddd"},
    {ID_REVERSE, ID_REVERSE, "deee"},
    {ID_RIGHT_SHIFT, ID_LEFT_SHIFT, "deee"},
    {ID_NORMALIZE_DATA, ID_NORMALIZE_DATA, "ddee"},
    {ID_RESIZE, ID_RESIZE, "ddee"},
    {ID_SUBTRACT_SPECTRUM, ID_ADD_SPECTRUM, "deee"},
    {ID_CALCULATE_SPECTRUM, ID_CALCULATE_SPECTRUM, "dddd"},  // no container here
    // Console rows without a handler.
    {ID_PHASE_CORRECT, ID_PHASE_PS, "dddd"},
    {ID_DL, ID_DH, "dddd"},
    {ID_WT, ID_WT, "dddd"},
    // An empty update: the item stays as it was made, enabled.
    {ID_NOTHING, ID_NOTHING, "eeee"},
};

// The view, multi-display, analysis and mouse-mode commands (no container, selection, cursor,
// peak or integral here).
const CommandRow kViewRows[] = {
    {ID_ZOOM_IN, ID_ZOOM_IN, "deee"},
    {ID_FULL_SIZE, ID_FULL_SIZE, "edde"},
    {ID_ZOOM_OUT, ID_ZOOM_OUT, "edde"},
    {ID_SCROLL_LEFT, ID_SCROLL_LEFT, "ddde"},
    {ID_SCROLL_RIGHT, ID_SCROLL_RIGHT, "dddd"},
    {ID_OFFSET_UP, ID_OFFSET_DOWN, "eeee"},
    {ID_AMPLITUDE_UP, ID_AMPLITUDE_DOWN, "eeee"},
    {ID_ADD_YZOOM, ID_REMOVE_YZOOM, "dddd"},
    {ID_SHOW_REALS, ID_SHOW_REALS, "xccc"},
    {ID_SHOW_IMAGINARIES, ID_SHOW_MAGNITUDE, "deee"},
    {ID_SHOW_POWER, ID_SHOW_POWER, "deee"},
    {ID_SHOW_DOTS, ID_SHOW_DOTS, "eeee"},
    {ID_SHOW_LINE, ID_SHOW_LINE, "cccc"},
    {ID_SHOW_FID, ID_SHOW_FID, "xcdd"},
    {ID_SHOW_SPECTRUM, ID_SHOW_SPECTRUM, "ddcc"},
    {ID_NEXT_SCAN, ID_NEXT_SCAN, "ddde"},
    {ID_PREVIOUS_SCAN, ID_PREVIOUS_SCAN, "dddd"},
    {ID_FIRST_SCAN, ID_FIRST_SCAN, "dddd"},
    {ID_LAST_SCAN, ID_LAST_SCAN, "ddde"},
    {ID_CLEAR, ID_CLEAR, "deee"},
    {ID_CLONE, ID_CLONE, "dddd"},
    {ID_LOAD_ADDITIONAL, ID_LOAD_ADDITIONAL, "dddd"},
    {ID_TILE, ID_COUPLE, "dddd"},
    {ID_EDIT_CONFIGURATION, ID_EDIT_CONFIGURATION, "eeee"},
    {ID_MODE_SELECTION, ID_MODE_SELECTION, "xccc"},
    {ID_MODE_PICKING, ID_MODE_PICKING, "deee"},
    {ID_MODE_PHASING, ID_MODE_PHASING, "ddee"},
    {ID_MODE_INTEGRATION, ID_MODE_INTEGRATION, "ddee"},
    {ID_MODE_TEXT, ID_MODE_TEXT, "ddee"},
};

const CommandRow kAnalysisRows[] = {
    {ID_PEAK_PICKING, ID_INTEGRATION, "dddd"},
    {ID_INTEGRATION_ALT, ID_INTEGRATION_ALT, "dddd"},
    {ID_CALC_AREA_INTEGRAL, ID_CLEAR_AREA, "dddd"},
    {ID_SET_INTEGRAL_SUM, ID_SET_INTEGRAL_SUM, "dddd"},
    {ID_AUTO_PEAK_PICKING, ID_AUTO_PEAK_PICKING, "ddee"},
    {ID_AUTO_INTEGRATION, ID_AUTO_INTEGRATION, "ddee"},
    {ID_DELETE_INTEGRAL, ID_DELETE_ALL_PEAKS, "dddd"},
    {ID_SET_INTEGRAL_VALUE, ID_SET_INTEGRAL_VALUE, "dddd"},
    {ID_COPY_PEAKS, ID_COPY_PEAKS, "dddd"},
    {ID_NORMALIZE_INTEGRALS, ID_NORMALIZE_INTEGRALS, "dddd"},
    {ID_COPY_INTEGRALS, ID_COPY_INTEGRALS, "dddd"},
    {ID_INTEGRAL_CORRECTION, ID_INTEGRAL_CORRECTION, "ddee"},
    {ID_CALIBRATE, ID_CALIBRATE, "dddd"},
    {ID_SET_PEAK_VALUE, ID_SET_PEAK_VALUE, "dddd"},
    {ID_EDIT_TEXT, ID_DELETE_TEXT, "eeee"},
    {ID_GENERATE_ION_PLOT, ID_GENERATE_ION_PLOT, "ddde"},
};

const std::span<const CommandRow> kMatrix[] = {kProcessingRows, kViewRows, kAnalysisRows};

char Letter(const ui::CommandState& s) {
  if (s.check) return s.enabled ? 'c' : 'x';
  return s.enabled ? 'e' : 'd';
}

class CommandsTest : public ControlTest {
 protected:
  CSpcControl& Fid() {
    CSpcControl& c = *NewControl();
    EXPECT_EQ(c.LoadFromPath(SAMPLE_FID, 0), plat::ole::S_OK);
    EXPECT_FALSE(c.m_data.fid().empty());
    return c;
  }
  CSpcControl& Spectrum(std::int32_t kind) {
    CSpcControl& c = *NewControl();
    GiveSpectrum(c, kind);
    return c;
  }
  static bool Run(CSpcControl& c, ui::UINT id) { return c.OnCmdMsg(id, ui::CN_COMMAND, nullptr, nullptr); }
  static void Args(CSpcControl& c, std::initializer_list<const char*> words) {
    c.m_args.clear();
    for (const char* w : words) {
      CVariant v;
      v.SetString(w);
      c.m_args.push_back(v);
    }
  }
  static void ExpectSamePoints(const CSpcData& a, const CSpcData& b) {
    for (int d = 0; d < 2; ++d) {
      ASSERT_EQ(a.data[d].size(), b.data[d].size()) << d;
      for (std::size_t i = 0; i < a.data[d].size(); ++i) {
        ASSERT_EQ(std::bit_cast<std::uint64_t>(a.data[d][i]), std::bit_cast<std::uint64_t>(b.data[d][i]))
            << "domain " << d << " point " << i;
      }
    }
    EXPECT_EQ(a.nDomain, b.nDomain);
  }
};

TEST_F(CommandsTest, TheCommandUiOfEachKindOfContentMatchesTheMatrix) {
  CSpcControl* controls[] = {NewControl(), &Fid(), &Spectrum(0), &Spectrum(1)};
  const char* names[] = {"empty", "FID", "NMR", "MASS"};
  for (std::span<const CommandRow> rows : kMatrix)
    for (const CommandRow& row : rows)
      for (ui::UINT id = row.first; id <= row.last; ++id)
        for (int k = 0; k < 4; ++k)
          EXPECT_EQ(Letter(ui::QueryCommandState(controls[k], id)), row.states[k]) << "command " << id << ", " << names[k];
}

TEST_F(CommandsTest, ProcessingThroughTheCommandRouteGivesThePointsOfTheDirectCalls) {
  CSpcControl& routed = Fid();
  CSpcControl& direct = Fid();
  // A line broadening, so that the window changes the points.
  CVariant lb;
  lb.SetDouble(1.5);
  direct.m_data.params.SetParam("LB", lb);
  routed.m_data.params.SetParam("LB", lb);
  direct.m_process.InitFromParams();
  routed.m_process.InitFromParams();

  for (ui::UINT id : {ID_EXP_MULT, ID_FOURIER_TRANSFORM, ID_AUTO_PHASE, ID_AUTO_SELECT_POINTS, ID_BASELINE_CORRECTION})
    ASSERT_TRUE(Run(routed, id)) << id;
  CSpcProcess& p = direct.m_process;
  p.ExpMultiply();
  p.FourierTransform(0);
  p.AutoPhase();
  p.AutoSelectBaselinePoints();
  p.CalcBaseline();
  p.SetBaselineCorrection(true);

  ExpectSamePoints(routed.m_data, direct.m_data);
  CSpcProcess& q = routed.m_process;
  EXPECT_EQ(q.m_fPH0, p.m_fPH0);
  EXPECT_EQ(q.m_fPH1, p.m_fPH1);
  EXPECT_EQ(q.m_basePoints, p.m_basePoints);
  EXPECT_EQ(q.m_baseline, p.m_baseline);
  ASSERT_EQ(q.m_nCur, p.m_nCur);
  ASSERT_GT(q.m_nCur, 0);
  for (std::int32_t i = 0; i < q.m_nCur; i += 97) ASSERT_EQ(q.GetDisplayValue(i), p.GetDisplayValue(i)) << i;
  // The forward transform left the FID view: the spectrum is shown whole and the item modified.
  EXPECT_EQ(routed.m_data.nDomain, 1);
  EXPECT_EQ(routed.m_drawList.m_fLeftBound, 0.0f);
  EXPECT_EQ(routed.m_drawList.m_fRightBound, static_cast<float>(q.m_nCur - 1));
  EXPECT_TRUE(routed.IsModified());
}

TEST_F(CommandsTest, GuardsHoldForCommandsThatArriveWhileTheirItemIsDisabled) {
  // FT on a spectrum without a FID, IT and phase on an empty control: nothing changes.
  CSpcControl& spectrum = Spectrum(0);
  const CSpcData before = spectrum.m_data;
  for (ui::UINT id : {ID_FOURIER_TRANSFORM, ID_EXP_MULT, ID_WAVELET_FIRST, ID_SET_PIVOT}) Run(spectrum, id);
  ExpectSamePoints(spectrum.m_data, before);
  EXPECT_FALSE(spectrum.IsModified());
  CSpcControl& empty = *NewControl();
  for (ui::UINT id : {ID_INVERSE_TRANSFORM, ID_AUTO_PHASE, ID_REVERSE, ID_RESIZE, ID_RIGHT_SHIFT, ID_BASELINE_CORRECTION})
    Run(empty, id);
  EXPECT_FALSE(empty.HoldsData());
  EXPECT_FALSE(empty.IsModified());
}

TEST_F(CommandsTest, AForwardTransformOfAShownSpectrumKeepsTheVisibleRange) {
  CSpcControl& c = Fid();
  ASSERT_TRUE(Run(c, ID_FOURIER_TRANSFORM));
  c.m_drawList.m_fLeftBound = 100.0f;
  c.m_drawList.m_fRightBound = 300.0f;
  ASSERT_TRUE(Run(c, ID_FOURIER_TRANSFORM));
  EXPECT_EQ(c.m_drawList.m_fLeftBound, 100.0f);
  EXPECT_EQ(c.m_drawList.m_fRightBound, 300.0f);
  // The inverse transform always shows the whole record.
  ASSERT_TRUE(Run(c, ID_INVERSE_TRANSFORM));
  EXPECT_EQ(c.m_drawList.m_fLeftBound, 0.0f);
}

TEST_F(CommandsTest, ShiftsTakeTheConsoleCountOrAskForIt) {
  CSpcControl& c = Spectrum(0);
  CSpcControl& reference = Spectrum(0);
  ui::ScriptedResponder responder(true);
  // A console argument: no dialog.
  Args(c, {"5"});
  ASSERT_TRUE(Run(c, ID_RIGHT_SHIFT));
  reference.m_process.ShiftRight(5);
  ExpectSamePoints(c.m_data, reference.m_data);
  EXPECT_TRUE(ui::ModalLog().empty());
  // No argument: the shift dialog, which starts at 0; its "12" shifts left by 12.
  c.m_args.clear();
  responder.Then(ui::ModalKind::Dialog, [](ui::ModalQuestion& q) {
    EXPECT_EQ(q.templateId, IDD_SHIFT);
    EXPECT_EQ(q.dialog->GetDlgItemText(IDC_POINTS), "0");
    q.dialog->SetDlgItemText(IDC_POINTS, "12");
    return ui::IDOK;
  });
  ASSERT_TRUE(Run(c, ID_LEFT_SHIFT));
  reference.m_process.ShiftLeft(12);
  ExpectSamePoints(c.m_data, reference.m_data);
  // Cancel, zero, and a count of the whole length or more do nothing.
  responder.ThenAnswer(ui::ModalKind::Dialog, ui::IDCANCEL);
  ASSERT_TRUE(Run(c, ID_LEFT_SHIFT));
  for (const char* n : {"0", "-3", "256", "100000"}) {
    Args(c, {n});
    Run(c, ID_RIGHT_SHIFT);
  }
  ExpectSamePoints(c.m_data, reference.m_data);
  EXPECT_EQ(responder.Unexpected(), 0);
}

TEST_F(CommandsTest, ResizeTakesTheConsoleSizeOrTheDialogsAndRefusesSizesOutOfRange) {
  CSpcControl& c = Spectrum(0);
  CSpcControl& reference = Spectrum(0);
  ui::ScriptedResponder responder(true);
  Args(c, {"512"});
  ASSERT_TRUE(Run(c, ID_RESIZE));
  reference.m_process.Resize(512, 0);
  ExpectSamePoints(c.m_data, reference.m_data);
  c.m_args.clear();
  responder.Then(ui::ModalKind::Dialog, [](ui::ModalQuestion& q) {
    EXPECT_EQ(q.dialog->GetDlgItemText(IDC_POINTS), "512");  // the current size
    q.dialog->SetDlgItemText(IDC_POINTS, "1024");
    return ui::IDOK;
  });
  ASSERT_TRUE(Run(c, ID_RESIZE));
  reference.m_process.Resize(1024, 0);
  ExpectSamePoints(c.m_data, reference.m_data);
  for (const char* n : {"0", "-1", "134217729"}) {
    Args(c, {n});
    Run(c, ID_RESIZE);
  }
  ExpectSamePoints(c.m_data, reference.m_data);
  EXPECT_EQ(responder.Unexpected(), 0);
}

TEST_F(CommandsTest, PhaseIsSavedAndRestoredThroughTheProfileAndZeroPhaseIsNoModification) {
  // Never saved: restoring leaves phase and pivot as they are.
  {
    COrvProfDesc desc;
    for (const char16_t* name : {u"Phase 0", u"Phase 1", u"Phase Pivot"}) OrvDeleteProfValue(name, &desc);
  }
  CSpcControl& c = Spectrum(0);
  CSpcProcess& p = c.m_process;
  p.m_fPH0 = 3.0f;
  p.m_nPivot = 40;
  ASSERT_TRUE(Run(c, ID_RESTORE_PHASE));
  EXPECT_EQ(p.m_fPH0, 3.0f);
  EXPECT_EQ(p.m_nPivot, 40);
  EXPECT_FALSE(c.IsModified());

  p.m_fPH0 = 12.5f;
  p.m_fPH1 = -30.25f;
  ASSERT_TRUE(Run(c, ID_SAVE_PHASE));
  EXPECT_FALSE(c.IsModified());  // saving changes nothing of the item
  {
    COrvProfDesc desc;
    std::uint32_t bits = 0;
    ASSERT_EQ(OrvGetProfDWord(u"Phase 0", &bits, 0, &desc), PROF_OK);
    EXPECT_EQ(std::bit_cast<float>(bits), 12.5f);
    ASSERT_EQ(OrvGetProfDWord(u"Phase Pivot", &bits, 0, &desc), PROF_OK);
    EXPECT_EQ(bits, 40u);
  }
  ASSERT_TRUE(Run(c, ID_ZERO_PHASE));
  EXPECT_EQ(p.m_fPH0, 0.0f);
  EXPECT_EQ(p.m_fPH1, 0.0f);
  EXPECT_FALSE(c.IsModified());
  ASSERT_TRUE(Run(c, ID_RESTORE_PHASE));
  EXPECT_EQ(p.m_fPH0, 12.5f);
  EXPECT_EQ(p.m_fPH1, -30.25f);
  EXPECT_TRUE(c.IsModified());

  // Restored at another pivot, the phase of every point stays that of the saved pivot.
  p.m_nPivot = 140;
  ASSERT_TRUE(Run(c, ID_RESTORE_PHASE));
  const double n = p.m_nCur;
  EXPECT_NEAR(p.m_fPH0, 12.5 + (140 - 40) * -30.25 / n, 1e-4);  // the saved phase at point 140
  EXPECT_NEAR(p.m_fPH1, -30.25, 1e-3);
}

TEST_F(CommandsTest, BaselineCommandsSwitchTheCorrectionTheMethodAndTheShownCurve) {
  CSpcControl& c = Spectrum(0);
  CSpcProcess& p = c.m_process;
  ASSERT_TRUE(Run(c, ID_BASELINE_CORRECTION));
  EXPECT_NE(p.m_bBaseline, 0);
  EXPECT_EQ(ui::QueryCommandState(&c, ID_BASELINE_CORRECTION).check, 1);
  ASSERT_TRUE(Run(c, ID_BASELINE_CORRECTION));
  EXPECT_EQ(p.m_bBaseline, 0);
  ASSERT_TRUE(Run(c, ID_BASELINE_ON));
  EXPECT_NE(p.m_bBaseline, 0);
  ASSERT_TRUE(Run(c, ID_BASELINE_METHOD_FIRST + 2));
  EXPECT_EQ(p.m_nBaselineMethod, 2);
  EXPECT_EQ(ui::QueryCommandState(&c, ID_BASELINE_METHOD_FIRST + 2).check, 1);
  EXPECT_EQ(ui::QueryCommandState(&c, ID_BASELINE_METHOD_FIRST + 4).check, 0);

  ASSERT_TRUE(Run(c, ID_AUTO_SELECT_POINTS));
  ASSERT_FALSE(p.m_basePoints.empty());
  EXPECT_TRUE(ui::QueryCommandState(&c, ID_DESELECT_POINTS).enabled);
  ASSERT_TRUE(Run(c, ID_DESELECT_POINTS));
  EXPECT_TRUE(p.m_basePoints.empty());
  EXPECT_FALSE(ui::QueryCommandState(&c, ID_DESELECT_POINTS).enabled);

  CDrawObject* curve = c.m_drawList.FindDrawObject(12);
  ASSERT_NE(curve, nullptr);
  const bool shown = curve->m_bEnabled;
  ASSERT_TRUE(Run(c, ID_SHOW_BASELINE));
  EXPECT_EQ(curve->m_bEnabled, !shown);
  EXPECT_EQ(ui::QueryCommandState(&c, ID_SHOW_BASELINE).check, shown ? 0 : 1);
}

TEST_F(CommandsTest, NormalizeDividesByTheParameterAndIgnoresAMissingOne) {
  CSpcControl& c = Spectrum(0);
  const CSpcData before = c.m_data;
  ASSERT_TRUE(Run(c, ID_NORMALIZE_DATA));  // no "NC"
  ExpectSamePoints(c.m_data, before);
  c.m_data.params.Append("NC", 4.0);
  CSpcControl& reference = Spectrum(0);
  reference.m_process.Normalize(4.0f);
  ASSERT_TRUE(Run(c, ID_NORMALIZE_DATA));
  ExpectSamePoints(c.m_data, reference.m_data);
}

TEST_F(CommandsTest, PropertiesMarkTheItemModifiedWhateverThePagesDo) {
  // No page class is registered in a registry of the test's own: no page can be made and no
  // frame shows.
  OwnRegistry registry;
  CSpcControl& c = Spectrum(0);
  ui::ScriptedResponder responder(true);
  ASSERT_TRUE(Run(c, ID_PROPERTIES));
  EXPECT_EQ(responder.Unexpected(), 0);
  EXPECT_TRUE(c.IsModified());
}

// The commands of a menu and its popups with their texts, popup by popup.
std::vector<std::pair<std::string, std::vector<std::pair<ui::UINT, std::string>>>> MenuItems(ui::UINT resource) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  ui::Menu menu;
  EXPECT_TRUE(menu.LoadMenu(resource));
  std::vector<std::pair<std::string, std::vector<std::pair<ui::UINT, std::string>>>> popups;
  for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
    ui::Menu* popup = menu.GetSubMenu(i);
    if (!popup) continue;
    auto& items = popups.emplace_back(menu.GetMenuString(static_cast<ui::UINT>(i), ui::MF_BYPOSITION),
                                      std::vector<std::pair<ui::UINT, std::string>>()).second;
    for (int k = 0; k < popup->GetMenuItemCount(); ++k)
      if (const ui::UINT id = popup->GetMenuItemID(k); id != 0)
        items.emplace_back(id, popup->GetMenuString(static_cast<ui::UINT>(k), ui::MF_BYPOSITION));
  }
  return popups;
}

TEST_F(CommandsTest, TheMenusOfEachContentHoldTheirPopupsAndTheMassMenuASubset) {
  const auto full = MenuItems(IDR_SPCMENU);
  const auto mass = MenuItems(IDR_MASSMENU);
  const auto empty = MenuItems(IDR_EMPTYMENU);
  std::vector<std::string> titles;
  for (const auto& [title, items] : full) titles.push_back(title);
  EXPECT_EQ(titles, (std::vector<std::string>{"Spe&ctrum Edit", "&Spectrum View", "&Process", "&Analysis"}));
  titles.clear();
  for (const auto& [title, items] : mass) titles.push_back(title);
  EXPECT_EQ(titles, (std::vector<std::string>{"Spe&ctrum Edit", "&Spectrum View", "&Analysis"}));
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_EQ(empty[0].second, (std::vector<std::pair<ui::UINT, std::string>>{{ID_IMPORT_FILE, "&Import File\tIF"}}));

  std::map<ui::UINT, std::string> fullTexts;
  for (const auto& [title, items] : full)
    for (const auto& [id, text] : items) {
      EXPECT_TRUE(id >= ID_COMMAND_FIRST && id <= ID_COMMAND_LAST) << id;
      EXPECT_TRUE(fullTexts.emplace(id, text).second) << "twice: " << id;
    }
  EXPECT_EQ(fullTexts.size(), 102u);
  EXPECT_EQ(fullTexts[ID_WAVELET_LAST], "Daubechies 20");
  EXPECT_EQ(fullTexts[ID_BASELINE_METHOD_LAST], "6-th Order\tCM6");
  // Every item of the mass menu stands in the full one with the same text, but the ion plot.
  for (const auto& [title, items] : mass)
    for (const auto& [id, text] : items)
      if (id != ID_GENERATE_ION_PLOT) {
        EXPECT_EQ(fullTexts[id], text) << id;
      }
  EXPECT_FALSE(fullTexts.count(ID_GENERATE_ION_PLOT));
}

TEST_F(CommandsTest, TheAcceleratorsAreTheTableOfTheControl) {
  struct Key {
    ui::BYTE flags;
    ui::WORD key;
    ui::UINT id;
  };
  constexpr ui::BYTE kCtrl = ui::FVIRTKEY | ui::FCONTROL;
  const Key expected[] = {
      {kCtrl, ui::VK_ADD, ID_AMPLITUDE_UP},      {kCtrl, ui::VK_OEM_PLUS, ID_AMPLITUDE_UP},
      {kCtrl, ui::VK_SUBTRACT, ID_AMPLITUDE_DOWN}, {kCtrl, ui::VK_OEM_MINUS, ID_AMPLITUDE_DOWN},
      {kCtrl, ui::VK_LEFT, ID_SCROLL_LEFT},      {kCtrl, ui::VK_RIGHT, ID_SCROLL_RIGHT},
      {kCtrl, ui::VK_UP, ID_OFFSET_UP},          {kCtrl, ui::VK_DOWN, ID_OFFSET_DOWN},
      {kCtrl, 'I', ID_INTEGRATION},              {kCtrl, 'G', ID_CALIBRATE},
      {kCtrl, 'S', ID_CALC_SUM_INTEGRALS},       {kCtrl, 'T', ID_MODE_TEXT},
      {ui::FVIRTKEY, ui::VK_NEXT, ID_NEXT_SCAN}, {ui::FVIRTKEY, ui::VK_PRIOR, ID_PREVIOUS_SCAN},
  };
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  const ui::AccelTable table = ui::AccelTable::Load(IDR_ACCELERATORS);
  ASSERT_EQ(table.Entries().size(), std::size(expected));
  for (const Key& k : expected) {
    const auto match = std::find_if(table.Entries().begin(), table.Entries().end(), [&](const ui::ACCEL& a) {
      return a.fVirt == k.flags && a.key == k.key && a.cmd == k.id;
    });
    EXPECT_NE(match, table.Entries().end()) << k.id;
  }
}

TEST_F(CommandsTest, SubtractAndAddCombineEveryChosenFileInTheListsOrder) {
  const std::string dir = ScratchFolder("combine");
  WriteFile(dir, "a.dx", XyBlock("INFRARED SPECTRUM", 8));
  WriteFile(dir, "b.dx", XyBlock("INFRARED SPECTRUM", 8, 5));
  WriteFile(dir, "c.dx", XyBlock("INFRARED SPECTRUM", 8, 7));
  const auto load = [&](const std::string& name) -> CSpcControl& {
    CSpcControl& c = *NewControl();
    EXPECT_EQ(c.LoadFromPath(plat::joinPath(dir, name), 0), plat::ole::S_OK);
    return c;
  };
  CSpcControl& c = load("a.dx");
  const CSpcControl& b = load("b.dx");
  const CSpcControl& d = load("c.dx");
  const std::vector<CSpcPoint> before = c.m_data.spectrum();
  ui::ScriptedResponder responder(true);
  const auto choose = [&](std::vector<std::string> names) {
    responder.Then(ui::ModalKind::Window, [&, names](ui::ModalQuestion& q) {
      auto* dialog = dynamic_cast<CFileOpenDlg*>(q.window);
      if (!dialog) return ui::IDCANCEL;
      dialog->SetCurrentDirectory(dir);
      EXPECT_TRUE(ui::App::PumpUntil([&] { return dialog->IsListingComplete(); }, 60000));
      ui::ListCtrl& files = dialog->FileList();
      // The rows as the listing shows recognised files.
      for (const std::string& name : names) {
        int row = -1;
        for (int i = 0; i < files.GetItemCount(); ++i)
          if (files.GetItemText(i, 0) == name) row = i;
        if (row < 0) row = files.InsertItem(files.GetItemCount(), name);
        files.SetItemState(row, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
      }
      if (auto* ok = dynamic_cast<ui::Button*>(dialog->BottomBar().GetDlgItem(static_cast<ui::UINT>(ui::IDOK)))) ok->Click();
      return ui::IDOK;
    });
  };
  choose({"b.dx", "c.dx"});
  ASSERT_TRUE(Run(c, ID_SUBTRACT_SPECTRUM));
  const std::vector<CSpcPoint>& after = c.m_data.spectrum();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i)
    EXPECT_FLOAT_EQ(after[i].re, before[i].re - b.m_data.spectrum()[i].re - d.m_data.spectrum()[i].re) << i;
  EXPECT_TRUE(c.IsModified());
  choose({"b.dx"});
  ASSERT_TRUE(Run(c, ID_ADD_SPECTRUM));
  for (std::size_t i = 0; i < after.size(); ++i)
    EXPECT_FLOAT_EQ(after[i].re, before[i].re - d.m_data.spectrum()[i].re) << i;
  // Cancelled: nothing combined.
  responder.ThenAnswer(ui::ModalKind::Window, ui::IDCANCEL);
  const std::vector<CSpcPoint> kept = after;
  ASSERT_TRUE(Run(c, ID_ADD_SPECTRUM));
  for (std::size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i].re, kept[i].re);
  EXPECT_EQ(responder.Unexpected(), 0);
}

}  // namespace
}  // namespace nelvar_test
