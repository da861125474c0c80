// When the control's commands are enabled, and what a handler does after its operation.
#include "spectrum/control/control/spccontrol.h"

bool CSpcControl::HoldsSpectrumData() const { return !m_data.spectrum().empty() || !m_data.scans.empty(); }

bool CSpcControl::ShowsSpectrum() const { return HoldsSpectrumData() && m_data.nDomain == 1; }

bool CSpcControl::HoldsFidData() const { return !m_data.fid().empty(); }

bool CSpcControl::HasSelection() const { return !SelectionRect().IsRectEmpty(); }

bool CSpcControl::HasRangeSource() const {
  return ShowsSpectrum() && (HasSelection() || FirstCursor() != -1 || !m_args.empty());
}

void CSpcControl::FinishCommand(unsigned steps) {
  if (steps & kStepRebuild) RebuildPicture();
  if (steps & kStepFullSize) OnFullSize();
  if (steps & kStepSynchronize) SynchronizeViews();
  if (steps & kStepModified) SetModifiedFlag(true);
  if (steps & kStepRefresh) Refresh();
}
