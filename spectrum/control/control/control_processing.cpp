// The processing commands: transforms, window functions, phase, baseline, point operations and
// spectrum arithmetic, each one operation of the processing object on the record in place.
// Every handler tests its condition again, since a console word reaches it without the menu.
#include <algorithm>
#include <bit>

#include "common/guids.h"
#include "foundation/filedlg/fileopendlg.h"
#include "foundation/profdesc.h"
#include "platform/ui/styles.h"
#include "platform/ui/waitcursor.h"
#include "platform/ui/wnd.h"
#include "profile/profile.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/dialogs/valuedialogs.h"
#include "spectrum/control/module/command_ids.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/plot/plotdata.h"

using namespace nelvar;

namespace {

constexpr std::int32_t kFidDomain = 0;
constexpr std::int32_t kBaselineObject = 12;
constexpr std::uint32_t kPhaseNeverSaved = 0x7FE8;

// Variant by command: FT 0, RFT 1, CFT 2, BFT 3 (and the same for the inverse transforms).
std::int32_t ForwardVariant(ui::UINT id) {
  switch (id) {
    case ID_REAL_FT: return 1;
    case ID_COMPLEX_FT: return 2;
    case ID_BRUKER_FT: return 3;
    default: return 0;
  }
}
std::int32_t InverseVariant(ui::UINT id) {
  switch (id) {
    case ID_REAL_IT: return 1;
    case ID_COMPLEX_IT: return 2;
    case ID_BRUKER_IT: return 3;
    default: return 0;
  }
}

// The phase is kept as the bits of its floats, one DWORD each, in the module's own section.
void SavePhaseValue(const char16_t* name, std::uint32_t value) {
  COrvProfDesc desc;
  OrvSetProfDWord(name, value, &desc);
}
bool ReadPhaseValue(const char16_t* name, std::uint32_t* value) {
  COrvProfDesc desc;
  return OrvGetProfDWord(name, value, kPhaseNeverSaved, &desc) == PROF_OK;
}

}  // namespace

const ui::MsgEntry* CSpcControl::ProcessingMessages() {
  using C = CSpcControl;
  static const ui::MsgEntry entries[] = {
      ui::map::Command(ID_PROPERTIES, &C::OnPropertiesCommand),
      ui::map::CommandRange(ID_FOURIER_TRANSFORM, ID_COMPLEX_FT, &C::OnFourierTransform),
      ui::map::UpdateUIRange(ID_FOURIER_TRANSFORM, ID_COMPLEX_FT, &C::OnUpdateFidData),
      ui::map::CommandRange(ID_INVERSE_TRANSFORM, ID_INVERSE_TRANSFORM, &C::OnInverseTransform),
      ui::map::CommandRange(ID_REAL_IT, ID_COMPLEX_IT, &C::OnInverseTransform),
      ui::map::UpdateUI(ID_INVERSE_TRANSFORM, &C::OnUpdateSpectrumData),
      ui::map::UpdateUIRange(ID_REAL_IT, ID_COMPLEX_IT, &C::OnUpdateSpectrumData),
      ui::map::Command(ID_HILBERT_TRANSFORM, &C::OnHilbertTransform),
      ui::map::UpdateUI(ID_HILBERT_TRANSFORM, &C::OnUpdateSpectrumData),
      ui::map::CommandRange(ID_WAVELET_FIRST, ID_WAVELET_LAST, &C::OnWaveletTransform),
      ui::map::UpdateUIRange(ID_WAVELET_FIRST, ID_WAVELET_LAST, &C::OnUpdateFidData),
      ui::map::Command(ID_EXP_MULT, &C::OnExpMultiply),
      ui::map::UpdateUI(ID_EXP_MULT, &C::OnUpdateFidData),
      ui::map::Command(ID_GAUSS_MULT, &C::OnGaussMultiply),
      ui::map::UpdateUI(ID_GAUSS_MULT, &C::OnUpdateFidData),
      ui::map::Command(ID_AUTO_PHASE, &C::OnAutoPhase),
      ui::map::UpdateUI(ID_AUTO_PHASE, &C::OnUpdateSpectrumView),
      ui::map::Command(ID_QUICK_PHASE, &C::OnQuickPhase),
      ui::map::UpdateUI(ID_QUICK_PHASE, &C::OnUpdateSpectrumView),
      ui::map::Command(ID_ZERO_PHASE, &C::OnZeroPhase),
      ui::map::UpdateUI(ID_ZERO_PHASE, &C::OnUpdateSpectrumView),
      ui::map::Command(ID_SET_PIVOT, &C::OnSetPivot),
      ui::map::UpdateUI(ID_SET_PIVOT, &C::OnUpdateSetPivot),
      ui::map::Command(ID_SAVE_PHASE, &C::OnSavePhase),
      ui::map::Command(ID_RESTORE_PHASE, &C::OnRestorePhase),
      ui::map::Command(ID_SHOW_BASELINE, &C::OnShowBaseline),
      ui::map::UpdateUI(ID_SHOW_BASELINE, &C::OnUpdateShowBaseline),
      ui::map::Command(ID_BASELINE_CORRECTION, &C::OnBaselineCorrection),
      ui::map::UpdateUI(ID_BASELINE_CORRECTION, &C::OnUpdateBaselineCorrection),
      ui::map::Command(ID_BASELINE_ON, &C::OnBaselineOn),
      ui::map::UpdateUI(ID_BASELINE_ON, &C::OnUpdateSpectrumView),
      ui::map::Command(ID_AUTO_SELECT_POINTS, &C::OnAutoSelectPoints),
      ui::map::UpdateUI(ID_AUTO_SELECT_POINTS, &C::OnUpdateSpectrumData),
      ui::map::Command(ID_DESELECT_POINTS, &C::OnDeselectPoints),
      ui::map::UpdateUI(ID_DESELECT_POINTS, &C::OnUpdateDeselectPoints),
      ui::map::CommandRange(ID_BASELINE_METHOD_FIRST, ID_BASELINE_METHOD_LAST, &C::OnBaselineMethod),
      ui::map::UpdateUIRange(ID_BASELINE_METHOD_FIRST, ID_BASELINE_METHOD_LAST, &C::OnUpdateBaselineMethod),
      ui::map::Command(ID_REVERSE, &C::OnReverse),
      ui::map::UpdateUI(ID_REVERSE, &C::OnUpdateData),
      ui::map::CommandRange(ID_RIGHT_SHIFT, ID_LEFT_SHIFT, &C::OnShift),
      ui::map::UpdateUIRange(ID_RIGHT_SHIFT, ID_LEFT_SHIFT, &C::OnUpdateData),
      ui::map::Command(ID_NORMALIZE_DATA, &C::OnNormalizeData),
      ui::map::UpdateUI(ID_NORMALIZE_DATA, &C::OnUpdateSpectrumView),
      ui::map::Command(ID_RESIZE, &C::OnResize),
      ui::map::UpdateUI(ID_RESIZE, &C::OnUpdateSpectrumView),
      ui::map::CommandRange(ID_SUBTRACT_SPECTRUM, ID_ADD_SPECTRUM, &C::OnCombineFiles),
      ui::map::UpdateUIRange(ID_SUBTRACT_SPECTRUM, ID_ADD_SPECTRUM, &C::OnUpdateData),
      ui::map::Command(ID_CALCULATE_SPECTRUM, &C::OnCalculateSpectrum),
      ui::map::UpdateUI(ID_CALCULATE_SPECTRUM, &C::OnUpdateContainer),
      ui::map::Command(ID_NOTHING, &C::OnNothing),
      ui::map::UpdateUI(ID_NOTHING, &C::OnUpdateNothing),
      {},
  };
  return entries;
}

void CSpcControl::OnPropertiesCommand() {
  OnProperties(nullptr, ui::kNoWnd, nullptr);
  FinishCommand(kStepModified | kStepRefresh);
}

// ---- Transforms ----

void CSpcControl::OnFourierTransform(ui::UINT id) {
  if (!HoldsFidData()) return;
  const bool wasFid = m_data.nDomain == kFidDomain;
  m_process.FourierTransform(ForwardVariant(id));
  FinishCommand(kStepRebuild | (wasFid ? kStepFullSize : kStepModified | kStepRefresh));
}

void CSpcControl::OnInverseTransform(ui::UINT id) {
  if (!HoldsSpectrumData()) return;
  m_process.InverseTransform(InverseVariant(id));
  FinishCommand(kStepRebuild | kStepFullSize);
}

void CSpcControl::OnHilbertTransform() {
  if (!HoldsSpectrumData()) return;
  m_process.HilbertTransform();
  FinishCommand(kStepRebuild | kStepFullSize);
}

void CSpcControl::OnWaveletTransform(ui::UINT id) {
  if (!HoldsFidData()) return;
  const bool wasFid = m_data.nDomain == kFidDomain;
  m_process.WaveletTransform(static_cast<std::int32_t>(id - ID_WAVELET_FIRST));
  // The full view comes before the rebuild here: the wavelet picture is drawn at full size.
  if (wasFid) OnFullSize();
  FinishCommand(kStepRebuild | kStepModified | kStepRefresh);
}

// ---- Window functions ----

void CSpcControl::OnExpMultiply() {
  if (!HoldsFidData()) return;
  m_process.ExpMultiply();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnGaussMultiply() {
  if (!HoldsFidData()) return;
  m_process.GaussMultiply();
  FinishCommand(kStepModified | kStepRefresh);
}

// ---- Phase ----

void CSpcControl::OnAutoPhase() {
  if (!ShowsSpectrum()) return;
  ui::WaitCursor wait;
  m_process.AutoPhase();
  FinishCommand(kStepRebuild | kStepModified | kStepRefresh);
}

void CSpcControl::OnQuickPhase() {
  if (!ShowsSpectrum()) return;
  ui::WaitCursor wait;
  m_process.QuickPhase();
  FinishCommand(kStepRebuild | kStepModified | kStepRefresh);
}

void CSpcControl::OnZeroPhase() {
  if (!ShowsSpectrum()) return;
  m_process.m_fPH0 = 0.0f;
  m_process.m_fPH1 = 0.0f;
  m_process.UpdatePhase();
  FinishCommand(kStepRefresh);
}

void CSpcControl::OnSetPivot() {
  const std::int32_t cursor = FirstCursor();
  if (cursor < 0 || cursor >= m_process.m_nCur) return;
  m_process.m_nPivot = cursor;
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateSetPivot(ui::CmdUI* cmd) { cmd->Enable(FirstCursor() != -1); }

void CSpcControl::OnSavePhase() {
  SavePhaseValue(u"Phase 0", std::bit_cast<std::uint32_t>(m_process.m_fPH0));
  SavePhaseValue(u"Phase 1", std::bit_cast<std::uint32_t>(m_process.m_fPH1));
  SavePhaseValue(u"Phase Pivot", static_cast<std::uint32_t>(m_process.m_nPivot));
}

void CSpcControl::OnRestorePhase() {
  std::uint32_t ph0 = 0, ph1 = 0, pivot = 0;
  // A phase never saved is no phase to restore.
  if (!ReadPhaseValue(u"Phase 0", &ph0) || !ReadPhaseValue(u"Phase 1", &ph1) || !ReadPhaseValue(u"Phase Pivot", &pivot))
    return;
  // The saved phase is re-expressed at the current pivot: the processing object moves a phase
  // from its pivot to another, so it is given the saved pivot for the move.
  const std::int32_t current = m_process.m_nPivot;
  m_process.m_nPivot = static_cast<std::int32_t>(pivot);
  m_process.ChangePivot(std::bit_cast<float>(ph0), std::bit_cast<float>(ph1), current);
  m_process.m_nPivot = current;
  m_process.UpdatePhase();
  FinishCommand(kStepModified | kStepRefresh);
}

// ---- Baseline ----

void CSpcControl::OnShowBaseline() {
  CDrawObject* baseline = m_drawList.FindDrawObject(kBaselineObject);
  if (!baseline) return;
  baseline->m_bEnabled = !baseline->m_bEnabled;
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateShowBaseline(ui::CmdUI* cmd) {
  const CDrawObject* baseline = m_drawList.FindDrawObject(kBaselineObject);
  cmd->Enable(HoldsSpectrumData() && baseline);
  cmd->SetCheck(baseline && baseline->m_bEnabled ? 1 : 0);
}

void CSpcControl::OnBaselineCorrection() {
  if (!HoldsData()) return;
  m_process.SetBaselineCorrection(m_process.m_bBaseline == 0);
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateBaselineCorrection(ui::CmdUI* cmd) {
  cmd->Enable(HoldsSpectrumData());
  cmd->SetCheck(m_process.m_bBaseline ? 1 : 0);
}

void CSpcControl::OnBaselineOn() {
  if (!HoldsData()) return;
  m_process.SetBaselineCorrection(true);
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnAutoSelectPoints() {
  if (!HoldsData()) return;
  m_process.AutoSelectBaselinePoints();
  m_process.CalcBaseline();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnDeselectPoints() {
  if (!HoldsData()) return;
  m_process.m_basePoints.clear();
  m_process.CalcBaseLevel();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateDeselectPoints(ui::CmdUI* cmd) {
  cmd->Enable(ShowsSpectrum() && !m_process.m_basePoints.empty());
}

void CSpcControl::OnBaselineMethod(ui::UINT id) {
  if (!HoldsData()) return;
  m_process.SetBaselineMethod(static_cast<std::int32_t>(id - ID_BASELINE_METHOD_FIRST));
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateBaselineMethod(ui::CmdUI* cmd) {
  cmd->Enable(HoldsSpectrumData());
  cmd->SetCheck(m_process.m_nBaselineMethod == static_cast<std::int32_t>(cmd->m_nID - ID_BASELINE_METHOD_FIRST) ? 1 : 0);
}

// ---- Point operations ----

void CSpcControl::OnReverse() {
  if (!HoldsData()) return;
  m_process.Reverse();
  FinishCommand(kStepModified | kStepRefresh);
}

std::int32_t CSpcControl::CountArgument(std::int32_t start, bool resize) {
  if (!m_args.empty()) return m_args[0].GetLong();
  if (resize) {
    CSpcResizeDlg dialog(start, IsWindow() ? this : nullptr);
    return dialog.DoModal() == ui::IDOK ? dialog.m_nSize : 0;
  }
  CShiftDlg dialog(static_cast<std::uint32_t>(std::max(start, 0)), IsWindow() ? this : nullptr);
  if (dialog.DoModal() != ui::IDOK) return 0;
  return static_cast<std::int32_t>(std::min<std::uint32_t>(dialog.m_nPoints, INT32_MAX));
}

void CSpcControl::OnShift(ui::UINT id) {
  if (!HoldsData()) return;
  const std::int32_t n = CountArgument(0, false);
  // A shift by the whole length or more would only clear the points.
  if (n <= 0 || n >= m_process.m_nCur) return;
  if (id == ID_LEFT_SHIFT) m_process.ShiftLeft(static_cast<std::uint32_t>(n));
  else m_process.ShiftRight(static_cast<std::uint32_t>(n));
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

void CSpcControl::OnNormalizeData() {
  if (!HoldsSpectrumData()) return;
  m_process.Normalize(m_data.params.GetValue("NC").GetFloat());
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnResize() {
  if (!HoldsData()) return;
  const std::int32_t size = CountArgument(m_process.m_nCur, true);
  if (size <= 0 || static_cast<std::uint32_t>(size) > CSpcData::kMaxPoints) return;
  m_process.Resize(size, 0);
  FinishCommand(kStepRebuild | kStepFullSize | kStepSynchronize);
}

// ---- Spectrum arithmetic ----

std::vector<std::string> CSpcControl::ChooseFiles() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  CFileOpenDlg dialog;
  dialog.m_controlClasses = {CLSID_Spc};
  dialog.SetCurrentDirectory(SpcApp().m_loadDirectory);
  const int answer = dialog.DoModal({}, IsWindow() ? this : nullptr);
  SpcApp().m_loadDirectory = dialog.GetCurrentDirectory();
  std::vector<std::string> paths;
  if (answer == ui::IDOK)
    for (std::size_t i = 0; i < dialog.GetResultNames().size(); ++i) paths.push_back(dialog.GetPathName(i));
  dialog.DestroyWindow();
  return paths;
}

void CSpcControl::OnCombineFiles(ui::UINT id) {
  const float factor = id == ID_SUBTRACT_SPECTRUM ? 1.0f : -1.0f;
  for (const std::string& path : ChooseFiles()) {
    auto* other = new CSpcControl;
    if (plat::ole::succeeded(other->LoadFromPath(path, 0))) m_process.CombineSpectra(other->m_process, factor);
    other->Release();
  }
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnCalculateSpectrum() {
  if (!m_pOrvSite) return;
  std::vector<SiteItem> items;
  std::vector<std::string> names;
  for (const SiteItem& item : FileSpectrumItems())
    if (item.control->m_data.nKind == m_data.nKind) {
      items.push_back(item);
      names.push_back(item.control->m_data.strName);
    }
  CCalcSpcDlg dialog(names, IsWindow() ? this : nullptr);
  if (dialog.DoModal() != ui::IDOK) return;
  const auto inList = [&](int index) { return index >= 0 && static_cast<std::size_t>(index) < items.size(); };
  if (!inList(dialog.m_nFirst) || !inList(dialog.m_nSecond)) return;
  const float sign = dialog.m_nOperation == 1 ? 1.0f : -1.0f;
  auto* result = new CSpcControl;
  if (result->SaveToGlobal(items[static_cast<std::size_t>(dialog.m_nFirst)].control)) {
    result->m_process.CombineSpectra(items[static_cast<std::size_t>(dialog.m_nSecond)].control->m_process,
                                     sign * dialog.m_fFactor);
    SaItemRecord* made = m_pOrvSite->CreateItem(result->GetUnknown());
    if (const SaItemRecord* mine = m_pOrvSite->GetItemRecord(); made && mine) *made = *mine;
  }
  result->Release();
}
