#pragma once
// The structure control's picture as pixel geometry: the frame, the skeleton scaled into the
// area above the field table with the molecule's proportions kept on the device, bond lines
// (single, and pairs of parallel lines for the higher types), atom labels for every atom but an
// exact "C", and the field table. The drawing selects the pens and fonts given here and draws
// the lines and texts as they stand.
//
// A molecule without extent on an axis (a single atom, a chain along one axis) is centred on
// that axis; a bond of zero length draws no parallel lines; an empty structure area draws no
// skeleton.
#include <vector>

#include "controls/common/layout.h"
#include "controls/structure/structmodel.h"

namespace karvel {

struct StructurePicture {
  // Widths in pixels; the structure pen's width, at least 1, is the spacing unit of the
  // parallel lines.
  gdi::LOGPEN structPen;
  gdi::LOGPEN fieldsPen;
  // Heights in pixels.
  gdi::LOGFONTA structFont;
  gdi::LOGFONTA fieldsFont;
  // The frame is drawn in the fields pen, and filled with the background colour unless hollow.
  Rect frame;
  bool filled = false;
  gdi::COLORREF background = 0;
  // The skeleton's area after its proportions were fitted to the device.
  Rect structureArea;
  // One point per atom (empty when no skeleton is drawn).
  std::vector<Point> atoms;
  std::vector<Line> bonds;
  std::vector<PlacedText> labels;
  GridPicture fieldTable;
};

StructurePicture LayoutStructure(const CStructureModel& model, const Rect& bounds, const DeviceInfo& device,
                                 TextMeasure& measure);

}  // namespace karvel
