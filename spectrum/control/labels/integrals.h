#pragma once
// The integrals of a plot: the record's integral ranges {from, to, factor} (point indexes,
// sorted by from, without overlap) drawn and edited with the mouse.
//
// CIntegrals (type 10) draws the running integral of each visible range over the trace, scaled
// so that the total integral divided by the list's integral scale fills the plot height less a
// fifteenth. While the list's integral correction is on, a screen drawing puts a square handle
// at the end of each curve; dragging it up or down sets the range's factor (a constant added to
// every point of the range) so that the curve's end follows the mouse.
//
// CIntegSums (type 7) takes a band at the bottom of the drawing area while there are ranges: a
// bracket under each visible range with its value, integral / total x the list's integral sum.
// Dragging a bracket sideways shifts its range (never over a neighbour, never off the data); a
// double click splits the range under the mouse.
//
// A range is visible when one of its ends lies in the view [left bound, right bound]; it is
// drawn clamped to the view. Nothing is drawn outside the spectrum domain, and no curve while the
// total integral is 0 (a flat zero spectrum): there is nothing to scale it to.
#include <cstdint>
#include <vector>

#include "controls/font/olefont.h"
#include "spectrum/control/plot/drawobject.h"

class CIntegrals : public CDrawObject {
 public:
  CIntegrals(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;
  // 1 on the square of a correction handle (only while integral correction is on).
  int HitTest(int x, int y) override;
  // Moves the handle under (x0, y0), the mouse's last point, to row y: the range's factor
  // changes so that its curve ends there, and the handle is kept there until the next drawing.
  // False when there is no handle there or the range cannot take a factor (one point, nothing
  // to scale to).
  bool Drag(int x, int y, int x0, int y0) override;

  gdi::LOGPEN m_linePen;  // "IntegralLineWidth", "IntegralLineColor"
  // Filled at each drawing: the handles' centres and the index of each handle's range.
  std::vector<int> m_handleX;
  std::vector<int> m_handleY;
  std::vector<int> m_handleRange;

 private:
  int HandleAt(int x, int y) const;
  std::vector<float> m_curve;  // samples of one running integral, kept between drawings
};

class CIntegSums : public CDrawObject {
 public:
  CIntegSums(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;
  int GetContextMenu(bool inSelection) override;
  // The selection is a full-height band of the bracket area: an x range.
  void SetVerticalArea(std::uint32_t flags, int x, int y) override;
  // Splits the range under x at its point: {from, q} and {q + 1, to, 1.0}. Always empties the
  // list's selection.
  bool EditAt(std::uint32_t flags, int x, int y) override;
  // Shifts the range under x0 by the columns from x0 to x.
  bool Drag(int x, int y, int x0, int y0) override;
  // 1 inside the band over a range.
  int HitTest(int x, int y) override;

  gdi::LOGPEN m_linePen;          // "IntegSumsLineWidth", "IntegSumsLineColor"
  gdi::COLORREF m_textColor = 0;  // "IntegSumsTextColor"
  gdi::LOGFONTA m_logFont;        // "IntegSumsFont"; lfEscapement is "IntegSumsEscape"
  COleFont m_fontObject{&m_logFont};
  std::int32_t m_nDigits = 2;     // "IntegSumsDigits"

 private:
  // Index of the first range with from < point < to, or -1.
  int RangeInside(int point) const;
};
