#pragma once
// Templates and item ids of the spectrum control's value dialogs.
#include "platform/ui/types.h"

namespace nelvar {

constexpr ui::UINT IDD_REFPOINT = 203;      // "Reference Point"
constexpr ui::UINT IDD_SHIFT = 208;         // "Shift"
constexpr ui::UINT IDD_INTEGVALUE = 211;    // "Integral Value"
constexpr ui::UINT IDD_PARAMVALUE = 214;    // "Parameter %s value"
constexpr ui::UINT IDD_ZOOMVALUE = 219;     // "Zoom Value"
constexpr ui::UINT IDD_PEAKVALUE = 232;     // "Peak Value"
constexpr ui::UINT IDD_CALCSPC = 233;       // "Calculate Spectrum"
constexpr ui::UINT IDD_IONPLOTGEN = 234;    // "Ion Plot Generation"
constexpr ui::UINT IDD_SPCRESIZE = 235;     // "Spectrum Resize"

constexpr ui::UINT IDC_HERTZ = 1018;
constexpr ui::UINT IDC_PPM = 1019;
constexpr ui::UINT IDC_POINTS = 1028;       // Shift and Spectrum Resize
constexpr ui::UINT IDC_VALUE = 1036;        // the one value of the single-value dialogs
constexpr ui::UINT IDC_FIRST_SPECTRUM = 1056;
constexpr ui::UINT IDC_SECOND_SPECTRUM = 1057;
constexpr ui::UINT IDC_OPERATION = 1058;
constexpr ui::UINT IDC_FACTOR = 1059;
constexpr ui::UINT IDC_RESIZE_METHOD = 1061;
constexpr ui::UINT IDC_MASS = 1062;
constexpr ui::UINT IDC_RANGE_MINUS = 1063;
constexpr ui::UINT IDC_RANGE_PLUS = 1064;
constexpr ui::UINT IDC_COLOR = 1065;

}  // namespace nelvar
