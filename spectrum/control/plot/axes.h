#pragma once
// The objects that frame the trace and give it scales. CBorder (type 1) draws a rectangle
// around the drawing area and shrinks it; CScaleY1 (3) reserves a band at the left for the
// vertical scale; CGrid (4) draws a dotted grid every 100 device pixels; CScale (6) draws the x
// axis with ticks, labels and the unit name at the bottom and shrinks the area from below;
// CScaleY2 (9), drawn after the trace, draws the vertical scale (percent of the plot height) in
// the band CScaleY1 reserved, with CScaleY1's appearance.
#include <cstdint>

#include "controls/font/olefont.h"
#include "spectrum/control/plot/drawobject.h"

class CBorder : public CDrawObject {
 public:
  CBorder(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);
  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;

  gdi::LOGPEN m_linePen;  // "BorderLineWidth", "BorderLineColor"
};

class CGrid : public CDrawObject {
 public:
  CGrid(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);
  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;

  gdi::LOGPEN m_linePen;  // "GridLineColor"
};

class CScale : public CDrawObject {
 public:
  CScale(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);
  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;
  int GetContextMenu(bool inSelection) override;

  gdi::LOGPEN m_axisPen;         // "ScaleLineWidth", "ScaleLineColor"
  gdi::LOGPEN m_tickPen;         // replaced at each drawing by the axis pen at half width
  gdi::COLORREF m_textColor = 0;  // "ScaleTextColor"
  std::int32_t m_nUnit = 0;      // X unit 0-7 ("ScaleUnits")
  gdi::LOGFONTA m_logFont;       // "ScaleFont"
  COleFont m_fontObject{&m_logFont};
};

class CScaleY1 : public CDrawObject {
 public:
  CScaleY1(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);
  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;

  gdi::LOGPEN m_axisPen;         // "ScaleYLineWidth", "ScaleYLineColor"
  gdi::LOGPEN m_tickPen;         // replaced at each drawing by the axis pen at half width
  gdi::COLORREF m_textColor = 0;  // "ScaleYTextColor"
  gdi::LOGFONTA m_logFont;       // "ScaleYFont"
  COleFont m_fontObject{&m_logFont};
  gdi::Rect m_band;              // reserved at the last drawing; empty when none; not archived
};

class CScaleY2 : public CDrawObject {
 public:
  CScaleY2(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
};
