// The analysis commands: peak lists, integrals and their scale, calibration, texts, a
// noise-filled cleared area, the ion plot of a mass spectrum, and the peak and integral tables
// on the clipboard.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/ole/dataobject.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/dc.h"
#include "platform/ui/resource.h"
#include "profile/profile.h"
#include "spectrum/control/control/plotedits.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/command_ids.h"
#include "spectrum/control/labels/texts.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/plot/plotdata.h"
#include "spectrum/control/plot/trace.h"
#include "spectrum/convert/spcconvert.h"

using namespace nelvar;

namespace {

constexpr std::int32_t kSpectrumDomain = 1;

// Strings of the copy tables and the value read-outs.
constexpr ui::UINT IDS_PEAKCOPYFMT = 3056;
constexpr ui::UINT IDS_PEAKHEADER_NMR = 3057;
constexpr ui::UINT IDS_AREAINTEGRAL = 3065;
constexpr ui::UINT IDS_SUMOFINTEGRALS = 3066;
constexpr ui::UINT IDS_PEAKHEADER = 3110;
constexpr ui::UINT IDS_INTEGHEADER_NMR = 3112;
constexpr ui::UINT IDS_INTEGHEADER = 3113;
constexpr ui::UINT IDS_INTEGCOPYFMT = 3114;

std::string ModuleString(ui::UINT id) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  return ui::LoadString(id);
}

// The unit the lines of a kind other than NMR give x in (the record's own, PointToX or the
// mass), for the headers; empty where the infrared headers fit (infrared itself, NMR 2D).
std::string_view RecordXUnit(std::int32_t kind) {
  switch (kind) {
    case kSpcKindMass: return GetUnitName(kUnitMass);
    case kSpcKindUv: return GetUnitName(kUnitNanometer);
    case kSpcKindCh:
    case kSpcKindTic: return GetUnitName(kUnitSecond);
    default: return {};
  }
}

// The headers of the copied tables name the columns the lines hold, in the layout of the
// infrared ones ("    1/cm       Rel. Int.", "       Range (cm-1)             Value").
std::string PeakHeader(std::int32_t kind) {
  if (kind == kSpcKindNmr) return ModuleString(IDS_PEAKHEADER_NMR);
  const std::string_view unit = RecordXUnit(kind);
  if (unit.empty()) return ModuleString(IDS_PEAKHEADER);
  char text[64];
  std::snprintf(text, sizeof text, "    %-11.*s%s", static_cast<int>(unit.size()), unit.data(),
                kind == kSpcKindMass ? "Intensity" : "Rel. Int.");
  return text;
}

std::string IntegralHeader(std::int32_t kind) {
  if (kind == kSpcKindNmr) return ModuleString(IDS_INTEGHEADER_NMR);
  const std::string_view unit = RecordXUnit(kind);
  if (unit.empty()) return ModuleString(IDS_INTEGHEADER);
  const std::string range = "Range (" + std::string(unit) + ")";
  char text[64];
  std::snprintf(text, sizeof text, "       %-25s%s", range.c_str(), "Value");
  return text;
}

// A stored copy format, used only when it holds exactly the caller's floating conversions.
std::string CopyFormat(const char16_t* name, ui::UINT fallback, int conversions) {
  const std::string standard = ModuleString(fallback);
  COrvProfDesc desc;
  plat::String16 stored;
  OrvGetProfCString(name, &stored, plat::toUtf16(standard).c_str(), &desc);
  const std::string format = plat::toUtf8(stored);
  return spcedit::IsFloatFormat(format, conversions) ? format : standard;
}

std::string FourDecimals(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", value);
  return text;
}

bool IsMass(const CSpcData& data) { return data.nKind == kPlotKindMass; }

}  // namespace

const ui::MsgEntry* CSpcControl::AnalysisMessages() {
  using C = CSpcControl;
  static const ui::MsgEntry entries[] = {
      ui::map::Command(ID_PEAK_PICKING, &C::OnPeakPicking),
      ui::map::UpdateUI(ID_PEAK_PICKING, &C::OnUpdateRangeSource),
      ui::map::Command(ID_AUTO_PEAK_PICKING, &C::OnAutoPeakPicking),
      ui::map::UpdateUI(ID_AUTO_PEAK_PICKING, &C::OnUpdateSpectrumView),
      ui::map::Command(ID_DELETE_PEAKS, &C::OnDeletePeaks),
      ui::map::UpdateUI(ID_DELETE_PEAKS, &C::OnUpdateDeletePeaks),
      ui::map::Command(ID_DELETE_ALL_PEAKS, &C::OnDeleteAllPeaks),
      ui::map::UpdateUI(ID_DELETE_ALL_PEAKS, &C::OnUpdatePeaks),
      ui::map::Command(ID_COPY_PEAKS, &C::OnCopyPeaks),
      ui::map::UpdateUI(ID_COPY_PEAKS, &C::OnUpdatePeaks),
      ui::map::Command(ID_AUTO_INTEGRATION, &C::OnAutoIntegration),
      ui::map::UpdateUI(ID_AUTO_INTEGRATION, &C::OnUpdateSpectrumView),
      ui::map::Command(ID_INTEGRATION, &C::AddIntegral),
      ui::map::UpdateUI(ID_INTEGRATION, &C::OnUpdateRangeSource),
      ui::map::Command(ID_INTEGRATION_ALT, &C::AddIntegral),
      ui::map::UpdateUI(ID_INTEGRATION_ALT, &C::OnUpdateRangeSource),
      ui::map::Command(ID_DELETE_INTEGRALS, &C::OnDeleteIntegrals),
      ui::map::UpdateUI(ID_DELETE_INTEGRALS, &C::OnUpdateIntegrals),
      ui::map::Command(ID_DELETE_INTEGRAL, &C::OnDeleteIntegral),
      ui::map::UpdateUI(ID_DELETE_INTEGRAL, &C::OnUpdateIntegralAt),
      ui::map::Command(ID_SET_INTEGRAL_VALUE, &C::OnSetIntegralValue),
      ui::map::UpdateUI(ID_SET_INTEGRAL_VALUE, &C::OnUpdateIntegralAt),
      ui::map::Command(ID_CALC_AREA_INTEGRAL, &C::OnAreaIntegral),
      ui::map::UpdateUI(ID_CALC_AREA_INTEGRAL, &C::OnUpdateRangeSource),
      ui::map::Command(ID_CALC_SUM_INTEGRALS, &C::OnSumOfIntegrals),
      ui::map::UpdateUI(ID_CALC_SUM_INTEGRALS, &C::OnUpdateIntegralAt),
      ui::map::Command(ID_SET_INTEGRAL_SUM, &C::OnSetSumOfIntegrals),
      ui::map::UpdateUI(ID_SET_INTEGRAL_SUM, &C::OnUpdateRangeSource),
      ui::map::Command(ID_NORMALIZE_INTEGRALS, &C::OnNormalizeIntegrals),
      ui::map::UpdateUI(ID_NORMALIZE_INTEGRALS, &C::OnUpdateIntegrals),
      ui::map::Command(ID_INTEGRAL_CORRECTION, &C::OnIntegralCorrection),
      ui::map::UpdateUI(ID_INTEGRAL_CORRECTION, &C::OnUpdateIntegralCorrection),
      ui::map::Command(ID_COPY_INTEGRALS, &C::OnCopyIntegrals),
      ui::map::UpdateUI(ID_COPY_INTEGRALS, &C::OnUpdateIntegrals),
      ui::map::Command(ID_CALIBRATE, &C::OnCalibrate),
      ui::map::UpdateUI(ID_CALIBRATE, &C::OnUpdateCursorValue),
      ui::map::Command(ID_SET_PEAK_VALUE, &C::OnSetPeakValue),
      ui::map::UpdateUI(ID_SET_PEAK_VALUE, &C::OnUpdateCursorValue),
      ui::map::Command(ID_EDIT_TEXT, &C::OnEditText),
      ui::map::Command(ID_DELETE_TEXT, &C::OnDeleteText),
      ui::map::Command(ID_CLEAR_AREA, &C::OnClearArea),
      ui::map::UpdateUI(ID_CLEAR_AREA, &C::OnUpdateRangeSource),
      ui::map::Command(ID_GENERATE_ION_PLOT, &C::OnGenerateIonPlot),
      ui::map::UpdateUI(ID_GENERATE_ION_PLOT, &C::OnUpdateIonPlot),
      {},
  };
  return entries;
}

void CSpcControl::OnUpdateRangeSource(ui::CmdUI* cmd) { cmd->Enable(HasRangeSource()); }

void CSpcControl::OnUpdateSpectrumView(ui::CmdUI* cmd) { cmd->Enable(ShowsSpectrum()); }

// ---- Ranges ------------------------------------------------------------------------------------------

bool CSpcControl::SelectionPoints(std::int32_t* from, std::int32_t* to) {
  const gdi::Rect& selection = m_drawList.m_selection;
  const std::int32_t count = m_process.m_nCur;
  if (selection.IsRectEmpty() || count <= 0) return false;
  *from = std::clamp(m_drawList.XToPoint(selection.left), 0, count - 1);
  *to = std::clamp(m_drawList.XToPoint(selection.right), 0, count - 1);
  return true;
}

// The x range under the selection: masses for MASS, clamped point indexes otherwise.
bool CSpcControl::SelectionSpan(double* from, double* to) {
  if (IsMass(m_data)) {
    if (m_drawList.m_selection.IsRectEmpty()) return false;
    *from = m_drawList.XToPos(m_drawList.m_selection.left);
    *to = m_drawList.XToPos(m_drawList.m_selection.right);
    return std::isfinite(*from) && std::isfinite(*to);
  }
  std::int32_t a = 0, b = 0;
  if (!SelectionPoints(&a, &b)) return false;
  *from = a;
  *to = b;
  return true;
}

// The x position of a peak list entry (a pair's mass for MASS); false past the current scan.
bool CSpcControl::PeakPosition(std::int32_t peak, double* x) {
  if (!IsMass(m_data)) {
    *x = peak;
    return true;
  }
  const std::size_t scan = static_cast<std::size_t>(std::max(m_process.m_nScan, 0));
  if (peak < 0 || scan >= m_data.scans.size() || static_cast<std::size_t>(peak) >= m_data.scans[scan].peaks.size())
    return false;
  *x = m_data.scans[scan].peaks[static_cast<std::size_t>(peak)].im;
  return true;
}

void CSpcControl::RemovePeaksIn(double from, double to) {
  std::erase_if(m_data.peaks, [&](std::int32_t peak) {
    double x = 0.0;
    return PeakPosition(peak, &x) && from <= x && x <= to;
  });
}

// ---- Peaks ---------------------------------------------------------------------------------------------

void CSpcControl::OnPeakPicking() {
  if (m_drawList.m_nPickCursor1 >= 0 && m_args.empty()) {
    spcedit::InsertSorted(m_data.peaks, m_drawList.m_nPickCursor1);
    m_drawList.m_nPickCursor1 = -1;
  } else if (HoldsData()) {
    double from = 0.0, to = 0.0, threshold = 0.0;
    if (m_args.empty()) {
      if (!SelectionSpan(&from, &to)) return;
      threshold = m_drawList.YToValue(m_drawList.m_selection.bottom);
    } else {
      const CSpcProcess::FullRange full = m_process.GetFullRange();
      from = full.first;
      to = full.second;
      const double span = static_cast<double>(m_drawList.m_fYMax) - m_drawList.m_fYMin;
      threshold = m_args.size() >= 2 ? m_process.GetBaseLevel() - span * m_args[1].GetFloat() * 0.01
                                     : m_process.GetBaseLevel() + span * m_args[0].GetFloat() * 0.01;
    }
    RemovePeaksIn(from, to);
    if (IsMass(m_data)) {
      const std::size_t scan = static_cast<std::size_t>(std::max(m_process.m_nScan, 0));
      if (scan < m_data.scans.size()) {
        const std::vector<CSpcPoint>& peaks = m_data.scans[scan].peaks;
        for (std::size_t i = 0; i < peaks.size(); ++i)
          if (from <= peaks[i].im && peaks[i].im <= to && peaks[i].re > threshold)
            spcedit::InsertSorted(m_data.peaks, static_cast<std::int32_t>(i));
      }
    } else {
      auto value = [this](std::int32_t i) { return m_process.GetDisplayValue(i); };
      for (std::int32_t peak : spcedit::StrictMaxima(value, static_cast<std::int32_t>(from), static_cast<std::int32_t>(to),
                                                     threshold))
        spcedit::InsertSorted(m_data.peaks, peak);
    }
  }
  m_drawList.m_selection.SetRectEmpty();
  FinishCommand(kStepModified | kStepRefresh);
}

// The range of the automatic commands: the whole data, or the selection.
CSpcProcess::FullRange CSpcControl::AutomaticRange() {
  double from = 0.0, to = 0.0;
  if (!SelectionSpan(&from, &to)) return m_process.GetFullRange();
  return {static_cast<float>(from), static_cast<float>(to)};
}

void CSpcControl::OnAutoPeakPicking() {
  if (!HoldsData()) return;
  const CSpcProcess::FullRange range = AutomaticRange();
  m_process.AutoPeakPick(range.first, range.second);
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnDeletePeaks() {
  double from = 0.0, to = 0.0;
  if (SelectionSpan(&from, &to)) RemovePeaksIn(from, to);
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnDeleteAllPeaks() {
  m_data.peaks.clear();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdatePeaks(ui::CmdUI* cmd) { cmd->Enable(!m_data.peaks.empty()); }

void CSpcControl::OnUpdateDeletePeaks(ui::CmdUI* cmd) {
  cmd->Enable(!m_drawList.m_selection.IsRectEmpty() && !m_data.peaks.empty());
}

// ---- Integrals -----------------------------------------------------------------------------------------

double CSpcControl::IntegralShare(const CSpcIntegral& range, float factor) {
  const double total = m_process.GetTotalIntegral();
  if (total == 0.0 || !std::isfinite(total)) return 0.0;
  const double share = m_process.GetIntegral(range.from, range.to, nullptr, 0, factor) / total * m_drawList.m_fIntegSum;
  return std::isfinite(share) ? share : 0.0;
}

void CSpcControl::OnAutoIntegration() {
  if (!HoldsData()) return;
  const CSpcProcess::FullRange range = AutomaticRange();
  m_process.AutoIntegrate(range.first, range.second);
  m_drawList.m_selection.SetRectEmpty();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnDeleteIntegrals() {
  m_data.integrals.clear();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateIntegrals(ui::CmdUI* cmd) { cmd->Enable(!m_data.integrals.empty()); }

std::int32_t CSpcControl::RightClickPoint() { return m_drawList.XToPoint(m_rightClick.x); }

void CSpcControl::SelectionOrRightClick(std::int64_t* l, std::int64_t* r) {
  std::int32_t a = 0, b = 0;
  if (SelectionPoints(&a, &b)) {
    *l = a;
    *r = b;
  } else {
    *l = *r = RightClickPoint();
  }
}

CSpcIntegral* CSpcControl::IntegralAtRightClick() {
  const std::int64_t p = RightClickPoint();
  const auto range = std::find_if(m_data.integrals.begin(), m_data.integrals.end(),
                                  [&](const CSpcIntegral& r) { return r.from <= p && p <= r.to; });
  return range == m_data.integrals.end() ? nullptr : &*range;
}

void CSpcControl::OnUpdateIntegralAt(ui::CmdUI* cmd) {
  cmd->Enable(!m_drawList.m_selection.IsRectEmpty() || (HoldsSpectrumData() && IntegralAtRightClick()));
}

void CSpcControl::OnDeleteIntegral() {
  std::int64_t l = 0, r = 0;
  SelectionOrRightClick(&l, &r);
  std::erase_if(m_data.integrals, [&](const CSpcIntegral& i) {
    return (i.from < l && i.to > r) || (i.from >= l && i.to <= r);
  });
  m_drawList.m_selection.SetRectEmpty();
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnSetIntegralValue() {
  if (const CSpcIntegral* range = IntegralAtRightClick()) {
    const double v = m_process.GetIntegral(range->from, range->to, nullptr, 0, range->factor);
    const double total = m_process.GetTotalIntegral();
    float entered = static_cast<float>(IntegralShare(*range, range->factor));
    if (AskIntegValue(&entered)) {
      const double sum = entered / v * total;
      if (v != 0.0 && std::isfinite(sum)) m_drawList.m_fIntegSum = static_cast<float>(sum);
    }
  }
  FinishCommand(kStepModified | kStepRefresh);
}

// The integrals inside the selection (or at the right-click point), summed as they show.
double CSpcControl::SelectedIntegralSum() {
  std::int64_t l = 0, r = 0;
  SelectionOrRightClick(&l, &r);
  double sum = 0.0;
  for (const CSpcIntegral& range : m_data.integrals)
    if (range.from >= l && range.to <= r) sum += IntegralShare(range, range.factor);
  return sum;
}

void CSpcControl::OnAreaIntegral() {
  std::int32_t from = 0, to = 0;
  double area = 0.0;
  if (SelectionPoints(&from, &to) && from <= to)
    area = IntegralShare({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to), 1.0f}, 0.0f);
  m_drawList.m_selection.SetRectEmpty();
  std::string text = FourDecimals(area);
  AskParamValue(ModuleString(IDS_AREAINTEGRAL), &text);
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnSumOfIntegrals() {
  const double sum = SelectedIntegralSum();
  m_drawList.m_selection.SetRectEmpty();
  std::string text = FourDecimals(sum);
  AskParamValue(ModuleString(IDS_SUMOFINTEGRALS), &text);
  Refresh();
}

void CSpcControl::OnSetSumOfIntegrals() {
  const double sum = SelectedIntegralSum();
  m_drawList.m_selection.SetRectEmpty();
  float entered = static_cast<float>(sum);
  if (AskIntegValue(&entered)) {
    const double scaled = entered / sum * m_drawList.m_fIntegSum;
    if (sum != 0.0 && std::isfinite(scaled)) m_drawList.m_fIntegSum = static_cast<float>(scaled);
  }
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnNormalizeIntegrals() {
  double largest = 0.0;
  for (const CSpcIntegral& range : m_data.integrals)
    largest = std::max<double>(largest, m_process.GetIntegral(range.from, range.to, nullptr, 0, range.factor));
  const double scale = m_process.GetTotalIntegral() / largest;
  if (largest != 0.0 && std::isfinite(scale)) m_drawList.m_fIntegralScale = static_cast<float>(scale);
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnIntegralCorrection() {
  if (!HoldsSpectrumData()) return;
  m_drawList.m_bIntegralCorrection = !m_drawList.m_bIntegralCorrection;
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnUpdateIntegralCorrection(ui::CmdUI* cmd) {
  cmd->Enable(ShowsSpectrum());
  cmd->SetCheck(m_drawList.m_bIntegralCorrection ? 1 : 0);
}

// ---- Calibration and values ------------------------------------------------------------------------------

void CSpcControl::OnUpdateCursorValue(ui::CmdUI* cmd) {
  cmd->Enable(m_drawList.m_nPickCursor1 >= 0 && ShowsSpectrum() && !IsMass(m_data));
}

void CSpcControl::OnCalibrate() {
  const std::int32_t cursor = m_drawList.m_nPickCursor1;
  if (cursor >= 0 && HoldsData()) {
    float hertz = static_cast<float>(m_process.PointToHertz(cursor));
    float ppm = static_cast<float>(m_process.PointToPpm(cursor));
    int ppmEntered = 0;
    if (AskRefPoint(&hertz, &ppm, &ppmEntered)) {
      m_process.m_nOP = cursor;
      m_process.m_dOffset = ppmEntered ? static_cast<double>(ppm) * m_process.m_dFreq : hertz;
      SetModifiedFlag();
    }
  }
  Refresh();
}

void CSpcControl::OnSetPeakValue() {
  const std::int32_t cursor = m_drawList.m_nPickCursor1;
  if (!HoldsSpectrumData() || cursor < 0 || cursor >= m_process.m_nCur) return;
  const double v = m_process.GetDisplayValue(cursor);
  float entered = static_cast<float>(v);
  if (!AskPeakValue(&entered)) return;
  const double factor = v / entered;
  if (entered == 0.0f || !std::isfinite(factor)) return;
  m_process.Normalize(static_cast<float>(factor));
  FinishCommand(kStepModified | kStepRefresh);
}

// ---- Texts ----------------------------------------------------------------------------------------------

void CSpcControl::OnEditText() {
  CText* label = CText::FindAt(m_drawList, m_rightClick.x, m_rightClick.y);
  if (!label) return;
  std::string text = label->m_strText;
  if (!AskParamValue("TEXT", &text)) return;
  label->m_strText = text;
  FinishCommand(kStepModified | kStepRefresh);
}

void CSpcControl::OnDeleteText() {
  CText* label = CText::FindAt(m_drawList, m_rightClick.x, m_rightClick.y);
  if (!label || !m_drawList.RemoveObject(label)) return;
  FinishCommand(kStepModified | kStepRefresh);
}

// ---- Clear Area ---------------------------------------------------------------------------------------------

void CSpcControl::OnClearArea() {
  std::int32_t l = 0, r = 0;
  if (!SelectionPoints(&l, &r) || r - l < 11) return;
  auto v = [this](std::int32_t i) { return m_process.GetDisplayValue(i); };
  double hi = v(l), lo = v(l);
  for (std::int32_t k = 0; k < 5; ++k)
    for (const std::int32_t i : {l + k, r - k}) {
      hi = std::max(hi, v(i));
      lo = std::min(lo, v(i));
    }
  std::vector<float>& baseline = m_process.m_baseline;
  // Without a curve the noise lies on the base level, as over every other point.
  if (baseline.empty()) baseline.assign(static_cast<std::size_t>(m_process.m_nCur), m_process.GetBaseLevel());
  spcedit::CRand15 random(m_noiseSeed.value_or(static_cast<std::uint32_t>(std::time(nullptr))));
  for (std::int32_t i = l + 5; i < r - 5; ++i) {
    if (static_cast<std::size_t>(i) >= baseline.size()) break;
    const double noise = (hi - lo) * (random.Next() - 16383.5) * 1.5259255e-5;
    baseline[static_cast<std::size_t>(i)] = static_cast<float>(noise + v(i) + baseline[static_cast<std::size_t>(i)]);
  }
  FinishCommand(kStepModified | kStepRefresh);
}

// ---- Ion plot --------------------------------------------------------------------------------------------

void CSpcControl::OnUpdateIonPlot(ui::CmdUI* cmd) { cmd->Enable(IsMass(m_data) && m_data.scans.size() > 2); }

void CSpcControl::OnGenerateIonPlot() {
  plat::ole::IDispatch* dispatch = nullptr;
  if (plat::ole::failed(plat::ole::createInstance(CLSID_Spc, nullptr,
                                                  plat::ole::CLSCTX_INPROC_SERVER | plat::ole::CLSCTX_LOCAL_SERVER,
                                                  plat::ole::IID_IDispatch, reinterpret_cast<void**>(&dispatch))) ||
      !dispatch)
    return;
  float lower = 0.0f, upper = 0.0f;
  gdi::COLORREF color = 0;
  if (m_args.size() >= 2) {
    lower = m_args[0].GetFloat();
    upper = m_args[1].GetFloat();
  } else {
    float mass = m_args.size() == 1 ? m_args[0].GetFloat() : 0.0f;
    float minus = 0.25f, plus = 0.25f;
    if (AskIonPlot(&mass, &minus, &plus, &color)) {
      lower = mass - minus;
      upper = mass + plus;
    }
  }
  CSpcControl* made = ControlOf(dispatch);
  if (upper != 0.0f && made && m_process.GenerateIonPlot(made->m_data, lower, upper)) {
    made->m_process.InitFromParams();
    made->m_process.SelectData();
    made->ResetView();
    made->LoadBarState();
    if (auto* trace = dynamic_cast<CSpectrum*>(made->m_drawList.FindDrawObject(kDrawSpectrum)))
      trace->m_tracePen.lopnColor = color;
    if (m_pOrvSite) {
      SaItemRecord* record = m_pOrvSite->CreateItem(dispatch);
      const std::vector<SiteItem> items = FileSpectrumItems();
      const auto tic = std::find_if(items.begin(), items.end(),
                                    [](const SiteItem& item) { return item.control->m_data.nKind == kSpcKindTic; });
      if (record && tic != items.end()) *record = *tic->record;
      FinishCommand(kStepModified | kStepRefresh);
    }
    m_result.SetDispatch(dispatch);  // takes its own reference
  }
  dispatch->Release();
}

// ---- Clipboard ----------------------------------------------------------------------------------------------

std::vector<std::string> CSpcControl::PeakTable() {
  const bool nmr = m_data.nKind == kSpcKindNmr;
  std::vector<std::string> lines{PeakHeader(m_data.nKind)};
  const std::string format = CopyFormat(u"PeakCopyFmt", IDS_PEAKCOPYFMT, 2);
  for (const std::int32_t peak : m_data.peaks) {
    double values[2] = {0.0, 0.0};
    if (IsMass(m_data)) {
      const std::size_t scan = static_cast<std::size_t>(std::max(m_process.m_nScan, 0));
      if (peak < 0 || scan >= m_data.scans.size() || static_cast<std::size_t>(peak) >= m_data.scans[scan].peaks.size())
        continue;
      const CSpcPoint& pair = m_data.scans[scan].peaks[static_cast<std::size_t>(peak)];
      values[0] = pair.im;
      values[1] = pair.re;
    } else {
      if (peak < 0 || peak >= m_process.m_nCur) continue;
      values[0] = nmr ? m_process.PointToPpm(peak) : m_process.PointToX(peak);
      values[1] = nmr ? m_process.PointToHertz(peak) : m_process.GetDisplayValue(peak);
    }
    lines.push_back(spcedit::FormatFloats(format, values));
  }
  return lines;
}

std::vector<std::string> CSpcControl::IntegralTable() {
  const bool nmr = m_data.nKind == kSpcKindNmr;
  std::vector<std::string> lines{IntegralHeader(m_data.nKind)};
  const std::string format = CopyFormat(u"IntegsCopyFmt", IDS_INTEGCOPYFMT, 3);
  auto position = [&](std::uint32_t point) {
    const auto i = static_cast<std::int32_t>(std::min<std::uint32_t>(point, 0x7FFFFFFF));
    return nmr ? m_process.PointToPpm(i) : m_process.PointToX(i);
  };
  for (const CSpcIntegral& range : m_data.integrals) {
    const double values[3] = {position(range.from), position(range.to), IntegralShare(range, range.factor)};
    lines.push_back(spcedit::FormatFloats(format, values));
  }
  return lines;
}

void CSpcControl::CopyTable(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  // The platform's text format carries its length: no terminating zero.
  std::vector<std::uint8_t> bytes(text.begin(), text.end());

  // The picture: the lines in the stock fixed font, measured on the control's own device.
  std::optional<ui::ClientDC> client;
  gdi::DC screen;
  if (GetSafeHwnd() != ui::kNoWnd) client.emplace(this);
  else screen = gdi::DC::CreateCompatibleDC(nullptr);
  gdi::DC& reference = client ? static_cast<gdi::DC&>(*client) : screen;
  const gdi::Font fixed = gdi::StockFont(gdi::ANSI_FIXED_FONT);
  const gdi::Font oldFont = reference.SelectObject(fixed);
  int widest = 0, height = 0;
  for (const std::string& line : lines) {
    const gdi::Size size = reference.GetTextExtent(line);
    widest = std::max(widest, size.cx);
    height += size.cy;
  }
  reference.SelectObject(oldFont);
  const int n = static_cast<int>(std::max<std::size_t>(lines.size(), 1));
  gdi::DC recording = gdi::DC::CreateMetaFile(&reference);
  recording.SetMapMode(gdi::MM_ANISOTROPIC);
  recording.SetWindowOrg(0, 0);
  recording.SetWindowExt(widest * 3 / 2, height);
  recording.SelectObject(fixed);
  recording.SetBkMode(gdi::TRANSPARENT);
  for (int k = 0; k < static_cast<int>(lines.size()); ++k) recording.TextOut(0, k * (height / n), lines[static_cast<std::size_t>(k)]);
  const gdi::MetaFile picture = recording.CloseMetaFile();

  auto* source = new plat::ole::DataSource;
  source->CacheData(ui::CF_TEXT, std::move(bytes));
  if (!picture.IsNull()) source->CacheData(ui::CF_METAFILEPICT, picture.Bytes());
  source->SetClipboard();
  source->Release();
}

void CSpcControl::OnCopyPeaks() { CopyTable(PeakTable()); }

void CSpcControl::OnCopyIntegrals() { CopyTable(IntegralTable()); }
