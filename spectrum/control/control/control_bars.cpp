// The control's tool bars: the nine bars made in the first control's main frame, and the bar
// layout and state flags kept per spectrum kind (in memory while the control lives, in the
// profile between loads).
#include <charconv>
#include <string>

#include "foundation/profdesc.h"
#include "foundation/proftree.h"
#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "profile/profile.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/frames/controlframewnd.h"
#include "spectrum/control/frames/mainframewnd.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"

namespace {

using namespace nelvar;

// The bars in the order they are made, and where each may dock.
struct BarRow {
  ui::UINT id;
  ui::DWORD dockSides;
};
constexpr BarRow kBars[] = {
    {IDW_SPECTRUMBAR, ui::CBRS_ALIGN_ANY},  {IDW_PHASEBAR, ui::CBRS_ALIGN_ANY},
    {IDW_INTEGRALBAR, ui::CBRS_ALIGN_ANY},  {IDW_PICKBAR, ui::CBRS_ALIGN_ANY},
    {IDW_CONSOLEBAR, ui::CBRS_ALIGN_ANY},   {IDW_TRANSFORMBAR, ui::CBRS_ALIGN_ANY},
    {IDW_BASELINEBAR, ui::CBRS_ALIGN_ANY},  {IDW_MULTIDISPBAR, ui::CBRS_ALIGN_TOP | ui::CBRS_ALIGN_BOTTOM},
    {IDW_NAVIGATEBAR, ui::CBRS_ALIGN_TOP | ui::CBRS_ALIGN_BOTTOM},
};

// Made hidden: they show when a control is UI-active and the container grants room.
constexpr ui::DWORD kBarStyle = ui::WS_CHILD | ui::CBRS_ALIGN_TOP | ui::CBRS_BORDER_BOTTOM | ui::CBRS_HIDE_INPLACE |
                                ui::CBRS_SIZE_DYNAMIC;
static_assert(kBarStyle == 0x4000280C);

// A value name of a bar-state section: the bar id in decimal.
bool ReadBarId(std::u16string_view name, std::uint32_t* id) {
  const std::string text = plat::toUtf8(name);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *id);
  return ec == std::errc() && end != text.data();
}

}  // namespace

std::string CSpcControl::BarStateSection() {
  plat::ole::Bstr method = nullptr;
  std::string name;
  if (plat::ole::succeeded(m_xSpectrumControl.GetCurMethod(&method))) name = plat::toUtf8(plat::ole::stringView(method));
  plat::ole::freeString(method);
  return name + "-Toolbars";
}

void CSpcControl::SaveBarState() {
  if (!HoldsData()) return;
  const std::string section = BarStateSection();
  COrvProfDesc desc(u"", plat::toUtf16(section).c_str());
  if (desc.Open(PROF_MODE_ALL) == PROF_OK || desc.Create(PROF_MODE_ALL, 0) == PROF_OK) {
    for (const auto& [id, flags] : m_barStates)
      OrvSetProfInt(plat::toUtf16(std::to_string(id)).c_str(), static_cast<int>(flags), &desc);
    desc.Close();
  }
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  m_dockState.SaveState(section);
}

void CSpcControl::LoadBarState() {
  if (!HoldsData()) return;
  const std::string section = BarStateSection();
  COrvProfDesc desc(u"", plat::toUtf16(section).c_str());
  if (desc.Open(PROF_MODE_OPEN) == PROF_OK) {
    plat::String16 name;
    for (int i = 0; EnumProfValueName(i, &desc, &name) == PROF_OK; ++i) {
      std::uint32_t id = 0;
      int flags = 0;
      if (ReadBarId(name, &id) && OrvGetProfInt(name.c_str(), &flags, 0, &desc) == PROF_OK)
        m_barStates[id] = static_cast<std::uint32_t>(flags);
    }
    desc.Close();
  }
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  m_dockState.LoadState(section);
}

void CSpcControl::CreateControlBars(CMainFrameWnd* frame) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  std::vector<std::unique_ptr<ui::ControlBar>> bars;
  for (const BarRow& row : kBars) bars.push_back(MakeControlBar(row.id));
  for (std::size_t i = 0; i < bars.size(); ++i) {
    if (!bars[i] || !CreateControlBar(*bars[i], frame, kBars[i].id, kBarStyle)) continue;
    bars[i]->EnableDocking(kBars[i].dockSides);
    frame->DockControlBar(bars[i].get());
    frame->AdoptBar(std::move(bars[i]));
  }
  COleControlEx::CreateControlBars(frame);
}

plat::ole::HResult CSpcControl::OnActivateInPlace(bool uiActivate, ui::MSG* msg) {
  const plat::ole::HResult hr = COleControlEx::OnActivateInPlace(uiActivate, msg);
  if (CMainFrameWnd* frame = GetMainFrame()) {
    if (!m_dockState.IsEmpty()) frame->SetDockState(m_dockState);
    if (!m_barStates.empty())
      for (ui::ControlBar* bar : frame->Bars()) {
        const auto it = m_barStates.find(bar->GetDlgCtrlID());
        bar->m_nStateFlags = it == m_barStates.end() ? 0 : it->second;
      }
  }
  return hr;
}

void CSpcControl::OnHideToolBars() {
  // The kind's layout is taken while the bars still show as the user left them.
  if (CMainFrameWnd* frame = GetMainFrame(); frame && GetControlFrame() && GetControlFrame()->m_bBarsShown) {
    frame->GetDockState(m_dockState);
    for (ui::ControlBar* bar : frame->Bars()) m_barStates[bar->GetDlgCtrlID()] = bar->m_nStateFlags;
  }
  COleControlEx::OnHideToolBars();
}
