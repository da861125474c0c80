#pragma once
// The trace objects. CSpectrum (type 8) draws the spectrum: for kind MASS the peaks of the
// current scan as vertical sticks, for every other kind the displayed values of the current
// data as a line or as dots, and while it draws it fixes the vertical scale every other object
// uses (smallest and largest displayed value, points per column, value per row, all stored in
// the list). It marks the list's zoom regions: x ranges drawn magnified, bracketed and labelled
// "X %.1f". CIonCurrent (type 15) draws the ion current of a multi-scan mass spectrum, one value
// per scan; it never enters a list.
//
// Drawing algorithms ("DrawAlgorithm"): 1 "Best" walks every visible point and draws a segment
// only to a pixel not yet reached; 0 "Fastest" draws from one buffer entry per pixel column,
// each column as the vertical run from its smallest to its largest value, so narrow peaks of
// either sign survive however many points a column holds.
#include <cstdint>
#include <vector>

#include "controls/font/olefont.h"
#include "spectrum/control/plot/drawobject.h"
#include "spectrum/control/plot/pointstream.h"

class CSpectrum : public CDrawObject {
 public:
  CSpectrum(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;
  int GetContextMenu(bool inSelection) override;

  // ---- Appearance and state (in the order archived) ----
  gdi::LOGPEN m_tracePen;             // trace pen ("SpectrumLineWidth", "SpectrumLineColor")
  std::int32_t m_nDrawAlgorithm = 1;  // 0 "Fastest", 1 "Best"
  float m_fMax = 0.0f;                // largest displayed value of the last drawing
  float m_fMin = 0.0f;                // smallest
  std::uint32_t m_dwReserved1 = 0;    // archived as it stands
  float m_fValuePerPixel = 0.0f;
  std::uint32_t m_dwReserved2 = 0;
  // One displayed value per column (more when there are fewer points than columns).
  std::vector<float> m_buffer;
  gdi::COLORREF m_zoomColor = 0;      // "ZoomColor"; not archived
  gdi::LOGFONTA m_zoomFont;           // "ZoomFont"; not archived
  COleFont m_zoomFontObject{&m_zoomFont};

 private:
  void DrawSticks(gdi::DC* dc, const gdi::Rect& rect);
  void FillBuffer(const gdi::Rect& rect, PointStream& points);
  void DrawBest(gdi::DC* dc, const gdi::Rect& rect, PointStream& points);
  void DrawFastest(gdi::DC* dc, const gdi::Rect& rect);
  void DrawDots(gdi::DC* dc, const gdi::Rect& rect, PointStream& points);
  // The zero row and rows per value of the current drawing, from the scale just found.
  void SetRowScale(const gdi::Rect& rect);
  // The row of a displayed value on the current scale, no higher than the top when clamped.
  int Row(double value, const gdi::Rect& rect, bool clampTop) const;
  // The marks of a zoom region: m the largest raw value inside it, cy the height of "X".
  void DrawZoomStart(gdi::DC* dc, const gdi::Rect& rect, float from, float m, float factor, int cy);
  void DrawZoomEnd(gdi::DC* dc, const gdi::Rect& rect, float to, float m, float factor, int cy);
  int ZoomMarkRow(const gdi::Rect& rect, float m, float factor, int cy);

  // Kept between drawings, so a redraw allocates nothing: the "Fastest" drawing's smallest and
  // largest value per column and which of them comes first, the points streamed from the
  // processing object, and the vertices of the line.
  std::vector<float> m_columnMin;
  std::vector<float> m_columnMax;
  std::vector<std::uint8_t> m_columnMaxFirst;
  PointBuffers m_stream;
  std::vector<int> m_walkRows;
  std::vector<gdi::Point> m_vertices;
  int m_zeroRow = 0;  // of the current drawing
  double m_rowsPerValue = 0.0;
};

class CIonCurrent : public CDrawObject {
 public:
  CIonCurrent(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;
  int GetContextMenu(bool inSelection) override;

  gdi::LOGPEN m_ionPen;
};
