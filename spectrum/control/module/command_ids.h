#pragma once
// The command ids of the spectrum control: every id that its menus, accelerators, tool bars,
// context menus and console words send. One id, one name; ranges name their first and last id
// and the handler takes the offset.
#include "platform/ui/types.h"

namespace nelvar {

// ---- Spectrum edit and properties ----
constexpr ui::UINT ID_CLONE = 40022;
constexpr ui::UINT ID_PROPERTIES = 40023;

// ---- Transforms ----
constexpr ui::UINT ID_FOURIER_TRANSFORM = 40024;   // FT, variant 0
constexpr ui::UINT ID_REAL_FT = 40025;             // RFT, variant 1
constexpr ui::UINT ID_BRUKER_FT = 40026;           // BFT, variant 3
constexpr ui::UINT ID_COMPLEX_FT = 40027;          // CFT, variant 2
constexpr ui::UINT ID_INVERSE_TRANSFORM = 40028;   // IT, variant 0
constexpr ui::UINT ID_HILBERT_TRANSFORM = 40029;   // HT
constexpr ui::UINT ID_REAL_IT = 40047;             // RIT, variant 1
constexpr ui::UINT ID_BRUKER_IT = 40048;           // BIT, variant 3
constexpr ui::UINT ID_COMPLEX_IT = 40049;          // CIT, variant 2
constexpr ui::UINT ID_WAVELET_FIRST = 40127;       // "Haar"; wavelet = id - first
constexpr ui::UINT ID_WAVELET_LAST = 40136;        // "Daubechies 20"

// ---- Phase ----
constexpr ui::UINT ID_AUTO_PHASE = 40030;    // AP
constexpr ui::UINT ID_QUICK_PHASE = 40031;   // QP
constexpr ui::UINT ID_ZERO_PHASE = 40034;    // ZP
constexpr ui::UINT ID_SET_PIVOT = 40069;
constexpr ui::UINT ID_SAVE_PHASE = 40117;    // SP
constexpr ui::UINT ID_RESTORE_PHASE = 40118; // RP

// Console rows (and one menu item, one button) whose ids the control does not handle: they
// show disabled.
constexpr ui::UINT ID_PHASE_CORRECT = 40032;  // PC
constexpr ui::UINT ID_PHASE_PS = 40033;       // PS
constexpr ui::UINT ID_DL = 40036;             // DL
constexpr ui::UINT ID_DH = 40037;             // DH
constexpr ui::UINT ID_WT = 40050;             // WT

// ---- Window functions ----
constexpr ui::UINT ID_EXP_MULT = 40093;    // EM
constexpr ui::UINT ID_GAUSS_MULT = 40094;  // GM

// ---- Baseline ----
constexpr ui::UINT ID_BASELINE_ON = 40073;
constexpr ui::UINT ID_SHOW_BASELINE = 40080;         // SB
constexpr ui::UINT ID_BASELINE_CORRECTION = 40081;   // BC
constexpr ui::UINT ID_AUTO_SELECT_POINTS = 40082;    // ASP
constexpr ui::UINT ID_BASELINE_METHOD_FIRST = 40083; // CM0 cubic splines; method = id - first
constexpr ui::UINT ID_BASELINE_METHOD_LAST = 40089;  // CM6
constexpr ui::UINT ID_DESELECT_POINTS = 40147;       // DSP

// ---- Point operations and arithmetic ----
constexpr ui::UINT ID_REVERSE = 40053;        // SR
constexpr ui::UINT ID_RIGHT_SHIFT = 40071;    // RS
constexpr ui::UINT ID_LEFT_SHIFT = 40072;     // LS
constexpr ui::UINT ID_NORMALIZE_DATA = 40140; // ND
constexpr ui::UINT ID_CALCULATE_SPECTRUM = 40151;
constexpr ui::UINT ID_SUBTRACT_SPECTRUM = 40156;
constexpr ui::UINT ID_ADD_SPECTRUM = 40157;
constexpr ui::UINT ID_RESIZE = 40168;         // RES

// ---- Peaks and integrals ----
constexpr ui::UINT ID_PEAK_PICKING = 40038;         // PP
constexpr ui::UINT ID_INTEGRATION = 40039;          // ID, Ctrl+I
constexpr ui::UINT ID_DELETE_INTEGRAL = 40055;
constexpr ui::UINT ID_DELETE_INTEGRALS = 40056;     // DI
constexpr ui::UINT ID_DELETE_PEAKS = 40057;
constexpr ui::UINT ID_DELETE_ALL_PEAKS = 40058;
constexpr ui::UINT ID_CALIBRATE = 40068;            // Ctrl+G
constexpr ui::UINT ID_AUTO_INTEGRATION = 40070;     // AI
constexpr ui::UINT ID_SET_INTEGRAL_VALUE = 40092;
constexpr ui::UINT ID_COPY_PEAKS = 40096;           // CPD
constexpr ui::UINT ID_AUTO_PEAK_PICKING = 40103;    // APP
constexpr ui::UINT ID_NORMALIZE_INTEGRALS = 40104;  // NI
constexpr ui::UINT ID_CALC_AREA_INTEGRAL = 40105;
constexpr ui::UINT ID_CALC_SUM_INTEGRALS = 40106;   // Ctrl+S
constexpr ui::UINT ID_CLEAR_AREA = 40107;
constexpr ui::UINT ID_INTEGRATION_ALT = 40108;      // same handler as ID_INTEGRATION
constexpr ui::UINT ID_EDIT_TEXT = 40122;
constexpr ui::UINT ID_DELETE_TEXT = 40123;
constexpr ui::UINT ID_SET_INTEGRAL_SUM = 40124;
constexpr ui::UINT ID_INTEGRAL_CORRECTION = 40138;  // IC
constexpr ui::UINT ID_SET_PEAK_VALUE = 40148;
constexpr ui::UINT ID_COPY_INTEGRALS = 40158;       // CID
constexpr ui::UINT ID_GENERATE_ION_PLOT = 40169;    // GIP

// ---- View ----
constexpr ui::UINT ID_ZOOM_IN = 40045;
constexpr ui::UINT ID_FULL_SIZE = 40046;
constexpr ui::UINT ID_ZOOM_OUT = 40051;
constexpr ui::UINT ID_SHOW_REALS = 40063;
constexpr ui::UINT ID_SHOW_IMAGINARIES = 40064;
constexpr ui::UINT ID_SHOW_MAGNITUDE = 40065;
constexpr ui::UINT ID_SHOW_DOTS = 40066;
constexpr ui::UINT ID_SHOW_LINE = 40067;
constexpr ui::UINT ID_SHOW_POWER = 40095;
constexpr ui::UINT ID_AMPLITUDE_UP = 40097;    // Ctrl+plus
constexpr ui::UINT ID_AMPLITUDE_DOWN = 40098;  // Ctrl+minus
constexpr ui::UINT ID_SCROLL_LEFT = 40099;     // Ctrl+Left
constexpr ui::UINT ID_SCROLL_RIGHT = 40100;    // Ctrl+Right
constexpr ui::UINT ID_OFFSET_UP = 40101;       // Ctrl+Up
constexpr ui::UINT ID_OFFSET_DOWN = 40102;     // Ctrl+Down
constexpr ui::UINT ID_NOTHING = 40116;         // empty handler and empty update
constexpr ui::UINT ID_SHOW_FID = 40120;        // FID
constexpr ui::UINT ID_SHOW_SPECTRUM = 40121;   // SPECTRUM
constexpr ui::UINT ID_EDIT_CONFIGURATION = 40137;
constexpr ui::UINT ID_ADD_YZOOM = 40159;
constexpr ui::UINT ID_REMOVE_YZOOM = 40160;
constexpr ui::UINT ID_NEXT_SCAN = 40161;       // Page Down
constexpr ui::UINT ID_PREVIOUS_SCAN = 40162;   // Page Up
constexpr ui::UINT ID_FIRST_SCAN = 40164;
constexpr ui::UINT ID_LAST_SCAN = 40165;
constexpr ui::UINT ID_CLEAR = 40170;           // CLR
constexpr ui::UINT ID_SCALE_UNIT_FIRST = 40400;  // ScaleUnits = id - first
constexpr ui::UINT ID_SCALE_UNIT_LAST = 40407;
constexpr ui::UINT ID_PEAK_UNIT_FIRST = 40410;   // TPeaksUnits and MPeaksUnits = id - first
constexpr ui::UINT ID_PEAK_UNIT_LAST = 40417;

// ---- Multi-display ----
constexpr ui::UINT ID_LOAD_ADDITIONAL = 40150;
constexpr ui::UINT ID_TILE = 40152;
constexpr ui::UINT ID_SYNCHRONIZE = 40153;
constexpr ui::UINT ID_COUPLE = 40154;

// ---- Mouse modes ----
constexpr ui::UINT ID_MODE_SELECTION = 40074;
constexpr ui::UINT ID_MODE_PICKING = 40075;
constexpr ui::UINT ID_MODE_PHASING = 40076;
constexpr ui::UINT ID_MODE_INTEGRATION = 40109;
constexpr ui::UINT ID_MODE_TEXT = 40119;  // Ctrl+T

// ---- Bars shown or hidden, macros ----
constexpr ui::UINT ID_BAR_SPECTRUM = 40111;      // bar 506
constexpr ui::UINT ID_BAR_INTEGRALS = 40112;     // bar 508
constexpr ui::UINT ID_BAR_PHASE = 40113;         // bar 507
constexpr ui::UINT ID_BAR_CALIBRATE = 40114;     // bar 509
constexpr ui::UINT ID_BAR_CONSOLE = 40115;       // bar 505
constexpr ui::UINT ID_BAR_TRANSFORMS = 40125;    // bar 510
constexpr ui::UINT ID_BAR_BASELINE = 40126;      // bar 511
constexpr ui::UINT ID_BAR_MULTIDISPLAY = 40155;  // bar 512
constexpr ui::UINT ID_BAR_NAVIGATOR = 40163;     // bar 513
constexpr ui::UINT ID_EDIT_MACROS = 40139;

// ---- Import and export ----
constexpr ui::UINT ID_CONSOLE_IMPORT = 40166;  // IF
constexpr ui::UINT ID_CONSOLE_EXPORT = 40167;  // EF
constexpr ui::UINT ID_IMPORT_FILE = 40200;     // through the open dialog
constexpr ui::UINT ID_EXPORT_FILE = 40300;     // through the save dialog

// The whole span of the control's command ids.
constexpr ui::UINT ID_COMMAND_FIRST = 40022;
constexpr ui::UINT ID_COMMAND_LAST = 40417;

}  // namespace nelvar
