#include "controls/table/tablelayout.h"

#include <algorithm>
#include <vector>

namespace karvel {

TablePicture LayoutTable(CTableModel& model, const Rect& bounds, const DeviceInfo& device, TextMeasure& measure) {
  TablePicture picture;
  picture.gridPen = model.GridPen();
  picture.gridPen.lopnWidth.x = picture.gridPen.lopnWidth.y = PenWidthPixels(model.GridPen().lopnWidth.x, device.dpiX, device.zoom);
  if (!model.GetSpectrum()) return picture;

  std::vector<std::int32_t> widths(model.Columns(), 0), heights(model.Rows(), 0);
  std::vector<GridText> texts;
  for (std::uint32_t c = 0; c < model.Columns(); ++c) {
    for (std::uint32_t r = 0; r < model.Rows(); ++r) {
      TableCell* cell = model.FindCell(c, r);
      if (!cell) continue;
      cell->shownText = model.ExpandText(cell->text);
      // Cell fonts scale with the vertical resolution.
      const gdi::LOGFONTA font = ScaleFont(cell->font, device.dpiY, device.zoom);
      const Size extent = measure.Extent(cell->shownText, font);
      widths[c] = std::max(widths[c], extent.cx);
      heights[r] = std::max(heights[r], extent.cy);
      texts.push_back({c, r, cell->shownText, extent, font, cell->color});
    }
  }
  picture.grid = StretchGrid(bounds, widths, heights, std::move(texts));
  return picture;
}

}  // namespace karvel
