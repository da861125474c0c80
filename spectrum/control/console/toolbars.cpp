#include "spectrum/control/console/toolbars.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "spectrum/control/console/consolebar.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/nelvar_ids.h"

using namespace nelvar;

namespace {

constexpr std::int32_t kMassKind = 1;

// Knob and box ids.
constexpr ui::UINT IDC_AMPLITUDE = 1001, IDC_INTEGRAL = 1003, IDC_PHASE0 = 1029, IDC_PHASE1 = 1030,
                   IDC_LINEAR = 1044, IDC_SCROLL = 1045, IDC_BASELINE_METHOD = 1051, IDC_SPLINE = 1054,
                   IDC_ITEMS = 1055, IDC_SCAN = 1060;

bool IsMass(const CSpcControl& control) { return control.m_data.nKind == kMassKind; }

std::int32_t PointCount(const CSpcControl& control) {
  const std::size_t n = control.m_data.data[control.m_data.nDomain == 1 ? 1 : 0].size();
  return static_cast<std::int32_t>(std::min<std::size_t>(n, std::numeric_limits<std::int32_t>::max()));
}

// A float as the nearest int, when finite and in range.
std::int32_t RoundToInt(double v) {
  if (!std::isfinite(v)) return 0;
  v = std::round(v);
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(v);
}

}  // namespace

namespace nelvar {

int SplineEntry(float factor) {
  if (!(factor > 0.0f) || !std::isfinite(factor)) return -1;
  const double entry = std::round(std::log10(static_cast<double>(factor)));
  return entry >= 0.0 && entry <= 9.0 ? static_cast<int>(entry) : -1;
}

std::unique_ptr<ui::ControlBar> MakeSpcBar(ui::UINT barId) {
  switch (barId) {
    case IDW_CONSOLEBAR: return std::make_unique<CConsoleBar>();
    case IDW_SPECTRUMBAR: return std::make_unique<CSpectrumBar>();
    case IDW_PHASEBAR: return std::make_unique<CPhaseBar>();
    case IDW_INTEGRALBAR: return std::make_unique<CIntegralBar>();
    case IDW_PICKBAR: return std::make_unique<CPickBar>();
    case IDW_TRANSFORMBAR: return std::make_unique<CTransformBar>();
    case IDW_BASELINEBAR: return std::make_unique<CBaselineBar>();
    case IDW_MULTIDISPBAR: return std::make_unique<CMultiDispBar>();
    case IDW_NAVIGATEBAR: return std::make_unique<CNavigateBar>();
    default: return nullptr;
  }
}

}  // namespace nelvar

// ---- CSpcBar ---------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CSpcBar, CFlatToolBar)

UI_BEGIN_MESSAGE_MAP(CSpcBar, CFlatToolBar)
  ui::map::Create(&CSpcBar::OnCreate),
UI_END_MESSAGE_MAP()

CSpcControl* CSpcBar::Control() const {
  ui::Wnd* owner = GetOwner();
  ui::Wnd* frame = owner && owner != this ? owner : GetParent();
  return frame ? dynamic_cast<CSpcControl*>(frame->GetTopWindow()) : nullptr;
}

int CSpcBar::OnCreate(ui::CREATESTRUCT*) {
  if (static_cast<int>(Default()) == -1) return -1;
  LoadToolBar(m_barId);
  SetWindowText(ui::LoadString(m_titleId));
  CreateEmbedded();
  SetFlatLookStyle();
  return 0;
}

void CSpcBar::OnUpdateCmdUI(ui::FrameWnd* target, bool disableIfNoHandler) {
  if (CSpcControl* control = Control()) UpdateEmbedded(*control);
  CFlatToolBar::OnUpdateCmdUI(target, disableIfNoHandler);
}

int CSpcBar::ButtonWidth(int index) const {
  if (index < 0 || index >= GetCount()) return GetButtonSize().cx;
  ui::Rect r;
  GetItemRect(index, &r);
  return r.Width();
}

ui::Rect CSpcBar::MakePlace(int index, ui::UINT id, int width) {
  ui::Rect r;
  if (index < 0 || index >= GetCount()) return r;
  SetButtonInfo(index, id, ui::TBBS_SEPARATOR, width);
  GetItemRect(index, &r);
  return r;
}

void CSpcBar::PlaceKnob(CKnob& knob, int index, ui::UINT id, ui::UINT captionId, float maxValue, float minValue,
                        float initValue, float increment, int incMode) {
  const std::string caption = ui::LoadString(captionId);
  if (!knob.Create(caption, ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_TABSTOP, {0, 0, 32, 32}, this, id)) return;
  const ui::Rect place = MakePlace(index, id, 6 * ButtonWidth(4));
  knob.MoveWindow(place);
  knob.SetMaxValue(maxValue);
  knob.SetMinValue(minValue);
  knob.SetInitValue(initValue);
  knob.SetValue(initValue);
  knob.SetIncrement(increment);
  knob.SetIncMode(incMode);
}

const gdi::Font& CSpcBar::BoxFont() {
  if (m_font.IsNull()) {
    gdi::LOGFONTA lf;
    lf.lfHeight = 14;
    lf.lfWeight = 400;
    std::strcpy(lf.lfFaceName, "Arial");
    m_font = gdi::Font(lf);
  }
  return m_font;
}

void CSpcBar::MakeCheckBox(ui::UINT commandId) {
  const int index = CommandToIndex(commandId);
  if (index >= 0) SetButtonStyle(index, (GetButtonStyle(index) & ~0xFFu) | ui::TBBS_CHECKBOX);
}

// ---- Spectrum bar ---------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CSpectrumBar, CSpcBar)

CSpectrumBar::CSpectrumBar() : CSpcBar(IDW_SPECTRUMBAR, 3067) {}

CSpectrumBar::~CSpectrumBar() {
  if (m_image) gdi::DeleteEnhMetaFileHandle(m_image);
}

void CSpectrumBar::CreateEmbedded() {
  PlaceKnob(m_knob, 0, IDC_AMPLITUDE, 3105, 100000, 0.001f, 100, 1.5f, 1);
  m_knob.SetEventHandler([this](plat::ole::DispId id) {
    if (id == CKnob::kNewValueSet) OnKnob();
  });
  if (m_scroll.Create("", ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_TABSTOP, {0, 0, 32, 32}, this, IDC_SCROLL)) {
    m_scroll.MoveWindow(MakePlace(2, IDC_SCROLL, 6 * ButtonWidth(4)));
    m_scroll.SetEventHandler([this](plat::ole::DispId id) {
      if (id == CScroll::kNewBoundsSet) OnScroll();
    });
  }
}

void CSpectrumBar::OnKnob() {
  CSpcControl* control = Control();
  if (!control) return;
  const float amplitude = m_knob.GetValue() * 0.01f;
  if (!std::isfinite(amplitude) || amplitude <= 0.0f) return;
  control->m_drawList.m_fAmplitude = amplitude;
  control->SynchronizeViews();
  control->Refresh();
}

void CSpectrumBar::OnScroll() {
  CSpcControl* control = Control();
  if (!control || !control->HoldsData()) return;
  const std::int32_t left = m_scroll.GetLeftBound(), right = m_scroll.GetRightBound();
  if (IsMass(*control)) {
    if (left < 0 || left >= control->m_process.m_nScans) return;
    control->m_process.SetScan(left);
  } else {
    const std::int32_t last = PointCount(*control) - 1;
    const std::int32_t from = std::clamp(left, 0, std::max(0, last)), to = std::clamp(right, 0, std::max(0, last));
    if (to <= from) return;
    control->m_drawList.m_fLeftBound = static_cast<float>(from);
    control->m_drawList.m_fRightBound = static_cast<float>(to);
    control->m_drawList.m_bHold = true;
  }
  control->SynchronizeViews();
  control->Refresh();
}

void CSpectrumBar::UpdateEmbedded(CSpcControl& control) {
  if (control.HoldsData() && m_knob.HasControl()) m_knob.SetValue(control.m_drawList.m_fAmplitude * 100.0f);
  if (!m_scroll.HasControl()) return;
  // The overview goes with the data: a cleared control leaves an empty strip, not its old trace.
  const gdi::EnhMetaFile& picture = control.m_painter.OverviewPicture();
  if (picture.impl() != m_imageOf) {
    if (m_image) gdi::DeleteEnhMetaFileHandle(m_image);
    m_image = picture.IsNull() ? 0 : gdi::RegisterEnhMetaFileHandle(picture);
    m_imageOf = picture.impl();
    m_scroll.SetImage(static_cast<std::int32_t>(m_image));
  }
  if (!control.HoldsData()) {
    m_scroll.SetPoints(0);
  } else if (IsMass(control)) {
    m_scroll.SetLeftBound(control.m_process.m_nScan);
    m_scroll.SetRightBound(control.m_process.m_nScan + 1);
    m_scroll.SetPoints(control.m_process.m_nScans);
  } else {
    m_scroll.SetLeftBound(RoundToInt(control.m_drawList.m_fLeftBound));
    m_scroll.SetRightBound(RoundToInt(control.m_drawList.m_fRightBound));
    m_scroll.SetPoints(PointCount(control));
  }
}

// ---- Phase bar ------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CPhaseBar, CSpcBar)

CPhaseBar::CPhaseBar() : CSpcBar(IDW_PHASEBAR, 3068) {}

void CPhaseBar::CreateEmbedded() {
  PlaceKnob(m_phase0, 0, IDC_PHASE0, 3101, 10000, -10000, 0, 10, 0);
  PlaceKnob(m_phase1, 2, IDC_PHASE1, 3102, 10000, -10000, 0, 10, 0);
  m_phase0.SetEventHandler([this](plat::ole::DispId id) {
    if (id == CKnob::kNewValueSet) OnPhase(true);
  });
  m_phase1.SetEventHandler([this](plat::ole::DispId id) {
    if (id == CKnob::kNewValueSet) OnPhase(false);
  });
  MakeCheckBox(40076);
}

void CPhaseBar::OnPhase(bool first) {
  CSpcControl* control = Control();
  if (!control) return;
  const float value = (first ? m_phase0 : m_phase1).GetValue();
  if (!std::isfinite(value)) return;
  (first ? control->m_process.m_fPH0 : control->m_process.m_fPH1) = value;
  control->m_process.UpdatePhase();
  control->Refresh();
}

void CPhaseBar::UpdateEmbedded(CSpcControl& control) {
  if (m_phase0.HasControl()) m_phase0.SetValue(control.m_process.m_fPH0);
  if (m_phase1.HasControl()) m_phase1.SetValue(control.m_process.m_fPH1);
}

// ---- Integral bar ---------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CIntegralBar, CSpcBar)

CIntegralBar::CIntegralBar() : CSpcBar(IDW_INTEGRALBAR, 3069) {}

void CIntegralBar::CreateEmbedded() {
  PlaceKnob(m_scale, 0, IDC_INTEGRAL, 3103, 100000, 0.001f, 100, 1.5f, 1);
  PlaceKnob(m_slope, 2, IDC_LINEAR, 3104, 1000, -1000, 0, 10, 0);
  m_scale.SetEventHandler([this](plat::ole::DispId id) {
    CSpcControl* control = Control();
    const float scale = m_scale.GetValue() * 0.01f;
    if (id != CKnob::kNewValueSet || !control || !std::isfinite(scale) || scale <= 0.0f) return;
    control->m_drawList.m_fIntegralScale = scale;
    control->Refresh();
  });
  m_slope.SetEventHandler([this](plat::ole::DispId id) {
    CSpcControl* control = Control();
    const float slope = m_slope.GetValue() * 0.01f;
    if (id != CKnob::kNewValueSet || !control || !std::isfinite(slope)) return;
    control->m_process.m_fSlope = slope;
    control->Refresh();
  });
  MakeCheckBox(40109);
}

void CIntegralBar::UpdateEmbedded(CSpcControl& control) {
  if (m_scale.HasControl()) m_scale.SetValue(control.m_drawList.m_fIntegralScale * 100.0f);
  if (m_slope.HasControl()) m_slope.SetValue(control.m_process.m_fSlope * 100.0f);
}

// ---- Pick and transform bars -----------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CPickBar, CSpcBar)
CPickBar::CPickBar() : CSpcBar(IDW_PICKBAR, 3070) {}
void CPickBar::CreateEmbedded() { MakeCheckBox(40075); }

UI_IMPLEMENT_DYNAMIC(CTransformBar, CSpcBar)
CTransformBar::CTransformBar() : CSpcBar(IDW_TRANSFORMBAR, 3091) {}

// ---- Baseline bar ---------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CBaselineBar, CSpcBar)

UI_BEGIN_MESSAGE_MAP(CBaselineBar, CSpcBar)
  ui::map::Control(ui::CBN_SELCHANGE, IDC_BASELINE_METHOD, &CBaselineBar::OnMethodChange),
  ui::map::Control(ui::CBN_SELCHANGE, IDC_SPLINE, &CBaselineBar::OnSplineChange),
UI_END_MESSAGE_MAP()

CBaselineBar::CBaselineBar() : CSpcBar(IDW_BASELINEBAR, 3099) {}

void CBaselineBar::CreateEmbedded() {
  constexpr ui::DWORD kList = ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_VSCROLL | ui::WS_BORDER | ui::CBS_DROPDOWNLIST;
  if (m_method.Create(kList, {0, 0, 32, 200}, this, IDC_BASELINE_METHOD)) {
    const ui::Rect place = MakePlace(4, IDC_BASELINE_METHOD, 4 * ButtonWidth(1));
    m_method.MoveWindow(place.left, place.top, place.Width(), 200);
    m_method.SetFont(BoxFont());
    for (ui::UINT id = 3092; id <= 3098; ++id) m_method.AddString(ui::LoadString(id));
  }
  if (m_spline.Create(kList, {0, 0, 16, 200}, this, IDC_SPLINE)) {
    const ui::Rect place = MakePlace(6, IDC_SPLINE, 2 * ButtonWidth(1));
    m_spline.MoveWindow(place.left, place.top, place.Width(), 200);
    m_spline.SetFont(BoxFont());
    for (int i = 0; i <= 9; ++i) m_spline.AddString(std::to_string(i));
  }
  MakeCheckBox(40080);
  MakeCheckBox(40081);
}

void CBaselineBar::OnMethodChange() {
  CSpcControl* control = Control();
  const int selected = m_method.GetCurSel();
  if (!control || selected < 0) return;
  control->m_process.SetBaselineMethod(selected);
  control->Refresh();
}

void CBaselineBar::OnSplineChange() {
  CSpcControl* control = Control();
  const int selected = m_spline.GetCurSel();
  if (!control || selected < 0 || selected > 9) return;
  control->m_process.m_fSplineFactor = static_cast<float>(std::pow(10.0, selected));
  control->m_process.SetBaselineMethod(control->m_process.m_nBaselineMethod);
  control->Refresh();
}

void CBaselineBar::UpdateEmbedded(CSpcControl& control) {
  const int method = control.m_process.m_nBaselineMethod;
  if (m_method.IsWindow() && m_method.GetCurSel() != method) m_method.SetCurSel(method >= 0 && method <= 6 ? method : -1);
  if (m_spline.IsWindow()) {
    const int entry = SplineEntry(control.m_process.m_fSplineFactor);
    if (m_spline.GetCurSel() != entry) m_spline.SetCurSel(entry);
    m_spline.EnableWindow(method == 0);
  }
}

// ---- Multi-display bar ------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CMultiDispBar, CSpcBar)

UI_BEGIN_MESSAGE_MAP(CMultiDispBar, CSpcBar)
  ui::map::Control(ui::CBN_SELCHANGE, IDC_ITEMS, &CMultiDispBar::OnItemChange),
UI_END_MESSAGE_MAP()

CMultiDispBar::CMultiDispBar() : CSpcBar(IDW_MULTIDISPBAR, 3111) {}

void CMultiDispBar::CreateEmbedded() {
  constexpr ui::DWORD kList = ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_VSCROLL | ui::WS_BORDER | ui::CBS_DROPDOWNLIST;
  if (!m_items.Create(kList, {0, 0, 32, 200}, this, IDC_ITEMS)) return;
  const ui::Rect place = MakePlace(0, IDC_ITEMS, 6 * ButtonWidth(3));
  m_items.MoveWindow(place.left, place.top, place.Width(), 200);
  m_items.SetFont(BoxFont());
}

void CMultiDispBar::OnUpdateCmdUI(ui::FrameWnd* target, bool disableIfNoHandler) {
  if (m_items.IsWindow() && !Control()) {
    m_items.ResetContent();
    m_items.EnableWindow(false);
  }
  CSpcBar::OnUpdateCmdUI(target, disableIfNoHandler);
}

void CMultiDispBar::OnItemChange() {
  CSpcControl* control = Control();
  const int selected = m_items.GetCurSel();
  if (!control || selected < 0) return;
  // The entry's control is looked for again among the items: one that went meanwhile is not used.
  auto* chosen = reinterpret_cast<CSpcControl*>(m_items.GetItemData(selected));
  for (const CSpcControl::SiteItem& item : control->FileSpectrumItems())
    if (item.control == chosen && chosen->m_pOrvSite) {
      chosen->m_pOrvSite->ActivateItem();
      return;
    }
}

void CMultiDispBar::UpdateEmbedded(CSpcControl& control) {
  if (!m_items.IsWindow()) return;
  if (!control.m_pOrvSite) {
    m_items.ResetContent();
    m_items.EnableWindow(false);
    return;
  }
  m_items.EnableWindow(true);
  struct Entry {
    std::string name;
    CSpcControl* control;
  };
  std::vector<Entry> entries;
  for (const CSpcControl::SiteItem& item : control.FileSpectrumItems())
    entries.push_back({item.control->m_data.strName, item.control});
  int selected = -1;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (plat::equalsNoCase(entries[i].name, control.m_data.strName)) selected = static_cast<int>(i);
  // The list is rebuilt only when what it shows changed, so an open list keeps its place.
  bool same = m_items.GetCount() == static_cast<int>(entries.size());
  for (std::size_t i = 0; same && i < entries.size(); ++i)
    same = m_items.GetLBText(static_cast<int>(i)) == entries[i].name &&
           m_items.GetItemData(static_cast<int>(i)) == reinterpret_cast<ui::UINT_PTR>(entries[i].control);
  if (!same) {
    m_items.ResetContent();
    for (const Entry& e : entries) m_items.SetItemData(m_items.AddString(e.name), reinterpret_cast<ui::UINT_PTR>(e.control));
  }
  if (m_items.GetCurSel() != selected) m_items.SetCurSel(selected);
}

// ---- Navigator bar --------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CNavigateBar, CSpcBar)

CNavigateBar::CNavigateBar() : CSpcBar(IDW_NAVIGATEBAR, 3120) {}

void CNavigateBar::CreateEmbedded() {
  if (!m_scan.Create(ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_TABSTOP | ui::ES_CENTER | ui::ES_NUMBER | ui::ES_AUTOHSCROLL,
                     {0, 0, 32, 32}, this, IDC_SCAN))
    return;
  const ui::Rect place = MakePlace(2, IDC_SCAN, 2 * ButtonWidth(0));
  m_scan.MoveWindow(place);
  m_scan.SetFont(BoxFont());
}

void CNavigateBar::UpdateEmbedded(CSpcControl& control) {
  if (!m_scan.IsWindow()) return;
  m_scan.EnableWindow(control.m_process.m_nScans >= 2);
  const std::string text = std::to_string(static_cast<long long>(control.m_process.m_nScan) + 1);
  if (m_scan.GetWindowText() != text) m_scan.SetWindowText(text);
}
