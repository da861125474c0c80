#include "controls/structure/structlayout.h"

#include <algorithm>
#include <cmath>

namespace karvel {

namespace {

bool IsCarbon(const StructAtom& atom) { return atom.symbol == "C"; }

// Places the atoms in area, keeping the molecule's proportions on a device of dpiX x dpiY.
void PlaceAtoms(const Molecule& mol, Rect area, const DeviceInfo& device, StructurePicture* picture) {
  if (mol.atoms.empty() || area.Width() <= 0 || area.Height() <= 0 || device.dpiX <= 0 || device.dpiY <= 0) return;
  double minX = mol.atoms[0].x, maxX = minX, minY = mol.atoms[0].y, maxY = minY;
  for (const StructAtom& a : mol.atoms) {
    minX = std::min<double>(minX, a.x);
    maxX = std::max<double>(maxX, a.x);
    minY = std::min<double>(minY, a.y);
    maxY = std::max<double>(maxY, a.y);
  }
  const double spanX = maxX - minX, spanY = maxY - minY;
  const double px = device.dpiX, py = device.dpiY;
  if (spanX > 0 && spanY > 0) {
    const double cy = static_cast<double>(area.Height()) / spanY / py;
    const double cx = static_cast<double>(area.Width()) / spanX / px;
    if (cy > cx) {
      const std::int32_t d = TruncToPixel(spanY * py * (cy - cx) / 2);
      area.top = ClampPixel(std::int64_t(area.top) + d);
      area.bottom = ClampPixel(std::int64_t(area.bottom) - d);
    } else {
      const std::int32_t d = TruncToPixel(spanX * px * (cx - cy) / 2);
      area.left = ClampPixel(std::int64_t(area.left) + d);
      area.right = ClampPixel(std::int64_t(area.right) - d);
    }
  }
  picture->structureArea = area;
  const double w = static_cast<double>(area.Width()), h = static_cast<double>(area.Height());
  picture->atoms.reserve(mol.atoms.size());
  for (const StructAtom& a : mol.atoms) {
    const double x = spanX > 0 ? area.left + std::trunc(w * (a.x - minX) / spanX) : area.left + std::trunc(w / 2);
    const double y = spanY > 0 ? area.top + std::trunc((a.y - minY) * h / spanY) : area.top + std::trunc(h / 2);
    picture->atoms.push_back({TruncToPixel(x), TruncToPixel(y)});
  }
}

// The lines of one bond between p1 and p2 (already moved off their labels).
void AddBondLines(std::uint32_t type, Point p1, Point p2, std::int32_t unit, std::vector<Line>* lines) {
  if (type & 1) lines->push_back({p1, p2});
  if (type <= 1) return;
  const double dx = double(p2.x) - p1.x, dy = double(p2.y) - p1.y;
  const double length = std::hypot(dx, dy) / unit * 1.25;
  if (length == 0) return;
  const std::int64_t m = TruncToPixel(-(type * dy / length));
  const std::int64_t n = TruncToPixel(type * dx / length);
  // Even types start next to the bond's axis, odd ones leave room for the centre line.
  const std::int64_t first = (type & 1) ? 2 : 1;
  const std::int64_t pairs = std::int64_t(type & ~1u) - 1;
  for (std::int64_t k = 0; k < pairs; ++k) {
    const std::int64_t ox = (first + k) * m, oy = (first + k) * n;
    lines->push_back({{ClampPixel(p1.x + ox), ClampPixel(p1.y + oy)}, {ClampPixel(p2.x + ox), ClampPixel(p2.y + oy)}});
    lines->push_back({{ClampPixel(p1.x - ox), ClampPixel(p1.y - oy)}, {ClampPixel(p2.x - ox), ClampPixel(p2.y - oy)}});
  }
}

void AddSkeleton(const CStructureModel& model, TextMeasure& measure, StructurePicture* picture) {
  const Molecule& mol = model.molecule();
  if (picture->atoms.size() != mol.atoms.size()) return;
  std::vector<Size> extents(mol.atoms.size());
  for (std::size_t i = 0; i < mol.atoms.size(); ++i)
    if (!IsCarbon(mol.atoms[i])) extents[i] = measure.Extent(mol.atoms[i].symbol, picture->structFont);

  const std::int32_t unit = std::max<std::int32_t>(picture->structPen.lopnWidth.x, 1);
  for (const BondWord w : mol.bonds) {
    if (!BondWordFits(w, mol.atoms.size())) continue;
    const std::size_t i1 = BondFirstAtom(w) - 1, i2 = BondSecondAtom(w) - 1;
    Point p1 = picture->atoms[i1], p2 = picture->atoms[i2];
    const double f = std::atan2(double(p2.x) - p1.x, double(p1.y) - p2.y);
    if (!IsCarbon(mol.atoms[i1])) {
      p1.x = ClampPixel(std::int64_t(p1.x) + RoundToPixel(std::sin(f) * extents[i1].cx / 2));
      p1.y = ClampPixel(std::int64_t(p1.y) - RoundToPixel(std::cos(f) * extents[i1].cy / 2));
    }
    if (!IsCarbon(mol.atoms[i2])) {
      p2.x = ClampPixel(std::int64_t(p2.x) - RoundToPixel(std::sin(f) * extents[i2].cx / 2));
      p2.y = ClampPixel(std::int64_t(p2.y) + RoundToPixel(std::cos(f) * extents[i2].cy / 2));
    }
    AddBondLines(BondType(w), p1, p2, unit, &picture->bonds);
  }

  for (std::size_t i = 0; i < mol.atoms.size(); ++i) {
    if (IsCarbon(mol.atoms[i])) continue;
    const Point p = picture->atoms[i];
    picture->labels.push_back(
        {mol.atoms[i].symbol,
         {ClampPixel(std::int64_t(p.x) - extents[i].cx / 2), ClampPixel(std::int64_t(p.y) - extents[i].cy / 2)},
         picture->structFont,
         model.StructTextColor()});
  }
}

void AddFieldTable(const CStructureModel& model, const Rect& bounds, std::int32_t lineHeight, TextMeasure& measure,
                   StructurePicture* picture) {
  const std::vector<std::string>& fields = model.fields();
  if (fields.empty()) return;
  const std::size_t perRow = static_cast<std::size_t>(model.FieldsCols());
  const std::size_t columns = std::min(perRow, fields.size());
  const std::size_t rows = (fields.size() + perRow - 1) / perRow;
  std::vector<std::int32_t> widths(columns, 0), heights(rows, 0);
  std::vector<GridText> texts;
  texts.reserve(fields.size());
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const Size extent = measure.Extent(fields[k], picture->fieldsFont);
    const std::size_t column = k % perRow, row = k / perRow;
    widths[column] = std::max(widths[column], extent.cx);
    heights[row] = std::max(heights[row], MulDiv64(extent.cy, 5, 4));
    texts.push_back({column, row, fields[k], extent, picture->fieldsFont, model.FieldsTextColor()});
  }
  Rect table = bounds;
  table.top = ClampPixel(std::int64_t(bounds.bottom) - std::int64_t(fields.size()) * lineHeight / model.FieldsCols() -
                         lineHeight);
  picture->fieldTable = StretchGrid(table, widths, heights, std::move(texts));
}

}  // namespace

StructurePicture LayoutStructure(const CStructureModel& model, const Rect& bounds, const DeviceInfo& device,
                                 TextMeasure& measure) {
  StructurePicture picture;
  const std::int64_t zoom = device.zoom;
  picture.structPen = model.StructPen();
  picture.structPen.lopnWidth.x = picture.structPen.lopnWidth.y = PenWidthPixels(model.StructLineWidth(), device.dpiX, zoom);
  picture.fieldsPen = model.FieldsPen();
  picture.fieldsPen.lopnWidth.x = picture.fieldsPen.lopnWidth.y = PenWidthPixels(model.FieldsLineWidth(), device.dpiX, zoom);
  // Both fonts scale with the horizontal resolution.
  picture.structFont = ScaleFont(model.StructFont(), device.dpiX, zoom);
  picture.fieldsFont = ScaleFont(model.FieldsFont(), device.dpiX, zoom);
  picture.frame = bounds;
  picture.filled = !model.Hollow();
  picture.background = model.BackColor();

  const Size a = measure.Extent("A", picture.fieldsFont);
  const std::int64_t fieldsHeight =
      std::int64_t(a.cy) * std::int64_t(model.fields().size()) * 4 / model.FieldsCols() / 3;
  const Rect area{ClampPixel(std::int64_t(bounds.left) + a.cx), ClampPixel(std::int64_t(bounds.top) + a.cy),
                  ClampPixel(std::int64_t(bounds.right) - a.cx),
                  ClampPixel(std::int64_t(bounds.bottom) - a.cy - fieldsHeight)};
  picture.structureArea = area;
  PlaceAtoms(model.molecule(), area, device, &picture);
  AddSkeleton(model, measure, &picture);
  AddFieldTable(model, bounds, a.cy, measure, &picture);
  return picture;
}

}  // namespace karvel
