// The module's resources of the command table: the in-place menus by what the control holds
// (30000 for kinds other than MASS, 30002 for MASS, 30004 without data) and the context menus.
#include "platform/ui/styles.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {

namespace {

using ui::MF_END;
using ui::MF_POPUP;

const ui::MenuItemResource kSpectrumMenu[] = {
    {MF_POPUP, 0, "Spe&ctrum Edit"},
    {0, ID_IMPORT_FILE, "&Import File\tIF"},
    {MF_END, 40300, "&Export File\tEF"},
    {MF_POPUP, 0, "&Spectrum View"},
    {0, 40045, "Zoom &In"},
    {0, 40051, "Zoom &Out"},
    {MF_END, 40046, "&Full Size"},
    {MF_POPUP, 0, "&Process"},
    {MF_END, 40024, "&Fourier Transform\tFT"},
    {MF_POPUP | MF_END, 0, "&Analysis"},
    {0, 40038, "&Peak Picking\tPP"},
    {MF_END, 40039, "&Integration\tID"},
};

const ui::MenuItemResource kMassMenu[] = {
    {MF_POPUP, 0, "Spe&ctrum Edit"},
    {0, ID_IMPORT_FILE, "&Import File\tIF"},
    {MF_END, 40300, "&Export File\tEF"},
    {MF_POPUP, 0, "&Spectrum View"},
    {0, 40045, "Zoom &In"},
    {0, 40051, "Zoom &Out"},
    {MF_END, 40046, "&Full Size"},
    {MF_POPUP | MF_END, 0, "&Analysis"},
    {MF_END, 40038, "&Peak Picking\tPP"},
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
