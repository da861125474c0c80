// The module's resources of the console: the help texts of the console's words (also the bars'
// tool tips), the console bar's title and toolbar, the error message of a command text, and
// the macro list dialog.
#include "platform/ui/styles.h"
#include "spectrum/control/console/macrodialog.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {

namespace {

const ui::StringResource kStrings[] = {
    {3016, "Console"},
    {3088, "Error of command line processing:\n%s"},
    {3126, "The macro list could not be saved; the macros saved before are kept."},
    {3019, "FT - Fourier Transform"},
    {3020, "QP - Quick Phase Correcton"},
    {3021, "AI - Automatic Integration"},
    {3022, "RFT - Real Fourier Transform"},
    {3023, "BFT - Bruker Fourier Transform"},
    {3024, "CFT - Complex Fourier Transform"},
    {3025, "IT - Inverse Transform"},
    {3026, "HT - Hilbert Transform"},
    {3027, "AP - Auto Phase Correction"},
    {3030, "ZP - Zero Phase"},
    {3033, "PP <lower bound,%> - Peak Picking"},
    {3034, "ID - Integration"},
    {3035, "RIT - Real Inverse Transform"},
    {3036, "BIT - Bruker Inverse Transform"},
    {3037, "CIT - Complex Inverse Transform"},
    {3038, "WT - Wavelet Transform"},
    {3039, "DI - Delete All Integrals"},
    {3041, "SB - Show Baseline"},
    {3042, "BC - Baseline correct"},
    {3043, "ASP - Auto Select Baseline Points"},
    {3044, "CM0 - Cubic Splines Correction"},
    {3045, "CM1 - Linear Correction"},
    {3046, "CM2 - Cuadratic Correction"},
    {3047, "CM3 - Cubic Correction"},
    {3048, "CM4 - 4-th Order Correction"},
    {3049, "CM5 - 5-th Order Correction"},
    {3050, "CM6 - 6-th Order Correction"},
    {3054, "EM - Exponential Multiplication"},
    {3055, "GM - Gaussian Multiplication"},
    {3060, "APP - Automatic Peak Picking"},
    {3062, "LS - Left Shift on N points"},
    {3063, "RS - Right Shift on N points"},
    {3061, "SR - Spectrum Reverse"},
    {3064, "NI - Normalize integrals"},
    {3071, "SP - Save phase values"},
    {3072, "RP - Restore phase values"},
    {3085, "FID - View FID"},
    {3086, "SPECTRUM - View spectrum"},
    {3073, "Scroll spectrum left <CTRL + LEFT>"},
    {3074, "Scroll spectrum right <CTRL + RIGHT>"},
    {3075, "Move spectrum up <CTRL + UP>"},
    {3076, "Move spectrum down <CTRL + DOWN>"},
    {3077, "Zoom in"},
    {3078, "Zoom out"},
    {3079, "Full spectrum size"},
    {3080, "Picking mode"},
    {3081, "Manual integration mode <SHIFT + mouse>"},
    {3082, "Manual phasing mode <CTRL + mouse>"},
    {3083, "Reference point setting <CTRL + G>"},
    {3089, "Set Sum of Integrals"},
    {3100, "IC - Integral correction"},
    {3106, "ND - Data Normalization"},
    {3107, "DSP - Unselect All Points"},
    {3115, "CPD - Copy picking data"},
    {3116, "CID - Copy integration data"},
    {3121, "IF <file name>,<number> - Import from a file"},
    {3122, "EF <file name>,<format>,<type> - Export to a file"},
    {3123, "RES <new spectrum size> - Resize spectrum"},
    {3124, "GIP <left bound>,<right bound> - Generate Ion Plot"},
    {3125, "CLR - Clear control"},};

// Entry 0 makes room for the command edit. No command of the control serves 1032 and 1033, so
// their update leaves them disabled.
constexpr ui::UINT kConsoleButtons[] = {ui::ID_SEPARATOR, ui::ID_SEPARATOR, 1032, 1033};
const ui::ToolbarResource kToolbars[] = {{IDW_CONSOLEBAR, 16, 15, kConsoleButtons}};

using ui::DialogItemResource;
constexpr DialogItemResource kMacroItems[] = {
    {"EDIT", IDC_MACRO_EDIT, "",
     ui::ES_MULTILINE | ui::ES_WANTRETURN | ui::ES_AUTOVSCROLL | ui::ES_AUTOHSCROLL | ui::WS_VSCROLL | ui::WS_HSCROLL |
         ui::WS_BORDER | ui::WS_TABSTOP,
     7, 7, 286, 140},
    {"BUTTON", ui::IDOK, "&OK", ui::BS_DEFPUSHBUTTON | ui::WS_TABSTOP, 7, 154, 50, 14},
    {"BUTTON", ui::IDCANCEL, "&Cancel", ui::BS_PUSHBUTTON | ui::WS_TABSTOP, 63, 154, 50, 14},
    {"BUTTON", IDC_MACRO_SAVE, "&Save", ui::BS_PUSHBUTTON | ui::WS_TABSTOP, 243, 154, 50, 14},
};
constexpr ui::DialogResource kDialogs[] = {
    {IDD_MACROLIST, "Edit Macro List", ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU | ui::DS_MODALFRAME, 0, 0, 300,
     175, "MS Sans Serif", 8, kMacroItems},
};

// 1032: clear the command line
constexpr const char* kClearConsole[] = {
    "................",
    "................",
    "..kk.......kk...",
    "...kk.....kk....",
    "....kk...kk.....",
    ".....kk.kk......",
    "......kkk.......",
    ".....kk.kk......",
    "....kk...kk.....",
    "...kk.....kk....",
    "..kk.......kk...",
    "................",
    "................",
    "................",
    "................",
};

// 1033: run the command line
constexpr const char* kRunConsole[] = {
    "................",
    "................",
    "............kk..",
    "............kk..",
    "............kk..",
    "....k.......kk..",
    "...kk.......kk..",
    "..kkkkkkkkkkkk..",
    ".kkkkkkkkkkkkk..",
    "..kkkkkkkkkkkk..",
    "...kk...........",
    "....k...........",
    "................",
    "................",
    "................",
};

constexpr ButtonPicture kPictures[] = {{1032, kClearConsole}, {1033, kRunConsole}};

}  // namespace

const ui::ResourceSet& ConsoleResources() {
  static const std::vector<std::uint8_t> strip = ToolbarStrip(kConsoleButtons, kPictures);
  static const ui::BitmapResource bitmaps[] = {{IDW_CONSOLEBAR, strip}};
  static const ui::ResourceSet part = [] {
    ui::ResourceSet s;
    s.strings = kStrings;
    s.toolbars = kToolbars;
    s.dialogs = kDialogs;
    s.bitmaps = bitmaps;
    return s;
  }();
  return part;
}

}  // namespace nelvar
