// The control's core: identity, construction and destruction, window creation and destruction,
// the view reset, the menus by what the record holds, the accelerators.
#include <algorithm>
#include <cmath>

#include "common/guids.h"
#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/control/typelib.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/plot/plotdata.h"

using namespace plat::ole;

namespace {

constexpr plat::DWord kSpcMiscStatus = 0x30191;
constexpr std::uint32_t kModeSelection = 2;

}  // namespace

UI_IMPLEMENT_DYNAMIC(CSpcControl, COleControlEx)

const ComObject::InterfaceEntry CSpcControl::kEntries[] = {
    interfaceEntry<ISaItem, &CSpcControl::m_xSaItem>(IID_ISaItem),
    interfaceEntry<ISpectrumControl, &CSpcControl::m_xSpectrumControl>(IID_ISpectrumControl),
};
const ComObject::InterfaceMap CSpcControl::kInterfaceMap{&COleControlEx::kInterfaceMap, kEntries};

const ui::MsgEntry* CSpcControl::CoreMessages() {
  static const ui::MsgEntry entries[] = {
      ui::map::Create(&CSpcControl::OnCreate),
      ui::map::Destroy(&CSpcControl::OnDestroy),
      {},
  };
  return entries;
}

CSpcControl::CSpcControl()
    : COleControlEx(nelvar::SpcCoClass(), &nelvar::SpcTypeLib(), SpcApp().ModuleState()), m_process(&m_data), m_drawList(this, &m_process),
      m_painter(m_drawList) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  EnableSimpleFrame();
  m_accelerators = ui::AccelTable::Load(nelvar::IDR_ACCELERATORS);
  m_inPlaceMenu.LoadMenu(nelvar::IDR_EMPTYMENU);
  m_pickMark = ui::LoadBitmap(nelvar::IDB_PICKMARK);
  m_data.Reset();
  ResetView();
}

CSpcControl::~CSpcControl() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  ClearData();
  for (ui::HCURSOR& cursor : m_cursors)
    if (cursor) ui::DestroyCursor(std::exchange(cursor, nullptr));
  m_propertySnapshots.clear();
  m_result.Clear();
}

Guid CSpcControl::GetClassID() const { return CLSID_Spc; }

plat::DWord CSpcControl::GetMiscStatus() const { return kSpcMiscStatus; }

std::u16string CSpcControl::GetUserTypeName() const {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  return plat::toUtf16(ui::LoadString(nelvar::IDS_SPC));
}

const Guid* CSpcControl::GetPropPageIDs(std::uint32_t& count) {
  const auto pages = SpcPropPageIds();
  // The ids lie in a process-wide table; the base hands them out as one array.
  static const std::vector<Guid> ids = [&] {
    std::vector<Guid> v;
    for (const Guid* page : pages) v.push_back(*page);
    return v;
  }();
  count = static_cast<std::uint32_t>(ids.size());
  return ids.data();
}

// ---- Window ----------------------------------------------------------------------------------------

int CSpcControl::OnCreate(ui::CREATESTRUCT* cs) {
  if (COleControlEx::OnCreate(cs) == -1) return -1;
  // A control restored from the container's storage shows its set's appearance.
  const std::uint32_t kept = m_propertySet;
  m_propertySet = static_cast<std::uint32_t>(-1);
  m_xSaItem.SelectPropertySet(kept, 0);
  CreatePlotCursors();
  if (m_runStartup) {
    m_xSpectrumControl.ExecuteCommands(u"STARTUP");
    m_runStartup = 0;
  }
  return 0;
}

void CSpcControl::OnDestroy() {
  m_drawList.m_selection.SetRectEmpty();
  COleControlEx::OnDestroy();
}

bool CSpcControl::PreTranslateMessage(ui::MSG* msg) {
  if (IsInPlaceActive() && msg && msg->message >= ui::WM_KEYFIRST && msg->message <= ui::WM_KEYLAST &&
      ui::TranslateAccelerator(this, m_accelerators, msg))
    return true;
  return COleControlEx::PreTranslateMessage(msg);
}

ui::Menu* CSpcControl::OnGetInPlaceMenu() { return &m_inPlaceMenu; }

// ---- View and menus -----------------------------------------------------------------------------------

void CSpcControl::Refresh(const gdi::Rect* rect) {
  m_painter.DropCache();
  InvalidateControl(rect, true);
  UpdateBars();
}

void CSpcControl::RebuildPicture() { m_painter.RebuildPicture(); }

void CSpcControl::ReloadMenus() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  m_inPlaceMenu.DestroyMenu();
  const ui::UINT menu = !HoldsData() ? nelvar::IDR_EMPTYMENU
                        : m_data.nKind == kPlotKindMass ? nelvar::IDR_MASSMENU
                                                        : nelvar::IDR_SPCMENU;
  m_inPlaceMenu.LoadMenu(menu);
  if (IsUIActive()) {
    DestroySharedMenu();
    BuildSharedMenu();
    AddFrameLevelUI();
  }
}

void CSpcControl::ClearData() {
  SaveBarState();
  if (HoldsData()) m_process.Reset();
  m_drawList.RemoveAll();
  ReloadMenus();
  m_painter.DeletePicture();
}

void CSpcControl::ResetView() {
  m_dragState = 0;
  m_mouseMode = kModeSelection;
  m_drawList.RemoveAll();
  m_drawList.m_fIntegralScale = 1.0f;
  m_drawList.m_fIntegSum = 100.0f;
  if (!HoldsData()) {
    ReloadMenus();
    m_drawList.m_selection.SetRectEmpty();
    return;
  }
  m_drawList.CreateDefaultObjects(&m_process);
  if (m_data.nKind != kPlotKindMass) {
    m_drawList.m_fLeftBound = 0.0f;
    m_drawList.m_fRightBound = static_cast<float>(std::max(m_process.m_nCur - 1, 0));
    m_drawList.m_fAmplitude = 1.0f;
  } else {
    const float lo = m_process.GetMinMass();
    const float hi = m_process.GetMaxMass();
    const float margin = 0.05f * (hi - lo);
    m_drawList.m_fLeftBound = std::ceil(lo - margin);
    m_drawList.m_fRightBound = std::ceil(hi + margin);
    m_drawList.m_fAmplitude = 0.9f;
  }
  RebuildPicture();
  ReloadMenus();
  m_drawList.m_selection.SetRectEmpty();
}
