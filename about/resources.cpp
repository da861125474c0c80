#include "about/resources.h"

#include "about/pictures.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"

namespace about {

namespace {

using namespace ui;

// Keeps a bitmap static at its own size (the dialog resizes it to the picture it is given).
constexpr ui::DWORD SS_REALSIZEIMAGE = 0x800;

constexpr ui::DialogItemResource kAboutItems[] = {
    {"STATIC", IDC_PICTURE, "#103", SS_BITMAP | SS_REALSIZEIMAGE, 7, 7, 225, 60},
    {"STATIC", IDC_BODY, "", SS_LEFT | WS_GROUP, 7, 75, 225, 37},
    {"STATIC", IDC_USER_LABEL, "This copy is licensed to:", SS_LEFT | WS_GROUP, 7, 111, 225, 9},
    {"STATIC", IDC_USER, "", SS_LEFT | WS_GROUP, 7, 123, 225, 27, WS_EX_CLIENTEDGE},
    {"STATIC", IDC_RULE, "", SS_SUNKEN, 7, 160, 225, 1},
    {"STATIC", IDC_NOTICE,
     "This program is protected by copyright.\n"
     "It may be used and copied only as its\n"
     "licence from Orvane allows; all other\n"
     "rights are reserved.",
     SS_LEFT | WS_GROUP, 7, 169, 155, 52},
    {"BUTTON", ui::IDOK, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 168, 168, 64, 14},
    {"BUTTON", IDC_MODULE_INFO, "&Module Info...", BS_DEFPUSHBUTTON | WS_TABSTOP, 168, 186, 64, 14},
    {"BUTTON", IDC_CREDITS, "&Credits...", BS_DEFPUSHBUTTON | WS_TABSTOP, 168, 204, 64, 14},
};

constexpr ui::DialogResource kDialogs[] = {
    {IDD_ABOUTBOX, "About ", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0, 239, 230,
     "Tahoma", 8, kAboutItems},
};

constexpr ui::BitmapResource kBitmaps[] = {
    {IDB_LOGO, kLogoBmp},
    {IDB_PICTURE, kStripBmp},
};

constexpr ui::ResourceSet kResources = [] {
  ui::ResourceSet set;
  set.moduleName = "about";
  set.dialogs = kDialogs;
  set.bitmaps = kBitmaps;
  return set;
}();

ui::ModuleState g_moduleState{&kResources};

}  // namespace

const ui::DialogResource& AboutDialogTemplate() { return kDialogs[0]; }
const ui::ResourceSet& AboutResources() { return kResources; }
ui::ModuleState* AboutModuleState() { return &g_moduleState; }

}  // namespace about
