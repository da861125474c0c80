// Mouse modes and interaction on the plot: the gestures of each mode, the XOR marks drawn
// while they run, the pick cursors and their read-out in the container's status line, the
// context menus, the phase keys and the plot cursors.
//
// Every XOR mark (selection box, pick marks, pivot and range lines) is drawn on the window's
// own surface, and the painter draws the same marks again after every paint from the state
// they stand for, so an erase always finds its mark and no pixel is left behind.
#include <algorithm>
#include <cmath>

#include "platform/ui/dc.h"
#include "platform/ui/messages.h"
#include "platform/ui/resource.h"
#include "spectrum/control/control/plotedits.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/command_ids.h"
#include "spectrum/control/labels/texts.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/plot/plotdata.h"

using namespace nelvar;

namespace {

constexpr gdi::COLORREF kXorLineColor = gdi::RGB(0, 180, 255);
constexpr int kFirstCursorBitmap = 450;
constexpr std::int32_t kSpectrumDomain = 1;

bool IsCentroidMass(const CSpcData& data) { return data.nKind == kPlotKindMass && !data.peaks.empty(); }

}  // namespace

const ui::MsgEntry* CSpcControl::MouseMessages() {
  static const ui::MsgEntry entries[] = {
      ui::map::LButtonDown(&CSpcControl::OnLButtonDown),
      ui::map::MouseMove(&CSpcControl::OnMouseMove),
      ui::map::LButtonUp(&CSpcControl::OnLButtonUp),
      ui::map::LButtonDblClk(&CSpcControl::OnLButtonDblClk),
      ui::map::RButtonDown(&CSpcControl::OnRButtonDown),
      ui::map::RButtonUp(&CSpcControl::OnRButtonUp),
      ui::map::KeyDown(&CSpcControl::OnKeyDown),
      ui::map::SetCursor(&CSpcControl::OnSetCursor),
      ui::map::Command(ID_MODE_SELECTION, &CSpcControl::OnModeSelection),
      ui::map::UpdateUI(ID_MODE_SELECTION, &CSpcControl::OnUpdateMode),
      ui::map::Command(ID_MODE_PICKING, &CSpcControl::OnModePicking),
      ui::map::UpdateUI(ID_MODE_PICKING, &CSpcControl::OnUpdateMode),
      ui::map::Command(ID_MODE_PHASING, &CSpcControl::OnModePhasing),
      ui::map::UpdateUI(ID_MODE_PHASING, &CSpcControl::OnUpdateMode),
      ui::map::Command(ID_MODE_INTEGRATION, &CSpcControl::OnModeIntegration),
      ui::map::UpdateUI(ID_MODE_INTEGRATION, &CSpcControl::OnUpdateMode),
      ui::map::Command(ID_MODE_TEXT, &CSpcControl::OnModeText),
      ui::map::UpdateUI(ID_MODE_TEXT, &CSpcControl::OnUpdateMode),
      {},
  };
  return entries;
}

// ---- Plot cursors and the painter's marks ------------------------------------------------------

void CSpcControl::CreatePlotCursors() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  for (std::size_t i = 0; i < m_cursors.size(); ++i) {
    if (m_cursors[i]) ui::DestroyCursor(std::exchange(m_cursors[i], nullptr));
    const gdi::Bitmap mask = ui::LoadBitmap(kFirstCursorBitmap + static_cast<ui::UINT>(i));
    if (mask.IsNull()) continue;
    const gdi::Size size = mask.GetSize();
    gdi::Bitmap color;
    if (!color.CreateBitmap(size.cx, size.cy)) continue;
    // Set (white) bits are transparent; clear ones show in the cursor colour.
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x)
        color.Surface()->SetPixel(x, y, mask.Surface()->GetPixel(x, y) == gdi::RGB(255, 255, 255) ? gdi::RGB(0, 0, 0)
                                                                                               : m_drawList.m_CursorColor);
    m_cursors[i] = ui::CreateCursor(mask, color, {size.cx / 2, size.cy / 2 + 1});
  }
  m_painter.SetOverlays([this](gdi::DC& dc, const gdi::Rect&) {
    if (m_drawList.m_nPickCursor1 >= 0) DrawPickMark(&dc, m_drawList.m_nPickCursor1);
    if (m_drawList.m_nPickCursor2 >= 0) DrawPickMark(&dc, m_drawList.m_nPickCursor2);
    if (m_dragState & kDragPhasing) DrawPivotLine(&dc);
    if ((m_dragState & kDragIntegration) && !m_rangeRect.IsRectEmpty()) {
      DrawXorLine(&dc, {m_rangeRect.left, m_rangeRect.top}, {m_rangeRect.left, m_rangeRect.bottom});
      DrawXorLine(&dc, {m_rangeRect.right, m_rangeRect.top}, {m_rangeRect.right, m_rangeRect.bottom});
    }
  });
}

bool CSpcControl::OnSetCursor(ui::Wnd* wnd, ui::UINT hitTest, ui::UINT message) {
  if (hitTest == static_cast<ui::UINT>(ui::HTCLIENT) && m_cursors[0]) {
    ui::SetCursor(m_cursors[0]);
    return true;
  }
  return COleControlEx::OnSetCursor(wnd, hitTest, message);
}

// ---- Marks -----------------------------------------------------------------------------------

void CSpcControl::DrawPickMark(gdi::DC* dc, std::int32_t index) {
  if (!dc || m_pickMark.IsNull() || index < 0 || !HoldsData()) return;
  int column = 0, row = 0;
  if (IsCentroidMass(m_data)) {
    const CMassScan* scan = m_process.m_nScan >= 0 && static_cast<std::size_t>(m_process.m_nScan) < m_data.scans.size()
                                ? &m_data.scans[static_cast<std::size_t>(m_process.m_nScan)]
                                : nullptr;
    if (!scan || static_cast<std::size_t>(index) >= scan->peaks.size()) return;
    const CSpcPoint& peak = scan->peaks[static_cast<std::size_t>(index)];
    if (!(m_drawList.m_fLeftBound <= peak.im && peak.im <= m_drawList.m_fRightBound)) return;
    column = m_drawList.PosToX(peak.im);
    row = m_drawList.ValueToY(peak.re);
  } else {
    if (index >= m_process.m_nCur || !(m_drawList.m_fLeftBound <= index && index <= m_drawList.m_fRightBound)) return;
    column = m_drawList.PointToX(index);
    row = m_drawList.ValueToY(static_cast<float>(m_process.GetDisplayValue(index)));
  }
  const gdi::Size size = m_pickMark.GetSize();
  gdi::DC memory = gdi::DC::CreateCompatibleDC(dc);
  if (!memory.IsValid()) return;
  memory.SelectObject(m_pickMark);
  dc->BitBlt(column - size.cx / 2, row - size.cy, size.cx, size.cy, &memory, 0, 0, gdi::SRCINVERT);
  memory.SelectObject(gdi::Bitmap());
}

void CSpcControl::DrawPivotLine(gdi::DC* dc) {
  const std::int32_t pivot = m_process.m_nPivot;
  if (!dc || !(m_drawList.m_fLeftBound <= pivot && pivot <= m_drawList.m_fRightBound)) return;
  const gdi::Rect& plot = m_drawList.m_plotRect;
  const int x = m_drawList.PointToX(pivot);
  DrawXorLine(dc, {x, plot.top}, {x, plot.bottom});
}

void CSpcControl::DrawXorLine(gdi::DC* dc, ui::Point from, ui::Point to) {
  if (!dc) return;
  gdi::Pen pen(gdi::PS_DASHDOT, 1, kXorLineColor);
  const gdi::Pen oldPen = dc->SelectObject(pen);
  const int oldRop = dc->SetROP2(gdi::R2_XORPEN);
  const int oldMode = dc->SetBkMode(gdi::TRANSPARENT);
  dc->MoveTo(from.x, from.y);
  dc->LineTo(to.x, to.y);
  dc->SetBkMode(oldMode);
  dc->SetROP2(oldRop);
  dc->SelectObject(oldPen);
}

// ---- Pick cursors and read-outs ----------------------------------------------------------------

void CSpcControl::PickPoint(ui::Point point, int which) {
  CDrawObject* spectrum = m_drawList.FindDrawObject(kDrawSpectrum);
  if (!spectrum || !spectrum->m_area.PtInRect(point) || !HoldsData()) return;
  std::int32_t index = -1;
  if (IsCentroidMass(m_data)) {
    if (m_process.m_nScan < 0 || static_cast<std::size_t>(m_process.m_nScan) >= m_data.scans.size()) return;
    const std::vector<CSpcPoint>& peaks = m_data.scans[static_cast<std::size_t>(m_process.m_nScan)].peaks;
    const double mass = m_drawList.XToPos(point.x);
    double best = 0.0;
    for (std::size_t i = 0; i < peaks.size(); ++i) {
      const double distance = std::fabs(peaks[i].im - mass);
      if (index < 0 || distance < best) {
        index = static_cast<std::int32_t>(i);
        best = distance;
      }
    }
  } else {
    const std::int32_t count = m_process.m_nCur;
    if (count <= 0) return;
    index = std::clamp(m_drawList.XToPoint(point.x), 0, count - 1);
    const int width = spectrum->m_area.Width();
    const double ratio = width > 0 ? (static_cast<double>(m_drawList.m_fRightBound) - m_drawList.m_fLeftBound) / width : 0.0;
    if (ratio > 1.0 && std::isfinite(ratio)) {
      const std::int64_t r = static_cast<std::int64_t>(std::min(ratio, 1.0e9));
      const std::int64_t lo = std::max<std::int64_t>(index - r, 0);
      const std::int64_t hi = std::min<std::int64_t>(index + r, count);
      double top = -HUGE_VAL;
      for (std::int64_t i = lo; i < hi; ++i) {
        const double v = m_process.GetDisplayValue(static_cast<std::int32_t>(i));
        if (v > top) {
          top = v;
          index = static_cast<std::int32_t>(i);
        }
      }
    }
  }
  if (index < 0) return;
  (which == 0 ? m_drawList.m_nPickCursor1 : m_drawList.m_nPickCursor2) = index;
  ShowReadout(CursorReadout());
}

namespace {

// One group of a read-out: the cursor's position in every unit the record offers.
std::string ReadoutGroup(CSpcProcess& process, const CSpcData& data, const std::string& opening,
                         const std::function<double(CSpcProcess::PointToUnitFunc)>& position) {
  std::string text = opening;
  const std::uint32_t units = process.GetAvailableUnits();
  bool first = true;
  for (std::int32_t unit = 0; unit < kSpcUnitCount; ++unit) {
    if (!(units & (1u << unit))) continue;
    CSpcProcess::PointToUnitFunc f = process.GetPointToUnitFunc(unit);
    if (!IsCentroidMass(data) && !f) continue;
    text += (first ? "" : ", ") + std::string(GetUnitName(unit)) + ": " +
            spcedit::ReadoutValue(static_cast<float>(position(f)));
    first = false;
  }
  return text + ">";
}

}  // namespace

std::string CSpcControl::CursorReadout() {
  const std::int32_t c0 = m_drawList.m_nPickCursor1;
  const std::int32_t c1 = m_drawList.m_nPickCursor2;
  auto at = [this](std::int32_t index) {
    return [this, index](CSpcProcess::PointToUnitFunc f) -> double {
      if (IsCentroidMass(m_data)) {
        const std::size_t scan = static_cast<std::size_t>(std::max(m_process.m_nScan, 0));
        if (scan >= m_data.scans.size() || static_cast<std::size_t>(index) >= m_data.scans[scan].peaks.size()) return 0.0;
        return m_data.scans[scan].peaks[static_cast<std::size_t>(index)].im;
      }
      return (m_process.*f)(index);
    };
  };
  std::string text;
  if (c0 < 0) return text;
  text = ReadoutGroup(m_process, m_data, "Point_0 <", at(c0));
  if (c1 < 0) return text;
  text += " " + ReadoutGroup(m_process, m_data, "Point_1 <", at(c1));
  text += " " + ReadoutGroup(m_process, m_data, "Difference <",
                             [&](CSpcProcess::PointToUnitFunc f) { return at(c0)(f) - at(c1)(f); });
  return text;
}

std::string CSpcControl::IntegrationReadout() {
  const std::int32_t count = m_process.m_nCur;
  if (count <= 0 || m_rangeRect.IsRectEmpty()) return {};
  const std::int32_t from = std::clamp(m_drawList.XToPoint(m_rangeRect.left), 0, count - 1);
  const std::int32_t to = std::clamp(m_drawList.XToPoint(m_rangeRect.right), 0, count - 1);
  auto at = [this](std::int32_t index) {
    return [this, index](CSpcProcess::PointToUnitFunc f) { return f ? (m_process.*f)(index) : 0.0; };
  };
  std::string text = ReadoutGroup(m_process, m_data, "Point_0 <", at(from)) + " " +
                     ReadoutGroup(m_process, m_data, "Point_1 <", at(to));
  const double total = m_process.GetTotalIntegral();
  const double value = from <= to && total != 0.0 && std::isfinite(total)
                           ? m_process.GetIntegral(static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to), nullptr, 0, 0.0f) /
                                 total * m_drawList.m_fIntegSum
                           : 0.0;
  return text + " Integral: " + spcedit::ReadoutValue(static_cast<float>(std::isfinite(value) ? value : 0.0));
}

void CSpcControl::ShowReadout(const std::string& text) {
  if (!GetInPlaceFrame()) return;
  m_statusText = text;
  SetStatusText(text);
}

// ---- Mode commands -------------------------------------------------------------------------------

void CSpcControl::SetMouseMode(std::uint32_t mode) {
  m_mouseMode = mode == kModeSelection || m_mouseMode != mode ? mode : kModeSelection;
  m_drawList.m_nPickCursor1 = -1;
  m_drawList.m_nPickCursor2 = -1;
  Refresh();
}

void CSpcControl::OnUpdateMode(ui::CmdUI* cmd) {
  std::uint32_t mode = kModeSelection;
  switch (cmd->m_nID) {
    case ID_MODE_PICKING: mode = kModePicking; break;
    case ID_MODE_PHASING: mode = kModePhasing; break;
    case ID_MODE_INTEGRATION: mode = kModeIntegration; break;
    case ID_MODE_TEXT: mode = kModeText; break;
    default: break;
  }
  // Selection and picking need data; the others a spectrum to work on.
  cmd->Enable(mode == kModeSelection || mode == kModePicking ? HoldsData() : ShowsSpectrum());
  cmd->SetCheck(m_mouseMode == mode ? 1 : 0);
}

// ---- Buttons -------------------------------------------------------------------------------------

void CSpcControl::OnLButtonDown(ui::UINT flags, ui::Point point) {
  SetCapture();
  m_dragState = 0;
  ui::ClientDC dc(this);
  if ((flags & ui::MK_XBUTTON1) || m_mouseMode == kModePicking) {
    m_dragState = kDragPick;
    DrawPickMark(&dc, m_drawList.m_nPickCursor1);
    PickPoint(point, 0);
    DrawPickMark(&dc, m_drawList.m_nPickCursor1);
    return;
  }
  if ((flags & ui::MK_CONTROL) || m_mouseMode == kModePhasing) {
    m_lastPoint = point;
    m_dragState = kDragPhasing;
    DrawPivotLine(&dc);
    return;
  }
  if ((flags & ui::MK_SHIFT) || m_mouseMode == kModeIntegration) {
    // The range is a selection of its own: a box still on the screen goes first.
    if (!m_drawList.m_selection.IsRectEmpty()) dc.DrawFocusRect(m_drawList.m_selection);
    m_drawList.m_selection.SetRectEmpty();
    m_pressPoint = point;
    m_rangeRect = gdi::Rect(point.x, point.y, point.x, point.y);
    m_dragState = kDragIntegration;
    return;
  }
  if (m_mouseMode == kModeText) {
    ui::Wnd::ReleaseCapture();
    std::string text;
    if (!AskParamValue("TEXT", &text)) return;
    if (CText::Create(m_drawList, text, point.x, point.y)) {
      FinishCommand(kStepModified | kStepRefresh);
    }
    return;
  }
  for (std::size_t i = 0; i < m_drawList.GetSize(); ++i) {
    CDrawObject* object = m_drawList.GetAt(i);
    if (object->m_bEnabled && object->HitTest(point.x, point.y)) {
      m_drawList.m_nGrabbed = static_cast<std::int32_t>(i);
      m_lastPoint = point;
      return;
    }
  }
  DrawPickMark(&dc, m_drawList.m_nPickCursor1);
  DrawPickMark(&dc, m_drawList.m_nPickCursor2);
  m_drawList.m_nPickCursor1 = -1;
  m_drawList.m_nPickCursor2 = -1;
  if (!m_drawList.m_selection.IsRectEmpty()) dc.DrawFocusRect(m_drawList.m_selection);
  m_drawList.m_selection.SetRectEmpty();
  m_pAnchor = nullptr;
  for (std::size_t i = 0; i < m_drawList.GetSize(); ++i) {
    CDrawObject* object = m_drawList.GetAt(i);
    if (object->m_bEnabled && object->m_area.PtInRect(point)) {
      m_pAnchor = object;
      m_pressPoint = point;
      m_drawList.m_selection = gdi::Rect(point.x, point.y, point.x, point.y);
      m_dragState = kDragSelection;
      return;
    }
  }
}

void CSpcControl::OnMouseMove(ui::UINT flags, ui::Point point) {
  const std::int32_t grabbed = m_drawList.m_nGrabbed;
  if (grabbed >= 0 && static_cast<std::size_t>(grabbed) < m_drawList.GetSize()) {
    if (m_drawList.GetAt(static_cast<std::size_t>(grabbed))->Drag(point.x, point.y, m_lastPoint.x, m_lastPoint.y)) {
      FinishCommand(kStepModified | kStepRefresh);
    }
    m_lastPoint = point;
    return;
  }
  ui::ClientDC dc(this);
  if ((m_dragState & kDragSelection) && m_pAnchor) {
    gdi::Rect& selection = m_drawList.m_selection;
    if (!selection.IsRectEmpty()) dc.DrawFocusRect(selection);
    // The box keeps its press corner; the far corner follows the mouse.
    selection = gdi::Rect(m_pressPoint.x, m_pressPoint.y, m_pressPoint.x, m_pressPoint.y);
    m_pAnchor->SetVerticalArea(flags, point.x, point.y);
    if (!selection.IsRectEmpty()) dc.DrawFocusRect(selection);
  } else if (m_dragState & kDragPhasing) {
    const int dx = point.x - m_lastPoint.x;
    if (flags & ui::MK_LBUTTON) m_process.m_fPH0 += static_cast<float>(dx * 0.5);
    else if (flags & ui::MK_RBUTTON) m_process.m_fPH1 += static_cast<float>(dx * 0.25);
    else return;
    m_process.UpdatePhase();
    m_lastPoint = point;
    Refresh();
  } else if (m_dragState & kDragPick) {
    DrawPickMark(&dc, m_drawList.m_nPickCursor1);
    PickPoint(point, 0);
    DrawPickMark(&dc, m_drawList.m_nPickCursor1);
  } else if (m_dragState & kDragIntegration) {
    CDrawObject* spectrum = m_drawList.FindDrawObject(kDrawSpectrum);
    if (!spectrum) return;
    auto lines = [&] {
      DrawXorLine(&dc, {m_rangeRect.left, m_rangeRect.top}, {m_rangeRect.left, m_rangeRect.bottom});
      DrawXorLine(&dc, {m_rangeRect.right, m_rangeRect.top}, {m_rangeRect.right, m_rangeRect.bottom});
    };
    if (!m_rangeRect.IsRectEmpty()) lines();
    m_rangeRect = gdi::Rect(std::min(m_pressPoint.x, point.x), spectrum->m_area.top, std::max(m_pressPoint.x, point.x),
                            spectrum->m_area.bottom);
    if (!m_rangeRect.IsRectEmpty()) lines();
    ShowReadout(IntegrationReadout());
  }
}

// The end of a phasing gesture, by either button.
static void EndPhasing(CSpcControl& control) {
  control.RebuildPicture();
  control.SetModifiedFlag();
  ui::ClientDC dc(&control);
  control.DrawPivotLine(&dc);
  control.m_dragState = 0;
  control.Refresh();
}

void CSpcControl::OnLButtonUp(ui::UINT, ui::Point) {
  ui::Wnd::ReleaseCapture();
  if (m_dragState & kDragPhasing) {
    EndPhasing(*this);
  } else if (m_dragState & kDragIntegration) {
    ui::ClientDC dc(this);
    if (!m_rangeRect.IsRectEmpty()) {
      DrawXorLine(&dc, {m_rangeRect.left, m_rangeRect.top}, {m_rangeRect.left, m_rangeRect.bottom});
      DrawXorLine(&dc, {m_rangeRect.right, m_rangeRect.top}, {m_rangeRect.right, m_rangeRect.bottom});
      m_drawList.m_selection = m_rangeRect;
      m_dragState = 0;
      AddIntegral();
    }
    m_rangeRect.SetRectEmpty();
  }
  m_dragState = 0;
  UpdateBars();
  m_drawList.m_nGrabbed = -1;
}

void CSpcControl::OnLButtonDblClk(ui::UINT flags, ui::Point point) {
  for (std::size_t i = 0; i < m_drawList.GetSize(); ++i) {
    CDrawObject* object = m_drawList.GetAt(i);
    if (object->m_bEnabled && object->m_area.PtInRect(point) && object->EditAt(flags, point.x, point.y)) {
      FinishCommand(kStepModified | kStepRefresh);
      return;
    }
  }
}

void CSpcControl::OnRButtonDown(ui::UINT flags, ui::Point point) {
  m_rightClick = point;
  ui::ClientDC dc(this);
  if ((flags & ui::MK_SHIFT) || m_mouseMode == kModePicking) {
    m_dragState = kDragPick;
    if (m_drawList.m_nPickCursor2 >= 0) {
      DrawPickMark(&dc, m_drawList.m_nPickCursor2);
      m_drawList.m_nPickCursor2 = -1;
      ShowReadout(CursorReadout());
    } else if (m_drawList.m_nPickCursor1 >= 0) {
      PickPoint(point, 1);
      DrawPickMark(&dc, m_drawList.m_nPickCursor2);
    }
    return;
  }
  if ((flags & ui::MK_CONTROL) || m_mouseMode == kModePhasing) {
    m_dragState = 0;
    SetCapture();
    m_lastPoint = point;
    m_dragState = kDragPhasing;
    DrawPivotLine(&dc);
    return;
  }
  const int index = ContextMenuAt(point);
  if (index < 0) return;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  ui::Menu menu;
  if (!menu.LoadMenu(nelvar::IDR_CONTEXTMENU)) return;
  ui::Menu* popup = menu.GetSubMenu(index);
  if (!popup) return;
  ui::Point screen = point;
  ClientToScreen(&screen);
  popup->TrackPopupMenu(ui::TPM_LEFTALIGN | ui::TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

void CSpcControl::OnRButtonUp(ui::UINT, ui::Point) {
  ui::Wnd::ReleaseCapture();
  if (m_dragState & kDragPhasing) EndPhasing(*this);
  m_dragState = 0;
  UpdateBars();
}

int CSpcControl::ContextMenuAt(ui::Point point) {
  // The objects under the point answer in list order, the first answer that names a menu wins;
  // every object that is not asked (disabled, elsewhere, the trace itself) lets the spectrum
  // answer while nothing has. So the spectrum's menu opens wherever no object has one of its
  // own (the vertical scale's band, the notice line), and "Import" alone only without a trace.
  CDrawObject* spectrum = m_drawList.FindDrawObject(kDrawSpectrum);
  auto ask = [&](CDrawObject* object) {
    const bool inSelection = object == m_pAnchor && m_drawList.m_selection.PtInRect(point);
    return object->GetContextMenu(inSelection);
  };
  int index = 5;
  for (std::size_t i = 0; i < m_drawList.GetSize(); ++i) {
    CDrawObject* object = m_drawList.GetAt(i);
    if (object->m_bEnabled && object->m_area.PtInRect(point) && object->GetType() != kDrawSpectrum) {
      if (const int answer = ask(object); answer != -1) return answer;
    } else if (spectrum && (index == -1 || index == 5)) {
      index = ask(spectrum);
    }
  }
  return index;
}

// ---- Keys ------------------------------------------------------------------------------------------

void CSpcControl::OnKeyDown(ui::UINT key, ui::UINT, ui::UINT) {
  if (key != ui::VK_LEFT && key != ui::VK_RIGHT) {
    Default();
    return;
  }
  m_process.m_fPH0 += key == ui::VK_LEFT ? -10.0f : 10.0f;
  m_process.UpdatePhase();
  Refresh();
}

// ---- Integrals -----------------------------------------------------------------------------------

void CSpcControl::AddIntegral() {
  gdi::Rect& range = m_drawList.m_selection;
  const std::int32_t count = m_process.m_nCur;
  if (range.IsRectEmpty() || count <= 0) return;
  const std::int32_t from = std::clamp(m_drawList.XToPoint(range.left), 0, count - 1);
  const std::int32_t to = std::clamp(m_drawList.XToPoint(range.right), 0, count - 1);
  if (to < from) return;
  spcedit::InsertIntegral(m_data.integrals, static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to));
  range.SetRectEmpty();
  FinishCommand(kStepModified | kStepRefresh);
}
