#pragma once
// The scroll strip's range and picture: the shown range of a spectrum as two point indices,
// moved by drags, and the overview drawing (the spectrum's picture with the range band).
#include <cstdint>

#include "platform/gdi/dc.h"
#include "platform/gdi/metafile.h"

namespace karvel {

struct ScrollRange {
  std::int32_t left = 0;    // LeftBound: the first shown point
  std::int32_t right = 0;   // RightBound: the last shown point
  std::int32_t points = 0;  // Points: the spectrum's point count

  // A drag of dx pixels across a panel width pixels wide moves both bounds by
  // MulDiv(points, dx, width), stopped at 0 and at points - 1, so the range keeps its width.
  // The bounds are brought into 0 .. points - 1 first; without points or width nothing moves.
  void Drag(std::int32_t dx, std::int32_t width);
};

// Fills rect with the menu colour; with a picture, the band of the range (at least a pixel wide)
// in the window colour over the rectangle shrunk by inset, the picture played into that
// rectangle; then a one-pixel frame, raised or sunken. Without points there is no band.
void PaintScrollStrip(gdi::DC& dc, const gdi::Rect& rect, int inset, const gdi::EnhMetaFile& picture,
                      const ScrollRange& range, bool raised);

}  // namespace karvel
