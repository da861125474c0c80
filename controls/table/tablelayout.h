#pragma once
// The table's picture as pixel geometry: the grid pen scaled to the device, and, with a
// spectrum attached, the grid of the cells' shown texts stretched over the bounds (each text
// in its cell's colour and font, centred in its cell). Laying out rebuilds every shown text,
// as each drawing does. Without a spectrum, or while every text is empty, there is no grid.
#include "controls/common/layout.h"
#include "controls/table/tablemodel.h"

namespace karvel {

struct TablePicture {
  // Width in pixels.
  gdi::LOGPEN gridPen;
  GridPicture grid;
};

TablePicture LayoutTable(CTableModel& model, const Rect& bounds, const DeviceInfo& device, TextMeasure& measure);

}  // namespace karvel
