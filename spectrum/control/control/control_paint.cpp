// Painting: the plot through the painter, from its cached bitmap on the screen and straight
// into metafiles and printers.
#include "spectrum/control/control/spccontrol.h"

const ui::MsgEntry* CSpcControl::PaintMessages() {
  static const ui::MsgEntry entries[] = {{}};
  return entries;
}

void CSpcControl::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) {
  if (!dc) return;
  CPlotPainter::PaintState state;
  state.inPlaceActive = IsInPlaceActive();
  state.modified = IsModified();
  state.site = m_pOrvSite ? this : nullptr;
  m_painter.OnDraw(*dc, bounds, state);
}

void CSpcControl::OnDrawMetafile(gdi::DC* dc, const gdi::Rect& bounds) {
  if (dc) m_painter.OnDrawMetafile(*dc, bounds, m_pOrvSite ? this : nullptr);
}
