#pragma once
// The peak labels of a plot: the record's peak list (point indexes; for kind MASS indexes of
// the current scan's peak pairs) drawn as text.
//
// CTPeaks (type 5) takes a band at the top of the drawing area while there are labels to draw:
// one vertical label per visible peak in the object's X unit, each on a leader from the peak's
// column; crowded labels step to the right, the leader slanting to them. Its decimals follow
// the data: 5 - e, e = ceil(log10) of the largest magnitude of the axis (no decimals from 5
// digits on, at most 9 below 1). CMPeaks (type 11), drawn after the trace, writes a horizontal
// label just above the top of each visible peak, optionally with its intensity relative to the
// largest in percent; mass spectra use it.
#include <cstdint>

#include "controls/font/olefont.h"
#include "spectrum/control/plot/drawobject.h"

class CTPeaks : public CDrawObject {
 public:
  CTPeaks(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;
  int GetContextMenu(bool inSelection) override;
  // The selection is a full-height band of the label area: an x range.
  void SetVerticalArea(std::uint32_t flags, int x, int y) override;

  // The decimals of the labels for the current data (Draw uses them, not m_nDigits) and the
  // number of characters the band leaves for a label.
  struct LabelFormat {
    int decimals;
    int length;
  };
  LabelFormat GetLabelFormat() const;

  gdi::LOGPEN m_linePen;          // "TPeaksLineWidth", "TPeaksLineColor"
  gdi::COLORREF m_textColor = 0;  // "TPeaksTextColor"
  gdi::LOGFONTA m_logFont;        // "TPeaksFont"
  COleFont m_fontObject{&m_logFont};
  std::int32_t m_nUnit = 0;       // X unit 0-7 ("TPeaksUnits")
  std::int32_t m_nDigits = 2;     // "TPeaksDigits": stored and offered, not used in drawing
};

class CMPeaks : public CDrawObject {
 public:
  CMPeaks(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;
  int GetContextMenu(bool inSelection) override;

  gdi::LOGPEN m_linePen;
  gdi::COLORREF m_textColor = 0;    // "MPeaksTextColor"
  gdi::LOGFONTA m_logFont;          // "MPeaksFont"
  COleFont m_fontObject{&m_logFont};
  std::int32_t m_nDigits = 0;       // "MPeaksDigits"; not archived
  bool m_bRelativeIntensity = false;  // appends "(37%)"; not archived
  std::int32_t m_nUnit = 0;         // "MPeaksUnits"
};
