#pragma once
// CRulers: the two rulers a document window draws along its top and left edge, in millimetres of
// the page at the document's zoom, and the marks they show of the pointer or of a rectangle being
// dragged. A plain record the child frame keeps; it draws into whatever DC the frame gives it
// (the frame's own window DC, over its non-client area).
//
// Marks are XOR drawings: drawn again they vanish, so every full drawing of the rulers forgets
// them ("none" again).
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"

// The labelled steps of one ruler scale from `start` to `end` (units) over `length` pixels, for
// labels of characters `charWidth` pixels wide. Not valid for an empty or non-finite span: the
// ruler then shows its edges and caption only.
struct RulerScale {
  bool valid = false;
  double step = 0;   // units between two labels
  double first = 0;  // the first labelled value at or after the start
  int decimals = 0;  // digits after the point in each label
};
RulerScale ComputeRulerScale(double start, double end, int length, int charWidth);

struct CRulers {
  // Thickness of either ruler, and where the scales start inside the ruler area.
  static constexpr int kMargin = 26;

  CRulers();

  float m_zoom = 1.0f;           // document zoom percent x 0.01
  float m_pixelsPerUnit = 1.0f;  // pixels per millimetre at 100 %
  float m_xOrigin = 0.0f;        // the units shown at the scales' start
  float m_yOrigin = 0.0f;
  gdi::LOGFONTW m_font;          // height in points; the drawing scales it to the device
  gdi::Point m_crosshair{-1, -1};            // view client pixels; (-1, -1): none
  gdi::Rect m_rubber{-1, 0, 0, 0};           // view client pixels; left -1: none
  gdi::Rect m_area;                          // the ruler area of the last drawing (window coordinates)

  gdi::Size GetSize() const { return {kMargin, kMargin}; }
  void SetOrigin(float x, float y) {
    m_xOrigin = x;
    m_yOrigin = y;
  }

  // Between units and ruler pixels (the ruler margin included), truncated toward zero and kept
  // inside the int range.
  int UnitToPixelX(double value) const;
  int UnitToPixelY(double value) const;
  double PixelToUnitX(int pixel) const;
  double PixelToUnitY(int pixel) const;

  // The whole rulers inside the area (left, top, right, bottom), window coordinates.
  void Draw(gdi::DC& dc, int left, int top, int right, int bottom);
  // Moves the marks to the pointer at (x, y), or to the two corners of a dragged rectangle.
  // (-1, -1) and a rectangle with left -1 take the marks away.
  void SetCrosshair(int x, int y, gdi::DC& dc);
  void SetRubberRect(const gdi::Rect& rect, gdi::DC& dc);
  // The two XOR marks of one point: a line across each ruler.
  void DrawMarks(gdi::DC& dc, int x, int y) const;

 private:
  void EraseMarks(gdi::DC& dc) const;
  void DrawHorizontalScale(gdi::DC& dc, const gdi::Rect& ruler, int left, int right) const;
  void DrawVerticalScale(gdi::DC& dc, const gdi::Rect& ruler, int top, int bottom) const;
};
