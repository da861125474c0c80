#pragma once
// The dialog templates of the auxiliary controls' property pages and the ids of their items.
// The module's resource set carries them (KarvelPageDialogs); the captions are the module's
// strings 100, 6, 11, 13 and 14.
#include <span>

#include "platform/ui/resource.h"

namespace karvel {

enum : ui::UINT {
  IDD_PROPPAGE_GENERAL = 100,  // the knob's and the soft button's (no controls)
  IDD_PROPPAGE_TABLE_SIZE = 103,
  IDD_PROPPAGE_TABLE_CELLS = 104,
  IDD_PROPPAGE_STRUCTURE = 106,
  IDD_PROPPAGE_FIELDS = 107,

  IDS_PROPPAGE_GENERAL = 100,
  IDS_PROPPAGE_TABLE_SIZE = 6,
  IDS_PROPPAGE_TABLE_CELLS = 11,
  IDS_PROPPAGE_STRUCTURE = 13,
  IDS_PROPPAGE_FIELDS = 14,

  IDC_CELL_TEXT = 206,
  IDC_TABLE_COLUMNS = 208,
  IDC_TABLE_ROWS = 209,
  IDC_TABLE_POSITION = 210,
  IDC_TABLE_HOLLOW = 211,
  IDC_TABLE_WIDTH = 212,
  IDC_TABLE_HEIGHT = 213,
  IDC_TABLE_AUTO_WIDTH = 214,
  IDC_TABLE_AUTO_HEIGHT = 215,
  IDC_CELL_COLUMN = 216,
  IDC_CELL_ROW = 217,
  IDC_FONT_FACE = 219,
  IDC_FONT_SIZE = 220,
  IDC_CELL_FONT = 221,
  IDC_CELL_COLOR = 222,
  IDC_SET_DEFAULT = 226,
  IDC_TEXT_COLOR = 227,
  IDC_LINE_COLOR = 228,
  IDC_FONT = 229,
  IDC_LINE_WIDTH = 230,
  IDC_FIELDS_COLUMNS = 231,
  IDC_BACK_COLOR = 232,
  IDC_HOLLOW = 233,
  IDC_SHOW_FORMULA = 234,
  IDC_SHOW_WEIGHT = 235,
};

std::span<const ui::DialogResource> KarvelPageDialogs();

}  // namespace karvel
