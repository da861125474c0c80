#pragma once
// Where the items of an opened page go: the page is cut into one horizontal band per file of
// the path list, each band into one strip per spectrum kind found in that file (kinds in
// ascending ordinal order, spectra of one kind on top of each other); a table item takes a
// strip at the bottom of the page and the spectra above it shrink to make room; a structure
// item sits at a fixed offset from its spectrum's corner.
//
// Page units are 0.25 mm; lengths from the profile are tenths of a millimetre (x 4 / 10).
#include <string>
#include <vector>

#include "platform/gdi/types.h"

namespace sapage {

// The page without printer information: landscape A4.
constexpr int kDefaultPageWidth = 1188;
constexpr int kDefaultPageHeight = 840;

struct PageSize {
  int width = kDefaultPageWidth;
  int height = kDefaultPageHeight;
};
// The page of a printer whose printable area is widthMm x heightMm; a size of 0 (or less)
// leaves landscape A4.
PageSize PageSizeFromPrinter(int widthMm, int heightMm);

// Tenths of a millimetre to page units.
constexpr int TenthsToPage(int tenths) { return tenths * 4 / 10; }

// Band d of g on a page of the given height: [d x H / g, (d + 1) x H / g).
struct Band {
  int top = 0;
  int bottom = 0;
};
Band BandOf(int entry, int entries, int pageHeight);

// The strip of each item of one band, in item order: keys are the items' kind names. Strips
// follow the distinct keys in ascending ordinal order; every strip is as wide as the page.
std::vector<gdi::Rect> StripRects(const Band& band, const std::vector<std::u16string>& keys, int pageWidth);

// A spectrum strip after a table of height h (page units) took the bottom of the page: top
// and bottom scaled by (H - h) / H, left and right kept.
gdi::Rect ShrinkForTable(const gdi::Rect& rect, int pageHeight, int tableHeight);
// The table's own rectangle: (0, H - h + 2, W - 1, H - 1).
gdi::Rect TableRect(int pageWidth, int pageHeight, int tableHeight);

// An item moved by the user stays where it can be reached: the rectangle moved, its size kept,
// so that it lies on the page (its top-left corner on the page when it is the larger). A
// resized one is cut at the page's edges.
gdi::Rect KeepOnPage(const gdi::Rect& rect, const PageSize& page);
gdi::Rect ClipToPage(const gdi::Rect& rect, const PageSize& page);

// A structure item's place (all four values in page units): at (left, top) from the
// spectrum's corner, width x height.
struct ObjectPlacement {
  int left = 40;
  int top = 40;
  int width = 120;
  int height = 120;
};
gdi::Rect StructureRect(const gdi::Rect& spectrum, const ObjectPlacement& placement);

// Splits a path list at every "+": entries in order, each trimmed of white space at both
// ends; empty entries stay.
std::vector<std::u16string> SplitPathList(std::u16string_view list);

}  // namespace sapage
