// The module's resources of the plot's mouse interaction: the context submenus (menu 30001,
// one popup per index that a draw object answers), the two plot cursors and the texts of the
// analysis read-outs and copy tables.
#include "platform/gdi/objects.h"
#include "platform/ui/styles.h"
#include "spectrum/control/module/command_ids.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {

namespace {

using ui::MF_END;
using ui::MF_POPUP;

const ui::MenuItemResource kContextMenu[] = {
    // 0: the trace inside the selection.
    {MF_POPUP, 0, "Selection"},
    {0, ID_ZOOM_IN, "Zoom &In"},
    {0, ID_CLONE, "C&lone"},
    {0, ID_PEAK_PICKING, "&Peak Picking\tPP"},
    {0, ID_INTEGRATION, "&Integration\tID"},
    {0, ID_ADD_YZOOM, "&Add Y-Zoom"},
    {MF_END, ID_CLEAR_AREA, "&Clear area"},
    // 1: the trace outside the selection.
    {MF_POPUP, 0, "Spectrum"},
    {0, ID_ZOOM_OUT, "Zoom &Out"},
    {0, ID_FULL_SIZE, "&Full Size"},
    {0, ID_IMPORT_FILE, "&Import"},
    {0, ID_EXPORT_FILE, "&Export"},
    {MF_END, ID_PROPERTIES, "&Properties"},
    // 2: integral sums and mass peak labels.
    {MF_POPUP, 0, "Integrals"},
    {0, ID_INTEGRATION, "&Add Integral"},
    {0, ID_DELETE_INTEGRAL, "&Delete Integral"},
    {0, ID_CALC_SUM_INTEGRALS, "&Calc. Sum of Integrals\tCtrl+S"},
    {0, ID_SET_INTEGRAL_VALUE, "&Set Value"},
    {0, ID_SET_INTEGRAL_SUM, "S&et Sum of Integrals"},
    {MF_END, ID_COPY_INTEGRALS, "&Copy Integrals\tCID"},
    // 3: peak labels.
    {MF_POPUP, 0, "Peaks"},
    {0, ID_DELETE_PEAKS, "&Delete Peaks"},
    {0, ID_DELETE_ALL_PEAKS, "Delete &All Peaks"},
    {0, ID_COPY_PEAKS, "&Copy Peaks\tCPD"},
    {0, ID_PEAK_UNIT_FIRST, "&PPM"},
    {0, ID_PEAK_UNIT_FIRST + 1, "&Hertz"},
    {0, ID_PEAK_UNIT_FIRST + 2, "1/&cm"},
    {0, ID_PEAK_UNIT_FIRST + 3, "&nm"},
    {0, ID_PEAK_UNIT_FIRST + 4, "&sec"},
    {0, ID_PEAK_UNIT_FIRST + 5, "&min"},
    {MF_END, ID_PEAK_UNIT_LAST, "p&oints"},
    // 4: the x scale.
    {MF_POPUP, 0, "Scale"},
    {0, ID_SCALE_UNIT_FIRST, "&PPM"},
    {0, ID_SCALE_UNIT_FIRST + 1, "&Hertz"},
    {0, ID_SCALE_UNIT_FIRST + 2, "1/&cm"},
    {0, ID_SCALE_UNIT_FIRST + 3, "&nm"},
    {0, ID_SCALE_UNIT_FIRST + 4, "&sec"},
    {0, ID_SCALE_UNIT_FIRST + 5, "&min"},
    {MF_END, ID_SCALE_UNIT_LAST, "p&oints"},
    // 5: where no object answers.
    {MF_POPUP, 0, "Control"},
    {MF_END, ID_IMPORT_FILE, "&Import"},
    // 6: the baseline.
    {MF_POPUP, 0, "Baseline"},
    {MF_END, ID_CLEAR_AREA, "&Clear Area"},
    // 7: a text.
    {MF_POPUP | MF_END, 0, "Text"},
    {0, ID_EDIT_TEXT, "&Edit Text"},
    {MF_END, ID_DELETE_TEXT, "&Delete Text"},
};

constexpr ui::UINT IDB_CURSOR_CROSS = 450;   // the plot cursors, 450 upward
constexpr ui::UINT IDB_CURSOR_SQUARE = 451;

const ui::MenuResource kMenus[] = {{IDR_CONTEXTMENU, kContextMenu}};

const ui::StringResource kStrings[] = {
    {3056, "%10.2f %10.2f"},
    {3057, "    PPM        Hertz"},
    {3065, "Area Integral Sum"},
    {3066, "Sum of Integrals"},
    {3110, "    1/cm       Rel. Int."},
    {3112, "       Range (ppm)              Value"},
    {3113, "       Range (cm-1)             Value"},
    {3114, "%10.3f %10.3f %15.4f"},
};

// 16 x 16 cursors, drawn white (transparent) where a bit is set: a cross (450) and a cross
// in a small square (451). The clear pixels show in the cursor colour.
ui::COLORREF CrossPixel(int x, int y) {
  return (x == 8 || y == 8) && !(x > 6 && x < 10 && y > 6 && y < 10) ? gdi::RGB(0, 0, 0) : gdi::RGB(255, 255, 255);
}
ui::COLORREF SquarePixel(int x, int y) {
  const bool square = (x == 4 || x == 12 || y == 4 || y == 12) && x >= 4 && x <= 12 && y >= 4 && y <= 12;
  return square || x == 8 || y == 8 ? gdi::RGB(0, 0, 0) : gdi::RGB(255, 255, 255);
}

}  // namespace

const ui::ResourceSet& ContextResources() {
  static const std::vector<std::uint8_t> cross = gdi::MakeBmp(16, 16, CrossPixel);
  static const std::vector<std::uint8_t> square = gdi::MakeBmp(16, 16, SquarePixel);
  static const ui::BitmapResource bitmaps[] = {{IDB_CURSOR_CROSS, cross}, {IDB_CURSOR_SQUARE, square}};
  static const ui::ResourceSet part = [] {
    ui::ResourceSet s;
    s.menus = kMenus;
    s.strings = kStrings;
    s.bitmaps = bitmaps;
    return s;
  }();
  return part;
}

}  // namespace nelvar
