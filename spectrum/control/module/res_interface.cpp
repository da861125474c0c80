// The module's resources of its custom interface and of loading, saving, import and export:
// the module's description, the load error, the parameter descriptions, the list of choices the
// converters ask, and the explorer-style file dialogs' bars, column names and picture.
#include "foundation/filedlg/filedlgres.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {

namespace {

constexpr std::array<ui::StringResource, 31> kOwnStrings{{
    {3002, "NMR/Mass/IR/UV/CH processing module"},
    {3087, "%s file loading error. Currupted file or\nunsupported format."},
    {3127, "%s was not read whole: %s.\nThe rest of the spectrum was loaded; a save keeps only what was loaded."},
    {3128, "%s is a %s file larger than 1 GB, the largest file the spectrum control reads.\nIt was not loaded."},
    {4000, "acquisition time"},
    {4001, "number of points"},
    {4002, "excitation pulse"},
    {4003, "dwell time"},
    {4004, "line broadening"},
    {4005, "gaussian line broadening"},
    {4006, "time domain size"},
    {4007, "file name"},
    {4008, "operator name"},
    {4009, "spectrometer frequency"},
    {4010, "spectral width"},
    {4011, "date of spectrum registration"},
    {4012, "temperature"},
    {4013, "number of scans to do"},
    {4014, "data normalization constant"},
    {4015, "number of sweeps completed"},
    {4016, "number of 'IN' loops to do"},
    {4017, "zero order phase"},
    {4018, "first order phase"},
    {4019, "solvent"},
    {4020, "relaxation delay"},
    {4021, "pre-scan delay"},
    {4022, "receiver gain"},
    {4023, "number of dummy scans"},
    {4024, "acquisition mode"},
    {4025, "soft spline coefficient"},
    {4026, "left bound offset"},
}};
constexpr auto kStrings = JoinResourceTables(kOwnStrings, filedlg_res::kStrings);

// The list of choices: no caption of its own; Return or a double click takes the selection.
constexpr ui::DialogItemResource kListItems[] = {
    {"LISTBOX", 1047, "", ui::LBS_NOTIFY | ui::WS_VSCROLL | ui::LBS_NOINTEGRALHEIGHT | ui::WS_BORDER | ui::WS_TABSTOP, 7, 7,
     150, 80},
    {"BUTTON", static_cast<ui::UINT>(ui::IDOK), "OK", ui::BS_DEFPUSHBUTTON | ui::WS_TABSTOP, 164, 7, 50, 14},
    {"BUTTON", static_cast<ui::UINT>(ui::IDCANCEL), "Cancel", ui::BS_PUSHBUTTON | ui::WS_TABSTOP, 164, 24, 50, 14},
};
constexpr std::array<ui::DialogResource, 1> kOwnDialogs{{
    {217, "", ui::DS_MODALFRAME | ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU, 0, 0, 221, 94, "MS Sans Serif", 8,
     kListItems},
}};
constexpr auto kDialogs = JoinResourceTables(kOwnDialogs, filedlg_res::kDialogs);

}  // namespace

const ui::ResourceSet& InterfaceResources() {
  static const ui::ResourceSet part = [] {
    ui::ResourceSet s;
    s.strings = kStrings;
    s.dialogs = kDialogs;
    s.bitmaps = filedlg_res::kBitmaps;
    return s;
  }();
  return part;
}

}  // namespace nelvar
