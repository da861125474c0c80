// The module's resources of the command table: the in-place menus by what the control holds,
// 30000 for kinds other than MASS, 30002 for MASS (the items that apply to mass scans) and 30004
// without data (Import only). The context menus are 30001 (res_context.cpp).
#include "platform/ui/styles.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {

namespace {

using ui::MF_END;
using ui::MF_POPUP;
using ui::MF_SEPARATOR;
constexpr ui::MenuItemResource kSeparator{MF_SEPARATOR, 0, ""};

const ui::MenuItemResource kSpectrumMenu[] = {
    {MF_POPUP, 0, "Spe&ctrum Edit"},
    {0, ID_IMPORT_FILE, "&Import File\tIF"},
    {0, ID_EXPORT_FILE, "&Export File\tEF"},
    kSeparator,
    {0, ID_CLONE, "C&lone"},
    {0, ID_CLEAR, "Cl&ear\tCLR"},
    kSeparator,
    {0, ID_LOAD_ADDITIONAL, "&Load Additional Spectrum"},
    {0, ID_CALCULATE_SPECTRUM, "&Calculate Spectrum"},
    {0, ID_SUBTRACT_SPECTRUM, "Subtract Spectrum"},
    {0, ID_ADD_SPECTRUM, "Add Spectrum"},
    kSeparator,
    {0, ID_EDIT_CONFIGURATION, "&Edit Configuration File"},
    {0, ID_EDIT_MACROS, "Edit &Macro List"},
    kSeparator,
    {MF_END, ID_PROPERTIES, "&Properties"},

    {MF_POPUP, 0, "&Spectrum View"},
    {0, ID_ZOOM_IN, "Zoom &In"},
    {0, ID_ZOOM_OUT, "Zoom &Out"},
    {0, ID_FULL_SIZE, "&Full Size"},
    {0, ID_ADD_YZOOM, "&Add Y-Zoom"},
    {0, ID_REMOVE_YZOOM, "&Remove Y-Zoom"},
    kSeparator,
    {0, ID_SHOW_REALS, "Show &Reals"},
    {0, ID_SHOW_IMAGINARIES, "Show &Imaginaries"},
    {0, ID_SHOW_MAGNITUDE, "Show &Magnitude"},
    {0, ID_SHOW_POWER, "Show &Power"},
    kSeparator,
    {0, ID_SHOW_DOTS, "Show &Dots"},
    {0, ID_SHOW_LINE, "Show &Line"},
    kSeparator,
    {0, ID_SHOW_FID, "&FID"},
    {0, ID_SHOW_SPECTRUM, "&Spectrum"},
    kSeparator,
    {0, ID_NEXT_SCAN, "Next Scan\tPage Down"},
    {0, ID_PREVIOUS_SCAN, "Previous Scan\tPage Up"},
    kSeparator,
    {0, ID_MODE_SELECTION, "Selection"},
    {0, ID_MODE_PICKING, "Picking"},
    {0, ID_MODE_PHASING, "Phasing\t<Ctrl+mouse>"},
    {0, ID_MODE_INTEGRATION, "Integration\t<Shift+mouse>"},
    {0, ID_MODE_TEXT, "Text\t<Ctrl+T>"},
    kSeparator,
    {0, ID_BAR_SPECTRUM, "&Spectrum Control"},
    {0, ID_BAR_INTEGRALS, "&Integrals Control"},
    {0, ID_BAR_PHASE, "&Phase Control"},
    {0, ID_BAR_CALIBRATE, "C&alibrate"},
    {0, ID_BAR_CONSOLE, "&Console"},
    {0, ID_BAR_TRANSFORMS, "&Transforms"},
    {0, ID_BAR_BASELINE, "&Baseline Control"},
    {0, ID_BAR_MULTIDISPLAY, "&Multi Display"},
    {0, ID_BAR_NAVIGATOR, "&Navigator"},
    kSeparator,
    {0, ID_TILE, "&Tile"},
    {0, ID_SYNCHRONIZE, "&Synchronize"},
    {MF_END, ID_COUPLE, "C&ouple"},

    {MF_POPUP, 0, "&Process"},
    {0, ID_FOURIER_TRANSFORM, "&Fourier Transform\tFT"},
    {0, ID_REAL_FT, "&Real FT\tRFT"},
    {0, ID_BRUKER_FT, "&Bruker FT\tBFT"},
    {0, ID_COMPLEX_FT, "&Complex FT\tCFT"},
    kSeparator,
    {0, ID_INVERSE_TRANSFORM, "&Inverse Transform\tIT"},
    {0, ID_REAL_IT, "&Real IT\tRIT"},
    {0, ID_BRUKER_IT, "&Bruker IT\tBIT"},
    {0, ID_COMPLEX_IT, "&Complex IT\tCIT"},
    {0, ID_HILBERT_TRANSFORM, "&Hilbert Transform\tHT"},
    kSeparator,
    {0, ID_WAVELET_FIRST, "Haar"},
    {0, ID_WAVELET_FIRST + 1, "Daubechies 4"},
    {0, ID_WAVELET_FIRST + 2, "Daubechies 6"},
    {0, ID_WAVELET_FIRST + 3, "Daubechies 8"},
    {0, ID_WAVELET_FIRST + 4, "Daubechies 10"},
    {0, ID_WAVELET_FIRST + 5, "Daubechies 12"},
    {0, ID_WAVELET_FIRST + 6, "Daubechies 14"},
    {0, ID_WAVELET_FIRST + 7, "Daubechies 16"},
    {0, ID_WAVELET_FIRST + 8, "Daubechies 18"},
    {0, ID_WAVELET_LAST, "Daubechies 20"},
    kSeparator,
    {0, ID_EXP_MULT, "&Exponential Mult.\tEM"},
    {0, ID_GAUSS_MULT, "&Gaussian Mult.\tGM"},
    kSeparator,
    {0, ID_AUTO_PHASE, "&Auto Phase\tAP"},
    {0, ID_QUICK_PHASE, "&Quick Phase\tQP"},
    {0, ID_PHASE_CORRECT, "&Phase Correct\tPC"},
    {0, ID_ZERO_PHASE, "&Zero Phase\tZP"},
    {0, ID_SET_PIVOT, "Set P&hase Pivot"},
    {0, ID_SAVE_PHASE, "&Save Phase\tSP"},
    {0, ID_RESTORE_PHASE, "&Restore Phase\tRP"},
    kSeparator,
    {0, ID_SHOW_BASELINE, "&Show Baseline\tSB"},
    {0, ID_BASELINE_CORRECTION, "Baseline &Correction\tBC"},
    {0, ID_AUTO_SELECT_POINTS, "&Auto Select Points\tASP"},
    {0, ID_DESELECT_POINTS, "&Deselect All Points\tDSP"},
    {0, ID_BASELINE_METHOD_FIRST, "Cubic Splines\tCM0"},
    {0, ID_BASELINE_METHOD_FIRST + 1, "Linear\tCM1"},
    {0, ID_BASELINE_METHOD_FIRST + 2, "Quadratic\tCM2"},
    {0, ID_BASELINE_METHOD_FIRST + 3, "Cubic\tCM3"},
    {0, ID_BASELINE_METHOD_FIRST + 4, "4-th Order\tCM4"},
    {0, ID_BASELINE_METHOD_FIRST + 5, "5-th Order\tCM5"},
    {0, ID_BASELINE_METHOD_LAST, "6-th Order\tCM6"},
    kSeparator,
    {0, ID_REVERSE, "Spectrum &Reverse\tSR"},
    {0, ID_RIGHT_SHIFT, "Right Shift\tRS"},
    {0, ID_LEFT_SHIFT, "Left Shift\tLS"},
    {0, ID_NORMALIZE_DATA, "&Normalize Data\tND"},
    {MF_END, ID_RESIZE, "&Resize Spectrum\tRES"},

    {MF_POPUP | MF_END, 0, "&Analysis"},
    {0, ID_PEAK_PICKING, "&Peak Picking\tPP"},
    {0, ID_AUTO_PEAK_PICKING, "A&utomatic Peak Picking\tAPP"},
    {0, ID_DELETE_ALL_PEAKS, "Delete Peaks\tDP"},
    {0, ID_COPY_PEAKS, "&Copy Peaks\tCPD"},
    kSeparator,
    {0, ID_INTEGRATION, "&Integration\tID"},
    {0, ID_AUTO_INTEGRATION, "&Automatic Integration\tAI"},
    {0, ID_DELETE_INTEGRALS, "&Delete Integrals\tDI"},
    {0, ID_NORMALIZE_INTEGRALS, "&Normalize Integrals\tNI"},
    {0, ID_CALC_AREA_INTEGRAL, "&Calc. Area Integral\t"},
    {0, ID_CALC_SUM_INTEGRALS, "Calc. &Sum of Integrals\tCtrl+S"},
    {0, ID_SET_INTEGRAL_SUM, "S&et Sum of Integrals"},
    {0, ID_INTEGRAL_CORRECTION, "Integral Correction\tIC"},
    {0, ID_COPY_INTEGRALS, "&Copy Integrals\tCID"},
    kSeparator,
    {0, ID_CALIBRATE, "Cali&brate\tCtrl+G"},
    {MF_END, ID_SET_PEAK_VALUE, "Set &Peak Value"},
};

// The items marked for mass scans, in the same order.
const ui::MenuItemResource kMassMenu[] = {
    {MF_POPUP, 0, "Spe&ctrum Edit"},
    {0, ID_IMPORT_FILE, "&Import File\tIF"},
    {0, ID_EXPORT_FILE, "&Export File\tEF"},
    kSeparator,
    {0, ID_CLONE, "C&lone"},
    {0, ID_CLEAR, "Cl&ear\tCLR"},
    kSeparator,
    {0, ID_EDIT_CONFIGURATION, "&Edit Configuration File"},
    {0, ID_EDIT_MACROS, "Edit &Macro List"},
    kSeparator,
    {MF_END, ID_PROPERTIES, "&Properties"},

    {MF_POPUP, 0, "&Spectrum View"},
    {0, ID_ZOOM_IN, "Zoom &In"},
    {0, ID_ZOOM_OUT, "Zoom &Out"},
    {0, ID_FULL_SIZE, "&Full Size"},
    {0, ID_ADD_YZOOM, "&Add Y-Zoom"},
    {0, ID_REMOVE_YZOOM, "&Remove Y-Zoom"},
    kSeparator,
    {0, ID_NEXT_SCAN, "Next Scan\tPage Down"},
    {0, ID_PREVIOUS_SCAN, "Previous Scan\tPage Up"},
    kSeparator,
    {0, ID_MODE_SELECTION, "Selection"},
    {0, ID_MODE_PICKING, "Picking"},
    {0, ID_MODE_TEXT, "Text\t<Ctrl+T>"},
    kSeparator,
    {0, ID_BAR_SPECTRUM, "&Spectrum Control"},
    {0, ID_BAR_INTEGRALS, "&Integrals Control"},
    {0, ID_BAR_PHASE, "&Phase Control"},
    {0, ID_BAR_CALIBRATE, "C&alibrate"},
    {0, ID_BAR_CONSOLE, "&Console"},
    {0, ID_BAR_TRANSFORMS, "&Transforms"},
    {0, ID_BAR_BASELINE, "&Baseline Control"},
    {0, ID_BAR_MULTIDISPLAY, "&Multi Display"},
    {MF_END, ID_BAR_NAVIGATOR, "&Navigator"},

    {MF_POPUP | MF_END, 0, "&Analysis"},
    {0, ID_PEAK_PICKING, "&Peak Picking\tPP"},
    {0, ID_AUTO_PEAK_PICKING, "A&utomatic Peak Picking\tAPP"},
    {0, ID_DELETE_ALL_PEAKS, "Delete Peaks\tDP"},
    {0, ID_COPY_PEAKS, "&Copy Peaks\tCPD"},
    kSeparator,
    {MF_END, ID_GENERATE_ION_PLOT, "&Generate Ion Plot\tGIP"},
};

const ui::MenuItemResource kEmptyMenu[] = {
    {MF_POPUP | MF_END, 0, "Spe&ctrum Edit"},
    {MF_END, ID_IMPORT_FILE, "&Import File\tIF"},
};

const ui::MenuResource kMenus[] = {
    {IDR_SPCMENU, kSpectrumMenu},
    {IDR_MASSMENU, kMassMenu},
    {IDR_EMPTYMENU, kEmptyMenu},
};

}  // namespace

const ui::ResourceSet& CommandResources() {
  static const ui::ResourceSet part = [] {
    ui::ResourceSet s;
    s.menus = kMenus;
    return s;
  }();
  return part;
}

}  // namespace nelvar
