// The module's resources of the value dialogs: their templates, in "MS Sans Serif" 8.
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"
#include "spectrum/control/dialogs/dialogids.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {

namespace {

using ui::DialogItemResource;
constexpr ui::UINT kStatic = 0xFFFF;
constexpr ui::DWORD kDialogStyle = ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU | ui::DS_MODALFRAME;
constexpr ui::DWORD kEdit = ui::WS_BORDER | ui::WS_TABSTOP | ui::ES_AUTOHSCROLL;
constexpr ui::DWORD kDigits = kEdit | ui::ES_NUMBER;
constexpr ui::DWORD kLabel = ui::SS_LEFT;
constexpr ui::DWORD kDropList = ui::CBS_DROPDOWNLIST | ui::WS_VSCROLL | ui::WS_TABSTOP;
constexpr const char* kFont = "MS Sans Serif";

#define NELVAR_OK_CANCEL(x, y)                                                          \
  {"BUTTON", ui::IDOK, "OK", ui::BS_DEFPUSHBUTTON | ui::WS_TABSTOP, x, y, 50, 14},      \
      {"BUTTON", ui::IDCANCEL, "Cancel", ui::BS_PUSHBUTTON | ui::WS_TABSTOP, x + 56, y, 50, 14}

// No buttons: Return in either edit ends it.
const DialogItemResource kRefPointItems[] = {
    {"STATIC", kStatic, "PPM", kLabel, 7, 9, 30, 8},
    {"EDIT", IDC_PPM, "", kEdit, 40, 7, 70, 12},
    {"STATIC", kStatic, "Hertz", kLabel, 7, 27, 30, 8},
    {"EDIT", IDC_HERTZ, "", kEdit, 40, 25, 70, 12},
};

const DialogItemResource kShiftItems[] = {
    {"STATIC", kStatic, "Points", kLabel, 7, 9, 30, 8},
    {"EDIT", IDC_POINTS, "", kDigits, 40, 7, 60, 12},
    NELVAR_OK_CANCEL(7, 27),
};

const DialogItemResource kIntegValueItems[] = {
    {"EDIT", IDC_VALUE, "", kEdit, 7, 7, 70, 12},
    {"STATIC", kStatic, "Units", kLabel, 82, 9, 30, 8},
    NELVAR_OK_CANCEL(7, 27),
};

const DialogItemResource kParamValueItems[] = {
    {"EDIT", IDC_VALUE, "", kEdit, 7, 7, 150, 12},
    NELVAR_OK_CANCEL(7, 27),
};

const DialogItemResource kZoomValueItems[] = {
    {"EDIT", IDC_VALUE, "", kEdit, 7, 7, 70, 12},
    {"STATIC", kStatic, "Zoom", kLabel, 82, 9, 30, 8},
    NELVAR_OK_CANCEL(7, 27),
};

const DialogItemResource kPeakValueItems[] = {
    {"EDIT", IDC_VALUE, "", kEdit, 7, 7, 70, 12},
    {"STATIC", kStatic, "", kLabel, 82, 9, 30, 8},
    NELVAR_OK_CANCEL(7, 27),
};

const DialogItemResource kCalcSpcItems[] = {
    {"STATIC", kStatic, "New spectrum = Spectrum_1 + (A x Spectrum_2)", kLabel, 7, 7, 250, 8},
    {"COMBOBOX", IDC_FIRST_SPECTRUM, "", kDropList, 7, 22, 80, 80},
    {"STATIC", kStatic, "=", kLabel, 91, 24, 8, 8},
    {"COMBOBOX", IDC_SECOND_SPECTRUM, "", kDropList, 101, 22, 80, 80},
    {"COMBOBOX", IDC_OPERATION, "", kDropList, 185, 22, 50, 60},
    {"STATIC", kStatic, "x", kLabel, 239, 24, 6, 8},
    {"EDIT", IDC_FACTOR, "", kEdit, 247, 22, 40, 12},
    {"BUTTON", ui::IDOK, "Calculate", ui::BS_DEFPUSHBUTTON | ui::WS_TABSTOP, 7, 42, 50, 14},
};

const DialogItemResource kIonPlotItems[] = {
    {"STATIC", kStatic, "Mass", kLabel, 7, 9, 30, 8},
    {"EDIT", IDC_MASS, "", kEdit, 40, 7, 50, 12},
    {"STATIC", kStatic, "amu", kLabel, 94, 9, 20, 8},
    {"BUTTON", kStatic, "Fractional Range", ui::BS_GROUPBOX, 7, 24, 150, 30},
    {"STATIC", kStatic, "-", kLabel, 13, 38, 6, 8},
    {"EDIT", IDC_RANGE_MINUS, "", kEdit, 21, 36, 45, 12},
    {"STATIC", kStatic, "to", kLabel, 70, 38, 10, 8},
    {"STATIC", kStatic, "+", kLabel, 82, 38, 6, 8},
    {"EDIT", IDC_RANGE_PLUS, "", kEdit, 90, 36, 45, 12},
    {"STATIC", kStatic, "Color", kLabel, 7, 62, 30, 8},
    {"BUTTON", IDC_COLOR, "", ui::BS_PUSHBUTTON | ui::BS_BITMAP | ui::WS_TABSTOP, 40, 59, 40, 14},
    {"BUTTON", ui::IDOK, "OK", ui::BS_DEFPUSHBUTTON | ui::WS_TABSTOP, 107, 59, 50, 14},
};

const DialogItemResource kResizeItems[] = {
    {"STATIC", kStatic, "Points", kLabel, 7, 9, 30, 8},
    {"EDIT", IDC_POINTS, "", kDigits, 40, 7, 60, 12},
    {"STATIC", kStatic, "Method", kLabel, 7, 27, 30, 8},
    {"COMBOBOX", IDC_RESIZE_METHOD, "", kDropList, 40, 25, 80, 40},
    NELVAR_OK_CANCEL(7, 45),
};

#undef NELVAR_OK_CANCEL

const ui::DialogResource kDialogs[] = {
    {IDD_REFPOINT, "Reference Point", kDialogStyle, 0, 0, 120, 45, kFont, 8, kRefPointItems},
    {IDD_SHIFT, "Shift", kDialogStyle, 0, 0, 120, 48, kFont, 8, kShiftItems},
    {IDD_INTEGVALUE, "Integral Value", kDialogStyle, 0, 0, 120, 48, kFont, 8, kIntegValueItems},
    {IDD_PARAMVALUE, "Parameter %s value", kDialogStyle, 0, 0, 165, 48, kFont, 8, kParamValueItems},
    {IDD_ZOOMVALUE, "Zoom Value", kDialogStyle, 0, 0, 120, 48, kFont, 8, kZoomValueItems},
    {IDD_PEAKVALUE, "Peak Value", kDialogStyle, 0, 0, 120, 48, kFont, 8, kPeakValueItems},
    {IDD_CALCSPC, "Calculate Spectrum", kDialogStyle, 0, 0, 295, 63, kFont, 8, kCalcSpcItems},
    {IDD_IONPLOTGEN, "Ion Plot Generation", kDialogStyle, 0, 0, 165, 80, kFont, 8, kIonPlotItems},
    {IDD_SPCRESIZE, "Spectrum Resize", kDialogStyle, 0, 0, 128, 66, kFont, 8, kResizeItems},
};

}  // namespace

const ui::ResourceSet& DialogResources() {
  static const ui::ResourceSet part = [] {
    ui::ResourceSet s;
    s.dialogs = kDialogs;
    return s;
  }();
  return part;
}

}  // namespace nelvar
