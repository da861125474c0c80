// The view and multi-display commands: the visible range and its history, the vertical scale,
// zoom regions, display mode, dots, domain, scans and units; and, inside a container that
// offers IOrvClientSite, the commands over several spectrum items of one document (clone,
// tile, couple, synchronize); and the module's INI file opened in the text editor.
#include <algorithm>
#include <cmath>

#include "common/guids.h"
#include "platform/base/process.h"
#include "spectrum/control/control/plotedits.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/command_ids.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/labels/peaklabels.h"
#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/plotdata.h"

using namespace nelvar;

namespace {

constexpr std::int32_t kItemSpectrum = 1;   // item record type of a spectrum control item
constexpr std::int32_t kFromFile = 1;       // item record subtype of an item made from a file
constexpr std::int32_t kFromControl = 5;    // subtype of an item made by a control
constexpr std::int32_t kFidDomain = 0;
constexpr std::int32_t kSpectrumDomain = 1;

// Reaches the owner of a nested interface implementation (its accessor is protected).
struct NestedOwner : plat::ole::Nested<ISpectrumControl> {
  static plat::ole::ComObject& Of(const plat::ole::Nested<ISpectrumControl>& nested) {
    return (nested.*(&NestedOwner::outerObject))();
  }
};

}  // namespace

// The spectrum control behind an item's object, when it is one of this module's.
CSpcControl* CSpcControl::ControlOf(plat::ole::IUnknown* object) {
  if (!object) return nullptr;
  ISpectrumControl* spc = nullptr;
  if (plat::ole::failed(object->QueryInterface(IID_ISpectrumControl, reinterpret_cast<void**>(&spc))) || !spc)
    return nullptr;
  CSpcControl* control = nullptr;
  if (auto* nested = dynamic_cast<plat::ole::Nested<ISpectrumControl>*>(spc))
    control = dynamic_cast<CSpcControl*>(&NestedOwner::Of(*nested));
  spc->Release();
  return control;
}

std::vector<CSpcControl::SiteItem> CSpcControl::FileSpectrumItems() {
  std::vector<SiteItem> items;
  if (!m_pOrvSite) return items;
  plat::ole::IUnknown* object = nullptr;
  for (SaItemRecord* record = m_pOrvSite->GetFirstItem(&object); record;
       record = m_pOrvSite->GetNextItem(record, &object)) {
    if (record->type != kItemSpectrum || record->subtype != kFromFile) continue;
    if (CSpcControl* control = ControlOf(object)) items.push_back({record, control});
  }
  return items;
}

const ui::MsgEntry* CSpcControl::ViewMessages() {
  using C = CSpcControl;
  static const ui::MsgEntry entries[] = {
      ui::map::Command(ID_ZOOM_IN, &C::OnZoomIn),
      ui::map::UpdateUI(ID_ZOOM_IN, &C::OnUpdateZoomIn),
      ui::map::Command(ID_ZOOM_OUT, &C::OnZoomOut),
      ui::map::UpdateUI(ID_ZOOM_OUT, &C::OnUpdateFullSize),
      ui::map::Command(ID_FULL_SIZE, &C::OnFullSize),
      ui::map::UpdateUI(ID_FULL_SIZE, &C::OnUpdateFullSize),
      ui::map::Command(ID_SCROLL_LEFT, &C::OnScrollLeft),
      ui::map::UpdateUI(ID_SCROLL_LEFT, &C::OnUpdateScrollLeft),
      ui::map::Command(ID_SCROLL_RIGHT, &C::OnScrollRight),
      ui::map::UpdateUI(ID_SCROLL_RIGHT, &C::OnUpdateScrollRight),
      ui::map::Command(ID_OFFSET_UP, &C::OnOffsetUp),
      ui::map::Command(ID_OFFSET_DOWN, &C::OnOffsetDown),
      ui::map::Command(ID_AMPLITUDE_UP, &C::OnAmplitudeUp),
      ui::map::Command(ID_AMPLITUDE_DOWN, &C::OnAmplitudeDown),
      ui::map::Command(ID_ADD_YZOOM, &C::OnAddYZoom),
      ui::map::UpdateUI(ID_ADD_YZOOM, &C::OnUpdateRangeSource),
      ui::map::Command(ID_REMOVE_YZOOM, &C::OnRemoveYZoom),
      ui::map::UpdateUI(ID_REMOVE_YZOOM, &C::OnUpdateRemoveYZoom),
      ui::map::CommandRange(ID_SHOW_REALS, ID_SHOW_MAGNITUDE, &C::OnDisplayMode),
      ui::map::UpdateUIRange(ID_SHOW_REALS, ID_SHOW_MAGNITUDE, &C::OnUpdateDisplayMode),
      ui::map::CommandRange(ID_SHOW_POWER, ID_SHOW_POWER, &C::OnDisplayMode),
      ui::map::UpdateUIRange(ID_SHOW_POWER, ID_SHOW_POWER, &C::OnUpdateDisplayMode),
      ui::map::CommandRange(ID_SHOW_DOTS, ID_SHOW_LINE, &C::OnDots),
      ui::map::UpdateUIRange(ID_SHOW_DOTS, ID_SHOW_LINE, &C::OnUpdateDots),
      ui::map::Command(ID_SHOW_FID, &C::OnShowFid),
      ui::map::UpdateUI(ID_SHOW_FID, &C::OnUpdateShowFid),
      ui::map::Command(ID_SHOW_SPECTRUM, &C::OnShowSpectrum),
      ui::map::UpdateUI(ID_SHOW_SPECTRUM, &C::OnUpdateShowSpectrum),
      ui::map::CommandRange(ID_SCALE_UNIT_FIRST, ID_SCALE_UNIT_LAST, &C::OnScaleUnits),
      ui::map::UpdateUIRange(ID_SCALE_UNIT_FIRST, ID_SCALE_UNIT_LAST, &C::OnUpdateScaleUnits),
      ui::map::CommandRange(ID_PEAK_UNIT_FIRST, ID_PEAK_UNIT_LAST, &C::OnPeakUnits),
      ui::map::UpdateUIRange(ID_PEAK_UNIT_FIRST, ID_PEAK_UNIT_LAST, &C::OnUpdatePeakUnits),
      ui::map::CommandRange(ID_NEXT_SCAN, ID_PREVIOUS_SCAN, &C::OnScan),
      ui::map::UpdateUIRange(ID_NEXT_SCAN, ID_PREVIOUS_SCAN, &C::OnUpdateScan),
      ui::map::CommandRange(ID_FIRST_SCAN, ID_LAST_SCAN, &C::OnScan),
      ui::map::UpdateUIRange(ID_FIRST_SCAN, ID_LAST_SCAN, &C::OnUpdateScan),
      ui::map::Command(ID_CLEAR, &C::OnClear),
      ui::map::UpdateUI(ID_CLEAR, &C::OnUpdateData),
      ui::map::Command(ID_CLONE, &C::OnClone),
      ui::map::UpdateUI(ID_CLONE, &C::OnUpdateSelection),
      ui::map::Command(ID_LOAD_ADDITIONAL, &C::OnLoadAdditional),
      ui::map::UpdateUI(ID_LOAD_ADDITIONAL, &C::OnUpdateContainer),
      ui::map::Command(ID_TILE, &C::OnTile),
      ui::map::UpdateUI(ID_TILE, &C::OnUpdateContainer),
      ui::map::Command(ID_COUPLE, &C::OnCouple),
      ui::map::UpdateUI(ID_COUPLE, &C::OnUpdateContainer),
      ui::map::Command(ID_SYNCHRONIZE, &C::OnSynchronize),
      ui::map::UpdateUI(ID_SYNCHRONIZE, &C::OnUpdateSynchronize),
      ui::map::Command(ID_EDIT_CONFIGURATION, &C::OnEditConfiguration),
      {},
  };
  return entries;
}

// ---- Visible range ------------------------------------------------------------------------------

void CSpcControl::OnZoomIn() {
  CDrawObjectList& list = m_drawList;
  m_zoomHistory.push_back({list.m_fLeftBound, list.m_fRightBound});
  if (list.m_selection.IsRectEmpty()) {
    const float width = list.m_fRightBound - list.m_fLeftBound;
    if (width > 10.0f) {
      list.m_fLeftBound += width / 4.0f;
      list.m_fRightBound -= width / 4.0f;
    }
  } else {
    const double left = list.XToPos(list.m_selection.left);
    const double right = list.XToPos(list.m_selection.right);
    if (std::isfinite(left) && std::isfinite(right)) {
      list.m_fLeftBound = static_cast<float>(left);
      list.m_fRightBound = static_cast<float>(right);
    }
    list.m_selection.SetRectEmpty();
  }
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateZoomIn(ui::CmdUI* cmd) {
  cmd->Enable(m_drawList.m_fRightBound - m_drawList.m_fLeftBound > 10.0f);
}

void CSpcControl::OnZoomOut() {
  if (m_zoomHistory.empty()) return;
  m_drawList.m_fLeftBound = m_zoomHistory.back().left;
  m_drawList.m_fRightBound = m_zoomHistory.back().right;
  m_zoomHistory.pop_back();
  m_drawList.m_selection.SetRectEmpty();
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

void CSpcControl::OnFullSize() {
  m_drawList.m_selection.SetRectEmpty();
  if (m_data.nKind == kPlotKindMass && HoldsData()) {
    const float lo = m_process.GetMinMass();
    const float hi = m_process.GetMaxMass();
    const float w = (hi - lo) * 0.05f;
    m_drawList.m_fLeftBound = std::ceil(lo - w);
    m_drawList.m_fRightBound = std::ceil(hi + w);
  } else {
    m_drawList.m_fLeftBound = 0.0f;
    m_drawList.m_fRightBound = static_cast<float>(m_process.m_nCur - 1);
  }
  m_zoomHistory.clear();
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateFullSize(ui::CmdUI* cmd) {
  cmd->Enable(m_drawList.m_fRightBound - m_drawList.m_fLeftBound != static_cast<float>(m_process.m_nCur - 1));
}

void CSpcControl::OnScrollLeft() {
  CDrawObjectList& list = m_drawList;
  if (list.m_fLeftBound == 0.0f) return;
  float step = (list.m_fRightBound - list.m_fLeftBound) * 0.1f;
  if (list.m_fLeftBound - step < 0.0f) step = list.m_fLeftBound;
  list.m_fLeftBound -= step;
  list.m_fRightBound -= step;
  list.m_bHold = true;
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateScrollLeft(ui::CmdUI* cmd) { cmd->Enable(HoldsData() && m_drawList.m_fLeftBound > 0.0f); }

void CSpcControl::OnScrollRight() {
  CDrawObjectList& list = m_drawList;
  const float limit = static_cast<float>(m_process.m_nCur - 1);
  if (!(list.m_fRightBound < limit)) return;
  float step = (list.m_fRightBound - list.m_fLeftBound) * 0.1f;
  if (list.m_fRightBound + step > limit) step = limit - list.m_fRightBound;
  list.m_fLeftBound += step;
  list.m_fRightBound += step;
  list.m_bHold = true;
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateScrollRight(ui::CmdUI* cmd) {
  // As the handler: only while the view ends before the last point.
  cmd->Enable(HoldsData() && m_drawList.m_fRightBound < static_cast<float>(m_process.m_nCur - 1));
}

void CSpcControl::OnOffsetUp() {
  m_drawList.m_fVerticalOffset += 0.05f;
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnOffsetDown() {
  m_drawList.m_fVerticalOffset -= 0.05f;
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnAmplitudeUp() {
  m_drawList.m_fAmplitude *= 1.5f;
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

void CSpcControl::OnAmplitudeDown() {
  m_drawList.m_fAmplitude *= 0.6666667f;
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

// ---- Zoom regions ---------------------------------------------------------------------------------

void CSpcControl::OnAddYZoom() {
  std::int32_t from = 0, to = 0;
  if (!SelectionPoints(&from, &to)) return;
  float factor = 10.0f;
  if (!AskZoomValue(&factor)) return;
  spcedit::InsertZoomRegion(m_drawList.m_zoomRegions, static_cast<float>(from), static_cast<float>(to), factor);
  m_drawList.m_selection.SetRectEmpty();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnRemoveYZoom() {
  m_drawList.m_zoomRegions.clear();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateRemoveYZoom(ui::CmdUI* cmd) { cmd->Enable(!m_drawList.m_zoomRegions.empty()); }

// ---- Display ----------------------------------------------------------------------------------------

namespace {

std::int32_t DisplayModeOf(ui::UINT id) { return id == ID_SHOW_POWER ? 3 : static_cast<std::int32_t>(id - ID_SHOW_REALS); }

}  // namespace

void CSpcControl::OnDisplayMode(ui::UINT id) {
  if (HoldsData()) m_process.m_nDisplay = DisplayModeOf(id);
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateDisplayMode(ui::CmdUI* cmd) {
  cmd->Enable(HoldsData());
  cmd->SetCheck(m_process.m_nDisplay == DisplayModeOf(cmd->m_nID) ? 1 : 0);
}

void CSpcControl::OnDots(ui::UINT id) {
  m_drawList.m_bDots = id == ID_SHOW_DOTS;
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateDots(ui::CmdUI* cmd) { cmd->SetCheck(m_drawList.m_bDots == (cmd->m_nID == ID_SHOW_DOTS) ? 1 : 0); }

void CSpcControl::OnShowFid() {
  if (m_data.fid().empty() || m_data.nDomain != kSpectrumDomain) return;
  m_data.nDomain = kFidDomain;
  m_process.SelectData();
  FinishCommand(kStepRebuild | kStepFullSize);
}

void CSpcControl::OnUpdateShowFid(ui::CmdUI* cmd) {
  cmd->Enable(HoldsData() && !m_data.fid().empty());
  cmd->SetCheck(m_data.nDomain == kFidDomain ? 1 : 0);
}

void CSpcControl::OnShowSpectrum() {
  if ((m_data.spectrum().empty() && m_data.scans.empty()) || m_data.nDomain != kFidDomain) return;
  m_data.nDomain = kSpectrumDomain;
  m_process.SelectData();
  FinishCommand(kStepRebuild | kStepFullSize);
}

void CSpcControl::OnUpdateShowSpectrum(ui::CmdUI* cmd) {
  cmd->Enable(!m_data.spectrum().empty() || !m_data.scans.empty());
  cmd->SetCheck(m_data.nDomain == kSpectrumDomain ? 1 : 0);
}

void CSpcControl::OnScaleUnits(ui::UINT id) {
  if (!HoldsData()) return;
  if (auto* scale = dynamic_cast<CScale*>(m_drawList.FindDrawObject(kDrawScale)))
    scale->m_nUnit = static_cast<std::int32_t>(id - ID_SCALE_UNIT_FIRST);
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateScaleUnits(ui::CmdUI* cmd) {
  const std::int32_t unit = static_cast<std::int32_t>(cmd->m_nID - ID_SCALE_UNIT_FIRST);
  cmd->Enable((m_process.GetAvailableUnits() & (1u << unit)) != 0);
  // The unit that is drawn: a stored unit the record does not offer (an FID's "sec" after FT)
  // is drawn in the default one.
  const auto* scale = dynamic_cast<const CScale*>(m_drawList.FindDrawObject(kDrawScale));
  cmd->SetCheck(scale && m_drawList.UsableUnit(scale->m_nUnit) == unit ? 1 : 0);
}

void CSpcControl::OnPeakUnits(ui::UINT id) {
  if (!HoldsData()) return;
  const std::int32_t unit = static_cast<std::int32_t>(id - ID_PEAK_UNIT_FIRST);
  if (auto* peaks = dynamic_cast<CTPeaks*>(m_drawList.FindDrawObject(kDrawTPeaks))) peaks->m_nUnit = unit;
  if (auto* peaks = dynamic_cast<CMPeaks*>(m_drawList.FindDrawObject(kDrawMPeaks))) peaks->m_nUnit = unit;
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdatePeakUnits(ui::CmdUI* cmd) {
  const std::int32_t unit = static_cast<std::int32_t>(cmd->m_nID - ID_PEAK_UNIT_FIRST);
  cmd->Enable((m_process.GetAvailableUnits() & (1u << unit)) != 0);
  const auto* peaks = dynamic_cast<const CTPeaks*>(m_drawList.FindDrawObject(kDrawTPeaks));
  cmd->SetCheck(peaks && m_drawList.UsableUnit(peaks->m_nUnit) == unit ? 1 : 0);
}

// ---- Scans ---------------------------------------------------------------------------------------------

void CSpcControl::OnScan(ui::UINT id) {
  const std::int32_t current = m_process.m_nScan;
  const std::int32_t count = m_process.m_nScans;
  std::int32_t next = -1;
  if (id == ID_NEXT_SCAN && current + 1 < count) next = current + 1;
  else if (id == ID_PREVIOUS_SCAN && current > 0) next = current - 1;
  else if (id == ID_FIRST_SCAN && count != 0) next = 0;
  else if (id == ID_LAST_SCAN && count != 0) next = count - 1;
  if (next < 0) return;
  m_process.SetScan(next);
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateScan(ui::CmdUI* cmd) {
  const std::int32_t current = m_process.m_nScan;
  const std::int32_t count = m_process.m_nScans;
  switch (cmd->m_nID) {
    case ID_NEXT_SCAN: cmd->Enable(HoldsData() && current + 1 < count); break;
    case ID_PREVIOUS_SCAN: cmd->Enable(HoldsData() && current > 0); break;
    case ID_FIRST_SCAN: cmd->Enable(current != 0); break;
    default: cmd->Enable(current < count - 1); break;
  }
}

// ---- Clear -----------------------------------------------------------------------------------------------

void CSpcControl::OnClear() {
  ClearData();
  // The bar layouts of every method go with the data.
  m_barStates.clear();
  m_dockState.m_bars.clear();
  m_drawList.m_nPickCursor1 = -1;
  m_drawList.m_nPickCursor2 = -1;
  ResetView();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateData(ui::CmdUI* cmd) { cmd->Enable(HoldsData()); }

// ---- Configuration file ----------------------------------------------------------------------------------

void CSpcControl::OnEditConfiguration() {
  // The editor runs on its own; a failure to start it is not reported.
  plat::startProgram("notepad.exe", {SpcApp().IniPath()});
}

// ---- Multi display ---------------------------------------------------------------------------------------

void CSpcControl::OnClone() {
  if (!m_pOrvSite || m_drawList.m_selection.IsRectEmpty()) return;
  auto* copy = new CSpcControl;
  if (copy->SaveToGlobal(this)) {
    const double left = m_drawList.XToPos(m_drawList.m_selection.left);
    const double right = m_drawList.XToPos(m_drawList.m_selection.right);
    if (std::isfinite(left) && std::isfinite(right)) {
      copy->m_drawList.m_fLeftBound = static_cast<float>(left);
      copy->m_drawList.m_fRightBound = static_cast<float>(right);
    }
    copy->m_drawList.m_nBase = 0;
    SaItemRecord* made = m_pOrvSite->CreateItem(copy->GetUnknown());
    const SaItemRecord* mine = m_pOrvSite->GetItemRecord();
    if (made && mine) {
      const std::int32_t w = mine->right - mine->left;
      const std::int32_t h = mine->bottom - mine->top;
      made->left = mine->left + w / 10;
      made->top = mine->top + h / 10;
      made->right = mine->right - (mine->right - made->left) / 2;
      made->bottom = mine->bottom - (mine->bottom - made->top) / 2;
      made->type = kItemSpectrum;
      made->subtype = kFromControl;
      made->fromFile = 1;
    }
  }
  copy->Release();
  m_drawList.m_selection.SetRectEmpty();
  Refresh();
}

void CSpcControl::OnUpdateSelection(ui::CmdUI* cmd) { cmd->Enable(!m_drawList.m_selection.IsRectEmpty()); }

void CSpcControl::OnLoadAdditional() {
  if (!m_pOrvSite) return;
  for (const std::string& path : ChooseFiles()) {
    auto* loaded = new CSpcControl;
    // A file that does not load is skipped.
    if (plat::ole::succeeded(loaded->LoadFromPath(path, 0))) {
      SaItemRecord* made = m_pOrvSite->CreateItem(loaded->GetUnknown());
      const SaItemRecord* mine = m_pOrvSite->GetItemRecord();
      if (made && mine) {
        *made = *mine;
        OnTile();
      }
    }
    loaded->Release();
  }
}

void CSpcControl::OnTile() {
  const std::vector<SiteItem> items = FileSpectrumItems();
  const std::size_t n = items.size();
  for (std::size_t k = 0; k < n; ++k) {
    CSpcControl& item = *items[k].control;
    item.m_drawList.m_fTopMargin = static_cast<float>(k) / static_cast<float>(n);
    item.m_drawList.m_fBottomMargin = 1.0f - static_cast<float>(k + 1) / static_cast<float>(n);
    if (&item != this) {
      item.SetModifiedFlag();
      item.Refresh();
    }
  }
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnCouple() {
  for (const SiteItem& entry : FileSpectrumItems()) {
    entry.control->m_drawList.m_fTopMargin = 0.0f;
    entry.control->m_drawList.m_fBottomMargin = 0.0f;
    if (entry.control != this) {
      entry.control->SetModifiedFlag();
      entry.control->Refresh();
    }
  }
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateContainer(ui::CmdUI* cmd) { cmd->Enable(m_pOrvSite != nullptr); }

void CSpcControl::OnSynchronize() {
  m_linkUnit = m_linkUnit ? 0 : 1;
  for (const SiteItem& entry : FileSpectrumItems())
    if (entry.control != this && entry.control->m_data.nKind == m_data.nKind) entry.control->m_linkUnit = m_linkUnit;
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateSynchronize(ui::CmdUI* cmd) {
  cmd->Enable(m_pOrvSite != nullptr);
  cmd->SetCheck(m_linkUnit ? 1 : 0);
}

void CSpcControl::SynchronizeViews() {
  if (!m_pOrvSite || !m_linkUnit) return;
  auto point = [](float x) { return std::isfinite(x) ? static_cast<std::int32_t>(std::clamp(x, -2.0e9f, 2.0e9f)) : 0; };
  const float ppm0 = static_cast<float>(m_process.PointToPpm(point(m_drawList.m_fLeftBound)));
  const float ppm1 = static_cast<float>(m_process.PointToPpm(point(m_drawList.m_fRightBound)));
  for (const SiteItem& entry : FileSpectrumItems()) {
    CSpcControl& other = *entry.control;
    if (&other == this || other.m_data.nKind != m_data.nKind) continue;
    const std::int32_t count = other.m_process.m_nCur;
    const std::int32_t i = other.m_process.PpmToPoint(ppm0);
    const std::int32_t j = other.m_process.PpmToPoint(ppm1);
    if (0 <= i && i < count) other.m_drawList.m_fLeftBound = static_cast<float>(i);
    if (0 < j && j < count) other.m_drawList.m_fRightBound = static_cast<float>(j);
    other.m_drawList.m_fAmplitude = m_drawList.m_fAmplitude;
    other.SetModifiedFlag();
    other.Refresh();
  }
}
