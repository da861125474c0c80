#pragma once
// Dialog templates of the spectrum control's property pages and the ids of their items. The
// module's resources carry the templates (module/res_pages.cpp).
#include "platform/ui/types.h"

namespace nelvar {

enum : ui::UINT {
  IDD_PAGE_SCALE = 202,
  IDD_PAGE_SPECTRUM = 204,
  IDD_PAGE_BORDER = 205,
  IDD_PAGE_MISC = 206,
  IDD_PAGE_INTEGRAL = 207,
  IDD_PAGE_TPEAKS = 209,
  IDD_PAGE_INTEGSUMS = 210,
  IDD_PAGE_GENERAL = 212,
  IDD_PAGE_BASELINE = 215,
  IDD_PAGE_TEXT = 216,
  IDD_PAGE_TITLE = 218,
  IDD_PAGE_MPEAKS = 227,
  IDD_PAGE_SCALEY = 228,
};

// Items of the appearance pages; the same kind of item has the same id on every page.
enum : ui::UINT {
  IDC_LINE_COLOR = 1001,
  IDC_TEXT_COLOR = 1002,
  IDC_CIRC_COLOR = 1003,
  IDC_BACK_COLOR = 1004,
  IDC_CURSOR_COLOR = 1005,
  IDC_ENABLE = 1007,
  IDC_LINE_WIDTH = 1010,
  IDC_FONT = 1011,
  IDC_FONT_FACE = 1012,
  IDC_FONT_SIZE = 1013,
  IDC_UNIT_FIRST = 1014,  // three unit radios, 1014-1016
  IDC_DIGITS = 1017,
  IDC_HORIZONTAL = 1018,
  IDC_VERTICAL = 1019,
  IDC_FASTEST = 1020,
  IDC_BEST = 1021,
  IDC_RADIUS = 1022,
  IDC_TITLE_TEXT = 1023,
  IDC_CURSOR_STANDARD = 1025,
  IDC_CURSOR_CROSS = 1026,
  IDC_CURSOR_RECTANGLE = 1027,
  IDC_POS_X = 1028,
  IDC_POS_Y = 1029,
};

// Items of the General page.
enum : ui::UINT {
  IDC_SCHEME = 1037,
  IDC_SAVE_AS = 1038,
  IDC_DELETE = 1039,
  IDC_SET_DEFAULT = 1040,
  IDC_PROPERTY_SET = 1042,
};

constexpr int kUnitCount = 10;  // unit numbers the unit radios walk (0-9)

}  // namespace nelvar
