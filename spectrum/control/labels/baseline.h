#pragma once
// CBaseline (type 12): the fitted baseline of the processing object over the trace (the base
// level where there is no curve), with its baseline points as filled circles. A double click
// removes the point within five pixels of the selection's left edge, or adds one there; the
// processing object then fits its baseline again.
#include <cstdint>

#include "spectrum/control/plot/drawobject.h"

class CBaseline : public CDrawObject {
 public:
  CBaseline(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;
  int GetContextMenu(bool inSelection) override;
  // The point is the one under the list's selection's left edge (the press of the double
  // click put it there), not (x, y). True when the baseline points changed.
  bool EditAt(std::uint32_t flags, int x, int y) override;

  gdi::LOGPEN m_linePen;              // "BaselineLineWidth", "BaselineLineColor"
  gdi::COLORREF m_circleColor = 0;    // "BaselineCircColor"; not archived
  std::int32_t m_nCircleRadius = 150;  // 0.01 mm ("BaselineCircRadius"); not archived
};
