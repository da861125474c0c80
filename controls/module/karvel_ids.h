#pragma once
// The module's resource ids and the texts of its type-name strings, which the class table,
// the controls' user type names and the string table share.
#include "platform/ui/types.h"

namespace karvel {

enum : ui::UINT {
  IDS_KNOB = 1,
  IDS_KNOB_PPG = 2,
  IDS_SOFTBUTTON = 3,
  IDS_SOFTBUTTON_PPG = 4,
  IDS_TABLE = 5,
  IDS_TABLE_PPG1 = 6,
  IDS_STRUCTURE = 7,
  IDS_STRUCTURE_PPG = 8,
  IDS_PLOT = 9,
  IDS_SCROLL = 10,
  IDS_TABLE_PPG2 = 11,
  IDS_GENERAL = 12,
  IDS_STRUCT_PPG = 13,
  IDS_FIELDS_PPG = 14,
  IDS_PPG_CAPTION_FIRST = 100,  // 100-103 "General"
  IDS_PPG_CAPTION_LAST = 103,

  IDB_KNOB = 1,
  IDB_SOFTBUTTON = 2,
  IDB_TABLE = 3,
  IDB_STRUCTURE = 4,
  IDB_UNUSED = 5,
  IDB_SCROLL = 6,
};

inline constexpr char kKnobTypeName[] = "Orvane Knob Control";
inline constexpr char kSoftButtonTypeName[] = "Orvane Soft Button Control";
inline constexpr char kTableTypeName[] = "Orvane Table Control";
inline constexpr char kStructureTypeName[] = "Orvane Structure Control";
inline constexpr char kScrollTypeName[] = "Orvane Spectrum Scroll Control";

}  // namespace karvel
